#pragma once
// A one-line label whose "&" marks the letter that runs its command, looked
// for in what a window shows: every glyph of it must stand where its font
// measures it, and the line under the marked letter must span that letter's
// cell but its last column, as the system draws it.
#include "tests/support/WindowPixels.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <numeric>
#include <string>
#include <vector>

namespace test_support {

inline bool IsDark(COLORREF colour)
{
    return std::max({GetRValue(colour), GetGValue(colour), GetBValue(colour)}) < 128;
}

// The label drawn black on white in the font with every glyph at its
// measured advance: the drawing, the right edge of each character's cell,
// and the row of a letter's line, below the baseline.
struct MeasuredLabel {
    MeasuredLabel(HFONT font, const std::wstring& text) : edges(text.size())
    {
        HDC screen = ::GetDC(nullptr);
        HDC dc = ::CreateCompatibleDC(screen);
        HGDIOBJ oldFont = ::SelectObject(dc, font);
        TEXTMETRICW metrics = {};
        ::GetTextMetricsW(dc, &metrics);
        lineRow = metrics.tmAscent + 1;
        const int length = static_cast<int>(text.size());
        SIZE size = {};
        ::GetTextExtentExPointW(dc, text.c_str(), length, 0, nullptr, edges.data(), &size);
        std::vector<INT> advances(edges.begin(), edges.end());
        std::adjacent_difference(edges.begin(), edges.end(), advances.begin());
        HBITMAP bitmap = ::CreateCompatibleBitmap(screen, std::max(1L, size.cx), metrics.tmHeight);
        HGDIOBJ oldBitmap = ::SelectObject(dc, bitmap);
        ::PatBlt(dc, 0, 0, size.cx, metrics.tmHeight, WHITENESS);
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, RGB(0, 0, 0));
        ::ExtTextOutW(dc, 0, 0, 0, nullptr, text.c_str(), length, advances.data());
        drawing = CaptureFrom(dc, {0, 0}, std::max(1L, size.cx), metrics.tmHeight);
        ::SelectObject(dc, oldBitmap);
        ::DeleteObject(bitmap);
        ::SelectObject(dc, oldFont);
        ::DeleteDC(dc);
        ::ReleaseDC(nullptr, screen);
    }

    // The first place where the shown pixels hold the drawing, dark and light
    // alike over its ink's box; the line's row is left out. (-1, -1) for none.
    POINT FindIn(const Pixels& shown) const
    {
        CRect ink(0, 0, 0, 0);
        for (int y = 0; y < drawing.height; ++y)
            for (int x = 0; x < drawing.width; ++x)
                if (y != lineRow && IsDark(drawing.At(x, y)))
                    ink.UnionRect(&ink, CRect(x, y, x + 1, y + 1));
        for (int y0 = -ink.top; y0 + ink.bottom <= shown.height; ++y0)
            for (int x0 = -ink.left; x0 + ink.right <= shown.width; ++x0) {
                bool same = !ink.IsRectEmpty();
                for (int y = ink.top; y < ink.bottom && same; ++y)
                    for (int x = ink.left; x < ink.right && same; ++x)
                        same = y == lineRow || IsDark(shown.At(x0 + x, y0 + y)) == IsDark(drawing.At(x, y));
                if (same)
                    return {x0, y0};
            }
        return {-1, -1};
    }

    Pixels drawing;
    std::vector<int> edges;
    int lineRow = 0;
};

// The label with its mark shows in the pixels with its glyphs where the font
// measures them, and its line is under the marked letter's cell alone.
inline void ExpectLineUnderLetter(const Pixels& shown, HFONT font, const std::wstring& text)
{
    const std::string name(text.begin(), text.end());
    const size_t letter = text.find(L'&');
    ASSERT_NE(std::wstring::npos, letter) << name;
    const MeasuredLabel label(font, text.substr(0, letter) + text.substr(letter + 1));
    const POINT at = label.FindIn(shown);
    ASSERT_GE(at.x, 0) << "\"" << name << "\" shows nowhere with its glyphs where the font measures them";
    const int left = at.x + (letter > 0 ? label.edges[letter - 1] : 0);
    const int right = at.x + label.edges[letter];
    const int row = at.y + label.lineRow;
    ASSERT_LT(row, shown.height) << name;
    for (int x = std::max(0, left - 2); x <= std::min(shown.width - 1, right + 1); ++x)
        EXPECT_EQ(IsDark(shown.At(x, row)), x >= left && x < right - 1) << name << " at " << x - at.x;
}

}  // namespace test_support
