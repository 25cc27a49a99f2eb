#include "framework/KWDoubleRect.h"

#include <algorithm>
#include <utility>

namespace {

bool IsEmptyRect(const CKWDoubleRect& r) { return r.left == r.right || r.top == r.bottom; }

LONG RoundCoordinate(double v) {
    return static_cast<LONG>(v >= 0 ? v + 0.5000001 : v - 0.5000001);
}

}  // namespace

void CKWDoubleRect::Normalize() {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
}

bool CKWDoubleRect::UnionRect(const CKWDoubleRect& a, const CKWDoubleRect& b) {
    const bool aEmpty = IsEmptyRect(a);
    const bool bEmpty = IsEmptyRect(b);
    if (aEmpty && bEmpty) {
        *this = CKWDoubleRect();
        return false;
    }
    if (aEmpty) {
        *this = b;
        return true;
    }
    if (bEmpty) {
        *this = a;
        return true;
    }
    *this = CKWDoubleRect(std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                          std::max(a.bottom, b.bottom));
    return true;
}

double FitScale(const CKWDoubleRect& rect, const CKWDoubleRect& frame) {
    if (frame.Width() == 0 || frame.Height() == 0) return 0;
    return std::max(rect.Width() / frame.Width(), rect.Height() / frame.Height());
}

void FitRectInRect(CKWDoubleRect& out, const CKWDoubleRect& rect, const CKWDoubleRect& frame) {
    const double scale = FitScale(rect, frame);
    const double centreX = (frame.left + frame.right) / 2;
    const double centreY = (frame.top + frame.bottom) / 2;
    if (scale == 0) {
        out = CKWDoubleRect(centreX, centreY, centreX, centreY);
        return;
    }
    const double halfWidth = rect.Width() / scale / 2;
    const double halfHeight = rect.Height() / scale / 2;
    out = CKWDoubleRect(centreX - halfWidth, centreY - halfHeight, centreX + halfWidth, centreY + halfHeight);
}

RECT FitRectInFrame(RECT rect, RECT frame) {
    CKWDoubleRect fitted;
    FitRectInRect(fitted, CKWDoubleRect(rect.left, rect.top, rect.right, rect.bottom),
                  CKWDoubleRect(frame.left, frame.top, frame.right, frame.bottom));
    RECT result;
    result.left = RoundCoordinate(fitted.left);
    result.top = RoundCoordinate(fitted.top);
    result.right = RoundCoordinate(fitted.right);
    result.bottom = RoundCoordinate(fitted.bottom);
    return result;
}
