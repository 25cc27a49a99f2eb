// The codes of a GIF image's LZW data, read from its sub-blocks with the
// bookkeeping of the string table that every reader of them shares: clears,
// the code width, and the entry each code adds. What a code means in pixels
// is the caller's: the check of a frame counts its strings' lengths, the row
// reader spells them out.
#pragma once

#include <cstddef>
#include <cstdint>

namespace rasterlib {

class GifCodes {
public:
    // The table holds at most this many strings (12-bit codes).
    static constexpr uint32_t kTableSize = 4096;

    // pos is the minimum code size, the sub-blocks after it. False for a
    // minimum code size real pictures do not have (2 to 8 bits).
    bool Start(const uint8_t* bytes, size_t count, size_t pos);

    uint32_t Clear() const { return m_clear; }

    // The next code that names a string: a literal, a string of the table, or
    // the entry this very code adds (the previous string and its own first
    // pixel). Clears are taken on the way. False at the end code, when the
    // data end, and for a code the table does not hold yet.
    bool Next(uint32_t& code);
    // Of the code Next gave: the entry it added (-1 for none: the first code
    // after a clear, or a full table) and the code before it, whose string
    // with one pixel more that entry is.
    int32_t Added() const { return m_added; }
    int32_t Previous() const { return m_before; }

private:
    const uint8_t* m_bytes = nullptr;
    size_t m_count = 0;
    size_t m_pos = 0;
    size_t m_block = 0;  // bytes left in the current sub-block
    uint32_t m_minimum = 0;
    uint32_t m_clear = 0;
    uint32_t m_next = 0;
    uint32_t m_width = 0;
    uint32_t m_bits = 0;
    uint32_t m_held = 0;
    int32_t m_previous = -1;
    int32_t m_added = -1;
    int32_t m_before = -1;
};

}  // namespace rasterlib
