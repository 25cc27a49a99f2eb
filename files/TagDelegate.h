#pragma once
// CTagDelegate: calls the start and end handlers of one element, members of
// the tag table class that registered it.
#include "platform/classlib/String.h"

class CTagDelegateVoid {
public:
    virtual void CallStart(const CString& name) = 0;
    virtual void CallEnd(const CString& name) = 0;
    virtual ~CTagDelegateVoid() = default;
};

template <class TTable>
class CTagDelegate : public CTagDelegateVoid {
public:
    using Handler = void (TTable::*)(const CString& name);

    // A null handler is not called.
    CTagDelegate(TTable* table, Handler start, Handler end) : m_table(table), m_start(start), m_end(end) {}

    void CallStart(const CString& name) override
    {
        if (m_table && m_start)
            (m_table->*m_start)(name);
    }
    void CallEnd(const CString& name) override
    {
        if (m_table && m_end)
            (m_table->*m_end)(name);
    }

private:
    TTable* m_table;
    Handler m_start;
    Handler m_end;
};
