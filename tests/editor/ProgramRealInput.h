#pragma once
// Real input for the program under test beyond the hand's moves of
// ProgramInput.h: a click after approaching the point, key chords and
// typed characters, and the places and states of the program's library
// bars and status bar (asked across processes).
#include "ProgramInput.h"

#include <windows.h>

#include <string>

namespace edtest {

// The pointer brought to the point in two steps (a menu drops the first
// move of a window that appeared under it), then a left click.
void ApproachAndClick(POINT point);
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
T AskRemote(HWND window, UINT message, WPARAM index)
{
    CRemote remote(window, sizeof(T));
    ::SendMessageW(window, message, index, remote.At(0));
    return remote.Get<T>();
}

// The text of a pane of the program's status bar.
std::wstring StatusPaneText(HWND statusBar, int pane);
// The screen rectangle of a library tool bar's button by its index.
RECT BarItemRect(HWND bar, int index);
// The index of the bar's first button with the command; -1 when none.
int BarCommandIndex(HWND bar, UINT command);

}  // namespace edtest
