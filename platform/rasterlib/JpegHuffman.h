// Huffman tables of a JPEG scan for reading its entropy-coded data by bit
// position: a symbol found from the next bits in one look-up where its code is
// short, and for AC tables a second look-up that gives, without reading the
// values, how many bits the next coefficient takes (code and value) and how far
// it moves in the block, and the same for it and the one after it together where
// both codes lie within the bits looked up.
#pragma once

#include <cstdint>
#include <cstring>

namespace rasterlib {

constexpr uint32_t kHuffmanLookupBits = 12;
// What a skip look-up's advance is for the end-of-block code: past the block.
constexpr uint32_t kEndOfBlockAdvance = 64;
// Flags of a coefficient look-up's entry.
constexpr uint32_t kCoefficientValue = 1u << 9;
constexpr uint32_t kCoefficientEnd = 1u << 10;
constexpr uint32_t kCoefficientZeros = 1u << 11;

struct HuffmanTable {
    // (code length << 8) | symbol; 0 where the code is longer than the look-up.
    uint16_t symbols[1u << kHuffmanLookupBits];
    // AC tables: the advance in the block (bits 0-6) and the bits taken, code and
    // value (bits 7-11), of the next coefficient, and of it and the next together
    // (bits 12-18 and 19-23; the first's alone where the second's code is not
    // within the look-up); 0 where the first code is longer than the look-up.
    uint32_t skips[1u << kHuffmanLookupBits];
    // AC tables: a coefficient whose code and value lie within the look-up, with
    // its value (bits 16-31, signed), run (bits 5-8) and the bits it takes (bits
    // 0-4); or the end of the block or a run of 16 zeros, flagged; 0 otherwise.
    uint32_t coefficients[1u << kHuffmanLookupBits];
    // By code length: the last code (-1: none) and the symbol index less the first code.
    int32_t maxCode[17];
    int32_t valueOffset[17];
    uint8_t values[256];
};

// Builds the table from a DHT's sixteen counts and its symbols, checked as
// libjpeg-turbo checks them (a DC symbol above 15 is refused). False when the
// counts do not make a code.
bool BuildHuffmanTable(const uint8_t counts[16], const uint8_t* symbols, bool dc, HuffmanTable& table);

// The symbol of a code longer than the look-up; false when no code starts so.
bool DecodeLongSymbol(const HuffmanTable& table, uint32_t peek, uint32_t& length, uint32_t& symbol);

// The next 25 or more bits at a bit position of data with their stuffed bytes
// removed, first bit highest; the bytes must run four past the position's byte.
inline uint32_t PeekBits(const uint8_t* bytes, uint32_t position)
{
    uint32_t word;
    std::memcpy(&word, bytes + (position >> 3), 4);
    return __builtin_bswap32(word) << (position & 7);
}

// peek: PeekBits at the code.
inline bool DecodeSymbol(const HuffmanTable& table, uint32_t peek, uint32_t& length, uint32_t& symbol)
{
    const uint32_t entry = table.symbols[peek >> (32 - kHuffmanLookupBits)];
    if (entry == 0)
        return DecodeLongSymbol(table, peek, length, symbol);
    length = entry >> 8;
    symbol = entry & 0xFF;
    return true;
}

// Zigzag order to the natural order of a block; a run past the last coefficient
// lands on it, as in libjpeg.
extern const uint8_t kNaturalOrder[64 + 16];

// A coefficient's value from its size bits (size 1 to 15).
inline int32_t ExtendValue(uint32_t bits, uint32_t size)
{
    return bits < (1u << (size - 1)) ? int32_t(bits) - int32_t((1u << size) - 1) : int32_t(bits);
}

// Adds a block's DC difference to its component's predictor.
inline bool AddDc(const uint8_t* bytes, uint32_t& position, const HuffmanTable& dc, int32_t& predictor)
{
    uint32_t length, size;
    if (!DecodeSymbol(dc, PeekBits(bytes, position), length, size))
        return false;
    position += length;
    if (size != 0) {
        const uint32_t bits = PeekBits(bytes, position) >> (32 - size);
        position += size;
        predictor = int32_t(uint32_t(predictor) + uint32_t(ExtendValue(bits, size)));
    }
    return true;
}

// A block of which only the DC value is wanted: its AC coefficients passed over
// by their lengths alone.
inline bool SkipBlock(const uint8_t* bytes, uint32_t& position, const HuffmanTable& dc, const HuffmanTable& ac,
                      int32_t& predictor)
{
    if (!AddDc(bytes, position, dc, predictor))
        return false;
    uint32_t at = position;
    for (uint32_t k = 1; k < 64;) {
        const uint32_t peek = PeekBits(bytes, at);
        const uint32_t entry = ac.skips[peek >> (32 - kHuffmanLookupBits)];
        if (entry != 0) {
            // Two coefficients at once while the first leaves the block open.
            const uint32_t advance = entry & 0x7F;
            if (k + advance < 64) {
                k += (entry >> 12) & 0x7F;
                at += entry >> 19;
            } else {
                k += advance;
                at += (entry >> 7) & 0x1F;
            }
            continue;
        }
        uint32_t length, symbol;
        if (!DecodeLongSymbol(ac, peek, length, symbol))
            return false;
        const uint32_t run = symbol >> 4, size = symbol & 15;
        at += length + size;
        if (size != 0)
            k += run + 1;
        else if (run == 15)
            k += 16;
        else
            break;
    }
    position = at;
    return true;
}

// A whole block's coefficients, into a cleared block in natural order.
inline bool ReadBlock(const uint8_t* bytes, uint32_t& position, const HuffmanTable& dc, const HuffmanTable& ac,
                      int32_t& predictor, int16_t* block)
{
    if (!AddDc(bytes, position, dc, predictor))
        return false;
    block[0] = int16_t(predictor);
    uint32_t at = position;
    for (uint32_t k = 1; k < 64;) {
        uint32_t length, symbol;
        if (!DecodeSymbol(ac, PeekBits(bytes, at), length, symbol))
            return false;
        at += length;
        const uint32_t run = symbol >> 4, size = symbol & 15;
        if (size != 0) {
            k += run;
            const uint32_t bits = PeekBits(bytes, at) >> (32 - size);
            at += size;
            block[kNaturalOrder[k]] = int16_t(ExtendValue(bits, size));
            ++k;
        } else if (run == 15) {
            k += 16;
        } else {
            break;
        }
    }
    position = at;
    return true;
}

}  // namespace rasterlib
