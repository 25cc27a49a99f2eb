#pragma once
// A user's work with the real program's windows, on the real input of
// ProgramInput.h and ProgramRealInput.h: keys tapped, clicks on windows, on
// tool-bar buttons and tree items, edit boxes typed into and file dialogs
// answered by typing, as the system delivers it to the window in front.
#include "ProgramRealInput.h"
#include "ProgramRun.h"
#include "RemoteMemory.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>

namespace edtest {

// A key pressed and released.
inline void TapKey(WORD key)
{
    PressKeys({{key, true}, {key, false}});
}

// The program's status bar.
constexpr int kStatusBar = 0xE801;

// True once a click at the screen point reaches the window as it is aimed.
// The system hands a click to the window under its point when the program
// takes it from its queue, not when it is given, and drops it when that
// window is disabled then: so the window must be the one under the point (or
// hold it), its top window enabled (a dialog it opened has gone, as its
// program sees it), and lie where it lay at the reading before, its thread
// having answered in between (a layout still going on would move it from
// under the click).
inline bool ReadyForClick(HWND window, POINT at)
{
    // A group box lies over the buttons it frames, and lets their clicks
    // through (as the program's own hit test says; another process's search
    // of the windows at a point stops at it).
    auto framing = [](HWND under) {
        return CProgramRun::ClassName(under) == L"Button" &&
               (::GetWindowLongW(under, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
    };
    RECT rect = {}, last = {};
    const bool ready = WaitFor([&] {
        last = rect;
        ::GetWindowRect(window, &rect);
        HWND under = ::WindowFromPoint(at);
        DWORD_PTR answer = 0;
        return ::EqualRect(&rect, &last) && ::PtInRect(&rect, at) &&
               (under == window || ::IsChild(window, under) || framing(under)) &&
               ::IsWindowEnabled(::GetAncestor(window, GA_ROOT)) &&
               ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer);
    });
    if (!ready)
        std::fprintf(stderr, "A click on a %ls at (%ld, %ld), (%ld, %ld)-(%ld, %ld), given though a %ls lies there\n",
                     CProgramRun::ClassName(window).c_str(), at.x, at.y, rect.left, rect.top, rect.right, rect.bottom,
                     CProgramRun::ClassName(::WindowFromPoint(at)).c_str());
    return ready;
}

// True once no capture, menu or move loop holds the input of the window's
// thread: a capture takes every click, wherever it is aimed.
inline bool InputFree(HWND window)
{
    return WaitFor([&] {
        GUITHREADINFO thread = {};
        thread.cbSize = sizeof thread;
        return ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &thread) && !thread.hwndCapture &&
               !(thread.flags & (GUI_INMENUMODE | GUI_INMOVESIZE | GUI_POPUPMENUMODE));
    });
}

// The status bar of the window's top window, else the window: a window its
// program paints only when it gets to it, a witness of what it has taken.
inline HWND InputWitness(HWND window)
{
    HWND status = CProgramRun::FindById(::GetAncestor(window, GA_ROOT), kStatusBar);
    return status && ::IsWindowVisible(status) ? status : window;
}

// True once the thread of the window has taken every input given before:
// a spot of the window is marked to be painted again, and the system hands
// a thread its paint only once no input waits for it. (A window its program
// paints at once on its own, as a pane does on a click, may have its spot
// painted before that: the status bar is a better witness.)
inline bool InputTaken(HWND window)
{
    // A window out of sight is not painted: it witnesses nothing.
    if (!::IsWindowVisible(window))
        return false;
    RECT spot = {0, 0, 1, 1};
    ::RedrawWindow(window, &spot, nullptr, RDW_INVALIDATE);
    WaitFor([&] { return !::IsWindow(window) || !::GetUpdateRect(window, nullptr, FALSE); });
    return ::IsWindow(window) && !::GetUpdateRect(window, nullptr, FALSE);
}

// The context menu of the window, opened by a right click at the screen
// point once the window can take it: the program's popup menu, the same at
// two readings with the program's input taken in between; null when none
// came. A right click the program took without opening a menu was lost on
// its way, and is given again: only then, as a second one would close a menu
// that came.
inline HWND OpenContextMenu(const CProgramRun& program, HWND window, POINT at)
{
    HWND witness = InputWitness(window);
    HWND menu = nullptr;
    for (int attempt = 0; attempt < 3 && !menu; ++attempt) {
        if (!InputFree(window) || !ReadyForClick(window, at))
            return nullptr;
        MouseAt(at);
        MouseAt(at, MOUSEEVENTF_RIGHTDOWN);
        MouseAt(at, MOUSEEVENTF_RIGHTUP);
        // A menu shows before its program paints anything after the click.
        if (!InputTaken(witness)) {
            WaitFor([&] { return (menu = program.FindPopup()) != nullptr; });
            return menu;
        }
        for (HWND last = nullptr; (menu = program.FindPopup()) != last && menu; last = menu)
            InputTaken(witness);
        if (!menu)
            std::fprintf(stderr, "A right click brought no menu; given again%ls\n", program.ShowsAt(at).c_str());
    }
    return menu;
}

// A click at a point of the window's client area once the window can take
// it there.
inline void ClickClient(HWND window, POINT client)
{
    ReadyForClick(window, OnScreen(window, client));
    ClickAt(OnScreen(window, client));
}

// A click in the middle of the window once it can take it; false when that
// did not come.
inline bool ClickWhenReady(HWND window)
{
    RECT rect = {};
    ::GetWindowRect(window, &rect);
    const bool ready = ReadyForClick(window, CentreOf(rect));
    ::GetWindowRect(window, &rect);
    ClickAt(CentreOf(rect));
    return ready;
}

// A click in the middle of the window (a button, an edit box), once it can take it.
inline void ClickWindow(HWND window)
{
    ClickWhenReady(window);
}

// A click on a library tool bar's button (a menu's item too) by its index,
// once the item can take it: its window enabled, the item laid out at the
// same place at two readings, and the bar the window under its middle (a
// menu that has just appeared may still be placed, a bar that has just been
// made still docked); false when that did not come.
inline bool ClickBarItem(HWND bar, int index)
{
    RECT rect = {}, last = {};
    const bool ready = WaitFor([&] {
        last = rect;
        rect = BarItemRect(bar, index);
        HWND under = ::WindowFromPoint(CentreOf(rect));
        return !::IsRectEmpty(&rect) && ::EqualRect(&rect, &last) && ::IsWindowEnabled(::GetAncestor(bar, GA_ROOT)) &&
               (under == bar || ::IsChild(bar, under));
    });
    ClickAt(CentreOf(rect));
    return ready;
}

// A click on a library tool bar's button by its command once it can take
// it; false when the bar has none or it could not.
inline bool ClickBarCommand(HWND bar, UINT command)
{
    const int index = BarCommandIndex(bar, command);
    return index >= 0 && ClickBarItem(bar, index);
}

// A click on the tree item once the tree can take it; true once the tree has
// selected it. A click its program took without selecting it was lost on its
// way, and is given again (only then: a second click on the selected item
// would start editing its name).
inline bool ClickTreeItem(HWND tree, HTREEITEM item)
{
    for (int attempt = 0; attempt < 3; ++attempt) {
        const POINT at = TreeItemPoint(tree, reinterpret_cast<LPARAM>(item));
        ReadyForClick(tree, at);
        ClickAt(at);
        if (!InputTaken(InputWitness(tree)) || TreeView_GetSelection(tree) == item)
            break;
    }
    return WaitFor([&] { return TreeView_GetSelection(tree) == item; });
}

// The keyboard's focus in the thread of the window.
inline HWND FocusIn(HWND window)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

// True once the program's main window is in front and enabled, no dialog or
// menu of the program shows, no other window has the keyboard's focus and
// the program answers a message sent to it (it has taken the front it was
// given and come back to its messages): keys typed then reach it. A closed
// dialog gives the front back to the main window a moment later, and keys
// sent in between reach no window of the program; a menu left open by an
// earlier step would take them.
inline bool ReadyForKeys(const CProgramRun& program)
{
    HWND main = program.Main();
    return WaitFor([&] {
        HWND focus = FocusIn(main);
        DWORD_PTR answer = 0;
        return ::GetForegroundWindow() == main && ::IsWindowEnabled(main) && !program.FindDialog() &&
               !program.FindPopup(L"QMXPopupMenu") && (!focus || focus == main || ::IsChild(main, focus)) &&
               ::SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer);
    });
}

// The first descendant of the window class (the file list of a file dialog).
inline HWND FindByClass(HWND parent, const wchar_t* className)
{
    for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (CProgramRun::ClassName(child) == className)
            return child;
        if (HWND found = FindByClass(child, className))
            return found;
    }
    return nullptr;
}

// The edit box in which a file dialog takes the name (nested in its combo
// box, or a plain edit).
inline HWND FileNameBox(HWND dialog)
{
    HWND name = CProgramRun::FindById(dialog, 0x47C);
    while (name && CProgramRun::ClassName(name) != L"Edit")
        name = ::GetWindow(name, GW_CHILD);
    return name ? name : CProgramRun::FindById(dialog, 0x480);
}

// A click into the edit box, its text replaced by the typed one; true once
// the box shows it.
inline bool TypeInto(HWND edit, const std::wstring& text)
{
    ClickWindow(edit);
    WaitFor([&] { return FocusIn(edit) == edit; });
    TapKey(VK_HOME);
    PressChord(VK_SHIFT, VK_END);
    TypeText(text.c_str());
    return WaitFor([&] { return CProgramRun::Text(edit) == text; });
}

// The text typed into a file dialog's name box and Enter pressed; false
// when the box did not take it.
inline bool AnswerFileDialogByKeys(HWND dialog, const std::wstring& text)
{
    HWND name = FileNameBox(dialog);
    if (!name || !TypeInto(name, text))
        return false;
    TapKey(VK_RETURN);
    return true;
}

// The report printed: Ctrl+P, then OK in the print dialog; false when no
// dialog came or it did not close.
inline bool PrintByKeys(const CProgramRun& program)
{
    if (!ReadyForKeys(program))
        return false;
    PressChord(VK_CONTROL, 'P');
    HWND print = program.WaitForDialog();
    if (!print)
        return false;
    // The dialog fills its printer list once shown: OK is clicked when it is done.
    ::WaitForInputIdle(program.Process(), 15000);
    ClickWindow(::GetDlgItem(print, IDOK));
    return WaitFor([&] { return !::IsWindow(print); });
}

// Leaves in the folder "DATA" beside the program only the page templates the
// build puts there (those of the sources' resources/templates/DATA): other
// tests and the reports they open write templates there too.
inline void KeepOnlyShippedTemplates()
{
    std::wstring sources = L"Z:" OT_TEST_DATA_DIR L"/../../resources/templates/DATA/";
    for (wchar_t& c : sources) {
        if (c == L'/')
            c = L'\\';
    }
    const std::wstring beside = BesideTests(L"DATA\\");
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((beside + L"*").c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = ::FindNextFileW(search, &found)) {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        if (::GetFileAttributesW((sources + found.cFileName).c_str()) == INVALID_FILE_ATTRIBUTES)
            ::DeleteFileW((beside + found.cFileName).c_str());
    }
    if (search != INVALID_HANDLE_VALUE)
        ::FindClose(search);
}

// The program started on the report with the shipped templates only, its
// window in front.
inline bool StartOnReport(CProgramRun& program, const std::wstring& report)
{
    KeepOnlyShippedTemplates();
    SetStartPrefs(3, L"", false);
    if (!program.Start(L"\"" + report + L"\"") || !WaitFor([&] { return program.ReportFrames().size() == 1; }))
        return false;
    ::SetForegroundWindow(program.Main());
    return WaitFor([&] { return ::GetForegroundWindow() == program.Main(); });
}

}  // namespace edtest
