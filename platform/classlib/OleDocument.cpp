#include "platform/classlib/OleDocument.h"

#include "platform/classlib/FrameWnd.h"
#include "platform/classlib/OleClientItem.h"
#include "platform/classlib/OleServerItem.h"
#include "platform/classlib/View.h"

IMPLEMENT_DYNAMIC(CDocItem, CCmdTarget)
IMPLEMENT_DYNAMIC(COleDocument, CDocument)
IMPLEMENT_DYNAMIC(COleServerDoc, COleDocument)

CDocItem::CDocItem() : m_pDocument(nullptr) {}

CDocItem::~CDocItem() {
    if (m_pDocument != nullptr)
        m_pDocument->RemoveItem(this);
}

COleDocument::COleDocument() = default;

COleDocument::~COleDocument() {
    // Each item leaves the list as it is deleted.
    while (!m_docItemList.IsEmpty()) {
        CDocItem* pItem = m_docItemList.GetHead();
        delete pItem;
        if (!m_docItemList.IsEmpty() && m_docItemList.GetHead() == pItem)
            m_docItemList.RemoveHead();
    }
}

void COleDocument::AddItem(CDocItem* pItem) {
    if (pItem == nullptr || pItem->m_pDocument == this)
        return;
    if (pItem->m_pDocument != nullptr)
        pItem->m_pDocument->RemoveItem(pItem);
    m_docItemList.AddTail(pItem);
    pItem->m_pDocument = this;
}

void COleDocument::RemoveItem(CDocItem* pItem) {
    POSITION pos = m_docItemList.Find(pItem);
    if (pos != nullptr)
        m_docItemList.RemoveAt(pos);
    if (pItem->m_pDocument == this)
        pItem->m_pDocument = nullptr;
}

COleClientItem* COleDocument::GetNextClientItem(POSITION& pos) const {
    while (pos != nullptr) {
        CDocItem* pItem = m_docItemList.GetNext(pos);
        if (pItem->IsKindOf(RUNTIME_CLASS(COleClientItem)))
            return static_cast<COleClientItem*>(pItem);
    }
    return nullptr;
}

COleServerItem* COleDocument::GetNextServerItem(POSITION& pos) const {
    while (pos != nullptr) {
        CDocItem* pItem = m_docItemList.GetNext(pos);
        if (pItem->IsKindOf(RUNTIME_CLASS(COleServerItem)))
            return static_cast<COleServerItem*>(pItem);
    }
    return nullptr;
}

COleClientItem* COleDocument::GetInPlaceActiveItem(CWnd* pWnd) {
    POSITION pos = GetStartPosition();
    while (COleClientItem* pItem = GetNextClientItem(pos)) {
        if (pItem->IsInPlaceActive() && (pWnd == nullptr || pItem->GetActiveView() == pWnd))
            return pItem;
    }
    return nullptr;
}

BOOL COleDocument::HasBlankItems() const {
    POSITION pos = GetStartPosition();
    while (pos != nullptr) {
        if (GetNextItem(pos)->IsBlank())
            return TRUE;
    }
    return FALSE;
}

void COleDocument::PreCloseFrame(CFrameWnd* pFrame) {
    // Items active in a view of the closing frame close first.
    POSITION pos = GetStartPosition();
    while (COleClientItem* pItem = GetNextClientItem(pos)) {
        CView* pView = pItem->GetActiveView();
        if (pItem->IsInPlaceActive() && pView != nullptr && pView->m_hWnd != nullptr &&
            pView->GetParentFrame() == pFrame)
            pItem->Close();
    }
    CDocument::PreCloseFrame(pFrame);
}

COleServerDoc::COleServerDoc() : m_pEmbeddedItem(nullptr) {}

COleServerDoc::~COleServerDoc() { m_pEmbeddedItem = nullptr; }

COleServerItem* COleServerDoc::GetEmbeddedItem() {
    if (m_pEmbeddedItem == nullptr)
        m_pEmbeddedItem = OnGetEmbeddedItem();
    return m_pEmbeddedItem;
}

COleServerItem* COleServerDoc::OnGetEmbeddedItem() { return nullptr; }

BOOL COleServerDoc::OnNewDocument() { return COleDocument::OnNewDocument(); }

void COleServerDoc::OnCloseDocument() {
    // The document may be deleted by the close: nothing of it is touched after.
    COleDocument::OnCloseDocument();
}
