// The library's global data, the root of every bar and the global docking
// utilities, on bars inside a test frame.
#include "CanvasTestSupport.h"
#include "DockingTestSupport.h"

#include "docking/bars/QMXPBaseControlBar.h"
#include "docking/bars/QMXPGlobalUtils.h"
#include "docking/bars/QMXPLibraryGlobals.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "platform/classlib/Archive.h"
#include "platform/classlib/ControlBar.h"
#include "platform/classlib/MemFile.h"
#include "platform/classlib/PropertySheet.h"
#include "tests/framework/ScratchRegistryKey.h"

#include <gtest/gtest.h>

using namespace docking_test;

namespace {

// A bar that records the styles reported to it.
class CRecordingBar : public CQMXPBaseControlBar {
public:
    void OnChangeBarStyle(DWORD dwNewStyle) override { m_dwReported = dwNewStyle; }
    DWORD m_dwReported = 0;
};

int CALLBACK CountFamily(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM lParam) {
    ++*reinterpret_cast<int*>(lParam);
    return 1;
}

TEST(GlobalDataTest, FontsAndTextHeights) {
    LOGFONTW logFont{};
    {
        // The menu font's face gives way to Tahoma when it is installed, else to MS Sans Serif.
        const CWineFontsScope fonts;
        ASSERT_TRUE(fonts.IsReady());
        ASSERT_NE(globalData.fontRegular.GetLogFont(&logFont), 0);
        EXPECT_STREQ(logFont.lfFaceName, L"Tahoma");
    }
    CClientDC dcScreen(nullptr);
    int nTahoma = 0;
    ::EnumFontFamiliesW(dcScreen.m_hDC, L"Tahoma", CountFamily, reinterpret_cast<LPARAM>(&nTahoma));
    ASSERT_NE(globalData.fontRegular.GetLogFont(&logFont), 0);
    EXPECT_STREQ(logFont.lfFaceName, nTahoma > 0 ? L"Tahoma" : L"MS Sans Serif");
    ASSERT_NE(globalData.fontBold.GetLogFont(&logFont), 0);
    EXPECT_EQ(logFont.lfWeight, FW_BOLD);
    ASSERT_NE(globalData.fontVert.GetLogFont(&logFont), 0);
    EXPECT_EQ(logFont.lfEscapement, 2700);

    const struct {
        CFont* pFont;
        int nHeight;
    } cases[] = {{&globalData.fontRegular, globalData.textHeight}, {&globalData.fontVert, globalData.textHeightVert}};
    for (const auto& c : cases) {
        CClientDC dc(nullptr);
        CFont* pOld = dc.SelectObject(c.pFont);
        TEXTMETRICW tm{};
        dc.GetTextMetrics(&tm);
        dc.SelectObject(pOld);
        EXPECT_EQ(c.nHeight, tm.tmHeight + 2);
    }

    // The library's own cursors and tool icon are in the resources.
    for (UINT nID : {30980u, 30981u, 16919u})
        EXPECT_NE(::LoadCursorW(AfxGetResourceHandle(), MAKEINTRESOURCEW(nID)), nullptr) << nID;
    HICON hIcon = static_cast<HICON>(::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(16931), IMAGE_ICON,
                                                  globalData.GetSmallIconSize().cx, globalData.GetSmallIconSize().cy, 0));
    EXPECT_NE(hIcon, nullptr);
    ::DestroyIcon(hIcon);
}

class BarRootTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_pFrame = MakeFrame(300, 200);
        ASSERT_NE(m_pFrame, nullptr);
        ASSERT_TRUE(m_bar.CreateEx(0, nullptr, L"Bar", WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, CRect(10, 20, 110, 50),
                                   m_pFrame, 59392, QMXP_CBRS_FLOAT | QMXP_CBRS_CLOSE));
    }
    void TearDown() override {
        m_bar.DestroyWindow();
        m_pFrame->DestroyWindow();
        qmxGlobalUtils.m_bDialogApp = FALSE;
    }
    CDockTestFrame* m_pFrame = nullptr;
    CRecordingBar m_bar;
};

TEST_F(BarRootTest, StylesSidesAndPlaces) {
    EXPECT_EQ(m_bar.GetDockSiteFrameWnd(), m_pFrame);
    EXPECT_EQ(QMXFindOwnerFrame(&m_bar), m_pFrame);
    EXPECT_TRUE(m_bar.IsHorizontal());
    EXPECT_TRUE(m_bar.IsDocked());
    EXPECT_TRUE(m_bar.CanFloat());
    EXPECT_TRUE(m_bar.CanBeClosed());
    EXPECT_EQ(m_bar.GetDockingMode(), QMXP_DT_STANDARD);
    m_bar.SetCurrentAlignment(0x4000);
    EXPECT_FALSE(m_bar.IsHorizontal());
    EXPECT_EQ(m_bar.m_dwReported, m_bar.GetBarStyle());
    EXPECT_EQ(m_bar.GetBarStyle(), static_cast<DWORD>(WS_CHILD | WS_VISIBLE | 0x4000));

    const struct {
        BOOL bStretch;
        BOOL bHorz;
        CSize size;
    } layouts[] = {{TRUE, TRUE, CSize(32767, 0)}, {TRUE, FALSE, CSize(0, 32767)}, {FALSE, TRUE, CSize(0, 0)}};
    for (const auto& c : layouts)
        EXPECT_EQ(m_bar.CalcFixedLayout(c.bStretch, c.bHorz), c.size);

    // The alignment and visibility in an archive, OR-ed into the style on loading.
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        m_bar.Serialize(ar);
    }
    EXPECT_EQ(file.GetLength(), 8u);
    file.SeekToBegin();
    CRecordingBar loaded;
    loaded.SetBarStyle(0x0100);
    CArchive ar(&file, CArchive::load);
    loaded.Serialize(ar);
    EXPECT_EQ(loaded.GetBarStyle(), 0x4100u);
    EXPECT_TRUE(loaded.GetRecentVisibleState());

    // A move to the present place leaves the deferred positions alone.
    CRect rect(10, 20, 110, 50);
    HDWP hdwp = ::BeginDeferWindowPos(1);
    EXPECT_EQ(m_bar.MoveWindow(rect, TRUE, hdwp), hdwp);
    ::EndDeferWindowPos(hdwp);
}

TEST_F(BarRootTest, VisibilityIsKeptUnderTheBarsId) {
    const CScratchRegistryKey scratch;
    const std::wstring profile = scratch.Path() + L"\\";
    EXPECT_FALSE(m_bar.LoadState(profile.c_str()));
    EXPECT_TRUE(m_bar.SaveState(profile.c_str()));
    EXPECT_TRUE(m_bar.SaveState(profile.c_str(), static_cast<UINT>(-1), 10));
    m_bar.ShowWindow(SW_HIDE);
    EXPECT_TRUE(m_bar.SaveState(profile.c_str(), 7));
    DWORD dwType = 0;
    std::wstring bytes;
    ASSERT_TRUE(scratch.Get(profile + L"QMXPBaseControlBar-59392", L"IsVisible", dwType, bytes));
    EXPECT_EQ(dwType, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(scratch.GetDword(profile + L"QMXPBaseControlBar-59392a", L"IsVisible"), 1u);
    EXPECT_EQ(scratch.GetDword(profile + L"QMXPBaseControlBar-7", L"IsVisible"), 0u);

    ASSERT_TRUE(m_bar.LoadState(profile.c_str(), static_cast<UINT>(-1), 10));
    EXPECT_TRUE(m_bar.GetRecentVisibleState());
    EXPECT_TRUE(m_bar.IsRestoredFromRegistry());
    // While the library restores a layout, the bar is as visible as it was stored.
    qmxRestoringDockState = TRUE;
    EXPECT_TRUE(m_bar.IsVisible());
    qmxRestoringDockState = FALSE;
    EXPECT_FALSE(m_bar.IsVisible());
}

TEST_F(BarRootTest, ForwardersOfABarWithoutFrameAnswerEarlyOnceDialogsAreMet) {
    CRecordingBar loose;
    DWORD dwAlignment = 0;
    BOOL bOuter = FALSE;
    EXPECT_FALSE(loose.InsertControlBar(&m_bar, nullptr));
    EXPECT_FALSE(loose.IsPointNearDockBar(CPoint(0, 0), dwAlignment, bOuter));
    CPropertySheet sheet;
    EXPECT_EQ(qmxGlobalUtils.GetDockManager(&sheet), nullptr);
    EXPECT_EQ(qmxGlobalUtils.GetDockManager(m_pFrame), nullptr);
    EXPECT_TRUE(qmxGlobalUtils.m_bDialogApp);
    EXPECT_TRUE(loose.InsertControlBar(&m_bar, nullptr));
    EXPECT_TRUE(loose.IsPointNearDockBar(CPoint(0, 0), dwAlignment, bOuter));
    EXPECT_TRUE(loose.RemoveControlBarFromDockManager(&m_bar));
    EXPECT_EQ(loose.ControlBarFromPoint(CPoint(0, 0), 15), nullptr);
}

// While the frame is in context-help mode, a bar leaves keys and clicks to
// the frame's help loop: its owner's accelerators are not offered them.
TEST_F(BarRootTest, InContextHelpModeTheBarPassesMessagesOn) {
    ACCEL key = {FVIRTKEY, VK_F5, ID_DOCKTEST_HANDLED};
    m_pFrame->m_hAccelTable = ::CreateAcceleratorTableW(&key, 1);
    MSG msg = {m_bar.m_hWnd, WM_KEYDOWN, VK_F5, 0};
    for (const BOOL bHelpMode : {FALSE, TRUE, FALSE}) {
        Log().clear();
        m_pFrame->m_bHelpMode = bHelpMode;
        EXPECT_EQ(m_bar.PreTranslateMessage(&msg), !bHelpMode) << bHelpMode;
        EXPECT_EQ(Log(), bHelpMode ? std::vector<std::wstring>{} : std::vector<std::wstring>{L"frame:HANDLED"});
    }
    ::DestroyAcceleratorTable(m_pFrame->m_hAccelTable);
    m_pFrame->m_hAccelTable = nullptr;
}

TEST(GlobalUtilsTest, FlipRectTurnsTheEdges) {
    const struct {
        int nAngle;
        CRect expected;
    } cases[] = {{90, CRect(4, 1, 2, 3)}, {-90, CRect(2, 3, 4, 1)}, {180, CRect(1, 4, 3, 2)}, {0, CRect(1, 2, 3, 4)}};
    for (const auto& c : cases) {
        CRect rect(1, 2, 3, 4);
        qmxGlobalUtils.FlipRect(rect, c.nAngle);
        EXPECT_EQ(rect, c.expected) << c.nAngle;
    }
}

TEST(GlobalUtilsTest, CheckAlignmentTriesTopLeftBottomRight) {
    const CRect rect(100, 100, 200, 150);
    const struct {
        CPoint point;
        BOOL bOuter;
        DWORD dwEnabled;
        BOOL bFound;
        DWORD dwAlignment;
    } cases[] = {
        {CPoint(99, 99), TRUE, 0xF000, TRUE, 0x2000},  // top is tried before left
        {CPoint(99, 99), TRUE, 0x1000, TRUE, 0x1000},
        {CPoint(150, 99), TRUE, 0xD000, FALSE, 0},
        {CPoint(150, 101), TRUE, 0xF000, FALSE, 0},  // inside the bar: no outer strip
        {CPoint(150, 101), FALSE, 0xF000, TRUE, 0x2000},
        {CPoint(150, 165), TRUE, 0xF000, FALSE, 0},  // the strip's bottom edge is outside
        {CPoint(150, 164), TRUE, 0xF000, TRUE, 0x8000},
        {CPoint(205, 120), TRUE, 0xF000, TRUE, 0x4000},
    };
    for (const auto& c : cases) {
        DWORD dwAlignment = 0;
        EXPECT_EQ(qmxGlobalUtils.CheckAlignment(c.point, nullptr, 15, c.bOuter, dwAlignment, c.dwEnabled, &rect),
                  c.bFound)
            << c.point.x << "," << c.point.y;
        EXPECT_EQ(dwAlignment, c.dwAlignment) << c.point.x << "," << c.point.y;
    }
}

}  // namespace
