// What the exported functions share: the two-call answer of a block's size, the
// reading of an opened image into a record, and the exports by UTF-16 path.
#pragma once

#include "platform/rasterlib/ImageSource.h"
#include "platform/rasterlib/RasterLibApi.h"

#include <cstdint>

// The exports by UTF-16 path (WideExports.cpp), which the ANSI ones call.
extern "C" {
int32_t __cdecl ReadRasterImageW(const wchar_t* path, void* buffer, int32_t bufferSize);
int32_t __cdecl ReadLQRasterImageW(const wchar_t* path, void* buffer, int32_t bufferSize, const int32_t* targetWidth,
                                   const int32_t* targetHeight, int32_t reserved1, int32_t reserved2,
                                   int32_t reserved3);
int32_t __cdecl ReadRasterImageInfoW(const wchar_t* path, RasterImageInfo* info);
int32_t __cdecl WriteUprightJpegW(const wchar_t* source, const wchar_t* target);
int32_t __cdecl WriteUnturnedJpegW(const wchar_t* source, const wchar_t* target);
int32_t __cdecl EncodeTurnedJpegW(const wchar_t* source, const wchar_t* target, int32_t rotation, int32_t quality);
int32_t __cdecl CheckRasterImageW(const wchar_t* path, int32_t flags);
uint8_t __cdecl SaveRasterImageW(const wchar_t* path, int32_t width, int32_t height, int32_t stride, int32_t layout,
                                 int32_t quality, const char* formatName, const void* pixels);
}

namespace rasterlib {

// The size needed, after filling the buffer when it is large enough; 0 when the
// size is not acceptable or the fill fails.
template <class Fill>
int32_t Deliver(uint64_t needed, void* buffer, int32_t bufferSize, Fill fill)
{
    if (needed == 0 || needed > 0x7FFFFFFF)
        return 0;
    if (!buffer || bufferSize <= 0 || uint64_t(bufferSize) < needed)
        return int32_t(needed);
    return fill() ? int32_t(needed) : 0;
}

inline int32_t ReadRecord(ImageSource& source, uint32_t targetWidth, uint32_t targetHeight, void* buffer,
                          int32_t bufferSize)
{
    // A picture of too many pixels is refused by the size call already.
    if (!source.IsWithinBounds())
        return 0;
    uint32_t width = 0, height = 0;
    source.ReducedSize(targetWidth, targetHeight, width, height);
    return Deliver(RecordBytes(width, height), buffer, bufferSize,
                   [&] { return source.Decode(PlaceRecord(buffer, width, height)); });
}

}  // namespace rasterlib
