#pragma once
// Helpers of the window tests of every test program: message pumping with
// time limits, so that no test can hang, and the answering of the dialogs and
// message boxes a test opens.
#include "platform/classlib/WinApp.h"
#include "platform/classlib/Wnd.h"

#include <deque>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

// Rectangles, sizes and points in test messages.
inline void PrintTo(const CRect& rect, std::ostream* out) {
    *out << "(" << rect.left << ", " << rect.top << ", " << rect.right << ", " << rect.bottom << ")";
}
inline void PrintTo(const CSize& size, std::ostream* out) { *out << "(" << size.cx << " x " << size.cy << ")"; }
inline void PrintTo(const CPoint& pt, std::ostream* out) { *out << "(" << pt.x << ", " << pt.y << ")"; }

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

// Holds the Ctrl and Shift keys (left and generic codes) as given in the thread's key state.
inline void SetKeys(bool ctrl, bool shift) {
    BYTE keys[256];
    ::GetKeyboardState(keys);
    keys[VK_LCONTROL] = keys[VK_CONTROL] = ctrl ? 0x80 : 0;
    keys[VK_LSHIFT] = keys[VK_SHIFT] = shift ? 0x80 : 0;
    ::SetKeyboardState(keys);
}

struct FindDialogQuery {
    HWND exclude;
    int controlId;
    HWND found;
};

inline BOOL CALLBACK FindDialogProc(HWND hWnd, LPARAM lParam) {
    auto* f = reinterpret_cast<FindDialogQuery*>(lParam);
    wchar_t cls[16] = {};
    ::GetClassNameW(hWnd, cls, 16);
    if (hWnd == f->exclude || std::wstring(cls) != L"#32770" || !::IsWindowVisible(hWnd) ||
        (f->controlId != 0 && !::GetDlgItem(hWnd, f->controlId)))
        return TRUE;
    f->found = hWnd;
    return FALSE;
}

// A visible dialog (or message box) of the calling thread other than exclude
// that has the control (any dialog for 0); null when none is up.
inline HWND FindThreadDialog(HWND exclude = nullptr, int controlId = 0) {
    FindDialogQuery find = {exclude, controlId, nullptr};
    ::EnumThreadWindows(::GetCurrentThreadId(), FindDialogProc, reinterpret_cast<LPARAM>(&find));
    return find.found;
}

inline BOOL CALLBACK CollectStaticText(HWND child, LPARAM lParam) {
    wchar_t cls[16] = {}, text[512] = {};
    ::GetClassNameW(child, cls, 16);
    ::GetWindowTextW(child, text, 512);
    if (_wcsicmp(cls, L"Static") == 0 && text[0])
        reinterpret_cast<std::vector<std::wstring>*>(lParam)->push_back(text);
    return TRUE;
}

// The texts of the static controls of a window (a message box's message).
inline std::vector<std::wstring> StaticTexts(HWND hWnd) {
    std::vector<std::wstring> texts;
    ::EnumChildWindows(hWnd, CollectStaticText, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

// Answers a message box of the thread (other than exclude) with OK; its texts,
// empty when none is up.
inline std::vector<std::wstring> AnswerMessageBox(HWND exclude = nullptr) {
    HWND box = FindThreadDialog(exclude);
    if (!box)
        return {};
    std::vector<std::wstring> texts = StaticTexts(box);
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    if (texts.empty())
        texts.push_back(L"(box)");
    return texts;
}

inline std::vector<std::wstring>& AnsweredTexts() {
    static std::vector<std::wstring> s_texts;
    return s_texts;
}

inline void CALLBACK AnswerMessageBoxTick(HWND, UINT, UINT_PTR, DWORD) {
    for (const std::wstring& text : AnswerMessageBox())
        AnsweredTexts().push_back(text);
}

// Runs the call while a thread timer answers every message box it raises with
// OK; the texts of the boxes.
template <class Call>
std::vector<std::wstring> AnsweringMessageBoxes(Call call) {
    AnsweredTexts().clear();
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, AnswerMessageBoxTick);
    call();
    ::KillTimer(nullptr, timer);
    return AnsweredTexts();
}

// Steps run one per timer tick of a dialog; message boxes are answered first.
class StepScript {
public:
    std::deque<std::function<void()>> steps;
    std::vector<std::wstring> messages;
    bool timedOut = false;

    void Start() { m_started = ::GetTickCount(); }
    // False when the dialog is to end (time is up).
    bool Tick(HWND dialog) {
        std::vector<std::wstring> texts = AnswerMessageBox(dialog);
        if (!texts.empty()) {
            messages.insert(messages.end(), texts.begin(), texts.end());
            return true;
        }
        if (::GetTickCount() - m_started > 8000) {
            timedOut = true;
            return false;
        }
        if (!steps.empty()) {
            auto step = steps.front();
            steps.pop_front();
            step();
        }
        return true;
    }

private:
    DWORD m_started = 0;
};

// A window's rectangle in its parent's client coordinates.
inline CRect RectInParent(HWND hWnd) {
    CRect rect;
    ::GetWindowRect(hWnd, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(hWnd), reinterpret_cast<LPPOINT>(&rect), 2);
    return rect;
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
