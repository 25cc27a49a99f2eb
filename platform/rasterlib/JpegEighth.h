// A baseline JPEG read at one eighth of its size for thumbnails: at that scale a
// block of the picture is one pixel, so only its DC coefficient is needed (and,
// for chroma stored at half height and width, the few coefficients of a 2 x 2
// block). The entropy-coded data are walked skipping the rest, which is most of
// the decoding work; the pixels are those libjpeg-turbo gives at that scale.
// Streams JpegBaseline does not read, data with fill bytes and any data that
// are damaged or end early are left to libjpeg-turbo: the caller decodes them
// as before.
#pragma once

#include "platform/rasterlib/JpegBaseline.h"
#include "platform/rasterlib/JpegScanBits.h"
#include "platform/rasterlib/Resampler.h"

#include <cstdint>
#include <vector>

namespace rasterlib {

class JpegEighth : public RowSource {
public:
    // False when the stream is not one this reader takes.
    bool Open(const uint8_t* data, size_t count);

    // The size libjpeg-turbo gives at one eighth: each side divided by 8, rounded up.
    uint32_t Width() const { return m_outWidth; }
    uint32_t Height() const { return m_outHeight; }

    // Row y of B, G, R, A pixels; rows in increasing order. Null when the data are
    // damaged or end early.
    const uint8_t* Row(uint32_t y) override;

    // After the last row: true when the scan's data ended with the image and the
    // end-of-image marker follows.
    bool Finish();

private:
    bool DecodeBand();
    bool DecodeMcu(uint32_t column);
    void ConvertBand();

    JpegBaseline m_header;
    int m_componentCount = 0;
    uint32_t m_restartInterval = 0;
    const uint16_t* m_quant[3] = {};  // each component's table
    // The DC and AC tables of each component in turn.
    std::vector<HuffmanTable> m_tables;
    JpegScanBits m_bits;
    uint32_t m_lumaH = 1;
    uint32_t m_lumaV = 1;
    uint32_t m_chromaBlock = 1;  // chroma samples a block has across and down
    uint32_t m_outWidth = 0;
    uint32_t m_outHeight = 0;
    uint32_t m_mcuColumns = 0;
    uint32_t m_mcuRows = 0;
    uint32_t m_band = 0;  // MCU rows decoded
    uint32_t m_untilRestart = 0;
    uint32_t m_restarts = 0;
    int32_t m_predictors[3] = {};
    bool m_damaged = false;
    // The current row of MCUs at one eighth: luma (or grey) samples, chroma
    // samples and the B, G, R, A rows made of them.
    std::vector<uint8_t> m_luma;
    std::vector<uint8_t> m_cb;
    std::vector<uint8_t> m_cr;
    uint32_t m_lumaStride = 0;
    uint32_t m_chromaStride = 0;
    std::vector<uint8_t> m_rows;
};

}  // namespace rasterlib
