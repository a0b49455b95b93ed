# Code above the toolkit (the windows and the program's entry) reaches Qt's GUI and widgets only through the
# toolkit: the guard's stand-ins for Qt's GUI and widget headers come first on its include path and stop the
# build, and the toolkit's own headers are not on it at all.
function(zelvor_window_code target)
    target_include_directories(${target} BEFORE PRIVATE ${PROJECT_SOURCE_DIR}/cmake/window_guard)
endfunction()
