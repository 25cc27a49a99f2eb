// CQMXPVisualManager: the task pane's background, group captions and tasks
// in the classic look.
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPMenuGlyphs.h"
#include "docking/toolbars/QMXPTaskPaneItems.h"
#include "docking/toolbars/QMXPVisualManager.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/ImageList.h"

namespace {

// Room round the glyph in its square, and between the square and the caption's end.
constexpr int kGlyphPadding = 3;
constexpr int kGlyphRightGap = 4;

}  // namespace

void CQMXPVisualManager::OnFillTaskPaneBackground(CDC* pDC, CRect rect) {
    ::FillRect(pDC->m_hDC, &rect, ::GetSysColorBrush(COLOR_WINDOW));
}

CRect CQMXPVisualManager::GroupGlyphRect(const CRect& rectCaption) {
    const CSize sizeGlyph = CQMXPMenuGlyphs::GetSize();
    const int cx = sizeGlyph.cx + 2 * kGlyphPadding;
    const int cy = sizeGlyph.cy + 2 * kGlyphPadding;
    const int right = rectCaption.right - kGlyphRightGap;
    const int top = rectCaption.top + (rectCaption.Height() - cy) / 2;
    return CRect(right - cx, top, right, top + cy);
}

void CQMXPVisualManager::OnDrawGroupCaption(CDC* pDC, CQMXPTasksGroup* pGroup, BOOL bIsHighlighted, BOOL,
                                            BOOL bCanCollapse) {
    CRect rect = pGroup->rect;
    CBrush brFill(pGroup->bIsSpecial ? globalData.clrHilite : globalData.clrBtnFace);
    pDC->FillRect(&rect, &brFill);

    DrawGroupCaptionText(pDC, pGroup, ::GetSysColor(pGroup->bIsSpecial ? COLOR_WINDOW : COLOR_WINDOWTEXT));

    if (!bCanCollapse || pGroup->strName.IsEmpty())
        return;
    const CRect rectGlyph = GroupGlyphRect(rect);
    if (bIsHighlighted) {
        pDC->FillRect(&rectGlyph, &globalData.brBtnFace);
        pDC->Draw3dRect(&rectGlyph, ::GetSysColor(COLOR_WINDOW), globalData.clrBtnShadow);
    }
    CQMXPMenuGlyphs::DrawCentered(pDC, pGroup->bIsCollapsed ? CQMXPMenuGlyphs::IdArowDown : CQMXPMenuGlyphs::IdArowUp,
                                  rectGlyph, CQMXPMenuGlyphs::ImageBlack);
}

void CQMXPVisualManager::DrawGroupCaptionText(CDC* pDC, CQMXPTasksGroup* pGroup, COLORREF clrText) {
    CRect rectText = pGroup->rect;
    rectText.left += groupCaptionHorzOffset;
    rectText.top += groupCaptionVertOffset;
    rectText.right = GroupGlyphRect(pGroup->rect).left;
    CFont* pOldFont = pDC->SelectObject(&globalData.fontBold);
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    const COLORREF clrOldText = pDC->SetTextColor(clrText);
    pDC->DrawText(pGroup->strName, &rectText, DT_SINGLELINE);
    pDC->SetTextColor(clrOldText);
    pDC->SetBkMode(nOldMode);
    pDC->SelectObject(pOldFont);
}

void CQMXPVisualManager::OnDrawGroupBackground(CDC*, CRect, BOOL) {}

void CQMXPVisualManager::OnDrawGroupBorder(CDC*, CRect, BOOL, BOOL) {}

void CQMXPVisualManager::OnDrawTask(CDC* pDC, CQMXPTask* pTask, CImageList* pImages, BOOL bIsHighlighted,
                                        BOOL) {
    const COLORREF clrText = ::GetSysColor(COLOR_WINDOWTEXT);
    DrawTask(pDC, pTask, pImages, bIsHighlighted, clrText, clrText);
}

void CQMXPVisualManager::DrawTask(CDC* pDC, CQMXPTask* pTask, CImageList* pImages, BOOL bIsHighlighted,
                                  COLORREF clrLink, COLORREF clrLabel) {
    CRect rectText = pTask->rect;
    const CSize sizeIcon = pImages != nullptr ? pImages->GetImageSize() : CSize(0, 0);
    // Every task's text starts at the same place, with an image or without.
    if (sizeIcon.cx >= 1) {
        if (pTask->nIcon >= 0)
            pImages->Draw(pDC, pTask->nIcon, pTask->rect.TopLeft(), ILD_TRANSPARENT);
        rectText.left += sizeIcon.cx + taskIconOffset;
    }
    const BOOL bUnderline = pTask->bIsLink && bIsHighlighted;
    const COLORREF clrText = pTask->bIsLink ? clrLink : clrLabel;
    CFont* pOldFont = pDC->SelectObject(bUnderline ? &globalData.fontUnderline : &globalData.fontRegular);
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    const COLORREF clrOldText = clrText != static_cast<COLORREF>(-1) ? pDC->SetTextColor(clrText) : pDC->GetTextColor();
    pDC->DrawText(pTask->strName, &rectText, DT_SINGLELINE | DT_VCENTER);
    pDC->SetTextColor(clrOldText);
    pDC->SetBkMode(nOldMode);
    pDC->SelectObject(pOldFont);
}
