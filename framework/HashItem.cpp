#include "framework/HashItem.h"

CHashItem::CHashItem(const char* name)
    : m_keyCode(0), m_next(nullptr)
{
    int length = 0;
    if (name) {
        while (length < kMaxKeyLength && name[length] != '\0') {
            m_key[length] = name[length];
            ++length;
        }
    }
    m_key[length] = '\0';
}

CHashItem::~CHashItem()
{
    // Unlink the chain first and delete it item by item: a recursive delete
    // would use one stack frame per item of a long chain.
    CHashItem* item = m_next;
    m_next = nullptr;
    while (item) {
        CHashItem* next = item->m_next;
        item->m_next = nullptr;
        delete item;
        item = next;
    }
}

CHashItem* CHashItem::GetNext() const
{
    return m_next;
}

const char* CHashItem::GetKey() const
{
    return m_key;
}

void CHashItem::SetNext(CHashItem* next)
{
    m_next = next;
}
