// The flat owner-drawn buttons and their themed form on a dialog driven by
// mouse messages. The themed suite runs once more with the visual-styles
// library switched off.
#include "ControlsTestResources.h"
#include "ControlsTestSupport.h"

#include "controls/ThemeHelperST.h"
#include "controls/XPStyleButtonST.h"
#include "platform/classlib/Dialog.h"
#include "platform/classlib/MessageMap.h"
#include "tests/support/WindowPixels.h"
#include "tests/support/WindowScreenshot.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <map>
#include <string>

using test_support::Capture;
using test_support::Pixels;

namespace {

class CButtonsDialog : public CDialog {
public:
    CButtonsDialog(CThemeHelperST* helper, int top) : m_helper(helper)
    {
        Create(IDD_TEST_BUTTONS);
        SetWindowPos(nullptr, 20, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
    }
    ~CButtonsDialog() override
    {
        classlib_test::DrainMessages();
        DestroyWindow();
    }
    HWND Item(UINT id) const { return ::GetDlgItem(m_hWnd, static_cast<int>(id)); }
    // Left button down and up in the middle of the item, once or with a double click.
    void Click(UINT id, bool twice = false)
    {
        const LPARAM middle = MAKELPARAM(20, 10);
        const UINT downs[] = {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK};
        for (int i = 0; i < (twice ? 2 : 1); ++i) {
            ::PostMessageW(Item(id), downs[i], MK_LBUTTON, middle);
            ::PostMessageW(Item(id), WM_LBUTTONUP, 0, middle);
        }
        const int expected = clicks[id] + (twice ? 2 : 1);
        classlib_test::PumpUntil([&] { return clicks[id] + doubleClicks >= expected; }, 2000);
    }
    // The mouse comes onto the item.
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
        for (UINT i = 0; i < 6; ++i) {
            buttons[i].SubclassDlgItem(IDC_TEST_NORMAL + i, this);
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

// Where a flat button's icon and caption are: what is not face inside its border.
CRect Content(HWND button)
{
    return Capture(button).Bounds(::GetSysColor(COLOR_BTNFACE), 1);
}

}  // namespace

TEST(FlatButtons, ACheckBoxTogglesAndStaysPressedWithoutOffsetAPushButtonMoves)
{
    CButtonsDialog dialog(nullptr, 20);
    const HWND check = dialog.Item(IDC_TEST_CHECK);
    const CRect released = Content(check);
    for (int expected : {1, 0}) {
        dialog.Click(IDC_TEST_CHECK);
        EXPECT_EQ(expected, ::SendMessageW(check, BM_GETCHECK, 0, 0));
        EXPECT_EQ(check, ::GetFocus());
        if (expected == 0)
            break;
        const Pixels checked = Capture(check);
        EXPECT_EQ(::GetSysColor(COLOR_BTNSHADOW), checked.At(0, 0)) << "sunken";
        EXPECT_EQ(released, checked.Bounds(::GetSysColor(COLOR_BTNFACE), 1)) << "not moved";
    }
    EXPECT_EQ(2, dialog.clicks[IDC_TEST_CHECK]) << "the parent hears every click";

    const HWND push = dialog.Item(IDC_TEST_NORMAL);
    CRect moved = Content(push);
    moved.OffsetRect(1, 1);
    ::SendMessageW(push, BM_SETSTATE, TRUE, 0);
    EXPECT_EQ(moved, Content(push));
}

TEST(FlatButtons, ADoubleClickIsTwoClicksAndDisablingTheFocusedButtonMovesTheFocusOn)
{
    CButtonsDialog dialog(nullptr, 20);
    dialog.Click(IDC_TEST_NORMAL, true);
    EXPECT_EQ(2, dialog.clicks[IDC_TEST_NORMAL]);
    EXPECT_EQ(0, dialog.doubleClicks);

    dialog.SetForegroundWindow();
    classlib_test::DrainMessages();
    ::SetFocus(dialog.Item(IDC_TEST_NORMAL));
    ::EnableWindow(dialog.Item(IDC_TEST_NORMAL), FALSE);
    EXPECT_EQ(dialog.Item(IDC_TEST_HOT), ::GetFocus()) << "the next tab item";
    ::EnableWindow(dialog.Item(IDC_TEST_PRESSED), FALSE);
    EXPECT_EQ(dialog.Item(IDC_TEST_HOT), ::GetFocus()) << "a focus elsewhere stays";
}

TEST(ThemedButtons, TheThemeStateFollowsTheLastRuleThatHolds)
{
    EXPECT_EQ(1, CXPStyleButtonST::ThemeState(false, false, false, false));
    EXPECT_EQ(5, CXPStyleButtonST::ThemeState(true, false, false, false));
    EXPECT_EQ(2, CXPStyleButtonST::ThemeState(true, true, false, false)) << "default and hot";
    EXPECT_EQ(3, CXPStyleButtonST::ThemeState(true, true, true, false));
    EXPECT_EQ(4, CXPStyleButtonST::ThemeState(false, true, false, true)) << "disabled and hot";
}

// Normal, hot, pressed, disabled and check buttons with the theme helper and
// without; with the library switched off both look alike.
TEST(ThemedButtons, EveryStateDrawnThemedOrFlat)
{
    wchar_t switchedOff[4] = {};
    const bool off = ::GetEnvironmentVariableW(L"OT_UXTHEME_DISABLED", switchedOff, 4) > 0;
    CThemeHelperST helper;
    EXPECT_EQ(!off, helper.IsAppThemed() != FALSE);
    CButtonsDialog themed(&helper, 20);
    CButtonsDialog flat(nullptr, 200);
    std::map<CButtonsDialog*, Pixels> hot;
    for (CButtonsDialog* dialog : {&themed, &flat}) {
        ::SendMessageW(dialog->Item(IDC_TEST_PRESSED), BM_SETSTATE, TRUE, 0);
        ::EnableWindow(dialog->Item(IDC_TEST_DISABLED), FALSE);
        ::SendMessageW(dialog->Item(IDC_TEST_CHECK), BM_SETCHECK, BST_CHECKED, 0);
        dialog->Hover(IDC_TEST_HOT);
        hot[dialog] = Capture(dialog->Item(IDC_TEST_HOT));
        const wchar_t* name = dialog == &flat ? L"buttons-flat" : off ? L"buttons-unthemed" : L"buttons-themed";
        EXPECT_TRUE(test_support::WriteWindowScreenshot(dialog->m_hWnd, name));
    }
    EXPECT_EQ(::GetSysColor(COLOR_BTNHIGHLIGHT), hot[&flat].At(0, 0)) << "raised while hot";
    EXPECT_EQ(off, hot[&themed] == hot[&flat]);
    for (UINT id : {IDC_TEST_NORMAL, IDC_TEST_PRESSED, IDC_TEST_DISABLED, IDC_TEST_CHECK})
        EXPECT_EQ(off, Capture(themed.Item(id)) == Capture(flat.Item(id))) << id;
}

namespace {

BOOL CALLBACK CountTooltip(HWND window, LPARAM data)
{
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    if (::lstrcmpiW(name, TOOLTIPS_CLASSW) == 0)
        ++*reinterpret_cast<int*>(data);
    return TRUE;
}

// The tooltip windows of this thread.
int CountTooltipWindows()
{
    int count = 0;
    ::EnumThreadWindows(::GetCurrentThreadId(), CountTooltip, reinterpret_cast<LPARAM>(&count));
    return count;
}

// The text of the tooltip's only tool.
std::wstring ToolText(CToolTipCtrl& tip)
{
    wchar_t text[80] = {};
    TOOLINFOW info = {};
    info.cbSize = sizeof(info);
    info.lpszText = text;
    if (!tip.SendMessage(TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&info)))
        return L"";
    return text;
}

}  // namespace

TEST(FlatButtons, ATooltipWindowComesWithTheMouseAndShowsTheTextSetLast)
{
    CButtonsDialog dialog(nullptr, 20);
    CXPStyleButtonST& button = dialog.buttons[0];
    const int before = CountTooltipWindows();
    button.SetTooltipString(L"First");
    button.SetTooltipString(L"Open a folder");
    MSG paint = {button.m_hWnd, WM_PAINT, 0, 0};
    button.PreTranslateMessage(&paint);
    EXPECT_EQ(before, CountTooltipWindows()) << "no window before the mouse comes";

    MSG move = {button.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5)};
    button.PreTranslateMessage(&move);
    EXPECT_EQ(before + 1, CountTooltipWindows());
    EXPECT_EQ(1, button.GetToolTip().GetToolCount());
    EXPECT_EQ(L"Open a folder", ToolText(button.GetToolTip()));
    // A text set once the window is there goes straight to it.
    button.SetTooltipString(L"Close it");
    EXPECT_EQ(1, button.GetToolTip().GetToolCount());
    EXPECT_EQ(L"Close it", ToolText(button.GetToolTip()));
    EXPECT_EQ(before + 1, CountTooltipWindows());
}
