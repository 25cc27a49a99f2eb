// Tab windows in the test frame, driven by calls and messages: inserting,
// removing and hiding tabs and which tab is active then, the tab record of
// a stored layout and its restoring, the scrolled and the crowded tab row,
// the keyboard round the tabs, a parent that refuses a change; pictures of
// three looks and of the XP look.
#include "CanvasTestSupport.h"
#include "DockLayoutSupport.h"

#include "docking/bars/QMXPLibraryGlobals.h"
#include "docking/bars/QMXPTabWnd.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPVisualManagerXP.h"
#include "platform/classlib/Archive.h"
#include "platform/classlib/MemFile.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace docking_test;

namespace {

// The parent of the tab window: counts the tab messages and may refuse a change.
class CTabParent : public CWnd {
public:
    int m_nChanged = 0;
    BOOL m_bRefuse = FALSE;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == QMXM_ONCHANGE_ACTIVE_TAB)
            ++m_nChanged;
        if (message == QMXM_ON_CHANGING_ACTIVE_TAB)
            return m_bRefuse;
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class TabWndTest : public DockLayoutTest {
protected:
    void SetUp() override {
        DockLayoutTest::SetUp();
        ASSERT_TRUE(m_parent.CreateEx(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 400, 300), m_pFrame, 1));
    }
    void TearDown() override {
        m_tabs.reset();
        m_parent.DestroyWindow();
        m_pages.clear();
        DockLayoutTest::TearDown();
    }
    CQMXPTabWnd& MakeTabs(int style, int cx, int nTabs, const wchar_t* lpszLabel = L"Tab",
                          int location = QMXP_LOCATION_BOTTOM) {
        m_tabs = std::make_unique<CQMXPTabWnd>();
        EXPECT_TRUE(m_tabs->Create(style, CRect(0, 0, cx, 200), &m_parent, 7, location));
        for (int i = 0; i < nTabs; ++i) {
            CString strLabel;
            strLabel.Format(L"%s %d", lpszLabel, i);
            m_tabs->AddTab(NewPage(100 + i), strLabel);
        }
        return *m_tabs;
    }
    CWnd* NewPage(UINT nID) {
        m_pages.push_back(std::make_unique<CWnd>());
        m_pages.back()->CreateEx(0, L"STATIC", L"", WS_CHILD, CRect(0, 0, 10, 10), &m_parent, nID);
        return m_pages.back().get();
    }
    void KeyDown(UINT nKey) {
        MSG msg{m_tabs->m_hWnd, WM_KEYDOWN, nKey, 0, 0, {0, 0}};
        m_tabs->PreTranslateMessage(&msg);
    }

    CTabParent m_parent;
    std::unique_ptr<CQMXPTabWnd> m_tabs;
    std::vector<std::unique_ptr<CWnd>> m_pages;
};

TEST_F(TabWndTest, InsertingRemovingAndHidingKeepTheActiveTabAndTheToolIds) {
    CQMXPTabWnd& tabs = MakeTabs(QMXP_STYLE_FLAT, 400, 2);
    // Past the end, or -1, appends.
    tabs.InsertTab(NewPage(200), L"Last", -1);
    tabs.InsertTab(NewPage(201), L"After", 99);
    ASSERT_EQ(tabs.GetTabsNum(), 4);
    CString strLabel;
    tabs.GetTabLabel(2, strLabel);
    EXPECT_EQ(strLabel, L"Last");
    tabs.GetTabLabel(3, strLabel);
    EXPECT_EQ(strLabel, L"After");
    EXPECT_EQ(tabs.GetTabFromID(201), 3);

    // The active tab hides: the next visible one to its right takes over, else the nearest to its left.
    struct Case {
        int iActive;
        std::vector<int> hidden;
        int iExpected;
    };
    for (const Case& c : {Case{1, {}, 2}, Case{1, {2}, 3}, Case{3, {}, 2}, Case{3, {2}, 1}}) {
        for (int i = 0; i < 4; ++i)
            tabs.ShowTab(i, TRUE);
        for (int i : c.hidden)
            tabs.ShowTab(i, FALSE);
        tabs.SetActiveTab(c.iActive);
        const int nChanged = m_parent.m_nChanged;
        tabs.ShowTab(c.iActive, FALSE);
        EXPECT_EQ(tabs.GetActiveTab(), c.iExpected) << c.iActive;
        EXPECT_GT(m_parent.m_nChanged, nChanged);
    }
    for (int i = 0; i < 4; ++i)
        tabs.ShowTab(i, TRUE);

    // Removed without a new layout, no tab is active.
    tabs.SetActiveTab(1);
    EXPECT_TRUE(tabs.RemoveTab(1, FALSE));
    EXPECT_EQ(tabs.GetActiveTab(), -1);
    while (tabs.GetTabsNum() > 1)
        tabs.RemoveTab(0);
    EXPECT_GT(tabs.GetNextTabID(), 1);
    tabs.RemoveTab(0);
    EXPECT_EQ(tabs.GetNextTabID(), 1);
}

TEST_F(TabWndTest, TheTabRecordKeepsItsFieldsInOrderAndIsAppliedBack) {
    CQMXPTabWnd& tabs = MakeTabs(QMXP_STYLE_FLAT, 400, 3);
    tabs.ShowTab(1, FALSE);
    tabs.EnableTabDetach(2, FALSE);
    tabs.SetTabBkColor(0, RGB(1, 2, 3));
    tabs.SetTabTextColor(1, RGB(4, 5, 6));
    tabs.SetActiveTab(2);
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        tabs.Serialize(ar);
        ar.Close();
    }
    const ULONGLONG nLength = file.GetLength();
    std::vector<BYTE> bytes(static_cast<size_t>(nLength));
    file.SeekToBegin();
    file.Read(bytes.data(), static_cast<UINT>(nLength));
    auto int32At = [&bytes](size_t offset) {
        int32_t n = 0;
        memcpy(&n, bytes.data() + offset, 4);
        return n;
    };
    // Count, then per tab: label (as the archive writes a string), visible, id,
    // detachable, text and background colour; then active tab and location.
    EXPECT_EQ(int32At(0), 3);
    size_t offset = 4;
    const struct {
        BOOL bVisible;
        UINT nID;
        COLORREF clrText;
        COLORREF clrBk;
    } expected[] = {{TRUE, 100, 0xFFFFFFFF, RGB(1, 2, 3)}, {FALSE, 101, RGB(4, 5, 6), 0xFFFFFFFF},
                    {TRUE, 102, 0xFFFFFFFF, 0xFFFFFFFF}};
    int iTab = 0;
    for (const auto& tab : expected) {
        // A Unicode string: 0xFF, 0xFFFE, 0xFF, then its length and characters.
        ASSERT_EQ(bytes[offset], 0xFF);
        const size_t nChars = bytes[offset + 3];
        offset += 4 + 2 * nChars;
        EXPECT_EQ(int32At(offset), tab.bVisible);
        EXPECT_EQ(static_cast<UINT>(int32At(offset + 4)), tab.nID);
        EXPECT_EQ(int32At(offset + 8), tabs.IsTabDetachable(iTab++));
        EXPECT_EQ(static_cast<COLORREF>(int32At(offset + 12)), tab.clrText);
        EXPECT_EQ(static_cast<COLORREF>(int32At(offset + 16)), tab.clrBk);
        offset += 20;
    }
    EXPECT_EQ(int32At(offset), 2);
    EXPECT_EQ(int32At(offset + 4), QMXP_LOCATION_BOTTOM);
    EXPECT_EQ(offset + 8, bytes.size());

    // Read into a tab window whose tabs lie the other way round; only a reordering apply moves them.
    for (BOOL bReorder : {FALSE, TRUE}) {
        CQMXPTabWnd other;
        ASSERT_TRUE(other.Create(QMXP_STYLE_FLAT, CRect(0, 0, 400, 200), &m_parent, 8));
        for (int i = 2; i >= 0; --i)
            other.AddTab(NewPage(100 + i), L"x");
        file.SeekToBegin();
        CArchive ar(&file, CArchive::load);
        other.Serialize(ar);
        other.ApplyRestoredTabs(bReorder);
        EXPECT_EQ(other.GetTabWnd(0)->GetDlgCtrlID(), bReorder ? 100 : 102);
        EXPECT_FALSE(other.IsTabVisible(other.GetTabFromID(101)));
        EXPECT_EQ(other.GetTabTextColor(other.GetTabFromID(101)), RGB(4, 5, 6));
        EXPECT_EQ(other.GetTabWnd(other.GetActiveTab())->GetDlgCtrlID(), bReorder ? 102 : 100);
        other.RemoveAllTabs();
        other.DestroyWindow();
    }
}

TEST_F(TabWndTest, ARestoredActiveTabThatIsGoneActivatesTheFirst) {
    CQMXPTabWnd& tabs = MakeTabs(QMXP_STYLE_FLAT, 400, 3);
    tabs.SetActiveTab(2);
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        tabs.Serialize(ar);
    }
    tabs.RemoveTab(2);
    tabs.SetActiveTab(1);
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    tabs.Serialize(ar);
    tabs.ApplyRestoredTabs(FALSE);
    EXPECT_EQ(tabs.GetActiveTab(), 0);
}

TEST_F(TabWndTest, TheScrolledRowMovesTwentyPixelsAPressAndNeverPastItsEnd) {
    CQMXPTabWnd& tabs = MakeTabs(QMXP_STYLE_FLAT, 200, 8, L"Picture folder");
    const int nMax = tabs.GetTabsOffsetMax();
    ASSERT_GT(nMax, 40);
    EXPECT_EQ(nMax, tabs.GetTabsTotalWidth() - tabs.GetTabsAreaRect().Width());
    auto press = [&tabs](CQMXPButton& button) {
        tabs.SendMessage(WM_COMMAND, MAKEWPARAM(button.GetDlgCtrlID(), BN_CLICKED),
                         reinterpret_cast<LPARAM>(button.m_hWnd));
    };
    press(tabs.GetScrollRightButton());
    EXPECT_EQ(tabs.GetTabsOffset(), 20);
    press(tabs.GetScrollRightButton());
    EXPECT_EQ(tabs.GetTabsOffset(), 40);
    press(tabs.GetScrollLeftButton());
    EXPECT_EQ(tabs.GetTabsOffset(), 20);
    press(tabs.GetScrollLastButton());
    EXPECT_EQ(tabs.GetTabsOffset(), nMax);
    press(tabs.GetScrollRightButton());
    EXPECT_EQ(tabs.GetTabsOffset(), nMax);
    press(tabs.GetScrollFirstButton());
    EXPECT_EQ(tabs.GetTabsOffset(), 0);
    // No button is wider than the row allows, even in a row of almost no height.
    for (int nHeight : {30, 12, 4, 2, 0})
        EXPECT_GE(tabs.GetButtonSize(nHeight), 0) << nHeight;
    EXPECT_EQ(tabs.GetButtonSize(8), 4);
}

TEST_F(TabWndTest, ACrowdedRowKeepsNarrowTabsAndGivesCutLabelsTips) {
    CQMXPTabWnd& tabs = MakeTabs(QMXP_STYLE_3D, 240, 0);
    tabs.AddTab(NewPage(100), L"A");
    for (int i = 1; i < 5; ++i)
        tabs.AddTab(NewPage(100 + i), L"A rather long folder name");
    const int nAverage = tabs.GetTabsAreaRect().Width() / 5;
    CRect rectNarrow;
    tabs.GetTabRect(0, rectNarrow);
    CRect rectWide;
    tabs.GetTabRect(1, rectWide);
    EXPECT_LT(rectNarrow.Width(), nAverage);
    EXPECT_EQ(rectNarrow.Width(), tabs.GetTabInfo(0)->m_nFullWidth);
    EXPECT_GT(rectWide.Width(), nAverage);
    EXPECT_LE(rectWide.right, tabs.GetTabsAreaRect().right);
    // Only the cut labels have a tip area.
    for (int i = 0; i < 5; ++i) {
        TOOLINFOW info{};
        info.cbSize = TTTOOLINFOW_V2_SIZE;
        info.hwnd = tabs.m_hWnd;
        info.uId = static_cast<UINT_PTR>(tabs.GetTabInfo(i)->m_iTabID);
        ASSERT_TRUE(tabs.GetToolTip().SendMessage(TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info)));
        EXPECT_EQ(::IsRectEmpty(&info.rect) != FALSE, i == 0) << i;
    }
}

TEST_F(TabWndTest, CtrlPageDownWrapsOverHiddenTabsAndASingleTabCanHideTheRow) {
    CQMXPTabWnd& tabs = MakeTabs(QMXP_STYLE_FLAT, 400, 4);
    tabs.ShowTab(0, FALSE);
    tabs.ShowTab(3, FALSE);
    tabs.SetActiveTab(2);
    {
        CCtrlDown ctrl;
        KeyDown(VK_NEXT);
        EXPECT_EQ(tabs.GetActiveTab(), 1);
        KeyDown(VK_PRIOR);
        EXPECT_EQ(tabs.GetActiveTab(), 2);
    }
    EXPECT_GT(tabs.GetTabsHeight(), 0);
    tabs.ShowTab(1, FALSE);
    tabs.HideSingleTab(TRUE);
    EXPECT_EQ(tabs.GetTabsHeight(), 0);
    tabs.ShowTab(1, TRUE);
    EXPECT_GT(tabs.GetTabsHeight(), 0);

    // A parent that refuses the change keeps the old tab; the call still succeeds.
    m_parent.m_bRefuse = TRUE;
    EXPECT_TRUE(tabs.SetActiveTab(1));
    EXPECT_EQ(tabs.GetActiveTab(), 2);
}

TEST_F(TabWndTest, PicturesOfThreeLooks) {
    for (int style : {QMXP_STYLE_3D, QMXP_STYLE_FLAT, QMXP_STYLE_3D_SCROLLED}) {
        CQMXPTabWnd& tabs = MakeTabs(style, 300, 6, L"Folder");
        tabs.SetActiveTab(1);
        tabs.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump();
        CRect rect;
        tabs.GetWindowRect(&rect);
        wchar_t szName[40];
        swprintf(szName, 40, L"docking_tabs_style%d", style);
        EXPECT_TRUE(SaveScreen(rect, szName));
        tabs.RemoveAllTabs();
    }
}

COLORREF ScreenPixel(CWnd& wnd, int x, int y) {
    CPoint pt(x, y);
    wnd.ClientToScreen(&pt);
    HDC hdc = ::GetDC(nullptr);
    const COLORREF clr = ::GetPixel(hdc, pt.x, pt.y);
    ::ReleaseDC(nullptr, hdc);
    return clr;
}

TEST_F(TabWndTest, TheXPLookDrawsFlatTabsWithSeparatorsOnTheTabBackground) {
    CQMXPVisualManager::SelectManagerClass(RUNTIME_CLASS(CQMXPVisualManagerXP));
    auto* pManager = static_cast<CQMXPVisualManagerXP*>(CQMXPVisualManager::GetInstance());
    for (int location : {QMXP_LOCATION_BOTTOM, QMXP_LOCATION_TOP}) {
        CQMXPTabWnd& tabs = MakeTabs(QMXP_STYLE_3D, 380, 4, L"Page", location);
        tabs.SetActiveTab(1);
        tabs.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump();
        CRect rectActive, rectNext, rectLast;
        ASSERT_TRUE(tabs.GetTabRect(1, rectActive));
        ASSERT_TRUE(tabs.GetTabRect(2, rectNext));
        ASSERT_TRUE(tabs.GetTabRect(3, rectLast));
        const int y = rectNext.CenterPoint().y;
        EXPECT_EQ(ScreenPixel(tabs, rectLast.right + 8, y), pManager->clrTabBack) << location;
        EXPECT_EQ(ScreenPixel(tabs, rectActive.left + 3, y), globalData.clrBtnFace) << location;
        EXPECT_EQ(ScreenPixel(tabs, rectNext.right, y), globalData.clrBtnShadow) << location;
        // Only the last tab has no separator after it.
        EXPECT_EQ(ScreenPixel(tabs, rectLast.right, y), pManager->clrTabBack) << location;
        CRect rect;
        tabs.GetWindowRect(&rect);
        if (location == QMXP_LOCATION_TOP)
            EXPECT_TRUE(SaveScreen(rect, L"docking_tabs_xp"));
        tabs.RemoveAllTabs();
    }
    CQMXPVisualManager::SelectManagerClass(nullptr);
}

}  // namespace
