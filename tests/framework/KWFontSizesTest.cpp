#include "framework/KWFontSizes.h"

#include <gtest/gtest.h>

namespace {

TEST(KWFontSizesTest, NextSize) {
    const int32_t cases[][2] = {{12, 14}, {13, 14}, {72, 72}, {100, 72}, {5, 6}, {-3, 6}, {6, 8}, {29, 36}, {48, 72}};
    for (const auto& c : cases) EXPECT_EQ(GetNextFontSize(c[0]), c[1]) << c[0];
}

TEST(KWFontSizesTest, PreviousSize) {
    const int32_t cases[][2] = {{14, 12}, {13, 12}, {6, 6}, {4, 4}, {100, 72}, {72, 48}, {7, 6}, {8, 6}, {-1, -1}};
    for (const auto& c : cases) EXPECT_EQ(GetPrevFontSize(c[0]), c[1]) << c[0];
}

}  // namespace
