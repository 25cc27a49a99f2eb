// CQMXPTabWnd: creation, the row's height and fonts, the layout of the row,
// its buttons and the tab windows, the tab rectangles, scrolling the row,
// and activating a tab.
#include "docking/bars/QMXPTabWnd.h"

#include "docking/bars/QMXPBaseTabbedBar.h"
#include "docking/bars/QMXPGlobalUtils.h"
#include "docking/bars/QMXPLibraryGlobals.h"
#include "docking/bars/QMXPTabbedToolbar.h"
#include "docking/frames/QMXPMDIFrameWnd.h"
#include "docking/frames/QMXPMiniFrameWnd.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPMenuGlyphs.h"
#include "docking/toolbars/QMXPToolbarButton.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/FrameWnd.h"
#include "platform/classlib/Menu.h"
#include "platform/classlib/StringResource.h"
#include "platform/classlib/View.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(CQMXPTabWnd, CQMXPBaseTabWnd)

namespace {

constexpr int kTextMargin = 4;
constexpr int kImageMargin = 4;
constexpr int kScrollStep = 20;
constexpr UINT kScrollRepeatDelay = 50;
constexpr UINT kIdsClose = 16032;
constexpr UINT kIdsScrollLeft = 16034;
constexpr UINT kIdsScrollRight = 16035;

}  // namespace

CQMXPTabWnd::CQMXPTabWnd()
    : m_bFlat(FALSE),
      m_bSharedScroll(FALSE),
      m_bScroll(FALSE),
      m_bCloseBtn(FALSE),
      m_nScrollBarRight(0),
      m_rectTabsArea(0, 0, 0, 0),
      m_rectWndArea(0, 0, 0, 0),
      m_lstButtons(10),
      m_nTabsHorzOffset(0),
      m_nTabsHorzOffsetMax(0),
      m_nTabsTotalWidth(0),
      m_nHorzScrollWidth(0),
      m_rectTabSplitter(0, 0, 0, 0),
      m_bTrackSplitter(FALSE),
      m_bFlatFrame(TRUE),
      m_bAutoSizeWindow(TRUE),
      m_bNoEraseBkgnd(FALSE),
      m_bTopEdge(FALSE),
      m_bDrawFrame(TRUE),
      m_bHideNoTabs(FALSE),
      m_bIsActiveTabBold(FALSE),
      m_bInHScroll(FALSE) {
    m_bAutoDestroyWindow = TRUE;
    m_bHideInactiveWindow = TRUE;
}

CQMXPTabWnd::~CQMXPTabWnd() = default;

BOOL CQMXPTabWnd::Create(int style, const RECT& rect, CWnd* pParentWnd, UINT nID, int location, BOOL bCloseBtn) {
    m_location = location;
    m_bFlat = style == QMXP_STYLE_FLAT || style == QMXP_STYLE_FLAT_SHARED_HORZ_SCROLL;
    m_bSharedScroll = style == QMXP_STYLE_FLAT_SHARED_HORZ_SCROLL;
    m_bScroll = m_bFlat || style == QMXP_STYLE_3D_SCROLLED;
    m_bCloseBtn = bCloseBtn;
    if (m_bFlat)
        m_bIsActiveTabBold = FALSE;
    return CWnd::Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, rect, pParentWnd,
                        nID);
}

int CQMXPTabWnd::OnCreate(LPCREATESTRUCTW lpCreateStruct) {
    if (CQMXPBaseTabWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    const CRect rectEmpty(0, 0, 0, 0);
    if (m_bScroll) {
        struct ButtonPlan {
            CQMXTabButton* pButton;
            int nGlyph;
            BOOL bRepeat;
            BOOL bWanted;
        };
        const ButtonPlan plans[] = {
            {&m_btnScrollFirst, CQMXPMenuGlyphs::IdArowFirstTab, FALSE, m_bFlat},
            {&m_btnScrollLeft, m_bFlat ? CQMXPMenuGlyphs::IdArowLeftTab : CQMXPMenuGlyphs::IdArowLeftTab3d, TRUE,
             TRUE},
            {&m_btnScrollRight, m_bFlat ? CQMXPMenuGlyphs::IdArowRightTab : CQMXPMenuGlyphs::IdArowRightTab3d, TRUE,
             TRUE},
            {&m_btnScrollLast, CQMXPMenuGlyphs::IdArowLastTab, FALSE, m_bFlat},
            {&m_btnClose, CQMXPMenuGlyphs::IdClose, FALSE, TRUE},
        };
        for (const ButtonPlan& plan : plans) {
            if (!plan.bWanted)
                continue;
            if (!plan.pButton->Create(L"", WS_CHILD | WS_VISIBLE, rectEmpty, this, static_cast<UINT>(-1)))
                return -1;
            plan.pButton->SetGlyph(plan.nGlyph);
            if (plan.bRepeat)
                plan.pButton->SetAutoRepeatDelay(kScrollRepeatDelay);
            plan.pButton->m_nFlatStyle = CQMXPButton::BUTTONSTYLE_FLAT;
            plan.pButton->m_bDrawFocus = FALSE;
            m_lstButtons.AddTail(plan.pButton->m_hWnd);
        }
        if (!m_bFlat) {
            CQMXPLocalResource localResource;
            CString strText;
            AfxLoadStringResource(kIdsScrollLeft, strText);
            m_btnScrollLeft.SetTooltip(strText);
            AfxLoadStringResource(kIdsScrollRight, strText);
            m_btnScrollRight.SetTooltip(strText);
            AfxLoadStringResource(kIdsClose, strText);
            m_btnClose.SetTooltip(strText);
        }
    }
    if (m_bSharedScroll)
        m_wndScrollWnd.Create(WS_CHILD | WS_VISIBLE | SBS_HORZ, rectEmpty, this, static_cast<UINT>(-1));
    if (!m_bScroll && m_ToolTip.Create(this, TTS_ALWAYSTIP))
        m_ToolTip.Activate(TRUE);
    if (m_bFlat)
        m_brActiveTab.CreateSolidBrush(GetActiveTabColor());
    SetTabsHeight();
    return 0;
}

void CQMXPTabWnd::OnDestroy() {
    m_brActiveTab.DeleteObject();
    if (m_ToolTip.GetSafeHwnd() != nullptr)
        m_ToolTip.DestroyWindow();
    CQMXPBaseTabWnd::OnDestroy();
}

// Heights and fonts ----------------------------------------------------------------

void CQMXPTabWnd::SetTabsHeight() {
    if (!m_bFlat) {
        CQMXPBaseTabWnd::SetTabsHeight();
        return;
    }
    m_nTabsHeight = ::GetSystemMetrics(SM_CYHSCROLL) + kTextMargin / 2;
    CreateTabFonts();
}

void CQMXPTabWnd::CreateTabFonts() {
    LOGFONTW lfGui{};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lfGui), &lfGui);
    LOGFONTW lf{};
    lf.lfHeight = lfGui.lfHeight;
    lf.lfCharSet = lfGui.lfCharSet;
    ::lstrcpynW(lf.lfFaceName, qmxFontArial, LF_FACESIZE);
    CClientDC dc(GetSafeHwnd() != nullptr ? this : nullptr);
    for (;;) {
        m_fntTabs.DeleteObject();
        m_fntTabs.CreateFontIndirect(&lf);
        CFont* pOldFont = dc.SelectObject(&m_fntTabs);
        TEXTMETRICW tm{};
        dc.GetTextMetrics(&tm);
        dc.SelectObject(pOldFont);
        if (tm.tmHeight + 2 <= m_nTabsHeight || lf.lfHeight == 0)
            break;
        lf.lfHeight += lf.lfHeight < 0 ? 1 : -1;
    }
    lf.lfWeight = FW_BOLD;
    m_fntTabsBold.DeleteObject();
    m_fntTabsBold.CreateFontIndirect(&lf);
}

BOOL CQMXPTabWnd::IsRowHidden() const {
    if (m_bSharedScroll)
        return FALSE;
    const int nVisible = GetVisibleTabsNum();
    return (m_bHideSingleTab && nVisible < 2) || (m_bHideNoTabs && nVisible == 0);
}

int CQMXPTabWnd::GetTabsHeight() const { return IsRowHidden() ? 0 : m_nTabsHeight; }

int CQMXPTabWnd::GetButtonSize(int nRowHeight) const {
    int nSize = CQMXPMenuGlyphs::GetSize().cx + 4 + (m_bFlat ? 0 : 2);
    nSize = std::min(nSize, nRowHeight - 4);
    // A row lower than the buttons' margins leaves them no room at all.
    return std::max(nSize, 0);
}

void CQMXPTabWnd::HideNoTabs(BOOL bHide) {
    if (m_bHideNoTabs == bHide)
        return;
    m_bHideNoTabs = bHide;
    if (GetSafeHwnd() != nullptr) {
        RecalcLayout();
        SynchronizeScrollBar();
    }
}

void CQMXPTabWnd::HideSingleTab(BOOL bHide) {
    CQMXPBaseTabWnd::HideSingleTab(bHide);
    if (GetSafeHwnd() != nullptr)
        SynchronizeScrollBar();
}

void CQMXPTabWnd::SetActiveTabBoldFont(BOOL bIsBold) {
    m_bIsActiveTabBold = m_bFlat ? FALSE : bIsBold;
    if (GetSafeHwnd() != nullptr) {
        RecalcLayout();
        SynchronizeScrollBar();
    }
}

void CQMXPTabWnd::SetForeignTabWindows() {
    m_bHideInactiveWindow = FALSE;
    m_bAutoSizeWindow = FALSE;
    m_bAutoDestroyWindow = FALSE;
    m_bFlatFrame = TRUE;
    m_bTopEdge = TRUE;
}

BOOL CQMXPTabWnd::SetImageList(HIMAGELIST hImageList) {
    return m_bFlat ? FALSE : CQMXPBaseTabWnd::SetImageList(hImageList);
}

BOOL CQMXPTabWnd::SetImageList(UINT uiID, int cx, COLORREF clrTransp) {
    return m_bFlat ? FALSE : CQMXPBaseTabWnd::SetImageList(uiID, cx, clrTransp);
}

void CQMXPTabWnd::EnableInPlaceEdit(BOOL bEnable) {
    if (m_bFlat)
        m_bIsInPlaceEdit = bEnable;
}

void CQMXPTabWnd::AdjustEditRect(CRect& rect) const { rect.DeflateRect(m_nTabsHeight / 2, 1); }

// Queries --------------------------------------------------------------------------------

BOOL CQMXPTabWnd::IsPtInTabArea(CPoint point) const { return m_rectTabsArea.PtInRect(point); }

void CQMXPTabWnd::GetTabArea(CRect& rectTabAreaTop, CRect& rectTabAreaBottom) const {
    rectTabAreaTop.SetRectEmpty();
    rectTabAreaBottom.SetRectEmpty();
    if (m_location == QMXP_LOCATION_TOP)
        rectTabAreaTop = m_rectTabsArea;
    else
        rectTabAreaBottom = m_rectTabsArea;
}

CWnd* CQMXPTabWnd::IsPtInTabsAreaGap(CPoint point) {
    if (point.y < GetTabsHeight())
        return nullptr;
    for (int i = 0; i < m_iTabsNum; ++i) {
        if (m_arTabs[i]->m_bVisible && m_arTabs[i]->m_rect.PtInRect(point))
            return nullptr;
    }
    return GetParent();
}

// Layout ----------------------------------------------------------------------------------

void CQMXPTabWnd::RecalcLayout() {
    if (GetSafeHwnd() == nullptr)
        return;
    const int H = GetTabsHeight();
    const int B = GetTabBorderSize();
    const BOOL bRowHidden = IsRowHidden();
    CRect rectClient;
    GetClientRect(&rectClient);
    m_rectTabsArea = rectClient;
    m_rectTabsArea.DeflateRect(B, 0);

    const int S = m_bScroll ? GetButtonSize(H) : 0;
    int nButtons = 0;
    for (POSITION pos = m_lstButtons.GetHeadPosition(); pos != nullptr;)
        nButtons += (m_lstButtons.GetNext(pos) != m_btnClose.m_hWnd || m_bCloseBtn) ? 1 : 0;
    const int W = bRowHidden ? 0 : S * nButtons;

    int xButtons = 0;
    if (!m_bFlat) {
        if (m_location == QMXP_LOCATION_TOP)
            m_rectTabsArea.bottom = m_rectTabsArea.top + H;
        else
            m_rectTabsArea.top = m_rectTabsArea.bottom - H;
        xButtons = m_rectTabsArea.right - W;
        m_rectTabsArea.right -= W;
        m_rectTabsArea.right -= 2 * B;
    } else {
        const int nShift = B > 1 ? B - 1 : 0;
        if (m_location == QMXP_LOCATION_TOP) {
            m_rectTabsArea.top = rectClient.top + nShift;
            m_rectTabsArea.bottom = m_rectTabsArea.top + H;
        } else {
            m_rectTabsArea.bottom = rectClient.bottom - nShift;
            m_rectTabsArea.top = m_rectTabsArea.bottom - H;
        }
        xButtons = rectClient.left + B + 1;
        m_rectTabsArea.left += W + 1;
        m_rectTabsArea.right -= B;
        if (m_rectTabsArea.right <= m_rectTabsArea.left) {
            m_rectTabsArea.left = B > 0 ? rectClient.left + B + 1 : rectClient.left;
            m_rectTabsArea.right = B > 0 ? rectClient.right - (B + 1) : rectClient.right;
        }
        if (H + B > rectClient.Height())
            m_rectTabsArea.bottom = m_rectTabsArea.top;
    }
    // The buttons left to right, each S square, centred on the row.
    const int yButtons = m_rectTabsArea.top + (H - S) / 2;
    for (POSITION pos = m_lstButtons.GetHeadPosition(); pos != nullptr;) {
        const HWND hButton = m_lstButtons.GetNext(pos);
        const BOOL bShown = W > 0 && (hButton != m_btnClose.m_hWnd || m_bCloseBtn);
        if (!bShown) {
            ::SetWindowPos(hButton, nullptr, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
            continue;
        }
        ::SetWindowPos(hButton, nullptr, xButtons, yButtons, S, S, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        xButtons += S;
    }
    m_nScrollBarRight = m_rectTabsArea.right - ::GetSystemMetrics(SM_CXVSCROLL);

    m_rectWndArea = rectClient;
    if (B > 0)
        m_rectWndArea.DeflateRect(B + 1, B + 1);
    const int nGap = m_bFlat ? B : 2 * B;
    if (m_location == QMXP_LOCATION_TOP)
        m_rectWndArea.top = std::max(m_rectWndArea.top, m_rectTabsArea.bottom + nGap);
    else
        m_rectWndArea.bottom = std::min(m_rectWndArea.bottom, m_rectTabsArea.top - nGap);
    if (m_bFlat && B == 0) {
        ++m_rectWndArea.left;
        if (m_location == QMXP_LOCATION_TOP)
            --m_rectWndArea.bottom;
        else
            ++m_rectWndArea.top;
    }
    if (m_bAutoSizeWindow) {
        for (int i = 0; i < m_iTabsNum; ++i) {
            CWnd* pWnd = m_arTabs[i]->m_pWnd;
            if (m_arTabs[i]->m_bVisible && pWnd != nullptr && pWnd->GetSafeHwnd() != nullptr)
                pWnd->CWnd::SetWindowPos(nullptr, m_rectWndArea.left, m_rectWndArea.top, m_rectWndArea.Width(),
                                         m_rectWndArea.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    LayoutSharedScrollBar(bRowHidden);
    RecalcTabRects();
    ClampScrollOffset();
    Invalidate();
}

void CQMXPTabWnd::LayoutSharedScrollBar(BOOL bRowHidden) {
    if (!m_bSharedScroll || m_wndScrollWnd.GetSafeHwnd() == nullptr)
        return;
    CRect rectScroll(0, 0, 0, 0);
    m_rectTabSplitter.SetRectEmpty();
    if (bRowHidden) {
        rectScroll = m_rectTabsArea;
        rectScroll.bottom -= 2;
    } else if (m_nHorzScrollWidth >= 2 * ::GetSystemMetrics(SM_CXHSCROLL)) {
        rectScroll.SetRect(m_nScrollBarRight - m_nHorzScrollWidth, m_rectTabsArea.top + 1, m_nScrollBarRight,
                           m_rectTabsArea.bottom - 2);
        m_rectTabSplitter.SetRect(rectScroll.left - 5, m_rectTabsArea.top + 2, rectScroll.left,
                                  m_rectTabsArea.bottom - 2);
        m_rectTabsArea.right = m_rectTabSplitter.left;
    }
    m_wndScrollWnd.SetWindowPos(nullptr, rectScroll.left, rectScroll.top, rectScroll.Width(), rectScroll.Height(),
                                SWP_NOZORDER | SWP_NOACTIVATE);
}

void CQMXPTabWnd::RecalcTabRects() {
    for (int i = 0; i < m_iTabsNum; ++i)
        m_arTabs[i]->m_rect.SetRectEmpty();
    const int H = GetTabsHeight();
    const int V = GetVisibleTabsNum();
    m_nTabsTotalWidth = 0;
    if (V == 0 || H == 0 || (m_bHideSingleTab && V <= 1))
        return;
    const int B = GetTabBorderSize();
    CClientDC dc(this);
    CFont* pOldFont = dc.SelectObject(m_bFlat ? &m_fntTabsBold : &globalData.fontRegular);
    const int nRowWidth = m_rectTabsArea.Width();
    const int nTopShift = m_location == QMXP_LOCATION_TOP ? 2 : 0;
    auto imageWidth = [this](const CQMXPTabInfo* pTab) {
        return (pTab->m_uiIcon != static_cast<UINT>(-1) || pTab->m_hIcon != nullptr) ? m_sizeImage.cx : 0;
    };
    auto tabRect = [this, nTopShift](int x, int cx) {
        CRect rect(x, m_rectTabsArea.top, x + cx, m_rectTabsArea.bottom - 2);
        rect.OffsetRect(0, nTopShift);
        return rect;
    };
    int x = m_rectTabsArea.left - m_nTabsHorzOffset;
    int nTotal = 0;
    for (int i = 0; i < m_iTabsNum; ++i) {
        CQMXPTabInfo* pTab = m_arTabs[i];
        if (m_ToolTip.GetSafeHwnd() != nullptr)
            m_ToolTip.SetToolRect(this, static_cast<UINT_PTR>(pTab->m_iTabID), CRect(0, 0, 0, 0));
        if (!pTab->m_bVisible) {
            pTab->m_nFullWidth = 0;
            continue;
        }
        const BOOL bBold = m_bIsActiveTabBold && i == m_iActiveTab;
        CFont* pTabFont = bBold ? dc.SelectObject(&globalData.fontBold) : nullptr;
        const CSize sizeText = dc.GetTextExtent(pTab->m_strText);
        if (pTabFont != nullptr)
            dc.SelectObject(pTabFont);
        pTab->m_nFullWidth = sizeText.cx + 2 * kTextMargin + kImageMargin + imageWidth(pTab);
        pTab->m_rect = tabRect(x, pTab->m_nFullWidth);
        x += pTab->m_nFullWidth + 1;
        nTotal += pTab->m_nFullWidth + 1;
        if (m_bFlat)
            pTab->m_rect.right += H / 2;
    }
    if (!m_bScroll && x > m_rectTabsArea.right) {
        // The row is short: tabs narrower than the average keep their width,
        // the others share the rest.
        int nAverage = nRowWidth / V;
        int nSurplus = 0;
        int nRemaining = V;
        for (int i = 0; i < m_iTabsNum; ++i) {
            const CQMXPTabInfo* pTab = m_arTabs[i];
            if (pTab->m_bVisible && pTab->m_nFullWidth < nAverage) {
                nSurplus += nAverage - pTab->m_nFullWidth;
                --nRemaining;
            }
        }
        if (nRemaining > 0)
            nAverage += nSurplus / nRemaining;
        x = m_rectTabsArea.left;
        for (int i = 0; i < m_iTabsNum; ++i) {
            CQMXPTabInfo* pTab = m_arTabs[i];
            if (!pTab->m_bVisible)
                continue;
            const int nImage = imageWidth(pTab);
            int cx = std::min(nAverage, pTab->m_nFullWidth);
            if (nAverage < 4 + nImage)
                cx = (nRowWidth + 2 * B) / V;
            else if (pTab->m_strText.IsEmpty())
                cx = nImage + 8;
            pTab->m_rect = tabRect(x, cx);
            if (m_ToolTip.GetSafeHwnd() != nullptr && nAverage < pTab->m_nFullWidth)
                m_ToolTip.SetToolRect(this, static_cast<UINT_PTR>(pTab->m_iTabID), pTab->m_rect);
            x = pTab->m_rect.right + (nSurplus > 0 ? 1 : 0);
        }
    } else if (m_bFlat) {
        nTotal += H / 2;
    }
    m_nTabsTotalWidth = nTotal;
    dc.SelectObject(pOldFont);
}

// Scrolling the row -----------------------------------------------------------------------

void CQMXPTabWnd::ClampScrollOffset() {
    if (!m_bScroll) {
        m_nTabsHorzOffset = m_nTabsHorzOffsetMax = 0;
        return;
    }
    m_nTabsHorzOffsetMax = std::max(0, m_nTabsTotalWidth - m_rectTabsArea.Width());
    const int nOffset = std::max(0, std::min(m_nTabsHorzOffset, m_nTabsHorzOffsetMax));
    if (nOffset == m_nTabsHorzOffset)
        return;
    m_nTabsHorzOffset = nOffset;
    RecalcTabRects();
    InvalidateRect(&m_rectTabsArea);
}

void CQMXPTabWnd::ScrollTo(int nOffset) {
    nOffset = std::max(0, std::min(nOffset, m_nTabsHorzOffsetMax));
    if (nOffset == m_nTabsHorzOffset)
        return;
    m_nTabsHorzOffset = nOffset;
    RecalcTabRects();
    InvalidateRect(&m_rectTabsArea);
    UpdateWindow();
}

BOOL CQMXPTabWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    const auto hButton = reinterpret_cast<HWND>(lParam);
    if (hButton != nullptr && hButton == m_btnScrollLeft.m_hWnd) {
        ScrollTo(m_nTabsHorzOffset - kScrollStep);
        return TRUE;
    }
    if (hButton != nullptr && hButton == m_btnScrollRight.m_hWnd) {
        ScrollTo(m_nTabsHorzOffset + kScrollStep);
        return TRUE;
    }
    if (hButton != nullptr && hButton == m_btnScrollFirst.m_hWnd) {
        ScrollTo(0);
        return TRUE;
    }
    if (hButton != nullptr && hButton == m_btnScrollLast.m_hWnd) {
        ScrollTo(m_nTabsHorzOffsetMax);
        return TRUE;
    }
    if (hButton != nullptr && hButton == m_btnClose.m_hWnd) {
        CWnd* pActive = GetActiveWnd();
        if (pActive != nullptr)
            pActive->SendMessage(WM_CLOSE);
        return TRUE;
    }
    return CQMXPBaseTabWnd::OnCommand(wParam, lParam);
}

BOOL CQMXPTabWnd::EnsureVisible(int iTab) {
    if (!IsValidTab(iTab))
        return FALSE;
    if (!m_bScroll || m_rectTabsArea.Width() <= 0)
        return TRUE;
    const CRect rectTab = m_arTabs[iTab]->m_rect;
    int nOffset = m_nTabsHorzOffset;
    if (rectTab.left < m_rectTabsArea.left)
        nOffset += rectTab.left - m_rectTabsArea.left;
    else if (rectTab.right > m_rectTabsArea.right && rectTab.Width() <= m_rectTabsArea.Width())
        nOffset += rectTab.right - m_rectTabsArea.right;
    ScrollTo(nOffset);
    return TRUE;
}

// Activation -------------------------------------------------------------------------------

BOOL CQMXPTabWnd::SetActiveTab(int iTab) {
    if (!IsValidTab(iTab))
        return FALSE;
    if (iTab == m_iActiveTab)
        return TRUE;
    CWnd* pParent = GetParent();
    if (pParent != nullptr &&
        pParent->SendMessage(QMXM_ON_CHANGING_ACTIVE_TAB, static_cast<WPARAM>(iTab), reinterpret_cast<LPARAM>(this)) != 0)
        return TRUE;
    // The MDI tabs of a library frame switch document windows that repaint themselves.
    const auto* pMDIFrame = DYNAMIC_DOWNCAST(CQMXPMDIFrameWnd, GetTopLevelFrame());
    const BOOL bHoldRedraw =
        m_iTabsNum > 1 && pParent != nullptr && (pMDIFrame == nullptr || !pMDIFrame->AreMDITabs());
    if (bHoldRedraw)
        pParent->SetRedraw(FALSE);
    const int iOldActive = m_iActiveTab;
    CWnd* pOldWnd = GetActiveWnd();
    if (m_bHideInactiveWindow && pOldWnd != nullptr && pOldWnd->GetSafeHwnd() != nullptr)
        pOldWnd->ShowWindow(SW_HIDE);
    m_iActiveTab = iTab;
    CWnd* pWnd = m_arTabs[iTab]->m_pWnd;
    if (pWnd == nullptr || pWnd->GetSafeHwnd() == nullptr) {
        if (bHoldRedraw)
            pParent->SetRedraw(TRUE);
        return FALSE;
    }
    if (m_bSharedScroll) {
        ::ShowScrollBar(pWnd->m_hWnd, SB_HORZ, FALSE);
        pWnd->ModifyStyle(WS_HSCROLL, 0, SWP_FRAMECHANGED);
    }
    pWnd->ShowWindow(SW_SHOW);
    if (!m_bHideInactiveWindow)
        pWnd->BringWindowToTop();
    if (m_bAutoSizeWindow) {
        // One pixel more and back makes the window lay itself out.
        pWnd->CWnd::SetWindowPos(nullptr, 0, 0, m_rectWndArea.Width() + 1, m_rectWndArea.Height(),
                                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        pWnd->CWnd::SetWindowPos(nullptr, 0, 0, m_rectWndArea.Width(), m_rectWndArea.Height(),
                                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    EnsureVisible(iTab);
    SynchronizeScrollBar();
    auto* pTabbedBar = DYNAMIC_DOWNCAST(CQMXPBaseTabbedBar, pParent);
    if (pTabbedBar != nullptr && pTabbedBar->IsSetCaptionTextToTabName()) {
        pTabbedBar->SetWindowText(m_arTabs[iTab]->m_strText);
        CWnd* pRedraw = pTabbedBar->IsFloating() ? static_cast<CWnd*>(pTabbedBar->GetParentMiniFrame(TRUE)) : static_cast<CWnd*>(pTabbedBar);
        if (pRedraw != nullptr)
            pRedraw->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
    }
    if (m_bIsActiveTabBold)
        RecalcLayout();
    Invalidate();
    UpdateWindow();
    if (iOldActive != -1) {
        auto* pView = DYNAMIC_DOWNCAST(CView, pWnd);
        CFrameWnd* pFrame = pView != nullptr ? pView->GetParentFrame() : nullptr;
        if (pFrame != nullptr)
            pFrame->SetActiveView(pView);
        else
            pWnd->SetFocus();
    }
    if (m_btnClose.GetSafeHwnd() != nullptr) {
        CMenu* pSysMenu = pWnd->GetSystemMenu(FALSE);
        BOOL bEnable = TRUE;
        if (pSysMenu != nullptr) {
            const UINT nState = pSysMenu->GetMenuState(SC_CLOSE, MF_BYCOMMAND);
            bEnable = nState != static_cast<UINT>(-1) && !(nState & (MF_DISABLED | MF_GRAYED));
        }
        m_btnClose.EnableWindow(bEnable);
    }
    if (bHoldRedraw) {
        pParent->SetRedraw(TRUE);
        pParent->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
    NotifyActiveTabChanged(reinterpret_cast<LPARAM>(this));
    return TRUE;
}

int CQMXPTabWnd::NextVisibleTab(BOOL bForward) const {
    if (m_iActiveTab == -1 || m_iTabsNum == 0)
        return -1;
    int iTab = m_iActiveTab;
    for (int n = 0; n < m_iTabsNum; ++n) {
        iTab = bForward ? (iTab + 1) % m_iTabsNum : (iTab + m_iTabsNum - 1) % m_iTabsNum;
        if (m_arTabs[iTab]->m_bVisible)
            return iTab;
    }
    return -1;
}

// Dragged tool-bar buttons ------------------------------------------------------------

DROPEFFECT CQMXPTabWnd::OnDragEnter(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) {
    return OnDragOver(pDataObject, dwKeyState, point);
}

DROPEFFECT CQMXPTabWnd::OnDragOver(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) {
    if (DYNAMIC_DOWNCAST(CQMXPTabbedToolbar, GetParent()) == nullptr)
        return DROPEFFECT_NONE;
    CQMXPToolbarButton* pButton = CQMXPToolbarButton::LoadFromOleData(pDataObject);
    if (pButton == nullptr)
        return DROPEFFECT_NONE;
    delete pButton;
    const int iTab = GetTabFromPoint(point);
    if (iTab != -1)
        SetActiveTab(iTab);
    return (dwKeyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}
