#pragma once
// Real input for the program under test: the pointer moved and its buttons
// pressed, and keys typed, through SendInput as a user's hand would, plus
// the rectangles of the program's library bars (asked across processes).
#include <windows.h>

#include <initializer_list>
#include <string>
#include <utility>

namespace edtest {

// The pointer moved (absolute, on the screen) with the button flags.
void MouseAt(POINT point, DWORD flags = 0);
// The pointer brought to the point by two steps (a menu drops the first
// move of a window that appeared under it), then a left click.
void ClickAt(POINT point);
// A press, a move in steps and a release with the left button.
void DragWithMouse(POINT from, POINT to);
// Keys pressed (true) and released (false) in order.
void PressKeys(std::initializer_list<std::pair<WORD, bool>> keys);
// A key pressed while the modifier is held.
void PressChord(WORD modifier, WORD key);
// Characters typed as the keyboard types them.
void TypeText(const wchar_t* text);

// The middle of a rectangle.
POINT CentreOf(const RECT& rect);
// A client point of a window on the screen.
POINT OnScreen(HWND window, POINT client);

// What a message writes through its pointer, for a window of another
// process that the system does not carry it for (a library tool bar's
// TB_GETBUTTON or TB_GETITEMRECT): the memory is lent in that process.
template <typename T>
T AskRemote(HWND window, UINT message, WPARAM index);

// The text of a pane of the program's status bar.
std::wstring StatusPaneText(HWND statusBar, int pane);

// The screen rectangle of a library tool bar's button by its index.
RECT BarItemRect(HWND bar, int index);
// The index of the bar's first button with the command; -1 when none.
int BarCommandIndex(HWND bar, UINT command);

// The pointer put back where it was, off the program's bars: a later
// program under it would show a hovered button's prompt.
struct PointerKept {
    PointerKept() { ::GetCursorPos(&saved); }
    ~PointerKept() { ::SetCursorPos(saved.x, saved.y); }
    POINT saved = {};
};

template <typename T>
T AskRemote(HWND window, UINT message, WPARAM index)
{
    T value{};
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    HANDLE process = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    void* remote = process ? ::VirtualAllocEx(process, nullptr, sizeof(T), MEM_COMMIT, PAGE_READWRITE) : nullptr;
    if (remote) {
        ::SendMessageW(window, message, index, reinterpret_cast<LPARAM>(remote));
        ::ReadProcessMemory(process, remote, &value, sizeof(T), nullptr);
        ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    if (process)
        ::CloseHandle(process);
    return value;
}

}  // namespace edtest
