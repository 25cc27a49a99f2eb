#include "framework/KWGdipBitmap.h"

#include <windows.h>
#include <gdiplus.h>
#include <gtest/gtest.h>

namespace {

TEST(KWGdipBitmap, HoldsNothingAtFirst)
{
    CKWGdipBitmap holder;
    EXPECT_FALSE(holder.IsValid());
    EXPECT_EQ(nullptr, holder.Get());
    EXPECT_EQ(0, holder.GetWidth());
    EXPECT_EQ(0, holder.GetHeight());
}

TEST(KWGdipBitmap, CreateTruncatesTheSizeAndReplaces)
{
    CKWGdipBitmap holder;
    ASSERT_NE(nullptr, holder.Create(10.9, 5.2));
    EXPECT_TRUE(holder.IsValid());
    EXPECT_EQ(10, holder.GetWidth());
    EXPECT_EQ(5, holder.GetHeight());
    Gdiplus::PixelFormat format = 0;
    Gdiplus::DllExports::GdipGetImagePixelFormat(holder.Get(), &format);
    EXPECT_EQ(static_cast<Gdiplus::PixelFormat>(CKWGdipBitmap::kPixelFormat32bppARGB), format);

    ASSERT_NE(nullptr, holder.Create(3, 4, PixelFormat24bppRGB));
    EXPECT_EQ(3, holder.GetWidth());
    EXPECT_EQ(4, holder.GetHeight());
    Gdiplus::DllExports::GdipGetImagePixelFormat(holder.Get(), &format);
    EXPECT_EQ(PixelFormat24bppRGB, format);
}

TEST(KWGdipBitmap, FailedCreateHoldsNothing)
{
    CKWGdipBitmap holder;
    ASSERT_NE(nullptr, holder.Create(8, 8));
    EXPECT_EQ(nullptr, holder.Create(0, 8));
    EXPECT_FALSE(holder.IsValid());
    EXPECT_EQ(nullptr, holder.Create(8, -1));
    EXPECT_EQ(0, holder.GetWidth());
}

}  // namespace
