#pragma once
// CTreeCtrl: a window of the common controls' tree view, reached through its
// messages. Items are the tree view's handles; null is none.
#include "platform/classlib/Wnd.h"

#include <commctrl.h>

class CTreeCtrl : public CWnd {
    DECLARE_DYNAMIC(CTreeCtrl)
public:
    CTreeCtrl() = default;
    ~CTreeCtrl() override;

    // A tree-view window with the styles as given.
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    BOOL CreateEx(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    using CWnd::CreateEx;

    HTREEITEM InsertItem(LPTVINSERTSTRUCTW lpInsertStruct)
    {
        return reinterpret_cast<HTREEITEM>(SendMessage(TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(lpInsertStruct)));
    }
    HTREEITEM GetNextItem(HTREEITEM hItem, UINT nCode) const
    {
        return reinterpret_cast<HTREEITEM>(
            ::SendMessageW(m_hWnd, TVM_GETNEXTITEM, nCode, reinterpret_cast<LPARAM>(hItem)));
    }
    HTREEITEM GetRootItem() const { return GetNextItem(nullptr, TVGN_ROOT); }
    HTREEITEM GetChildItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_CHILD); }
    HTREEITEM GetNextSiblingItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_NEXT); }
    HTREEITEM GetParentItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_PARENT); }
    HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }
    BOOL GetItem(TVITEMW* pItem) const
    {
        return static_cast<BOOL>(::SendMessageW(m_hWnd, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(pItem)));
    }
    BOOL SetItem(TVITEMW* pItem)
    {
        return static_cast<BOOL>(SendMessage(TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(pItem)));
    }
    UINT GetCount() const { return static_cast<UINT>(::SendMessageW(m_hWnd, TVM_GETCOUNT, 0, 0)); }
    HWND GetEditControl() const { return reinterpret_cast<HWND>(::SendMessageW(m_hWnd, TVM_GETEDITCONTROL, 0, 0)); }
    HTREEITEM HitTest(CPoint pt, UINT* pFlags = nullptr) const;
};
