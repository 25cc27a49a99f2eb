#include "platform/classlib/ListCtrl.h"

#include <string>

IMPLEMENT_DYNAMIC(CListCtrl, CWnd)

CListCtrl::~CListCtrl() = default;

BOOL CListCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CreateEx(0, dwStyle, rect, pParentWnd, nID);
}

BOOL CListCtrl::CreateEx(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&controls);
    return CWnd::CreateEx(dwExStyle, WC_LISTVIEWW, nullptr, dwStyle, rect, pParentWnd, nID);
}

BOOL CListCtrl::SetItemState(int nItem, UINT nState, UINT nMask)
{
    LVITEMW item = {};
    item.stateMask = nMask;
    item.state = nState;
    return static_cast<BOOL>(SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&item)));
}

int CListCtrl::HitTest(CPoint pt, UINT* pFlags) const
{
    LVHITTESTINFO info = {};
    info.pt = pt;
    const int item = static_cast<int>(::SendMessageW(m_hWnd, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
    if (pFlags)
        *pFlags = info.flags;
    return item;
}

BOOL CListCtrl::GetItemRect(int nItem, RECT* rect, UINT nCode) const
{
    if (!rect)
        return FALSE;
    rect->left = static_cast<LONG>(nCode);
    return static_cast<BOOL>(::SendMessageW(m_hWnd, LVM_GETITEMRECT, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(rect)));
}

CString CListCtrl::ItemText(HWND hWndList, int nItem, int nSubItem)
{
    if (hWndList == nullptr)
        return CString();
    // The list view answers with the length it copied: grow until it fits.
    for (int nSize = 256;; nSize *= 2) {
        std::wstring buffer(static_cast<size_t>(nSize), L'\0');
        LVITEMW item = {};
        item.iSubItem = nSubItem;
        item.pszText = &buffer[0];
        item.cchTextMax = nSize;
        const int nLength = static_cast<int>(
            ::SendMessageW(hWndList, LVM_GETITEMTEXTW, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&item)));
        if (nLength < nSize - 1 || nSize >= (1 << 20))
            return CString(buffer.c_str());
    }
}

DWORD_PTR CListCtrl::GetItemData(int nItem) const
{
    LVITEMW item = {};
    item.mask = LVIF_PARAM;
    item.iItem = nItem;
    return GetItem(&item) ? static_cast<DWORD_PTR>(item.lParam) : 0;
}

int CListCtrl::InsertColumn(int nCol, LPCWSTR lpszHeading, int nFormat, int nWidth)
{
    LVCOLUMNW column = {};
    column.mask = LVCF_FMT | LVCF_TEXT | (nWidth >= 0 ? LVCF_WIDTH : 0);
    column.fmt = nFormat;
    column.cx = nWidth;
    column.pszText = const_cast<LPWSTR>(lpszHeading != nullptr ? lpszHeading : L"");
    return static_cast<int>(SendMessage(LVM_INSERTCOLUMNW, static_cast<WPARAM>(nCol), reinterpret_cast<LPARAM>(&column)));
}
