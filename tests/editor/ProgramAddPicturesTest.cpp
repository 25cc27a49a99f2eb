// Adding many camera photographs from the gallery to a section in the real
// program, by the user's hand: the busy cursor shows at once, the titles come
// while the pictures are still read, a progress window that takes no keys
// shows once the reading lasts more than a second, the busy cursor shows over
// it too, the program answers all the while, and one warning names the
// damaged file once every file is read.
#include "ListPictures.h"
#include "ProgramRealInput.h"
#include "ProgramRun.h"
#include "RemoteMemory.h"
#include "UserInput.h"

#include "tests/framework/KWTestFiles.h"
#include "tests/support/TestJpegs.h"
#include "tests/support/WindowScreenshot.h"

#include <gtest/gtest.h>

#include <atomic>
#include <commctrl.h>
#include <string>
#include <thread>

using edtest::CProgramRun;

namespace {

constexpr int kGalleryViewId = 2;
constexpr int kAddImagesButton = 1117;
constexpr DWORD kGalleryLeft = 59420;
// Photographs enough that reading them lasts seconds on any machine.
constexpr int kPhotographs = 200;
constexpr double kAtOnceSeconds = 0.1;

double Now()
{
    LARGE_INTEGER count, frequency;
    ::QueryPerformanceCounter(&count);
    ::QueryPerformanceFrequency(&frequency);
    return double(count.QuadPart) / double(frequency.QuadPart);
}

HCURSOR ForegroundCursor()
{
    CURSORINFO info = {sizeof info};
    return ::GetCursorInfo(&info) ? info.hCursor : nullptr;
}

// The program's progress window of the reading; null when none shows.
HWND ReadingProgress(const CProgramRun& program)
{
    HWND dialog = program.FindDialog();
    const std::wstring text = dialog ? CProgramRun::DialogText(dialog) : std::wstring();
    return text.find(L"Reading pictures...") != std::wstring::npos ||
                   text.find(L"Checking pictures...") != std::wstring::npos
               ? dialog
               : nullptr;
}

// One camera photograph under many names, and one file cut short, in the
// folder; the folder without its final backslash.
std::wstring WritePhotographs(CKWTestTempFolder& folder)
{
    const std::string photo = testpictures::EncodeJpeg(testpictures::PhotoPixels(4000, 3000, 5, 20), 4000, 3000);
    const std::wstring first = folder.Write(L"P0000.jpg", photo);
    for (int i = 1; i < kPhotographs; ++i) {
        wchar_t name[32];
        std::swprintf(name, 32, L"P%04d.jpg", i);
        const std::wstring path = folder.Path() + name;
        if (!::CreateHardLinkW(path.c_str(), first.c_str(), nullptr))
            ::CopyFileW(first.c_str(), path.c_str(), FALSE);
    }
    folder.Write(L"cut.jpg", photo.substr(0, photo.size() / 3));
    std::wstring path = folder.Path();
    path.pop_back();
    return path;
}

// The pointer over the progress window keeps the busy cursor: a look after
// each of a score of answers of the program, which handles the move among
// them. The other cursors seen, by look, as "look: handle".
std::string OtherCursorsOver(HWND progress, HCURSOR busy)
{
    RECT rect;
    ::GetWindowRect(progress, &rect);
    edtest::MouseAt({(rect.left + rect.right) / 2, rect.bottom - 6});
    std::string others;
    for (int look = 0; look < 20 && ::IsWindow(progress); ++look) {
        DWORD_PTR answer = 0;
        ::SendMessageTimeoutW(progress, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &answer);
        const HCURSOR seen = ForegroundCursor();
        // Once the reading is done the window is gone, and so is the busy cursor.
        if (!::IsWindow(progress))
            break;
        if (seen != busy)
            others += std::to_string(look) + ": " + testing::PrintToString(static_cast<const void*>(seen)) + " ";
    }
    return others;
}

// The one warning at the end, which names the damaged file only, answered;
// then the cursor at rest over the panel is the arrow again.
void ExpectTheWarningThenTheArrow(const CProgramRun& program, const std::wstring& folder, POINT inPanel,
                                  HCURSOR rest)
{
    HWND warning = nullptr;
    std::wstring text;
    // The progress window's text is empty for a moment when it changes.
    ASSERT_TRUE(edtest::WaitFor([&] {
        warning = program.FindDialog();
        text = warning ? CProgramRun::DialogText(warning) : std::wstring();
        return !text.empty() && text.find(L"Reading pictures...") == std::wstring::npos &&
               text.find(L"Checking pictures...") == std::wstring::npos;
    }, 300000));
    EXPECT_NE(std::wstring::npos, text.find(folder + L"\\cut.jpg is damaged.")) << testing::PrintToString(text);
    EXPECT_EQ(std::wstring::npos, text.find(L"P0001.jpg"));
    ::PostMessageW(warning, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(edtest::WaitFor([&] { return !program.FindDialog(); }));
    edtest::MouseAt(inPanel);
    EXPECT_TRUE(edtest::WaitFor([&] {
        ::SendMessageW(program.Main(), WM_NULL, 0, 0);
        return ForegroundCursor() == rest;
    })) << "the arrow again once the reading is done";
}

BOOL CALLBACK FindFileList(HWND window, LPARAM found)
{
    if (CProgramRun::ClassName(window) != L"SysListView32")
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

}  // namespace

TEST(ProgramAddPictures, TheBusyCursorAtOnceTheProgressWindowAfterASecondAndOneWarningAtTheEnd)
{
    CKWTestTempFolder folder(L"add");
    const std::wstring galleryFolder = WritePhotographs(folder);

    edtest::SetStartPrefs(3, L"", false);
    edtest::SetGalleryPrefs(kGalleryLeft, false, galleryFolder);
    CProgramRun program;
    ASSERT_TRUE(program.Start());
    HWND list = nullptr;
    ASSERT_TRUE(edtest::WaitFor([&] { return (list = program.ReportPictureList()) != nullptr; }));
    ::ShowWindow(program.Main(), SW_MAXIMIZE);
    ::SetForegroundWindow(program.Main());
    ASSERT_TRUE(edtest::WaitFor([&] { return ::GetForegroundWindow() == program.Main(); }));
    ASSERT_TRUE(program.AddGalleryFolder(galleryFolder));
    // The folder is read into the gallery once the chooser is gone.
    ASSERT_TRUE(edtest::WaitFor([&] { return !program.FindDialog(); }));
    ::SendMessageW(program.Main(), WM_NULL, 0, 0);

    // "Select All" from the thumbnails' context menu (its first item).
    HWND gallery = CProgramRun::FindById(program.GalleryBar(), kGalleryViewId);
    ASSERT_NE(nullptr, gallery);
    RECT galleryRect;
    ::GetWindowRect(gallery, &galleryRect);
    const POINT inGallery = {(galleryRect.left + galleryRect.right) / 2, galleryRect.bottom - 8};
    ASSERT_NE(nullptr, edtest::OpenContextMenu(program, gallery, inGallery)) << program.Shows();
    edtest::PressKeys({{VK_DOWN, true}, {VK_DOWN, false}, {VK_RETURN, true}, {VK_RETURN, false}});
    ASSERT_TRUE(edtest::WaitFor([&] { return !program.FindPopup(); }));

    // The pointer rests over the image panel, which shows its arrow there
    // (away from the middle of the screen, where the progress window shows).
    RECT listRect;
    ::GetWindowRect(list, &listRect);
    const POINT inPanel = {listRect.left + 40, listRect.bottom - 40};
    edtest::MouseAt(inPanel);
    ::SendMessageW(program.Main(), WM_NULL, 0, 0);
    const HCURSOR rest = ForegroundCursor();
    ASSERT_NE(nullptr, rest);

    // View > Add Images To Document, by the keys; a thread watches the menu
    // close (the command given) and the cursor change.
    edtest::PressChord(VK_MENU, 'V');
    ASSERT_TRUE(edtest::WaitFor([&] { return program.FindPopup() != nullptr; }));
    std::atomic<bool> watching{true};
    std::atomic<double> menuGoneAt{-1}, busyAt{-1};
    std::thread watcher([&] {
        while (watching && busyAt < 0) {
            const double now = Now();
            if (menuGoneAt < 0 && !program.FindPopup())
                menuGoneAt = now;
            const HCURSOR cursor = ForegroundCursor();
            if (menuGoneAt >= 0 && cursor && cursor != rest)
                busyAt = now;
        }
    });
    const double keyAt = Now();
    edtest::PressKeys({{'A', true}, {'A', false}});
    const bool cursorCame = edtest::WaitFor([&] { return busyAt >= 0; }, 30000);
    watching = false;
    watcher.join();
    ASSERT_TRUE(cursorCame) << "the cursor over the panel stayed the arrow";
    EXPECT_LE(busyAt - menuGoneAt, kAtOnceSeconds) << "the busy cursor " << (busyAt - menuGoneAt) * 1000
                                                   << " ms after the command (" << (busyAt - keyAt) * 1000
                                                   << " ms after the key)";

    // Every title at once; then the progress window, the program answering
    // meanwhile and the main window keeping the keys.
    ASSERT_TRUE(edtest::WaitFor([&] { return edtest::ListItemCount(list) == kPhotographs + 1; }));
    HWND progress = nullptr;
    ASSERT_TRUE(edtest::WaitFor([&] { return (progress = ReadingProgress(program)) != nullptr; }, 60000))
        << "no progress window while the pictures were read";
    EXPECT_GE(Now() - keyAt, 0.5) << "the progress window waits for about a second";
    EXPECT_EQ(program.Main(), ::GetForegroundWindow()) << "the progress window took the activation";
    DWORD_PTR answer = 0;
    EXPECT_TRUE(::SendMessageTimeoutW(program.Main(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer))
        << "the program answers while it reads";
    const HCURSOR busy = ForegroundCursor();
    EXPECT_NE(rest, busy) << "the busy cursor stays while the pictures are read";
    test_support::WriteWindowScreenshot(::GetDesktopWindow(), L"editor_add_pictures_progress");
    EXPECT_EQ("", OtherCursorsOver(progress, busy))
        << "another cursor than the busy one " << busy << " (the arrow " << rest
        << ") over the progress window while the pictures are read";
    edtest::MouseAt(inPanel);
    ExpectTheWarningThenTheArrow(program, galleryFolder, inPanel, rest);
    EXPECT_TRUE(program.CloseWithoutSaving());
}

// The same pictures added by the hand that clicks the panel's "Add Images"
// button, chooses them all in the file dialog and clicks its Open button:
// the busy cursor comes once the dialog is gone, stays over the panel and
// over the progress window until every picture is read and checked, and
// gives way to the arrow after the one warning.
TEST(ProgramAddPictures, AddedByTheClickOfTheFileDialogsOpenTheBusyCursorStaysUntilThePicturesAreIn)
{
    CKWTestTempFolder folder(L"adc");
    const std::wstring pictures = WritePhotographs(folder);
    edtest::SetStartPrefs(3, L"", false);
    edtest::SetPrefText(L"AddPicturePath", pictures);
    CProgramRun program;
    ASSERT_TRUE(program.Start());
    HWND panel = nullptr, list = nullptr;
    ASSERT_TRUE(edtest::WaitFor([&] {
        for (HWND frame : program.ReportFrames()) {
            panel = CProgramRun::SectionPanelOf(frame);
            list = CProgramRun::PictureListOf(frame);
        }
        return list != nullptr;
    }));
    ::ShowWindow(program.Main(), SW_MAXIMIZE);
    ::SetForegroundWindow(program.Main());
    ASSERT_TRUE(edtest::WaitFor([&] { return ::GetForegroundWindow() == program.Main(); }));
    edtest::PointerKept kept;
    RECT listRect;
    ::GetWindowRect(list, &listRect);
    const POINT inPanel = {listRect.left + 40, listRect.bottom - 40};
    edtest::MouseAt(inPanel);
    ::SendMessageW(program.Main(), WM_NULL, 0, 0);
    const HCURSOR rest = ForegroundCursor();
    ASSERT_NE(nullptr, rest);

    RECT addRect;
    ::GetWindowRect(CProgramRun::FindById(panel, kAddImagesButton), &addRect);
    edtest::ClickAt({(addRect.left + addRect.right) / 2, (addRect.top + addRect.bottom) / 2});
    HWND dialog = program.WaitForDialog();
    ASSERT_NE(nullptr, dialog);
    HWND files = nullptr;
    ASSERT_TRUE(edtest::WaitFor([&] {
        ::EnumChildWindows(dialog, FindFileList, reinterpret_cast<LPARAM>(&files));
        return files && ::SendMessageW(files, LVM_GETITEMCOUNT, 0, 0) == kPhotographs + 1;
    }));
    {
        // Every file chosen, as Ctrl+A in the list does.
        edtest::CRemote remote(files, sizeof(LVITEMW));
        LVITEMW item = {};
        item.stateMask = LVIS_SELECTED;
        item.state = LVIS_SELECTED;
        ::SendMessageW(files, LVM_SETITEMSTATE, WPARAM(-1), remote.Put(item));
    }
    ASSERT_TRUE(edtest::WaitFor([&] { return ::SendMessageW(files, LVM_GETSELECTEDCOUNT, 0, 0) == kPhotographs + 1; }));
    RECT openRect;
    ::GetWindowRect(::GetDlgItem(dialog, IDOK), &openRect);
    edtest::ClickAt({(openRect.left + openRect.right) / 2, (openRect.top + openRect.bottom) / 2});
    ASSERT_TRUE(edtest::WaitFor([&] { return !::IsWindow(dialog); }));
    edtest::MouseAt(inPanel);
    ASSERT_TRUE(edtest::WaitFor([&] {
        ::SendMessageW(program.Main(), WM_NULL, 0, 0);
        return ForegroundCursor() != rest;
    })) << "the cursor over the panel stayed the arrow";
    const HCURSOR firstBusy = ForegroundCursor();

    ASSERT_TRUE(edtest::WaitFor([&] { return edtest::ListItemCount(list) == kPhotographs + 1; }));
    HWND progress = nullptr;
    ASSERT_TRUE(edtest::WaitFor([&] { return (progress = ReadingProgress(program)) != nullptr; }, 60000))
        << "no progress window while the pictures were read";
    const HCURSOR busy = ForegroundCursor();
    EXPECT_NE(rest, busy) << "the busy cursor stays while the pictures are read (first " << firstBusy << ")";
    EXPECT_EQ("", OtherCursorsOver(progress, busy))
        << "another cursor than the busy one " << busy << " (the arrow " << rest
        << ") over the progress window while the pictures are read";
    edtest::MouseAt(inPanel);
    ExpectTheWarningThenTheArrow(program, pictures, inPanel, rest);
    EXPECT_TRUE(program.CloseWithoutSaving());
}
