#include <gtest/gtest.h>

#include <cmath>

#include "framework/KWGdiPlusStartup.h"
#include "tests/text/LayoutTestSupport.h"
#include "text/KWFontMetrics.h"
#include "text/KWTextObject.h"

namespace {

class KWTextExportTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(StartupGdiPlus()); }

    static void ExpectCorners(const CKWTextLine& seg)
    {
        EXPECT_EQ(seg.m_right, seg.m_topRightX);
        EXPECT_EQ(seg.m_top, seg.m_topRightY);
        EXPECT_EQ(seg.m_left, seg.m_bottomLeftX);
        EXPECT_LT(seg.m_top, seg.m_baseline);
        EXPECT_LT(seg.m_baseline, seg.m_bottom);
        EXPECT_LE(seg.m_left, seg.m_right);
    }
};

TEST_F(KWTextExportTest, OneSegmentPerRunPieceBetweenTabs)
{
    CKWTextObject text;
    Make(text, L"Hello World\ta");
    text.ClearRuns();
    for (uint32_t count : {6u, 5u, 2u}) {
        CKWCharFormat* run = new CKWCharFormat;
        run->m_count = count;
        run->m_style = text.GetRunCount() == 1 ? CKWCharFormat::kBold : 0;
        text.AppendRun(run);
    }
    // Placed far from the page's corner: the segments stay relative to it.
    const CKWDoubleRect rect(500, 700, 20500, 20700);
    CKWTextLineVector segments;
    EXPECT_EQ(0, text.BuildExportLines(segments, rect, 0, 0));
    ASSERT_EQ(3, segments.GetSize());
    const int starts[] = {0, 6, 12}, ends[] = {6, 11, 13};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(starts[i], segments[i].m_start) << i;
        EXPECT_EQ(ends[i], segments[i].m_end) << i;
        EXPECT_EQ(&text.GetRun(i), segments[i].m_format) << i;
        EXPECT_EQ(segments[0].m_baseline, segments[i].m_baseline) << i;
        ExpectCorners(segments[i]);
    }
    EXPECT_EQ(0.0, segments[0].m_left);
    EXPECT_LT(segments[0].m_top, 100.0);
    EXPECT_DOUBLE_EQ(segments[0].m_right, segments[1].m_left);
    EXPECT_GT(segments[1].m_right - segments[1].m_left, segments[0].m_right - segments[0].m_left - 1);
    // After the tab the text starts on a tab stop.
    EXPECT_EQ(0.0, std::fmod(segments[2].m_left, CKWTextObject::kTabStep));
    EXPECT_GT(segments[2].m_left, segments[1].m_right);

    EXPECT_EQ(1, text.BuildExportLines(segments, rect, 0, 3));  // only bit 0 is kept
    EXPECT_EQ(3, segments.GetSize());
}

TEST_F(KWTextExportTest, BaselineIsTheLinesTopPlusItsAscent)
{
    CKWTextObject text;
    Make(text, L"one\ntwo\nthree");
    CKWTextLineVector segments;
    text.BuildExportLines(segments, CKWDoubleRect(0, 0, 20000, 20000), 0, 0);
    ASSERT_EQ(3, segments.GetSize());
    for (int k = 0; k < 3; ++k) {
        const CKWLineRecord& line = text.GetLine(k);
        EXPECT_DOUBLE_EQ(line.top + line.metrics->ascent, segments[k].m_baseline) << k;
        EXPECT_DOUBLE_EQ(line.top + line.height, segments[k].m_bottom) << k;
        EXPECT_EQ(text.LineStart(k), segments[k].m_start) << k;
        EXPECT_EQ(line.VisibleEnd(), segments[k].m_end) << k;
    }
    EXPECT_DOUBLE_EQ(segments[1].m_baseline - segments[0].m_baseline, text.GetLine(0).height);
}

TEST_F(KWTextExportTest, OnlyTheLinesThatFitAndAtLeastOne)
{
    CKWTextObject text;
    Make(text, L"one\ntwo\nthree\nfour\nfive");
    const double h = text.GetLine(0).height;
    struct Case { double height; int start; };
    const Case cases[] = {{2.5 * h, 0}, {2.5 * h, 8}, {h / 3, 0}, {h / 3, 14}, {100 * h, 4}};
    for (const Case& c : cases) {
        const CKWDoubleRect rect(0, 0, 20000, c.height);
        CKWTextLineVector segments;
        text.BuildExportLines(segments, rect, c.start, 0);
        ASSERT_GT(segments.GetSize(), 0) << c.height << " " << c.start;
        EXPECT_EQ(c.start, segments.front().m_start);
        // The block ends where the fitting call says the next one starts.
        const int next = text.GetFittingEnd(rect, c.start);
        const int blockEnd = next == -1 ? text.GetLength() : next;
        EXPECT_GE(blockEnd, segments.back().m_end) << c.height << " " << c.start;
        EXPECT_LT(blockEnd - segments.back().m_end, 2) << c.height << " " << c.start;  // at most the line feed
        // Relative to the block: the first line starts at the top.
        EXPECT_NEAR(segments.front().m_baseline, text.GetLine(0).metrics->ascent, 1e-9);
    }
    CKWTextLineVector none;
    text.BuildExportLines(none, kWide, text.GetLength(), 0);
    EXPECT_EQ(0, none.GetSize());
}

TEST_F(KWTextExportTest, BlocksCoverEveryCharacterOnce)
{
    CKWTextObject text;
    Make(text, L"Lorem ipsum dolor sit amet, consectetur adipiscing elit, sed do eiusmod tempor "
               L"incididunt ut labore et dolore magna aliqua. Ut enim ad minim veniam, quis nostrud "
               L"exercitation ullamco laboris.\nA second paragraph\twith a tab and more words to wrap.");
    const double h = text.GetLine(0).height;
    for (double width : {300.0, 457.0, 611.0, 1000.0}) {
        for (double lines : {0.5, 1.0, 2.5, 4.0}) {
            const CKWDoubleRect rect(0, 0, width, lines * h);
            std::vector<int> covered(text.GetLength(), 0);
            int blocks = 0;
            for (int pos = 0; pos != -1 && blocks < 500; ++blocks) {
                const int next = text.GetFittingEnd(rect, pos);
                const int blockEnd = next == -1 ? text.GetLength() : next;
                CKWTextLineVector segments;
                text.BuildExportLines(segments, rect, pos, 0);
                for (const CKWTextLine& seg : segments) {
                    EXPECT_GE(seg.m_start, pos);
                    EXPECT_LE(seg.m_end, blockEnd) << width << " " << lines;
                    for (int p = seg.m_start; p < seg.m_end; ++p)
                        ++covered[p];
                }
                pos = next;
            }
            for (int p = 0; p < text.GetLength(); ++p) {
                const wchar_t ch = text.GetText()[p];
                EXPECT_EQ(ch == L'\n' || ch == L'\t' ? 0 : 1, covered[p]) << width << " " << lines << " at " << p;
            }
        }
    }
}

TEST_F(KWTextExportTest, TheTextsOwnLayoutSurvives)
{
    CKWTextObject text;
    Make(text, L"aaaa bbbb\tc\td");
    const double tab = text.GetCharAdvance(9);
    const int lines = text.GetLineCount();
    // A narrow block moves the tab to another line and another width.
    const CKWDoubleRect narrow(0, 0, Widths(text, 0, 5) + 2, 20000);
    CKWTextLineVector segments;
    text.BuildExportLines(segments, narrow, 0, 0);
    EXPECT_GT(segments.GetSize(), 2);
    EXPECT_EQ(lines, text.GetLineCount());
    EXPECT_DOUBLE_EQ(tab, text.GetCharAdvance(9));
    EXPECT_TRUE(text.IsLayoutValid());
    text.GetFittingEnd(narrow, 0);
    EXPECT_DOUBLE_EQ(tab, text.GetCharAdvance(9));
}

TEST_F(KWTextExportTest, CopyBoxTakesTheGeometryOnly)
{
    CKWTextLine a, b;
    a.m_left = 1; a.m_top = 2; a.m_topRightX = 3; a.m_topRightY = 4;
    a.m_right = 5; a.m_baseline = 6; a.m_bottomLeftX = 7; a.m_bottom = 8;
    a.m_start = 9;
    b.m_start = 10;
    b.CopyBox(a);
    const double want[] = {1, 2, 3, 4, 5, 6, 7, 8};
    const double got[] = {b.m_left, b.m_top, b.m_topRightX, b.m_topRightY,
                          b.m_right, b.m_baseline, b.m_bottomLeftX, b.m_bottom};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(want[i], got[i]) << i;
    EXPECT_EQ(10, b.m_start);
}

}  // namespace
