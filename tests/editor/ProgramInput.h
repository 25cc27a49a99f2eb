#pragma once
// Real input for the program under test, as a user's hand gives it: the
// pointer moved, pressed and released (SendInput, absolute screen
// coordinates) and keys pressed, and the places of a tree's items on the
// screen to aim at. Header-only, so that the benchmarks drive the program the
// same way.
#include "RemoteMemory.h"

#include <windows.h>
#include <commctrl.h>

#include <initializer_list>
#include <utility>
#include <vector>

namespace edtest {

// The pause after each step of a drag: the other process reads the input on
// its own time and takes each step through its own drag loop.
constexpr DWORD kHandStepMs = 40;

// The pointer moved to the screen point with the button flags
// (MOUSEEVENTF_LEFTDOWN, ...), then a pause.
inline void MouseAt(POINT point, DWORD flags = 0, DWORD pauseMs = kHandStepMs)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = (point.x * 65536 + 65535) / ::GetSystemMetrics(SM_CXSCREEN);
    input.mi.dy = (point.y * 65536 + 65535) / ::GetSystemMetrics(SM_CYSCREEN);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | flags;
    ::SendInput(1, &input, sizeof input);
    if (pauseMs)
        ::Sleep(pauseMs);
}

// A left click at the screen point, given at once (no pauses).
inline void ClickAt(POINT point)
{
    MouseAt(point, 0, 0);
    MouseAt(point, MOUSEEVENTF_LEFTDOWN, 0);
    MouseAt(point, MOUSEEVENTF_LEFTUP, 0);
}

// The left button pressed at from and the pointer moved to to in steps; the
// button stays down.
inline void PressAndMove(POINT from, POINT to, int steps = 12)
{
    MouseAt(from);
    MouseAt(from, MOUSEEVENTF_LEFTDOWN);
    for (int i = 1; i <= steps; ++i)
        MouseAt({from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps});
}

// A drag from from to to; the pointer rests (moving by a pixel) for the
// given steps before the button is released there.
inline void DragTo(POINT from, POINT to, int restSteps = 0)
{
    PressAndMove(from, to);
    for (int i = 0; i < restSteps; ++i)
        MouseAt({to.x + i % 2, to.y});
    MouseAt(to, MOUSEEVENTF_LEFTUP);
}

// The pointer goes back where it was at the end of the scope: a later
// program under it would show a hovered button's prompt.
struct PointerKept {
    PointerKept() { ::GetCursorPos(&saved); }
    ~PointerKept() { ::SetCursorPos(saved.x, saved.y); }
    POINT saved = {};
};

// Keys pressed (true) and released (false) in the order given.
inline void PressKeys(std::initializer_list<std::pair<WORD, bool>> keys)
{
    std::vector<INPUT> inputs;
    for (const auto& key : keys) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key.first;
        input.ki.dwFlags = key.second ? 0 : KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// Keys and the left button still held down let go: a test that failed in
// the middle of a chord or a drag leaves them held, and a later program
// would take its keys and clicks as made with them.
inline void LetGoHeld()
{
    for (int key = VK_BACK; key <= VK_OEM_CLEAR; ++key)
        if (::GetAsyncKeyState(key) & 0x8000)
            PressKeys({{WORD(key), false}});
    POINT at = {};
    if ((::GetAsyncKeyState(VK_LBUTTON) & 0x8000) && ::GetCursorPos(&at))
        MouseAt(at, MOUSEEVENTF_LEFTUP, 0);
}

// The label of a tree item of another process, in the tree's client coordinates.
inline RECT TreeItemLabel(HWND tree, LPARAM item)
{
    CRemote remote(tree, sizeof(RECT));
    // TVM_GETITEMRECT reads the item from the rectangle it is given.
    ::SendMessageW(tree, TVM_GETITEMRECT, TRUE, remote.Put(item));
    return remote.Get<RECT>();
}

// The middle of a tree item's label on the screen.
inline POINT TreeItemPoint(HWND tree, LPARAM item)
{
    const RECT label = TreeItemLabel(tree, item);
    POINT point = {(label.left + label.right) / 2, (label.top + label.bottom) / 2};
    ::ClientToScreen(tree, &point);
    return point;
}

// The children of a tree item, in order.
inline std::vector<LPARAM> TreeChildren(HWND tree, LPARAM parent)
{
    std::vector<LPARAM> items;
    for (LPARAM item = ::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, parent); item;
         item = ::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, item))
        items.push_back(item);
    return items;
}

}  // namespace edtest
