#include "docking/frames/QMXPMDIFrameWnd.h"

#include "docking/frames/QMXPWorkspace.h"
#include "platform/classlib/ControlBar.h"

IMPLEMENT_DYNCREATE(CQMXPMDIFrameWnd, CMDIFrameWnd)

BEGIN_MESSAGE_MAP(CQMXPMDIFrameWnd, CMDIFrameWnd)
    ON_WM_CREATE()
    ON_WM_CLOSE()
END_MESSAGE_MAP()

CQMXPMDIFrameWnd::CQMXPMDIFrameWnd() : m_dwDockStyle(0) {}

CQMXPMDIFrameWnd::~CQMXPMDIFrameWnd() = default;

BOOL CQMXPMDIFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                                 CCreateContext* pContext) {
    if (!CMDIFrameWnd::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext))
        return FALSE;
    CQMXPWorkspace* pWorkspace = QMXPGetWorkspace();
    if (pWorkspace != nullptr)
        pWorkspace->LoadState();
    return TRUE;
}

BOOL CQMXPMDIFrameWnd::PreCreateWindow(CREATESTRUCTW& cs) { return CMDIFrameWnd::PreCreateWindow(cs); }

int CQMXPMDIFrameWnd::OnCreate(LPCREATESTRUCTW lpcs) { return CMDIFrameWnd::OnCreate(lpcs); }

void CQMXPMDIFrameWnd::OnClose() { CMDIFrameWnd::OnClose(); }

void CQMXPMDIFrameWnd::EnableDocking(DWORD dwDockStyle) { m_dwDockStyle = dwDockStyle & CBRS_ALIGN_ANY; }

void CQMXPMDIFrameWnd::DockControlBar(CControlBar* pBar, UINT nDockBarID, LPCRECT) {
    if (pBar == nullptr || pBar->m_hWnd == nullptr)
        return;
    DWORD dwAlign;
    switch (nDockBarID) {
    case AFX_IDW_DOCKBAR_LEFT:
        dwAlign = CBRS_ALIGN_LEFT;
        break;
    case AFX_IDW_DOCKBAR_RIGHT:
        dwAlign = CBRS_ALIGN_RIGHT;
        break;
    case AFX_IDW_DOCKBAR_BOTTOM:
        dwAlign = CBRS_ALIGN_BOTTOM;
        break;
    case AFX_IDW_DOCKBAR_TOP:
        dwAlign = CBRS_ALIGN_TOP;
        break;
    default:
        dwAlign = pBar->GetBarStyle() & CBRS_ALIGN_ANY;
        if (dwAlign == 0)
            dwAlign = CBRS_ALIGN_TOP;
        break;
    }
    pBar->m_pDockSite = this;
    if (pBar->GetParent() != this)
        pBar->SetParent(this);
    pBar->SetBarStyle((pBar->GetBarStyle() & ~CBRS_ALIGN_ANY) | dwAlign);
    RecalcLayout();
}

void CQMXPMDIFrameWnd::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay, BOOL) {
    CMDIFrameWnd::ShowControlBar(pBar, bShow, bDelay);
}
