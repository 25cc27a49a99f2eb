#pragma once
// CQMXPMDIFrameWnd: the docking library's MDI main frame. This stand-in
// over the class library's MDI frame docks bars on the side their style
// (or the dock bar id) names and loads the workspace's layout when the
// frame is loaded; the docking library replaces its inside.
#include "platform/classlib/MDIFrameWnd.h"

class CControlBar;

// The dock bars of the four sides.
constexpr UINT AFX_IDW_DOCKBAR_TOP = 0xE81B;
constexpr UINT AFX_IDW_DOCKBAR_LEFT = 0xE81C;
constexpr UINT AFX_IDW_DOCKBAR_RIGHT = 0xE81D;
constexpr UINT AFX_IDW_DOCKBAR_BOTTOM = 0xE81E;

class CQMXPMDIFrameWnd : public CMDIFrameWnd {
    DECLARE_DYNCREATE(CQMXPMDIFrameWnd)
public:
    CQMXPMDIFrameWnd();
    ~CQMXPMDIFrameWnd() override;

    BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;

    // The sides bars may dock to (CBRS_ALIGN_xxx; 0xF000 all four).
    void EnableDocking(DWORD dwDockStyle);
    // Docks the bar on the side of the dock bar id (0: the bar's own or the top).
    void DockControlBar(CControlBar* pBar, UINT nDockBarID = 0, LPCRECT lpRect = nullptr);
    void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay, BOOL bActivate = FALSE);

protected:
    afx_msg int OnCreate(LPCREATESTRUCTW lpCreateStruct);
    afx_msg void OnClose();

    DWORD m_dwDockStyle;

    DECLARE_MESSAGE_MAP()
};
