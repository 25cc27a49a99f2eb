// raster_bench's pictures for the exports: LZW TIFFs of 20, 50 and 160
// megapixels, each read whole by the library and written as the PowerPoint
// and HTML folders take it (a PNG file) beside the way the PDF takes it (JPEG
// bytes in memory).
#pragma once

#include <windows.h>

#include <string>

// Makes the files in folder (a trailing backslash) and prints, for each, the
// time and the private memory at the peak above the start of each writing.
void TimeExportEncodings(HMODULE lib, const std::string& folder);
