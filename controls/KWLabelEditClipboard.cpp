#include "controls/KWLabelEditClipboard.h"

bool KWLabelEditHasSelection(HWND edit)
{
    DWORD start = 0;
    DWORD end = 0;
    if (edit)
        ::SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return edit && start != end;
}

bool KWLabelEditCut(HWND edit)
{
    if (!KWLabelEditHasSelection(edit))
        return false;
    ::SendMessageW(edit, WM_CUT, 0, 0);
    return true;
}

bool KWLabelEditCopy(HWND edit)
{
    if (!KWLabelEditHasSelection(edit))
        return false;
    ::SendMessageW(edit, WM_COPY, 0, 0);
    return true;
}

bool KWLabelEditClear(HWND edit)
{
    if (!edit)
        return false;
    DWORD start = 0;
    DWORD end = 0;
    ::SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    if (start == end) {
        // Nothing selected: the character after the caret goes.
        ::SendMessageW(edit, EM_SETSEL, start, start + 1);
        ::SendMessageW(edit, EM_SCROLLCARET, 0, 0);
    }
    ::SendMessageW(edit, WM_CLEAR, 0, 0);
    return true;
}

bool KWLabelEditPaste(HWND edit)
{
    if (!KWLabelEditCanPaste(edit))
        return false;
    ::SendMessageW(edit, WM_PASTE, 0, 0);
    return true;
}

bool KWLabelEditCanPaste(HWND edit)
{
    return edit && ::IsClipboardFormatAvailable(CF_TEXT);
}
