#pragma once
// CQMXPToolBar: the docking library's customisable tool bar, base of the
// menu bar and the popup menu bars. It keeps its button objects in order,
// measures them and lays them out in rows (wrapping when it floats),
// paints them double-buffered through the visual manager from the image
// strips every tool bar shares, tracks the mouse over them (hot, pressed,
// checked), sends their commands to its owner, shows tool tips with the
// commands' shortcut keys, is built from tool-bar resources and keeps its
// buttons in the registry. The library-wide sizes, strips, options and
// lists are its static members.
#include "docking/frames/QMXPToolbarDropTarget.h"
#include "docking/toolbars/QMXPBaseToolBar.h"
#include "docking/toolbars/QMXPControlBarImpl.h"
#include "docking/toolbars/QMXPToolBarImages.h"
#include "platform/classlib/FrameWnd.h"
#include "platform/classlib/GdiObject.h"
#include "platform/classlib/List.h"
#include "platform/classlib/Map.h"
#include "platform/classlib/ObList.h"
#include "platform/classlib/ToolTipCtrl.h"

#include <vector>

class CCustomizeButton;
class CMenu;
class COleDataObject;
class COleDataSource;
class CQMXPReBar;
class CQMXPRegistry;
class CQMXPToolbarButton;
class CQMXPToolbarMenuButton;

// The library's registered messages (see CQMXPToolBar.cpp for what each carries).
extern const UINT QMXTOOLBAR_POPUPMENU;
extern const UINT QMXTOOLBAR_CUSTOMIZE;
extern const UINT QMXTOOLBAR_CREATE;
extern const UINT QMXTOOLBAR_DELETE;
extern const UINT QMXTOOLBAR_CUSTOMIZEHELP;
extern const UINT QMXTOOLBAR_RESETTOOLBAR;
extern const UINT QMXTOOLBAR_RESETMENU;
extern const UINT QMXTOOLBAR_SHOWREGULARMENU;
extern const UINT QMXTOOLBAR_RESETCONTEXTMENU;
extern const UINT QMXTOOLBAR_RESETKEYBAORD;
extern const UINT QMXM_TOLBARCHANGEALIGN;

// The image resources of one load, 0 where none is given.
struct CQMXPToolBarParams {
    UINT m_uiColdResID = 0;
    UINT m_uiHotResID = 0;
    UINT m_uiDisabledResID = 0;
    UINT m_uiLargeColdResID = 0;
    UINT m_uiLargeHotResID = 0;
    UINT m_uiLargeDisabledResID = 0;
    UINT m_uiMenuResID = 0;
    UINT m_uiMenuDisabledResID = 0;
};

// The dynamic-layout mode bits of CalcLayout.
constexpr DWORD QMXP_LM_STRETCH = 0x01;
constexpr DWORD QMXP_LM_HORZ = 0x02;
constexpr DWORD QMXP_LM_MRUWIDTH = 0x04;
constexpr DWORD QMXP_LM_HORZDOCK = 0x08;
constexpr DWORD QMXP_LM_VERTDOCK = 0x10;
constexpr DWORD QMXP_LM_LENGTHY = 0x20;
constexpr DWORD QMXP_LM_COMMIT = 0x40;

// Bar styles of a tool bar: the gripper, fixed and dynamic size.
constexpr DWORD QMXP_CBRS_GRIPPER = 0x00400000;
constexpr DWORD QMXP_CBRS_SIZE_FIXED = 0x0002;
constexpr DWORD QMXP_CBRS_SIZE_DYNAMIC = 0x0004;
constexpr DWORD QMXP_CBRS_HIDE_INPLACE = 0x0008;

// The button menu of customise mode (its first sub-menu) and its commands.
constexpr UINT QMXP_IDR_CUSTOMIZE_MENU = 16102;
constexpr UINT QMXP_ID_CUSTOMIZE_RESET = 16910;
constexpr UINT QMXP_ID_CUSTOMIZE_COPY_IMAGE = 16911;
constexpr UINT QMXP_ID_CUSTOMIZE_DELETE = 16912;
constexpr UINT QMXP_ID_CUSTOMIZE_APPEARANCE = 16913;
constexpr UINT QMXP_ID_CUSTOMIZE_IMAGE = 16914;
constexpr UINT QMXP_ID_CUSTOMIZE_TEXT = 16915;
constexpr UINT QMXP_ID_CUSTOMIZE_IMAGE_AND_TEXT = 16916;
constexpr UINT QMXP_ID_CUSTOMIZE_START_GROUP = 16917;
constexpr UINT QMXP_ID_CUSTOMIZE_NEW_MENU = 16918;

class CQMXPToolBar : public CQMXPBaseToolBar {
    DECLARE_SERIAL(CQMXPToolBar)
    friend class COldToolCmdUI;
    friend class CQMXPControlBarImpl;

public:
    CQMXPToolBar();
    // Deletes the buttons and the reset buttons.
    ~CQMXPToolBar() override;

    // --- Creation -------------------------------------------------------
    // The bar style keeps the style's low word and the gripper; the window
    // class is "QMXToolBar:..." (registered once).
    virtual BOOL Create(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, CRect rcBorders, UINT nID);
    // Flat, with borders of one pixel.
    virtual BOOL CreateEx(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP,
                          UINT nID = AFX_IDW_TOOLBAR);
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT nID = AFX_IDW_TOOLBAR) {
        return CreateEx(pParentWnd, dwStyle, nID);
    }
    using CQMXPControlBar::Create;
    using CQMXPControlBar::CreateEx;

    // --- Loading --------------------------------------------------------
    virtual BOOL LoadBitmap(UINT uiResID, UINT uiColdResID = 0, UINT uiMenuResID = 0, BOOL bLocked = FALSE,
                            UINT uiDisabledResID = 0, UINT uiMenuDisabledResID = 0);
    virtual BOOL LoadToolBar(UINT uiResID, UINT uiColdResID = 0, UINT uiMenuResID = 0, BOOL bLocked = FALSE,
                             UINT uiDisabledResID = 0, UINT uiMenuDisabledResID = 0, UINT uiHotResID = 0);
    // The normal strip must load, and every other one given.
    virtual BOOL LoadBitmapEx(CQMXPToolBarParams& params, BOOL bLocked = FALSE);
    // Buttons and images from a tool-bar resource (type 241); FALSE when it is missing.
    virtual BOOL LoadToolBarEx(UINT uiToolbarResID, CQMXPToolBarParams& params, BOOL bLocked = FALSE);
    // Rebuilds the buttons (a separator for id 0); with bRemapImages each
    // command takes the next image of the bar.
    BOOL SetButtons(const UINT* lpIDArray, int nIDCount, BOOL bRemapImages = TRUE);
    virtual void ResetAllImages();
    virtual BOOL CanBeRestored() const { return m_uiOriginalResID != 0; }
    virtual BOOL RestoreFromResource();

    // --- Buttons --------------------------------------------------------
    // Takes the button; the index used, -1 when refused.
    virtual int InsertButton(CQMXPToolbarButton* pButton, int iInsertAt = -1);
    // Inserts a copy.
    virtual int InsertButton(const CQMXPToolbarButton& button, int iInsertAt = -1);
    virtual int InsertSeparator(int iInsertAt = -1);
    // Takes the button out and deletes it; FALSE outside the list.
    BOOL RemoveButton(int iIndex);
    // Takes the button out and deletes it, nothing else; the remembered indexes follow.
    void RemoveButtonAt(int iIndex);
    virtual void RemoveAllButtons();
    // Copies of the button take the places of the command's buttons; their number.
    int ReplaceButton(UINT uiCmd, const CQMXPToolbarButton& button, BOOL bAll = FALSE);
    int GetCount() const;
    CQMXPToolbarButton* GetButton(int iIndex) const;
    int CommandToIndex(UINT nIDFind, int iIndexFirst = 0) const;
    int ButtonToIndex(const CQMXPToolbarButton* pButton) const;
    UINT GetItemID(int nIndex) const;
    virtual void GetItemRect(int nIndex, LPRECT lpRect) const;
    virtual void GetInvalidateItemRect(int nIndex, LPRECT lpRect) const;
    UINT GetButtonStyle(int nIndex) const;
    virtual void SetButtonStyle(int nIndex, UINT nStyle);
    BOOL SetButtonText(int nIndex, LPCWSTR lpszText);
    CString GetButtonText(int nIndex) const;
    // Shows or hides a button's text and image; a shown empty text becomes the command's.
    BOOL SetButtonLabel(int nIndex, LPCWSTR lpszText, BOOL bShowText = TRUE, BOOL bShowImage = TRUE);
    virtual BOOL SetDefaultButtonText(CQMXPToolbarButton* pButton);
    // The text of the command's button into the buffer (at most nMax
    // characters with the zero); its length, 0 when none.
    int GetButtonTextByCommand(UINT uiCmd, LPWSTR lpszText, int nMax) const;
    CQMXPToolbarButton* GetHighlightedButton() const;
    virtual int HitTest(CPoint point);
    void InvalidateButton(int nIndex);
    void RebuildAccelerators();
    // The upper-cased letter that the text of a button showing it underlines
    // (after the first "&" that is not "&&"); 0 for none.
    static wchar_t MnemonicOf(const CQMXPToolbarButton& button);
    BOOL ResourceButtonsChanged() const { return m_bResourceWasChanged; }

    // --- Sizes ----------------------------------------------------------
    static void SetSizes(SIZE sizeButton, SIZE sizeImage);
    void SetLockedSizes(SIZE sizeButton, SIZE sizeImage);
    static void SetLargeIcons(BOOL bLargeIcons = TRUE);
    static BOOL IsLargeIcons() { return m_bLargeIcons; }
    static CSize GetMenuImageSize();
    static CSize GetMenuButtonSize();
    void EnableTextLabels(BOOL bEnable = TRUE);
    BOOL AreTextLabels() const { return m_bTextLabels; }
    void SetSizesFollowLargeIcons(BOOL bFollow) { m_bLargeIconsAreEnbaled = bFollow; }
    CSize GetButtonSize() const;
    CSize GetImageSize() const;
    virtual int GetRowHeight() const;
    virtual int GetColumnWidth() const;
    virtual BOOL IsButtonExtraSizeAvailable() const { return TRUE; }
    // The bar's fixed height: its rows are at least this high; nothing while locked.
    void SetHeight(int cyHeight);
    void SetLocked(BOOL bLocked) { m_bLocked = bLocked; }
    BOOL IsLocked() const { return m_bLocked; }
    UINT GetResourceID() const { return m_uiOriginalResID; }

    // --- Layout ---------------------------------------------------------
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    CSize CalcLayoutSize(int nLength, BOOL bVert) override;
    virtual CSize CalcLayout(DWORD dwMode, int nLength = -1);
    virtual CSize CalcSize(BOOL bVertDock);
    // The number of rows for the width (and height limit).
    int WrapToolBar(int nWidth, int nHeight = 32767);
    void SizeToolBar(int nLength, BOOL bVert = FALSE);
    // Each button's size along the bar's current alignment (the chevron left out).
    void MeasureForWrap(std::vector<CSize>& sizes);
    // WrapToolBar with the sizes measured before.
    int WrapMeasured(const std::vector<CSize>& sizes, int nWidth, int nHeight = 32767);
    virtual void AdjustLocations();
    void AdjustLayout() override;
    void RefreshLayout() override { AdjustLayout(); }
    void OnAfterFloat() override;
    void OnChangeBarStyle(DWORD dwNewStyle) override;
    void EnableDocking(DWORD dwAlignment) override;
    BOOL CanBeClosed() const override { return !m_bPermament; }
    // The separator's rectangle; a wrapping separator on a horizontal bar spans the bar.
    virtual CRect GetSeparatorRect(const CQMXPToolbarButton* pButton, BOOL bHorz) const;
    // The height of the tallest labelled button; 0 without labels.
    virtual int CalcMaxButtonHeight();

    // --- Painting -------------------------------------------------------
    void DoPaint(CDC* pDC) override;
    virtual BOOL DrawButton(CDC* pDC, CQMXPToolbarButton* pButton, CQMXPToolBarImages* pImages, BOOL bHighlighted,
                            BOOL bDrawDisabledImages);
    virtual void DrawSeparator(CDC* pDC, const CRect& rect, BOOL bHorz);
    virtual void OnFillBackground(CDC* pDC) {}

    // --- Input and commands ---------------------------------------------
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    void UpdateButtonCmdUI(int iButton);
    BOOL PreTranslateMessage(MSG* pMsg) override;
    INT_PTR OnToolHitTest(CPoint point, TOOLINFOW* pTI) const override;
    virtual void Deactivate();
    virtual void RestoreFocus();
    virtual BOOL ProcessMnemonic(UINT uiChar);
    // A key for the bar's own navigation (menus); FALSE when not taken.
    virtual BOOL ProcessKey(UINT nChar) { return FALSE; }
    // The open menu moves to the previous or next menu button; FALSE with no menu open.
    virtual BOOL PrevMenu();
    virtual BOOL NextMenu();
    // The open menu follows the hot button (menu bars).
    virtual BOOL SetHot(int iHot);
    // TRUE: the bar handled the click on the button itself (no command sent).
    virtual BOOL OnItemClicked(CQMXPToolbarButton* pButton) { return FALSE; }
    // The first menu button whose popup is open, and its index; none.
    CQMXPToolbarMenuButton* FindOpenMenuButton(int* piIndex = nullptr) const;
    // Opens a menu button's popup (delayed click) and selects its first item.
    BOOL OpenMenuButton(CQMXPToolbarButton* pButton);
    virtual void ShowCommandMessageString(UINT uiCmdId);
    BOOL InvokeButtonCommand(CQMXPToolbarButton* pButton);
    virtual CWnd* GetCommandTarget() const;
    // The stored owner, else the parent.
    CWnd* GetOwnerFrame() const { return GetOwner(); }
    virtual BOOL IsMenuMode() const { return m_bMenuMode; }
    virtual BOOL ShowsButtonAsMenuItem(const CQMXPToolbarButton*) const { return FALSE; }
    virtual BOOL AllowShowTextLabels() const { return TRUE; }
    // Installed by the frames around their context-help mode.
    static void SetHelpModeMouseHook(BOOL bSet = TRUE);
    static LRESULT CALLBACK HelpModeMouseHookProc(int nCode, WPARAM wParam, LPARAM lParam);

    // --- The chevron ----------------------------------------------------
    // The chevron at the bar's end (with the customise command, when
    // given), or none; the hidden buttons open from it.
    void EnableCustomizeButton(BOOL bEnable, UINT uiCustomizeCmd = 0, LPCWSTR lpszCustomizeText = nullptr);
    CCustomizeButton* GetCustomizeButton() const;

    // --- Customisation edits --------------------------------------------
    BOOL DeleteSelectedButton();
    void ToggleBeginGroup();
    void DragGroupSeparator(CQMXPToolbarButton* pButton, CPoint ptStart, CPoint ptEnd);
    virtual BOOL OnDrop(COleDataObject* pDataObject, DWORD dropEffect, CPoint point);
    virtual CQMXPToolbarButton* CreateDroppedButton(COleDataObject* pDataObject);
    // Takes the resource's changes since the reset buttons were stored.
    virtual void MergeResourceChanges(CObList& lstResourceButtons);
    BOOL IsUserDefined() const;

    // --- Customise mode -------------------------------------------------
    // Every bar into or out of customise mode; FALSE when already so.
    static BOOL SwitchCustomizeMode(BOOL bCustomize = TRUE);
    // Pressed, hot and selected cleared; the buttons' controls disabled while on.
    virtual void OnCustomizeMode(BOOL bSet);
    virtual BOOL PrepareCustomizeMenu(CQMXPToolbarButton* pButton, CMenu* pMenu);
    virtual void DrawDragMarker(CDC* pDC);
    // The steps of a button dragged over the bar (the drop target's).
    virtual DROPEFFECT OnDragEnter(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual DROPEFFECT OnDragOver(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual void OnDragLeave();
    // The index a button dropped at the point takes and its insertion mark;
    // -1 and an empty mark when nothing may be dropped there.
    virtual int FindDropIndex(CPoint point, CRect& rectDrag) const;
    // Whether a dragged button may come onto this bar: the base bar takes
    // every button that agrees; derived bars refuse kinds of their own.
    virtual BOOL CanAcceptButton(CQMXPToolbarButton* pButton);
    int GetSelectedIndex() const { return m_iSelected; }
    CQMXPToolbarDropTarget& GetDropTarget() { return m_DropTarget; }

    // --- State ----------------------------------------------------------
    // "QMXToolBar-<id>" (and the index in hexadecimal): "Name" and
    // "Buttons", then the control bar's own values.
    BOOL SaveState(LPCWSTR lpszProfileName = nullptr, UINT uiID = static_cast<UINT>(-1),
                   int nIndex = -1) override;
    BOOL LoadState(LPCWSTR lpszProfileName = nullptr, UINT uiID = static_cast<UINT>(-1),
                   int nIndex = -1) override;
    // Whether the registry holds the buttons of the bar uiID, which LoadState needs.
    static BOOL HasStoredState(LPCWSTR lpszProfileName, UINT uiID, int nIndex = -1);
    virtual BOOL RemoveStateFromRegistry(LPCWSTR lpszProfileName = nullptr, UINT uiID = static_cast<UINT>(-1),
                                         int nIndex = -1);
    // Alignment and visibility, then (unless locked) the buttons, the
    // labels flag, the name and the most recently used width.
    void Serialize(CArchive& ar) override;
    virtual BOOL SaveResetState(CQMXPRegistry* pReg);
    virtual BOOL LoadResetState(CQMXPRegistry* pReg);
    // The options of every tool bar under "QMXToolbarParameters".
    static BOOL SaveParameters(LPCWSTR lpszProfileName = nullptr);
    static BOOL LoadParameters(LPCWSTR lpszProfileName = nullptr);

    // --- Library-wide lookups -------------------------------------------
    static int CollectButtonsByCommand(UINT uiCmd, CObList& listButtons);
    static const std::vector<CQMXPToolBar*>& GetAllToolbars();
    // Command usage of short menus.
    static void CountCommandUse(UINT uiCmd);
    static BOOL IsCommandRarelyUsed(UINT uiCmd);
    static void AddAlwaysShownCommand(UINT uiCmd);
    static BOOL IsAlwaysShownCommand(UINT uiCmd) { return m_lstBasicCommands.Find(uiCmd) != nullptr; }
    static BOOL IsCommandPermitted(UINT uiCmd) { return m_lstUnpermittedCommands.Find(uiCmd) == nullptr; }
    static COLORREF GetHotTextColor();
    static void SetHotTextColor(COLORREF clrText) { m_clrTextHot = clrText; }

    // --- Library-wide state ---------------------------------------------
    static BOOL m_bCustomizeMode;
    // Alt and a press drag a button outside customise mode.
    static BOOL m_bAltCustomization;
    static BOOL m_bAltCustomizing;
    static BOOL m_bLargeIcons;
    static BOOL m_bShowTooltips;
    static BOOL m_bShowShortcutKeys;
    static BOOL m_bRecentlyUsedMenus;
    static BOOL m_bShowAllMenusAfterDelay;
    static CSize m_sizeButton;
    static CSize m_sizeImage;
    static CSize m_sizeCurButton;
    static CSize m_sizeCurImage;
    static CSize m_sizeMenuImage;
    static CSize m_sizeMenuButton;
    static CQMXPToolBarImages m_Images;
    static CQMXPToolBarImages m_ColdImages;
    static CQMXPToolBarImages m_MenuImages;
    static CQMXPToolBarImages m_DisabledImages;
    static CQMXPToolBarImages m_DisabledMenuImages;
    static CQMXPToolBarImages m_LargeImages;
    static CQMXPToolBarImages m_LargeColdImages;
    static CQMXPToolBarImages m_LargeDisabledImages;
    static CQMXPToolBarImages* m_pUserImages;
    // The image of every command put on an unlocked bar (the default images).
    static CMap<UINT, UINT, int, int> m_DefaultImages;
    // Commands no bar accepts: insertion refuses them, loading removes them.
    static CList<UINT, UINT> m_lstUnpermittedCommands;
    static CList<UINT, UINT> m_lstBasicCommands;
    static CSize m_sizeButtonEdgeMargins;
    static COLORREF m_clrTextHot;
    // The bar whose button is selected in customise mode.
    static CQMXPToolBar* m_pSelToolbar;

protected:
    afx_msg int OnCreate(LPCREATESTRUCTW lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSysColorChange();
    afx_msg void OnSettingChange(UINT uFlags, LPCWSTR lpszSection);
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg void OnNcPaint();
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg void OnCancelMode();
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnWindowPosChanging(WINDOWPOS* lpwndpos);
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnCustomizeCommand(UINT nID);
    afx_msg LRESULT OnHelpHitTest(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnButtonCount(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetItemRect(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetButton(WPARAM wParam, LPARAM lParam);
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    BOOL OnNeedToolTipText(NMHDR* pNMH, LRESULT* pResult);

    // The mouse-move logic, also run by the help-mode hook and after a release.
    void TrackMouse(CPoint point);
    // Pressed and hot buttons forgotten, the capture released (WM_CANCELMODE).
    void CancelMouseState();
    void SendIdlePrompt();
    // The tools of the tool tip control, one per button.
    void UpdateTooltips();
    // Resizes the window to its fixed layout and has its frame or row follow.
    void AdjustSizeImmediate(BOOL bRecalcLayout = TRUE);
    // The dock manager of the bar's frame holds its layout.
    BOOL IsLayoutHeld() const;
    // The bar's band in the rebar takes the height the buttons need.
    void UpdateReBarBand(CQMXPReBar* pReBar);
    BOOL IsInReBar() const;
    // The text of the tip for the button; empty for none.
    CString GetTipText(const CQMXPToolbarButton* pButton) const;
    // The image strips a paint uses.
    struct CPaintStrips {
        CQMXPToolBarImages* pImages;
        CQMXPToolBarImages* pColdImages;
        CQMXPToolBarImages* pDisabledImages;
        CQMXPToolBarImages* pMenuImages;
        CQMXPToolBarImages* pDisabledMenuImages;
    };
    CPaintStrips SelectPaintStrips();
    // The strip that draws the button, and whether it is a disabled strip.
    CQMXPToolBarImages* StripForButton(const CPaintStrips& strips, const CQMXPToolbarButton* pButton,
                                        BOOL bHighlighted, BOOL& bDisabledStrip) const;
    // The buttons from the archive's object list; FALSE when one came back
    // empty or was no tool-bar button (the bar then has its resource buttons).
    BOOL LoadButtons(CArchive& ar);
    // A copy of the chevron; none without one.
    CQMXPToolbarButton* CopyCustomizeButton() const;
    // The open menu moves nStep menu buttons on; FALSE with no menu open.
    BOOL MoveToNeighbourMenu(int nStep);
    // Where a button dropped at the point goes.
    int DropIndexFromPoint(CPoint point) const;
    // A press on a button in customise mode (or Alt-drag): selection, then
    // a resize at a control's right edge or a drag of the button.
    void OnCustomizePress(UINT nFlags, CPoint point, int iHit);
    // Runs the OLE drag of the button's data; the effect it ended with.
    virtual DROPEFFECT DoButtonDrag(COleDataSource* pSource, const CRect& rectStartScreen);
    // After a drag of the button: it leaves the bar unless copied, cancelled
    // or dropped on itself.
    void FinishButtonDrag(CQMXPToolbarButton* pButton, DROPEFFECT dropEffect);
    // A bar in the tab window of a tabbed tool bar has that bar laid out again.
    void AdjustTabbedToolbar();
    // The point lies within 6 pixels of the right edge of a resizable button.
    static BOOL IsOnStretchEdge(const CQMXPToolbarButton* pButton, CPoint point);
    // The resize of a control button follows the mouse, then ends (applied or not).
    void TrackStretch(CPoint point);
    void EndStretch(BOOL bApply, CPoint point);
    // The button menu of customise mode at the screen point.
    void ShowCustomizeMenu(CPoint point);
    // The appearance commands of the button menu.
    void SetButtonDisplay(CQMXPToolbarButton* pButton, BOOL bImage, BOOL bText);
    // The button appearance dialog for the button; TRUE when the user chose OK.
    BOOL RunAppearanceDialog(CQMXPToolbarButton* pButton);
    // A new menu button the user names in the appearance dialog goes before the selection.
    void InsertNewMenuButton();

    // The bar's own strips (a locked bar).
    CQMXPToolBarImages m_ImagesLocked;
    CQMXPToolBarImages m_ColdImagesLocked;
    CQMXPToolBarImages m_DisabledImagesLocked;
    CQMXPToolBarImages m_LargeImagesLocked;
    CQMXPToolBarImages m_LargeColdImagesLocked;
    CQMXPToolBarImages m_LargeDisabledImagesLocked;
    CQMXPToolBarImages m_MenuImagesLocked;
    CQMXPToolBarImages m_DisabledMenuImagesLocked;
    BOOL m_bLocked;
    BOOL m_bLargeIconsAreEnbaled;
    CQMXPControlBarImpl m_Impl;
    BOOL m_bPermament;
    BOOL m_bTextLabels;
    BOOL m_bDrawTextLabels;
    int m_nMaxBtnHeight;
    CSize m_sizeButtonLocked;
    CSize m_sizeImageLocked;
    CSize m_sizeCurButtonLocked;
    CSize m_sizeCurImageLocked;
    int m_iButtonCapture;
    int m_iHighlighted;
    int m_iSelected;
    int m_iHot;
    CObList m_Buttons;
    CObList m_OrigButtons;
    CToolTipCtrl m_wndToolTip;
    int m_nTooltipsCount;
    int m_iDragIndex;
    CRect m_rectDrag;
    CPen m_penDrag;
    CQMXPToolbarButton* m_pDragButton;
    BOOL m_bIsDragCopy;
    CPoint m_ptStartDrag;
    BOOL m_bStretchButton;
    CRect m_rectTrack;
    int m_iImagesOffset;
    UINT m_uiOriginalResID;
    BOOL m_bTracked;
    CPoint m_ptLastMouse;
    BOOL m_bMenuMode;
    CWnd* m_pWndLastCapture;
    HWND m_hwndLastFocus;
    BOOL m_bDisableControlsIfNoHandler;
    BOOL m_bRouteCommandsViaFrame;
    CRect m_rectGripper;
    CSize m_sizeLast;
    CMap<UINT, UINT, CQMXPToolbarButton*, CQMXPToolbarButton*> m_AcellKeys;
    BOOL m_bDrawBorders;
    BOOL m_bGrayDisabledButtons;
    BOOL m_bDontChangeButtonText;
    int m_nMaxLen;
    // The chevron at the bar's end; none while bars have no chevron.
    CQMXPToolbarButton* m_pCustomizeBtn;
    // Set when a restore found the resource's buttons changed.
    BOOL m_bResourceWasChanged;
    int m_cyFixedHeight;
    CQMXPToolbarDropTarget m_DropTarget;

    DECLARE_MESSAGE_MAP()
};
