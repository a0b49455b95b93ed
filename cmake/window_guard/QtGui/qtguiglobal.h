// Found before Qt's own header of this name by the toolkit's core and the code above it; every Qt GUI header
// includes it.
#error "Only the toolkit's view uses Qt's GUI: the core and the windows use the toolkit's headers instead"
