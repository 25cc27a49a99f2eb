// The real program's text-note pane, text tool bar, page-template pane and
// text properties sheet, driven by messages from this process.
#include "ProgramRun.h"

#include "tests/framework/KWTestFiles.h"
#include "tests/support/WindowPixels.h"
#include "tests/support/WindowScreenshot.h"

#include <gtest/gtest.h>

#include <commctrl.h>

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
    const std::wstring data = edtest::BesideTests(L"DATA\\");
    ::CreateDirectoryW(data.c_str(), nullptr);
    const char head[] = "<?xml version='1.0' encoding='utf-8' ?>\n";
    WriteFileBytes(data + L"Left.otl", std::string(head) + "<LeafTemplate Title='Left'>\n</LeafTemplate>\n");
    WriteFileBytes(data + L"Right.otl", std::string(head) + "<LeafTemplate Title='Right'>\n</LeafTemplate>\n");
    edtest::SetStartPrefs(3, L"");
    CProgramRun program;
    const bool started = program.Start();
    CKWTestTempFolder::RemoveTree(data);
    ASSERT_TRUE(started);
    ASSERT_TRUE(edtest::WaitFor([&] { return program.ReportFrames().size() == 1; }));
    HWND list = CProgramRun::FindById(program.ActiveFrame(), kTemplateList);
    ASSERT_NE(nullptr, list);
    ASSERT_EQ(2, ListView_GetItemCount(list));
    const int before = ListView_GetNextItem(list, -1, LVNI_SELECTED);

    // The keys move the selection in the list; the section takes the template.
    ::PostMessageW(list, WM_KEYDOWN, before == 1 ? VK_HOME : VK_END, 0);
    const int chosen = before == 1 ? 0 : 1;
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
