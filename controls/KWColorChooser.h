#pragma once
// CKWColorChooser: the choice of another colour in the common colour dialog,
// any colour allowed, starting from the current one.
#include <windows.h>

class CWnd;

class CKWColorChooser {
public:
    void SetColor(COLORREF color) { m_initial = m_chosen = color; }
    COLORREF GetColor() const { return m_chosen; }
    // True, with the chosen colour kept, when the user pressed OK.
    bool DoModal(CWnd* parent = nullptr);

private:
    COLORREF m_initial = 0;
    COLORREF m_chosen = 0;
};
