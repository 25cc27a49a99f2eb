#pragma once
// CHashItem: one entry of a CHashTable chain. It owns the entries chained
// after it, so deleting the first entry of a chain deletes the whole chain.
#include <cstdint>

class CHashItem {
public:
    // Keys longer than this are cut; the table treats every key the same way.
    static const int kMaxKeyLength = 63;

    explicit CHashItem(const char* name);
    virtual ~CHashItem();

    virtual CHashItem* GetNext() const;
    virtual const char* GetKey() const;
    virtual void SetNext(CHashItem* next);

    uint32_t GetKeyCode() const { return m_keyCode; }
    void SetKeyCode(uint32_t code) { m_keyCode = code; }

    CHashItem(const CHashItem&) = delete;
    CHashItem& operator=(const CHashItem&) = delete;

private:
    char m_key[kMaxKeyLength + 1];
    uint32_t m_keyCode;
    CHashItem* m_next;
};
