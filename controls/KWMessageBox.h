#pragma once
// KWMessageBox: the program's message box. A missing caption means the
// application title (string 57344); a missing parent the foreground window
// when this process owns it, else the active window, else the main window.
#include <windows.h>

// The button pressed. type: the MessageBoxW style (0 an OK box, 64 adds the
// information icon); the third argument is not used.
int KWMessageBox(const wchar_t* text, UINT type = 0, UINT unused = 0, const wchar_t* caption = nullptr,
                 HWND parent = nullptr);

// The owner KWMessageBox gives a box without one.
HWND KWMessageBoxOwner();
