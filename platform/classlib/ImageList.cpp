#include "platform/classlib/ImageList.h"

#include "platform/classlib/DC.h"
#include "platform/classlib/GdiObject.h"

CImageList::~CImageList() { DeleteImageList(); }

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
    return TRUE;
}

HIMAGELIST CImageList::Detach() {
    HIMAGELIST hImageList = m_hImageList;
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
