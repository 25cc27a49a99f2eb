#include "controls/KWTreeCtrlWnd.h"

#include "controls/KWTrackContextMenu.h"
#include "framework/KWFocusManager.h"
#include "platform/classlib/MessageMap.h"

BEGIN_MESSAGE_MAP(CKWTreeCtrlWnd, CTreeCtrl)
    ON_WM_DESTROY()
    ON_WM_RBUTTONDOWN()
    ON_WM_SETFOCUS()
END_MESSAGE_MAP()

CKWTreeCtrlWnd::CKWTreeCtrlWnd() = default;

CKWTreeCtrlWnd::~CKWTreeCtrlWnd() = default;

void CKWTreeCtrlWnd::ReleaseSubtree(HTREEITEM item)
{
    TVITEMW data = {};
    data.mask = TVIF_PARAM | TVIF_HANDLE;
    data.hItem = item;
    if (GetItem(&data) && data.lParam) {
        delete reinterpret_cast<CObject*>(data.lParam);
        data.lParam = 0;
        SetItem(&data);
    }
    for (HTREEITEM child = GetChildItem(item); child; child = GetNextSiblingItem(child))
        ReleaseSubtree(child);
}

void CKWTreeCtrlWnd::ReleaseItemData(HTREEITEM item)
{
    if (!m_hWnd || GetCount() == 0)
        return;
    if (item) {
        // Only the item's own subtree: its following siblings keep their data.
        ReleaseSubtree(item);
        return;
    }
    for (HTREEITEM top = GetRootItem(); top; top = GetNextSiblingItem(top))
        ReleaseSubtree(top);
}

bool CKWTreeCtrlWnd::SetInsertMark(HTREEITEM item, int, bool after)
{
    SendMessage(TVM_SETINSERTMARK, after, reinterpret_cast<LPARAM>(item));
    return true;
}

void CKWTreeCtrlWnd::EnableDragDrop(bool enable)
{
    if (enable)
        m_dropTarget.Register(this);
    else
        m_dropTarget.Revoke();
}

void CKWTreeCtrlWnd::OnDestroy()
{
    ReleaseItemData(nullptr);
    m_dropTarget.Revoke();
    if (m_ownedChild) {
        m_ownedChild->DestroyWindow();
        delete m_ownedChild;
        m_ownedChild = nullptr;
    }
    CTreeCtrl::OnDestroy();
}

void CKWTreeCtrlWnd::OnRButtonDown(UINT nFlags, CPoint point)
{
    Default();
    if (HTREEITEM hit = HitTest(point))
        SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(hit));
    if (m_contextMenuId) {
        ClientToScreen(&point);
        KWTrackContextMenu(m_contextMenuId, point.x, point.y, m_hWnd);
    }
}

void CKWTreeCtrlWnd::OnSetFocus(CWnd* pOldWnd)
{
    if (m_owner)
        m_owner->SetFocusItem(m_focusValue);
    CTreeCtrl::OnSetFocus(pOldWnd);
}

DROPEFFECT CKWTreeCtrlWnd::OnDragEnter(CWnd* wnd, COleDataObject* data, DWORD keyState, CPoint point)
{
    return m_dropHandler ? m_dropHandler->OnDragEnter(wnd, data, keyState, point) : DROPEFFECT_NONE;
}

void CKWTreeCtrlWnd::OnDragLeave(CWnd* wnd)
{
    if (m_dropHandler)
        m_dropHandler->OnDragLeave(wnd);
}

DROPEFFECT CKWTreeCtrlWnd::OnDragOver(CWnd* wnd, COleDataObject* data, DWORD keyState, CPoint point)
{
    return m_dropHandler ? m_dropHandler->OnDragOver(wnd, data, keyState, point) : DROPEFFECT_NONE;
}

DROPEFFECT CKWTreeCtrlWnd::OnDrop(CWnd* wnd, COleDataObject* data, DROPEFFECT dropEffect, DROPEFFECT dropList,
                                  CPoint point)
{
    return m_dropHandler ? m_dropHandler->OnDrop(wnd, data, dropEffect, dropList, point) : DROPEFFECT_NONE;
}

DROPEFFECT CKWTreeCtrlWnd::OnDragScroll(CWnd* wnd, DWORD keyState, CPoint point)
{
    return m_dropHandler ? m_dropHandler->OnDragScroll(wnd, keyState, point) : DROPEFFECT_NONE;
}
