#pragma once
// CThemeHelperST: the visual-styles library "UxTheme.dll", bound at run time
// so that the program runs where it is missing. Each call looks its function
// up again; without the library or the function it answers as a system
// without themes would (no theme, E_FAIL, not themed).
#include <windows.h>
#include <uxtheme.h>

class CThemeHelperST {
public:
    // Loads the library (null when it is missing).
    CThemeHelperST();
    // Frees it.
    virtual ~CThemeHelperST();
    CThemeHelperST(const CThemeHelperST&) = delete;
    CThemeHelperST& operator=(const CThemeHelperST&) = delete;

    HTHEME OpenThemeData(HWND window, LPCWSTR classList);
    HRESULT CloseThemeData(HTHEME theme);
    HRESULT DrawThemeBackground(HTHEME theme, HDC dc, int part, int state, const RECT* rect, const RECT* clip);
    BOOL IsAppThemed();

private:
    // The library's function of that name; null without it.
    FARPROC Find(const char* name) const;

    HMODULE m_library;
};
