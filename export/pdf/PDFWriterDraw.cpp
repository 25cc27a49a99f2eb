// PDFWriter: the drawing pass, one content stream per page.
#include "export/pdf/PDFWriter.h"

#include <windows.h>

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "export/ExportPictureFile.h"
#include "export/ExportPlacement.h"
#include "framework/KWFont.h"
#include "framework/KWGdiPlusDraw.h"
#include "framework/KWGraphics.h"
#include "framework/KWProgressInterface.h"
#include "framework/KWRasterLib.h"
#include "model/TalSection.h"
#include "model/TalDocProperties.h"
#include "model/TalTextNote.h"

namespace {

const wchar_t kDefaultFace[] = L"Arial";
const double kPointsPerInch = 72.0;
const uint8_t kUnderline = 4;

enum : uint32_t {
    kAlignHCentre = 0x10000,
    kAlignRight = 0x20000,
    kAlignVCentre = 0x40000,
    kAlignBottom = 0x80000,
};

// The alignment flags of a place code.
uint32_t PlaceAlignment(int32_t place)
{
    if (place < 0 || place > 8)
        return 0;
    static const uint32_t columns[] = {0, kAlignHCentre, kAlignRight};
    static const uint32_t rows[] = {0, kAlignVCentre, kAlignBottom};
    return columns[place % 3] | rows[place / 3];
}

bool IsBreak(wchar_t c)
{
    return c == L'\n' || c == L'\r';
}

}  // namespace

// A text measured in the font it is drawn in, in points.
struct PDFWriter::TextMeasure {
    double metrics[KWFONTMETRIC_COUNT] = {0, 0, 0, 0, 0, 0, 0};
    std::vector<double> advances;
    double width = 0;  // the sum of the advances
};

// A text of an export record ready to be drawn: its font, the text measured
// in it, and its colour.
struct PDFWriter::TextRun {
    const PDFFontRecord* font = nullptr;
    TextMeasure measure;
    double size = 0;
    int style = 0;
    int alignment = 0;
    uint32_t colour = 0;
};

template <class Record>
bool PDFWriter::PrepareText(const Record& record, const CString& text, TextRun& run)
{
    // An empty text has no codes in its font, which the page then does not list.
    if (text.IsEmpty())
        return false;
    CString face;
    record.GetFont(face, run.size, run.style, run.alignment, m_properties);
    if (face.IsEmpty())
        face = kDefaultFace;
    run.font = FindFont(face, static_cast<uint8_t>(run.style));
    if (!run.font || !Measure(face, run.size, run.style, text, run.measure))
        return false;
    const CTalTextFormat* format = record.GetFormat();
    run.colour = format ? format->m_color : 0;
    return true;
}

void PDFWriter::DrawTextRun(double x, double top, const CString& text, const TextRun& run, double width,
                            double height)
{
    const double* m = run.measure.metrics;
    DrawTextBlock(x, top, text, run.measure.advances.data(), static_cast<int32_t>(run.font->key),
                  static_cast<float>(run.size), (run.style & kUnderline) != 0, width, height, m[0],
                  static_cast<uint32_t>(run.alignment), run.colour, m[3] - m[0]);
}

// A font made for measuring, in points.
struct PDFWriter::MeasuredFont {
    CKWFont font;
    double metrics[KWFONTMETRIC_COUNT] = {0, 0, 0, 0, 0, 0, 0};
    std::unordered_map<wchar_t, double> advances;
};

// The cache of measured fonts needs the whole type to go.
PDFWriter::PDFWriter() = default;

PDFWriter::~PDFWriter() = default;

void PDFWriter::AttachForDrawing(PDFFile* file, IKWGraphics* graphics, const TalPageList* pages,
                                 const CTalDocProperties* properties)
{
    m_file = file;
    m_graphics = graphics;
    m_measuredFonts.clear();
    m_pageList = pages;
    m_properties = properties;
    if (graphics && graphics->GetDpi() > 0)
        m_pixelsPerPoint = graphics->GetDpi() / 72.0;
}

bool PDFWriter::Measure(const CString& face, double size, int style, const CString& text, TextMeasure& measure)
{
    const int length = text.GetLength();
    measure.advances.assign(static_cast<size_t>(length), 0.0);
    measure.width = 0;
    if (!m_graphics)
        return false;
    const std::wstring name = face.IsEmpty() ? kDefaultFace : face.GetString();
    std::unique_ptr<MeasuredFont>& known = m_measuredFonts[std::make_tuple(name, size, style & 0x0F)];
    if (!known) {
        // The font is made in pixels of the surface; what it measures is
        // turned back into points, the unit of the page.
        std::unique_ptr<MeasuredFont> made(new MeasuredFont);
        if (!made->font.SetFont(name.c_str(), size * m_pixelsPerPoint, style & 0x0F))
            return false;
        int32_t metrics[KWFONTMETRIC_COUNT] = {0, 0, 0, 0, 0, 0, 0};
        if (m_graphics->GetFontMetrics(made->font, metrics) == 0) {
            for (int i = 0; i < KWFONTMETRIC_COUNT; ++i)
                made->metrics[i] = metrics[i] / m_pixelsPerPoint;
        }
        known = std::move(made);
    }
    MeasuredFont& font = *known;
    std::copy(font.metrics, font.metrics + KWFONTMETRIC_COUNT, measure.metrics);
    // Only characters not seen in this font before are measured.
    std::wstring missing;
    for (int i = 0; i < length; ++i) {
        if (!font.advances.count(text[i]) && missing.find(text[i]) == std::wstring::npos)
            missing += text[i];
    }
    if (!missing.empty()) {
        std::vector<double> widths(missing.size(), 0.0);
        const int count = static_cast<int>(missing.size());
        m_graphics->GetCharWidths(missing.c_str(), count, font.font, widths.data(), count);
        for (size_t i = 0; i < missing.size(); ++i)
            font.advances[missing[i]] = widths[i] / m_pixelsPerPoint;
    }
    for (int i = 0; i < length; ++i) {
        measure.advances[static_cast<size_t>(i)] = font.advances[text[i]];
        measure.width += measure.advances[static_cast<size_t>(i)];
    }
    return true;
}

bool PDFWriter::CanShow(int32_t fontKey) const
{
    // A font is listed in the page resources only when it has codes.
    auto found = m_fontKeys.find(static_cast<uint32_t>(fontKey));
    return found != m_fontKeys.end() && !m_fonts[found->second].codes.empty();
}

bool PDFWriter::WritePageContents(CKWProgressInterface* progress)
{
    HWND desktop = ::GetDesktopWindow();
    HDC dc = ::GetDC(desktop);
    std::unique_ptr<CKWGdiPlusDraw> graphics(dc ? new CKWGdiPlusDraw(dc) : nullptr);
    m_graphics = graphics.get();
    m_measuredFonts.clear();
    if (m_graphics) {
        const int dpi = m_graphics->GetDpi();
        if (dpi > 0)
            m_pixelsPerPoint = dpi * 0.013888888888888888;
    }
    for (uint32_t i = 0; i < m_pages.size(); ++i) {
        m_file->BeginPageContent(i);
        DrawPage(i);
        m_file->EndPageContent(i);
        if (progress)
            progress->Advance();
    }
    m_graphics = nullptr;
    graphics.reset();
    if (dc)
        ::ReleaseDC(desktop, dc);
    return true;
}

void PDFWriter::DrawPage(uint32_t pageIndex)
{
    if (!m_pageList || pageIndex >= m_pageList->size() || pageIndex >= m_pages.size() || !(*m_pageList)[pageIndex])
        return;
    const PDFPageRecord& page = m_pages[pageIndex];
    for (const TalObjExport* object : (*m_pageList)[pageIndex]->GetObjects()) {
        const ExportObjectData* data = object ? object->GetData() : nullptr;
        if (!data)
            continue;
        switch (data->GetKind()) {
        case kExportText:
            DrawNoteBlock(*static_cast<const ExportTextData*>(data), page);
            break;
        case kExportCommonImage:
        case kExportImage:
        case kExportWmImage:
            DrawPicture(*static_cast<const ExportImageData*>(data), page);
            break;
        case kExportSimpleText:
            DrawPlainText(*static_cast<const ExportSimpleTextData*>(data), page);
            break;
        case kExportWatermarkText:
            DrawWatermarkText(*static_cast<const ExportWatermarkTextData*>(data), page);
            break;
        default:
            break;
        }
    }
}

void PDFWriter::DrawNoteBlock(const ExportTextData& block, const PDFPageRecord& page)
{
    const TextExportLine& lines = block.GetLines();
    const CTalTextNote* note = block.GetNote();
    if (lines.GetCount() == 0 || !note)
        return;
    const CKWDoubleRect rect = block.GetRect();
    const double left = page.width * rect.left;
    const double top = m_pageHeight - page.height * rect.top;
    const CString& text = note->GetText();
    const int length = text.GetLength();
    for (const CKWTextLine& line : lines.m_lines) {
        const int start = line.m_start < 0 ? 0 : line.m_start;
        const int end = line.m_end > length ? length : line.m_end;
        if (end <= start)
            continue;
        const CKWCharFormat& format = line.m_format ? *line.m_format : CKWCharFormat::GetDefault();
        // The key of the font as the layout pass registered it (style bits 0 and 1 only).
        const PDFFontRecord* font = FindFont(FaceName(format.m_fontIndex).c_str(), format.m_style);
        if (!font || font->codes.empty())
            continue;
        const uint32_t colour = format.GetColorRef();
        const float red = static_cast<float>((colour & 0xFF) / 255.0);
        const float green = static_cast<float>((colour >> 8 & 0xFF) / 255.0);
        const float blue = static_cast<float>((colour >> 16 & 0xFF) / 255.0);
        const double x = left + m_pointsPerTenthMm * line.m_left;
        const double y = top - m_pointsPerTenthMm * line.m_baseline;
        m_file->BeginText();
        m_file->SetFont(static_cast<int32_t>(font->key), static_cast<float>(format.m_size), 0);
        m_file->SetColorComponents(red, green, blue, 0, 0, true);
        m_file->ShowTextAt(static_cast<float>(x), static_cast<float>(y), static_cast<const wchar_t*>(text) + start,
                           static_cast<size_t>(end - start), 0);
        m_file->EndText();
        if (format.m_style & kUnderline) {
            m_file->SetColorComponents(red, green, blue, 0, 0, false);
            m_file->MoveTo(x, y);
            m_file->LineTo(left + m_pointsPerTenthMm * line.m_right, y);
            m_file->Stroke();
        }
    }
}

void PDFWriter::DrawPicture(const ExportImageData& picture, const PDFPageRecord& page)
{
    const int32_t kind = picture.GetKind();
    const CKWDoubleRect cell(0, 0, page.width, page.height);
    const CKWDoubleRect ownRect = picture.GetRect();
    CKWDoubleRect rect = ownRect;
    const uint32_t key = PDFImageRecordKey(m_samePictures.Written(picture.GetImageKey()), picture.GetRotation(),
                                           picture.GetGrayscale());
    double width = 0, height = 0;
    if (kind == kExportWmImage) {
        picture.GetSize(width, height);
        width *= kPointsPerInch;
        height *= kPointsPerInch;
    } else {
        const SIZE size = GetExportPictureSize(picture.GetImageKey());
        width = size.cx;
        height = size.cy;
        const int32_t rotation = PDFNormalizeRotation(picture.GetRotation());
        if (kind == kExportCommonImage && (rotation == 90 || rotation == 270))
            std::swap(width, height);
    }
    const int mode = kind == kExportCommonImage ? kPlaceFit : kind == kExportImage ? kPlaceStretch : kPlaceOwnSize;
    PlaceInCell(cell, width, height, rect, mode, picture.GetPlace());
    const auto found = m_imageIndex.find(key);
    const uint8_t orientation = found == m_imageIndex.end() ? 1 : m_images[found->second].orientation;
    m_file->DrawImage(key, static_cast<float>(rect.left), static_cast<float>(m_pageHeight - rect.bottom),
                      static_cast<float>(rect.right - rect.left), static_cast<float>(rect.bottom - rect.top), 0,
                      orientation);

    if (kind != kExportCommonImage)
        return;
    const CString description = picture.GetString();
    TextRun run;
    if (!PrepareText(picture, description, run))
        return;
    const double* m = run.measure.metrics;
    DrawTextRun(page.width * ownRect.left, m_pageHeight - rect.bottom, description, run,
                page.width * (ownRect.right - ownRect.left), 2 * (m[0] + m[1] + m[2]));
}

void PDFWriter::DrawPlainText(const ExportSimpleTextData& plain, const PDFPageRecord& page)
{
    const CString text = plain.GetText();
    TextRun run;
    if (!PrepareText(plain, text, run))
        return;
    const CKWDoubleRect rect = plain.GetRect();
    DrawTextRun(page.width * rect.left, m_pageHeight - page.height * rect.top, text, run,
                page.width * (rect.right - rect.left), page.height * (rect.bottom - rect.top));
}

void PDFWriter::DrawWatermarkText(const ExportWatermarkTextData& watermark, const PDFPageRecord& page)
{
    const CString text = watermark.GetText();
    TextRun run;
    if (!PrepareText(watermark, text, run))
        return;
    const TextMeasure& measure = run.measure;
    const uint32_t colour = run.colour;
    const double* m = measure.metrics;
    const CKWDoubleRect rect = watermark.GetRect();
    const double left = page.width * rect.left;
    const double right = page.width * rect.right;
    const double top = m_pageHeight - page.height * rect.top;
    const double bottom = m_pageHeight - page.height * rect.bottom;
    const uint32_t flags = PlaceAlignment(watermark.GetPlace());
    double x = left;
    if (flags & kAlignHCentre)
        x = left + (right - left - measure.width) * 0.5;
    else if (flags & kAlignRight)
        x = left + (right - left - measure.width);
    double y = top - (m[0] + m[1] + m[2]);
    if (flags & kAlignVCentre)
        y = top + (bottom - top) * 0.5;
    else if (flags & kAlignBottom)
        y = bottom + m[1];
    m_file->BeginText();
    m_file->SetColor(colour, true);
    m_file->SetFont(static_cast<int32_t>(run.font->key), static_cast<float>(run.size), 0);
    m_file->ShowTextAt(static_cast<float>(x), static_cast<float>(y), text, static_cast<size_t>(text.GetLength()), 0);
    m_file->EndText();
    if (run.style & kUnderline) {
        // The same height below the baseline as the plain texts' underline.
        m_file->SetColor(colour, false);
        m_file->MoveTo(x, y - (m[3] - m[0]));
        m_file->LineTo(x + measure.width, y - (m[3] - m[0]));
        m_file->Stroke();
    }
}

void PDFWriter::DrawTextBlock(double x, double top, const CString& text, const double* advances, int32_t fontKey,
                              float size, bool underline, double width, double height, double lineStep,
                              uint32_t alignment, uint32_t colour, double underlineOffset)
{
    const size_t length = static_cast<size_t>(text.GetLength());
    if (length == 0 || !advances || !CanShow(fontKey))
        return;
    const wchar_t* units = text;
    int line = 1;
    auto fits = [&]() { return line * lineStep <= height; };
    auto draw = [&](size_t from, size_t to) {
        if (to <= from)
            return;
        double lineWidth = 0;
        for (size_t k = from; k < to; ++k)
            lineWidth += advances[k];
        double x0 = x;
        if (alignment & kAlignHCentre)
            x0 = x + (width - lineWidth) * 0.5;
        else if (alignment & kAlignRight)
            x0 = x + (width - lineWidth);
        const double baseline = top - line * lineStep;
        m_file->BeginText();
        m_file->SetColor(colour, true);
        m_file->SetFont(fontKey, size, 0);
        m_file->MoveText(static_cast<float>(x0), static_cast<float>(baseline));
        for (size_t k = from; k < to; ++k) {
            if (k > from)
                m_file->MoveText(static_cast<float>(advances[k - 1]), 0);
            m_file->ShowText(units + k, 1);
        }
        m_file->EndText();
        if (underline) {
            m_file->SetColor(colour, false);
            m_file->MoveTo(x0, baseline - underlineOffset);
            m_file->LineTo(x0 + lineWidth, baseline - underlineOffset);
            m_file->Stroke();
        }
    };

    size_t start = 0;
    double running = 0;
    bool haveCandidate = false;
    size_t candidate = 0;
    size_t i = 0;
    while (i < length) {
        const wchar_t c = units[i];
        if (c == L' ' || IsBreak(c)) {
            haveCandidate = true;
            candidate = i;
        }
        if (running + advances[i] > width || IsBreak(c)) {
            size_t end, next;
            if (haveCandidate) {
                end = candidate;
                next = candidate + 1;
                if (IsBreak(units[candidate]) && next < length && IsBreak(units[next]) &&
                    units[next] != units[candidate])
                    ++next;
            } else {
                end = next = i;
            }
            // A unit wider than the box (or a box of no width) still takes a
            // line of its own, so the walk always moves on.
            if (next <= start)
                end = next = start + 1;
            if (!fits())
                return;
            draw(start, end);
            ++line;
            start = i = next;
            running = 0;
            haveCandidate = false;
            continue;
        }
        running += advances[i];
        ++i;
    }
    if (start < length && fits())
        draw(start, length);
}
