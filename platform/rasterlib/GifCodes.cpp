#include "platform/rasterlib/GifCodes.h"

namespace rasterlib {

bool GifCodes::Start(const uint8_t* bytes, size_t count, size_t pos)
{
    if (!bytes || pos >= count)
        return false;
    m_bytes = bytes;
    m_count = count;
    m_minimum = bytes[pos];
    m_pos = pos + 1;
    m_block = 0;
    m_bits = m_held = 0;
    if (m_minimum < 2 || m_minimum > 8)
        return false;
    m_clear = 1u << m_minimum;
    m_next = m_clear + 2;
    m_width = m_minimum + 1;
    m_previous = m_added = m_before = -1;
    return true;
}

bool GifCodes::Next(uint32_t& code)
{
    for (;;) {
        while (m_held < m_width) {
            if (m_block == 0) {
                if (m_pos >= m_count || m_bytes[m_pos] == 0)
                    return false;  // the data end before the frame does
                m_block = m_bytes[m_pos++];
            }
            if (m_pos >= m_count)
                return false;
            m_bits |= uint32_t(m_bytes[m_pos++]) << m_held;
            m_held += 8;
            --m_block;
        }
        code = m_bits & ((1u << m_width) - 1);
        m_bits >>= m_width;
        m_held -= m_width;
        if (code != m_clear)
            break;
        m_next = m_clear + 2;
        m_width = m_minimum + 1;
        m_previous = -1;
    }
    // After a clear only a literal.
    if (code == m_clear + 1 || code > m_next || (m_previous < 0 && code > m_clear))
        return false;
    m_before = m_previous;
    m_added = m_previous >= 0 && m_next < kTableSize ? int32_t(m_next++) : -1;
    m_previous = int32_t(code);
    if (m_next == (1u << m_width) && m_width < 12)
        ++m_width;
    return true;
}

}  // namespace rasterlib
