#include "docking/toolbars/QMXPVisualManager.h"

#include "docking/bars/QMXPBaseControlBar.h"
#include "docking/bars/QMXPCaptionBar.h"
#include "docking/bars/QMXPOutlookBarPane.h"
#include "docking/bars/QMXPOutlookButton.h"
#include "docking/bars/QMXPCaptionButton.h"
#include "docking/bars/QMXPStatusBar.h"
#include "docking/frames/QMXPMiniFrameWnd.h"
#include "docking/toolbars/QMXPBaseToolBar.h"
#include "docking/toolbars/QMXPDrawManager.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPMenuGlyphs.h"
#include "docking/toolbars/QMXPShowAllButton.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "docking/toolbars/QMXPToolbarButton.h"
#include "docking/toolbars/QMXPUserToolsManager.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/WinThread.h"

#include <cstdio>

IMPLEMENT_DYNCREATE(CQMXPVisualManager, CObject)

CQMXPVisualManager* CQMXPVisualManager::currentManager = nullptr;
CRuntimeClass* CQMXPVisualManager::managerClass = nullptr;

namespace {

// Caption-button hit codes.
constexpr UINT kHitPin = 8;
constexpr UINT kHitMaximize = 9;
constexpr UINT kHitCloseBar = 19;
constexpr UINT kHitClose = 20;

enum { kStateNormal = 0, kStatePressed = 1, kStateHighlighted = 2 };

void FillWithSysColor(CDC* pDC, const CRect& rect, int nColor) { ::FillRect(pDC->m_hDC, &rect, ::GetSysColorBrush(nColor)); }

// The top-left corner that centres a glyph in the rectangle.
CPoint GlyphOrigin(const CRect& rect) {
    const CSize sizeGlyph = CQMXPMenuGlyphs::GetSize();
    return CPoint(rect.left + (rect.Width() - sizeGlyph.cx) / 2, rect.top + (rect.Height() - sizeGlyph.cy) / 2);
}

}  // namespace

CQMXPVisualManager::CQMXPVisualManager(BOOL bIsTemporaryIn)
    : bLook2000(FALSE),
      menuShadowDepth(6),
      bFlatLook(FALSE),
      bShadowHighlightedImage(FALSE),
      bEmbossDisabledImage(TRUE),
      bFadeInactiveImage(FALSE),
      bIsTemporary(bIsTemporaryIn),
      bAutoDestroy(FALSE) {
    SetClassicTaskPaneLayout();
    if (!bIsTemporary && currentManager == nullptr)
        currentManager = this;
}

void CQMXPVisualManager::SetTaskPaneLayout(int nGroupLeft, int nGroupRight, int nGroupVert, int nCaptionHeight,
                                           int nCaptionHorz, int nCaptionVert, int nTaskHorz, int nTaskIcon,
                                           int nTaskVert, BOOL bCaptionBold) {
    groupLeftMargin = nGroupLeft;
    groupRightMargin = nGroupRight;
    groupVertSpacing = nGroupVert;
    groupCaptionHeight = nCaptionHeight;
    groupCaptionHorzOffset = nCaptionHorz;
    groupCaptionVertOffset = nCaptionVert;
    taskHorzOffset = nTaskHorz;
    taskIconOffset = nTaskIcon;
    taskVertSpacing = nTaskVert;
    bGroupCaptionBold = bCaptionBold;
}

void CQMXPVisualManager::SetClassicTaskPaneLayout() { SetTaskPaneLayout(12, 12, 15, 25, 13, 7, 12, 5, 4, TRUE); }

CQMXPVisualManager::~CQMXPVisualManager() {
    // Another manager that became current meanwhile stays current.
    if (!bIsTemporary && currentManager == this)
        currentManager = nullptr;
}

void CQMXPVisualManager::SelectManagerClass(CRuntimeClass* pRTI) {
    if (pRTI != nullptr && !pRTI->IsDerivedFrom(RUNTIME_CLASS(CQMXPVisualManager)))
        return;
    managerClass = pRTI;
    if (currentManager != nullptr) {
        CQMXPVisualManager* pOld = currentManager;
        currentManager = nullptr;
        // A manager the application made itself stays the application's.
        if (pOld->bAutoDestroy)
            delete pOld;
    }
    RedrawAll();
}

CQMXPVisualManager* CQMXPVisualManager::GetInstance() {
    if (currentManager == nullptr) {
        CObject* pObject = managerClass != nullptr ? managerClass->CreateObject() : nullptr;
        auto* pManager = pObject != nullptr ? static_cast<CQMXPVisualManager*>(pObject) : new CQMXPVisualManager;
        currentManager = pManager;
        pManager->bAutoDestroy = TRUE;
    }
    return currentManager;
}

void CQMXPVisualManager::RedrawAll() {
    const UINT nFlags = RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW;
    CWnd* pMainWnd = AfxGetMainWnd();
    if (pMainWnd != nullptr && pMainWnd->GetSafeHwnd() != nullptr)
        pMainWnd->RedrawWindow(nullptr, nullptr, nFlags);
    for (CQMXPToolBar* pToolBar : CQMXPToolBar::GetAllToolbars()) {
        if (pToolBar->GetSafeHwnd() != nullptr)
            pToolBar->RedrawWindow(nullptr, nullptr, nFlags);
    }
    // Floating frames are top-level windows: their borders and captions
    // take the new look only when they are redrawn themselves.
    CQMXPMiniFrameWnd::RedrawAll();
}

void CQMXPVisualManager::SetLook2000(BOOL bLook2000In) {
    bLook2000 = bLook2000In;
    CWnd* pMainWnd = AfxGetMainWnd();
    if (pMainWnd != nullptr && pMainWnd->GetSafeHwnd() != nullptr)
        pMainWnd->RedrawWindow(nullptr, nullptr,
                               RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_ERASENOW | RDW_FRAME);
    RedrawAll();
}

void CQMXPVisualManager::OnUpdateSystemColors() {}

void CQMXPVisualManager::OnFillBarBackground(CDC* pDC, CQMXPBaseControlBar* pBar, CRect rectClient, CRect rectClip,
                                             BOOL) {
    // Outlook bar panes fill themselves: a colour or a tiled bitmap.
    if (auto* pPane = DYNAMIC_DOWNCAST(CQMXPOutlookBarPane, pBar)) {
        pPane->FillBackground(pDC, rectClient);
        return;
    }
    if (pBar != nullptr && pBar->IsKindOf(RUNTIME_CLASS(CQMXPCaptionBar))) {
        const COLORREF clrBack = static_cast<CQMXPCaptionBar*>(pBar)->GetBackColor();
        pDC->FillSolidRect(&rectClip, clrBack == static_cast<COLORREF>(-1) ? globalData.clrBtnShadow : clrBack);
        return;
    }
    pDC->FillRect(rectClip.IsRectEmpty() ? &rectClient : &rectClip, &globalData.brBtnFace);
}

COLORREF CQMXPVisualManager::GetCaptionBarTextColor(CQMXPCaptionBar*) { return globalData.clrBtnHilite; }

void CQMXPVisualManager::OnDrawBarBorder(CDC* pDC, CQMXPBaseControlBar* pBar, CRect& rect) {
    const DWORD dwStyle = pBar->GetBarStyle();
    if (pBar->IsFloating() || !(dwStyle & CBRS_BORDER_ANY))
        return;
    const COLORREF clrBk = pDC->GetBkColor();
    if (dwStyle & CBRS_BORDER_LEFT)
        pDC->FillSolidRect(rect.left, rect.top, 1, rect.Height() - 1, globalData.clrBtnHilite);
    if (dwStyle & CBRS_BORDER_TOP)
        pDC->FillSolidRect(rect.left, rect.top, rect.Width() - 1, 1, globalData.clrBtnHilite);
    if (dwStyle & CBRS_BORDER_RIGHT)
        pDC->FillSolidRect(rect.right - 1, rect.top, 1, rect.Height(), globalData.clrBtnShadow);
    if (dwStyle & CBRS_BORDER_BOTTOM)
        pDC->FillSolidRect(rect.left, rect.bottom - 1, rect.Width() - 1, 1, globalData.clrBtnShadow);
    if (!pBar->CanFloat()) {
        pDC->FillSolidRect(rect.left, rect.top, rect.Width(), 1, globalData.clrBtnShadow);
        pDC->FillSolidRect(rect.left, rect.top + 1, rect.Width(), 1, globalData.clrBtnHilite);
    }
    if (dwStyle & CBRS_BORDER_LEFT)
        ++rect.left;
    if (dwStyle & CBRS_BORDER_TOP)
        ++rect.top;
    if (dwStyle & CBRS_BORDER_RIGHT)
        --rect.right;
    if (dwStyle & CBRS_BORDER_BOTTOM)
        --rect.bottom;
    pDC->SetBkColor(clrBk);
}

void CQMXPVisualManager::OnDrawMenuBorder(CDC* pDC, CQMXPPopupMenu*, CRect rect) {
    pDC->Draw3dRect(&rect, globalData.clrBtnLight, globalData.clrBtnDkShadow);
    rect.DeflateRect(1, 1);
    pDC->Draw3dRect(&rect, globalData.clrBtnHilite, globalData.clrBtnShadow);
}

void CQMXPVisualManager::OnDrawBarGripper(CDC* pDC, CRect rectGripper, BOOL bHorz, CQMXPBaseControlBar*) {
    const int nLines = bLook2000 ? 1 : 2;
    const int nShrink = bLook2000 ? 3 : 2;
    const int nLineWidth = 3;
    const int nLineStep = 4;
    if (bHorz) {
        rectGripper.DeflateRect(0, nShrink);
        const int mid = (rectGripper.left + rectGripper.right) / 2;
        int x = bLook2000 ? mid - 1 : mid - 2;
        for (int i = 0; i < nLines; ++i, x += nLineStep) {
            pDC->Draw3dRect(x, rectGripper.top, nLineWidth, rectGripper.Height(), globalData.clrBtnHilite,
                            globalData.clrBtnShadow);
            if (!bLook2000)
                pDC->SetPixel(x, rectGripper.bottom - 1, globalData.clrBtnHilite);
        }
    } else {
        if (!bLook2000)
            ++rectGripper.top;
        rectGripper.DeflateRect(nShrink, 0);
        const int mid = (rectGripper.top + rectGripper.bottom) / 2;
        int y = bLook2000 ? mid - 1 : mid - 2;
        for (int i = 0; i < nLines; ++i, y += nLineStep) {
            pDC->Draw3dRect(rectGripper.left, y, rectGripper.Width(), nLineWidth, globalData.clrBtnHilite,
                            globalData.clrBtnShadow);
            if (!bLook2000)
                pDC->SetPixel(rectGripper.right - 1, y, globalData.clrBtnHilite);
        }
    }
}

void CQMXPVisualManager::OnDrawSeparator(CDC* pDC, CQMXPBaseControlBar*, CRect rect, BOOL bIsHoriz) {
    if (bIsHoriz) {
        const int mid = rect.left + rect.Width() / 2;
        pDC->Draw3dRect(mid - 1, rect.top, 2, rect.Height(), globalData.clrBtnShadow, globalData.clrBtnHilite);
    } else {
        const int mid = rect.top + rect.Height() / 2;
        pDC->Draw3dRect(rect.left, mid - 1, rect.Width(), 2, globalData.clrBtnShadow, globalData.clrBtnHilite);
    }
}

COLORREF CQMXPVisualManager::OnFillBarCaption(CDC* pDC, CQMXPBaseControlBar*, BOOL bActive, CRect rectCaption,
                                              CRect) {
    FillWithSysColor(pDC, rectCaption, bActive ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
    return ::GetSysColor(COLOR_CAPTIONTEXT);
}

int CQMXPVisualManager::CaptionButtonGlyph(UINT nHit, BOOL bPinFlag, BOOL bMaximized) {
    switch (nHit) {
    case kHitPin:
        return bPinFlag ? (bMaximized ? 9 : 1) : (bMaximized ? 0 : 7);
    case kHitMaximize:
        return bMaximized ? CQMXPMenuGlyphs::IdMaximizeState : CQMXPMenuGlyphs::IdMaximizeAll;
    case kHitCloseBar:
    case kHitClose:
        return CQMXPMenuGlyphs::IdClose;
    default:
        return -1;
    }
}

void CQMXPVisualManager::OnDrawCaptionButton(CDC* pDC, CQMXPCaptionButton* pButton, BOOL bActive, BOOL bHorz,
                                             BOOL bMaximized, BOOL bDisabled) {
    const int nGlyph = CaptionButtonGlyph(pButton->m_nHit, bActive, bMaximized);
    CRect rect = pButton->GetRect();
    const BOOL bPushedHot = pButton->m_bPushed && pButton->m_bFocused;
    CPoint ptGlyph = GlyphOrigin(rect);
    if (bPushedHot)
        ptGlyph.Offset(1, 1);
    const int nStyle = bDisabled ? CQMXPMenuGlyphs::ImageGray
                                 : (bHorz ? CQMXPMenuGlyphs::ImageWhite : CQMXPMenuGlyphs::ImageBlack);
    if (nGlyph >= 0)
        CQMXPMenuGlyphs::Draw(pDC, nGlyph, ptGlyph, nStyle);
    if (bDisabled)
        return;
    if (bPushedHot) {
        pDC->Draw3dRect(&rect, globalData.clrBtnDkShadow, globalData.clrBtnLight);
        rect.DeflateRect(1, 1);
        pDC->Draw3dRect(&rect, globalData.clrBtnDkShadow, globalData.clrBtnHilite);
    } else if (!bLook2000) {
        pDC->Draw3dRect(&rect, globalData.clrBtnLight, globalData.clrBtnDkShadow);
        rect.DeflateRect(1, 1);
        pDC->Draw3dRect(&rect, globalData.clrBtnHilite, globalData.clrBtnShadow);
    } else if (pButton->m_bPushed || pButton->m_bFocused) {
        pDC->Draw3dRect(&rect, globalData.clrBtnHilite, globalData.clrBtnShadow);
    }
}

void CQMXPVisualManager::OnDrawMenuSystemButton(CDC* pDC, CRect rect, UINT uiSystemCommand, UINT nStyle, BOOL) {
    UINT uiState;
    switch (uiSystemCommand) {
    case SC_MINIMIZE:
        uiState = DFCS_CAPTIONMIN;
        break;
    case SC_CLOSE:
        uiState = DFCS_CAPTIONCLOSE;
        break;
    case SC_RESTORE:
        uiState = DFCS_CAPTIONRESTORE;
        break;
    default:
        return;
    }
    if (nStyle & TBBS_PRESSED)
        uiState |= DFCS_PUSHED;
    if (nStyle & TBBS_DISABLED)
        uiState |= DFCS_INACTIVE;
    pDC->DrawFrameControl(&rect, DFC_CAPTION, uiState);
}

void CQMXPVisualManager::OnDrawStatusBarPaneBorder(CDC* pDC, CQMXPStatusBar*, CRect rectPane, UINT, UINT nStyle) {
    if (nStyle & SBPS_NOBORDERS)
        return;
    if (nStyle & SBPS_POPOUT)
        pDC->Draw3dRect(&rectPane, globalData.clrBtnHilite, globalData.clrBtnShadow);
    else
        pDC->Draw3dRect(&rectPane, globalData.clrBtnShadow, globalData.clrBtnHilite);
}

void CQMXPVisualManager::OnDrawStatusBarProgress(CDC* pDC, CQMXPStatusBar*, CRect rectProgress, long nProgressTotal,
                                                 long nProgressCurr, COLORREF clrBar, COLORREF clrProgressBarDest,
                                                 COLORREF clrProgressText, BOOL bProgressText) {
    if (nProgressTotal == 0)
        return;
    CRect rectComplete = rectProgress;
    rectComplete.right =
        rectComplete.left + static_cast<int>(static_cast<long long>(rectComplete.Width()) * nProgressCurr / nProgressTotal);
    if (clrProgressBarDest == static_cast<COLORREF>(-1))
        pDC->FillSolidRect(&rectComplete, clrBar);
    else
        CQMXPDrawManager(*pDC).FillGradient(rectComplete, clrBar, clrProgressBarDest, FALSE);
    if (!bProgressText)
        return;
    wchar_t szText[32];
    swprintf(szText, 32, L"%ld%%", static_cast<long>(static_cast<long long>(nProgressCurr) * 100 / nProgressTotal));
    const UINT nFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    const COLORREF clrOldText = pDC->SetTextColor(globalData.clrBtnText);
    pDC->DrawText(szText, -1, &rectProgress, nFormat);
    // The same text again over the filled part, in the text colour of the fill.
    CRgn rgnClip;
    rgnClip.CreateRectRgnIndirect(&rectComplete);
    pDC->SelectClipRgn(&rgnClip);
    pDC->SetTextColor(clrProgressText == static_cast<COLORREF>(-1) ? ::GetSysColor(COLOR_HIGHLIGHTTEXT)
                                                                    : clrProgressText);
    pDC->DrawText(szText, -1, &rectProgress, nFormat);
    pDC->SelectClipRgn(nullptr);
    pDC->SetTextColor(clrOldText);
    pDC->SetBkMode(nOldMode);
}

void CQMXPVisualManager::OnDrawStatusBarSizeBox(CDC* pDC, CQMXPStatusBar*, CRect rectSizeBox) {
    CFont* pOldFont = pDC->SelectObject(&globalData.fontMarlett);
    const COLORREF clrOld = pDC->SetTextColor(globalData.clrBtnShadow);
    const UINT nOldAlign = pDC->SetTextAlign(TA_RIGHT | TA_BOTTOM);
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    pDC->ExtTextOut(rectSizeBox.right, rectSizeBox.bottom, ETO_CLIPPED, &rectSizeBox, L"o", 1, nullptr);
    pDC->SetBkMode(nOldMode);
    pDC->SetTextAlign(nOldAlign);
    pDC->SetTextColor(clrOld);
    pDC->SelectObject(pOldFont);
}

void CQMXPVisualManager::OnDrawComboDropButton(CDC* pDC, CRect rect, BOOL bDisabled, BOOL bIsDropped,
                                               BOOL bIsHighlighted, CQMXPToolbarComboBoxButton*) {
    pDC->FillSolidRect(&rect, globalData.clrBtnFace);
    pDC->Draw3dRect(&rect, globalData.clrBtnHilite, globalData.clrBtnHilite);
    CPoint ptGlyph = GlyphOrigin(rect) + CSize(1, 1);
    if (bIsDropped) {
        ptGlyph.Offset(1, 1);
        pDC->Draw3dRect(&rect, globalData.clrBtnShadow, globalData.clrBtnHilite);
    } else if (bIsHighlighted) {
        pDC->Draw3dRect(&rect, globalData.clrBtnHilite, globalData.clrBtnShadow);
    }
    CQMXPMenuGlyphs::Draw(pDC, CQMXPMenuGlyphs::IdArowDown, ptGlyph,
                          bDisabled ? CQMXPMenuGlyphs::ImageGray : CQMXPMenuGlyphs::ImageBlack);
}

void CQMXPVisualManager::OnDrawComboBorder(CDC* pDC, CRect rect, BOOL, BOOL bIsDropped, BOOL bIsHighlighted,
                                           CQMXPToolbarComboBoxButton*) {
    if (!bIsDropped && !bIsHighlighted)
        return;
    if (bFlatLook) {
        rect.DeflateRect(1, 1);
        pDC->Draw3dRect(&rect, globalData.clrBtnDkShadow, globalData.clrBtnDkShadow);
    } else {
        pDC->Draw3dRect(&rect, globalData.clrBtnShadow, globalData.clrBtnHilite);
    }
}

void CQMXPVisualManager::OnDrawEditBorder(CDC* pDC, CRect rect, BOOL, BOOL bIsHighlighted,
                                          CQMXPToolbarEditBoxButton*) {
    if (bIsHighlighted)
        pDC->DrawEdge(&rect, EDGE_SUNKEN, BF_RECT);
}

void CQMXPVisualManager::OnDrawTearOffCaption(CDC* pDC, CRect rect, BOOL bIsActive) {
    pDC->FillRect(&rect, &globalData.brBtnFace);
    rect.DeflateRect(2, 1);
    pDC->FillSolidRect(&rect, ::GetSysColor(bIsActive ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
}

void CQMXPVisualManager::OnFillButtonInterior(CDC* pDC, CQMXPToolbarButton* pButton, CRect rect, int state) {
    // The show-all item lightens itself when hot; outlook buttons fill nothing.
    if (pButton->IsKindOf(RUNTIME_CLASS(CQMXPShowAllButton))) {
        if (state == kStateHighlighted)
            CQMXPDrawManager(*pDC).HighlightRect(rect);
        return;
    }
    if (pButton->IsKindOf(RUNTIME_CLASS(CQMXPOutlookButton)))
        return;
    if ((pButton->m_nStyle & (TBBS_CHECKED | TBBS_INDETERMINATE)) && !CQMXPToolBar::m_bCustomizeMode &&
        state != kStateHighlighted) {
        rect.DeflateRect(CQMXPToolBar::m_sizeButtonEdgeMargins);
        pDC->FillRect(&rect, &globalData.brLight);
    }
}

void CQMXPVisualManager::OnDrawButtonBorder(CDC* pDC, CQMXPToolbarButton* pButton, CRect rect, int state) {
    // Outlook buttons take the dark shadow.
    const COLORREF clrDark =
        pButton != nullptr && pButton->IsKindOf(RUNTIME_CLASS(CQMXPOutlookButton)) ? globalData.clrBtnDkShadow
                                                                                   : globalData.clrBtnShadow;
    if (state == kStatePressed)
        pDC->Draw3dRect(&rect, clrDark, globalData.clrBtnHilite);
    else if (state == kStateHighlighted)
        pDC->Draw3dRect(&rect, globalData.clrBtnHilite, clrDark);
}

void CQMXPVisualManager::OnHighlightMenuItem(CDC* pDC, CQMXPToolbarMenuButton*, CRect rect, COLORREF&) {
    pDC->FillRect(&rect, &globalData.brHilite);
}

void CQMXPVisualManager::OnHighlightRarelyUsedMenuItems(CDC* pDC, CRect rectRarelyUsed) {
    CQMXPDrawManager(*pDC).HighlightRect(rectRarelyUsed);
    pDC->Draw3dRect(&rectRarelyUsed, globalData.clrBtnShadow, globalData.clrBtnHilite);
}

BOOL CQMXPVisualManager::IsButtonDisabled(CQMXPToolbarButton* pButton) {
    return CQMXPToolBar::m_bCustomizeMode ? !pButton->IsPermitted() : (pButton->m_nStyle & TBBS_DISABLED) != 0;
}

COLORREF CQMXPVisualManager::GetToolbarButtonTextColor(CQMXPToolbarButton* pButton, int state) {
    const BOOL bDisabled = IsButtonDisabled(pButton);
    // Outlook pages are dark: their buttons write in light colours.
    if (pButton->IsKindOf(RUNTIME_CLASS(CQMXPOutlookButton)))
        return ::GetSysColor(bDisabled ? COLOR_BTNFACE : COLOR_WINDOW);
    if (bDisabled)
        return globalData.clrGrayedText;
    return state == kStateHighlighted ? CQMXPToolBar::GetHotTextColor() : globalData.clrBtnText;
}

COLORREF CQMXPVisualManager::GetMenuItemBackgroundColor(CQMXPToolbarMenuButton*) {
    return ::GetSysColor(COLOR_WINDOW);
}

void CQMXPVisualManager::OnFillOutlookPageButton(CDC* pDC, const CRect& rect, BOOL, BOOL, COLORREF& clrText) {
    pDC->FillRect(&rect, &globalData.brBtnFace);
    clrText = globalData.clrBtnText;
}

void CQMXPVisualManager::OnDrawOutlookPageButtonBorder(CDC* pDC, CRect& rectBtn, BOOL bIsHighlighted,
                                                       BOOL bIsPressed) {
    if (bIsHighlighted && bIsPressed) {
        pDC->Draw3dRect(&rectBtn, globalData.clrBtnDkShadow, globalData.clrBtnFace);
        rectBtn.DeflateRect(1, 1);
        pDC->Draw3dRect(&rectBtn, globalData.clrBtnShadow, globalData.clrBtnHilite);
    } else {
        if (bIsHighlighted || bIsPressed) {
            pDC->Draw3dRect(&rectBtn, globalData.clrBtnFace, globalData.clrBtnDkShadow);
            rectBtn.DeflateRect(1, 1);
        }
        pDC->Draw3dRect(&rectBtn, globalData.clrBtnHilite, globalData.clrBtnShadow);
    }
    rectBtn.DeflateRect(1, 1);
}

void CQMXPVisualManager::OnEraseTabsArea(CDC* pDC, CRect rect, const CQMXPBaseTabWnd*) {
    pDC->FillRect(&rect, &globalData.brBtnFace);
}

void CQMXPVisualManager::OnFillTab(CDC* pDC, CRect rectFill, CQMXTabButton*, const CQMXPBaseTabWnd*) {
    pDC->FillRect(&rectFill, &globalData.brBtnFace);
}

COLORREF CQMXPVisualManager::OnFillCommandsListBackground(CDC* pDC, CRect rect, BOOL bIsSelected) {
    if (bIsSelected) {
        pDC->FillRect(&rect, &globalData.brHilite);
        return ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    }
    pDC->FillRect(&rect, &globalData.brBtnFace);
    return globalData.clrBtnText;
}

CSize CQMXPVisualManager::GetButtonExtraBorder() const { return CSize(0, 0); }

COLORREF CQMXPVisualManager::OnFillMiniFrameCaption(CDC* pDC, CRect rectCaption, CQMXPMiniFrameWnd* pFrameWnd,
                                                    BOOL bActive) {
    CQMXPBaseControlBar* pBar = pFrameWnd->GetControlBar();
    const BOOL bToolBar = pBar != nullptr && pBar->IsKindOf(RUNTIME_CLASS(CQMXPBaseToolBar));
    FillWithSysColor(pDC, rectCaption, (bToolBar || bActive) ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
    return ::GetSysColor(COLOR_CAPTIONTEXT);
}

void CQMXPVisualManager::OnDrawMiniFrameBorder(CDC* pDC, CQMXPMiniFrameWnd*, CRect rectBorder, CRect) {
    pDC->Draw3dRect(&rectBorder, globalData.clrBtnFace, globalData.clrBtnDkShadow);
    rectBorder.DeflateRect(1, 1);
    pDC->Draw3dRect(&rectBorder, globalData.clrBtnHilite, globalData.clrBtnShadow);
    rectBorder.DeflateRect(1, 1);
    pDC->Draw3dRect(&rectBorder, globalData.clrBtnFace, globalData.clrBtnFace);
}

void CQMXPVisualManager::OnDrawScrollButtonBorder(CWnd*, CDC* pDC, CRect& rect, BOOL bIsPressed, BOOL) {
    if (bIsPressed) {
        pDC->Draw3dRect(&rect, globalData.clrBtnShadow, globalData.clrBtnShadow);
        ++rect.left;
        ++rect.top;
    } else {
        pDC->Draw3dRect(&rect, globalData.clrBtnHilite, globalData.clrBtnShadow);
    }
}

void CQMXPVisualManager::OnDrawScrollArrow(CWnd*, CDC* pDC, CRect rect, BOOL bIsUp) {
    const int mid = rect.left + rect.Width() / 2;
    const int yApex = bIsUp ? rect.top : rect.bottom - 1;
    const int yBase = bIsUp ? rect.bottom - 1 : rect.top;
    CPen penHilite(PS_SOLID, 1, globalData.clrBtnHilite);
    CPen penDark(PS_SOLID, 1, globalData.clrBtnDkShadow);
    CPen* pOldPen = pDC->SelectObject(&penHilite);
    pDC->MoveTo(mid, yApex);
    pDC->LineTo(rect.left, yBase);
    pDC->LineTo(rect.right - 1, yBase);
    pDC->SelectObject(&penDark);
    pDC->LineTo(mid, yApex);
    pDC->SelectObject(pOldPen);
}

void CQMXPVisualManager::OnFillScrollArea(CDC* pDC, CRect rect) { FillWithSysColor(pDC, rect, COLOR_WINDOW); }

void CQMXPVisualManager::OnDrawGroupFrame(CDC* pDC, int left, int top, int right, int bottom, BOOL bIsSelected,
                                          BOOL bClosed) {
    CPen pen(PS_SOLID, 1, bIsSelected ? globalData.clrHilite : globalData.clrBtnFace);
    CPen* pOldPen = pDC->SelectObject(&pen);
    pDC->MoveTo(left, top);
    pDC->LineTo(left, bottom);
    pDC->LineTo(right, bottom);
    pDC->LineTo(right, top);
    if (bClosed)
        pDC->LineTo(left, top);
    pDC->SelectObject(pOldPen);
}

int CQMXPVisualManager::GetMenuImageMargin() const { return 2; }

BOOL CQMXPVisualManager::IsLookOptionAvailable() const { return TRUE; }

BOOL IsStandardCommand(UINT uiCmd) {
    return (uiCmd >= 0xE110 && uiCmd < 0xE120) || (uiCmd >= 0xF000 && uiCmd < 0xF1F0) || uiCmd >= 0xFF00 ||
           (uiCmd >= 0xE210 && uiCmd < 0xE220) ||
           (qmxUserToolsManager != nullptr && uiCmd == qmxUserToolsManager->GetToolsEntryCmd());
}
