#pragma once
// CQMXPBaseControlBar: the root of every bar of the docking library (tool
// bars, menu bars, docking panes, dock bars, sliders, the status bar). It
// knows its sides and styles, where it sits (dock-site frame, dock bar,
// row), its docking mode and its visibility as the layout sees it, keeps
// "IsVisible" in the registry, and declares with neutral defaults what the
// dock manager, dock bars, rows and frames call on any bar.
// The class library's bar-style names (CBRS_...) name the same bits here.
#include "platform/classlib/ControlBar.h"
#include "platform/classlib/FrameWnd.h"
#include "platform/classlib/Wnd.h"

class CQMXPBaseTabWnd;
class CQMXPDockBar;
class CQMXPDockBarRow;
class CQMXPDockManager;
class CQMXPMiniFrameWnd;

// Control-bar style bits (m_dwControlBarStyle).
constexpr DWORD QMXP_CBRS_FLOAT = 0x1;
constexpr DWORD QMXP_CBRS_STYLE2 = 0x2;
constexpr DWORD QMXP_CBRS_STYLE4 = 0x4;
constexpr DWORD QMXP_CBRS_CLOSE = 0x8;

// Docking modes: the library's default, immediate, outline.
constexpr int QMXP_DT_UNDEFINED = 0;
constexpr int QMXP_DT_IMMEDIATE = 1;
constexpr int QMXP_DT_STANDARD = 2;

class CQMXPBaseControlBar : public CWnd {
    DECLARE_DYNAMIC(CQMXPBaseControlBar)
public:
    CQMXPBaseControlBar();
    ~CQMXPBaseControlBar() override;

    // Style bits 0xF000 and the visibility, 32 bits each.
    void Serialize(CArchive& ar) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    virtual BOOL IsHorizontal() const;
    virtual BOOL IsDocked() const;
    virtual BOOL IsTabbed() const;
    virtual BOOL IsFloating() const;
    virtual BOOL DocksToFrameEdge() const;
    // As the layout sees it: the recent state while the library restores.
    virtual BOOL IsVisible() const;
    virtual BOOL IsInsertTarget() const;
    virtual BOOL CanAcceptBar(const CQMXPBaseControlBar* pBar) const;
    virtual BOOL CanBeDocked(CQMXPBaseControlBar* pDockBar) const;
    virtual BOOL CanBeAttached() const;
    virtual DWORD GetCurrentAlignment() const;
    virtual DWORD GetEnabledAlignment() const;
    // None for a bar without frame; a bar in a dialog sets the library's dialog flag.
    virtual CFrameWnd* GetDockSiteFrameWnd() const;
    virtual CQMXPDockBar* GetParentDockBar() const;
    virtual int GetCaptionHeight() const;
    virtual BOOL IsInMultiMiniFrame() const;
    virtual BOOL GetRecentVisibleState() const;
    virtual BOOL IsRestoredFromRegistry() const;
    virtual void SetRestoredFromRegistry(BOOL bState);
    virtual int GetDockingMode() const;
    virtual HICON GetIcon(BOOL bBigIcon) const;
    virtual DWORD GetBarStyle() const;
    virtual DWORD GetControlBarStyle() const;
    virtual BOOL CanBeClosed() const;
    virtual BOOL CanFloat() const;
    virtual BOOL TestControlBarStyle4() const;
    virtual BOOL TestControlBarStyle2() const;
    // Keeps every bit but 0xF000; the new style goes to OnChangeBarStyle.
    virtual void SetCurrentAlignment(DWORD dwAlignment);
    virtual void SetBarStyle(DWORD dwStyle);
    virtual void OnChangeBarStyle(DWORD dwNewStyle);
    virtual void EnableDocking(DWORD dwAlignment);
    virtual void ShowCaption(BOOL bShow);
    // The floating frame that held the bar has taken it out.
    virtual void OnRemoveFromMiniFrame(CQMXPMiniFrameWnd* pMiniFrame);
    virtual BOOL DockControlBar(CQMXPBaseControlBar* pDockBar, LPCRECT lpRect, int dockMethod);
    virtual BOOL FloatControlBar(CRect rectFloat, int dockMethod, bool bShow = true);
    virtual BOOL DockToFrameWindow(DWORD dwAlignment, LPCRECT lpRect = nullptr, DWORD dwDockFlags = 0,
                                   CQMXPBaseControlBar* pTargetBar = nullptr, int nMRUWidth = -1,
                                   BOOL bOuterEdge = FALSE);
    virtual CSize CalcLayoutSize(int nLength, BOOL bVert);
    virtual void RefreshLayout();
    virtual void AdjustLayout();
    virtual CQMXPMiniFrameWnd* CreateMiniFrame(CRect rectInitial);
    virtual void OnBeforeChangeParent(CWnd* pWndNewParent, BOOL bDelay = FALSE);
    virtual void OnAfterChangeParent(CWnd* pWndOldParent);
    virtual void ShowControlBar(BOOL bShow, BOOL bDelay, BOOL bActivate);
    // The nearest floating frame above the bar.
    virtual CQMXPMiniFrameWnd* GetParentMiniFrame(BOOL bNoAssert = FALSE) const;
    // Profile: a registry path, or none for the application's; id -1: the
    // bar's control id; index -1: none.
    virtual BOOL LoadState(LPCWSTR lpszProfileName = nullptr, UINT uiID = static_cast<UINT>(-1), int nIndex = -1);
    virtual BOOL SaveState(LPCWSTR lpszProfileName = nullptr, UINT uiID = static_cast<UINT>(-1), int nIndex = -1);
    // Moves at once (none returned) or into the deferred positions.
    virtual HDWP MoveWindow(CRect& rect, BOOL bRepaint = TRUE, HDWP hdwp = nullptr);
    virtual HDWP SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags,
                              HDWP hdwp = nullptr);
    virtual void UndockControlBar(BOOL bDelay = FALSE);
    virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler);
    virtual BOOL CreateEx(DWORD dwStyleEx, LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle,
                          const RECT& rect, CWnd* pParentWnd, UINT nID, DWORD dwControlBarStyle = 0,
                          CCreateContext* pContext = nullptr);
    // (32767, 0) stretched horizontal, (0, 32767) stretched vertical, else (0, 0).
    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
    virtual void DoPaint(CDC* pDC);
    virtual void AdjustDockingLayout(HDWP hdwp = nullptr);

    // Forwarders to the dock manager of the bar's frame; a bar in a dialog
    // gets the early answers.
    void AddControlBar(CQMXPBaseControlBar* pBar);
    BOOL InsertControlBar(CQMXPBaseControlBar* pControlBar, CQMXPBaseControlBar* pTarget, BOOL bAfter = TRUE);
    BOOL RemoveControlBarFromDockManager(CQMXPBaseControlBar* pBar, BOOL bDestroy = TRUE,
                                         BOOL bAdjustLayout = FALSE, BOOL bAutoHide = FALSE);
    BOOL IsPointNearDockBar(CPoint point, DWORD& dwBarAlignment, BOOL& bOuterEdge) const;
    CQMXPBaseControlBar* ControlBarFromPoint(CPoint point, int nSensitivity, bool bExactBar = false,
                                             CRuntimeClass* pRTCBarType = nullptr) const;
    void DockToFrame(BOOL bUseDockSite = TRUE);
    // The tab window holding the bar; hWndTab receives the window that is its tab.
    CQMXPBaseTabWnd* GetParentTabWnd(HWND& hWndTab) const;

    CQMXPDockBarRow* GetDockBarRow() const { return m_pDockBarRow; }
    void SetDockBarRow(CQMXPDockBarRow* pRow) { m_pDockBarRow = pRow; }
    void SetDockingMode(int dockMode) { m_dockMode = dockMode; }
    void SetControlBarStyle(DWORD dwStyle) { m_dwControlBarStyle = dwStyle; }
    void SetDockSite(CFrameWnd* pDockSite) { m_pDockSite = pDockSite; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnDestroy();
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnHelpHitTest(WPARAM wParam, LPARAM lParam);

    // The registry key of the bar's state.
    CString StateKey(LPCWSTR lpszProfileName, UINT uiID, int nIndex) const;
    // A bar without frame in a dialog: the forwarders answer at once.
    BOOL ReturnsEarly() const;
    CQMXPDockManager* DockManagerOfSite() const;

    DWORD m_dwExtraFlags;
    DWORD m_dwEnabledAlignment;
    DWORD m_dwStyle;
    DWORD m_dwControlBarStyle;
    BOOL m_bRecentVisibleState;
    BOOL m_bIsRestoredFromRegistry;
    CQMXPDockBar* m_pParentDockBar;
    CQMXPDockBarRow* m_pDockBarRow;
    CFrameWnd* m_pDockSite;
    int m_dockMode;
    CRect m_rectVirtual;
    LPCWSTR m_lpszBarTemplateName;
    CSize m_sizeDialog;
    // CreateEx made the bar. A bar that deletes itself with its window does
    // so only then: one whose creation failed is its maker's to delete.
    BOOL m_bWindowMade = FALSE;

    DECLARE_MESSAGE_MAP()
};
