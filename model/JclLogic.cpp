// The bit routines are inline in the header; this unit keeps the library
// layout one source per header.
#include "model/JclLogic.h"
