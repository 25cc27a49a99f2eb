#pragma once
// The raster image record exchanged with the raster-image library: a 12-byte
// header (width, height, bytes per row) followed by height rows of pixels,
// 4 bytes per pixel (blue, green, red, one more byte), top row first. The
// record is one malloc'd block; whoever owns it frees it with free().
#include <cstddef>
#include <cstdint>
#include <memory>

struct KWRasterImage {
    uint32_t width;
    uint32_t height;
    uint32_t stride;

    uint8_t* Pixels() { return reinterpret_cast<uint8_t*>(this + 1); }
    const uint8_t* Pixels() const { return reinterpret_cast<const uint8_t*>(this + 1); }
};
static_assert(sizeof(KWRasterImage) == 12, "the record header is shared with the library");

// Largest block the binding accepts from the library or allocates itself:
// sizes travel as signed 32-bit values.
constexpr uint64_t KW_RASTER_MAX_BLOCK = 0x7FFFFFFF;

// 12 + height x stride, in 64 bits so that no header can make it wrap.
uint64_t KWRasterImageBytes(uint32_t height, uint32_t stride);
uint64_t KWRasterImageBytes(const KWRasterImage& image);

// True when a block of blockSize bytes holds a whole record: the header, rows
// of at least 4 x width bytes, and height x stride bytes of pixels.
bool KWIsRasterBlockValid(const void* block, uint64_t blockSize);

// A new record with the header filled and the pixels uninitialised; null when
// the size is out of range or memory is short.
KWRasterImage* KWAllocRasterImage(uint32_t width, uint32_t height, uint32_t stride);

// A new copy of the whole record; null for null or when memory is short.
KWRasterImage* KWCopyRasterImage(const KWRasterImage* image);

void KWFreeRasterImage(const KWRasterImage* image);

struct KWRasterImageDeleter {
    void operator()(const KWRasterImage* image) const { KWFreeRasterImage(image); }
};
using KWRasterImagePtr = std::unique_ptr<KWRasterImage, KWRasterImageDeleter>;

// A record shared between a cache and its callers; it stays valid for every
// holder after the cache has let it go.
using KWSharedRasterImage = std::shared_ptr<const KWRasterImage>;
KWSharedRasterImage KWShareRasterImage(KWRasterImage* image);

// Decodes an uncompressed Windows bitmap file (BITMAPFILEHEADER and a DIB) to
// a 32-bit top-down record through GDI; null for anything it cannot read.
KWRasterImage* KWDecodeBitmapFile(const void* bytes, uint64_t count);
