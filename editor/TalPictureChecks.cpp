#include "editor/TalPictureChecks.h"

bool CTalPictureChecks::Add(const std::vector<uint32_t>& ids)
{
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_closed)
        return false;
    m_ids.insert(m_ids.end(), ids.begin(), ids.end());
    return true;
}

bool CTalPictureChecks::Take(uint32_t& id)
{
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_next >= m_ids.size()) {
        m_closed = true;
        return false;
    }
    id = m_ids[m_next++];
    return true;
}
