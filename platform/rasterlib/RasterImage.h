// Pixel buffers inside the library: read-only views of caller memory, writable views
// of output records, and an owning image for intermediate results.
#pragma once

#include <cstdint>
#include <vector>

namespace rasterlib {

struct PixelView {
    const uint8_t* pixels = nullptr;
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t stride = 0;

    const uint8_t* Row(uint32_t y) const { return pixels + size_t(y) * stride; }
};

struct PixelTarget {
    uint8_t* pixels = nullptr;
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t stride = 0;

    uint8_t* Row(uint32_t y) const { return pixels + size_t(y) * stride; }
    PixelView View() const { return PixelView{pixels, width, height, stride}; }
};

// True when a width x height image of 4-byte pixels is within the library's limits,
// its pixel count within kMaxImagePixels.
bool IsAcceptableSize(uint64_t width, uint64_t height);

// True when the pixel count is within kMaxImagePixels: a picture of more is
// measured, never decoded, turned or encoded.
bool IsWithinPixelBound(uint64_t width, uint64_t height);

// True when each side is within the limit: such an image can be measured and, when
// its record would be too large, still read reduced.
bool IsMeasurableSize(uint64_t width, uint64_t height);

// 12 + height * width * 4, or 0 when the size is not acceptable.
uint64_t RecordBytes(uint64_t width, uint64_t height);

// Checks a caller's pixel description: sizes within limits, stride wide enough.
bool IsValidView(const PixelView& view);

// Tightly packed image (stride = width * 4).
class RasterImage {
public:
    // False when the size is not acceptable or memory is short.
    bool Allocate(uint32_t width, uint32_t height);

    uint32_t Width() const { return m_width; }
    uint32_t Height() const { return m_height; }
    PixelView View() const { return PixelView{m_pixels.data(), m_width, m_height, m_width * 4}; }
    PixelTarget Target() { return PixelTarget{m_pixels.data(), m_width, m_height, m_width * 4}; }

private:
    std::vector<uint8_t> m_pixels;
    uint32_t m_width = 0;
    uint32_t m_height = 0;
};

// Lays the record header at the front of an output block and returns the pixel target
// after it.
PixelTarget PlaceRecord(void* block, uint32_t width, uint32_t height);

}  // namespace rasterlib
