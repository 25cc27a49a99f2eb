// How a tool-bar button measures and draws itself: on a bar, and as a row
// of a command list.
#include "docking/toolbars/QMXPToolbarButton.h"

#include "docking/frames/QMXPUserTool.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPMnemonicLabel.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "docking/toolbars/QMXPToolBarImages.h"
#include "docking/toolbars/QMXPUserToolsManager.h"
#include "docking/toolbars/QMXPVisualManager.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/GdiObject.h"

#include <algorithm>

namespace {

constexpr int kSeparatorSize = 8;
constexpr int kTextMargin = 3;
// The gap a text beside an image or alone takes besides its own extent.
constexpr int kTextExtra = 9;
constexpr int kTextBelowExtra = 6;
constexpr int kTextBelowMargin = 12;
constexpr int kListImageMargin = 6;
constexpr int kListTextGap = 10;

// The user tool whose icon stands for the button's standard image; none for other commands.
CQMXPUserTool* UserToolOf(const CQMXPToolbarButton& button) {
    if (qmxUserToolsManager == nullptr || button.m_bUserButton || button.m_iImage < 0)
        return nullptr;
    return qmxUserToolsManager->LookupTool(button.m_nID);
}

}  // namespace

SIZE CQMXPToolbarButton::OnCalcSize(CDC* pDC, const CSize& sizeDefault, BOOL bHorz) {
    CSize size = sizeDefault;
    if (m_nStyle & TBBS_SEPARATOR) {
        if (bHorz)
            size.cx = m_iImage > 0 ? m_iImage : kSeparatorSize;
        else
            size.cy = kSeparatorSize;
        return size;
    }
    if (!m_bImage || GetImage() < 0) {
        const CSize sizeExtra = CQMXPVisualManager::GetInstance()->GetButtonExtraBorder();
        const int nExtent = m_bOnMenuTypeBar ? (bHorz ? sizeExtra.cx : sizeExtra.cy) : 0;
        (bHorz ? size.cx : size.cy) = nExtent;
    }
    m_sizeText = CSize(0, 0);
    if (m_strText.IsEmpty())
        return size;
    if (m_bTextBelow && bHorz) {
        CRect rectText(0, 0, sizeDefault.cx * 3, sizeDefault.cy);
        const UINT nFormat = DT_CALCRECT | DT_CENTER | (m_bWrapText ? DT_WORDBREAK : 0);
        pDC->DrawText(m_strText, &rectText, nFormat);
        m_sizeText = CSize(rectText.Width() + kTextBelowExtra, rectText.Height());
        size.cx = std::max<int>(size.cx, m_sizeText.cx) + kTextBelowMargin;
        size.cy += rectText.Height() + 1;
    } else if (m_bText) {
        const int nExtent = pDC->GetTextExtent(GetDisplayText(m_strText)).cx + kTextExtra;
        (bHorz ? size.cx : size.cy) += nExtent;
    }
    return size;
}

void CQMXPToolbarButton::OnDraw(CDC* pDC, const CRect& rect, CQMXPToolBarImages* pImages, BOOL bHorz,
                                BOOL bCustomizeMode, BOOL bHighlight, BOOL bDrawBorder, BOOL bGrayDisabledButtons) {
    m_bHorz = bHorz;
    FillInterior(pDC, rect, bHighlight);
    CQMXPVisualManager* pManager = CQMXPVisualManager::GetInstance();
    CQMXPUserTool* pUserTool = UserToolOf(*this);

    // Placement of the image and the text.
    const CSize sizeImage = pImages != nullptr ? pImages->GetImageSize() : CSize(0, 0);
    CRect rectInternal = rect;
    const CSize sizeExtra = pManager->GetButtonExtraBorder();
    if (m_bOnMenuTypeBar)
        rectInternal.DeflateRect(sizeExtra.cx / 2, sizeExtra.cy / 2);
    const BOOL bTextBelow = m_bTextBelow && bHorz;
    const BOOL bShowText = m_bText && !m_strText.IsEmpty();
    int nTextWidth = 0;
    if (bShowText && !bTextBelow)
        nTextWidth = pDC->GetTextExtent(GetDisplayText(m_strText)).cx + kTextBelowExtra;
    CSize sizeArea;
    if (bHorz)
        sizeArea = bTextBelow ? CSize(rectInternal.Width(), sizeImage.cy + kTextBelowExtra)
                              : CSize(rectInternal.Width() - nTextWidth, rectInternal.Height());
    else
        sizeArea = CSize(rectInternal.Width(), rectInternal.Height() - nTextWidth);
    CPoint ptImage((sizeArea.cx - sizeImage.cx) / 2, (sizeArea.cy - sizeImage.cy) / 2);
    TEXTMETRICW tm{};
    pDC->GetTextMetrics(&tm);
    CPoint ptText(kTextMargin, kTextMargin);
    if (bHorz && !bTextBelow)
        ptText.y = (sizeArea.cy - tm.tmHeight - 1) / 2;
    else if (!bHorz)
        ptText.x = (sizeArea.cx - tm.tmHeight + 1) / 2;

    const BOOL bPressedLook = (m_nStyle & (TBBS_CHECKED | TBBS_PRESSED)) != 0;
    if (bPressedLook && !bCustomizeMode && !pManager->bFlatLook) {
        ptImage.Offset(1, 1);
        ptText.Offset(1, 1);
    }

    const BOOL bDisabled = bCustomizeMode ? !IsPermitted() : (m_nStyle & TBBS_DISABLED) != 0;
    if (m_bImage && GetImage() >= 0 && (pImages != nullptr || pUserTool != nullptr)) {
        const int x = rectInternal.left + ptImage.x;
        const int y = rectInternal.top + ptImage.y;
        if (pUserTool != nullptr) {
            pUserTool->DrawToolIcon(pDC, CRect(CPoint(x, y), sizeImage));
        } else {
            const BOOL bShadow = bHighlight && !bCustomizeMode && !IsDroppedDown() && pManager->bShadowHighlightedImage &&
                                 !(m_nStyle & (TBBS_CHECKED | TBBS_PRESSED | TBBS_DISABLED));
            const BOOL bDrawDisabled = bDisabled && bGrayDisabledButtons;
            const BOOL bInactive = !bHighlight && pManager->bFadeInactiveImage;
            const BOOL bIndeterminate = (m_nStyle & TBBS_INDETERMINATE) != 0;
            if (bShadow) {
                pImages->DrawImage(pDC, x, y, GetImage(), FALSE, FALSE, FALSE, TRUE, FALSE);
                pImages->DrawImage(pDC, x - 1, y - 1, GetImage(), FALSE, bDrawDisabled, bIndeterminate, FALSE,
                                   bInactive);
            } else {
                pImages->DrawImage(pDC, x, y, GetImage(), FALSE, bDrawDisabled, bIndeterminate, FALSE, bInactive);
            }
        }
    }

    if (bShowText || (bTextBelow && !m_strText.IsEmpty())) {
        int state = QMXP_BUTTON_NORMAL;
        if (bHighlight)
            state = QMXP_BUTTON_HIGHLIGHTED;
        else if (bPressedLook)
            state = QMXP_BUTTON_PRESSED;
        const COLORREF clrOld = pDC->SetTextColor(pManager->GetToolbarButtonTextColor(this, state));
        const BOOL bImageShown = m_bImage && GetImage() >= 0;
        if (bTextBelow) {
            const int nWidth = m_sizeText.cx;
            CRect rectText((rect.left + rect.right - nWidth) / 2 + kTextMargin, rect.top + sizeImage.cy + kTextBelowExtra,
                           (rect.left + rect.right + nWidth) / 2, rect.bottom);
            if (m_bOnMenuTypeBar)
                rectText.top += sizeExtra.cy / 2;
            pDC->DrawText(m_strText, &rectText, DT_CENTER | (m_bWrapText ? DT_WORDBREAK : 0));
        } else if (bHorz) {
            CRect rectText(rect.left + kTextMargin + (bImageShown ? sizeImage.cx + kTextMargin : 0) + kTextMargin,
                           rect.top + ptText.y, rect.right, rect.bottom);
            CQMXPMnemonicLabel(pDC, m_strText).Draw(pDC, rectText, DT_LEFT);
        } else {
            CRect rectText(rect.left + ptText.x,
                           rect.top + kTextMargin + (bImageShown ? sizeImage.cy + kTextMargin : 0) + kTextMargin,
                           rect.right, rect.bottom);
            DrawVerticalText(pDC, rectText);
        }
        pDC->SetTextColor(clrOld);
    }

    if (!bCustomizeMode && bDrawBorder && HasBorder()) {
        if (bPressedLook)
            pManager->OnDrawButtonBorder(pDC, this, rect, QMXP_BUTTON_PRESSED);
        else if (bHighlight && !(m_nStyle & (TBBS_CHECKED | TBBS_DISABLED | TBBS_INDETERMINATE)))
            pManager->OnDrawButtonBorder(pDC, this, rect, QMXP_BUTTON_HIGHLIGHTED);
    }
}

void CQMXPToolbarButton::DrawVerticalText(CDC* pDC, const CRect& rectText) {
    // The vertical font runs downwards; its cells lie left of the reference point.
    TEXTMETRICW tm{};
    pDC->GetTextMetrics(&tm);
    CQMXPMnemonicLabel label(pDC, m_strText);
    const int x = rectText.left + tm.tmHeight;
    pDC->ExtTextOut(x, rectText.top, 0, nullptr, label.GetText(), label.Advances());
    const int iMnemonic = label.GetMnemonic();
    if (iMnemonic < 0)
        return;
    CPen pen;
    pen.CreatePen(PS_SOLID, 1, pDC->GetTextColor());
    CPen* pOldPen = pDC->SelectObject(&pen);
    const int xLine = x - tm.tmAscent - 1;
    pDC->MoveTo(xLine, rectText.top + label.CellLeft(iMnemonic));
    pDC->LineTo(xLine, rectText.top + label.CellRight(iMnemonic));
    pDC->SelectObject(pOldPen);
}

int CQMXPToolbarButton::OnDrawInList(CDC* pDC, CRect rect, CQMXPToolBarImages* pImages, BOOL bSelected,
                                     BOOL bDrawImage) {
    const BOOL bText = m_bText;
    m_bText = FALSE;
    const CSize sizeImage = pImages != nullptr ? pImages->GetImageSize() : CSize(0, 0);
    const int nCell = sizeImage.cx + 2 * kListImageMargin;
    CRect rectRow = rect;
    const COLORREF clrText = CQMXPVisualManager::GetInstance()->OnFillCommandsListBackground(pDC, rect, bSelected);
    CRect rectImage(rect.left, rect.top, rect.left + nCell, rect.bottom);
    const BOOL bHasImage = bDrawImage && GetImage() >= 0 && m_bImage;
    if (bHasImage) {
        CQMXPUserTool* pUserTool = UserToolOf(*this);
        if (pUserTool != nullptr) {
            pUserTool->DrawToolIcon(pDC, rectImage);
        } else if (pImages != nullptr) {
            CQMXPDrawState ds;
            if (pImages->BeginDraw(ds)) {
                OnDraw(pDC, rectImage, pImages, TRUE, FALSE, FALSE, FALSE, TRUE);
                pImages->FinishDraw(ds);
            }
        }
    }
    m_bText = bText;
    rectRow.left += (bHasImage ? nCell : 0) + kListTextGap;
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    const COLORREF clrOld = pDC->SetTextColor(clrText);
    const CString strText = m_strText.IsEmpty() ? m_strTextCustom : m_strText;
    pDC->DrawText(strText, &rectRow, DT_SINGLELINE | DT_VCENTER);
    const int nWidth = rectRow.left - rect.left + pDC->GetTextExtent(GetDisplayText(strText)).cx;
    pDC->SetTextColor(clrOld);
    pDC->SetBkMode(nOldMode);
    return nWidth;
}
