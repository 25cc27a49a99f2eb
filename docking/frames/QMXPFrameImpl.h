#pragma once
// CQMXPFrameImpl: what every docking-library frame shares, embedded in each
// of them: the menu bar that replaces the frame's Windows menu, the
// user-defined and torn-off tool bars with their registry state, the bridge
// between the workspace and the frame's dock manager, the saved window
// placement, and the routing of keys and clicks while a library popup menu
// is open. The frames call it from their handlers; it gets no messages.
#include "platform/classlib/ObList.h"
#include "platform/classlib/Rect.h"
#include "platform/classlib/String.h"

#include <windows.h>

class CDockState;
class COleClientItem;
class CFrameWnd;
class CQMXPDockManager;
class CQMXPMenuBar;
class CQMXPPopupMenu;
class CQMXPToolBar;
class CWnd;

// The string shown when every user tool-bar id is taken.
constexpr UINT IDS_QMXP_TOOLBARS_MAX = 16243;

// The result of WM_MENUCHAR for a character the library's bars took.
constexpr LRESULT QMXP_MENUCHAR_TAKEN = static_cast<LRESULT>(0xFFFF0002);

// A docked menu bar takes the keyboard focus when one of its menus opens.
extern BOOL qmxMenuBarTakesFocus;

// What a frame's PreTranslateMessage does with a message after the routing.
enum class QMXPRoute {
    Consumed,     // TRUE at once
    PassOn,       // the class library's PreTranslateMessage
    NoTranslate,  // FALSE: a control on a tool bar has the keys, no accelerators
};

// The messages a frame routes (RouteFrameMessage).
constexpr DWORD QMXP_ROUTE_SYSKEYS = 0x1;       // Alt, system keys and the context-menu key
constexpr DWORD QMXP_ROUTE_ALT_HIDDEN = 0x2;    // Alt alone also reaches a hidden menu bar
constexpr DWORD QMXP_ROUTE_DBLCLICKS = 0x4;     // double clicks as clicks
constexpr DWORD QMXP_ROUTE_KEY_NO_FLAG = 0x8;   // key downs never refuse the accelerators

class CCmdUI;

class CQMXPFrameImpl {
public:
    explicit CQMXPFrameImpl(CFrameWnd* pFrame);
    // Deletes the user and tear-off bars left.
    virtual ~CQMXPFrameImpl();
    CQMXPFrameImpl(const CQMXPFrameImpl&) = delete;
    CQMXPFrameImpl& operator=(const CQMXPFrameImpl&) = delete;

    void AddTearOffToolbar(CWnd* pToolBar);
    void RemoveTearOffToolbar(CWnd* pToolBar);
    BOOL IsUserDefinedToolbar(const CWnd* pToolBar) const;
    // The implementation that the library frame embeds; none for another window.
    static CQMXPFrameImpl* FromFrame(const CWnd* pFrame);

    // The dock manager's own layout below the profile.
    void SaveDockState(LPCWSTR lpszProfile);
    void LoadDockState(LPCWSTR lpszProfile);
    void SetDockState(const CDockState& state);

    // F1 down, no repeat, no Shift, Ctrl or Alt.
    static BOOL IsHelpKey(const MSG* pMsg);
    // The frame's context-help mode with the tool bars' help-mode mouse hook
    // around it; bInContextHelp is TRUE meanwhile.
    void OnContextHelp(BOOL& bInContextHelp);
    // WinHelp with data 0 during context help starts the mode again: TRUE
    // when it did, FALSE for the class library's WinHelp.
    BOOL RepeatContextHelp(DWORD_PTR dwData, BOOL& bInContextHelp);
    // After the class library's menu update: an item active in place shows
    // its menu as a Windows menu; otherwise a shown menu bar stands for it.
    void UpdateFrameMenu(HMENU hMenuAlt, COleClientItem* pActiveItem);
    // The border space of an in-place item: the area the docked bars leave,
    // every request granted, the class library's for setting it.
    BOOL NegotiateBorderSpace(UINT nBorderCmd, LPRECT lpRectBorder);
    // The in-place active item of the active view's document; none when
    // there is none or the document holds no items.
    COleClientItem* GetInPlaceActiveItem() const;
    // Closes the open menu of the menu bar (not while customising).
    void DeactivateMenu();
    // The visible windows the frame owns (the customisation sheet, floating
    // bars) put back above it after the frame came to the top, keeping
    // their order among themselves and below the windows of the frame's
    // thread already above it: a click on the frame never buries them, nor
    // raises them over the menu it opened.
    void KeepOwnedWindowsAbove();

    // The workspace loads its state for this frame.
    void OnLoadFrame();
    // The workspace and the window placement are saved.
    void OnCloseFrame();
    // The stored placement replaces the creation rectangle and the show command.
    void RestorePosition(CREATESTRUCTW& cs);
    // The frame's menu goes to the menu bar; the frame shows no Windows menu.
    void SetMenuBar(CQMXPMenuBar* pMenuBar);

    // User-defined tool bars in the id range [first, last].
    CQMXPToolBar* CreateNewToolbar(LPCWSTR lpszName);
    BOOL DeleteToolbar(CQMXPToolBar* pToolBar);
    void LoadUserToolbars();
    void SaveUserToolbars(BOOL bFrameBarsOnly = FALSE);
    // Tool bars torn off menus, one registry key each.
    void LoadTearOffMenus();
    void SaveTearOffMenus(BOOL bFrameBarsOnly = FALSE);

    // TRUE: the key (or accelerator command) is consumed. *pbProcessAccel
    // comes back FALSE when a control on a tool bar has the focus.
    BOOL ProcessKeyboard(int nKey, BOOL* pbProcessAccel = nullptr);
    BOOL ProcessMouseClick(UINT uiMsg, CPoint pt, HWND hwnd);
    static BOOL ProcessMouseMove(CPoint pt);
    BOOL OnShowPopupMenu(CQMXPPopupMenu* pMenuPopup);
    BOOL OnMenuChar(UINT nChar);

    // The routing of keys and clicks that every library frame's
    // PreTranslateMessage starts with.
    QMXPRoute RouteFrameMessage(MSG* pMsg, DWORD dwRoute);
    // What every library frame's OnCommand does before the class library's:
    // an accelerator is counted, closes an open menu instead, or runs a
    // user tool; customising runs nothing. TRUE: bResult is the answer.
    BOOL PreCommand(WPARAM wParam, BOOL& bResult);
    // The bar show commands (tool bar, status bar, rebar) on the dock
    // manager's bars; the check is the window's visibility or, with
    // bStyleBit, its WS_VISIBLE bit.
    void UpdateBarCommand(CCmdUI* pCmdUI, BOOL bStyleBit);
    BOOL ToggleBarCommand(UINT nID, BOOL bStyleBit);

    // The tear-off section: "<workspace path>ControlBars-TearOff".
    CString GetTearOffSection() const;

    UINT m_uiUserToolbarFirst;
    UINT m_uiUserToolbarLast;
    CObList m_listUserDefinedToolbars;
    CObList m_listTearOffToolbars;
    CString m_strControlBarRegEntry;
    CQMXPMenuBar* m_pMenuBar;
    HMENU m_hDefaultMenu;
    CFrameWnd* m_pFrame;
    CQMXPDockManager* m_pDockManager;
    UINT m_nIDDefaultResource;

protected:
    // The lowest id of the range that no user bar has; -1 when none is free.
    UINT GetFreeCtrlBarID() const;
    // Style bits and docking of a user or torn-off bar after its creation.
    static void SetupUserBar(CQMXPToolBar* pBar);
    // TRUE once for the release of Alt after a chord the frame took.
    BOOL TakeAltChordEnd();

    // An Alt chord (Alt with another key) was taken by the frame: a menu
    // opened by its letter, or a key passed to the open menu.
    BOOL m_bAltChordTaken;
};
