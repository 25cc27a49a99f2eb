#include "controls/KWProgressCtrlImpWin.h"

#include <commctrl.h>

int CKWProgressCtrlImpWin::Send(UINT message, WPARAM wParam, LPARAM lParam, int without)
{
    HWND hWnd = GetHwnd();
    return hWnd ? static_cast<int>(::SendMessageW(hWnd, message, wParam, lParam)) : without;
}

int CKWProgressCtrlImpWin::SetRange(int lower, int upper)
{
    return Send(PBM_SETRANGE32, static_cast<WPARAM>(lower), static_cast<LPARAM>(upper), 0);
}

int CKWProgressCtrlImpWin::GetLower()
{
    return Send(PBM_GETRANGE, TRUE, 0, -1);
}

int CKWProgressCtrlImpWin::GetUpper()
{
    return Send(PBM_GETRANGE, FALSE, 0, -1);
}

int CKWProgressCtrlImpWin::SetPos(int position)
{
    return Send(PBM_SETPOS, static_cast<WPARAM>(position), 0, -1);
}

int CKWProgressCtrlImpWin::GetPos()
{
    return Send(PBM_GETPOS, 0, 0, -1);
}

int CKWProgressCtrlImpWin::SetStep(int step)
{
    return Send(PBM_SETSTEP, static_cast<WPARAM>(step), 0, -1);
}

int CKWProgressCtrlImpWin::StepIt()
{
    return Send(PBM_STEPIT, 0, 0, -1);
}

int CKWSliderCtrlImpWin::Send(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND hWnd = GetHwnd();
    return hWnd ? static_cast<int>(::SendMessageW(hWnd, message, wParam, lParam)) : 0;
}

void CKWSliderCtrlImpWin::SetRange(int minimum, int maximum)
{
    Send(TBM_SETRANGEMIN, FALSE, static_cast<LPARAM>(minimum));
    Send(TBM_SETRANGEMAX, FALSE, static_cast<LPARAM>(maximum));
}

int CKWSliderCtrlImpWin::GetRangeMin()
{
    return Send(TBM_GETRANGEMIN);
}

int CKWSliderCtrlImpWin::GetRangeMax()
{
    return Send(TBM_GETRANGEMAX);
}

void CKWSliderCtrlImpWin::SetPos(int position)
{
    Send(TBM_SETPOS, TRUE, static_cast<LPARAM>(position));
}

int CKWSliderCtrlImpWin::GetPos()
{
    return Send(TBM_GETPOS);
}
