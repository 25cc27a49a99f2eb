#include "document/TalCntrItem.h"

#include "platform/classlib/DC.h"
#include "platform/classlib/View.h"

IMPLEMENT_SERIAL(CTalCntrItem, COleClientItem, 1)

namespace {

// The item's offset from the view's top-left corner, in device units.
const int kItemOffset = 10;
const int kHimetricPerInch = 2540;

}  // namespace

CTalCntrItem::CTalCntrItem(COleDocument* containerDoc) : COleClientItem(containerDoc) {}

CTalCntrItem::~CTalCntrItem() = default;

void CTalCntrItem::OnChange(OLE_NOTIFICATION nCode, DWORD dwParam)
{
    COleClientItem::OnChange(nCode, dwParam);
    if (COleDocument* document = GetDocument())
        document->UpdateAllViews(nullptr);
}

void CTalCntrItem::OnGetItemPosition(CRect& rPosition)
{
    rPosition.SetRectEmpty();
    CView* view = GetActiveView();
    if (!view || !view->m_hWnd)
        return;
    HDC dc = ::GetDC(view->m_hWnd);
    if (!dc)
        return;
    SIZE extent = {0, 0};
    GetExtent(&extent);
    const int width = ::MulDiv(extent.cx, ::GetDeviceCaps(dc, LOGPIXELSX), kHimetricPerInch);
    const int height = ::MulDiv(extent.cy, ::GetDeviceCaps(dc, LOGPIXELSY), kHimetricPerInch);
    ::ReleaseDC(view->m_hWnd, dc);
    rPosition.SetRect(kItemOffset, kItemOffset, kItemOffset + width, kItemOffset + height);
}

void CTalCntrItem::OnActivate()
{
    COleDocument* document = GetDocument();
    CView* view = GetActiveView();
    if (document && view) {
        COleClientItem* active = document->GetInPlaceActiveItem(view);
        if (active && active != this)
            active->Close();
    }
    COleClientItem::OnActivate();
}

void CTalCntrItem::OnDeactivateUI(BOOL bUndoable)
{
    COleClientItem::OnDeactivateUI(bUndoable);
    if (!m_lpObject)
        return;
    DWORD status = 0;
    if (SUCCEEDED(m_lpObject->GetMiscStatus(GetDrawAspect(), &status)) && (status & OLEMISC_INSIDEOUT))
        DoVerb(OLEIVERB_HIDE, nullptr);
}

BOOL CTalCntrItem::OnChangeItemPosition(const CRect& rectPos) { return COleClientItem::OnChangeItemPosition(rectPos); }

BOOL CTalCntrItem::CanActivate()
{
    COleDocument* document = GetDocument();
    auto* server = document ? DYNAMIC_DOWNCAST(COleServerDoc, document) : nullptr;
    if (server && server->IsInPlaceActive())
        return FALSE;
    return COleClientItem::CanActivate();
}

void CTalCntrItem::Serialize(CArchive& ar) { COleClientItem::Serialize(ar); }
