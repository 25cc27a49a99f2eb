// The editable list: caption buttons and their keys move, delete and create
// items; items are edited in place, a new one left empty goes away again.
#include "CanvasTestSupport.h"
#include "DockingTestSupport.h"

#include "docking/frames/QMXPEditListBox.h"
#include "docking/toolbars/QMXPButton.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace docking_test;

namespace {

class EditListTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_pFrame = MakeFrame(300, 200);
        ASSERT_NE(m_pFrame, nullptr);
        ::ShowWindow(::GetDlgItem(m_pFrame->m_hWnd, AFX_IDW_PANE_FIRST), SW_HIDE);
        ASSERT_TRUE(m_list.Create(L"Tools", WS_CHILD | WS_VISIBLE, CRect(10, 10, 210, 160), m_pFrame, 100));
        ASSERT_TRUE(m_list.SetStandardButtons());
        for (const wchar_t* text : {L"a", L"b", L"c"})
            m_list.AddItem(text);
    }
    void TearDown() override {
        m_list.DestroyWindow();
        if (m_pFrame != nullptr)
            m_pFrame->DestroyWindow();
    }
    std::vector<std::wstring> Items() const {
        std::vector<std::wstring> items;
        for (int i = 0; i < m_list.GetCount(); ++i)
            items.emplace_back(m_list.GetItemText(i));
        return items;
    }
    // A key on the list, with Alt held when asked.
    void Key(WORD wKey, bool bAlt = false) {
        BYTE keys[256];
        ::GetKeyboardState(keys);
        keys[VK_MENU] = bAlt ? 0x80 : 0;
        ::SetKeyboardState(keys);
        ::SendMessageW(m_list.GetListHwnd(), bAlt ? WM_SYSKEYDOWN : WM_KEYDOWN, wKey, 0);
        keys[VK_MENU] = 0;
        ::SetKeyboardState(keys);
    }
    // Ends the open edit with the text, as Enter does.
    void FinishEdit(const wchar_t* lpszText) {
        const HWND hEdit = m_list.GetEditHwnd();
        ASSERT_NE(hEdit, nullptr);
        ::SetWindowTextW(hEdit, lpszText);
        ::SendMessageW(hEdit, WM_KEYDOWN, VK_RETURN, 0);
        Pump();
    }

    CDockTestFrame* m_pFrame = nullptr;
    CQMXPEditListBox m_list;
};

using Texts = std::vector<std::wstring>;

TEST_F(EditListTest, ButtonsAndTheirKeysMoveAndDeleteTheSelectedItem) {
    ASSERT_EQ(m_list.GetButtonsCount(), 4);
    // The standard buttons stand from right to left in the order added.
    CRect rectNew;
    CRect rectDelete;
    m_list.GetButton(0)->GetWindowRect(&rectNew);
    m_list.GetButton(1)->GetWindowRect(&rectDelete);
    EXPECT_EQ(rectDelete.right, rectNew.left);

    struct Step {
        int iSelect;
        WORD wKey;
        bool bAlt;
        Texts after;
        int iSelected;
    };
    const Step steps[] = {
        {0, VK_UP, true, {L"a", L"b", L"c"}, 0},      // up on the first does nothing
        {0, VK_DOWN, true, {L"b", L"a", L"c"}, 1},    // Alt+Down moves it down
        {2, VK_DOWN, true, {L"b", L"a", L"c"}, 2},    // down on the last does nothing
        {2, VK_UP, true, {L"b", L"c", L"a"}, 1},      // Alt+Up
        {2, VK_DELETE, false, {L"b", L"c"}, 1},       // deleting the last selects the one before
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.iSelect);
        m_list.SelectItem(step.iSelect);
        Key(step.wKey, step.bAlt);
        EXPECT_EQ(Items(), step.after);
        EXPECT_EQ(m_list.GetSelItem(), step.iSelected);
    }

    // A click on the move-up button does what Alt+Up does.
    m_list.SelectItem(1);
    const HWND hUp = m_list.GetButton(2)->GetSafeHwnd();
    m_list.SendMessage(WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(hUp), BN_CLICKED), reinterpret_cast<LPARAM>(hUp));
    EXPECT_EQ(Items(), (Texts{L"c", L"b"}));
}

TEST_F(EditListTest, ANewItemLeftEmptyGoesAwayAnEditedOneKeepsItsText) {
    m_pFrame->ShowWindow(SW_SHOWNOACTIVATE);
    Pump();
    CRect rectList;
    m_list.GetWindowRect(&rectList);
    EXPECT_TRUE(SaveScreen(rectList, L"docking_edit_list"));
    Key(VK_INSERT);
    EXPECT_EQ(m_list.GetCount(), 4);
    EXPECT_TRUE(m_list.IsEditing());
    EXPECT_FALSE(m_list.GetButton(0)->IsWindowEnabled());
    FinishEdit(L"");
    EXPECT_EQ(Items(), (Texts{L"a", L"b", L"c"}));
    EXPECT_TRUE(m_list.GetButton(0)->IsWindowEnabled());

    struct Case {
        const wchar_t* text;
        const wchar_t* kept;
    };
    for (const Case& c : {Case{L"", L"a"}, Case{L"zz", L"zz"}}) {
        ASSERT_TRUE(m_list.EditItem(0));
        FinishEdit(c.text);
        EXPECT_EQ(std::wstring(m_list.GetItemText(0)), c.kept);
        EXPECT_EQ(m_list.GetCount(), 3);
    }

    Key(VK_INSERT);
    FinishEdit(L"new tool");
    EXPECT_EQ(Items(), (Texts{L"zz", L"b", L"c", L"new tool"}));
}

}  // namespace
