#include "docking/bars/QMXPOutlookButton.h"

#include "docking/bars/QMXPOutlookBarPane.h"
#include "docking/toolbars/QMXPDrawManager.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPToolBarImages.h"
#include "docking/toolbars/QMXPVisualManager.h"
#include "platform/classlib/DC.h"

#include <algorithm>

IMPLEMENT_SERIAL(CQMXPOutlookButton, CQMXPToolbarButton, VERSIONABLE_SCHEMA | 1)

namespace {
constexpr int kImageTop = 5;
constexpr int kTextGap = 2;
constexpr int kExtraHeight = 10;
// A hot button of a flat page darkens under its image.
constexpr int kFlatHighlightPercent = 85;
}  // namespace

CQMXPOutlookButton::CQMXPOutlookButton() : m_pWndParentBar(nullptr), m_sizeImage(0, 0) {}

CQMXPOutlookButton::~CQMXPOutlookButton() = default;

BOOL CQMXPOutlookButton::CanBeDroppedOn(CQMXPToolBar* pToolbar) {
    return pToolbar != nullptr && pToolbar->IsKindOf(RUNTIME_CLASS(CQMXPOutlookBarPane));
}

void CQMXPOutlookButton::OnParentChanged(CWnd* pWndParent) {
    CQMXPToolbarButton::OnParentChanged(pWndParent);
    m_pWndParentBar = DYNAMIC_DOWNCAST(CQMXPOutlookBarPane, pWndParent);
}

void CQMXPOutlookButton::SetImage(int iImage) { m_iImage = iImage; }

SIZE CQMXPOutlookButton::OnCalcSize(CDC* pDC, const CSize& sizeDefault, BOOL bHorz) {
    m_bHorz = bHorz;
    const int nSpaces = pDC->GetTextExtent(CString(L"   ")).cx;
    CRect rectText(0, 0, std::max(1, static_cast<int>(sizeDefault.cx) - nSpaces), 0xFFFF);
    int nTextHeight = 0;
    int nTextWidth = 0;
    if (!m_strText.IsEmpty()) {
        nTextHeight = pDC->DrawText(m_strText, &rectText, DT_CALCRECT | DT_WORDBREAK | DT_CENTER);
        nTextWidth = rectText.Width();
    }
    CSize size(std::max<int>(std::min<int>(sizeDefault.cx, nTextWidth), m_sizeImage.cx),
               sizeDefault.cy + nTextHeight + kExtraHeight);
    return size;
}

void CQMXPOutlookButton::OnDraw(CDC* pDC, const CRect& rect, CQMXPToolBarImages* pImages, BOOL bHorz,
                                BOOL bCustomizeMode, BOOL bHighlight, BOOL, BOOL bGrayDisabledButtons) {
    m_bHorz = bHorz;
    CQMXPVisualManager* pManager = CQMXPVisualManager::GetInstance();
    const BOOL bPressed = bHighlight && !bCustomizeMode && (m_nStyle & TBBS_PRESSED) != 0;
    const CSize sizeImage = pImages != nullptr ? pImages->GetImageSize() : m_sizeImage;
    const int nShift = bPressed ? 1 : 0;

    CRect rectImage(CPoint(rect.left + (rect.Width() - sizeImage.cx) / 2, rect.top + kImageTop), sizeImage);
    rectImage.OffsetRect(nShift, nShift);
    CRect rectText(rect.left, rectImage.bottom + kTextGap, rect.right, rect.bottom);
    rectText.OffsetRect(nShift, nShift);

    CRect rectFrame = rectImage;
    rectFrame.InflateRect(2, 2);
    if (m_pWndParentBar != nullptr && m_pWndParentBar->IsFlatLook() && bHighlight && !bCustomizeMode)
        CQMXPDrawManager(*pDC).HighlightRect(rectFrame, kFlatHighlightPercent);
    else
        FillInterior(pDC, rectFrame, bHighlight && !bCustomizeMode);

    const BOOL bDisabled = (m_nStyle & TBBS_DISABLED) != 0;
    if (pImages != nullptr && m_bImage && GetImage() >= 0)
        pImages->DrawImage(pDC, rectImage.left, rectImage.top, GetImage(), FALSE, bDisabled && bGrayDisabledButtons);

    if (!bCustomizeMode) {
        if ((bPressed && bHighlight) || (m_nStyle & TBBS_CHECKED))
            pManager->OnDrawButtonBorder(pDC, this, rectFrame, QMXP_BUTTON_PRESSED);
        else if (bHighlight)
            pManager->OnDrawButtonBorder(pDC, this, rectFrame, QMXP_BUTTON_HIGHLIGHTED);
    }

    if (m_strText.IsEmpty())
        return;
    const int state = bDisabled ? QMXP_BUTTON_NORMAL : (bHighlight ? QMXP_BUTTON_HIGHLIGHTED : QMXP_BUTTON_NORMAL);
    const BOOL bOwnColors = m_pWndParentBar != nullptr && m_pWndParentBar->HasOwnColors();
    const COLORREF clrPane = m_pWndParentBar != nullptr ? m_pWndParentBar->GetTextColor() : static_cast<COLORREF>(-1);
    COLORREF clrText;
    if (bDisabled)
        clrText = bOwnColors ? ::GetSysColor(COLOR_GRAYTEXT) : pManager->GetToolbarButtonTextColor(this, state);
    else if (clrPane != static_cast<COLORREF>(-1))
        clrText = clrPane;
    else
        clrText = bOwnColors ? ::GetSysColor(COLOR_WINDOWTEXT) : pManager->GetToolbarButtonTextColor(this, state);
    const COLORREF clrOld = pDC->SetTextColor(clrText);
    pDC->DrawText(m_strText, &rectText, DT_WORDBREAK | DT_END_ELLIPSIS | DT_CENTER);
    pDC->SetTextColor(clrOld);
}
