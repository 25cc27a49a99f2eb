#include "controls/KWListCtrlImpWin.h"

CKWListCtrlImpWin::CKWListCtrlImpWin(HWND hWnd) : CKWCtrlImpWin(hWnd)
{
    if (hWnd)
        m_wnd.SubclassDlgItem(static_cast<UINT>(::GetDlgCtrlID(hWnd)), CWnd::FromHandle(::GetParent(hWnd)));
}

CKWListCtrlImpWin::~CKWListCtrlImpWin()
{
    if (m_wnd.m_hWnd)
        m_wnd.UnsubclassWindow();
}

LRESULT CKWListCtrlImpWin::Send(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND hWnd = GetHwnd();
    return hWnd ? ::SendMessageW(hWnd, message, wParam, lParam) : 0;
}

int CKWListCtrlImpWin::InsertColumn(int index, const LVCOLUMNW& column)
{
    return static_cast<int>(Send(LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column)));
}

bool CKWListCtrlImpWin::DeleteColumn(int index)
{
    return Send(LVM_DELETECOLUMN, static_cast<WPARAM>(index), 0) == 1;
}

int CKWListCtrlImpWin::InsertItem(const LVITEMW& item)
{
    return static_cast<int>(Send(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

void CKWListCtrlImpWin::DeleteAllItems()
{
    for (int i = GetItemCount() - 1; i >= 0; --i)
        m_wnd.DeleteItem(i);
}

int CKWListCtrlImpWin::GetItemCount()
{
    return static_cast<int>(Send(LVM_GETITEMCOUNT, 0, 0));
}

bool CKWListCtrlImpWin::GetItem(LVITEMW& item)
{
    return Send(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) == 1;
}

LPARAM CKWListCtrlImpWin::GetItemData(int index)
{
    if (index == -1 || index >= GetItemCount())
        return -1;
    LVITEMW item = {};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    Send(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return item.lParam;
}

bool CKWListCtrlImpWin::SetItemData(int index, LPARAM value)
{
    LVITEMW item = {};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    item.lParam = value;
    return Send(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)) == 1;
}

UINT CKWListCtrlImpWin::GetItemState(int index, UINT mask)
{
    return static_cast<UINT>(Send(LVM_GETITEMSTATE, static_cast<WPARAM>(index), mask));
}

bool CKWListCtrlImpWin::SetItemState(int index, UINT state, UINT mask)
{
    LVITEMW item = {};
    item.state = state;
    item.stateMask = mask;
    return Send(LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)) == 1;
}

bool CKWListCtrlImpWin::SetItem(const LVITEMW& item)
{
    return Send(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)) == 1;
}

int CKWListCtrlImpWin::HitTest(int x, int y, UINT* flags)
{
    LVHITTESTINFO info = {};
    info.pt = {x, y};
    const int item = static_cast<int>(Send(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
    if (flags)
        *flags = info.flags;
    return item;
}

int CKWListCtrlImpWin::GetHotItem()
{
    const int hot = static_cast<int>(Send(LVM_GETHOTITEM, 0, 0));
    return hot >= 0 && hot < GetItemCount() ? hot : -1;
}

int CKWListCtrlImpWin::GetFirstSelected()
{
    return GetNextSelected(-1);
}

int CKWListCtrlImpWin::GetNextSelected(int index)
{
    return GetHwnd() ? static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(index), LVNI_SELECTED)) : -1;
}
