#pragma once
// CQMXPWinXPVisualManager: the XP look drawn through the system's visual
// styles where the theme of a window class opens, and exactly as the XP look
// where it does not. The theme library is loaded at run time, so the program
// runs unchanged without it. Every system-colour change reopens the themes,
// so switching themes off while running falls back to the XP look.
#include "docking/toolbars/QMXPVisualManagerXP.h"

class CQMXPButton;

class CQMXPWinXPVisualManager : public CQMXPVisualManagerXP {
    DECLARE_DYNCREATE(CQMXPWinXPVisualManager)
public:
    explicit CQMXPWinXPVisualManager(BOOL bIsTemporary = FALSE);
    ~CQMXPWinXPVisualManager() override;

    void OnUpdateSystemColors() override;
    void OnFillBarBackground(CDC* pDC, CQMXPBaseControlBar* pBar, CRect rectClient, CRect rectClip,
                             BOOL bNCArea = FALSE) override;
    void OnDrawMenuBorder(CDC* pDC, CQMXPPopupMenu* pMenu, CRect rect) override;
    void OnDrawBarGripper(CDC* pDC, CRect rectGripper, BOOL bHorz, CQMXPBaseControlBar* pBar) override;
    void OnDrawSeparator(CDC* pDC, CQMXPBaseControlBar* pBar, CRect rect, BOOL bIsHoriz) override;
    void OnDrawCaptionButton(CDC* pDC, CQMXPCaptionButton* pButton, BOOL bActive, BOOL bHorz, BOOL bMaximized,
                             BOOL bDisabled = FALSE) override;
    void OnDrawMenuSystemButton(CDC* pDC, CRect rect, UINT uiSystemCommand, UINT nStyle, BOOL bHighlight) override;
    void OnDrawStatusBarPaneBorder(CDC* pDC, CQMXPStatusBar* pBar, CRect rectPane, UINT uiID, UINT nStyle) override;
    void OnDrawStatusBarProgress(CDC* pDC, CQMXPStatusBar* pStatusBar, CRect rectProgress, long nProgressTotal,
                                 long nProgressCurr, COLORREF clrBar, COLORREF clrProgressBarDest,
                                 COLORREF clrProgressText, BOOL bProgressText) override;
    void OnDrawStatusBarSizeBox(CDC* pDC, CQMXPStatusBar* pStatBar, CRect rectSizeBox) override;
    void OnDrawComboDropButton(CDC* pDC, CRect rect, BOOL bDisabled, BOOL bIsDropped, BOOL bIsHighlighted,
                               CQMXPToolbarComboBoxButton* pButton) override;
    void OnDrawComboBorder(CDC* pDC, CRect rect, BOOL bDisabled, BOOL bIsDropped, BOOL bIsHighlighted,
                           CQMXPToolbarComboBoxButton* pButton) override;
    void OnDrawEditBorder(CDC* pDC, CRect rect, BOOL bDisabled, BOOL bIsHighlighted,
                          CQMXPToolbarEditBoxButton* pButton) override;
    void OnFillButtonInterior(CDC* pDC, CQMXPToolbarButton* pButton, CRect rect, int state) override;
    void OnDrawButtonBorder(CDC* pDC, CQMXPToolbarButton* pButton, CRect rect, int state) override;
    void OnHighlightMenuItem(CDC* pDC, CQMXPToolbarMenuButton* pButton, CRect rect, COLORREF& clrText) override;
    COLORREF OnFillCommandsListBackground(CDC* pDC, CRect rect, BOOL bIsSelected = FALSE) override;
    CSize GetButtonExtraBorder() const override;
    void OnFillTaskPaneBackground(CDC* pDC, CRect rect) override;
    void OnDrawGroupCaption(CDC* pDC, CQMXPTasksGroup* pGroup, BOOL bIsHighlighted, BOOL bUsesDefault,
                            BOOL bCanCollapse) override;
    void OnDrawGroupBackground(CDC* pDC, CRect rect, BOOL bSpecial) override;
    void OnDrawGroupBorder(CDC* pDC, CRect rect, BOOL bSpecial, BOOL bNoCaption) override;
    void OnDrawTask(CDC* pDC, CQMXPTask* pTask, CImageList* pImages, BOOL bIsHighlighted,
                        BOOL bIsSelected) override;

    // A library button drawn as a themed push button one pixel larger all
    // round (state 3 pressed, 2 hot, else 1); without the button theme, as
    // an outlook page button of the classic look. Always TRUE.
    virtual BOOL DrawButtonWinXP(CQMXPButton* pButton, CDC* pDC, CRect rect);

    // This look draws through the system's visual styles where they open
    // (the looks it falls back to answer no such query): always TRUE.
    virtual BOOL IsThemedLook() const { return TRUE; }

    // A library push button in the button theme: state 4 disabled, 3 pressed
    // and hot or checked, 2 hot, else 1. FALSE without the theme: the button
    // draws itself.
    virtual BOOL DrawPushButtonWinXP(CDC* pDC, CRect rect, CQMXPButton* pButton, UINT uiState);

    // The theme state of a tool-bar button (TS_ values): disabled wins, then
    // checked (hot or not), then pressed, hot, normal.
    static int ToolbarButtonThemeState(UINT nStyle, int state);

    typedef HANDLE(WINAPI* OpenThemeDataFn)(HWND, LPCWSTR);
    typedef HRESULT(WINAPI* CloseThemeDataFn)(HANDLE);
    typedef HRESULT(WINAPI* DrawThemeBackgroundFn)(HANDLE, HDC, int, int, const RECT*, const RECT*);

    HANDLE hThemeToolBar;
    HANDLE hThemeRebar;
    HANDLE hThemeButton;
    HANDLE hThemeStatusBar;
    HANDLE hThemeWindow;
    HANDLE hThemeComboBox;
    HANDLE hThemeProgress;
    HANDLE hThemeHeader;
    HANDLE hThemeScrollBar;
    HANDLE hThemeExplorerBar;
    HMODULE hThemeDLL;
    OpenThemeDataFn pfOpenThemeData;
    CloseThemeDataFn pfCloseThemeData;
    DrawThemeBackgroundFn pfDrawThemeBackground;

protected:
    void CloseThemes();
    // Draws one part; every themed drawing goes through here.
    virtual void DrawThemePart(HANDLE hTheme, CDC* pDC, int iPart, int iState, const CRect& rect);
};
