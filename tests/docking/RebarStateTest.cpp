// The band layout of a library rebar kept in the registry: bands found
// again by their children's ids and put back in order, fixed-size bands
// that keep their width, and stored records that do not fit the rebar.
#include "DockingTestSupport.h"

#include "docking/frames/QMXPReBar.h"
#include "docking/frames/QMXPRebarState.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "docking/toolbars/QMXPToolbarButton.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace docking_test;

namespace {

constexpr wchar_t kProfile[] = L"Software\\OstraTallier Rebar Test\\";
const std::wstring kRebarKey = std::wstring(kProfile) + L"QMXRebar-59396";

class RebarStateTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\OstraTallier Rebar Test");
        m_pFrame = MakeFrame(600, 300);
        ASSERT_NE(m_pFrame, nullptr);
        ASSERT_TRUE(m_rebar.Create(m_pFrame, 0, WS_CHILD | WS_VISIBLE, 59396));
        for (UINT nID : {101u, 102u, 103u})
            ASSERT_TRUE(AddBand(nID, nID == 102 ? RBBS_FIXEDSIZE : 0));
    }
    void TearDown() override {
        m_pFrame->DestroyWindow();
        Pump();
        ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\OstraTallier Rebar Test");
    }
    BOOL AddBand(UINT nID, DWORD dwStyle) {
        m_children.push_back(std::make_unique<CWnd>());
        CWnd* pChild = m_children.back().get();
        if (!pChild->Create(L"STATIC", L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 60 + static_cast<int>(nID % 10), 20),
                            &m_rebar, nID))
            return FALSE;
        return m_rebar.AddBar(pChild, nullptr, dwStyle);
    }
    std::vector<UINT> Order() const {
        std::vector<UINT> ids;
        for (UINT i = 0; i < m_rebar.GetBandCount(); ++i) {
            REBARBANDINFOW rbbi = {};
            rbbi.cbSize = 80;
            rbbi.fMask = RBBIM_CHILD;
            m_rebar.SendMessage(RB_GETBANDINFOW, i, reinterpret_cast<LPARAM>(&rbbi));
            ids.push_back(static_cast<UINT>(::GetDlgCtrlID(rbbi.hwndChild)));
        }
        return ids;
    }
    UINT MinWidth(UINT nBand) const {
        REBARBANDINFOW rbbi = {};
        rbbi.cbSize = 80;
        rbbi.fMask = RBBIM_CHILDSIZE;
        m_rebar.SendMessage(RB_GETBANDINFOW, nBand, reinterpret_cast<LPARAM>(&rbbi));
        return rbbi.cxMinChild;
    }
    BOOL Save() { return CQMXPRebarState::SaveRebarState(kProfile, m_pFrame); }
    BOOL Load() { return CQMXPRebarState::LoadRebarState(kProfile, m_pFrame); }

    CDockTestApp m_app;
    CDockTestFrame* m_pFrame = nullptr;
    CQMXPReBar m_rebar;
    std::vector<std::unique_ptr<CWnd>> m_children;
};

TEST_F(RebarStateTest, BandsComeBackInTheirOrderByTheirChildrensIds) {
    ASSERT_TRUE(Save());
    EXPECT_EQ(RawRegistryValue(kRebarKey, L"RBI").size(), 3u * 80u);
    const std::vector<BYTE> ids = RawRegistryValue(kRebarKey, L"IDs");
    ASSERT_EQ(ids.size(), 12u);
    EXPECT_EQ(ids[0] | ids[1] << 8, 101);
    m_rebar.SendMessage(RB_MOVEBAND, 2, 0);
    ASSERT_EQ(Order(), (std::vector<UINT>{103, 101, 102}));
    EXPECT_TRUE(Load());
    EXPECT_EQ(Order(), (std::vector<UINT>{101, 102, 103}));
}

TEST_F(RebarStateTest, AFixedSizeBandKeepsItsWidthOverSavesAndLoads) {
    const int iFixed = m_rebar.FindBandByChildID(102);
    ASSERT_GE(iFixed, 0);
    const UINT cxMin = MinWidth(static_cast<UINT>(iFixed));
    for (int nCycle = 0; nCycle < 3; ++nCycle) {
        ASSERT_TRUE(Save());
        ASSERT_TRUE(Load());
    }
    EXPECT_EQ(MinWidth(static_cast<UINT>(m_rebar.FindBandByChildID(102))), cxMin);
}

TEST_F(RebarStateTest, StoredBandsThatDoNotFitLeaveTheRebarAlone) {
    ASSERT_TRUE(Save());
    std::vector<BYTE> records = RawRegistryValue(kRebarKey, L"RBI");
    m_rebar.SendMessage(RB_MOVEBAND, 2, 0);
    const std::vector<UINT> moved = Order();
    const struct {
        const wchar_t* what;
        std::vector<BYTE> rbi;
        bool extraBand;
    } cases[] = {
        {L"short records", std::vector<BYTE>(records.begin(), records.end() - 4), false},
        {L"a record of another size", records, false},
        {L"another band count", records, true},
    };
    for (const auto& c : cases) {
        std::vector<BYTE> rbi = c.rbi;
        if (std::wstring(c.what) == L"a record of another size")
            rbi[80] = 100;  // cbSize of the second record
        ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, kRebarKey.c_str(), L"RBI", REG_BINARY, rbi.data(),
                                    static_cast<DWORD>(rbi.size())),
                  ERROR_SUCCESS);
        if (c.extraBand)
            ASSERT_TRUE(AddBand(104, 0));
        EXPECT_TRUE(Load());
        std::vector<UINT> expected = moved;
        if (c.extraBand)
            expected.push_back(104);
        EXPECT_EQ(Order(), expected) << ::testing::PrintToString(std::wstring(c.what));
    }
}

}  // namespace

// A tool bar in a band keeps the size the band gives it when its buttons
// change; the band takes the height the buttons need.
TEST_F(RebarStateTest, AToolBarInABandKeepsTheBandsSizeAfterALayoutChange) {
    CQMXPToolBar bar;
    ASSERT_TRUE(bar.Create(&m_rebar, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xE841));
    for (int i = 0; i < 3; ++i)
        bar.InsertButton(new CQMXPToolbarButton(30070 + i, i, L"B", FALSE));
    bar.AdjustLayout();
    ASSERT_TRUE(m_rebar.AddBar(&bar));
    const int iBand = m_rebar.FindBandByChildID(0xE841);
    ASSERT_GE(iBand, 0);
    // The band is wider than the bar's own layout.
    REBARBANDINFOW rbbi = {};
    rbbi.cbSize = 80;
    rbbi.fMask = RBBIM_SIZE;
    rbbi.cx = 400;
    m_rebar.SendMessage(RB_SETBANDINFOW, iBand, reinterpret_cast<LPARAM>(&rbbi));
    m_rebar.SendMessage(RB_MAXIMIZEBAND, iBand, TRUE);
    Pump();
    CRect rectBefore;
    bar.GetWindowRect(&rectBefore);
    ASSERT_GT(rectBefore.Width(), bar.CalcFixedLayout(FALSE, TRUE).cx + 4);
    // A fourth button and a layout change: the bar stays as the band has it.
    bar.InsertButton(new CQMXPToolbarButton(30073, 3, L"B", FALSE));
    bar.AdjustLayout();
    Pump();
    CRect rectAfter;
    bar.GetWindowRect(&rectAfter);
    EXPECT_EQ(rectAfter.left, rectBefore.left);
    EXPECT_EQ(rectAfter.right, rectBefore.right);
    // The buttons were laid out in the band's rectangle.
    EXPECT_LE(bar.GetButton(3)->GetRect().right, rectAfter.Width());
    rbbi.fMask = RBBIM_CHILDSIZE;
    m_rebar.SendMessage(RB_GETBANDINFOW, iBand, reinterpret_cast<LPARAM>(&rbbi));
    EXPECT_EQ(static_cast<int>(rbbi.cyMinChild), bar.CalcFixedLayout(FALSE, TRUE).cy);
    EXPECT_EQ(rectAfter.Height(), bar.CalcFixedLayout(FALSE, TRUE).cy);
    bar.DestroyWindow();
}
