#include "framework/HashTable.h"

#include "framework/HashItem.h"

#include <cstring>

CHashTable::CHashTable(uint16_t bucketCount)
    : m_bucketCount(bucketCount), m_buckets(nullptr)
{
    if (m_bucketCount != 0)
        m_buckets = new CHashItem*[m_bucketCount]();
}

CHashTable::~CHashTable()
{
    RemoveAll();
    delete[] m_buckets;
}

CHashItem* CHashTable::Lookup(const char* key) const
{
    if (!key || m_bucketCount == 0)
        return nullptr;
    const uint16_t bucket = HashKey(key);
    if (bucket >= m_bucketCount)
        return nullptr;
    const uint32_t code = KeyCode(key);
    for (CHashItem* item = m_buckets[bucket]; item; item = item->GetNext()) {
        if (Matches(item, key, code))
            return item;
    }
    return nullptr;
}

void CHashTable::Probe()
{
    Add("000");
    Remove("012");
    Remove("000");
}

bool CHashTable::ReservedSlot()
{
    return false;
}

CHashItem* CHashTable::FindTail(uint16_t bucket, const char* key) const
{
    if (bucket >= m_bucketCount || !key)
        return nullptr;
    const uint32_t code = KeyCode(key);
    CHashItem* tail = nullptr;
    for (CHashItem* item = m_buckets[bucket]; item; item = item->GetNext()) {
        if (Matches(item, key, code))
            return nullptr;
        tail = item;
    }
    return tail;
}

uint16_t CHashTable::HashKey(const char* key) const
{
    // Without buckets there is no valid index; 0 is then out of range.
    if (m_bucketCount == 0 || !key)
        return 0;
    uint16_t h = 0;
    for (int i = 0; i < CHashItem::kMaxKeyLength && key[i] != '\0'; ++i) {
        const uint16_t rotated = static_cast<uint16_t>((h << 1) | (h >> 15));
        const uint16_t c = static_cast<uint16_t>(static_cast<int16_t>(static_cast<signed char>(key[i])));
        h = static_cast<uint16_t>(rotated ^ c);
    }
    return static_cast<uint16_t>(h % m_bucketCount);
}

uint32_t CHashTable::KeyCode(const char* key) const
{
    if (!key)
        return 0;
    uint32_t h = 0;
    for (int i = 0; i < CHashItem::kMaxKeyLength && key[i] != '\0'; ++i) {
        const uint32_t c = static_cast<uint32_t>(static_cast<int32_t>(static_cast<signed char>(key[i])));
        h = ((h >> 11) | (h << 3)) ^ c;
    }
    return h % 0xFFFFFFFFu;
}

void CHashTable::ClearBuckets()
{
    for (uint16_t i = 0; i < m_bucketCount; ++i)
        m_buckets[i] = nullptr;
}

bool CHashTable::Matches(const CHashItem* item, const char* key, uint32_t code) const
{
    // Items keep at most kMaxKeyLength characters, so longer keys compare by
    // that prefix (and hash by it) and a long key that was added is found.
    return item && key && item->GetKeyCode() == code
        && std::strncmp(item->GetKey(), key, CHashItem::kMaxKeyLength) == 0;
}

bool CHashTable::Add(const char* key)
{
    if (!key)
        return false;
    const uint16_t bucket = HashKey(key);
    if (bucket >= m_bucketCount)
        return false;
    return Link(bucket, new CHashItem(key));
}

bool CHashTable::Insert(CHashItem* item)
{
    if (!item)
        return false;
    const uint16_t bucket = HashKey(item->GetKey());
    if (bucket >= m_bucketCount) {
        delete item;
        return false;
    }
    return Link(bucket, item);
}

bool CHashTable::Link(uint16_t bucket, CHashItem* item)
{
    if (!m_buckets[bucket]) {
        m_buckets[bucket] = item;
        item->SetKeyCode(KeyCode(item->GetKey()));
        return true;
    }
    CHashItem* tail = FindTail(bucket, item->GetKey());
    if (tail && !tail->GetNext()) {
        tail->SetNext(item);
        item->SetKeyCode(KeyCode(item->GetKey()));
        return true;
    }
    delete item;
    return false;
}

bool CHashTable::Remove(const char* key)
{
    if (!key)
        return false;
    const uint16_t bucket = HashKey(key);
    if (bucket >= m_bucketCount || !m_buckets[bucket])
        return false;
    const uint32_t code = KeyCode(key);
    CHashItem* previous = nullptr;
    for (CHashItem* item = m_buckets[bucket]; item; item = item->GetNext()) {
        if (Matches(item, key, code)) {
            if (previous)
                previous->SetNext(item->GetNext());
            else
                m_buckets[bucket] = item->GetNext();
            // Cut the link so that deleting the item leaves its followers alone.
            item->SetNext(nullptr);
            delete item;
            return true;
        }
        previous = item;
    }
    return false;
}

void CHashTable::RemoveAll()
{
    for (uint16_t i = 0; i < m_bucketCount; ++i) {
        delete m_buckets[i];
        m_buckets[i] = nullptr;
    }
}

CHashItem* CHashTable::GetChain(uint16_t bucket) const
{
    return bucket < m_bucketCount ? m_buckets[bucket] : nullptr;
}
