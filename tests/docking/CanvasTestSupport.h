#pragma once
// Off-screen 32-bit canvases for the drawing tests of the docking library,
// with pixel probes, a PNG writer for pictures a person may look at, and a
// scope that sets system colours for one test.
#include "docking/toolbars/QMXPDibSection.h"
#include "platform/classlib/DC.h"

#include <string>
#include <vector>

namespace docking_test {

class CCanvas {
public:
    CCanvas(int cx, int cy, COLORREF clrFill = RGB(255, 255, 255));
    ~CCanvas();
    CCanvas(const CCanvas&) = delete;
    CCanvas& operator=(const CCanvas&) = delete;

    CDC& DC() { return m_dc; }
    COLORREF At(int x, int y);
    // Pixels of the colour within the rectangle.
    int Count(COLORREF clr, const CRect& rect);
    int Count(COLORREF clr) { return Count(clr, CRect(0, 0, m_dib.Width(), m_dib.Height())); }
    // Takes what the screen shows from the point on, the canvas's size.
    void CopyScreen(CPoint ptFrom);
    // Writes the canvas as build\screenshots\<name>.png; false on failure.
    bool SavePng(const wchar_t* lpszName);

private:
    CQMXPDibSection m_dib;
    CDC m_dc;
};

// What the screen shows in the rectangle (a frame and anything floating
// over it), written as build\screenshots\<name>.png.
bool SaveScreen(const CRect& rect, const wchar_t* lpszName);

// Sets system colours for its lifetime and puts the old ones back.
class CSysColorsScope {
public:
    CSysColorsScope(std::vector<int> indexes, std::vector<COLORREF> colors);
    ~CSysColorsScope();
    CSysColorsScope(const CSysColorsScope&) = delete;
    CSysColorsScope& operator=(const CSysColorsScope&) = delete;

private:
    std::vector<int> m_indexes;
    std::vector<COLORREF> m_old;
};

// Tahoma and Marlett as the Wine prefix holds them (Wine's own faces, copied
// there by the set-up) made known to the test process for its lifetime, so
// that a test fails when they are missing; the library's fonts are made
// again on both ends.
class CWineFontsScope {
public:
    CWineFontsScope();
    ~CWineFontsScope();
    CWineFontsScope(const CWineFontsScope&) = delete;
    CWineFontsScope& operator=(const CWineFontsScope&) = delete;

    // Every font file was added.
    bool IsReady() const { return m_nAdded == static_cast<int>(kFiles.size()); }

private:
    static const std::vector<std::wstring> kFiles;
    int m_nAdded = 0;
};

}  // namespace docking_test
