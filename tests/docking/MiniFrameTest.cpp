// Floating frames of the test frame: their class, borders and hit codes,
// rolling up, leaving a frame empty, refusing a parent without dock
// manager and repainting with a new look; the base tool bar's minimum sizes and the user tools' ids.
#include "CanvasTestSupport.h"
#include "DockLayoutSupport.h"

#include "docking/frames/QMXPUserTool.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "docking/toolbars/QMXPToolbarButton.h"
#include "docking/toolbars/QMXPUserToolsManager.h"
#include "docking/toolbars/QMXPVisualManagerXP.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/Archive.h"
#include "platform/classlib/MemFile.h"

#include <gtest/gtest.h>

#include <regex>

using namespace docking_test;

namespace {

class MiniFrameTest : public DockLayoutTest {
protected:
    // The bar floating in a frame at the rectangle.
    CQMXPMiniFrameWnd* Float(CQMXPControlBar& bar, const CRect& rect) {
        bar.EnableDocking(0xF000);
        bar.FloatControlBar(rect, QMXP_DM_RECT);
        return bar.GetParentMiniFrame();
    }
    CQMXPMiniFrameWnd* Float(CFixedBar& bar, UINT nID, const CRect& rect) {
        if (!bar.Create(nullptr, WS_CHILD | WS_VISIBLE | CBRS_TOP, CRect(CPoint(0, 0), bar.m_size), m_pFrame, nID))
            return nullptr;
        return Float(bar, rect);
    }
};

TEST_F(MiniFrameTest, AToolBarFrameHasThinBordersAndEdgeHitCodesOnly) {
    CQMXPToolBar toolBar;
    ASSERT_TRUE(toolBar.Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xE830));
    for (const wchar_t* name : {L"Cut", L"Copy", L"Paste", L"Delete"})
        toolBar.InsertButton(new CQMXPToolbarButton(ID_DOCKTEST_HANDLED, name, TRUE));
    CQMXPMiniFrameWnd* pFrame = Float(toolBar, CRect(300, 200, 500, 260));
    ASSERT_NE(pFrame, nullptr);
    wchar_t szClass[128] = {};
    ::GetClassNameW(pFrame->m_hWnd, szClass, 128);
    EXPECT_TRUE(std::regex_match(std::wstring(szClass), std::wregex(L"^QMXMiniWrame:[0-9a-f]+:8:[0-9a-f]+:10$")));
    CRect rectBorder;
    pFrame->CalcBorderSize(rectBorder);
    EXPECT_EQ(rectBorder, CRect(3, 3, 3, 3));
    const CRect rect = Screen(pFrame);
    const int yCaption = rect.top + 3 + pFrame->GetCaptionHeight() / 2;
    const struct {
        CPoint pt;
        LRESULT nHit;
    } cases[] = {
        {CPoint(rect.left + 1, rect.top + 1), HTTOP},
        {CPoint(rect.left + 1, rect.top + 40), HTLEFT},
        {CPoint(rect.right - 2, rect.bottom - 2), HTBOTTOM},
        {CPoint(rect.right - 2, rect.top + 40), HTRIGHT},
        {CPoint(rect.left + 20, yCaption), HTCLIENT},
        {CPoint(rect.left + 20, rect.bottom - 5), HTCLIENT},
        {CPoint(rect.left - 1, rect.top), HTNOWHERE},
    };
    for (const auto& c : cases)
        EXPECT_EQ(pFrame->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(c.pt.x, c.pt.y)), c.nHit) << c.nHit;
    EXPECT_EQ(pFrame->HitTest(CPoint(rect.left + 20, yCaption), TRUE), HTCAPTION);
    // Other bars have sizing borders with corners.
    CFixedBar bar(CSize(100, 40));
    CQMXPMiniFrameWnd* pOther = Float(bar, 0xE831, CRect(300, 300, 500, 400));
    ASSERT_NE(pOther, nullptr);
    const CRect rectOther = Screen(pOther);
    EXPECT_EQ(pOther->HitTest(rectOther.TopLeft() + CSize(1, 1), FALSE), HTTOPLEFT);
    EXPECT_EQ(pOther->HitTest(CPoint(rectOther.right - 1, rectOther.bottom - 1), FALSE), HTBOTTOMRIGHT);
}

TEST_F(MiniFrameTest, ARollUpBarRollsUpUnlessPinnedAndIsStoredFullHeight) {
    CFixedBar rolling(CSize(100, 40));
    CFixedBar pinned(CSize(100, 40));
    for (CFixedBar* pBar : {&rolling, &pinned})
        pBar->SetBarStyle(0x10);
    CCursorAt cursor(CPoint(900, 700));
    CQMXPMiniFrameWnd* pFrame = Float(rolling, 0xE831, CRect(300, 200, 500, 300));
    CQMXPMiniFrameWnd* pPinned = Float(pinned, 0xE832, CRect(300, 350, 500, 450));
    ASSERT_NE(pPinned, nullptr);
    pPinned->Pin(TRUE);
    EXPECT_TRUE(classlib_test::PumpUntil([&] { return pFrame->IsRolledUp() != FALSE; }, 2 * 250 + 100));
    CRect rectWindow = Screen(pFrame);
    CRect rectClient;
    pFrame->GetClientRect(&rectClient);
    EXPECT_EQ(rectClient.Height(), 0);
    EXPECT_FALSE(pPinned->IsRolledUp());
    EXPECT_EQ(Screen(pPinned).Height(), 100);

    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        pFrame->Serialize(ar);
    }
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    DWORD dwStyle = 0;
    LONG edges[4] = {};
    ar >> dwStyle >> edges[0] >> edges[1] >> edges[2] >> edges[3];
    EXPECT_EQ(CRect(edges[0], edges[1], edges[2], edges[3]), CRect(rectWindow.TopLeft(), CSize(200, 100)));
}

TEST_F(MiniFrameTest, AMainFrameHidesItsFloatingToolBarsWhileInactive) {
    CQMXPToolBar toolBar;
    ASSERT_TRUE(toolBar.Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xE830));
    toolBar.InsertButton(new CQMXPToolbarButton(ID_DOCKTEST_HANDLED, L"Cut", TRUE));
    CQMXPMiniFrameWnd* pToolFrame = Float(toolBar, CRect(300, 200, 500, 260));
    CFixedBar bar(CSize(100, 40));
    CQMXPMiniFrameWnd* pBarFrame = Float(bar, 0xE831, CRect(300, 300, 500, 400));
    ASSERT_NE(pBarFrame, nullptr);
    EXPECT_EQ(Manager().GetFloatingFrames().GetCount(), 2);
    EXPECT_EQ(m_pFrame->GetControlBar(0xE830), &toolBar);
    m_pFrame->SendMessage(WM_ACTIVATEAPP, FALSE, 0);
    EXPECT_FALSE(pToolFrame->IsWindowVisible());
    EXPECT_TRUE(pBarFrame->IsWindowVisible());
    m_pFrame->SendMessage(WM_ACTIVATEAPP, TRUE, 0);
    EXPECT_TRUE(pToolFrame->IsWindowVisible());
}

TEST_F(MiniFrameTest, AFrameLeftEmptyGoesWithItsPostedCheck) {
    for (BOOL bHideWhenEmpty : {FALSE, TRUE}) {
        CFixedBar bar(CSize(100, 40));
        CQMXPMiniFrameWnd* pFrame = Float(bar, 0xE831, CRect(300, 200, 500, 300));
        ASSERT_NE(pFrame, nullptr);
        const HWND hFrame = pFrame->m_hWnd;
        bar.SetParent(m_pFrame);
        pFrame->RemoveControlBar(&bar, FALSE, bHideWhenEmpty);
        EXPECT_TRUE(::IsWindow(hFrame));
        EXPECT_EQ(pFrame->GetControlBarCount(), 0);
        Pump();
        EXPECT_EQ(::IsWindow(hFrame), bHideWhenEmpty);
        if (bHideWhenEmpty) {
            EXPECT_FALSE(::IsWindowVisible(hFrame));
            ::DestroyWindow(hFrame);
        }
    }
}

// A bar that logs the floating frames that take it out.
class CLeavingBar : public CFixedBar {
public:
    CLeavingBar() : CFixedBar(CSize(100, 40)) {}
    void OnRemoveFromMiniFrame(CQMXPMiniFrameWnd* pMiniFrame) override { m_left.push_back(pMiniFrame); }
    std::vector<CQMXPMiniFrameWnd*> m_left;
};

// A floating frame that takes its bar out tells the bar, whether the bar
// docks back or is simply taken out.
TEST_F(MiniFrameTest, ABarIsToldWhenItsFrameTakesItOut) {
    CLeavingBar bar;
    CQMXPMiniFrameWnd* pFrame = Float(bar, 0xE832, CRect(300, 200, 500, 300));
    ASSERT_NE(pFrame, nullptr);
    EXPECT_TRUE(bar.m_left.empty());
    ASSERT_TRUE(bar.DockControlBar(DockBar(0x2000), nullptr, QMXP_DM_DBL_CLICK));
    EXPECT_EQ(bar.m_left, std::vector<CQMXPMiniFrameWnd*>{pFrame});
    Pump();

    CLeavingBar other;
    pFrame = Float(other, 0xE833, CRect(300, 200, 500, 300));
    ASSERT_NE(pFrame, nullptr);
    other.SetParent(m_pFrame);
    pFrame->RemoveControlBar(&other, TRUE, FALSE);
    EXPECT_EQ(other.m_left, std::vector<CQMXPMiniFrameWnd*>{pFrame});
}

struct CCountedMiniFrame : CQMXPMiniFrameWnd {
    static inline int s_deleted = 0;
    ~CCountedMiniFrame() override { ++s_deleted; }
};

TEST_F(MiniFrameTest, AFrameWithoutDockManagerIsRefusedBeforeItsWindowIsMade) {
    CDockTestFrame* pPlain = MakeFrame(300, 200);
    ASSERT_NE(pPlain, nullptr);
    auto* pFrame = new CCountedMiniFrame;
    EXPECT_FALSE(pFrame->Create(nullptr, WS_POPUP, CRect(0, 0, 100, 100), pPlain));
    // Gone as every frame whose creation failed: its maker has nothing to delete.
    EXPECT_EQ(1, CCountedMiniFrame::s_deleted);
    pPlain->DestroyWindow();
}

TEST_F(MiniFrameTest, ToolBarsKeepTheirMinimumSizes) {
    CQMXPToolBar top;
    CQMXPToolBar left;
    ASSERT_TRUE(top.Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xE830));
    ASSERT_TRUE(left.Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xE831));
    left.EnableDocking(0xF000);
    m_pFrame->DockControlBar(&left, AFX_IDW_DOCKBAR_LEFT);
    for (const auto& c : {std::make_pair(&top, CSize(40, 16)), std::make_pair(&left, CSize(16, 40))}) {
        CSize size;
        c.first->GetMinSize(size);
        EXPECT_EQ(size, c.second);
    }
    EXPECT_EQ(top.GetDockingMode(), QMXP_DT_IMMEDIATE);

    // Resized below its minimum, a bar keeps the edge that did not move.
    top.CWnd::MoveWindow(100, 100, 100, 22);
    const CRect rectOld = Screen(&top);
    const struct {
        CRect rect;
        CRect expected;
    } cases[] = {
        {CRect(rectOld.right - 10, rectOld.top, rectOld.right, rectOld.bottom),
         CRect(rectOld.right - 40, rectOld.top, rectOld.right, rectOld.bottom)},
        {CRect(rectOld.left, rectOld.top, rectOld.left + 60, rectOld.top + 5),
         CRect(rectOld.left, rectOld.top, rectOld.left + 60, rectOld.top + 16)},
    };
    for (const auto& c : cases) {
        const CRect rectBefore = Screen(&top);
        EXPECT_EQ(top.ResizeBar(c.rect), c.expected.Size() - rectBefore.Size());
        EXPECT_EQ(Screen(&top), c.expected);
    }
}

TEST_F(MiniFrameTest, AFloatingToolBarsFrameTakesANewLookAtOnce) {
    CQMXPToolBar toolBar;
    ASSERT_TRUE(toolBar.Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xE830));
    for (const wchar_t* name : {L"Cut", L"Copy"})
        toolBar.InsertButton(new CQMXPToolbarButton(ID_DOCKTEST_HANDLED, name, TRUE));
    CQMXPMiniFrameWnd* pFrame = Float(toolBar, CRect(300, 200, 500, 260));
    ASSERT_NE(pFrame, nullptr);
    CRect rectCaption;
    pFrame->GetCaptionRect(rectCaption);
    const CPoint ptCaption(rectCaption.left + 4, rectCaption.CenterPoint().y);
    // What the frame's window shows at the caption point, as it is now.
    auto shown = [&] {
        CWindowDC dc(pFrame);
        return dc.GetPixel(ptCaption);
    };
    // What a look paints there.
    auto painted = [&] {
        CCanvas canvas(rectCaption.right + 4, rectCaption.bottom + 4);
        CQMXPVisualManager::GetInstance()->OnFillMiniFrameCaption(&canvas.DC(), rectCaption, pFrame, TRUE);
        return canvas.At(ptCaption.x, ptCaption.y);
    };
    CQMXPVisualManager::SelectManagerClass(nullptr);
    Pump();
    const COLORREF clrClassic = painted();
    ASSERT_EQ(shown(), clrClassic);
    // Switching the look repaints the floating frame with no message pumped.
    CQMXPVisualManager::SelectManagerClass(RUNTIME_CLASS(CQMXPVisualManagerXP));
    EXPECT_EQ(shown(), painted());
    EXPECT_NE(shown(), clrClassic);
    CQMXPVisualManager::SelectManagerClass(nullptr);
    EXPECT_EQ(shown(), clrClassic);
}

TEST(UserToolsTest, ToolsTakeTheFreeIdsOfTheirRange) {
    CQMXPUserToolsManager manager(90, 100, 102);
    CQMXPUserTool* pTools[3] = {manager.AddNewTool(), manager.AddNewTool(), manager.AddNewTool()};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(pTools[i]->m_uiCmdId, 100u + static_cast<UINT>(i));
    EXPECT_EQ(manager.AddNewTool(), nullptr);
    EXPECT_FALSE(manager.ShiftToolUp(pTools[0]));
    EXPECT_TRUE(manager.ShiftToolDown(pTools[0]));
    EXPECT_EQ(manager.GetUserTools().GetHead(), pTools[1]);
    EXPECT_FALSE(manager.RunTool(103));

    // Deleting a tool takes every button of its command off the live tool bars.
    CDockTestApp app;
    CDockTestFrame* pFrame = MakeFrame(200, 100);
    ASSERT_NE(pFrame, nullptr);
    CQMXPToolBar toolBar;
    ASSERT_TRUE(toolBar.Create(pFrame));
    toolBar.InsertButton(new CQMXPToolbarButton(101, L"One"));
    toolBar.InsertButton(new CQMXPToolbarButton(100, L"Other"));
    toolBar.InsertButton(new CQMXPToolbarButton(101, L"Two"));
    EXPECT_TRUE(manager.DeleteTool(pTools[1]));
    EXPECT_FALSE(manager.DeleteTool(pTools[1]));
    EXPECT_EQ(toolBar.GetCount(), 1);
    EXPECT_EQ(manager.LookupTool(101), nullptr);
    CQMXPUserTool* pNew = manager.AddNewTool();
    ASSERT_NE(pNew, nullptr);
    EXPECT_EQ(pNew->m_uiCmdId, 101u);
    EXPECT_EQ(manager.LookupTool(101), pNew);
    EXPECT_FALSE(pNew->Invoke());
    pFrame->DestroyWindow();
    Pump();
}

}  // namespace

// The owner drives a floating frame with WM_FLOATSTATUS: it shows, hides,
// enables and disables it, and the frame says it keeps its caption in step.
TEST_F(MiniFrameTest, FloatStatusShowsHidesAndEnablesTheFrame) {
    CFixedBar bar(CSize(120, 30));
    CQMXPMiniFrameWnd* pFrame = Float(bar, 0xE831, CRect(300, 200, 450, 260));
    ASSERT_NE(pFrame, nullptr);
    EXPECT_NE(pFrame->GetStyle() & QMXP_MINIFRAME_SYNCACTIVE, 0u);
    const struct {
        WPARAM wParam;
        bool bVisible;
        bool bEnabled;
        LRESULT lResult;
    } cases[] = {{0x02, false, true, 0},  // hide
                 {0x01, true, true, 0},   // show
                 {0x20, true, false, 0},  // disable
                 {0x10, true, true, 0},   // enable
                 {0x44, true, true, 1}};  // active look, asking whether it keeps in step
    for (const auto& c : cases) {
        EXPECT_EQ(pFrame->SendMessage(WM_FLOATSTATUS, c.wParam), c.lResult) << c.wParam;
        EXPECT_EQ(pFrame->IsWindowVisible() != FALSE, c.bVisible) << c.wParam;
        EXPECT_EQ(pFrame->IsWindowEnabled() != FALSE, c.bEnabled) << c.wParam;
        EXPECT_NE(pFrame->GetStyle() & QMXP_MINIFRAME_SYNCACTIVE, 0u) << c.wParam;
    }
}
