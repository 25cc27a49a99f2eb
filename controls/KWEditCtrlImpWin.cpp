#include "controls/KWEditCtrlImpWin.h"

bool CKWEditCtrlImpWin::Create(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    HWND hWnd = KWCreateChildControl(L"Edit", exStyle, style, rect, parent, id);
    SetHwnd(hWnd);
    return hWnd != nullptr;
}

LRESULT CKWEditCtrlImpWin::Send(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND hWnd = GetHwnd();
    return hWnd ? ::SendMessageW(hWnd, message, wParam, lParam) : 0;
}

bool CKWEditCtrlImpWin::HasSelection()
{
    int start = 0;
    int end = 0;
    GetSel(start, end);
    return start != end;
}

bool CKWEditCtrlImpWin::SetReadOnly(bool readOnly)
{
    return Send(EM_SETREADONLY, readOnly) != 0;
}

void CKWEditCtrlImpWin::SetModify(bool modified)
{
    Send(EM_SETMODIFY, modified);
}

bool CKWEditCtrlImpWin::GetModify()
{
    return Send(EM_GETMODIFY) != 0;
}

void CKWEditCtrlImpWin::SetSel(int start, int end)
{
    Send(EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
}

void CKWEditCtrlImpWin::GetSel(int& start, int& end)
{
    DWORD first = 0;
    DWORD last = 0;
    Send(EM_GETSEL, reinterpret_cast<WPARAM>(&first), reinterpret_cast<LPARAM>(&last));
    start = static_cast<int>(first);
    end = static_cast<int>(last);
}

void CKWEditCtrlImpWin::LimitText(int count)
{
    Send(EM_LIMITTEXT, static_cast<WPARAM>(count));
}

int CKWEditCtrlImpWin::GetLimitText()
{
    return static_cast<int>(Send(EM_GETLIMITTEXT));
}

bool CKWEditCtrlImpWin::Cut()
{
    if (!HasSelection())
        return false;
    Send(WM_CUT);
    return true;
}

bool CKWEditCtrlImpWin::Copy()
{
    if (!HasSelection())
        return false;
    Send(WM_COPY);
    return true;
}

bool CKWEditCtrlImpWin::Clear()
{
    int start = 0;
    int end = 0;
    GetSel(start, end);
    if (start == end)
        SetSel(start, start + 1);
    Send(WM_CLEAR);
    return true;
}

bool CKWEditCtrlImpWin::Paste()
{
    if (!CanPaste())
        return false;
    Send(WM_PASTE);
    return true;
}

bool CKWEditCtrlImpWin::CanCut()
{
    return HasSelection();
}

bool CKWEditCtrlImpWin::CanClear()
{
    return HasSelection();
}

bool CKWEditCtrlImpWin::CanPaste()
{
    return ::IsClipboardFormatAvailable(CF_TEXT) != FALSE;
}
