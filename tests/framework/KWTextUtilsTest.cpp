#include "framework/KWTextUtils.h"

#include <gtest/gtest.h>

#include <cwchar>

namespace {

TEST(KWTextUtilsTest, ParseSign) {
    struct Case {
        const wchar_t* text;
        int sign;
        const wchar_t* rest;
    };
    const Case cases[] = {
        {L"  -3", -1, L"3"}, {L"+3", 1, L"3"}, {L"\t3", 1, L"3"}, {L"", 1, L""}, {L" - 2", -1, L" 2"},
    };
    for (const Case& c : cases) {
        const wchar_t* text = c.text;
        EXPECT_EQ(ParseSign(text), c.sign) << c.text;
        EXPECT_STREQ(text, c.rest);
    }
}

TEST(KWTextUtilsTest, HasTextAfterNumber) {
    const std::pair<const wchar_t*, bool> cases[] = {{L"12", false}, {L"12pt", true}, {L" -1.5 in", true},
                                                     {L" -1.5", false}, {L"", false}, {nullptr, false},
                                                     {L"pt", false}, {L".5in", true}};
    for (const auto& c : cases) EXPECT_EQ(c.second, HasTextAfterNumber(c.first)) << c.first;
}

TEST(KWTextUtilsTest, StartsWithUrlPrefix) {
    const wchar_t* urls[] = {L"http://a",  L"https://a", L"www.a.b",  L"mailto:x", L"ftp://h",  L"news:g",
                             L"file://c",  L"gopher://g", L"telnet:h", L"wais:w",   L"afp:v"};
    for (const wchar_t* url : urls) EXPECT_TRUE(StartsWithUrlPrefix(url)) << url;
    const wchar_t* others[] = {L"HTTP://a", L"", L"htt", L" http://a", L"c:\\file"};
    for (const wchar_t* text : others) EXPECT_FALSE(StartsWithUrlPrefix(text)) << text;
    EXPECT_FALSE(StartsWithUrlPrefix(nullptr));
}

TEST(KWTextUtilsTest, RemoveCharFromString) {
    CString text(L"a\r\nb\r\n");
    EXPECT_TRUE(RemoveCharFromString(text, L'\r'));
    EXPECT_STREQ(text, L"a\nb\n");
    EXPECT_FALSE(RemoveCharFromString(text, L'\r'));
    EXPECT_STREQ(text, L"a\nb\n");
    CString empty;
    EXPECT_FALSE(RemoveCharFromString(empty, L'x'));
}

TEST(KWTextUtilsTest, InsertBeforeChar) {
    CString text(L"a\nb\r\nc");
    EXPECT_TRUE(InsertBeforeChar(text, L'\n', L'\r'));
    EXPECT_STREQ(text, L"a\r\nb\r\r\nc");
    CString plain(L"abc");
    EXPECT_FALSE(InsertBeforeChar(plain, L'\n', L'\r'));
    EXPECT_STREQ(plain, L"abc");
    CString ends(L"\n\n");
    EXPECT_TRUE(InsertBeforeChar(ends, L'\n', L'\r'));
    EXPECT_STREQ(ends, L"\r\n\r\n");
}

TEST(KWTextUtilsTest, FindCharReverse) {
    const wchar_t* text = L"a.b.c";
    // A count of 0 still looks at the first character.
    const struct {
        wchar_t ch;
        const wchar_t* text;
        int count, expected;
    } cases[] = {{L'.', text, -1, 3}, {L'.', text, 3, 1},  {L'.', text, 4, 3},  {L'.', text, 100, 3},
                 {L'x', text, -1, -1}, {L'a', text, 0, 0}, {L'.', text, 0, -1}, {L'.', nullptr, -1, -1}};
    for (const auto& c : cases) EXPECT_EQ(FindCharReverse(c.ch, c.text, c.count), c.expected) << c.ch << c.count;
}

TEST(KWTextUtilsTest, FindNextWordStart) {
    const wchar_t* text = L"one, two  3x";
    const int length = static_cast<int>(std::wcslen(text));
    const int cases[][2] = {{0, 3}, {1, 3}, {3, 8}, {4, 8}, {8, 12}, {9, 12}, {12, 12}, {20, 12}, {-1, -1}};
    for (const auto& c : cases) EXPECT_EQ(FindNextWordStart(text, length, c[0]), c[1]) << c[0];
    EXPECT_EQ(FindNextWordStart(text, 0, 0), -1);
}

TEST(KWTextUtilsTest, FindPrevWordStart) {
    const wchar_t* text = L"one, two  3x";
    const int length = static_cast<int>(std::wcslen(text));
    // Words begin after positions 4 ("two") and 9 ("3x"); "one" begins the text.
    const int cases[][2] = {{12, 9}, {11, 9}, {10, 4}, {9, 4}, {8, 4}, {6, 4}, {5, -1}, {3, -1}, {0, -1},
                            {13, -1}, {-1, -1}};
    for (const auto& c : cases) EXPECT_EQ(FindPrevWordStart(text, length, c[0]), c[1]) << c[0];
    EXPECT_EQ(FindPrevWordStart(L"  ab", 4, 4), 1);
    EXPECT_EQ(FindPrevWordStart(text, 0, 0), -1);
}

}  // namespace
