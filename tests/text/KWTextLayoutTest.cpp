#include "text/KWTextObject.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/KWGdiPlusStartup.h"
#include "tests/text/TextTestSupport.h"
#include "tests/text/LayoutTestSupport.h"
#include "text/KWFontMetrics.h"

namespace {

class KWTextLayoutTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(StartupGdiPlus()); }

    static std::vector<int> LineEnds(const CKWTextObject& text)
    {
        std::vector<int> ends;
        for (int k = 0; k < text.GetLineCount(); ++k)
            ends.push_back(text.GetLine(k).end);
        return ends;
    }
};

TEST_F(KWTextLayoutTest, CharactersAreMeasuredInLayoutUnits)
{
    CKWTextObject text;
    Make(text, L"iW W\n");
    EXPECT_GT(text.GetCharAdvance(1), text.GetCharAdvance(0));  // W is wider than i
    EXPECT_GT(text.GetCharAdvance(2), 0.0);                    // a space has a width
    EXPECT_EQ(text.GetCharAdvance(1), text.GetCharAdvance(3));
    EXPECT_EQ(0.0, text.GetCharAdvance(4));                    // the line feed has none
    // 10 points is 35.3 tenths of a millimetre: a W is a good part of that.
    EXPECT_GT(text.GetCharAdvance(1), 20.0);
    EXPECT_LT(text.GetCharAdvance(1), 50.0);

    CKWTextObject big;
    Make(big, L"iW W\n");
    CKWCharFormat request;
    request.m_count = CKWCharFormat::kMaskSize;
    request.m_size = 20;
    big.SetCharFormatInRange(0, 5, request);
    big.UpdateLayout();
    EXPECT_GT(big.GetCharAdvance(1), 1.8 * text.GetCharAdvance(1));
    EXPECT_GT(big.GetLine(0).height, 1.9 * text.GetLine(0).height);
}

TEST_F(KWTextLayoutTest, TabStopsEvery128UnitsFromTheRectangleEdge)
{
    CKWTextObject text;
    Make(text, L"\tA");
    text.GetParaPtr(0)->m_leftIndent = 130;
    text.SetRect(kWide);
    text.UpdateLayout();
    EXPECT_DOUBLE_EQ(126.0, text.GetCharAdvance(0));  // from 130 to 256
    double x = 0, y = 0;
    text.PositionToPoint(1, 0, x, y);
    EXPECT_DOUBLE_EQ(256.0, x);

    text.GetParaPtr(0)->m_leftIndent = 128;  // on a stop: to the next one
    text.SetRect(kWide);
    text.UpdateLayout();
    EXPECT_DOUBLE_EQ(128.0, text.GetCharAdvance(0));

    CKWTextObject after;
    Make(after, L"ab\tc");
    after.PositionToPoint(3, 0, x, y);
    EXPECT_DOUBLE_EQ(128.0, x);
    EXPECT_DOUBLE_EQ(128.0 - Widths(after, 0, 2), after.GetCharAdvance(2));
}

TEST_F(KWTextLayoutTest, AlignmentOffsets)
{
    CKWTextObject text;
    Make(text, L"Hello");
    const double w = text.GetLine(0).width;
    ASSERT_GT(w, 0.0);
    EXPECT_EQ(0.0, text.GetLine(0).x);

    text.GetParaPtr(0)->m_align = CKWParaFormat::kAlignCenter;
    text.SetRect(CKWDoubleRect(0, 0, w + 60, 1000));
    text.UpdateLayout();
    EXPECT_NEAR(30.0, text.GetLine(0).x, 1e-9);  // (100 - 40) / 2 in the general form

    text.GetParaPtr(0)->m_align = CKWParaFormat::kAlignRight;
    text.SetRect(CKWDoubleRect(0, 0, w + 60, 1000));
    text.UpdateLayout();
    EXPECT_NEAR(60.0, text.GetLine(0).x, 1e-9);

    CKWTextObject wide;  // one character wider than the line
    Make(wide, L"W");
    wide.GetParaPtr(0)->m_align = CKWParaFormat::kAlignRight;
    wide.SetRect(CKWDoubleRect(0, 0, 1, 1000));
    wide.UpdateLayout();
    ASSERT_EQ(1, wide.GetLineCount());
    EXPECT_EQ(0.0, wide.GetLine(0).x);
}

TEST_F(KWTextLayoutTest, LineBreaking)
{
    CKWTextObject text;
    Make(text, L"aaa bbb ccc");
    ASSERT_EQ(1, text.GetLineCount());
    const double upToC = Widths(text, 0, 8);
    const double half = text.GetCharAdvance(8) / 2;

    // The third word does not fit: the line ends after the space before it.
    text.SetRect(CKWDoubleRect(0, 0, upToC + half, 1000));
    text.UpdateLayout();
    EXPECT_EQ((std::vector<int>{8, 11}), LineEnds(text));
    EXPECT_DOUBLE_EQ(upToC, text.GetLine(0).width);

    // A space that overflows hangs at the line's end.
    const double aaa = Widths(text, 0, 3);
    text.SetRect(CKWDoubleRect(0, 0, aaa + text.GetCharAdvance(3) / 2, 1000));
    text.UpdateLayout();
    EXPECT_EQ((std::vector<int>{4, 8, 11}), LineEnds(text));
    EXPECT_DOUBLE_EQ(aaa + text.GetCharAdvance(3), text.GetLine(0).width);

    // A word wider than the line is cut at the last character that fits.
    CKWTextObject word;
    Make(word, L"abcdefghij");
    word.SetRect(CKWDoubleRect(0, 0, Widths(word, 0, 4) + word.GetCharAdvance(4) / 2, 1000));
    word.UpdateLayout();
    ASSERT_GE(word.GetLineCount(), 2);
    EXPECT_EQ(4, word.GetLine(0).end);
    EXPECT_EQ(10, word.GetLine(word.GetLineCount() - 1).end);
    for (int k = 0; k < word.GetLineCount(); ++k)
        EXPECT_LE(word.GetLine(k).width, word.GetRect().Width() * 1.001) << k;

    // A character wider than the line gets a line of its own.
    CKWTextObject narrow;
    Make(narrow, L"WW");
    narrow.SetRect(CKWDoubleRect(0, 0, 1, 1000));
    narrow.UpdateLayout();
    EXPECT_EQ((std::vector<int>{1, 2}), LineEnds(narrow));

    // A hyphen is a break opportunity too.
    CKWTextObject hyphen;
    Make(hyphen, L"well-known");
    hyphen.SetRect(CKWDoubleRect(0, 0, Widths(hyphen, 0, 7), 1000));
    hyphen.UpdateLayout();
    EXPECT_EQ((std::vector<int>{5, 10}), LineEnds(hyphen));
}

TEST_F(KWTextLayoutTest, ParagraphsIndentsAndFlags)
{
    CKWTextObject text;
    Make(text, L"first paragraph text\nsecond\n");
    CKWParaFormat* para = text.GetParaPtr(0);
    para->m_leftIndent = 50;
    para->m_firstLine = 30;
    para->m_rightIndent = 20;
    const double words = Widths(text, 0, 16);  // "first paragraph "
    text.SetRect(CKWDoubleRect(0, 0, 80 + 20 + words + 1, 1000));
    text.UpdateLayout();
    ASSERT_EQ(4, text.GetLineCount());  // the text's last line feed leaves an empty caret line
    EXPECT_EQ((std::vector<int>{16, 21, 28, 28}), LineEnds(text));
    EXPECT_EQ(80.0, text.GetLine(0).x);
    EXPECT_EQ(50.0, text.GetLine(1).x);
    EXPECT_EQ(0.0, text.GetLine(2).x);
    const uint32_t first = CKWLineRecord::kFirstOfPara, ends = CKWLineRecord::kEndsPara;
    EXPECT_EQ(first, text.GetLine(0).flags & (first | ends));
    EXPECT_EQ(ends, text.GetLine(1).flags & (first | ends));
    EXPECT_EQ(first | ends, text.GetLine(2).flags & (first | ends));
    EXPECT_EQ(first, text.GetLine(3).flags & (first | ends));
    EXPECT_EQ(20, text.GetLine(1).VisibleEnd());

    CKWTextObject empty;
    Make(empty, L"");
    ASSERT_EQ(1, empty.GetLineCount());
    EXPECT_GT(empty.GetLine(0).height, 0.0);
}

TEST_F(KWTextLayoutTest, LineSpacingAndParagraphSpace)
{
    CKWTextObject text;
    Make(text, L"a\nb\nc\nd\ne");
    const float spacings[] = {0, -100, -150, 12, 0};
    for (int i = 0; i < 5; ++i)
        text.GetParaPtr(i)->m_lineSpacing = spacings[i];
    text.GetParaPtr(4)->m_spaceBefore = 7;
    text.GetParaPtr(3)->m_spaceAfter = 5;
    text.SetRect(kWide);
    text.UpdateLayout();
    const double natural = text.GetLine(0).metrics->lineHeight;
    EXPECT_DOUBLE_EQ(natural, text.GetLine(0).height);
    EXPECT_DOUBLE_EQ(natural, text.GetLine(1).height);
    EXPECT_DOUBLE_EQ(1.5 * natural, text.GetLine(2).height);
    EXPECT_DOUBLE_EQ(12.0, text.GetLine(3).height);
    EXPECT_EQ(0u, text.GetLine(2).flags & CKWLineRecord::kNotPercent);
    EXPECT_NE(0u, text.GetLine(3).flags & CKWLineRecord::kNotPercent);
    EXPECT_DOUBLE_EQ(text.GetLine(3).top + 12.0 + 5 + 7, text.GetLine(4).top);
    CKWDoubleRect bounds;
    text.GetBounds(bounds);
    EXPECT_EQ(0.0, bounds.top);
    EXPECT_DOUBLE_EQ(text.GetLine(4).top + natural, bounds.bottom);
}

TEST_F(KWTextLayoutTest, FittingTellsAllFitsFromNothingFits)
{
    CKWTextObject text;
    Make(text, L"one\ntwo\nthree\nfour\nfive");
    const CKWLineRecord& third = text.GetLine(2);
    const double threeLines = third.top + third.height;
    const double h = text.GetLine(0).height;
    int fitting = -5;

    EXPECT_EQ(-1, text.GetFittingEnd(CKWDoubleRect(0, 0, 20000, 10 * h), 0, &fitting));
    EXPECT_EQ(5, fitting);
    // A total equal to the height still fits.
    EXPECT_EQ(third.end, text.GetFittingEnd(CKWDoubleRect(0, 100, 20000, 100 + threeLines), 0, &fitting));
    EXPECT_EQ(3, fitting);
    // Not even the first line: it is placed all the same, and told apart.
    EXPECT_EQ(text.GetLine(0).end, text.GetFittingEnd(CKWDoubleRect(0, 0, 20000, h / 2), 0, &fitting));
    EXPECT_EQ(0, fitting);
    // From the start of the last line: all that is left fits.
    EXPECT_EQ(-1, text.GetFittingEnd(CKWDoubleRect(0, 0, 20000, h), text.GetLine(3).end, &fitting));
    EXPECT_EQ(1, fitting);
    // The last line alone and too high: nothing more to place, but 0 fit.
    EXPECT_EQ(-1, text.GetFittingEnd(CKWDoubleRect(0, 0, 20000, h / 2), text.GetLine(3).end, &fitting));
    EXPECT_EQ(0, fitting);
    EXPECT_EQ(-1, text.GetFittingEnd(CKWDoubleRect(0, 0, 20000, h), text.GetLength()));
}

TEST_F(KWTextLayoutTest, PaginationAlwaysMovesOn)
{
    CKWTextObject text;
    Make(text, L"one\ntwo\nthree\nfour\nfive");
    const double h = text.GetLine(0).height;
    struct Case { double height; size_t pages; };
    const Case cases[] = {{2.5 * h, 3}, {h / 3, 5}, {100 * h, 1}};
    for (const Case& c : cases) {
        std::vector<std::pair<int, int>> blocks;
        for (int pos = 0; pos != -1 && blocks.size() < 50;) {
            const int end = text.GetFittingEnd(CKWDoubleRect(0, 0, 20000, c.height), pos);
            blocks.emplace_back(pos, end);
            EXPECT_TRUE(end == -1 || end > pos);
            pos = end;
        }
        EXPECT_EQ(c.pages, blocks.size()) << c.height;
        EXPECT_EQ(0, blocks.front().first);
        EXPECT_EQ(-1, blocks.back().second);
        for (size_t i = 1; i < blocks.size(); ++i)
            EXPECT_EQ(blocks[i - 1].second, blocks[i].first);
    }
}

TEST_F(KWTextLayoutTest, HitTestingAndPointsAgree)
{
    CKWTextObject text;
    Make(text, L"The quick brown fox\njumps over the lazy dog\n\tand\tso on");
    text.GetParaPtr(1)->m_align = CKWParaFormat::kAlignCenter;
    text.SetRect(CKWDoubleRect(0, 0, Widths(text, 0, 10) + 5, 5000));
    text.UpdateLayout();
    ASSERT_GE(text.GetLineCount(), 5);
    for (int k = 0; k < text.GetLineCount(); ++k) {
        const CKWLineRecord& line = text.GetLine(k);
        for (int p = text.LineStart(k); p <= line.VisibleEnd(); ++p) {
            double x = 0, y = 0;
            text.PositionToPoint(p, k, x, y);
            EXPECT_EQ(p, text.HitTest(x + 0.01, y + line.height / 2)) << "line " << k << " pos " << p;
            EXPECT_EQ(k, text.LineOfPosition(p, p == line.end, 0)) << "line " << k << " pos " << p;
        }
        EXPECT_EQ(text.LineStart(k), text.PositionInLine(k, line.x - 10));
        EXPECT_EQ(line.VisibleEnd(), text.PositionInLine(k, line.x + line.width + 50));
    }
    // Above and below the lines: the first and the last line.
    EXPECT_EQ(0, text.HitTest(-5, -100));
    EXPECT_EQ(text.GetLength(), text.HitTest(1e6, 1e6));
    // A line's end position belongs to the next line unless asked for the end.
    const int end0 = text.GetLine(0).end;
    EXPECT_EQ(1, text.LineOfPosition(end0, false, 0));
    EXPECT_EQ(0, text.LineOfPosition(end0, true, 3));
    // Past a paragraph's end the caret box reaches 16 further.
    const int paraLine = text.FindLineWithFlags(0, CKWLineRecord::kEndsPara);
    ASSERT_GE(paraLine, 0);
    double x = 0, y = 0;
    text.PositionToPoint(text.GetLine(paraLine).end, paraLine, x, y);
    EXPECT_DOUBLE_EQ(text.GetLine(paraLine).x + text.GetLine(paraLine).width + 16, x);
    EXPECT_EQ(-1, text.FindLineWithFlags(text.GetLineCount(), CKWLineRecord::kEndsPara));
}

}  // namespace
