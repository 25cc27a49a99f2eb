// The flat owner-drawn buttons and their themed form, on a dialog driven by
// mouse and keyboard messages: clicks, check-box mode, double clicks, focus,
// the pressed offset, and the look with and without the visual styles (this
// suite runs once more with the visual-styles library switched off).
#include "ControlsTestResources.h"
#include "ControlsTestSupport.h"
#include "tests/support/WindowPixels.h"

#include "controls/ThemeHelperST.h"
#include "controls/XPStyleButtonST.h"
#include "platform/classlib/Dialog.h"
#include "platform/classlib/MessageMap.h"
#include "tests/support/WindowScreenshot.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

using test_support::Capture;
using test_support::Pixels;

namespace {

const UINT kButtonIds[] = {IDC_TEST_NORMAL, IDC_TEST_HOT,   IDC_TEST_PRESSED,
                           IDC_TEST_DISABLED, IDC_TEST_CHECK, IDC_TEST_DEFAULT};

// The second run of the suite has the visual-styles library switched off.
bool ThemesSwitchedOff()
{
    wchar_t value[8] = {};
    return ::GetEnvironmentVariableW(L"OT_UXTHEME_DISABLED", value, 8) > 0;
}

class CButtonsDialog : public CDialog {
public:
    explicit CButtonsDialog(CThemeHelperST* helper, const CPoint& place) : m_helper(helper)
    {
        Create(IDD_TEST_BUTTONS);
        SetWindowPos(nullptr, place.x, place.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
        classlib_test::DrainMessages();
    }
    ~CButtonsDialog() override
    {
        classlib_test::DrainMessages();
        DestroyWindow();
    }

    HWND Item(UINT id) const { return ::GetDlgItem(m_hWnd, static_cast<int>(id)); }
    // Presses and releases the left button in the middle of the item.
    void Click(UINT id, bool twice = false)
    {
        CRect rect;
        ::GetClientRect(Item(id), &rect);
        const LPARAM middle = MAKELPARAM(rect.Width() / 2, rect.Height() / 2);
        ::PostMessageW(Item(id), WM_LBUTTONDOWN, MK_LBUTTON, middle);
        ::PostMessageW(Item(id), WM_LBUTTONUP, 0, middle);
        if (twice) {
            ::PostMessageW(Item(id), WM_LBUTTONDBLCLK, MK_LBUTTON, middle);
            ::PostMessageW(Item(id), WM_LBUTTONUP, 0, middle);
        }
        const int expected = clicks[id] + (twice ? 2 : 1);
        classlib_test::PumpUntil([&] { return clicks[id] >= expected; }, 2000);
        classlib_test::DrainMessages();
    }
    // Makes the item hot as the mouse coming onto it does.
    void Hover(UINT id)
    {
        CRect rect;
        ::GetWindowRect(Item(id), &rect);
        ::SetCursorPos(rect.CenterPoint().x, rect.CenterPoint().y);
        ::SendMessageW(Item(id), WM_MOUSEMOVE, 0, MAKELPARAM(rect.Width() / 2, rect.Height() / 2));
    }

    std::map<UINT, int> clicks;
    int doubleClicks = 0;
    CXPStyleButtonST buttons[6];

protected:
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        for (size_t i = 0; i < 6; ++i) {
            buttons[i].SubclassDlgItem(kButtonIds[i], this);
            buttons[i].SetThemeHelper(m_helper);
            buttons[i].SetIconById(IDI_TEST_TOOL, 0, 0);
        }
        return TRUE;
    }
    void OnClicked(UINT id) { ++clicks[id]; }
    void OnDoubleClicked(UINT) { ++doubleClicks; }
    DECLARE_MESSAGE_MAP()

private:
    CThemeHelperST* m_helper;
};

BEGIN_MESSAGE_MAP(CButtonsDialog, CDialog)
    ON_CONTROL_RANGE(BN_CLICKED, IDC_TEST_NORMAL, IDC_TEST_DEFAULT, OnClicked)
    ON_CONTROL_RANGE(BN_DOUBLECLICKED, IDC_TEST_NORMAL, IDC_TEST_DEFAULT, OnDoubleClicked)
END_MESSAGE_MAP()

// The icon and caption of a flat button: what is not button face inside its border.
CRect Content(HWND button)
{
    return Capture(button).Bounds(::GetSysColor(COLOR_BTNFACE), 1);
}

}  // namespace

TEST(FlatButtons, ACheckBoxTogglesOnEachClickAndStaysPressedWithoutOffset)
{
    CButtonsDialog dialog(nullptr, CPoint(20, 20));
    const HWND check = dialog.Item(IDC_TEST_CHECK);
    EXPECT_EQ(DWORD(BS_OWNERDRAW), ::GetWindowLongW(check, GWL_STYLE) & 0x1F);
    const CRect released = Content(check);
    ASSERT_FALSE(released.IsRectEmpty());

    dialog.Click(IDC_TEST_CHECK);
    EXPECT_EQ(1, ::SendMessageW(check, BM_GETCHECK, 0, 0));
    EXPECT_EQ(check, ::GetFocus()) << "a click gives the button the focus";
    const Pixels checked = Capture(check);
    EXPECT_EQ(::GetSysColor(COLOR_BTNSHADOW), checked.At(0, 0)) << "sunken while checked";
    EXPECT_EQ(::GetSysColor(COLOR_BTNHIGHLIGHT), checked.At(checked.width - 1, checked.height - 1));
    EXPECT_EQ(released, checked.Bounds(::GetSysColor(COLOR_BTNFACE), 1)) << "icon and caption do not move";

    dialog.Click(IDC_TEST_CHECK);
    EXPECT_EQ(0, ::SendMessageW(check, BM_GETCHECK, 0, 0));
    EXPECT_EQ(2, dialog.clicks[IDC_TEST_CHECK]) << "the parent hears every click";

    // A push button in its pressed state moves its icon and caption by one pixel.
    const HWND push = dialog.Item(IDC_TEST_NORMAL);
    CRect pressedPlace = Content(push);
    pressedPlace.OffsetRect(1, 1);
    ::SendMessageW(push, BM_SETSTATE, TRUE, 0);
    EXPECT_EQ(pressedPlace, Content(push));
    ::SendMessageW(push, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(0, ::SendMessageW(push, BM_GETCHECK, 0, 0)) << "a push button has no check state";
}

TEST(FlatButtons, ADoubleClickIsTwoClicks)
{
    CButtonsDialog dialog(nullptr, CPoint(20, 20));
    dialog.Click(IDC_TEST_NORMAL, true);
    EXPECT_EQ(2, dialog.clicks[IDC_TEST_NORMAL]);
    EXPECT_EQ(0, dialog.doubleClicks);
}

TEST(FlatButtons, DisablingTheFocusedButtonMovesTheFocusOn)
{
    CButtonsDialog dialog(nullptr, CPoint(20, 20));
    dialog.SetForegroundWindow();
    classlib_test::DrainMessages();
    ::SetFocus(dialog.Item(IDC_TEST_NORMAL));
    ::EnableWindow(dialog.Item(IDC_TEST_NORMAL), FALSE);
    EXPECT_EQ(dialog.Item(IDC_TEST_HOT), ::GetFocus()) << "the next tab item";
    // A button disabled while the focus is elsewhere leaves it there.
    ::EnableWindow(dialog.Item(IDC_TEST_PRESSED), FALSE);
    EXPECT_EQ(dialog.Item(IDC_TEST_HOT), ::GetFocus());
    ::SetFocus(dialog.Item(IDC_TEST_DEFAULT));
    ::EnableWindow(dialog.Item(IDC_TEST_DEFAULT), FALSE);
    EXPECT_EQ(dialog.Item(IDC_TEST_EDIT), ::GetFocus());
}

TEST(ThemedButtons, TheThemeStateFollowsTheLastRuleThatHolds)
{
    const struct {
        bool isDefault, hot, pressed, disabled;
        int state;
    } cases[] = {
        {false, false, false, false, 1}, {true, false, false, false, 5}, {true, true, false, false, 2},
        {true, true, true, false, 3},    {false, true, false, true, 4},  {false, false, true, true, 4},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.state, CXPStyleButtonST::ThemeState(c.isDefault, c.hot, c.pressed, c.disabled))
            << c.isDefault << c.hot << c.pressed << c.disabled;
}

// Normal, hot, pressed, disabled and check buttons with the theme helper and
// without; with the library switched off both look alike.
TEST(ThemedButtons, EveryStateDrawnThemedOrFlat)
{
    CThemeHelperST helper;
    const bool off = ThemesSwitchedOff();
    EXPECT_EQ(!off, helper.IsAppThemed() != FALSE);
    CButtonsDialog themed(&helper, CPoint(20, 20));
    CButtonsDialog flat(nullptr, CPoint(20, 200));
    themed.buttons[0].SetTooltipString(L"First tip");
    themed.buttons[0].SetTooltipString(L"Adds a picture");
    wchar_t tip[32] = {};
    TOOLINFOW tool = {TTTOOLINFOW_V2_SIZE, 0, themed.Item(IDC_TEST_NORMAL), 1};
    tool.lpszText = tip;
    ::SendMessageW(themed.buttons[0].GetToolTip().m_hWnd, TTM_GETTEXTW, 32, reinterpret_cast<LPARAM>(&tool));
    EXPECT_EQ(1, themed.buttons[0].GetToolTip().GetToolCount());
    EXPECT_STREQ(L"Adds a picture", tip);

    for (CButtonsDialog* dialog : {&themed, &flat}) {
        ::SendMessageW(dialog->Item(IDC_TEST_PRESSED), BM_SETSTATE, TRUE, 0);
        ::EnableWindow(dialog->Item(IDC_TEST_DISABLED), FALSE);
        ::SendMessageW(dialog->Item(IDC_TEST_CHECK), BM_SETCHECK, BST_CHECKED, 0);
    }
    themed.Hover(IDC_TEST_HOT);
    const Pixels themedHot = Capture(themed.Item(IDC_TEST_HOT));
    EXPECT_TRUE(test_support::WriteWindowScreenshot(themed.m_hWnd, off ? L"buttons-unthemed" : L"buttons-themed"));
    flat.Hover(IDC_TEST_HOT);
    const Pixels flatHot = Capture(flat.Item(IDC_TEST_HOT));
    EXPECT_EQ(::GetSysColor(COLOR_BTNHIGHLIGHT), flatHot.At(0, 0)) << "raised while hot";
    EXPECT_TRUE(test_support::WriteWindowScreenshot(flat.m_hWnd, L"buttons-flat"));

    for (UINT id : {IDC_TEST_NORMAL, IDC_TEST_PRESSED, IDC_TEST_DISABLED, IDC_TEST_CHECK}) {
        const bool same = Capture(themed.Item(id)) == Capture(flat.Item(id));
        EXPECT_EQ(off, same) << id;
    }
    EXPECT_EQ(off, themedHot == flatHot);
}
