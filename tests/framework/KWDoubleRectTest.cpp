#include "framework/KWDoubleRect.h"

#include <gtest/gtest.h>

namespace {

void ExpectRect(const CKWDoubleRect& r, double left, double top, double right, double bottom) {
    EXPECT_DOUBLE_EQ(r.GetLeft(), left);
    EXPECT_DOUBLE_EQ(r.GetTop(), top);
    EXPECT_DOUBLE_EQ(r.GetRight(), right);
    EXPECT_DOUBLE_EQ(r.GetBottom(), bottom);
}

TEST(KWDoubleRectTest, Normalize) {
    CKWDoubleRect r(10, 20, -5, 3);
    r.Normalize();
    ExpectRect(r, -5, 3, 10, 20);
    r.Normalize();
    ExpectRect(r, -5, 3, 10, 20);
}

TEST(KWDoubleRectTest, UnionRect) {
    CKWDoubleRect r;
    EXPECT_TRUE(r.UnionRect(CKWDoubleRect(0, 0, 10, 10), CKWDoubleRect(5, -5, 20, 8)));
    ExpectRect(r, 0, -5, 20, 10);

    // An empty rectangle is ignored, whatever its position.
    EXPECT_TRUE(r.UnionRect(CKWDoubleRect(100, 100, 100, 200), CKWDoubleRect(1, 2, 3, 4)));
    ExpectRect(r, 1, 2, 3, 4);
    EXPECT_TRUE(r.UnionRect(CKWDoubleRect(1, 2, 3, 4), CKWDoubleRect(-50, 7, 60, 7)));
    ExpectRect(r, 1, 2, 3, 4);

    EXPECT_FALSE(r.UnionRect(CKWDoubleRect(1, 1, 1, 5), CKWDoubleRect(2, 3, 4, 3)));
    ExpectRect(r, 0, 0, 0, 0);

    // The sides are combined as given, without normalizing.
    EXPECT_TRUE(r.UnionRect(CKWDoubleRect(10, 10, 0, 0), CKWDoubleRect(2, 2, 4, 4)));
    ExpectRect(r, 2, 2, 4, 4);
}

TEST(KWDoubleRectTest, FitScale) {
    EXPECT_DOUBLE_EQ(FitScale(CKWDoubleRect(0, 0, 100, 50), CKWDoubleRect(0, 0, 200, 200)), 0.5);
    EXPECT_DOUBLE_EQ(FitScale(CKWDoubleRect(0, 0, 100, 400), CKWDoubleRect(0, 0, 200, 200)), 2);
    EXPECT_DOUBLE_EQ(FitScale(CKWDoubleRect(0, 0, 100, 50), CKWDoubleRect(5, 5, 5, 200)), 0);
    EXPECT_DOUBLE_EQ(FitScale(CKWDoubleRect(0, 0, 100, 50), CKWDoubleRect(5, 5, 20, 5)), 0);
}

TEST(KWDoubleRectTest, FitRectInRect) {
    CKWDoubleRect out;
    FitRectInRect(out, CKWDoubleRect(0, 0, 100, 50), CKWDoubleRect(10, 20, 110, 220));
    ExpectRect(out, 10, 95, 110, 145);
    FitRectInRect(out, CKWDoubleRect(7, 7, 17, 47), CKWDoubleRect(0, 0, 100, 100));
    ExpectRect(out, 37.5, 0, 62.5, 100);
    // Without a scale the result has no size and sits in the frame's centre.
    FitRectInRect(out, CKWDoubleRect(0, 0, 100, 50), CKWDoubleRect(0, 0, 0, 80));
    ExpectRect(out, 0, 40, 0, 40);
    FitRectInRect(out, CKWDoubleRect(3, 3, 3, 3), CKWDoubleRect(0, 0, 60, 80));
    ExpectRect(out, 30, 40, 30, 40);
}

TEST(KWDoubleRectTest, FitRectInFrame) {
    struct Case {
        RECT rect;
        RECT frame;
        RECT expected;
    };
    const Case cases[] = {
        {{0, 0, 100, 50}, {0, 0, 200, 200}, {0, 50, 200, 150}},
        {{0, 0, 3, 1}, {0, 0, 10, 10}, {0, 3, 10, 7}},        // 3.333 and 6.667 round to 3 and 7
        {{0, 0, 1, 1}, {-3, -3, 0, 0}, {-3, -3, 0, 0}},
        {{0, 0, 2, 1}, {-5, -5, 0, 0}, {-5, -4, 0, -1}},      // -3.75 and -1.25 round away from zero
        {{0, 0, 4, 1}, {0, 0, 10, 10}, {0, 4, 10, 6}},        // 3.75 and 6.25
    };
    for (const Case& c : cases) {
        const RECT r = FitRectInFrame(c.rect, c.frame);
        EXPECT_EQ(r.left, c.expected.left);
        EXPECT_EQ(r.top, c.expected.top);
        EXPECT_EQ(r.right, c.expected.right);
        EXPECT_EQ(r.bottom, c.expected.bottom);
    }
}

}  // namespace
