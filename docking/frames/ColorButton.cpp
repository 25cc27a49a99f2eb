#include "docking/frames/ColorButton.h"

#include "docking/frames/QMXPColorBar.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPVisualManager.h"
#include "platform/classlib/DC.h"

#include <commctrl.h>

#include <cwchar>

IMPLEMENT_DYNCREATE(CColorButton, CQMXPToolbarButton)

namespace {

enum { kStateNormal = 0, kStatePressed = 1, kStateHighlighted = 2 };

// Between a cell's border and its colour.
constexpr int kCellMargin = 2;

// A raised etched frame: light above-left, shadow below-right, then reversed one pixel in.
void DrawEtchedFrame(CDC* pDC, CRect rect) {
    pDC->Draw3dRect(&rect, globalData.clrBtnHilite, globalData.clrBtnShadow);
    rect.OffsetRect(1, 1);
    pDC->Draw3dRect(&rect, globalData.clrBtnShadow, globalData.clrBtnHilite);
}

}  // namespace

CColorButton::CColorButton()
    : m_Color(static_cast<COLORREF>(-1)),
      m_bHighlight(FALSE),
      m_bIsAutomatic(FALSE),
      m_bIsOther(FALSE),
      m_bIsLabel(FALSE),
      m_bIsDocument(FALSE),
      m_bIsOtherColor(FALSE),
      m_pParentBar(nullptr) {}

CColorButton::CColorButton(COLORREF color, BOOL bIsAutomatic, BOOL bIsOther, LPCWSTR lpszText, BOOL bHighlight,
                           BOOL bIsDocument, BOOL bIsOtherColor)
    : CColorButton() {
    m_nID = 0;
    m_Color = color;
    m_bIsAutomatic = bIsAutomatic;
    m_bIsOther = bIsOther;
    m_bHighlight = bHighlight;
    m_bIsDocument = bIsDocument;
    m_bIsOtherColor = bIsOtherColor;
    m_strText = lpszText != nullptr ? lpszText : L"";
}

CColorButton::CColorButton(LPCWSTR lpszColorBarLabel, BOOL bIsDocument) : CColorButton() {
    m_nID = 0;
    m_bIsLabel = TRUE;
    m_bIsDocument = bIsDocument;
    m_strText = lpszColorBarLabel != nullptr ? lpszColorBarLabel : L"";
}

void CColorButton::OnParentChanged(CWnd* pWndParent) {
    CQMXPToolbarButton::OnParentChanged(pWndParent);
    m_pParentBar = DYNAMIC_DOWNCAST(CQMXPColorBar, pWndParent);
}

CString CColorButton::ColorTipText(COLORREF color) {
    const auto& names = CQMXPColorBar::ColorNames();
    auto found = names.find(color);
    if (found != names.end())
        return found->second;
    wchar_t szText[32];
    swprintf(szText, 32, L"Hex={%02X,%02X,%02X}", GetRValue(color), GetGValue(color), GetBValue(color));
    return szText;
}

BOOL CColorButton::OnToolHitTest(const CWnd* pWnd, TOOLINFOW* pTI) {
    if (m_nStyle & TBBS_DISABLED)
        return FALSE;
    const CString strTip = (m_bIsAutomatic || m_bIsOther || m_bIsLabel) ? m_strText : ColorTipText(m_Color);
    if (strTip.IsEmpty())
        return FALSE;
    if (pTI != nullptr) {
        pTI->rect = m_rect;
        pTI->hwnd = pWnd != nullptr ? pWnd->GetSafeHwnd() : nullptr;
        pTI->uId = 0;
        // The caller frees the text.
        pTI->lpszText = ::_wcsdup(strTip);
    }
    return TRUE;
}

void CColorButton::OnDraw(CDC* pDC, const CRect& rect, CQMXPToolBarImages*, BOOL bHorz, BOOL bCustomizeMode,
                          BOOL bHighlight, BOOL bDrawBorder, BOOL) {
    const UINT nStyleSaved = m_nStyle;
    if (m_bHighlight)
        m_nStyle |= TBBS_CHECKED;
    CPalette* pOldPalette = nullptr;
    if (globalData.bitsPerPixel == 8 && m_pParentBar != nullptr && m_pParentBar->m_Palette.m_hObject != nullptr) {
        pOldPalette = pDC->SelectPalette(&m_pParentBar->m_Palette, FALSE);
        pDC->RealizePalette();
    }
    CQMXPVisualManager* pManager = CQMXPVisualManager::GetInstance();
    FillInterior(pDC, rect, bHighlight);

    const BOOL bDisabled = (m_nStyle & TBBS_DISABLED) != 0;
    if (!bDisabled && !m_bIsLabel) {
        if ((m_nStyle & (TBBS_CHECKED | TBBS_INDETERMINATE)) && !bHighlight) {
            CRect rectDither = rect;
            rectDither.DeflateRect(1, 1);
            pDC->FillRect(&rectDither, &globalData.brLight);
        }
        if (bDrawBorder && !bCustomizeMode) {
            if (m_nStyle & (TBBS_CHECKED | TBBS_PRESSED))
                pManager->OnDrawButtonBorder(pDC, this, rect, kStatePressed);
            else if (bHighlight)
                pManager->OnDrawButtonBorder(pDC, this, rect, kStateHighlighted);
        }
    }

    CRect rectInner = rect;
    rectInner.DeflateRect(kCellMargin, kCellMargin);
    const BOOL bTextButton = IsTextButton();
    if (!bTextButton) {
        if (!bDisabled && m_Color != static_cast<COLORREF>(-1)) {
            CBrush brush(PALETTERGB(GetRValue(m_Color), GetGValue(m_Color), GetBValue(m_Color)));
            pDC->FillRect(&rectInner, &brush);
        }
    } else {
        CRect rectText = rectInner;
        if (m_bIsAutomatic && m_Color != static_cast<COLORREF>(-1)) {
            CRect rectSquare = rectInner;
            rectSquare.DeflateRect(1, 1);
            rectSquare.right = rectSquare.left + rectSquare.Height();
            if (bDisabled) {
                DrawEtchedFrame(pDC, rectSquare);
            } else {
                CBrush brush(PALETTERGB(GetRValue(m_Color), GetGValue(m_Color), GetBValue(m_Color)));
                pDC->FillRect(&rectSquare, &brush);
                pDC->Draw3dRect(&rectSquare, globalData.clrBtnShadow, globalData.clrBtnShadow);
            }
            rectText.left = rectSquare.right;
        }
        CFont* pOldFont = nullptr;
        if (!bHorz)
            pOldFont = pDC->SelectObject(&globalData.fontRegular);
        const int nOldMode = pDC->SetBkMode(TRANSPARENT);
        const COLORREF clrOld =
            pDC->SetTextColor(bDisabled && !m_bIsLabel ? globalData.clrGrayedText : globalData.clrBtnText);
        UINT uiFormat = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS;
        if (!m_bIsLabel)
            uiFormat |= DT_CENTER;
        pDC->DrawText(m_strText, &rectText, uiFormat);
        pDC->SetTextColor(clrOld);
        pDC->SetBkMode(nOldMode);
        if (pOldFont != nullptr)
            pDC->SelectObject(pOldFont);
    }
    if (!m_bIsOther && !m_bIsLabel) {
        if (bDisabled)
            DrawEtchedFrame(pDC, rectInner);
        else
            pDC->Draw3dRect(&rectInner, globalData.clrBtnShadow, globalData.clrBtnShadow);
    }
    if (pOldPalette != nullptr)
        pDC->SelectPalette(pOldPalette, FALSE);
    m_nStyle = nStyleSaved;
}
