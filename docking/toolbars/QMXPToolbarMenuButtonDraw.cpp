// How a menu button measures and draws itself: as a menu item row in a
// popup, and as a tool-bar or menu-bar button with its drop-down arrow.
#include "docking/toolbars/QMXPToolbarMenuButton.h"

#include "docking/frames/QMXPKeyboardManager.h"
#include "docking/frames/QMXPMDIFrameWnd.h"
#include "docking/frames/QMXPUserTool.h"
#include "docking/toolbars/CmdUsageCount.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPMenuGlyphs.h"
#include "docking/toolbars/QMXPMnemonicLabel.h"
#include "docking/toolbars/QMXPPopupMenu.h"
#include "docking/toolbars/QMXPPopupMenuBar.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "docking/toolbars/QMXPToolBarImages.h"
#include "docking/toolbars/QMXPUserToolsManager.h"
#include "docking/toolbars/QMXPVisualManager.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/FrameWnd.h"
#include "platform/classlib/GdiObject.h"
#include "platform/classlib/WinApp.h"

namespace {

constexpr UINT kNoCommand = static_cast<UINT>(-1);
constexpr UINT kSysCommandFirst = 0xF000;
constexpr UINT kSysCommandEnd = 0xF1F0;
// A menu item's text starts this far right of its image column.
constexpr int kTextGap = 2;
constexpr int kShortcutRightGap = 3;
constexpr int kMenuItemExtra = 6;
// The sub-menu arrow of the symbol font.
constexpr wchar_t kArrowChar[] = L"4";

bool IsSystemCommand(UINT uiID) { return uiID >= kSysCommandFirst && uiID < kSysCommandEnd; }
bool IsOrdinaryCommand(UINT uiID) { return uiID != 0 && uiID != kNoCommand; }

int SystemGlyph(UINT uiID) {
    switch (uiID) {
    case SC_CLOSE:
        return CQMXPMenuGlyphs::IdClose;
    case SC_MINIMIZE:
        return CQMXPMenuGlyphs::IdMinimize;
    case SC_MAXIMIZE:
        return CQMXPMenuGlyphs::IdMaximize;
    case SC_RESTORE:
        return CQMXPMenuGlyphs::IdRestore;
    default:
        return -1;
    }
}

CPoint CentredIn(const CRect& rect, CSize size) {
    return CPoint(rect.left + (rect.Width() - size.cx) / 2, rect.top + (rect.Height() - size.cy) / 2);
}

// A rarely used command of a short menu opened from a menu button.
bool DrawsRarelyUsed(const CQMXPToolbarMenuButton& button) {
    if (!CQMXPToolBar::m_bRecentlyUsedMenus)
        return false;
    auto* pBar = DYNAMIC_DOWNCAST(CQMXPPopupMenuBar, button.m_pWndParent);
    CQMXPPopupMenu* pPopup = pBar != nullptr ? pBar->GetParentPopup() : nullptr;
    if (pPopup == nullptr || pPopup->GetParentButton() == nullptr)
        return false;
    return !IsSystemCommand(button.m_nID) && CQMXPToolBar::IsCommandRarelyUsed(button.m_nID);
}

}  // namespace

CFrameWnd* CQMXPToolbarMenuButton::ShortcutFrame() const {
    if (m_pWndParent != nullptr && m_pWndParent->GetSafeHwnd() != nullptr) {
        CFrameWnd* pFrame = m_pWndParent->GetTopLevelFrame();
        // The popup is a frame of its own: its owner's frame holds the keys.
        if (auto* pPopup = DYNAMIC_DOWNCAST(CQMXPPopupMenu, pFrame))
            pFrame = pPopup->GetOwnerFrame();
        return pFrame;
    }
    CWnd* pMainWnd = AfxGetMainWnd();
    if (pMainWnd == nullptr || !pMainWnd->IsFrameWnd())
        return nullptr;
    return static_cast<CFrameWnd*>(pMainWnd)->GetActiveFrame();
}

SIZE CQMXPToolbarMenuButton::OnCalcSize(CDC* pDC, const CSize& sizeDefault, BOOL bHorz) {
    m_bHorz = bHorz;
    int nArrow = 0;
    if (m_bDrawDownArrow || m_bMenuMode) {
        const CSize sizeGlyph = CQMXPMenuGlyphs::GetSize();
        nArrow = (bHorz ? sizeGlyph.cx : sizeGlyph.cy) * (CQMXPToolBar::IsLargeIcons() ? 2 : 1) - 1;
    }
    if (m_bMenuMode && IsOrdinaryCommand(m_nID) && !IsSystemCommand(m_nID)) {
        const int iTab = m_strText.Find(L'\t');
        if (iTab >= 0)
            m_strText = m_strText.Left(iTab);
        CString strKey;
        CFrameWnd* pFrame = ShortcutFrame();
        if (pFrame != nullptr &&
            (CQMXPKeyboardManager::FindDefaultAccelerator(m_nID, strKey, pFrame, TRUE) ||
             (pFrame->GetActiveFrame() != pFrame &&
              CQMXPKeyboardManager::FindDefaultAccelerator(m_nID, strKey, pFrame->GetActiveFrame(), FALSE))))
            m_strText += L"\t" + strKey;
    }
    CSize size = CQMXPToolbarButton::OnCalcSize(pDC, sizeDefault, bHorz);
    (bHorz ? size.cx : size.cy) += nArrow;
    if (m_bMenuMode) {
        size.cx += sizeDefault.cx + kMenuItemExtra;
        if (auto* pBar = DYNAMIC_DOWNCAST(CQMXPPopupMenuBar, m_pWndParent))
            size.cy = pBar->GetRowHeight();
    } else {
        const int nMargins = 2 * CQMXPVisualManager::GetInstance()->GetMenuImageMargin();
        (bHorz ? size.cx : size.cy) += nMargins;
    }
    return size;
}

void CQMXPToolbarMenuButton::OnDraw(CDC* pDC, const CRect& rect, CQMXPToolBarImages* pImages, BOOL bHorz,
                                    BOOL bCustomizeMode, BOOL bHighlight, BOOL bDrawBorder,
                                    BOOL bGrayDisabledButtons) {
    if (m_bMenuMode) {
        DrawMenuItem(pDC, rect, pImages, bCustomizeMode, bHighlight, bGrayDisabledButtons);
        return;
    }
    CQMXPVisualManager* pManager = CQMXPVisualManager::GetInstance();
    const BOOL bDropped = IsDroppedDown();
    FillInterior(pDC, rect, bHighlight || bDropped);

    CSize sizeArrow = CQMXPMenuGlyphs::GetSize();
    if (CQMXPToolBar::IsLargeIcons())
        sizeArrow = CSize(sizeArrow.cx * 2, sizeArrow.cy * 2);
    CRect rectParent = rect;
    const CSize sizeExtra = pManager->GetButtonExtraBorder();
    if (sizeExtra != CSize(0, 0))
        rectParent.DeflateRect(sizeExtra.cx / 2 + 1, sizeExtra.cy / 2 + 1);
    const int nMargin = pManager->GetMenuImageMargin();
    if (bHorz)
        rectParent.DeflateRect(nMargin, 0);
    else
        rectParent.DeflateRect(0, nMargin);

    CRect rectArrow = rectParent;
    if (m_bDrawDownArrow) {
        if (bHorz) {
            rectParent.right -= sizeArrow.cx + 2;
            rectArrow.left = rectParent.right;
        } else {
            rectParent.bottom -= sizeArrow.cy + 2;
            rectArrow.top = rectParent.bottom;
        }
    }

    const UINT nStyleSaved = m_nStyle;
    const BOOL bCommandPart = IsOrdinaryCommand(m_nID) && !m_bMenuOnly;
    if (pManager->bFlatLook)
        m_nStyle &= ~(TBBS_PRESSED | TBBS_CHECKED);
    else if (bCommandPart && !m_bClickedOnMenu)
        m_nStyle &= ~TBBS_PRESSED;
    else if (bDropped)
        m_nStyle |= TBBS_PRESSED;
    CQMXPToolbarButton::OnDraw(pDC, rectParent, pImages, bHorz, bCustomizeMode, bHighlight, bDrawBorder,
                               bGrayDisabledButtons);
    m_nStyle = nStyleSaved;

    if (!m_bDrawDownArrow)
        return;
    if ((m_nStyle & (TBBS_PRESSED | TBBS_CHECKED)) && !pManager->bFlatLook)
        rectArrow.OffsetRect(1, 1);
    if ((bHighlight || (m_nStyle & TBBS_PRESSED) || bDropped) && bCommandPart &&
        !(pManager->bFlatLook && bDropped)) {
        const int state = (bHighlight || (m_nStyle & (TBBS_CHECKED | TBBS_PRESSED))) ? QMXP_BUTTON_PRESSED
                                                                                       : QMXP_BUTTON_NORMAL;
        pManager->OnDrawButtonBorder(pDC, this, rectArrow, state);
    }
    if (bDropped && !(m_nStyle & (TBBS_CHECKED | TBBS_PRESSED)) && !pManager->bFlatLook)
        rectArrow.OffsetRect(1, 1);
    const int iGlyph = (bHorz && !m_bMenuOnly) ? CQMXPMenuGlyphs::IdArowDown : CQMXPMenuGlyphs::IdArowRight;
    const BOOL bDisabled = bCustomizeMode ? !IsPermitted() : (m_nStyle & TBBS_DISABLED) != 0;
    CQMXPMenuGlyphs::DrawCentered(pDC, iGlyph, rectArrow,
                                  bDisabled ? CQMXPMenuGlyphs::ImageGray : CQMXPMenuGlyphs::ImageBlack, sizeArrow);
}

void CQMXPToolbarMenuButton::DrawMenuItem(CDC* pDC, const CRect& rect, CQMXPToolBarImages* pImages,
                                          BOOL bCustomizeMode, BOOL bHighlight, BOOL bGrayDisabledButtons) {
    CQMXPVisualManager* pManager = CQMXPVisualManager::GetInstance();
    const int nMargin = pManager->GetMenuImageMargin();
    const CSize sizeImage = CQMXPToolBar::GetMenuImageSize();
    const BOOL bDisabled = bCustomizeMode ? !IsPermitted() : (m_nStyle & TBBS_DISABLED) != 0;
    const BOOL bChecked = (m_nStyle & TBBS_CHECKED) != 0;

    CRect rectImage(rect.left + nMargin, rect.top, rect.left + 2 * nMargin + sizeImage.cx, rect.bottom);
    CRect rectFrame = rectImage;
    rectFrame.InflateRect(1, -1);

    // The image, the tool's icon, or nothing for commands shown without image.
    BOOL bImageDrawn = FALSE;
    CQMXPUserTool* pTool = nullptr;
    if (!m_bUserButton && qmxUserToolsManager != nullptr)
        pTool = qmxUserToolsManager->LookupTool(m_nID);
    if (!IsCommandWithoutImage(m_nID)) {
        if (pTool != nullptr) {
            pTool->DrawToolIcon(pDC, rectImage);
            bImageDrawn = TRUE;
        } else if (GetImage() >= 0 && pImages != nullptr) {
            const CPoint ptImage = CentredIn(rectImage, sizeImage);
            const BOOL bGray = bDisabled && bGrayDisabledButtons;
            if (bChecked || bHighlight)
                pManager->OnDrawButtonBorder(pDC, this, rectFrame,
                                             bChecked ? QMXP_BUTTON_PRESSED : QMXP_BUTTON_HIGHLIGHTED);
            if (bHighlight && !bChecked && !bDisabled && pManager->bShadowHighlightedImage) {
                pImages->DrawImage(pDC, ptImage.x, ptImage.y, GetImage(), FALSE, FALSE, FALSE, TRUE);
                pImages->DrawImage(pDC, ptImage.x - 1, ptImage.y - 1, GetImage(), FALSE, bGray);
            } else {
                pImages->DrawImage(pDC, ptImage.x, ptImage.y, GetImage(), FALSE, bGray);
            }
            bImageDrawn = TRUE;
        }
    }
    BOOL bCheckDrawn = FALSE;
    if (!bImageDrawn && bChecked) {
        FillInterior(pDC, rectFrame, bHighlight);
        CQMXPMenuGlyphs::DrawCentered(pDC, m_bIsRadio ? CQMXPMenuGlyphs::IdRadio : CQMXPMenuGlyphs::IdCheck, rectFrame,
                                      bDisabled ? CQMXPMenuGlyphs::ImageGray : CQMXPMenuGlyphs::ImageBlack);
        pManager->OnDrawButtonBorder(pDC, this, rectFrame, QMXP_BUTTON_PRESSED);
        bCheckDrawn = TRUE;
    } else if (!bImageDrawn && SystemGlyph(m_nID) >= 0) {
        CQMXPMenuGlyphs::DrawCentered(pDC, SystemGlyph(m_nID), rectImage,
                                      bDisabled ? CQMXPMenuGlyphs::ImageGray : CQMXPMenuGlyphs::ImageBlack);
        bImageDrawn = TRUE;
    }
    if (!bImageDrawn && !bCheckDrawn) {
        auto* pFrame = DYNAMIC_DOWNCAST(CQMXPMDIFrameWnd, ShortcutFrame());
        if (pFrame != nullptr)
            bImageDrawn = pFrame->OnDrawMenuImage(pDC, this, rectImage);
    }

    CFont* pOldFont = nullptr;
    if (m_bDefault)
        pOldFont = pDC->SelectObject(&globalData.fontBold);
    if (!bCustomizeMode && DrawsRarelyUsed(*this))
        pManager->OnFillButtonInterior(pDC, this, rectImage, QMXP_BUTTON_NORMAL);

    COLORREF clrText = bDisabled ? globalData.clrGrayedText : globalData.clrBtnText;
    if (bHighlight) {
        clrText = bDisabled ? globalData.clrBtnFace : globalData.clrTextHilite;
        CRect rectHighlight(rectImage.right - 1, rect.top, rect.right - 1, rect.bottom);
        if (!bImageDrawn && !bCheckDrawn)
            rectHighlight.left = rect.left;
        pManager->OnHighlightMenuItem(pDC, this, rectHighlight, clrText);
    }

    // The label left, the shortcut right, the arrow of a sub-menu.
    CString strLabel = m_strText;
    CString strShortcut;
    const int iTab = strLabel.Find(L'\t');
    if (iTab >= 0) {
        strShortcut = strLabel.Mid(iTab + 1);
        strLabel = strLabel.Left(iTab);
    }
    const CSize sizeGlyph = CQMXPMenuGlyphs::GetSize();
    const BOOL bArrow = m_nID == kNoCommand || m_bDrawDownArrow || m_bMenuOnly;
    const int nArrowWidth = sizeGlyph.cx;
    CRect rectText(rectImage.right + nMargin + kTextGap, rect.top, rect.right - kShortcutRightGap - nArrowWidth,
                   rect.bottom);
    CQMXPMnemonicLabel label(pDC, strLabel);
    if (label.GetWidth() > rectText.Width()) {
        // Cut from the end until the label fits with "...".
        CString strCut = strLabel;
        while (!strCut.IsEmpty()) {
            strCut = strCut.Left(strCut.GetLength() - 1);
            label = CQMXPMnemonicLabel(pDC, strCut + L"...");
            if (label.GetWidth() <= rectText.Width())
                break;
        }
    }
    CQMXPMnemonicLabel shortcut(pDC, strShortcut);
    const UINT uiLabel = DT_VCENTER | DT_LEFT;
    const UINT uiShortcut = DT_VCENTER | DT_RIGHT;
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    if (bDisabled && !bHighlight && pManager->bEmbossDisabledImage) {
        pDC->SetTextColor(globalData.clrBtnHilite);
        CRect rectShade = rectText;
        rectShade.OffsetRect(1, 1);
        label.Draw(pDC, rectShade, uiLabel);
        shortcut.Draw(pDC, rectShade, uiShortcut);
    }
    const COLORREF clrOld = pDC->SetTextColor(clrText);
    label.Draw(pDC, rectText, uiLabel);
    shortcut.Draw(pDC, rectText, uiShortcut);
    if (bArrow) {
        CFont* pOld = pDC->SelectObject(&globalData.fontMarlett);
        CRect rectArrow(rect.right - kShortcutRightGap - nArrowWidth - 2, rect.top, rect.right - 2, rect.bottom);
        pDC->DrawText(kArrowChar, &rectArrow, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
        pDC->SelectObject(pOld);
    }
    pDC->SetTextColor(clrOld);
    pDC->SetBkMode(nOldMode);
    if (pOldFont != nullptr)
        pDC->SelectObject(pOldFont);
}

int CQMXPToolbarMenuButton::OnDrawInList(CDC* pDC, CRect rect, CQMXPToolBarImages* pImages, BOOL bSelected,
                                         BOOL bDrawImage) {
    const int nWidth = CQMXPToolbarButton::OnDrawInList(pDC, rect, pImages, bSelected, bDrawImage);
    if (IsOrdinaryCommand(m_nID) && m_listCommands.IsEmpty())
        return nWidth;
    const CSize sizeGlyph = CQMXPMenuGlyphs::GetSize();
    CRect rectArrow(rect.right - sizeGlyph.cx, rect.top, rect.right, rect.bottom);
    CQMXPMenuGlyphs::DrawCentered(pDC, CQMXPMenuGlyphs::IdArowRight, rectArrow,
                                  bSelected ? CQMXPMenuGlyphs::ImageWhite : CQMXPMenuGlyphs::ImageBlack);
    const int x = rectArrow.left - 1;
    pDC->FillSolidRect(x - 1, rect.top + 2, 1, rect.Height() - 4, globalData.clrBtnShadow);
    pDC->FillSolidRect(x, rect.top + 2, 1, rect.Height() - 4, globalData.clrBtnHilite);
    return nWidth;
}
