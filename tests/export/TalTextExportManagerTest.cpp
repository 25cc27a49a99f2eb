// A note cut into blocks, case by case: text cells on the picture pages,
// areas around the heading after them, cells lower than a line. Every cut is
// checked to chain through the whole text and to fill each block as far as
// its height holds; the blocks are compared with a golden file.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "export/TalTextExportManager.h"
#include "framework/KWGdiPlusStartup.h"
#include "model/TalPageTemplate.h"
#include "model/TalTextNote.h"
#include "tests/export/ExportTestSupport.h"

namespace {

const double kW = 2100, kH = 2970;

struct SplitCase {
    CKWRefPtr<CTalTextNote> note{new CTalTextNote(nullptr)};
    CTalPageTemplate tmpl;
    int32_t picturePages = 0;
    double pitch = 50;  // between two baselines of the note's text, tenths of a millimetre

    SplitCase()
    {
        CKWRefPtr<CTalTextNote> probe(new CTalTextNote(nullptr));
        FillNote(*probe, L"A\nB");
        CKWTextLineVector lines;
        probe->BuildExportLines(lines, CKWDoubleRect(0, 0, 2000, 2000), 0, 0);
        EXPECT_EQ(2, lines.GetSize());
        if (lines.GetSize() == 2)
            pitch = lines[1].m_baseline - lines[0].m_baseline;
    }
    // A text cell (page fractions) at the top offset that holds one line and not two.
    void OneLineCell(double top) { tmpl.AddCell(CTalTemplate::kCellText, {0.1, top, 0.9, top + 1.5 * pitch / kH}); }
};

const std::pair<const char*, std::function<void(SplitCase&)>> kCases[] = {
    {"five lines in two one-line text cells over three picture pages", [](SplitCase& c) {
         FillNote(*c.note, NumberedLines(5).c_str());
         c.OneLineCell(0.1);
         c.OneLineCell(0.5);
         c.tmpl.AddCell(CTalTemplate::kCellPictures, {0.1, 0.7, 0.9, 0.9});
         c.picturePages = 3;
     }},
    {"areas above and below the heading after the picture page", [](SplitCase& c) {
         FillNote(*c.note, NumberedLines(300).c_str());
         c.tmpl.AddCell(CTalTemplate::kCellHeading, {0.15, 0.4, 0.85, 0.5});
         c.OneLineCell(0.1);
         c.OneLineCell(0.2);
         c.tmpl.AddCell(CTalTemplate::kCellPictures, {0.1, 0.6, 0.9, 0.9});
         c.picturePages = 1;
     }},
    {"heading within 50 mm of the top: no area above", [](SplitCase& c) {
         c.tmpl.AddCell(CTalTemplate::kCellHeading, {0.2, 0.1, 0.8, 0.15});
     }},
    {"heading within 50 mm of the bottom: no area below", [](SplitCase& c) {
         c.tmpl.AddCell(CTalTemplate::kCellHeading, {0.2, 0.85, 0.8, 0.95});
     }},
    {"heading with room on both sides", [](SplitCase& c) {
         c.tmpl.AddCell(CTalTemplate::kCellHeading, {0.3, 0.2, 0.7, 0.8});
     }},
    {"heading with room on neither side: the height between the margins", [](SplitCase& c) {
         c.tmpl.AddCell(CTalTemplate::kCellHeading, {0.25, 0.1, 0.75, 0.95});
     }},
    {"a heading without width: the page within its margins", [](SplitCase& c) {
         c.tmpl.AddCell(CTalTemplate::kCellHeading, {0.5, 0.2, 0.5, 0.4});
     }},
    {"no picture shown: the areas from the first page", [](SplitCase& c) {
         FillNote(*c.note, L"Short note");
         c.OneLineCell(0.1);
         c.tmpl.AddCell(CTalTemplate::kCellPictures, {0.1, 0.3, 0.9, 0.9});
     }},
    {"no picture cell: the text cells on every page", [](SplitCase& c) {
         FillNote(*c.note, NumberedLines(5).c_str());
         c.OneLineCell(0.1);
         c.OneLineCell(0.3);
         c.picturePages = 1;
     }},
    {"a cell lower than a line takes one line a page", [](SplitCase& c) {
         FillNote(*c.note, NumberedLines(3).c_str());
         c.tmpl.AddCell(CTalTemplate::kCellText, {0.1, 0.1, 0.9, 0.1 + 1.0 / kH});
         c.picturePages = -1;
     }},
    {"an empty note: no page", [](SplitCase& c) { c.OneLineCell(0.1); }},
    {"no text cell: no page", [](SplitCase& c) {
         FillNote(*c.note, L"Some text");
         c.tmpl.AddCell(CTalTemplate::kCellHeading, {0.1, 0.1, 0.9, 0.2});
         c.tmpl.AddCell(CTalTemplate::kCellPictures, {0.1, 0.3, 0.9, 0.9});
     }},
};

std::string Rect(const CKWDoubleRect& r)
{
    return FormatFixed(r.left) + " " + FormatFixed(r.top) + " " + FormatFixed(r.right) + " " + FormatFixed(r.bottom);
}

TEST(TalTextExportManager, EachCutChainsAndMatchesTheGolden)
{
    ASSERT_TRUE(StartupGdiPlus());
    std::string dump;
    for (const auto& entry : kCases) {
        SplitCase c;
        entry.second(c);
        CTalTextExportManager manager(c.note.Get(), &c.tmpl, c.picturePages, kW, kH);
        dump += "### " + std::string(entry.first) + "\npicture pages " + std::to_string(manager.GetPicturePages()) + "\n";
        for (const CKWDoubleRect& area : manager.GetAreas())
            dump += "area " + Rect(area) + "\n";
        CTalTextPages pages(9);  // cleared first
        manager.Split(pages);
        int32_t next = 0;
        for (size_t p = 0; p < pages.size(); ++p) {
            EXPECT_FALSE(pages[p].empty()) << entry.first;
            for (const CTalTextBlock& block : pages[p]) {
                // Each block begins where the last ended and holds what its height does.
                ASSERT_NE(-1, next) << entry.first << ": a block after the one that ran to the end";
                EXPECT_EQ(next, block.start) << entry.first;
                next = block.end;
                const double room = (block.rect.bottom - block.rect.top) * kH;
                const double used = block.lines.GetCount() * c.pitch;
                EXPECT_GE(block.lines.GetCount(), 1) << entry.first;
                EXPECT_LE(used, std::max(room, 0.0) + c.pitch) << entry.first << " page " << p;
                EXPECT_TRUE(block.end == -1 || used >= room - 2 * c.pitch) << entry.first << " page " << p;
                dump += "page " + std::to_string(p) + " block " + std::to_string(block.start) + ".." +
                        std::to_string(block.end) + " in " + Rect(block.rect) + ", lines from";
                for (int i = 0; i < block.lines.GetCount(); ++i)
                    dump += " " + std::to_string(block.lines.m_lines[size_t(i)].m_start);
                dump += "\n";
            }
        }
        EXPECT_EQ(pages.empty() ? 0 : -1, next) << entry.first << ": the text is not covered";
    }
    ExpectGolden(L"text_split.txt", dump);
}

}  // namespace
