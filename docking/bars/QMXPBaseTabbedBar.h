#pragma once
// CQMXPBaseTabbedBar: a docking pane whose client area is a tab window and
// whose tabs are other panes. It docks, floats, hides and goes to auto
// hide as one pane while each tab keeps its own identity, registry state
// and recent place. CQMXPTabbedControlBar is the ordinary tabbed group that
// panes make when one is dropped on another's caption.
#include "docking/bars/QMXPDockingControlBar.h"
#include "platform/classlib/ObList.h"

class CQMXPBaseTabWnd;

class CQMXPBaseTabbedBar : public CQMXPDockingControlBar {
    DECLARE_DYNAMIC(CQMXPBaseTabbedBar)
public:
    explicit CQMXPBaseTabbedBar(BOOL bAutoDestroy = FALSE);
    ~CQMXPBaseTabbedBar() override;

    // The pane's fields, then the auto-destroy flag.
    void Serialize(CArchive& ar) override;
    HICON GetIcon(BOOL bBigIcon) const override;
    BOOL CanFloat() const override { return CQMXPBaseControlBar::CanFloat(); }
    BOOL FloatControlBar(CRect rectFloat, int dockMethod, bool bShow = true) override;
    void AdjustLayout() override;
    // With id -1 each tab keeps its own keys under its control id.
    BOOL LoadState(LPCWSTR lpszProfileName = nullptr, UINT uiID = static_cast<UINT>(-1), int nIndex = -1) override;
    BOOL SaveState(LPCWSTR lpszProfileName = nullptr, UINT uiID = static_cast<UINT>(-1), int nIndex = -1) override;
    BOOL Dock(CQMXPBaseControlBar* pDockBar, LPCRECT lpRect, int dockMethod) override;
    void StoreRecentDockInfo() override;
    CQMXPAutoHideToolBar* SetAutoHideMode(BOOL bMode, DWORD dwAlignment, CQMXPAutoHideToolBar* pCurrAutoHideBar = nullptr,
                                          BOOL bUseTimer = TRUE) override;

    virtual CQMXPBaseTabWnd* GetUnderlinedWindow() const { return m_pTabWnd; }
    virtual int GetTabsNum() const;
    virtual int GetVisibleTabsNum() const;
    virtual BOOL IsHideSingleTab() const;
    virtual BOOL CanBeDestroyedWhenEmpty() const { return TRUE; }
    // A tabbed bar gives up its tabs to this one (and FALSE); else the bar becomes the last tab.
    virtual BOOL AddTab(CWnd* pNewBar, BOOL bVisible = TRUE, BOOL bSetActive = TRUE, BOOL bDetachable = TRUE);
    virtual BOOL FloatTab(CWnd* pBar, int nTabID, int dockMethod, BOOL bHide = FALSE);
    virtual BOOL DetachControlBar(CWnd* pBar, BOOL bHide = FALSE);
    // FALSE when the bar is no tab; the emptied bar destroys itself (and FALSE) or hides.
    virtual BOOL RemoveControlBar(CWnd* pBar);
    virtual BOOL ShowTab(CWnd* pBar, BOOL bShow, BOOL bDelay, BOOL bActivate);
    virtual CWnd* FindBarByID(UINT uBarID);
    virtual CWnd* GetTabWnd(int nTabNum, BOOL bUnwrap = FALSE) const;
    virtual CWnd* GetFirstVisibleTab(int& iTabNum) const;
    virtual void ApplyRestoredTabs();
    virtual void SerializeTabWindow(CArchive& ar);
    // The tabs' control ids (count, then each), when storing and there are tabs.
    virtual void SaveSiblingBarIDs(CArchive& ar);
    virtual void SetCaptionTextToTabName(BOOL bSet) { m_bSetCaptionTextToTabName = bSet; }
    virtual BOOL IsSetCaptionTextToTabName() const { return m_bSetCaptionTextToTabName; }
    virtual void OnActivateTab(int) {}

    // Appends the ids that SaveSiblingBarIDs wrote to the list.
    static void LoadSiblingBarIDs(CArchive& ar, CList<UINT, UINT>& lstIDs);
    BOOL IsAutoDestroy() const { return m_bAutoDestroy; }
    void SetAutoDestroy(BOOL bAutoDestroy) { m_bAutoDestroy = bAutoDestroy; }

protected:
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnNcDestroy();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg LRESULT OnChangeActiveTab(WPARAM wParam, LPARAM lParam);

    // Takes the visible detachable panes out (last to first); the others are counted.
    int TakeOutDetachablePanes(CObList& lstPanes, BOOL bReparentToSite);

    BOOL m_bAutoDestroy;
    CQMXPBaseTabWnd* m_pTabWnd;
    BOOL m_bSetCaptionTextToTabName;

    DECLARE_MESSAGE_MAP()
};
