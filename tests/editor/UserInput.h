#pragma once
// A user's hands on the real program: keys typed and pressed and the mouse
// moved and clicked through SendInput, as the system delivers them to the
// window in front, and the program's window brought to the front first.
#include "ProgramRun.h"
#include "RemoteMemory.h"

#include <windows.h>
#include <commctrl.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace edtest {

// The key pressed and released with the modifiers held around it.
inline void PressKey(WORD key, std::initializer_list<WORD> modifiers = {})
{
    std::vector<INPUT> inputs;
    auto add = [&](WORD vk, bool up) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(input);
    };
    for (WORD modifier : modifiers)
        add(modifier, false);
    add(key, false);
    add(key, true);
    for (auto modifier = modifiers.end(); modifier != modifiers.begin();)
        add(*--modifier, true);
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// The text typed key by key, Shift held where the keyboard needs it; a
// character without a key comes as the character itself.
inline void TypeText(const std::wstring& text)
{
    for (wchar_t c : text) {
        const SHORT scan = ::VkKeyScanW(c);
        if (scan == -1 || (HIBYTE(scan) & ~1) != 0) {
            INPUT input[2] = {};
            for (int i = 0; i < 2; ++i) {
                input[i].type = INPUT_KEYBOARD;
                input[i].ki.wScan = c;
                input[i].ki.dwFlags = KEYEVENTF_UNICODE | (i ? KEYEVENTF_KEYUP : 0);
            }
            ::SendInput(2, input, sizeof(INPUT));
            continue;
        }
        if (HIBYTE(scan) & 1)
            PressKey(LOBYTE(scan), {VK_SHIFT});
        else
            PressKey(LOBYTE(scan));
    }
}

// The pointer moved to the screen point and the left button pressed and
// released there.
inline void ClickAt(POINT screen)
{
    INPUT input[3] = {};
    const DWORD flags[3] = {MOUSEEVENTF_MOVE, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP};
    for (int i = 0; i < 3; ++i) {
        input[i].type = INPUT_MOUSE;
        input[i].mi.dx = (screen.x * 65536 + 65535) / ::GetSystemMetrics(SM_CXSCREEN);
        input[i].mi.dy = (screen.y * 65536 + 65535) / ::GetSystemMetrics(SM_CYSCREEN);
        input[i].mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | flags[i];
    }
    ::SendInput(3, input, sizeof(INPUT));
}

// A click at a point of the window's client area.
inline void ClickClient(HWND window, POINT client)
{
    ::ClientToScreen(window, &client);
    ClickAt(client);
}

// A click in the middle of the window (a button, an edit box).
inline void ClickWindow(HWND window)
{
    RECT rect = {};
    ::GetWindowRect(window, &rect);
    ClickAt(POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}

// The index of the command's button on a library tool bar (a menu's bar
// too); -1 when it has none.
inline int ToolBarIndex(HWND bar, int command)
{
    CRemote remote(bar, sizeof(TBBUTTON));
    const int count = static_cast<int>(::SendMessageW(bar, TB_BUTTONCOUNT, 0, 0));
    for (int index = 0; index < count; ++index) {
        ::SendMessageW(bar, TB_GETBUTTON, index, remote.At(0));
        if (remote.Get<TBBUTTON>().idCommand == command)
            return index;
    }
    return -1;
}

// A click on a button of a library tool bar.
inline void ClickToolBarIndex(HWND bar, int index)
{
    CRemote remote(bar, sizeof(RECT));
    ::SendMessageW(bar, TB_GETITEMRECT, index, remote.At(0));
    const RECT rect = remote.Get<RECT>();
    ClickClient(bar, POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}

// A click on a button of a library tool bar, found by its command; false
// when the bar has none.
inline bool ClickToolBarButton(HWND bar, int command)
{
    const int index = ToolBarIndex(bar, command);
    if (index >= 0)
        ClickToolBarIndex(bar, index);
    return index >= 0;
}

// The keyboard's focus in the thread of the window.
inline HWND FocusIn(HWND window)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

// A click on the tree item; true once the tree has selected it.
inline bool ClickTreeItem(HWND tree, HTREEITEM item)
{
    CRemote remote(tree, sizeof(RECT));
    remote.Put(item);
    ::SendMessageW(tree, TVM_GETITEMRECT, TRUE, remote.At(0));
    const RECT rect = remote.Get<RECT>();
    ClickClient(tree, POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
    return WaitFor([&] { return TreeView_GetSelection(tree) == item; });
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
    WaitFor([&] { return FocusIn(edit) == edit; }, 5000);
    PressKey(VK_HOME);
    PressKey(VK_END, {VK_SHIFT});
    TypeText(text);
    return WaitFor([&] { return CProgramRun::Text(edit) == text; }, 5000);
}

// The text typed into a file dialog's name box and Enter pressed; false
// when the box did not take it.
inline bool AnswerFileDialogByKeys(HWND dialog, const std::wstring& text)
{
    HWND name = FileNameBox(dialog);
    if (!name || !TypeInto(name, text))
        return false;
    PressKey(VK_RETURN);
    return true;
}

}  // namespace edtest
