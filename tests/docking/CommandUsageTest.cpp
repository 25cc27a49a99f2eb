// Command images, command usage counts of short menus and the menu-sound
// thread's request protocol.
#include "DockingTestSupport.h"

#include "docking/bars/QMXPLibraryGlobals.h"
#include "docking/toolbars/CmdUsageCount.h"
#include "docking/toolbars/QMXPCommandManager.h"
#include "docking/toolbars/QMXPMenuSound.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "platform/classlib/MemFile.h"
#include "tests/framework/ScratchRegistryKey.h"

#include <gtest/gtest.h>

#include <vector>

using docking_test::LoadBytes;
using docking_test::StoredBytes;

namespace {

TEST(CommandManagerTest, ACommandKeepsItsFirstKindOfImage) {
    CQMXPCommandManager manager;
    manager.SetCommandImage(100, 3, TRUE);
    manager.SetCommandImage(100, 7, FALSE);
    manager.SetCommandImage(200, 4, FALSE);
    manager.SetCommandImage(200, 8, TRUE);
    manager.SetCommandImage(0, 1, FALSE);
    manager.SetCommandImage(0xFFFFFFFF, 1, TRUE);
    EXPECT_EQ(manager.GetCommandImage(100, TRUE), 3);
    EXPECT_EQ(manager.GetCommandImage(100, FALSE), -1);
    EXPECT_EQ(manager.GetCommandImage(200, FALSE), 4);
    EXPECT_EQ(manager.GetCommandImage(200, TRUE), -1);
    EXPECT_EQ(manager.GetCommandImage(0, FALSE), -1);
    EXPECT_EQ(manager.GetCommandImage(0xFFFFFFFF, TRUE), -1);
    manager.ClearUserImage(100);
    manager.SetCommandImage(100, 7, FALSE);
    EXPECT_EQ(manager.GetCommandImage(100, FALSE), 7);
}

TEST(CommandManagerTest, CommandsWithoutImagesAreStored) {
    const CScratchRegistryKey scratch;
    const std::wstring profile = scratch.Path() + L"\\";
    CQMXPCommandManager manager;
    manager.EnableCommandImage(300);  // not listed: nothing to remove
    manager.EnableCommandImage(301, FALSE);
    manager.EnableCommandImage(301, FALSE);
    manager.EnableCommandImage(302, FALSE);
    EXPECT_TRUE(manager.IsCommandWithoutImage(301));
    EXPECT_FALSE(manager.IsCommandWithoutImage(300));

    CQMXPCommandManager loaded;
    loaded.EnableCommandImage(999, FALSE);
    EXPECT_FALSE(loaded.LoadState(profile.c_str()));
    EXPECT_TRUE(loaded.IsCommandWithoutImage(999));
    ASSERT_TRUE(manager.SaveState(profile.c_str()));
    EXPECT_TRUE(scratch.Exists(scratch.Path() + L"\\QMXCommandManager", L"CommandsWithoutImages"));
    ASSERT_TRUE(loaded.LoadState(profile.c_str()));
    EXPECT_FALSE(loaded.IsCommandWithoutImage(999));
    EXPECT_TRUE(loaded.IsCommandWithoutImage(301));
    EXPECT_TRUE(loaded.IsCommandWithoutImage(302));
    manager.EnableCommandImage(301);
    EXPECT_FALSE(manager.IsCommandWithoutImage(301));
}

TEST(CommandUsageTest, CountsAndShares) {
    CCmdUsageCount usage;
    EXPECT_EQ(StoredBytes(usage), std::vector<BYTE>(6, 0));
    EXPECT_FALSE(usage.IsFrequentlyUsedCmd(500));

    // Ids 0 and -1, standard commands, always-shown commands and every use
    // in customise mode count nothing.
    CQMXPToolBar::AddAlwaysShownCommand(600);
    CQMXPToolBar::AddAlwaysShownCommand(600);
    EXPECT_EQ(CQMXPToolBar::m_lstBasicCommands.GetCount(), 1);
    for (UINT uiCmd : {0u, 0xFFFFFFFFu, 0xE110u, 0xF060u, 600u})
        usage.AddCmd(uiCmd);
    CQMXPToolBar::m_bCustomizeMode = TRUE;
    usage.AddCmd(500);
    CQMXPToolBar::m_bCustomizeMode = FALSE;
    EXPECT_EQ(usage.GetTotalUsage(), 0u);

    // 1 use in 20 is 5 per cent, not more: not frequent; 2 are.
    usage.AddCmd(501);
    usage.AddCmd(502);
    usage.AddCmd(502);
    for (int i = 0; i < 17; ++i)
        usage.AddCmd(503);
    EXPECT_EQ(usage.GetTotalUsage(), 20u);
    EXPECT_FALSE(usage.IsFrequentlyUsedCmd(501));
    EXPECT_TRUE(usage.IsFrequentlyUsedCmd(502));

    CCmdUsageCount copy;
    LoadBytes(copy, StoredBytes(usage));
    EXPECT_EQ(copy.GetTotalUsage(), 20u);
    EXPECT_TRUE(copy.IsFrequentlyUsedCmd(503));
    EXPECT_FALSE(copy.IsFrequentlyUsedCmd(501));

    // 43,000,000 uses of 100,000,000: their share is computed without overflow.
    CCmdUsageCount large;
    LoadBytes(large, {0x00, 0xE1, 0xF5, 0x05, 1, 0, 0xF8, 1, 0, 0, 0xC0, 0x20, 0x90, 0x02});
    EXPECT_EQ(large.GetTotalUsage(), 100000000u);
    EXPECT_TRUE(large.IsFrequentlyUsedCmd(504));
    CQMXPToolBar::m_lstBasicCommands.RemoveAll();
}

TEST(CommandUsageTest, RarelyUsedOnlyWithAlwaysShownCommands) {
    qmxCmdUsageCount.Reset();
    EXPECT_FALSE(CQMXPToolBar::IsCommandRarelyUsed(700));
    CQMXPToolBar::AddAlwaysShownCommand(701);
    const struct {
        UINT uiCmd;
        BOOL bRare;
    } cases[] = {{700, TRUE}, {701, FALSE}, {0, FALSE}, {0xFFFFFFFF, FALSE}, {0xF020, FALSE}};
    for (const auto& c : cases)
        EXPECT_EQ(CQMXPToolBar::IsCommandRarelyUsed(c.uiCmd), c.bRare) << c.uiCmd;
    CQMXPToolBar::CountCommandUse(700);
    EXPECT_FALSE(CQMXPToolBar::IsCommandRarelyUsed(700));
    EXPECT_TRUE(CQMXPToolBar::IsCommandRarelyUsed(702));
    CQMXPToolBar::m_bCustomizeMode = TRUE;
    EXPECT_FALSE(CQMXPToolBar::IsCommandRarelyUsed(702));
    CQMXPToolBar::m_bCustomizeMode = FALSE;
    CQMXPToolBar::m_lstBasicCommands.RemoveAll();
    qmxCmdUsageCount.Reset();
}

// The request a sound thread has still to take once it has taken it; the
// thread is polled, the wait is bounded only so that a thread that never
// takes it fails the test instead of holding it (bench/MenuSoundBench.cpp
// prints how soon a request is taken).
int RequestOnceTaken() {
    const DWORD dwStart = ::GetTickCount();
    while (QMXPGetMenuSoundRequest() != QMXP_SOUND_IDLE && ::GetTickCount() - dwStart < 60000)
        ::Sleep(1);
    return QMXPGetMenuSoundRequest();
}

TEST(MenuSoundTest, TheThreadStartsOnTheFirstSoundAndTakesEachRequest) {
    // Ending a thread that never started starts none.
    PlayMenuSound(QMXP_SOUND_TERMINATE);
    EXPECT_FALSE(QMXPHasMenuSoundThread());
    EXPECT_EQ(QMXPGetMenuSoundRequest(), QMXP_SOUND_NOT_STARTED);

    // The first sound starts the thread, which takes it and each one after it.
    for (int nSound : {QMXP_SOUND_MENU_POPUP, QMXP_SOUND_MENU_COMMAND, QMXP_SOUND_MENU_POPUP}) {
        PlayMenuSound(nSound);
        EXPECT_TRUE(QMXPHasMenuSoundThread()) << nSound;
        EXPECT_EQ(RequestOnceTaken(), QMXP_SOUND_IDLE) << nSound;
    }
}

}  // namespace
