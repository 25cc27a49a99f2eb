// Tool bar stand-ins: buttons by index and by command across all tool bars,
// their states from the command handlers, combo-box buttons, the menu bar
// and the visual manager's class.
#include "DockingTestSupport.h"

#include "docking/toolbars/QMXPMenuBar.h"
#include "docking/toolbars/QMXPPopupMenu.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "docking/toolbars/QMXPToolbarButton.h"
#include "docking/toolbars/QMXPToolbarComboBoxButton.h"
#include "docking/toolbars/QMXPVisualManager.h"

#include <gtest/gtest.h>

using namespace docking_test;

namespace {

class ToolBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        Log().clear();
        m_pFrame = MakeFrame(400, 300);
        ASSERT_NE(m_pFrame, nullptr);
        ASSERT_TRUE(m_barA.Create(m_pFrame));
        ASSERT_TRUE(m_barB.Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, AFX_IDW_TOOLBAR + 1));
        m_barA.InsertButton(new CQMXPToolbarButton(ID_DOCKTEST_HANDLED, L"Handled", TRUE));
        m_barA.InsertButton(new CQMXPToolbarButton(ID_DOCKTEST_UNHANDLED, L"Unhandled", TRUE));
        m_barB.InsertButton(new CQMXPToolbarButton(ID_DOCKTEST_HANDLED, L"Again", TRUE));
        m_pCombo = new CQMXPToolbarComboBoxButton(ID_DOCKTEST_COMBO);
        m_pCombo->AddItem(L"8", 8);
        m_pCombo->AddItem(L"10", 10);
        m_pCombo->AddItem(L"12", 12);
        m_barB.InsertButton(m_pCombo, 0);
        m_pFrame->RecalcLayout();
    }
    void TearDown() override {
        m_pFrame->DestroyWindow();
        Pump();
    }

    CDockTestApp m_app;
    CDockTestFrame* m_pFrame = nullptr;
    CQMXPToolBar m_barA;
    CQMXPToolBar m_barB;
    CQMXPToolbarComboBoxButton* m_pCombo = nullptr;
};

TEST_F(ToolBarTest, ButtonsByIndexAndByCommand) {
    EXPECT_EQ(m_barA.GetCount(), 2);
    EXPECT_EQ(m_barA.GetButton(1)->m_nID, static_cast<UINT>(ID_DOCKTEST_UNHANDLED));
    EXPECT_EQ(m_barA.GetButton(2), nullptr);
    EXPECT_EQ(m_barA.GetButton(-1), nullptr);
    EXPECT_EQ(m_barB.GetButton(0), m_pCombo);  // inserted in front
    EXPECT_EQ(m_barB.CommandToIndex(ID_DOCKTEST_HANDLED), 1);
    EXPECT_EQ(m_barB.CommandToIndex(ID_DOCKTEST_UNHANDLED), -1);

    CObList found;
    EXPECT_EQ(CQMXPToolBar::CollectButtonsByCommand(ID_DOCKTEST_HANDLED, found), 2);
    ASSERT_EQ(found.GetCount(), 2);
    EXPECT_EQ(found.GetHead(), m_barA.GetButton(0));
    EXPECT_EQ(found.GetTail(), m_barB.GetButton(1));
    CObList none;
    EXPECT_EQ(CQMXPToolBar::CollectButtonsByCommand(0xFFF0, none), 0);
    // A bar without a window is not searched.
    CQMXPToolBar windowless;
    windowless.InsertButton(new CQMXPToolbarButton(ID_DOCKTEST_HANDLED, L"x"));
    CObList again;
    EXPECT_EQ(CQMXPToolBar::CollectButtonsByCommand(ID_DOCKTEST_HANDLED, again), 2);
}

TEST_F(ToolBarTest, ButtonsSitSideBySideAndClicksPostTheirCommands) {
    CRect first = m_barA.GetButton(0)->GetRect();
    CRect second = m_barA.GetButton(1)->GetRect();
    EXPECT_EQ(first.left, 0);
    EXPECT_EQ(second.left, first.right);
    EXPECT_GT(second.Width(), first.Width() / 2);

    m_barA.SetHeight(30);
    EXPECT_EQ(m_barA.GetButton(0)->GetRect().Height(), 30);
    m_barA.SetLocked(TRUE);
    m_barA.SetHeight(40);  // a locked bar keeps its height
    EXPECT_EQ(m_barA.GetButton(0)->GetRect().Height(), 30);

    CPoint inFirst = first.CenterPoint();
    m_barA.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(inFirst.x, inFirst.y));
    Pump();
    ASSERT_EQ(Log().size(), 1u);
    EXPECT_EQ(Log()[0], L"frame:HANDLED");
}

TEST_F(ToolBarTest, ButtonStatesFollowTheHandlers) {
    m_barA.OnUpdateCmdUI(m_pFrame, TRUE);
    EXPECT_FALSE(m_barA.GetButton(0)->m_nStyle & TBBS_DISABLED);
    EXPECT_TRUE(m_barA.GetButton(1)->m_nStyle & TBBS_DISABLED);
    // A disabled button sends nothing.
    CPoint inSecond = m_barA.GetButton(1)->GetRect().CenterPoint();
    m_barA.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(inSecond.x, inSecond.y));
    Pump();
    EXPECT_TRUE(Log().empty());
    // Without disabling for want of a handler, the state stays as it was.
    m_barA.OnUpdateCmdUI(m_pFrame, FALSE);
    EXPECT_TRUE(m_barA.GetButton(1)->m_nStyle & TBBS_DISABLED);
    EXPECT_FALSE(m_barA.GetButton(0)->m_nStyle & TBBS_DISABLED);
}

TEST_F(ToolBarTest, ComboButtonsAreFoundByCommand) {
    EXPECT_EQ(CQMXPToolbarComboBoxButton::GetByCmd(ID_DOCKTEST_COMBO), m_pCombo);
    EXPECT_EQ(CQMXPToolbarComboBoxButton::GetByCmd(ID_DOCKTEST_HANDLED), nullptr);  // no combo
    EXPECT_EQ(CQMXPToolbarComboBoxButton::GetCurSelForCommand(ID_DOCKTEST_COMBO), -1);
    EXPECT_EQ(CQMXPToolbarComboBoxButton::GetCurSelForCommand(ID_DOCKTEST_UNHANDLED), -1);

    EXPECT_TRUE(CQMXPToolbarComboBoxButton::SetTextForCommand(ID_DOCKTEST_COMBO, L"10"));
    EXPECT_EQ(CQMXPToolbarComboBoxButton::GetCurSelForCommand(ID_DOCKTEST_COMBO), 1);
    EXPECT_EQ(CQMXPToolbarComboBoxButton::GetItemDataForCommand(ID_DOCKTEST_COMBO), 10u);
    EXPECT_EQ(CQMXPToolbarComboBoxButton::GetItemDataForCommand(ID_DOCKTEST_COMBO, 2), 12u);
    EXPECT_EQ(CQMXPToolbarComboBoxButton::GetItemDataForCommand(ID_DOCKTEST_UNHANDLED), static_cast<DWORD_PTR>(-1));
    CString text;
    EXPECT_TRUE(CQMXPToolbarComboBoxButton::GetTextForCommand(ID_DOCKTEST_COMBO, text));
    EXPECT_EQ(std::wstring(text), L"10");
    EXPECT_FALSE(CQMXPToolbarComboBoxButton::GetTextForCommand(ID_DOCKTEST_UNHANDLED, text));

    // A text that is no entry is the edit text, without a selection.
    EXPECT_TRUE(m_pCombo->SetText(L"11", FALSE));
    EXPECT_EQ(m_pCombo->GetCurSel(), -1);
    EXPECT_EQ(std::wstring(m_pCombo->GetText()), L"11");
    EXPECT_FALSE(m_pCombo->SelectItem(3));
    EXPECT_TRUE(m_pCombo->SelectItem(0));
    EXPECT_EQ(std::wstring(m_pCombo->GetText()), L"8");
}

TEST_F(ToolBarTest, MenuBarTakesNoRoomWhileTheFrameKeepsItsMenu) {
    CQMXPMenuBar menuBar;
    ASSERT_TRUE(menuBar.Create(m_pFrame, 0x50402808, 0xE806));
    EXPECT_EQ(menuBar.GetBarStyle() & CBRS_ALIGN_ANY, CBRS_ALIGN_TOP);
    menuBar.SetBarStyle(menuBar.GetBarStyle() | 0x10);
    EXPECT_EQ(menuBar.CalcFixedLayout(TRUE, TRUE), CSize(0, 0));
}

class CCountingManager : public CQMXPVisualManager {
    DECLARE_DYNCREATE(CCountingManager)
public:
    CCountingManager() { ++s_nLive; }
    ~CCountingManager() override { --s_nLive; }
    static int s_nLive;
};
IMPLEMENT_DYNCREATE(CCountingManager, CQMXPVisualManager)
int CCountingManager::s_nLive = 0;

TEST(VisualManagerTest, SelectingAClassReplacesTheManager) {
    CQMXPVisualManager::SelectManagerClass(RUNTIME_CLASS(CCountingManager));
    CQMXPVisualManager* pManager = CQMXPVisualManager::GetInstance();
    EXPECT_TRUE(pManager->IsKindOf(RUNTIME_CLASS(CCountingManager)));
    EXPECT_EQ(CCountingManager::s_nLive, 1);
    EXPECT_EQ(CQMXPVisualManager::GetInstance(), pManager);
    CQMXPVisualManager::SelectManagerClass(nullptr);  // as the application does at its end
    EXPECT_EQ(CCountingManager::s_nLive, 0);
    EXPECT_FALSE(CQMXPVisualManager::GetInstance()->IsKindOf(RUNTIME_CLASS(CCountingManager)));
    CQMXPVisualManager::SelectManagerClass(nullptr);
}

class CCountingPopup : public CQMXPPopupMenu {
public:
    CCountingPopup() { ++s_nLive; }
    ~CCountingPopup() override { --s_nLive; }
    static int s_nLive;
};
int CCountingPopup::s_nLive = 0;

TEST(PopupMenuTest, APopupThatCannotShowDeletesItself) {
    auto* pPopup = new CCountingPopup;
    EXPECT_FALSE(pPopup->Create(nullptr, 0, 0, nullptr));
    EXPECT_EQ(CCountingPopup::s_nLive, 0);
}

}  // namespace
