#include "docking/frames/QMXPMDIChildWnd.h"

#include "platform/classlib/MDIFrameWnd.h"

IMPLEMENT_DYNCREATE(CQMXPMDIChildWnd, CMDIChildWnd)

BEGIN_MESSAGE_MAP(CQMXPMDIChildWnd, CMDIChildWnd)
    ON_WM_SIZE()
END_MESSAGE_MAP()

CQMXPMDIChildWnd::CQMXPMDIChildWnd() = default;

CQMXPMDIChildWnd::~CQMXPMDIChildWnd() = default;

BOOL CQMXPMDIChildWnd::PreCreateWindow(CREATESTRUCTW& cs) { return CMDIChildWnd::PreCreateWindow(cs); }

void CQMXPMDIChildWnd::OnSize(UINT nType, int cx, int cy) {
    // The class library's handling lays out the frame's bars and view.
    CMDIChildWnd::OnSize(nType, cx, cy);
}

void CQMXPMDIChildWnd::ActivateFrame(int nCmdShow) {
    CMDIFrameWnd* pFrame = GetMDIFrame();
    HWND hWndClient = pFrame != nullptr ? pFrame->m_hWndMDIClient : nullptr;
    if (hWndClient != nullptr)
        ::SendMessageW(hWndClient, WM_SETREDRAW, FALSE, 0);
    CMDIChildWnd::ActivateFrame(nCmdShow);
    if (hWndClient != nullptr) {
        ::SendMessageW(hWndClient, WM_SETREDRAW, TRUE, 0);
        ::RedrawWindow(hWndClient, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
}
