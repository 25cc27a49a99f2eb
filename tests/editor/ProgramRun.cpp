#include "ProgramRun.h"

#include "ProgramInput.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace edtest {

namespace {

constexpr wchar_t kPrefsKey[] = L"Software\\Kestrel Works\\OstraTallier\\";
// The file dialogs' name box: the combo box's edit and the plain edit.
constexpr int kFileNameCombo = 0x47C;
constexpr int kFileNameEdit = 0x480;
constexpr UINT kAddGalleryFolder = 32856;
constexpr int kGalleryBarId = 5971;

std::wstring ProgramPath()
{
    return BesideTests(L"OstraTallier.exe");
}

struct WindowsOf {
    DWORD process;
    std::function<bool(HWND)> take;
};

BOOL CALLBACK VisitTopLevel(HWND window, LPARAM data)
{
    auto* query = reinterpret_cast<WindowsOf*>(data);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process == query->process && CProgramRun::IsShown(window))
        return query->take(window) ? FALSE : TRUE;
    return TRUE;
}

// The visible top-level windows of the desktop (the test's own when none is
// named). Another desktop's are listed without joining it: a thread of this
// process that worked on a virtual desktop would make its window this
// process's screen for good, gone with the desktop.
void VisitWindows(const std::wstring& desktop, WindowsOf& query)
{
    if (desktop.empty()) {
        ::EnumWindows(VisitTopLevel, reinterpret_cast<LPARAM>(&query));
        return;
    }
    HDESK handle = ::OpenDesktopW(desktop.c_str(), 0, FALSE, DESKTOP_ENUMERATE | DESKTOP_READOBJECTS);
    ::EnumDesktopWindows(handle, VisitTopLevel, reinterpret_cast<LPARAM>(&query));
    ::CloseDesktop(handle);
}

}  // namespace

bool CProgramRun::IsShown(HWND window)
{
    // By its style: the system calls every window of another desktop hidden.
    return ::IsWindow(window) && (::GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE);
}

std::wstring CProgramRun::ClassName(HWND window)
{
    wchar_t name[128] = {};
    ::GetClassNameW(window, name, 128);
    return name;
}

std::wstring BesideTests(const wchar_t* name)
{
    wchar_t self[MAX_PATH];
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self);
    return path.substr(0, path.find_last_of(L'\\') + 1) + name;
}

void SetStartPrefs(int startUpMode, const std::wstring& lastFile, bool showExportDialog)
{
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, kPrefsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    const DWORD mode = static_cast<DWORD>(startUpMode);
    ::RegSetValueExW(key, L"StartUpMode", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&mode), sizeof(mode));
    const DWORD show = showExportDialog ? 1 : 0;
    ::RegSetValueExW(key, L"ShowExpDlg", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&show), sizeof(show));
    ::RegSetValueExW(key, L"LastFile", 0, REG_SZ, reinterpret_cast<const BYTE*>(lastFile.c_str()),
                     static_cast<DWORD>((lastFile.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(key);
}

void SetPrefText(const wchar_t* name, const std::wstring& value)
{
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, kPrefsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(key);
}

void SetGalleryPrefs(DWORD dockSide, bool floating, const std::wstring& addFolderPath)
{
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, kPrefsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    const DWORD floats = floating ? 1 : 0;
    ::RegSetValueExW(key, L"PictureCollectionDockSide", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dockSide),
                     sizeof dockSide);
    ::RegSetValueExW(key, L"PictureCollectionFloating", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&floats),
                     sizeof floats);
    ::RegSetValueExW(key, L"AddFolderPath", 0, REG_SZ, reinterpret_cast<const BYTE*>(addFolderPath.c_str()),
                     static_cast<DWORD>((addFolderPath.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(key);
}

bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs)
{
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > timeoutMs)
            return done();
        // Another process is watched: there is no message of ours to wait for.
        ::Sleep(20);
    }
    return true;
}

CProgramRun::~CProgramRun()
{
    if (!m_process.hProcess)
        return;
    if (::WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) {
        // Dialogs first, then the main window; a program that will not close is ended.
        for (int round = 0; round < 5 && ::WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT; ++round) {
            // A save question is answered No; any other dialog is cancelled.
            if (HWND dialog = FindDialog())
                ::PostMessageW(dialog, WM_COMMAND, ::GetDlgItem(dialog, IDNO) ? IDNO : IDCANCEL, 0);
            else if (m_main && ::IsWindow(m_main))
                ::PostMessageW(m_main, WM_CLOSE, 0, 0);
            ::WaitForSingleObject(m_process.hProcess, 2000);
        }
        if (::WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT)
            ::TerminateProcess(m_process.hProcess, 1);
        ::WaitForSingleObject(m_process.hProcess, 5000);
    }
    // A program that ends on an exception (a fault at exit too) fails the test
    // that ran it, whatever the test asked of it before.
    DWORD code = 0;
    if (::GetExitCodeProcess(m_process.hProcess, &code) && code >= 0xC0000000u)
        ADD_FAILURE() << "the program ended on exception 0x" << std::hex << code;
    ::CloseHandle(m_process.hThread);
    ::CloseHandle(m_process.hProcess);
}

bool CProgramRun::Launch(const std::wstring& arguments)
{
    const std::wstring program = ProgramPath();
    std::wstring commandLine = L"\"" + program + L"\"";
    if (!arguments.empty())
        commandLine += L" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.lpDesktop = m_desktop.empty() ? nullptr : &m_desktop[0];
    return ::CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &m_process) != FALSE;
}

bool CProgramRun::Start(const std::wstring& arguments)
{
    // The program starts with no key or button held by an earlier test.
    LetGoHeld();
    if (!Launch(arguments))
        return false;
    ::WaitForInputIdle(m_process.hProcess, 15000);
    return WaitFor([this] {
        WindowsOf query = {m_process.dwProcessId, [this](HWND window) {
                               if (CProgramRun::ClassName(window) == L"#32770" || !::FindWindowExW(window, nullptr, L"MDIClient", nullptr))
                                   return false;
                               m_main = window;
                               return true;
                           }};
        VisitWindows(m_desktop, query);
        return m_main != nullptr;
    });
}

HWND CProgramRun::FindPopup(const wchar_t* className) const
{
    HWND popup = nullptr;
    WindowsOf query = {m_process.dwProcessId, [this, &popup, className](HWND window) {
                           if (className && ClassName(window) != className)
                               return false;
                           // Floating bars are in frames of their own.
                           if (window == m_main || ClassName(window) == L"#32770" ||
                               ClassName(window).rfind(L"QMXMiniWrame:", 0) == 0 ||
                               !(::GetWindowLongW(window, GWL_STYLE) & WS_POPUP))
                               return false;
                           popup = window;
                           return true;
                       }};
    VisitWindows(m_desktop, query);
    return popup;
}

bool CProgramRun::CloseWithoutSaving()
{
    ::PostMessageW(m_main, WM_CLOSE, 0, 0);
    // Each save question is answered No until the process ends.
    for (;;) {
        HWND question = nullptr;
        // A closing program saves its layout and settings first.
        if (!WaitFor([&] { return WaitForExit(0) || (question = FindDialog()) != nullptr; }))
            return TellWhyNotClosed();
        if (!question)
            return true;
        ::PostMessageW(question, WM_COMMAND, IDNO, 0);
        if (!WaitFor([&] { return WaitForExit(0) || !::IsWindow(question) || !IsShown(question); }))
            return TellWhyNotClosed();
    }
}

bool CProgramRun::TellWhyNotClosed() const
{
    std::fprintf(stderr, "the program did not end on its close; it shows:%ls\n", Shows().c_str());
    return false;
}

std::wstring CProgramRun::Shows() const
{
    // Its windows in sight, what its dialog says, where the keys go and
    // whether it answers: what a wait that failed met.
    std::wstring shown;
    WindowsOf query = {m_process.dwProcessId, [&shown](HWND window) {
                           shown += L" [" + ClassName(window) + L" \"" + Text(window) + L"\"" +
                                    (::IsWindowEnabled(window) ? L"" : L" disabled") + L"]";
                           return false;
                       }};
    VisitWindows(m_desktop, query);
    if (HWND dialog = FindDialog())
        shown += L" dialog: " + DialogText(dialog);
    HWND front = ::GetForegroundWindow();
    DWORD frontProcess = 0;
    ::GetWindowThreadProcessId(front, &frontProcess);
    shown += L"; in front: " + (front ? L"[" + ClassName(front) + L" \"" + Text(front) + L"\"]" : L"none") +
             (front && frontProcess != m_process.dwProcessId ? L" of another process" : L"");
    GUITHREADINFO thread = {};
    thread.cbSize = sizeof thread;
    if (m_main && ::GetGUIThreadInfo(::GetWindowThreadProcessId(m_main, nullptr), &thread))
        shown += L"; its focus: " + (thread.hwndFocus ? ClassName(thread.hwndFocus) : L"none") +
                 L", active: " + (thread.hwndActive ? ClassName(thread.hwndActive) : L"none") +
                 (thread.hwndCapture ? L", capture: " + ClassName(thread.hwndCapture) : L"") +
                 ((thread.flags & GUI_INMENUMODE) ? L", in menu mode" : L"");
    for (int key : {VK_MENU, VK_CONTROL, VK_SHIFT, VK_LBUTTON})
        if (::GetAsyncKeyState(key) & 0x8000)
            shown += L"; key " + std::to_wstring(key) + L" held";
    DWORD_PTR answer = 0;
    if (!::SendMessageTimeoutW(m_main, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer))
        shown += L"; its window does not answer";
    return shown;
}

std::wstring CProgramRun::ShowsAt(POINT point) const
{
    auto whose = [this](HWND window) {
        DWORD process = 0;
        ::GetWindowThreadProcessId(window, &process);
        return process == m_process.dwProcessId ? std::wstring(L"the program's")
               : process == ::GetCurrentProcessId() ? std::wstring(L"the test's")
                                                    : L"process " + std::to_wstring(process) + L"'s";
    };
    auto describe = [&](HWND window) {
        RECT rect = {};
        ::GetWindowRect(window, &rect);
        return L"[" + ClassName(window) + L" " + std::to_wstring(::GetDlgCtrlID(window)) + L" \"" + Text(window) +
               L"\" " + whose(window) + L" (" + std::to_wstring(rect.left) + L"," + std::to_wstring(rect.top) +
               L")-(" + std::to_wstring(rect.right) + L"," + std::to_wstring(rect.bottom) + L")" +
               (::IsWindowEnabled(window) ? L"" : L" disabled") + L"]";
    };
    std::wstring shown = L"at " + std::to_wstring(point.x) + L"," + std::to_wstring(point.y) + L": ";
    HWND under = ::WindowFromPoint(point);
    shown += under ? describe(under) : L"no window";
    if (under && ::GetAncestor(under, GA_ROOT) != under)
        shown += L" in " + describe(::GetAncestor(under, GA_ROOT));
    POINT pointer = {};
    ::GetCursorPos(&pointer);
    shown += L"; the pointer at " + std::to_wstring(pointer.x) + L"," + std::to_wstring(pointer.y);
    return shown;
}

bool CProgramRun::WaitForExit(DWORD timeoutMs, DWORD* code)
{
    if (::WaitForSingleObject(m_process.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return false;
    if (code)
        ::GetExitCodeProcess(m_process.hProcess, code);
    return true;
}

std::vector<HWND> CProgramRun::ReportFrames() const
{
    std::vector<HWND> frames;
    HWND client = ::FindWindowExW(m_main, nullptr, L"MDIClient", nullptr);
    for (HWND child = client ? ::GetWindow(client, GW_CHILD) : nullptr; child; child = ::GetWindow(child, GW_HWNDNEXT))
        frames.push_back(child);
    return frames;
}

HWND CProgramRun::ActiveFrame() const
{
    HWND client = ::FindWindowExW(m_main, nullptr, L"MDIClient", nullptr);
    return client ? reinterpret_cast<HWND>(::SendMessageW(client, WM_MDIGETACTIVE, 0, 0)) : nullptr;
}

HWND CProgramRun::SectionPanelOf(HWND frame)
{
    const int kViewId = 0xE900;
    const int kPanelId = 176;
    return FindById(FindById(frame, kViewId), kPanelId);
}

HWND CProgramRun::PictureListOf(HWND frame)
{
    const int kListId = 1122;
    HWND panel = SectionPanelOf(frame);
    return panel ? FindById(panel, kListId) : nullptr;
}

HWND CProgramRun::ReportPictureList() const
{
    HWND list = nullptr;
    for (HWND frame : ReportFrames()) {
        if (HWND found = PictureListOf(frame))
            list = found;
    }
    return list;
}

HWND CProgramRun::FindById(HWND parent, int id)
{
    for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (::GetDlgCtrlID(child) == id)
            return child;
        if (HWND found = FindById(child, id))
            return found;
    }
    return nullptr;
}

void CProgramRun::Command(UINT id) const
{
    ::SendMessageW(m_main, WM_COMMAND, id, 0);
}

void CProgramRun::PostCommand(UINT id) const
{
    ::PostMessageW(m_main, WM_COMMAND, id, 0);
}

HWND CProgramRun::FindDialog(const std::wstring& words) const
{
    HWND found = nullptr;
    // A dialog shows once it is made: before that its controls and texts
    // may not be there yet.
    WindowsOf query = {m_process.dwProcessId, [&](HWND window) {
                           if (ClassName(window) != L"#32770" || !IsShown(window) ||
                               (!words.empty() && DialogText(window).find(words) == std::wstring::npos))
                               return false;
                           found = window;
                           return true;
                       }};
    VisitWindows(m_desktop, query);
    return found;
}

HWND CProgramRun::WaitForDialog(DWORD timeoutMs) const
{
    HWND dialog = nullptr;
    WaitFor([&] { return (dialog = FindDialog()) != nullptr; }, timeoutMs);
    return dialog;
}

HWND CProgramRun::WaitForDialogWith(int itemId, DWORD timeoutMs) const
{
    HWND dialog = nullptr;
    WaitFor([&] {
        dialog = FindDialog();
        return dialog && ::GetDlgItem(dialog, itemId);
    }, timeoutMs);
    return dialog && ::GetDlgItem(dialog, itemId) ? dialog : nullptr;
}

HWND CProgramRun::WaitForDialogSaying(const std::wstring& words, DWORD timeoutMs) const
{
    HWND found = nullptr;
    WaitFor([&] { return (found = FindDialog(words)) != nullptr; }, timeoutMs);
    return found;
}

bool CProgramRun::AddGalleryFolder(const std::wstring& folder) const
{
    // The chooser shows first at a folder of its own and moves to the one it
    // was given later, under load noticeably so: OK waits until its name box
    // names that folder, or another folder would be added. Wine's browser now
    // and then stays at its own folder for good; the chooser is then
    // cancelled (which adds nothing) and asked for again.
    const std::wstring name = folder.substr(folder.find_last_of(L'\\') + 1);
    std::wstring shown;
    for (int attempt = 0; attempt < 3; ++attempt) {
        PostCommand(kAddGalleryFolder);
        HWND chooser = WaitForDialog();
        if (!chooser)
            return false;
        HWND nameBox = ::FindWindowExW(chooser, nullptr, L"Edit", nullptr);
        if (WaitFor([&] { return ::IsWindowEnabled(::GetDlgItem(chooser, IDOK)) && Text(nameBox) == name; })) {
            ::PostMessageW(chooser, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                           reinterpret_cast<LPARAM>(::GetDlgItem(chooser, IDOK)));
            return WaitFor([&] {
                HWND bar = GalleryBar();
                return bar && ::IsWindowVisible(bar);
            });
        }
        shown = Text(nameBox);
        std::fprintf(stderr, "The folder chooser stays at [%ls]; asking again\n", shown.c_str());
        ::PostMessageW(chooser, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(chooser, IDCANCEL)));
        if (!WaitFor([&] { return !::IsWindow(chooser); }))
            return false;
    }
    std::fprintf(stderr, "The folder chooser shows [%ls], not [%ls]\n", shown.c_str(), name.c_str());
    return false;
}

HWND CProgramRun::GalleryBar() const
{
    HWND bar = FindById(m_main, kGalleryBarId);
    // A floating gallery lies in a floating frame of its own.
    WindowsOf query = {m_process.dwProcessId, [&bar](HWND window) {
                           bar = FindById(window, kGalleryBarId);
                           return bar != nullptr;
                       }};
    if (!bar)
        VisitWindows(m_desktop, query);
    return bar;
}

std::wstring CProgramRun::Text(HWND window)
{
    // The whole text, however long (a warning that lists pictures). The text
    // may change between asking its length and reading it (a progress
    // window's message): a reading that fills the room given may be cut, and
    // is read again with more room.
    DWORD_PTR length = 0;
    ::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length);
    std::wstring text;
    for (size_t room = std::max<size_t>(size_t(length) + 2, 256);; room *= 2) {
        text.assign(room, L'\0');
        ::SendMessageTimeoutW(window, WM_GETTEXT, WPARAM(room), reinterpret_cast<LPARAM>(&text[0]), SMTO_ABORTIFHUNG,
                              5000, nullptr);
        text.resize(wcslen(text.c_str()));
        if (text.size() + 1 < room)
            return text;
    }
}

std::wstring CProgramRun::DialogText(HWND dialog)
{
    std::wstring text;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (ClassName(child) == L"Static") {
            const std::wstring part = Text(child);
            if (!part.empty())
                text += (text.empty() ? L"" : L"\n") + part;
        }
    }
    return text;
}

void CProgramRun::AnswerFileDialog(HWND dialog, const std::wstring& path)
{
    // The name box is an edit inside the name combo box (Wine nests it twice), or a plain edit.
    HWND name = FindById(dialog, kFileNameCombo);
    while (name && ClassName(name) != L"Edit")
        name = ::GetWindow(name, GW_CHILD);
    if (!name)
        name = FindById(dialog, kFileNameEdit);
    ::SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDOK)));
}

}  // namespace edtest
