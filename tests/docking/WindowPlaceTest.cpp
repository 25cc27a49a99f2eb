// Where the library puts a window over its frame: centred over an area, or
// beside a window it must not cover, inside the work area.
#include "docking/frames/QMXPWindowPlace.h"

#include <gtest/gtest.h>

namespace {

const CRect kWork(0, 0, 1400, 1000);

struct CentredCase {
    const char* what;
    CSize size;
    CRect area;
    CPoint place;
};

struct BesideCase {
    const char* what;
    CSize size;
    CRect avoid;
    CPoint place;
};

}  // namespace

TEST(WindowPlace, CentredOverTheAreaAndMovedInsideTheWorkArea)
{
    const CentredCase cases[] = {
        {"the area below a frame's bars", CSize(642, 551), CRect(0, 117, 1400, 981), CPoint(379, 273)},
        {"an area near the right edge", CSize(400, 300), CRect(1200, 100, 1400, 300), CPoint(1000, 50)},
        {"an area above the screen", CSize(200, 100), CRect(100, -300, 300, -100), CPoint(100, 0)},
        {"a window larger than the work area keeps its top-left in it", CSize(1600, 1200), CRect(0, 0, 1400, 1000),
         CPoint(0, 0)},
    };
    for (const CentredCase& c : cases) {
        const CPoint place = QMXPCentredOver(c.size, c.area, kWork);
        EXPECT_EQ(c.place.x, place.x) << c.what;
        EXPECT_EQ(c.place.y, place.y) << c.what;
    }
}

TEST(WindowPlace, BesideTheWindowOnTheFirstSideWithRoom)
{
    const BesideCase cases[] = {
        {"room at the right", CSize(60, 40), CRect(400, 300, 1000, 700), CPoint(1000, 300)},
        {"the right full: the left", CSize(60, 40), CRect(400, 300, 1380, 700), CPoint(340, 300)},
        {"both sides full: below", CSize(60, 40), CRect(20, 300, 1380, 700), CPoint(20, 700)},
        {"below full too: above", CSize(60, 40), CRect(20, 300, 1380, 980), CPoint(20, 260)},
        {"no side with room: the work area's middle", CSize(60, 40), CRect(20, 20, 1380, 980), CPoint(670, 480)},
        {"a top near the bottom edge is moved up", CSize(60, 400), CRect(400, 800, 1000, 990), CPoint(1000, 600)},
    };
    for (const BesideCase& c : cases) {
        const CPoint place = QMXPBeside(c.size, c.avoid, kWork);
        EXPECT_EQ(c.place.x, place.x) << c.what;
        EXPECT_EQ(c.place.y, place.y) << c.what;
        const CRect placed(place, c.size);
        CRect over;
        if (c.avoid.Width() < kWork.Width() - 2 * c.size.cx || c.avoid.Height() < kWork.Height() - 2 * c.size.cy)
            EXPECT_FALSE(over.IntersectRect(&placed, &c.avoid)) << c.what;
    }
}
