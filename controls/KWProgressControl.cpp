#include "controls/KWProgressControl.h"

#include <commctrl.h>

#include <climits>

void CKWProgressControl::SetRange(int low, int high)
{
    if (m_hWnd)
        ::SendMessageW(m_hWnd, PBM_SETRANGE32, static_cast<WPARAM>(low), static_cast<LPARAM>(high));
}

int CKWProgressControl::SetPos(int position)
{
    return m_hWnd ? static_cast<int>(::SendMessageW(m_hWnd, PBM_SETPOS, static_cast<WPARAM>(position), 0)) : 0;
}

int CKWProgressControl::GetPos() const
{
    return m_hWnd ? static_cast<int>(::SendMessageW(m_hWnd, PBM_GETPOS, 0, 0)) : 0;
}

int CKWProgressControl::SetStep(int step)
{
    return m_hWnd ? static_cast<int>(::SendMessageW(m_hWnd, PBM_SETSTEP, static_cast<WPARAM>(step), 0)) : 0;
}

int CKWProgressControl::StepIt()
{
    return m_hWnd ? static_cast<int>(::SendMessageW(m_hWnd, PBM_STEPIT, 0, 0)) : 0;
}

int CKWProgressControl::GetUpper() const
{
    // FALSE asks for the high limit.
    return m_hWnd ? static_cast<int>(::SendMessageW(m_hWnd, PBM_GETRANGE, FALSE, 0)) : INT_MAX;
}
