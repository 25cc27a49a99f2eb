// Holds a window's drawing while its children are made, moved or shown, and
// draws it once when the hold ends.
#pragma once

#include <windows.h>

// A window already out of sight (held by an outer hold, or hidden) is left as
// it is: whoever hid it draws it, once.
class CQMXPRedrawHold {
public:
    // The flags of the RedrawWindow that ends the hold (RDW_UPDATENOW draws at once).
    CQMXPRedrawHold(HWND hWnd, UINT nRedrawFlags);
    ~CQMXPRedrawHold();
    CQMXPRedrawHold(const CQMXPRedrawHold&) = delete;
    CQMXPRedrawHold& operator=(const CQMXPRedrawHold&) = delete;

private:
    HWND m_hWnd;
    UINT m_nRedrawFlags;
};
