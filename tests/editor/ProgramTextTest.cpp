// The real program's text-note pane, text tool bar, page-template pane and
// text properties sheet, the text colour's palette and the colour dialog,
// driven by messages from this process.
#include "ProgramRun.h"

#include "tests/framework/KWTestFiles.h"
#include "tests/support/WindowPixels.h"
#include "tests/support/WindowScreenshot.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>

using edtest::CProgramRun;

namespace {

constexpr int kTextPanel = 1159;
constexpr int kTemplateList = 1135;
constexpr int kTextToolBar = 59954;
constexpr int kFontSizeBox = 32842;
constexpr int kFontNameBox = 32853;

// An edit or combo box of the text tool bar by its command.
HWND ToolBarBox(HWND main, int command, const wchar_t* className)
{
    HWND bar = CProgramRun::FindById(main, kTextToolBar);
    for (HWND child = bar ? ::GetWindow(bar, GW_CHILD) : nullptr; child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[32] = {};
        ::GetClassNameW(child, name, 32);
        if (::GetDlgCtrlID(child) == command && _wcsicmp(name, className) == 0)
            return child;
    }
    return nullptr;
}

// What a message of a library tool bar writes through its pointer: the bar
// is in the program's process, so the memory is lent there.
template <typename T>
T AskBar(HWND bar, UINT message, WPARAM index)
{
    T value{};
    DWORD pid = 0;
    ::GetWindowThreadProcessId(bar, &pid);
    HANDLE process = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    void* remote = process ? ::VirtualAllocEx(process, nullptr, sizeof(T), MEM_COMMIT, PAGE_READWRITE) : nullptr;
    if (remote) {
        ::SendMessageW(bar, message, index, reinterpret_cast<LPARAM>(remote));
        ::ReadProcessMemory(process, remote, &value, sizeof(T), nullptr);
        ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    if (process)
        ::CloseHandle(process);
    return value;
}

// A press and release of the left button at a client point of a window, the
// cursor put there first (buttons with an arrow ask where it is).
void Click(HWND window, CPoint point)
{
    CPoint screen = point;
    ::ClientToScreen(window, &screen);
    ::SetCursorPos(screen.x, screen.y);
    ::PostMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(point.x, point.y));
    ::PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
    ::PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(point.x, point.y));
}

// The window's pixels of the colour.
int CountOf(HWND window, COLORREF color)
{
    const test_support::Pixels pixels = test_support::Capture(window, false);
    return int(std::count(pixels.values.begin(), pixels.values.end(), color));
}

// A program showing one report made from the default template.
class ProgramText : public testing::Test {
protected:
    void SetUp() override
    {
        edtest::SetStartPrefs(3, L"");
        ASSERT_TRUE(program.Start());
        ASSERT_TRUE(edtest::WaitFor([&] { return program.ReportFrames().size() == 1; }));
        frame = program.ActiveFrame();
        panel = CProgramRun::FindById(frame, kTextPanel);
        ASSERT_NE(nullptr, panel);
    }
    // Answered once the program has handled what came before.
    void Settle() { ::SendMessageW(program.Main(), WM_NULL, 0, 0); }
    void Type(const wchar_t* text)
    {
        for (const wchar_t* c = text; *c; ++c)
            ::PostMessageW(panel, WM_CHAR, *c, 1);
        Settle();
    }
    test_support::Pixels Shown()
    {
        Settle();
        return test_support::Capture(panel, false);
    }
    // Waits until the panel shows (or, with differs, stops showing) the pixels.
    bool Shows(const test_support::Pixels& pixels, bool differs = false)
    {
        return edtest::WaitFor([&] { return (Shown() == pixels) != differs; }, 5000);
    }

    CProgramRun program;
    HWND frame = nullptr;
    HWND panel = nullptr;
};

}  // namespace

TEST_F(ProgramText, ANoteIsTypedAndFormattedFromTheToolBarAndUndoneStepByStep)
{
    // What the panel shows: the box around everything that is not white
    // (the text, the selection, the caret when it is on).
    auto ink = [&] { return Shown().Bounds(RGB(255, 255, 255)); };
    ::PostMessageW(panel, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 10));
    ::PostMessageW(panel, WM_LBUTTONUP, 0, MAKELPARAM(20, 10));
    Type(L"Hi");  // one step per character
    ASSERT_TRUE(edtest::WaitFor([&] { return ink().Width() > 8; }));
    const CRect typed = ink();

    // Everything selected, bold from its button, 20 points from the size box.
    program.Command(1164);
    program.Command(32843);
    HWND sizeEdit = ToolBarBox(program.Main(), kFontSizeBox, L"Edit");
    ASSERT_NE(nullptr, sizeEdit);
    ::SendMessageW(sizeEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"20"));
    ::PostMessageW(sizeEdit, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(edtest::WaitFor([&] { return ink().Height() > typed.Height() + 5; }));
    test_support::WriteWindowScreenshot(program.Main(), L"editor_program_note_formatted");

    // The boxes follow the selection's font.
    EXPECT_TRUE(edtest::WaitFor([&] { return CProgramRun::Text(sizeEdit) == L"20"; }));
    HWND nameBox = ToolBarBox(program.Main(), kFontNameBox, L"ComboBox");
    ASSERT_NE(nullptr, nameBox);
    EXPECT_NE(CB_ERR, ::SendMessageW(nameBox, CB_GETCURSEL, 0, 0));

    // Undo: the size and the bold give the small text back; each character
    // goes with a step of its own.
    program.Command(57643);
    program.Command(57643);
    EXPECT_TRUE(edtest::WaitFor([&] { return ink().Height() < typed.Height() + 5; }));
    EXPECT_TRUE(edtest::WaitFor([&] { return CProgramRun::Text(sizeEdit) == L"10"; }));
    program.Command(57643);
    program.Command(57643);
    EXPECT_TRUE(edtest::WaitFor([&] { return ink().Width() <= 2; }));
    test_support::WriteWindowScreenshot(program.Main(), L"editor_program_note_undone");
}

TEST(ProgramTemplates, ChoosingAThumbnailGivesTheSectionItsTemplateAsOneStep)
{
    // Two more beside the templates the build ships there.
    const std::wstring data = edtest::BesideTests(L"DATA\\");
    ::CreateDirectoryW(data.c_str(), nullptr);
    const char head[] = "<?xml version='1.0' encoding='utf-8' ?>\n";
    const std::wstring left = data + L"Left.otl", right = data + L"Right.otl";
    WriteFileBytes(left, std::string(head) + "<LeafTemplate Title='Left'>\n</LeafTemplate>\n");
    WriteFileBytes(right, std::string(head) + "<LeafTemplate Title='Right'>\n</LeafTemplate>\n");
    edtest::SetStartPrefs(3, L"");
    CProgramRun program;
    const bool started = program.Start();
    ::DeleteFileW(left.c_str());
    ::DeleteFileW(right.c_str());
    ASSERT_TRUE(started);
    ASSERT_TRUE(edtest::WaitFor([&] { return program.ReportFrames().size() == 1; }));
    HWND list = CProgramRun::FindById(program.ActiveFrame(), kTemplateList);
    ASSERT_NE(nullptr, list);
    const int count = ListView_GetItemCount(list);
    ASSERT_GE(count, 2);
    const int before = ListView_GetNextItem(list, -1, LVNI_SELECTED);

    // The keys move the selection in the list; the section takes the template.
    ::PostMessageW(list, WM_KEYDOWN, before == count - 1 ? VK_HOME : VK_END, 0);
    const int chosen = before == count - 1 ? 0 : count - 1;
    EXPECT_TRUE(edtest::WaitFor([&] { return ListView_GetNextItem(list, -1, LVNI_SELECTED) == chosen; }));
    test_support::WriteWindowScreenshot(program.Main(), L"editor_program_template_chosen");
    program.Command(57643);
    EXPECT_TRUE(edtest::WaitFor([&] { return ListView_GetNextItem(list, -1, LVNI_SELECTED) == before; }));
    program.Command(57644);
    EXPECT_TRUE(edtest::WaitFor([&] { return ListView_GetNextItem(list, -1, LVNI_SELECTED) == chosen; }));
}

TEST_F(ProgramText, TextFormatOpensTheTextPropertiesSheet)
{
    program.PostCommand(32796);
    HWND sheet = program.WaitForDialogWith(0x3020);
    ASSERT_NE(nullptr, sheet);
    EXPECT_EQ(L"Text Properties...", CProgramRun::Text(sheet));
    EXPECT_NE(nullptr, CProgramRun::FindById(sheet, 1056));
    test_support::WriteWindowScreenshot(sheet, L"editor_program_text_properties");
    ::PostMessageW(sheet, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(edtest::WaitFor([&] { return !program.FindDialog(); }));
}

TEST_F(ProgramText, TheTextColourArrowOpensThePaletteWhoseMoreColorOpensTheColourDialog)
{
    constexpr UINT kTextColor = 32846;
    ::PostMessageW(panel, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 10));
    ::PostMessageW(panel, WM_LBUTTONUP, 0, MAKELPARAM(20, 10));
    Type(L"Colour");
    HWND bar = CProgramRun::FindById(program.Main(), kTextToolBar);
    ASSERT_NE(nullptr, bar);
    int index = -1;
    const int count = int(::SendMessageW(bar, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < count && index < 0; ++i)
        if (AskBar<TBBUTTON>(bar, TB_GETBUTTON, i).idCommand == int(kTextColor))
            index = i;
    ASSERT_GE(index, 0);
    const CRect button = AskBar<RECT>(bar, TB_GETITEMRECT, index);
    ::SetForegroundWindow(program.Main());
    Click(bar, CPoint(button.right - 3, button.CenterPoint().y));
    HWND popup = nullptr;
    HWND palette = nullptr;
    ASSERT_TRUE(edtest::WaitFor([&] {
        popup = program.FindPopup();
        palette = popup ? ::GetWindow(popup, GW_CHILD) : nullptr;
        return palette && ::SendMessageW(palette, TB_BUTTONCOUNT, 0, 0) > 8;
    }, 5000));

    // "More Color..." is the palette's last item.
    ::PostMessageW(popup, WM_KEYDOWN, VK_END, 0);
    ::PostMessageW(popup, WM_KEYDOWN, VK_RETURN, 0);
    HWND dialog = program.WaitForDialogWith(16662, 5000);
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(L"Colors", CProgramRun::Text(dialog));

    // A cell of the hexagon above its middle; the preview shows it, OK keeps it.
    HWND hexagon = CProgramRun::FindById(dialog, 16974);
    HWND preview = ::GetDlgItem(dialog, 16662);
    ASSERT_NE(nullptr, hexagon);
    CRect rectHexagon;
    ::GetClientRect(hexagon, &rectHexagon);
    Click(hexagon, CPoint(rectHexagon.CenterPoint().x, rectHexagon.Height() / 4));
    COLORREF chosen = 0;
    ASSERT_TRUE(edtest::WaitFor([&] {
        CRect rectPreview;
        ::GetClientRect(preview, &rectPreview);
        chosen = test_support::Capture(preview, false).At(rectPreview.Width() / 2, rectPreview.Height() / 4);
        return chosen != RGB(0, 0, 0) && chosen != RGB(255, 255, 255) && chosen != ::GetSysColor(COLOR_BTNFACE);
    }, 5000));
    ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(edtest::WaitFor([&] { return CountOf(bar, chosen) > 0; }));
    // The button shows the colour before the palette posts its command and
    // closes: once it is closed the command is queued ahead of the keys.
    EXPECT_TRUE(edtest::WaitFor([&] { return !::IsWindow(popup); }));
    // What is typed next takes the colour.
    EXPECT_EQ(0, CountOf(panel, chosen));
    Type(L"WW");
    EXPECT_TRUE(edtest::WaitFor([&] { return CountOf(panel, chosen) > 0; }));
    test_support::WriteWindowScreenshot(program.Main(), L"editor_program_text_coloured");
}
