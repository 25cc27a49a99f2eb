// CQMXPDockManager: the auto-hidden panes: their strips on the frame edges,
// their places against the outer docking rectangle, sliding them back in,
// and the corners the auto-hide dock bars leave each other.
#include "docking/bars/QMXPAutoHideDockBar.h"
#include "docking/bars/QMXPAutoHideToolBar.h"
#include "docking/bars/QMXPDockManager.h"
#include "docking/bars/QMXPDockingControlBar.h"
#include "docking/bars/QMXPSlider.h"
#include "platform/classlib/FrameWnd.h"

#include <vector>

namespace {

constexpr DWORD kAlignTop = 0x2000;
constexpr DWORD kAlignBottom = 0x8000;
constexpr DWORD kAlignLeft = 0x1000;
constexpr DWORD kAlignRight = 0x4000;
constexpr UINT kStripID = 1;

}  // namespace

CQMXPAutoHideToolBar* CQMXPDockManager::CreateAutoHideStrip(CQMXPDockingControlBar* pBar,
                                                            CQMXPAutoHideToolBar* pStrip) {
    if (pBar == nullptr || m_pFrame == nullptr)
        return nullptr;
    const DWORD dwSide = pBar->GetCurrentAlignment() & 0xF000;
    auto* pDockBar = DYNAMIC_DOWNCAST(CQMXPAutoHideDockBar, DockBarForSide(dwSide, FALSE));
    if (pDockBar == nullptr)
        return nullptr;
    const BOOL bNewStrip = pStrip == nullptr;
    if (bNewStrip) {
        pStrip = new CQMXPAutoHideToolBar;
        if (!pStrip->Create(nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), m_pFrame, kStripID, 0)) {
            // A bar whose creation failed is ours to delete, its window gone or not.
            delete pStrip;
            return nullptr;
        }
    }
    pStrip->EnableDocking(0xF000);
    CQMXPSlider* pSlider = pBar->GetDefaultSlider();
    pStrip->AddPaneButton(pBar, dwSide);
    if (bNewStrip) {
        if (!(pStrip->GetStyle() & WS_VISIBLE))
            pStrip->ShowWindow(SW_SHOW);
        pStrip->DockControlBar(pDockBar, nullptr, QMXP_DM_RECT);
    }
    AdjustDockingLayout(nullptr);
    if (pSlider != nullptr) {
        if (m_lstAutoHideSliders.Find(pSlider) == nullptr)
            m_lstAutoHideSliders.AddTail(pSlider);
        pSlider->SetDockSite(m_pFrame);
        PlaceAutoHidePane(pSlider, TRUE);
        pBar->BringWindowToTop();
        pSlider->BringWindowToTop();
    }
    return pStrip;
}

void CQMXPDockManager::PlaceAutoHidePane(CQMXPSlider* pSlider, BOOL bShown) {
    if (pSlider == nullptr || m_pFrame == nullptr)
        return;
    CQMXPDockingControlBar* pPane = pSlider->GetFirstBar();
    const DWORD dwSide = pSlider->GetCurrentAlignment() & 0xF000;
    const BOOL bHorz = (dwSide & 0xA000) != 0;
    const CRect rectOuter = m_rectOuterDockArea;
    CRect rectSlider;
    pSlider->GetWindowRect(&rectSlider);
    m_pFrame->ScreenToClient(&rectSlider);
    if (bShown) {
        // Slider and pane at the outer edge, the pane fully out.
        const CSize size = pSlider->CalcFixedLayout(FALSE, bHorz);
        CRect rect = rectSlider;
        switch (dwSide) {
        case kAlignTop:
            rect.bottom = rect.top + size.cy;
            break;
        case kAlignBottom:
            rect.top = rect.bottom - size.cy;
            break;
        case kAlignLeft:
            rect.right = rect.left + size.cx;
            break;
        default:
            rect.left = rect.right - size.cx;
            break;
        }
        PlaceAlongSide(rectOuter, rect, dwSide, bHorz, TRUE);
        m_pFrame->ClientToScreen(&rect);
        HDWP hdwp = ::BeginDeferWindowPos(4);
        pSlider->RepositionPanes(rect, hdwp);
        if (hdwp != nullptr)
            ::EndDeferWindowPos(hdwp);
        return;
    }
    if (pPane == nullptr)
        return;
    // Just behind the edge: the slider's outer edge on the outer rectangle's.
    CRect rectPane;
    pPane->GetWindowRect(&rectPane);
    m_pFrame->ScreenToClient(&rectPane);
    if (bHorz) {
        rectSlider.left = rectPane.left = rectOuter.left;
        rectSlider.right = rectPane.right = rectOuter.right;
    } else {
        rectSlider.top = rectPane.top = rectOuter.top;
        rectSlider.bottom = rectPane.bottom = rectOuter.bottom;
    }
    CSize offset(0, 0);
    switch (dwSide) {
    case kAlignLeft:
        offset.cx = rectOuter.left - rectSlider.left;
        break;
    case kAlignRight:
        offset.cx = rectOuter.right - rectSlider.right;
        break;
    case kAlignTop:
        offset.cy = rectOuter.top - rectSlider.top;
        break;
    default:
        offset.cy = rectOuter.bottom - rectSlider.bottom;
        break;
    }
    rectSlider.OffsetRect(offset);
    rectPane.OffsetRect(offset);
    pSlider->CWnd::SetWindowPos(nullptr, rectSlider.left, rectSlider.top, rectSlider.Width(), rectSlider.Height(),
                                SWP_NOZORDER | SWP_NOACTIVATE);
    pPane->CWnd::SetWindowPos(nullptr, rectPane.left, rectPane.top, rectPane.Width(), rectPane.Height(),
                              SWP_NOZORDER | SWP_NOACTIVATE);
    pPane->AdjustLayout();
}

void CQMXPDockManager::SlideInAutoHidePanes(CQMXPDockingControlBar* pExclude, BOOL bImmediately) {
    std::vector<CQMXPDockingControlBar*> panes;
    for (POSITION pos = m_lstAutoHideSliders.GetHeadPosition(); pos != nullptr;) {
        auto* pSlider = DYNAMIC_DOWNCAST(CQMXPSlider, m_lstAutoHideSliders.GetNext(pos));
        CQMXPDockingControlBar* pPane = pSlider != nullptr ? pSlider->GetFirstBar() : nullptr;
        if (pPane != nullptr && pPane != pExclude && pPane->IsAutoHideMode() && (pPane->GetStyle() & WS_VISIBLE))
            panes.push_back(pPane);
    }
    for (CQMXPDockingControlBar* pPane : panes)
        pPane->Slide(FALSE, !bImmediately);
}

void CQMXPDockManager::AdjustAutoHideCorners() {
    std::vector<CQMXPAutoHideDockBar*> bars;
    for (POSITION pos = m_lstBars.GetHeadPosition(); pos != nullptr;) {
        auto* pBar = DYNAMIC_DOWNCAST(CQMXPAutoHideDockBar, m_lstBars.GetNext(pos));
        if (pBar != nullptr)
            bars.push_back(pBar);
    }
    struct Offsets {
        int nStart = 0;
        int nEnd = 0;
    };
    std::vector<Offsets> offsets(bars.size());
    auto indexOf = [&bars](const CQMXPAutoHideDockBar* pBar) {
        for (size_t i = 0; i < bars.size(); ++i) {
            if (bars[i] == pBar)
                return i;
        }
        return bars.size();
    };
    for (size_t a = 0; a < bars.size(); ++a) {
        CRect A;
        bars[a]->GetWindowRect(&A);
        const DWORD dwA = bars[a]->GetCurrentAlignment() & 0xF000;
        for (CQMXPAutoHideDockBar* pB : bars) {
            CRect B;
            pB->GetWindowRect(&B);
            if (pB == bars[a] || B.IsRectEmpty())
                continue;
            const DWORD dwB = pB->GetCurrentAlignment() & 0xF000;
            Offsets& offA = offsets[a];
            Offsets& offB = offsets[indexOf(pB)];
            if (dwA == kAlignLeft && dwB == kAlignTop) {
                if (A.top == B.bottom)
                    offB.nStart = A.Width();
                if (A.right == B.left)
                    offA.nStart = B.Height();
            } else if (dwA == kAlignTop && dwB == kAlignRight) {
                if (A.right == B.left)
                    offB.nStart = A.Height();
                if (A.bottom == B.top)
                    offA.nEnd = B.Width();
            } else if (dwA == kAlignRight && dwB == kAlignBottom) {
                if (A.bottom == B.top)
                    offB.nEnd = A.Width();
                if (A.left == B.right)
                    offA.nEnd = B.Height();
            } else if (dwA == kAlignLeft && dwB == kAlignBottom) {
                if (A.bottom == B.top)
                    offB.nStart = A.Width();
                if (A.right == B.left)
                    offA.nEnd = B.Height();
            }
        }
    }
    for (size_t i = 0; i < bars.size(); ++i) {
        const BOOL bChanged =
            bars[i]->GetStartOffset() != offsets[i].nStart || bars[i]->GetEndOffset() != offsets[i].nEnd;
        bars[i]->SetOffsets(offsets[i].nStart, offsets[i].nEnd);
        if (bChanged)
            bars[i]->LayoutStrips();
    }
}
