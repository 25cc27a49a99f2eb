// The split-pane tree and its bars: splitting, laying out a new size,
// collapsing and expanding, and the bars driven by mouse messages.
#include "KWWindowsTestSupport.h"

#include "appwindows/KWSplitManager.h"

#include <gtest/gtest.h>

#include <memory>

using namespace kwwin;

namespace {

// A borderless window of the given client size holding the panes of a tree.
class SplitTree : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(host.CreateEx(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr));
    }
    void TearDown() override
    {
        manager.reset();
        host.DestroyWindow();
        Pump();
    }
    // One pane over the host's width, split; the bar made.
    CKWSplitterIFace* Split(CTestPane& existing, CTestPane& added, bool newAfter, bool vertical, int position,
                            const CRect& start)
    {
        if (!existing.m_hWnd)
            existing.Create(&host, start, 1);
        added.Create(&host, CRect(0, 0, 1, 1), 2);
        if (!manager->GetRoot())
            manager->SetRoot(&existing);
        EXPECT_TRUE(manager->AddItem(&existing, &added, newAfter, vertical, position, &host, 9, false));
        return existing.GetParentSplitter();
    }
    static CRect Bar(CKWSplitterIFace* splitter) { return RectInParent(splitter->GetWnd()->m_hWnd); }
    // Sends a mouse message to the bar at a point of its own client area.
    static void Mouse(CKWSplitterIFace* splitter, UINT message, int x, int y, WPARAM keys = 0)
    {
        splitter->GetWnd()->SendMessage(message, keys, MAKELPARAM(x, y));
    }

    CWnd host;
    std::unique_ptr<CKWSplitManager> manager{new CKWSplitManager};
    CTestPane a;
    CTestPane b;
    CTestPane c;
    CTestPane d;
};

TEST_F(SplitTree, ABarIsCentredOnThePositionBetweenTheTwoParts)
{
    const struct {
        bool vertical;
        bool newAfter;
        CRect existing;
        CRect bar;
        CRect added;
    } cases[] = {
        {true, true, CRect(0, 0, 98, 200), CRect(98, 0, 102, 200), CRect(102, 0, 300, 200)},
        {true, false, CRect(102, 0, 300, 200), CRect(98, 0, 102, 200), CRect(0, 0, 98, 200)},
        {false, true, CRect(0, 0, 300, 58), CRect(0, 58, 300, 62), CRect(0, 62, 300, 200)},
    };
    for (const auto& k : cases) {
        manager.reset(new CKWSplitManager);
        a.DestroyWindow();
        b.DestroyWindow();
        CKWSplitterIFace* splitter = Split(a, b, k.newAfter, k.vertical, k.vertical ? 100 : 60, CRect(0, 0, 300, 200));
        ASSERT_NE(nullptr, splitter);
        EXPECT_EQ(k.existing, a.Place());
        EXPECT_EQ(k.bar, Bar(splitter));
        EXPECT_EQ(k.added, b.Place());
        EXPECT_EQ(splitter, manager->GetRoot());
        EXPECT_EQ(k.newAfter ? static_cast<CKWSplitItem*>(&a) : &b, splitter->GetFirst());
    }
    EXPECT_FALSE(manager->AddItem(&a, nullptr, true, true, 10, &host, 9, false));
}

TEST_F(SplitTree, ANewSizeIsSharedInProportionUnlessASideIsAtZero)
{
    const struct {
        int width;     // of the pane that is split
        int position;  // of the bar's centre
        int newWidth;
        int first;
        int second;
    } cases[] = {
        {154, 102, 304, 200, 100},  // 100 and 50 grow by 100 and 50
        {154, 102, 155, 100, 51},   // 0.666 of a pixel is none
        {104, 2, 204, 0, 196},      // a side at 0 stays; the other changes by the growth less the bar
        {154, 102, 4, 100, 50},     // no room beyond the bar: nothing shrinks
    };
    for (const auto& k : cases) {
        manager.reset(new CKWSplitManager);
        a.DestroyWindow();
        b.DestroyWindow();
        CKWSplitterIFace* splitter = Split(a, b, true, true, k.position, CRect(0, 0, k.width, 200));
        splitter->SetSize(k.newWidth, 200, 0, 0);
        EXPECT_EQ(k.first, a.Place().Width()) << k.width << " to " << k.newWidth;
        EXPECT_EQ(k.second, b.Place().Width()) << k.width << " to " << k.newWidth;
        EXPECT_EQ(a.Place().Width(), Bar(splitter).left);
        EXPECT_EQ(b.Place().left, Bar(splitter).right);
    }
}

TEST_F(SplitTree, NestedBarsOfOneOrientationFillTheNewSize)
{
    // a | (b | c): the inner splitter's extent is its panes', not its bar's.
    Split(a, b, true, true, 100, CRect(0, 0, 300, 200));
    Split(b, c, true, true, 100, CRect());
    Split(c, d, true, false, 50, CRect());  // a horizontal bar below c
    manager->GetRoot()->SetSize(600, 300, 0, 0);
    EXPECT_EQ(CRect(0, 0, 197, 300), a.Place());  // 98 + 98 * 300 / 296
    EXPECT_EQ(201, b.Place().left);
    EXPECT_EQ(600, c.Place().right);
    EXPECT_EQ(600, d.Place().right);
    EXPECT_EQ(300, d.Place().bottom);
    EXPECT_EQ(c.Place().Width(), d.Place().Width());
    EXPECT_EQ(b.Place().right + 4, c.Place().left);
}

TEST_F(SplitTree, CollapsingKeepsTheShareThatExpandingRestores)
{
    CKWSplitterIFace* splitter = Split(a, b, true, true, 100, CRect(0, 0, 300, 200));
    splitter->Collapse(false);
    EXPECT_EQ(4, b.Place().Width());
    EXPECT_EQ(b.Place().left, Bar(splitter).right);
    EXPECT_TRUE(splitter->IsCollapsed());
    splitter->Expand();
    EXPECT_FALSE(splitter->IsCollapsed());
    EXPECT_EQ(98, a.Place().Width());
    EXPECT_EQ(198, b.Place().Width());

    // A side that may not collapse gives way to the other.
    b.SetCollapsible(false);
    splitter->Collapse(false);
    EXPECT_EQ(0, a.Place().Width());
    a.SetCollapsible(false);
    splitter->Expand();
    splitter->Collapse(true);
    EXPECT_EQ(98, a.Place().Width()) << "neither side may collapse";
}

TEST_F(SplitTree, ADraggedBarStopsAtThePaneMinimumAndMovesOnRelease)
{
    CKWSplitterIFace* splitter = Split(a, b, true, true, 100, CRect(0, 0, 300, 200));
    b.SetMinSize(150, 0);
    Mouse(splitter, WM_LBUTTONDOWN, 2, 50, MK_LBUTTON);
    Mouse(splitter, WM_MOUSEMOVE, 42, 50, MK_LBUTTON);   // the right pane keeps 158
    Mouse(splitter, WM_MOUSEMOVE, 102, 50, MK_LBUTTON);  // it would keep 98: refused
    EXPECT_EQ(98, a.Place().Width()) << "nothing moves before the release";
    Mouse(splitter, WM_LBUTTONUP, 102, 50);
    EXPECT_EQ(CRect(138, 0, 142, 200), Bar(splitter));
    EXPECT_EQ(138, a.Place().Width());
    EXPECT_EQ(CRect(142, 0, 300, 200), b.Place());
    EXPECT_EQ(nullptr, ::GetCapture());

    // Without the capture, moves and releases do nothing.
    Mouse(splitter, WM_MOUSEMOVE, 60, 50);
    Mouse(splitter, WM_LBUTTONUP, 60, 50);
    EXPECT_EQ(138, a.Place().Width());
}

TEST_F(SplitTree, ADragNeverCrossesAnEnclosingBarOfItsOrientation)
{
    // a | (b over (c | d)): the innermost bar is vertical, like the outer one.
    CKWSplitterIFace* outer = Split(a, b, true, true, 100, CRect(0, 0, 300, 200));
    Split(b, c, true, false, 60, CRect());
    CKWSplitterIFace* inner = Split(c, d, true, true, 100, CRect());
    const int start = Bar(inner).left;
    Mouse(inner, WM_LBUTTONDOWN, 0, 10, MK_LBUTTON);
    Mouse(inner, WM_MOUSEMOVE, -start, 10, MK_LBUTTON);  // to the host's left edge
    Mouse(inner, WM_LBUTTONUP, -start, 10);
    EXPECT_EQ(Bar(outer).right, Bar(inner).left);
    EXPECT_EQ(0, c.Place().Width());
    EXPECT_EQ(98, a.Place().Width()) << "the outer bar stays";
}

TEST_F(SplitTree, ADragEndingWhereItBeganRepaintsNothing)
{
    CKWSplitterIFace* splitter = Split(a, b, true, true, 100, CRect(0, 0, 300, 200));
    ::RedrawWindow(host.m_hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    Mouse(splitter, WM_LBUTTONDOWN, 2, 50, MK_LBUTTON);
    Mouse(splitter, WM_MOUSEMOVE, 2, 80, MK_LBUTTON);
    Mouse(splitter, WM_LBUTTONUP, 2, 80);
    for (HWND window : {host.m_hWnd, a.m_hWnd, b.m_hWnd})
        EXPECT_FALSE(::GetUpdateRect(window, nullptr, FALSE));
    EXPECT_EQ(98, a.Place().Width());
}

TEST_F(SplitTree, ADoubleClickCollapsesASideAndASecondRestoresIt)
{
    CKWSplitterIFace* splitter = Split(a, b, true, true, 100, CRect(0, 0, 300, 200));
    Mouse(splitter, WM_LBUTTONDBLCLK, 2, 50, MK_LBUTTON | MK_SHIFT);
    EXPECT_EQ(0, a.Place().Width());
    EXPECT_EQ(CRect(4, 0, 300, 200), b.Place());
    Mouse(splitter, WM_LBUTTONDBLCLK, 2, 50, MK_LBUTTON);
    EXPECT_EQ(98, a.Place().Width());
    Mouse(splitter, WM_LBUTTONDBLCLK, 2, 50, MK_LBUTTON);
    EXPECT_EQ(4, b.Place().Width()) << "without Shift the second side collapses";
}

}  // namespace
