// splash_refusal.dll: a hook of the desktop that the system loads into the
// program under test. The first visible pop-up of the class library's own
// class that a program makes (its splash) is destroyed while it is being made,
// as Wine does with a window its display driver cannot make, and refused; the
// event "OtSplashRefused" is set then.
#include <windows.h>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

bool g_refused = false;

LRESULT CALLBACK RefuseSplash(int code, WPARAM wParam, LPARAM lParam)
{
    const auto window = reinterpret_cast<HWND>(wParam);
    wchar_t name[16] = {};
    if (code != HCBT_CREATEWND || g_refused ||
        static_cast<DWORD>(reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs->style) != (WS_POPUP | WS_VISIBLE) ||
        !::GetClassNameW(window, name, 16) || ::lstrcmpW(name, L"OTClassLibWnd") != 0)
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    g_refused = true;
    ::DestroyWindow(window);
    HANDLE told = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, L"OtSplashRefused");
    ::SetEvent(told);
    ::CloseHandle(told);
    return 1;
}

}  // namespace

extern "C" __declspec(dllexport) HHOOK InstallSplashRefusal()
{
    return ::SetWindowsHookExW(WH_CBT, RefuseSplash, reinterpret_cast<HMODULE>(&__ImageBase), 0);
}
