#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "export/ExportPlacement.h"

namespace {

void ExpectRect(const CKWDoubleRect& expected, const CKWDoubleRect& actual, const char* what)
{
    EXPECT_NEAR(expected.left, actual.left, 1e-9) << what;
    EXPECT_NEAR(expected.top, actual.top, 1e-9) << what;
    EXPECT_NEAR(expected.right, actual.right, 1e-9) << what;
    EXPECT_NEAR(expected.bottom, actual.bottom, 1e-9) << what;
}

TEST(PlaceInCellTest, OwnSizeAlignsByPlaceCode)
{
    const CKWDoubleRect cell(0, 0, 100, 50);
    // Columns: left 0, centre 40, right 80; rows: top 0, middle 20, bottom 40.
    struct Case {
        int alignment;
        double left, top;
    } cases[] = {{0, 0, 0},  {1, 40, 0},  {2, 80, 0},  {3, 0, 20}, {4, 40, 20}, {5, 80, 20},
                 {6, 0, 40}, {7, 40, 40}, {8, 80, 40}, {9, 0, 0},  {-1, 0, 0},  {100, 0, 0}};
    for (const Case& c : cases) {
        CKWDoubleRect result(-5, -5, -5, -5);
        PlaceInCell(cell, 20, 10, result, kPlaceOwnSize, c.alignment);
        ExpectRect(CKWDoubleRect(c.left, c.top, c.left + 20, c.top + 10), result,
                   std::to_string(c.alignment).c_str());
    }
}

TEST(PlaceInCellTest, OwnSizeOverflowsALargerItemEvenly)
{
    CKWDoubleRect result;
    PlaceInCell(CKWDoubleRect(10, 10, 30, 20), 40, 30, result, kPlaceOwnSize, 4);
    ExpectRect(CKWDoubleRect(0, 0, 40, 30), result, "centre");
    PlaceInCell(CKWDoubleRect(10, 10, 30, 20), 40, 30, result, kPlaceOwnSize, 8);
    ExpectRect(CKWDoubleRect(-10, -10, 30, 20), result, "bottom right");
}

TEST(PlaceInCellTest, StretchGivesTheCell)
{
    CKWDoubleRect result(1, 2, 3, 4);
    PlaceInCell(CKWDoubleRect(5, 6, 70, 80), 3, 4, result, kPlaceStretch, 4);
    ExpectRect(CKWDoubleRect(5, 6, 70, 80), result, "stretch");
}

TEST(PlaceInCellTest, FitScalesTheRelativeBoxAndCentres)
{
    const CKWDoubleRect page(0, 0, 2100, 2970);
    struct Case {
        CKWDoubleRect box;
        double width, height;
        CKWDoubleRect expected;
    } cases[] = {
        // Wide item in the upper half: touches left and right.
        {{0, 0, 1, 0.5}, 400, 100, {0, 480, 2100, 1005}},
        // Tall item in the whole page: touches top and bottom.
        {{0, 0, 1, 1}, 100, 297, {(2100 - 1000) / 2.0, 0, (2100 + 1000) / 2.0, 2970}},
        // A tiny item grows to the box.
        {{0.5, 0.5, 1, 1}, 1, 1, {1050, 1485 + (1485 - 1050) / 2.0, 2100, 1485 + (1485 + 1050) / 2.0}},
    };
    for (const Case& c : cases) {
        CKWDoubleRect result = c.box;
        PlaceInCell(page, c.width, c.height, result, kPlaceFit, 4);
        ExpectRect(c.expected, result, "fit");
        EXPECT_NEAR(c.width / c.height, result.Width() / result.Height(), 1e-9);
    }
}

TEST(PlaceInCellTest, FitWithoutItemSizeTakesTheBox)
{
    // An unreadable picture measures 0 x 0: no NaN may reach an export.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        double width, height;
    } cases[] = {{0, 0}, {0, 10}, {10, 0}, {-3, 5}, {nan, 5}};
    for (const Case& c : cases) {
        CKWDoubleRect result(0.25, 0.5, 0.75, 1);
        PlaceInCell(CKWDoubleRect(0, 0, 200, 100), c.width, c.height, result, kPlaceFit, 0);
        ExpectRect(CKWDoubleRect(50, 50, 150, 100), result, "0 x 0");
    }
    // A flat box holds nothing but stays finite.
    CKWDoubleRect flat(0, 0.5, 1, 0.5);
    PlaceInCell(CKWDoubleRect(0, 0, 200, 100), 10, 10, flat, kPlaceFit, 0);
    EXPECT_TRUE(std::isfinite(flat.left) && std::isfinite(flat.top) && std::isfinite(flat.right) &&
                std::isfinite(flat.bottom));
    ExpectRect(CKWDoubleRect(0, 50, 200, 50), flat, "flat");
}

}  // namespace
