// Images, files and a fake library for the tests of the raster-image
// binding, the picture store and the image caches.
#pragma once

#include "framework/KWRasterFunctions.h"
#include "framework/KWRasterImage.h"
#include "framework/KWCodePage.h"
#include "framework/KWRasterLib.h"
#include "tests/framework/KWTestFiles.h"

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace rastertest {

// A name no library has, for a binding that runs without its library.
constexpr const wchar_t* kMissingLibrary = L"NoSuchRasterLibrary_7f3a.dll";

inline void Put16(std::vector<uint8_t>& out, size_t at, uint16_t v)
{
    out[at] = uint8_t(v);
    out[at + 1] = uint8_t(v >> 8);
}

inline void Put32(std::vector<uint8_t>& out, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out[at + i] = uint8_t(v >> (8 * i));
}

// The colour of a pixel of the test pattern, as B, G, R.
inline void PatternPixel(uint32_t x, uint32_t y, uint8_t bgr[3])
{
    bgr[0] = uint8_t(x * 7 + y);
    bgr[1] = uint8_t(y * 5);
    bgr[2] = uint8_t(x ^ y);
}

// A bottom-up 24-bit Windows bitmap file of the test pattern.
inline std::vector<uint8_t> MakeBitmapFile(uint32_t width, uint32_t height)
{
    uint32_t stride = (width * 3 + 3) & ~3u;
    std::vector<uint8_t> out(54 + size_t(stride) * height, 0);
    out[0] = 'B';
    out[1] = 'M';
    Put32(out, 2, uint32_t(out.size()));
    Put32(out, 10, 54);
    Put32(out, 14, 40);
    Put32(out, 18, width);
    Put32(out, 22, height);
    Put16(out, 26, 1);
    Put16(out, 28, 24);
    Put32(out, 34, stride * height);
    for (uint32_t y = 0; y < height; ++y) {
        uint8_t* row = &out[54 + size_t(height - 1 - y) * stride];
        for (uint32_t x = 0; x < width; ++x)
            PatternPixel(x, y, row + x * 3);
    }
    return out;
}

// A record of the test pattern (fourth byte 255).
inline KWRasterImagePtr MakeImage(uint32_t width, uint32_t height, uint32_t stride = 0)
{
    if (stride == 0)
        stride = width * 4;
    KWRasterImagePtr image(KWAllocRasterImage(width, height, stride));
    std::memset(image->Pixels(), 0xEE, size_t(stride) * height);
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            uint8_t* p = image->Pixels() + size_t(y) * stride + x * 4;
            PatternPixel(x, y, p);
            p[3] = 255;
        }
    }
    return image;
}

inline std::string AnsiOf(const std::wstring& text)
{
    return WideToAnsi(text.c_str());
}

// A fresh folder under the temporary folder, removed with its files at the end.
class TempFolder : public CKWTestTempFolder {
public:
    TempFolder() : CKWTestTempFolder(L"kwraster") {}
    using CKWTestTempFolder::Write;
    std::wstring Write(const wchar_t* name, const void* bytes, size_t count) const
    {
        return WriteAt(Path() + name, bytes, count);
    }
    std::wstring Write(const wchar_t* name, const std::vector<uint8_t>& bytes) const
    {
        return Write(name, bytes.data(), bytes.size());
    }
    static std::wstring WriteAt(const std::wstring& path, const void* bytes, size_t count)
    {
        WriteFileBytes(path, std::string(static_cast<const char*>(bytes), count));
        return path;
    }
};

inline bool FileExists(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline std::vector<uint8_t> FileData(const std::wstring& path)
{
    const std::string bytes = ReadFileBytes(path);
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

// The placeholder as the program's resource describes it, decoded without the library.
inline KWRasterImagePtr ResourcePlaceholder()
{
    HMODULE self = ::GetModuleHandleW(nullptr);
    HRSRC found = ::FindResourceW(self, MAKEINTRESOURCEW(222), L"QUARTZ");
    if (!found)
        return KWRasterImagePtr();
    const void* bytes = ::LockResource(::LoadResource(self, found));
    return KWRasterImagePtr(KWDecodeBitmapFile(bytes, ::SizeofResource(self, found)));
}

inline bool SameImage(const KWRasterImage* a, const KWRasterImage* b)
{
    if (!a || !b || a->width != b->width || a->height != b->height || a->stride != b->stride)
        return false;
    return std::memcmp(a->Pixels(), b->Pixels(), size_t(a->stride) * a->height) == 0;
}

}  // namespace rastertest
