#include "docking/toolbars/QMXPColorMenuButton.h"

#include "docking/bars/QMXPLibraryGlobals.h"
#include "docking/frames/ColorPopup.h"
#include "docking/frames/QMXPColorDialog.h"
#include "docking/toolbars/QMXPCommandManager.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPMenuBar.h"
#include "docking/toolbars/QMXPMenuGlyphs.h"
#include "docking/toolbars/QMXPPopupMenuBar.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "docking/toolbars/QMXPToolBarImages.h"
#include "docking/toolbars/QMXPVisualManager.h"
#include "platform/classlib/Archive.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/FrameWnd.h"

#include <map>

IMPLEMENT_SERIAL(CQMXPColorMenuButton, CQMXPToolbarMenuButton, VERSIONABLE_SCHEMA | 1)

namespace {

// Height of the colour bar under the image.
constexpr int kColorBarHeight = 5;

// The colour of every command whose colour was set, for all buttons.
std::map<UINT, COLORREF>& ColorsByCommand() {
    static std::map<UINT, COLORREF> s_colors;
    return s_colors;
}

}  // namespace

COLORREF CQMXPColorMenuButton::GetColorByCmd(UINT uiCmdID) {
    auto found = ColorsByCommand().find(uiCmdID);
    return found != ColorsByCommand().end() ? found->second : kAutomatic;
}

void CQMXPColorMenuButton::SetColorByCmd(UINT uiCmdID, COLORREF colorIn) { ColorsByCommand()[uiCmdID] = colorIn; }

void CQMXPColorMenuButton::Initialize() {
    color = kAutomatic;
    colorAutomatic = 0;
    columns = -1;
    vertDockRows = -1;
    horzDockColumns = -1;
    bIsAutomaticButton = FALSE;
    bIsOtherButton = FALSE;
    bIsDocumentColors = FALSE;
    bStdColorDlg = FALSE;
}

CQMXPColorMenuButton::CQMXPColorMenuButton() { Initialize(); }

CQMXPColorMenuButton::CQMXPColorMenuButton(UINT uiCmdID, LPCWSTR lpszText, CPalette* pPalette)
    : CQMXPToolbarMenuButton(uiCmdID, nullptr, QMXLookupCommandImage(uiCmdID), lpszText) {
    Initialize();
    CQMXPColorBar::InitColors(pPalette, colors);
    color = GetColorByCmd(uiCmdID);
}

COLORREF CQMXPColorMenuButton::GetShownColor() const { return color == kAutomatic ? colorAutomatic : color; }

void CQMXPColorMenuButton::EnableCustomColorButton(LPCWSTR lpszLabel, BOOL bAltColorDlg, BOOL bEnable) {
    bIsOtherButton = bEnable;
    if (bEnable) {
        strOtherButtonLabel = lpszLabel != nullptr ? lpszLabel : L"";
        bStdColorDlg = !bAltColorDlg;
    }
}

void CQMXPColorMenuButton::EnableAutomaticButton(LPCWSTR lpszLabel, COLORREF colorAutomaticIn, BOOL bEnable) {
    bIsAutomaticButton = bEnable;
    if (bEnable) {
        strAutomaticButtonLabel = lpszLabel != nullptr ? lpszLabel : L"";
        colorAutomatic = colorAutomaticIn;
    }
}

void CQMXPColorMenuButton::EnableDocumentColors(LPCWSTR lpszLabel, BOOL bEnable) {
    bIsDocumentColors = bEnable;
    if (bEnable)
        strDocumentColorsLabel = lpszLabel != nullptr ? lpszLabel : L"";
}

void CQMXPColorMenuButton::SetColor(COLORREF colorIn, BOOL bNotify) {
    color = colorIn;
    SetColorByCmd(m_nID, color);
    if (m_pWndParent != nullptr && m_pWndParent->GetSafeHwnd() != nullptr) {
        m_pWndParent->InvalidateRect(&m_rect);
        m_pWndParent->UpdateWindow();
    }
    if (!bNotify)
        return;
    CObList listButtons;
    CQMXPToolBar::CollectButtonsByCommand(m_nID, listButtons);
    for (POSITION pos = listButtons.GetHeadPosition(); pos != nullptr;) {
        auto* pOther = DYNAMIC_DOWNCAST(CQMXPColorMenuButton, listButtons.GetNext(pos));
        if (pOther != nullptr && pOther != this)
            pOther->SetColor(colorIn, FALSE);
    }
    // The open colour bars of the command: tear-offs and the popups' bars.
    for (CQMXPToolBar* pToolBar : CQMXPToolBar::GetAllToolbars()) {
        auto* pColorBar = DYNAMIC_DOWNCAST(CQMXPColorBar, pToolBar);
        if (pColorBar != nullptr && pColorBar->m_nCommandID == m_nID && pColorBar->GetSafeHwnd() != nullptr)
            pColorBar->SetColor(colorIn);
    }
}

BOOL CQMXPColorMenuButton::OpenColorDialog(COLORREF colorDefault, COLORREF& colorRes) {
    return CQMXPColorDialog::Choose(bStdColorDlg, CC_FULLOPEN | CC_ANYCOLOR, colorDefault, colorRes);
}

CQMXPPopupMenu* CQMXPColorMenuButton::MakePopupMenu() {
    std::vector<COLORREF> lstDocColors;
    if (bIsDocumentColors && m_pWndParent != nullptr && m_pWndParent->GetSafeHwnd() != nullptr) {
        // The owner-frame override stands for the frame (an in-place frame, for one).
        CFrameWnd* pFrame =
            qmxTopLevelFrameOverride != nullptr ? qmxTopLevelFrameOverride : m_pWndParent->GetTopLevelFrame();
        CList<COLORREF, COLORREF> list;
        if (pFrame != nullptr)
            pFrame->SendMessage(QMXTOOLBAR__GETDOCUMENTCOLORS, m_nID, reinterpret_cast<LPARAM>(&list));
        for (POSITION pos = list.GetHeadPosition(); pos != nullptr;)
            lstDocColors.push_back(list.GetNext(pos));
    }
    return new CColorPopup(colors, color, bIsAutomaticButton ? static_cast<LPCWSTR>(strAutomaticButtonLabel) : nullptr,
                           bIsOtherButton ? static_cast<LPCWSTR>(strOtherButtonLabel) : nullptr,
                           bIsDocumentColors ? static_cast<LPCWSTR>(strDocumentColorsLabel) : nullptr, lstDocColors,
                           columns, vertDockRows, horzDockColumns, colorAutomatic, m_nID, this);
}

void CQMXPColorMenuButton::AssignFrom(const CQMXPToolbarButton& src) {
    CQMXPToolbarMenuButton::AssignFrom(src);
    const auto* pSrc = DYNAMIC_DOWNCAST(CQMXPColorMenuButton, const_cast<CQMXPToolbarButton*>(&src));
    if (pSrc == nullptr)
        return;
    color = pSrc->color;
    SetColorByCmd(m_nID, color);
    colors = pSrc->colors;
    bIsAutomaticButton = pSrc->bIsAutomaticButton;
    bIsOtherButton = pSrc->bIsOtherButton;
    bIsDocumentColors = pSrc->bIsDocumentColors;
    colorAutomatic = pSrc->colorAutomatic;
    strAutomaticButtonLabel = pSrc->strAutomaticButtonLabel;
    strOtherButtonLabel = pSrc->strOtherButtonLabel;
    strDocumentColorsLabel = pSrc->strDocumentColorsLabel;
    columns = pSrc->columns;
    vertDockRows = pSrc->vertDockRows;
    horzDockColumns = pSrc->horzDockColumns;
    bStdColorDlg = pSrc->bStdColorDlg;
}

void CQMXPColorMenuButton::Serialize(CArchive& ar) {
    CQMXPToolbarMenuButton::Serialize(ar);
    if (ar.IsStoring()) {
        ar << static_cast<int32_t>(colors.size());
        for (COLORREF c : colors)
            ar << static_cast<uint32_t>(c);
        ar << static_cast<int32_t>(columns) << static_cast<int32_t>(vertDockRows)
           << static_cast<int32_t>(horzDockColumns) << static_cast<int32_t>(bIsAutomaticButton)
           << static_cast<int32_t>(bIsOtherButton) << static_cast<int32_t>(bIsDocumentColors);
        ar << strAutomaticButtonLabel << strOtherButtonLabel << strDocumentColorsLabel;
        ar << static_cast<uint32_t>(colorAutomatic) << static_cast<int32_t>(bStdColorDlg);
        return;
    }
    int32_t nCount = 0;
    ar >> nCount;
    colors.clear();
    for (int32_t i = 0; i < nCount; ++i) {
        uint32_t c = 0;
        ar >> c;
        colors.push_back(c);
    }
    int32_t nColumns = 0, nVertDockRows = 0, nHorzDockColumns = 0, bAuto = 0, bOther = 0, bDoc = 0, bStd = 0;
    uint32_t clrAuto = 0;
    ar >> nColumns >> nVertDockRows >> nHorzDockColumns >> bAuto >> bOther >> bDoc;
    ar >> strAutomaticButtonLabel >> strOtherButtonLabel >> strDocumentColorsLabel;
    ar >> clrAuto >> bStd;
    columns = nColumns;
    vertDockRows = nVertDockRows;
    horzDockColumns = nHorzDockColumns;
    bIsAutomaticButton = bAuto;
    bIsOtherButton = bOther;
    bIsDocumentColors = bDoc;
    colorAutomatic = clrAuto;
    bStdColorDlg = bStd;
    // A loaded button shows the colour its command's other buttons show.
    CObList listButtons;
    CQMXPToolBar::CollectButtonsByCommand(m_nID, listButtons);
    for (POSITION pos = listButtons.GetHeadPosition(); pos != nullptr;) {
        auto* pOther = DYNAMIC_DOWNCAST(CQMXPColorMenuButton, listButtons.GetNext(pos));
        if (pOther != nullptr && pOther != this) {
            color = pOther->color;
            break;
        }
    }
}

void CQMXPColorMenuButton::OnParentChanged(CWnd* pWndParent) {
    const BOOL bImage = m_bImage;
    CQMXPToolbarMenuButton::OnParentChanged(pWndParent);
    m_pWndParent = pWndParent;
    m_bDrawDownArrow = TRUE;
    const BOOL bPopup = DYNAMIC_DOWNCAST(CQMXPPopupMenuBar, pWndParent) != nullptr;
    if (bPopup || DYNAMIC_DOWNCAST(CQMXPMenuBar, pWndParent) != nullptr)
        m_bText = TRUE;
    if (bPopup) {
        // A menu item keeps its image: the colour bar lies under it.
        m_bMenuMode = TRUE;
        m_bImage = bImage;
    }
}

CRect CQMXPColorMenuButton::GetColorBarRect(const CRect& rect, BOOL bHorz) const {
    CQMXPVisualManager* pManager = CQMXPVisualManager::GetInstance();
    CRect rectImage = rect;
    auto* pBar = DYNAMIC_DOWNCAST(CQMXPToolBar, m_pWndParent);
    if (pBar == nullptr || pBar->IsButtonExtraSizeAvailable()) {
        const CSize sizeExtra = pManager->GetButtonExtraBorder();
        rectImage.DeflateRect(sizeExtra.cx / 2 + 1, sizeExtra.cy / 2 + 1);
    }
    CRect rectColor;
    if (m_bMenuMode) {
        const CSize sizeImage = CQMXPToolBar::GetMenuImageSize();
        rectColor.left = rectImage.left + pManager->GetMenuImageMargin() + 1;
        rectColor.right = rectColor.left + sizeImage.cx;
        rectColor.bottom = rectImage.bottom - 2;
        rectColor.top = rectColor.bottom - kColorBarHeight;
        return rectColor;
    }
    const CSize sizeImage = pBar != nullptr ? pBar->GetImageSize() : CQMXPToolBar::m_sizeImage;
    if (bHorz && m_bDrawDownArrow) {
        int nArrow = CQMXPMenuGlyphs::GetSize().cx + 4;
        if (CQMXPToolBar::IsLargeIcons())
            nArrow *= 2;
        rectImage.right -= nArrow;
    }
    const int yImage = rectImage.top + (rectImage.Height() - sizeImage.cy) / 2;
    rectColor.SetRect(rectImage.left, yImage + sizeImage.cy - 1, rectImage.right, yImage + sizeImage.cy - 1 + kColorBarHeight);
    rectColor.DeflateRect(4, 0);
    if (!bHorz)
        rectColor.OffsetRect(0, 1);
    if (((m_nStyle & (TBBS_CHECKED | TBBS_PRESSED)) || IsDroppedDown()) && !pManager->bFlatLook && !m_bMenuMode)
        rectColor.OffsetRect(1, 1);
    return rectColor;
}

void CQMXPColorMenuButton::OnDraw(CDC* pDC, const CRect& rect, CQMXPToolBarImages* pImages, BOOL bHorz,
                                  BOOL bCustomizeMode, BOOL bHighlight, BOOL bDrawBorder, BOOL bGrayDisabledButtons) {
    CQMXPToolbarMenuButton::OnDraw(pDC, rect, pImages, bHorz, bCustomizeMode, bHighlight, bDrawBorder,
                                   bGrayDisabledButtons);
    if (!m_bImage || GetImage() < 0 || pImages == nullptr)
        return;
    CPalette* pOldPalette = nullptr;
    if (globalData.bitsPerPixel == 8) {
        if (palette.m_hObject == nullptr)
            CQMXPColorBar::CreatePalette(colors, palette);
        if (palette.m_hObject != nullptr) {
            pOldPalette = pDC->SelectPalette(&palette, FALSE);
            pDC->RealizePalette();
        }
    } else {
        palette.DeleteObject();
    }
    CQMXPVisualManager* pManager = CQMXPVisualManager::GetInstance();
    CRect rectColor = GetColorBarRect(rect, bHorz);
    const BOOL bDisabled = (m_nStyle & TBBS_DISABLED) != 0;
    if (bHighlight && pManager->bShadowHighlightedImage && !(m_nStyle & (TBBS_CHECKED | TBBS_PRESSED)) &&
        !bDisabled) {
        pDC->FillSolidRect(&rectColor, globalData.clrBtnShadow);
        rectColor.OffsetRect(-1, -1);
    }
    const COLORREF clrBar = bDisabled ? globalData.clrBtnShadow : GetShownColor();
    CBrush brush(PALETTERGB(GetRValue(clrBar), GetGValue(clrBar), GetBValue(clrBar)));
    pDC->FillRect(&rectColor, &brush);
    if (pManager->bFlatLook) {
        if (clrBar == globalData.clrBtnFace)
            pDC->Draw3dRect(&rectColor, globalData.clrBtnDkShadow, globalData.clrBtnDkShadow);
    } else {
        pDC->Draw3dRect(&rectColor, globalData.clrBtnShadow, globalData.clrBtnLight);
    }
    if (pOldPalette != nullptr)
        pDC->SelectPalette(pOldPalette, FALSE);
}

int CQMXPColorMenuButton::OnDrawInList(CDC* pDC, CRect rect, CQMXPToolBarImages* pImages, BOOL bSelected,
                                       BOOL bDrawImage) {
    // The command image is not shown in the list.
    const UINT uiID = m_nID;
    m_nID = 0;
    rect.DeflateRect(1, 0);
    const int nWidth = CQMXPToolbarMenuButton::OnDrawInList(pDC, rect, pImages, bSelected, bDrawImage);
    m_nID = uiID;
    return nWidth;
}
