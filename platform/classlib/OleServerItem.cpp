#include "platform/classlib/OleServerItem.h"

#include "platform/classlib/Archive.h"

IMPLEMENT_DYNAMIC(COleServerItem, CDocItem)
IMPLEMENT_DYNAMIC(CDocObjectServerItem, COleServerItem)

COleServerItem::COleServerItem(COleServerDoc* pServerDoc, BOOL bAutoDelete) : m_bAutoDelete(bAutoDelete), m_dwRef(1) {
    m_dataSource.m_pItem = this;
    if (pServerDoc != nullptr)
        pServerDoc->AddItem(this);
}

COleServerItem::~COleServerItem() {
    // A document being destroyed is no server document any more.
    if (m_pDocument != nullptr && m_pDocument->IsKindOf(RUNTIME_CLASS(COleServerDoc))) {
        COleServerDoc* pDoc = GetDocument();
        if (pDoc->m_pEmbeddedItem == this)
            pDoc->m_pEmbeddedItem = nullptr;
    }
    m_dataSource.Empty();
}

DWORD COleServerItem::InternalAddRef() { return static_cast<DWORD>(::InterlockedIncrement(&m_dwRef)); }

DWORD COleServerItem::InternalRelease() {
    LONG nRef = ::InterlockedDecrement(&m_dwRef);
    if (nRef == 0)
        OnFinalRelease();
    return static_cast<DWORD>(nRef);
}

void COleServerItem::OnFinalRelease() {
    if (m_bAutoDelete)
        delete this;
}

COleDataSource* COleServerItem::OnGetClipboardData(BOOL bIncludeLink, LPPOINT lpOffset, LPSIZE lpSize) {
    COleDataSource* pDataSource = new COleDataSource;
    GetClipboardData(pDataSource, bIncludeLink, lpOffset, lpSize);
    return pDataSource;
}

void COleServerItem::GetClipboardData(COleDataSource* pDataSource, BOOL, LPPOINT, LPSIZE) {
    // Linking and embedding are not offered; the item's own formats are,
    // rendered now so that the transfer does not depend on the item. A
    // format the item cannot render yet is still offered, on its medium.
    LPDATAOBJECT lpDataObject = m_dataSource.GetDataObject(FALSE);
    for (int i = 0; i < m_dataSource.GetFormatCount(); ++i) {
        FORMATETC formatEtc = m_dataSource.GetFormat(i);
        STGMEDIUM stgMedium;
        if (lpDataObject->GetData(&formatEtc, &stgMedium) != S_OK) {
            pDataSource->DelayRenderData(formatEtc.cfFormat, &formatEtc);
            continue;
        }
        formatEtc.tymed = stgMedium.tymed;
        pDataSource->CacheData(formatEtc.cfFormat, &stgMedium, &formatEtc);
    }
}

DROPEFFECT COleServerItem::DoDragDrop(LPCRECT lpItemRect, CPoint ptOffset, BOOL bIncludeLink, DWORD dwEffects,
                                      LPCRECT lpRectStartDrag) {
    CSize size(0, 0);
    if (lpItemRect != nullptr)
        size = CSize(lpItemRect->right - lpItemRect->left, lpItemRect->bottom - lpItemRect->top);
    POINT ptOffsetValue = ptOffset;
    SIZE sizeValue = size;
    COleDataSource* pDataSource = OnGetClipboardData(bIncludeLink, &ptOffsetValue, &sizeValue);
    if (pDataSource == nullptr)
        return DROPEFFECT_NONE;
    // The item must outlive the drag even when a release inside it ends the last reference.
    InternalAddRef();
    DROPEFFECT dropEffect = pDataSource->DoDragDrop(dwEffects, lpRectStartDrag);
    pDataSource->InternalRelease();
    InternalRelease();
    return dropEffect;
}

BOOL COleServerItem::OnGetExtent(DVASPECT, CSize&) { return FALSE; }

BOOL COleServerItem::OnRenderData(LPFORMATETC, LPSTGMEDIUM) { return FALSE; }

BOOL COleServerItem::OnRenderGlobalData(LPFORMATETC, HGLOBAL*) { return FALSE; }

BOOL COleServerItem::OnRenderFileData(LPFORMATETC, CFile*) { return FALSE; }

void COleServerItem::Serialize(CArchive& ar) {
    COleServerDoc* pDoc = GetDocument();
    if (pDoc != nullptr && pDoc->GetEmbeddedItem() == this)
        pDoc->Serialize(ar);
}

BOOL COleServerItem::CItemDataSource::OnRenderData(LPFORMATETC lpFormatEtc, LPSTGMEDIUM lpStgMedium) {
    if (m_pItem != nullptr && m_pItem->OnRenderData(lpFormatEtc, lpStgMedium))
        return TRUE;
    return COleDataSource::OnRenderData(lpFormatEtc, lpStgMedium);
}

BOOL COleServerItem::CItemDataSource::OnRenderGlobalData(LPFORMATETC lpFormatEtc, HGLOBAL* phGlobal) {
    return m_pItem != nullptr && m_pItem->OnRenderGlobalData(lpFormatEtc, phGlobal);
}

BOOL COleServerItem::CItemDataSource::OnRenderFileData(LPFORMATETC lpFormatEtc, CFile* pFile) {
    return m_pItem != nullptr && m_pItem->OnRenderFileData(lpFormatEtc, pFile);
}

CDocObjectServerItem::CDocObjectServerItem(COleServerDoc* pServerDoc, BOOL bAutoDelete)
    : COleServerItem(pServerDoc, bAutoDelete) {}
