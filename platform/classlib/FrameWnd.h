#pragma once
// CFrameWnd: a top-level window that owns a menu, brings its items up to date
// through CCmdUI when a popup opens, and routes commands on to the
// application. Frames delete themselves when their window is destroyed.
#include "platform/classlib/Wnd.h"

class CFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CFrameWnd)
public:
    CFrameWnd();

    static const CRect rectDefault;

    // Menu items without a command handler are disabled when a popup opens.
    BOOL m_bAutoMenuEnable;

    BOOL Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW,
                const RECT& rect = rectDefault, CWnd* pParentWnd = nullptr, LPCWSTR lpszMenuName = nullptr,
                DWORD dwExStyle = 0, CCreateContext* pContext = nullptr);

    BOOL IsFrameWnd() const override;
    virtual CFrameWnd* GetActiveFrame();
    // The frame's own map, then the application's.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

protected:
    void PostNcDestroy() override;

    afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);

    HMENU m_hMenuDefault;

    DECLARE_MESSAGE_MAP()
};
