#include "controls/KWFocusedButtonCtrlImpWin.h"

BEGIN_MESSAGE_MAP(CFBitmapButton, CBitmapButton)
    ON_WM_MOUSEMOVE()
END_MESSAGE_MAP()

void CFBitmapButton::OnMouseMove(UINT, CPoint)
{
    CWnd::SetFocus();
    Default();
}

CKWFocusedButtonCtrlImpWin::CKWFocusedButtonCtrlImpWin(HWND hWnd) : CKWCtrlImpWin(hWnd)
{
    if (hWnd)
        m_wnd.SubclassWindow(hWnd);
}

CKWFocusedButtonCtrlImpWin::~CKWFocusedButtonCtrlImpWin()
{
    if (m_wnd.m_hWnd)
        m_wnd.UnsubclassWindow();
}

void CKWFocusedButtonCtrlImpWin::SetBitmaps(UINT normalId, UINT focusId, UINT selectedId)
{
    m_wnd.LoadBitmaps(normalId, selectedId, focusId, 0);
    if (m_wnd.m_hWnd)
        m_wnd.SizeToContent();
}
