#pragma once
// CQMXPToolBar: the docking library's tool bar. This stand-in over the base
// tool bar keeps a row of text buttons that post their commands to the
// owner and follow their commands' update handlers; it docks, floats and is
// dragged as every tool bar is. The customisable tool bar replaces its inside.
#include "docking/toolbars/QMXPBaseToolBar.h"
#include "platform/classlib/FrameWnd.h"
#include "platform/classlib/List.h"
#include "platform/classlib/ObList.h"

#include <vector>

class CQMXPToolbarButton;

// The frame's tool bar context menu (wParam the bar's window, lParam the
// screen point).
extern const UINT QMXTOOLBAR_POPUPMENU;

class CQMXPToolBar : public CQMXPBaseToolBar {
    DECLARE_DYNCREATE(CQMXPToolBar)
public:
    CQMXPToolBar();
    // Deletes the buttons.
    ~CQMXPToolBar() override;

    // The low word of the style (and 0x400000) is the bar style; the bar may float and be closed.
    virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP,
                        UINT nID = AFX_IDW_TOOLBAR);
    using CQMXPControlBar::Create;

    // Takes the button; its index, -1 when it could not be added.
    int InsertButton(CQMXPToolbarButton* pButton, int iInsertAt = -1);
    int GetCount() const;
    // Takes the button out and deletes it; FALSE outside the list.
    BOOL RemoveButton(int iIndex);
    // The button at the zero-based index, null when out of range.
    CQMXPToolbarButton* GetButton(int iIndex) const;
    // The index of the first button with the command, -1 when none has it.
    int CommandToIndex(UINT nID) const;
    // The bar's fixed height; nothing while the bar is locked.
    void SetHeight(int cyHeight);
    void SetLocked(BOOL bLocked) { m_bLocked = bLocked; }

    // Every button with the command on all live tool bars; their number.
    static int CollectButtonsByCommand(UINT nID, CObList& listButtons);
    // Every tool bar made, in creation order.
    static const std::vector<CQMXPToolBar*>& GetAllToolbars();

    // Command usage of short menus: counts one use of a command chosen from
    // a menu; a command is rarely used when short menus may hide it.
    static void CountCommandUse(UINT uiCmd);
    static BOOL IsCommandRarelyUsed(UINT uiCmd);
    // Commands short menus always show; each id once.
    static void AddAlwaysShownCommand(UINT uiCmd);
    static BOOL IsAlwaysShownCommand(UINT uiCmd) { return m_lstBasicCommands.Find(uiCmd) != nullptr; }
    // FALSE for the commands on the library's non-permitted list.
    static BOOL IsCommandPermitted(UINT uiCmd) { return m_lstUnpermittedCommands.Find(uiCmd) == nullptr; }
    // The text colour of hot buttons; -1 goes back to the button text colour.
    static COLORREF GetHotTextColor();
    static void SetHotTextColor(COLORREF clrText) { m_clrTextHot = clrText; }

    // The bar's button size: its own (locked bar) or the library's, current
    // or default, plus the visual manager's extra border when asked for.
    CSize GetButtonSize() const;
    // The stored owner, else the parent.
    CWnd* GetOwnerFrame() const { return GetOwner(); }
    // Where the bar's commands go.
    CWnd* GetCommandTarget() const;
    // TRUE for the bars that are menus.
    virtual BOOL IsMenuMode() const { return FALSE; }
    virtual BOOL IsButtonExtraSizeAvailable() const { return TRUE; }

    // TRUE while the customisation sheet is open.
    static BOOL m_bCustomizeMode;
    static CList<UINT, UINT> m_lstBasicCommands;
    // Commands the library leaves out of the menus and tool bars it builds.
    static CList<UINT, UINT> m_lstUnpermittedCommands;
    // By how much a checked button's fill is shrunk, horizontally and vertically.
    static CSize m_sizeButtonEdgeMargins;
    static COLORREF m_clrTextHot;
    // The library's default and current (large icons) button sizes.
    static CSize m_sizeButton;
    static CSize m_sizeCurButton;

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    // Places the buttons in a row, each as wide as its text; a floating
    // frame then takes the bar's size.
    void AdjustLayout() override;
    void RefreshLayout() override { AdjustLayout(); }
    // A docked bar's buttons start after its gripper.
    void OnChangeBarStyle(DWORD dwNewStyle) override;

protected:
    afx_msg void OnPaint();
    // A press on a button is the button's; elsewhere it drags the bar.
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnSize(UINT nType, int cx, int cy);

    int ButtonFromPoint(CPoint point) const;
    // The width the gripper takes before the buttons: only a docked bar has one.
    int GripperWidth() const;

    CObList m_Buttons;
    int m_cyHeight;
    BOOL m_bLocked;
    // The bar's own sizes when it is locked.
    CSize m_sizeButtonLocked;
    CSize m_sizeCurButtonLocked;
    // The current sizes (large icons) rather than the defaults.
    BOOL m_bLargeIconsAreEnbaled;

    DECLARE_MESSAGE_MAP()
};
