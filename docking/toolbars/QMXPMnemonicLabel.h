#pragma once
// CQMXPMnemonicLabel: a one-line label whose "&" marks the letter that runs
// its command, measured once in the DC's font and drawn with every character
// at its measured place and the letter's line under that same cell. The
// system's text drawing places glyphs by the advances of the glyphs it
// renders, and its line by the measured ones; under Wine the two differ for
// faces with bitmap strikes at menu sizes (Tahoma at 8 points renders "n" 6
// pixels wide and measures it 7), so the line stood under a later character.
#include "platform/classlib/DC.h"

#include <vector>

class CQMXPMnemonicLabel {
public:
    CQMXPMnemonicLabel(CDC* pDC, const CString& strText);

    // The text without its marks: "&&" reads "&", a single "&" nothing;
    // the index of the marked character in it, -1 for none.
    static int Parse(const CString& strText, CString& strShown);

    const CString& GetText() const { return m_strShown; }
    int GetMnemonic() const { return m_iMnemonic; }
    int GetWidth() const { return m_edges.empty() ? 0 : m_edges.back(); }
    // Where a character's cell starts and ends, from the label's start.
    int CellLeft(int i) const { return i > 0 ? m_edges[i - 1] : 0; }
    int CellRight(int i) const { return m_edges[i]; }
    // Each character's advance, for a text drawn along another direction.
    INT* Advances() { return m_advances.data(); }

    // Draws the label in one line inside the rectangle, clipped to it:
    // DT_LEFT, DT_CENTER or DT_RIGHT, at the top or with DT_VCENTER centred.
    void Draw(CDC* pDC, const CRect& rect, UINT nFormat);

private:
    CString m_strShown;
    int m_iMnemonic;
    std::vector<int> m_edges;
    std::vector<INT> m_advances;
};
