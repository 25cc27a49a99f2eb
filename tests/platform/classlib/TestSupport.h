#pragma once
// Helpers of the class library's window tests: message pumping with time
// limits, so that no test can hang.
#include "platform/classlib/WinApp.h"
#include "platform/classlib/Wnd.h"

#include <functional>

namespace classlib_test {

// Dispatches messages (through the windows' pre-translation) until the
// condition holds or the time runs out; the condition's last value.
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 3000) {
    DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > timeoutMs)
            return done();
        MSG msg;
        if (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                continue;
            if (!CWnd::WalkPreTranslateTree(nullptr, &msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
        } else {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
    }
    return true;
}

// Handles whatever is queued, WM_QUIT included, so no test leaves work for the next.
inline void DrainMessages() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message != WM_QUIT) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

// The application object of a test; it is the current application while it lives.
class CTestApp : public CWinApp {
public:
    CTestApp() : CWinApp(L"ClassLibTests") {}
};

}  // namespace classlib_test

namespace classlib_test {

// Ends a message loop of the calling thread with WM_QUIT (code -99) when the
// test has not finished within the time; cancelled on destruction.
class Watchdog {
public:
    explicit Watchdog(DWORD timeoutMs) : m_timeoutMs(timeoutMs), m_threadId(::GetCurrentThreadId()) {
        m_hCancel = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        m_hThread = ::CreateThread(nullptr, 0, &Watchdog::Main, this, 0, nullptr);
    }
    ~Watchdog() {
        ::SetEvent(m_hCancel);
        ::WaitForSingleObject(m_hThread, INFINITE);
        ::CloseHandle(m_hThread);
        ::CloseHandle(m_hCancel);
    }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;
    bool Fired() const { return m_fired; }

private:
    static DWORD WINAPI Main(LPVOID p) {
        auto* self = static_cast<Watchdog*>(p);
        if (::WaitForSingleObject(self->m_hCancel, self->m_timeoutMs) == WAIT_TIMEOUT) {
            self->m_fired = true;
            ::PostThreadMessageW(self->m_threadId, WM_QUIT, static_cast<WPARAM>(-99), 0);
        }
        return 0;
    }

    DWORD m_timeoutMs;
    DWORD m_threadId;
    HANDLE m_hCancel;
    HANDLE m_hThread;
    volatile bool m_fired = false;
};

}  // namespace classlib_test
