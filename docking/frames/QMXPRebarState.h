#pragma once
// The band layout of every library rebar below a window: order, sizes and
// styles of the bands, kept per rebar in "<profile>QMXRebar-<id>" as "RBI"
// (one 80-byte band record per band) and "IDs" (the id of each band's
// child window, by which the bands are found again).
#include <windows.h>

class CWnd;

class CQMXPRebarState {
public:
    // Both walk every child window of the parent; the walk stops at the
    // first rebar whose key cannot be created or opened.
    static BOOL SaveRebarState(LPCWSTR lpszProfileName, CWnd* pParentWnd);
    static BOOL LoadRebarState(LPCWSTR lpszProfileName, CWnd* pParentWnd);
};
