// The drop-down button: a short click runs its command, a held press drops
// its source's buttons down in a frame that a choice, a release over the
// button or the application's deactivation closes.
#include "DockingTestSupport.h"

#include "docking/toolbars/QMXPDropDownFrame.h"
#include "docking/toolbars/QMXPDropDownToolBar.h"
#include "docking/toolbars/QMXPDropDownToolbarButton.h"
#include "docking/toolbars/QMXPMenuSound.h"
#include "platform/classlib/DC.h"

#include <gtest/gtest.h>

using namespace docking_test;
using classlib_test::PumpUntil;

namespace {

class DropDownButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The frame's popup sound would start the sound thread the sound
        // test starts itself.
        m_bSavedSounds = qmxMenuSoundsEnabled;
        qmxMenuSoundsEnabled = FALSE;
        Log().clear();
        m_pFrame = MakeFrame(500, 300);
        ASSERT_NE(m_pFrame, nullptr);
        ASSERT_TRUE(m_source.Create(m_pFrame, WS_CHILD | CBRS_TOP, AFX_IDW_TOOLBAR + 5));
        const UINT ids[] = {ID_DOCKTEST_UNHANDLED, 0, ID_DOCKTEST_SAVE, ID_DOCKTEST_HANDLED};
        ASSERT_TRUE(m_source.SetButtons(ids, 4));
        ASSERT_TRUE(m_bar.Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP, AFX_IDW_TOOLBAR + 1));
        m_pButton = new CQMXPDropDownToolbarButton(L"Tools", &m_source);
        m_bar.InsertButton(m_pButton);
        m_pButton->SetDefaultCommand(ID_DOCKTEST_HANDLED);
        m_bar.AdjustLayout();
        m_pFrame->ShowWindow(SW_SHOWNOACTIVATE);
        Pump();
    }
    void TearDown() override {
        m_pFrame->DestroyWindow();
        Pump();
        qmxMenuSoundsEnabled = m_bSavedSounds;
    }
    LPARAM ButtonPoint() const { return MAKELPARAM(m_pButton->GetRect().CenterPoint().x, m_pButton->GetRect().CenterPoint().y); }

    CDockTestApp m_app;
    CDockTestFrame* m_pFrame = nullptr;
    CQMXPDropDownToolBar m_source;
    CQMXPToolBar m_bar;
    CQMXPDropDownToolbarButton* m_pButton = nullptr;
    BOOL m_bSavedSounds = TRUE;
};

TEST_F(DropDownButtonTest, TheCurrentImageIsTheCommandsPlaceAmongTheSourcesButtons) {
    EXPECT_EQ(m_pButton->GetCurrentImage(), 2);  // the separator has no image
    m_pButton->SetDefaultCommand(ID_DOCKTEST_CHECK);
    EXPECT_EQ(m_pButton->GetCurrentImage(), 0);

    CClientDC dc(&m_bar);
    const CSize sizeDefault(23, 22);
    CQMXPToolbarButton plain(ID_DOCKTEST_HANDLED, 0);
    for (const BOOL bLarge : {FALSE, TRUE}) {
        CQMXPToolBar::m_bLargeIcons = bLarge;
        const int cxPlain = plain.OnCalcSize(&dc, sizeDefault, TRUE).cx;
        EXPECT_EQ(m_pButton->OnCalcSize(&dc, sizeDefault, TRUE).cx, cxPlain + (bLarge ? 9 : 4));
    }
    CQMXPToolBar::m_bLargeIcons = FALSE;
}

TEST_F(DropDownButtonTest, AShortClickRunsTheCommandAHeldPressOpensTheFrameAndRunsNothing) {
    m_bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, ButtonPoint());
    EXPECT_TRUE(m_pButton->IsPressTimerPending());
    m_bar.SendMessage(WM_LBUTTONUP, 0, ButtonPoint());
    Pump();
    EXPECT_EQ(Log(), std::vector<std::wstring>{L"frame:HANDLED"});
    EXPECT_FALSE(m_pButton->IsPressTimerPending());
    Log().clear();

    m_bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, ButtonPoint());
    ASSERT_TRUE(PumpUntil([this] { return m_pButton->IsDropDown(); }));
    CQMXPDropDownFrame* pDropFrame = m_pButton->GetDropDownFrame();
    // The copy shows the source's buttons under the button.
    EXPECT_EQ(pDropFrame->GetToolBar().GetCount(), 4);
    CRect rectDrop;
    pDropFrame->GetWindowRect(&rectDrop);
    CRect rectButton = m_pButton->GetRect();
    m_bar.ClientToScreen(&rectButton);
    EXPECT_EQ(rectDrop.TopLeft(), CPoint(rectButton.left - 1, rectButton.bottom));
    m_bar.SendMessage(WM_LBUTTONUP, 0, ButtonPoint());
    Pump();
    EXPECT_FALSE(m_pButton->IsDropDown());
    EXPECT_TRUE(Log().empty());
    // The source still owns its buttons.
    ASSERT_EQ(m_source.GetCount(), 4);
    EXPECT_EQ(m_source.GetButton(3)->m_nID, static_cast<UINT>(ID_DOCKTEST_HANDLED));
}

TEST_F(DropDownButtonTest, AChoiceInTheFrameBecomesTheCommandAndDeactivationClosesIt) {
    ASSERT_TRUE(m_pButton->DropDownToolbar(&m_bar));
    CQMXPDropDownToolBar& dropped = m_pButton->GetDropDownFrame()->GetToolBar();
    EXPECT_TRUE(dropped.OnItemClicked(dropped.GetButton(2)));
    Pump();
    EXPECT_FALSE(m_pButton->IsDropDown());
    EXPECT_EQ(m_pButton->m_nID, static_cast<UINT>(ID_DOCKTEST_SAVE));
    EXPECT_EQ(m_pButton->GetCurrentImage(), 1);

    ASSERT_TRUE(m_pButton->DropDownToolbar(&m_bar));
    m_pButton->GetDropDownFrame()->SendMessage(WM_ACTIVATEAPP, FALSE, 0);
    Pump();
    EXPECT_FALSE(m_pButton->IsDropDown());
}

TEST_F(DropDownButtonTest, AtTheBottomOfTheScreenTheFrameOpensAboveTheButton) {
    const int cyScreen = ::GetSystemMetrics(SM_CYSCREEN);
    m_pFrame->SetWindowPos(nullptr, 0, cyScreen - 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Pump();
    ASSERT_TRUE(m_pButton->DropDownToolbar(&m_bar));
    CRect rectDrop;
    m_pButton->GetDropDownFrame()->GetWindowRect(&rectDrop);
    CRect rectButton = m_pButton->GetRect();
    m_bar.ClientToScreen(&rectButton);
    EXPECT_LE(rectDrop.bottom, rectButton.top);
    EXPECT_LE(rectDrop.bottom, cyScreen);
}

TEST_F(DropDownButtonTest, DeletingTheButtonWhileItsTimerRunsLeavesNoPendingButton) {
    m_bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, ButtonPoint());
    EXPECT_EQ(CQMXPDropDownToolbarButton::GetPendingButton(), m_pButton);
    ::ReleaseCapture();
    m_bar.RemoveButton(0);
    EXPECT_EQ(CQMXPDropDownToolbarButton::GetPendingButton(), nullptr);
    // The press timer is gone with it: nothing drops down later.
    EXPECT_FALSE(PumpUntil([] { return false; }, 700));
}

// A drop-down button whose own command is disabled is still pressed: a held
// press drops its bar down, the release runs nothing and leaves the bar
// open, and a choice in it becomes the button's command.
TEST_F(DropDownButtonTest, ADisabledCommandStillDropsTheBarDown) {
    m_pButton->SetDefaultCommand(ID_DOCKTEST_UNHANDLED);
    m_bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, ButtonPoint());
    EXPECT_TRUE(m_pButton->m_nStyle & TBBS_DISABLED) << "the frame has no handler for the command";
    EXPECT_TRUE(m_pButton->IsPressTimerPending());
    ASSERT_TRUE(PumpUntil([this] { return m_pButton->IsDropDown(); }));
    m_bar.SendMessage(WM_LBUTTONUP, 0, ButtonPoint());
    Pump();
    EXPECT_TRUE(Log().empty());
    ASSERT_TRUE(m_pButton->IsDropDown());
    CQMXPDropDownToolBar& dropped = m_pButton->GetDropDownFrame()->GetToolBar();
    EXPECT_TRUE(dropped.OnItemClicked(dropped.GetButton(3)));
    Pump();
    EXPECT_FALSE(m_pButton->IsDropDown());
    EXPECT_EQ(m_pButton->m_nID, static_cast<UINT>(ID_DOCKTEST_HANDLED));
}

}  // namespace
