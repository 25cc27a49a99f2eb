#include "docking/toolbars/QMXPVisualManagerXP.h"

#include "docking/bars/QMXPCaptionButton.h"
#include "docking/bars/QMXPDockingControlBar.h"
#include "docking/bars/QMXPOutlookBarPane.h"
#include "docking/bars/QMXPOutlookButton.h"
#include "docking/bars/QMXPStatusBar.h"
#include "docking/frames/QMXPColorBar.h"
#include "docking/frames/QMXPMiniFrameWnd.h"
#include "docking/toolbars/QMXPDrawManager.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPMenuBar.h"
#include "docking/toolbars/QMXPMenuGlyphs.h"
#include "docking/toolbars/QMXPPopupMenu.h"
#include "docking/toolbars/QMXPPopupMenuBar.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "docking/toolbars/QMXPToolbarMenuButton.h"
#include "platform/classlib/DC.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(CQMXPVisualManagerXP, CQMXPVisualManager)

namespace {

enum { kStateNormal = 0, kStatePressed = 1, kStateHighlighted = 2 };

// A highlight channel below this reads better under white text.
constexpr int kDarkHighlightLimit = 129;

void FrameRect(CDC* pDC, const CRect& rect, COLORREF clr) { pDC->Draw3dRect(&rect, clr, clr); }

BOOL IsMenuButtonOf(CQMXPToolbarButton* pButton, CRuntimeClass* pBarClass) {
    auto* pMenuButton = DYNAMIC_DOWNCAST(CQMXPToolbarMenuButton, pButton);
    return pMenuButton != nullptr && pMenuButton->GetParentWnd() != nullptr &&
           pMenuButton->GetParentWnd()->IsKindOf(pBarClass);
}

BOOL IsPopupMenuItem(CQMXPToolbarButton* pButton) {
    return IsMenuButtonOf(pButton, RUNTIME_CLASS(CQMXPPopupMenuBar));
}

// A tool-bar menu button whose menu is open, the button not itself a menu item.
CQMXPToolbarMenuButton* DroppedBarButton(CQMXPToolbarButton* pButton) {
    auto* pMenuButton = DYNAMIC_DOWNCAST(CQMXPToolbarMenuButton, pButton);
    if (pMenuButton == nullptr || pMenuButton->GetPopupMenu() == nullptr || IsPopupMenuItem(pButton))
        return nullptr;
    return pMenuButton;
}

void CreateSolid(CBrush& brush, COLORREF clr) {
    brush.DeleteObject();
    brush.CreateSolidBrush(clr);
}

// Each channel of (a + n * b) / (n + 1), in integers.
COLORREF Blend(COLORREF a, COLORREF b, int n) {
    return RGB((GetRValue(a) + n * GetRValue(b)) / (n + 1), (GetGValue(a) + n * GetGValue(b)) / (n + 1),
               (GetBValue(a) + n * GetBValue(b)) / (n + 1));
}

}  // namespace

CQMXPVisualManagerXP::CQMXPVisualManagerXP(BOOL bIsTemporaryIn)
    : CQMXPVisualManager(bIsTemporaryIn),
      clrBarBackground(0),
      clrMenuLight(0),
      clrDarkText(0),
      clrHighlight(0),
      clrHighlightDn(0),
      clrHighlightChecked(0),
      clrGripper(0),
      clrPaneBorder(0),
      clrMenuBorder(0),
      clrMenuItemBorder(0),
      bConnectMenuToParent(TRUE),
      clrSeparator(0),
      clrTabBack(0),
      clrFloatToolBarBorder(0) {
    bLook2000 = TRUE;
    menuShadowDepth = 4;
    bFlatLook = TRUE;
    bShadowHighlightedImage = TRUE;
    bEmbossDisabledImage = FALSE;
    // Groups without caption bands, close together.
    SetTaskPaneLayout(4, 4, 4, 0, 0, 0, 12, 5, 4, FALSE);
    // Not virtual during construction: this class's scheme, as intended.
    CQMXPVisualManagerXP::OnUpdateSystemColors();
}

// The brushes and the pen are members and go with the object.
CQMXPVisualManagerXP::~CQMXPVisualManagerXP() = default;

void CQMXPVisualManagerXP::OnUpdateSystemColors() {
    const COLORREF clrWindow = ::GetSysColor(COLOR_WINDOW);
    if (globalData.bitsPerPixel > 8) {
        clrMenuLight = CQMXPDrawManager::PixelAlpha(clrWindow, .976, .973, .969);
        double H = 0, S = 0, L = 0;
        CQMXPDrawManager::RGBtoHSL(globalData.clrBtnFace, &H, &S, &L);
        double S2 = 0;
        if (S > 0)
            S2 = S < 0.1 ? std::min(1.0, S + 0.1) : std::min(1.0, 2 * S);
        clrTabBack = CQMXPDrawManager::HLStoRGB(H, std::min(1.0, (1 + L) / 2), S2);
        clrBarBackground = CQMXPDrawManager::HLStoRGB(H, std::min(1.0, L * 1.03), S);
        clrDarkText = CQMXPDrawManager::HLStoRGB(H, L * 0.4, S);
        clrHighlight = CQMXPDrawManager::PixelAlpha(Blend(globalData.clrHilite, clrMenuLight, 2), 110);
        clrHighlightDn = CQMXPDrawManager::PixelAlpha(clrHighlight, .87, .87, .87);
        clrHighlightChecked = CQMXPDrawManager::PixelAlpha(Blend(globalData.clrHilite, clrMenuLight, 5), 100);
        clrSeparator = CQMXPDrawManager::PixelAlpha(globalData.clrBtnFace, .86, .86, .86);
        clrPaneBorder = globalData.clrBtnShadow;
        clrMenuBorder = CQMXPDrawManager::PixelAlpha(globalData.clrBtnFace, 55);
        clrFloatToolBarBorder = CQMXPDrawManager::PixelAlpha(globalData.clrBtnShadow, .85, .85, .85);
        clrGripper = CQMXPDrawManager::PixelAlpha(globalData.clrBtnShadow, 110);
    } else {
        clrMenuLight = clrWindow;
        clrHighlightChecked = clrWindow;
        clrBarBackground = clrHighlight = clrHighlightDn = clrTabBack = globalData.clrBtnFace;
        clrDarkText = clrMenuBorder = globalData.clrBtnDkShadow;
        clrGripper = clrPaneBorder = clrSeparator = clrFloatToolBarBorder = globalData.clrBtnShadow;
    }
    clrMenuItemBorder = ::GetSysColor(COLOR_HIGHLIGHT);
    CreateSolid(brMenuLight, clrMenuLight);
    CreateSolid(brTabBack, clrTabBack);
    CreateSolid(brBarBackground, clrBarBackground);
    CreateSolid(brHighlight, clrHighlight);
    CreateSolid(brHighlightDn, clrHighlightDn);
    CreateSolid(brHighlightChecked, clrHighlightChecked);
    CreateSolid(brFloatToolBarBorder, clrFloatToolBarBorder);
    penSeparator.DeleteObject();
    penSeparator.CreatePen(PS_SOLID, 1, clrSeparator);
}

int CQMXPVisualManagerXP::MenuImageColumnWidth() const {
    return CQMXPToolBar::GetMenuImageSize().cx + 2 * GetMenuImageMargin() + 1;
}

COLORREF CQMXPVisualManagerXP::HighlightTextColor() const {
    const BOOL bLight = GetRValue(clrHighlight) >= kDarkHighlightLimit &&
                        GetGValue(clrHighlight) >= kDarkHighlightLimit &&
                        GetBValue(clrHighlight) >= kDarkHighlightLimit;
    return bLight ? RGB(0, 0, 0) : RGB(255, 255, 255);
}

void CQMXPVisualManagerXP::OnFillBarBackground(CDC* pDC, CQMXPBaseControlBar* pBar, CRect rectClient,
                                               CRect rectClip, BOOL bNCArea) {
    if (pBar == nullptr || pBar->IsKindOf(RUNTIME_CLASS(CQMXPMenuBar))) {
        CQMXPVisualManager::OnFillBarBackground(pDC, pBar, rectClient, rectClip, bNCArea);
        return;
    }
    // A page with colours of its own fills itself in every look.
    if (auto* pPane = DYNAMIC_DOWNCAST(CQMXPOutlookBarPane, pBar); pPane != nullptr && pPane->HasOwnColors()) {
        CQMXPVisualManager::OnFillBarBackground(pDC, pBar, rectClient, rectClip, bNCArea);
        return;
    }
    if (rectClip.IsRectEmpty())
        rectClip = rectClient;
    if (auto* pColorBar = DYNAMIC_DOWNCAST(CQMXPColorBar, pBar)) {
        pDC->FillRect(&rectClip, pColorBar->IsTearOff() ? &brBarBackground : &brMenuLight);
        return;
    }
    if (pBar->IsKindOf(RUNTIME_CLASS(CQMXPPopupMenuBar))) {
        pDC->FillRect(&rectClip, &brMenuLight);
        CRect rectColumn = rectClient;
        rectColumn.right = rectColumn.left + MenuImageColumnWidth();
        rectColumn.IntersectRect(&rectColumn, &rectClip);
        pDC->FillRect(&rectColumn, &brBarBackground);
        return;
    }
    if (pBar->IsKindOf(RUNTIME_CLASS(CQMXPToolBar))) {
        pDC->FillRect(&rectClip, &brBarBackground);
        return;
    }
    CQMXPVisualManager::OnFillBarBackground(pDC, pBar, rectClient, rectClip, bNCArea);
}

void CQMXPVisualManagerXP::OnDrawBarBorder(CDC* pDC, CQMXPBaseControlBar* pBar, CRect& rect) {
    const DWORD dwStyle = pBar->GetBarStyle();
    const COLORREF clrBk = pDC->GetBkColor();
    if (dwStyle & CBRS_BORDER_LEFT) {
        pDC->FillSolidRect(rect.left, rect.top, 1, rect.Height(), globalData.clrBtnFace);
        ++rect.left;
    }
    if (dwStyle & CBRS_BORDER_TOP) {
        pDC->FillSolidRect(rect.left, rect.top, rect.Width(), 1, globalData.clrBtnFace);
        ++rect.top;
    }
    if (dwStyle & CBRS_BORDER_RIGHT) {
        pDC->FillSolidRect(rect.right, rect.top, 1, rect.Height(), globalData.clrBtnFace);
        --rect.right;
    }
    if (dwStyle & CBRS_BORDER_BOTTOM) {
        pDC->FillSolidRect(rect.left, rect.bottom, rect.Width(), 1, globalData.clrBtnFace);
        --rect.bottom;
    }
    pDC->SetBkColor(clrBk);
}

void CQMXPVisualManagerXP::OnDrawMenuBorder(CDC* pDC, CQMXPPopupMenu* pMenu, CRect rect) {
    FrameRect(pDC, rect, clrMenuBorder);
    CRect rectInner = rect;
    rectInner.DeflateRect(1, 1);
    FrameRect(pDC, rectInner, clrMenuLight);
    // Joins the image column to the border.
    CRect rectJoin(rect.left + 1, rect.top + 1, rect.left + 2, rect.bottom - 1);
    pDC->FillRect(&rectJoin, &brBarBackground);

    if (pMenu == nullptr || CQMXPToolBar::m_bCustomizeMode || !bConnectMenuToParent)
        return;
    CQMXPToolbarMenuButton* pButton = pMenu->GetParentButton();
    if (pButton == nullptr || pMenu->GetParentPopup() != nullptr || !pButton->IsBorder())
        return;
    // The border opens where the menu touches the button that dropped it.
    const CRect rectButton = pButton->GetRect();
    CRect rectGap;
    switch (pMenu->dropDirection) {
    case QMXP_DROP_DOWN:
        rectGap.SetRect(rect.left + 1, rect.top, rect.left + rectButton.Width() - 1, rect.top + 1);
        break;
    case QMXP_DROP_UP:
        rectGap.SetRect(rect.left + 1, rect.bottom - 1, rect.left + rectButton.Width() - 1, rect.bottom);
        break;
    case QMXP_DROP_RIGHT:
        rectGap.SetRect(rect.left, rect.top + 1, rect.left + 1, rect.top + rectButton.Height() - 1);
        break;
    case QMXP_DROP_LEFT:
        rectGap.SetRect(rect.right - 1, rect.top + 1, rect.right, rect.top + rectButton.Height() - 1);
        break;
    default:
        return;
    }
    pDC->FillRect(&rectGap, &brBarBackground);
}

void CQMXPVisualManagerXP::CreateGripperBrushes() {
    if (brGripperHorz.m_hObject != nullptr)
        return;
    const WORD horz[8] = {0xFF, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0};
    const WORD vert[8] = {0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA};
    for (int i = 0; i < 2; ++i) {
        HBITMAP hbm = ::CreateBitmap(8, 8, 1, 1, i == 0 ? horz : vert);
        HBRUSH hbr = ::CreatePatternBrush(hbm);
        ::DeleteObject(hbm);
        (i == 0 ? brGripperHorz : brGripperVert).Attach(hbr);
    }
}

void CQMXPVisualManagerXP::DrawGripperCaption(CDC* pDC, CRect rect, BOOL bHorz, CQMXPBaseControlBar* pBar) {
    CString strText;
    pBar->GetWindowText(strText);
    if (strText.IsEmpty())
        return;
    strText = L" " + strText + L" ";
    const COLORREF clrOldText = pDC->SetTextColor(globalData.clrBtnText);
    const COLORREF clrOldBk = pDC->SetBkColor(globalData.clrBtnFace);
    const int nOldMode = pDC->SetBkMode(OPAQUE);
    CFont* pOldFont = pDC->SelectObject(bHorz ? &globalData.fontRegular : &globalData.fontVert);
    if (bHorz) {
        pDC->DrawText(strText, &rect, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
    } else {
        const CSize sizeText = pDC->GetTextExtent(strText);
        // The vertical font runs downwards with its cells left of the point.
        const int x = rect.left + (rect.Width() + sizeText.cy) / 2;
        const int y = rect.top + std::max(0, (rect.Height() - static_cast<int>(sizeText.cx)) / 2);
        pDC->ExtTextOut(x, y, 0, nullptr, strText, nullptr);
    }
    pDC->SelectObject(pOldFont);
    pDC->SetBkMode(nOldMode);
    pDC->SetBkColor(clrOldBk);
    pDC->SetTextColor(clrOldText);
}

void CQMXPVisualManagerXP::DrawGripperStripes(CDC* pDC, CRect rect, BOOL bHorz, CQMXPBaseControlBar* pBar) {
    CreateGripperBrushes();
    const BOOL bPane = pBar != nullptr && pBar->IsKindOf(RUNTIME_CLASS(CQMXPDockingControlBar));
    COLORREF clrBack = clrBarBackground;
    if (bPane || (pBar != nullptr && pBar->IsKindOf(RUNTIME_CLASS(CQMXPMenuBar))))
        clrBack = globalData.clrBtnFace;
    BOOL bHorzStripes = bHorz;
    CRect rectStrip = rect;
    if (bPane) {
        rectStrip.DeflateRect(4, 0);
        bHorzStripes = !bHorz;
    } else if (bHorz) {
        const int mid = rect.left + rect.Width() / 2;
        rectStrip.SetRect(mid - 1, rect.top + 5, mid + 2, rect.bottom - 5);
    } else {
        const int mid = rect.top + rect.Height() / 2;
        rectStrip.SetRect(rect.left + 5, mid - 1, rect.right - 5, mid + 2);
    }
    const COLORREF clrOldText = pDC->SetTextColor(clrGripper);
    const COLORREF clrOldBk = pDC->SetBkColor(clrBack);
    pDC->FillRect(&rectStrip, bHorzStripes ? &brGripperHorz : &brGripperVert);
    pDC->SetBkColor(clrOldBk);
    pDC->SetTextColor(clrOldText);
    if (bPane)
        DrawGripperCaption(pDC, rectStrip, bHorz, pBar);
}

void CQMXPVisualManagerXP::OnDrawBarGripper(CDC* pDC, CRect rectGripper, BOOL bHorz, CQMXPBaseControlBar* pBar) {
    DrawGripperStripes(pDC, rectGripper, bHorz, pBar);
}

void CQMXPVisualManagerXP::OnDrawSeparator(CDC* pDC, CQMXPBaseControlBar* pBar, CRect rect, BOOL bIsHoriz) {
    CPen* pOldPen = pDC->SelectObject(&penSeparator);
    if (bIsHoriz) {
        const int x = rect.left + rect.Width() / 2;
        pDC->MoveTo(x, rect.top);
        pDC->LineTo(x, rect.bottom - 1);
    } else {
        const int y = rect.top + rect.Height() / 2;
        // A menu's separator leaves its image column alone and reaches the
        // menu's right edge, whatever the insets of its item.
        if (pBar != nullptr && pBar->IsKindOf(RUNTIME_CLASS(CQMXPPopupMenuBar)) &&
            !pBar->IsKindOf(RUNTIME_CLASS(CQMXPColorBar))) {
            CRect rectClient;
            pBar->GetClientRect(&rectClient);
            rect.left = rectClient.left + MenuImageColumnWidth();
            rect.right = rectClient.right;
        }
        pDC->MoveTo(rect.left, y);
        pDC->LineTo(rect.right, y);
    }
    pDC->SelectObject(pOldPen);
}

COLORREF CQMXPVisualManagerXP::OnFillBarCaption(CDC* pDC, CQMXPBaseControlBar*, BOOL bActive, CRect rectCaption,
                                                CRect) {
    CBrush brFill;
    brFill.Attach(::GetSysColorBrush(bActive ? COLOR_ACTIVECAPTION : COLOR_BTNFACE));
    CPen pen(PS_SOLID, 1, bActive ? globalData.clrBtnLight : globalData.clrBtnShadow);
    if (bActive)
        rectCaption.InflateRect(1, 0);
    CBrush* pOldBrush = pDC->SelectObject(&brFill);
    CPen* pOldPen = pDC->SelectObject(&pen);
    pDC->RoundRect(&rectCaption, CPoint(2, 2));
    pDC->SelectObject(pOldPen);
    pDC->SelectObject(pOldBrush);
    brFill.Detach();
    return ::GetSysColor(bActive ? COLOR_CAPTIONTEXT : COLOR_BTNTEXT);
}

void CQMXPVisualManagerXP::OnDrawCaptionButton(CDC* pDC, CQMXPCaptionButton* pButton, BOOL bActive, BOOL bHorz,
                                               BOOL bMaximized, BOOL bDisabled) {
    const CRect rect = pButton->GetRect();
    const BOOL bPushed = pButton->m_bPushed;
    const BOOL bHot = pButton->m_bFocused;
    if (bPushed && bHot)
        pDC->FillRect(&rect, &brHighlightDn);
    else if (bPushed || bHot)
        pDC->FillRect(&rect, &brHighlight);

    const int nGlyph = CaptionButtonGlyph(pButton->m_nHit, bHorz, bMaximized);
    int nStyle = CQMXPMenuGlyphs::ImageBlack;
    if (bDisabled)
        nStyle = CQMXPMenuGlyphs::ImageGray;
    else if (bPushed && bHot)
        nStyle = CQMXPMenuGlyphs::ImageWhite;
    else if (!bPushed && !bHot && bActive)
        nStyle = CQMXPMenuGlyphs::ImageWhite;
    if (nGlyph >= 0)
        CQMXPMenuGlyphs::DrawCentered(pDC, nGlyph, rect, nStyle);
    if (bPushed || bHot)
        FrameRect(pDC, rect, globalData.clrBtnDkShadow);
}

void CQMXPVisualManagerXP::OnDrawMenuSystemButton(CDC* pDC, CRect rect, UINT uiSystemCommand, UINT nStyle,
                                                  BOOL bHighlight) {
    int nGlyph;
    switch (uiSystemCommand) {
    case SC_MINIMIZE:
        nGlyph = CQMXPMenuGlyphs::IdMinimize;
        break;
    case SC_RESTORE:
        nGlyph = CQMXPMenuGlyphs::IdRestore;
        break;
    case SC_CLOSE:
        nGlyph = CQMXPMenuGlyphs::IdClose;
        break;
    default:
        return;
    }
    const BOOL bDisabled = (nStyle & TBBS_DISABLED) != 0;
    if (bHighlight && !bDisabled) {
        pDC->FillRect(&rect, (nStyle & TBBS_PRESSED) ? &brHighlightDn : &brHighlight);
        FrameRect(pDC, rect, clrMenuItemBorder);
    }
    const int nColors = bDisabled ? CQMXPMenuGlyphs::ImageGray
                                  : (bHighlight ? CQMXPMenuGlyphs::ImageWhite : CQMXPMenuGlyphs::ImageBlack);
    CQMXPMenuGlyphs::DrawCentered(pDC, nGlyph, rect, nColors);
}

void CQMXPVisualManagerXP::OnDrawStatusBarPaneBorder(CDC* pDC, CQMXPStatusBar*, CRect rectPane, UINT,
                                                     UINT nStyle) {
    if (nStyle & SBPS_NOBORDERS)
        return;
    if (nStyle & SBPS_POPOUT)
        CQMXPDrawManager(*pDC).HighlightRect(rectPane);
    FrameRect(pDC, rectPane, clrPaneBorder);
}

void CQMXPVisualManagerXP::OnDrawComboDropButton(CDC* pDC, CRect rect, BOOL bDisabled, BOOL bIsDropped,
                                                 BOOL bIsHighlighted, CQMXPToolbarComboBoxButton*) {
    if (!bIsDropped && !bIsHighlighted) {
        pDC->FillRect(&rect, &globalData.brBtnFace);
        FrameRect(pDC, rect, globalData.clrBtnHilite);
    } else {
        pDC->FillRect(&rect, bIsDropped ? &brHighlightDn : &brHighlight);
        pDC->FillSolidRect(rect.left, rect.top, 1, rect.Height(), clrMenuItemBorder);
    }
    CRect rectGlyph = rect;
    rectGlyph.OffsetRect(1, 1);
    int nColors = CQMXPMenuGlyphs::ImageBlack;
    if (bDisabled)
        nColors = CQMXPMenuGlyphs::ImageGray;
    else if (bIsDropped && bIsHighlighted)
        nColors = CQMXPMenuGlyphs::ImageWhite;
    CQMXPMenuGlyphs::DrawCentered(pDC, CQMXPMenuGlyphs::IdArowDown, rectGlyph, nColors);
}

void CQMXPVisualManagerXP::OnDrawComboBorder(CDC* pDC, CRect rect, BOOL, BOOL bIsDropped, BOOL bIsHighlighted,
                                             CQMXPToolbarComboBoxButton*) {
    if (!bIsDropped && !bIsHighlighted)
        return;
    rect.DeflateRect(1, 1);
    FrameRect(pDC, rect, clrMenuItemBorder);
}

void CQMXPVisualManagerXP::OnDrawTearOffCaption(CDC* pDC, CRect rect, BOOL bIsActive) {
    CreateGripperBrushes();
    const CRect rectOuter = rect;
    pDC->FillRect(&rect, &brMenuLight);
    rect.DeflateRect(1, 1);
    pDC->FillRect(&rect, bIsActive ? &brHighlight : &brBarBackground);
    const int nWidth = std::max(20, 2 * static_cast<int>(CQMXPToolBar::GetMenuImageSize().cx));
    CRect rectStrip(rect.left + (rect.Width() - nWidth) / 2, rect.top + 1, 0, rect.bottom - 1);
    rectStrip.right = rectStrip.left + nWidth;
    if (bIsActive)
        rectStrip.DeflateRect(0, 1);
    const COLORREF clrOldText = pDC->SetTextColor(bIsActive ? globalData.clrBtnDkShadow : globalData.clrBtnShadow);
    const COLORREF clrOldBk = pDC->SetBkColor(bIsActive ? clrHighlight : clrBarBackground);
    pDC->FillRect(&rectStrip, &brGripperHorz);
    pDC->SetBkColor(clrOldBk);
    pDC->SetTextColor(clrOldText);
    if (bIsActive)
        FrameRect(pDC, rectOuter, globalData.clrBtnDkShadow);
}

void CQMXPVisualManagerXP::AdjustDroppedButtonRect(CQMXPToolbarMenuButton* pButton, CRect& rect) {
    CQMXPPopupMenu* pMenu = pButton->GetPopupMenu();
    if (pMenu == nullptr)
        return;
    switch (pMenu->dropDirection) {
    case QMXP_DROP_DOWN:
        rect.bottom += 4;
        break;
    case QMXP_DROP_UP:
        rect.top -= 4;
        break;
    case QMXP_DROP_RIGHT:
        rect.right += 4;
        break;
    case QMXP_DROP_LEFT:
        rect.left -= 4;
        break;
    default:
        break;
    }
}

void CQMXPVisualManagerXP::OnFillButtonInterior(CDC* pDC, CQMXPToolbarButton* pButton, CRect rect, int state) {
    if (state == kStateNormal || CQMXPToolBar::m_bCustomizeMode)
        return;
    const BOOL bMenuItem = IsPopupMenuItem(pButton);
    CBrush* pBrush = &brHighlight;
    const BOOL bChecked = (pButton->m_nStyle & TBBS_CHECKED) != 0;
    if ((pButton->m_nStyle & TBBS_PRESSED) && !bMenuItem)
        pBrush = &brHighlightDn;
    if (CQMXPToolbarMenuButton* pDropped = DroppedBarButton(pButton)) {
        pBrush = &brBarBackground;
        AdjustDroppedButtonRect(pDropped, rect);
    }
    if (bChecked)
        pBrush = state == kStateHighlighted ? &brHighlightDn : &brHighlightChecked;
    if (bMenuItem && (pButton->m_nStyle & TBBS_DISABLED))
        pBrush = &brMenuLight;
    if (!(bMenuItem && state == kStateHighlighted)) {
        --rect.right;
        --rect.bottom;
    }
    if (!bChecked)
        rect.DeflateRect(1, 1);
    pDC->FillRect(&rect, pBrush);
}

void CQMXPVisualManagerXP::OnDrawButtonBorder(CDC* pDC, CQMXPToolbarButton* pButton, CRect rect, int state) {
    if (state == kStateNormal)
        return;
    const BOOL bMenuItem = IsPopupMenuItem(pButton);
    if (!(bMenuItem && state == kStateHighlighted)) {
        --rect.right;
        --rect.bottom;
    }
    if (bMenuItem && (pButton->m_nStyle & TBBS_CHECKED))
        --rect.bottom;
    if (CQMXPToolbarMenuButton* pDropped = DroppedBarButton(pButton)) {
        AdjustDroppedButtonRect(pDropped, rect);
        FrameRect(pDC, rect, clrMenuBorder);
        if (CQMXPPopupMenu::bMenuShadows && !CQMXPToolBar::m_bCustomizeMode && globalData.bitsPerPixel > 8)
            CQMXPDrawManager(*pDC).PaintShadow(rect, 4, 100, 75);
        return;
    }
    FrameRect(pDC, rect, clrMenuItemBorder);
}

void CQMXPVisualManagerXP::OnHighlightMenuItem(CDC* pDC, CQMXPToolbarMenuButton* pButton, CRect rect,
                                               COLORREF& clrText) {
    const BOOL bDisabled = (pButton->m_nStyle & TBBS_DISABLED) != 0;
    CBrush* pBrush = bDisabled ? &brMenuLight : &brHighlight;
    pDC->FillRect(&rect, pBrush);
    FrameRect(pDC, rect, clrMenuItemBorder);
    // The highlight reaches back to the end of the image column.
    const int nMargin = GetMenuImageMargin();
    if (IsPopupMenuItem(pButton) && rect.left > nMargin) {
        int left = CQMXPToolBar::GetMenuImageSize().cx + 2 * nMargin - 1;
        if (pButton->m_nStyle & TBBS_CHECKED)
            ++left;
        CRect rectBand(left, rect.top, rect.left + 1, rect.bottom);
        if (rectBand.Width() > 0) {
            FrameRect(pDC, rectBand, clrMenuItemBorder);
            rectBand.DeflateRect(0, 1);
            pDC->FillRect(&rectBand, pBrush);
        }
    }
    clrText = bDisabled ? globalData.clrGrayedText : HighlightTextColor();
}

void CQMXPVisualManagerXP::OnHighlightRarelyUsedMenuItems(CDC* pDC, CRect rectRarelyUsed) {
    const CRect rectColumn(rectRarelyUsed.left - 1, rectRarelyUsed.top,
                           rectRarelyUsed.left - 1 + MenuImageColumnWidth() + 1, rectRarelyUsed.bottom);
    CQMXPDrawManager(*pDC).HighlightRect(rectColumn, 94);
}

COLORREF CQMXPVisualManagerXP::GetToolbarButtonTextColor(CQMXPToolbarButton* pButton, int state) {
    // Outlook pages are light in this look: their buttons write dark.
    if (pButton->IsKindOf(RUNTIME_CLASS(CQMXPOutlookButton))) {
        return IsButtonDisabled(pButton) ? globalData.clrGrayedText : globalData.clrBtnText;
    }
    if (state == kStateHighlighted && (pButton->m_nStyle & (TBBS_CHECKED | TBBS_PRESSED)) &&
        !(pButton->m_nStyle & TBBS_DISABLED))
        return globalData.clrTextHilite;
    return CQMXPVisualManager::GetToolbarButtonTextColor(pButton, state);
}

COLORREF CQMXPVisualManagerXP::OnFillCommandsListBackground(CDC* pDC, CRect rect, BOOL bIsSelected) {
    if (bIsSelected) {
        pDC->FillRect(&rect, &brHighlight);
        return HighlightTextColor();
    }
    pDC->FillRect(&rect, &brMenuLight);
    CRect rectColumn = rect;
    rectColumn.right = rect.left + CQMXPToolBar::m_sizeImage.cx + GetMenuImageMargin() + 2;
    pDC->FillRect(&rectColumn, &brBarBackground);
    return globalData.clrBtnText;
}

COLORREF CQMXPVisualManagerXP::OnFillMiniFrameCaption(CDC* pDC, CRect rectCaption, CQMXPMiniFrameWnd* pFrameWnd,
                                                      BOOL bActive) {
    CQMXPBaseControlBar* pBar = pFrameWnd != nullptr ? pFrameWnd->GetControlBar() : nullptr;
    if (pBar != nullptr && pBar->IsKindOf(RUNTIME_CLASS(CQMXPToolBar)))
        pDC->FillRect(&rectCaption, &brFloatToolBarBorder);
    else
        ::FillRect(pDC->m_hDC, &rectCaption,
                   ::GetSysColorBrush(bActive ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
    return ::GetSysColor(COLOR_CAPTIONTEXT);
}

void CQMXPVisualManagerXP::OnDrawMiniFrameBorder(CDC* pDC, CQMXPMiniFrameWnd*, CRect rectBorder,
                                                 CRect rectBorderSize) {
    CBrush* pOldBrush = pDC->SelectObject(&brFloatToolBarBorder);
    const CRect& r = rectBorder;
    pDC->PatBlt(r.left, r.top, r.Width(), rectBorderSize.top, PATCOPY);
    pDC->PatBlt(r.left, r.top, rectBorderSize.left, r.Height(), PATCOPY);
    pDC->PatBlt(r.right - rectBorderSize.right, r.top, rectBorderSize.right, r.Height(), PATCOPY);
    pDC->PatBlt(r.left, r.bottom - rectBorderSize.bottom, r.Width(), rectBorderSize.bottom, PATCOPY);
    // The inner bands in the face colour, one pixel shorter at each end.
    pDC->SelectObject(&globalData.brBtnFace);
    CRect rectInner = rectBorder;
    rectInner.DeflateRect(2, 2);
    pDC->PatBlt(rectInner.left + 1, rectInner.top, rectInner.Width() - 2, 1, PATCOPY);
    pDC->PatBlt(rectInner.left, rectInner.top + 1, 1, rectInner.Height() - 2, PATCOPY);
    pDC->PatBlt(rectInner.right - 1, rectInner.top + 1, 1, rectInner.Height() - 2, PATCOPY);
    pDC->PatBlt(rectInner.left + 1, rectInner.bottom - 1, rectInner.Width() - 2, 1, PATCOPY);
    pDC->SelectObject(pOldBrush);
}

int CQMXPVisualManagerXP::GetMenuImageMargin() const { return 3; }

BOOL CQMXPVisualManagerXP::IsLookOptionAvailable() const { return FALSE; }
