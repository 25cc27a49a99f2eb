#pragma once
// CQMXPPopupMenu: every drop-down menu of the library (menu-bar menus,
// sub-menus, context menus, the font and colour popups): a borderless popup
// frame that holds one item bar. It builds the items from a menu handle
// (with the recent files and user tools spliced in), places itself inside
// the work area of its monitor, unfolds, slides or fades in, draws a drop
// shadow, scrolls when it is taller than the screen, tears off into a
// floating tool bar and passes keys between the menus of its chain. It
// never takes activation, and deletes itself when it closes.
#include "docking/toolbars/QMXPPopupMenuBar.h"
#include "platform/classlib/GdiObject.h"
#include "platform/classlib/MiniFrameWnd.h"
#include "platform/classlib/ToolTipCtrl.h"

#include <memory>

class CQMXPDibSection;
class CQMXPMenuPage;
class CQMXPToolbarMenuButton;

// Where a popup opened: normal, above its button, left of its parent.
constexpr int QMXP_DROP_NONE = 0;
constexpr int QMXP_DROP_DOWN = 1;
constexpr int QMXP_DROP_UP = 2;
constexpr int QMXP_DROP_RIGHT = 3;
constexpr int QMXP_DROP_LEFT = 4;

// HitTest's answers.
constexpr int QMXP_MENU_HIT_INSIDE = 0;
constexpr int QMXP_MENU_HIT_SHADOW_RIGHT = 1;
constexpr int QMXP_MENU_HIT_SHADOW_BOTTOM = 2;
constexpr int QMXP_MENU_HIT_LOGO = 3;
constexpr int QMXP_MENU_HIT_OUTSIDE = 4;
constexpr int QMXP_MENU_HIT_TEAR_OFF = 5;

// The animations of MenuAnimation.
constexpr int QMXP_ANIMATION_NONE = 0;
constexpr int QMXP_ANIMATION_UNFOLD = 1;
constexpr int QMXP_ANIMATION_SLIDE = 2;
constexpr int QMXP_ANIMATION_FADE = 3;

class CQMXPPopupMenu : public CMiniFrameWnd {
    DECLARE_DYNCREATE(CQMXPPopupMenu)
public:
    CQMXPPopupMenu();
    // A context menu edited on the customisation sheet's menu page.
    CQMXPPopupMenu(CQMXPMenuPage* pMenuPage, LPCWSTR lpszTitle);
    // Destroys the menu handle when the popup owns it.
    ~CQMXPPopupMenu() override;

    // The item bar.
    virtual CQMXPPopupMenuBar* GetMenuBar() { return &wndMenuBar; }
    // The item bar keeps the menu open when the application is deactivated.
    virtual BOOL IsBarKeepOpen() { return GetMenuBar()->m_bKeepOpen; }
    // Turns the menu into a floating tool bar at the point (client coordinates).
    virtual BOOL TearOff(CPoint point);
    // A tool bar of the menu's items for the frame; none when it cannot be made.
    virtual CQMXPToolBar* CreateTearOffBar(CFrameWnd* pWndMain, UINT uiID, LPCWSTR lpszName);
    // Shows the menu's items at (x, y) in screen coordinates for the window.
    // FALSE when the window cannot be made: the object has deleted itself
    // (PostNcDestroy), and the menu, which it owns only once shown, stays the
    // caller's.
    virtual BOOL Create(CWnd* pWndParent, int x, int y, HMENU hMenuIn, BOOL bLocked = FALSE,
                        BOOL bOwnMessage = FALSE);

    // Closes this popup; a top-level one may give the focus back to its bar.
    void CloseMenu(BOOL bSetFocusToBar = FALSE);
    // Tells the message window and the frame that the popup is the open menu
    // (none: no menu); a refused popup closes itself. FALSE when refused.
    static BOOL RegisterActivePopup(CWnd* pTopFrame, CQMXPPopupMenu* pPopup);
    static CQMXPPopupMenu* GetActiveMenu() { return activePopupMenu; }

    CQMXPPopupMenu* GetParentPopup() const;
    CQMXPToolBar* GetParentToolBar() const;
    CQMXPToolbarMenuButton* GetParentButton() const { return pParentBtn; }
    CQMXPToolbarMenuButton* GetSelItem();
    CQMXPToolbarButton* GetMenuItem(int iIndex);
    int GetMenuItemCount();
    int InsertItem(const CQMXPToolbarButton& button, int iInsertAt = -1);
    int InsertSeparator(int iInsertAt = -1);
    BOOL HasParentButton() const { return pParentBtn != nullptr; }
    // Every item cancels its mode: open sub-menus close.
    void CancelItemModes();
    // WM_COMMAND to the message window; FALSE without one.
    BOOL PostCommand(UINT uiCommandID);
    int HitTest(CPoint ptScreen) const;
    // The menu again with every command (a short menu of a menu button).
    void ShowAllCommands();
    // The shadow parts over rect (screen) are drawn again after the
    // windows below repainted it.
    void RepaintShadow(const CRect& rect);
    static void RepaintAllShadows(const CRect* pRect = nullptr);
    // The frame the popup belongs to (the owner's top-level frame).
    CFrameWnd* GetOwnerFrame() const;
    // TRUE while the popup's bar runs a command.
    BOOL IsCommandInProgress() { return GetMenuBar()->m_bCommandInProgress; }
    // The placement on the screen (RecalcLayout); also after a rebuild.
    void RecalcLayout(BOOL bNotify = TRUE) override;
    // The work area of the monitor nearest the point; tests may replace it.
    static CRect (*pfnWorkAreaAt)(CPoint pt);
    static CRect WorkAreaAt(CPoint pt);

    BOOL bCloseParentChain;
    CWnd* pMessageWnd;
    CQMXPToolbarMenuButton* pParentBtn;
    int dropDirection;
    CQMXPPopupMenuBar wndMenuBar;
    HMENU hMenu;
    CPoint ptLocation;
    CPoint ptLocationInitial;
    CSize sizeFinal;
    int menuBarHeight;
    BOOL bOwnMenu;
    // Create made the window: from then on an owned menu goes with the object.
    BOOL bMade;
    BOOL bTrackMode;
    BOOL bShown;
    BOOL bDestroying;
    // An item was chosen: the bar that opened the chain gave the focus back
    // already, and the last menu going leaves it there.
    BOOL bFocusGivenBack;
    int iDefaultItem;
    int logoSize;
    int logoLocation;
    CQMXPMenuPage* pMenuPage;
    CString title;
    CSize sizeAnimated;
    BOOL bAnimateFromLeft;
    BOOL bAnimateFromTop;
    BOOL bAnimationFinished;
    BOOL bScrollable;
    CRect rectScrollUp;
    CRect rectScrollDn;
    int scrollDirection;
    int scrollButtonHeight;
    int fadePercent;
    int shadowDepth;
    CBitmap bmpShadowBottom;
    CBitmap bmpShadowRight;
    BOOL bTearOffTracking;
    BOOL bTearOffHighlighted;
    CRect rectTearOffCaption;
    CToolTipCtrl wndToolTip;

    // The opening animation of every popup: 0 none, 1 unfold, 2 slide, 3 fade.
    static int animationType;
    // Popups draw a shadow ("MenuShadows").
    static BOOL bMenuShadows;
    // The popup the frame routes keys and clicks to; none while no menu is open.
    static CQMXPPopupMenu* activePopupMenu;
    // Milliseconds between two animation steps.
    static const int animationPeriod;

protected:
    void CommonInit();
    // The items again (all of them with bShowAll), then placement.
    BOOL BuildMenu(BOOL bShowAll = FALSE);
    // The recent files in place of the "Recent File" item, the user tools
    // in place of theirs.
    void InsertRecentFiles();
    void InsertUserTools();
    // The item bar in the client area less shadow, borders, logo, strip
    // and scroll buttons.
    void AdjustScroll();
    // Drops a shadow that would leave the owner frame's window.
    void CheckShadow();
    void DrawFull(CDC* pDC);
    void DrawAnimated(CDC* pDC);
    void DrawScrollButton(CDC* pDC, const CRect& rect, BOOL bUp, BOOL bHot);
    void StartAnimation();
    void OnAnimationTick();
    void OnScrollTick();
    void ScrollTo(int iOffset);
    // The highlighted item brought into view after a key moved it.
    void EnsureSelectionVisible();
    void WriteBackCustomizedItems();
    // The focus back to the tool bar that opened the last menu, unless it has it.
    static void GiveFocusBackToBar(CQMXPToolBar* pBar);

    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    afx_msg int OnCreate(LPCREATESTRUCTW lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    afx_msg void OnDestroy();
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnActivateApp(BOOL bActive, DWORD dwThreadID);

    // The animation's images: the screen under the menu, the menu, the blend.
    std::unique_ptr<CQMXPDibSection> m_pDibScreen;
    std::unique_ptr<CQMXPDibSection> m_pDibMenu;
    std::unique_ptr<CQMXPDibSection> m_pDibAnimated;
    // The tick of the last animation step.
    static DWORD s_dwLastAnimationTime;

    DECLARE_MESSAGE_MAP()
};
