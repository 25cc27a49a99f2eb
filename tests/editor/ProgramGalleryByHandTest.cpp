// The image gallery driven by hand: its context menu at the screen's edge,
// pinned to hide, the folder chooser that adds to it, and a picture dragged
// from it onto a section.
#include "ProgramByHand.h"

#include "tests/support/WindowScreenshot.h"

#include <gtest/gtest.h>

#include "tests/framework/KWTestFiles.h"
#include "SolidBitmap.h"

#include <commctrl.h>

#include <climits>

#include <algorithm>

using edtest::CProgramRun;
using namespace edtest;

namespace {

constexpr DWORD kGalleryRight = 59421;
constexpr int kGalleryListId = 1;
constexpr int kGalleryViewId = 2;

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
    // The program started on one report with a folder of one picture in its
    // gallery, docked at the right, and in front; the gallery's bar.
    HWND StartWithGalleryAtTheRight(const CKWTestTempFolder& folder)
    {
        folder.Write(L"one.bmp", std::string());
        edtest::SetStartPrefs(3, L"");
        const std::wstring path = folder.Path().substr(0, folder.Path().size() - 1);
        edtest::SetGalleryPrefs(59421, false, path);  // docked at the right
        if (!program.Start() || !program.AddGalleryFolder(path))
            return nullptr;
        ::SetForegroundWindow(program.Main());
        return edtest::WaitFor([&] { return ::GetForegroundWindow() == program.Main(); }) ? program.GalleryBar()
                                                                                          : nullptr;
    }
    static constexpr wchar_t kSettings[] = L"Software\\Kestrel Works\\OstraTallier";
    edtest::PointerKept pointer;
    CProgramRun program;
};

}  // namespace

TEST_F(ProgramByHandGallery, TheGallerysContextMenuOpenedAtTheScreensRightEdgeLiesInsideTheScreen)
{
    CKWTestTempFolder folder(L"gctx");
    HWND bar = StartWithGalleryAtTheRight(folder);
    ASSERT_NE(nullptr, bar);
    // The gallery is docked once the main frame's layout has placed it.
    RECT rect = {};
    const int screen = ::GetSystemMetrics(SM_CXSCREEN);
    ASSERT_TRUE(edtest::WaitFor([&] {
        ::GetWindowRect(bar, &rect);
        return rect.right >= screen - 12;
    })) << "the gallery reaches the screen's right edge: " << rect.left << ".." << rect.right;
    // The panes are read once the bar lies at rest there, as its program sees it.
    ASSERT_TRUE(edtest::ReadyForClick(bar, edtest::CentreOf(rect))) << program.Shows();
    // A right click a few pixels from the edge, in its folders' and in its
    // pictures' panes.
    HWND folders = CProgramRun::FindById(bar, kGalleryListId);
    HWND pictures = CProgramRun::FindById(bar, kGalleryViewId);
    ASSERT_TRUE(folders && pictures);
    RECT folderRect = {}, pictureRect = {};
    ::GetWindowRect(folders, &folderRect);
    ::GetWindowRect(pictures, &pictureRect);
    const struct {
        HWND pane;
        POINT at;
        const wchar_t* screenshot;
    } clicks[] = {
        {folders, {std::min<LONG>(folderRect.right, screen) - 6, (folderRect.top + folderRect.bottom) / 2},
         L"editor_program_gallery_folders_menu_at_edge"},
        {pictures, {std::min<LONG>(pictureRect.right, screen) - 6, pictureRect.bottom - 30},
         L"editor_program_gallery_menu_at_edge"},
    };
    for (const auto& click : clicks) {
        SCOPED_TRACE(testing::Message() << click.at.x << ", " << click.at.y);
        HWND menu = edtest::OpenContextMenu(program, click.pane, click.at);
        ASSERT_NE(nullptr, menu) << program.Shows() << program.ShowsAt(click.at);
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

TEST_F(ProgramByHandGallery, TheGalleryPinnedToHideByItsCaptionButtonSlidesAwayOnceThePointerLeavesIt)
{
    CKWTestTempFolder folder(L"gpin");
    HWND gallery = StartWithGalleryAtTheRight(folder);
    ASSERT_NE(nullptr, gallery);
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

TEST_F(ProgramByHandGallery, APictureDraggedOntoASectionIsCentredOnThePointerAndLeavesNoStripAtTheWindowsLeftBorder)
{
    CKWTestTempFolder folder(L"gdrop");
    folder.Write(L"red.bmp", edtest::SolidBitmapFile(200, 150, 0, 0, 255));
    const std::wstring path = folder.Path().substr(0, folder.Path().size() - 1);
    edtest::SetStartPrefs(3, L"");
    edtest::SetGalleryPrefs(kGalleryRight, false, path);
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(edtest::WaitFor([&] { return program.ReportFrames().size() == 1; }));
    ASSERT_TRUE(program.AddGalleryFolder(path));
    // The main window short of the screen's edges, its left border in sight.
    ::ShowWindow(program.Main(), SW_RESTORE);
    ::SetWindowPos(program.Main(), nullptr, 40, 30, ::GetSystemMetrics(SM_CXSCREEN) * 3 / 4,
                   ::GetSystemMetrics(SM_CYSCREEN) * 3 / 4, SWP_NOZORDER);
    ::SetForegroundWindow(program.Main());
    ASSERT_TRUE(edtest::WaitFor([&] { return ::GetForegroundWindow() == program.Main(); }));
    // The picture's thumbnail in the gallery: where its view shows red.
    HWND pictures = CProgramRun::FindById(program.GalleryBar(), kGalleryViewId);
    ASSERT_NE(nullptr, pictures);
    CRect red;
    ASSERT_TRUE(edtest::WaitFor([&] {
        const test_support::Pixels shown = test_support::Capture(pictures, false);
        red = CRect(shown.width, shown.height, 0, 0);
        for (int y = 0; y < shown.height; ++y)
            for (int x = 0; x < shown.width; ++x)
                if (shown.At(x, y) == RGB(255, 0, 0))
                    red |= CRect(x, y, x + 1, y + 1);
        return red.Width() > 20 && red.Height() > 20;
    })) << "the gallery shows the picture";
    HWND frame = program.ActiveFrame();
    HWND tree = CProgramRun::FindById(frame, kTree);
    ASSERT_NE(nullptr, tree);
    const LPARAM root = ::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0);
    const std::vector<LPARAM> sections = edtest::TreeChildren(tree, root);
    ASSERT_FALSE(sections.empty());

    // The main window's left border, from the screen's background outside
    // it into the tree's margin, as the screen shows it with the pointer away.
    RECT mainRect = {}, treeRect = {};
    ::GetWindowRect(program.Main(), &mainRect);
    ::GetWindowRect(tree, &treeRect);
    const RECT border = {mainRect.left - 12, treeRect.top, treeRect.left + 3, treeRect.bottom};
    ASSERT_GT(border.right, border.left);
    const POINT rest = {(treeRect.left + treeRect.right) / 2, treeRect.bottom - 20};
    edtest::MouseAt(rest);
    ::SendMessageW(program.Main(), WM_NULL, 0, 0);
    std::vector<COLORREF> before;
    ASSERT_TRUE(edtest::SteadyScreen(border, before));

    // The picture dragged from the gallery onto the last section.
    const POINT from = edtest::OnScreen(pictures, red.CenterPoint());
    const POINT to = edtest::TreeItemPoint(tree, sections.back());
    edtest::PressAndMove(from, to);
    // The drag image is centred on the pointer.
    // (read over the tree, where nothing else is red)
    const RECT around = treeRect;
    const LONG aroundWidth = around.right - around.left;
    CRect image;
    EXPECT_TRUE(edtest::WaitFor([&] {
        edtest::MouseAt({to.x + 1, to.y});
        edtest::MouseAt(to);
        const std::vector<COLORREF> pixels = edtest::ScreenPixels(around);
        image = CRect(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
        for (size_t i = 0; i < pixels.size(); ++i)
            if (GetRValue(pixels[i]) > 150 && GetGValue(pixels[i]) < 100 && GetBValue(pixels[i]) < 100)
            {
                const LONG x = around.left + LONG(i) % aroundWidth, y = around.top + LONG(i) / aroundWidth;
                image |= CRect(x, y, x + 1, y + 1);
            }
        return image.Width() > 20;
    })) << "no drag image near the pointer";
    test_support::WriteWindowScreenshot(::GetDesktopWindow(), L"editor_program_gallery_drag_image");
    EXPECT_TRUE(image.left < to.x - 10 && image.right > to.x + 10) << "the image is not across the pointer";
    EXPECT_TRUE(image.top < to.y - 10 && image.bottom > to.y + 10) << "the image is not across the pointer";
    edtest::MouseAt(to, MOUSEEVENTF_LEFTUP);
    HWND panelList = CProgramRun::PictureListOf(frame);
    ASSERT_NE(nullptr, panelList);
    EXPECT_TRUE(edtest::WaitFor([&] {
        return ::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0) == LPARAM(sections.back()) &&
               ::SendMessageW(panelList, LVM_GETITEMCOUNT, 0, 0) == 1;
    })) << "the section shows the dropped picture";
    edtest::MouseAt(rest);
    ::SendMessageW(program.Main(), WM_NULL, 0, 0);
    std::vector<COLORREF> after;
    EXPECT_TRUE(edtest::WaitFor([&] { return (after = edtest::ScreenPixels(border)) == before; }))
        << edtest::DifferenceText(before, after, border);
    test_support::WriteWindowScreenshot(::GetDesktopWindow(), L"editor_program_gallery_drop_on_tree");
}
