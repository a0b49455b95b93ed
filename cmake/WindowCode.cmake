# Code that must not reach Qt's GUI or widgets (the toolkit's core and the windows above it, and the
# program's entry) sees them only through the toolkit's view: the guard's stand-ins for Qt's GUI and widget
# headers come first on its include path and stop the build, and the view's own headers are not on it.
function(zelvor_qt_core_only target)
    target_include_directories(${target} BEFORE PRIVATE ${PROJECT_SOURCE_DIR}/cmake/window_guard)
endfunction()
