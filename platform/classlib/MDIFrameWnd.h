#pragma once
// CMDIFrameWnd: the main window of a multiple-document application. Its
// client area holds the MDI client window (the frame's view pane), in which
// the document frames (CMDIChildWnd) live. Commands go to the active child
// frame first; the menu bar shows the active child's shared menu; the
// caption names the active document while its frame is not maximised.
#include "platform/classlib/FrameWnd.h"

class CMDIChildWnd;

// The window commands.
constexpr UINT ID_WINDOW_NEW = 0xE130;
constexpr UINT ID_WINDOW_ARRANGE = 0xE131;
constexpr UINT ID_WINDOW_CASCADE = 0xE132;
constexpr UINT ID_WINDOW_TILE_HORZ = 0xE133;
constexpr UINT ID_WINDOW_TILE_VERT = 0xE134;
constexpr UINT AFX_IDM_WINDOW_FIRST = 0xE130;
constexpr UINT AFX_IDM_WINDOW_LAST = 0xE13F;
// The Window menu's entries of the child frames.
constexpr UINT AFX_IDM_FIRST_MDICHILD = 0xFF00;

class CMDIFrameWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMDIFrameWnd)
public:
    CMDIFrameWnd();

    HWND m_hWndMDIClient;

    // Makes the MDI client (id AFX_IDW_PANE_FIRST) listing the children in pWindowMenu.
    virtual BOOL CreateClient(LPCREATESTRUCTW lpCreateStruct, CMenu* pWindowMenu);
    // The popup of the menu bar that holds the window commands; null when none does.
    virtual HMENU GetWindowMenuPopup(HMENU hMenuBar);

    // The active child frame (null when there is none) and whether it is maximised.
    CMDIChildWnd* MDIGetActive(BOOL* pbMaximized = nullptr) const;
    void MDIActivate(CWnd* pWndActivate);
    void MDINext();
    void MDIMaximize(CWnd* pWnd);
    void MDIRestore(CWnd* pWnd);
    void MDICascade();
    void MDITile(int nType);
    void MDIIconArrange();
    // Shows the menu bar with its Window popup; the old menu comes back.
    HMENU MDISetMenu(HMENU hFrameMenu, HMENU hWindowMenu);

    CFrameWnd* GetActiveFrame() override;
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;
    void OnUpdateFrameMenu(HMENU hMenuAlt) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    BOOL OnCreateClient(LPCREATESTRUCTW lpcs, CCreateContext* pContext) override;

    // A further frame on the active document (captions then carry ":1", ":2").
    afx_msg void OnWindowNew();
    afx_msg BOOL OnMDIWindowCmd(UINT nID);
    afx_msg void OnUpdateMDIWindowCmd(CCmdUI* pCmdUI);

    DECLARE_MESSAGE_MAP()
};
