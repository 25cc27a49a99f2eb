// Bar containers and their manager on panes placed by hand in the test
// frame: shares when a node grows or shrinks, repaired and zero-sized
// shares, slider drags against minimum sizes, node records, insertion
// beside a pane, slider ids and the hit test.
#include "PaneTestSupport.h"

#include "platform/classlib/Exception.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace docking_test;

namespace {

class BarContainerTest : public PaneTest {
protected:
    void SetUp() override {
        PaneTest::SetUp();
        m_manager.Create(m_pFrame, nullptr);
    }
    CTestPane* PaneAt(UINT nID, const CRect& rect, CSize sizeMin = CSize(1, 1)) {
        CTestPane* pPane = MakePane(nID, CSize(10, 10), 0, QMXP_CBRS_FLOAT | QMXP_CBRS_CLOSE, sizeMin);
        pPane->CWnd::MoveWindow(rect);
        return pPane;
    }
    // Two panes with a slider between them, held in the manager's tree.
    CQMXPBarContainer* Node(CTestPane* pFirst, CTestPane* pSecond, DWORD dwSliderStyle, const CRect& rectSlider) {
        CQMXPBarContainer* pNode =
            m_manager.NewContainer(pFirst, pSecond, m_manager.CreateSlider(rectSlider, dwSliderStyle));
        m_manager.GetRootContainer()->SetContainer(pNode, TRUE);
        return pNode;
    }
    static UINT Field(const std::vector<BYTE>& bytes, size_t nIndex) {
        UINT n = 0;
        std::memcpy(&n, &bytes[4 * nIndex], 4);
        return n;
    }

    CQMXPBarContainerManager m_manager;
};

TEST_F(BarContainerTest, ANodeGrowingOrShrinkingDividesTheChangeByTheShares) {
    // Stacked: 100 of 204 pixels is 49.02 %, so the first pane gets
    // trunc(50.98) of 100 more pixels and gives up trunc(49.02) of 100.
    // Side by side: 60 of 200 is 30 %: +70 for +100, -30 for -100.
    const struct {
        DWORD dwStyle;
        int nFirst;
        int nSecond;
        int nNew;
        int nFirstAfter;
    } cases[] = {
        {QMXP_SS_HORZ, 100, 100, 304, 150}, {QMXP_SS_HORZ, 100, 100, 104, 51},
        {QMXP_SS_VERT, 60, 136, 300, 130},  {QMXP_SS_VERT, 60, 136, 100, 30},
    };
    UINT nID = 0xE900;
    for (const auto& c : cases) {
        const BOOL bHorz = c.dwStyle == QMXP_SS_HORZ;
        auto band = [bHorz](int nFrom, int nTo) { return bHorz ? CRect(0, nFrom, 150, nTo) : CRect(nFrom, 0, nTo, 150); };
        CTestPane* pFirst = PaneAt(nID++, band(0, c.nFirst));
        CTestPane* pSecond = PaneAt(nID++, band(c.nFirst + 4, c.nFirst + 4 + c.nSecond));
        CQMXPBarContainer* pNode = Node(pFirst, pSecond, c.dwStyle, band(c.nFirst, c.nFirst + 4));
        HDWP hdwp = nullptr;
        pNode->ResizeContainer(band(0, c.nNew), hdwp);
        const int nFirstAfter = bHorz ? InFrame(pFirst).Height() : InFrame(pFirst).Width();
        EXPECT_EQ(nFirstAfter, c.nFirstAfter) << c.nFirst << " to " << c.nNew;
        EXPECT_EQ(InFrame(pSecond), band(c.nFirstAfter + 4, c.nNew));
        EXPECT_EQ(InFrame(pNode->m_pSlider), band(c.nFirstAfter, c.nFirstAfter + 4));
        EXPECT_EQ(pFirst->GetPercentInContainer() + pSecond->GetPercentInContainer(), 100);
        m_manager.GetRootContainer()->SetContainer(nullptr, TRUE);
        delete pNode;
    }
}

TEST_F(BarContainerTest, OverlappingSidesTakeTheStoredShareWhereZeroOrAllCountAsHalf) {
    const struct {
        int nStored;
        int nFirstWidth;
    } cases[] = {{0, 100}, {100, 100}, {30, 140}};
    UINT nID = 0xE900;
    for (const auto& c : cases) {
        CTestPane* pFirst = PaneAt(nID++, CRect(0, 0, 200, 100));
        CTestPane* pSecond = PaneAt(nID++, CRect(0, 0, 200, 100));
        pSecond->SetPercentInContainer(c.nStored);
        CQMXPBarContainer* pNode = Node(pFirst, pSecond, QMXP_SS_VERT, CRect(200, 0, 204, 100));
        HDWP hdwp = nullptr;
        pNode->ResizeContainer(CRect(0, 0, 200, 100), hdwp);
        EXPECT_EQ(InFrame(pFirst).Width(), c.nFirstWidth) << c.nStored;
        m_manager.GetRootContainer()->SetContainer(nullptr, TRUE);
        delete pNode;
    }
    // A lone first pane has the whole node.
    CTestPane* pLone = PaneAt(nID++, CRect(0, 0, 120, 100));
    CQMXPBarContainer lone(&m_manager, pLone);
    lone.StorePercents();
    EXPECT_EQ(pLone->GetPercentInContainer(), 100);
}

TEST_F(BarContainerTest, ZeroSizedPanesKeepTheirSharesAndAreLaidOutByThem) {
    CTestPane* pFirst = PaneAt(0xE900, CRect(0, 0, 0, 0), CSize(0, 0));
    CTestPane* pSecond = PaneAt(0xE901, CRect(0, 0, 0, 0), CSize(0, 0));
    pFirst->SetPercentInContainer(30);
    pSecond->SetPercentInContainer(70);
    CQMXPBarContainer* pNode = Node(pFirst, pSecond, QMXP_SS_VERT, CRect(0, 0, 4, 0));
    pNode->StorePercents();
    HDWP hdwp = nullptr;
    pNode->ResizeContainer(CRect(0, 0, 200, 100), hdwp);
    EXPECT_EQ(pFirst->GetPercentInContainer(), 30);
    EXPECT_EQ(pSecond->GetPercentInContainer(), 70);
    EXPECT_EQ(InFrame(pFirst), CRect(0, 0, 60, 100));
    EXPECT_EQ(InFrame(pSecond), CRect(64, 0, 200, 100));
}

TEST_F(BarContainerTest, ASliderDraggedPastAMinimumStopsThatSideOnly) {
    CTestPane* pFirst = PaneAt(0xE900, CRect(0, 0, 100, 100), CSize(50, 10));
    CTestPane* pSecond = PaneAt(0xE901, CRect(104, 0, 200, 100), CSize(60, 10));
    CQMXPBarContainer* pNode = Node(pFirst, pSecond, QMXP_SS_VERT, CRect(100, 0, 104, 100));
    HDWP hdwp = nullptr;
    EXPECT_EQ(pNode->MoveSlider(-80, hdwp), -80);
    EXPECT_EQ(InFrame(pFirst), CRect(0, 0, 50, 100));
    EXPECT_EQ(InFrame(pSecond), CRect(24, 0, 200, 100));
}

TEST_F(BarContainerTest, NodeRecordsLoadEmptyRefuseDeepNestingAndSkipPanesWithoutId) {
    CQMXPBarContainer empty(&m_manager);
    LoadBytes(empty, std::vector<BYTE>(20, 0));
    EXPECT_TRUE(empty.IsContainerEmpty());
    EXPECT_EQ(empty.GetNodeCount(), 1);
    EXPECT_EQ(empty.m_pSlider, nullptr);
    EXPECT_EQ(empty.m_nSavedLeftBarID, 0u);

    // A hundred nested first children, each four fields before its child.
    std::vector<BYTE> bytes;
    auto put = [&bytes](UINT n) { bytes.insert(bytes.end(), reinterpret_cast<BYTE*>(&n), reinterpret_cast<BYTE*>(&n) + 4); };
    for (int i = 0; i < 100; ++i) {
        put(0);
        put(0);
        put(0);
        put(1);
    }
    for (int i = 0; i < 5 + 100; ++i)
        put(0);
    CQMXPBarContainer deep(&m_manager);
    int nCause = -1;
    try {
        LoadBytes(deep, bytes);
    } catch (CException* e) {
        if (e->IsKindOf(RUNTIME_CLASS(CArchiveException)))
            nCause = static_cast<CArchiveException*>(e)->m_cause;
        e->Delete();
    }
    EXPECT_EQ(nCause, CArchiveException::badIndex);

    // A pane of id -1 (a tabbed bar without tabs) leaves an empty place and
    // is not counted.
    CTestPane* pPane = PaneAt(0xE900, CRect(0, 0, 200, 100));
    CTestPane* pNoID = PaneAt(static_cast<UINT>(-1), CRect(0, 0, 200, 100));
    ASSERT_EQ(pNoID->GetDlgCtrlID(), -1);
    m_manager.AddControlBar(pPane);
    ASSERT_TRUE(m_manager.InsertControlBar(pNoID, pPane, 0x4000));
    const std::vector<BYTE> stored = StoredBytes(m_manager);
    const size_t nFields = stored.size() / 4;
    EXPECT_EQ(Field(stored, nFields - 2), 1u);
    EXPECT_EQ(Field(stored, nFields - 1), 0xE900u);
    BOOL bLeft = FALSE;
    CQMXPBarContainer* pNode = m_manager.FindContainer(pNoID, bLeft);
    ASSERT_NE(pNode, nullptr);
    const std::vector<BYTE> node = StoredBytes(*pNode);
    EXPECT_EQ(Field(node, 0), 0xE900u);
    EXPECT_EQ(Field(node, 1), 0u);
}

TEST_F(BarContainerTest, APaneInsertedBesideAnotherTakesAtMostHalfOfIt) {
    CTestPane* pTarget = PaneAt(0xE900, CRect(0, 0, 200, 100));
    CTestPane* pNew = PaneAt(0xE901, CRect(300, 0, 600, 100));
    m_manager.AddControlBar(pTarget);
    EXPECT_FALSE(m_manager.InsertControlBar(pNew, pTarget, 0x0800));
    EXPECT_EQ(m_manager.GetBars().GetCount(), 1);
    EXPECT_EQ(m_manager.GetNodeCount(), 1);
    ASSERT_TRUE(m_manager.InsertControlBar(pNew, pTarget, 0x4000));
    EXPECT_EQ(InFrame(pNew), CRect(100, 0, 200, 100));
    EXPECT_EQ(InFrame(pTarget), CRect(0, 0, 96, 100));
    BOOL bLeft = FALSE;
    CQMXPBarContainer* pNode = m_manager.FindContainer(pNew, bLeft);
    ASSERT_NE(pNode, nullptr);
    EXPECT_FALSE(bLeft);
    EXPECT_EQ(InFrame(pNode->m_pSlider), CRect(96, 0, 100, 100));
    EXPECT_EQ(m_manager.GetBars().GetTail(), pNew);

    // Left of a pane: first in the node and before the target in the list.
    CTestPane* pLeft = PaneAt(0xE902, CRect(0, 200, 80, 300));
    ASSERT_TRUE(m_manager.InsertControlBar(pLeft, pTarget, 0x1000));
    EXPECT_EQ(m_manager.FindContainer(pLeft, bLeft)->m_pBarLeftTop, pLeft);
    EXPECT_TRUE(bLeft);
    EXPECT_EQ(m_manager.GetBars().GetHead(), pLeft);
    EXPECT_EQ(InFrame(pLeft), CRect(0, 0, 48, 100));
}

TEST_F(BarContainerTest, SlidersTakeIdsFromTheCounterPastAnyGivenOne) {
    CQMXPSlider::m_nNextSliderID = 1;
    const int nGiven[] = {-1, -1, -1, 7, -1};
    const UINT nExpected[] = {1, 2, 3, 7, 8};
    for (int i = 0; i < 5; ++i) {
        CQMXPSlider* pSlider = m_manager.CreateSlider(CRect(300, 10 * i, 304, 10 * i + 8), QMXP_SS_VERT, nGiven[i]);
        ASSERT_NE(pSlider, nullptr);
        EXPECT_EQ(pSlider->GetSliderID(), nExpected[i]);
    }
}

TEST_F(BarContainerTest, TheHitTestFindsABorderZoneFirstAndTheWholePaneOnlyWhenNotExact) {
    CTestPane* pPane = PaneAt(0xE900, CRect(0, 0, 200, 200));
    m_manager.AddControlBar(pPane);
    const CRect rect = Screen(pPane);
    const struct {
        CPoint pt;
        int nSensitivity;
        BOOL bExact;
        bool bFound;
    } cases[] = {
        {rect.CenterPoint(), 5, TRUE, false},     {rect.CenterPoint(), 5, FALSE, true},
        {rect.CenterPoint(), 0, TRUE, true},      {CPoint(rect.right - 2, rect.CenterPoint().y), 5, TRUE, true},
        {CPoint(rect.right + 3, rect.CenterPoint().y), 5, FALSE, true},
        {CPoint(rect.right + 3, rect.CenterPoint().y), 5, TRUE, false},
    };
    for (const auto& c : cases) {
        BOOL bTab = FALSE;
        BOOL bCaption = FALSE;
        EXPECT_EQ(m_manager.ControlBarFromPoint(c.pt, c.nSensitivity, c.bExact, bTab, bCaption) != nullptr, c.bFound)
            << c.pt.x << "," << c.pt.y << " " << c.nSensitivity << " " << c.bExact;
    }
}

}  // namespace
