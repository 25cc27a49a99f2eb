#pragma once
// CQMXPMenuBar: the frame's menu as a dockable tool bar: one menu button per
// top-level item, the system-menu button and the minimise, restore and
// close buttons of a maximised MDI child, keyboard navigation, short menus
// that expand after a delay, and one set of customised buttons per menu
// (each document type's and the frame's default menu), cached while the
// program runs and kept in the registry.
#include "docking/toolbars/QMXPToolBar.h"

class CMultiDocTemplate;
class CQMXPMenuPage;
class CQMXPToolbarMenuButton;

// The menu bar's usual control id.
constexpr UINT AFX_IDW_MENUBAR = 0xE806;

class CQMXPMenuBar : public CQMXPToolBar {
    DECLARE_SERIAL(CQMXPMenuBar)
public:
    CQMXPMenuBar();
    // Destroys the current menu.
    ~CQMXPMenuBar() override;

    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT nID = AFX_IDW_MENUBAR);
    BOOL CreateEx(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP,
                  UINT nID = AFX_IDW_MENUBAR) override;
    using CQMXPToolBar::Create;

    // Shows the menu: the buttons cached for it, else built from it. The
    // same menu again only leaves maximise mode (unless forced).
    virtual void CreateFromMenu(HMENU hMenu, BOOL bDefaultMenu = FALSE, BOOL bForceUpdate = FALSE);
    // The maximised child's system-menu button first and its window buttons last (on), or neither.
    void SetMaximizeMode(BOOL bMax, CWnd* pWnd = nullptr, BOOL bRecalcLayout = TRUE);
    void SetDefaultMenuResource(UINT uiResID) { m_uiDefMenuResId = uiResID; }
    UINT GetDefaultMenuResId() const { return m_uiDefMenuResId; }
    // Every MDI child of the template's documents gets its shared menu and keys.
    void RefreshChildFrameMenus(CMultiDocTemplate* pTemplate);
    // The frame shows another menu (another document type became active):
    // the bar takes it, and an open menu page selects its document type.
    void ShowFrameMenu(HMENU hMenu);
    // The customisation sheet's menu page that edits this bar; none when closed.
    void SetMenuPage(CQMXPMenuPage* pMenuPage) { m_pMenuPage = pMenuPage; }
    CQMXPMenuPage* GetMenuPage() const { return m_pMenuPage; }
    HMENU GetHMenu() const { return m_hMenu; }
    HMENU GetDefaultMenu() const { return m_hDefaultMenu; }
    BOOL IsMaximizeMode() const { return m_bMaximizeMode; }
    int GetSystemButtonsCount() const { return m_nSystemButtonsNum; }
    CSize GetSystemButtonSize() const { return m_szSystemButton; }

    static void SetShowAllCommands(BOOL bShowAllCommands = TRUE) { m_bShowAllCommands = bShowAllCommands; }
    static BOOL m_bShowAllCommands;
    static CFont& GetMenuFont(BOOL bHorz = TRUE);
    // The text of the first item with the command, depth first (at most 1024 characters).
    static BOOL FindMenuItemText(HMENU hMenu, UINT nItemID, CString& strOutText);

    // The button whose popup is open (none); the frame's drop-down bars tell it too.
    void SetDroppedButton(CQMXPToolbarMenuButton* pButton);
    CQMXPToolbarMenuButton* GetDroppedButton() const { return m_pDroppedButton; }
    // A popup of the bar closed.
    void OnPopupClosed(CQMXPToolbarMenuButton* pButton);

    // Below "<path>QMXMenuBar\": one "QMXToolBar-<id><menu id>" per
    // document type's menu and the default menu (0).
    BOOL LoadState(LPCWSTR lpszProfileName = nullptr, UINT uiID = static_cast<UINT>(-1), int nIndex = -1) override;
    BOOL SaveState(LPCWSTR lpszProfileName = nullptr, UINT uiID = static_cast<UINT>(-1), int nIndex = -1) override;
    BOOL RestoreFromResource() override;
    void ResetAllImages() override;

    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnItemClicked(CQMXPToolbarButton* pButton) override;
    BOOL SetHot(int iHot) override;
    CSize CalcLayout(DWORD dwMode, int nLength = -1) override;
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void AdjustLocations() override;
    // Nothing while a menu's buttons come back from the menu cache: the
    // switch lays the bar out once, with its final buttons.
    void AdjustLayout() override;
    INT_PTR OnToolHitTest(CPoint point, TOOLINFOW* pTI) const override;
    BOOL SetDefaultButtonText(CQMXPToolbarButton* pButton) override;
    int GetRowHeight() const override;
    int GetColumnWidth() const override;
    BOOL AllowShowTextLabels() const override { return FALSE; }
    BOOL IsMenuMode() const override { return TRUE; }

protected:
    afx_msg int OnCreate(LPCREATESTRUCTW lpCreateStruct);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnSettingChange(UINT uFlags, LPCWSTR lpszSection);

    // A document template's shared menu.
    static BOOL IsTemplateMenu(HMENU hMenu);
    // The template whose shared menu it is; none for another menu.
    static CMultiDocTemplate* TemplateOfMenu(HMENU hMenu);
    // The buttons of the menu's items (no cache).
    void BuildButtons(HMENU hMenu);
    // The menu's buttons from the menu cache, not laid out; false when the
    // cache has none or an update is forced.
    BOOL RestoreButtons(HMENU hMenu, BOOL bForceUpdate);
    // The menu's items as reset buttons (when the workspace keeps them).
    void BuildOrigItems(UINT uiMenuResID);
    void MeasureSystemButton();
    BOOL HasImages() const;
    CFrameWnd* ParentFrame() const;
    // Loads or saves one menu's state as the section with the menu's id.
    BOOL LoadMenuState(LPCWSTR lpszProfile, HMENU hMenu, UINT uiMenuResID, BOOL bDefault);
    void SaveMenuState(LPCWSTR lpszProfile, HMENU hMenu, UINT uiMenuResID);

    BOOL m_bDocMenus;
    CFrameWnd* m_pParentWnd;
    BOOL m_bMaximizeMode;
    HMENU m_hMenu;
    HMENU m_hDefaultMenu;
    HMENU m_hSysMenu;
    HICON m_hSysIcon;
    UINT m_uiDefMenuResId;
    int m_nSystemButtonsNum;
    int m_nSystemButtonsNumSaved;
    BOOL m_bHaveButtons;
    CSize m_szSystemButton;
    CQMXPToolbarMenuButton* m_pDroppedButton;
    // The bar fills its row.
    BOOL m_bStretchBar;
    // A menu's buttons are coming back from the menu cache.
    bool m_bRestoringButtons = false;
    CQMXPMenuPage* m_pMenuPage = nullptr;

    DECLARE_MESSAGE_MAP()
};
