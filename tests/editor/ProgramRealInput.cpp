#include "ProgramRealInput.h"

#include <commctrl.h>

#include <vector>

namespace edtest {

void ApproachAndClick(POINT point)
{
    MouseAt({point.x - 2, point.y - 1});
    MouseAt(point);
    MouseAt(point, MOUSEEVENTF_LEFTDOWN);
    MouseAt(point, MOUSEEVENTF_LEFTUP);
}

void PressChord(WORD modifier, WORD key)
{
    PressKeys({{modifier, true}, {key, true}, {key, false}, {modifier, false}});
}

void TypeText(const wchar_t* text)
{
    std::vector<INPUT> inputs;
    for (const wchar_t* c = text; *c; ++c) {
        for (DWORD up : {DWORD(0), DWORD(KEYEVENTF_KEYUP)}) {
            INPUT input = {};
            input.type = INPUT_KEYBOARD;
            input.ki.wScan = *c;
            input.ki.dwFlags = KEYEVENTF_UNICODE | up;
            inputs.push_back(input);
        }
    }
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

POINT CentreOf(const RECT& rect)
{
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

POINT OnScreen(HWND window, POINT client)
{
    ::ClientToScreen(window, &client);
    return client;
}

std::wstring StatusPaneText(HWND statusBar, int pane)
{
    struct Text {
        wchar_t characters[1024];
    };
    if (::SendMessageW(statusBar, SB_GETTEXTLENGTHW, static_cast<WPARAM>(pane), 0) >= 1024)
        return std::wstring();
    return AskRemote<Text>(statusBar, SB_GETTEXTW, static_cast<WPARAM>(pane)).characters;
}

RECT BarItemRect(HWND bar, int index)
{
    RECT rect = AskRemote<RECT>(bar, TB_GETITEMRECT, static_cast<WPARAM>(index));
    ::MapWindowPoints(bar, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

int BarCommandIndex(HWND bar, UINT command)
{
    const int count = static_cast<int>(::SendMessageW(bar, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < count; ++i)
        if (AskRemote<TBBUTTON>(bar, TB_GETBUTTON, static_cast<WPARAM>(i)).idCommand == static_cast<int>(command))
            return i;
    return -1;
}

}  // namespace edtest
