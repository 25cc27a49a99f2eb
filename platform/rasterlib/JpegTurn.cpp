#include "platform/rasterlib/JpegTurn.h"

#include "platform/rasterlib/JpegMarkerScan.h"

#include <cstring>
#include <new>

namespace rasterlib {

namespace {

// The JPEG standard's example tables (its Annex K), which libjpeg writes unless
// it is asked to make tables of its own.
const uint8_t kDcLumaCounts[16] = {0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0};
const uint8_t kDcChromaCounts[16] = {0, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0};
const uint8_t kDcSymbols[12] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
const uint8_t kAcLumaCounts[16] = {0, 2, 1, 3, 3, 2, 4, 3, 5, 5, 4, 4, 0, 0, 1, 0x7d};
const uint8_t kAcLumaSymbols[162] = {
    0x01, 0x02, 0x03, 0x00, 0x04, 0x11, 0x05, 0x12, 0x21, 0x31, 0x41, 0x06, 0x13, 0x51, 0x61, 0x07, 0x22, 0x71,
    0x14, 0x32, 0x81, 0x91, 0xa1, 0x08, 0x23, 0x42, 0xb1, 0xc1, 0x15, 0x52, 0xd1, 0xf0, 0x24, 0x33, 0x62, 0x72,
    0x82, 0x09, 0x0a, 0x16, 0x17, 0x18, 0x19, 0x1a, 0x25, 0x26, 0x27, 0x28, 0x29, 0x2a, 0x34, 0x35, 0x36, 0x37,
    0x38, 0x39, 0x3a, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4a, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59,
    0x5a, 0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x69, 0x6a, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7a, 0x83,
    0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8a, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97, 0x98, 0x99, 0x9a, 0xa2, 0xa3,
    0xa4, 0xa5, 0xa6, 0xa7, 0xa8, 0xa9, 0xaa, 0xb2, 0xb3, 0xb4, 0xb5, 0xb6, 0xb7, 0xb8, 0xb9, 0xba, 0xc2, 0xc3,
    0xc4, 0xc5, 0xc6, 0xc7, 0xc8, 0xc9, 0xca, 0xd2, 0xd3, 0xd4, 0xd5, 0xd6, 0xd7, 0xd8, 0xd9, 0xda, 0xe1, 0xe2,
    0xe3, 0xe4, 0xe5, 0xe6, 0xe7, 0xe8, 0xe9, 0xea, 0xf1, 0xf2, 0xf3, 0xf4, 0xf5, 0xf6, 0xf7, 0xf8, 0xf9, 0xfa,
};
const uint8_t kAcChromaCounts[16] = {0, 2, 1, 2, 4, 4, 3, 4, 7, 5, 4, 4, 0, 1, 2, 0x77};
const uint8_t kAcChromaSymbols[162] = {
    0x00, 0x01, 0x02, 0x03, 0x11, 0x04, 0x05, 0x21, 0x31, 0x06, 0x12, 0x41, 0x51, 0x07, 0x61, 0x71, 0x13, 0x22,
    0x32, 0x81, 0x08, 0x14, 0x42, 0x91, 0xa1, 0xb1, 0xc1, 0x09, 0x23, 0x33, 0x52, 0xf0, 0x15, 0x62, 0x72, 0xd1,
    0x0a, 0x16, 0x24, 0x34, 0xe1, 0x25, 0xf1, 0x17, 0x18, 0x19, 0x1a, 0x26, 0x27, 0x28, 0x29, 0x2a, 0x35, 0x36,
    0x37, 0x38, 0x39, 0x3a, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4a, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58,
    0x59, 0x5a, 0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x69, 0x6a, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7a,
    0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8a, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97, 0x98, 0x99, 0x9a,
    0xa2, 0xa3, 0xa4, 0xa5, 0xa6, 0xa7, 0xa8, 0xa9, 0xaa, 0xb2, 0xb3, 0xb4, 0xb5, 0xb6, 0xb7, 0xb8, 0xb9, 0xba,
    0xc2, 0xc3, 0xc4, 0xc5, 0xc6, 0xc7, 0xc8, 0xc9, 0xca, 0xd2, 0xd3, 0xd4, 0xd5, 0xd6, 0xd7, 0xd8, 0xd9, 0xda,
    0xe2, 0xe3, 0xe4, 0xe5, 0xe6, 0xe7, 0xe8, 0xe9, 0xea, 0xf2, 0xf3, 0xf4, 0xf5, 0xf6, 0xf7, 0xf8, 0xf9, 0xfa,
};

struct StandardTable {
    const uint8_t* counts;
    const uint8_t* symbols;
    uint8_t slot;  // with 0x10 for an AC table, as a DHT names it
};
// Luma (and grey) use slot 0, chroma slot 1.
const StandardTable kDcTables[2] = {{kDcLumaCounts, kDcSymbols, 0x00}, {kDcChromaCounts, kDcSymbols, 0x01}};
const StandardTable kAcTables[2] = {{kAcLumaCounts, kAcLumaSymbols, 0x10}, {kAcChromaCounts, kAcChromaSymbols, 0x11}};

size_t SymbolCount(const uint8_t* counts)
{
    size_t total = 0;
    for (int i = 0; i < 16; ++i)
        total += counts[i];
    return total;
}

// The code and its length of each symbol of a table (length 0: not in it).
struct HuffmanCodes {
    uint16_t code[256] = {};
    uint8_t size[256] = {};

    explicit HuffmanCodes(const StandardTable& table)
    {
        uint32_t code = 0;
        size_t index = 0;
        for (uint32_t length = 1; length <= 16; ++length) {
            for (uint32_t i = 0; i < table.counts[length - 1]; ++i, ++index, ++code) {
                this->code[table.symbols[index]] = uint16_t(code);
                size[table.symbols[index]] = uint8_t(length);
            }
            code <<= 1;
        }
    }
};

// Bytes to the sink in large pieces; entropy-coded bits with an FF byte
// followed by a zero, as a scan's data must be, four bytes at a time where none
// is FF.
class ScanWriter {
public:
    explicit ScanWriter(const JpegTurn::Sink& sink) : m_sink(sink) { m_buffer.resize(kPiece + kRoom); }

    void Byte(uint8_t byte)
    {
        if (m_used >= kPiece)
            Hand();
        m_buffer[m_used++] = byte;
    }
    void Word(uint32_t value)
    {
        Byte(uint8_t(value >> 8));
        Byte(uint8_t(value));
    }
    void Marker(uint8_t marker)
    {
        Byte(0xFF);
        Byte(marker);
    }
    // value: size bits (1 to 27), the rest clear.
    void Bits(uint32_t value, uint32_t size)
    {
        if (size < m_free) {
            m_bits = (m_bits << size) | value;
            m_free -= size;
            return;
        }
        // The word fills; what is left over starts the next one (bits above it are
        // shifted out before they are written).
        const uint32_t over = size - m_free;
        PutWord((m_bits << m_free) | (value >> over));
        m_bits = value;
        m_free = 32 - over;
    }
    // The last byte of the scan filled with ones.
    void EndBits()
    {
        Bits(0x7F, 7);
        const uint32_t used = 32 - m_free;
        const uint32_t word = used == 0 ? 0 : m_bits << m_free;
        for (uint32_t n = 0; n < used / 8; ++n)
            Stuffed(uint8_t(word >> (24 - 8 * n)));
        m_bits = 0;
        m_free = 32;
    }
    bool Finish()
    {
        Hand();
        return !m_failed;
    }

private:
    static constexpr size_t kPiece = 256 * 1024;
    static constexpr size_t kRoom = 16;  // a word's bytes, each stuffed

    void PutWord(uint32_t word)
    {
        if (m_used >= kPiece)
            Hand();
        const uint32_t inverse = ~word;
        if (((inverse - 0x01010101u) & ~inverse & 0x80808080u) == 0) {
            const uint32_t bigEndian = __builtin_bswap32(word);
            std::memcpy(&m_buffer[m_used], &bigEndian, 4);
            m_used += 4;
            return;
        }
        for (int shift = 24; shift >= 0; shift -= 8)
            Stuffed(uint8_t(word >> shift));
    }
    void Stuffed(uint8_t byte)
    {
        m_buffer[m_used++] = byte;
        if (byte == 0xFF)
            m_buffer[m_used++] = 0;
    }
    void Hand()
    {
        if (m_used > 0 && !m_failed && !m_sink(m_buffer.data(), m_used))
            m_failed = true;
        m_used = 0;
    }

    const JpegTurn::Sink& m_sink;
    std::vector<uint8_t> m_buffer;
    size_t m_used = 0;
    uint32_t m_bits = 0;  // the word being filled, its last bits lowest
    uint32_t m_free = 32;
    bool m_failed = false;
};

uint32_t BitLength(uint32_t value)
{
    return value == 0 ? 0 : 32 - uint32_t(__builtin_clz(value));
}

// Where a coefficient of a stored block goes in the turned block, by its zigzag
// index in the stored one: its zigzag index there, and whether its sign changes
// (an odd frequency along a mirrored direction).
struct CoefficientMoves {
    uint8_t zigzag[64];
    bool negate[64];

    CoefficientMoves(bool swap, bool mirrorX, bool mirrorY)
    {
        uint8_t zigzagOf[64];
        for (uint8_t z = 0; z < 64; ++z)
            zigzagOf[kNaturalOrder[z]] = z;
        for (int k = 0; k < 64; ++k) {
            const int stored = kNaturalOrder[k];
            const int row = stored / 8, column = stored % 8;
            const int turned = swap ? column * 8 + row : stored;
            const int u = turned / 8, v = turned % 8;
            zigzag[k] = zigzagOf[turned];
            negate[k] = ((mirrorX && (v & 1)) != 0) != ((mirrorY && (u & 1)) != 0);
        }
    }
};

// The AC coefficients of a stored block at its position, put where the turned
// block has them: bit z of the mask and values[z] for zigzag index z. False for
// a code no table has or a coefficient past the block's end.
bool ReadTurnedBlock(const uint8_t* bytes, uint32_t position, const HuffmanTable& dc, const HuffmanTable& ac,
                     const CoefficientMoves& moves, uint32_t mask[2], int16_t values[64])
{
    uint32_t length, size;
    if (!DecodeSymbol(dc, PeekBits(bytes, position), length, size))
        return false;
    uint32_t at = position + length + size;
    uint32_t low = 0, high = 0;
    for (uint32_t k = 1; k < 64;) {
        const uint32_t peek = PeekBits(bytes, at);
        const uint32_t entry = ac.coefficients[peek >> (32 - kHuffmanLookupBits)];
        int32_t value;
        if (entry & kCoefficientValue) {
            at += entry & 31;
            k += (entry >> 5) & 15;
            value = int32_t(entry) >> 16;
        } else if (entry & kCoefficientEnd) {
            at += entry & 31;
            break;
        } else if (entry & kCoefficientZeros) {
            at += entry & 31;
            k += 16;
            continue;
        } else {
            uint32_t symbol;
            if (!DecodeSymbol(ac, peek, length, symbol))
                return false;
            at += length;
            const uint32_t run = symbol >> 4;
            size = symbol & 15;
            if (size == 0) {
                if (run != 15)
                    break;
                k += 16;
                continue;
            }
            k += run;
            value = ExtendValue(PeekBits(bytes, at) >> (32 - size), size);
            at += size;
        }
        if (k > 63)
            return false;
        const uint32_t z = moves.zigzag[k];
        values[z] = int16_t(moves.negate[k] ? -value : value);
        if (z < 32)
            low |= 1u << z;
        else
            high |= 1u << (z - 32);
        ++k;
    }
    mask[0] = low;
    mask[1] = high;
    return true;
}

// One block as libjpeg's Huffman encoder writes it. False for a value it refuses.
bool WriteBlock(ScanWriter& out, const HuffmanCodes& dc, const HuffmanCodes& ac, int32_t difference,
                const uint32_t mask[2], const int16_t values[64])
{
    uint32_t magnitude = uint32_t(difference < 0 ? -difference : difference);
    uint32_t bits = uint32_t(difference < 0 ? difference - 1 : difference);
    uint32_t size = BitLength(magnitude);
    if (size > 11)
        return false;
    out.Bits(uint32_t(dc.code[size]) << size | (bits & ((1u << size) - 1)), dc.size[size] + size);
    uint32_t previous = 0;
    for (int half = 0; half < 2; ++half) {
        uint32_t rest = mask[half];
        while (rest != 0) {
            const uint32_t z = uint32_t(half * 32) + uint32_t(__builtin_ctz(rest));
            rest &= rest - 1;
            uint32_t run = z - previous - 1;
            while (run > 15) {
                out.Bits(ac.code[0xF0], ac.size[0xF0]);
                run -= 16;
            }
            const int32_t value = values[z];
            magnitude = uint32_t(value < 0 ? -value : value);
            bits = uint32_t(value < 0 ? value - 1 : value);
            size = BitLength(magnitude);
            if (size > 10)
                return false;
            const uint32_t symbol = run << 4 | size;
            out.Bits(uint32_t(ac.code[symbol]) << size | (bits & ((1u << size) - 1)), ac.size[symbol] + size);
            previous = z;
        }
    }
    if (previous < 63)
        out.Bits(ac.code[0x00], ac.size[0x00]);
    return true;
}

// The operation that undoes each recorded orientation, as rows to columns and
// the mirroring of the result.
bool Operation(uint8_t orientation, bool& swap, bool& mirrorX, bool& mirrorY)
{
    switch (orientation) {
    case 2: swap = false, mirrorX = true, mirrorY = false; return true;   // flip left to right
    case 3: swap = false, mirrorX = true, mirrorY = true; return true;    // turn 180 degrees
    case 4: swap = false, mirrorX = false, mirrorY = true; return true;   // flip top to bottom
    case 5: swap = true, mirrorX = false, mirrorY = false; return true;   // transpose
    case 6: swap = true, mirrorX = true, mirrorY = false; return true;    // turn 90 degrees clockwise
    case 7: swap = true, mirrorX = true, mirrorY = true; return true;     // transverse
    case 8: swap = true, mirrorX = false, mirrorY = true; return true;    // turn 270 degrees clockwise
    default: return false;
    }
}

// The scan's data this reads by bit position: kept below 2^32 bits.
constexpr size_t kMostScanBytes = size_t(256) << 20;
// Zeros behind the data: what a damaged block can read past them, and a word.
constexpr size_t kPadding = 2048 + 8;
// MCUs between the one written and the one whose data are asked for.
constexpr uint32_t kAhead = 4;

}  // namespace

JpegTurn::Opening JpegTurn::Open(const uint8_t* data, size_t count, uint8_t orientation)
{
    // A JFIF segment of another major version is one libjpeg-turbo warns of.
    if (!Operation(orientation, m_swap, m_mirrorX, m_mirrorY) || !m_header.Read(data, count) ||
        (m_header.Jfif().seen && m_header.Jfif().major != 1))
        return Opening::NotTaken;
    // A mirrored direction must hold whole MCUs, as libjpeg-turbo's perfect
    // turn asks: a partial one cannot move to the other side.
    const uint32_t mcuWidth = 8 * m_header.MaxH(), mcuHeight = 8 * m_header.MaxV();
    const bool mirrorsColumns = m_swap ? m_mirrorY : m_mirrorX;
    const bool mirrorsRows = m_swap ? m_mirrorX : m_mirrorY;
    if ((mirrorsColumns && m_header.Width() % mcuWidth != 0) || (mirrorsRows && m_header.Height() % mcuHeight != 0))
        return Opening::NotExact;
    if (!m_header.BuildTables(m_tables) || !Unstuff())
        return Opening::NotTaken;
    // A block takes two bits at least (a DC code and an end of block): a frame
    // claiming more blocks than the scan's data can hold is damaged, and no
    // table is made for it.
    uint64_t blocks = 0;
    for (int c = 0; c < m_header.ComponentCount(); ++c)
        blocks += uint64_t(m_header.BlocksWide(c)) * m_header.BlocksHigh(c);
    if (blocks > uint64_t(m_intervals.back()) * 4)
        return Opening::Damaged;
    if (!FindBlocks())
        return Opening::NotTaken;
    return Opening::Ready;
}

bool JpegTurn::Unstuff()
{
    const uint8_t* in = m_header.ScanData();
    const uint8_t* const end = m_header.DataEnd();
    const size_t available = size_t(end - in);
    if (available > kMostScanBytes)
        return false;
    try {
        m_data.resize(available + kPadding);
        m_intervals.assign(1, 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    uint8_t* out = m_data.data();
    size_t length = 0;
    uint32_t restarts = 0;
    m_endMarker = 0;
    while (in < end) {
        const size_t run = FindMarkerByte(in, 0, size_t(end - in));
        std::memcpy(out + length, in, run);
        length += run;
        in += run;
        if (in == end)
            break;
        const uint8_t* next = in + 1;
        while (next < end && *next == 0xFF)
            ++next;
        if (next == end)
            break;
        // Fill bytes inside the data: libjpeg-turbo's fast decoding takes them
        // for a marker and decodes the block again over what it had read, so
        // its coefficients are not the codes' alone. Its own turn reads them so.
        if (next != in + 1)
            return false;
        in = next + 1;
        if (*next == 0) {
            out[length++] = 0xFF;
        } else if (*next == 0xD0 + (restarts & 7) && m_header.RestartInterval() != 0) {
            ++restarts;
            try {
                m_intervals.push_back(uint32_t(length));
            } catch (const std::bad_alloc&) {
                return false;
            }
        } else {
            m_endMarker = *next;
            break;
        }
    }
    std::memset(out + length, 0, m_data.size() - length);
    m_data.resize(length + kPadding);
    m_intervals.push_back(uint32_t(length));  // the end of the last interval
    return m_endMarker == 0xD9;
}

bool JpegTurn::FindBlocks()
{
    const int components = m_header.ComponentCount();
    try {
        for (int c = 0; c < components; ++c) {
            Plane& plane = m_planes[c];
            plane.blocksWide = m_header.BlocksWide(c);
            plane.blocksHigh = m_header.BlocksHigh(c);
            const size_t blocks = size_t(plane.blocksWide) * plane.blocksHigh;
            plane.positions.resize(blocks);
            plane.dcValues.resize(blocks);
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    // One component: an MCU is one block of the plane.
    const bool single = components == 1;
    const uint32_t columns = single ? m_planes[0].blocksWide : m_header.McuColumns();
    const uint32_t rows = single ? m_planes[0].blocksHigh : m_header.McuRows();
    const uint32_t interval = m_header.RestartInterval();
    const uint8_t* bytes = m_data.data();
    size_t nextInterval = 1;
    uint32_t position = 0;
    uint32_t untilRestart = interval;
    int32_t predictors[3] = {};
    for (uint32_t my = 0; my < rows; ++my) {
        for (uint32_t mx = 0; mx < columns; ++mx) {
            if (interval != 0) {
                if (untilRestart == 0) {
                    // The data of the interval end here; the next starts on its own byte.
                    if (nextInterval + 1 >= m_intervals.size() || !EndsInterval(position, nextInterval))
                        return false;
                    position = m_intervals[nextInterval++] * 8;
                    predictors[0] = predictors[1] = predictors[2] = 0;
                    untilRestart = interval;
                }
                --untilRestart;
            }
            for (int c = 0; c < components; ++c) {
                Plane& plane = m_planes[c];
                const JpegComponent& component = m_header.Component(c);
                const uint32_t h = single ? 1 : component.h, v = single ? 1 : component.v;
                const HuffmanTable& dc = m_tables[size_t(c) * 2];
                const HuffmanTable& ac = m_tables[size_t(c) * 2 + 1];
                for (uint32_t by = 0; by < v; ++by) {
                    for (uint32_t bx = 0; bx < h; ++bx) {
                        const uint32_t x = mx * h + bx, y = my * v + by;
                        const uint32_t start = position;
                        if (!SkipBlock(bytes, position, dc, ac, predictors[c]))
                            return false;
                        // Blocks that only fill the MCU past the picture's edge are not
                        // kept; the others in the order they are written in.
                        if (x < plane.blocksWide && y < plane.blocksHigh) {
                            const size_t index = TurnedIndex(plane, x, y);
                            plane.positions[index] = start;
                            plane.dcValues[index] = int16_t(predictors[c]);
                        }
                    }
                }
            }
            if (position > m_intervals[nextInterval] * 8)
                return false;  // past the interval's data: damaged
        }
    }
    // Every restart marker used, and the end of the image after the last interval.
    return nextInterval + 1 == m_intervals.size() && EndsInterval(position, nextInterval);
}

bool JpegTurn::EndsInterval(uint32_t position, size_t next) const
{
    // Bytes left over before a marker are data libjpeg-turbo warns of, and its
    // turn fails; the last byte's unused bits are its padding.
    return (position + 7) / 8 == m_intervals[next];
}

size_t JpegTurn::TurnedIndex(const Plane& plane, uint32_t x, uint32_t y) const
{
    const uint32_t wide = m_swap ? plane.blocksHigh : plane.blocksWide;
    const uint32_t high = m_swap ? plane.blocksWide : plane.blocksHigh;
    const uint32_t a = m_swap ? y : x, b = m_swap ? x : y;
    const uint32_t turnedX = m_mirrorX ? wide - 1 - a : a;
    const uint32_t turnedY = m_mirrorY ? high - 1 - b : b;
    return size_t(turnedY) * wide + turnedX;
}

bool JpegTurn::Write(const Sink& sink)
{
    ScanWriter out(sink);
    const int components = m_header.ComponentCount();
    const bool single = components == 1;
    // The turned picture's size and sampling.
    const uint32_t width = m_swap ? m_header.Height() : m_header.Width();
    const uint32_t height = m_swap ? m_header.Width() : m_header.Height();
    uint32_t sampleH[3], sampleV[3];
    for (int c = 0; c < components; ++c) {
        const JpegComponent& component = m_header.Component(c);
        sampleH[c] = m_swap ? component.v : component.h;
        sampleV[c] = m_swap ? component.h : component.v;
    }

    out.Marker(0xD8);
    // JFIF: the stored picture's version and density where it had a JFIF
    // segment, else version 1.01 and a density of 1 by 1.
    const JpegJfif& jfif = m_header.Jfif();
    const bool ownVersion = jfif.seen;
    out.Marker(0xE0);
    out.Word(16);
    for (const char c : {'J', 'F', 'I', 'F', '\0'})
        out.Byte(uint8_t(c));
    out.Byte(ownVersion ? jfif.major : 1);
    out.Byte(ownVersion ? jfif.minor : 1);
    out.Byte(jfif.seen ? jfif.unit : 0);
    out.Word(jfif.seen ? jfif.x : 1);
    out.Word(jfif.seen ? jfif.y : 1);
    out.Byte(0);
    out.Byte(0);

    // Each component's quantization table once, turned with the picture; a table
    // with values over 255 is written with 16-bit values and makes the frame an
    // extended one.
    bool sent[4] = {};
    bool wide = false;
    for (int c = 0; c < components; ++c) {
        const int slot = m_header.Component(c).quant;
        const uint16_t* stored = m_header.Quant(slot);
        uint16_t table[64];
        bool tableWide = false;
        for (int i = 0; i < 64; ++i) {
            table[i] = m_swap ? stored[(i % 8) * 8 + i / 8] : stored[i];
            tableWide = tableWide || table[i] > 255;
        }
        wide = wide || tableWide;
        if (sent[slot])
            continue;
        sent[slot] = true;
        out.Marker(0xDB);
        out.Word(tableWide ? 64 * 2 + 3 : 64 + 3);
        out.Byte(uint8_t(slot | (tableWide ? 0x10 : 0)));
        for (int i = 0; i < 64; ++i) {
            if (tableWide)
                out.Byte(uint8_t(table[kNaturalOrder[i]] >> 8));
            out.Byte(uint8_t(table[kNaturalOrder[i]]));
        }
    }
    out.Marker(wide ? 0xC1 : 0xC0);
    out.Word(8 + 3 * uint32_t(components));
    out.Byte(8);
    out.Word(height);
    out.Word(width);
    out.Byte(uint8_t(components));
    for (int c = 0; c < components; ++c) {
        out.Byte(m_header.Component(c).id);
        // A grey picture's sampling is written 1 x 1, as libjpeg-turbo's turn
        // writes it: its blocks are its MCUs whatever the frame said.
        out.Byte(single ? uint8_t(0x11) : uint8_t(sampleH[c] << 4 | sampleV[c]));
        out.Byte(uint8_t(m_header.Component(c).quant));
    }
    // The standard tables, luma's then chroma's, each before the scan that uses it.
    const int slots = components == 1 ? 1 : 2;
    for (int s = 0; s < slots; ++s) {
        for (const StandardTable* table : {&kDcTables[s], &kAcTables[s]}) {
            const size_t symbols = SymbolCount(table->counts);
            out.Marker(0xC4);
            out.Word(uint32_t(2 + 1 + 16 + symbols));
            out.Byte(table->slot);
            for (int i = 0; i < 16; ++i)
                out.Byte(table->counts[i]);
            for (size_t i = 0; i < symbols; ++i)
                out.Byte(table->symbols[i]);
        }
    }
    out.Marker(0xDA);
    out.Word(6 + 2 * uint32_t(components));
    out.Byte(uint8_t(components));
    for (int c = 0; c < components; ++c) {
        out.Byte(m_header.Component(c).id);
        out.Byte(c == 0 ? 0x00 : 0x11);
    }
    out.Byte(0);
    out.Byte(63);
    out.Byte(0);

    const HuffmanCodes dcCodes[2] = {HuffmanCodes(kDcTables[0]), HuffmanCodes(kDcTables[1])};
    const HuffmanCodes acCodes[2] = {HuffmanCodes(kAcTables[0]), HuffmanCodes(kAcTables[1])};
    const CoefficientMoves moves(m_swap, m_mirrorX, m_mirrorY);
    const uint8_t* bytes = m_data.data();
    uint32_t maxH = 1, maxV = 1;
    for (int c = 0; c < components; ++c) {
        maxH = sampleH[c] > maxH ? sampleH[c] : maxH;
        maxV = sampleV[c] > maxV ? sampleV[c] : maxV;
    }
    if (single)
        maxH = maxV = 1;
    // The turned planes' blocks across and down.
    uint32_t blocksWide[3], blocksHigh[3];
    for (int c = 0; c < components; ++c) {
        blocksWide[c] = m_swap ? m_planes[c].blocksHigh : m_planes[c].blocksWide;
        blocksHigh[c] = m_swap ? m_planes[c].blocksWide : m_planes[c].blocksHigh;
    }
    const uint32_t columns = single ? blocksWide[0] : (width + 8 * maxH - 1) / (8 * maxH);
    const uint32_t rows = single ? blocksHigh[0] : (height + 8 * maxV - 1) / (8 * maxV);
    int32_t last[3] = {};
    uint32_t mask[2];
    int16_t values[64];
    for (uint32_t my = 0; my < rows; ++my) {
        for (uint32_t mx = 0; mx < columns; ++mx) {
            // The stored blocks lie a row of the stored picture apart: their data
            // are asked for a few MCUs ahead.
            if (mx + kAhead < columns) {
                for (int c = 0; c < components; ++c) {
                    const uint32_t h = single ? 1 : sampleH[c], v = single ? 1 : sampleV[c];
                    for (uint32_t by = 0; by < v; ++by) {
                        const uint32_t x = (mx + kAhead) * h, y = my * v + by;
                        if (x < blocksWide[c] && y < blocksHigh[c])
                            __builtin_prefetch(bytes + (m_planes[c].positions[size_t(y) * blocksWide[c] + x] >> 3));
                    }
                }
            }
            for (int c = 0; c < components; ++c) {
                const Plane& plane = m_planes[c];
                const uint32_t h = single ? 1 : sampleH[c], v = single ? 1 : sampleV[c];
                const HuffmanCodes& dc = dcCodes[c == 0 ? 0 : 1];
                const HuffmanCodes& ac = acCodes[c == 0 ? 0 : 1];
                for (uint32_t by = 0; by < v; ++by) {
                    for (uint32_t bx = 0; bx < h; ++bx) {
                        const uint32_t x = mx * h + bx, y = my * v + by;
                        if (x >= blocksWide[c] || y >= blocksHigh[c]) {
                            // Past the edge, the MCU is filled as libjpeg fills it: the
                            // block before's DC value, no AC coefficients.
                            mask[0] = mask[1] = 0;
                            if (!WriteBlock(out, dc, ac, 0, mask, values))
                                return false;
                            continue;
                        }
                        const size_t index = size_t(y) * blocksWide[c] + x;
                        if (!ReadTurnedBlock(bytes, plane.positions[index], m_tables[size_t(c) * 2],
                                             m_tables[size_t(c) * 2 + 1], moves, mask, values))
                            return false;
                        const int32_t value = plane.dcValues[index];
                        if (!WriteBlock(out, dc, ac, value - last[c], mask, values))
                            return false;
                        last[c] = value;
                    }
                }
            }
        }
    }
    out.EndBits();
    out.Marker(0xD9);
    return out.Finish();
}

}  // namespace rasterlib
