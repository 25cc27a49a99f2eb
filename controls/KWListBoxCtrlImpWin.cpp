#include "controls/KWListBoxCtrlImpWin.h"

#include <vector>

bool KWReadItemText(HWND hWnd, UINT lengthMessage, UINT textMessage, int index, CString& text, LRESULT* copied)
{
    const LRESULT length = ::SendMessageW(hWnd, lengthMessage, static_cast<WPARAM>(index), 0);
    if (length < 0)
        return false;
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT result =
        ::SendMessageW(hWnd, textMessage, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.data()));
    buffer.back() = L'\0';
    text = buffer.data();
    if (copied)
        *copied = result;
    return true;
}

int CKWListBoxCtrlImpWin::Send(UINT message, WPARAM wParam, LPARAM lParam, int without)
{
    HWND hWnd = GetHwnd();
    return hWnd ? static_cast<int>(::SendMessageW(hWnd, message, wParam, lParam)) : without;
}

int CKWListBoxCtrlImpWin::GetCount()
{
    return Send(LB_GETCOUNT, 0, 0, 0);
}

int CKWListBoxCtrlImpWin::ResetContent()
{
    return Send(LB_RESETCONTENT, 0, 0, 0);
}

void CKWListBoxCtrlImpWin::GetText(int index, CString& text)
{
    if (index < 0 || index >= GetCount())
        return;
    KWReadItemText(GetHwnd(), LB_GETTEXTLEN, LB_GETTEXT, index, text, nullptr);
}

int CKWListBoxCtrlImpWin::GetTextLen(int index)
{
    return Send(LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
}

int CKWListBoxCtrlImpWin::AddString(const wchar_t* text)
{
    return Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}

int CKWListBoxCtrlImpWin::InsertString(int index, const wchar_t* text)
{
    return Send(LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
}

int CKWListBoxCtrlImpWin::DeleteString(int index)
{
    return Send(LB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

int CKWListBoxCtrlImpWin::FindString(int start, const wchar_t* text)
{
    return Send(LB_FINDSTRING, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(text));
}

int CKWListBoxCtrlImpWin::FindStringExact(int start, const wchar_t* text)
{
    return Send(LB_FINDSTRINGEXACT, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(text));
}

int CKWListBoxCtrlImpWin::SelectString(int start, const wchar_t* text)
{
    return Send(LB_SELECTSTRING, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(text));
}

int CKWListBoxCtrlImpWin::GetSelCount()
{
    return Send(LB_GETSELCOUNT, 0, 0);
}

int CKWListBoxCtrlImpWin::GetSel(int index)
{
    return Send(LB_GETSEL, static_cast<WPARAM>(index), 0);
}

int CKWListBoxCtrlImpWin::SetSel(int index, bool select)
{
    return Send(LB_SETSEL, select ? TRUE : FALSE, static_cast<LPARAM>(index));
}

int CKWListBoxCtrlImpWin::GetCurSel()
{
    return Send(LB_GETCURSEL, 0, 0);
}

int CKWListBoxCtrlImpWin::SetCurSel(int index)
{
    return Send(LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}
