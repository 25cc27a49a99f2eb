// splash_refusal.dll: a hook of the whole desktop that the system loads into
// the program under test. The program's splash (its first visible pop-up of
// the class library's own class) is destroyed while it is being made, as Wine
// does with a window its display driver cannot make, and refused; the event
// "OtSplashRefused" is set then. Windows of other programs pass untouched.
#include <windows.h>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

bool g_refused = false;

bool InTheProgram()
{
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return length >= 16 && ::lstrcmpiW(path + length - 16, L"OstraTallier.exe") == 0;
}

LRESULT CALLBACK RefuseSplash(int code, WPARAM wParam, LPARAM lParam)
{
    const auto window = reinterpret_cast<HWND>(wParam);
    wchar_t name[16] = {};
    if (code == HCBT_CREATEWND && !g_refused &&
        static_cast<DWORD>(reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs->style) == (WS_POPUP | WS_VISIBLE) &&
        ::GetClassNameW(window, name, 16) && ::lstrcmpW(name, L"OTClassLibWnd") == 0 && InTheProgram()) {
        g_refused = true;
        ::DestroyWindow(window);
        if (HANDLE told = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, L"OtSplashRefused")) {
            ::SetEvent(told);
            ::CloseHandle(told);
        }
        return 1;
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

extern "C" __declspec(dllexport) HHOOK InstallSplashRefusal()
{
    return ::SetWindowsHookExW(WH_CBT, RefuseSplash, reinterpret_cast<HMODULE>(&__ImageBase), 0);
}
