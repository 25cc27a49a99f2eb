#include "controls/KWWinDropTarget.h"

#include "controls/KWDragDropPane.h"
#include "platform/classlib/Wnd.h"

namespace {

CKWDragDropPane* PaneOf(CWnd* wnd) { return dynamic_cast<CKWDragDropPane*>(wnd); }

}  // namespace

CKWWinDropTarget::CKWWinDropTarget() = default;

CKWWinDropTarget::~CKWWinDropTarget() = default;

DROPEFFECT CKWWinDropTarget::OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point)
{
    CKWDragDropPane* pane = PaneOf(pWnd);
    return pane ? pane->OnDragEnter(pWnd, pDataObject, dwKeyState, point) : DROPEFFECT_NONE;
}

DROPEFFECT CKWWinDropTarget::OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point)
{
    CKWDragDropPane* pane = PaneOf(pWnd);
    return pane ? pane->OnDragOver(pWnd, pDataObject, dwKeyState, point) : DROPEFFECT_NONE;
}

DROPEFFECT CKWWinDropTarget::OnDropEx(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropDefault,
                                      DROPEFFECT dropList, CPoint point)
{
    CKWDragDropPane* pane = PaneOf(pWnd);
    return pane ? pane->OnDrop(pWnd, pDataObject, dropDefault, dropList, point) : DROPEFFECT_NONE;
}

void CKWWinDropTarget::OnDragLeave(CWnd* pWnd)
{
    if (CKWDragDropPane* pane = PaneOf(pWnd))
        pane->OnDragLeave(pWnd);
}

DROPEFFECT CKWWinDropTarget::OnDragScroll(CWnd* pWnd, DWORD dwKeyState, CPoint point)
{
    CKWDragDropPane* pane = PaneOf(pWnd);
    return pane ? pane->OnDragScroll(pWnd, dwKeyState, point) : DROPEFFECT_NONE;
}
