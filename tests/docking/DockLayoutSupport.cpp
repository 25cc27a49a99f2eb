#include "DockLayoutSupport.h"

#include "docking/toolbars/QMXPToolBar.h"

namespace docking_test {

long CTestClock::s_now = 0;

IMPLEMENT_DYNCREATE(CDockTestMDIFrame, CQMXPMDIFrameWnd)

BEGIN_MESSAGE_MAP(CDockTestMDIFrame, CQMXPMDIFrameWnd)
    ON_COMMAND_EX_RANGE(ID_DOCKTEST_INDICATOR_A, ID_DOCKTEST_INDICATOR_B, OnIndicator)
    ON_CONTROL_RANGE(CBN_SELENDOK, 32842, 32853, OnTextFormat)
    ON_COMMAND_EX_RANGE(32842, 32853, OnTextCommand)
    ON_REGISTERED_MESSAGE(QMXTOOLBAR_RESETTOOLBAR, OnResetToolBar)
END_MESSAGE_MAP()

BOOL CDockTestMDIFrame::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (wParam == QMXM_TOLBARCHANGEALIGN) {
        const auto* pHeader = reinterpret_cast<const NMHDR*>(lParam);
        Record(L"align:" + std::to_wstring(pHeader->idFrom) + L":" + std::to_wstring(pHeader->code));
    }
    return CQMXPMDIFrameWnd::OnNotify(wParam, lParam, pResult);
}

void DockLayoutTest::SetUp() {
    Log().clear();
    m_pFrame = NewFrame();
    ASSERT_TRUE(m_pFrame->LoadFrame(IDR_DOCKTEST_MAIN));
    m_app.m_pMainWnd = m_pFrame;
    SizeClientArea(m_pFrame, 800, 600);
    m_pFrame->ShowWindow(SW_SHOWNOACTIVATE);
    ASSERT_TRUE(m_pFrame->EnableDocking(0xF000));
    Pump();
}

void DockLayoutTest::TearDown() {
    if (::IsWindow(m_pFrame->GetSafeHwnd()))
        m_pFrame->DestroyWindow();
    m_app.m_pMainWnd = nullptr;
    Pump();
}

CFixedBar* DockLayoutTest::AddBar(CSize size, UINT nDockBarID, UINT nID) {
    m_bars.push_back(std::make_unique<CFixedBar>(size));
    CFixedBar* pBar = m_bars.back().get();
    if (!pBar->Create(nullptr, WS_CHILD | WS_VISIBLE | CBRS_TOP, CRect(CPoint(0, 0), size), m_pFrame, nID))
        return nullptr;
    pBar->EnableDocking(0xF000);
    if (nDockBarID != 0)
        m_pFrame->DockControlBar(pBar, nDockBarID);
    return pBar;
}

CRect DockLayoutTest::InFrame(const CWnd* pWnd) const {
    CRect rect = Screen(pWnd);
    m_pFrame->ScreenToClient(&rect);
    return rect;
}

CRect DockLayoutTest::Screen(const CWnd* pWnd) const {
    CRect rect;
    pWnd->GetWindowRect(&rect);
    return rect;
}

}  // namespace docking_test

namespace docking_test {

bool DockLayoutTest::AddStatusBar(CQMXPStatusBar& bar) {
    const UINT ids[] = {0, ID_DOCKTEST_INDICATOR_A, ID_DOCKTEST_INDICATOR_B};
    return bar.Create(m_pFrame) && bar.SetIndicators(ids, 3);
}

}  // namespace docking_test
