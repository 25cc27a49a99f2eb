#include "platform/classlib/OleClientItem.h"

#include "platform/classlib/Archive.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/OleDataObject.h"

IMPLEMENT_SERIAL(COleClientItem, CDocItem, 1)

COleClientItem::COleClientItem(COleDocument* pContainerDoc)
    : m_lpObject(nullptr), m_nItemState(emptyState), m_nDrawAspect(DVASPECT_CONTENT), m_pView(nullptr) {
    if (pContainerDoc != nullptr)
        pContainerDoc->AddItem(this);
}

COleClientItem::~COleClientItem() {
    if (m_lpObject != nullptr) {
        m_lpObject->Close(OLECLOSE_NOSAVE);
        m_lpObject->Release();
        m_lpObject = nullptr;
    }
}

BOOL COleClientItem::GetExtent(LPSIZE lpSize, DVASPECT nDrawAspect) {
    if (m_lpObject == nullptr || lpSize == nullptr)
        return FALSE;
    if (nDrawAspect == static_cast<DVASPECT>(-1))
        nDrawAspect = m_nDrawAspect;
    SIZEL sizel = {0, 0};
    if (FAILED(m_lpObject->GetExtent(nDrawAspect, &sizel)))
        return FALSE;
    lpSize->cx = sizel.cx;
    lpSize->cy = sizel.cy;
    return TRUE;
}

BOOL COleClientItem::Draw(CDC* pDC, LPCRECT lpBounds, DVASPECT nDrawAspect) {
    if (m_lpObject == nullptr || pDC == nullptr || pDC->m_hDC == nullptr || lpBounds == nullptr)
        return FALSE;
    if (nDrawAspect == static_cast<DVASPECT>(-1))
        nDrawAspect = m_nDrawAspect;
    return SUCCEEDED(::OleDraw(m_lpObject, nDrawAspect, pDC->m_hDC, lpBounds));
}

BOOL COleClientItem::DoVerb(LONG nVerb, CView* pView, LPMSG lpMsg) {
    if (m_lpObject == nullptr)
        return FALSE;
    RECT rect = {0, 0, 0, 0};
    if (FAILED(m_lpObject->DoVerb(nVerb, lpMsg, nullptr, -1, nullptr, &rect)))
        return FALSE;
    m_pView = pView;
    return TRUE;
}

void COleClientItem::Close(OLECLOSE dwCloseOption) {
    if (m_lpObject != nullptr)
        m_lpObject->Close(dwCloseOption);
    if (m_nItemState != emptyState)
        m_nItemState = loadedState;
    m_pView = nullptr;
}

void COleClientItem::Deactivate() {
    if (IsInPlaceActive())
        m_nItemState = loadedState;
    m_pView = nullptr;
}

void COleClientItem::OnChange(OLE_NOTIFICATION nCode, DWORD) {
    if ((nCode == OLE_CHANGED || nCode == OLE_SAVED) && m_pDocument != nullptr)
        m_pDocument->SetModifiedFlag();
}

void COleClientItem::OnGetItemPosition(CRect& rPosition) { rPosition.SetRectEmpty(); }

void COleClientItem::OnActivate() {}

void COleClientItem::OnDeactivateUI(BOOL) {
    if (m_nItemState == activeUIState)
        m_nItemState = activeState;
}

BOOL COleClientItem::OnChangeItemPosition(const CRect&) { return m_lpObject != nullptr; }

BOOL COleClientItem::CanActivate() { return m_lpObject != nullptr && m_nDrawAspect != DVASPECT_ICON; }

void COleClientItem::Serialize(CArchive& ar) {
    CDocItem::Serialize(ar);
    if (ar.IsStoring()) {
        ar << static_cast<DWORD>(m_nDrawAspect);
    } else {
        DWORD dwAspect = DVASPECT_CONTENT;
        ar >> dwAspect;
        m_nDrawAspect = static_cast<DVASPECT>(dwAspect);
    }
}

BOOL COleClientItem::CanCreateFromData(COleDataObject* pDataObject) {
    LPDATAOBJECT lpDataObject = pDataObject != nullptr ? pDataObject->GetIDataObject(FALSE) : nullptr;
    if (lpDataObject == nullptr)
        return FALSE;
    if (::OleQueryCreateFromData(lpDataObject) == S_OK)
        return TRUE;
    // The formats OLE embeds from: an object's storage, or a file's name
    // (which some platforms do not report through the query).
    const struct {
        const wchar_t* name;
        DWORD tymed;
    } embeddable[] = {{L"Embedded Object", TYMED_ISTORAGE}, {L"Embed Source", TYMED_ISTORAGE},
                      {L"FileName", TYMED_HGLOBAL}, {L"FileNameW", TYMED_HGLOBAL}};
    for (const auto& format : embeddable) {
        const CLIPFORMAT cf = static_cast<CLIPFORMAT>(::RegisterClipboardFormatW(format.name));
        FORMATETC formatEtc = {cf, nullptr, DVASPECT_CONTENT, -1, format.tymed};
        if (pDataObject->IsDataAvailable(cf, &formatEtc))
            return TRUE;
    }
    return FALSE;
}
