#include "framework/KWFont.h"

#include <gdiplus.h>
#include <gtest/gtest.h>

#include <string>

namespace {

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

// The drawing layer owns GDI+ in the program; the tests start it themselves.
class KWFontTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        GdiplusStartupInput input;
        ASSERT_EQ(Ok, GdiplusStartup(&s_token, &input, nullptr));
    }

    static void TearDownTestSuite()
    {
        GdiplusShutdown(s_token);
        s_token = 0;
    }

    static std::wstring FamilyName(GpFontFamily* family)
    {
        WCHAR name[LF_FACESIZE] = {};
        if (!family || GdipGetFamilyName(family, name, 0) != Ok)
            return std::wstring();
        return name;
    }

    // The family that "Arial" resolves to on this system.
    static std::wstring ArialFamilyName()
    {
        GpFontFamily* family = nullptr;
        if (GdipCreateFontFamilyFromName(L"Arial", nullptr, &family) != Ok)
            return std::wstring();
        std::wstring name = FamilyName(family);
        GdipDeleteFontFamily(family);
        return name;
    }

    struct Shape {
        REAL size = 0;
        INT style = -1;
        Unit unit = UnitWorld;
    };

    static Shape ShapeOf(const CKWFontData& font)
    {
        Shape shape;
        GdipGetFontSize(font.GetFont(), &shape.size);
        GdipGetFontStyle(font.GetFont(), &shape.style);
        GdipGetFontUnit(font.GetFont(), &shape.unit);
        return shape;
    }

    static ULONG_PTR s_token;
};

ULONG_PTR KWFontTest::s_token = 0;

TEST_F(KWFontTest, SetFontMakesAPixelFontOfTheFace)
{
    const std::wstring arial = ArialFamilyName();
    ASSERT_FALSE(arial.empty());

    CKWFontData font;
    ASSERT_TRUE(font.SetFont(L"Arial", 17.0, FontStyleBold | FontStyleItalic));
    ASSERT_NE(nullptr, font.GetFont());
    EXPECT_EQ(arial, FamilyName(font.GetFamily()));
    const Shape shape = ShapeOf(font);
    EXPECT_EQ(17.0f, shape.size);
    EXPECT_EQ(FontStyleBold | FontStyleItalic, shape.style);
    EXPECT_EQ(UnitPixel, shape.unit);
}

TEST_F(KWFontTest, SetFontFallsBackToArialOfTheSameSizeAndStyle)
{
    const std::wstring arial = ArialFamilyName();
    ASSERT_FALSE(arial.empty());

    CKWFontData font;
    ASSERT_TRUE(font.SetFont(L"No Such Face 7f3a", 23.5, FontStyleItalic | FontStyleUnderline));
    EXPECT_EQ(arial, FamilyName(font.GetFamily()));
    const Shape shape = ShapeOf(font);
    EXPECT_EQ(23.5f, shape.size);
    EXPECT_EQ(FontStyleItalic | FontStyleUnderline, shape.style);
    EXPECT_EQ(UnitPixel, shape.unit);

    CKWFontData noFace;
    EXPECT_TRUE(noFace.SetFont(nullptr, 9.0, FontStyleRegular));
    EXPECT_EQ(arial, FamilyName(noFace.GetFamily()));
}

TEST_F(KWFontTest, CreateFontHasNoFallbackAndReplacesTheOldFont)
{
    CKWFontData font;
    font.CreateFont(L"Arial", 12.0, FontStyleBold, UnitPoint);
    ASSERT_NE(nullptr, font.GetFont());
    EXPECT_EQ(UnitPoint, ShapeOf(font).unit);

    font.CreateFont(L"No Such Face 7f3a", 12.0, FontStyleBold, UnitPoint);
    EXPECT_EQ(nullptr, font.GetFont());
    EXPECT_EQ(nullptr, font.GetFamily());

    LOGFONTW logFont = {};
    EXPECT_FALSE(font.GetLogFont(logFont));
}

TEST_F(KWFontTest, FontWithUnitFallsBackToArial)
{
    const CKWFont font(L"No Such Face 7f3a", 12.0, FontStyleStrikeout, UnitPoint);
    EXPECT_EQ(ArialFamilyName(), FamilyName(font.GetFamily()));
    const Shape shape = ShapeOf(font);
    EXPECT_EQ(12.0f, shape.size);
    EXPECT_EQ(FontStyleStrikeout, shape.style);
    EXPECT_EQ(UnitPoint, shape.unit);
}

TEST_F(KWFontTest, GetLogFontDescribesFaceHeightAndStyle)
{
    struct Case {
        int style;
        LONG weight;
        BYTE italic, underline, strikeout;
    } cases[] = {
        {FontStyleRegular, FW_NORMAL, 0, 0, 0},
        {FontStyleBold | FontStyleItalic, FW_BOLD, 1, 0, 0},
        {FontStyleUnderline | FontStyleStrikeout, FW_NORMAL, 0, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        CKWFont font;
        ASSERT_TRUE(font.SetFont(L"Arial", 20.0, c.style));
        LOGFONTW logFont = {};
        ASSERT_TRUE(font.GetLogFont(logFont));
        EXPECT_EQ(-20, logFont.lfHeight);
        EXPECT_EQ(c.weight, logFont.lfWeight);
        EXPECT_EQ(c.italic, logFont.lfItalic);
        EXPECT_EQ(c.underline, logFont.lfUnderline);
        EXPECT_EQ(c.strikeout, logFont.lfStrikeOut);
        EXPECT_EQ(FamilyName(font.GetFamily()), std::wstring(logFont.lfFaceName));
    }
}

}  // namespace
