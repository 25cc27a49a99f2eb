#pragma once
// Refuses every window made on the calling thread while it lives, as a hook
// of the system's chain may: installed before the class library's own hook,
// it is asked after it, once the library has attached the window's object.
#include <windows.h>

namespace test_support {

class CRefusedWindows {
public:
    explicit CRefusedWindows(bool refuse = true)
        : m_hook(refuse ? ::SetWindowsHookExW(WH_CBT, Refuse, nullptr, ::GetCurrentThreadId()) : nullptr) {}
    ~CRefusedWindows() {
        if (m_hook != nullptr)
            ::UnhookWindowsHookEx(m_hook);
    }
    CRefusedWindows(const CRefusedWindows&) = delete;
    CRefusedWindows& operator=(const CRefusedWindows&) = delete;

private:
    static LRESULT CALLBACK Refuse(int code, WPARAM wParam, LPARAM lParam) {
        return code == HCBT_CREATEWND ? 1 : ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
    HHOOK m_hook;
};

}  // namespace test_support
