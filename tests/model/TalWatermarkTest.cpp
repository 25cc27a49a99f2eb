#include <gtest/gtest.h>

#include "model/TalWatermark.h"

TEST(TalWatermarkTest, CopyEqualsItsSourceInEveryField)
{
    CTalWatermark w;
    w.m_kind = CTalWatermark::kImage;
    w.m_sendToFront = 1;
    w.m_name = L"Logo";
    w.m_place = 8;
    w.m_textFormat.m_style = CTalTextFormat::kBold;
    w.m_textFormat.m_spacing = 1.5f;
    w.m_text = L"Draft";
    w.m_firstNumber = 3;
    w.m_pictureId = 200;
    w.m_constrain = 0;
    w.m_unit = CTalWatermark::kUnitMillimetre;
    w.m_width = 12.5;
    w.m_height = 7.25;
    w.m_spareRect = CKWDoubleRect(1, 2, 3, 4);
    const CTalWatermark copy(w);
    EXPECT_TRUE(copy == w);
    CTalWatermark other;
    EXPECT_FALSE(other == w);
    other = w;
    EXPECT_TRUE(other == w);
    other.m_spareRect.bottom = 5;
    EXPECT_FALSE(other == w) << "the spare rectangle counts";
}

TEST(TalWatermarkTest, UnitsConvertToInches)
{
    struct Case {
        int32_t unit;
        double width, height, inchesWide, inchesHigh;
    };
    const Case cases[] = {
        {CTalWatermark::kUnitMillimetre, 50.8, 25.4, 2.0, 1.0},
        {CTalWatermark::kUnitDefault, 50.8, 25.4, 50.8, 25.4},
        {CTalWatermark::kUnitInch, 50.8, 25.4, 50.8, 25.4},
        {0, 3.0, 4.0, 3.0, 4.0},
    };
    for (const Case& c : cases) {
        CTalWatermark w;
        w.m_unit = c.unit;
        w.m_width = c.width;
        w.m_height = c.height;
        EXPECT_NEAR(c.inchesWide, w.GetWidthInInches(), 1e-12) << c.unit;
        EXPECT_NEAR(c.inchesHigh, w.GetHeightInInches(), 1e-12) << c.unit;
    }
}

TEST(TalWatermarkTest, ImagePlacesOnTheWholePage)
{
    // A 2 x 1 inch image on an 8.5 x 11 inch page.
    struct Case {
        int32_t place;
        double left, top;
    };
    const Case cases[] = {
        {0, 0, 0},     {1, 3.25, 0},    {2, 6.5, 0},    {3, 0, 5},      {4, 3.25, 5},
        {5, 6.5, 5},   {6, 0, 10},      {7, 3.25, 10},  {8, 6.5, 10},   {42, 3.25, 0},
    };
    CTalWatermark w;
    w.m_kind = CTalWatermark::kImage;
    w.m_unit = CTalWatermark::kUnitMillimetre;
    w.m_width = 50.8;
    w.m_height = 25.4;
    for (const Case& c : cases) {
        w.m_place = c.place;
        const CKWDoubleRect r = w.GetImageRect(8.5, 11.0);
        EXPECT_NEAR(c.left, r.left, 1e-12) << c.place;
        EXPECT_NEAR(c.top, r.top, 1e-12) << c.place;
        EXPECT_NEAR(2.0, r.Width(), 1e-12) << c.place;
        EXPECT_NEAR(1.0, r.Height(), 1e-12) << c.place;
    }
    w.m_place = 8;
    const CKWDoubleRect corner = w.GetImageRect(8.5, 11.0);
    EXPECT_NEAR(8.5, corner.right, 1e-12);
    EXPECT_NEAR(11.0, corner.bottom, 1e-12);
}

TEST(TalWatermarkTest, PageNumbersSkipOnlyTheTitlePage)
{
    CTalWatermark w;
    w.m_kind = CTalWatermark::kPageNumber;
    // Title page, contents page, three section pages.
    EXPECT_EQ(CString(L"2"), w.FormatPageNumber(2, true));
    EXPECT_EQ(CString(L"3"), w.FormatPageNumber(3, true));
    EXPECT_EQ(CString(L"4"), w.FormatPageNumber(4, true));
    // Title page and three section pages.
    EXPECT_EQ(1, w.GetPageNumber(1, true));
    EXPECT_EQ(2, w.GetPageNumber(2, true));
    EXPECT_EQ(3, w.GetPageNumber(3, true));
    // No title page: the first page shows the first number.
    w.m_firstNumber = 5;
    EXPECT_EQ(5, w.GetPageNumber(0, false));
    EXPECT_EQ(CString(L"7"), w.FormatPageNumber(2, false));
}
