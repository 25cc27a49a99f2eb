// Adding camera photographs from the gallery to an empty section, in the real
// program: OstraTallier.exe (beside this program) starts on an empty report,
// a folder of count photographs (500 by default) is added to the gallery, all
// its thumbnails are selected ("Select All") and "Add Images To Document" is
// given, with the pointer resting over the section's image panel.
//
// Printed, best and median of the rounds (each round a new program):
// - titles: from the command to the panel's list holding every title, read
//   from the program, which answers only once it is free again (so the
//   window answers by then);
// - busy cursor: until the cursor over the panel is no longer the arrow;
// - progress window: until the program's progress window shows;
// - every thumbnail in: until the progress window turns from reading to
//   checking the pictures' files, with the thumbnails per second;
// - every file checked: until the busy cursor is the arrow again and the
//   progress window gone;
// beside them, on one processor, in this process: the library's reduced read
// of the same photographs into 128 x 128 thumbnails (raster_bench's figure)
// and the check of a file by decoding, which the insertion made on the
// user-interface thread for every picture before the panel showed anything.
//
// The photographs are those of pdf_bench (made once and kept in the folder):
// six camera photographs, each linked under many names (hard links).
//
// Usage: add_bench [photograph folder [count [rounds]]]
#include "bench/BenchPhotographs.h"
#include "bench/MachineLoad.h"
#include "platform/rasterlib/RasterLibApi.h"
#include "tests/editor/ProgramRun.h"

#include <commctrl.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr UINT kSelectAllInGallery = 32861;
constexpr UINT kAddImagesToDocument = 32860;
constexpr int kViewId = 0xE900;
constexpr int kPanelId = 176;
constexpr int kListId = 1122;
constexpr int kLibraryRounds = 3;
constexpr DWORD kGalleryLeft = 59420;  // the gallery docked at the left

double Now()
{
    LARGE_INTEGER count, frequency;
    ::QueryPerformanceCounter(&count);
    ::QueryPerformanceFrequency(&frequency);
    return double(count.QuadPart) / double(frequency.QuadPart);
}

double Best(std::vector<double> values)
{
    return *std::min_element(values.begin(), values.end());
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

HCURSOR ForegroundCursor()
{
    CURSORINFO info = {sizeof info};
    return ::GetCursorInfo(&info) ? info.hCursor : nullptr;
}

// The program's progress window: a visible dialog of the program that
// shows "Reading pictures..." or "Checking pictures...".
HWND ProgressWindow(const edtest::CProgramRun& program)
{
    HWND dialog = program.FindDialog();
    const std::wstring text = dialog ? edtest::CProgramRun::DialogText(dialog) : std::wstring();
    return text.find(L"Reading pictures") != std::wstring::npos ||
                   text.find(L"Checking pictures") != std::wstring::npos
               ? dialog
               : nullptr;
}

struct Round {
    double titles = -1, cursor = -1, progress = -1, thumbnails = -1, done = -1;
};

// One round in a new program; false when the program or its windows did not come.
bool MeasureRound(const std::wstring& galleryFolder, int count, Round& round)
{
    edtest::SetStartPrefs(3, L"", false);
    edtest::SetGalleryPrefs(kGalleryLeft, false, galleryFolder);
    edtest::CProgramRun program;
    HWND list = nullptr;
    if (!program.Start() || !edtest::WaitFor([&] {
            for (HWND frame : program.ReportFrames()) {
                HWND view = edtest::CProgramRun::FindById(frame, kViewId);
                list = edtest::CProgramRun::FindById(edtest::CProgramRun::FindById(view, kPanelId), kListId);
            }
            return list != nullptr;
        }, 60000)) {
        std::printf("the program did not show its report\n");
        return false;
    }
    ::ShowWindow(program.Main(), SW_MAXIMIZE);
    ::SetForegroundWindow(program.Main());
    if (!program.AddGalleryFolder(galleryFolder)) {
        std::printf("the gallery did not take the folder\n");
        return false;
    }
    // The folder is read into the gallery once the chooser is gone; the
    // program answers once that is done.
    edtest::WaitFor([&] { return !program.FindDialog(); });
    ::SendMessageW(program.Main(), WM_NULL, 0, 0);
    program.Command(kSelectAllInGallery);
    // The pointer rests over the panel; the cursor it shows there at rest.
    RECT rect;
    ::GetWindowRect(list, &rect);
    const POINT pointer = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ::SetCursorPos(pointer.x, pointer.y);
    HCURSOR rest = nullptr;
    edtest::WaitFor([&] {
        ::SendMessageW(program.Main(), WM_NULL, 0, 0);  // answered once the move is handled
        rest = ForegroundCursor();
        return rest != nullptr;
    });

    // The cursor is watched by a thread of its own: the main one waits for
    // the program's answers.
    std::atomic<bool> watching{true};
    std::atomic<double> busyAt{-1};
    const double start = Now();
    std::thread watcher([&] {
        while (watching) {
            const HCURSOR cursor = ForegroundCursor();
            if (cursor && cursor != rest && busyAt < 0)
                busyAt = Now() - start;
            ::Sleep(1);
        }
    });
    ::PostMessageW(program.Main(), WM_COMMAND, kAddImagesToDocument, 0);
    while (Now() - start < 600) {
        if (HWND progress = ProgressWindow(program)) {
            if (round.progress < 0)
                round.progress = Now() - start;
            if (round.thumbnails < 0 &&
                edtest::CProgramRun::DialogText(progress).find(L"Checking") != std::wstring::npos)
                round.thumbnails = Now() - start;
        }
        if (round.titles < 0) {
            DWORD_PTR items = 0;
            // Answered only once the program is free again.
            if (::SendMessageTimeoutW(list, LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, 600000, &items) &&
                int(items) == count)
                round.titles = Now() - start;
        } else if (busyAt >= 0 && ForegroundCursor() == rest && !ProgressWindow(program)) {
            // An arrow seen for a moment (a window that came under the pointer)
            // is not the end: a move of the pointer, once handled, shows the panel's own.
            const double candidate = Now() - start;
            ::SetCursorPos(pointer.x + 1, pointer.y);
            ::SendMessageW(program.Main(), WM_NULL, 0, 0);
            ::SetCursorPos(pointer.x, pointer.y);
            ::SendMessageW(program.Main(), WM_NULL, 0, 0);
            if (ForegroundCursor() == rest && !ProgressWindow(program)) {
                round.done = candidate;
                break;
            }
        }
        ::Sleep(1);
    }
    watching = false;
    watcher.join();
    round.cursor = busyAt;
    // Read so fast that the progress window never said so: by the end at the latest.
    if (round.thumbnails < 0)
        round.thumbnails = round.done;
    return program.CloseWithoutSaving() && round.titles >= 0 && round.done >= 0;
}

// What one processor does per second, in this process, with the library.
struct LibraryRates {
    double thumbnails = 0, checks = 0;
};

LibraryRates MeasureLibrary(const std::vector<std::wstring>& photos)
{
    LibraryRates rates;
    HMODULE library = ::LoadLibraryW(L"DAZiruraRuv.dll");
    auto readReduced =
        library ? reinterpret_cast<PFN_ReadLQRasterImageW>(::GetProcAddress(library, "ReadLQRasterImageW")) : nullptr;
    auto check =
        library ? reinterpret_cast<PFN_CheckRasterImageW>(::GetProcAddress(library, "CheckRasterImageW")) : nullptr;
    if (!readReduced || !check)
        return rates;
    std::vector<uint8_t> buffer;
    const int32_t side = 128;
    double start = Now();
    int made = 0;
    for (int round = 0; round < kLibraryRounds; ++round) {
        for (const std::wstring& photo : photos) {
            const int32_t size = readReduced(photo.c_str(), nullptr, 0, &side, &side, 0, 0, 0);
            buffer.resize(size_t(size > 0 ? size : 1));
            made += size > 0 && readReduced(photo.c_str(), buffer.data(), size, &side, &side, 0, 0, 0) == size;
        }
    }
    rates.thumbnails = made / (Now() - start);
    start = Now();
    int checked = 0;
    for (int round = 0; round < kLibraryRounds; ++round) {
        for (const std::wstring& photo : photos)
            checked += check(photo.c_str(), kCheckByDecoding) == rasterlib::kPictureSound;
    }
    rates.checks = checked / (Now() - start);
    return rates;
}

}  // namespace

int main(int argc, char** argv)
{
    // Each line as it comes: a round can take minutes on a loaded machine.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const std::wstring folder = FolderArgument(argc, argv, 1);
    const int count = argc > 2 ? std::max(1, std::atoi(argv[2])) : 500;
    const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 3;
    int64_t bytes = 0;
    const std::vector<std::wstring> photos = MakePhotographs(folder, 6, bytes);
    if (photos.empty())
        return 1;
    const std::wstring sub = L"add" + std::to_wstring(count);
    LinkedPictures(folder, photos, count, sub.c_str());
    const std::wstring galleryFolder = folder + sub;

    const LibraryRates rates = MeasureLibrary(photos);
    std::vector<double> titles, cursors, progress, thumbnails, done;
    for (int r = 0; r < rounds; ++r) {
        Round round;
        if (!MeasureRound(galleryFolder, count, round))
            return 1;
        std::printf("round %d: titles %.2f s, busy cursor %.0f ms, progress window %s, every thumbnail in %.2f s, "
                    "every file checked %.2f s\n",
                    r + 1, round.titles, round.cursor * 1000.0,
                    round.progress < 0 ? "not shown" : (std::to_string(round.progress) + " s").c_str(),
                    round.thumbnails, round.done);
        titles.push_back(round.titles);
        thumbnails.push_back(round.thumbnails);
        cursors.push_back(round.cursor);
        done.push_back(round.done);
        if (round.progress >= 0)
            progress.push_back(round.progress);
    }
    std::printf("\n%d camera photographs (%d MB each on average) added from the gallery, %d rounds, best / median:\n",
                count, int(bytes / 6 / 1048576), rounds);
    std::printf("  every title shown, the window answering: %6.2f / %6.2f s\n", Best(titles), Median(titles));
    std::printf("  busy cursor after the command:           %6.0f / %6.0f ms\n", Best(cursors) * 1000.0,
                Median(cursors) * 1000.0);
    if (!progress.empty())
        std::printf("  progress window after the command:       %6.2f / %6.2f s\n", Best(progress), Median(progress));
    std::printf("  every thumbnail in:                       %6.2f / %6.2f s = %.1f / %.1f thumbnails a second\n",
                Best(thumbnails), Median(thumbnails), count / Best(thumbnails), count / Median(thumbnails));
    std::printf("  every file checked too (cursor at rest):  %6.2f / %6.2f s\n", Best(done), Median(done));
    std::printf("one processor, the library in this process: %.1f thumbnails a second (raster_bench's reduced read);"
                " %.1f checks by decoding a second\n",
                rates.thumbnails, rates.checks);
    std::printf("machine load (1, 5, 15 minutes): %s\n", MachineLoad().c_str());
    if (rates.checks > 0)
        std::printf("before: the insertion checked every file by decoding on the user-interface thread first: "
                    "%.1f s for %d photographs at that rate, before any title showed\n",
                    count / rates.checks, count);
    std::printf("%u processors\n", Processors());
    return 0;
}
