#include "platform/rasterlib/JpegHuffman.h"

namespace rasterlib {

const uint8_t kNaturalOrder[64 + 16] = {
    0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,  12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13,
    6,  7,  14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51, 58, 59, 52, 45, 38, 31,
    39, 46, 53, 60, 61, 54, 47, 55, 62, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63,
};

namespace {

// How far a coefficient's symbol moves in the block, and its value bits.
void SymbolStep(uint32_t symbol, uint32_t& advance, uint32_t& valueBits)
{
    const uint32_t run = symbol >> 4;
    valueBits = symbol & 15;
    if (valueBits != 0)
        advance = run + 1;
    else if (run == 15)
        advance = 16;
    else
        advance = kEndOfBlockAdvance;
}

// The skip look-up from the symbol look-up.
void FillSkips(HuffmanTable& table)
{
    constexpr uint32_t kBits = kHuffmanLookupBits;
    for (uint32_t peek = 0; peek < (1u << kBits); ++peek) {
        const uint32_t entry = table.symbols[peek];
        if (entry == 0) {
            table.skips[peek] = 0;
            continue;
        }
        uint32_t advance, valueBits;
        SymbolStep(entry & 0xFF, advance, valueBits);
        const uint32_t taken = (entry >> 8) + valueBits;
        uint32_t pairAdvance = advance, pairTaken = taken;
        if (advance != kEndOfBlockAdvance && taken < kBits) {
            // The second code starts within the bits looked up; it counts when it
            // ends there too.
            const uint32_t rest = (peek << taken) & ((1u << kBits) - 1);
            const uint32_t second = table.symbols[rest];
            if (second != 0 && (second >> 8) <= kBits - taken) {
                uint32_t advance2, valueBits2;
                SymbolStep(second & 0xFF, advance2, valueBits2);
                pairAdvance = advance + advance2;
                pairTaken = taken + (second >> 8) + valueBits2;
            }
        }
        table.skips[peek] = advance | taken << 7 | pairAdvance << 12 | pairTaken << 19;
    }
}

// The coefficient look-up from the symbol look-up.
void FillCoefficients(HuffmanTable& table)
{
    constexpr uint32_t kBits = kHuffmanLookupBits;
    for (uint32_t peek = 0; peek < (1u << kBits); ++peek) {
        const uint32_t entry = table.symbols[peek];
        uint32_t coefficient = 0;
        const uint32_t length = entry >> 8, run = (entry >> 4) & 15, size = entry & 15;
        if (entry != 0 && size == 0) {
            coefficient = length | (run == 15 ? kCoefficientZeros : kCoefficientEnd);
        } else if (entry != 0 && length + size <= kBits) {
            const uint32_t bits = (peek >> (kBits - length - size)) & ((1u << size) - 1);
            const int32_t value = ExtendValue(bits, size);
            coefficient = (length + size) | run << 5 | kCoefficientValue | uint32_t(value) << 16;
        }
        table.coefficients[peek] = coefficient;
    }
}

}  // namespace

bool BuildHuffmanTable(const uint8_t counts[16], const uint8_t* symbols, bool dc, HuffmanTable& table)
{
    uint32_t total = 0;
    for (int length = 1; length <= 16; ++length)
        total += counts[length - 1];
    if (total > 256)
        return false;
    std::memcpy(table.values, symbols, total);
    std::memset(table.values + total, 0, 256 - total);
    if (dc) {
        for (uint32_t i = 0; i < total; ++i)
            if (symbols[i] > 15)
                return false;
    }
    std::memset(table.symbols, 0, sizeof table.symbols);
    // Canonical codes, each length's codes following the shorter ones; no code may be
    // all ones within its length.
    uint32_t code = 0;
    uint32_t index = 0;
    for (uint32_t length = 1; length <= 16; ++length) {
        const uint32_t count = counts[length - 1];
        if (count == 0) {
            table.maxCode[length] = -1;
        } else {
            table.valueOffset[length] = int32_t(index) - int32_t(code);
            for (uint32_t i = 0; i < count; ++i, ++index, ++code) {
                if (code + 1 >= (1u << length))
                    return false;
                if (length > kHuffmanLookupBits)
                    continue;
                const uint32_t first = code << (kHuffmanLookupBits - length);
                const uint32_t span = 1u << (kHuffmanLookupBits - length);
                const uint16_t symbolEntry = uint16_t(length << 8 | table.values[index]);
                for (uint32_t j = 0; j < span; ++j)
                    table.symbols[first + j] = symbolEntry;
            }
            table.maxCode[length] = int32_t(code) - 1;
        }
        code <<= 1;
    }
    if (!dc) {
        FillSkips(table);
        FillCoefficients(table);
    }
    return true;
}
bool DecodeLongSymbol(const HuffmanTable& table, uint32_t peek, uint32_t& length, uint32_t& symbol)
{
    for (uint32_t bits = kHuffmanLookupBits + 1; bits <= 16; ++bits) {
        const int32_t code = int32_t(peek >> (32 - bits));
        if (code <= table.maxCode[bits]) {
            const int32_t index = code + table.valueOffset[bits];
            if (index < 0 || index > 255)
                return false;
            length = bits;
            symbol = table.values[index];
            return true;
        }
    }
    return false;
}

}  // namespace rasterlib
