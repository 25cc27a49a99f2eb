#include "export/ExportDib.h"

#include "framework/KWRasterImage.h"
#include "framework/KWRasterLib.h"

#include <cstdlib>
#include <cstring>

int32_t RasterReadImageFromMemory(const void* data, uint32_t size, void** buffer, const char* format)
{
    if (buffer)
        *buffer = nullptr;
    if (!buffer || !g_rasterLib.GetLibraryModule())
        return 0;
    KWReadRasterImageFromMemoryFn read = g_rasterLib.GetFunctions().ReadRasterImageFromMemory;
    if (!read)
        return 0;
    const int32_t needed = read(data, size, nullptr, 0, format);
    if (needed <= 0)
        return 0;
    void* block = std::malloc(static_cast<size_t>(needed));
    if (!block)
        return 0;
    const int32_t written = read(data, size, block, needed, format);
    // A library that claims more than the block it asked for is not trusted.
    if (written <= 0 || written > needed) {
        std::free(block);
        return 0;
    }
    *buffer = block;
    return written;
}

HBITMAP CreateDibFromRasterImage(const KWRasterImage& image)
{
    if (image.width == 0 || image.height == 0 || image.width > 0x7FFFFFFF / 4 ||
        image.height > 0x7FFFFFFF)
        return nullptr;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = static_cast<LONG>(image.width);
    info.bmiHeader.biHeight = -static_cast<LONG>(image.height);  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits) {
        if (bitmap)
            ::DeleteObject(bitmap);
        return nullptr;
    }
    // The DIB's rows are exactly 4 x width bytes; the decoded rows may be
    // padded wider, so they are copied one by one.
    const size_t dibStride = static_cast<size_t>(image.width) * 4;
    const size_t rowBytes = image.stride < dibStride ? image.stride : dibStride;
    const uint8_t* source = image.Pixels();
    uint8_t* target = static_cast<uint8_t*>(bits);
    for (uint32_t y = 0; y < image.height; ++y) {
        std::memcpy(target, source, rowBytes);
        source += image.stride;
        target += dibStride;
    }
    return bitmap;
}

HBITMAP LoadImageFileAsDib(const wchar_t* path)
{
    if (!path || !g_rasterLib.GetLibraryModule())
        return nullptr;
    KWRasterImagePtr image(g_rasterLib.RasterReadFile(path, 0, 0));
    if (!image)
        return nullptr;
    return CreateDibFromRasterImage(*image);
}

HBITMAP CreateDIBFromBitmaps(const std::vector<const KWRasterImage*>& images)
{
    if (images.empty() || !images.front())
        return nullptr;
    const KWRasterImage& first = *images.front();
    HBITMAP dib = CreateDibFromRasterImage(first);
    if (!dib || images.size() == 1)
        return dib;

    HBITMAP frame = ::LoadBitmapW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kThumbnailFrameBitmapId));
    if (!frame)
        return dib;
    BITMAP frameInfo = {};
    ::GetObjectW(frame, sizeof(frameInfo), &frameInfo);
    HDC screen = ::GetDC(nullptr);
    HDC frameDc = ::CreateCompatibleDC(screen);
    HDC imageDc = ::CreateCompatibleDC(screen);
    HGDIOBJ oldFrame = ::SelectObject(frameDc, frame);
    HGDIOBJ oldImage = ::SelectObject(imageDc, dib);
    const int width = static_cast<int>(first.width);
    const int height = static_cast<int>(first.height);
    ::BitBlt(frameDc, (frameInfo.bmWidth - width) / 2, (frameInfo.bmHeight - height) / 2, width, height,
             imageDc, 0, 0, SRCCOPY);
    ::SelectObject(imageDc, oldImage);
    ::SelectObject(frameDc, oldFrame);
    ::DeleteDC(imageDc);
    ::DeleteDC(frameDc);
    ::ReleaseDC(nullptr, screen);
    ::DeleteObject(dib);
    return frame;
}
