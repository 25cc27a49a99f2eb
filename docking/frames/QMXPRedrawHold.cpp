#include "docking/frames/QMXPRedrawHold.h"

CQMXPRedrawHold::CQMXPRedrawHold(HWND hWnd, UINT nRedrawFlags)
    : m_hWnd(hWnd != nullptr && ::IsWindowVisible(hWnd) ? hWnd : nullptr), m_nRedrawFlags(nRedrawFlags) {
    if (m_hWnd != nullptr)
        ::SendMessageW(m_hWnd, WM_SETREDRAW, FALSE, 0);
}

CQMXPRedrawHold::~CQMXPRedrawHold() {
    if (m_hWnd == nullptr)
        return;
    ::SendMessageW(m_hWnd, WM_SETREDRAW, TRUE, 0);
    ::RedrawWindow(m_hWnd, nullptr, nullptr, m_nRedrawFlags);
}
