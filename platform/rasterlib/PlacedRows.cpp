#include "platform/rasterlib/PlacedRows.h"

#include <algorithm>
#include <new>

namespace rasterlib {

bool PlacedRows::Prepare()
{
    try {
        m_row.assign(size_t(m_placement.canvasWidth) * 4, 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

const uint8_t* PlacedRows::Row(uint32_t y)
{
    if (y >= m_placement.canvasHeight)
        return nullptr;
    if (y < m_placement.top || y - m_placement.top >= m_frameHeight) {
        if (m_framed)
            std::fill(m_row.begin(), m_row.end(), uint8_t(0));
        m_framed = false;
        return m_row.data();
    }
    const uint8_t* row = m_frame.Row(y - m_placement.top);
    if (!row)
        return nullptr;
    std::copy(row, row + size_t(m_frameWidth) * 4, m_row.begin() + std::ptrdiff_t(m_placement.left) * 4);
    m_framed = true;
    return m_row.data();
}

}  // namespace rasterlib
