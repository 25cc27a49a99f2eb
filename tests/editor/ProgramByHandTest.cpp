// The real program driven as a new user drives it, with the mouse and the
// keys only (SendInput): the font-size box, the View menu's keys, the bars
// behind a dialog, the main window's caption when a report closes or fails
// to open, the status bar after the print preview, and the gallery's context
// menu at the screen's edge.
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
#include <string>
#include <vector>

using edtest::CProgramRun;

namespace {

constexpr int kTextPanel = 1159;
constexpr int kTextToolBar = 59954;
constexpr int kMainToolBar = 59952;
constexpr int kStatusBar = 0xE801;
constexpr int kTree = 1126;
constexpr UINT kFontSizeBox = 32842;
constexpr UINT kDocumentProperties = 32854;
constexpr UINT kToolbarsMain = 32787;
constexpr int kSheetTab = edtest::kSheetTabId;

// The edit that the text tool bar lays over its font-size box.
HWND FontSizeEdit(HWND main)
{
    HWND bar = CProgramRun::FindById(main, kTextToolBar);
    for (HWND child = bar ? ::GetWindow(bar, GW_CHILD) : nullptr; child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (::GetDlgCtrlID(child) == int(kFontSizeBox) && CProgramRun::ClassName(child) == L"Edit")
            return child;
    }
    return nullptr;
}

// The pixels of a rectangle of the screen, as it shows them.
std::vector<COLORREF> ScreenPixels(const RECT& rect)
{
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32};
    void* bits = nullptr;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    ::GdiFlush();
    const auto* pixels = static_cast<const COLORREF*>(bits);
    std::vector<COLORREF> values(pixels, pixels + size_t(width) * height);
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return values;
}

// Where two readings of a rectangle of the screen differ, as text.
std::string DifferenceText(const std::vector<COLORREF>& before, const std::vector<COLORREF>& after, const RECT& rect)
{
    const int width = rect.right - rect.left;
    RECT differs = {LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
    size_t count = 0;
    for (size_t i = 0; i < before.size() && i < after.size(); ++i) {
        if (before[i] == after[i])
            continue;
        ++count;
        const LONG x = rect.left + LONG(i % width), y = rect.top + LONG(i / width);
        differs = {std::min(differs.left, x), std::min(differs.top, y), std::max(differs.right, x + 1),
                   std::max(differs.bottom, y + 1)};
    }
    return std::to_string(count) + " pixels differ in (" + std::to_string(differs.left) + ", " +
           std::to_string(differs.top) + ") - (" + std::to_string(differs.right) + ", " +
           std::to_string(differs.bottom) + ")";
}

// Whether a library tool bar's button shows disabled (its state reports the
// library's disabled style, in the place of the enabled bit).
bool Disabled(HWND bar, int index)
{
    return (edtest::AskRemote<TBBUTTON>(bar, TB_GETBUTTON, index).fsState & TBSTATE_ENABLED) != 0;
}

// A program showing one report made from the default template, in front.
class ProgramByHand : public testing::Test {
protected:
    edtest::PointerKept pointer;
    void SetUp() override
    {
        edtest::SetStartPrefs(3, L"");
        ASSERT_TRUE(program.Start());
        ASSERT_TRUE(edtest::WaitFor([&] { return program.ReportFrames().size() == 1; }));
        frame = program.ActiveFrame();
        ::SetForegroundWindow(program.Main());
        ASSERT_TRUE(edtest::WaitFor([&] { return ::GetForegroundWindow() == program.Main(); }));
    }
    // Answered once the program has handled what came before.
    void Settle() { ::SendMessageW(program.Main(), WM_NULL, 0, 0); }
    // The text pane's pixels, the box around all but white.
    CRect Ink()
    {
        Settle();
        return test_support::Capture(CProgramRun::FindById(frame, kTextPanel), false).Bounds(RGB(255, 255, 255));
    }
    // The open menu's bar of items holding the command; null when none comes.
    HWND MenuWith(UINT command)
    {
        HWND items = nullptr;
        edtest::WaitFor([&] {
            HWND popup = program.FindPopup(L"QMXPopupMenu");
            for (HWND child = popup ? ::GetWindow(popup, GW_CHILD) : nullptr; child;
                 child = ::GetWindow(child, GW_HWNDNEXT))
                if (edtest::BarCommandIndex(child, command) >= 0)
                    items = child;
            return items != nullptr;
        }, 15000);
        return items;
    }
    // Ctrl+F4, and No to saving the report (a new one counts as changed).
    void CloseActiveReport()
    {
        const size_t before = program.ReportFrames().size();
        edtest::PressChord(VK_CONTROL, VK_F4);
        HWND question = nullptr;
        edtest::WaitFor([&] {
            question = program.FindDialog();
            return question || program.ReportFrames().size() < before;
        });
        if (question && ::GetDlgItem(question, IDNO)) {
            ::SetForegroundWindow(question);
            edtest::ClickWindow(::GetDlgItem(question, IDNO));
        }
    }
    void CloseMenus()
    {
        for (int i = 0; i < 3 && program.FindPopup(L"QMXPopupMenu"); ++i) {
            edtest::TapKey(VK_ESCAPE);
            edtest::WaitFor([&] { return !program.FindPopup(L"QMXPopupMenu"); }, 1000);
        }
    }

    CProgramRun program;
    HWND frame = nullptr;
};

}  // namespace

TEST_F(ProgramByHand, TheFontSizeBoxTakesCtrlAThenTheTypedSizeAndLimitsItTo1670)
{
    HWND panel = CProgramRun::FindById(frame, kTextPanel);
    ASSERT_NE(nullptr, panel);
    edtest::ApproachAndClick(edtest::OnScreen(panel, {20, 10}));
    ASSERT_TRUE(edtest::WaitFor([&] { return edtest::FocusIn(panel) == panel; }));
    edtest::TypeText(L"Sizes");
    ASSERT_TRUE(edtest::WaitFor([&] { return Ink().Width() > 20; }));
    edtest::PressChord(VK_CONTROL, 'A');
    const CRect typed = Ink();

    // A click into the middle of "10", Ctrl+A and "16": the box reads 16, not
    // a size made of both, and the text grows.
    HWND sizeEdit = FontSizeEdit(program.Main());
    ASSERT_NE(nullptr, sizeEdit);
    ASSERT_EQ(L"10", CProgramRun::Text(sizeEdit));
    RECT box = {};
    ::GetWindowRect(sizeEdit, &box);
    edtest::ApproachAndClick({box.left + 8, (box.top + box.bottom) / 2});
    ASSERT_TRUE(edtest::WaitFor([&] { return edtest::FocusIn(sizeEdit) == sizeEdit; }));
    edtest::PressChord(VK_CONTROL, 'A');
    edtest::TypeText(L"16");
    EXPECT_TRUE(edtest::WaitFor([&] { return CProgramRun::Text(sizeEdit) == L"16"; }));
    edtest::TapKey(VK_RETURN);
    EXPECT_TRUE(edtest::WaitFor([&] { return Ink().Height() > typed.Height() + 4; }));
    EXPECT_EQ(L"16", CProgramRun::Text(sizeEdit));
    test_support::WriteWindowScreenshot(program.Main(), L"editor_program_font_size_16");

    // Enter gave the focus back to the note. A size above the largest a run
    // holds becomes that size (clicked elsewhere in the box: a second click
    // at the same place so soon would be a double click, which an edit
    // without the focus does not take it by).
    EXPECT_TRUE(edtest::WaitFor([&] { return edtest::FocusIn(sizeEdit) == panel; }));
    Settle();
    ::GetWindowRect(sizeEdit, &box);
    edtest::ApproachAndClick({box.left + 20, (box.top + box.bottom) / 2});
    ASSERT_TRUE(edtest::WaitFor([&] { return edtest::FocusIn(sizeEdit) == sizeEdit; }));
    edtest::PressChord(VK_CONTROL, 'A');
    edtest::TypeText(L"5000");
    ASSERT_TRUE(edtest::WaitFor([&] { return CProgramRun::Text(sizeEdit) == L"5000"; }));
    edtest::TapKey(VK_RETURN);
    EXPECT_TRUE(edtest::WaitFor([&] { return CProgramRun::Text(sizeEdit) == L"1670"; }));
    EXPECT_EQ(nullptr, program.FindDialog());
}

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

TEST_F(ProgramByHand, TheBarsBehindTheDocumentPropertiesSheetAreDrawnWhileItIsOpen)
{
    // The menu bar and the tool bars as the screen shows them.
    RECT bars = {};
    for (int id : {edtest::kMenuBarId, kMainToolBar, kTextToolBar}) {
        HWND bar = CProgramRun::FindById(program.Main(), id);
        ASSERT_NE(nullptr, bar) << id;
        RECT rect = {};
        ::GetWindowRect(bar, &rect);
        if (::IsRectEmpty(&bars))
            bars = rect;
        else
            ::UnionRect(&bars, &bars, &rect);
    }
    HWND panel = CProgramRun::FindById(frame, kTextPanel);
    const POINT rest = edtest::OnScreen(panel, {300, 150});
    edtest::MouseAt(rest);
    Settle();
    std::vector<COLORREF> before;
    ASSERT_TRUE(edtest::WaitFor([&] {
        const std::vector<COLORREF> now = ScreenPixels(bars);
        const bool steady = now == before;
        before = now;
        return steady;
    }));

    // The sheet chosen from the Report menu with the mouse, over the bars.
    edtest::ChooseFromMenu(program, kDocumentProperties);
    HWND sheet = program.WaitForDialogWith(kSheetTab);
    ASSERT_NE(nullptr, sheet);
    RECT placed = {};
    ::GetWindowRect(sheet, &placed);
    RECT over = {};
    ASSERT_TRUE(::IntersectRect(&over, &placed, &bars)) << "the sheet opens away from the bars";
    // Dragged by its caption down and right, off the bars: they are drawn
    // again while it is open, as they were.
    const POINT caption = {placed.left + 60, placed.top + ::GetSystemMetrics(SM_CYCAPTION) / 2 + 2};
    const POINT to = {caption.x + (bars.right - placed.left) / 3, caption.y + (bars.bottom - placed.top) + 40};
    edtest::DragTo(caption, to, 2);
    ASSERT_TRUE(edtest::WaitFor([&] {
        RECT moved = {};
        ::GetWindowRect(sheet, &moved);
        return moved.top >= bars.bottom;
    })) << "the sheet follows its caption";
    edtest::MouseAt(rest);
    std::vector<COLORREF> behind;
    EXPECT_TRUE(edtest::WaitFor([&] { return (behind = ScreenPixels(bars)) == before; }))
        << DifferenceText(before, behind, bars);
    test_support::WriteWindowScreenshot(::GetDesktopWindow(), L"editor_program_bars_behind_sheet");
    ::PostMessageW(sheet, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(edtest::WaitFor([&] { return !::IsWindow(sheet); }));
}

TEST(ProgramByHandAtStart, TheToolBarsBehindTheStartWizardShowTheCommandsOfNoReport)
{
    // The wizard runs before the program's first idle moment; behind it the
    // main tool bar shows Save, Cut and Copy disabled, as nothing is open.
    edtest::SetStartPrefs(0, L"");
    CProgramRun program;
    ASSERT_TRUE(program.Start());
    HWND wizard = program.WaitForDialog();
    ASSERT_NE(nullptr, wizard);
    HWND bar = CProgramRun::FindById(program.Main(), kMainToolBar);
    ASSERT_NE(nullptr, bar);
    for (UINT command : {57603u, 57635u, 57634u}) {
        const int index = edtest::BarCommandIndex(bar, command);
        ASSERT_GE(index, 0) << command;
        EXPECT_TRUE(edtest::WaitFor([&] { return Disabled(bar, index); })) << command;
    }
    // New stays enabled.
    const int newIndex = edtest::BarCommandIndex(bar, 57600);
    ASSERT_GE(newIndex, 0);
    EXPECT_FALSE(Disabled(bar, newIndex));
    test_support::WriteWindowScreenshot(::GetDesktopWindow(), L"editor_program_bars_behind_start_wizard");
    ::PostMessageW(wizard, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(edtest::WaitFor([&] { return !::IsWindow(wizard); }));
}

namespace {

constexpr int kViewId = 0xE900;
constexpr int kPreviewBar = 0xE800;
constexpr UINT kPrintPreview = 57609;
constexpr UINT kPreviewNext = 0xE302;
constexpr UINT kPreviewClose = 0xE300;
constexpr int kFileNameCombo = 0x47C;
constexpr int kProgressBar = 9003;

bool Contains(const std::wstring& text, const std::wstring& part)
{
    return text.find(part) != std::wstring::npos;
}

}  // namespace

TEST_F(ProgramByHand, TheCaptionNamesTheActiveReportWhenOneClosesOrFailsToOpenAndNoneWhenNoneIsOpen)
{
    const std::wstring first = CProgramRun::Text(frame);
    ASSERT_FALSE(first.empty());
    EXPECT_TRUE(Contains(CProgramRun::Text(program.Main()), first)) << CProgramRun::Text(program.Main()).c_str();

    // A second report (Ctrl+N), then closed (Ctrl+F4): the caption names the
    // first again.
    edtest::PressChord(VK_CONTROL, 'N');
    ASSERT_TRUE(edtest::WaitFor([&] { return program.ReportFrames().size() == 2; }));
    const std::wstring second = CProgramRun::Text(program.ActiveFrame());
    ASSERT_NE(first, second);
    EXPECT_TRUE(edtest::WaitFor([&] { return Contains(CProgramRun::Text(program.Main()), second); }));
    CloseActiveReport();
    ASSERT_TRUE(edtest::WaitFor([&] { return program.ReportFrames().size() == 1; }));
    EXPECT_TRUE(edtest::WaitFor([&] {
        const std::wstring caption = CProgramRun::Text(program.Main());
        return Contains(caption, first) && !Contains(caption, second);
    })) << CProgramRun::Text(program.Main()).c_str();

    // A file that is no report (Ctrl+O): the message answered, the caption
    // still names the report that stays open.
    CKWTestTempFolder folder(L"capt");
    const std::wstring broken = folder.Write(L"Broken.otd", std::string("This is not a report at all."));
    edtest::PressChord(VK_CONTROL, 'O');
    HWND open = program.WaitForDialogWith(kFileNameCombo);
    ASSERT_NE(nullptr, open);
    ASSERT_TRUE(edtest::AnswerFileDialogByKeys(open, broken));
    // Each message answered with Enter (the progress window is no message).
    auto message = [&] {
        HWND dialog = program.FindDialog();
        return dialog && dialog != open && !::GetDlgItem(dialog, kProgressBar) ? dialog : nullptr;
    };
    ASSERT_TRUE(edtest::WaitFor([&] { return message() != nullptr; }));
    test_support::WriteWindowScreenshot(::GetDesktopWindow(), L"editor_program_failed_open");
    for (int i = 0; i < 5 && edtest::WaitFor([&] { return message() != nullptr; }, 2000); ++i) {
        HWND answered = message();
        ::SetForegroundWindow(answered);
        edtest::TapKey(VK_RETURN);
        edtest::WaitFor([&] { return !::IsWindow(answered); }, 5000);
    }
    EXPECT_TRUE(edtest::WaitFor([&] { return !program.FindDialog() && program.ReportFrames().size() == 1; }));
    EXPECT_TRUE(edtest::WaitFor([&] { return Contains(CProgramRun::Text(program.Main()), first); }))
        << CProgramRun::Text(program.Main()).c_str();

    // The last report closed: the caption is the program's name alone.
    ::SetForegroundWindow(program.Main());
    CloseActiveReport();
    ASSERT_TRUE(edtest::WaitFor([&] { return program.ReportFrames().empty(); }));
    EXPECT_TRUE(edtest::WaitFor([&] { return CProgramRun::Text(program.Main()) == L"OstraTallier"; }))
        << CProgramRun::Text(program.Main()).c_str();
}

TEST_F(ProgramByHand, TheStatusBarShowsTheIdleTextAgainWhenThePrintPreviewCloses)
{
    HWND status = CProgramRun::FindById(program.Main(), kStatusBar);
    ASSERT_NE(nullptr, status);
    const std::wstring idle = edtest::StatusPaneText(status, 0);
    EXPECT_EQ(L"Ready", idle);
    HWND view = CProgramRun::FindById(frame, kViewId);
    ASSERT_TRUE(edtest::ClickBarCommand(CProgramRun::FindById(program.Main(), kMainToolBar), kPrintPreview));
    ASSERT_TRUE(edtest::WaitFor([&] { return !::IsWindowVisible(view); }));
    HWND previewBar = nullptr;
    ASSERT_TRUE(edtest::WaitFor([&] {
        previewBar = CProgramRun::FindById(program.Main(), kPreviewBar);
        return previewBar && edtest::BarCommandIndex(previewBar, kPreviewClose) >= 0;
    }));
    // The report's pages: the preview names the one it shows.
    edtest::ClickBarCommand(previewBar, kPreviewNext);
    auto pageShown = [&] {
        for (int pane : {0, 1})
            if (Contains(edtest::StatusPaneText(status, pane), L"Page"))
                return true;
        return false;
    };
    EXPECT_TRUE(edtest::WaitFor(pageShown));
    test_support::WriteWindowScreenshot(program.Main(), L"editor_program_preview_page");
    edtest::ClickBarCommand(previewBar, kPreviewClose);
    ASSERT_TRUE(edtest::WaitFor([&] { return ::IsWindowVisible(view) != FALSE; }));
    EXPECT_TRUE(edtest::WaitFor([&] { return !pageShown() && edtest::StatusPaneText(status, 0) == idle; }))
        << edtest::StatusPaneText(status, 0).c_str() << " | " << edtest::StatusPaneText(status, 1).c_str();
    test_support::WriteWindowScreenshot(program.Main(), L"editor_program_preview_closed");
}

namespace {

// A program whose gallery a test docks, pins or fills: the layout and the
// preferences it leaves are taken out of the registry before and after.
class ProgramByHandGallery : public testing::Test {
protected:
    void SetUp() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kSettings); }
    void TearDown() override
    {
        program.CloseWithoutSaving();
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kSettings);
    }
    static constexpr wchar_t kSettings[] = L"Software\\Kestrel Works\\OstraTallier";
    edtest::PointerKept pointer;
    CProgramRun program;
};

}  // namespace

TEST_F(ProgramByHandGallery, TheGallerysContextMenuOpenedAtTheScreensRightEdgeLiesInsideTheScreen)
{
    CKWTestTempFolder folder(L"gctx");
    folder.Write(L"one.bmp", std::string());
    edtest::SetStartPrefs(3, L"");
    const std::wstring path = folder.Path().substr(0, folder.Path().size() - 1);
    edtest::SetGalleryPrefs(59421, false, path);  // docked at the right
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(program.AddGalleryFolder(path));
    HWND bar = program.GalleryBar();
    ASSERT_NE(nullptr, bar);
    ::SetForegroundWindow(program.Main());
    ASSERT_TRUE(edtest::WaitFor([&] { return ::GetForegroundWindow() == program.Main(); }));
    // The gallery is docked once the main frame's layout has placed it.
    RECT rect = {};
    const int screen = ::GetSystemMetrics(SM_CXSCREEN);
    ASSERT_TRUE(edtest::WaitFor([&] {
        ::GetWindowRect(bar, &rect);
        return rect.right >= screen - 12;
    })) << "the gallery reaches the screen's right edge: " << rect.left << ".." << rect.right;
    // A right click a few pixels from the edge, in its folders' and in its
    // pictures' parts.
    const struct {
        POINT at;
        const wchar_t* screenshot;
    } clicks[] = {
        {{std::min<LONG>(rect.right, screen) - 6, rect.top + 30}, L"editor_program_gallery_folders_menu_at_edge"},
        {{std::min<LONG>(rect.right, screen) - 6, rect.bottom - 30}, L"editor_program_gallery_menu_at_edge"},
    };
    for (const auto& click : clicks) {
        SCOPED_TRACE(testing::Message() << click.at.x << ", " << click.at.y);
        edtest::MouseAt(click.at);
        edtest::MouseAt(click.at, MOUSEEVENTF_RIGHTDOWN);
        edtest::MouseAt(click.at, MOUSEEVENTF_RIGHTUP);
        HWND menu = nullptr;
        ASSERT_TRUE(edtest::WaitFor([&] { return (menu = program.FindPopup()) != nullptr; }));
        RECT shown = {}, last = {};
        // A library menu may unfold: its place is read once it holds still.
        ASSERT_TRUE(edtest::WaitFor([&] {
            last = shown;
            ::GetWindowRect(menu, &shown);
            return shown.right > shown.left && ::EqualRect(&shown, &last);
        }));
        test_support::WriteWindowScreenshot(::GetDesktopWindow(), click.screenshot);
        EXPECT_LE(shown.right, screen) << CProgramRun::ClassName(menu).c_str();
        EXPECT_GE(shown.left, 0);
        EXPECT_LE(shown.bottom, ::GetSystemMetrics(SM_CYSCREEN));
        edtest::TapKey(VK_ESCAPE);
        EXPECT_TRUE(edtest::WaitFor([&] { return !program.FindPopup(); }));
    }
}

namespace {

constexpr UINT kCustomize = 32790;
constexpr int kNewToolbar = 16615;
constexpr int kToolbarName = 16516;

// True while the window lies above the other among the top-level windows.
bool LiesAbove(HWND window, HWND other)
{
    for (HWND above = ::GetWindow(other, GW_HWNDPREV); above; above = ::GetWindow(above, GW_HWNDPREV))
        if (above == window)
            return true;
    return false;
}

struct BarSearch {
    DWORD process;
    std::wstring name;
    HWND bar;
    HWND top;
};

BOOL CALLBACK VisitBarChild(HWND child, LPARAM data)
{
    auto* search = reinterpret_cast<BarSearch*>(data);
    if (CProgramRun::ClassName(child).rfind(L"QMXToolBar", 0) != 0 || CProgramRun::Text(child) != search->name)
        return TRUE;
    search->bar = child;
    return FALSE;
}

BOOL CALLBACK VisitBarTop(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<BarSearch*>(data);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process != search->process)
        return TRUE;
    ::EnumChildWindows(window, VisitBarChild, data);
    if (!search->bar)
        return TRUE;
    search->top = window;
    return FALSE;
}

// The tool bar of the program whose window text is the name, and the
// top-level window it lies in.
HWND ToolBarNamed(const CProgramRun& program, const std::wstring& name, HWND* top = nullptr)
{
    BarSearch search = {::GetProcessId(program.Process()), name, nullptr, nullptr};
    ::EnumWindows(VisitBarTop, reinterpret_cast<LPARAM>(&search));
    if (top)
        *top = search.top;
    return search.bar;
}

}  // namespace

// The layout a test of customisation leaves (a bar of its own, buttons moved
// off the main tool bar) is taken out of the registry before and after it.
class ProgramCustomizedByHand : public ProgramByHand {
protected:
    void SetUp() override
    {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kProgramSettings);
        ProgramByHand::SetUp();
    }
    void TearDown() override
    {
        program.CloseWithoutSaving();
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kProgramSettings);
    }
    static constexpr wchar_t kProgramSettings[] = L"Software\\Kestrel Works\\OstraTallier";
};

TEST_F(ProgramCustomizedByHand, AToolBarMadeInTheCustomizeSheetLiesAboveTheMainWindowAndShowsTheButtonsDroppedOnIt)
{
    const std::wstring name = L"Mine" + std::to_wstring(::GetCurrentProcessId());
    // View > Toolbars > Customize toolbars...
    edtest::PressKeys({{VK_MENU, true}, {'V', true}, {'V', false}, {VK_MENU, false}});
    ASSERT_NE(nullptr, MenuWith(32829));
    edtest::TapKey('T');
    HWND items = MenuWith(kCustomize);
    ASSERT_NE(nullptr, items);
    edtest::ClickBarItem(items, edtest::BarCommandIndex(items, kCustomize));
    HWND sheet = program.WaitForDialogWith(kSheetTab);
    ASSERT_NE(nullptr, sheet);
    edtest::ClickTab(sheet, 1);
    ASSERT_TRUE(edtest::WaitFor([&] { return ::GetDlgItem(edtest::CurrentPage(sheet), kNewToolbar) != nullptr; }));
    edtest::ClickWindow(::GetDlgItem(edtest::CurrentPage(sheet), kNewToolbar));
    HWND naming = program.WaitForDialogWith(kToolbarName);
    ASSERT_NE(nullptr, naming);
    ASSERT_TRUE(edtest::TypeInto(::GetDlgItem(naming, kToolbarName), name));
    edtest::TapKey(VK_RETURN);
    HWND floating = nullptr;
    HWND bar = nullptr;
    // Made on the main window, the bar then floats in a frame of its own.
    ASSERT_TRUE(edtest::WaitFor([&] {
        bar = ToolBarNamed(program, name, &floating);
        return bar && floating != program.Main();
    })) << "the new bar floats";
    EXPECT_TRUE(edtest::WaitFor([&] { return ::IsWindowVisible(floating) && LiesAbove(floating, program.Main()); }));
    EXPECT_TRUE(LiesAbove(floating, sheet)) << "where it can take a button";
    test_support::WriteWindowScreenshot(::GetDesktopWindow(), L"editor_program_new_toolbar");

    // Two buttons of the main tool bar dragged onto it.
    HWND mainBar = CProgramRun::FindById(program.Main(), kMainToolBar);
    for (UINT command : {57600u, 57601u}) {
        RECT target = {};
        ::GetWindowRect(bar, &target);
        const RECT from = edtest::BarItemRect(mainBar, edtest::BarCommandIndex(mainBar, command));
        const int before = int(::SendMessageW(bar, TB_BUTTONCOUNT, 0, 0));
        edtest::DragTo(edtest::CentreOf(from), {target.right - 4, (target.top + target.bottom) / 2}, 3);
        EXPECT_TRUE(edtest::WaitFor([&] { return ::SendMessageW(bar, TB_BUTTONCOUNT, 0, 0) > before; })) << command;

    }
    // Both show inside the bar and its floating frame while the sheet is open.
    ASSERT_EQ(2, ::SendMessageW(bar, TB_BUTTONCOUNT, 0, 0));
    EXPECT_TRUE(edtest::WaitFor([&] {
        RECT frameRect = {};
        ::GetWindowRect(floating, &frameRect);
        for (int i = 0; i < 2; ++i) {
            const RECT button = edtest::BarItemRect(bar, i);
            RECT inside = {};
            if (::IsRectEmpty(&button) || !::IntersectRect(&inside, &button, &frameRect) || !::EqualRect(&inside, &button))
                return false;
        }
        return true;
    }));
    test_support::WriteWindowScreenshot(::GetDesktopWindow(), L"editor_program_new_toolbar_two_buttons");

    // Closed, the sheet leaves the bar above the main window.
    ::PostMessageW(sheet, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(edtest::WaitFor([&] { return !::IsWindow(sheet); }));
    Settle();
    EXPECT_TRUE(edtest::WaitFor([&] { return ::IsWindowVisible(floating) && LiesAbove(floating, program.Main()); }));
    // Also after a click on the main window, active already.
    edtest::ApproachAndClick(edtest::OnScreen(CProgramRun::FindById(frame, kTextPanel), {40, 40}));
    Settle();
    EXPECT_TRUE(edtest::WaitFor([&] { return ::IsWindowVisible(floating) && LiesAbove(floating, program.Main()); }));
    test_support::WriteWindowScreenshot(::GetDesktopWindow(), L"editor_program_new_toolbar_after_close");
}

TEST_F(ProgramByHandGallery, TheGalleryPinnedToHideByItsCaptionButtonSlidesAwayOnceThePointerLeavesIt)
{
    CKWTestTempFolder folder(L"gpin");
    folder.Write(L"one.bmp", std::string());
    edtest::SetStartPrefs(3, L"");
    const std::wstring path = folder.Path().substr(0, folder.Path().size() - 1);
    edtest::SetGalleryPrefs(59421, false, path);  // docked at the right
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(program.AddGalleryFolder(path));
    HWND gallery = program.GalleryBar();
    ASSERT_NE(nullptr, gallery);
    ::SetForegroundWindow(program.Main());
    ASSERT_TRUE(edtest::WaitFor([&] { return ::GetForegroundWindow() == program.Main(); }));
    // The focus in the report's note, not in the gallery.
    HWND panel = CProgramRun::FindById(program.ActiveFrame(), kTextPanel);
    edtest::ApproachAndClick(edtest::OnScreen(panel, {30, 20}));
    ASSERT_TRUE(edtest::WaitFor([&] { return edtest::FocusIn(panel) == panel; }));

    // The pin (auto-hide) button of its caption, found by what the pane
    // answers for the points of its caption row.
    RECT rect = {};
    ::GetWindowRect(gallery, &rect);
    POINT pin = {};
    for (int y = rect.top + 2; y < rect.top + 24 && !pin.x; ++y)
        for (int x = rect.right - 2; x > rect.right - 80 && !pin.x; --x)
            if (::SendMessageW(gallery, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTMAXBUTTON)
                pin = {x - 3, y + 3};
    ASSERT_NE(0, pin.x) << "the caption shows a pin button";
    edtest::ApproachAndClick(pin);
    // The pointer leaves it for the note; the pane slides in by itself.
    const POINT away = edtest::OnScreen(panel, {60, 40});
    edtest::MouseAt({(pin.x + away.x) / 2, (pin.y + away.y) / 2});
    edtest::MouseAt(away);
    EXPECT_TRUE(edtest::WaitFor([&] { return !::IsWindowVisible(gallery); }))
        << "the pinned gallery stays out";
    test_support::WriteWindowScreenshot(program.Main(), L"editor_program_gallery_pinned_to_hide");
}

TEST_F(ProgramByHandGallery, TheFolderChooserTakesAPathTypedIntoItAndRefusesOneThatNamesNoFolder)
{
    CKWTestTempFolder start(L"gch1");
    CKWTestTempFolder typed(L"gch2");
    typed.Write(L"one.bmp", std::string());
    const std::wstring startPath = start.Path().substr(0, start.Path().size() - 1);
    const std::wstring typedPath = typed.Path().substr(0, typed.Path().size() - 1);
    edtest::SetStartPrefs(3, L"");
    edtest::SetGalleryPrefs(59421, false, startPath);
    ASSERT_TRUE(program.Start());
    ::SetForegroundWindow(program.Main());
    ASSERT_TRUE(edtest::WaitFor([&] { return ::GetForegroundWindow() == program.Main(); }));
    auto openChooser = [&] {
        edtest::ChooseFromMenu(program, 32856);
        HWND chooser = nullptr;
        edtest::WaitFor([&] {
            chooser = program.FindDialog();
            return chooser && ::FindWindowExW(chooser, nullptr, L"Edit", nullptr);
        });
        return chooser;
    };
    HWND chooser = openChooser();
    ASSERT_NE(nullptr, chooser);
    HWND name = ::FindWindowExW(chooser, nullptr, L"Edit", nullptr);

    // A name that names no folder in the one shown: a message, and the
    // chooser stays.
    const std::wstring missing = L"NoSuchFolder";
    ASSERT_TRUE(edtest::TypeInto(name, missing)) << CProgramRun::Text(name).c_str();
    edtest::TapKey(VK_RETURN);
    HWND message = nullptr;
    ASSERT_TRUE(edtest::WaitFor([&] { return (message = program.FindDialog()) != nullptr && message != chooser; }));
    EXPECT_NE(std::wstring::npos, CProgramRun::DialogText(message).find(L"does not exist"))
        << CProgramRun::DialogText(message).c_str();
    test_support::WriteWindowScreenshot(::GetDesktopWindow(), L"editor_program_folder_chooser_no_folder");
    ::SetForegroundWindow(message);
    edtest::TapKey(VK_RETURN);
    ASSERT_TRUE(edtest::WaitFor([&] { return !::IsWindow(message); }));
    EXPECT_TRUE(::IsWindowVisible(chooser));

    // A folder's whole path typed: that folder is added (the chooser opens
    // at it the next time).
    ASSERT_TRUE(edtest::TypeInto(name, typedPath));
    edtest::TapKey(VK_RETURN);
    ASSERT_TRUE(edtest::WaitFor([&] { return !::IsWindow(chooser); }));
    EXPECT_TRUE(edtest::WaitFor([&] {
        HWND bar = program.GalleryBar();
        return bar && ::IsWindowVisible(bar);
    }));
    chooser = openChooser();
    ASSERT_NE(nullptr, chooser);
    const std::wstring leaf = typedPath.substr(typedPath.find_last_of(L'\\') + 1);
    EXPECT_TRUE(edtest::WaitFor([&] {
        return CProgramRun::Text(::FindWindowExW(chooser, nullptr, L"Edit", nullptr)) == leaf;
    })) << CProgramRun::Text(::FindWindowExW(chooser, nullptr, L"Edit", nullptr)).c_str();
    ::PostMessageW(chooser, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(edtest::WaitFor([&] { return !::IsWindow(chooser); }));
}

TEST_F(ProgramByHand, TheOpenImageDialogOpensWithTheFocusInItsNameBox)
{
    edtest::ChooseFromMenu(program, 1151);  // Image > Add Image...
    HWND dialog = program.WaitForDialogWith(kFileNameCombo);
    ASSERT_NE(nullptr, dialog);
    HWND name = edtest::FileNameBox(dialog);
    ASSERT_NE(nullptr, name);
    EXPECT_TRUE(edtest::WaitFor([&] { return edtest::FocusIn(dialog) == name; }))
        << CProgramRun::ClassName(edtest::FocusIn(dialog)).c_str() << " "
        << CProgramRun::Text(edtest::FocusIn(dialog)).c_str();
    // Typing goes into it at once.
    edtest::TypeText(L"abc");
    EXPECT_TRUE(edtest::WaitFor([&] { return CProgramRun::Text(name) == L"abc"; }));
    ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(edtest::WaitFor([&] { return !::IsWindow(dialog); }));
}

TEST_F(ProgramByHand, ViewSectionTreeHidesTheTreeWithItsPlaceAndShowsItsStateByACheckMark)
{
    constexpr UINT kSectionTree = 32794;
    constexpr int kTemplateList = 1135;
    HWND tree = CProgramRun::FindById(frame, kTree);
    HWND templates = ::GetParent(CProgramRun::FindById(frame, kTemplateList));
    ASSERT_TRUE(tree && templates);
    RECT treeRect = {}, templatesRect = {};
    ::GetWindowRect(tree, &treeRect);
    ::GetWindowRect(templates, &templatesRect);
    // The View menu's item checked while the tree shows; R is its key.
    auto viewMenuChecks = [&] {
        edtest::PressKeys({{VK_MENU, true}, {'V', true}, {'V', false}, {VK_MENU, false}});
        HWND items = MenuWith(kSectionTree);
        const int index = items ? edtest::BarCommandIndex(items, kSectionTree) : -1;
        const bool checked =
            index >= 0 && (edtest::AskRemote<TBBUTTON>(items, TB_GETBUTTON, index).fsState & TBSTATE_CHECKED);
        return checked;
    };
    EXPECT_TRUE(viewMenuChecks());
    edtest::TapKey('R');
    ASSERT_TRUE(edtest::WaitFor([&] { return !::IsWindowVisible(tree); }));
    // The page templates' pane takes the column where the tree was.
    RECT taken = {};
    EXPECT_TRUE(edtest::WaitFor([&] {
        ::GetWindowRect(templates, &taken);
        // (below the bar between them, which stays at the top)
        return taken.top <= treeRect.top + 6 && taken.bottom == templatesRect.bottom;
    })) << taken.top << " " << treeRect.top;
    test_support::WriteWindowScreenshot(program.Main(), L"editor_program_section_tree_hidden");
    EXPECT_FALSE(viewMenuChecks());
    edtest::TapKey('R');
    ASSERT_TRUE(edtest::WaitFor([&] { return ::IsWindowVisible(tree) != FALSE; }));
    EXPECT_TRUE(edtest::WaitFor([&] {
        RECT back = {};
        ::GetWindowRect(tree, &back);
        return back.bottom - back.top > (treeRect.bottom - treeRect.top) / 2;
    }));
    EXPECT_TRUE(viewMenuChecks());
    CloseMenus();
}

TEST_F(ProgramCustomizedByHand, LargeIconsSwitchedOnAndOffLeaveTheBarsWhereAndAsTheyWere)
{
    constexpr int kLargeIcons = 16653;
    constexpr int kEditTreeToolBar = 59953;
    // The bars' places and the screen over them.
    std::vector<RECT> places;
    RECT bars = {};
    for (int id : {edtest::kMenuBarId, kMainToolBar, kEditTreeToolBar, kTextToolBar}) {
        HWND bar = CProgramRun::FindById(program.Main(), id);
        ASSERT_NE(nullptr, bar) << id;
        RECT rect = {};
        ::GetWindowRect(bar, &rect);
        places.push_back(rect);
        if (::IsRectEmpty(&bars))
            bars = rect;
        else
            ::UnionRect(&bars, &bars, &rect);
    }
    auto placesNow = [&] {
        std::vector<RECT> now;
        for (int id : {edtest::kMenuBarId, kMainToolBar, kEditTreeToolBar, kTextToolBar}) {
            RECT rect = {};
            ::GetWindowRect(CProgramRun::FindById(program.Main(), id), &rect);
            now.push_back(rect);
        }
        return now;
    };
    auto samePlaces = [&](const std::vector<RECT>& a, const std::vector<RECT>& b) {
        for (size_t i = 0; i < a.size(); ++i)
            if (!::EqualRect(&a[i], &b[i]))
                return false;
        return true;
    };
    const POINT rest = edtest::OnScreen(CProgramRun::FindById(frame, kTextPanel), {300, 150});
    edtest::MouseAt(rest);
    Settle();
    std::vector<COLORREF> before;
    ASSERT_TRUE(edtest::WaitFor([&] {
        const std::vector<COLORREF> now = ScreenPixels(bars);
        const bool steady = now == before;
        before = now;
        return steady;
    }));

    // Tools > Customize, its Options page, Large Icons on then off.
    edtest::PressKeys({{VK_MENU, true}, {'V', true}, {'V', false}, {VK_MENU, false}});
    ASSERT_NE(nullptr, MenuWith(32829));
    edtest::TapKey('T');
    HWND items = MenuWith(kCustomize);
    ASSERT_NE(nullptr, items);
    edtest::ClickBarItem(items, edtest::BarCommandIndex(items, kCustomize));
    HWND sheet = program.WaitForDialogWith(kSheetTab);
    ASSERT_NE(nullptr, sheet);
    const int pages = int(::SendMessageW(::GetDlgItem(sheet, kSheetTab), TCM_GETITEMCOUNT, 0, 0));
    edtest::ClickTab(sheet, pages - 1);
    HWND large = nullptr;
    ASSERT_TRUE(edtest::WaitFor([&] { return (large = ::GetDlgItem(edtest::CurrentPage(sheet), kLargeIcons)) != nullptr; }));
    ASSERT_EQ(BST_UNCHECKED, ::SendMessageW(large, BM_GETCHECK, 0, 0));
    edtest::ClickWindow(large);
    ASSERT_TRUE(edtest::WaitFor([&] { return ::SendMessageW(large, BM_GETCHECK, 0, 0) == BST_CHECKED; }));
    EXPECT_TRUE(edtest::WaitFor([&] { return !samePlaces(places, placesNow()); })) << "large icons are larger";
    edtest::ClickWindow(large);
    ASSERT_TRUE(edtest::WaitFor([&] { return ::SendMessageW(large, BM_GETCHECK, 0, 0) == BST_UNCHECKED; }));
    EXPECT_TRUE(edtest::WaitFor([&] { return samePlaces(places, placesNow()); }))
        << "the Edit Tree bar at " << placesNow()[2].left << ", " << placesNow()[2].top << " not "
        << places[2].left << ", " << places[2].top;
    ::PostMessageW(sheet, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(edtest::WaitFor([&] { return !::IsWindow(sheet); }));
    // Nothing of the large buttons is left on the screen. The pointer moved
    // as a user moves it: the program brings its buttons' states up to date
    // when it has handled such input (a pointer that stands still sends none).
    edtest::MouseAt({rest.x + 5, rest.y + 5});
    edtest::MouseAt(rest);
    std::vector<COLORREF> after;
    EXPECT_TRUE(edtest::WaitFor([&] { return (after = ScreenPixels(bars)) == before; }))
        << DifferenceText(before, after, bars);
    test_support::WriteWindowScreenshot(::GetDesktopWindow(), L"editor_program_large_icons_off");
}
