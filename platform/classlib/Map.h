#pragma once
// CMap: a hash table from keys to values; the table is sized once, before the
// first association is made (17 buckets unless InitHashTable says otherwise).
#include "platform/classlib/Collection.h"
#include "platform/classlib/Exception.h"

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap : public CObject {
    struct CAssoc {
        CAssoc* pNext;
        UINT nHashValue;
        KEY key;
        VALUE value;
    };

public:
    explicit CMap(INT_PTR nBlockSize = 10) : m_nBlockSize(nBlockSize) {}
    ~CMap() override { RemoveAll(); }

    // The association count (WriteCount), then key and value of each in the
    // order of GetNextAssoc; loading adds to the map.
    void Serialize(CArchive& ar) override {
        CObject::Serialize(ar);
        if (ar.IsStoring()) {
            ar.WriteCount(static_cast<DWORD_PTR>(m_nCount));
            if (m_pHashTable == nullptr)
                return;
            for (UINT nHash = 0; nHash < m_nHashTableSize; ++nHash) {
                for (CAssoc* pAssoc = m_pHashTable[nHash]; pAssoc != nullptr; pAssoc = pAssoc->pNext) {
                    SerializeElements<KEY>(ar, &pAssoc->key, 1);
                    SerializeElements<VALUE>(ar, &pAssoc->value, 1);
                }
            }
        } else {
            for (DWORD_PTR n = ar.ReadCount(); n > 0; --n) {
                KEY newKey = KEY();
                VALUE newValue = VALUE();
                SerializeElements<KEY>(ar, &newKey, 1);
                SerializeElements<VALUE>(ar, &newValue, 1);
                SetAt(newKey, newValue);
            }
        }
    }

    INT_PTR GetCount() const { return m_nCount; }
    INT_PTR GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }
    UINT GetHashTableSize() const { return m_nHashTableSize; }

    // Sets the bucket count; the associations made so far are dropped.
    void InitHashTable(UINT hashSize, BOOL bAllocNow = TRUE) {
        RemoveAll();
        m_nHashTableSize = hashSize != 0 ? hashSize : 1;
        if (bAllocNow)
            m_pHashTable = new CAssoc*[m_nHashTableSize]();
    }

    BOOL Lookup(ARG_KEY key, VALUE& rValue) const {
        UINT nHash;
        CAssoc* pAssoc = GetAssocAt(key, nHash);
        if (pAssoc == nullptr)
            return FALSE;
        rValue = pAssoc->value;
        return TRUE;
    }

    VALUE& operator[](ARG_KEY key) {
        UINT nHash;
        CAssoc* pAssoc = GetAssocAt(key, nHash);
        if (pAssoc == nullptr) {
            if (m_pHashTable == nullptr)
                InitHashTable(m_nHashTableSize);
            pAssoc = new CAssoc{m_pHashTable[nHash], nHash, KEY(key), VALUE()};
            m_pHashTable[nHash] = pAssoc;
            ++m_nCount;
        }
        return pAssoc->value;
    }

    void SetAt(ARG_KEY key, ARG_VALUE newValue) { (*this)[key] = newValue; }

    BOOL RemoveKey(ARG_KEY key) {
        if (m_pHashTable == nullptr)
            return FALSE;
        CAssoc** ppPrev = &m_pHashTable[HashKey<ARG_KEY>(key) % m_nHashTableSize];
        for (CAssoc* pAssoc = *ppPrev; pAssoc != nullptr; pAssoc = pAssoc->pNext) {
            if (CompareElements(&pAssoc->key, &key)) {
                *ppPrev = pAssoc->pNext;
                delete pAssoc;
                --m_nCount;
                return TRUE;
            }
            ppPrev = &pAssoc->pNext;
        }
        return FALSE;
    }

    void RemoveAll() {
        if (m_pHashTable != nullptr) {
            for (UINT i = 0; i < m_nHashTableSize; ++i) {
                CAssoc* pAssoc = m_pHashTable[i];
                while (pAssoc != nullptr) {
                    CAssoc* pNext = pAssoc->pNext;
                    delete pAssoc;
                    pAssoc = pNext;
                }
            }
            delete[] m_pHashTable;
            m_pHashTable = nullptr;
        }
        m_nCount = 0;
    }

    POSITION GetStartPosition() const { return m_nCount == 0 ? nullptr : BEFORE_START_POSITION; }

    // Associations come bucket by bucket, the newest of a bucket first.
    void GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const {
        CAssoc* pAssoc = reinterpret_cast<CAssoc*>(rNextPosition);
        if (pAssoc == nullptr || m_pHashTable == nullptr)
            AfxThrowInvalidArgException();
        if (rNextPosition == BEFORE_START_POSITION)
            pAssoc = FirstFrom(0);
        if (pAssoc == nullptr)
            AfxThrowInvalidArgException();
        CAssoc* pNext = pAssoc->pNext;
        if (pNext == nullptr)
            pNext = FirstFrom(pAssoc->nHashValue + 1);
        rNextPosition = reinterpret_cast<POSITION>(pNext);
        rKey = pAssoc->key;
        rValue = pAssoc->value;
    }

private:
    CAssoc* GetAssocAt(ARG_KEY key, UINT& nHash) const {
        nHash = HashKey<ARG_KEY>(key) % m_nHashTableSize;
        if (m_pHashTable == nullptr)
            return nullptr;
        for (CAssoc* pAssoc = m_pHashTable[nHash]; pAssoc != nullptr; pAssoc = pAssoc->pNext) {
            if (CompareElements(&pAssoc->key, &key))
                return pAssoc;
        }
        return nullptr;
    }
    CAssoc* FirstFrom(UINT nBucket) const {
        for (; nBucket < m_nHashTableSize; ++nBucket) {
            if (m_pHashTable[nBucket] != nullptr)
                return m_pHashTable[nBucket];
        }
        return nullptr;
    }

    CAssoc** m_pHashTable = nullptr;
    UINT m_nHashTableSize = 17;
    INT_PTR m_nCount = 0;
    INT_PTR m_nBlockSize;
};
