#pragma once
// CListCtrl: a window of the common controls' list view, reached through its
// messages. Items are indices; -1 is none.
#include "platform/classlib/String.h"
#include "platform/classlib/Wnd.h"

#include <commctrl.h>

class CListCtrl : public CWnd {
    DECLARE_DYNAMIC(CListCtrl)
public:
    CListCtrl() = default;
    ~CListCtrl() override;

    // A list-view window with the styles as given.
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    BOOL CreateEx(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    using CWnd::CreateEx;

    int GetItemCount() const { return static_cast<int>(::SendMessageW(m_hWnd, LVM_GETITEMCOUNT, 0, 0)); }
    BOOL GetItem(LVITEMW* pItem) const
    {
        return static_cast<BOOL>(::SendMessageW(m_hWnd, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(pItem)));
    }
    BOOL SetItem(const LVITEMW* pItem)
    {
        return static_cast<BOOL>(SendMessage(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(pItem)));
    }
    int InsertItem(const LVITEMW* pItem)
    {
        return static_cast<int>(SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(pItem)));
    }
    int GetNextItem(int nItem, UINT nFlags) const
    {
        return static_cast<int>(::SendMessageW(m_hWnd, LVM_GETNEXTITEM, static_cast<WPARAM>(nItem), nFlags));
    }
    UINT GetItemState(int nItem, UINT nMask) const
    {
        return static_cast<UINT>(::SendMessageW(m_hWnd, LVM_GETITEMSTATE, static_cast<WPARAM>(nItem), nMask));
    }
    BOOL SetItemState(int nItem, UINT nState, UINT nMask);
    HWND GetEditControl() const { return reinterpret_cast<HWND>(::SendMessageW(m_hWnd, LVM_GETEDITCONTROL, 0, 0)); }
    int GetHotItem() const { return static_cast<int>(::SendMessageW(m_hWnd, LVM_GETHOTITEM, 0, 0)); }
    int SetHotItem(int nIndex) { return static_cast<int>(SendMessage(LVM_SETHOTITEM, static_cast<WPARAM>(nIndex), 0)); }
    // The item under the point (client coordinates), -1 for none.
    int HitTest(CPoint pt, UINT* pFlags = nullptr) const;
    BOOL GetItemRect(int nItem, RECT* rect, UINT nCode) const;

    // The text of an item or sub-item, whatever its length; ItemText for a
    // list view known by its handle only.
    CString GetItemText(int nItem, int nSubItem) const { return ItemText(m_hWnd, nItem, nSubItem); }
    static CString ItemText(HWND hWndList, int nItem, int nSubItem);
    DWORD_PTR GetItemData(int nItem) const;
    int InsertColumn(int nCol, LPCWSTR lpszHeading, int nFormat = LVCFMT_LEFT, int nWidth = -1);
    BOOL SetColumnWidth(int nCol, int cx) {
        return static_cast<BOOL>(SendMessage(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(nCol), MAKELPARAM(cx, 0)));
    }
    HIMAGELIST SetImageList(HIMAGELIST hImageList, int nImageList) {
        return reinterpret_cast<HIMAGELIST>(
            SendMessage(LVM_SETIMAGELIST, static_cast<WPARAM>(nImageList), reinterpret_cast<LPARAM>(hImageList)));
    }
    int GetStringWidth(LPCWSTR lpsz) const {
        return static_cast<int>(::SendMessageW(m_hWnd, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(lpsz)));
    }
    BOOL EnsureVisible(int nItem, BOOL bPartialOK) {
        return static_cast<BOOL>(SendMessage(LVM_ENSUREVISIBLE, static_cast<WPARAM>(nItem), bPartialOK));
    }
};
