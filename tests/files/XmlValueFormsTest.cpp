#include "files/XmlValueForms.h"

#include "files/BoundedPictureName.h"
#include "tests/support/SearchedPictureName.h"

#include "FilesTestSupport.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

TEST(XmlValueForms, NumberForms)
{
    const struct {
        std::string written;
        const char* text;
    } cases[] = {
        {XmlRealForm(3.0), "3"},
        {XmlRealForm(-1.5), "-1.5"},
        {XmlRealForm(12.3456789), "12.345679"},
        {XmlRealForm(-0.0), "-0"},
        {XmlRealForm(1e-7), "0"},
        {XmlShortRealForm(12.3456789), "12.3457"},
        {XmlShortRealForm(1.0), "1"},
        {XmlShortRealForm(1e-9), "1e-09"},
        {XmlIntegerForm(-42), "-42"},
        // Values of 2^31 and more are written as negative numbers.
        {XmlIntegerForm(static_cast<int32_t>(0x80000000u)), "-2147483648"},
        {XmlIntegerForm(static_cast<int16_t>(-3)), "-3"},
        {XmlBoolForm(true), "TRUE"},
        {XmlBoolForm(false), "FALSE"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.written, c.text);
    EXPECT_EQ(XmlRealForm(1e300).size(), 301u) << "a large value keeps all its digits";
}

TEST(XmlValueForms, TextFormEscapesToPureAscii)
{
    const struct {
        const wchar_t* text;
        const char* form;
    } cases[] = {
        {L"plain text", "plain text"},
        {L"a<b>c&d", "a&lt;b&gt;c&amp;d"},
        {L"O'Brien", "O&apos;Brien"},
        {L"say \"hi\"", "say &quot;hi&quot;"},
        {L"tab\tline\ncr\r", "tab&#9;line&#10;cr&#13;"},
        {L"bell\x07" L"form\x0C" L"end", "bellformend"},
        {L"caf\x00E9", "caf&#xE9;"},
        {L"\x0416\x20AC", "&#x416;&#x20AC;"},
        {L"\xD83D\xDE00", "&#x1F600;"},
        {L"a\xFFFE" L"b\xFFFF" L"c", "abc"},
        {L"\x7F", "\x7F"},
        {L"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(XmlTextForm(c.text), c.form);
    EXPECT_EQ(XmlTextForm(nullptr), "");
}

TEST(XmlValueForms, APictureNameIsBoundedToTheEndThatTheSearchOfEveryEndFinds)
{
    // Each character at the cut of ends of every length around the header's
    // room: plain, escaped, beyond ASCII, of no form, paired and lone
    // surrogates, and a NUL, where the form of the text stops.
    const std::wstring cuts[] = {L"a",      L"&",      L"'",      L"\t",           L"\x01",   L"\x00E9",
                                 L"\x20AC", L"\xFFFF", L"\xD83D", L"\xD83D\xDE00", L"\xDE00", std::wstring(1, L'\0')};
    std::vector<std::wstring> names = {L"", L"C:\\x.jpg", std::wstring(2000, L'\x20AC'), std::wstring(300, L'\x01') + L"z"};
    for (const std::wstring& cut : cuts) {
        for (const std::wstring& fill : {std::wstring(L"y"), std::wstring(L"\x00E9\xDE00\x0416&")}) {
            for (std::wstring end; end.size() <= 130; end += fill)
                names.push_back(std::wstring(130, L'x') + cut + end);
        }
    }
    for (const std::wstring& name : names) {
        const CString text(name.data(), static_cast<int>(name.size()));
        const CString bounded = BoundedPictureName(text), searched = SearchedPictureName(text);
        ASSERT_EQ(std::wstring(bounded.GetString(), bounded.GetLength()),
                  std::wstring(searched.GetString(), searched.GetLength()));
        EXPECT_EQ(IsBoundedPictureName(bounded), bounded != text) << XmlTextForm(bounded);
    }
}

TEST(XmlValueForms, StrayUtf8BytesBecomeNumericReferences)
{
    const char bytes[] = "a\xC3(\xFF";
    EXPECT_EQ(XmlEscapeUtf8(bytes, 4), "a&#195;(&#255;");
}

TEST(XmlValueForms, PlainFormIsUtf8WithoutEscaping)
{
    EXPECT_EQ(XmlPlainForm(L"a'b<\x00E9"), "a'b<\xC3\xA9");
}

TEST(XmlValueForms, IndentationIsCappedAt256Tabs)
{
    CXmlIndentation indentation;
    EXPECT_STREQ(indentation.Get(0), "");
    EXPECT_STREQ(indentation.Get(3), "\t\t\t");
    EXPECT_EQ(std::string(indentation.Get(256)), std::string(256, '\t'));
    EXPECT_EQ(std::string(indentation.Get(300)), std::string(256, '\t'));
    EXPECT_STREQ(indentation.Get(-5), "");
    EXPECT_EQ(ClampXmlDepth(257), 256);
    EXPECT_EQ(ClampXmlDepth(-1), 0);
}

TEST(XmlValueForms, ImageFormatsAreShortAlphanumericExtensions)
{
    const struct {
        const char* text;
        bool valid;
    } cases[] = {
        {"jpg", true}, {"JPEG", true}, {"tif", true}, {"j2k000", true}, {"", false}, {"jpeg2000", false},
        {"..", false}, {"a/b", false}, {"a\\b", false}, {"con:", false}, {"jp g", false}, {"p\xC3\xA9", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsXmlImageFormat(c.text, std::strlen(c.text)), c.valid) << c.text;
}

TEST(XmlValueForms, NumbersAreReadFromTheirFirstDigitsAndNeverBecomeInfiniteOrNaN)
{
    const struct {
        const wchar_t* text;
        int32_t integer;
        double real;
    } cases[] = {
        {L"42", 42, 42.0},
        {L" -7\t", -7, -7.0},
        {L"+3", 3, 3.0},
        {L"2147483647", INT32_MAX, 2147483647.0},
        {L"-2147483648", INT32_MIN, -2147483648.0},
        {L"2147483648", INT32_MAX, 2147483648.0},
        {L"-99999999999999999999", INT32_MIN, -1e20},
        {L"42abc", 42, 42.0},
        {L"12.5cm", 12, 12.5},
        {L"abc", 0, 0.0},
        {L"", 0, 0.0},
        {L"-", 0, 0.0},
        {L".5", 0, 0.5},
        {L"1.5", 1, 1.5},
        {L"-1.5e2", -1, -150.0},
        {L"2e+x", 2, 2.0},
        {L"nan", 0, 0.0},
        {L"inf", 0, 0.0},
        {L"0x1p4", 0, 0.0},
        {L"1e999", 1, DBL_MAX},
        {L"-1e999", -1, -DBL_MAX},
        {L"1e-999", 1, 0.0},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(ReadXmlInteger(test.text), test.integer) << filestest::ToAnsi(test.text);
        EXPECT_EQ(ReadXmlReal(test.text), test.real) << filestest::ToAnsi(test.text);
    }
    EXPECT_EQ(ReadXmlInteger("12'", 2), 12) << "only the length given is read";
}
