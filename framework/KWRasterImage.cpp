#include "framework/KWRasterImage.h"

#include "framework/KWDib.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

uint64_t KWRasterImageBytes(uint32_t height, uint32_t stride)
{
    return sizeof(KWRasterImage) + static_cast<uint64_t>(height) * stride;
}

uint64_t KWRasterImageBytes(const KWRasterImage& image)
{
    return KWRasterImageBytes(image.height, image.stride);
}

bool KWIsRasterBlockValid(const void* block, uint64_t blockSize)
{
    if (!block || blockSize < sizeof(KWRasterImage) || blockSize > KW_RASTER_MAX_BLOCK)
        return false;
    const KWRasterImage* image = static_cast<const KWRasterImage*>(block);
    if (static_cast<uint64_t>(image->width) * 4 > image->stride)
        return false;
    return KWRasterImageBytes(*image) <= blockSize;
}

KWRasterImage* KWAllocRasterImage(uint32_t width, uint32_t height, uint32_t stride)
{
    uint64_t bytes = KWRasterImageBytes(height, stride);
    if (bytes > KW_RASTER_MAX_BLOCK)
        return nullptr;
    KWRasterImage* image = static_cast<KWRasterImage*>(std::malloc(static_cast<size_t>(bytes)));
    if (!image)
        return nullptr;
    image->width = width;
    image->height = height;
    image->stride = stride;
    return image;
}

KWRasterImage* KWCopyRasterImage(const KWRasterImage* image)
{
    if (!image)
        return nullptr;
    KWRasterImage* copy = KWAllocRasterImage(image->width, image->height, image->stride);
    if (copy)
        std::memcpy(copy, image, static_cast<size_t>(KWRasterImageBytes(*image)));
    return copy;
}

void KWFreeRasterImage(const KWRasterImage* image)
{
    std::free(const_cast<KWRasterImage*>(image));
}

KWSharedRasterImage KWShareRasterImage(KWRasterImage* image)
{
    if (!image)
        return KWSharedRasterImage();
    return KWSharedRasterImage(image, KWRasterImageDeleter());
}

namespace {

// Largest side the bitmap decoder accepts; far above any placeholder.
constexpr int32_t kMaxBitmapSide = 16384;

// Bytes of BITMAPINFO that GDI reads after the header: the three colour masks
// of a BI_BITFIELDS bitmap with the 40-byte header, and the colour table.
uint64_t ExtraInfoBytes(const BITMAPINFOHEADER& header)
{
    uint64_t extra = 0;
    if (header.biCompression == BI_BITFIELDS && header.biSize == sizeof(BITMAPINFOHEADER))
        extra += 3 * sizeof(DWORD);
    uint64_t colours = header.biClrUsed;
    if (colours == 0 && header.biBitCount <= 8)
        colours = uint64_t(1) << header.biBitCount;
    return extra + colours * sizeof(RGBQUAD);
}

}  // namespace

KWRasterImage* KWDecodeBitmapFile(const void* bytes, uint64_t count)
{
    const uint8_t* data = static_cast<const uint8_t*>(bytes);
    if (!data || count < sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER))
        return nullptr;
    BITMAPFILEHEADER file;
    BITMAPINFOHEADER header;
    std::memcpy(&file, data, sizeof(file));
    std::memcpy(&header, data + sizeof(file), sizeof(header));
    if (file.bfType != 0x4D42 || header.biSize < sizeof(BITMAPINFOHEADER) || header.biPlanes != 1)
        return nullptr;
    if (header.biCompression != BI_RGB && header.biCompression != BI_BITFIELDS)
        return nullptr;
    switch (header.biBitCount) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return nullptr;
    }
    int32_t width = header.biWidth;
    int32_t height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
    if (width < 1 || height < 1 || width > kMaxBitmapSide || height > kMaxBitmapSide)
        return nullptr;
    uint64_t infoEnd = sizeof(BITMAPFILEHEADER) + uint64_t(header.biSize) + ExtraInfoBytes(header);
    uint64_t sourceStride = (uint64_t(width) * header.biBitCount + 31) / 32 * 4;
    uint64_t bitsEnd = uint64_t(file.bfOffBits) + sourceStride * uint64_t(height);
    if (infoEnd > count || file.bfOffBits < infoEnd || bitsEnd > count)
        return nullptr;

    KWRasterImage* image = KWAllocRasterImage(uint32_t(width), uint32_t(height), uint32_t(width) * 4);
    if (!image)
        return nullptr;
    // Top-down, like the record.
    BITMAPINFO target;
    void* targetBits = nullptr;
    HDC dc = ::CreateCompatibleDC(nullptr);
    HBITMAP dib = KWCreateTopDownDib(dc, width, height, target, &targetBits);
    bool done = false;
    if (dib && targetBits) {
        const BITMAPINFO* source = reinterpret_cast<const BITMAPINFO*>(data + sizeof(BITMAPFILEHEADER));
        done = ::SetDIBits(dc, dib, 0, UINT(height), data + file.bfOffBits, source, DIB_RGB_COLORS) == height;
        if (done) {
            ::GdiFlush();
            std::memcpy(image->Pixels(), targetBits, size_t(width) * 4 * size_t(height));
        }
    }
    if (dib)
        ::DeleteObject(dib);
    if (dc)
        ::DeleteDC(dc);
    if (!done) {
        KWFreeRasterImage(image);
        return nullptr;
    }
    return image;
}
