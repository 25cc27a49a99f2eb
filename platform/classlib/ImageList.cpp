#include "platform/classlib/ImageList.h"

#include "platform/classlib/DC.h"
#include "platform/classlib/GdiObject.h"
#include "platform/classlib/HandleMap.h"

namespace {
CObject* NewTempImageList(void* handle) {
    auto* p = new CImageList;
    p->m_hImageList = static_cast<HIMAGELIST>(handle);
    return p;
}

void DeleteTempImageList(CObject* pObject) {
    auto* p = static_cast<CImageList*>(pObject);
    p->m_hImageList = nullptr;
    delete p;
}
}  // namespace

CHandleMap* afxMapHIMAGELIST() {
    static CHandleMap* pMap = new CHandleMap(afxHandleImageList, NewTempImageList, DeleteTempImageList);
    return pMap;
}

CImageList::~CImageList() { DeleteImageList(); }

CImageList* CImageList::FromHandle(HIMAGELIST hImageList) {
    if (hImageList == nullptr)
        return nullptr;
    return static_cast<CImageList*>(afxMapHIMAGELIST()->FromHandle(hImageList));
}

BOOL CImageList::Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow) {
    DeleteImageList();
    return Attach(::ImageList_Create(cx, cy, nFlags, nInitial, nGrow));
}

BOOL CImageList::DeleteImageList() {
    if (m_hImageList == nullptr)
        return FALSE;
    return ::ImageList_Destroy(Detach());
}

BOOL CImageList::Attach(HIMAGELIST hImageList) {
    if (hImageList == nullptr)
        return FALSE;
    m_hImageList = hImageList;
    afxMapHIMAGELIST()->SetPermanent(hImageList, this);
    return TRUE;
}

HIMAGELIST CImageList::Detach() {
    HIMAGELIST hImageList = m_hImageList;
    if (hImageList != nullptr)
        afxMapHIMAGELIST()->RemoveHandle(hImageList);
    m_hImageList = nullptr;
    return hImageList;
}

int CImageList::Add(CBitmap* pbmImage, COLORREF crMask) {
    return Add(static_cast<HBITMAP>(pbmImage != nullptr ? pbmImage->m_hObject : nullptr), crMask);
}

BOOL CImageList::Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle) {
    return m_hImageList != nullptr && pDC != nullptr &&
           ::ImageList_Draw(m_hImageList, nImage, pDC->m_hDC, pt.x, pt.y, nStyle);
}

CSize CImageList::GetImageSize() const {
    int cx = 0;
    int cy = 0;
    if (m_hImageList == nullptr || !::ImageList_GetIconSize(m_hImageList, &cx, &cy))
        return CSize(0, 0);
    return CSize(cx, cy);
}
