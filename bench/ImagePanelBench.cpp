// The speed of the section image panel as a user meets it, in the real
// program: OstraTallier.exe (beside this program) opens a report whose
// sections hold 125, 500 and 2,000 camera photographs and 3 more, and the
// bench clicks the sections in the section tree with the mouse.
//
// Printed, per section size (best and median of the rounds):
// - to: from the click on the big section to its titles all in the list (the
//   list's full count, read from the program, which answers only once it is
//   free again);
// - back: from the click on the 3-picture section right after that, while
//   the big section's thumbnails still load, to the list's count of 3;
// - the title time per picture, so that growth with the size shows.
// Then, each big section visited once before so that the thumbnail cache (of
// 128 MB, set for the run) holds what it can of it, the switch as the user
// sees it: from the click to the section shown (the list holding its count
// and painted, the section's title painted), into the big section and back
// to the 3-picture one (its peer).
// Then the thumbnails per second that the picture-loading thread brings into
// the list (in this process, as the panel does it, for 200 pictures).
//
// The photographs are those of pdf_bench (made once and kept in the folder):
// six camera photographs, each linked under many names (hard links), so that
// every picture is a file of its own that is read and scaled.
//
// Usage: panel_bench [photograph folder [rounds]]
#include "bench/BenchPhotographs.h"
#include "bench/ElapsedSeconds.h"
#include "controls/KWListImagesView.h"
#include "editor/TalApplication.h"
#include "editor/TalImageViewData.h"
#include "editor/TalPicThreadWin.h"
#include "framework/KWRasterLib.h"
#include "framework/KWThreadOwner.h"
#include "platform/classlib/Wnd.h"
#include "tests/editor/ProgramInput.h"
#include "tests/editor/ProgramRun.h"
#include "tests/editor/SectionsReport.h"

#include <commctrl.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr UINT kDefaultPicture = 250;
constexpr int kViewId = 0xE900;
constexpr int kTreeId = 1126;
constexpr int kPanelId = 176;
constexpr int kListId = 1122;
const int kSizes[] = {125, 500, 2000};
constexpr int kSmall = 3;
constexpr int kThreadPictures = 200;

struct Figures {
    std::vector<double> to, back, shownTo, shownBack;
};

constexpr int kTextPaneId = 197;
constexpr int kTitleLabelId = 1171;
// Time enough for a picture's thumbnail to come into the cache.
constexpr DWORD kWarmMsPerPicture = 40;
// The thumbnail cache of the measured program, in kilobytes: 1,639
// thumbnails, the 500-picture section whole.
constexpr DWORD kCacheKilobytes = 131072;
const wchar_t kPrefsKey[] = L"Software\\Kestrel Works\\OstraTallier\\";

// The preference "ImageCache" set for the program's run, the user's put back after it.
class CCachePreference {
public:
    explicit CCachePreference(DWORD kilobytes)
    {
        if (::RegCreateKeyExW(HKEY_CURRENT_USER, kPrefsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_key,
                              nullptr) != ERROR_SUCCESS)
            return;
        DWORD size = sizeof m_kept;
        m_had = ::RegQueryValueExW(m_key, L"ImageCache", nullptr, nullptr, reinterpret_cast<BYTE*>(&m_kept),
                                   &size) == ERROR_SUCCESS;
        ::RegSetValueExW(m_key, L"ImageCache", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&kilobytes),
                         sizeof kilobytes);
    }
    ~CCachePreference()
    {
        if (!m_key)
            return;
        if (m_had)
            ::RegSetValueExW(m_key, L"ImageCache", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&m_kept),
                             sizeof m_kept);
        else
            ::RegDeleteValueW(m_key, L"ImageCache");
        ::RegCloseKey(m_key);
    }

private:
    HKEY m_key = nullptr;
    DWORD m_kept = 0;
    bool m_had = false;
};

double Best(std::vector<double> values)
{
    return *std::min_element(values.begin(), values.end());
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

int ItemCount(HWND list)
{
    return int(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
}

// Seconds from a click on the item to the list's count; -1 when it did not come in a minute.
double ClickUntil(HWND tree, LPARAM item, HWND list, int count)
{
    const POINT point = edtest::TreeItemPoint(tree, item);
    LARGE_INTEGER start;
    ::QueryPerformanceCounter(&start);
    edtest::ClickAt(point);
    while (ItemCount(list) != count) {
        if (Seconds(start) > 60)
            return -1;
        ::Sleep(1);
    }
    return Seconds(start);
}

// True when the window has nothing left to paint.
bool Painted(HWND window)
{
    RECT update = {};
    return !::GetUpdateRect(window, &update, FALSE);
}

// Seconds from a click on the item to the section shown: the list holding
// its count and painted, and the title naming it painted; -1 when it did not
// come in a minute.
double ClickUntilShown(HWND tree, LPARAM item, HWND list, int count, HWND title, const std::wstring& name)
{
    const POINT point = edtest::TreeItemPoint(tree, item);
    LARGE_INTEGER start;
    ::QueryPerformanceCounter(&start);
    edtest::ClickAt(point);
    while (ItemCount(list) != count || edtest::CProgramRun::Text(title) != name || !Painted(list) ||
           !Painted(title)) {
        if (Seconds(start) > 60)
            return -1;
        ::Sleep(1);
    }
    return Seconds(start);
}

// The program part; false when the program or its panel did not come.
bool MeasureProgram(const std::wstring& folder, const std::vector<std::wstring>& photos, int rounds)
{
    std::vector<edtest::ReportSection> sections;
    int total = 0;
    for (int size : kSizes)
        total += size;
    const std::vector<std::wstring> pictures = LinkedPictures(folder, photos, total + kSmall, L"panel");
    auto next = pictures.begin();
    for (int size : kSizes) {
        sections.push_back({std::to_wstring(size) + L" pictures", std::vector<std::wstring>(next, next + size)});
        next += size;
    }
    sections.push_back({L"3 pictures", std::vector<std::wstring>(next, next + kSmall)});
    const std::wstring report = folder + L"panel\\Sections.otd";
    if (!WriteWhole(report, edtest::SectionsReportXml(sections))) {
        std::printf("cannot write %ls\n", report.c_str());
        return false;
    }

    edtest::SetStartPrefs(3, L"");
    const CCachePreference cache(kCacheKilobytes);
    edtest::CProgramRun program;
    HWND tree = nullptr, list = nullptr, title = nullptr;
    if (!program.Start(L"\"" + report + L"\"") || !edtest::WaitFor([&] {
            for (HWND frame : program.ReportFrames()) {
                HWND view = edtest::CProgramRun::FindById(frame, kViewId);
                tree = edtest::CProgramRun::FindById(view, kTreeId);
                list = edtest::CProgramRun::FindById(edtest::CProgramRun::FindById(view, kPanelId), kListId);
                title = edtest::CProgramRun::FindById(edtest::CProgramRun::FindById(view, kTextPaneId), kTitleLabelId);
            }
            return tree && list && title;
        }, 60000)) {
        std::printf("the program did not show the report\n");
        return false;
    }
    ::ShowWindow(program.Main(), SW_MAXIMIZE);
    ::SetForegroundWindow(program.Main());
    const LPARAM root = ::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0);
    const std::vector<LPARAM> items = edtest::TreeChildren(tree, root);
    if (items.size() != sections.size()) {
        std::printf("the tree shows %u sections, not %u\n", unsigned(items.size()), unsigned(sections.size()));
        return false;
    }
    POINT kept = {};
    ::GetCursorPos(&kept);
    std::vector<Figures> figures(sizeof kSizes / sizeof kSizes[0]);
    for (int round = 0; round < rounds; ++round) {
        for (size_t s = 0; s < figures.size(); ++s) {
            const double to = ClickUntil(tree, items[s], list, kSizes[s]);
            const double back = ClickUntil(tree, items.back(), list, kSmall);
            if (to < 0 || back < 0) {
                std::printf("the list did not reach its count after a click\n");
                return false;
            }
            figures[s].to.push_back(to);
            figures[s].back.push_back(back);
        }
    }
    // Each big section once, long enough for its thumbnails to come into
    // the cache (as far as it holds them), then the switch as the user sees
    // it, there and back, while the cache holds them.
    for (size_t s = 0; s < figures.size(); ++s) {
        if (ClickUntilShown(tree, items[s], list, kSizes[s], title, sections[s].name) < 0)
            return false;
        ::Sleep(DWORD(kSizes[s]) * kWarmMsPerPicture);
        for (int round = 0; round < rounds; ++round) {
            const double back = ClickUntilShown(tree, items.back(), list, kSmall, title, sections.back().name);
            const double to = ClickUntilShown(tree, items[s], list, kSizes[s], title, sections[s].name);
            if (to < 0 || back < 0) {
                std::printf("the section was not shown after a click\n");
                return false;
            }
            figures[s].shownTo.push_back(to);
            figures[s].shownBack.push_back(back);
        }
    }
    ::SetCursorPos(kept.x, kept.y);
    std::printf("section change by a click in the section tree, %d rounds (best / median):\n", rounds);
    for (size_t s = 0; s < figures.size(); ++s) {
        std::printf("  %5d pictures: to %6.1f / %6.1f ms, back to %d %6.1f / %6.1f ms, %.3f ms per title\n",
                    kSizes[s], Best(figures[s].to) * 1000.0, Median(figures[s].to) * 1000.0, kSmall,
                    Best(figures[s].back) * 1000.0, Median(figures[s].back) * 1000.0,
                    Median(figures[s].to) * 1000.0 / kSizes[s]);
    }
    std::printf("the same, to the section shown (list and title painted), its thumbnails cached before "
                "(a cache of %lu KB):\n", static_cast<unsigned long>(kCacheKilobytes));
    for (size_t s = 0; s < figures.size(); ++s) {
        std::printf("  %5d pictures: to %6.1f / %6.1f ms, back to %d %6.1f / %6.1f ms, %.1f times the way back\n",
                    kSizes[s], Best(figures[s].shownTo) * 1000.0, Median(figures[s].shownTo) * 1000.0, kSmall,
                    Best(figures[s].shownBack) * 1000.0, Median(figures[s].shownBack) * 1000.0,
                    Median(figures[s].shownTo) / Median(figures[s].shownBack));
    }
    return program.CloseWithoutSaving();
}

// The thumbnails per second that the loading thread brings into a list.
bool MeasureThread(const std::wstring& folder, const std::vector<std::wstring>& photos)
{
    const std::vector<std::wstring> paths = LinkedPictures(folder, photos, kThreadPictures, L"panel");
    std::vector<uint32_t> ids;
    for (const std::wstring& path : paths)
        ids.push_back(g_rasterLib.GetPictureId(path.c_str()));
    const int count = int(ids.size());
    CWnd host;
    host.CreateEx(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600, nullptr, nullptr);
    CKWListImagesView list;
    list.CreateImageView(0, WS_CHILD | WS_VISIBLE | LVS_ICON, CRect(0, 0, 800, 600), &host, kListId, false);
    list.SetThumbnailSize(124, 124, 4, 4, 1);
    list.SetDefaultBitmap(kDefaultPicture);
    list.BeginAddItems(count, -1);
    for (int i = 0; i < count; ++i)
        list.AddItem(CString(L"Photograph ") + std::to_wstring(i + 1).c_str(), nullptr, new CTalImageViewData(ids[i]));
    list.EndAddItems();

    CKWWinThreadOwner owner;
    LARGE_INTEGER start;
    ::QueryPerformanceCounter(&start);
    auto* thread = static_cast<CTalPicThreadWin*>(
        AfxBeginThread(RUNTIME_CLASS(CTalPicThreadWin), THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED, nullptr));
    if (!thread)
        return false;
    thread->SetOwnerWindow(host.m_hWnd);
    thread->AttachOwner(&owner);
    thread->QueuePictureIds(ids);
    thread->Resume();
    int arrived = 0;
    double first = 0;
    MSG message;
    while (arrived < count && ::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message != g_msgImageItemLoaded) {
            ::DispatchMessageW(&message);
            continue;
        }
        if (arrived++ == 0)
            first = Seconds(start);
        for (int i = 0; i < count; ++i) {
            if (ids[i] != message.wParam)
                continue;
            KWSharedRasterImage thumbnail = g_rasterLib.GetThumbnail(ids[i]);
            list.ReplaceImage(i, thumbnail.get());
            RECT rect = {};
            if (list.GetItemRect(i, rect))
                list.InvalidateRect(rect);
        }
        list.Update();
    }
    const double loading = Seconds(start);
    std::printf("thumbnails of %d pictures: first after %.1f ms, all in %.2f s: %.1f per second\n", count,
                first * 1000.0, loading, arrived / loading);
    host.DestroyWindow();
    return arrived == count;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::wstring folder = FolderArgument(argc, argv, 1);
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    std::printf("photographs in %ls\n", folder.c_str());
    int64_t bytes = 0;
    const std::vector<std::wstring> photos = MakePhotographs(folder, 6, bytes);
    if (photos.empty())
        return 1;
    if (!MeasureProgram(folder, photos, rounds))
        return 1;
    return MeasureThread(folder, photos) ? 0 : 1;
}
