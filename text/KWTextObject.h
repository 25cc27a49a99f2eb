#pragma once
// CKWTextObject: styled text placed in a rectangle and laid out into lines.
// Layout works in tenths of a millimetre (254 to the inch); characters are
// measured through the global screen graphics (KWScreenGraphics.h).
//
// Layout and measuring: KWTextLayout.cpp; positions and hit testing:
// KWTextHitTest.cpp; drawing: KWTextDraw.cpp; export segments: KWTextExport.cpp.
#include <cstdint>
#include <vector>

#include "framework/KWDoubleRect.h"
#include "text/KWTextData.h"
#include "text/KWTextLine.h"

class IKWGraphics;
struct CKWFontMetrics;

// One laid-out line. Positions are relative to the rectangle laid out in.
struct CKWLineRecord {
    enum : uint32_t {
        kFirstOfPara = 1,  // the first line of its paragraph
        kEndsPara = 2,     // ends with its paragraph's line feed
        kNotPercent = 4,   // the paragraph's line spacing is natural or exact
    };

    double width = 0;   // sum of the character widths (a hanging space included)
    double height = 0;  // with the paragraph's line spacing applied
    double x = 0;       // indent plus alignment offset
    double top = 0;
    int32_t end = 0;    // the position after the line's last character
    const CKWFontMetrics* metrics = nullptr;  // of the line's largest font
    uint32_t flags = 0;

    // The end without the paragraph's line feed.
    int32_t VisibleEnd() const { return (flags & kEndsPara) ? end - 1 : end; }
};

typedef std::vector<CKWLineRecord> CKWLineVector;

class CKWTextObject : public CKWTextData {
public:
    // Width from one tab stop to the next.
    static constexpr double kTabStep = 128.0;
    // How far the caret's box reaches past a paragraph's end.
    static constexpr double kParaMarkWidth = 16.0;

    CKWTextObject();
    ~CKWTextObject() override;

    void Copy(const CKWTextData& source) override;
    void OnTextChanged() override { m_widthsValid = m_preciseValid = false; }
    void OnRunsChanged() override { m_widthsValid = m_preciseValid = false; }
    void OnParasChanged() override { m_layoutValid = false; }

    // Draws the lines that meet the clip (layout units, the placement's frame)
    // in pixels of the graphics' resolution.
    virtual void Draw(IKWGraphics& graphics, const CKWDoubleRect& clip);
    virtual void Layout() { UpdateLayout(); }

    // The text data, then the placement rectangle.
    void Serialize(CKWArchive& ar);

    const CKWDoubleRect& GetRect() const { return m_rect; }
    void SetRect(const CKWDoubleRect& rect);

    // Measures and lays out whatever is out of date.
    void UpdateLayout();
    // Fills the widths of [from, to) (to < 0: the text end). The normal ones
    // serve the text's own layout; the high-precision ones, measured at 2048
    // pixels and scaled down, are kept apart for the page layout of the
    // exports, so that fitting and export segments break lines alike.
    void MeasureRange(int from, int to, bool highPrecision);
    // Lays [start, end) out into lines for the rectangle's width with the
    // normal widths; with stopAtHeight, stops once the lines reach its height.
    // With closingLine, an empty text and a text ending in a line feed get an
    // empty last line for the caret. Returns the number of lines. Tab widths
    // are stored in the width array.
    int LayoutLines(CKWLineVector& lines, int start, int end, const CKWDoubleRect& rect,
                    bool stopAtHeight, bool closingLine = false);

    // How far the text from start fits the rectangle (laid out with the
    // high-precision widths, as BuildExportLines does): -1 when the rest of
    // the text fits (or is empty); else the end of the last line that fits. When
    // not even the first line fits, that line is still placed (its end is
    // returned, or -1 when it is the last), so a paginating caller always
    // moves on. fittingLines, when given, receives the number of lines that
    // really fit (0 when not even the first does).
    int GetFittingEnd(const CKWDoubleRect& rect, int start, int* fittingLines = nullptr);

    // Cuts the lines from start that GetFittingEnd places into the rectangle
    // into segments, one per run piece between tabs. Returns the flag byte
    // (bit 0 of flags).
    uint8_t BuildExportLines(CKWTextLineVector& out, const CKWDoubleRect& rect, int start, uint32_t flags);

    // Re-lays out the lines around a replacement of [start, end) by inserted
    // characters (the text already changed; startLine holds start). end
    // becomes the new end. The boxes the changed lines covered before and
    // cover after (relative to the placement, moved lines included) are
    // stored when asked.
    void RelayoutRange(int start, int startLine, int& end, int inserted,
                       CKWDoubleRect* before = nullptr, CKWDoubleRect* after = nullptr);

    // The box of the lines relative to the placement.
    void GetBounds(CKWDoubleRect& bounds) const;
    // The position nearest to a point relative to the placement.
    int HitTest(double x, double y) const;
    int PositionInLine(int line, double x) const;
    // The point of a position on a line, relative to the placement.
    void PositionToPoint(int position, int line, double& x, double& y) const;
    int LineOfPosition(int position, bool atEnd, int fromLine = 0) const;
    int FindLineWithFlags(int fromLine, uint32_t flags) const;

    int GetLineCount() const { return static_cast<int>(m_lines.size()); }
    const CKWLineRecord& GetLine(int index) const { return m_lines[index]; }
    // The first position of a line.
    int LineStart(int index) const { return index <= 0 ? 0 : m_lines[index - 1].end; }
    double GetCharAdvance(int position) const;
    bool AreWidthsValid() const { return m_widthsValid; }
    bool IsLayoutValid() const { return m_layoutValid; }

private:
    void EnsureWidths();
    void EnsurePreciseWidths();
    // LayoutLines over a width array, the running y starting at y0.
    int LayoutFrom(CKWLineVector& lines, std::vector<double>& widths, int start, int end,
                   const CKWDoubleRect& rect, bool stopAtHeight, bool closingLine, double y0);
    // Where a layout stands in the runs and paragraph records (a record's
    // index and end, as LocateRun takes them): lines laid out in order find
    // their records from the last line's.
    struct RecordCursor {
        int runIndex = 0;
        int runEnd = 0;
        int paraIndex = 0;
        int paraEnd = 0;
    };
    // The paragraph record of the paragraph that holds pos.
    const CKWParaFormat& ParaFormatAt(int pos) const;
    const CKWParaFormat& ParaFormatAt(int pos, RecordCursor& cursor) const;
    // The metrics of the largest font among the runs of [start, end).
    const CKWFontMetrics& LargestMetrics(int start, int end, RecordCursor& cursor) const;
    // Lines laid out from start that fit the height (at least one).
    int CountPlacedLines(const CKWLineVector& lines, double height, int* fittingLines) const;
    CKWDoubleRect LinesBox(const CKWLineVector& lines, size_t first, size_t last) const;

    CKWDoubleRect m_rect;
    std::vector<double> m_widths;
    bool m_widthsValid = false;
    std::vector<double> m_preciseWidths;  // for the exports' layout
    bool m_preciseValid = false;
    CKWLineVector m_lines;
    bool m_layoutValid = false;
};
