#include "controls/KWScrollBarCtrlImpWin.h"

bool CKWScrollBarCtrlImpWin::Create(DWORD, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    if (m_bar.m_hWnd || !m_bar.Create(style, rect, parent, id))
        return false;
    SetHwnd(m_bar.m_hWnd);
    return true;
}

bool CKWScrollBarCtrlImpWin::GetRange(int& minimum, int& maximum)
{
    minimum = 0;
    maximum = 0;
    HWND hWnd = GetHwnd();
    if (hWnd && ::GetScrollRange(hWnd, SB_CTL, &minimum, &maximum))
        return true;
    minimum = 0;
    maximum = 0;
    return false;
}

int CKWScrollBarCtrlImpWin::GetRangeMin()
{
    int minimum = 0;
    int maximum = 0;
    GetRange(minimum, maximum);
    return minimum;
}

int CKWScrollBarCtrlImpWin::GetRangeMax()
{
    int minimum = 0;
    int maximum = 0;
    GetRange(minimum, maximum);
    return maximum;
}

int CKWScrollBarCtrlImpWin::GetPos()
{
    HWND hWnd = GetHwnd();
    return hWnd ? ::GetScrollPos(hWnd, SB_CTL) : 0;
}

void CKWScrollBarCtrlImpWin::SetRangeMin(int minimum)
{
    if (HWND hWnd = GetHwnd())
        ::SetScrollRange(hWnd, SB_CTL, minimum, GetRangeMax(), TRUE);
}

void CKWScrollBarCtrlImpWin::SetRangeMax(int maximum)
{
    if (HWND hWnd = GetHwnd())
        ::SetScrollRange(hWnd, SB_CTL, GetRangeMin(), maximum, TRUE);
}

void CKWScrollBarCtrlImpWin::SetPos(int position)
{
    if (HWND hWnd = GetHwnd())
        ::SetScrollPos(hWnd, SB_CTL, position, TRUE);
}

int CKWScrollBarCtrlImpWin::GetScrollPos(bool)
{
    return GetPos();
}

void CKWScrollBarCtrlImpWin::SetScrollPos(bool, int position)
{
    SetPos(position);
}

int CKWScrollBarCtrlImpWin::GetScrollInfo(bool, int& minimum, int& maximum, int)
{
    minimum = GetRangeMin();
    maximum = GetRangeMax();
    return GetPos();
}
