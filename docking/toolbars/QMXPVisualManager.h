#pragma once
// CQMXPVisualManager: draws every element of the docking library, here in
// the classic look (flat colours of the library's global data, 3D frames and
// the menu glyphs); the other looks derive from it. One manager is current
// at a time, made of the class last selected on first use.
#include "platform/classlib/Object.h"
#include "platform/classlib/Rect.h"

class CDC;
class CQMXPBaseControlBar;
class CQMXPCaptionBar;
class CQMXPBaseTabWnd;
class CQMXPCaptionButton;
class CQMXPMiniFrameWnd;
class CQMXPPopupMenu;
class CQMXPStatusBar;
struct CQMXPTask;
struct CQMXPTasksGroup;
class CQMXPToolbarButton;
class CQMXPToolbarComboBoxButton;
class CQMXPToolbarEditBoxButton;
class CQMXPToolbarMenuButton;
class CQMXTabButton;
class CImageList;
class CWnd;

class CQMXPVisualManager : public CObject {
    DECLARE_DYNCREATE(CQMXPVisualManager)
public:
    // A manager that is not temporary becomes current when there is none.
    explicit CQMXPVisualManager(BOOL bIsTemporary = FALSE);
    // Clears the current manager when it is this one.
    ~CQMXPVisualManager() override;

    // Chooses the class of the next manager and deletes the current one; a
    // class not derived from this one is ignored, none means this class.
    static void SelectManagerClass(CRuntimeClass* pRTI);
    // The current manager, made on first use.
    static CQMXPVisualManager* GetInstance();
    static void RedrawAll();
    void SetLook2000(BOOL bLook2000 = TRUE);
    BOOL IsLook2000() const { return bLook2000; }
    // Whether this look offers the alternative (flat) look at all.
    virtual BOOL IsLook2000Allowed() const { return TRUE; }

    virtual void OnUpdateSystemColors();
    virtual void OnFillBarBackground(CDC* pDC, CQMXPBaseControlBar* pBar, CRect rectClient, CRect rectClip,
                                     BOOL bNCArea = FALSE);
    // Shrinks rect by the borders drawn.
    // The caption bar's text where the bar names no colour of its own.
    virtual COLORREF GetCaptionBarTextColor(CQMXPCaptionBar* pBar);
    virtual void OnDrawBarBorder(CDC* pDC, CQMXPBaseControlBar* pBar, CRect& rect);
    virtual void OnDrawMenuBorder(CDC* pDC, CQMXPPopupMenu* pMenu, CRect rect);
    virtual void OnDrawBarGripper(CDC* pDC, CRect rectGripper, BOOL bHorz, CQMXPBaseControlBar* pBar);
    virtual void OnDrawSeparator(CDC* pDC, CQMXPBaseControlBar* pBar, CRect rect, BOOL bIsHoriz);
    // The caption's text colour.
    virtual COLORREF OnFillBarCaption(CDC* pDC, CQMXPBaseControlBar* pBar, BOOL bActive, CRect rectCaption,
                                      CRect rectButtons);
    // The glyph of a caption button by its hit code (-1: none); the pin's
    // glyph turns with the flag and the maximised state.
    static int CaptionButtonGlyph(UINT nHit, BOOL bPinFlag, BOOL bMaximized);
    virtual void OnDrawCaptionButton(CDC* pDC, CQMXPCaptionButton* pButton, BOOL bActive, BOOL bHorz,
                                     BOOL bMaximized, BOOL bDisabled = FALSE);
    // The minimise, restore and close buttons of a maximised child on the menu bar.
    virtual void OnDrawMenuSystemButton(CDC* pDC, CRect rect, UINT uiSystemCommand, UINT nStyle, BOOL bHighlight);
    virtual void OnDrawStatusBarPaneBorder(CDC* pDC, CQMXPStatusBar* pBar, CRect rectPane, UINT uiID, UINT nStyle);
    // The filled part and "n%" over it; clrProgressBarDest -1: no gradient,
    // clrProgressText -1: the highlight text colour.
    virtual void OnDrawStatusBarProgress(CDC* pDC, CQMXPStatusBar* pStatusBar, CRect rectProgress,
                                         long nProgressTotal, long nProgressCurr, COLORREF clrBar,
                                         COLORREF clrProgressBarDest, COLORREF clrProgressText, BOOL bProgressText);
    virtual void OnDrawStatusBarSizeBox(CDC* pDC, CQMXPStatusBar* pStatBar, CRect rectSizeBox);
    virtual void OnDrawComboDropButton(CDC* pDC, CRect rect, BOOL bDisabled, BOOL bIsDropped, BOOL bIsHighlighted,
                                       CQMXPToolbarComboBoxButton* pButton);
    virtual void OnDrawComboBorder(CDC* pDC, CRect rect, BOOL bDisabled, BOOL bIsDropped, BOOL bIsHighlighted,
                                   CQMXPToolbarComboBoxButton* pButton);
    virtual void OnDrawEditBorder(CDC* pDC, CRect rect, BOOL bDisabled, BOOL bIsHighlighted,
                                  CQMXPToolbarEditBoxButton* pButton);
    virtual void OnDrawTearOffCaption(CDC* pDC, CRect rect, BOOL bIsActive);
    // States: 0 normal, 1 pressed or checked, 2 highlighted.
    virtual void OnFillButtonInterior(CDC* pDC, CQMXPToolbarButton* pButton, CRect rect, int state);
    virtual void OnDrawButtonBorder(CDC* pDC, CQMXPToolbarButton* pButton, CRect rect, int state);
    virtual void OnHighlightMenuItem(CDC* pDC, CQMXPToolbarMenuButton* pButton, CRect rect, COLORREF& clrText);
    virtual void OnHighlightRarelyUsedMenuItems(CDC* pDC, CRect rectRarelyUsed);
    virtual COLORREF GetToolbarButtonTextColor(CQMXPToolbarButton* pButton, int state);
    virtual COLORREF GetMenuItemBackgroundColor(CQMXPToolbarMenuButton* pButton);
    virtual void OnFillOutlookPageButton(CDC* pDC, const CRect& rect, BOOL bIsHighlighted, BOOL bIsPressed,
                                         COLORREF& clrText);
    // Shrinks rectBtn by the frames drawn.
    virtual void OnDrawOutlookPageButtonBorder(CDC* pDC, CRect& rectBtn, BOOL bIsHighlighted, BOOL bIsPressed);
    virtual void OnEraseTabsArea(CDC* pDC, CRect rect, const CQMXPBaseTabWnd* pTabWnd);
    // The face of a tab strip's button.
    virtual void OnFillTab(CDC* pDC, CRect rectFill, CQMXTabButton* pButton, const CQMXPBaseTabWnd* pTabWnd);
    // A tab of a tab window: flat (slanted) or 3D, with its image and label.
    virtual void OnDrawTab(CDC* pDC, CRect rectTab, int iTab, BOOL bIsActive, const CQMXPBaseTabWnd* pTabWnd);
    // A tab strip's button; the rectangle shrinks to what is inside the border.
    virtual void OnDrawTabButtonBorder(CDC* pDC, CRect& rect, CQMXTabButton* pButton, int nState,
                                       const CQMXPBaseTabWnd* pTabWnd);
    // The command lists of the customisation sheet; the text colour.
    virtual COLORREF OnFillCommandsListBackground(CDC* pDC, CRect rect, BOOL bIsSelected = FALSE);
    // Added to every toolbar button's size.
    virtual CSize GetButtonExtraBorder() const;
    // A floating tool bar's caption is always drawn active; the text colour.
    virtual COLORREF OnFillMiniFrameCaption(CDC* pDC, CRect rectCaption, CQMXPMiniFrameWnd* pFrameWnd, BOOL bActive);
    virtual void OnDrawMiniFrameBorder(CDC* pDC, CQMXPMiniFrameWnd* pFrameWnd, CRect rectBorder,
                                       CRect rectBorderSize);
    // Shrinks rect by the frame drawn.
    virtual void OnDrawScrollButtonBorder(CWnd* pWnd, CDC* pDC, CRect& rect, BOOL bIsPressed, BOOL bIsHighlighted);
    virtual void OnDrawScrollArrow(CWnd* pWnd, CDC* pDC, CRect rect, BOOL bIsUp);
    virtual void OnFillScrollArea(CDC* pDC, CRect rect);
    virtual void OnDrawGroupFrame(CDC* pDC, int left, int top, int right, int bottom, BOOL bIsSelected,
                                  BOOL bClosed);
    // A task pane: its background, a group's caption (its collapse glyph
    // with bCanCollapse), a group's background and border, and one task.
    virtual void OnFillTaskPaneBackground(CDC* pDC, CRect rect);
    // The square of a group caption's collapse glyph, at its right end.
    static CRect GroupGlyphRect(const CRect& rectCaption);
    virtual void OnDrawGroupCaption(CDC* pDC, CQMXPTasksGroup* pGroup, BOOL bIsHighlighted, BOOL bUsesDefault,
                                    BOOL bCanCollapse);
    virtual void OnDrawGroupBackground(CDC* pDC, CRect rect, BOOL bSpecial);
    // bNoCaption: the group shows no caption above its tasks.
    virtual void OnDrawGroupBorder(CDC* pDC, CRect rect, BOOL bSpecial, BOOL bNoCaption);
    virtual void OnDrawTask(CDC* pDC, CQMXPTask* pTask, CImageList* pImages, BOOL bIsHighlighted,
                                BOOL bIsSelected);
    // Pixels between a menu item's image and its frame.
    virtual int GetMenuImageMargin() const;
    // The customisation sheet offers the alternative look only when TRUE.
    virtual BOOL IsLookOptionAvailable() const;

    BOOL bLook2000;
    int menuShadowDepth;
    BOOL bFlatLook;
    BOOL bShadowHighlightedImage;
    BOOL bEmbossDisabledImage;
    BOOL bFadeInactiveImage;
    BOOL bIsTemporary;
    int groupLeftMargin;
    int groupRightMargin;
    int groupVertSpacing;
    int groupCaptionHeight;
    int groupCaptionHorzOffset;
    int groupCaptionVertOffset;
    int taskHorzOffset;
    int taskIconOffset;
    int taskVertSpacing;
    BOOL bGroupCaptionBold;
    BOOL bAutoDestroy;

    // The spacing of a task pane's groups and tasks: the fields from
    // groupLeftMargin to bGroupCaptionBold, in their order.
    void SetTaskPaneLayout(int nGroupLeft, int nGroupRight, int nGroupVert, int nCaptionHeight, int nCaptionHorz,
                           int nCaptionVert, int nTaskHorz, int nTaskIcon, int nTaskVert, BOOL bCaptionBold);
    // The classic spacing, the one a manager starts with.
    void SetClassicTaskPaneLayout();

protected:
    // A button draws disabled: in customise mode when it is not permitted,
    // otherwise when its style says so.
    static BOOL IsButtonDisabled(CQMXPToolbarButton* pButton);
    // A task's image (when the list has one for it) and its text past the
    // image column: a link in clrLink, underlined when hot, a label in
    // clrLabel; -1 keeps the DC's colour.
    void DrawTask(CDC* pDC, CQMXPTask* pTask, CImageList* pImages, BOOL bIsHighlighted, COLORREF clrLink,
                  COLORREF clrLabel);
    // A group caption's name in bold, past the caption's offsets and left of its glyph.
    void DrawGroupCaptionText(CDC* pDC, CQMXPTasksGroup* pGroup, COLORREF clrText);

private:
    static CQMXPVisualManager* currentManager;
    static CRuntimeClass* managerClass;
};

// Commands the user may not customise: recent files, system commands, the
// MDI window list and the OLE verbs.
BOOL IsStandardCommand(UINT uiCmd);
