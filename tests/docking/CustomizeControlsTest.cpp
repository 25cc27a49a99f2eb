// The small controls of customisation: a library dialog hosting a popup
// menu (clicks outside it, on its shadow, Alt), the tool-bar name dialog.
#include "MenuTestSupport.h"

#include "docking/frames/QMXPContextMenuManager.h"
#include "docking/frames/QMXPDialog.h"
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

}  // namespace
