// The stored docking layout and the wrapper of plain windows, on a scratch
// registry key: the blob's place and frame, a layout built again in a new
// frame as it was stored, damaged blobs that leave the coded layout alone,
// tab groups keeping one key per tab, and the wrapper's sides, keys, name
// and size.
#include "PaneTestSupport.h"

#include "docking/bars/QMXPAutoHideToolBar.h"
#include "docking/bars/QMXPDockingCBWrapper.h"
#include "docking/bars/QMXPTabbedControlBar.h"
#include "docking/frames/QMXPRegistry.h"
#include "tests/framework/ScratchRegistryKey.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

using namespace docking_test;

namespace {

class LayoutStoreTest : public PaneTest {
protected:
    void SetUp() override {
        PaneTest::SetUp();
        m_profile = (m_scratch.Path() + L"\\").c_str();
        ASSERT_TRUE(m_pFrame->EnableAutoHideBars(0xF000));
    }
    std::wstring LayoutKey() const { return m_scratch.Path() + L"\\QMXPDockManager-" + std::to_wstring(kFrameID); }
    std::vector<BYTE> Blob() const { return RawRegistryValue(LayoutKey(), L"DockingCBAndSliders"); }
    void WriteBlob(const std::vector<BYTE>& blob) const {
        ASSERT_TRUE(m_scratch.SetBytes(LayoutKey(), L"DockingCBAndSliders", REG_BINARY, blob.data(),
                                       static_cast<DWORD>(blob.size())));
    }
    // The panes of the arrangement: two left with a slider between, one at
    // the bottom, a floating pair, a tab pair and one auto-hidden at the right.
    void BuildArrangement() {
        CTestPane* pLeft = DockPane(0xE900, CSize(200, 300), AFX_IDW_DOCKBAR_LEFT);
        CTestPane* pBelow = MakePane(0xE901, CSize(200, 200));
        pBelow->DockToWindow(pLeft, 0x8000);
        DockPane(0xE902, CSize(300, 120), AFX_IDW_DOCKBAR_BOTTOM);
        CTestPane* pFloating = FloatPane(0xE903, CRect(500, 100, 700, 300), QMXP_CBRS_FLOAT_MULTI);
        CTestPane* pFloatingToo = FloatPane(0xE904, CRect(500, 360, 700, 560), QMXP_CBRS_FLOAT_MULTI);
        auto* pMulti = DYNAMIC_DOWNCAST(CQMXPMultiMiniFrameWnd, pFloating->GetParentMiniFrame());
        ASSERT_NE(pMulti, nullptr);
        const CRect rectFloating = Screen(pFloating);
        DragFrameTo(pFloatingToo->GetParentMiniFrame(), CPoint(rectFloating.CenterPoint().x, rectFloating.bottom - 6));
        ASSERT_EQ(pFloatingToo->GetParentMiniFrame(), pMulti);
        CTestPane* pTabbed = DockPane(0xE905, CSize(220, 300), AFX_IDW_DOCKBAR_RIGHT);
        CTestPane* pTab = MakePane(0xE906, CSize(220, 300));
        pTab->AttachToTabWnd(pTabbed, QMXP_DM_RECT, TRUE, nullptr);
        CTestPane* pHidden = DockPane(0xE907, CSize(180, 300), AFX_IDW_DOCKBAR_RIGHT);
        pHidden->SetAutoHideMode(TRUE, 0x4000, nullptr, FALSE);
        m_pFrame->RecalcLayout();
        Pump();
    }
    // Where each pane is and how: its rectangle, floating, visible, auto hidden, tabbed.
    std::map<UINT, std::vector<int>> Snapshot() {
        std::map<UINT, std::vector<int>> result;
        for (UINT nID = 0xE900; nID <= 0xE907; ++nID) {
            auto* pPane = DYNAMIC_DOWNCAST(CQMXPDockingControlBar, Manager().FindBarByID(nID, TRUE));
            if (pPane == nullptr)
                continue;
            const CRect rect = pPane->IsAutoHideMode() ? CRect() : Screen(pPane);
            HWND hWndTab = nullptr;
            result[nID] = {rect.left, rect.top, rect.right, rect.bottom, pPane->IsFloating(),
                           pPane->IsWindowVisible() != FALSE, pPane->IsAutoHideMode(),
                           pPane->GetParentTabWnd(hWndTab) != nullptr};
        }
        return result;
    }
    // The frame of the test closes and a new one makes the panes in their coded places.
    void NewFrameWithCodedPanes() {
        m_pFrame->DestroyWindow();
        Pump();
        m_panes.clear();
        DockLayoutTest::SetUp();
        ASSERT_TRUE(m_pFrame->EnableAutoHideBars(0xF000));
        MakeCodedPanes();
    }
    void MakeCodedPanes() {
        for (UINT nID = 0xE900; nID <= 0xE907; ++nID)
            DockPane(nID, CSize(150, 150), AFX_IDW_DOCKBAR_LEFT);
        m_pFrame->RecalcLayout();
        Pump();
    }
    // A snapshot as the int32 words of a registry value: id, then its eight values, per pane.
    static std::vector<int32_t> Flat(const std::map<UINT, std::vector<int>>& snapshot) {
        std::vector<int32_t> words;
        for (const auto& [nID, state] : snapshot) {
            words.push_back(static_cast<int32_t>(nID));
            words.insert(words.end(), state.begin(), state.end());
        }
        return words;
    }
    int FloatingFrameCount() const {
        int n = 0;
        for (POSITION pos = CQMXPMiniFrameWnd::GetFloatingFrames().GetHeadPosition(); pos != nullptr;)
            n += ::IsWindow(CQMXPMiniFrameWnd::GetFloatingFrames().GetNext(pos)) ? 1 : 0;
        return n;
    }

    static constexpr UINT kFrameID = 5;
    std::vector<std::unique_ptr<CQMXPDockingCBWrapper>> m_wrappers;
    CScratchRegistryKey m_scratch;
    CString m_profile;
};

TEST_F(LayoutStoreTest, TheBlobLiesUnderTheFramesKeyAndEndsWithItsAutoHideCount) {
    CTestPane* pPane = DockPane(0xE900, CSize(200, 300), AFX_IDW_DOCKBAR_LEFT);
    ASSERT_TRUE(Manager().SaveState(m_profile, kFrameID));
    DWORD dwType = 0;
    ASSERT_EQ(::RegGetValueW(HKEY_CURRENT_USER, LayoutKey().c_str(), L"DockingCBAndSliders", RRF_RT_ANY, &dwType,
                             nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(dwType, static_cast<DWORD>(REG_BINARY));
    std::vector<BYTE> blob = Blob();
    ASSERT_GE(blob.size(), 24u);
    auto int32At = [&blob](size_t offset) {
        int32_t n = 0;
        memcpy(&n, blob.data() + offset, 4);
        return n;
    };
    // No tab group, two items stored from the list's tail (the slider with its record, then the pane
    // beside it), no floating frame, no auto-hidden pane.
    EXPECT_EQ(int32At(0), 0);
    EXPECT_EQ(int32At(4), 2);
    EXPECT_EQ(int32At(8), 0);
    EXPECT_EQ(int32At(blob.size() - 16), 1);
    EXPECT_EQ(static_cast<UINT>(int32At(blob.size() - 12)), 0xE900u);
    EXPECT_EQ(int32At(blob.size() - 8), 0);
    EXPECT_EQ(int32At(blob.size() - 4), 0);

    // Auto-hidden, the pane leaves the items; the count is 1 and its record of 11 words ends the blob:
    // id, side, visible, no sibling ids, rectangle, first, last and active in its group.
    pPane->SetAutoHideMode(TRUE, 0x1000, nullptr, FALSE);
    ASSERT_TRUE(Manager().SaveState(m_profile, kFrameID));
    blob = Blob();
    EXPECT_EQ(int32At(blob.size() - 48), 1);
    EXPECT_EQ(static_cast<UINT>(int32At(blob.size() - 44)), 0xE900u);
    EXPECT_EQ(int32At(blob.size() - 40), 0x1000);
    EXPECT_EQ(int32At(blob.size() - 32), 0);
    EXPECT_EQ(int32At(blob.size() - 12), 1);
}

// The second process of the next test: its frame makes the panes in their coded places, loads the
// layout stored under the profile it is given and writes back what it got.
TEST_F(LayoutStoreTest, DISABLED_SecondProcessRestoresTheLayout) {
    wchar_t szProfile[MAX_PATH] = {};
    ASSERT_GT(::GetEnvironmentVariableW(L"OT_LAYOUT_PROFILE", szProfile, MAX_PATH), 0u);
    MakeCodedPanes();
    ASSERT_TRUE(Manager().LoadState(szProfile, kFrameID));
    Manager().ApplyLoadedLayout();
    m_pFrame->RecalcLayout();
    Pump();
    std::vector<int32_t> words = Flat(Snapshot());
    words.push_back(FloatingFrameCount());
    const std::wstring key = std::wstring(szProfile) + L"QMXPDockManager-" + std::to_wstring(kFrameID);
    ASSERT_TRUE(m_scratch.SetBytes(key, L"Restored", REG_BINARY, words.data(),
                                   static_cast<DWORD>(words.size() * sizeof(int32_t))));
}

TEST_F(LayoutStoreTest, ASecondProcessGetsTheStoredArrangementBack) {
    BuildArrangement();
    const std::map<UINT, std::vector<int>> before = Snapshot();
    ASSERT_EQ(before.size(), 8u);
    ASSERT_TRUE(Manager().SaveState(m_profile, kFrameID));
    std::vector<int32_t> expected = Flat(before);
    expected.push_back(FloatingFrameCount());
    m_pFrame->DestroyWindow();
    Pump();

    wchar_t szProgram[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, szProgram, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(szProgram) +
                           L"\" --gtest_also_run_disabled_tests --gtest_filter=LayoutStoreTest.DISABLED_Second*";
    ::SetEnvironmentVariableW(L"OT_LAYOUT_PROFILE", m_profile);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                 &process));
    ::SetEnvironmentVariableW(L"OT_LAYOUT_PROFILE", nullptr);
    EXPECT_EQ(::WaitForSingleObject(process.hProcess, 120000), WAIT_OBJECT_0);
    DWORD dwExit = 1;
    ::GetExitCodeProcess(process.hProcess, &dwExit);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    EXPECT_EQ(dwExit, 0u);
    const std::vector<BYTE> restored = RawRegistryValue(LayoutKey(), L"Restored");
    ASSERT_EQ(restored.size(), expected.size() * sizeof(int32_t));
    std::vector<int32_t> words(expected.size());
    memcpy(words.data(), restored.data(), restored.size());
    for (size_t i = 0; i < words.size(); i += 9)
        EXPECT_EQ(std::vector<int32_t>(words.begin() + i, words.begin() + std::min(i + 9, words.size())),
                  std::vector<int32_t>(expected.begin() + i, expected.begin() + std::min(i + 9, expected.size())));
}

TEST_F(LayoutStoreTest, DamagedBlobsLeaveTheCodedLayout) {
    BuildArrangement();
    ASSERT_TRUE(Manager().SaveState(m_profile, kFrameID));
    const std::vector<BYTE> good = Blob();
    NewFrameWithCodedPanes();
    const std::map<UINT, std::vector<int>> coded = Snapshot();
    const int nFrames = FloatingFrameCount();

    std::vector<BYTE> truncated(good.begin(), good.begin() + good.size() / 2);
    // Cut inside the last record: the floating frames were made already.
    std::vector<BYTE> cutLate(good.begin(), good.end() - 8);
    std::vector<BYTE> garbled = good;
    for (size_t i = 8; i < garbled.size(); i += 7)
        garbled[i] ^= 0x5A;
    // One tab group whose bar is not there with an empty tab record (no tab, none active, bottom), then
    // no item, no floating frame, no auto-hidden pane: read to its end, and refused.
    std::vector<BYTE> unknownGroup = {1, 0, 0, 0, 0x34, 0x12, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF,
                                      0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    // A pane before any slider.
    std::vector<BYTE> paneFirst = {0, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0x00, 0xE9, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    const struct {
        const char* name;
        const std::vector<BYTE>& blob;
    } cases[] = {{"truncated", truncated}, {"cut late", cutLate}, {"garbled", garbled}, {"unknown group", unknownGroup},
                 {"pane first", paneFirst}};
    for (const auto& c : cases) {
        WriteBlob(c.blob);
        EXPECT_FALSE(Manager().LoadState(m_profile, kFrameID)) << c.name;
        EXPECT_TRUE(Manager().IsLoadFailed()) << c.name;
        Manager().ApplyLoadedLayout();
        m_pFrame->RecalcLayout();
        Pump();
        EXPECT_EQ(Snapshot(), coded) << c.name;
        EXPECT_EQ(FloatingFrameCount(), nFrames) << c.name;
        EXPECT_TRUE(Manager().GetLoadedAutoHideRecords().IsEmpty()) << c.name;
    }
}

TEST_F(LayoutStoreTest, AGroupWithoutIdKeepsOneKeyPerTab) {
    CQMXPDockingControlBar* pGroup = GroupOfTwo(0xE900, 0xE901);
    ASSERT_NE(pGroup, nullptr);
    ASSERT_TRUE(pGroup->SaveState(m_profile));
    for (UINT nID : {0xE900u, 0xE901u}) {
        HKEY hKey = nullptr;
        const std::wstring key = m_scratch.Path() + L"\\QMXPControlBar-" + std::to_wstring(nID);
        EXPECT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &hKey), ERROR_SUCCESS) << nID;
        if (hKey != nullptr)
            ::RegCloseKey(hKey);
    }
}

TEST_F(LayoutStoreTest, TheWrapperTakesItsWindowsSidesKeepsItsNameAndFollowsItsSize) {
    auto makeWrapper = [this](CWnd* pWnd, UINT nID) {
        m_wrappers.push_back(std::make_unique<CQMXPDockingCBWrapper>());
        CQMXPDockingCBWrapper* pWrapper = m_wrappers.back().get();
        EXPECT_TRUE(pWrapper->Create(L"Wrapped", m_pFrame, CRect(0, 0, 150, 150), TRUE, nID,
                                     WS_CHILD | WS_VISIBLE | 0x1000));
        pWrapper->SetWrappedWnd(pWnd);
        return pWrapper;
    };
    CWnd plain;
    ASSERT_TRUE(plain.CreateEx(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), m_pFrame, 1));
    CQMXPDockingCBWrapper* pPlain = makeWrapper(&plain, 0xE910);
    EXPECT_EQ(pPlain->GetEnabledAlignment(), 0xF000u);
    CTestPane* pSides = MakePane(0xE911, CSize(100, 100));
    pSides->EnableDocking(0x5000);
    CQMXPDockingCBWrapper* pBarWrapper = makeWrapper(pSides, 0xE912);
    EXPECT_EQ(pBarWrapper->GetEnabledAlignment(), 0x5000u);
    EXPECT_EQ(pSides->GetParent(), pBarWrapper);

    pPlain->SetWindowPos(nullptr, 0, 0, 200, 100 + pPlain->GetCaptionHeight(), SWP_NOZORDER | SWP_NOMOVE);
    CRect rectClient;
    pPlain->GetClientRect(&rectClient);
    CRect rectWrapped;
    plain.GetWindowRect(&rectWrapped);
    pPlain->ScreenToClient(&rectWrapped);
    EXPECT_EQ(rectWrapped, rectClient);
    EXPECT_EQ(rectWrapped.TopLeft(), CPoint(0, 0));

    // Index 3 and no id: "-3"; id 10 after it in hexadecimal: "-3a".
    ASSERT_TRUE(pPlain->SaveState(m_profile, 3));
    ASSERT_TRUE(pPlain->SaveState(m_profile, 3, 10));
    for (const wchar_t* suffix : {L"3", L"3a"}) {
        const std::wstring key = m_scratch.Path() + L"\\QMXPDockingCBWrapper-" + suffix;
        EXPECT_EQ(RawRegistryValue(key, L"BarName").size(), sizeof(L"Wrapped")) << suffix;
    }
    pPlain->SetWindowText(L"Renamed");
    EXPECT_TRUE(pPlain->LoadState(m_profile, 3));
    CString strName;
    pPlain->GetWindowText(strName);
    EXPECT_EQ(strName, L"Wrapped");
    EXPECT_FALSE(pPlain->LoadState(m_profile, 4));
    pPlain->DestroyWindow();
    pBarWrapper->DestroyWindow();
}

}  // namespace
