#include "controls/KWSpinButtonCtrlImpWin.h"

#include <commctrl.h>

bool CKWSpinButtonCtrlImpWin::Create(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    HWND hWnd = KWCreateChildControl(UPDOWN_CLASSW, exStyle, style, rect, parent, id);
    SetHwnd(hWnd);
    return hWnd != nullptr;
}

int CKWSpinButtonCtrlImpWin::GetPos()
{
    HWND hWnd = GetHwnd();
    return hWnd ? static_cast<int>(::SendMessageW(hWnd, UDM_GETPOS32, 0, 0)) : -1;
}

void CKWSpinButtonCtrlImpWin::GetRange(int& lower, int& upper)
{
    if (HWND hWnd = GetHwnd())
        ::SendMessageW(hWnd, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower), reinterpret_cast<LPARAM>(&upper));
}

int CKWSpinButtonCtrlImpWin::SetPos(int position)
{
    HWND hWnd = GetHwnd();
    return hWnd ? static_cast<int>(::SendMessageW(hWnd, UDM_SETPOS32, 0, static_cast<LPARAM>(position))) : -1;
}

void CKWSpinButtonCtrlImpWin::SetRange(int lower, int upper)
{
    if (HWND hWnd = GetHwnd())
        ::SendMessageW(hWnd, UDM_SETRANGE32, static_cast<WPARAM>(lower), static_cast<LPARAM>(upper));
}

void CKWSpinButtonCtrlImpWin::SetBuddy(CKWCtrlImp* buddy)
{
    auto* other = dynamic_cast<CKWCtrlImpWin*>(buddy);
    HWND hWnd = GetHwnd();
    if (other && other->GetHwnd() && hWnd)
        ::SendMessageW(hWnd, UDM_SETBUDDY, reinterpret_cast<WPARAM>(other->GetHwnd()), 0);
}
