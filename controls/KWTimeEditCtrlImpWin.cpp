#include "controls/KWTimeEditCtrlImpWin.h"

BEGIN_MESSAGE_MAP(CKWTimeEditCtrl, CEdit)
    ON_WM_KILLFOCUS()
    ON_WM_KEYDOWN()
END_MESSAGE_MAP()

void CKWTimeEditCtrl::OnKillFocus(CWnd*)
{
    Default();
    m_imp->Commit();
}

void CKWTimeEditCtrl::OnKeyDown(UINT key, UINT, UINT)
{
    Default();
    if (key == VK_RETURN)
        m_imp->Commit();
}

CKWTimeEditCtrlImpWin::CKWTimeEditCtrlImpWin(HWND hWnd) : CKWCtrlImpWin(hWnd), m_wnd(this)
{
    if (hWnd)
        m_wnd.SubclassWindow(hWnd);
}

CKWTimeEditCtrlImpWin::~CKWTimeEditCtrlImpWin()
{
    if (m_wnd.m_hWnd)
        m_wnd.UnsubclassWindow();
}

bool CKWTimeEditCtrlImpWin::Create(DWORD, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    if (!m_wnd.Create(style, rect, parent, id))
        return false;
    SetHwnd(m_wnd.m_hWnd);
    return true;
}

void CKWTimeEditCtrlImpWin::Redraw(bool)
{
    Invalidate();
}

void CKWTimeEditCtrlImpWin::Notify(UINT code)
{
    HWND hWnd = GetHwnd();
    if (!hWnd)
        return;
    NMHDR header = {};
    header.hwndFrom = hWnd;
    header.idFrom = static_cast<UINT_PTR>(::GetWindowLongPtrW(hWnd, GWLP_ID));
    header.code = code;
    ::SendMessageW(::GetParent(hWnd), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}
