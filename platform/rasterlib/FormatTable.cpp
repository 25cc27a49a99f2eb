#include "platform/rasterlib/FormatTable.h"

#include <cstring>

namespace rasterlib {

namespace {

constexpr uint32_t FourCc(char a, char b, char c, char d)
{
    return (uint32_t(uint8_t(a)) << 24) | (uint32_t(uint8_t(b)) << 16) | (uint32_t(uint8_t(c)) << 8) | uint8_t(d);
}

const FormatEntry kEntries[] = {
    {ImageFormat::Jpeg, L"JPEG Images", {"jpg", "jpeg", "jpe", nullptr}, FourCc('J', 'P', 'E', 'G'), 60},
    {ImageFormat::Png, L"PNG Images", {"png", nullptr}, FourCc('P', 'N', 'G', 'f'), 63},
    {ImageFormat::Gif, L"GIF Images", {"gif", nullptr}, FourCc('G', 'I', 'F', 'f'), 64},
    {ImageFormat::Bmp, L"Windows Bitmaps", {"bmp", "dib", nullptr}, FourCc('B', 'M', 'P', 'f'), 65},
    {ImageFormat::Tiff, L"TIFF Images", {"tif", "tiff", nullptr}, FourCc('T', 'I', 'F', 'F'), 67},
    {ImageFormat::Ico, L"Windows Icons", {"ico", nullptr}, FourCc('I', 'C', 'O', ' '), 69},
};

bool SameNoCase(const char* a, const char* b)
{
    for (; *a && *b; ++a, ++b) {
        char x = *a, y = *b;
        if (x >= 'A' && x <= 'Z')
            x = char(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = char(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return *a == *b;
}

}  // namespace

ImageFormat SniffFormat(const uint8_t* h, size_t n)
{
    if (!h)
        return ImageFormat::Unknown;
    if (n >= 3 && h[0] == 0xFF && h[1] == 0xD8 && h[2] == 0xFF)
        return ImageFormat::Jpeg;
    static const uint8_t png[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (n >= 8 && std::memcmp(h, png, 8) == 0)
        return ImageFormat::Png;
    if (n >= 6 && (std::memcmp(h, "GIF87a", 6) == 0 || std::memcmp(h, "GIF89a", 6) == 0))
        return ImageFormat::Gif;
    if (n >= 14 && h[0] == 'B' && h[1] == 'M')
        return ImageFormat::Bmp;
    if (n >= 4 && ((h[0] == 'I' && h[1] == 'I' && h[2] == 42 && h[3] == 0) ||
                   (h[0] == 'M' && h[1] == 'M' && h[2] == 0 && h[3] == 42)))
        return ImageFormat::Tiff;
    // Icon directory: reserved 0, type 1, at least one entry whose reserved byte is 0.
    if (n >= 16 && h[0] == 0 && h[1] == 0 && h[2] == 1 && h[3] == 0 && (h[4] | h[5]) != 0 && h[9] == 0)
        return ImageFormat::Ico;
    return ImageFormat::Unknown;
}

bool IsBigTiffHeader(const uint8_t* h, size_t n)
{
    if (!h || n < 16)
        return false;
    if (h[0] == 'I' && h[1] == 'I')
        return h[2] == 43 && h[3] == 0 && h[4] == 8 && h[5] == 0 && h[6] == 0 && h[7] == 0;
    return h[0] == 'M' && h[1] == 'M' && h[2] == 0 && h[3] == 43 && h[4] == 0 && h[5] == 8 && h[6] == 0 && h[7] == 0;
}

ImageFormat FormatFromName(const char* name)
{
    if (!name)
        return ImageFormat::Unknown;
    if (*name == '.')
        ++name;
    for (const FormatEntry& entry : kEntries) {
        for (const char* const* ext = entry.extensions; *ext; ++ext) {
            if (SameNoCase(name, *ext))
                return entry.format;
        }
    }
    return ImageFormat::Unknown;
}

const FormatEntry* FormatEntries(size_t& count)
{
    count = sizeof kEntries / sizeof kEntries[0];
    return kEntries;
}

}  // namespace rasterlib
