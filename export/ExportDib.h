#pragma once
// Decoding through the raster library and device-independent bitmaps for
// thumbnails (the image views load their pictures with LoadImageFileAsDib).
#include <windows.h>

#include <cstdint>
#include <vector>

struct KWRasterImage;

// The frame picture under a group of thumbnails (152 x 152).
constexpr int kThumbnailFrameBitmapId = 198;

// Decodes an image held in memory. Returns the decoded size in bytes and a
// new buffer (freed with free()) in buffer; 0 and no buffer when the library,
// its export or the decoding fails.
int32_t RasterReadImageFromMemory(const void* data, uint32_t size, void** buffer, const char* format);

// A 32-bit top-down DIB section of a decoded image; null on failure.
HBITMAP CreateDibFromRasterImage(const KWRasterImage& image);

// A 32-bit top-down DIB section of the image file, or null (no library, no file).
HBITMAP LoadImageFileAsDib(const wchar_t* path);

// Null for an empty list; one image gives its DIB; two or more give the first
// image centred on the frame picture (or its DIB alone when the program has
// no frame picture).
HBITMAP CreateDIBFromBitmaps(const std::vector<const KWRasterImage*>& images);
