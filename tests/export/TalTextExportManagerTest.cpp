#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "export/TalTextExportManager.h"
#include "framework/KWGdiPlusStartup.h"
#include "model/TalPageTemplate.h"
#include "model/TalTextNote.h"
#include "tests/export/ExportTestSupport.h"

namespace {

const double kW = 2100, kH = 2970;

std::vector<int> LineStarts(const std::wstring& text)
{
    std::vector<int> starts{0};
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\n')
            starts.push_back(static_cast<int>(i + 1));
    }
    return starts;
}

class TalTextExportManagerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(StartupGdiPlus()); }

    void SetUp() override { m_note = new CTalTextNote(nullptr); }

    // Distance between two baselines of the note's text, in tenths of a millimetre.
    double LinePitch()
    {
        CKWRefPtr<CTalTextNote> probe(new CTalTextNote(nullptr));
        FillNote(*probe, L"A\nB");
        CKWTextLineVector lines;
        probe->BuildExportLines(lines, CKWDoubleRect(0, 0, 2000, 2000), 0, 0);
        EXPECT_EQ(2, lines.GetSize());
        return lines.GetSize() == 2 ? lines[1].m_baseline - lines[0].m_baseline : 50;
    }

    // A cell (page fractions) at the top offset that holds one line and not two.
    CKWDoubleRect OneLineCell(double top)
    {
        return CKWDoubleRect(0.1, top, 0.9, top + 1.5 * LinePitch() / kH);
    }

    // Blocks chain through the text and cover it whole.
    void ExpectChained(const CTalTextPages& pages)
    {
        int32_t expected = 0;
        size_t total = 0;
        for (const CTalTextPage& page : pages) {
            EXPECT_FALSE(page.empty());
            for (const CTalTextBlock& block : page) {
                ASSERT_NE(-1, expected) << "a block after the one that ran to the end";
                EXPECT_EQ(expected, block.start);
                expected = block.end;
                ++total;
            }
        }
        EXPECT_EQ(-1, expected);
        EXPECT_GT(total, 0u);
    }

    CKWRefPtr<CTalTextNote> m_note;
    CTalPageTemplate m_template;
};

TEST_F(TalTextExportManagerTest, TwoCellsFiveBlocksThreePicturePages)
{
    const std::wstring text = NumberedLines(5);
    FillNote(*m_note, text.c_str());
    m_template.AddCell(CTalTemplate::kCellText, OneLineCell(0.1));
    m_template.AddCell(CTalTemplate::kCellText, OneLineCell(0.5));
    m_template.AddCell(CTalTemplate::kCellPictures, CKWDoubleRect(0.1, 0.7, 0.9, 0.9));

    CTalTextExportManager manager(m_note.Get(), &m_template, 3, kW, kH);
    CTalTextPages pages;
    pages.resize(9);  // cleared first
    manager.Split(pages);
    ASSERT_EQ(3u, pages.size());
    EXPECT_EQ(2u, pages[0].size());
    EXPECT_EQ(2u, pages[1].size());
    EXPECT_EQ(1u, pages[2].size());
    ExpectChained(pages);

    const std::vector<int> starts = LineStarts(text);
    const CTalCellList& cells = *m_template.GetCells(CTalTemplate::kCellText);
    int index = 0;
    for (const CTalTextPage& page : pages) {
        for (size_t b = 0; b < page.size(); ++b, ++index) {
            const CTalTextBlock& block = page[b];
            EXPECT_EQ(starts[index], block.start) << index;
            EXPECT_EQ(cells[b].top, block.rect.top) << index;
            EXPECT_EQ(cells[b].bottom, block.rect.bottom) << index;
            ASSERT_EQ(1, block.lines.GetCount()) << index;
            EXPECT_EQ(starts[index], block.lines.m_lines[0].m_start) << index;
        }
    }
}

TEST_F(TalTextExportManagerTest, AreasAboveAndBelowTheHeadingAfterThePicturePages)
{
    const std::wstring text = NumberedLines(300);
    FillNote(*m_note, text.c_str());
    const CKWDoubleRect heading(0.15, 0.4, 0.85, 0.5);
    m_template.AddCell(CTalTemplate::kCellHeading, heading);
    m_template.AddCell(CTalTemplate::kCellText, OneLineCell(0.1));
    m_template.AddCell(CTalTemplate::kCellText, OneLineCell(0.2));
    m_template.AddCell(CTalTemplate::kCellPictures, CKWDoubleRect(0.1, 0.6, 0.9, 0.9));

    CTalTextExportManager manager(m_note.Get(), &m_template, 1, kW, kH);
    const std::vector<CKWDoubleRect> areas = manager.GetAreas();
    ASSERT_EQ(2u, areas.size());
    const CKWDoubleRect above(heading.left, 200 / kH, heading.right, (heading.top * kH - 100) / kH);
    const CKWDoubleRect below(heading.left, (heading.bottom * kH + 100) / kH, heading.right, (kH - 200) / kH);
    for (int side = 0; side < 2; ++side) {
        const CKWDoubleRect& expected = side == 0 ? above : below;
        EXPECT_DOUBLE_EQ(expected.left, areas[side].left);
        EXPECT_DOUBLE_EQ(expected.top, areas[side].top);
        EXPECT_DOUBLE_EQ(expected.right, areas[side].right);
        EXPECT_DOUBLE_EQ(expected.bottom, areas[side].bottom);
    }

    CTalTextPages pages;
    manager.Split(pages);
    ASSERT_GE(pages.size(), 3u);
    ASSERT_EQ(2u, pages[0].size());
    EXPECT_EQ(0.1, pages[0][0].rect.top);
    for (size_t p = 1; p < pages.size(); ++p) {
        ASSERT_LE(pages[p].size(), 2u);
        EXPECT_EQ(above.top, pages[p][0].rect.top) << p;
        if (p + 1 < pages.size()) {
            ASSERT_EQ(2u, pages[p].size()) << p;
            EXPECT_EQ(below.top, pages[p][1].rect.top) << p;
        }
        // Each area takes as many lines as its height holds.
        const double pitch = LinePitch();
        for (const CTalTextBlock& block : pages[p]) {
            const double room = (block.rect.bottom - block.rect.top) * kH;
            EXPECT_LE(block.lines.GetCount() * pitch, room + pitch) << p;
            if (block.end != -1)
                EXPECT_GE(block.lines.GetCount() * pitch, room - 2 * pitch) << p;
        }
    }
    ExpectChained(pages);
}

TEST_F(TalTextExportManagerTest, AreasByWhereTheHeadingLies)
{
    struct Case {
        CKWDoubleRect heading;
        std::vector<CKWDoubleRect> areas;
    } cases[] = {
        // Within 50 mm of the top: nothing above.
        {{0.2, 0.1, 0.8, 0.15}, {{0.2, (0.15 * kH + 100) / kH, 0.8, (kH - 200) / kH}}},
        // Within 50 mm of the bottom: nothing below.
        {{0.2, 0.85, 0.8, 0.95}, {{0.2, 200 / kH, 0.8, (0.85 * kH - 100) / kH}}},
        // Room on both sides.
        {{0.3, 0.2, 0.7, 0.8},
         {{0.3, 200 / kH, 0.7, (0.2 * kH - 100) / kH}, {0.3, (0.8 * kH + 100) / kH, 0.7, (kH - 200) / kH}}},
        // Room on neither side: the full height between the margins.
        {{0.25, 0.1, 0.75, 0.95}, {{0.25, 200 / kH, 0.75, (kH - 200) / kH}}},
        // No heading cell: the page within its margins.
        {{0, 0, 0, 0}, {{200 / kW, 200 / kH, (kW - 200) / kW, (kH - 200) / kH}}},
        {{0.5, 0.2, 0.5, 0.4}, {{200 / kW, 200 / kH, (kW - 200) / kW, (kH - 200) / kH}}},
    };
    int index = 0;
    for (const Case& c : cases) {
        CTalPageTemplate tmpl;
        if (c.heading.right != 0)
            tmpl.AddCell(CTalTemplate::kCellHeading, c.heading);
        tmpl.AddCell(CTalTemplate::kCellText, OneLineCell(0.1));
        CTalTextExportManager manager(m_note.Get(), &tmpl, 0, kW, kH);
        const std::vector<CKWDoubleRect>& areas = manager.GetAreas();
        ASSERT_EQ(c.areas.size(), areas.size()) << index;
        for (size_t i = 0; i < areas.size(); ++i) {
            EXPECT_NEAR(c.areas[i].left, areas[i].left, 1e-12) << index;
            EXPECT_NEAR(c.areas[i].top, areas[i].top, 1e-12) << index;
            EXPECT_NEAR(c.areas[i].right, areas[i].right, 1e-12) << index;
            EXPECT_NEAR(c.areas[i].bottom, areas[i].bottom, 1e-12) << index;
        }
        ++index;
    }
}

TEST_F(TalTextExportManagerTest, NothingForAnEmptyNoteOrNoTextCell)
{
    m_template.AddCell(CTalTemplate::kCellText, OneLineCell(0.1));
    CTalTextPages pages(2);
    CTalTextExportManager(m_note.Get(), &m_template, 1, kW, kH).Split(pages);
    EXPECT_TRUE(pages.empty());

    FillNote(*m_note, L"Some text");
    CTalPageTemplate noText;
    noText.AddCell(CTalTemplate::kCellHeading, CKWDoubleRect(0.1, 0.1, 0.9, 0.2));
    noText.AddCell(CTalTemplate::kCellPictures, CKWDoubleRect(0.1, 0.3, 0.9, 0.9));
    pages.resize(2);
    CTalTextExportManager(m_note.Get(), &noText, 0, kW, kH).Split(pages);
    EXPECT_TRUE(pages.empty());
}

TEST_F(TalTextExportManagerTest, NoPictureShownUsesTheAreasFromTheStart)
{
    FillNote(*m_note, L"Short note");
    m_template.AddCell(CTalTemplate::kCellText, OneLineCell(0.1));
    m_template.AddCell(CTalTemplate::kCellPictures, CKWDoubleRect(0.1, 0.3, 0.9, 0.9));
    CTalTextExportManager manager(m_note.Get(), &m_template, 0, kW, kH);
    EXPECT_EQ(0, manager.GetPicturePages());
    CTalTextPages pages;
    manager.Split(pages);
    ASSERT_EQ(1u, pages.size());
    ASSERT_EQ(1u, pages[0].size());
    EXPECT_DOUBLE_EQ(200 / kH, pages[0][0].rect.top);
    EXPECT_EQ(-1, pages[0][0].end);
}

TEST_F(TalTextExportManagerTest, WithoutPictureCellsTextCellsOnEveryPage)
{
    FillNote(*m_note, NumberedLines(5).c_str());
    m_template.AddCell(CTalTemplate::kCellText, OneLineCell(0.1));
    m_template.AddCell(CTalTemplate::kCellText, OneLineCell(0.3));
    CTalTextExportManager manager(m_note.Get(), &m_template, 1, kW, kH);
    EXPECT_EQ(-1, manager.GetPicturePages());
    CTalTextPages pages;
    manager.Split(pages);
    ASSERT_EQ(3u, pages.size());
    for (const CTalTextPage& page : pages) {
        EXPECT_EQ(0.1, page[0].rect.top);
        if (page.size() > 1)
            EXPECT_EQ(0.3, page[1].rect.top);
    }
    ExpectChained(pages);
}

TEST_F(TalTextExportManagerTest, ACellTooLowForALineStillLosesNoText)
{
    // Each block takes the one line it cannot hold, and the rest goes on in
    // the next cell instead of vanishing into the first block.
    const std::wstring text = NumberedLines(3);
    FillNote(*m_note, text.c_str());
    m_template.AddCell(CTalTemplate::kCellText, CKWDoubleRect(0.1, 0.1, 0.9, 0.1 + 1.0 / kH));
    CTalTextPages pages;
    CTalTextExportManager(m_note.Get(), &m_template, -1, kW, kH).Split(pages);
    ASSERT_EQ(3u, pages.size());
    const std::vector<int> starts = LineStarts(text);
    for (size_t p = 0; p < 3; ++p) {
        ASSERT_EQ(1u, pages[p].size());
        EXPECT_EQ(starts[p], pages[p][0].start);
        ASSERT_EQ(1, pages[p][0].lines.GetCount());
        EXPECT_EQ(starts[p], pages[p][0].lines.m_lines[0].m_start);
    }
    ExpectChained(pages);
}

}  // namespace
