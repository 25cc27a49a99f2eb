// Start-up speed of the program: the time from starting OstraTallier.exe
// (beside this program, set to open an empty report) to its first window, to
// its report window and to that window being usable (the program answers a
// message once its start is done), with the stages of the start in between
// as the program marks them (KWMarkStartup); beside it, notepad's first
// window under the same system. Prints each run, then the median of each
// figure and the ratio of the usable report window to notepad's window.
//   startup_bench.exe [runs]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

struct Search {
    DWORD process;
    HWND window;   // the first visible top-level window of the process
    bool report;   // a report window is shown inside it
};

BOOL CALLBACK FindWindows(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<Search*>(data);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process != search->process || !::IsWindowVisible(window))
        return TRUE;
    if (!search->window)
        search->window = window;
    HWND client = ::FindWindowExW(window, nullptr, L"MDIClient", nullptr);
    if (client && ::GetWindow(client, GW_CHILD) && ::IsWindowVisible(::GetWindow(client, GW_CHILD))) {
        search->window = window;
        search->report = true;
        return FALSE;
    }
    return TRUE;
}

void SetEmptyReportStart()
{
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Kestrel Works\\OstraTallier\\", 0, nullptr, 0,
                          KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    const DWORD mode = 3;
    ::RegSetValueExW(key, L"StartUpMode", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&mode), sizeof(mode));
    ::RegCloseKey(key);
}

double Milliseconds(LONGLONG from, LONGLONG to)
{
    static const double frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return double(f.QuadPart);
    }();
    return 1000.0 * double(to - from) / frequency;
}

LONGLONG Now()
{
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return now.QuadPart;
}

// One start: the figures in milliseconds by name, in the order met; empty
// when the wanted window did not come within a minute.
std::vector<std::pair<std::string, double>> TimeOneStart(const std::wstring& program, bool report,
                                                        const std::wstring& marks)
{
    std::vector<std::pair<std::string, double>> figures;
    ::DeleteFileW(marks.c_str());
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    const LONGLONG begin = Now();
    if (!::CreateProcessW(report ? program.c_str() : nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &process))
        return figures;
    bool shown = false;
    for (;;) {
        Search search = {process.dwProcessId, nullptr, false};
        ::EnumWindows(FindWindows, reinterpret_cast<LPARAM>(&search));
        const double ms = Milliseconds(begin, Now());
        if (search.window && !shown) {
            figures.emplace_back("first window", ms);
            shown = true;
        }
        if (shown && (!report || search.report)) {
            if (report) {
                figures.emplace_back("report window", ms);
                DWORD_PTR answer = 0;
                ::SendMessageTimeoutW(search.window, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &answer);
                figures.emplace_back("usable report window", Milliseconds(begin, Now()));
            }
            break;
        }
        if (ms > 60000 || ::WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) {
            figures.clear();
            break;
        }
        ::Sleep(2);
    }
    // The report is new and unsaved: the program is ended rather than asked.
    ::TerminateProcess(process.hProcess, 0);
    ::WaitForSingleObject(process.hProcess, 10000);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    if (!report || figures.empty())
        return figures;
    // The stages the program marked, in between.
    FILE* file = _wfopen(marks.c_str(), L"rb");
    char line[256];
    std::vector<std::pair<std::string, double>> stages;
    while (file && std::fgets(line, sizeof line, file)) {
        char* name = nullptr;
        const long long counter = std::strtoll(line, &name, 10);
        if (!name || *name != '\t')
            continue;
        std::string stage(name + 1);
        while (!stage.empty() && (stage.back() == '\n' || stage.back() == '\r'))
            stage.pop_back();
        stages.emplace_back(stage, Milliseconds(begin, counter));
    }
    if (file)
        std::fclose(file);
    stages.insert(stages.end(), figures.begin(), figures.end());
    std::stable_sort(stages.begin(), stages.end(),
                     [](const std::pair<std::string, double>& a, const std::pair<std::string, double>& b) {
                         return a.second < b.second;
                     });
    return stages;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    wchar_t self[MAX_PATH];
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring program(self);
    program = program.substr(0, program.find_last_of(L'\\') + 1) + L"OstraTallier.exe";
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring marks = std::wstring(temp) + L"ot_startup_marks.txt";
    ::SetEnvironmentVariableW(L"OT_STARTUP_MARKS", marks.c_str());
    SetEmptyReportStart();
    // A first start imports the default settings; it is not counted.
    TimeOneStart(program, true, marks);

    std::vector<std::string> order;
    std::map<std::string, std::vector<double>> figures;
    for (int run = 0; run < runs; ++run) {
        const auto one = TimeOneStart(program, true, marks);
        if (one.empty()) {
            std::printf("run %d: no report window\n", run + 1);
            return 1;
        }
        std::printf("run %d:", run + 1);
        for (const auto& figure : one) {
            if (!figures.count(figure.first))
                order.push_back(figure.first);
            figures[figure.first].push_back(figure.second);
            std::printf(" %s %.0f;", figure.first.c_str(), figure.second);
        }
        std::printf("\n");
    }
    ::SetEnvironmentVariableW(L"OT_STARTUP_MARKS", nullptr);
    std::vector<double> notepad;
    for (int run = 0; run < runs; ++run) {
        const auto one = TimeOneStart(L"notepad.exe", false, marks);
        if (!one.empty())
            notepad.push_back(one.front().second);
    }

    std::printf("\nmedian of %d runs, milliseconds from the start of the process:\n", runs);
    std::sort(order.begin(), order.end(), [&](const std::string& a, const std::string& b) {
        return Median(figures[a]) < Median(figures[b]);
    });
    double last = 0;
    for (const std::string& name : order) {
        const double median = Median(figures[name]);
        std::printf("  %-28s %6.0f  (+%.0f)\n", name.c_str(), median, median - last);
        last = median;
    }
    const double usable = Median(figures["usable report window"]);
    if (!notepad.empty()) {
        const double first = Median(notepad);
        std::printf("notepad's first window under the same system: %.0f ms (median of %zu)\n", first, notepad.size());
        std::printf("usable report window / notepad's first window: %.2f times the time\n", usable / first);
    }
    return 0;
}
