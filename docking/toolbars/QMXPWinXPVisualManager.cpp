#include "docking/toolbars/QMXPWinXPVisualManager.h"

#include "docking/bars/QMXPCaptionButton.h"
#include "docking/bars/QMXPDockingControlBar.h"
#include "docking/toolbars/QMXPButton.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPPopupMenuBar.h"
#include "docking/toolbars/QMXPTaskPaneItems.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "docking/toolbars/QMXPToolbarButton.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/WinThread.h"

IMPLEMENT_DYNCREATE(CQMXPWinXPVisualManager, CQMXPVisualManagerXP)

namespace {

// Parts and states of the system's visual styles.
constexpr int kToolbarButton = 1;         // TP_BUTTON
constexpr int kToolbarSeparator = 5;      // TP_SEPARATOR
constexpr int kToolbarSeparatorVert = 6;  // TP_SEPARATORVERT
constexpr int kStateNormal = 1;           // TS_NORMAL, PBS_NORMAL, ...
constexpr int kStateHot = 2;
constexpr int kStatePressed = 3;
constexpr int kStateDisabled = 4;
constexpr int kStateChecked = 5;     // TS_CHECKED
constexpr int kStateHotChecked = 6;  // TS_HOTCHECKED
constexpr int kRebarGripper = 1;
constexpr int kRebarGripperVert = 2;
constexpr int kPushButton = 1;  // BP_PUSHBUTTON
constexpr int kMdiMinButton = 16;
constexpr int kMdiCloseButton = 20;
constexpr int kMdiRestoreButton = 21;
constexpr int kStatusPane = 1;
constexpr int kProgressBar = 1;
constexpr int kProgressChunk = 3;
constexpr int kSizeBox = 10;
constexpr int kSizeBoxRightAlign = 1;
constexpr int kComboDropButton = 1;
constexpr int kExplorerHeaderBackground = 1;   // EBP_HEADERBACKGROUND
constexpr int kExplorerNormalBackground = 5;   // EBP_NORMALGROUPBACKGROUND
constexpr int kExplorerNormalCollapse = 6;     // EBP_NORMALGROUPCOLLAPSE
constexpr int kExplorerNormalExpand = 7;       // EBP_NORMALGROUPEXPAND
constexpr int kExplorerNormalHead = 8;         // EBP_NORMALGROUPHEAD
constexpr int kExplorerSpecialBackground = 9;  // EBP_SPECIALGROUPBACKGROUND
constexpr int kExplorerSpecialCollapse = 10;   // EBP_SPECIALGROUPCOLLAPSE
constexpr int kExplorerSpecialExpand = 11;     // EBP_SPECIALGROUPEXPAND
constexpr int kExplorerSpecialHead = 12;       // EBP_SPECIALGROUPHEAD

// Button states of the manager's operations.
constexpr int kButtonHighlighted = 2;

// The order in which the classes open: each handle beside its class name.
struct ThemeClass {
    HANDLE CQMXPWinXPVisualManager::*handle;
    const wchar_t* name;
};
const ThemeClass kThemeClasses[] = {
    {&CQMXPWinXPVisualManager::hThemeToolBar, L"TOOLBAR"},
    {&CQMXPWinXPVisualManager::hThemeButton, L"BUTTON"},
    {&CQMXPWinXPVisualManager::hThemeStatusBar, L"STATUS"},
    {&CQMXPWinXPVisualManager::hThemeWindow, L"WINDOW"},
    {&CQMXPWinXPVisualManager::hThemeRebar, L"REBAR"},
    {&CQMXPWinXPVisualManager::hThemeComboBox, L"COMBOBOX"},
    {&CQMXPWinXPVisualManager::hThemeProgress, L"PROGRESS"},
    {&CQMXPWinXPVisualManager::hThemeHeader, L"HEADER"},
    {&CQMXPWinXPVisualManager::hThemeScrollBar, L"SCROLLBAR"},
    {&CQMXPWinXPVisualManager::hThemeExplorerBar, L"EXPLORERBAR"},
};

// The theme state of a button: disabled, else pressed, else hot, else normal.
int ThemeState(BOOL bDisabled, BOOL bPressed, BOOL bHot) {
    if (bDisabled)
        return kStateDisabled;
    if (bPressed)
        return kStatePressed;
    return bHot ? kStateHot : kStateNormal;
}

template <typename Fn>
Fn EntryPoint(HMODULE hModule, const char* lpszName) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(hModule, lpszName)));
}

}  // namespace

CQMXPWinXPVisualManager::CQMXPWinXPVisualManager(BOOL bIsTemporaryIn)
    : CQMXPVisualManagerXP(bIsTemporaryIn),
      hThemeToolBar(nullptr),
      hThemeRebar(nullptr),
      hThemeButton(nullptr),
      hThemeStatusBar(nullptr),
      hThemeWindow(nullptr),
      hThemeComboBox(nullptr),
      hThemeProgress(nullptr),
      hThemeHeader(nullptr),
      hThemeScrollBar(nullptr),
      hThemeExplorerBar(nullptr),
      hThemeDLL(nullptr),
      pfOpenThemeData(nullptr),
      pfCloseThemeData(nullptr),
      pfDrawThemeBackground(nullptr) {
    bShadowHighlightedImage = FALSE;
    hThemeDLL = ::LoadLibraryW(L"UxTheme.dll");
    if (hThemeDLL != nullptr) {
        pfOpenThemeData = EntryPoint<OpenThemeDataFn>(hThemeDLL, "OpenThemeData");
        pfCloseThemeData = EntryPoint<CloseThemeDataFn>(hThemeDLL, "CloseThemeData");
        pfDrawThemeBackground = EntryPoint<DrawThemeBackgroundFn>(hThemeDLL, "DrawThemeBackground");
        CQMXPWinXPVisualManager::OnUpdateSystemColors();
    }
    // The themed look keeps the classic spacing of task-pane groups.
    SetClassicTaskPaneLayout();
}

CQMXPWinXPVisualManager::~CQMXPWinXPVisualManager() {
    CloseThemes();
    if (hThemeDLL != nullptr)
        ::FreeLibrary(hThemeDLL);
}

void CQMXPWinXPVisualManager::CloseThemes() {
    for (const ThemeClass& themeClass : kThemeClasses) {
        HANDLE& hTheme = this->*themeClass.handle;
        if (hTheme != nullptr && pfCloseThemeData != nullptr)
            pfCloseThemeData(hTheme);
        hTheme = nullptr;
    }
}

void CQMXPWinXPVisualManager::OnUpdateSystemColors() {
    CQMXPVisualManagerXP::OnUpdateSystemColors();
    bShadowHighlightedImage = TRUE;
    if (hThemeDLL == nullptr)
        return;
    CloseThemes();
    if (pfOpenThemeData != nullptr && pfCloseThemeData != nullptr && pfDrawThemeBackground != nullptr) {
        CWnd* pMainWnd = AfxGetMainWnd();
        HWND hwnd = pMainWnd != nullptr ? pMainWnd->GetSafeHwnd() : nullptr;
        for (const ThemeClass& themeClass : kThemeClasses)
            this->*themeClass.handle = pfOpenThemeData(hwnd, themeClass.name);
    }
    if (hThemeWindow != nullptr)
        bShadowHighlightedImage = FALSE;
}

void CQMXPWinXPVisualManager::DrawThemePart(HANDLE hTheme, CDC* pDC, int iPart, int iState, const CRect& rect) {
    if (pfDrawThemeBackground != nullptr)
        pfDrawThemeBackground(hTheme, pDC->m_hDC, iPart, iState, &rect, nullptr);
}

int CQMXPWinXPVisualManager::ToolbarButtonThemeState(UINT nStyle, int state) {
    if (nStyle & TBBS_DISABLED)
        return kStateDisabled;
    if (nStyle & TBBS_CHECKED)
        return state == kButtonHighlighted ? kStateHotChecked : kStateChecked;
    if (nStyle & TBBS_PRESSED)
        return kStatePressed;
    return state == kButtonHighlighted ? kStateHot : kStateNormal;
}

void CQMXPWinXPVisualManager::OnFillBarBackground(CDC* pDC, CQMXPBaseControlBar* pBar, CRect rectClient,
                                                  CRect rectClip, BOOL bNCArea) {
    if (hThemeWindow != nullptr && pBar != nullptr && pBar->IsKindOf(RUNTIME_CLASS(CQMXPPopupMenuBar))) {
        ::FillRect(pDC->m_hDC, rectClip.IsRectEmpty() ? &rectClient : &rectClip, ::GetSysColorBrush(COLOR_MENU));
        return;
    }
    CQMXPVisualManagerXP::OnFillBarBackground(pDC, pBar, rectClient, rectClip, bNCArea);
}

void CQMXPWinXPVisualManager::OnDrawMenuBorder(CDC* pDC, CQMXPPopupMenu* pMenu, CRect rect) {
    if (hThemeWindow != nullptr) {
        CQMXPVisualManager::OnDrawMenuBorder(pDC, pMenu, rect);
        return;
    }
    bConnectMenuToParent = TRUE;
    CQMXPVisualManagerXP::OnDrawMenuBorder(pDC, pMenu, rect);
}

void CQMXPWinXPVisualManager::OnDrawBarGripper(CDC* pDC, CRect rectGripper, BOOL bHorz,
                                               CQMXPBaseControlBar* pBar) {
    if (hThemeRebar == nullptr) {
        CQMXPVisualManagerXP::OnDrawBarGripper(pDC, rectGripper, bHorz, pBar);
        return;
    }
    const BOOL bPane = pBar != nullptr && pBar->IsKindOf(RUNTIME_CLASS(CQMXPDockingControlBar));
    const BOOL bHorzGripper = bPane ? !bHorz : bHorz;
    const COLORREF clrOldText = pDC->SetTextColor(globalData.clrBtnShadow);
    const COLORREF clrOldBk = pDC->SetBkColor(globalData.clrBtnFace);
    DrawThemePart(hThemeRebar, pDC, bHorzGripper ? kRebarGripper : kRebarGripperVert, 0, rectGripper);
    pDC->SetBkColor(clrOldBk);
    pDC->SetTextColor(clrOldText);
    if (bPane) {
        rectGripper.DeflateRect(4, 0);
        DrawGripperCaption(pDC, rectGripper, bHorz, pBar);
    }
}

void CQMXPWinXPVisualManager::OnDrawSeparator(CDC* pDC, CQMXPBaseControlBar* pBar, CRect rect, BOOL bIsHoriz) {
    if (hThemeToolBar == nullptr) {
        CQMXPVisualManagerXP::OnDrawSeparator(pDC, pBar, rect, bIsHoriz);
        return;
    }
    DrawThemePart(hThemeToolBar, pDC, bIsHoriz ? kToolbarSeparator : kToolbarSeparatorVert, 0, rect);
}

void CQMXPWinXPVisualManager::OnDrawCaptionButton(CDC* pDC, CQMXPCaptionButton* pButton, BOOL bActive, BOOL bHorz,
                                                  BOOL bMaximized, BOOL bDisabled) {
    if (hThemeButton == nullptr) {
        CQMXPVisualManagerXP::OnDrawCaptionButton(pDC, pButton, bActive, bHorz, bMaximized, bDisabled);
        return;
    }
    const CRect rect = pButton->GetRect();
    const BOOL bPushed = pButton->m_bPushed;
    const BOOL bHot = pButton->m_bFocused;
    pDC->FillRect(&rect, &globalData.brBtnFace);
    DrawThemePart(hThemeButton, pDC, kPushButton, ThemeState(bDisabled, bPushed && bHot, bHot), rect);
    // Only the glyph is added: no fill, no frame, the inactive colours.
    pButton->m_bPushed = FALSE;
    pButton->m_bFocused = FALSE;
    CQMXPVisualManagerXP::OnDrawCaptionButton(pDC, pButton, FALSE, bHorz, bMaximized, bDisabled);
    pButton->m_bPushed = bPushed;
    pButton->m_bFocused = bHot;
}

void CQMXPWinXPVisualManager::OnDrawMenuSystemButton(CDC* pDC, CRect rect, UINT uiSystemCommand, UINT nStyle,
                                                     BOOL bHighlight) {
    if (hThemeWindow == nullptr) {
        CQMXPVisualManagerXP::OnDrawMenuSystemButton(pDC, rect, uiSystemCommand, nStyle, bHighlight);
        return;
    }
    int nPart;
    switch (uiSystemCommand) {
    case SC_MINIMIZE:
        nPart = kMdiMinButton;
        break;
    case SC_CLOSE:
        nPart = kMdiCloseButton;
        break;
    case SC_RESTORE:
        nPart = kMdiRestoreButton;
        break;
    default:
        return;
    }
    const int nState = ThemeState((nStyle & TBBS_DISABLED) != 0, (nStyle & TBBS_PRESSED) && bHighlight, bHighlight);
    DrawThemePart(hThemeWindow, pDC, nPart, nState, rect);
}

void CQMXPWinXPVisualManager::OnDrawStatusBarPaneBorder(CDC* pDC, CQMXPStatusBar* pBar, CRect rectPane, UINT uiID,
                                                        UINT nStyle) {
    if (hThemeStatusBar == nullptr) {
        CQMXPVisualManagerXP::OnDrawStatusBarPaneBorder(pDC, pBar, rectPane, uiID, nStyle);
        return;
    }
    DrawThemePart(hThemeStatusBar, pDC, kStatusPane, 0, rectPane);
}

void CQMXPWinXPVisualManager::OnDrawStatusBarProgress(CDC* pDC, CQMXPStatusBar* pStatusBar, CRect rectProgress,
                                                      long nProgressTotal, long nProgressCurr, COLORREF clrBar,
                                                      COLORREF clrProgressBarDest, COLORREF clrProgressText,
                                                      BOOL bProgressText) {
    if (hThemeProgress == nullptr) {
        CQMXPVisualManager::OnDrawStatusBarProgress(pDC, pStatusBar, rectProgress, nProgressTotal, nProgressCurr,
                                                    clrBar, clrProgressBarDest, clrProgressText, bProgressText);
        return;
    }
    DrawThemePart(hThemeProgress, pDC, kProgressBar, 0, rectProgress);
    if (nProgressTotal == 0)
        return;
    CRect rectComplete = rectProgress;
    rectComplete.right = rectComplete.left + static_cast<int>(static_cast<long long>(rectComplete.Width()) *
                                                              nProgressCurr / nProgressTotal);
    DrawThemePart(hThemeProgress, pDC, kProgressChunk, 0, rectComplete);
}

void CQMXPWinXPVisualManager::OnDrawStatusBarSizeBox(CDC* pDC, CQMXPStatusBar* pStatBar, CRect rectSizeBox) {
    if (hThemeScrollBar == nullptr) {
        CQMXPVisualManager::OnDrawStatusBarSizeBox(pDC, pStatBar, rectSizeBox);
        return;
    }
    DrawThemePart(hThemeScrollBar, pDC, kSizeBox, kSizeBoxRightAlign, rectSizeBox);
}

void CQMXPWinXPVisualManager::OnDrawComboDropButton(CDC* pDC, CRect rect, BOOL bDisabled, BOOL bIsDropped,
                                                    BOOL bIsHighlighted, CQMXPToolbarComboBoxButton* pButton) {
    if (hThemeComboBox == nullptr) {
        CQMXPVisualManagerXP::OnDrawComboDropButton(pDC, rect, bDisabled, bIsDropped, bIsHighlighted, pButton);
        return;
    }
    DrawThemePart(hThemeComboBox, pDC, kComboDropButton, ThemeState(bDisabled, bIsDropped, bIsHighlighted), rect);
}

void CQMXPWinXPVisualManager::OnDrawComboBorder(CDC* pDC, CRect rect, BOOL bDisabled, BOOL bIsDropped,
                                                BOOL bIsHighlighted, CQMXPToolbarComboBoxButton* pButton) {
    if (hThemeWindow == nullptr) {
        CQMXPVisualManagerXP::OnDrawComboBorder(pDC, rect, bDisabled, bIsDropped, bIsHighlighted, pButton);
        return;
    }
    if (bIsDropped || bIsHighlighted) {
        rect.DeflateRect(1, 1);
        const COLORREF clr = ::GetSysColor(COLOR_HIGHLIGHT);
        pDC->Draw3dRect(&rect, clr, clr);
    }
}

void CQMXPWinXPVisualManager::OnDrawEditBorder(CDC* pDC, CRect rect, BOOL bDisabled, BOOL bIsHighlighted,
                                               CQMXPToolbarEditBoxButton* pButton) {
    if (hThemeWindow == nullptr) {
        CQMXPVisualManagerXP::OnDrawEditBorder(pDC, rect, bDisabled, bIsHighlighted, pButton);
        return;
    }
    if (bIsHighlighted) {
        const COLORREF clr = ::GetSysColor(COLOR_HIGHLIGHT);
        pDC->Draw3dRect(&rect, clr, clr);
    }
}

void CQMXPWinXPVisualManager::OnFillButtonInterior(CDC* pDC, CQMXPToolbarButton* pButton, CRect rect, int state) {
    if (hThemeToolBar == nullptr) {
        CQMXPVisualManagerXP::OnFillButtonInterior(pDC, pButton, rect, state);
        return;
    }
    DrawThemePart(hThemeToolBar, pDC, kToolbarButton, ToolbarButtonThemeState(pButton->m_nStyle, state), rect);
}

void CQMXPWinXPVisualManager::OnDrawButtonBorder(CDC* pDC, CQMXPToolbarButton* pButton, CRect rect, int state) {
    // The themed background holds the border.
    if (hThemeToolBar == nullptr)
        CQMXPVisualManagerXP::OnDrawButtonBorder(pDC, pButton, rect, state);
}

void CQMXPWinXPVisualManager::OnHighlightMenuItem(CDC* pDC, CQMXPToolbarMenuButton* pButton, CRect rect,
                                                  COLORREF& clrText) {
    if (hThemeWindow != nullptr)
        CQMXPVisualManager::OnHighlightMenuItem(pDC, pButton, rect, clrText);
    else
        CQMXPVisualManagerXP::OnHighlightMenuItem(pDC, pButton, rect, clrText);
}

COLORREF CQMXPWinXPVisualManager::OnFillCommandsListBackground(CDC* pDC, CRect rect, BOOL bIsSelected) {
    if (hThemeWindow == nullptr)
        return CQMXPVisualManagerXP::OnFillCommandsListBackground(pDC, rect, bIsSelected);
    ::FillRect(pDC->m_hDC, &rect, ::GetSysColorBrush(COLOR_MENU));
    return ::GetSysColor(COLOR_MENUTEXT);
}

CSize CQMXPWinXPVisualManager::GetButtonExtraBorder() const {
    return hThemeWindow != nullptr ? CSize(2, 2) : CSize(0, 0);
}

BOOL CQMXPWinXPVisualManager::DrawPushButtonWinXP(CDC* pDC, CRect rect, CQMXPButton* pButton, UINT) {
    if (hThemeButton == nullptr)
        return FALSE;
    const int nState = ThemeState(!pButton->IsWindowEnabled(),
                                  pButton->IsPressed() || pButton->SendMessage(BM_GETCHECK) != 0,
                                  pButton->IsHighlighted());
    pDC->FillRect(&rect, &globalData.brBtnFace);
    DrawThemePart(hThemeButton, pDC, kPushButton, nState, rect);
    return TRUE;
}

BOOL CQMXPWinXPVisualManager::DrawButtonWinXP(CQMXPButton* pButton, CDC* pDC, CRect rect) {
    if (hThemeButton == nullptr) {
        COLORREF clrText = globalData.clrBtnText;
        CQMXPVisualManager::OnFillOutlookPageButton(pDC, rect, pButton->IsHighlighted(), pButton->IsPressed(),
                                                    clrText);
        return TRUE;
    }
    rect.InflateRect(1, 1);
    pDC->FillRect(&rect, &globalData.brBtnFace);
    DrawThemePart(hThemeButton, pDC, kPushButton, ThemeState(FALSE, pButton->IsPressed(), pButton->IsHighlighted()),
                  rect);
    return TRUE;
}

void CQMXPWinXPVisualManager::OnFillTaskPaneBackground(CDC* pDC, CRect rect) {
    if (hThemeExplorerBar == nullptr)
        CQMXPVisualManager::OnFillTaskPaneBackground(pDC, rect);
    else
        DrawThemePart(hThemeExplorerBar, pDC, kExplorerHeaderBackground, 0, rect);
}

void CQMXPWinXPVisualManager::OnDrawGroupCaption(CDC* pDC, CQMXPTasksGroup* pGroup, BOOL bIsHighlighted,
                                                 BOOL bUsesDefault, BOOL bCanCollapse) {
    if (hThemeExplorerBar == nullptr) {
        CQMXPVisualManagerXP::OnDrawGroupCaption(pDC, pGroup, bIsHighlighted, bUsesDefault, bCanCollapse);
        return;
    }
    const BOOL bSpecial = pGroup->bIsSpecial;
    DrawThemePart(hThemeExplorerBar, pDC, bSpecial ? kExplorerSpecialHead : kExplorerNormalHead, 0, pGroup->rect);
    if (bCanCollapse && !pGroup->strName.IsEmpty()) {
        // A collapsed group offers to expand, an open one to collapse.
        int nPart;
        if (pGroup->bIsCollapsed)
            nPart = bSpecial ? kExplorerSpecialExpand : kExplorerNormalExpand;
        else
            nPart = bSpecial ? kExplorerSpecialCollapse : kExplorerNormalCollapse;
        DrawThemePart(hThemeExplorerBar, pDC, nPart, bIsHighlighted ? kStateHot : kStateNormal,
                      GroupGlyphRect(pGroup->rect));
    }
    DrawGroupCaptionText(pDC, pGroup, ::GetSysColor(COLOR_WINDOWTEXT));
}

void CQMXPWinXPVisualManager::OnDrawGroupBackground(CDC* pDC, CRect rect, BOOL bSpecial) {
    if (hThemeExplorerBar == nullptr)
        CQMXPVisualManagerXP::OnDrawGroupBackground(pDC, rect, bSpecial);
    else
        DrawThemePart(hThemeExplorerBar, pDC, bSpecial ? kExplorerSpecialBackground : kExplorerNormalBackground, 0,
                      rect);
}

void CQMXPWinXPVisualManager::OnDrawGroupBorder(CDC* pDC, CRect rect, BOOL bSpecial, BOOL bNoCaption) {
    if (!bNoCaption)
        return;
    CBrush brLine(bSpecial ? globalData.clrHilite : ::GetSysColor(COLOR_WINDOW));
    CRect rectLine(rect.left, rect.top, rect.right, rect.top + 1);
    pDC->FillRect(&rectLine, &brLine);
}

void CQMXPWinXPVisualManager::OnDrawTask(CDC* pDC, CQMXPTask* pTask, CImageList* pImages, BOOL bIsHighlighted,
                                             BOOL) {
    DrawTask(pDC, pTask, pImages, bIsHighlighted, globalData.clrHilite, ::GetSysColor(COLOR_WINDOWTEXT));
}
