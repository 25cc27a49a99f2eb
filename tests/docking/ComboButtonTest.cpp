// Combo-box buttons on tool bars: their record, buttons of one command kept
// in step across bars, the plain look down a vertical bar, the keys of the
// edit over an editable one, and the lookups by command.
#include "DockingTestSupport.h"

#include "docking/toolbars/QMXPComboEdit.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "docking/toolbars/QMXPToolbarComboBoxButton.h"
#include "platform/classlib/Archive.h"
#include "platform/classlib/ComboBox.h"
#include "platform/classlib/MemFile.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace docking_test;

namespace {

class CCountingCombo : public CQMXPToolbarComboBoxButton {
public:
    explicit CCountingCombo(DWORD dwStyle = CBS_DROPDOWNLIST, UINT uiID = ID_DOCKTEST_COMBO)
        : CQMXPToolbarComboBoxButton(uiID, -1, dwStyle, 120) {}
    BOOL OnCommandNotify(UINT uiNotifyCode) override {
        if (uiNotifyCode == CBN_SELENDOK)
            ++m_nSelEndOk;
        return CQMXPToolbarComboBoxButton::OnCommandNotify(uiNotifyCode);
    }
    int m_nSelEndOk = 0;
};

class ComboButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        Log().clear();
        m_pFrame = MakeFrame(500, 300);
        ASSERT_NE(m_pFrame, nullptr);
        ASSERT_TRUE(m_barA.Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP, AFX_IDW_TOOLBAR + 1));
        ASSERT_TRUE(m_barB.Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP, AFX_IDW_TOOLBAR + 2));
        m_pComboA = new CCountingCombo;
        m_pComboB = new CCountingCombo;
        m_barA.InsertButton(m_pComboA);
        m_barB.InsertButton(m_pComboB);
        const struct {
            const wchar_t* text;
            DWORD_PTR data;
        } items[] = {{L"8", 80}, {L"10", 100}, {L"12", 120}};
        for (const auto& item : items)
            m_pComboA->AddItem(item.text, item.data);
        m_pComboA->SelectItem(1, FALSE);
        m_barA.AdjustLayout();
        m_barB.AdjustLayout();
    }
    void TearDown() override {
        m_pFrame->DestroyWindow();
        Pump();
    }

    CDockTestApp m_app;
    CDockTestFrame* m_pFrame = nullptr;
    CQMXPToolBar m_barA;
    CQMXPToolBar m_barB;
    CCountingCombo* m_pComboA = nullptr;
    CCountingCombo* m_pComboB = nullptr;
};

TEST_F(ComboButtonTest, ItemsDataAndSelectionSurviveTheRecordAndTheSelectionIsAnnouncedOnce) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        m_pComboA->Serialize(ar);
    }
    file.SeekToBegin();
    {
        CArchive ar(&file, CArchive::load);
        m_pComboB->Serialize(ar);
    }
    ASSERT_EQ(m_pComboB->GetCount(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_STREQ(m_pComboB->GetItem(i), m_pComboA->GetItem(i));
        EXPECT_EQ(m_pComboB->GetItemData(i), m_pComboA->GetItemData(i));
    }
    EXPECT_EQ(m_pComboB->GetCurSel(), 1);
    EXPECT_EQ(m_pComboB->GetComboBox()->GetCurSel(), 1) << "the window shows the loaded items";
    EXPECT_EQ(m_pComboB->GetComboBox()->GetCount(), 3);
    EXPECT_EQ(m_pComboB->m_nSelEndOk, 1);
    EXPECT_EQ(CString(L"10"), m_pComboB->GetText());

    EXPECT_FALSE(m_pComboB->SelectItem(3));
    EXPECT_EQ(m_pComboB->GetCurSel(), 1);
}

TEST_F(ComboButtonTest, ASelectionOnOneBarSelectsTheSameItemOnTheOthersQuietly) {
    for (int i = 0; i < 3; ++i)
        m_pComboB->AddItem(m_pComboA->GetItem(i), m_pComboA->GetItemData(i));
    EXPECT_TRUE(m_pComboA->SelectItem(2, TRUE));
    EXPECT_EQ(m_pComboA->m_nSelEndOk, 1);
    EXPECT_EQ(m_pComboB->GetCurSel(), 2);
    EXPECT_EQ(m_pComboB->m_nSelEndOk, 0);
    EXPECT_EQ(CString(L"12"), m_pComboB->GetText());

    // The lookups by command take the first such button of the live bars.
    EXPECT_EQ(CQMXPToolbarComboBoxButton::GetByCmd(ID_DOCKTEST_COMBO), m_pComboA);
    EXPECT_EQ(CQMXPToolbarComboBoxButton::GetCurSelForCommand(ID_DOCKTEST_COMBO), 2);
    EXPECT_EQ(CQMXPToolbarComboBoxButton::GetItemDataForCommand(ID_DOCKTEST_COMBO), 120u);
    EXPECT_EQ(CQMXPToolbarComboBoxButton::GetItemDataForCommand(ID_DOCKTEST_HANDLED), static_cast<DWORD_PTR>(-1));
    EXPECT_TRUE(CQMXPToolbarComboBoxButton::SetTextForCommand(ID_DOCKTEST_COMBO, L"8"));
    CString strText;
    EXPECT_TRUE(CQMXPToolbarComboBoxButton::GetTextForCommand(ID_DOCKTEST_COMBO, strText));
    EXPECT_EQ(CString(L"8"), strText);
    EXPECT_FALSE(CQMXPToolbarComboBoxButton::GetTextForCommand(ID_DOCKTEST_HANDLED, strText));
    // A text that is no item leaves nothing selected.
    m_pComboA->SetText(L"11", FALSE);
    EXPECT_EQ(m_pComboA->GetCurSel(), -1);
    EXPECT_EQ(CString(L"11"), m_pComboA->GetText());
}

TEST_F(ComboButtonTest, DownAVerticalBarTheButtonIsPlainAndShowsNoWindow) {
    CQMXPToolBar barV;
    ASSERT_TRUE(barV.Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_LEFT, AFX_IDW_TOOLBAR + 3));
    auto* pCombo = new CCountingCombo(CBS_DROPDOWN);
    pCombo->m_strText = L"Size";
    pCombo->m_bText = TRUE;
    barV.InsertButton(pCombo);
    barV.AdjustLayout();
    CClientDC dc(&barV);
    CFont* pOldFont = dc.SelectObject(&globalData.fontVert);
    const CSize sizeText = dc.GetTextExtent(L"Size");
    dc.SelectObject(pOldFont);
    EXPECT_EQ(pCombo->GetRect().Size(), CSize(barV.GetColumnWidth(), sizeText.cx + 9));
    EXPECT_FALSE(pCombo->IsWindowVisible());

    // Across a horizontal bar it is as wide as asked, its edit showing.
    auto* pWide = new CCountingCombo(CBS_DROPDOWN);
    m_barA.InsertButton(pWide);
    m_barA.AdjustLayout();
    EXPECT_EQ(pWide->GetRect().Width(), 120);
    EXPECT_TRUE(pWide->IsWindowVisible());
    EXPECT_FALSE(pWide->GetComboBox()->GetStyle() & WS_VISIBLE) << "the combo box itself is drawn by the library";
    barV.DestroyWindow();
}

TEST_F(ComboButtonTest, EnterInTheEditPostsTheCommandAndEscapeGivesTheFocusToTheFrame) {
    auto* pCombo = new CCountingCombo(CBS_DROPDOWN, ID_DOCKTEST_HANDLED);
    m_barA.InsertButton(pCombo);
    m_barA.AdjustLayout();
    m_pFrame->ShowWindow(SW_SHOW);
    ::SetForegroundWindow(m_pFrame->m_hWnd);
    Pump();
    CQMXPComboEdit* pEdit = pCombo->GetEditCtrl();
    ASSERT_NE(pEdit, nullptr);
    pEdit->SetFocus();
    pEdit->SetWindowText(L"14");
    // Keys reach the edit through the pre-translation of the message loop.
    pEdit->PostMessage(WM_KEYDOWN, VK_RETURN, 1);
    classlib_test::PumpUntil([] { return !Log().empty(); });
    Pump();
    EXPECT_EQ(CString(L"14"), pCombo->GetText());
    EXPECT_EQ(Log(), std::vector<std::wstring>{L"frame:HANDLED"});

    pEdit->SetFocus();
    ASSERT_EQ(::GetFocus(), pEdit->m_hWnd);
    pEdit->PostMessage(WM_KEYDOWN, VK_ESCAPE, 1);
    // The frame passes the focus on to its view.
    auto inFrame = [this] {
        HWND hwndFocus = ::GetFocus();
        return hwndFocus == m_pFrame->m_hWnd || (::IsChild(m_pFrame->m_hWnd, hwndFocus) &&
                                                 !::IsChild(m_barA.m_hWnd, hwndFocus));
    };
    EXPECT_TRUE(classlib_test::PumpUntil(inFrame));
    EXPECT_EQ(Log().size(), 1u);
}

}  // namespace
