#include "docking/frames/QMXPEditListBox.h"

#include "docking/toolbars/QMXPGlobalData.h"
#include "platform/classlib/ListCtrl.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>

IMPLEMENT_DYNAMIC(CQMXPEditListBox, CQMXPEditListBase)

// The list view of the box: keys that are shortcuts of the caption buttons
// go to the box before the list moves its selection (Alt combinations come
// as system keys, which the list view would not report), and a click on the
// selected item is held for the box.
class CQMXPEditListCtrl : public CWnd {
public:
    explicit CQMXPEditListCtrl(CQMXPEditListBox* pBox) : m_pBox(pBox) {}

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (m_pBox->ProcessShortcut(static_cast<WORD>(wParam), CQMXPEditListBase::ModifierFlags()))
                return 0;
            break;
        case WM_LBUTTONDOWN:
            if (m_pBox->OnListButtonDown(CPoint(XOf(lParam), YOf(lParam))))
                return 0;
            break;
        case WM_LBUTTONUP:
            if (m_pBox->OnListButtonUp(CPoint(XOf(lParam), YOf(lParam))))
                return 0;
            break;
        default:
            break;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }

private:
    static int XOf(LPARAM lParam) { return static_cast<short>(LOWORD(lParam)); }
    static int YOf(LPARAM lParam) { return static_cast<short>(HIWORD(lParam)); }
    CQMXPEditListBox* m_pBox;
};

CQMXPEditListBox::CQMXPEditListBox() : m_pWndList(nullptr), m_bIsEditing(FALSE), m_ptClick(-1, -1) {}

CQMXPEditListBox::~CQMXPEditListBox() {
    if (m_pWndList != nullptr && m_pWndList->GetSafeHwnd() != nullptr)
        m_pWndList->DestroyWindow();
    delete m_pWndList;
}

HWND CQMXPEditListBox::GetListHwnd() const { return m_pWndList != nullptr ? m_pWndList->GetSafeHwnd() : nullptr; }

BOOL CQMXPEditListBox::CreateList() {
    if (GetListHwnd() != nullptr)
        return TRUE;
    CRect rectClient;
    GetClientRect(&rectClient);
    const HWND hList = ::CreateWindowExW(
        WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_EDITLABELS |
            LVS_NOCOLUMNHEADER,
        0, 0, rectClient.Width(), rectClient.Height(), m_hWnd, reinterpret_cast<HMENU>(1), ::GetModuleHandleW(nullptr),
        nullptr);
    if (hList == nullptr)
        return FALSE;
    m_pWndList = new CQMXPEditListCtrl(this);
    m_pWndList->SubclassWindow(hList);
    ListView_SetExtendedListViewStyle(hList, LVS_EX_FULLROWSELECT);
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<LPWSTR>(L"");
    column.cx = rectClient.Width();
    ::SendMessageW(hList, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    return TRUE;
}

void CQMXPEditListBox::OnSizeList() {
    if (GetListHwnd() == nullptr)
        return;
    CRect rectClient;
    GetClientRect(&rectClient);
    ListView_SetColumnWidth(GetListHwnd(), 0,
                            rectClient.Width() - 2 * ::GetSystemMetrics(SM_CXEDGE) - ::GetSystemMetrics(SM_CXVSCROLL));
}

int CQMXPEditListBox::AddItem(const CString& strText, DWORD_PTR dwData, int iIndex) {
    if (GetListHwnd() == nullptr)
        return -1;
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = iIndex < 0 ? GetCount() : iIndex;
    item.pszText = const_cast<LPWSTR>(static_cast<LPCWSTR>(strText));
    item.lParam = static_cast<LPARAM>(dwData);
    const int iItem = static_cast<int>(::SendMessageW(GetListHwnd(), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (iItem == 0)
        SelectItem(0);
    return iItem;
}

BOOL CQMXPEditListBox::RemoveItem(int iIndex) {
    if (GetListHwnd() == nullptr)
        return FALSE;
    const BOOL bWasSelected = GetSelItem() == iIndex;
    ListView_DeleteItem(GetListHwnd(), iIndex);
    const int nCount = GetCount();
    if (!bWasSelected || nCount == 0)
        return FALSE;
    SelectItem(std::min(iIndex, nCount - 1));
    return TRUE;
}

int CQMXPEditListBox::GetCount() const {
    return GetListHwnd() == nullptr ? 0 : ListView_GetItemCount(GetListHwnd());
}

int CQMXPEditListBox::GetSelItem() const {
    return GetListHwnd() == nullptr ? -1 : ListView_GetNextItem(GetListHwnd(), -1, LVNI_SELECTED);
}

BOOL CQMXPEditListBox::SelectItem(int iItem) {
    if (GetListHwnd() == nullptr)
        return FALSE;
    ListView_SetItemState(GetListHwnd(), iItem, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    return ListView_EnsureVisible(GetListHwnd(), iItem, FALSE);
}

CString CQMXPEditListBox::GetItemText(int iIndex) const { return CListCtrl::ItemText(GetListHwnd(), iIndex, 0); }

void CQMXPEditListBox::SetItemText(int iIndex, const CString& strText) {
    if (GetListHwnd() != nullptr)
        ListView_SetItemText(GetListHwnd(), iIndex, 0, const_cast<LPWSTR>(static_cast<LPCWSTR>(strText)));
}

DWORD_PTR CQMXPEditListBox::GetItemData(int iIndex) const {
    LVITEMW item = {};
    item.mask = LVIF_PARAM;
    item.iItem = iIndex;
    if (GetListHwnd() == nullptr || !::SendMessageW(GetListHwnd(), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)))
        return 0;
    return static_cast<DWORD_PTR>(item.lParam);
}

void CQMXPEditListBox::SetItemData(int iIndex, DWORD_PTR dwData) {
    LVITEMW item = {};
    item.mask = LVIF_PARAM;
    item.iItem = iIndex;
    item.lParam = static_cast<LPARAM>(dwData);
    if (GetListHwnd() != nullptr)
        ::SendMessageW(GetListHwnd(), LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

BOOL CQMXPEditListBox::EditItem(int iIndex) {
    const HWND hList = GetListHwnd();
    if (hList == nullptr)
        return FALSE;
    ::SetFocus(hList);
    const HWND hEdit = reinterpret_cast<HWND>(::SendMessageW(hList, LVM_EDITLABELW, static_cast<WPARAM>(iIndex), 0));
    if (hEdit == nullptr)
        return FALSE;
    if (m_wndEdit.GetSafeHwnd() != nullptr)
        m_wndEdit.UnsubclassWindow();
    m_wndEdit.SubclassWindow(hEdit);
    m_wndEdit.SetListBox(this);
    m_wndEdit.EnableBrowseButton(m_bBrowseButton);
    m_wndEdit.LockSize(FALSE);

    CRect rectClient;
    GetClientRect(&rectClient);
    CRect rectEdit;
    m_wndEdit.GetWindowRect(&rectEdit);
    const int cx = rectClient.Width() - 2 * globalData.borderSize - ::GetSystemMetrics(SM_CXVSCROLL);
    m_wndEdit.SetWindowPos(nullptr, 0, 0, cx, rectEdit.Height(),
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    m_wndEdit.LockSize(TRUE);
    m_bIsEditing = TRUE;
    EnableButtons(FALSE);
    return TRUE;
}

int CQMXPEditListBox::HitItem(CPoint point) const {
    LVHITTESTINFO info = {};
    info.pt = point;
    return static_cast<int>(::SendMessageW(GetListHwnd(), LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
}

BOOL CQMXPEditListBox::OnListButtonDown(CPoint point) {
    const HWND hList = GetListHwnd();
    const int iItem = HitItem(point);
    if (iItem < 0 || m_bIsEditing || ::GetFocus() != hList)
        return FALSE;
    const UINT uiState = ListView_GetItemState(hList, iItem, LVIS_SELECTED | LVIS_FOCUSED);
    if (uiState != (LVIS_SELECTED | LVIS_FOCUSED))
        return FALSE;
    ::SetCapture(hList);
    m_ptClick = point;
    return TRUE;
}

BOOL CQMXPEditListBox::OnListButtonUp(CPoint point) {
    if (m_ptClick == CPoint(-1, -1))
        return FALSE;
    const CPoint ptClick = m_ptClick;
    m_ptClick = CPoint(-1, -1);
    ::ReleaseCapture();
    const int iItem = HitItem(point);
    if (iItem >= 0 && iItem == HitItem(ptClick) && std::abs(point.x - ptClick.x) <= ::GetSystemMetrics(SM_CXDRAG) &&
        std::abs(point.y - ptClick.y) <= ::GetSystemMetrics(SM_CYDRAG))
        EditItem(iItem);
    return TRUE;
}

BOOL CQMXPEditListBox::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    const NMHDR* pNMHDR = reinterpret_cast<const NMHDR*>(lParam);
    if (pNMHDR == nullptr || pNMHDR->hwndFrom != GetListHwnd())
        return CQMXPEditListBase::OnNotify(wParam, lParam, pResult);
    *pResult = 0;
    switch (pNMHDR->code) {
    case LVN_KEYDOWN:
        OnKey(reinterpret_cast<const NMLVKEYDOWN*>(lParam)->wVKey, ModifierFlags());
        return TRUE;
    case NM_DBLCLK:
        if ((m_uiStandardBtns & QMXP_EDITLIST_NEWITEM) && GetSelItem() < 0)
            CreateNewItem();
        else if (GetSelItem() >= 0)
            EditItem(GetSelItem());
        return TRUE;
    case LVN_ENDLABELEDITW: {
        const auto* pDispInfo = reinterpret_cast<const NMLVDISPINFOW*>(lParam);
        m_bIsEditing = FALSE;
        OnEndEditLabel(pDispInfo->item.pszText);
        return TRUE;
    }
    case LVN_ITEMCHANGED: {
        const auto* pListView = reinterpret_cast<const NMLISTVIEW*>(lParam);
        if ((pListView->uChanged & LVIF_STATE) && ((pListView->uNewState ^ pListView->uOldState) & LVIS_SELECTED))
            OnSelectionChanged();
        return TRUE;
    }
    case LVN_GETDISPINFOW: {
        auto* pDispInfo = reinterpret_cast<NMLVDISPINFOW*>(lParam);
        if (pDispInfo->item.mask & LVIF_IMAGE)
            pDispInfo->item.iImage = GetItemImage(pDispInfo->item.iItem);
        return TRUE;
    }
    default:
        return CQMXPEditListBase::OnNotify(wParam, lParam, pResult);
    }
}
