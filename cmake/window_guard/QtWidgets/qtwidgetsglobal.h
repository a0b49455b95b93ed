// Found before Qt's own header of this name by code above the toolkit; every Qt Widgets header includes it.
#error "Windows use Qt's widgets through the toolkit only: include the toolkit's headers instead"
