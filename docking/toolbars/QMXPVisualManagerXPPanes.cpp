// CQMXPVisualManagerXP: tab strips and their buttons, and the groups and
// tasks of a task pane, in the flat look. A flat (slanted) tab window keeps
// the classic tabs on a light strip; other tab windows get flat tabs
// separated by thin lines on the tab background.
#include "docking/bars/QMXPBaseTabWnd.h"
#include "docking/bars/QMXPTabButton.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPMenuGlyphs.h"
#include "docking/toolbars/QMXPTaskPaneItems.h"
#include "docking/toolbars/QMXPVisualManagerXP.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/ImageList.h"

namespace {

// Room left of a tab's image, and between the image and the label.
constexpr int kImageMargin = 4;
constexpr int kLabelOffset = 8;
// How far the separators between tabs stay off the strip's edges.
constexpr int kSeparatorInset = 3;

void Line(CDC* pDC, int x1, int y1, int x2, int y2, COLORREF clr) {
    CPen pen(PS_SOLID, 1, clr);
    CPen* pOldPen = pDC->SelectObject(&pen);
    pDC->MoveTo(x1, y1);
    pDC->LineTo(x2, y2);
    pDC->SelectObject(pOldPen);
}

BOOL IsFlat(const CQMXPBaseTabWnd* pTabWnd) { return pTabWnd != nullptr && pTabWnd->IsFlatTab(); }

}  // namespace

void CQMXPVisualManagerXP::OnEraseTabsArea(CDC* pDC, CRect rect, const CQMXPBaseTabWnd* pTabWnd) {
    if (IsFlat(pTabWnd))
        CQMXPVisualManager::OnEraseTabsArea(pDC, rect, pTabWnd);
    else
        pDC->FillRect(&rect, &brTabBack);
}

void CQMXPVisualManagerXP::OnFillTab(CDC* pDC, CRect rectFill, CQMXTabButton* pButton,
                                     const CQMXPBaseTabWnd* pTabWnd) {
    if (!IsFlat(pTabWnd)) {
        pDC->FillRect(&rectFill, &brTabBack);
        return;
    }
    const BOOL bHot = pButton != nullptr && pButton->IsHighlighted();
    const BOOL bPressed = pButton != nullptr && pButton->IsPressed();
    pDC->FillRect(&rectFill, bPressed ? &brHighlightDn : bHot ? &brHighlight : &globalData.brBtnFace);
}

void CQMXPVisualManagerXP::OnDrawTabButtonBorder(CDC* pDC, CRect& rect, CQMXTabButton* pButton, int nState,
                                                 const CQMXPBaseTabWnd* pTabWnd) {
    const BOOL bHot = pButton != nullptr && pButton->IsHighlighted();
    const BOOL bPressed = (pButton != nullptr && pButton->IsPressed()) || (nState & ODS_SELECTED);
    if (IsFlat(pTabWnd)) {
        if (bPressed && bHot)
            pDC->Draw3dRect(&rect, globalData.clrBtnDkShadow, clrGripper);
        else if (bPressed || bHot)
            pDC->Draw3dRect(&rect, clrGripper, globalData.clrBtnDkShadow);
    } else if (bPressed || bHot) {
        pDC->Draw3dRect(&rect, globalData.clrBtnDkShadow, globalData.clrBtnDkShadow);
    }
    rect.DeflateRect(1, 1);
}

void CQMXPVisualManagerXP::OnDrawTab(CDC* pDC, CRect rectTab, int iTab, BOOL bIsActive,
                                     const CQMXPBaseTabWnd* pTabWnd) {
    if (pTabWnd->IsFlatTab()) {
        CQMXPVisualManager::OnDrawTab(pDC, rectTab, iTab, bIsActive, pTabWnd);
        return;
    }
    const BOOL bTop = pTabWnd->GetLocation() == QMXP_LOCATION_TOP;
    if (iTab < pTabWnd->GetTabsNum() - 1)
        Line(pDC, rectTab.right, rectTab.top + kSeparatorInset, rectTab.right, rectTab.bottom - kSeparatorInset,
             globalData.clrBtnShadow);

    if (bIsActive) {
        // The active tab reaches over the strip's edge into its page.
        CRect rectFill = rectTab;
        if (bTop)
            rectFill.bottom += 1;
        else
            rectFill.top -= 2;
        pDC->FillRect(&rectFill, &globalData.brBtnFace);
        const int yOpen = bTop ? rectFill.bottom : rectFill.top;
        const int yClosed = bTop ? rectFill.top : rectFill.bottom - 1;
        Line(pDC, rectFill.left, yOpen, rectFill.left, yClosed, globalData.clrBtnHilite);
        if (bTop)
            Line(pDC, rectFill.left, yClosed, rectFill.right - 1, yClosed, globalData.clrBtnHilite);
        else
            Line(pDC, rectFill.left, yClosed, rectFill.right - 1, yClosed, globalData.clrBtnText);
        Line(pDC, rectFill.right - 1, yClosed, rectFill.right - 1, yOpen, globalData.clrBtnText);
    }

    const CSize sizeImage = pTabWnd->GetImageSize();
    if (rectTab.Width() <= sizeImage.cx + kImageMargin)
        return;
    int xText = rectTab.left + kLabelOffset;
    const HICON hIcon = pTabWnd->GetTabHicon(iTab);
    const UINT uiIcon = pTabWnd->GetTabIcon(iTab);
    CImageList* pImages = pTabWnd->GetImageList();
    if (hIcon != nullptr || (uiIcon != static_cast<UINT>(-1) && pImages != nullptr)) {
        int y = rectTab.top + (rectTab.Height() - sizeImage.cy) / 2;
        if (bIsActive && bTop)
            --y;
        if (hIcon != nullptr)
            ::DrawIconEx(pDC->GetSafeHdc(), rectTab.left + kImageMargin, y, hIcon, sizeImage.cx, sizeImage.cy, 0,
                         nullptr, DI_NORMAL);
        else
            pImages->Draw(pDC, static_cast<int>(uiIcon), CPoint(rectTab.left + kImageMargin, y), ILD_TRANSPARENT);
        xText += sizeImage.cx;
    }
    CString strLabel;
    pTabWnd->GetTabLabel(iTab, strLabel);
    CRect rectText(xText, rectTab.top, rectTab.right, rectTab.bottom);
    const COLORREF clrOldText = pDC->SetTextColor(bIsActive ? globalData.clrBtnText : clrDarkText);
    pDC->DrawText(strLabel, &rectText,
                  DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | (pTabWnd->IsDrawNoPrefix() ? DT_NOPREFIX : 0));
    pDC->SetTextColor(clrOldText);
}

void CQMXPVisualManagerXP::OnDrawGroupCaption(CDC* pDC, CQMXPTasksGroup* pGroup, BOOL bIsHighlighted, BOOL,
                                              BOOL bCanCollapse) {
    DrawGroupCaptionText(pDC, pGroup, ::GetSysColor(COLOR_WINDOWTEXT));
    if (!bCanCollapse || pGroup->strName.IsEmpty())
        return;
    const CRect rectGlyph = GroupGlyphRect(pGroup->rect);
    if (bIsHighlighted) {
        pDC->FillRect(&rectGlyph, &brHighlight);
        pDC->Draw3dRect(&rectGlyph, clrMenuItemBorder, clrMenuItemBorder);
    }
    CQMXPMenuGlyphs::DrawCentered(pDC, pGroup->bIsCollapsed ? CQMXPMenuGlyphs::IdArowDown : CQMXPMenuGlyphs::IdArowUp,
                                  rectGlyph, CQMXPMenuGlyphs::ImageBlack);
}

void CQMXPVisualManagerXP::OnDrawGroupBackground(CDC* pDC, CRect rect, BOOL) {
    Line(pDC, rect.left, rect.top, rect.right, rect.top, globalData.clrBtnShadow);
}

void CQMXPVisualManagerXP::OnDrawGroupBorder(CDC*, CRect, BOOL, BOOL) {}

void CQMXPVisualManagerXP::OnDrawTask(CDC* pDC, CQMXPTask* pTask, CImageList* pImages, BOOL bIsHighlighted,
                                          BOOL) {
    DrawTask(pDC, pTask, pImages, bIsHighlighted, globalData.clrHotLinkText, static_cast<COLORREF>(-1));
}
