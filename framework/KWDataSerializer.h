// CKWDataSerializer: turns a serial-data record into a block of memory for the
// clipboard and back.
//
// Restore: CKWDataSerializer s(data, size); s.Load(record);
// Store:   CKWDataSerializer s = CKWDataSerializer::CKWDataSerializer2(record);
//          s.Store(data, size);  ...  free(data);
// An exception of the archive (CKWArchiveException) passes through Load after
// the archive has been destroyed; callers catch it around the whole load.
#pragma once

#include <cstdint>

class CKWSerialData;

class CKWDataSerializer {
public:
    // Tag that picks the storing constructor (see CKWDataSerializer2).
    struct StoreTag {};

    // To restore a record from a block (the block stays the caller's).
    CKWDataSerializer(const void* data, uint32_t size);
    // To store a record; CKWDataSerializer2 is the named form of this constructor.
    CKWDataSerializer(StoreTag, CKWSerialData* record);
    static CKWDataSerializer CKWDataSerializer2(CKWSerialData* record)
    {
        return CKWDataSerializer(StoreTag(), record);
    }
    virtual ~CKWDataSerializer();

    // Storing direction with a record only: serializes it into a new block,
    // handed out through data and size (the caller frees it with free). False
    // for a record that refuses to serialize or an empty result; nothing is
    // handed out then.
    bool Store(void*& data, uint32_t& size);
    // Restoring direction only: the record's Serialize result over the block.
    bool Load(CKWSerialData& record);

    bool IsStoring() const { return m_direction == 1; }

private:
    CKWSerialData* m_record;  // not owned; null when restoring
    void* m_block;            // not owned while restoring; handed out after storing
    uint32_t m_size;
    uint8_t m_direction;      // 1 store a record into memory, 0 restore one from memory
};
