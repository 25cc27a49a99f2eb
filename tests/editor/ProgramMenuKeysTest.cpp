// The program's menus opened and walked with the keys, as a user does.
#include "ProgramByHand.h"

#include "tests/support/WindowScreenshot.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cwctype>
#include <map>
#include <string>
#include <vector>

using edtest::CProgramRun;
using namespace edtest;

namespace {

constexpr UINT kToolbarsMain = 32787;

}  // namespace

TEST_F(ProgramByHand, AltVThenTOpensTheToolbarsMenuAndLeavesTheSectionTree)
{
    HWND tree = CProgramRun::FindById(frame, kTree);
    ASSERT_NE(nullptr, tree);
    ASSERT_TRUE(::IsWindowVisible(tree));
    // The keys go to a program that has handled what its start queued.
    Settle();
    edtest::PressKeys({{VK_MENU, true}, {'V', true}, {'V', false}, {VK_MENU, false}});
    ASSERT_NE(nullptr, MenuWith(32829)) << "the View menu";
    edtest::TapKey('T');
    HWND toolbars = MenuWith(kToolbarsMain);
    EXPECT_NE(nullptr, toolbars) << "the Toolbars menu";
    test_support::WriteWindowScreenshot(::GetDesktopWindow(), L"editor_program_view_toolbars_by_keys");
    CloseMenus();
    Settle();
    EXPECT_TRUE(::IsWindowVisible(tree));
}

// F4 and F5 (the codes of 's' and 't') choose no item of the open File
// menu, where Right then opens Edit; Alt+F4 ends the program after its save question.
TEST_F(ProgramByHand, FunctionKeysChooseNoMenuItemAndAltF4EndsTheProgram)
{
    ASSERT_TRUE(edtest::ReadyForKeys(program));
    edtest::PressKeys({{VK_MENU, true}, {'F', true}, {'F', false}, {VK_MENU, false}, {VK_F4, true}, {VK_F4, false},
                       {VK_F5, true}, {VK_F5, false}, {VK_RIGHT, true}, {VK_RIGHT, false}});
    EXPECT_NE(nullptr, MenuWith(57634)) << "the Edit menu";
    EXPECT_EQ(nullptr, program.FindDialog());
    CloseMenus();
    edtest::PressKeys({{VK_ESCAPE, true}, {VK_ESCAPE, false}, {VK_MENU, true}, {VK_F4, true}, {VK_F4, false},
                       {VK_MENU, false}});
    HWND question = program.WaitForDialog();
    ASSERT_NE(nullptr, question) << "no save question";
    ::PostMessageW(question, WM_COMMAND, IDNO, 0);
    EXPECT_TRUE(program.WaitForExit(60000)) << "the program did not end";
}

namespace {

// The upper-cased letter after the first single "&" of a menu text; 0 for none.
wchar_t LetterOf(const std::wstring& text)
{
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != L'&')
            continue;
        if (text[i + 1] != L'&')
            return static_cast<wchar_t>(::towupper(text[i + 1]));
        ++i;
    }
    return 0;
}

// Where two items of the menu (or of one of its sub-menus) share a letter.
void SharedLetters(HMENU menu, const std::wstring& path, std::vector<std::wstring>& shared)
{
    std::map<wchar_t, std::wstring> items;
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
        wchar_t text[256] = {};
        ::GetMenuStringW(menu, static_cast<UINT>(i), text, 256, MF_BYPOSITION);
        if (HMENU sub = ::GetSubMenu(menu, i))
            SharedLetters(sub, path + L" > " + text, shared);
        const wchar_t letter = LetterOf(text);
        if (letter == 0)
            continue;
        auto [it, added] = items.emplace(letter, text);
        if (!added)
            shared.push_back(path + L": \"" + it->second + L"\" and \"" + text + L"\"");
    }
}

BOOL CALLBACK AddMenuName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR names)
{
    reinterpret_cast<std::vector<UINT>*>(names)->push_back(static_cast<UINT>(reinterpret_cast<ULONG_PTR>(name)));
    return TRUE;
}

}  // namespace

// A menu's letter runs the last item that has it: each item of every menu
// of the program keeps a letter of its own, so that every item is reached.
TEST(ProgramMenus, EveryItemOfAMenuHasALetterOfItsOwn)
{
    HMODULE program = ::LoadLibraryExW(edtest::BesideTests(L"OstraTallier.exe").c_str(), nullptr,
                                       LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, program);
    std::vector<UINT> names;
    ::EnumResourceNamesW(program, RT_MENU, AddMenuName, reinterpret_cast<LONG_PTR>(&names));
    EXPECT_GE(names.size(), 3u) << "the main window's and the report's menus at least";
    std::vector<std::wstring> shared;
    for (UINT name : names) {
        HMENU menu = ::LoadMenuW(program, MAKEINTRESOURCEW(name));
        ASSERT_NE(nullptr, menu) << name;
        SharedLetters(menu, L"menu " + std::to_wstring(name), shared);
        ::DestroyMenu(menu);
    }
    ::FreeLibrary(program);
    for (const std::wstring& pair : shared)
        ADD_FAILURE() << std::string(pair.begin(), pair.end());
}

namespace {

// How a user reaches a menu's item from the keyboard.
enum class KeysBy {
    Chord,             // Alt held with the menu's letter, then the item's key; typed ahead
    ChordAsMenuShows,  // Alt let go only once the menu shows
    ChordAltRepeats,   // Alt held so long that it repeats
    TappedAlt,         // Alt pressed and let go, then the letters
    PointerAtRest,     // as ChordAsMenuShows, the pointer at rest where the menu opens
};

const char* NameOf(KeysBy keys)
{
    switch (keys) {
    case KeysBy::Chord:
        return "Chord";
    case KeysBy::ChordAsMenuShows:
        return "ChordAsMenuShows";
    case KeysBy::ChordAltRepeats:
        return "ChordAltRepeats";
    case KeysBy::PointerAtRest:
        return "PointerAtRest";
    default:
        return "TappedAlt";
    }
}

// What the item's key gives.
enum class Outcome {
    ToolbarsMenu,  // View's sub-menu "Toolbars" opens
    AboutBox,      // Help's "About" runs
    SecondItem,    // Down moves to File's second item, which Enter runs (a file dialog)
    Watermarks,    // Report's "WaterMark Properties": the sheet at its watermarks page
    Exit,          // File's "Exit" runs: the program ends
};

struct MenuKeys {
    const char* name;
    WORD menu;
    UINT menuCommand;  // a command of the menu the letter opens
    WORD key;
    Outcome outcome;
    bool reportOnly;  // a menu of a report's window
};

constexpr UINT kAboutCredits = 394;
constexpr UINT kAboutVersion = 397;
constexpr int kWatermarksPage = 2;

// The About box's version line for the version block of the program file,
// read by the system's version functions: "Version " and the product
// version's two high parts, and its two low ones when they are not both 0.
// The block's texts name the program, its maker and the same version.
std::wstring ExpectedVersionLine()
{
    const std::wstring exe = edtest::BesideTests(L"OstraTallier.exe");
    DWORD handle = 0;
    std::vector<BYTE> block(::GetFileVersionInfoSizeW(exe.c_str(), &handle));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (block.empty() || !::GetFileVersionInfoW(exe.c_str(), 0, static_cast<DWORD>(block.size()), block.data()) ||
        !::VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) || !fixed)
        return L"no version block in OstraTallier.exe";
    const auto text = [&](const wchar_t* name) {
        wchar_t* value = nullptr;
        const std::wstring path = std::wstring(L"\\StringFileInfo\\040904b0\\") + name;
        return ::VerQueryValueW(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) && value
                   ? std::wstring(value)
                   : std::wstring();
    };
    const auto parts = [](DWORD both) { return std::to_wstring(HIWORD(both)) + L"." + std::to_wstring(LOWORD(both)); };
    const std::wstring high = parts(fixed->dwProductVersionMS), low = parts(fixed->dwProductVersionLS);
    EXPECT_EQ(L"OstraTallier", text(L"ProductName"));
    EXPECT_EQ(L"Kestrel Works", text(L"CompanyName"));
    EXPECT_EQ(high + L"." + low, text(L"ProductVersion"));
    EXPECT_EQ(high + L"." + low, text(L"FileVersion"));
    return L"Version " + high + (fixed->dwProductVersionLS != 0 ? L"." + low : L"");
}

class ProgramMenuKeys : public ProgramByHand, public testing::WithParamInterface<KeysBy> {
protected:
    // The keys, Alt held with the menu's letter, given until the menu of the
    // letter shows; null when it does not. Under Wine the system lets a held
    // key go when a window of the program takes the display's focus after
    // the press (the main window once a dialog closed, late on a loaded
    // machine): the letter came without Alt, and the keys are given again.
    HWND HoldChord(std::initializer_list<std::pair<WORD, bool>> keys, WORD menu, UINT menuCommand)
    {
        HWND items = nullptr;
        for (int attempt = 0; attempt < 3 && !items; ++attempt) {
            edtest::PressKeys(keys);
            items = MenuWith(menuCommand, [] { return (::GetAsyncKeyState(VK_MENU) & 0x8000) != 0; });
            // Alt let go as the menu came: one more look once the program took the keys.
            if (!items && edtest::InputTaken(edtest::InputWitness(program.Main())))
                items = MenuWith(menuCommand, [] { return false; });
            if (items || attempt == 2)
                break;
            std::fprintf(stderr, "The system let Alt go before the menu of the letter came; the chord is given again\n");
            edtest::PressKeys({{menu, false}, {VK_MENU, false}});
            if (!edtest::ReadyForKeys(program))
                break;
        }
        return items;
    }
    // The menu's letter, then the key, typed in the way of the parameter.
    void Type(WORD menu, WORD key, UINT menuCommand)
    {
        using edtest::PressKeys;
        switch (GetParam()) {
        case KeysBy::Chord:
            PressKeys({{VK_MENU, true}, {menu, true}, {menu, false}, {VK_MENU, false}, {key, true}, {key, false}});
            break;
        case KeysBy::ChordAsMenuShows:
        case KeysBy::PointerAtRest: {
            const bool shown = HoldChord({{VK_MENU, true}, {menu, true}}, menu, menuCommand) != nullptr;
            const std::wstring instead = shown ? std::wstring() : program.Shows();
            // Let go whatever came: keys left held would reach the next tests.
            PressKeys({{menu, false}, {VK_MENU, false}});
            ASSERT_TRUE(shown) << "the menu of the letter; the program shows:" << instead;
            PressKeys({{key, true}, {key, false}});
            break;
        }
        case KeysBy::ChordAltRepeats: {
            // Alt repeats only after the keyboard's delay, by when the menu
            // shows. Under Wine the system may let go of Alt on its own once
            // the menu's window comes (the X keyboard never held it): a press
            // sent then is a new press, which closes the menu, not a repeat.
            const bool shown = HoldChord({{VK_MENU, true}, {menu, true}, {menu, false}}, menu, menuCommand) != nullptr;
            const std::wstring instead = shown ? std::wstring() : program.Shows();
            if (::GetAsyncKeyState(VK_MENU) & 0x8000)
                PressKeys({{VK_MENU, true}, {VK_MENU, true}});
            PressKeys({{VK_MENU, false}});
            ASSERT_TRUE(shown) << "the menu of the letter; the program shows:" << instead;
            PressKeys({{key, true}, {key, false}});
            break;
        }
        case KeysBy::TappedAlt:
            PressKeys({{VK_MENU, true}, {VK_MENU, false}, {menu, true}, {menu, false}, {key, true}, {key, false}});
            break;
        }
    }
    // A menu of the system (the window's own menu) shows.
    bool SystemMenuShown() const { return program.FindPopup(L"#32768") != nullptr; }
    // The keys typed and what they give checked, the program left as it was
    // (but for Exit).
    void Reach(const MenuKeys& test, const std::wstring& shot)
    {
        // The pointer rests where no menu opens (but for PointerAtRest: in
        // the File menu's second row, which takes no item from it): under
        // Wine the system lets Alt go on its own when a menu's window comes
        // under it, and a repeat sent then would be a new press.
        HWND status = edtest::InputWitness(program.Main());
        RECT rest = {}, bar = {};
        ::GetWindowRect(status, &rest);
        ::GetWindowRect(CProgramRun::FindById(program.Main(), kMenuBarId), &bar);
        edtest::MouseAt(GetParam() == KeysBy::PointerAtRest ? POINT{bar.left + 60, bar.bottom + 40}
                                                           : POINT{rest.right - 4, (rest.top + rest.bottom) / 2});
        ASSERT_TRUE(edtest::InputTaken(status));
        ASSERT_TRUE(edtest::ReadyForKeys(program));
        Type(test.menu, test.key, test.menuCommand);
        if (HasFatalFailure())
            return;
        if (test.outcome == Outcome::SecondItem)
            edtest::TapKey(VK_RETURN);
        switch (test.outcome) {
        case Outcome::ToolbarsMenu:
            EXPECT_NE(nullptr, MenuWith(kToolbarsMain)) << "the Toolbars menu; the program shows:" << program.Shows();
            EXPECT_FALSE(SystemMenuShown());
            test_support::WriteWindowScreenshot(::GetDesktopWindow(), shot.c_str());
            CloseMenus();
            // Escape once more leaves the menu bar's keyboard mode, as in any program.
            edtest::TapKey(VK_ESCAPE);
            EXPECT_TRUE(edtest::WaitFor([&] {
                return edtest::FocusIn(program.Main()) != CProgramRun::FindById(program.Main(), edtest::kMenuBarId);
            }));
            break;
        case Outcome::AboutBox:
        case Outcome::SecondItem:
        case Outcome::Watermarks: {
            HWND dialog = program.WaitForDialog();
            ASSERT_NE(nullptr, dialog) << "no dialog came; the program shows:" << program.Shows();
            EXPECT_FALSE(SystemMenuShown());
            if (test.outcome == Outcome::AboutBox) {
                EXPECT_NE(nullptr, ::GetDlgItem(dialog, kAboutCredits)) << CProgramRun::Text(dialog).c_str();
                // The version line says the version the program file carries.
                const std::wstring line = CProgramRun::Text(::GetDlgItem(dialog, kAboutVersion));
                EXPECT_EQ(ExpectedVersionLine(), line);
                EXPECT_GT(line.size(), std::wstring(L"Version ").size());
            } else if (test.outcome == Outcome::SecondItem)
                EXPECT_NE(nullptr, edtest::FileNameBox(dialog)) << "the program shows:" << program.Shows();
            else
                EXPECT_EQ(kWatermarksPage, ::SendMessageW(::GetDlgItem(dialog, edtest::kSheetTabId), TCM_GETCURSEL,
                                                          0, 0))
                    << CProgramRun::Text(dialog).c_str();
            test_support::WriteWindowScreenshot(::GetDesktopWindow(), shot.c_str());
            ::PostMessageW(dialog, WM_COMMAND, test.outcome == Outcome::AboutBox ? IDOK : IDCANCEL, 0);
            ASSERT_TRUE(edtest::WaitFor([&] { return !::IsWindow(dialog) || !::IsWindowVisible(dialog); }));
            break;
        }
        case Outcome::Exit: {
            // A new report counts as changed: Exit asks to save it, and No ends the program.
            HWND question = nullptr;
            ASSERT_TRUE(edtest::WaitFor([&] {
                question = program.FindDialog();
                return question || program.WaitForExit(0);
            })) << "Exit did not run";
            EXPECT_FALSE(SystemMenuShown());
            if (question)
                ::PostMessageW(question, WM_COMMAND, IDNO, 0);
            EXPECT_TRUE(program.WaitForExit(60000)) << "the program did not end";
            break;
        }
        }
    }
};

}  // namespace

// Alt with a menu's letter, then an item's letter or an arrow, as in every
// Windows program, whether Alt is held as a chord or tapped first: the item
// of that menu is reached, never another menu's or the window's own menu;
// in a report's window and in the main window without a report (where the
// window with the keyboard leaves Alt to the system).
TEST_P(ProgramMenuKeys, TheItemsKeyReachesTheItemOfTheMenuOpenedByAlt)
{
    const MenuKeys cases[] = {
        {"Alt+V, T", 'V', 32829, 'T', Outcome::ToolbarsMenu, false},
        {"Alt+H, A", 'H', 57664, 'A', Outcome::AboutBox, false},
        {"Alt+F, Down", 'F', 57665, VK_DOWN, Outcome::SecondItem, false},
        // R is the letter of the menu's first item too: letting it go runs nothing.
        {"Alt+R, W", 'R', 32854, 'W', Outcome::Watermarks, true},
        {"Alt+F, X", 'F', 57665, 'X', Outcome::Exit, false},
    };
    const std::string form = NameOf(GetParam());
    for (const bool withReport : {true, false}) {
        if (!withReport) {
            ASSERT_TRUE(edtest::ReadyForKeys(program));
            CloseActiveReport();
            ASSERT_TRUE(edtest::WaitFor([&] { return program.ReportFrames().empty(); }));
        }
        for (const MenuKeys& test : cases) {
            // The program ends only at the last.
            if ((test.outcome == Outcome::Exit && withReport) || (test.reportOnly && !withReport))
                continue;
            const std::string where = withReport ? "report" : "main window";
            SCOPED_TRACE(std::string(test.name) + " by " + form + " in the " + where);
            Reach(test, L"editor_program_menu_keys_" + std::wstring(form.begin(), form.end()) +
                            (withReport ? L"_report_" : L"_main_") + std::to_wstring(static_cast<int>(test.outcome)));
            if (HasFatalFailure())
                return;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(ByHand, ProgramMenuKeys,
                         testing::Values(KeysBy::Chord, KeysBy::ChordAsMenuShows, KeysBy::ChordAltRepeats,
                                         KeysBy::TappedAlt, KeysBy::PointerAtRest),
                         [](const testing::TestParamInfo<KeysBy>& info) { return std::string(NameOf(info.param)); });
