#include "controls/KWTreeCtrlWnd.h"

#include "controls/KWDBItemUserData.h"
#include "controls/KWTrackContextMenu.h"
#include "framework/KWFocusManager.h"
#include "platform/classlib/MessageMap.h"

BEGIN_MESSAGE_MAP(CKWTreeCtrlWnd, CTreeCtrl)
    ON_WM_DESTROY()
    ON_WM_RBUTTONDOWN()
    ON_WM_SETFOCUS()
    ON_WM_SYSKEYDOWN()
END_MESSAGE_MAP()

CKWTreeCtrlWnd::CKWTreeCtrlWnd() = default;

CKWTreeCtrlWnd::~CKWTreeCtrlWnd() = default;

void CKWTreeCtrlWnd::ReleaseSubtree(HTREEITEM item)
{
    TVITEMW data = {};
    data.mask = TVIF_PARAM | TVIF_HANDLE;
    data.hItem = item;
    if (GetItem(&data) && data.lParam) {
        delete reinterpret_cast<CKWDBItemUserData*>(data.lParam);
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
    // The item the mark follows is the drop's target: it is drawn
    // highlighted too, as the system's trees show the target of a drag, and
    // the highlight goes with the mark.
    if (reinterpret_cast<HTREEITEM>(SendMessage(TVM_GETNEXTITEM, TVGN_DROPHILITE, 0)) != item)
        SendMessage(TVM_SELECTITEM, TVGN_DROPHILITE, reinterpret_cast<LPARAM>(item));
    if (item && m_markHidden) {
        SendMessage(TVM_SETINSERTMARKCOLOR, 0, static_cast<LPARAM>(CLR_DEFAULT));
        m_markHidden = false;
    }
    if (!SendMessage(TVM_SETINSERTMARK, after, reinterpret_cast<LPARAM>(item)) && !item && !m_markHidden) {
        const COLORREF background = static_cast<COLORREF>(SendMessage(TVM_GETBKCOLOR, 0, 0));
        SendMessage(TVM_SETINSERTMARKCOLOR, 0,
                    static_cast<LPARAM>(background == CLR_NONE ? ::GetSysColor(COLOR_WINDOW) : background));
        m_markHidden = true;
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
    }
    return true;
}

void CKWTreeCtrlWnd::EnableDragDrop(bool enable)
{
    if (enable)
        RegisterDropTarget(this);
    else
        RevokeDropTarget();
}

void CKWTreeCtrlWnd::OnDestroy()
{
    ReleaseItemData(nullptr);
    RevokeDropTarget();
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

void CKWTreeCtrlWnd::OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    // Wine's tree view keeps the system keys that other windows pass to the
    // system, which closes the window of Alt+F4 as its own menu says.
    if (nChar == VK_F4) {
        ::DefWindowProcW(m_hWnd, WM_SYSKEYDOWN, nChar, MAKELPARAM(nRepCnt, nFlags));
        return;
    }
    Default();
}

void CKWTreeCtrlWnd::OnSetFocus(CWnd* pOldWnd)
{
    if (m_owner)
        m_owner->SetFocusItem(m_focusValue);
    CTreeCtrl::OnSetFocus(pOldWnd);
}
