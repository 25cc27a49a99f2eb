#include "platform/classlib/Rect.h"

#include <gtest/gtest.h>

TEST(CRect, GeometryOperations) {
    struct Case {
        const char* name;
        CRect (*apply)(CRect);
        CRect expected;
    };
    const Case cases[] = {
        {"inflate", [](CRect r) { r.InflateRect(2, 3); return r; }, CRect(8, 17, 42, 63)},
        {"deflate sides", [](CRect r) { r.DeflateRect(1, 2, 3, 4); return r; }, CRect(11, 22, 37, 56)},
        {"offset", [](CRect r) { r.OffsetRect(-10, 5); return r; }, CRect(0, 25, 30, 65)},
        {"move to", [](CRect r) { r.MoveToXY(0, 0); return r; }, CRect(0, 0, 30, 40)},
        {"intersect", [](CRect r) { return r & CRect(30, 0, 100, 30); }, CRect(30, 20, 40, 30)},
        {"union", [](CRect r) { return r | CRect(0, 0, 5, 5); }, CRect(0, 0, 40, 60)},
        {"no overlap", [](CRect r) { return r & CRect(100, 100, 110, 110); }, CRect(0, 0, 0, 0)},
        {"normalize", [](CRect) { CRect r(40, 60, 10, 20); r.NormalizeRect(); return r; }, CRect(10, 20, 40, 60)},
        {"plus point", [](CRect r) { return r + CPoint(1, 1); }, CRect(11, 21, 41, 61)},
        {"minus size", [](CRect r) { return r - CSize(10, 20); }, CRect(0, 0, 30, 40)},
        {"inflate by rect", [](CRect r) { return r + CRect(1, 2, 3, 4); }, CRect(9, 18, 43, 64)},
    };
    for (const Case& c : cases) {
        CRect result = c.apply(CRect(10, 20, 40, 60));
        EXPECT_TRUE(result == c.expected) << c.name << ": " << result.left << "," << result.top << ","
                                          << result.right << "," << result.bottom;
    }
}

TEST(CRect, Measures) {
    CRect r(10, 20, 40, 60);
    EXPECT_EQ(30, r.Width());
    EXPECT_EQ(40, r.Height());
    EXPECT_TRUE(r.Size() == CSize(30, 40));
    EXPECT_TRUE(r.CenterPoint() == CPoint(25, 40));
    EXPECT_TRUE(r.TopLeft() == CPoint(10, 20));
    EXPECT_TRUE(r.BottomRight() == CPoint(40, 60));
    EXPECT_TRUE(r.PtInRect(CPoint(10, 20)));
    EXPECT_FALSE(r.PtInRect(CPoint(40, 60))) << "right and bottom edges are outside";
    EXPECT_TRUE(CRect(5, 5, 5, 9).IsRectEmpty());
    EXPECT_FALSE(CRect(5, 5, 5, 9).IsRectNull());
    r.TopLeft() = CPoint(0, 0);
    EXPECT_TRUE(r == CRect(0, 0, 40, 60));
}

TEST(CPoint, PackedCoordinatesAreSigned) {
    CPoint p(static_cast<LPARAM>(MAKELONG(static_cast<WORD>(-5), 300)));
    EXPECT_EQ(-5, p.x);
    EXPECT_EQ(300, p.y);
    CSize s(static_cast<DWORD>(MAKELONG(7, static_cast<WORD>(-2))));
    EXPECT_EQ(7, s.cx);
    EXPECT_EQ(-2, s.cy);
    EXPECT_TRUE(CPoint(10, 10) - CPoint(4, 3) == CSize(6, 7));
    EXPECT_TRUE(-CPoint(1, -2) == CPoint(-1, 2));
}
