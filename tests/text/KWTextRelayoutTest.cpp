#include <gtest/gtest.h>

#include "framework/KWGdiPlusStartup.h"
#include "tests/text/LayoutTestSupport.h"
#include "text/KWTextObject.h"

namespace {

class KWTextRelayoutTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(StartupGdiPlus()); }

    static void ExpectSameLayout(const CKWTextObject& got, const char* what)
    {
        CKWTextObject fresh;
        fresh.Copy(got);
        fresh.SetRect(got.GetRect());
        fresh.UpdateLayout();
        ASSERT_EQ(fresh.GetLineCount(), got.GetLineCount()) << what;
        for (int k = 0; k < got.GetLineCount(); ++k) {
            EXPECT_EQ(fresh.GetLine(k).end, got.GetLine(k).end) << what << " line " << k;
            EXPECT_EQ(fresh.GetLine(k).flags, got.GetLine(k).flags) << what << " line " << k;
            EXPECT_NEAR(fresh.GetLine(k).top, got.GetLine(k).top, 1e-6) << what << " line " << k;
            EXPECT_NEAR(fresh.GetLine(k).x, got.GetLine(k).x, 1e-6) << what << " line " << k;
            EXPECT_NEAR(fresh.GetLine(k).width, got.GetLine(k).width, 1e-6) << what << " line " << k;
        }
    }

    // Replaces [start, end) as the editor does and re-lays out the lines.
    static void Edit(CKWTextObject& text, int start, int end, const wchar_t* insert,
                     CKWDoubleRect* before = nullptr, CKWDoubleRect* after = nullptr)
    {
        const int line = text.LineOfPosition(start, false, 0);
        const int length = static_cast<int>(wcslen(insert));
        text.ReplaceText(insert, length, start, end);
        int newEnd = end;
        text.RelayoutRange(start, line, newEnd, length, before, after);
        EXPECT_EQ(start + length, newEnd);
    }
};

const wchar_t kSample[] = L"The quick brown fox jumps over the lazy dog.\nA second paragraph, centred.\n\tTabbed third.";

TEST_F(KWTextRelayoutTest, EditsMatchAFullLayout)
{
    CKWTextObject text;
    Make(text, kSample);
    text.GetParaPtr(1)->m_align = CKWParaFormat::kAlignCenter;
    text.SetRect(CKWDoubleRect(100, 50, 100 + Widths(text, 0, 16), 5000));
    text.UpdateLayout();
    ASSERT_GT(text.GetLineCount(), 6);

    struct Step { const char* what; int start, end; const wchar_t* insert; };
    const Step steps[] = {
        {"type at the start", 0, 0, L"x"},
        {"type a word mid-paragraph", 10, 10, L"extraordinarily "},
        {"type at a paragraph's end", 60, 60, L" more words here"},
        {"split a paragraph", 20, 20, L"\n"},
        {"join it again", 20, 21, L""},
        {"delete across lines", 5, 40, L""},
        {"replace across paragraphs", 10, 50, L"new"},
        {"type at the text end", -1, -1, L" end"},
        {"type a line feed at the end", -1, -1, L"\n"},
        {"type after it", -1, -1, L"z"},
        {"delete one character", 3, 4, L""},
    };
    for (const Step& s : steps) {
        const int start = s.start < 0 ? text.GetLength() : std::min(s.start, text.GetLength());
        const int end = s.end < 0 ? text.GetLength() : std::min(s.end, text.GetLength());
        CKWDoubleRect before, after;
        Edit(text, start, end, s.insert, &before, &after);
        ExpectSameLayout(text, s.what);
        const int caretLine = text.LineOfPosition(start + static_cast<int>(wcslen(s.insert)), true, 0);
        EXPECT_LE(after.top, text.GetLine(caretLine).top) << s.what;
        EXPECT_GE(after.bottom, text.GetLine(caretLine).top + text.GetLine(caretLine).height) << s.what;
    }
}

TEST_F(KWTextRelayoutTest, GrowthModesMoveTheOtherLines)
{
    for (uint8_t mode : {uint8_t(0), uint8_t(1), uint8_t(2)}) {
        CKWTextObject text;
        Make(text, L"first\nsecond\nthird");
        text.GetBoxAttributes().growMode = mode;
        text.SetRect(CKWDoubleRect(0, 0, Widths(text, 6, 12) + 3, 5000));
        text.UpdateLayout();
        ASSERT_EQ(3, text.GetLineCount());
        const double h = text.GetLine(0).height;
        const double firstTop = text.GetLine(0).top, lastTop = text.GetLine(2).top;
        CKWDoubleRect before, after;
        Edit(text, 12, 12, L" more", &before, &after);  // "second more" takes two lines
        ASSERT_EQ(4, text.GetLineCount()) << int(mode);
        const double dy = h;
        switch (mode) {
        case 0:  // below
            EXPECT_DOUBLE_EQ(firstTop, text.GetLine(0).top);
            EXPECT_NEAR(lastTop + dy, text.GetLine(3).top, 1e-9);
            EXPECT_GE(after.bottom, text.GetLine(3).top + h - 1e-9);  // the moved line is redrawn
            break;
        case 1:  // half above, half below
            EXPECT_NEAR(firstTop - dy / 2, text.GetLine(0).top, 1e-9);
            EXPECT_NEAR(lastTop + dy / 2, text.GetLine(3).top, 1e-9);
            EXPECT_LE(after.top, text.GetLine(0).top);
            EXPECT_GE(after.bottom, text.GetRect().Height());
            break;
        default:  // above
            EXPECT_NEAR(firstTop - dy, text.GetLine(0).top, 1e-9);
            EXPECT_DOUBLE_EQ(lastTop, text.GetLine(3).top);
            EXPECT_LE(after.top, text.GetLine(0).top);
            break;
        }
        for (int k = 1; k < 4; ++k)  // the lines stay stacked
            EXPECT_NEAR(text.GetLine(k - 1).top + h, text.GetLine(k).top, 1e-9) << int(mode) << " " << k;
    }
}

TEST_F(KWTextRelayoutTest, WithoutALayoutEverythingIsLaidOut)
{
    CKWTextObject text;
    FillText(text, L"abc", {3}, {3});
    text.SetRect(kWide);  // never laid out
    text.ReplaceText(L"d", 1, 3, 3);
    int end = 3;
    CKWDoubleRect before, after;
    text.RelayoutRange(3, 0, end, 1, &before, &after);
    EXPECT_EQ(4, end);
    EXPECT_TRUE(text.IsLayoutValid());
    EXPECT_EQ(1, text.GetLineCount());
    EXPECT_EQ(4, text.GetLine(0).end);
}

}  // namespace
