// The search for the FF byte that starts a JPEG marker, sixteen bytes at a
// time: coded data run to megabytes with an FF every few hundred bytes, and
// the C runtime's memchr goes a byte at a time. Header only, so that the
// exports' check of a JPEG uses it as the library does.
#pragma once

#include <emmintrin.h>

#include <cstddef>
#include <cstdint>

namespace rasterlib {

// The first FF byte from at on, or end.
inline size_t FindMarkerByte(const uint8_t* bytes, size_t at, size_t end)
{
    const __m128i marker = _mm_set1_epi8(static_cast<char>(0xFF));
    while (at + 16 <= end) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + at));
        const int found = _mm_movemask_epi8(_mm_cmpeq_epi8(block, marker));
        if (found)
            return at + static_cast<size_t>(__builtin_ctz(static_cast<unsigned>(found)));
        at += 16;
    }
    while (at < end && bytes[at] != 0xFF)
        ++at;
    return at;
}

}  // namespace rasterlib
