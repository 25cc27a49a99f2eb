#pragma once
// CList: a doubly linked list of values walked by POSITION.
#include "platform/classlib/Collection.h"
#include "platform/classlib/Exception.h"

template <class TYPE, class ARG_TYPE = const TYPE&>
class CList : public CObject {
    struct CNode {
        CNode* pNext;
        CNode* pPrev;
        TYPE data;
    };

public:
    explicit CList(INT_PTR nBlockSize = 10) : m_nBlockSize(nBlockSize) {}
    ~CList() override { RemoveAll(); }

    // The element count (WriteCount), then the elements from head to tail;
    // loading appends to the list.
    void Serialize(CArchive& ar) override {
        CObject::Serialize(ar);
        if (ar.IsStoring()) {
            ar.WriteCount(static_cast<DWORD_PTR>(m_nCount));
            for (CNode* p = m_pNodeHead; p != nullptr; p = p->pNext)
                SerializeElements<TYPE>(ar, &p->data, 1);
        } else {
            for (DWORD_PTR n = ar.ReadCount(); n > 0; --n) {
                TYPE newData = TYPE();
                SerializeElements<TYPE>(ar, &newData, 1);
                AddTail(newData);
            }
        }
    }

    INT_PTR GetCount() const { return m_nCount; }
    INT_PTR GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    TYPE& GetHead() { return Checked(m_pNodeHead)->data; }
    const TYPE& GetHead() const { return Checked(m_pNodeHead)->data; }
    TYPE& GetTail() { return Checked(m_pNodeTail)->data; }
    const TYPE& GetTail() const { return Checked(m_pNodeTail)->data; }

    TYPE RemoveHead() {
        CNode* pOld = Checked(m_pNodeHead);
        TYPE value = pOld->data;
        Unlink(pOld);
        return value;
    }
    TYPE RemoveTail() {
        CNode* pOld = Checked(m_pNodeTail);
        TYPE value = pOld->data;
        Unlink(pOld);
        return value;
    }

    POSITION AddHead(ARG_TYPE newElement) { return InsertBefore(nullptr, newElement); }
    POSITION AddTail(ARG_TYPE newElement) { return InsertAfter(nullptr, newElement); }
    void AddHead(const CList* pNewList) {
        // Walk backwards so the other list keeps its order at our head.
        for (POSITION pos = pNewList->GetTailPosition(); pos != nullptr;)
            AddHead(pNewList->GetPrev(pos));
    }
    void AddTail(const CList* pNewList) {
        for (POSITION pos = pNewList->GetHeadPosition(); pos != nullptr;)
            AddTail(pNewList->GetNext(pos));
    }

    void RemoveAll() {
        CNode* p = m_pNodeHead;
        while (p != nullptr) {
            CNode* pNext = p->pNext;
            delete p;
            p = pNext;
        }
        m_pNodeHead = m_pNodeTail = nullptr;
        m_nCount = 0;
    }

    POSITION GetHeadPosition() const { return ToPos(m_pNodeHead); }
    POSITION GetTailPosition() const { return ToPos(m_pNodeTail); }

    TYPE& GetNext(POSITION& rPosition) {
        CNode* p = Checked(ToNode(rPosition));
        rPosition = ToPos(p->pNext);
        return p->data;
    }
    const TYPE& GetNext(POSITION& rPosition) const {
        CNode* p = Checked(ToNode(rPosition));
        rPosition = ToPos(p->pNext);
        return p->data;
    }
    TYPE& GetPrev(POSITION& rPosition) {
        CNode* p = Checked(ToNode(rPosition));
        rPosition = ToPos(p->pPrev);
        return p->data;
    }
    const TYPE& GetPrev(POSITION& rPosition) const {
        CNode* p = Checked(ToNode(rPosition));
        rPosition = ToPos(p->pPrev);
        return p->data;
    }

    TYPE& GetAt(POSITION position) { return Checked(ToNode(position))->data; }
    const TYPE& GetAt(POSITION position) const { return Checked(ToNode(position))->data; }
    void SetAt(POSITION pos, ARG_TYPE newElement) { Checked(ToNode(pos))->data = newElement; }
    void RemoveAt(POSITION position) { Unlink(Checked(ToNode(position))); }

    // A null position inserts at the head (InsertBefore) or at the tail (InsertAfter).
    POSITION InsertBefore(POSITION position, ARG_TYPE newElement) {
        CNode* pNext = position != nullptr ? ToNode(position) : m_pNodeHead;
        CNode* pNew = new CNode{pNext, pNext != nullptr ? pNext->pPrev : m_pNodeTail, newElement};
        Link(pNew);
        return ToPos(pNew);
    }
    POSITION InsertAfter(POSITION position, ARG_TYPE newElement) {
        CNode* pPrev = position != nullptr ? ToNode(position) : m_pNodeTail;
        CNode* pNew = new CNode{pPrev != nullptr ? pPrev->pNext : m_pNodeHead, pPrev, newElement};
        Link(pNew);
        return ToPos(pNew);
    }

    POSITION Find(ARG_TYPE searchValue, POSITION startAfter = nullptr) const {
        CNode* p = startAfter != nullptr ? ToNode(startAfter)->pNext : m_pNodeHead;
        for (; p != nullptr; p = p->pNext) {
            if (CompareElements(&p->data, &searchValue))
                return ToPos(p);
        }
        return nullptr;
    }
    POSITION FindIndex(INT_PTR nIndex) const {
        if (nIndex < 0 || nIndex >= m_nCount)
            return nullptr;
        CNode* p = m_pNodeHead;
        while (nIndex-- > 0)
            p = p->pNext;
        return ToPos(p);
    }

private:
    static POSITION ToPos(CNode* p) { return reinterpret_cast<POSITION>(p); }
    static CNode* ToNode(POSITION pos) { return reinterpret_cast<CNode*>(pos); }
    static CNode* Checked(CNode* p) {
        if (p == nullptr)
            AfxThrowInvalidArgException();
        return p;
    }
    // Puts a node whose links are set into the chain.
    void Link(CNode* pNew) {
        if (pNew->pPrev != nullptr)
            pNew->pPrev->pNext = pNew;
        else
            m_pNodeHead = pNew;
        if (pNew->pNext != nullptr)
            pNew->pNext->pPrev = pNew;
        else
            m_pNodeTail = pNew;
        ++m_nCount;
    }
    void Unlink(CNode* pOld) {
        if (pOld->pPrev != nullptr)
            pOld->pPrev->pNext = pOld->pNext;
        else
            m_pNodeHead = pOld->pNext;
        if (pOld->pNext != nullptr)
            pOld->pNext->pPrev = pOld->pPrev;
        else
            m_pNodeTail = pOld->pPrev;
        delete pOld;
        --m_nCount;
    }

    CNode* m_pNodeHead = nullptr;
    CNode* m_pNodeTail = nullptr;
    INT_PTR m_nCount = 0;
    INT_PTR m_nBlockSize;
};
