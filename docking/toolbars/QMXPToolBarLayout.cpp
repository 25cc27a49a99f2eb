// How a tool bar measures its buttons, wraps them into rows and places them.
#include "docking/toolbars/QMXPToolBar.h"

#include "docking/bars/QMXPDockManager.h"
#include "docking/bars/QMXPGlobalUtils.h"
#include "docking/frames/CustomizeButton.h"
#include "docking/frames/QMXPMiniFrameWnd.h"
#include "docking/frames/QMXPReBar.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPMeasureDC.h"
#include "docking/toolbars/QMXPToolbarButton.h"
#include "docking/toolbars/QMXPVisualManager.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/WinThread.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int kNoLimit = 32767;
// The gap between two rows of a wrapped bar, where a wrapping separator draws.
constexpr int kRowGap = 5;
constexpr DWORD kHorzAlignment = 0xA000;

// The font the bar's buttons are measured in: down a side, the vertical one.
CFont* BarFont(BOOL bVert) { return bVert ? &globalData.fontVert : &globalData.fontRegular; }

}  // namespace

int CQMXPToolBar::WrapToolBar(int nWidth, int nHeight) {
    std::vector<CSize> sizes;
    MeasureForWrap(sizes);
    return WrapMeasured(sizes, nWidth, nHeight);
}

void CQMXPToolBar::MeasureForWrap(std::vector<CSize>& sizes) {
    const BOOL bVert = !(GetCurrentAlignment() & kHorzAlignment);
    CQMXPMeasureDC dc(BarFont(bVert));
    const CSize sizeDefault(GetColumnWidth(), GetRowHeight());
    sizes.clear();
    sizes.reserve(static_cast<size_t>(m_Buttons.GetCount()));
    for (POSITION pos = m_Buttons.GetHeadPosition(); pos != nullptr;) {
        auto* pButton = static_cast<CQMXPToolbarButton*>(m_Buttons.GetNext(pos));
        if (pButton != m_pCustomizeBtn)
            sizes.push_back(pButton->OnCalcSize(&dc, sizeDefault, !bVert));
    }
}

int CQMXPToolBar::WrapMeasured(const std::vector<CSize>& sizes, int nWidth, int nHeight) {
    const BOOL bVert = !(GetCurrentAlignment() & kHorzAlignment);
    if (IsFloating())
        nHeight = kNoLimit;
    if (!IsFloating() && !bVert && m_pCustomizeBtn != nullptr)
        nWidth -= m_pCustomizeBtn->GetRect().Width();
    int x = 0;
    int y = 0;
    int nRows = 1;
    size_t index = 0;
    CQMXPToolbarButton* pPrev = nullptr;
    for (POSITION pos = m_Buttons.GetHeadPosition(); pos != nullptr && index < sizes.size();) {
        auto* pButton = static_cast<CQMXPToolbarButton*>(m_Buttons.GetNext(pos));
        if (pButton == m_pCustomizeBtn)
            continue;
        pButton->m_bWrap = FALSE;
        CSize size = sizes[index++];
        const BOOL bSeparator = (pButton->m_nStyle & TBBS_SEPARATOR) != 0;
        if (bSeparator && x == 0)
            size = CSize(0, 0);
        if (x + size.cx > nWidth && y + size.cy < nHeight && !bSeparator && pPrev != nullptr) {
            pPrev->m_bWrap = TRUE;
            y += size.cy + kRowGap;
            x = 0;
            ++nRows;
        }
        x += size.cx;
        pPrev = pButton;
    }
    return nRows;
}

CSize CQMXPToolBar::CalcSize(BOOL bVertDock) {
    if (GetCount() == 0)
        return GetButtonSize();
    CQMXPMeasureDC dc(BarFont(bVertDock));
    const CSize sizeDefault(GetColumnWidth(), m_bDrawTextLabels ? GetButtonSize().cy : GetRowHeight());
    CSize sizeResult(0, 0);
    int x = 0;
    int y = 0;
    BOOL bRowStart = TRUE;
    for (POSITION pos = m_Buttons.GetHeadPosition(); pos != nullptr;) {
        auto* pButton = static_cast<CQMXPToolbarButton*>(m_Buttons.GetNext(pos));
        // The chevron counts too: a docked bar leaves it room after its
        // buttons (it measures nothing while it is hidden).
        CSize size = pButton->OnCalcSize(&dc, sizeDefault, !bVertDock);
        if (m_bDrawTextLabels)
            size.cy = m_nMaxBtnHeight;
        if (bVertDock) {
            sizeResult.cx = std::max<int>(sizeResult.cx, size.cx);
            sizeResult.cy += size.cy;
            continue;
        }
        if ((pButton->m_nStyle & TBBS_SEPARATOR) && (bRowStart || pButton->m_bWrap))
            size = CSize(0, 0);
        x += size.cx;
        bRowStart = FALSE;
        sizeResult.cx = std::max<int>(sizeResult.cx, x);
        sizeResult.cy = std::max<int>(sizeResult.cy, y + size.cy);
        if (pButton->m_bWrap) {
            x = 0;
            y += GetRowHeight() + kRowGap;
            bRowStart = TRUE;
        }
    }
    return sizeResult;
}

void CQMXPToolBar::SizeToolBar(int nLength, BOOL bVert) {
    // The buttons keep their sizes whatever width is tried: measured once.
    std::vector<CSize> sizes;
    MeasureForWrap(sizes);
    if (bVert) {
        WrapMeasured(sizes, kNoLimit);
        const CSize sizeOneRow = CalcSize(FALSE);
        if (nLength <= sizeOneRow.cy) {
            WrapMeasured(sizes, sizeOneRow.cx);
            return;
        }
        // Narrow first, one button wider at a time until the rows fit the length.
        int nWidth = GetColumnWidth();
        for (; nWidth < sizeOneRow.cx; nWidth += GetColumnWidth()) {
            WrapMeasured(sizes, nWidth);
            if (CalcSize(FALSE).cy <= nLength)
                break;
        }
        WrapMeasured(sizes, nWidth);
        return;
    }
    const int nMinRows = WrapMeasured(sizes, 0);
    const int nTargetRows = WrapMeasured(sizes, nLength);
    if (nMinRows != nTargetRows && nLength >= 1) {
        int nLow = 0;
        int nHigh = nLength;
        for (;;) {
            const int nMiddle = (nLow + nHigh) / 2;
            if (nLow == nMiddle) {
                WrapMeasured(sizes, nHigh);
                break;
            }
            if (WrapMeasured(sizes, nMiddle) == nTargetRows)
                nHigh = nMiddle;
            else
                nLow = nMiddle;
        }
    }
    WrapMeasured(sizes, CalcSize(FALSE).cx);
}

CSize CQMXPToolBar::CalcLayout(DWORD dwMode, int nLength) {
    CCustomizeButton* pChevron = GetCustomizeButton();
    if (pChevron != nullptr)
        pChevron->SetEmpty(FALSE);
    const DWORD dwStyle = GetBarStyle();
    const BOOL bHorz = (dwMode & QMXP_LM_HORZ) != 0;
    const BOOL bDynamic = (dwStyle & QMXP_CBRS_SIZE_DYNAMIC) != 0;
    // A vertical measurement stacks the buttons whatever their wrap flags
    // are: it leaves the rows of the horizontal layout as they are.
    if (!(dwStyle & QMXP_CBRS_SIZE_FIXED) && (bHorz || (dwMode & QMXP_LM_LENGTHY))) {
        int nWrap;
        BOOL bVertLength = FALSE;
        if (!bDynamic) {
            nWrap = bHorz ? kNoLimit : 0;
        } else if (dwMode & QMXP_LM_MRUWIDTH) {
            nWrap = m_nMRUWidth;
        } else if (dwMode & QMXP_LM_HORZDOCK) {
            nWrap = kNoLimit;
        } else if (dwMode & QMXP_LM_VERTDOCK) {
            nWrap = 0;
        } else if (nLength != -1) {
            CRect rectInside(0, 0, 0, 0);
            CalcInsideRect(rectInside, bHorz);
            bVertLength = (dwMode & QMXP_LM_LENGTHY) != 0;
            nWrap = nLength + (bVertLength ? rectInside.Height() : rectInside.Width());
        } else if (IsFloating()) {
            nWrap = m_nMRUWidth;
        } else {
            nWrap = bHorz ? kNoLimit : 0;
        }
        SizeToolBar(nWrap, bVertLength);
    }
    CSize size = CalcSize(!bHorz);
    // A chevron without a customise command and without hidden buttons takes no room.
    if (pChevron != nullptr && pChevron->GetCustomizeCmdId() < 1 && pChevron->GetInvisibleButtons().IsEmpty()) {
        pChevron->SetEmpty(TRUE);
        size = CalcSize(!bHorz);
    }
    if ((dwMode & QMXP_LM_COMMIT) && IsFloating() && bDynamic && bHorz)
        m_nMRUWidth = size.cx;
    CRect rectInside(0, 0, 0, 0);
    CalcInsideRect(rectInside, bHorz);
    size.cx -= rectInside.Width();
    size.cy -= rectInside.Height();
    if (dwMode & QMXP_LM_STRETCH) {
        if (bHorz)
            size.cx = std::max<int>(size.cx, kNoLimit);
        else
            size.cy = std::max<int>(size.cy, kNoLimit);
    }
    size.cx = std::max<int>(size.cx, 0);
    size.cy = std::max<int>(size.cy, 0);
    RebuildAccelerators();
    return size;
}

CSize CQMXPToolBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
    return CalcLayout((bStretch ? QMXP_LM_STRETCH : 0) | (bHorz ? QMXP_LM_HORZ : 0));
}

CSize CQMXPToolBar::CalcLayoutSize(int nLength, BOOL bVert) {
    if (m_pParentDockBar == nullptr && !bVert)
        m_nMRUWidth = nLength;
    return CalcLayout(QMXP_LM_HORZ | (bVert ? QMXP_LM_LENGTHY : 0), nLength);
}

void CQMXPToolBar::OnAfterFloat() {
    CQMXPBaseToolBar::OnAfterFloat();
    CalcLayout(QMXP_LM_HORZ | QMXP_LM_MRUWIDTH | QMXP_LM_COMMIT);
    CQMXPMiniFrameWnd* pMiniFrame = GetParentMiniFrame(TRUE);
    if (pMiniFrame != nullptr)
        pMiniFrame->OnBarRecalcLayout();
}

int CQMXPToolBar::CalcMaxButtonHeight() {
    m_bDrawTextLabels = FALSE;
    if (!IsHorizontal() || !m_bTextLabels)
        return 0;
    CQMXPMeasureDC dc(BarFont(FALSE));
    const CSize sizeButton = GetButtonSize();
    int nMaxHeight = 0;
    for (POSITION pos = m_Buttons.GetHeadPosition(); pos != nullptr;) {
        auto* pButton = static_cast<CQMXPToolbarButton*>(m_Buttons.GetNext(pos));
        if (pButton->m_bTextBelow && pButton->m_strText.IsEmpty())
            SetDefaultButtonText(pButton);
        nMaxHeight = std::max<int>(nMaxHeight, pButton->OnCalcSize(&dc, sizeButton, TRUE).cy);
    }
    m_bDrawTextLabels = nMaxHeight > sizeButton.cy;
    return nMaxHeight;
}

void CQMXPToolBar::AdjustLocations() {
    if (GetCount() == 0 || GetSafeHwnd() == nullptr)
        return;
    const BOOL bHorz = IsHorizontal();
    CRect rectClient;
    GetClientRect(&rectClient);
    CQMXPMeasureDC dc(BarFont(!bHorz));
    const CSize sizeDefault(GetColumnWidth(), m_bDrawTextLabels ? GetButtonSize().cy : GetRowHeight());
    const int nStart = bHorz ? rectClient.left + 1 : rectClient.top + 1;
    int nOffset = nStart;
    // A docked bar hides what does not fit behind its chevron.
    CCustomizeButton* pChevron = GetCustomizeButton();
    const BOOL bChevron = pChevron != nullptr && !IsFloating() && !m_bCustomizeMode;
    int nChevronLength = 0;
    if (bChevron) {
        // Measured whole: whether it shows is decided here.
        pChevron->SetEmpty(FALSE);
        pChevron->ClearInvisibleButtons();
        const CSize sizeThick(bHorz ? GetColumnWidth() : rectClient.Width(), bHorz ? rectClient.Height() : GetRowHeight());
        const CSize sizeChevron = pChevron->OnCalcSize(&dc, sizeThick, bHorz);
        nChevronLength = bHorz ? sizeChevron.cx : sizeChevron.cy;
    }
    const int nFarEdge = bHorz ? rectClient.right : rectClient.bottom;
    int yRow = rectClient.top;
    BOOL bRowStart = TRUE;
    BOOL bPrevSeparator = FALSE;
    std::vector<CQMXPToolbarButton*> row;
    // A floating bar with labels centres each row.
    auto finishRow = [&]() {
        const int nLeftOver = rectClient.right - nOffset;
        if (IsFloating() && m_bTextLabels && nLeftOver > 0) {
            for (CQMXPToolbarButton* pInRow : row) {
                CRect rect = pInRow->GetRect();
                rect.OffsetRect(nLeftOver / 2, 0);
                pInRow->SetRect(rect);
            }
        }
        row.clear();
    };
    for (POSITION pos = m_Buttons.GetHeadPosition(); pos != nullptr;) {
        auto* pButton = static_cast<CQMXPToolbarButton*>(m_Buttons.GetNext(pos));
        if (pButton == m_pCustomizeBtn)
            continue;
        CSize size = pButton->OnCalcSize(&dc, sizeDefault, bHorz);
        if (m_bDrawTextLabels || (pButton->m_bTextBelow && bHorz))
            size.cy = GetRowHeight();
        const BOOL bSeparator = (pButton->m_nStyle & TBBS_SEPARATOR) != 0;
        BOOL bVisible = TRUE;
        if (bSeparator && (bRowStart || bPrevSeparator)) {
            size = CSize(0, 0);
            bVisible = FALSE;
        }
        CRect rectButton;
        if (bHorz) {
            rectButton = CRect(nOffset, yRow, nOffset + size.cx, yRow + size.cy);
            nOffset += size.cx;
        } else {
            rectButton = CRect(rectClient.left, nOffset, rectClient.left + size.cx, nOffset + size.cy);
            nOffset += size.cy;
        }
        if (bChevron) {
            // The last button need not leave room for a chevron that shows nothing.
            const BOOL bLast = pos == nullptr || m_Buttons.GetAt(pos) == pChevron;
            // The buttons start one pixel in, which the bar's size does not count.
            const int nLimit = bLast && pChevron->GetInvisibleButtons().IsEmpty() && pChevron->GetCustomizeCmdId() == 0
                                   ? nFarEdge + 1
                                   : nFarEdge - nChevronLength + 1;
            if ((bHorz ? rectButton.right : rectButton.bottom) > nLimit) {
                pChevron->AddInvisibleButton(pButton);
                bVisible = FALSE;
            }
        }
        if (pButton->m_bVisible != bVisible) {
            pButton->m_bVisible = bVisible;
            pButton->OnShow(bVisible);
        }
        if (rectButton != pButton->GetRect())
            pButton->SetRect(rectButton);
        row.push_back(pButton);
        bPrevSeparator = bSeparator;
        bRowStart = FALSE;
        if (bHorz && pButton->m_bWrap) {
            finishRow();
            nOffset = nStart;
            yRow += GetRowHeight() + kRowGap;
            bRowStart = TRUE;
        }
    }
    finishRow();
    if (pChevron != nullptr) {
        CRect rectChevron(0, 0, 0, 0);
        const BOOL bShown = bChevron && (!pChevron->GetInvisibleButtons().IsEmpty() || pChevron->GetCustomizeCmdId() > 0);
        if (bShown)
            rectChevron = bHorz ? CRect(rectClient.right - nChevronLength, rectClient.top, rectClient.right, rectClient.bottom)
                                : CRect(rectClient.left, rectClient.bottom - nChevronLength, rectClient.right, rectClient.bottom);
        if (pChevron->m_bVisible != bShown) {
            pChevron->m_bVisible = bShown;
            pChevron->OnShow(bShown);
        }
        if (rectChevron != pChevron->GetRect())
            pChevron->SetRect(rectChevron);
    }
    UpdateTooltips();
}

void CQMXPToolBar::EnableCustomizeButton(BOOL bEnable, UINT uiCustomizeCmd, LPCWSTR lpszCustomizeText) {
    if (m_pCustomizeBtn != nullptr) {
        POSITION pos = m_Buttons.Find(m_pCustomizeBtn);
        if (pos != nullptr)
            m_Buttons.RemoveAt(pos);
        delete m_pCustomizeBtn;
        m_pCustomizeBtn = nullptr;
    }
    if (bEnable) {
        auto* pChevron = new CCustomizeButton(uiCustomizeCmd, lpszCustomizeText != nullptr ? lpszCustomizeText : L"");
        m_Buttons.AddTail(pChevron);
        pChevron->OnParentChanged(this);
        m_pCustomizeBtn = pChevron;
    }
    AdjustLayout();
}

CCustomizeButton* CQMXPToolBar::GetCustomizeButton() const { return DYNAMIC_DOWNCAST(CCustomizeButton, m_pCustomizeBtn); }

void CQMXPToolBar::AdjustSizeImmediate(BOOL bRecalcLayout) {
    CSize size = CalcFixedLayout(FALSE, IsHorizontal());
    CWnd* pParent = GetParent();
    if ((size.cx == kNoLimit || size.cy == kNoLimit) && pParent != nullptr) {
        CRect rectParent;
        pParent->GetClientRect(&rectParent);
        if (size.cx == kNoLimit)
            size.cx = m_nMaxLen > 0 ? std::min<int>(rectParent.Width(), m_nMaxLen) : rectParent.Width();
        if (size.cy == kNoLimit)
            size.cy = m_nMaxLen > 0 ? std::min<int>(rectParent.Height(), m_nMaxLen) : rectParent.Height();
    }
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    if (rectWindow.Size() != size)
        CQMXPBaseControlBar::SetWindowPos(nullptr, 0, 0, size.cx, size.cy,
                                          SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CQMXPMiniFrameWnd* pMiniFrame = GetParentMiniFrame(TRUE);
    if (pMiniFrame != nullptr) {
        pMiniFrame->SizeToContent();
        pMiniFrame->RedrawWindow(nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
    } else if (m_pParentDockBar != nullptr) {
        UpdateSize(bRecalcLayout);
    }
}

void CQMXPToolBar::AdjustLayout() {
    if (GetSafeHwnd() == nullptr)
        return;
    const BOOL bHorz = IsHorizontal();
    for (POSITION pos = m_Buttons.GetHeadPosition(); pos != nullptr;) {
        auto* pButton = static_cast<CQMXPToolbarButton*>(m_Buttons.GetNext(pos));
        pButton->m_bTextBelow = !(pButton->m_nStyle & TBBS_SEPARATOR) && m_bTextLabels && bHorz;
    }
    m_nMaxBtnHeight = CalcMaxButtonHeight();
    if (auto* pReBar = DYNAMIC_DOWNCAST(CQMXPReBar, GetParent()))
        UpdateReBarBand(pReBar);
    else
        AdjustSizeImmediate();
    AdjustLocations();
    Invalidate();
    // A layout that the user's action causes shows at once. While the
    // frame's layout is held (the frame being built, the bars coming back
    // from the registry) the bar paints once, with the window's next paint.
    if (!IsLayoutHeld())
        UpdateWindow();
}

BOOL CQMXPToolBar::IsLayoutHeld() const {
    // The dock site as set at creation: asking for it would mark a bar in a dialog.
    const CQMXPDockManager* pDockManager = qmxGlobalUtils.GetDockManager(m_pDockSite);
    return pDockManager != nullptr && pDockManager->IsLayoutHeld();
}

void CQMXPToolBar::UpdateReBarBand(CQMXPReBar* pReBar) {
    // The band decides the bar's size; the bar tells it the height its
    // buttons (and labels) need.
    const int iBand = pReBar->FindBandByChildID(static_cast<UINT>(GetDlgCtrlID()));
    if (iBand < 0)
        return;
    REBARBANDINFOW rbbi{};
    // The record of the common controls 5 rebar, as the library's rebar uses.
    rbbi.cbSize = 80;
    rbbi.fMask = RBBIM_CHILDSIZE;
    if (!pReBar->SendMessage(RB_GETBANDINFOW, static_cast<WPARAM>(iBand), reinterpret_cast<LPARAM>(&rbbi)))
        return;
    const CSize size = CalcFixedLayout(FALSE, TRUE);
    if (rbbi.cyMinChild == static_cast<UINT>(size.cy))
        return;
    rbbi.cyMinChild = static_cast<UINT>(size.cy);
    pReBar->SendMessage(RB_SETBANDINFOW, static_cast<WPARAM>(iBand), reinterpret_cast<LPARAM>(&rbbi));
}

CRect CQMXPToolBar::GetSeparatorRect(const CQMXPToolbarButton* pButton, BOOL bHorz) const {
    CRect rect = pButton->GetRect();
    if (pButton->m_bWrap && bHorz) {
        CRect rectClient;
        GetClientRect(&rectClient);
        rect = CRect(rectClient.left, rect.bottom, rectClient.right, rect.bottom + kRowGap);
    }
    return rect;
}

void CQMXPToolBar::OnChangeBarStyle(DWORD dwNewStyle) {
    CWnd* pMainWnd = AfxGetMainWnd();
    if (GetSafeHwnd() == nullptr || pMainWnd == nullptr || pMainWnd->GetSafeHwnd() == nullptr)
        return;
    NMHDR header;
    header.hwndFrom = m_hWnd;
    header.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
    header.code = dwNewStyle & 0xF000;
    pMainWnd->SendMessage(WM_NOTIFY, QMXM_TOLBARCHANGEALIGN, reinterpret_cast<LPARAM>(&header));
}

void CQMXPToolBar::EnableDocking(DWORD dwAlignment) {
    CQMXPBaseToolBar::EnableDocking(dwAlignment);
    if (!(m_dwControlBarStyle & QMXP_CBRS_FLOAT)) {
        m_dwControlBarStyle |= QMXP_CBRS_FLOAT;
        m_dragFrame.Init(this);
    }
}
