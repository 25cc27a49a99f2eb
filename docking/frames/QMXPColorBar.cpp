#include "docking/frames/QMXPColorBar.h"

#include "docking/bars/QMXPLibraryGlobals.h"
#include "docking/frames/ColorButton.h"
#include "docking/frames/QMXPColorButton.h"
#include "docking/frames/QMXPColorDialog.h"
#include "docking/frames/QMXPMiniFrameWnd.h"
#include "docking/toolbars/QMXPColorMenuButton.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPPopupMenu.h"
#include "platform/classlib/Archive.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/FrameWnd.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_SERIAL(CQMXPColorBar, CQMXPPopupMenuBar, VERSIONABLE_SCHEMA | 1)

namespace {

// The idle prompt of the frame's status bar.
constexpr UINT kIdleMessage = 0xE001;
// A palette for the cells holds at most this many colours.
constexpr int kMaxPaletteColors = 100;
constexpr UINT kNoCommand = static_cast<UINT>(-1);

int CeilDiv(int a, int b) { return b > 0 ? (a + b - 1) / b : 0; }

}  // namespace

BEGIN_MESSAGE_MAP(CQMXPColorBar, CQMXPPopupMenuBar)
    ON_WM_CREATE()
    ON_WM_QUERYNEWPALETTE()
    ON_WM_PALETTECHANGED()
    ON_WM_NCPAINT()
    ON_WM_NCCALCSIZE()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSELEAVE()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

void CQMXPColorBar::CommonInit() {
    m_nNumColumns = 0;
    m_nNumRowsHorz = 0;
    m_nNumColumnsVert = 0;
    m_BoxSize = CSize(0, 0);
    m_nRowHeight = 0;
    m_nTextButtonHeight = 0;
    m_ColorSelected = static_cast<COLORREF>(-1);
    m_ColorAutomatic = static_cast<COLORREF>(-1);
    m_nCommandID = 0;
    m_bStdColorDlg = FALSE;
    m_bIsEnabled = TRUE;
    m_bIsTearOff = TRUE;
    m_bShowDocColorsWhenDocked = FALSE;
    m_pParentBtn = nullptr;
    m_pOwnerButton = nullptr;
    m_nHorzOffset = 0;
    m_nVertOffset = 0;
    m_bInternal = FALSE;
    m_nHorzMargin = 4;
    m_nVertMargin = 4;
}

CQMXPColorBar::CQMXPColorBar() { CommonInit(); }

CQMXPColorBar::CQMXPColorBar(const CQMXPColorBar& src, UINT uiCommandID) {
    CommonInit();
    m_nNumColumns = src.m_nNumColumns;
    m_nNumRowsHorz = src.m_nNumRowsHorz;
    m_nNumColumnsVert = src.m_nNumColumnsVert;
    m_colors = src.m_colors;
    m_ColorSelected = src.m_ColorSelected;
    m_ColorAutomatic = src.m_ColorAutomatic;
    m_strAutoColor = src.m_strAutoColor;
    m_strOtherColor = src.m_strOtherColor;
    m_strDocColors = src.m_strDocColors;
    m_lstDocColors = src.m_lstDocColors;
    m_bStdColorDlg = src.m_bStdColorDlg;
    m_nCommandID = uiCommandID;
}

CQMXPColorBar::CQMXPColorBar(const std::vector<COLORREF>& colors, COLORREF color, LPCWSTR lpszAutoColor,
                             LPCWSTR lpszOtherColor, LPCWSTR lpszDocColors,
                             const std::vector<COLORREF>& lstDocColors, int nColumns, int nRowsDockHorz,
                             int nColDockVert, COLORREF colorAutomatic, UINT uiCommandID,
                             CQMXPColorMenuButton* pParentBtn) {
    CommonInit();
    m_nNumColumns = nColumns;
    m_nNumRowsHorz = nRowsDockHorz;
    m_nNumColumnsVert = nColDockVert;
    m_colors = colors;
    m_ColorSelected = color;
    m_ColorAutomatic = colorAutomatic;
    m_strAutoColor = lpszAutoColor != nullptr ? lpszAutoColor : L"";
    m_strOtherColor = lpszOtherColor != nullptr ? lpszOtherColor : L"";
    m_strDocColors = lpszDocColors != nullptr ? lpszDocColors : L"";
    m_lstDocColors = lstDocColors;
    m_nCommandID = uiCommandID;
    m_bIsTearOff = FALSE;
    m_bShowDocColorsWhenDocked = TRUE;
    m_pParentBtn = pParentBtn;
    m_bStdColorDlg = pParentBtn != nullptr && pParentBtn->bStdColorDlg;
}

CQMXPColorBar::~CQMXPColorBar() = default;

std::map<COLORREF, CString>& CQMXPColorBar::ColorNames() {
    static std::map<COLORREF, CString> s_names;
    return s_names;
}

int CQMXPColorBar::InitColors(CPalette* pPalette, std::vector<COLORREF>& arColors) {
    HPALETTE hPalette = pPalette != nullptr && pPalette->m_hObject != nullptr
                            ? static_cast<HPALETTE>(pPalette->m_hObject)
                            : static_cast<HPALETTE>(::GetStockObject(DEFAULT_PALETTE));
    const UINT nCount = ::GetPaletteEntries(hPalette, 0, 0, nullptr);
    std::vector<PALETTEENTRY> entries(nCount);
    if (nCount > 0)
        ::GetPaletteEntries(hPalette, 0, nCount, entries.data());
    arColors.clear();
    for (const PALETTEENTRY& entry : entries)
        arColors.push_back(RGB(entry.peRed, entry.peGreen, entry.peBlue));
    return static_cast<int>(arColors.size());
}

BOOL CQMXPColorBar::CreatePalette(const std::vector<COLORREF>& arColors, CPalette& palette) {
    palette.DeleteObject();
    const int nColors = std::min(static_cast<int>(arColors.size()), kMaxPaletteColors);
    if (nColors == 0)
        return FALSE;
    std::vector<BYTE> buffer(sizeof(LOGPALETTE) + nColors * sizeof(PALETTEENTRY));
    auto* pLogPalette = reinterpret_cast<LOGPALETTE*>(buffer.data());
    pLogPalette->palVersion = 0x300;
    pLogPalette->palNumEntries = static_cast<WORD>(nColors);
    for (int i = 0; i < nColors; ++i) {
        pLogPalette->palPalEntry[i].peRed = GetRValue(arColors[i]);
        pLogPalette->palPalEntry[i].peGreen = GetGValue(arColors[i]);
        pLogPalette->palPalEntry[i].peBlue = GetBValue(arColors[i]);
        pLogPalette->palPalEntry[i].peFlags = 0;
    }
    return palette.CreatePalette(pLogPalette);
}

CPalette* CQMXPColorBar::SelectPalette(CDC* pDC) {
    if (globalData.bitsPerPixel != 8) {
        m_Palette.DeleteObject();
        return nullptr;
    }
    if (m_Palette.m_hObject == nullptr)
        CreatePalette(m_colors, m_Palette);
    if (m_Palette.m_hObject == nullptr)
        return nullptr;
    CPalette* pOld = pDC->SelectPalette(&m_Palette, FALSE);
    pDC->RealizePalette();
    return pOld;
}

BOOL CQMXPColorBar::ShowsDocColors() const {
    if (m_strDocColors.IsEmpty() || m_lstDocColors.empty())
        return FALSE;
    return m_bShowDocColorsWhenDocked || IsFloating();
}

CSize CQMXPColorBar::GetColumnsAndRows(BOOL bHorz) const {
    const int nColors = static_cast<int>(m_colors.size());
    int nColumns = 0;
    if (m_bIsTearOff && IsDocked() && bHorz && m_nNumRowsHorz > 0) {
        const int nRows = m_nNumRowsHorz;
        return CSize(CeilDiv(nColors, nRows), nRows);
    }
    if (m_bIsTearOff && IsDocked() && !bHorz && m_nNumColumnsVert > 0)
        nColumns = m_nNumColumnsVert;
    else
        nColumns = m_nNumColumns >= 1 ? m_nNumColumns : static_cast<int>(std::sqrt(static_cast<double>(nColors))) + 1;
    return CSize(nColumns, CeilDiv(nColors, nColumns));
}

int CQMXPColorBar::TextRowsHeight(int nColumns) const {
    int nHeight = 0;
    if (!m_strAutoColor.IsEmpty())
        nHeight += m_nTextButtonHeight;
    else if (!m_strOtherColor.IsEmpty())
        nHeight += m_nVertMargin;
    if (!m_strOtherColor.IsEmpty())
        nHeight += m_nTextButtonHeight;
    if (ShowsDocColors()) {
        const int nDocs = static_cast<int>(m_lstDocColors.size());
        nHeight += CeilDiv(nDocs, nColumns) * m_nRowHeight + m_nVertMargin + m_nTextButtonHeight + 4;
    }
    return nHeight;
}

CSize CQMXPColorBar::CalcSize(BOOL bVertDock) {
    const CSize grid = GetColumnsAndRows(!bVertDock);
    return CSize(grid.cx * m_BoxSize.cx + 2 * m_nHorzMargin,
                 grid.cy * m_nRowHeight + 2 * m_nVertMargin + TextRowsHeight(grid.cx));
}

void CQMXPColorBar::Rebuild() {
    if (GetSafeHwnd() == nullptr)
        return;
    RemoveAllButtons();
    BOOL bHighlighted = FALSE;
    if (!m_strAutoColor.IsEmpty()) {
        bHighlighted = m_ColorSelected == static_cast<COLORREF>(-1);
        InsertButton(new CColorButton(m_ColorAutomatic, TRUE, FALSE, m_strAutoColor, bHighlighted));
    }
    for (COLORREF color : m_colors) {
        const BOOL bSelected = color == m_ColorSelected;
        bHighlighted = bHighlighted || bSelected;
        InsertButton(new CColorButton(color, FALSE, FALSE, nullptr, bSelected));
    }
    if (!m_strDocColors.IsEmpty() && !m_lstDocColors.empty()) {
        InsertSeparator();
        InsertButton(new CColorButton(m_strDocColors, TRUE));
        for (COLORREF color : m_lstDocColors) {
            const BOOL bSelected = !bHighlighted && color == m_ColorSelected;
            bHighlighted = bHighlighted || bSelected;
            InsertButton(new CColorButton(color, FALSE, FALSE, nullptr, bSelected, TRUE));
        }
    }
    if (!m_strOtherColor.IsEmpty()) {
        InsertSeparator();
        InsertButton(new CColorButton(static_cast<COLORREF>(-1), FALSE, TRUE, m_strOtherColor, FALSE));
        InsertButton(new CColorButton(m_ColorSelected, FALSE, FALSE, nullptr, !bHighlighted, FALSE, TRUE));
    }
}

void CQMXPColorBar::AdjustLocations() {
    if (GetSafeHwnd() == nullptr)
        return;
    CRect rectClient;
    GetClientRect(&rectClient);
    rectClient.DeflateRect(m_nHorzMargin + m_nHorzOffset, m_nVertMargin + m_nVertOffset);
    const BOOL bShowDocs = ShowsDocColors();
    int x = rectClient.left;
    int y = rectClient.top;
    BOOL bPrevSeparator = FALSE;
    // The selection appeared in a cell (or is the automatic colour).
    BOOL bSelectedSeen = m_ColorSelected == static_cast<COLORREF>(-1);
    auto newRow = [&](int nStep) {
        if (x > rectClient.left) {
            x = rectClient.left;
            y += nStep;
        }
    };
    for (int i = 0; i < GetCount(); ++i) {
        CQMXPToolbarButton* pButton = GetButton(i);
        if (pButton->m_nStyle & TBBS_SEPARATOR) {
            CRect rectSeparator(0, 0, 0, 0);
            if (!bPrevSeparator) {
                newRow(m_nRowHeight);
                rectSeparator.SetRect(rectClient.left, y, rectClient.right, y + 2);
                y += 4;
            }
            bPrevSeparator = TRUE;
            pButton->SetRect(rectSeparator);
            continue;
        }
        auto* pColor = DYNAMIC_DOWNCAST(CColorButton, pButton);
        if (pColor == nullptr || pColor->m_bIsOtherColor || (pColor->m_bIsDocument && !bShowDocs)) {
            // The other-colour cell is placed with the other button; hidden
            // buttons leave the separators around them as one.
            if (pColor == nullptr || !pColor->m_bIsOtherColor)
                pButton->SetRect(CRect(0, 0, 0, 0));
            continue;
        }
        bPrevSeparator = FALSE;
        if (pColor->IsTextButton()) {
            newRow(m_nRowHeight);
            CRect rectButton(rectClient.left, y, rectClient.right, y + m_nTextButtonHeight - m_nVertMargin / 2);
            if (pColor->m_bIsOther) {
                auto* pCell = DYNAMIC_DOWNCAST(CColorButton, GetButton(i + 1));
                if (pCell != nullptr && pCell->m_bIsOtherColor) {
                    if (!bSelectedSeen) {
                        rectButton.right -= m_BoxSize.cx;
                        const int yCell = rectButton.top + (rectButton.Height() - m_BoxSize.cy) / 2;
                        pCell->SetRect(CRect(CPoint(rectButton.right, yCell), m_BoxSize));
                    } else {
                        pCell->SetRect(CRect(0, 0, 0, 0));
                    }
                }
                rectButton.DeflateRect(m_nHorzMargin / 2, m_nVertMargin / 2);
            }
            pButton->SetRect(rectButton);
            y += m_nTextButtonHeight;
            continue;
        }
        if (pColor->m_Color == m_ColorSelected)
            bSelectedSeen = TRUE;
        if (x + m_BoxSize.cx > rectClient.right)
            newRow(m_nRowHeight);
        pButton->SetRect(CRect(CPoint(x, y), m_BoxSize));
        x += m_BoxSize.cx;
    }
    UpdateTooltips();
}

void CQMXPColorBar::OnAfterFloat() {
    CQMXPPopupMenuBar::OnAfterFloat();
    if (CQMXPMiniFrameWnd* pMiniFrame = GetParentMiniFrame(TRUE))
        pMiniFrame->OnBarSizeChanged();
}

void CQMXPColorBar::FitCellsToClient() {
    CRect rectClient;
    GetClientRect(&rectClient);
    const CSize sizeClient = rectClient.Size();
    // Grows while the grid fits, so the largest size not above the client is
    // found for every client size (an exact match is rarely possible).
    auto fits = [&](int cx, int cy) {
        m_BoxSize = CSize(cx, cy);
        m_nRowHeight = cy;
        m_nTextButtonHeight = cy * 3 / 2;
        const CSize size = CalcSize(FALSE);
        return size.cx <= sizeClient.cx && size.cy <= sizeClient.cy;
    };
    int cx = 1;
    while (cx < sizeClient.cx && fits(cx + 1, 1))
        ++cx;
    int cy = 1;
    while (cy < sizeClient.cy && fits(cx, cy + 1))
        ++cy;
    const int nSide = std::max(1, std::min(cx, cy));
    fits(nSide, nSide);
    const CSize sizeUsed = CalcSize(FALSE);
    m_nHorzOffset = std::max(0, static_cast<int>(sizeClient.cx - sizeUsed.cx) / 2);
    m_nVertOffset = std::max(0, static_cast<int>(sizeClient.cy - sizeUsed.cy) / 2);
}

BOOL CQMXPColorBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID, CPalette* pPalette, int nColumns,
                           int nRowsDockHorz, int nColDockVert) {
    if (m_colors.empty()) {
        m_nNumColumns = nColumns;
        m_nNumRowsHorz = nRowsDockHorz;
        m_nNumColumnsVert = nColDockVert;
        InitColors(pPalette, m_colors);
    }
    return CQMXPToolBar::Create(pParentWnd, dwStyle, nID);
}

BOOL CQMXPColorBar::CreateControl(CWnd* pParentWnd, const CRect& rect, UINT nID, int nColumns, CPalette* pPalette) {
    if (nColumns < 1) {
        const int nColors = pPalette != nullptr && pPalette->m_hObject != nullptr
                                ? static_cast<int>(::GetPaletteEntries(static_cast<HPALETTE>(pPalette->m_hObject), 0,
                                                                       0, nullptr))
                                : 20;
        nColumns = -1;
        for (int c = nColors; c >= 1; --c) {
            const int nCell = (rect.Width() - 8) / c;
            if (nCell != 0 && (nColors / c) * nCell > rect.Height() - 8) {
                nColumns = c + 1;
                break;
            }
        }
    }
    m_bIsTearOff = FALSE;
    m_bShowDocColorsWhenDocked = TRUE;
    if (!Create(pParentWnd, 0x50002000, nID, pPalette, nColumns, 0, 0))
        return FALSE;
    SetBarStyle(GetBarStyle() & ~(0x0F00 | QMXP_CBRS_GRIPPER));
    CWnd::MoveWindow(&rect);
    FitCellsToClient();
    AdjustLocations();
    SetOwner(pParentWnd);
    m_nCommandID = 0;
    return TRUE;
}

int CQMXPColorBar::OnCreate(LPCREATESTRUCTW lpCreateStruct) {
    if (CQMXPPopupMenuBar::OnCreate(lpCreateStruct) == -1)
        return -1;
    const CSize sizeImage = GetMenuImageSize();
    m_BoxSize = CSize(sizeImage.cx + 1 + 1, sizeImage.cy + 1 + 1);
    m_nRowHeight = m_BoxSize.cy;
    m_nTextButtonHeight = m_BoxSize.cy * 3 / 2;
    Rebuild();
    // A drop-down hears every click, to close when one lands outside it.
    if (m_pOwnerButton != nullptr)
        SetCapture();
    return 0;
}

void CQMXPColorBar::SetColor(COLORREF color) {
    if (color == m_ColorSelected)
        return;
    m_ColorSelected = color;
    if (GetSafeHwnd() == nullptr)
        return;
    BOOL bCellWasShown = FALSE;
    BOOL bInPalette = FALSE;
    for (int i = 0; i < GetCount(); ++i) {
        auto* pColor = DYNAMIC_DOWNCAST(CColorButton, GetButton(i));
        if (pColor == nullptr || pColor->m_bIsLabel || pColor->m_bIsOther)
            continue;
        if (pColor->m_bIsOtherColor) {
            bCellWasShown = !pColor->GetRect().IsRectEmpty();
            pColor->m_Color = color;
            pColor->m_bHighlight = !bInPalette && color != static_cast<COLORREF>(-1);
            InvalidateButton(i);
            continue;
        }
        const BOOL bSelect = !bInPalette &&
                             (pColor->m_bIsAutomatic ? color == static_cast<COLORREF>(-1) : pColor->m_Color == color);
        if (bSelect) {
            bInPalette = TRUE;
            m_iHot = i;
        }
        if (pColor->m_bHighlight != bSelect) {
            pColor->m_bHighlight = bSelect;
            InvalidateButton(i);
        }
    }
    const BOOL bCellShown = !bInPalette && color != static_cast<COLORREF>(-1) && !m_strOtherColor.IsEmpty();
    if (bCellShown != bCellWasShown) {
        AdjustLocations();
        Invalidate();
    }
    UpdateWindow();
}

BOOL CQMXPColorBar::OpenColorDialog(COLORREF colorDefault, COLORREF& colorRes) {
    if (m_pParentBtn != nullptr)
        return m_pParentBtn->OpenColorDialog(colorDefault, colorRes);
    return CQMXPColorDialog::Choose(m_bStdColorDlg, CC_FULLOPEN | CC_RGBINIT, colorDefault, colorRes);
}

BOOL CQMXPColorBar::OnItemClicked(CQMXPToolbarButton* pButton) {
    auto* pColor = DYNAMIC_DOWNCAST(CColorButton, pButton);
    if (pColor == nullptr || pColor->m_bIsLabel)
        return pColor != nullptr;
    COLORREF color = pColor->m_Color;
    const HWND hwndThis = m_hWnd;
    CQMXPPopupMenu* pPopup = GetParentPopup();
    if (m_pOwnerButton != nullptr)
        ::ReleaseCapture();
    if (pColor->m_bIsOther) {
        MarkCommandInProgress(TRUE);
        if (pPopup != nullptr)
            pPopup->ShowWindow(SW_HIDE);
        InvalidateButton(ButtonToIndex(pButton));
        const COLORREF colorStart = m_ColorSelected == static_cast<COLORREF>(-1) ? m_ColorAutomatic : m_ColorSelected;
        const BOOL bOK = OpenColorDialog(colorStart, color);
        // The bar may have gone while the dialog ran.
        if (!::IsWindow(hwndThis) || FromHandlePermanent(hwndThis) != this)
            return TRUE;
        MarkCommandInProgress(FALSE);
        if (!bOK) {
            if (m_pOwnerButton != nullptr)
                CloseOwnedParent();
            else if (pPopup != nullptr)
                InvokeMenuCommand(0);
            else if (CWnd* pFocus = QMXPGetPopupOwner() != nullptr ? QMXPGetPopupOwner() : GetTopLevelFrame())
                pFocus->SetFocus();
            return TRUE;
        }
    } else if (pColor->m_bIsAutomatic) {
        color = static_cast<COLORREF>(-1);
    }

    if (m_pOwnerButton != nullptr) {
        m_pOwnerButton->OnColorChosen(color);
        CloseOwnedParent();
        return TRUE;
    }
    if (m_pParentBtn != nullptr && pPopup != nullptr) {
        m_pParentBtn->SetColor(color, TRUE);
        InvokeMenuCommand(m_pParentBtn->m_nID);
        return TRUE;
    }
    SetColor(color);
    if (m_nCommandID != 0 && m_nCommandID != kNoCommand) {
        CQMXPColorMenuButton::SetColorByCmd(m_nCommandID, color);
        CObList listButtons;
        CQMXPToolBar::CollectButtonsByCommand(m_nCommandID, listButtons);
        for (POSITION pos = listButtons.GetHeadPosition(); pos != nullptr;) {
            auto* pMenuButton = DYNAMIC_DOWNCAST(CQMXPColorMenuButton, listButtons.GetNext(pos));
            if (pMenuButton != nullptr)
                pMenuButton->SetColor(color, FALSE);
        }
    }
    CWnd* pOwner = GetOwner() != nullptr ? GetOwner() : GetParent();
    if (pOwner != nullptr)
        pOwner->SendMessage(WM_COMMAND, m_nCommandID == kNoCommand ? 0 : m_nCommandID);
    if (::IsWindow(hwndThis) && m_nCommandID != 0) {
        if (CWnd* pFocus = QMXPGetPopupOwner() != nullptr ? QMXPGetPopupOwner() : GetTopLevelFrame())
            pFocus->SetFocus();
    }
    return TRUE;
}

BOOL CQMXPColorBar::ProcessKey(UINT nChar) {
    if (nChar == VK_RETURN) {
        CQMXPToolbarButton* pButton = GetButton(m_iHot >= 0 ? m_iHot : m_iHighlighted);
        if (pButton == nullptr)
            return FALSE;
        if (CFrameWnd* pFrame = GetParentFrame())
            pFrame->SendMessage(WM_SETMESSAGESTRING, kIdleMessage);
        OnItemClicked(pButton);
        return TRUE;
    }
    return CQMXPPopupMenuBar::ProcessKey(nChar);
}

void CQMXPColorBar::ShowCommandMessageString(UINT) {
    CWnd* pOwner = GetOwner();
    if (pOwner != nullptr)
        pOwner->SendMessage(WM_SETMESSAGESTRING, m_nCommandID == kNoCommand ? kIdleMessage : m_nCommandID);
}

void CQMXPColorBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
    if (m_nCommandID != 0 && m_nCommandID != kNoCommand && pTarget != nullptr) {
        CQMXPColorCCmdUI state;
        state.m_pOther = this;
        state.m_nIndex = 0;
        state.m_nIndexMax = 1;
        state.m_nID = m_nCommandID;
        BOOL bEnabled = TRUE;
        if (state.DoUpdate(pTarget, FALSE))
            bEnabled = state.m_bIsEnabled;
        else if (bDisableIfNoHndler)
            bEnabled = pTarget->OnCmdMsg(m_nCommandID, CN_COMMAND, nullptr, nullptr);
        if (bEnabled != m_bIsEnabled) {
            m_bIsEnabled = bEnabled;
            for (int i = 0; i < GetCount(); ++i) {
                CQMXPToolbarButton* pButton = GetButton(i);
                if (!pButton->IsKindOf(RUNTIME_CLASS(CColorButton)))
                    continue;
                if (bEnabled)
                    pButton->m_nStyle &= ~TBBS_DISABLED;
                else
                    pButton->m_nStyle |= TBBS_DISABLED;
            }
            Invalidate();
        }
    }
    CQMXPToolBar::OnUpdateCmdUI(pTarget, bDisableIfNoHndler);
}

void CQMXPColorBar::DoPaint(CDC* pDC) {
    CPalette* pOldPalette = SelectPalette(pDC);
    CQMXPPopupMenuBar::DoPaint(pDC);
    if (pOldPalette != nullptr)
        pDC->SelectPalette(pOldPalette, FALSE);
}

BOOL CQMXPColorBar::OnQueryNewPalette() {
    Invalidate();
    return CQMXPPopupMenuBar::OnQueryNewPalette();
}

void CQMXPColorBar::OnPaletteChanged(CWnd* pFocusWnd) {
    CQMXPPopupMenuBar::OnPaletteChanged(pFocusWnd);
    if (pFocusWnd == nullptr || pFocusWnd->GetSafeHwnd() != m_hWnd)
        Invalidate();
}

void CQMXPColorBar::OnNcPaint() {
    if (m_bIsTearOff)
        CQMXPToolBar::OnNcPaint();
    else
        CQMXPPopupMenuBar::OnNcPaint();
}

void CQMXPColorBar::OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp) {
    if (m_bIsTearOff)
        CQMXPToolBar::OnNcCalcSize(bCalcValidRects, lpncsp);
    else
        CQMXPPopupMenuBar::OnNcCalcSize(bCalcValidRects, lpncsp);
}

// A bar outside a popup behaves as a tool bar: no menu chain to pass clicks to.
void CQMXPColorBar::OnLButtonDown(UINT nFlags, CPoint point) {
    if (m_bCustomizeMode)
        return;
    if (GetParentPopup() != nullptr)
        CQMXPPopupMenuBar::OnLButtonDown(nFlags, point);
    else
        CQMXPToolBar::OnLButtonDown(nFlags, point);
}

void CQMXPColorBar::OnMouseMove(UINT nFlags, CPoint point) {
    if (m_bCustomizeMode)
        return;
    if (GetParentPopup() != nullptr)
        CQMXPPopupMenuBar::OnMouseMove(nFlags, point);
    else
        CQMXPToolBar::OnMouseMove(nFlags, point);
}

void CQMXPColorBar::OnLButtonUp(UINT nFlags, CPoint point) {
    if (m_bCustomizeMode)
        return;
    if (GetParentPopup() != nullptr)
        CQMXPPopupMenuBar::OnLButtonUp(nFlags, point);
    else
        CQMXPToolBar::OnLButtonUp(nFlags, point);
}

// The drop-down of a colour button ------------------------------------------------------

void CQMXPColorBar::CloseOwnedParent() {
    if (CWnd* pParent = GetParent())
        pParent->SendMessage(WM_CLOSE);
}

BOOL CQMXPColorBar::PreTranslateMessage(MSG* pMsg) {
    if (m_pOwnerButton == nullptr)
        return CQMXPPopupMenuBar::PreTranslateMessage(pMsg);
    const BOOL bMouse = pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST;
    if (bMouse && m_bCustomizeMode)
        return TRUE;
    BOOL bClose = FALSE;
    switch (pMsg->message) {
    case WM_LBUTTONDOWN:
    case WM_NCLBUTTONDOWN: {
        CRect rectClient;
        GetClientRect(&rectClient);
        ClientToScreen(&rectClient);
        bClose = !rectClient.PtInRect(pMsg->pt);
        break;
    }
    case WM_RBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_SYSKEYDOWN:
    case WM_CONTEXTMENU:
        bClose = TRUE;
        break;
    case WM_KEYDOWN:
        bClose = pMsg->wParam == VK_ESCAPE;
        break;
    default:
        break;
    }
    if (!bClose)
        return CQMXPPopupMenuBar::PreTranslateMessage(pMsg);
    ::ReleaseCapture();
    CloseOwnedParent();
    return TRUE;
}

void CQMXPColorBar::OnMouseLeave() {
    if (m_pOwnerButton == nullptr) {
        CQMXPPopupMenuBar::OnMouseLeave();
        return;
    }
    const int iHot = m_iHot;
    m_iHot = -1;
    m_iHighlighted = -1;
    if (iHot >= 0)
        InvalidateButton(iHot);
    UpdateWindow();
    if (CWnd* pOwner = GetOwner())
        pOwner->SendMessage(WM_SETMESSAGESTRING, kIdleMessage);
}

void CQMXPColorBar::OnDestroy() {
    CQMXPColorButton* pOwnerButton = m_pOwnerButton;
    m_pOwnerButton = nullptr;
    CQMXPPopupMenuBar::OnDestroy();
    if (pOwnerButton != nullptr)
        pOwnerButton->OnDropDownClosed();
}

void CQMXPColorBar::Serialize(CArchive& ar) {
    CQMXPToolBar::Serialize(ar);
    if (ar.IsStoring()) {
        ar << static_cast<int32_t>(m_nNumColumns) << static_cast<int32_t>(m_nNumRowsHorz)
           << static_cast<int32_t>(m_nNumColumnsVert) << static_cast<uint32_t>(m_ColorAutomatic);
        ar << m_strAutoColor << m_strOtherColor << m_strDocColors;
        ar << static_cast<int32_t>(m_bIsTearOff) << static_cast<uint32_t>(m_nCommandID)
           << static_cast<int32_t>(m_bStdColorDlg) << static_cast<int32_t>(m_colors.size());
        for (COLORREF color : m_colors)
            ar << static_cast<uint32_t>(color);
        return;
    }
    int32_t nColumns = 0, nRowsHorz = 0, nColumnsVert = 0, bTearOff = 0, bStd = 0, nCount = 0;
    uint32_t colorAutomatic = 0, uiCommand = 0;
    ar >> nColumns >> nRowsHorz >> nColumnsVert >> colorAutomatic;
    ar >> m_strAutoColor >> m_strOtherColor >> m_strDocColors;
    ar >> bTearOff >> uiCommand >> bStd >> nCount;
    m_nNumColumns = nColumns;
    m_nNumRowsHorz = nRowsHorz;
    m_nNumColumnsVert = nColumnsVert;
    m_ColorAutomatic = colorAutomatic;
    m_bIsTearOff = bTearOff;
    m_nCommandID = uiCommand;
    m_bStdColorDlg = bStd;
    m_colors.clear();
    for (int32_t i = 0; i < nCount; ++i) {
        uint32_t color = 0;
        ar >> color;
        m_colors.push_back(color);
    }
}
