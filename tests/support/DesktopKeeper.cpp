// Holds the test display's desktop for a whole run of the tests. Wine starts
// the desktop's own process for the first program that asks for the desktop,
// handing it that program's output, and ends it a moment after the last
// program on the desktop has ended: the test runner, which waits for the end
// of a test's output, then waited for a short test until every test running
// beside it had ended. Started with no output before the tests, this program
// starts that process and keeps it for the run; the run's end stops the Wine
// server, and this program with it.
//   desktop_keeper.exe file-written-once-the-desktop-runs
#include <windows.h>

int main(int argc, char** argv)
{
    if (argc != 2 || !::GetDesktopWindow())
        return 1;
    HANDLE ready = ::CreateFileA(argv[1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (ready == INVALID_HANDLE_VALUE)
        return 1;
    ::CloseHandle(ready);
    ::Sleep(INFINITE);
    return 0;
}
