// How a combo-box button draws itself: the closed combo box in the flat
// look on a horizontal bar, and a sunken combo picture in a command list.
#include "docking/toolbars/QMXPToolbarComboBoxButton.h"

#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPMenuGlyphs.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "docking/toolbars/QMXPVisualManager.h"
#include "platform/classlib/ComboBox.h"
#include "platform/classlib/DC.h"

#include <algorithm>

namespace {

constexpr int kMinListCombo = 20;

}  // namespace

void CQMXPToolbarComboBoxButton::OnDraw(CDC* pDC, const CRect& rect, CQMXPToolBarImages* pImages, BOOL bHorz,
                                        BOOL bCustomizeMode, BOOL bHighlight, BOOL bDrawBorder,
                                        BOOL bGrayDisabledButtons) {
    if (m_pWndCombo == nullptr || m_pWndCombo->GetSafeHwnd() == nullptr || !bHorz) {
        CQMXPToolbarButton::OnDraw(pDC, rect, pImages, bHorz, bCustomizeMode, bHighlight, bDrawBorder,
                                   bGrayDisabledButtons);
        return;
    }
    CQMXPVisualManager* pManager = CQMXPVisualManager::GetInstance();
    const BOOL bDisabled = (bCustomizeMode && !IsPermitted()) || (m_nStyle & TBBS_DISABLED);
    COLORREF clrText = globalData.clrBtnText;
    if (bDisabled)
        clrText = globalData.clrGrayedText;
    else if (bHighlight)
        clrText = CQMXPToolBar::GetHotTextColor();
    bHighlight = bHighlight || m_bIsHotEdit;
    const BOOL bDropped = m_pWndCombo->GetDroppedState();

    pManager->OnDrawComboBorder(pDC, m_rectCombo, bDisabled, bDropped, bHighlight, this);
    CRect rectInner = m_rectCombo;
    rectInner.DeflateRect(2, 2);
    if (bDisabled) {
        pDC->FillSolidRect(&rectInner, globalData.clrBtnFace);
        pDC->Draw3dRect(&rectInner, globalData.clrBtnHilite, globalData.clrBtnHilite);
    } else {
        pDC->FillSolidRect(&rectInner, ::GetSysColor(COLOR_WINDOW));
    }
    pManager->OnDrawComboDropButton(pDC, m_rectButton, bDisabled, bDropped, bHighlight, this);

    const COLORREF clrOld = pDC->SetTextColor(clrText);
    if (!m_strEdit.IsEmpty() && m_pWndEdit == nullptr) {
        CRect rectText = rectInner;
        rectText.right = std::min<int>(rectText.right, m_rectButton.left - 1);
        const DWORD dwComboStyle = static_cast<DWORD>(m_pWndCombo->GetStyle());
        if (dwComboStyle & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) {
            DRAWITEMSTRUCT dis{};
            dis.CtlType = ODT_COMBOBOX;
            dis.CtlID = m_nID;
            dis.itemID = static_cast<UINT>(m_iSelIndex);
            dis.itemAction = ODA_DRAWENTIRE;
            dis.hwndItem = m_pWndCombo->GetSafeHwnd();
            dis.hDC = pDC->GetSafeHdc();
            dis.rcItem = rectText;
            dis.itemData = GetItemData(m_iSelIndex);
            m_pWndCombo->DrawItem(&dis);
        } else {
            pDC->DrawText(m_strEdit, &rectText, DT_SINGLELINE | DT_VCENTER);
        }
    }
    if (m_bTextBelow && !m_strText.IsEmpty()) {
        CRect rectText(m_rect.left, m_rectCombo.bottom, m_rect.right, m_rect.bottom);
        pDC->DrawText(m_strText, &rectText, DT_CENTER | DT_WORDBREAK);
    }
    pDC->SetTextColor(clrOld);
}

int CQMXPToolbarComboBoxButton::OnDrawInList(CDC* pDC, CRect rect, CQMXPToolBarImages* pImages, BOOL bSelected,
                                             BOOL bDrawImage) {
    const int nTextWidth = CQMXPToolbarButton::OnDrawInList(pDC, rect, pImages, bSelected, bDrawImage);
    CRect rectCombo = rect;
    rectCombo.left = std::min<int>(rect.left + nTextWidth, rect.right - kMinListCombo);
    rectCombo.DeflateRect(2, 3);
    pDC->FillSolidRect(&rectCombo, ::GetSysColor(COLOR_WINDOW));
    pDC->Draw3dRect(&rectCombo, globalData.clrBtnDkShadow, globalData.clrBtnHilite);
    rectCombo.DeflateRect(1, 1);
    pDC->Draw3dRect(&rectCombo, globalData.clrBtnShadow, globalData.clrBtnLight);
    rectCombo.DeflateRect(1, 1);

    CRect rectDrop(rectCombo.right - rectCombo.Height(), rectCombo.top, rectCombo.right, rectCombo.bottom);
    pDC->FillSolidRect(&rectDrop, globalData.clrBtnFace);
    pDC->Draw3dRect(&rectDrop, globalData.clrBtnHilite, globalData.clrBtnDkShadow);
    const CSize sizeGlyph = CQMXPMenuGlyphs::GetSize();
    const CPoint ptGlyph(rectDrop.left + (rectDrop.Width() - sizeGlyph.cx) / 2,
                         rectDrop.top + (rectDrop.Height() - sizeGlyph.cy) / 2);
    CQMXPMenuGlyphs::Draw(pDC, CQMXPMenuGlyphs::IdArowDown, ptGlyph);
    return rect.Width();
}
