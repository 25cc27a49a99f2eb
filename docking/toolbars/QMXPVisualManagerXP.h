#pragma once
// CQMXPVisualManagerXP: the flat look of the docking library, selected by the
// program's main frame. Flat fills and one-pixel frames in colours derived
// from the system colours replace the classic raised and sunken edges: a light
// bar background, a near-white menu with a darker image column, and a hot
// colour blended from the system highlight and the menu background. Palette
// screens (8 bits or fewer) keep to plain system colours.
#include "docking/toolbars/QMXPVisualManager.h"
#include "platform/classlib/GdiObject.h"

class CQMXPVisualManagerXP : public CQMXPVisualManager {
    DECLARE_DYNCREATE(CQMXPVisualManagerXP)
public:
    explicit CQMXPVisualManagerXP(BOOL bIsTemporary = FALSE);
    ~CQMXPVisualManagerXP() override;

    void OnUpdateSystemColors() override;
    void OnFillBarBackground(CDC* pDC, CQMXPBaseControlBar* pBar, CRect rectClient, CRect rectClip,
                             BOOL bNCArea = FALSE) override;
    void OnDrawBarBorder(CDC* pDC, CQMXPBaseControlBar* pBar, CRect& rect) override;
    void OnDrawMenuBorder(CDC* pDC, CQMXPPopupMenu* pMenu, CRect rect) override;
    void OnDrawBarGripper(CDC* pDC, CRect rectGripper, BOOL bHorz, CQMXPBaseControlBar* pBar) override;
    void OnDrawSeparator(CDC* pDC, CQMXPBaseControlBar* pBar, CRect rect, BOOL bIsHoriz) override;
    COLORREF OnFillBarCaption(CDC* pDC, CQMXPBaseControlBar* pBar, BOOL bActive, CRect rectCaption,
                              CRect rectButtons) override;
    void OnDrawCaptionButton(CDC* pDC, CQMXPCaptionButton* pButton, BOOL bActive, BOOL bHorz, BOOL bMaximized,
                             BOOL bDisabled = FALSE) override;
    void OnDrawMenuSystemButton(CDC* pDC, CRect rect, UINT uiSystemCommand, UINT nStyle, BOOL bHighlight) override;
    void OnDrawStatusBarPaneBorder(CDC* pDC, CQMXPStatusBar* pBar, CRect rectPane, UINT uiID, UINT nStyle) override;
    void OnDrawComboDropButton(CDC* pDC, CRect rect, BOOL bDisabled, BOOL bIsDropped, BOOL bIsHighlighted,
                               CQMXPToolbarComboBoxButton* pButton) override;
    void OnDrawComboBorder(CDC* pDC, CRect rect, BOOL bDisabled, BOOL bIsDropped, BOOL bIsHighlighted,
                           CQMXPToolbarComboBoxButton* pButton) override;
    void OnDrawTearOffCaption(CDC* pDC, CRect rect, BOOL bIsActive) override;
    void OnFillButtonInterior(CDC* pDC, CQMXPToolbarButton* pButton, CRect rect, int state) override;
    void OnDrawButtonBorder(CDC* pDC, CQMXPToolbarButton* pButton, CRect rect, int state) override;
    void OnHighlightMenuItem(CDC* pDC, CQMXPToolbarMenuButton* pButton, CRect rect, COLORREF& clrText) override;
    void OnHighlightRarelyUsedMenuItems(CDC* pDC, CRect rectRarelyUsed) override;
    COLORREF GetToolbarButtonTextColor(CQMXPToolbarButton* pButton, int state) override;
    COLORREF OnFillCommandsListBackground(CDC* pDC, CRect rect, BOOL bIsSelected = FALSE) override;
    COLORREF OnFillMiniFrameCaption(CDC* pDC, CRect rectCaption, CQMXPMiniFrameWnd* pFrameWnd,
                                    BOOL bActive) override;
    void OnDrawMiniFrameBorder(CDC* pDC, CQMXPMiniFrameWnd* pFrameWnd, CRect rectBorder,
                               CRect rectBorderSize) override;
    void OnEraseTabsArea(CDC* pDC, CRect rect, const CQMXPBaseTabWnd* pTabWnd) override;
    void OnFillTab(CDC* pDC, CRect rectFill, CQMXTabButton* pButton, const CQMXPBaseTabWnd* pTabWnd) override;
    void OnDrawTab(CDC* pDC, CRect rectTab, int iTab, BOOL bIsActive, const CQMXPBaseTabWnd* pTabWnd) override;
    void OnDrawTabButtonBorder(CDC* pDC, CRect& rect, CQMXTabButton* pButton, int nState,
                               const CQMXPBaseTabWnd* pTabWnd) override;
    void OnDrawGroupCaption(CDC* pDC, CQMXPTasksGroup* pGroup, BOOL bIsHighlighted, BOOL bUsesDefault,
                            BOOL bCanCollapse) override;
    void OnDrawGroupBackground(CDC* pDC, CRect rect, BOOL bSpecial) override;
    void OnDrawGroupBorder(CDC* pDC, CRect rect, BOOL bSpecial, BOOL bNoCaption) override;
    void OnDrawTask(CDC* pDC, CQMXPTask* pTask, CImageList* pImages, BOOL bIsHighlighted,
                        BOOL bIsSelected) override;
    int GetMenuImageMargin() const override;
    BOOL IsLookOptionAvailable() const override;

    // The two striped pattern brushes of the grippers, made on first need.
    virtual void CreateGripperBrushes();
    // Extends rect by 4 pixels towards the open menu of the button.
    virtual void AdjustDroppedButtonRect(CQMXPToolbarMenuButton* pButton, CRect& rect);

    // Black or white, whichever reads on the highlight colour: black only
    // when every channel is at least 129.
    COLORREF HighlightTextColor() const;
    // The width of a popup menu's image column, border pixel included.
    int MenuImageColumnWidth() const;

    CBrush brGripperHorz;
    CBrush brGripperVert;
    COLORREF clrBarBackground;
    CBrush brBarBackground;
    COLORREF clrMenuLight;
    CBrush brMenuLight;
    COLORREF clrDarkText;
    CBrush brTabBack;
    COLORREF clrHighlight;
    CBrush brHighlight;
    COLORREF clrHighlightDn;
    CBrush brHighlightDn;
    COLORREF clrHighlightChecked;
    CBrush brHighlightChecked;
    COLORREF clrGripper;
    CPen penSeparator;
    COLORREF clrPaneBorder;
    COLORREF clrMenuBorder;
    COLORREF clrMenuItemBorder;
    CBrush brFloatToolBarBorder;
    BOOL bConnectMenuToParent;
    // The colours the separator pen, the tab background and the floating
    // border brush were made of.
    COLORREF clrSeparator;
    COLORREF clrTabBack;
    COLORREF clrFloatToolBarBorder;

protected:
    // Writes a docking pane's window text across its gripper.
    void DrawGripperCaption(CDC* pDC, CRect rect, BOOL bHorz, CQMXPBaseControlBar* pBar);
    // The XP gripper stripes, the pane's text included; the themed look
    // draws its own stripes and then the text.
    void DrawGripperStripes(CDC* pDC, CRect rect, BOOL bHorz, CQMXPBaseControlBar* pBar);
};
