// The data serializer of the clipboard.
#include "framework/KWDataSerializer.h"

#include "framework/KWArchive.h"
#include "framework/KWSerialData.h"

CKWDataSerializer::CKWDataSerializer(const void* data, uint32_t size)
    : m_record(nullptr), m_block(const_cast<void*>(data)), m_size(size), m_direction(0)
{
}

CKWDataSerializer::CKWDataSerializer(StoreTag, CKWSerialData* record)
    : m_record(record), m_block(nullptr), m_size(0), m_direction(1)
{
}

CKWDataSerializer::~CKWDataSerializer() = default;

bool CKWDataSerializer::Store(void*& data, uint32_t& size)
{
    data = nullptr;
    size = 0;
    if (m_direction != 1 || !m_record)
        return false;
    CKWArchive ar(nullptr, 0, CKWArchive::kStore);  // a growing block
    if (!ar.IsOpen() || !m_record->Serialize(ar))
        return false;
    void* block = nullptr;
    uint32_t length = 0;
    if (!ar.FinishMemory(block, length) || !block || !length)
        return false;
    uint32_t detachedLength = 0;
    m_block = ar.DetachMemory(detachedLength);
    m_size = detachedLength;
    if (!m_block || !m_size)
        return false;
    data = m_block;
    size = m_size;
    return true;
}

bool CKWDataSerializer::Load(CKWSerialData& record)
{
    if (m_direction != 0)
        return false;
    CKWArchive ar(m_block, m_size, CKWArchive::kLoad);
    if (!ar.IsOpen())
        return false;
    return record.Serialize(ar);
}
