#pragma once
// A rectangle with double coordinates and the fitting of one rectangle into another.
#include <windows.h>

struct CKWDoubleRect {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;

    CKWDoubleRect() = default;
    CKWDoubleRect(double l, double t, double r, double b) : left(l), top(t), right(r), bottom(b) {}

    double GetLeft() const { return left; }
    double GetTop() const { return top; }
    double GetRight() const { return right; }
    double GetBottom() const { return bottom; }
    double Width() const { return right - left; }
    double Height() const { return bottom - top; }

    // Swaps the sides so that left <= right and top <= bottom.
    void Normalize();

    // Becomes the union of a and b (taken as they are, not normalized); an
    // empty one (zero width or height) is ignored. Both empty: all 0 and false.
    bool UnionRect(const CKWDoubleRect& a, const CKWDoubleRect& b);
};

// The factor by which rect is larger than frame in its tighter direction;
// 0 when the frame has zero width or height.
double FitScale(const CKWDoubleRect& rect, const CKWDoubleRect& frame);

// rect scaled to fit frame and centred in it. When there is no scale (an
// empty frame or rectangle), the result is the empty rectangle at the frame's centre.
void FitRectInRect(CKWDoubleRect& out, const CKWDoubleRect& rect, const CKWDoubleRect& frame);

// The same on whole-number rectangles, each coordinate rounded half away from zero.
RECT FitRectInFrame(RECT rect, RECT frame);
