// Text through CKWGdiPlusDraw. The prefix maps "Arial" to Liberation Sans, so
// the checks are relations (wider, wraps, fits), not pixel widths.
#include "framework/KWGdiPlusDraw.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "framework/KWFont.h"
#include "platform/classlib/DC.h"
#include "tests/framework/GdiPlusCanvas.h"

namespace {

const int kFontPixels = 20;

class KWGdiPlusDrawText : public ::testing::Test {
protected:
    KWGdiPlusDrawText() : m_canvas(200, 100), m_font(L"Arial", kFontPixels, 0) {}

    void SetUp() override
    {
        ASSERT_TRUE(m_canvas.IsReady());
        ASSERT_NE(nullptr, m_font.GetFont());
    }

    double Width(const wchar_t* text)
    {
        double width = -1;
        EXPECT_EQ(0, m_canvas.Draw().DrawStringAt(0, 0, text, -1, m_font, nullptr, &width));
        return width;
    }

    GdiPlusCanvas m_canvas;
    CKWFont m_font;
    const CKWBrush m_black = GdiPlusCanvas::Solid(GdiPlusCanvas::kBlack);
};

TEST_F(KWGdiPlusDrawText, CharWidthsFollowTheLettersAndMeasureSpaces)
{
    IKWGraphics& g = m_canvas.Draw();
    double widths[5] = {};
    ASSERT_EQ(5, g.GetCharWidths(L"WiiW ", -1, m_font, widths, 5));
    EXPECT_GT(widths[0], widths[1]);
    EXPECT_DOUBLE_EQ(widths[1], widths[2]);
    EXPECT_DOUBLE_EQ(widths[0], widths[3]);
    EXPECT_DOUBLE_EQ(Width(L"W"), widths[0]);
    // A space is measured against a letter (alone it would come out as nothing).
    EXPECT_DOUBLE_EQ(Width(L" A") - Width(L"A"), widths[4]);
    EXPECT_GT(widths[4], 0);
    EXPECT_LT(widths[4], widths[0]);
    // The sum of the letters is close to the word measured as a whole.
    const double word = Width(L"WiiW");
    EXPECT_NEAR(word, widths[0] + widths[1] + widths[2] + widths[3], word * 0.1);
    CKWFont larger(L"Arial", kFontPixels * 2, 0);
    double larger0 = 0;
    ASSERT_EQ(1, g.GetCharWidths(L"W", 1, larger, &larger0, 1));
    EXPECT_NEAR(2 * widths[0], larger0, widths[0] * 0.2);

    const struct {
        const wchar_t* text;
        int length;
        int maxCount;
        int expected;
    } cases[] = {
        {L"Wide", -1, 8, 4},   // up to the terminating 0
        {L"Wide", 2, 8, 2},    // the given length
        {L"Wide", -1, 3, 3},   // the capacity
        {L"", -1, 8, 0}, {L"Wide", 0, 8, 0}, {L"Wide", 4, 0, 0}, {nullptr, 4, 8, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, g.GetCharWidths(c.text, c.length, m_font, widths, c.maxCount)) << c.length << " "
                                                                                             << c.maxCount;
    EXPECT_EQ(0, g.GetCharWidths(L"Wide", 4, m_font, nullptr, 8));
}

TEST_F(KWGdiPlusDrawText, DrawStringAtDrawsOneLineAndMeasures)
{
    IKWGraphics& g = m_canvas.Draw();
    double width = 0;
    EXPECT_EQ(0, g.DrawStringAt(10, 10, L"Hello world", -1, m_font, &m_black, &width));
    EXPECT_GT(width, Width(L"Hello"));
    RECT ink;
    ASSERT_TRUE(m_canvas.InkBounds(ink));
    EXPECT_GE(ink.left, 10);
    EXPECT_GE(ink.top, 10);
    EXPECT_LE(ink.right, 10 + std::ceil(width) + 1);
    EXPECT_LE(ink.bottom, 10 + 2 * kFontPixels);  // one line

    // Without a brush it only measures.
    GdiPlusCanvas other(200, 100);
    double measured = 0;
    EXPECT_EQ(0, other.Draw().DrawStringAt(10, 10, L"Hello world", 11, m_font, nullptr, &measured));
    EXPECT_DOUBLE_EQ(width, measured);
    // A brush that cannot be made draws nothing and still measures.
    CKWBrush unknown = m_black;
    unknown.m_style = 7;
    measured = 0;
    EXPECT_NE(0, other.Draw().DrawStringAt(10, 10, L"Hello world", 11, m_font, &unknown, &measured));
    EXPECT_DOUBLE_EQ(width, measured);
    EXPECT_EQ(0, other.CountInk(0, 0, 200, 100));
}

TEST_F(KWGdiPlusDrawText, DrawStringWrapsInItsBox)
{
    const wchar_t text[] = L"wrap wrap wrap";
    IKWGraphics& g = m_canvas.Draw();
    EXPECT_EQ(0, g.DrawString(0, 0, 70, 100, text, -1, m_font, m_black, 0));
    RECT wrapped;
    ASSERT_TRUE(m_canvas.InkBounds(wrapped));
    EXPECT_LE(wrapped.right, 71);
    EXPECT_GT(wrapped.bottom, 2 * kFontPixels);  // more than one line

    // The no-wrap flag of the low word keeps it on one line.
    const uint32_t noWrap = 0x1000;  // StringFormatFlagsNoWrap
    GdiPlusCanvas single(200, 100);
    single.Draw().DrawString(0, 0, 200, 100, text, -1, m_font, m_black, noWrap);
    RECT oneLine;
    ASSERT_TRUE(single.InkBounds(oneLine));
    EXPECT_LT(oneLine.bottom, wrapped.bottom);
    EXPECT_GT(oneLine.right, wrapped.right);
}

TEST_F(KWGdiPlusDrawText, DrawStringAlignment)
{
    struct AlignCase {
        uint32_t flags;
        bool right;
        bool low;
    } const cases[] = {
        {0, false, false},
        {KWDRAWSTRING_HFAR, true, false},
        {KWDRAWSTRING_VFAR, false, true},
        {KWDRAWSTRING_HFAR | KWDRAWSTRING_VFAR, true, true},
    };
    for (const AlignCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "flags " << std::hex << c.flags);
        GdiPlusCanvas canvas(200, 100);
        canvas.Draw().DrawString(0, 0, 200, 100, L"Tx", -1, m_font, m_black, c.flags);
        RECT ink;
        ASSERT_TRUE(canvas.InkBounds(ink));
        EXPECT_EQ(c.right, ink.left > 100);
        EXPECT_EQ(c.low, ink.top > 50);
    }

    // Centred both ways: the ink's middle is near the box's.
    GdiPlusCanvas canvas(200, 100);
    canvas.Draw().DrawString(0, 0, 200, 100, L"Tx", -1, m_font, m_black,
                             KWDRAWSTRING_HCENTER | KWDRAWSTRING_VCENTER);
    RECT ink;
    ASSERT_TRUE(canvas.InkBounds(ink));
    EXPECT_NEAR(100, (ink.left + ink.right) / 2, 10);
    EXPECT_NEAR(50, (ink.top + ink.bottom) / 2, 10);
}

TEST_F(KWGdiPlusDrawText, GrowToFitMakesRoomForTheWrappedText)
{
    // A box far too low for the text: clipped to it, it shows no full line;
    // growing, every wrapped line shows.
    const wchar_t text[] = L"grow grow grow";
    GdiPlusCanvas fixed(200, 100);
    fixed.Draw().DrawString(0, 0, 70, 3, text, -1, m_font, m_black, 0);
    EXPECT_EQ(0, fixed.CountInk(0, 4, 200, 100));
    GdiPlusCanvas grown(200, 100);
    EXPECT_EQ(0, grown.Draw().DrawString(0, 0, 70, 3, text, -1, m_font, m_black, KWDRAWSTRING_GROW_TO_FIT));
    RECT ink;
    ASSERT_TRUE(grown.InkBounds(ink));
    EXPECT_GT(ink.bottom, 2 * kFontPixels);
    EXPECT_LE(ink.right, 71);
}

TEST_F(KWGdiPlusDrawText, FontMetrics)
{
    IKWGraphics& g = m_canvas.Draw();
    int32_t m[KWFONTMETRIC_COUNT] = {};
    ASSERT_EQ(0, g.GetFontMetrics(m_font, m));
    const int32_t ascent = m[KWFONTMETRIC_ASCENT];
    const int32_t descent = m[KWFONTMETRIC_DESCENT];
    EXPECT_GT(ascent, descent);
    EXPECT_GT(descent, 0);
    EXPECT_GE(m[KWFONTMETRIC_LINEGAP], 0);
    // The em of 20 pixels lies within the ascent plus descent.
    EXPECT_GE(ascent + descent, kFontPixels);
    EXPECT_LE(ascent + descent, kFontPixels * 3 / 2);
    // The underline lies below the baseline, the strikeout above it.
    EXPECT_GT(m[KWFONTMETRIC_UNDERLINE_OFFSET], ascent);
    EXPECT_LE(m[KWFONTMETRIC_UNDERLINE_OFFSET], ascent + descent);
    EXPECT_GT(m[KWFONTMETRIC_STRIKEOUT_OFFSET], 0);
    EXPECT_LT(m[KWFONTMETRIC_STRIKEOUT_OFFSET], ascent);
    EXPECT_GE(m[KWFONTMETRIC_UNDERLINE_SIZE], 1);
    EXPECT_GE(m[KWFONTMETRIC_STRIKEOUT_SIZE], 1);

    CKWFont larger(L"Arial", kFontPixels * 2, 0);
    int32_t big[KWFONTMETRIC_COUNT] = {};
    ASSERT_EQ(0, g.GetFontMetrics(larger, big));
    EXPECT_NEAR(2 * ascent, big[KWFONTMETRIC_ASCENT], 2);

    // The surface can still be drawn on after its device context was used.
    EXPECT_EQ(0, g.DrawStringAt(0, 0, L"x", 1, m_font, &m_black, nullptr));

    CKWFont none;
    int32_t untouched[KWFONTMETRIC_COUNT] = {7, 7, 7, 7, 7, 7, 7};
    EXPECT_NE(0, g.GetFontMetrics(none, untouched));
    for (int32_t value : untouched)
        EXPECT_EQ(7, value) << "a failure leaves the metrics";
}

}  // namespace

namespace {

// The pixels of a string drawn through a drawing object made over a memory
// context by the maker: those in grey (the smoothed edges) and those in
// colour (sub-pixel edges).
struct TextEdges {
    int grey = 0;
    int coloured = 0;
};

TextEdges EdgesOfText(const std::function<void(HDC, const std::function<void(IKWGraphics&)>&)>& maker)
{
    const int width = 160, height = 40;
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32};
    void* bits = nullptr;
    HDC memory = ::CreateCompatibleDC(nullptr);
    HBITMAP bitmap = ::CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::PatBlt(memory, 0, 0, width, height, WHITENESS);
    const CKWFont font(L"Arial", 20, 0);
    const CKWBrush black(CKWColor::FromRgb(0, 0, 0));
    maker(memory, [&](IKWGraphics& g) { g.DrawStringAt(4, 4, L"Hello wave", -1, font, &black, nullptr); });
    ::GdiFlush();
    TextEdges edges;
    for (int i = 0; i < width * height; ++i) {
        const uint32_t pixel = static_cast<const uint32_t*>(bits)[i] & 0xFFFFFF;
        const uint32_t r = pixel >> 16, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
        if (r != g || g != b)
            ++edges.coloured;
        else if (pixel != 0xFFFFFF && pixel != 0)
            ++edges.grey;
    }
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    return edges;
}

}  // namespace

TEST(KWGdiPlusDrawConstructors, AClassLibraryContextIsDrawnOnLikeItsDeviceHandle)
{
    const TextEdges smoothed = EdgesOfText([](HDC dc, const std::function<void(IKWGraphics&)>& draw) {
        CKWGdiPlusDraw graphics(dc);
        draw(graphics);
    });
    const TextEdges plain = EdgesOfText([](HDC dc, const std::function<void(IKWGraphics&)>& draw) {
        CDC context;
        context.Attach(dc);
        {
            CKWGdiPlusDraw graphics(&context);
            draw(graphics);
        }
        context.Detach();
    });
    EXPECT_GT(plain.grey, 20) << "the text reaches the context's bitmap";
    // The two differ only in the text rendering hint, which this platform
    // does not show: the same edges.
    EXPECT_EQ(smoothed.grey, plain.grey);
    EXPECT_EQ(smoothed.coloured, plain.coloured);
    CKWGdiPlusDraw none(static_cast<CDC*>(nullptr));
    const CKWFont font(L"Arial", 20, 0);
    double width = -1;
    EXPECT_NE(0, none.DrawStringAt(0, 0, L"x", -1, font, nullptr, &width)) << "no context, nothing to measure on";
}

// An underlined line has its underline on every surface (GDI+ draws none
// into a bitmap): a dark row under the letters, as long as the line, also
// when the drawing is scaled; a plain line has none.
TEST_F(KWGdiPlusDrawText, AnUnderlinedLineIsUnderlinedAsLongAsItIs)
{
    const int kUnderline = 4;  // GDI+ FontStyleUnderline
    const struct {
        double scale;
        int style;
        bool underlined;
    } cases[] = {{1.0, kUnderline, true}, {0.5, kUnderline, true}, {1.0, 1 | kUnderline, true}, {1.0, 0, false}};
    for (const auto& c : cases) {
        GdiPlusCanvas canvas(200, 60);
        ASSERT_TRUE(canvas.IsReady());
        CKWFont font(L"Arial", kFontPixels / c.scale, c.style);
        canvas.Draw().Scale(c.scale, c.scale);
        double width = 0;
        ASSERT_EQ(0, canvas.Draw().DrawStringAt(10 / c.scale, 10 / c.scale, L"WWWW", -1, font, &m_black, &width));
        width *= c.scale;
        int fullRows = 0, lowest = -1;
        for (int y = 0; y < 60; ++y) {
            int dark = 0;
            for (int x = 10; x < 10 + int(width); ++x)
                dark += (canvas.Pixel(x, y) & 0xFF) < 128;
            if (dark >= int(width * 0.9)) {
                ++fullRows;
                lowest = y;
            }
        }
        EXPECT_EQ(c.underlined, fullRows > 0) << "scale " << c.scale << " style " << c.style;
        if (c.underlined) {
            // Under the letters: below the baseline, within the line's height.
            EXPECT_GT(lowest, 10 + kFontPixels * 0.7) << c.scale;
            EXPECT_LT(lowest, 10 + kFontPixels * 1.2) << c.scale;
        }
    }
}

// A drawing scaled down (a printed page in the preview) keeps the measures of
// its units: the font metrics, a line's end and a centred line's middle are
// those at full size, scaled.
TEST_F(KWGdiPlusDrawText, AScaledDrawingKeepsTheMeasuresOfItsUnits)
{
    const CKWFont font(L"Arial", 42, 1);
    int32_t full[KWFONTMETRIC_COUNT] = {}, scaled[KWFONTMETRIC_COUNT] = {};
    ASSERT_EQ(0, m_canvas.Draw().GetFontMetrics(font, full));
    GdiPlusCanvas whole(1000, 60);
    whole.Draw().DrawStringAt(0, 0, L"North pier. Cracks", -1, font, &m_black, nullptr);
    RECT line, ink;
    ASSERT_TRUE(whole.InkBounds(line));
    for (double scale : {0.24, 0.3, 0.45}) {
        GdiPlusCanvas shown(300, 60), centred(300, 60);
        shown.Draw().Scale(scale, scale);
        centred.Draw().Scale(scale, scale);
        ASSERT_EQ(0, shown.Draw().GetFontMetrics(font, scaled));
        EXPECT_EQ(full[KWFONTMETRIC_ASCENT], scaled[KWFONTMETRIC_ASCENT]) << scale;
        shown.Draw().DrawStringAt(0, 0, L"North pier. Cracks", -1, font, &m_black, nullptr);
        ASSERT_TRUE(shown.InkBounds(ink));
        EXPECT_NEAR(line.right * scale, ink.right, 1.5) << scale;
        centred.Draw().DrawString(0, 0, 600, 100, L"Captioned pier", -1, font, m_black, KWDRAWSTRING_HCENTER);
        ASSERT_TRUE(centred.InkBounds(ink));
        EXPECT_NEAR(300 * scale, (ink.left + ink.right) / 2.0, 1.5) << scale;
    }
}
