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

// The pointer moved to the screen point with the button flags
// (MOUSEEVENTF_LEFTDOWN, ...). The other process reads the input on its own
// time; a pause after each step lets a drag loop there follow the steps.
inline void MouseAt(POINT point, DWORD flags = 0, DWORD pauseMs = 0)
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

// A left click at the screen point.
inline void ClickAt(POINT point)
{
    MouseAt(point);
    MouseAt(point, MOUSEEVENTF_LEFTDOWN);
    MouseAt(point, MOUSEEVENTF_LEFTUP);
}

// Pressed at from, moved in steps to to, released there.
inline void DragTo(POINT from, POINT to, int steps = 12, DWORD pauseMs = 40)
{
    MouseAt(from, 0, pauseMs);
    MouseAt(from, MOUSEEVENTF_LEFTDOWN, pauseMs);
    for (int i = 1; i <= steps; ++i)
        MouseAt({from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps}, 0, pauseMs);
    MouseAt(to, MOUSEEVENTF_LEFTUP, pauseMs);
}

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

// The middle of a tree item's label on the screen, for a tree of another process.
inline POINT TreeItemPoint(HWND tree, LPARAM item)
{
    CRemote remote(tree, sizeof(RECT));
    // TVM_GETITEMRECT reads the item from the rectangle it is given.
    ::SendMessageW(tree, TVM_GETITEMRECT, TRUE, remote.Put(item));
    const RECT label = remote.Get<RECT>();
    POINT point = {(label.left + label.right) / 2, (label.top + label.bottom) / 2};
    ::ClientToScreen(tree, &point);
    return point;
}

// The top-level tree items under the root, in order.
inline std::vector<LPARAM> TreeChildren(HWND tree, LPARAM parent)
{
    std::vector<LPARAM> items;
    for (LPARAM item = ::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, parent); item;
         item = ::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, item))
        items.push_back(item);
    return items;
}

}  // namespace edtest
