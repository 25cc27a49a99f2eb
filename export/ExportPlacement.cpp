#include "export/ExportPlacement.h"

#include <algorithm>
#include <cmath>

namespace {

bool IsCentreColumn(int alignment) { return alignment == 1 || alignment == 4 || alignment == 7; }
bool IsRightColumn(int alignment) { return alignment == 2 || alignment == 5 || alignment == 8; }
bool IsMiddleRow(int alignment) { return alignment >= 3 && alignment <= 5; }
bool IsBottomRow(int alignment) { return alignment >= 6 && alignment <= 8; }

bool IsUsableLength(double v) { return v > 0 && std::isfinite(v); }

}  // namespace

void PlaceInCell(const CKWDoubleRect& cell, double width, double height, CKWDoubleRect& result,
                 int mode, int alignment)
{
    if (mode == kPlaceStretch) {
        result = cell;
        return;
    }
    if (mode == kPlaceOwnSize) {
        double left = cell.left;
        double top = cell.top;
        if (IsCentreColumn(alignment))
            left = cell.left + (cell.right - cell.left - width) * 0.5;
        else if (IsRightColumn(alignment))
            left = cell.left + (cell.right - cell.left - width);
        if (IsMiddleRow(alignment))
            top = cell.top + (cell.bottom - cell.top - height) * 0.5;
        else if (IsBottomRow(alignment))
            top = cell.top + (cell.bottom - cell.top - height);
        result = CKWDoubleRect(left, top, left + width, top + height);
        return;
    }

    CKWDoubleRect box(result.left * cell.right, result.top * cell.bottom, result.right * cell.right,
                      result.bottom * cell.bottom);
    const double boxWidth = box.Width();
    const double boxHeight = box.Height();
    // A 0 x 0 item (unreadable picture) or a flat box has no proportions to
    // keep: the item takes the box rather than NaN coordinates.
    if (!IsUsableLength(width) || !IsUsableLength(height) || !IsUsableLength(boxWidth) ||
        !IsUsableLength(boxHeight)) {
        result = box;
        return;
    }
    const double factor = 1.0 / std::max(width / boxWidth, height / boxHeight);
    const double scaledWidth = width * factor;
    const double scaledHeight = height * factor;
    result.left = box.left + (boxWidth - scaledWidth) * 0.5;
    result.top = box.top + (boxHeight - scaledHeight) * 0.5;
    result.right = result.left + scaledWidth;
    result.bottom = result.top + scaledHeight;
}
