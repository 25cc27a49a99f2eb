// The menu bar's stand-in, the visual manager's class and the stand-in popup menu.
#include "DockingTestSupport.h"

#include "docking/toolbars/QMXPMenuBar.h"
#include "docking/toolbars/QMXPPopupMenu.h"
#include "docking/toolbars/QMXPVisualManager.h"

#include <gtest/gtest.h>

using namespace docking_test;

namespace {

TEST(MenuBarTest, MenuBarTakesNoRoomWhileTheFrameKeepsItsMenu) {
    CDockTestApp app;
    CDockTestFrame* pFrame = MakeFrame(400, 300);
    ASSERT_NE(pFrame, nullptr);
    CQMXPMenuBar menuBar;
    ASSERT_TRUE(menuBar.Create(pFrame, 0x50402808, 0xE806));
    EXPECT_EQ(menuBar.GetBarStyle() & CBRS_ALIGN_ANY, CBRS_ALIGN_TOP);
    menuBar.SetBarStyle(menuBar.GetBarStyle() | 0x10);
    EXPECT_EQ(menuBar.CalcFixedLayout(TRUE, TRUE), CSize(0, 0));
    pFrame->DestroyWindow();
    Pump();
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
