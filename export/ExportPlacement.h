#pragma once
// Where an item of a given size goes inside a cell. Every writer and the page
// view place pictures and watermarks with it. Rectangles and sizes are in the
// caller's units (page fractions, tenths of a millimetre or pixels alike).
#include "framework/KWDoubleRect.h"

enum : int {
    kPlaceFit = 0,      // scaled into the result rectangle, proportions kept, centred
    kPlaceStretch = 1,  // the cell itself
    kPlaceOwnSize = 2,  // at its own size, aligned by the place code
};

// Mode 2 aligns by place code (0 top left ... 8 bottom right; others: top
// left). In the fit mode result is also an input: a rectangle relative to the
// cell's far corner (its x values times cell.right, its y values times
// cell.bottom). An item without a size (an unreadable picture) is stretched
// to that box instead of being divided by zero.
void PlaceInCell(const CKWDoubleRect& cell, double width, double height, CKWDoubleRect& result,
                 int mode, int alignment);
