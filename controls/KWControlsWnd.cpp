#include "controls/KWControlsWnd.h"

CKWControlsWndWin::~CKWControlsWndWin() = default;

CKWControlsWnd::~CKWControlsWnd() = default;

CWnd* CKWControlsWndWin::GetParentWnd()
{
    HWND parent = m_hWnd ? ::GetParent(m_hWnd) : nullptr;
    return parent ? CWnd::FromHandle(parent) : nullptr;
}

void CKWControlsWndWin::Show(bool show)
{
    if (m_hWnd)
        ::ShowWindow(m_hWnd, show ? SW_SHOW : SW_HIDE);
}

void CKWControlsWndWin::Enable(bool enable)
{
    if (m_hWnd)
        ::EnableWindow(m_hWnd, enable);
}

bool CKWControlsWndWin::Create(UINT templateId, UINT controlId, const RECT& rect, CWnd* parent, DWORD style,
                               DWORD exStyle)
{
    if (!CreateDlg(MAKEINTRESOURCEW(templateId), parent))
        return false;
    const DWORD current = static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_STYLE));
    ::SetWindowLongW(m_hWnd, GWL_STYLE, static_cast<LONG>((current & ~WS_CAPTION) | (style & WS_CAPTION)));
    const DWORD currentEx = static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_EXSTYLE));
    ::SetWindowLongW(m_hWnd, GWL_EXSTYLE,
                     static_cast<LONG>((currentEx & ~WS_EX_CLIENTEDGE) | (exStyle & WS_EX_CLIENTEDGE)));
    ::SetWindowLongW(m_hWnd, GWL_ID, static_cast<LONG>(controlId));
    if (!ExecuteDlgInit(MAKEINTRESOURCEW(templateId)))
        return false;
    ::SetWindowPos(m_hWnd, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    if (style & WS_VISIBLE)
        ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
    return true;
}
