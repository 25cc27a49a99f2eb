#pragma once
// The docking frames of OLE documents: the wrapper over a container's frame
// while a server's item is active in place in it (CQMXPOleCntrFrameWnd), on
// which the server's bars dock, and the server's in-place frames
// (CQMXPOleIPFrameWnd, CQMXPOleDocIPFrameWnd), which become the target of
// the library's commands while they are active.
#include "docking/bars/QMXPDockManager.h"
#include "docking/frames/QMXPFrameImpl.h"
#include "platform/classlib/OleFrames.h"

class CQMXPBaseControlBar;
class CQMXPMenuBar;
class CQMXPMiniFrameWnd;
class CQMXPPopupMenu;

// The frame that commands of popup menus go to instead of the window's own
// top-level frame: the in-place frame that is active; none otherwise.
extern CFrameWnd* qmxCommandTargetOverride;

class CQMXPOleCntrFrameWnd : public COleCntrFrameWnd {
    DECLARE_DYNAMIC(CQMXPOleCntrFrameWnd)
public:
    explicit CQMXPOleCntrFrameWnd(COleIPFrameWnd* pInPlaceFrame);
    // Floating frames and the server's bars in the container's window go;
    // the container's own windows stay.
    ~CQMXPOleCntrFrameWnd() override;

    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    void RecalcLayout(BOOL bNotify = TRUE) override;
    virtual void AdjustDockingLayout(HDWP hdwp = nullptr);
    virtual BOOL OnMoveMiniFrame(CQMXPMiniFrameWnd* pFrame);

    // The dock manager takes the container's window once the wrapper holds it.
    void BindDockManager() { m_dockManager.Create(this); }
    CQMXPDockManager* GetDockManager() { return &m_dockManager; }
    BOOL AddControlBar(CQMXPBaseControlBar* pControlBar, BOOL bTail = TRUE);
    void DockControlBar(CQMXPBaseControlBar* pBar, UINT nDockBarID = 0, LPCRECT lpRect = nullptr);

protected:
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSizing(UINT fwSide, LPRECT pRect);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);

    CQMXPDockManager m_dockManager;

    DECLARE_MESSAGE_MAP()
};

// What the two in-place frames share: their frame implementation and dock
// manager, the command target they took over, and their steps after the
// class library's.
class CQMXPInPlaceFrameCore {
public:
    explicit CQMXPInPlaceFrameCore(COleIPFrameWnd* pFrame);

    // Activated: this frame becomes the command target, the former one is
    // kept; deactivated: the menus close and the former target comes back.
    void OnActivate(UINT nState);
    // The container's frame gets a library wrapper its bars can dock on.
    BOOL OnCreateControlBars(CFrameWnd* pWndFrame);
    // An open menu closes, the command target goes back, the children go.
    void OnDestroy();
    // The dock manager's layout, a print preview on its free area.
    void RecalcLayout(BOOL bNotify);
    QMXPRoute Route(MSG* pMsg) { return m_Impl.RouteFrameMessage(pMsg, QMXP_ROUTE_DBLCLICKS | QMXP_ROUTE_KEY_NO_FLAG); }
    void OnIdleUpdateCmdUI();
    // The frame implementation learns of the popup; TRUE when it was shown
    // before (no need to ask the frame again).
    BOOL ShowPopupMenu(CQMXPPopupMenu* pMenuPopup);
    void OnClosePopupMenu(CQMXPPopupMenu* pMenuPopup);

    COleIPFrameWnd* m_pFrame;
    CQMXPFrameImpl m_Impl;
    CQMXPDockManager m_dockManager;
    BOOL m_bContextHelp = FALSE;
    HWND m_hwndPrevTarget = nullptr;

private:
    // The override goes back to the frame it replaced, when it is still this one.
    void GiveBackCommandTarget();
};

// The in-place frame over one of the class library's in-place frames: the
// class library's step first, then the shared one. Its messages are taken
// in WindowProc, so that both frames share one body.
template <class TBase>
class CQMXPInPlaceFrame : public TBase {
public:
    CQMXPInPlaceFrame() : m_core(this) {}

    BOOL PreCreateWindow(CREATESTRUCTW& cs) override {
        m_core.m_Impl.m_pDockManager = &m_core.m_dockManager;
        return TBase::PreCreateWindow(cs);
    }
    BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override {
        m_core.m_Impl.m_nIDDefaultResource = nIDResource;
        return TBase::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext);
    }
    void RecalcLayout(BOOL bNotify = TRUE) override {
        if (this->m_bInRecalcLayout)
            return;
        TBase::RecalcLayout(bNotify);
        this->m_bInRecalcLayout = TRUE;
        m_core.RecalcLayout(bNotify);
        this->m_bInRecalcLayout = FALSE;
    }
    BOOL PreTranslateMessage(MSG* pMsg) override {
        return m_core.Route(pMsg) == QMXPRoute::Consumed || TBase::PreTranslateMessage(pMsg);
    }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        BOOL bResult = FALSE;
        if (m_core.m_Impl.PreCommand(wParam, bResult))
            return bResult;
        if (LOWORD(wParam) == ID_CONTEXT_HELP && lParam == 0) {
            OnContextHelp();
            return TRUE;
        }
        return TBase::OnCommand(wParam, lParam);
    }
    void OnContextHelp() override { m_core.m_Impl.OnContextHelp(m_core.m_bContextHelp); }
    // WinHelp with data 0 during context help starts the mode again.
    void WinHelp(DWORD_PTR dwData, UINT nCmd = HELP_CONTEXT) override {
        if (!m_core.m_Impl.RepeatContextHelp(dwData, m_core.m_bContextHelp))
            TBase::WinHelp(dwData, nCmd);
    }
    BOOL OnCreateControlBars(CFrameWnd* pWndFrame, CFrameWnd*) override {
        return m_core.OnCreateControlBars(pWndFrame);
    }
    virtual void AdjustDockingLayout(HDWP hdwp = nullptr) { m_core.m_dockManager.AdjustDockingLayout(hdwp); }
    virtual BOOL OnMoveMiniFrame(CQMXPMiniFrameWnd* pFrame) { return m_core.m_dockManager.OnMoveMiniFrame(pFrame); }
    // Asked before a popup menu of the frame opens; FALSE refuses it.
    virtual BOOL OnShowPopupMenu(CQMXPPopupMenu*) { return TRUE; }
    // A popup menu of the frame went: it is no longer the active one.
    virtual void OnClosePopupMenu(CQMXPPopupMenu* pMenuPopup) { m_core.OnClosePopupMenu(pMenuPopup); }
    // Told of each popup that opens (none when the last closes); a popup
    // shown once before is accepted again without asking.
    BOOL ShowPopupMenu(CQMXPPopupMenu* pMenuPopup) {
        return m_core.ShowPopupMenu(pMenuPopup) || OnShowPopupMenu(pMenuPopup);
    }
    // The library menu bar takes the frame's menu.
    void SetMenuBar(CQMXPMenuBar* pMenuBar) { m_core.m_Impl.SetMenuBar(pMenuBar); }
    CQMXPDockManager* GetDockManager() { return &m_core.m_dockManager; }
    CQMXPFrameImpl& GetFrameImpl() { return m_core.m_Impl; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_ACTIVATE: {
            const LRESULT lResult = TBase::WindowProc(message, wParam, lParam);
            m_core.OnActivate(LOWORD(wParam));
            return lResult;
        }
        case WM_CLOSE:
            m_core.m_Impl.OnCloseFrame();
            break;
        case WM_DESTROY:
            m_core.OnDestroy();
            break;
        case WM_MENUCHAR:
            if (m_core.m_Impl.OnMenuChar(LOWORD(wParam)))
                return QMXP_MENUCHAR_TAKEN;
            break;
        case WM_IDLEUPDATECMDUI: {
            const LRESULT lResult = TBase::WindowProc(message, wParam, lParam);
            m_core.OnIdleUpdateCmdUI();
            return lResult;
        }
        default:
            break;
        }
        return TBase::WindowProc(message, wParam, lParam);
    }

    CQMXPInPlaceFrameCore m_core;
};

class CQMXPOleIPFrameWnd : public CQMXPInPlaceFrame<COleIPFrameWnd> {
    DECLARE_DYNCREATE(CQMXPOleIPFrameWnd)
};

class CQMXPOleDocIPFrameWnd : public CQMXPInPlaceFrame<COleDocIPFrameWnd> {
    DECLARE_DYNCREATE(CQMXPOleDocIPFrameWnd)
};
