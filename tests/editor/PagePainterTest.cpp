// The composed pages as the report view prints and previews them, drawn
// into a drawing interface that notes what it is asked.
#include "tests/support/RecordingGraphics.h"

#include "editor/TalPagePainter.h"
#include "editor/TalView.h"
#include "export/ExportObjectData.h"
#include "export/TalObjExport.h"
#include "export/TalPageExport.h"
#include "framework/KWDib.h"
#include "framework/KWGdiPlusDraw.h"
#include "framework/KWGdiPlusStartup.h"
#include "framework/KWRasterLib.h"
#include "model/TalDocProperties.h"
#include "model/TalTextFormat.h"
#include "model/TalTextNote.h"
#include "text/KWCharFormat.h"
#include "document/TalDocument.h"
#include "document/TalPrintIFace.h"
#include "SolidBitmap.h"
#include "tests/framework/KWTestFiles.h"
#include "tests/support/TestPictureFiles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

using test_support::CRecordingGraphics;

namespace {

class PagePainter : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(StartupGdiPlus()); }

    void Draw(CRecordingGraphics& graphics, const TalPageExport& page)
    {
        CTalPagePainter painter(properties, 300, 300);
        painter.DrawPage(graphics, CRect(0, 0, 1000, 2000), page);
    }

    CTalDocProperties properties;
};

}  // namespace

TEST_F(PagePainter, PlacedTextIsAlignedByItsPlaceIndexAlone)
{
    const struct {
        int32_t place;
        uint32_t flags;
    } cases[] = {{0, 0},        {1, 0x10000}, {2, 0x20000}, {3, 0x40000}, {4, 0x50000}, {5, 0x60000},
                 {6, 0x80000},  {7, 0x90000}, {8, 0xA0000}, {9, 0},       {-1, 0}};
    CTalTextFormat format;
    format.m_align = CTalTextFormat::kAlignRight;
    TalPageExport page(0, L"page", nullptr);
    for (const auto& c : cases)
        page.AddObject(new TalObjExport(L"Draft", c.place, &format));
    CRecordingGraphics graphics(96);
    Draw(graphics, page);
    ASSERT_EQ(std::size(cases), graphics.texts.size());
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(cases[i].flags, graphics.texts[i].flags) << "place " << cases[i].place;
}

TEST_F(PagePainter, CaptionTakesTwoLineHeightsUnderItsPictureAndOnlySectionPicturesTurnAndGrey)
{
    CKWTestTempFolder folder(L"edg");
    const uint32_t picture =
        g_rasterLib.GetPictureId(folder.Write(L"red.bmp", edtest::SolidBitmapFile(40, 20, 0, 0, 255)).c_str());
    TalPageExport page(0, L"page", nullptr);
    auto* section = new TalObjExport(picture, CKWDoubleRect(0.1, 0.1, 0.9, 0.5), 90, true);
    CTalTextFormat format;
    format.m_size = 10;
    section->GetImageRecord()->SetString(L"A caption");
    section->GetImageRecord()->SetFormat(&format);
    page.AddObject(section);
    page.AddObject(new TalObjExport(picture));
    page.AddObject(new TalObjExport(picture, 1.0, 0.5, 4));
    // 144 dots per inch: two device units per point.
    CRecordingGraphics graphics(144);
    Draw(graphics, page);

    ASSERT_EQ(3u, graphics.images.size());
    // The section's picture stands up and is grey; the page's and the watermark's are as read.
    EXPECT_EQ(20, graphics.images[0].pixelsWide);
    EXPECT_EQ(40, graphics.images[0].pixelsHigh);
    const uint32_t grey = graphics.images[0].middle & 0xFFFFFF;
    EXPECT_EQ(grey & 0xFF, (grey >> 8) & 0xFF);
    EXPECT_EQ(grey & 0xFF, (grey >> 16) & 0xFF);
    for (size_t i : {1u, 2u}) {
        EXPECT_EQ(40, graphics.images[i].pixelsWide) << i;
        EXPECT_EQ(0xFF0000u, graphics.images[i].middle & 0xFFFFFF) << i;
    }
    // The watermark picture is sized in inches of the printer (300 dots per inch), centred.
    EXPECT_DOUBLE_EQ(300, graphics.images[2].width);
    EXPECT_DOUBLE_EQ(150, graphics.images[2].height);

    ASSERT_EQ(1u, graphics.texts.size());
    const CRecordingGraphics::Text& caption = graphics.texts[0];
    EXPECT_EQ(L"A caption", caption.text);
    const double lineHeight = (10 + 3 + 1) * 2.0;
    EXPECT_DOUBLE_EQ(2 * lineHeight, caption.height);
    EXPECT_DOUBLE_EQ(graphics.images[0].y + graphics.images[0].height, caption.y);
    EXPECT_DOUBLE_EQ(100, caption.x);
    EXPECT_DOUBLE_EQ(800, caption.width);
    EXPECT_DOUBLE_EQ(20, caption.size);
    EXPECT_EQ(0x10000u | KWDRAWSTRING_GROW_TO_FIT, caption.flags);
}

TEST_F(PagePainter, TextLinesStayInsideTheirNoteAndArePlacedInTenthsOfAMillimetre)
{
    auto* note = new CTalTextNote;
    note->AddRef();
    note->SetText(L"Hello world");
    TextExportLine lines;
    const struct {
        int32_t start, end;
        const wchar_t* text;  // null: nothing drawn
    } cases[] = {{0, 5, L"Hello"}, {6, 99, L"world"}, {-4, 2, L"He"}, {20, 30, nullptr}, {5, 3, nullptr}};
    for (const auto& c : cases) {
        CKWTextLine line;
        line.m_left = 254;  // one inch
        line.m_top = 508;
        line.m_start = c.start;
        line.m_end = c.end;
        lines.m_lines.push_back(line);
    }
    TalPageExport page(0, L"page", nullptr);
    page.AddObject(new TalObjExport(note, 0, -1, CKWDoubleRect(0.1, 0.05, 0.9, 0.9), lines));
    CRecordingGraphics graphics(100);
    Draw(graphics, page);
    std::vector<std::wstring> drawn;
    for (const CRecordingGraphics::Text& text : graphics.texts)
        drawn.push_back(text.text);
    EXPECT_EQ((std::vector<std::wstring>{L"Hello", L"world", L"He"}), drawn);
    ASSERT_FALSE(graphics.texts.empty());
    EXPECT_DOUBLE_EQ(100 + 100, graphics.texts[0].x);
    EXPECT_DOUBLE_EQ(100 + 200, graphics.texts[0].y);
    note->Release();
}

// Pages composed for a paper larger than the rectangle they are drawn on
// (the printable part of it): the note's lines shrink with the rectangle, the
// same on both axes, so each stays inside its box; on the paper's own size
// they are drawn as laid out.
TEST_F(PagePainter, NoteLinesShrinkWithARectangleSmallerThanTheirPaper)
{
    auto* note = new CTalTextNote;
    note->AddRef();
    note->SetText(L"Line");
    TextExportLine lines;
    CKWTextLine line;
    line.m_left = 2286;  // nine inches: the right part of a ten-inch box
    line.m_top = 254;
    line.m_start = 0;
    line.m_end = 4;
    lines.m_lines.push_back(line);
    TalPageExport page(0, L"page", nullptr);
    page.AddObject(new TalObjExport(note, 0, -1, CKWDoubleRect(0, 0, 1, 1), lines));
    const struct {
        CRect rect;
        double scale;  // device units per tenth of a millimetre
    } cases[] = {
        {CRect(0, 0, 1000, 1000), 100.0 / 254},  // the ten-inch paper at 100 dots per inch
        {CRect(0, 0, 900, 950), 900.0 / 2540},   // its printable part: the narrower axis decides
        {CRect(50, 20, 950, 1020), 900.0 / 2540},
    };
    for (const auto& c : cases) {
        CRecordingGraphics graphics(100);
        CTalPagePainter painter(properties, 300, 300, 2540, 2540);
        painter.DrawPage(graphics, c.rect, page);
        ASSERT_EQ(1u, graphics.texts.size());
        const CRecordingGraphics::Text& drawn = graphics.texts[0];
        EXPECT_NEAR(c.rect.left + 2286 * c.scale, drawn.x, 1e-9);
        EXPECT_NEAR(c.rect.top + 254 * c.scale, drawn.y, 1e-9);
        EXPECT_NEAR(CKWCharFormat::GetDefault().m_size * c.scale * 254 / 72, drawn.size, 1e-5);  // a float
        EXPECT_LE(drawn.x, c.rect.right) << "inside the box";
    }
    note->Release();
}

namespace {

// A report composed standalone, with the print interface a new document gets.
// It lives on the stack: removing its last view must not delete it.
class CPaintedReport : public CTalDocument {
public:
    CPaintedReport()
    {
        m_bAutoDelete = FALSE;
        CreatePrintIFace();
    }
};

}  // namespace

TEST_F(PagePainter, ViewDrawsNothingForPageMinusOneAndPrintsAtThePrintersResolution)
{
    CPaintedReport report;
    ASSERT_TRUE(report.ComposePages(true));
    CTalView view;
    report.AddView(&view);

    CRecordingGraphics nothing(96);
    view.DrawPage(&nothing, CRect(0, 0, 1000, 2000), -1);
    EXPECT_TRUE(nothing.Untouched());

    // Unit scales: the printer's resolution is fixed for the page and released after it.
    CRecordingGraphics printed(96);
    view.PrintPage(&printed, 1);
    EXPECT_FALSE(printed.texts.empty());
    EXPECT_TRUE(printed.scales.empty());
    EXPECT_FALSE(printed.useFixed);
    auto* print = dynamic_cast<CTalPrintIFace*>(report.GetPrintIFace());
    ASSERT_NE(nullptr, print);
    EXPECT_EQ(print->GetPixelsPerInchY(), printed.fixedDpi);
    report.RemoveView(&view);
}

namespace {

// A page of one picture stretched over it (or, made grey, a section's
// picture fitted to it), painted for real on a white page of size x size
// pixels; its pixels as 0x00RRGGBB, row by row.
std::vector<uint32_t> PaintPicture(uint32_t picture, int size, bool grey = false)
{
    TalPageExport page(0, L"page", nullptr);
    page.AddObject(grey ? new TalObjExport(picture, CKWDoubleRect(0, 0, 1, 1), 0, true) : new TalObjExport(picture));
    CTalDocProperties properties;
    BITMAPINFO info;
    void* bits = nullptr;
    HDC memory = ::CreateCompatibleDC(nullptr);
    HBITMAP surface = KWCreateTopDownDib(memory, size, size, info, &bits);
    std::vector<uint32_t> pixels;
    if (surface && bits) {
        HGDIOBJ old = ::SelectObject(memory, surface);
        ::PatBlt(memory, 0, 0, size, size, WHITENESS);
        {
            CKWGdiPlusDraw graphics(memory);
            CTalPagePainter painter(properties, 96, 96);
            painter.DrawPage(graphics, CRect(0, 0, size, size), page);
        }
        ::GdiFlush();
        const auto* begin = static_cast<const uint32_t*>(bits);
        pixels.assign(begin, begin + size_t(size) * size);
        for (uint32_t& pixel : pixels)
            pixel &= 0xFFFFFF;
        ::SelectObject(memory, old);
    }
    if (surface)
        ::DeleteObject(surface);
    ::DeleteDC(memory);
    return pixels;
}

// A PNG of size x size pixels whose R, G, B, A the function gives.
std::string PngOf(uint32_t size, const std::function<uint32_t(uint32_t x, uint32_t y)>& rgba)
{
    std::string samples;
    for (uint32_t y = 0; y < size; ++y) {
        for (uint32_t x = 0; x < size; ++x) {
            const uint32_t value = rgba(x, y);
            for (int shift = 24; shift >= 0; shift -= 8)
                samples += char((value >> shift) & 0xFF);
        }
    }
    return testpictures::PngFile(size, size, 8, true, samples);
}

}  // namespace

// The paper shows through a picture's transparent parts, as in the PDF and
// HTML pages, not the colour the picture keeps under them; half-transparent
// parts are blended with it. A picture made grey shows the paper where its
// colour version does.
TEST_F(PagePainter, TransparentPartsOfAPictureShowTheWhitePage)
{
    ASSERT_NE(nullptr, g_rasterLib.GetLibraryModule()) << "DAZiruraRuv.dll is missing";
    CKWTestTempFolder folder(L"edp");
    // Left third: green under full transparency; middle: red at half; right: opaque blue.
    const std::string png = PngOf(30, [](uint32_t x, uint32_t) {
        return x < 10 ? 0x00FF0000u : x < 20 ? 0xFF000080u : 0x0000FFFFu;
    });
    const uint32_t picture = g_rasterLib.GetPictureId(folder.Write(L"clear.png", png).c_str());
    const std::vector<uint32_t> colour = PaintPicture(picture, 30);
    const std::vector<uint32_t> grey = PaintPicture(picture, 30, true);
    ASSERT_EQ(900u, colour.size());
    ASSERT_EQ(900u, grey.size());
    const struct {
        int x;
        bool grey;
        uint32_t colour;
    } expected[] = {
        {4, false, 0xFFFFFF}, {15, false, 0xFF7F7F}, {25, false, 0x0000FF},
        // Grey: red and blue are 85 each, red at half over white 170.
        {4, true, 0xFFFFFF},  {15, true, 0xAAAAAA},  {25, true, 0x555555},
    };
    for (const auto& e : expected) {
        const uint32_t shown = (e.grey ? grey : colour)[15 * 30 + e.x];
        for (int shift = 0; shift <= 16; shift += 8)
            EXPECT_NEAR(int((e.colour >> shift) & 0xFF), int((shown >> shift) & 0xFF), 3)
                << "x " << e.x << (e.grey ? " grey" : " colour") << std::hex << " shows " << shown;
    }
}

// A picture shown much smaller than its size is averaged: stripes of two
// black and two white pixels, shown at a seventh of their size, are grey
// everywhere, never thinned out into black and white.
TEST_F(PagePainter, APictureShownSmallerIsAveragedNotThinnedOut)
{
    ASSERT_NE(nullptr, g_rasterLib.GetLibraryModule()) << "DAZiruraRuv.dll is missing";
    CKWTestTempFolder folder(L"eds");
    const std::string png = PngOf(392, [](uint32_t x, uint32_t) { return x % 4 < 2 ? 0x000000FFu : 0xFFFFFFFFu; });
    const uint32_t picture = g_rasterLib.GetPictureId(folder.Write(L"stripes.png", png).c_str());
    const std::vector<uint32_t> pixels = PaintPicture(picture, 56);
    ASSERT_EQ(56u * 56u, pixels.size());
    int outside = 0;
    for (int y = 2; y < 54; ++y) {
        for (int x = 2; x < 54; ++x) {
            const int grey = int(pixels[size_t(y) * 56 + x] & 0xFF);
            outside += grey < 80 || grey > 175;
        }
    }
    EXPECT_EQ(0, outside) << "pixels far from grey";
}
