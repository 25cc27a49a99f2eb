#include "docking/frames/CustomizeButton.h"

#include "docking/toolbars/QMXPMenuGlyphs.h"
#include "docking/toolbars/QMXPPopupMenu.h"
#include "docking/toolbars/QMXPPopupMenuBar.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "docking/toolbars/QMXPToolbarComboBoxButton.h"
#include "docking/toolbars/QMXPVisualManager.h"
#include "platform/classlib/StringResource.h"

IMPLEMENT_DYNCREATE(CCustomizeButton, CQMXPToolbarMenuButton)

namespace {

constexpr UINT kMoreButtonsString = 16026;
constexpr int kGlyphExtra = 9;
constexpr int kBorderInset = 5;
constexpr int kGlyphBox = 4;

// The command's tip text: the part between the first and a second line break.
CString TipTextOf(UINT uiCmd) {
    CString strFull;
    if (!AfxLoadStringResource(uiCmd, strFull))
        return CString();
    const int iFirst = strFull.Find(L'\n');
    if (iFirst < 0)
        return CString();
    CString strTip = strFull.Mid(iFirst + 1);
    const int iSecond = strTip.Find(L'\n');
    return iSecond >= 0 ? strTip.Left(iSecond) : strTip;
}

}  // namespace

CCustomizeButton::CCustomizeButton()
    : m_uiCustomizeCmdId(0), m_pWndParentToolbar(nullptr), m_bIsEmpty(FALSE), m_lstInvisibleButtons(10) {}

CCustomizeButton::CCustomizeButton(UINT uiCustomizeCmdId, const CString& strCustomizeText) : CCustomizeButton() {
    m_uiCustomizeCmdId = uiCustomizeCmdId;
    m_strCustomizeText = strCustomizeText;
}

CCustomizeButton::~CCustomizeButton() = default;

void CCustomizeButton::AssignFrom(const CQMXPToolbarButton& src) {
    CQMXPToolbarMenuButton::AssignFrom(src);
    if (const auto* pSrc = DYNAMIC_DOWNCAST(CCustomizeButton, const_cast<CQMXPToolbarButton*>(&src))) {
        m_uiCustomizeCmdId = pSrc->m_uiCustomizeCmdId;
        m_strCustomizeText = pSrc->m_strCustomizeText;
        m_bIsEmpty = pSrc->m_bIsEmpty;
    }
}

void CCustomizeButton::OnParentChanged(CWnd* pWndParent) {
    CQMXPToolbarButton::OnParentChanged(pWndParent);
    m_pWndParentToolbar = DYNAMIC_DOWNCAST(CQMXPToolBar, pWndParent);
    m_pWndParent = pWndParent;
    m_bText = FALSE;
    m_bIsEmpty = FALSE;
}

SIZE CCustomizeButton::OnCalcSize(CDC*, const CSize& sizeDefault, BOOL bHorz) {
    if (m_bIsEmpty)
        return CSize(0, 0);
    if (m_strText.IsEmpty())
        AfxLoadStringResource(kMoreButtonsString, m_strText);
    m_bHorz = bHorz;
    const CSize sizeGlyph = CQMXPMenuGlyphs::GetSize();
    return bHorz ? CSize(sizeGlyph.cx + kGlyphExtra, sizeDefault.cy) : CSize(sizeDefault.cx, sizeGlyph.cy + kGlyphExtra);
}

void CCustomizeButton::OnDraw(CDC* pDC, const CRect& rect, CQMXPToolBarImages*, BOOL bHorz, BOOL bCustomizeMode,
                              BOOL bHighlight, BOOL, BOOL) {
    if (m_bIsEmpty || DYNAMIC_DOWNCAST(CQMXPPopupMenuBar, m_pWndParent) != nullptr)
        return;
    CRect rectBorder = rect;
    if (bHorz)
        rectBorder.left += kBorderInset;
    else
        rectBorder.top += kBorderInset;
    const BOOL bDropped = IsDroppedDown();
    const BOOL bPressed = (m_nStyle & (TBBS_CHECKED | TBBS_PRESSED)) != 0 || bDropped;
    CQMXPVisualManager* pManager = CQMXPVisualManager::GetInstance();
    if (bHighlight || bDropped) {
        const UINT nSaved = m_nStyle;
        m_nStyle |= TBBS_PRESSED;
        FillInterior(pDC, rectBorder, FALSE);
        m_nStyle = nSaved;
    } else {
        FillInterior(pDC, rectBorder, FALSE);
    }
    const CSize sizeGlyph = CQMXPMenuGlyphs::GetSize();
    const CSize sizeShift = bPressed && !pManager->bFlatLook ? CSize(1, 1) : CSize(0, 0);
    if (m_uiCustomizeCmdId > 0) {
        CRect rectBox = bHorz ? CRect(rect.left + kBorderInset, rect.bottom - sizeGlyph.cy - kGlyphBox, rect.right,
                                      rect.bottom)
                              : CRect(rect.left, rect.top + kBorderInset, rect.left + sizeGlyph.cx + kGlyphBox,
                                      rect.bottom);
        rectBox.OffsetRect(sizeShift);
        CQMXPMenuGlyphs::DrawCentered(pDC, bHorz ? CQMXPMenuGlyphs::IdArowDown : CQMXPMenuGlyphs::IdArowLeft, rectBox);
    }
    if (!m_lstInvisibleButtons.IsEmpty()) {
        CRect rectBox = bHorz ? CRect(rect.left + kBorderInset, rect.top, rect.right,
                                      rect.top + sizeGlyph.cy + kGlyphBox)
                              : CRect(rect.right - sizeGlyph.cx - kGlyphBox, rect.top + kBorderInset, rect.right,
                                      rect.bottom);
        rectBox.OffsetRect(sizeShift);
        CQMXPMenuGlyphs::DrawCentered(pDC, bHorz ? CQMXPMenuGlyphs::IdMoreButtons : CQMXPMenuGlyphs::IdArowShowAll,
                                      rectBox);
    }
    if (bCustomizeMode)
        return;
    if (bPressed)
        pManager->OnDrawButtonBorder(pDC, this, rectBorder, QMXP_BUTTON_PRESSED);
    else if (bHighlight && !(m_nStyle & (TBBS_CHECKED | TBBS_DISABLED | TBBS_INDETERMINATE)))
        pManager->OnDrawButtonBorder(pDC, this, rectBorder, QMXP_BUTTON_HIGHLIGHTED);
}

CQMXPPopupMenu* CCustomizeButton::MakePopupMenu() {
    CQMXPPopupMenu* pPopup = CQMXPToolbarMenuButton::MakePopupMenu();
    if (pPopup == nullptr)
        return nullptr;
    const BOOL bNoImages = m_pWndParentToolbar == nullptr || m_pWndParentToolbar->IsLocked();
    int nAdded = 0;
    BOOL bLastSkipped = FALSE;
    for (POSITION pos = m_lstInvisibleButtons.GetHeadPosition(); pos != nullptr;) {
        auto* pButton = static_cast<CQMXPToolbarButton*>(m_lstInvisibleButtons.GetNext(pos));
        const BOOL bLast = pos == nullptr;
        if (pButton->m_nStyle & TBBS_SEPARATOR) {
            // No separator at the popup's ends or right after a skipped one.
            if (nAdded == 0 || bLastSkipped || bLast) {
                bLastSkipped = TRUE;
                continue;
            }
            pPopup->InsertSeparator();
            bLastSkipped = FALSE;
            continue;
        }
        bLastSkipped = FALSE;
        int iIndex = -1;
        if (pButton->IsKindOf(RUNTIME_CLASS(CQMXPToolbarMenuButton))) {
            iIndex = pPopup->InsertItem(*pButton);
        } else if (pButton->m_nID == 0) {
            iIndex = pPopup->InsertSeparator();
        } else {
            int iImage = -1;
            if (!bNoImages)
                iImage = pButton->m_bUserButton ? pButton->m_iUserImage : pButton->m_iImage;
            CQMXPToolbarMenuButton item(pButton->m_nID, nullptr, iImage, pButton->m_strText, pButton->m_bUserButton);
            iIndex = pPopup->InsertItem(item);
        }
        CQMXPToolbarButton* pItem = pPopup->GetMenuItem(iIndex);
        if (pItem == nullptr)
            continue;
        ++nAdded;
        if ((pItem->m_strText.IsEmpty() || pButton->IsKindOf(RUNTIME_CLASS(CQMXPToolbarComboBoxButton))) &&
            pItem->m_nID != 0) {
            const CString strTip = TipTextOf(pItem->m_nID);
            if (!strTip.IsEmpty())
                pItem->m_strText = strTip;
        }
        pItem->m_bText = TRUE;
    }
    if (m_uiCustomizeCmdId > 0) {
        if (!m_lstInvisibleButtons.IsEmpty() && nAdded > 0)
            pPopup->InsertSeparator();
        pPopup->InsertItem(CQMXPToolbarMenuButton(m_uiCustomizeCmdId, nullptr, -1, m_strCustomizeText));
    }
    if (m_pWndParentToolbar != nullptr) {
        CWnd* pOwner = m_pWndParentToolbar->GetOwner();
        m_pWndMessage = pOwner != nullptr ? pOwner : m_pWndParentToolbar->GetParent();
    }
    return pPopup;
}
