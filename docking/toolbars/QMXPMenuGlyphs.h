#pragma once
// CQMXPMenuGlyphs: the library's strip of small 9 × 9 menu glyphs (arrows,
// check mark, window-button symbols), in four colour sets: 0 black, 1 grey,
// 2 light grey, 3 white. The strip loads on first use.
#include "platform/classlib/Rect.h"

class CDC;
class CQMXPToolBarImages;

class CQMXPMenuGlyphs {
public:
    // The glyphs the library draws.
    enum Glyph {
        IdArowDown = 0,
        IdArowRight = 1,
        IdCheck = 2,
        IdMinimize = 3,
        IdRestore = 4,
        IdClose = 5,
        IdMaximize = 6,
        IdArowUp = 7,
        IdArowShowAll = 8,
        IdArowLeft = 9,
        IdArowFirst = 10,
        IdMoreButtons = 11,
        IdRadio = 12,
        IdArowDownLarge = 13,
        IdArowRightTab = 14,
        IdMaximizeState = 15,
        IdMaximizeAll = 16,
        IdArowLeftTab = 17,
        IdArowFirstTab = 18,
        IdArowLastTab = 19,
        IdArowRightTab3d = 20,
        IdArowLeftTab3d = 21,
        IdPinVertical = 22,
        IdPinHorizontal = 23,
        IdArowUpLarge = 24,
    };
    // The colour sets of Draw.
    enum Style { ImageBlack = 0, ImageGray = 1, ImageLtGray = 2, ImageWhite = 3 };

    // Loads the strip once; FALSE when the bitmap cannot be loaded.
    static BOOL Load();
    // Draws one glyph at the point (at its own size when sizeImage is empty);
    // FALSE when the strip cannot be loaded.
    static BOOL Draw(CDC* pDC, int iGlyph, CPoint ptImage, int nStyle = ImageBlack, CSize sizeImage = CSize(0, 0));
    // The glyph in the middle of the rectangle (at its own size when sizeImage is empty).
    static BOOL DrawCentered(CDC* pDC, int iGlyph, const CRect& rect, int nStyle = ImageBlack,
                             CSize sizeImage = CSize(0, 0));
    // Forgets the strips; the next Draw loads them again.
    static void CleanUp();
    // Re-creates the colour sets after the system colours changed, when loaded.
    static void RefreshColors();
    // The size of one glyph (loads the strip first).
    static CSize GetSize();

    // The four colour sets, built in the library's globals.
    static CQMXPToolBarImages s_images[4];
};
