// The small controls of customisation: a library dialog hosting a popup
// menu (clicks outside it, on its shadow, Alt), the tool-bar name dialog.
#include "MenuTestSupport.h"

#include "docking/frames/QMXPContextMenuManager.h"
#include "docking/frames/QMXPDialog.h"
#include "docking/frames/QMXPExCheckList.h"
#include "docking/frames/ToolbarNameDlg.h"

#include <gtest/gtest.h>

using namespace docking_test;

namespace {

constexpr UINT kToolbarNameDialog = 16130;
constexpr int kToolbarNameEdit = 16516;

class CustomizeControlsTest : public MenuTest {
protected:
    void SetUp() override {
        MenuTest::SetUp();
        ASSERT_TRUE(m_manager.AddMenu(L"Document", IDR_DOCKTEST_DOC));
    }
    CQMXPPopupMenu* ShowFrom(CWnd* pWnd, CPoint point) {
        return m_manager.ShowPopupMenu(::GetSubMenu(m_manager.GetMenuByName(L"Document"), 0), point.x, point.y,
                                       pWnd, TRUE, TRUE);
    }
    static BOOL Click(CWnd& dialog, UINT message, CPoint ptScreen) {
        CPoint pt = ptScreen;
        if (message < WM_NCMOUSEMOVE || message > WM_NCMBUTTONDBLCLK)
            dialog.ScreenToClient(&pt);
        MSG msg = {dialog.GetSafeHwnd(), message, 0, MAKELPARAM(pt.x, pt.y)};
        return dialog.PreTranslateMessage(&msg);
    }

    CQMXPContextMenuManager m_manager;
};

TEST_F(CustomizeControlsTest, APopupOfADialogClosesOnAClickOutsideOnItsShadowAndOnAlt) {
    CQMXPPopupMenu::bMenuShadows = TRUE;
    CQMXPDialog dialog(kToolbarNameDialog, m_pFrame);
    ASSERT_TRUE(dialog.Create(kToolbarNameDialog, m_pFrame));
    dialog.SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    dialog.ShowWindow(SW_SHOW);
    dialog.SetForegroundWindow();
    dialog.SetFocus();
    Pump();
    CRect rectDialog;
    dialog.GetWindowRect(&rectDialog);
    const CPoint ptPopup(rectDialog.right + 40, rectDialog.top + 40);

    // A click on the dialog's own area closes the popup and goes on to the dialog.
    CQMXPPopupMenu* pPopup = ShowFrom(&dialog, ptPopup);
    ASSERT_NE(pPopup, nullptr);
    HWND hwndPopup = pPopup->GetSafeHwnd();
    Click(dialog, WM_LBUTTONDOWN, rectDialog.CenterPoint());
    Pump();
    EXPECT_FALSE(::IsWindow(hwndPopup));

    // A click on the shadow is consumed and leaves the focus on the dialog.
    pPopup = ShowFrom(&dialog, ptPopup);
    ASSERT_NE(pPopup, nullptr);
    hwndPopup = pPopup->GetSafeHwnd();
    CRect rectWindow;
    pPopup->GetWindowRect(&rectWindow);
    const CRect rectMenu = MenuRect(pPopup);
    ASSERT_GT(rectWindow.right, rectMenu.right);
    EXPECT_TRUE(Click(dialog, WM_NCLBUTTONDOWN, CPoint(rectWindow.right - 1, rectWindow.CenterPoint().y)));
    Pump();
    EXPECT_FALSE(::IsWindow(hwndPopup));
    const HWND hwndFocus = ::GetFocus();
    EXPECT_TRUE(hwndFocus == dialog.GetSafeHwnd() || ::IsChild(dialog.GetSafeHwnd(), hwndFocus));

    // Alt closes it; a click inside it is left to the popup.
    pPopup = ShowFrom(&dialog, ptPopup);
    ASSERT_NE(pPopup, nullptr);
    hwndPopup = pPopup->GetSafeHwnd();
    Click(dialog, WM_LBUTTONDOWN, MenuRect(pPopup).CenterPoint());
    EXPECT_TRUE(::IsWindow(hwndPopup));
    MSG msg = {dialog.GetSafeHwnd(), WM_SYSKEYDOWN, VK_MENU, 0};
    EXPECT_TRUE(dialog.PreTranslateMessage(&msg));
    Pump();
    EXPECT_FALSE(::IsWindow(hwndPopup));
    EXPECT_EQ(dialog.GetActiveMenu(), nullptr);
    dialog.DestroyWindow();
}

TEST_F(CustomizeControlsTest, TheToolbarNameCannotBeConfirmedEmpty) {
    CToolbarNameDlg dialog(m_pFrame);
    ASSERT_TRUE(dialog.Create(kToolbarNameDialog, m_pFrame));
    CWnd* pOK = dialog.GetDlgItem(IDOK);
    ASSERT_NE(pOK, nullptr);
    EXPECT_FALSE(pOK->IsWindowEnabled());
    const struct {
        const wchar_t* text;
        bool enabled;
    } cases[] = {{L"Mine", true}, {L"", false}, {L" ", true}};
    for (const auto& c : cases) {
        dialog.SetDlgItemText(kToolbarNameEdit, c.text);
        EXPECT_EQ(pOK->IsWindowEnabled() != FALSE, c.enabled) << c.text;
    }
    dialog.DestroyWindow();
}

TEST_F(CustomizeControlsTest, ADisabledCheckCannotBeToggledByClickDoubleClickOrSpace) {
    CQMXPExCheckList list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY,
                            CRect(0, 0, 200, 120), m_pFrame, 1234));
    for (const wchar_t* text : {L"A", L"B", L"C"})
        list.AddString(text);
    list.EnableCheck(1);
    list.EnableCheck(1, FALSE);
    // Inserting shifts the flags of the items after it.
    list.InsertString(0, L"Z");
    ASSERT_EQ(list.GetCount(), 4);
    EXPECT_FALSE(list.IsCheckEnabled(2));
    EXPECT_TRUE(list.IsCheckEnabled(1));
    auto checkPoint = [&](int nIndex) {
        CRect rect;
        list.GetItemRect(nIndex, &rect);
        return CPoint(rect.left + 3, rect.CenterPoint().y);
    };
    for (int nIndex : {1, 2}) {
        const CPoint pt = checkPoint(nIndex);
        const int nExpected = nIndex == 1 ? 1 : 0;
        list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
        list.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
        EXPECT_EQ(list.GetCheck(nIndex), nExpected) << nIndex;
        list.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
        list.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
        EXPECT_EQ(list.GetCheck(nIndex), 0) << nIndex;
        list.SendMessage(LB_SETCARETINDEX, static_cast<WPARAM>(nIndex));
        list.SendMessage(WM_KEYDOWN, VK_SPACE);
        EXPECT_EQ(list.GetCheck(nIndex), nExpected) << nIndex;
    }
    list.DeleteString(0);
    EXPECT_FALSE(list.IsCheckEnabled(1));
    list.ResetContent();
    EXPECT_FALSE(list.IsCheckEnabled(0));
    list.DestroyWindow();
}

}  // namespace
