// The real program's text-note pane, text tool bar, page-template pane and
// text properties sheet, the text colour's palette and the colour dialog,
// driven by messages from this process.
#include "ProgramMenus.h"
#include "ProgramRealInput.h"
#include "ProgramRun.h"
#include "UserInput.h"

#include "tests/framework/KWTestFiles.h"
#include "tests/support/WindowPixels.h"
#include "tests/support/WindowScreenshot.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <utility>
#include <vector>

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

// The window's pixels of the colour.
int CountOf(HWND window, COLORREF color)
{
    const test_support::Pixels pixels = test_support::Capture(window, false);
    return int(std::count(pixels.values.begin(), pixels.values.end(), color));
}

// The window's pixels within a few steps of the colour in each part.
int CountNear(HWND window, COLORREF color)
{
    const test_support::Pixels pixels = test_support::Capture(window, false);
    return int(std::count_if(pixels.values.begin(), pixels.values.end(), [color](COLORREF c) {
        return std::abs(GetRValue(c) - GetRValue(color)) < 24 && std::abs(GetGValue(c) - GetGValue(color)) < 24 &&
               std::abs(GetBValue(c) - GetBValue(color)) < 24;
    }));
}

// A program showing one report made from the default template.
class ProgramText : public testing::Test {
protected:
    // The pointer left over a tool bar would show a button's prompt to the
    // programs of later tests.
    edtest::PointerKept pointer;
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
    // What the panel shows once two looks in a row agree: a look while the
    // program paints may catch half of a change.
    test_support::Pixels ShownSteady()
    {
        test_support::Pixels last = Shown();
        edtest::WaitFor([&] {
            test_support::Pixels now = Shown();
            const bool steady = now == last;
            last = std::move(now);
            return steady;
        });
        return last;
    }
    // Waits until the panel shows (or, with differs, stops showing) the pixels.
    bool Shows(const test_support::Pixels& pixels, bool differs = false)
    {
        return edtest::WaitFor([&] { return (Shown() == pixels) != differs; });
    }

    // The arrow of the text tool bar's colour button clicked with the mouse;
    // true once the palette (the popup's bar) holds its cells.
    bool OpenPalette(HWND& popup, HWND& palette)
    {
        HWND bar = CProgramRun::FindById(program.Main(), kTextToolBar);
        const int index = bar ? edtest::BarCommandIndex(bar, 32846) : -1;
        if (index < 0)
            return false;
        const RECT button = edtest::BarItemRect(bar, index);
        ::SetForegroundWindow(program.Main());
        edtest::ApproachAndClick({button.right - 3, (button.top + button.bottom) / 2});
        return edtest::WaitFor([&] {
            popup = program.FindPopup();
            palette = popup ? ::GetWindow(popup, GW_CHILD) : nullptr;
            return palette && ::SendMessageW(palette, TB_BUTTONCOUNT, 0, 0) > 8;
        });
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
    ::PostMessageW(panel, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 10));
    ::PostMessageW(panel, WM_LBUTTONUP, 0, MAKELPARAM(20, 10));
    Type(L"Colour");
    HWND bar = CProgramRun::FindById(program.Main(), kTextToolBar);
    ASSERT_NE(nullptr, bar);
    HWND popup = nullptr;
    HWND palette = nullptr;
    ASSERT_TRUE(OpenPalette(popup, palette));

    // "More Color..." is the palette's last item: the common colour dialog
    // (its basic colours 720, the red, green and blue boxes 706 to 708).
    ::PostMessageW(popup, WM_KEYDOWN, VK_END, 0);
    ::PostMessageW(popup, WM_KEYDOWN, VK_RETURN, 0);
    HWND dialog = program.WaitForDialogWith(720);
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(nullptr, ::GetDlgItem(dialog, 16662));

    // A colour typed into its red, green and blue boxes; OK keeps it.
    const COLORREF chosen = RGB(0, 128, 64);
    const struct {
        int item;
        const wchar_t* digits;
    } parts[] = {{706, L"0"}, {707, L"128"}, {708, L"64"}};
    for (const auto& part : parts) {
        HWND box = ::GetDlgItem(dialog, part.item);
        ASSERT_NE(nullptr, box);
        ::SendMessageW(box, EM_SETSEL, 0, -1);
        for (const wchar_t* c = part.digits; *c; ++c)
            ::SendMessageW(box, WM_CHAR, *c, 1);
    }
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

namespace {

constexpr UINT kBold = 32843;
// The panel's highlight under selected text.
constexpr COLORREF kSelectionColour = RGB(0xB6, 0xE8, 0xFC);
constexpr UINT kItalic = 32844;
constexpr UINT kUnderline = 32845;

bool Reddish(COLORREF c)
{
    return GetRValue(c) > 180 && GetGValue(c) < 90 && GetBValue(c) < 90;
}

bool Bluish(COLORREF c)
{
    return GetBValue(c) > 180 && GetRValue(c) < 90 && GetGValue(c) < 90;
}

// Whether the colour bar of the tool bar's colour button shows the colour:
// rows of the button with a run of it as long as the bar is high.
bool ColourButtonShows(HWND bar, int index, COLORREF colour)
{
    constexpr int kBarHeight = 5;
    const RECT local = edtest::AskRemote<RECT>(bar, TB_GETITEMRECT, index);
    const test_support::Pixels shown = test_support::Capture(bar, false);
    int rows = 0;
    for (int y = std::max(0L, local.top); y < local.bottom && y < shown.height; ++y) {
        int run = 0, longest = 0;
        for (int x = std::max(0L, local.left); x < local.right && x < shown.width; ++x) {
            run = shown.At(x, y) == colour ? run + 1 : 0;
            longest = std::max(longest, run);
        }
        rows += longest >= kBarHeight;
    }
    return rows >= kBarHeight - 1;
}

int CountWhere(const test_support::Pixels& pixels, bool (*take)(COLORREF))
{
    return int(std::count_if(pixels.values.begin(), pixels.values.end(), take));
}

// A program whose note is typed and selected by the keyboard, as a user does.
class ProgramTextByHand : public ProgramText {
protected:
    edtest::PointerKept pointer;
    void SetUp() override
    {
        ProgramText::SetUp();
        ::SetForegroundWindow(program.Main());
        ASSERT_TRUE(edtest::WaitFor([&] { return ::GetForegroundWindow() == program.Main(); }));
        edtest::ApproachAndClick(edtest::OnScreen(panel, {20, 10}));
        ASSERT_TRUE(edtest::WaitFor([&] { return FocusOf() == panel; }));
    }
    HWND FocusOf()
    {
        GUITHREADINFO info = {};
        info.cbSize = sizeof(info);
        ::GetGUIThreadInfo(::GetWindowThreadProcessId(program.Main(), nullptr), &info);
        return info.hwndFocus;
    }
    // Typed, then selected back to the line's start with Shift+Home: done
    // once the highlight lies under the whole text (the caret's blinking
    // alone changes what the panel shows).
    void TypeAndSelect(const wchar_t* text)
    {
        // The keys go to the note once it holds the keyboard (after a palette
        // or a menu closed, the program gives it back).
        ASSERT_TRUE(edtest::WaitFor([&] { return FocusOf() == panel; }))
            << "the keyboard is in a " << CProgramRun::ClassName(FocusOf()).c_str();
        edtest::TypeText(text);
        ASSERT_TRUE(edtest::InputTaken(edtest::InputWitness(panel)));
        ASSERT_TRUE(edtest::WaitFor([&] { return Shown().Bounds(RGB(255, 255, 255)).Width() > 20; }));
        const CRect ink = Shown().Bounds(RGB(255, 255, 255));
        edtest::PressChord(VK_SHIFT, VK_HOME);
        CRect highlight;
        ASSERT_TRUE(edtest::WaitFor([&] {
            const test_support::Pixels shown = Shown();
            highlight = CRect(shown.width, shown.height, 0, 0);
            for (int y = 0; y < shown.height; ++y)
                for (int x = 0; x < shown.width; ++x)
                    if (shown.At(x, y) == kSelectionColour)
                        highlight |= CRect(x, y, x + 1, y + 1);
            return highlight.left <= ink.left + 1 && highlight.right >= ink.right - 2;
        })) << "the highlight " << highlight.left << "-" << highlight.right << " under the ink " << ink.left << "-"
            << ink.right << "; the keyboard is in a " << CProgramRun::ClassName(FocusOf()).c_str();
    }
    // The palette opened by the colour button's arrow, the cell of the colour
    // clicked once every cell shows its colour (none is drawn disabled,
    // empty); true once the palette is gone and the panel painted again.
    // Photographed under the name.
    bool PickFromPalette(COLORREF colour, const wchar_t* screenshot = nullptr)
    {
        HWND popup = nullptr;
        HWND palette = nullptr;
        if (!OpenPalette(popup, palette))
            return false;
        RECT cell = {};
        const bool found = edtest::WaitFor([&] {
            const test_support::Pixels cells = test_support::Capture(palette, false);
            const int count = int(::SendMessageW(palette, TB_BUTTONCOUNT, 0, 0));
            for (int i = 0; i < count; ++i) {
                const RECT at = edtest::AskRemote<RECT>(palette, TB_GETITEMRECT, i);
                const POINT middle = edtest::CentreOf(at);
                if (at.right > at.left && middle.x < cells.width && middle.y < cells.height &&
                    cells.At(middle.x, middle.y) == colour)
                    cell = at;
            }
            return cell.right > cell.left;
        });
        if (!found)
            return false;
        if (screenshot)
            test_support::WriteWindowScreenshot(::GetDesktopWindow(), screenshot);
        edtest::ApproachAndClick(edtest::OnScreen(palette, edtest::CentreOf(cell)));
        // The palette drops over the panel: until the program paints it again,
        // its surface keeps the palette's cells there, which a look at the
        // text would take for ink.
        return edtest::WaitFor([&] { return !::IsWindow(popup); }) && edtest::InputTaken(panel);
    }
    // The check mark of a Text menu item, the menu opened by Alt+T. The menu
    // drops over the panel: done once the panel shows again what it showed
    // before (until the program repaints it, the screen keeps the menu's
    // pixels there, which a later look would take for a change of the text).
    bool TextMenuChecks(UINT command)
    {
        const test_support::Pixels before = Shown();
        edtest::PressKeys({{VK_MENU, true}, {'T', true}, {'T', false}, {VK_MENU, false}});
        HWND popup = nullptr;
        HWND items = nullptr;
        edtest::WaitFor([&] {
            popup = program.FindPopup();
            items = popup ? ::GetWindow(popup, GW_CHILD) : nullptr;
            return items && edtest::BarCommandIndex(items, command) >= 0;
        });
        const bool checked = edtest::BarCommandChecked(items, command);
        edtest::PressKeys({{VK_ESCAPE, true}, {VK_ESCAPE, false}, {VK_ESCAPE, true}, {VK_ESCAPE, false}});
        edtest::WaitFor([&] { return !program.FindPopup(); });
        EXPECT_TRUE(Shows(before));
        return checked;
    }
};

}  // namespace

TEST_F(ProgramTextByHand, APaletteCellClickedColoursTheSelectionAsOneStep)
{
    TypeAndSelect(L"Colour");
    const test_support::Pixels selected = ShownSteady();
    EXPECT_EQ(0, CountWhere(selected, Reddish));

    // The arrow of the tool bar's colour button opens the palette: a cell per
    // colour; the red one is clicked.
    HWND bar = CProgramRun::FindById(program.Main(), kTextToolBar);
    ASSERT_NE(nullptr, bar);
    const int colorIndex = edtest::BarCommandIndex(bar, 32846);
    ASSERT_GE(colorIndex, 0);
    ASSERT_TRUE(PickFromPalette(RGB(255, 0, 0), L"editor_program_text_palette_by_hand"));
    EXPECT_TRUE(edtest::WaitFor([&] { return CountWhere(Shown(), Reddish) > 0; }));
    test_support::WriteWindowScreenshot(program.Main(), L"editor_program_text_red_by_hand");

    // The colour is one step: Ctrl+Z gives the same text, selected, without
    // it; the colour button then shows the note's black again, not red.
    EXPECT_TRUE(edtest::WaitFor([&] { return ColourButtonShows(bar, colorIndex, RGB(255, 0, 0)); }));
    edtest::PressChord(VK_CONTROL, 'Z');
    EXPECT_TRUE(Shows(selected));
    EXPECT_TRUE(edtest::WaitFor([&] { return ColourButtonShows(bar, colorIndex, RGB(0, 0, 0)); }));
}

// After a colour is picked from the palette the button goes on showing the
// colour of the text the caret is in, text of two other colours in turn;
// over a selection of several colours it keeps the last, which a click on
// its face applies to the whole selection as one step.
TEST_F(ProgramTextByHand, AfterAPickTheColourButtonFollowsTheCaretAndItsFaceAppliesWhatItShows)
{
    HWND bar = CProgramRun::FindById(program.Main(), kTextToolBar);
    ASSERT_NE(nullptr, bar);
    const int colorIndex = edtest::BarCommandIndex(bar, 32846);
    ASSERT_GE(colorIndex, 0);
    const COLORREF black = RGB(0, 0, 0), blue = RGB(0, 0, 255), red = RGB(255, 0, 0);
    auto shows = [&](COLORREF colour) {
        return edtest::WaitFor([&] { return ColourButtonShows(bar, colorIndex, colour); });
    };
    // "black " typed as the note's own colour, "blue " and "red" each after
    // its colour was picked in the palette (the caret's colour then).
    edtest::TypeText(L"black ");
    ASSERT_TRUE(edtest::WaitFor([&] { return Shown().Bounds(RGB(255, 255, 255)).Width() > 20; }));
    EXPECT_TRUE(shows(black));
    const struct {
        COLORREF colour;
        bool (*inked)(COLORREF);
        const wchar_t* text;
    } typed[] = {{blue, Bluish, L"blue "}, {red, Reddish, L"red"}};
    for (const auto& t : typed) {
        ASSERT_TRUE(PickFromPalette(t.colour));
        ASSERT_TRUE(shows(t.colour));
        edtest::TypeText(t.text);
        ASSERT_TRUE(edtest::WaitFor([&] { return CountWhere(Shown(), t.inked) > 0; }));
    }
    test_support::WriteWindowScreenshot(program.Main(), L"editor_program_text_three_colours");

    // The caret at the end of "red": the picked colour. Moved into "blue",
    // then into "black", the button shows their colours.
    const struct {
        std::vector<WORD> keys;
        COLORREF colour;
    } moves[] = {{{}, red},
                 {{VK_LEFT, VK_LEFT, VK_LEFT, VK_LEFT, VK_LEFT, VK_LEFT}, blue},
                 {{VK_HOME, VK_RIGHT, VK_RIGHT}, black}};
    for (const auto& move : moves) {
        for (WORD key : move.keys)
            edtest::TapKey(key);
        EXPECT_TRUE(shows(move.colour)) << move.keys.size();
        for (COLORREF other : {black, blue, red})
            EXPECT_TRUE(other == move.colour || !ColourButtonShows(bar, colorIndex, other)) << move.keys.size();
    }

    // Shift+End selects "ack blue red": no one colour, the button keeps black.
    // Its face colours the selection black, as one step.
    edtest::PressChord(VK_SHIFT, VK_END);
    ASSERT_TRUE(edtest::WaitFor([&] { return CountOf(panel, kSelectionColour) > 0; }));
    const test_support::Pixels mixed = ShownSteady();
    EXPECT_GT(CountWhere(mixed, Reddish), 0);
    EXPECT_GT(CountWhere(mixed, Bluish), 0);
    EXPECT_TRUE(ColourButtonShows(bar, colorIndex, black));
    const RECT button = edtest::BarItemRect(bar, colorIndex);
    edtest::ApproachAndClick({button.left + (button.right - button.left) / 3, (button.top + button.bottom) / 2});
    EXPECT_TRUE(edtest::WaitFor([&] {
        const test_support::Pixels shown = Shown();
        return CountWhere(shown, Reddish) == 0 && CountWhere(shown, Bluish) == 0;
    }));
    EXPECT_EQ(nullptr, program.FindDialog());
    test_support::WriteWindowScreenshot(program.Main(), L"editor_program_text_black_by_face");
    edtest::PressChord(VK_CONTROL, 'Z');
    EXPECT_TRUE(Shows(mixed));
}

// The menu's Choose Text Color applies the colour the tool-bar button holds,
// with no dialog: "Tin" typed black, "ted" after a pick of red, the whole
// line selected (the button keeps red over the two colours).
TEST_F(ProgramTextByHand, TextChooseTextColorAppliesTheColourTheToolBarButtonHolds)
{
    HWND bar = CProgramRun::FindById(program.Main(), kTextToolBar);
    ASSERT_NE(nullptr, bar);
    const int colorIndex = edtest::BarCommandIndex(bar, 32846);
    edtest::TypeText(L"Tin");
    ASSERT_TRUE(PickFromPalette(RGB(255, 0, 0)));
    TypeAndSelect(L"ted");
    const test_support::Pixels mixed = ShownSteady();
    EXPECT_TRUE(ColourButtonShows(bar, colorIndex, RGB(255, 0, 0)));
    program.PostCommand(32846);
    EXPECT_TRUE(edtest::WaitFor([&] { return CountWhere(Shown(), Reddish) > 3 * CountWhere(mixed, Reddish) / 2; }));
    EXPECT_EQ(nullptr, program.FindDialog());
    test_support::WriteWindowScreenshot(program.Main(), L"editor_program_text_tinted");
    edtest::PressChord(VK_CONTROL, 'Z');
    EXPECT_TRUE(Shows(mixed));
}

TEST_F(ProgramTextByHand, CtrlBIAndUToggleTheSelectionsStylesOneStepEach)
{
    // What the text shows: the box around everything that is not white or
    // the selection's highlight.
    TypeAndSelect(L"Styled");
    const test_support::Pixels plain = ShownSteady();
    const CRect plainInk = plain.Bounds(RGB(255, 255, 255));
    EXPECT_FALSE(TextMenuChecks(kBold));

    edtest::PressChord(VK_CONTROL, 'B');
    ASSERT_TRUE(Shows(plain, true));
    const test_support::Pixels bold = ShownSteady();
    EXPECT_TRUE(TextMenuChecks(kBold));
    edtest::PressChord(VK_CONTROL, 'I');
    ASSERT_TRUE(Shows(bold, true));
    const test_support::Pixels boldItalic = ShownSteady();
    EXPECT_TRUE(TextMenuChecks(kItalic));
    EXPECT_FALSE(TextMenuChecks(kUnderline));
    edtest::PressChord(VK_CONTROL, 'U');
    ASSERT_TRUE(Shows(boldItalic, true));
    const test_support::Pixels underlined = ShownSteady();
    EXPECT_TRUE(TextMenuChecks(kUnderline));
    // No key put a character in place of the text: it is still as wide.
    EXPECT_GE(underlined.Bounds(RGB(255, 255, 255)).Width(), plainInk.Width());
    test_support::WriteWindowScreenshot(program.Main(), L"editor_program_text_styled_by_keys");

    // Pressed again, a key takes its style off.
    edtest::PressChord(VK_CONTROL, 'U');
    EXPECT_TRUE(Shows(boldItalic));
    // Each key was one step: Ctrl+Z goes back through them.
    const test_support::Pixels* steps[] = {&underlined, &boldItalic, &bold, &plain};
    for (const test_support::Pixels* step : steps) {
        edtest::PressChord(VK_CONTROL, 'Z');
        EXPECT_TRUE(Shows(*step));
    }
    EXPECT_FALSE(TextMenuChecks(kBold));
}

TEST_F(ProgramTextByHand, EditUndoClickedWithTheMouseUndoesTheLastStep)
{
    auto inkWidth = [&] { return Shown().Bounds(RGB(255, 255, 255)).Width(); };
    edtest::TypeText(L"ab");
    ASSERT_TRUE(edtest::WaitFor([&] { return inkWidth() > 8; }));
    // The caret's blinking changes the width by a pixel or two; a W by more.
    const int before = inkWidth();
    edtest::TypeText(L"W");
    ASSERT_TRUE(edtest::WaitFor([&] { return inkWidth() > before + 4; }));
    const int typed = inkWidth();

    // The Edit menu opened by its key; its first item, Undo, clicked with the mouse.
    edtest::PressKeys({{VK_MENU, true}, {'E', true}, {'E', false}, {VK_MENU, false}});
    HWND popup = nullptr;
    HWND items = nullptr;
    ASSERT_TRUE(edtest::WaitFor([&] {
        popup = program.FindPopup();
        items = popup ? ::GetWindow(popup, GW_CHILD) : nullptr;
        return items && edtest::BarCommandIndex(items, 57643) >= 0;
    }));
    const RECT undo = edtest::BarItemRect(items, edtest::BarCommandIndex(items, 57643));
    // The menu opens growing: the item is clicked once the menu holds still.
    RECT last = {};
    edtest::WaitFor([&] {
        RECT now = {};
        ::GetWindowRect(popup, &now);
        const bool steady = ::EqualRect(&now, &last) && now.bottom > now.top;
        last = now;
        return steady;
    });
    edtest::ApproachAndClick(edtest::CentreOf(undo));
    EXPECT_TRUE(edtest::WaitFor([&] { return !::IsWindow(popup); }));
    // The last character went: the text is narrower, the rest is still there.
    EXPECT_TRUE(edtest::WaitFor([&] {
        const int now = inkWidth();
        return now < typed && now > 8;
    }));
    test_support::WriteWindowScreenshot(program.Main(), L"editor_program_undo_by_mouse");
}
