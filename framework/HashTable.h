#pragma once
// CHashTable: a string-keyed hash table with a fixed number of buckets and
// chains of CHashItem. Hashing, key codes and matching are virtual so that
// derived tables (the XML tag tables) reuse the bucket logic.
#include <cstdint>

class CHashItem;

class CHashTable {
public:
    explicit CHashTable(uint16_t bucketCount);
    virtual ~CHashTable();

    // The item with this key, or null.
    virtual CHashItem* Lookup(const char* key) const;
    // Self-check: adds "000", removes "012" and "000".
    virtual void Probe();
    // Kept so that derived tables keep their slot order; does nothing.
    virtual bool ReservedSlot();
    // The last item of the bucket's chain; null when the chain is empty or
    // already holds the key.
    virtual CHashItem* FindTail(uint16_t bucket, const char* key) const;
    virtual uint16_t HashKey(const char* key) const;
    virtual uint32_t KeyCode(const char* key) const;
    // Forgets every chain without deleting it (for items owned elsewhere).
    virtual void ClearBuckets();
    virtual bool Matches(const CHashItem* item, const char* key, uint32_t code) const;
    virtual bool Add(const char* key);
    // Takes ownership of the item; it is deleted when it cannot be inserted.
    virtual bool Insert(CHashItem* item);
    virtual bool Remove(const char* key);
    virtual void RemoveAll();

    uint16_t GetBucketCount() const { return m_bucketCount; }

    CHashTable(const CHashTable&) = delete;
    CHashTable& operator=(const CHashTable&) = delete;

protected:
    // First item of a bucket's chain; null for an empty or unknown bucket.
    CHashItem* GetChain(uint16_t bucket) const;

private:
    bool Link(uint16_t bucket, CHashItem* item);

    uint16_t m_bucketCount;
    CHashItem** m_buckets;
};
