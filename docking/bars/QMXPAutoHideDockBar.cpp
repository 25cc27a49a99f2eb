#include "docking/bars/QMXPAutoHideDockBar.h"

#include "docking/bars/QMXPAutoHideButton.h"
#include "docking/bars/QMXPAutoHideToolBar.h"
#include "docking/bars/QMXPDockBarRow.h"
#include "docking/bars/QMXPDockingControlBar.h"
#include "docking/toolbars/QMXPVisualManager.h"
#include "platform/classlib/DC.h"

#include <utility>
#include <vector>

IMPLEMENT_DYNCREATE(CQMXPAutoHideDockBar, CQMXPDockBar)

int CQMXPAutoHideDockBar::m_nStripStart = 4;
int CQMXPAutoHideDockBar::m_nGroupSpacing = 14;

namespace {
// The spacing of the strips' row.
constexpr int kRowSpacing = 2;
}  // namespace

BEGIN_MESSAGE_MAP(CQMXPAutoHideDockBar, CQMXPDockBar)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CQMXPAutoHideDockBar::CQMXPAutoHideDockBar() : m_nStartOffset(0), m_nEndOffset(0) {}

CQMXPAutoHideDockBar::~CQMXPAutoHideDockBar() = default;

BOOL CQMXPAutoHideDockBar::CanAcceptBar(const CQMXPBaseControlBar* pBar) const {
    return pBar != nullptr && pBar->IsKindOf(RUNTIME_CLASS(CQMXPAutoHideToolBar));
}

BOOL CQMXPAutoHideDockBar::DockControlBar(CQMXPControlBar* pWnd, int, LPCRECT) {
    if (m_lstControlBars.Find(pWnd) != nullptr)
        return TRUE;
    if (!CanAcceptBar(pWnd))
        return FALSE;
    const BOOL bHorz = IsHorizontal();
    const CSize size = pWnd->CalcFixedLayout(FALSE, bHorz);
    const int nHeight = (bHorz ? size.cy : size.cx) + kRowSpacing;
    CQMXPDockBarRow* pRow = m_lstDockBarRows.IsEmpty() ? nullptr
                                                       : static_cast<CQMXPDockBarRow*>(m_lstDockBarRows.GetHead());
    if (pRow == nullptr) {
        pRow = AddRow(nullptr, nHeight);
        if (pRow == nullptr)
            return FALSE;
        pRow->SetExtra(kRowSpacing, (GetCurrentAlignment() & 0xC000) != 0);
    }
    pRow->AddControlBar(pWnd, QMXP_DM_RECT, nullptr, TRUE);
    ShowWindow(SW_SHOW);
    m_lstControlBars.AddTail(pWnd);
    LayoutStrips();
    return FALSE;
}

void CQMXPAutoHideDockBar::OnSizeChanged(CRect) { LayoutStrips(); }

void CQMXPAutoHideDockBar::LayoutStrips() {
    if (m_lstDockBarRows.IsEmpty())
        return;
    static_cast<CQMXPDockBarRow*>(m_lstDockBarRows.GetHead())
        ->LayoutBarsEndToEnd(m_nStartOffset + m_nStripStart, m_nGroupSpacing);
    Invalidate();
}

void CQMXPAutoHideDockBar::UpdateGroupLinks(CQMXPAutoHideToolBar* pStrip) {
    CQMXPDockBarRow* pRow = FindRowByBar(pStrip);
    CObList lstGroup;
    if (pRow != nullptr)
        pRow->GetGroupOfBar(pStrip, lstGroup);
    if (lstGroup.IsEmpty())
        lstGroup.AddTail(pStrip);
    // Every pane of the group first, with its leader: returning takes the
    // strips away as their last buttons go.
    auto* pFirst = static_cast<CQMXPAutoHideToolBar*>(lstGroup.GetHead());
    CQMXPDockingControlBar* pLeader = lstGroup.GetCount() > 1 ? pFirst->GetFirstPane() : nullptr;
    std::vector<std::pair<CQMXPDockingControlBar*, CQMXPDockingControlBar*>> panes;
    for (POSITION pos = lstGroup.GetHeadPosition(); pos != nullptr;) {
        auto* pMember = static_cast<CQMXPAutoHideToolBar*>(lstGroup.GetNext(pos));
        for (POSITION posButton = pMember->GetButtons().GetHeadPosition(); posButton != nullptr;) {
            auto* pButton = static_cast<CQMXPAutoHideButton*>(pMember->GetButtons().GetNext(posButton));
            if (pButton->GetPane() != nullptr)
                panes.emplace_back(pButton->GetPane(), pMember == pFirst ? nullptr : pLeader);
        }
    }
    for (const auto& entry : panes) {
        CQMXPAutoHideButton* pButton = entry.first->GetAutoHideButton();
        if (pButton != nullptr)
            pButton->SetGroupLeader(entry.second);
    }
}

void CQMXPAutoHideDockBar::OnPaint() {
    CPaintDC dc(this);
    CRect rectClient;
    GetClientRect(&rectClient);
    CQMXPVisualManager::GetInstance()->OnFillBarBackground(&dc, this, rectClient, rectClient, FALSE);
}
