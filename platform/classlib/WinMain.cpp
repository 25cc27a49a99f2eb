// The program's entry point. It lives alone in this file so that only
// programs, not test executables with a main of their own, link it. A program
// links with -municode (and -mwindows); it must also ask for the symbol
// (-Wl,-u,_wWinMain@16), because the C runtime's reference to it comes after
// the libraries have been searched.
#include "platform/classlib/WinApp.h"

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPWSTR lpCmdLine, int nCmdShow) {
    return AfxWinMain(hInstance, hPrevInstance, lpCmdLine, nCmdShow);
}
