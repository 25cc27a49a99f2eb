#include "framework/KWMeasure.h"

#include <gtest/gtest.h>

#include <cwchar>

namespace {

struct UnitRow {
    const wchar_t* name;
    double factor;
    const wchar_t* abbreviation;
    const wchar_t* twoUnits;  // 2 units formatted with the abbreviation
};

const UnitRow kUnitRows[] = {
    {L"yards", 9144, L"yd", L"2 yd"},
    {L"feet, decimal", 3048, L"ft", L"2 ft"},
    {L"feet, decimal inches", 3048, L"ft", L"2' 0.000\" ft"},
    {L"feet, fractional inches", 3048, L"ft", L"2' 0\" ft"},
    {L"inches, decimal", 254, L"in", L"2 in"},
    {L"inches, fractional", 254, L"in", L"2  in"},
    {L"meters", 10000, L"m", L"2 m"},
    {L"centimeters", 100, L"cm", L"2 cm"},
    {L"millimeters", 10, L"mm", L"2 mm"},
    {L"kilometers", 10000000, L"km", L"2 km"},
    {L"miles", 16093440, L"mi", L"2 mi"},
    {L"pixels", 3.52777777777778, L"pix", L"2 pix"},
    {L"points", 3.52777777777778, L"pt", L"2 pt"},
    {L"radians", 1.0, L"rad", L"2 rad"},
    {L"degrees", 0.01745329251994, L"deg", L"2 deg"},
};

CString Format(double value, int unit, bool withAbbreviation = false) {
    CString text;
    FormatMeasure(text, value, unit, withAbbreviation);
    return text;
}

TEST(KWMeasureTest, EveryUnitParsesAndFormats) {
    ASSERT_EQ(kMeasureUnitCount, static_cast<int>(sizeof(kUnitRows) / sizeof(kUnitRows[0])));
    for (int i = 0; i < kMeasureUnitCount; ++i) {
        SCOPED_TRACE(i);
        EXPECT_STREQ(GetMeasureUnit(i).name, kUnitRows[i].name);
        const UnitRow& row = kUnitRows[i];
        // Units sharing an abbreviation share the factor, so the first match serves.
        const CString spaced = CString(L"2 ") + row.abbreviation;
        EXPECT_DOUBLE_EQ(ParseMeasure(spaced, 8), 2 * row.factor);
        const CString joined = CString(L"2") + row.abbreviation;
        EXPECT_DOUBLE_EQ(ParseMeasure(joined, 8), 2 * row.factor);
        EXPECT_STREQ(Format(2 * row.factor, i, true), row.twoUnits);
    }
}

TEST(KWMeasureTest, FindUnitByNameAndAtTheText) {
    const std::pair<const wchar_t*, int> names[] = {
        {L"  mm.", 8}, {L"MM", -1}, {L"ft", 1}, {L"in", 4}, {L"pix", 11}, {L"mm..", -1}, {L"m", 6}, {L"", -1},
        {nullptr, -1}};
    for (const auto& n : names)
        EXPECT_EQ(FindUnitByName(n.first), n.second) << (n.first ? n.first : L"(null)");

    const struct {
        const wchar_t* text;
        int unit;
        const wchar_t* rest;
    } at[] = {
        {L" mm. x", 8, L" x"}, {L"\"1", 5, L"1"}, {L" '6", 3, L"6"}, {L" Mm", -1, L"Mm"},
        // Unknown letters are left unread, even when a known unit begins them.
        {L"ydx", -1, L"ydx"}, {L"", -1, L""},
    };
    for (const auto& c : at) {
        const wchar_t* text = c.text;
        EXPECT_EQ(FindUnitAt(text), c.unit) << c.text;
        EXPECT_STREQ(text, c.rest);
    }
}

struct ParseCase {
    const wchar_t* text;
    int defaultUnit;
    double expected;
};

TEST(KWMeasureTest, ParseMeasureCases) {
    const ParseCase cases[] = {
        {L"5' 3\"", 4, 16002},
        {L"5'3\"", 8, 16002},
        {L"2m 30", 8, 23000},
        {L"-1.5in", 8, -381},
        {L"3 ft 6", 8, 10668},
        {L"1/0", 4, 0},
        {L"1/0 in", 4, 0},
        {L"1/2 in", 8, 127},
        {L"3 / 4", 5, 190.5},
        {L"6/2/3 cm", 8, 100},
        {L"", 4, 0},
        {L"   ", 4, 0},
        {L"12", 8, 120},
        {L"12", -1, 12},
        {L"+2 in", 8, 508},
        {L"2 yd 1", 8, 21336},
        {L"1 mi 1", 8, 16102584},
        {L"1 km 1", 8, 10010000},
        {L"1 cm 5", 4, 150},
        {L"1 mm 5", 4, 60},
        {L"10 mm.", 4, 100},
        {L"2 MM", 4, 508},
        {L"2 xyz", 8, 20},
        {L"1 in 1/2", 8, 381},
        {L"90deg", 13, 90 * 0.01745329251994},
        {L"1.5e2 mm", 4, 1500},
    };
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.text));
        EXPECT_DOUBLE_EQ(ParseMeasure(c.text, c.defaultUnit), c.expected);
    }
}

TEST(KWMeasureTest, ParseNumberOrFraction) {
    const struct {
        const wchar_t* text;
        double value;
        const wchar_t* rest;
    } cases[] = {
        {L"  12.5 rest", 12.5, L" rest"}, {L"6 / 2 / 3in", 1, L"in"}, {L"1/0", -1.0, nullptr}, {L"", 0, L""},
        {L"abc", 0, L""}, {L"x7", 7, L""},  // characters before the digits are skipped
        {L" .25 rest", 0.25, L" rest"},     // a leading '.' belongs to the number
    };
    for (const auto& c : cases) {
        const wchar_t* text = c.text;
        EXPECT_DOUBLE_EQ(ParseNumberOrFraction(text), c.value) << c.text;
        if (c.rest) {
            EXPECT_STREQ(text, c.rest);
        }
    }
    // ".5in" is half an inch, not five.
    EXPECT_DOUBLE_EQ(ParseMeasure(L".5in", 8), 127);
    EXPECT_DOUBLE_EQ(ParseMeasure(L"- .5 in", 8), -127);
    EXPECT_DOUBLE_EQ(ParseMeasure(L"1 ft .5", 8), 3048 + 127);
}

TEST(KWMeasureTest, ToFraction64) {
    struct Case {
        double x;
        int numerator;
        int denominator;
    };
    const Case cases[] = {
        {0.75, 3, 4}, {0.5, 1, 2},        {0, 0, 64},       {0.999, 1, 1},
        {0.3, 19, 64}, {1.0 / 128, 1, 64}, {0.007, 0, 64}, {0.625, 5, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x);
        int numerator = -5;
        int denominator = -5;
        ToFraction64(c.x, numerator, denominator);
        EXPECT_EQ(numerator, c.numerator);
        EXPECT_EQ(denominator, c.denominator);
    }
}

struct FormatCase {
    double value;
    int unit;
    bool withAbbreviation;
    const wchar_t* expected;
};

TEST(KWMeasureTest, FormatMeasureCases) {
    const FormatCase cases[] = {
        {254, 4, false, L"1"},
        {381, 4, false, L"1.5000"},
        {-381, 4, false, L"-1.5000"},
        {-381, 4, true, L"-1.5000 in"},
        {3810, 2, false, L"1' 3.000\""},
        {-3810, 2, true, L"-1' 3.000\" ft"},
        {190.5, 5, false, L"3/4"},
        {4191, 5, false, L"16 1/2"},
        {12700, 5, false, L"50 "},
        {0, 5, false, L"0"},
        {6095.746, 3, false, L"1' 12\""},
        {3048 + 254 * 3.5, 3, false, L"1' 3 1/2\""},
        {3048 + 254 * 3, 3, false, L"1' 3\""},
        {-1e-11, 4, false, L"0"},
        {-1e-11, 7, true, L"0 cm"},
        {25, 8, false, L"2.5000"},
        {10000000, 8, false, L"1000000"},
    };
    for (const FormatCase& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_STREQ(Format(c.value, c.unit, c.withAbbreviation), c.expected);
    }
}

// "1.999 in" used to lose the fraction that rounds up to a whole inch.
TEST(KWMeasureTest, FractionalInchesCarryIntoTheWhole) {
    EXPECT_STREQ(Format(254 * 1.999, 5), L"2 ");
    EXPECT_STREQ(Format(254 * 0.999, 5), L"1 ");
    EXPECT_STREQ(Format(-254 * 15.999, 5, true), L"-16  in");
    EXPECT_STREQ(Format(254 * 1.99, 5), L"1 63/64");
}

TEST(KWMeasureTest, FormatsExtremeMagnitudesInExponentForm) {
    struct Case {
        double value;
        double shown;
        const wchar_t* mantissa;
    };
    const Case cases[] = {
        {1.5e8, 1.5e7, L"1.5000e"},
        {0.005, 0.0005, L"5.0000e-"},
        {-1.23456e8, 1.23456e7, L"-1.2346e+"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        const CString text = Format(c.value, 8);
        EXPECT_EQ(std::wcsncmp(text, c.mantissa, std::wcslen(c.mantissa)), 0) << ::testing::PrintToString(text.GetString());
        const double back = std::wcstod(text, nullptr);
        EXPECT_NEAR(back, c.value < 0 ? -c.shown : c.shown, c.shown * 1e-4);
    }
}

TEST(KWMeasureTest, FormattedValuesParseBack) {
    const double values[] = {254, 381, 3810, 4191, 190.5, 16002, 23000, 127};
    const int units[] = {0, 1, 4, 6, 7, 8, 9, 10};
    for (double value : values) {
        for (int unit : units) {
            SCOPED_TRACE(unit);
            const CString text = Format(value, unit, true);
            EXPECT_NEAR(ParseMeasure(text, 8), value, GetMeasureUnit(unit).factor * 1e-4) << value;
        }
    }
}

}  // namespace
