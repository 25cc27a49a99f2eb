#include "files/TagItem.h"

#include <algorithm>

CTagItem::CTagItem(const char* name, CTagDelegateVoid* delegate) : CHashItem(name), m_delegate(delegate) {}

CTagItem::~CTagItem() = default;

bool CTagItem::IsAllowedUnder(const CTagItem* parent) const
{
    if (!parent)
        return m_parents.empty();
    return std::find(m_parents.begin(), m_parents.end(), parent) != m_parents.end();
}

void CTagItem::AddParent(CTagItem* parent)
{
    if (parent && std::find(m_parents.begin(), m_parents.end(), parent) == m_parents.end())
        m_parents.push_back(parent);
}
