// Bitmaps of 1, 2, 4 or 8 bits with a palette (plain or in runs) and of 24
// bits, read by the library itself a row at a time from the file's bytes. The
// system's decoder holds the whole picture before it gives a row, and for
// runs the library's expanded copy besides: a thumbnail of a bitmap of 144
// megapixels in runs took 280 MB. Here a plain bitmap costs a row; runs,
// which store the bottom row first, are expanded once into one byte a pixel.
// A palette shorter than the bits can name is completed with black, and a
// pixel the runs move past takes the palette's first colour, as other readers
// make them. Other bitmaps (16 and 32 bits, bit fields) go to the system's
// decoder.
#pragma once

#include "platform/rasterlib/RasterImage.h"
#include "platform/rasterlib/Resampler.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace rasterlib {

class BmpImage : public RowSource {
public:
    enum class Opening {
        Ready,
        NotTaken,  // a kind the system's decoder reads
        Damaged
    };
    // The bytes must outlive this object.
    Opening Open(const uint8_t* bytes, size_t count);

    uint32_t Width() const { return m_width; }
    uint32_t Height() const { return m_height; }
    // A palette of greys only.
    bool IsGrey() const { return m_grey; }

    // B, G, R, 255 rows, the top one first; for runs, each once and in the
    // order they are stored, the bottom one first.
    const uint8_t* Row(uint32_t y) override;
    // dst has the picture's size. False when runs stop before the last row's end.
    bool CopyTo(const PixelTarget& dst);
    // Reduced to dst's size, a row at a time; the same for runs.
    bool CopyReduced(const PixelTarget& dst);

private:
    // The runs of a bitmap decoded forward, one stored row at a time.
    class Runs {
    public:
        bool Begin(const uint8_t* data, size_t count, bool nibbles, uint32_t width, uint32_t height);
        // Stored row y's indices (y never below the last one asked; rows
        // passed over are decoded and dropped).
        const uint8_t* Indices(uint32_t y);
        // Decodes to the end: true when every row reached its end before the
        // data or an end of bitmap stopped them, as other readers ask.
        bool Finish();

    private:
        void Step();
        void Put(uint8_t index);

        const uint8_t* m_data = nullptr;
        size_t m_count = 0;
        size_t m_pos = 0;
        bool m_nibbles = false;
        bool m_ended = false;
        uint32_t m_width = 0;
        uint32_t m_height = 0;
        uint32_t m_x = 0;
        uint32_t m_y = 0;     // the stored row the runs are in
        uint32_t m_next = 0;  // the stored row Indices gives next
        std::vector<uint8_t> m_row;
    };

    const uint8_t* Colours(const uint8_t* indices);
    // Opens the runs from their start.
    bool RestartRuns();

    const uint8_t* m_bytes = nullptr;
    uint32_t m_width = 0;
    uint32_t m_height = 0;
    uint32_t m_bits = 0;
    bool m_bottomUp = true;
    bool m_grey = false;
    size_t m_data = 0;    // where the rows start
    size_t m_stride = 0;  // bytes a stored row
    uint8_t m_palette[256][4] = {};
    uint32_t m_compression = 0;
    size_t m_count = 0;
    Runs m_runs;
    bool m_inRuns = false;
    std::vector<uint8_t> m_row;
};

}  // namespace rasterlib
