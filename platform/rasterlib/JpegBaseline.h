// The header of a baseline JPEG that the library reads itself, block by block:
// Huffman coded, 8-bit, in one scan of all its components, grey or YCbCr with
// chroma at full size, half width or half width and height (as cameras and
// editors write them), with its tables and restart interval and its JFIF
// segment's version and density. Streams of another kind (progressive,
// arithmetic coded, 12-bit, other samplings, CMYK, RGB or an Adobe colour
// transform, missing tables) and headers that are damaged are not read: they are
// left to libjpeg-turbo.
#pragma once

#include "platform/rasterlib/JpegHuffman.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace rasterlib {

struct JpegComponent {
    uint8_t id = 0;
    uint32_t h = 1;  // samples across and down in an MCU, in blocks
    uint32_t v = 1;
    int quant = 0;
    int dcTable = 0;
    int acTable = 0;
};

struct JpegJfif {
    bool seen = false;
    uint8_t major = 1;
    uint8_t minor = 1;
    uint8_t unit = 0;
    uint16_t x = 1;
    uint16_t y = 1;
};

class JpegBaseline {
public:
    // Reads the segments up to the scan's data. False for a stream of another kind.
    bool Read(const uint8_t* data, size_t count);

    uint32_t Width() const { return m_width; }
    uint32_t Height() const { return m_height; }
    int ComponentCount() const { return m_componentCount; }
    const JpegComponent& Component(int index) const { return m_components[index]; }
    // The luma's sampling: an MCU's size is 8 times these (one block for grey).
    uint32_t MaxH() const { return m_componentCount == 1 ? 1 : m_components[0].h; }
    uint32_t MaxV() const { return m_componentCount == 1 ? 1 : m_components[0].v; }
    // A component's blocks that hold the picture, across and down.
    uint32_t BlocksWide(int index) const;
    uint32_t BlocksHigh(int index) const;
    uint32_t McuColumns() const { return (m_width + 8 * MaxH() - 1) / (8 * MaxH()); }
    uint32_t McuRows() const { return (m_height + 8 * MaxV() - 1) / (8 * MaxV()); }
    uint32_t RestartInterval() const { return m_restartInterval; }
    // The table of a slot in natural order, and whether its DQT stored 16-bit values.
    const uint16_t* Quant(int slot) const { return m_quant[slot]; }
    const JpegJfif& Jfif() const { return m_jfif; }
    // The entropy-coded data from the scan header on, to the end of the file.
    const uint8_t* ScanData() const { return m_scanData; }
    const uint8_t* DataEnd() const { return m_dataEnd; }

    // The DC and AC tables of each component in turn. False when memory is short
    // or a table is not a code libjpeg-turbo accepts.
    bool BuildTables(std::vector<HuffmanTable>& tables) const;

private:
    struct RawHuffman {
        bool defined = false;
        uint8_t counts[16] = {};
        uint8_t symbols[256] = {};
    };

    bool ReadFrame(const uint8_t* segment, size_t size);
    bool ReadHuffman(const uint8_t* segment, size_t size);
    bool ReadQuantization(const uint8_t* segment, size_t size);
    bool ReadScan(const uint8_t* segment, size_t size);
    bool IsTaken() const;

    RawHuffman m_dcRaw[4];
    RawHuffman m_acRaw[4];
    uint16_t m_quant[4][64] = {};
    bool m_quantDefined[4] = {};
    JpegComponent m_components[3];
    int m_componentCount = 0;
    JpegJfif m_jfif;
    bool m_sawAdobe = false;
    uint32_t m_width = 0;
    uint32_t m_height = 0;
    uint32_t m_restartInterval = 0;
    const uint8_t* m_scanData = nullptr;
    const uint8_t* m_dataEnd = nullptr;
};

}  // namespace rasterlib
