// A tool bar driven by mouse messages: the pressed button follows the mouse,
// a release sends one command, check buttons; the command states, the
// status prompts, the tool tips with shortcut keys, and mouse-leave tracking.
#include "DockingTestSupport.h"

#include "docking/bars/QMXPGlobalUtils.h"
#include "docking/frames/QMXPKeyHelper.h"
#include "docking/frames/QMXPTrackMouse.h"
#include "docking/toolbars/OldToolCmdUI.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "docking/toolbars/QMXPToolbarButton.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace docking_test;

namespace {

// A popup that counts the mouse-leave messages and keeps the prompts it is sent.
class CRecorderWnd : public CWnd {
public:
    BOOL Make(const CRect& rect) {
        return CreateEx(0, QMXPRegisterBarClass(L"QMXDockTest"), L"", WS_POPUP | WS_VISIBLE, rect, nullptr, 0);
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_MOUSELEAVE)
            ++m_nLeaves;
        if (message == WM_SETMESSAGESTRING)
            m_prompts.push_back(static_cast<UINT>(wParam));
        return CWnd::WindowProc(message, wParam, lParam);
    }
    int m_nLeaves = 0;
    std::vector<UINT> m_prompts;
};

class ToolBarInputTest : public ::testing::Test {
protected:
    void SetUp() override {
        Log().clear();
        m_pFrame = MakeFrame(500, 300);
        ASSERT_NE(m_pFrame, nullptr);
        m_pFrame->ShowWindow(SW_SHOWNOACTIVATE);
        ASSERT_TRUE(m_bar.Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP, AFX_IDW_TOOLBAR + 1));
        // One, Two: plain; Three: a check box; Four: no handler; Five: indeterminate.
        const struct {
            UINT uiID;
            const wchar_t* text;
            UINT nStyle;
        } buttons[] = {{ID_DOCKTEST_HANDLED, L"One", 0},
                       {ID_DOCKTEST_HANDLED, L"Two", 0},
                       {ID_DOCKTEST_HANDLED, L"Three", TBBS_CHECKBOX},
                       {ID_DOCKTEST_UNHANDLED, L"Four", TBBS_CHECKBOX},
                       {ID_DOCKTEST_HANDLED, L"Five", TBBS_CHECKBOX | TBBS_INDETERMINATE}};
        for (const auto& button : buttons) {
            auto* pButton = new CQMXPToolbarButton(button.uiID, button.text, TRUE);
            pButton->m_nStyle = button.nStyle;
            m_bar.InsertButton(pButton);
        }
        m_bar.AdjustLayout();
    }
    void TearDown() override {
        m_pFrame->DestroyWindow();
        Pump();
    }
    void Mouse(UINT message, int iButton) {
        const CPoint point = m_bar.GetButton(iButton)->GetRect().CenterPoint();
        m_bar.SendMessage(message, message == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(point.x, point.y));
    }
    void Click(int iButton) {
        Mouse(WM_LBUTTONDOWN, iButton);
        Mouse(WM_LBUTTONUP, iButton);
    }
    BOOL Pressed(int iButton) { return (m_bar.GetButtonStyle(iButton) & TBBS_PRESSED) != 0; }

    CDockTestApp m_app;
    CDockTestFrame* m_pFrame = nullptr;
    CQMXPToolBar m_bar;
};

TEST_F(ToolBarInputTest, APressedButtonFollowsTheMouseAndOnlyAReleaseOnItSendsTheCommand) {
    Mouse(WM_LBUTTONDOWN, 1);
    EXPECT_TRUE(Pressed(1));
    EXPECT_EQ(CWnd::GetCapture(), &m_bar);
    Mouse(WM_MOUSEMOVE, 0);
    EXPECT_FALSE(Pressed(1));
    Mouse(WM_MOUSEMOVE, 1);
    EXPECT_TRUE(Pressed(1));
    Mouse(WM_LBUTTONUP, 0);
    EXPECT_FALSE(Pressed(1));
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
    EXPECT_TRUE(Log().empty());

    Click(1);
    EXPECT_EQ(Log(), std::vector<std::wstring>{L"frame:HANDLED"});
}

TEST_F(ToolBarInputTest, ChecksToggleIndeterminateBecomesCheckedDisabledStays) {
    const struct {
        int iButton;
        UINT nAfter;
    } cases[] = {{2, TBBS_CHECKBOX | TBBS_CHECKED},
                 {4, TBBS_CHECKBOX | TBBS_CHECKED},
                 {3, TBBS_CHECKBOX | TBBS_DISABLED}};
    for (const auto& test : cases) {
        Click(test.iButton);
        EXPECT_EQ(m_bar.GetButtonStyle(test.iButton), test.nAfter) << test.iButton;
    }
    Click(2);
    EXPECT_EQ(m_bar.GetButtonStyle(2), static_cast<UINT>(TBBS_CHECKBOX));
}

TEST_F(ToolBarInputTest, CheckStatesFromHandlersMakeCheckBoxes) {
    const struct {
        int nCheck;
        UINT nStyle;
    } cases[] = {{0, TBBS_CHECKBOX},
                 {1, TBBS_CHECKBOX | TBBS_CHECKED},
                 {2, TBBS_CHECKBOX | TBBS_INDETERMINATE},
                 {5, TBBS_CHECKBOX | TBBS_CHECKED}};
    for (const auto& test : cases) {
        m_bar.SetButtonStyle(0, TBBS_INDETERMINATE);
        COldToolCmdUI state;
        state.m_pOther = &m_bar;
        state.m_nIndex = 0;
        state.SetCheck(test.nCheck);
        EXPECT_EQ(m_bar.GetButtonStyle(0), test.nStyle) << test.nCheck;
    }
}

TEST_F(ToolBarInputTest, PromptsOfReservedCommandsAreTheFramesOwn) {
    CRecorderWnd owner;
    ASSERT_TRUE(owner.Make(CRect(0, 0, 10, 10)));
    m_bar.SetOwner(&owner);
    const struct {
        UINT uiCmd;
        UINT uiPrompt;
    } cases[] = {{0xF060, 0xEF06}, {0xF1E0, 0xEF1E}, {0xFF05, 0xEF1F}, {0x8000, 0x8000}, {0xFFFFFFFF, 0xE001}};
    for (const auto& test : cases) {
        owner.m_prompts.clear();
        m_bar.ShowCommandMessageString(test.uiCmd);
        EXPECT_EQ(owner.m_prompts, std::vector<UINT>{test.uiPrompt}) << std::hex << test.uiCmd;
    }
    m_bar.SetOwner(m_pFrame);
    owner.DestroyWindow();
}

TEST_F(ToolBarInputTest, TipsAreTheShortNamesWithTheFramesShortcutKeys) {
    m_pFrame->m_hAccelTable = ::LoadAcceleratorsW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_DOCKTEST_ACCEL));
    // Image buttons (of no strip) show their commands' tips.
    m_bar.InsertButton(new CQMXPToolbarButton(ID_DOCKTEST_SAVE, 0, nullptr, FALSE, TRUE));
    m_bar.InsertButton(new CQMXPToolbarButton(ID_DOCKTEST_NO_TIP, 1, nullptr, FALSE, TRUE));
    m_bar.AdjustLayout();
    const CString strKey =
        CQMXPKeyHelper::GetKeyName(VK_CONTROL) + L"+" + CQMXPKeyHelper::GetKeyName('S');
    TOOLINFOW ti{};
    EXPECT_EQ(m_bar.OnToolHitTest(m_bar.GetButton(5)->GetRect().CenterPoint(), &ti), ID_DOCKTEST_SAVE);
    ASSERT_NE(ti.lpszText, nullptr);
    EXPECT_EQ(CString(ti.lpszText), L"Save (" + strKey + L")");
    EXPECT_EQ(ti.hwnd, m_bar.m_hWnd);
    std::free(ti.lpszText);
    EXPECT_EQ(m_bar.OnToolHitTest(m_bar.GetButton(6)->GetRect().CenterPoint(), nullptr), -1);
    CQMXPToolBar::m_bShowShortcutKeys = FALSE;
    ti = TOOLINFOW();
    m_bar.OnToolHitTest(m_bar.GetButton(5)->GetRect().CenterPoint(), &ti);
    EXPECT_EQ(CString(ti.lpszText), L"Save");
    std::free(ti.lpszText);
    CQMXPToolBar::m_bShowShortcutKeys = TRUE;
    CQMXPToolBar::m_bShowTooltips = FALSE;
    EXPECT_EQ(m_bar.OnToolHitTest(m_bar.GetButton(5)->GetRect().CenterPoint(), nullptr), -1);
    CQMXPToolBar::m_bShowTooltips = TRUE;
}

TEST(MouseLeaveTest, OneLeaveFollowsTheCursorOutAlsoWhenAskedTwice) {
    CRecorderWnd window;
    ASSERT_TRUE(window.Make(CRect(100, 100, 200, 200)));
    TRACKMOUSEEVENT request = {12, TME_LEAVE, window.m_hWnd, HOVER_DEFAULT};
    EXPECT_FALSE(QMXPTrackMouse(&request));
    request.cbSize = sizeof(request);
    request.dwFlags = TME_HOVER;
    EXPECT_FALSE(QMXPTrackMouse(&request));

    request.dwFlags = TME_LEAVE;
    ::SetCursorPos(150, 150);
    EXPECT_TRUE(QMXPTrackMouse(&request));
    EXPECT_TRUE(QMXPTrackMouse(&request));
    ::SetCursorPos(400, 400);
    EXPECT_TRUE(classlib_test::PumpUntil([&] { return window.m_nLeaves > 0; }));
    EXPECT_FALSE(::KillTimer(window.m_hWnd, QMXP_TRACK_MOUSE_TIMER)) << "the one timer is gone";
    Pump();
    EXPECT_EQ(window.m_nLeaves, 1);
    window.DestroyWindow();
}

}  // namespace
