#pragma once
// The raster library's format flag of an image's stored format index, as the
// page painters pass it on when they read the image.
#include <cstdint>

// 0 for index 0 and for every index outside 1..8.
uint32_t ImageFormatToRasterFlag(int32_t index);
