// Start-up speed of the program: the time from starting OstraTallier.exe
// (beside this program) to its first report window, with the preferences
// set to open an empty report. Prints each run and the median.
//   startup_bench.exe [runs]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Search {
    DWORD process;
    bool found;
};

BOOL CALLBACK FindReportWindow(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<Search*>(data);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process != search->process)
        return TRUE;
    HWND client = ::FindWindowExW(window, nullptr, L"MDIClient", nullptr);
    if (client && ::GetWindow(client, GW_CHILD) && ::IsWindowVisible(::GetWindow(client, GW_CHILD))) {
        search->found = true;
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

// Milliseconds from the start to the first report window; -1 when none came.
double TimeOneStart(const std::wstring& program)
{
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    LARGE_INTEGER frequency, begin, now;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&begin);
    if (!::CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process))
        return -1;
    double elapsed = -1;
    for (;;) {
        Search search = {process.dwProcessId, false};
        ::EnumWindows(FindReportWindow, reinterpret_cast<LPARAM>(&search));
        ::QueryPerformanceCounter(&now);
        const double ms = 1000.0 * static_cast<double>(now.QuadPart - begin.QuadPart) / frequency.QuadPart;
        if (search.found) {
            elapsed = ms;
            break;
        }
        if (ms > 60000 || ::WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0)
            break;
        ::Sleep(5);
    }
    // The report is new and unsaved: the program is ended rather than asked.
    ::TerminateProcess(process.hProcess, 0);
    ::WaitForSingleObject(process.hProcess, 10000);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return elapsed;
}

}  // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    wchar_t self[MAX_PATH];
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring program(self);
    program = program.substr(0, program.find_last_of(L'\\') + 1) + L"OstraTallier.exe";
    SetEmptyReportStart();
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        const double ms = TimeOneStart(program);
        if (ms < 0) {
            std::printf("run %d: no report window\n", run + 1);
            return 1;
        }
        std::printf("run %d: %.0f ms to the first report window\n", run + 1, ms);
        times.push_back(ms);
    }
    std::sort(times.begin(), times.end());
    std::printf("median of %d runs: %.0f ms\n", runs, times[times.size() / 2]);
    return 0;
}
