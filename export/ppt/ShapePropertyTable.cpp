#include "export/ppt/ShapePropertyTable.h"

#include "export/ppt/PptEscherEx.h"
#include "export/ppt/PPTOutStream.h"

#include <algorithm>
#include <cstring>

ShapePropertyTable::ShapePropertyTable()
{
    m_entries.reserve(64);
}

void ShapePropertyTable::SetProperty(uint16_t id, uint32_t value, bool picture, const void* complex,
                                     uint32_t complexLength)
{
    uint16_t storedId = static_cast<uint16_t>(id & kIdMask);
    if (picture)
        storedId |= kPictureFlag;
    std::unique_ptr<uint8_t[]> data;
    if (complex && complexLength) {
        storedId |= kComplexFlag;
        data.reset(new uint8_t[complexLength]);
        std::memcpy(data.get(), complex, complexLength);
        value = complexLength;
        m_hasComplex = true;
    } else {
        complexLength = 0;
    }

    auto found = std::find_if(m_entries.begin(), m_entries.end(), [id](const Entry& entry) {
        return (entry.id & kIdMask) == (id & kIdMask);
    });
    if (found == m_entries.end()) {
        m_entries.emplace_back();
        found = m_entries.end() - 1;
        m_totalSize += 6;
    } else {
        m_totalSize -= found->complexLength;
    }
    found->id = storedId;
    found->value = value;
    found->complex = std::move(data);
    found->complexLength = complexLength;
    m_totalSize += complexLength;
}

void ShapePropertyTable::SetRotation(int32_t angle)
{
    if (angle == 0)
        return;
    if (angle < 0)
        angle = (angle % 36000 + 36000) % 36000;
    else
        angle %= 36000;
    const uint32_t value = (static_cast<uint32_t>(angle) * 655u + 32768u) & 0xFFFF0000u;
    SetProperty(kRotation, value);
}

bool ShapePropertyTable::GetValue(uint16_t id, uint32_t& value) const
{
    for (const Entry& entry : m_entries) {
        if ((entry.id & kIdMask) == (id & kIdMask)) {
            value = entry.value;
            return true;
        }
    }
    return false;
}

void ShapePropertyTable::WriteTo(PPTOutStream& stream, uint16_t version) const
{
    const uint16_t count = static_cast<uint16_t>(m_entries.size());
    stream.WriteU16(static_cast<uint16_t>((count << 4) | (version & 0xF)));
    stream.WriteU16(PptEscherEx::kOpt);
    stream.WriteU32(m_totalSize);
    if (m_entries.empty())
        return;

    std::vector<const Entry*> sorted;
    sorted.reserve(m_entries.size());
    for (const Entry& entry : m_entries)
        sorted.push_back(&entry);
    std::stable_sort(sorted.begin(), sorted.end(), [](const Entry* a, const Entry* b) {
        return (a->id & kIdMask) < (b->id & kIdMask);
    });
    for (const Entry* entry : sorted)
        stream.WriteU16(entry->id).WriteU32(entry->value);
    for (const Entry* entry : sorted) {
        if (entry->complexLength)
            stream.WriteBytes(entry->complex.get(), entry->complexLength);
    }
}
