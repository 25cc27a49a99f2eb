// A picture file of one colour for the program's tests: a 24-bit bottom-up
// Windows bitmap whose rows are padded to four bytes.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace edtest {

inline std::string SolidBitmapFile(int width, int height, uint8_t blue, uint8_t green, uint8_t red)
{
    const int stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file = {0x4D42, DWORD(54 + stride * height), 0, 0, 54};
    BITMAPINFOHEADER info = {sizeof info, width, height, 1, 24, BI_RGB, DWORD(stride * height)};
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
    std::string row(size_t(stride), '\0');
    for (int x = 0; x < width; ++x) {
        row[x * 3] = char(blue);
        row[x * 3 + 1] = char(green);
        row[x * 3 + 2] = char(red);
    }
    for (int y = 0; y < height; ++y)
        bytes += row;
    return bytes;
}

}  // namespace edtest
