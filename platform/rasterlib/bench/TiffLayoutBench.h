// raster_bench's TIFF layouts: each file checked, thumbnailed and read whole
// by the library, beside libtiff's own readings of it in the same run.
#pragma once

#include <windows.h>

#include <string>

// Makes the files in folder (a trailing backslash) and prints, for each, the
// time and the private memory at the peak above the start of each reading.
void TimeTiffLayouts(HMODULE lib, const std::string& folder);
