#include "framework/KWRasterLib.h"

// Built by a static initialiser, before the program's entry, and destroyed
// at its end; it lives apart so that only programs that use it load the library.
CKWRasterLib g_rasterLib;
