// Opening the same report again and again in the real program, as a long day
// of work does: OstraTallier.exe (beside this program) opens a report that
// carries its photographs inside it and closes it, cycle after cycle.
//
// Printed: the open time (from OK in the open dialog to the report window
// shown whole and the program answering) of the first and of the last 20
// cycles, best, median and mean, with the ratio of the last to the first and
// the trend over all cycles (least squares). Other builds share the machine,
// and its load moves these figures by half and more within minutes; so in
// both windows a program started afresh opens the same report in turns with
// the long-running one, and the long-running program's medians are also
// given against that peer's from the same minutes. Then the long-running
// program's share of the picture store (files and bytes) and its handles
// after the first and after the last close.
//
// Usage: store_bench [cycles [pictures [times file]]]   (defaults: 200 cycles,
// 200 pictures of about 290 KB, a report of about 58 MB; the times file gets
// every cycle's open time and its open dialog's part in milliseconds)
#include "bench/ElapsedSeconds.h"
#include "tests/editor/ProcessHandles.h"
#include "tests/editor/ProgramRun.h"
#include "tests/editor/ProgramStore.h"
#include "tests/editor/SectionsReport.h"
#include "tests/framework/KWTestFiles.h"
#include "tests/support/TestJpegs.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <numeric>
#include <string>
#include <vector>

namespace {

constexpr UINT kFileOpen = 57601;
constexpr UINT kFileClose = 57602;
constexpr int kFileNameCombo = 0x47C;
constexpr int kViewId = 0xE900;
constexpr int kTreeId = 1126;
constexpr int kPicturesPerSection = 20;
constexpr size_t kWindow = 20;

// The report's photographs in sections of 20, made into the folder once.
std::vector<edtest::ReportSection> Photographs(const std::wstring& folder, int count)
{
    std::vector<edtest::ReportSection> sections;
    for (int i = 0; i < count; ++i) {
        if (i % kPicturesPerSection == 0)
            sections.push_back({L"Part " + std::to_wstring(sections.size() + 1), {}});
        const std::wstring path = folder + L"day" + std::to_wstring(i + 1) + L".jpg";
        if (::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
            const uint32_t seed = uint32_t(i + 1);
            WriteFileBytes(path, testpictures::EncodeJpeg(testpictures::PhotoPixels(800, 600, seed, 24), 800, 600,
                                                           TJPF_RGB, 92));
        }
        sections.back().pictures.push_back(path);
    }
    return sections;
}

// One program that opens and closes the report.
class CSession {
public:
    CSession(const std::wstring& report, int sections) : m_report(report), m_sections(sections) {}

    // Started, its untitled report closed; false when it did not start.
    bool Start()
    {
        if (!m_program.Start())
            return false;
        edtest::WaitFor([&] { return !m_program.ReportFrames().empty(); });
        m_program.PostCommand(kFileClose);
        // Asked whether to save it: No.
        return edtest::WaitFor([&] {
            if (HWND question = m_program.FindDialog())
                ::PostMessageW(question, WM_COMMAND, IDNO, 0);
            return m_program.ReportFrames().empty() && !m_program.FindDialog();
        }, 60000);
    }

    // Seconds from OK in the open dialog to the report shown whole and the
    // program answering, with the dialog's own part; -1 when it did not open.
    double Open(double& dialogPart)
    {
        m_program.PostCommand(kFileOpen);
        HWND dialog = m_program.WaitForDialogWith(kFileNameCombo, 60000);
        if (!dialog) {
            std::printf("no open dialog\n");
            return -1;
        }
        // The dialog takes the name once it is ready for it: until its OK is enabled.
        edtest::WaitFor([&] { return ::IsWindowEnabled(::GetDlgItem(dialog, IDOK)) != FALSE; }, 10000);
        LARGE_INTEGER start;
        ::QueryPerformanceCounter(&start);
        edtest::CProgramRun::AnswerFileDialog(dialog, m_report);
        dialogPart = -1;
        while (!Shown()) {
            if (dialogPart < 0 && !::IsWindow(dialog))
                dialogPart = Seconds(start);
            if (Seconds(start) > 120) {
                HWND shown = m_program.FindDialog();
                std::printf("the report did not show%ls%ls\n", shown ? L"; the program says: " : L"",
                            shown ? edtest::CProgramRun::DialogText(shown).c_str() : L"");
                return -1;
            }
            ::Sleep(1);
        }
        if (dialogPart < 0)
            dialogPart = 0;
        return Seconds(start);
    }

    void Close()
    {
        m_program.PostCommand(kFileClose);
        edtest::WaitFor([&] { return m_program.ReportFrames().empty(); }, 60000);
        DWORD_PTR answer = 0;
        ::SendMessageTimeoutW(m_program.Main(), WM_NULL, 0, 0, SMTO_NORMAL, 60000, &answer);
    }

    edtest::CProgramRun& Program() { return m_program; }

private:
    // The report window shown whole (its tree holds every section) and the program free again.
    bool Shown()
    {
        const std::vector<HWND> frames = m_program.ReportFrames();
        if (frames.size() != 1 || !::IsWindowVisible(frames.front()) || m_program.FindDialog())
            return false;
        HWND tree = edtest::CProgramRun::FindById(edtest::CProgramRun::FindById(frames.front(), kViewId), kTreeId);
        DWORD_PTR answer = 0;
        return tree && ::SendMessageW(tree, TVM_GETCOUNT, 0, 0) == 1 + m_sections &&
               ::SendMessageTimeoutW(m_program.Main(), WM_NULL, 0, 0, SMTO_NORMAL, 60000, &answer);
    }

    edtest::CProgramRun m_program;
    std::wstring m_report;
    int m_sections;
};

// The local time to the second, as the program names its store files.
unsigned ClockSecond()
{
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    return (now.wHour * 60u + now.wMinute) * 60u + now.wSecond;
}

double Median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Best, median and mean, with the peer's median beside them when there is one.
void PrintTimes(const char* what, std::vector<double> times, const std::vector<double>& peer)
{
    std::sort(times.begin(), times.end());
    const double mean = std::accumulate(times.begin(), times.end(), 0.0) / double(times.size());
    std::printf("%-22s best %7.1f ms   median %7.1f ms   mean %7.1f ms;   a fresh program in turns: median %7.1f ms "
                "(%.2f times)\n",
                what, times.front() * 1000, times[times.size() / 2] * 1000, mean * 1000, Median(peer) * 1000,
                times[times.size() / 2] / Median(peer));
}

// The growth per 100 cycles, by least squares over all cycles.
double TrendPer100(const std::vector<double>& times)
{
    const double n = double(times.size());
    double sumX = 0, sumY = 0, sumXX = 0, sumXY = 0;
    for (size_t i = 0; i < times.size(); ++i) {
        const double x = double(i);
        sumX += x;
        sumY += times[i];
        sumXX += x * x;
        sumXY += x * times[i];
    }
    return 100 * (n * sumXY - sumX * sumY) / (n * sumXX - sumX * sumX);
}

}  // namespace

int main(int argc, char** argv)
{
    const int cycles = argc > 1 ? std::max(2 * int(kWindow), std::atoi(argv[1])) : 200;
    const int pictures = argc > 2 ? std::max(1, std::atoi(argv[2])) : 200;
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"store_bench\\";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    const std::vector<edtest::ReportSection> sections = Photographs(folder, pictures);
    const std::wstring report = folder + L"Day.otd";
    const std::string xml = edtest::SectionsReportXml(sections, true);
    if (!WriteFileBytes(report, xml)) {
        std::printf("cannot write %ls\n", report.c_str());
        return 1;
    }
    std::printf("report: %d pictures, %.1f MB; %d cycles of open and close\n", pictures,
                double(xml.size()) / 1048576.0, cycles);

    edtest::SetStartPrefs(3, L"");
    const std::map<std::wstring, uint64_t> before = edtest::StoreListing();
    CSession day(report, int(sections.size()));
    if (!day.Start()) {
        std::printf("the program did not start\n");
        return 1;
    }
    // Its store files carry the second it started in; a peer started in the
    // same second would mix its files into the long-running program's count.
    const unsigned dayStarted = ClockSecond();
    std::wstring prefix;

    std::vector<double> opens, dialogs, firstPeer, lastPeer;
    std::unique_ptr<CSession> fresh;
    edtest::StoreFiles firstClose, lastClose;
    edtest::ProcessHandles firstHandles, lastHandles;
    for (int cycle = 1; cycle <= cycles; ++cycle) {
        const bool firstWindow = cycle <= int(kWindow), lastWindow = cycle > cycles - int(kWindow);
        if (cycle == 1 || cycle == cycles - int(kWindow) + 1) {
            edtest::WaitFor([&] { return ClockSecond() != dayStarted; }, 5000);
            fresh.reset(new CSession(report, int(sections.size())));
            if (!fresh->Start()) {
                std::printf("the fresh program did not start\n");
                return 1;
            }
        }
        double dialog = 0;
        const double open = day.Open(dialog);
        if (open < 0) {
            std::printf("cycle %d failed\n", cycle);
            return 1;
        }
        opens.push_back(open);
        dialogs.push_back(dialog);
        // Its first open shows the name prefix of its store files: most of the new ones have it.
        if (prefix.empty())
            prefix = edtest::NewFilesPrefix(before);
        day.Close();
        if (firstWindow || lastWindow) {
            const double peer = fresh->Open(dialog);
            if (peer < 0)
                return 1;
            (firstWindow ? firstPeer : lastPeer).push_back(peer);
            fresh->Close();
        }
        if (cycle == int(kWindow))
            fresh.reset();
        if (cycle == 1 || cycle == cycles) {
            (cycle == 1 ? firstClose : lastClose) = edtest::StoreFilesOf(prefix);
            (cycle == 1 ? firstHandles : lastHandles) =
                edtest::CountProcessHandles(::GetProcessId(day.Program().Process()));
        }
        if (cycle % 20 == 0)
            std::printf("cycle %3d: open %.1f ms, store %u files\n", cycle, opens.back() * 1000,
                        unsigned(edtest::StoreFilesOf(prefix).count));
    }
    fresh.reset();
    if (argc > 3) {
        if (FILE* times = std::fopen(argv[3], "w")) {
            for (size_t i = 0; i < opens.size(); ++i)
                std::fprintf(times, "%.1f %.1f\n", opens[i] * 1000, dialogs[i] * 1000);
            std::fclose(times);
        }
    }
    const std::vector<double> first(opens.begin(), opens.begin() + kWindow);
    const std::vector<double> last(opens.end() - kWindow, opens.end());
    PrintTimes("open, first 20 cycles", first, firstPeer);
    PrintTimes("open, last 20 cycles", last, lastPeer);
    std::printf("last / first (medians): %.2f; against the fresh program of the same minutes: %.2f (target: at most "
                "1.2); trend over all cycles: %+.1f ms per 100 cycles\n",
                Median(last) / Median(first), (Median(last) / Median(lastPeer)) / (Median(first) / Median(firstPeer)),
                TrendPer100(opens) * 1000);
    // Of which the open dialog's own part, from OK until it closed.
    const std::vector<double> firstDialogs(dialogs.begin(), dialogs.begin() + kWindow);
    const std::vector<double> lastDialogs(dialogs.end() - kWindow, dialogs.end());
    std::printf("of which the open dialog until it closed: medians %.1f ms then %.1f ms\n", Median(firstDialogs) * 1000,
                Median(lastDialogs) * 1000);
    std::printf("store after the first close: %u files, %llu bytes; after the last: %u files, %llu bytes\n",
                unsigned(firstClose.count), (unsigned long long)firstClose.bytes, unsigned(lastClose.count),
                (unsigned long long)lastClose.bytes);
    std::printf("handles after the first close: %d (%d sections, %d files, %d registry keys); after the last: %d "
                "(%d, %d, %d)\n",
                firstHandles.all, firstHandles.sections, firstHandles.files, firstHandles.keys, lastHandles.all,
                lastHandles.sections, lastHandles.files, lastHandles.keys);
    day.Program().CloseWithoutSaving();
    return 0;
}
