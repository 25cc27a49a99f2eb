// How a tool bar paints its buttons: into a memory bitmap, each button
// from the strip that fits its state, through the visual manager.
#include "docking/toolbars/QMXPToolBar.h"

#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPPaintBuffer.h"
#include "docking/toolbars/QMXPToolbarButton.h"
#include "docking/toolbars/QMXPVisualManager.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/GdiObject.h"

namespace {

// The large strip when large icons are on and it holds images.
CQMXPToolBarImages* PickSize(BOOL bLarge, CQMXPToolBarImages& large, CQMXPToolBarImages& normal) {
    return bLarge && large.GetCount() > 0 ? &large : &normal;
}

}  // namespace

CQMXPToolBar::CPaintStrips CQMXPToolBar::SelectPaintStrips() {
    const BOOL bLarge = m_bLargeIcons && !IsMenuMode();
    if (m_bLocked)
        return {PickSize(bLarge, m_LargeImagesLocked, m_ImagesLocked),
                PickSize(bLarge, m_LargeColdImagesLocked, m_ColdImagesLocked),
                PickSize(bLarge, m_LargeDisabledImagesLocked, m_DisabledImagesLocked), &m_MenuImagesLocked,
                &m_DisabledMenuImagesLocked};
    return {PickSize(bLarge, m_LargeImages, m_Images), PickSize(bLarge, m_LargeColdImages, m_ColdImages),
            PickSize(bLarge, m_LargeDisabledImages, m_DisabledImages), &m_MenuImages, &m_DisabledMenuImages};
}

CQMXPToolBarImages* CQMXPToolBar::StripForButton(const CPaintStrips& strips, const CQMXPToolbarButton* pButton,
                                                  BOOL bHighlighted, BOOL& bDisabledStrip) const {
    bDisabledStrip = FALSE;
    if (pButton->m_bUserButton && pButton->m_iUserImage >= 0)
        return m_pUserImages;
    const BOOL bDisabled = !m_bCustomizeMode && (pButton->m_nStyle & TBBS_DISABLED);
    if (IsMenuMode() && strips.pMenuImages->GetCount() > 0) {
        if (bDisabled && strips.pDisabledMenuImages->GetCount() > 0) {
            bDisabledStrip = TRUE;
            return strips.pDisabledMenuImages;
        }
        return strips.pMenuImages;
    }
    if (bDisabled && strips.pDisabledImages->GetCount() > 0) {
        bDisabledStrip = TRUE;
        return strips.pDisabledImages;
    }
    if (!bHighlighted && !(pButton->m_nStyle & TBBS_PRESSED) && !pButton->IsDroppedDown() &&
        strips.pColdImages->GetCount() > 0)
        return strips.pColdImages;
    return strips.pImages;
}

void CQMXPToolBar::DoPaint(CDC* pDCPaint) {
    CRect rectClip;
    pDCPaint->GetClipBox(&rectClip);
    CRect rectClient;
    GetClientRect(&rectClient);

    const CQMXPPaintBuffer buffer(pDCPaint, rectClient, rectClip);
    CDC* pDC = buffer.GetDC();
    CQMXPVisualManager::GetInstance()->OnFillBarBackground(pDC, this, rectClient, rectClip);
    OnFillBackground(pDC);
    const BOOL bHorz = IsHorizontal();
    pDC->SetTextColor(globalData.clrBtnText);
    pDC->SetBkMode(TRANSPARENT);
    CFont* pOldFont = pDC->SelectObject(bHorz ? &globalData.fontRegular : &globalData.fontVert);

    const CPaintStrips strips = SelectPaintStrips();
    const CSize sizeDraw = IsMenuMode() ? GetMenuImageSize() : GetImageSize();
    CQMXPToolBarImages* pPrepared = nullptr;
    CQMXPDrawState ds;
    int iButton = 0;
    for (POSITION pos = m_Buttons.GetHeadPosition(); pos != nullptr; ++iButton) {
        auto* pButton = static_cast<CQMXPToolbarButton*>(m_Buttons.GetNext(pos));
        CRect rectIntersect;
        if (pButton->m_nStyle & TBBS_SEPARATOR) {
            const CRect rectSeparator = GetSeparatorRect(pButton, bHorz);
            if (pButton->m_bVisible && rectIntersect.IntersectRect(&rectSeparator, &rectClip))
                DrawSeparator(pDC, rectSeparator, bHorz && !pButton->m_bWrap);
            continue;
        }
        const CRect rectButton = pButton->GetRect();
        if (!rectIntersect.IntersectRect(&rectButton, &rectClip))
            continue;
        BOOL bHighlighted = FALSE;
        if (m_bCustomizeMode && !m_bLocked)
            bHighlighted = FALSE;
        else if (IsMenuMode())
            bHighlighted = iButton == m_iHighlighted;
        else
            bHighlighted = (iButton == m_iHighlighted || iButton == m_iButtonCapture) &&
                           (m_iButtonCapture == -1 || iButton == m_iButtonCapture);
        BOOL bDisabledStrip = FALSE;
        CQMXPToolBarImages* pImages = StripForButton(strips, pButton, bHighlighted, bDisabledStrip);
        if (pImages != pPrepared) {
            if (pPrepared != nullptr)
                pPrepared->FinishDraw(ds);
            pPrepared = pImages != nullptr && pImages->BeginDraw(ds, sizeDraw.cx, sizeDraw.cy) ? pImages : nullptr;
        }
        DrawButton(pDC, pButton, pPrepared, bHighlighted, bDisabledStrip);
    }
    if (pPrepared != nullptr)
        pPrepared->FinishDraw(ds);

    if (m_iSelected >= GetCount())
        m_iSelected = -1;
    CQMXPToolbarButton* pSelected = GetButton(m_iSelected);
    if (m_bCustomizeMode && m_pSelToolbar == this && !m_bLocked && pSelected != nullptr) {
        CRect rectSelected = pSelected->GetRect();
        if (pSelected->GetHwnd() != nullptr)
            rectSelected.InflateRect(0, 1);
        pDC->Draw3dRect(&rectSelected, globalData.clrBtnText, globalData.clrBtnText);
        rectSelected.DeflateRect(1, 1);
        pDC->Draw3dRect(&rectSelected, globalData.clrBtnText, globalData.clrBtnText);
    }
    if (m_bCustomizeMode && !m_rectDrag.IsRectEmpty())
        DrawDragMarker(pDC);
    if (m_bStretchButton && !m_rectTrack.IsRectEmpty()) {
        CRect rectTrack = m_rectTrack;
        for (int i = 0; i < 2; ++i, rectTrack.DeflateRect(1, 1))
            pDC->Draw3dRect(&rectTrack, globalData.clrBtnText, globalData.clrBtnText);
    }
    pDC->SelectObject(pOldFont);
}

BOOL CQMXPToolBar::DrawButton(CDC* pDC, CQMXPToolbarButton* pButton, CQMXPToolBarImages* pImages,
                              BOOL bHighlighted, BOOL bDrawDisabledImages) {
    const CRect rect = pButton->GetRect();
    if (!pButton->m_bVisible || !pDC->RectVisible(&rect))
        return TRUE;
    const BOOL bCustomize = m_bCustomizeMode && !m_bLocked;
    pButton->OnDraw(pDC, rect, pImages, IsHorizontal(), bCustomize, bHighlighted, m_bDrawBorders,
                    bDrawDisabledImages ? FALSE : m_bGrayDisabledButtons);
    return TRUE;
}

void CQMXPToolBar::DrawSeparator(CDC* pDC, const CRect& rect, BOOL bHorz) {
    CQMXPVisualManager::GetInstance()->OnDrawSeparator(pDC, this, rect, bHorz);
}
