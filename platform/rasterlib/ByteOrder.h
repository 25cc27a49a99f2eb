// Little- and big-endian fields of the file formats the library reads and writes.
#pragma once

#include <cstdint>

namespace rasterlib {

inline uint32_t Le16(const uint8_t* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8);
}

inline uint32_t Le32(const uint8_t* p)
{
    return Le16(p) | (Le16(p + 2) << 16);
}

inline uint32_t Be16(const uint8_t* p)
{
    return (uint32_t(p[0]) << 8) | p[1];
}

inline uint32_t Be32(const uint8_t* p)
{
    return (Be16(p) << 16) | Be16(p + 2);
}

inline void PutLe16(uint8_t* p, uint32_t value)
{
    p[0] = uint8_t(value);
    p[1] = uint8_t(value >> 8);
}

inline void PutLe32(uint8_t* p, uint32_t value)
{
    PutLe16(p, value);
    PutLe16(p + 2, value >> 16);
}

}  // namespace rasterlib
