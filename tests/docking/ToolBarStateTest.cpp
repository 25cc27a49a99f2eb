// A tool bar's registry state, the options of all tool bars, its window
// class and style, removing buttons, and the menu cache's temporary files.
#include "DockingTestSupport.h"

#include "docking/toolbars/CmdUsageCount.h"
#include "docking/toolbars/MenuHash.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "docking/toolbars/QMXPToolbarButton.h"
#include "docking/toolbars/QMXPVisualManager.h"
#include "platform/classlib/Archive.h"
#include "platform/classlib/MemFile.h"
#include "resources/Toolbars.h"
#include "tests/framework/ScratchRegistryKey.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace docking_test;

namespace {

std::vector<UINT> Commands(const CQMXPToolBar& bar) {
    std::vector<UINT> ids;
    for (int i = 0; i < bar.GetCount(); ++i)
        ids.push_back(bar.GetItemID(i));
    return ids;
}

// The temporary files of the menu cache.
int CountCacheFiles() {
    wchar_t szTemp[MAX_PATH + 1] = {0};
    ::GetTempPathW(MAX_PATH, szTemp);
    WIN32_FIND_DATAW data;
    HANDLE hFind = ::FindFirstFileW((std::wstring(szTemp) + L"QMX*.tmp").c_str(), &data);
    int nCount = 0;
    for (BOOL bMore = hFind != INVALID_HANDLE_VALUE; bMore; bMore = ::FindNextFileW(hFind, &data))
        ++nCount;
    if (hFind != INVALID_HANDLE_VALUE)
        ::FindClose(hFind);
    return nCount;
}

class ToolBarStateTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_pFrame = MakeFrame(500, 300);
        ASSERT_NE(m_pFrame, nullptr);
        m_pFrame->ShowWindow(SW_SHOWNOACTIVATE);
        ASSERT_TRUE(m_bar.Create(m_pFrame));
        m_bar.SetWindowText(L"Tools");
        ASSERT_TRUE(m_bar.LoadToolBar(IDR_TAL_EDIT_TREE_TOOLBAR));
        m_profile = m_scratch.Path() + L"\\";
    }
    void TearDown() override {
        CQMXPToolBar::SetSizes(CSize(23, 22), CSize(16, 15));
        m_pFrame->DestroyWindow();
        Pump();
    }
    std::wstring Key(const wchar_t* lpszName) const { return m_profile + lpszName; }

    CDockTestApp m_app;
    CScratchRegistryKey m_scratch;
    std::wstring m_profile;
    CDockTestFrame* m_pFrame = nullptr;
    CQMXPToolBar m_bar;
};

TEST_F(ToolBarStateTest, NameAndButtonsAreKeptUnderTheBarsId) {
    const LPCWSTR lpszProfile = m_profile.c_str();
    EXPECT_FALSE(m_bar.LoadState(lpszProfile));
    m_bar.RemoveButton(0);
    const std::vector<UINT> saved = Commands(m_bar);
    EXPECT_TRUE(m_bar.SaveState(lpszProfile));
    DWORD dwType = 0;
    std::wstring name;
    ASSERT_TRUE(m_scratch.Get(Key(L"QMXToolBar-59392"), L"Name", dwType, name));
    EXPECT_EQ(dwType, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(std::wstring(name.c_str()), L"Tools");
    const std::vector<BYTE> buttons = RawRegistryValue(Key(L"QMXToolBar-59392"), L"Buttons");
    ASSERT_GT(buttons.size(), 8u);
    EXPECT_EQ(std::vector<BYTE>(buttons.begin(), buttons.begin() + 8),
              (std::vector<BYTE>{0x00, 0x20, 0, 0, 1, 0, 0, 0}));

    // Back from the resource, then the stored buttons again.
    ASSERT_TRUE(m_bar.RestoreFromResource());
    EXPECT_EQ(m_bar.GetCount(), 12);
    EXPECT_TRUE(m_bar.LoadState(lpszProfile));
    EXPECT_EQ(Commands(m_bar), saved);

    EXPECT_TRUE(m_bar.SaveState(lpszProfile, static_cast<UINT>(-1), 0x1F));
    EXPECT_TRUE(m_scratch.Exists(Key(L"QMXToolBar-593921f"), L"Buttons"));
    m_bar.SetLocked(TRUE);
    EXPECT_TRUE(m_bar.SaveState(lpszProfile, 7));
    EXPECT_EQ(RawRegistryValue(Key(L"QMXToolBar-7"), L"Buttons").size(), 8u);
}

TEST_F(ToolBarStateTest, AnotherClassAmongTheStoredButtonsRestoresTheResourceButtons) {
    const std::vector<BYTE> bytes = ArchivedBytes([](CArchive& ar) {
        CCmdUsageCount counts;
        ar << static_cast<DWORD>(0x2000) << static_cast<DWORD>(1);
        ar.WriteCount(1);
        ar.WriteObject(&counts);
        ar << FALSE << CString(L"Tools");
    });
    ASSERT_TRUE(m_scratch.SetBytes(Key(L"QMXToolBar-59392"), L"Buttons", REG_BINARY, bytes.data(),
                                   static_cast<DWORD>(bytes.size())));
    m_bar.RemoveButton(0);
    m_bar.LoadState(m_profile.c_str());
    EXPECT_EQ(m_bar.GetCount(), 12);
    EXPECT_EQ(m_bar.GetItemID(0), 32806u);
}

TEST_F(ToolBarStateTest, OptionsWithoutLook2000SwitchItOffAndAMissingSectionChangesNothing) {
    const LPCWSTR lpszProfile = m_profile.c_str();
    CQMXPVisualManager* pManager = CQMXPVisualManager::GetInstance();
    CQMXPToolBar::m_bShowTooltips = FALSE;
    pManager->SetLook2000(TRUE);
    EXPECT_FALSE(CQMXPToolBar::LoadParameters(lpszProfile));
    EXPECT_FALSE(CQMXPToolBar::m_bShowTooltips);
    EXPECT_TRUE(pManager->IsLook2000());

    CQMXPToolBar::m_bShowTooltips = TRUE;
    EXPECT_TRUE(CQMXPToolBar::SaveParameters(lpszProfile));
    const std::wstring section = Key(L"QMXToolbarParameters");
    EXPECT_EQ(m_scratch.GetDword(section, L"ShortcutKeys"), 1u);
    ASSERT_EQ(::RegDeleteKeyValueW(HKEY_CURRENT_USER, section.c_str(), L"Look2000"), ERROR_SUCCESS);
    CQMXPToolBar::m_bShowTooltips = FALSE;
    EXPECT_FALSE(CQMXPToolBar::LoadParameters(lpszProfile));
    EXPECT_TRUE(CQMXPToolBar::m_bShowTooltips);
    EXPECT_FALSE(pManager->IsLook2000());
}

TEST_F(ToolBarStateTest, RemovalKeepsOneSeparatorAndNoneAtTheEnd) {
    // Add Section, Add Subsection, |, Remove Section, |, Up, Down, |, Left, Right, |, Rename
    EXPECT_TRUE(m_bar.RemoveButton(3));
    EXPECT_EQ(Commands(m_bar), (std::vector<UINT>{32806, 32807, 0, 32813, 32814, 0, 32811, 32812, 0, 32835}));
    EXPECT_TRUE(m_bar.RemoveButton(9));
    EXPECT_EQ(Commands(m_bar), (std::vector<UINT>{32806, 32807, 0, 32813, 32814, 0, 32811, 32812}));
    EXPECT_FALSE(m_bar.RemoveButton(8));

    // The window class and the style of the frame's standard tool bar.
    wchar_t szClass[128] = {0};
    ::GetClassNameW(m_bar.m_hWnd, szClass, 128);
    CString strExpected;
    strExpected.Format(L"QMXToolBar:%x:8:%x:10", static_cast<UINT>(reinterpret_cast<UINT_PTR>(AfxGetInstanceHandle())),
                       static_cast<UINT>(reinterpret_cast<UINT_PTR>(::LoadCursorW(nullptr, IDC_ARROW))));
    EXPECT_EQ(CString(szClass), strExpected);
    EXPECT_EQ(m_bar.GetBarStyle() & (QMXP_CBRS_GRIPPER | QMXP_CBRS_HIDE_INPLACE),
              QMXP_CBRS_GRIPPER | QMXP_CBRS_HIDE_INPLACE);
    CQMXPToolBar other;
    ASSERT_TRUE(other.Create(m_pFrame, WS_CHILD | CBRS_TOP, AFX_IDW_TOOLBAR + 1));
    EXPECT_EQ(other.GetBarStyle() & QMXP_CBRS_HIDE_INPLACE, 0u);
    other.DestroyWindow();
}

TEST_F(ToolBarStateTest, TheMenuCacheKeepsOneTemporaryFilePerMenu) {
    const int nBefore = CountCacheFiles();
    const std::vector<UINT> built = Commands(m_bar);
    HMENU hMenu = ::CreateMenu();
    CMenuHash hash;
    EXPECT_TRUE(hash.StoreBarButtons(hMenu, &m_bar));
    EXPECT_TRUE(hash.StoreBarButtons(hMenu, &m_bar));
    EXPECT_EQ(CountCacheFiles(), nBefore + 1);
    for (int i = 0; i < 3; ++i) {
        m_bar.RemoveAllButtons();
        EXPECT_TRUE(hash.RestoreBarButtons(hMenu, &m_bar));
        EXPECT_EQ(Commands(m_bar), built) << i;
    }
    EXPECT_TRUE(hash.RemoveBarButtons(hMenu));
    EXPECT_EQ(CountCacheFiles(), nBefore);
    EXPECT_FALSE(hash.RestoreBarButtons(hMenu, &m_bar));
    EXPECT_FALSE(hash.RemoveBarButtons(hMenu));
    m_bar.RemoveAllButtons();
    EXPECT_FALSE(hash.StoreBarButtons(hMenu, &m_bar));
    ::DestroyMenu(hMenu);
}

}  // namespace
