// GDI+ fonts of the drawing layer, the face storage and name pool behind the
// font table of styled text, and the font-size steps.
#include "framework/KWFont.h"
#include "framework/KWFontFaceStorage.h"
#include "framework/KWFontSizes.h"

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
    static void TearDownTestSuite() { GdiplusShutdown(s_token); }

    static std::wstring FamilyName(GpFontFamily* family)
    {
        WCHAR name[LF_FACESIZE] = {};
        if (!family || GdipGetFamilyName(family, name, 0) != Ok)
            return std::wstring();
        return name;
    }

    static ULONG_PTR s_token;
};

ULONG_PTR KWFontTest::s_token = 0;

TEST_F(KWFontTest, FontsOfAFaceOrArialWithTheirSizeStyleAndUnit)
{
    GpFontFamily* family = nullptr;
    ASSERT_EQ(Ok, GdipCreateFontFamilyFromName(L"Arial", nullptr, &family));
    const std::wstring arial = FamilyName(family);
    GdipDeleteFontFamily(family);

    const struct {
        const wchar_t* face;
        REAL size;
        INT style;
        bool withUnit;  // CKWFont with the point unit, else SetFont (pixels)
    } cases[] = {
        {L"Arial", 17, FontStyleBold | FontStyleItalic, false},
        {L"No Such Face 7f3a", 23.5, FontStyleItalic | FontStyleUnderline, false},
        {nullptr, 9, FontStyleRegular, false},
        {L"No Such Face 7f3a", 12, FontStyleStrikeout, true},
    };
    for (const auto& c : cases) {
        CKWFontData set;
        if (!c.withUnit) {
            ASSERT_TRUE(set.SetFont(c.face, c.size, c.style));
        }
        const CKWFont unit(c.withUnit ? c.face : L"Arial", c.size, c.style, UnitPoint);
        const CKWFontData& font = c.withUnit ? static_cast<const CKWFontData&>(unit) : set;
        EXPECT_EQ(arial, FamilyName(font.GetFamily())) << c.size << ": the face or Arial in its place";
        REAL size = 0;
        INT style = -1;
        Unit fontUnit = UnitWorld;
        GdipGetFontSize(font.GetFont(), &size);
        GdipGetFontStyle(font.GetFont(), &style);
        GdipGetFontUnit(font.GetFont(), &fontUnit);
        EXPECT_EQ(c.size, size);
        EXPECT_EQ(c.style, style);
        EXPECT_EQ(c.withUnit ? UnitPoint : UnitPixel, fontUnit);
    }

    // CreateFont has no fallback and replaces the old font.
    CKWFontData font;
    font.CreateFont(L"Arial", 12.0, FontStyleBold, UnitPoint);
    ASSERT_NE(nullptr, font.GetFont());
    font.CreateFont(L"No Such Face 7f3a", 12.0, FontStyleBold, UnitPoint);
    EXPECT_EQ(nullptr, font.GetFont());
    EXPECT_EQ(nullptr, font.GetFamily());
    LOGFONTW logFont = {};
    EXPECT_FALSE(font.GetLogFont(logFont));
}

TEST_F(KWFontTest, GetLogFontDescribesFaceHeightAndStyle)
{
    const struct {
        int style;
        LONG weight;
        BYTE italic, underline, strikeout;
    } cases[] = {
        {FontStyleRegular, FW_NORMAL, 0, 0, 0},
        {FontStyleBold | FontStyleItalic, FW_BOLD, 1, 0, 0},
        {FontStyleUnderline | FontStyleStrikeout, FW_NORMAL, 0, 1, 1},
    };
    for (const auto& c : cases) {
        CKWFont font;
        ASSERT_TRUE(font.SetFont(L"Arial", 20.0, c.style));
        LOGFONTW logFont = {};
        ASSERT_TRUE(font.GetLogFont(logFont));
        EXPECT_EQ(-20, logFont.lfHeight);
        EXPECT_EQ(c.weight, logFont.lfWeight) << c.style;
        EXPECT_EQ(c.italic, logFont.lfItalic) << c.style;
        EXPECT_EQ(c.underline, logFont.lfUnderline) << c.style;
        EXPECT_EQ(c.strikeout, logFont.lfStrikeOut) << c.style;
        EXPECT_EQ(FamilyName(font.GetFamily()), std::wstring(logFont.lfFaceName));
    }
}

TEST(KWFontFacePool, EqualNamesGiveTheSameStringThatStaysWhileThePoolGrows)
{
    const std::wstring* a = CKWFontFaceStorage::GetFace(L"Pool Face A");
    EXPECT_EQ(a, CKWFontFaceStorage::GetFace(std::wstring(L"Pool Face A")));
    EXPECT_NE(a, CKWFontFaceStorage::GetFace(L"pool face a"));
    size_t before = CKWFontFaceStorage::GetPoolSize();
    for (int i = 0; i < 200; ++i)
        CKWFontFaceStorage::GetFace(L"Pool Grow " + std::to_wstring(i));
    EXPECT_EQ(CKWFontFaceStorage::GetPoolSize(), before + 200);
    EXPECT_EQ(CKWFontFaceStorage::GetFace(L"Pool Face A"), a);
    EXPECT_EQ(*a, L"Pool Face A");
}

TEST(KWFontFaceStorage, FacesSortOrdinallyOnceEachWithTheirCharsets)
{
    CKWFontFaceStorage storage;
    storage.AddFace(L"tahoma", 1, 0);
    storage.AddFace(L"Verdana", 1, 0);
    storage.AddFace(L"Arial", CKWFontFaceStorage::kTrueType, 0);
    storage.AddFace(L"Arial", CKWFontFaceStorage::kDevice, 204);
    storage.AddFace(L"Arial", CKWFontFaceStorage::kTrueType, 0);
    storage.AddFace(L"Arial", CKWFontFaceStorage::kTrueType, 161);
    storage.AddFace(L"Tahoma", 1, 0);
    ASSERT_EQ(storage.GetCount(), 4u);
    const wchar_t* order[] = {L"Arial", L"Tahoma", L"Verdana", L"tahoma"};
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(*storage.GetAt(i)->name, order[i]);
    EXPECT_EQ(storage.GetAt(4), nullptr);
    const CKWFontFace* face = storage.FindFace(L"Arial");
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face->type, CKWFontFaceStorage::kTrueType) << "adding a face again only adds its charset";
    EXPECT_EQ(face->charsets, (std::vector<uint8_t>{0, 161, 204}));
    EXPECT_EQ(face->name, CKWFontFaceStorage::GetFace(L"Arial"));
    EXPECT_NE(storage.FindFace(L"tahoma"), storage.FindFace(L"Tahoma"));
    for (const wchar_t* absent : {L"TAHOMA", L"Tahoma ", L""})
        EXPECT_EQ(storage.FindFace(absent), nullptr) << absent;
}

TEST(KWFontFaceStorage, FillsFromTheScreensFontsOnce)
{
    CKWFontFaceStorage storage;
    EXPECT_FALSE(storage.IsFilled());
    storage.EnsureFilled();
    EXPECT_TRUE(storage.IsFilled());
    size_t count = storage.GetCount();
    ASSERT_GT(count, 0u);
    storage.EnsureFilled();
    EXPECT_EQ(storage.GetCount(), count);
    // Each face once, sorted, with sorted distinct charsets.
    for (size_t i = 0; i < count; ++i) {
        const CKWFontFace* f = storage.GetAt(i);
        EXPECT_NE(f->type, 0);
        EXPECT_FALSE(f->charsets.empty());
        for (size_t j = 1; j < f->charsets.size(); ++j)
            EXPECT_LT(f->charsets[j - 1], f->charsets[j]);
        if (i > 0) {
            EXPECT_LT(*storage.GetAt(i - 1)->name, *f->name);
        }
        EXPECT_EQ(storage.FindFace(*f->name), f);
    }
    // The project's Wine prefix maps Arial to Liberation Sans, a TrueType face
    // with several character sets: one entry holds them all.
    const CKWFontFace* arial = storage.FindFace(L"Arial");
    ASSERT_NE(arial, nullptr);
    EXPECT_TRUE(arial->type & CKWFontFaceStorage::kTrueType);
    EXPECT_GE(arial->charsets.size(), 2u);
    EXPECT_EQ(arial->charsets.front(), ANSI_CHARSET);
}

TEST(KWFontSizesTest, NextAndPreviousSize)
{
    const int32_t next[][2] = {{12, 14}, {13, 14}, {72, 72}, {100, 72}, {5, 6}, {-3, 6}, {6, 8}, {29, 36}, {48, 72}};
    for (const auto& c : next)
        EXPECT_EQ(GetNextFontSize(c[0]), c[1]) << c[0];
    const int32_t previous[][2] = {{14, 12}, {13, 12}, {6, 6}, {4, 4}, {100, 72}, {72, 48}, {7, 6}, {8, 6}, {-1, -1}};
    for (const auto& c : previous)
        EXPECT_EQ(GetPrevFontSize(c[0]), c[1]) << c[0];
}

}  // namespace
