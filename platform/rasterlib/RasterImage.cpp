#include "platform/rasterlib/RasterImage.h"

#include "platform/rasterlib/RasterLibApi.h"

#include <cstring>
#include <new>

namespace rasterlib {

bool IsMeasurableSize(uint64_t width, uint64_t height)
{
    return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide;
}

bool IsWithinPixelBound(uint64_t width, uint64_t height)
{
    return width * height <= kMaxImagePixels;
}

bool IsAcceptableSize(uint64_t width, uint64_t height)
{
    return IsMeasurableSize(width, height) && IsWithinPixelBound(width, height) &&
           12 + width * height * 4 <= kMaxRecordBytes;
}

uint64_t RecordBytes(uint64_t width, uint64_t height)
{
    return IsAcceptableSize(width, height) ? 12 + width * height * 4 : 0;
}

bool IsValidView(const PixelView& view)
{
    if (!view.pixels || !IsAcceptableSize(view.width, view.height))
        return false;
    const uint64_t minStride = uint64_t(view.width) * 4;
    if (view.stride < minStride)
        return false;
    return uint64_t(view.stride) * view.height <= kMaxRecordBytes;
}

bool RasterImage::Allocate(uint32_t width, uint32_t height)
{
    m_width = m_height = 0;
    if (!IsAcceptableSize(width, height))
        return false;
    try {
        m_pixels.assign(size_t(width) * height * 4, 0);
    } catch (const std::bad_alloc&) {
        m_pixels.clear();
        return false;
    }
    m_width = width;
    m_height = height;
    return true;
}

PixelTarget PlaceRecord(void* block, uint32_t width, uint32_t height)
{
    RasterRecordHeader header{width, height, width * 4};
    std::memcpy(block, &header, sizeof header);
    return PixelTarget{static_cast<uint8_t*>(block) + sizeof header, width, height, width * 4};
}

}  // namespace rasterlib
