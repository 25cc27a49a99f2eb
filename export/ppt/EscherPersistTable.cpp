#include "export/ppt/EscherPersistTable.h"

#include <algorithm>

void EscherPersistTable::RememberOffset(uint32_t key, uint32_t offset)
{
    m_entries.emplace_back(key, offset);
}

void EscherPersistTable::SetOffset(uint32_t key, uint32_t offset)
{
    for (Entry& entry : m_entries) {
        if (entry.first == key) {
            entry.second = offset;
            return;
        }
    }
    m_entries.emplace_back(key, offset);
}

uint32_t EscherPersistTable::GetOffset(uint32_t key) const
{
    for (const Entry& entry : m_entries) {
        if (entry.first == key)
            return entry.second;
    }
    return 0;
}

bool EscherPersistTable::HasOffset(uint32_t key) const
{
    return std::any_of(m_entries.begin(), m_entries.end(),
                       [key](const Entry& entry) { return entry.first == key; });
}

void EscherPersistTable::ForgetOffset(uint32_t key)
{
    m_entries.erase(std::remove_if(m_entries.begin(), m_entries.end(),
                                   [key](const Entry& entry) { return entry.first == key; }),
                    m_entries.end());
}

void EscherPersistTable::ShiftOffsets(uint32_t from, uint32_t size)
{
    for (Entry& entry : m_entries) {
        if (entry.second >= from)
            entry.second += size;
    }
}
