#include "platform/classlib/TreeCtrl.h"

IMPLEMENT_DYNAMIC(CTreeCtrl, CWnd)

CTreeCtrl::~CTreeCtrl() = default;

BOOL CTreeCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CreateEx(0, dwStyle, rect, pParentWnd, nID);
}

BOOL CTreeCtrl::CreateEx(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_TREEVIEW_CLASSES};
    ::InitCommonControlsEx(&controls);
    return CWnd::CreateEx(dwExStyle, WC_TREEVIEWW, nullptr, dwStyle, rect, pParentWnd, nID);
}

HTREEITEM CTreeCtrl::HitTest(CPoint pt, UINT* pFlags) const
{
    TVHITTESTINFO info = {};
    info.pt = pt;
    auto item = reinterpret_cast<HTREEITEM>(::SendMessageW(m_hWnd, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
    if (pFlags)
        *pFlags = info.flags;
    return item;
}
