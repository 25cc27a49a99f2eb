// Where a popup menu goes on the screen, the layout of its item bar with
// scroll buttons, its painting with shadow and animation, and tearing it
// off into a floating tool bar.
#include "docking/toolbars/QMXPPopupMenu.h"

#include "docking/frames/QMXPFrameImpl.h"
#include "docking/frames/QMXPMDIFrameWnd.h"
#include "docking/frames/QMXPMiniFrameWnd.h"
#include "docking/frames/QMXPTearOffManager.h"
#include "docking/frames/QMXPWindowPlace.h"
#include "docking/toolbars/QMXPDibSection.h"
#include "docking/toolbars/QMXPDrawManager.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPMenuBar.h"
#include "docking/toolbars/QMXPMenuGlyphs.h"
#include "docking/toolbars/QMXPToolbarMenuButton.h"
#include "docking/toolbars/QMXPVisualManager.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/StringResource.h"

#include <algorithm>
#include <cmath>

CRect (*CQMXPPopupMenu::pfnWorkAreaAt)(CPoint pt) = nullptr;

namespace {

constexpr UINT_PTR kTimerAnimation = 1;
constexpr UINT_PTR kTimerScroll = 2;
constexpr UINT kScrollPeriod = 80;
constexpr int kBorder = 2;
constexpr int kTearOffHeight = 10;
constexpr UINT kTearOffTipString = 16028;
constexpr int kLogoLeft = 0;
constexpr int kLogoRight = 1;
constexpr int kLogoTop = 2;
constexpr int kLogoBottom = 3;
constexpr int kFadeStep = 10;
constexpr int kMaxShadowBrightness = 100;
constexpr int kMinShadowBrightness = 65;

}  // namespace

CRect CQMXPPopupMenu::WorkAreaAt(CPoint pt) {
    if (pfnWorkAreaAt != nullptr)
        return pfnWorkAreaAt(pt);
    return QMXPWorkAreaAt(pt);
}

// --- Placement -----------------------------------------------------------------------------------

void CQMXPPopupMenu::RecalcLayout(BOOL) {
    CQMXPPopupMenuBar* pBar = GetMenuBar();
    if (GetSafeHwnd() == nullptr || pBar->GetSafeHwnd() == nullptr)
        return;
    const BOOL bCustomize = CQMXPToolBar::m_bCustomizeMode;
    const CRect rectScreen = WorkAreaAt(ptLocation);
    ptLocation.x = std::max<int>(rectScreen.left, std::min<int>(ptLocation.x, rectScreen.right - 1));
    ptLocation.y = std::max<int>(rectScreen.top, std::min<int>(ptLocation.y, rectScreen.bottom - 1));

    CSize size = pBar->CalcSize(TRUE);
    size += CSize(2 * kBorder, 2 * kBorder);
    if (logoLocation == kLogoLeft || logoLocation == kLogoRight)
        size.cx += logoSize;
    else
        size.cy += logoSize;

    if (pMenuPage != nullptr) {
        size.cy += ::GetSystemMetrics(SM_CYSMCAPTION) + 2 * ::GetSystemMetrics(SM_CYBORDER) + 5;
    } else if (pParentBtn != nullptr && pParentBtn->HasTearOffId() && !bCustomize) {
        rectTearOffCaption = CRect(CPoint(kBorder, kBorder), CSize(size.cx - 2 * kBorder, kTearOffHeight));
        size.cy += kTearOffHeight;
        if (wndToolTip.GetSafeHwnd() == nullptr && wndToolTip.Create(this)) {
            wndToolTip.Activate(TRUE);
            CString strTip;
            AfxLoadStringResource(kTearOffTipString, strTip);
            wndToolTip.AddTool(this, strTip, &rectTearOffCaption, 1);
        }
    }

    int x = ptLocation.x;
    int y = ptLocation.y;
    CQMXPPopupMenu* pParentPopup = GetParentPopup();
    auto* pParentMenuBar = pParentBtn != nullptr ? DYNAMIC_DOWNCAST(CQMXPMenuBar, pParentBtn->m_pWndParent) : nullptr;
    if (x + size.cx > rectScreen.right) {
        if (pParentPopup != nullptr) {
            CRect rectParent;
            pParentPopup->GetWindowRect(&rectParent);
            x = rectParent.left - size.cx;
            dropDirection = QMXP_DROP_LEFT;
        } else if (pParentMenuBar != nullptr && !pParentMenuBar->IsHorizontal()) {
            CRect rectBar;
            pParentMenuBar->GetWindowRect(&rectBar);
            x = rectBar.left - size.cx;
            dropDirection = QMXP_DROP_LEFT;
        } else {
            // The right edge one pixel inside the work area.
            x = rectScreen.right - size.cx - 1;
            dropDirection = QMXP_DROP_NONE;
        }
        if (animationType == QMXP_ANIMATION_UNFOLD || animationType == QMXP_ANIMATION_FADE)
            bAnimateFromLeft = FALSE;
        if (animationType == QMXP_ANIMATION_FADE)
            bAnimateFromTop = FALSE;
    }
    if (x < rectScreen.left) {
        x = rectScreen.left;
        dropDirection = QMXP_DROP_NONE;
    }

    if (y + size.cy > rectScreen.bottom) {
        bAnimateFromTop = FALSE;
        if (pParentBtn != nullptr && pParentPopup == nullptr && pParentBtn->m_pWndParent != nullptr) {
            CRect rectButton = pParentBtn->GetRect();
            pParentBtn->m_pWndParent->ClientToScreen(&rectButton);
            // Above the button only when it fits below the work area's top.
            if (rectButton.top - size.cy >= rectScreen.top) {
                y = rectButton.top - size.cy;
                dropDirection = QMXP_DROP_UP;
            } else {
                const int nBelow = rectScreen.bottom - y;
                const int nAbove = rectButton.top - rectScreen.top;
                if (nBelow >= nAbove) {
                    size.cy = nBelow;
                    bAnimateFromTop = TRUE;
                } else {
                    y = rectScreen.top;
                    size.cy = nAbove;
                    dropDirection = QMXP_DROP_NONE;
                }
                bScrollable = TRUE;
            }
        } else {
            y -= size.cy;
            if (pParentPopup != nullptr)
                y += pBar->GetRowHeight() + 4;
        }
        if (y < rectScreen.top) {
            y = rectScreen.top;
            dropDirection = QMXP_DROP_NONE;
        }
        if (y + size.cy > rectScreen.bottom) {
            size.cy = rectScreen.bottom - y;
            bScrollable = TRUE;
        }
    }

    sizeFinal = size;
    CSize sizeWindow = size;
    if (!bCustomize)
        sizeWindow += CSize(shadowDepth, shadowDepth);
    if (pMenuPage != nullptr)
        SetWindowPos(nullptr, 0, 0, sizeWindow.cx, sizeWindow.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    else
        SetWindowPos(nullptr, x, y, sizeWindow.cx, sizeWindow.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    AdjustScroll();
    if (bCustomize)
        pBar->AdjustLocations();
    if (shadowDepth > 0 && !bCustomize && pParentBtn != nullptr && pParentBtn->m_pWndParent != nullptr &&
        pParentBtn->m_pWndParent->GetSafeHwnd() != nullptr) {
        CRect rectShadow = pParentBtn->GetRect();
        rectShadow.InflateRect(0, 0, shadowDepth, shadowDepth);
        pParentBtn->m_pWndParent->InvalidateRect(&rectShadow);
    }
}

void CQMXPPopupMenu::OnSize(UINT nType, int cx, int cy) {
    CWnd::OnSize(nType, cx, cy);
    AdjustScroll();
}

void CQMXPPopupMenu::AdjustScroll() {
    CQMXPPopupMenuBar* pBar = GetMenuBar();
    if (GetSafeHwnd() == nullptr || pBar->GetSafeHwnd() == nullptr)
        return;
    CRect rectClient;
    GetClientRect(&rectClient);
    if (!CQMXPToolBar::m_bCustomizeMode) {
        rectClient.right -= shadowDepth;
        rectClient.bottom -= shadowDepth;
    }
    rectClient.DeflateRect(kBorder, kBorder);
    switch (logoLocation) {
    case kLogoLeft:
        rectClient.left += logoSize;
        break;
    case kLogoRight:
        rectClient.right -= logoSize;
        break;
    case kLogoTop:
        rectClient.top += logoSize;
        break;
    default:
        rectClient.bottom -= logoSize;
        break;
    }
    if (!rectTearOffCaption.IsRectEmpty())
        rectClient.top += rectTearOffCaption.Height();

    const CRect rectUpOld = rectScrollUp;
    const CRect rectDnOld = rectScrollDn;
    rectScrollUp.SetRectEmpty();
    rectScrollDn.SetRectEmpty();
    if (bScrollable) {
        if (pBar->GetOffset() > 0) {
            rectScrollUp = CRect(rectClient.left, rectClient.top, rectClient.right, rectClient.top + scrollButtonHeight);
            rectClient.top += scrollButtonHeight + 2;
        }
        const int nItemsBelow = pBar->CalcSize(TRUE).cy - pBar->GetOffset() * pBar->GetRowHeight();
        if (nItemsBelow > rectClient.Height()) {
            rectScrollDn =
                CRect(rectClient.left, rectClient.bottom - scrollButtonHeight, rectClient.right, rectClient.bottom);
            rectClient.bottom -= scrollButtonHeight + 2;
        }
    } else if (!bAnimationFinished) {
        KillTimer(kTimerScroll);
    }
    CRect rectBar;
    pBar->GetWindowRect(&rectBar);
    ScreenToClient(&rectBar);
    if (rectBar != rectClient)
        pBar->SetWindowPos(nullptr, rectClient.left, rectClient.top, rectClient.Width(), rectClient.Height(),
                           SWP_NOZORDER | SWP_NOACTIVATE);
    menuBarHeight = rectClient.Height();
    if (rectUpOld != rectScrollUp) {
        InvalidateRect(&rectUpOld);
        InvalidateRect(&rectScrollUp);
    }
    if (rectDnOld != rectScrollDn) {
        InvalidateRect(&rectDnOld);
        InvalidateRect(&rectScrollDn);
    }
}

void CQMXPPopupMenu::ScrollTo(int iOffset) {
    CQMXPPopupMenuBar* pBar = GetMenuBar();
    if (iOffset == pBar->GetOffset())
        return;
    pBar->SetOffset(iOffset);
    AdjustScroll();
    pBar->Invalidate();
    pBar->UpdateWindow();
}

void CQMXPPopupMenu::EnsureSelectionVisible() {
    CQMXPPopupMenuBar* pBar = GetMenuBar();
    const CQMXPToolbarButton* pSel = pBar->GetHighlightedButton();
    const int nItemHeight = pBar->GetRowHeight();
    // No rows to count without an item height.
    if (!bScrollable || pSel == nullptr || nItemHeight <= 0)
        return;
    CRect rectBar;
    pBar->GetClientRect(&rectBar);
    const CRect rectItem = pSel->GetRect();
    int iOffset = pBar->GetOffset();
    if (rectItem.top < rectBar.top)
        iOffset += (rectItem.top - rectBar.top) / nItemHeight - 1;
    else if (rectItem.bottom > rectBar.bottom)
        iOffset += (rectItem.bottom - rectBar.bottom) / nItemHeight + 1;
    else
        return;
    const int nMax = pBar->GetCount() - (menuBarHeight / nItemHeight - 2) - 1;
    ScrollTo(std::max(0, std::min(iOffset, std::max(nMax, 0))));
}

void CQMXPPopupMenu::OnScrollTick() {
    CQMXPPopupMenuBar* pBar = GetMenuBar();
    CQMXPToolbarMenuButton* pSel = GetSelItem();
    if (pSel != nullptr && pSel->IsDroppedDown())
        pSel->OnCancelMode();
    CPoint point;
    ::GetCursorPos(&point);
    ScreenToClient(&point);
    const CRect& rectActive = scrollDirection < 0 ? rectScrollUp : rectScrollDn;
    if (scrollDirection == 0 || !rectActive.PtInRect(point)) {
        KillTimer(kTimerScroll);
        scrollDirection = 0;
        InvalidateRect(&rectScrollUp);
        InvalidateRect(&rectScrollDn);
        return;
    }
    ScrollTo(std::max(0, pBar->GetOffset() + scrollDirection));
}

void CQMXPPopupMenu::OnMouseMove(UINT nFlags, CPoint point) {
    CMiniFrameWnd::OnMouseMove(nFlags, point);
    if (bTearOffTracking) {
        if (!rectTearOffCaption.PtInRect(point)) {
            bTearOffTracking = FALSE;
            ::ReleaseCapture();
            TearOff(point);
        }
        return;
    }
    if (scrollDirection != 0)
        return;
    CQMXPPopupMenuBar* pBar = GetMenuBar();
    int nDirection = 0;
    if (rectScrollUp.PtInRect(point) && pBar->GetOffset() > 0)
        nDirection = -1;
    else if (rectScrollDn.PtInRect(point))
        nDirection = 1;
    if (nDirection == 0)
        return;
    scrollDirection = nDirection;
    InvalidateRect(nDirection < 0 ? &rectScrollUp : &rectScrollDn);
    SetTimer(kTimerScroll, kScrollPeriod, nullptr);
}

void CQMXPPopupMenu::OnLButtonDown(UINT nFlags, CPoint point) {
    if (rectTearOffCaption.PtInRect(point) && !CQMXPToolBar::m_bCustomizeMode) {
        bTearOffHighlighted = TRUE;
        bTearOffTracking = TRUE;
        SetCapture();
        InvalidateRect(&rectTearOffCaption);
        return;
    }
    CMiniFrameWnd::OnLButtonDown(nFlags, point);
}

void CQMXPPopupMenu::OnLButtonUp(UINT nFlags, CPoint point) {
    if (bTearOffTracking) {
        bTearOffTracking = FALSE;
        bTearOffHighlighted = FALSE;
        ::ReleaseCapture();
        InvalidateRect(&rectTearOffCaption);
        return;
    }
    CMiniFrameWnd::OnLButtonUp(nFlags, point);
}

void CQMXPPopupMenu::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == kTimerAnimation)
        OnAnimationTick();
    else if (nIDEvent == kTimerScroll)
        OnScrollTick();
    else
        CMiniFrameWnd::OnTimer(nIDEvent);
}

int CQMXPPopupMenu::HitTest(CPoint ptScreen) const {
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    if (!rectWindow.PtInRect(ptScreen))
        return QMXP_MENU_HIT_OUTSIDE;
    const CPoint pt = ptScreen - rectWindow.TopLeft();
    if (logoSize > 0) {
        CRect rectLogo(0, 0, rectWindow.Width() - shadowDepth, rectWindow.Height() - shadowDepth);
        switch (logoLocation) {
        case kLogoLeft:
            rectLogo.right = kBorder + logoSize;
            break;
        case kLogoRight:
            rectLogo.left = rectLogo.right - kBorder - logoSize;
            break;
        case kLogoTop:
            rectLogo.bottom = kBorder + logoSize;
            break;
        default:
            rectLogo.top = rectLogo.bottom - kBorder - logoSize;
            break;
        }
        if (rectLogo.PtInRect(pt))
            return QMXP_MENU_HIT_LOGO;
    }
    if (shadowDepth > 0 && pt.x >= rectWindow.Width() - shadowDepth)
        return QMXP_MENU_HIT_SHADOW_RIGHT;
    if (shadowDepth > 0 && pt.y >= rectWindow.Height() - shadowDepth)
        return QMXP_MENU_HIT_SHADOW_BOTTOM;
    if (rectTearOffCaption.PtInRect(pt))
        return QMXP_MENU_HIT_TEAR_OFF;
    return QMXP_MENU_HIT_INSIDE;
}

// --- Shadow --------------------------------------------------------------------------------------

void CQMXPPopupMenu::CheckShadow() {
    if (shadowDepth == 0 || CQMXPToolBar::m_bCustomizeMode || GetSafeHwnd() == nullptr)
        return;
    CFrameWnd* pFrame = GetOwnerFrame();
    if (pFrame == nullptr || pFrame->GetSafeHwnd() == nullptr)
        return;
    CRect rectFrame;
    pFrame->GetWindowRect(&rectFrame);
    CRect rectMenu;
    GetWindowRect(&rectMenu);
    if (rectMenu.right <= rectFrame.right && rectMenu.bottom <= rectFrame.bottom)
        return;
    shadowDepth = 0;
    SetWindowPos(nullptr, 0, 0, sizeFinal.cx, sizeFinal.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CQMXPPopupMenu::RepaintShadow(const CRect& rect) {
    if (shadowDepth == 0 || GetSafeHwnd() == nullptr)
        return;
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    const CRect rectRight(rectWindow.right - shadowDepth - 1, rectWindow.top, rectWindow.right, rectWindow.bottom);
    const CRect rectBottom(rectWindow.left, rectWindow.bottom - shadowDepth, rectWindow.right, rectWindow.bottom);
    CRect rectTest;
    if (!rectTest.IntersectRect(&rectRight, &rect) && !rectTest.IntersectRect(&rectBottom, &rect))
        return;
    bmpShadowBottom.DeleteObject();
    bmpShadowRight.DeleteObject();
    const int nDepth = shadowDepth;
    SetWindowPos(nullptr, 0, 0, rectWindow.Width() - nDepth, rectWindow.Height() - nDepth,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    if (CFrameWnd* pFrame = GetOwnerFrame()) {
        for (const CRect& rectStrip : {rectRight, rectBottom}) {
            CRect rectInFrame = rectStrip;
            pFrame->ScreenToClient(&rectInFrame);
            pFrame->RedrawWindow(&rectInFrame, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        }
    }
    SetWindowPos(nullptr, 0, 0, rectWindow.Width(), rectWindow.Height(),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    for (CRect rectStrip : {rectRight, rectBottom}) {
        ScreenToClient(&rectStrip);
        RedrawWindow(&rectStrip, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
}

void CQMXPPopupMenu::RepaintAllShadows(const CRect* pRect) {
    for (CQMXPPopupMenu* pPopup = activePopupMenu; pPopup != nullptr; pPopup = pPopup->GetParentPopup()) {
        if (pPopup->GetSafeHwnd() == nullptr)
            break;
        CRect rect;
        if (pRect != nullptr)
            rect = *pRect;
        else
            pPopup->GetWindowRect(&rect);
        pPopup->RepaintShadow(rect);
    }
}

// --- Painting ------------------------------------------------------------------------------------

void CQMXPPopupMenu::OnPaint() {
    CPaintDC dc(this);
    if (!bAnimationFinished && !CQMXPToolBar::m_bCustomizeMode)
        DrawAnimated(&dc);
    else
        DrawFull(&dc);
}

void CQMXPPopupMenu::DrawScrollButton(CDC* pDC, const CRect& rect, BOOL bUp, BOOL bHot) {
    if (rect.IsRectEmpty())
        return;
    CRect rectFill = rect;
    rectFill.top -= 2;
    pDC->FillRect(&rectFill, &globalData.brBtnFace);
    CQMXPMenuGlyphs::DrawCentered(pDC, bUp ? CQMXPMenuGlyphs::IdArowUp : CQMXPMenuGlyphs::IdArowDown, rect);
    if (bHot)
        pDC->Draw3dRect(&rect, globalData.clrBtnHilite, globalData.clrBtnShadow);
}

void CQMXPPopupMenu::DrawFull(CDC* pDC) {
    CRect rectClient;
    GetClientRect(&rectClient);
    const BOOL bCustomize = CQMXPToolBar::m_bCustomizeMode;
    if (shadowDepth > 0 && !bCustomize) {
        rectClient.right -= shadowDepth;
        rectClient.bottom -= shadowDepth;
        CQMXPDrawManager(*pDC).PaintShadow(rectClient, shadowDepth, kMaxShadowBrightness, kMinShadowBrightness,
                                           &bmpShadowBottom, &bmpShadowRight);
    }
    CRect rectInner = rectClient;
    rectInner.DeflateRect(kBorder, kBorder);
    pDC->FillRect(&rectInner, &globalData.brBtnFace);
    CQMXPVisualManager::GetInstance()->OnDrawMenuBorder(pDC, this, rectClient);
    if (logoSize > 0) {
        CRect rectLogo = rectInner;
        switch (logoLocation) {
        case kLogoLeft:
            rectLogo.right = rectLogo.left + logoSize + 2;
            break;
        case kLogoRight:
            rectLogo.left = rectLogo.right - logoSize - 2;
            break;
        case kLogoTop:
            rectLogo.bottom = rectLogo.top + logoSize + 2;
            break;
        default:
            rectLogo.top = rectLogo.bottom - logoSize - 2;
            break;
        }
        if (auto* pFrame = DYNAMIC_DOWNCAST(CQMXPMDIFrameWnd, GetOwnerFrame()))
            pFrame->OnDrawMenuLogo(pDC, this, rectLogo);
    }
    if (!rectTearOffCaption.IsRectEmpty())
        CQMXPVisualManager::GetInstance()->OnDrawTearOffCaption(pDC, rectTearOffCaption, bTearOffHighlighted);
    DrawScrollButton(pDC, rectScrollUp, TRUE, scrollDirection < 0);
    DrawScrollButton(pDC, rectScrollDn, FALSE, scrollDirection > 0);
    bShown = TRUE;
}

// --- Animation -----------------------------------------------------------------------------------

void CQMXPPopupMenu::StartAnimation() {
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    CQMXPPopupMenuBar* pBar = GetMenuBar();
    bAnimationFinished = FALSE;
    fadePercent = 0;
    switch (animationType) {
    case QMXP_ANIMATION_UNFOLD:
        sizeAnimated = CSize(pBar->GetColumnWidth(), pBar->GetRowHeight());
        break;
    case QMXP_ANIMATION_SLIDE:
        sizeAnimated = CSize(rectWindow.Width(), pBar->GetRowHeight());
        break;
    default:
        sizeAnimated = rectWindow.Size();
        break;
    }
    SetTimer(kTimerAnimation, animationPeriod, nullptr);
    s_dwLastAnimationTime = ::GetTickCount();
}

void CQMXPPopupMenu::OnAnimationTick() {
    if (bAnimationFinished) {
        KillTimer(kTimerAnimation);
        return;
    }
    const DWORD dwNow = ::GetTickCount();
    const int nSteps = static_cast<int>(std::lround(static_cast<double>(dwNow - s_dwLastAnimationTime) / animationPeriod));
    CQMXPPopupMenuBar* pBar = GetMenuBar();
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    const int nDepth = CQMXPToolBar::m_bCustomizeMode ? 0 : shadowDepth;
    BOOL bFinished = FALSE;
    switch (animationType) {
    case QMXP_ANIMATION_UNFOLD:
        sizeAnimated.cx += nSteps * pBar->GetColumnWidth();
        sizeAnimated.cy += nSteps * pBar->GetRowHeight();
        bFinished = sizeAnimated.cy - nDepth >= sizeFinal.cy && sizeAnimated.cx - nDepth >= sizeFinal.cx;
        break;
    case QMXP_ANIMATION_SLIDE:
        sizeAnimated.cy += nSteps * pBar->GetRowHeight();
        bFinished = sizeAnimated.cy - nDepth >= sizeFinal.cy;
        break;
    default:
        fadePercent = std::min(fadePercent + kFadeStep, 101);
        bFinished = fadePercent > 100;
        break;
    }
    if (bFinished) {
        sizeAnimated = rectWindow.Size();
        KillTimer(kTimerAnimation);
        pBar->SetWindowPos(nullptr, 0, 0, 0, 0,
                           SWP_SHOWWINDOW | SWP_NOREDRAW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        bAnimationFinished = TRUE;
        m_pDibScreen.reset();
        m_pDibMenu.reset();
        m_pDibAnimated.reset();
        Invalidate();
        pBar->Invalidate();
    } else {
        Invalidate(FALSE);
    }
    UpdateWindow();
    s_dwLastAnimationTime = dwNow;
}

void CQMXPPopupMenu::DrawAnimated(CDC* pDC) {
    CRect rectClient;
    GetClientRect(&rectClient);
    const int cx = rectClient.Width();
    const int cy = rectClient.Height();
    if (m_pDibMenu == nullptr) {
        m_pDibScreen = std::make_unique<CQMXPDibSection>();
        m_pDibMenu = std::make_unique<CQMXPDibSection>();
        m_pDibAnimated = std::make_unique<CQMXPDibSection>();
        if (!m_pDibScreen->Create(cx, cy) || !m_pDibMenu->Create(cx, cy) || !m_pDibAnimated->Create(cx, cy)) {
            bAnimationFinished = TRUE;
            DrawFull(pDC);
            return;
        }
        // What the screen shows where the menu comes, and the menu painted over it.
        CRect rectWindow;
        GetWindowRect(&rectWindow);
        HDC hScreen = ::GetDC(nullptr);
        ::BitBlt(m_pDibScreen->GetDC(), 0, 0, cx, cy, hScreen, rectWindow.left, rectWindow.top, SRCCOPY);
        ::ReleaseDC(nullptr, hScreen);
        ::BitBlt(m_pDibMenu->GetDC(), 0, 0, cx, cy, m_pDibScreen->GetDC(), 0, 0, SRCCOPY);
        CDC dcMenu;
        dcMenu.Attach(m_pDibMenu->GetDC());
        DrawFull(&dcMenu);
        CQMXPPopupMenuBar* pBar = GetMenuBar();
        CRect rectBar;
        pBar->GetWindowRect(&rectBar);
        ScreenToClient(&rectBar);
        const int nSaved = dcMenu.SaveDC();
        dcMenu.SetViewportOrg(rectBar.left, rectBar.top);
        dcMenu.IntersectClipRect(0, 0, rectBar.Width(), rectBar.Height());
        pBar->DoPaint(&dcMenu);
        dcMenu.RestoreDC(nSaved);
        dcMenu.Detach();
        ::GdiFlush();
    }
    if (animationType == QMXP_ANIMATION_FADE) {
        for (int y = 0; y < cy; ++y) {
            for (int x = 0; x < cx; ++x) {
                m_pDibAnimated->Pixel(x, y) = CQMXPDrawManager::PixelAlpha(
                    m_pDibScreen->Pixel(x, y), m_pDibMenu->Pixel(x, y), 100 - fadePercent);
            }
        }
        pDC->BitBlt(0, 0, cx, cy, CDC::FromHandle(m_pDibAnimated->GetDC()), 0, 0, SRCCOPY);
        return;
    }
    const int cxShow = std::min<int>(sizeAnimated.cx, cx);
    const int cyShow = std::min<int>(sizeAnimated.cy, cy);
    const int xDest = bAnimateFromLeft ? 0 : cx - cxShow;
    const int yDest = bAnimateFromTop ? 0 : cy - cyShow;
    // The top-left part of the menu slides out of its corner.
    pDC->BitBlt(xDest, yDest, cxShow, cyShow, CDC::FromHandle(m_pDibMenu->GetDC()), 0, 0, SRCCOPY);
}

// --- Tearing off ---------------------------------------------------------------------------------

BOOL CQMXPPopupMenu::TearOff(CPoint point) {
    if (pParentBtn == nullptr || !pParentBtn->HasTearOffId())
        return FALSE;
    // Every library frame (MDI, SDI, in-place) keeps its torn-off bars.
    CQMXPFrameImpl* pImpl = CQMXPFrameImpl::FromFrame(GetOwnerFrame());
    if (pImpl == nullptr || pImpl->m_pDockManager == nullptr)
        return FALSE;
    CFrameWnd* pFrame = pImpl->m_pFrame;
    const UINT uiID = pParentBtn->GetTearOffId();
    ClientToScreen(&point);
    CQMXPBaseControlBar* pBar = pImpl->m_pDockManager->FindBarByID(uiID, TRUE);
    if (pBar != nullptr) {
        CRect rectBar;
        pBar->GetWindowRect(&rectBar);
        const CRect rectFloat(point, rectBar.Size());
        if (pBar->IsFloating() || pBar->CanFloat())
            pBar->FloatControlBar(rectFloat, QMXP_DM_RECT, true);
        else
            pBar->CWnd::MoveWindow(&rectFloat);
        pBar->ShowControlBar(TRUE, FALSE, TRUE);
    } else {
        CString strName = pParentBtn->m_strText;
        strName.Remove(L'&');
        CQMXPToolBar* pToolBar = CreateTearOffBar(pFrame, uiID, strName);
        if (pToolBar == nullptr)
            return FALSE;
        pImpl->AddTearOffToolbar(pToolBar);
        const CSize size = pToolBar->CalcFixedLayout(FALSE, TRUE);
        pToolBar->FloatControlBar(CRect(point, size), QMXP_DM_RECT, true);
        // The new bar is dragged on until the button goes up; that closes
        // the menus, or cancelling brings this one back.
        if (CQMXPMiniFrameWnd* pMiniFrame = pToolBar->GetParentMiniFrame(TRUE)) {
            pMiniFrame->StartTearOff(this);
            return TRUE;
        }
    }
    CloseMenu();
    return TRUE;
}

CQMXPToolBar* CQMXPPopupMenu::CreateTearOffBar(CFrameWnd* pWndMain, UINT uiID, LPCWSTR lpszName) {
    if (pWndMain == nullptr || hMenu == nullptr)
        return nullptr;
    auto* pBar = new CQMXPToolBar;
    constexpr DWORD kTearOffStyle =
        WS_CHILD | WS_VISIBLE | QMXP_CBRS_GRIPPER | CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM | QMXP_CBRS_HIDE_INPLACE;
    if (!pBar->Create(pWndMain, kTearOffStyle, uiID)) {
        delete pBar;
        return nullptr;
    }
    pBar->SetWindowText(lpszName);
    const int nCount = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < nCount; ++i) {
        const UINT uiCmd = ::GetMenuItemID(hMenu, i);
        wchar_t szText[1025] = {0};
        ::GetMenuStringW(hMenu, static_cast<UINT>(i), szText, 1024, MF_BYPOSITION);
        CString strText(szText);
        HMENU hSubMenu = ::GetSubMenu(hMenu, i);
        if (hSubMenu != nullptr) {
            const int iTab = strText.Find(L'\t');
            if (iTab >= 0)
                strText = strText.Left(iTab);
            const UINT uiTearOffId = CQMXPTearOffManager::Parse(strText);
            CQMXPToolbarMenuButton button(static_cast<UINT>(-1), hSubMenu, -1, strText);
            button.AssignTearOffId(uiTearOffId);
            button.m_bText = TRUE;
            button.m_bImage = FALSE;
            pBar->InsertButton(button);
        } else if (uiCmd == 0) {
            if (i < nCount - 1)
                pBar->InsertSeparator();
        } else if (!IsStandardCommand(uiCmd)) {
            CQMXPToolbarButton button(uiCmd, -1, strText);
            if (button.GetImage() < 0) {
                button.m_bText = TRUE;
                button.m_bImage = FALSE;
            }
            pBar->InsertButton(button);
        }
    }
    pBar->SetBarStyle(pBar->GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY | QMXP_CBRS_SIZE_DYNAMIC);
    pBar->EnableDocking(CBRS_ALIGN_ANY);
    return pBar;
}
