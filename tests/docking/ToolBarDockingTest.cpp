// Tool bars in the rows of the test frame's top dock bar, dragged off with
// the mouse into a floating frame and back, with the status bar below;
// pictures of the frame with the tool bar docked and floating.
#include "CanvasTestSupport.h"
#include "DockLayoutSupport.h"

#include "docking/bars/QMXPStatusBar.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "docking/toolbars/QMXPToolbarButton.h"

#include <gtest/gtest.h>

using namespace docking_test;

namespace {

class ToolBarDockingTest : public DockLayoutTest {
protected:
    void SetUp() override {
        DockLayoutTest::SetUp();
        ASSERT_TRUE(AddStatusBar(m_status));
        const wchar_t* names[][3] = {{L"New", L"Open", L"Save"}, {L"Cut", L"Copy", L"Paste"}, {L"Bold", L"Italic", L""}};
        for (int i = 0; i < 3; ++i) {
            CQMXPToolBar& bar = m_bars[i];
            ASSERT_TRUE(bar.Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xE830 + static_cast<UINT>(i)));
            bar.SetWindowText(names[i][0]);
            for (const wchar_t* name : names[i]) {
                if (*name != L'\0')
                    bar.InsertButton(new CQMXPToolbarButton(ID_DOCKTEST_HANDLED, name, TRUE));
            }
            bar.EnableDocking(0xF000);
        }
        m_pFrame->DockControlBar(&m_bars[0], AFX_IDW_DOCKBAR_TOP);
        m_pFrame->DockControlBar(&m_bars[2], AFX_IDW_DOCKBAR_TOP);
        DockBar(0x2000)->DockControlBarLeftOf(&m_bars[1], &m_bars[2]);
        m_pFrame->SetWindowText(L"Docking");
        m_pFrame->RecalcLayout();
        Pump();
    }
    CRect FrameOnScreen() const { return Screen(m_pFrame); }

    CQMXPStatusBar m_status;
    CQMXPToolBar m_bars[3];
};

TEST_F(ToolBarDockingTest, AToolBarIsDraggedOffIntoAFloatingFrameAndBack) {
    CQMXPDockBar* pTop = DockBar(0x2000);
    EXPECT_EQ(pTop->GetRows().GetCount(), 2);
    EXPECT_EQ(m_bars[1].GetDockBarRow(), m_bars[2].GetDockBarRow());
    EXPECT_EQ(InFrame(&m_status).bottom, 600);
    EXPECT_FALSE(m_status.IsSizeBoxHidden());
    EXPECT_TRUE(SaveScreen(FrameOnScreen(), L"docking_toolbar_docked"));

    // Grabbed by its gripper, the bar is pulled down out of its dock bar.
    CQMXPToolBar& bar = m_bars[1];
    const CRect rectBar = Screen(&bar);
    const CPoint ptGrab(rectBar.left + 3, rectBar.top + 5);
    CCursorAt cursor(ptGrab);
    CPoint ptGrabClient = ptGrab;
    bar.ScreenToClient(&ptGrabClient);
    bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptGrabClient.x, ptGrabClient.y));
    ASSERT_TRUE(bar.IsCaptured());
    ::SetCursorPos(ptGrab.x + 300, ptGrab.y + 150);
    bar.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, 0);
    CQMXPMiniFrameWnd* pMiniFrame = bar.GetParentMiniFrame();
    ASSERT_NE(pMiniFrame, nullptr);
    EXPECT_TRUE(bar.IsFloating());
    EXPECT_TRUE(pMiniFrame->IsCaptured());
    CPoint ptUp(ptGrab.x + 300, ptGrab.y + 150);
    pMiniFrame->ScreenToClient(&ptUp);
    pMiniFrame->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(ptUp.x, ptUp.y));
    EXPECT_FALSE(pMiniFrame->IsCaptured());
    EXPECT_TRUE(Screen(pMiniFrame).PtInRect(CPoint(ptGrab.x + 300, ptGrab.y + 150)));
    CRect rectFloatClient;
    pMiniFrame->GetClientRect(&rectFloatClient);
    EXPECT_EQ(rectFloatClient.Size(), bar.CalcFixedLayout(FALSE, TRUE));
    EXPECT_EQ(Screen(&bar).Size(), rectFloatClient.Size());
    EXPECT_EQ(pTop->GetRows().GetCount(), 2);
    EXPECT_EQ(bar.GetDockBarRow(), nullptr);
    Pump();
    EXPECT_TRUE(SaveScreen(FrameOnScreen(), L"docking_toolbar_floating"));

    // Dragged by its caption over the dock bar, the frame docks the bar once
    // the wait is over; the drag goes on in the dock bar until the button is up.
    CRect rectFrame = Screen(pMiniFrame);
    const CPoint ptCaption(rectFrame.left + 10, rectFrame.top + 6);
    ::SetCursorPos(ptCaption.x, ptCaption.y);
    CPoint ptInFrame = ptCaption;
    pMiniFrame->ScreenToClient(&ptInFrame);
    pMiniFrame->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptInFrame.x, ptInFrame.y));
    ASSERT_TRUE(pMiniFrame->IsCaptured());
    const CPoint ptOverDockBar(Screen(&m_bars[0]).right + 200, Screen(&m_bars[0]).top + 8);
    ::SetCursorPos(ptOverDockBar.x, ptOverDockBar.y);
    pMiniFrame->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, 0);
    EXPECT_TRUE(classlib_test::PumpUntil([&] { return !bar.IsFloating(); }, 2000));
    EXPECT_EQ(bar.GetParentDockBar(), pTop);
    EXPECT_TRUE(bar.IsCaptured());
    bar.SendMessage(WM_LBUTTONUP, 0, 0);
    EXPECT_FALSE(bar.IsCaptured());
    EXPECT_EQ(bar.GetDockBarRow(), m_bars[0].GetDockBarRow());
    Pump();
}

}  // namespace

// The frame shrinks from 1200 to 500 pixels: when the size change ends, the
// rows fit their bars into the frame, so that no shown button lies outside it.
TEST_F(ToolBarDockingTest, RowsFitTheFrameWhenASizeChangeEnds) {
    for (CQMXPToolBar& bar : m_bars) {
        for (int i = 0; i < 12; ++i)
            bar.InsertButton(new CQMXPToolbarButton(ID_DOCKTEST_HANDLED, L"More", TRUE));
        // What does not fit goes behind the chevron.
        bar.EnableCustomizeButton(TRUE);
        bar.AdjustLayout();
    }
    m_pFrame->SetWindowPos(nullptr, 0, 0, 1200, 600, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_pFrame->SendMessage(WM_EXITSIZEMOVE);
    Pump();
    // Two bars share a row wider than 500 pixels.
    ASSERT_EQ(m_bars[1].GetDockBarRow(), m_bars[2].GetDockBarRow());
    ASSERT_GT(InFrame(&m_bars[2]).right, 500);
    m_pFrame->SetWindowPos(nullptr, 0, 0, 500, 600, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_pFrame->SendMessage(WM_EXITSIZEMOVE);
    Pump();
    CRect rectClient;
    m_pFrame->GetClientRect(&rectClient);
    int nShown = 0;
    for (CQMXPToolBar& bar : m_bars) {
        for (int i = 0; i < bar.GetCount(); ++i) {
            const CQMXPToolbarButton* pButton = bar.GetButton(i);
            if (!pButton->m_bVisible || (pButton->m_nStyle & TBBS_SEPARATOR) || pButton->m_rect.IsRectEmpty())
                continue;
            CRect rect = pButton->m_rect;
            bar.MapWindowPoints(m_pFrame, &rect);
            EXPECT_LE(rect.right, rectClient.right) << i;
            EXPECT_GE(rect.left, rectClient.left) << i;
            ++nShown;
        }
    }
    EXPECT_GT(nShown, 12);
    EXPECT_TRUE(SaveScreen(FrameOnScreen(), L"docking_toolbar_rows_fitted"));
}


namespace {

// A frame that keeps the help calls instead of starting the help program.
class CHelpRecordingFrame : public CDockTestMDIFrame {
public:
    void WinHelp(DWORD_PTR dwData, UINT nCmd) override { m_calls.emplace_back(dwData, nCmd); }
    std::vector<std::pair<DWORD_PTR, UINT>> m_calls;
};

class ContextHelpTest : public ToolBarDockingTest {
protected:
    CDockTestMDIFrame* NewFrame() override { return m_pHelpFrame = new CHelpRecordingFrame; }
    CHelpRecordingFrame* m_pHelpFrame = nullptr;
};

// What the help mode saw when the test's timer fired inside it, and the
// input it then sends to end the mode.
struct HelpModeVisit {
    HWND hwndFrame = nullptr;
    UINT uiEndMessage = 0;
    WPARAM wParam = 0;
    HCURSOR hcurSeen = nullptr;
    BOOL bHelpMode = FALSE;
};
HelpModeVisit g_visit;

void CALLBACK InHelpMode(HWND, UINT, UINT_PTR idEvent, DWORD) {
    ::KillTimer(nullptr, idEvent);
    g_visit.hcurSeen = ::GetCursor();
    g_visit.bHelpMode = static_cast<CFrameWnd*>(CWnd::FromHandle(g_visit.hwndFrame))->m_bHelpMode;
    ::PostMessageW(g_visit.hwndFrame, g_visit.uiEndMessage, g_visit.wParam, 0);
}

}  // namespace

// The context-help command shows the help cursor until a click; a click on
// a tool-bar button asks for help on the button's command, Escape on nothing.
TEST_F(ContextHelpTest, AClickOnAButtonInHelpModeAsksForItsCommandsHelp) {
    CQMXPToolBar& bar = m_bars[0];
    CRect rectButton = bar.GetButton(1)->GetRect();
    bar.ClientToScreen(&rectButton);
    CCursorAt cursor(rectButton.CenterPoint());
    const struct {
        UINT uiMessage;
        WPARAM wParam;
        size_t nCalls;
    } cases[] = {{WM_LBUTTONDOWN, MK_LBUTTON, 1}, {WM_KEYDOWN, VK_ESCAPE, 0}};
    for (const auto& c : cases) {
        m_pHelpFrame->m_calls.clear();
        g_visit = HelpModeVisit{m_pFrame->GetSafeHwnd(), c.uiMessage, c.wParam};
        ASSERT_NE(::SetTimer(nullptr, 0, 10, InHelpMode), 0u);
        m_pFrame->SendMessage(WM_COMMAND, ID_CONTEXT_HELP);
        EXPECT_TRUE(g_visit.bHelpMode);
        EXPECT_EQ(g_visit.hcurSeen, ::LoadCursorW(nullptr, IDC_HELP));
        EXPECT_FALSE(m_pFrame->m_bHelpMode);
        ASSERT_EQ(m_pHelpFrame->m_calls.size(), c.nCalls) << c.uiMessage;
        if (c.nCalls == 1) {
            EXPECT_EQ(m_pHelpFrame->m_calls[0].first, 0x10000u + ID_DOCKTEST_HANDLED);
            EXPECT_EQ(m_pHelpFrame->m_calls[0].second, static_cast<UINT>(HELP_CONTEXT));
        }
    }
}
