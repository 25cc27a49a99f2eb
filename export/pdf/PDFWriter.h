#pragma once
// PDFWriter: turns the document's composed pages into one PDF 1.3 file. A
// layout pass first records what the file must hold (page sizes, the fonts
// and images of each page, the characters of each font); then the file is
// written front to back: header, Info, Catalog, Outlines, Pages, one content
// stream per page, the fonts, the images, the cross-reference table and the
// trailer. The export succeeds only when every byte reached the disk; a
// failed export leaves no file behind.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <unordered_map>
#include <utility>
#include <vector>

#include "export/TalPageExport.h"
#include "export/pdf/PDFFile.h"
#include "export/pdf/PDFRecords.h"
#include "framework/KWOutputRecord.h"

class CKWProgressInterface;
class CKWTextData;
class CTalDocProperties;
class CTalExportDocIFace;
class IKWGraphics;

class PDFWriter {
public:
    static constexpr double kPointsPerTenthMm = 72.0 / 254.0;

    PDFWriter();
    virtual ~PDFWriter();
    PDFWriter(const PDFWriter&) = delete;
    PDFWriter& operator=(const PDFWriter&) = delete;

    // Has the document compose its pages and writes them at fileName (UTF-16).
    // False when no page was composed (the document has told the user), the
    // file cannot be created, or anything could not be written.
    bool Export(CTalExportDocIFace& document, const wchar_t* fileName, CKWProgressInterface* progress);
    // The same for pages composed already.
    bool ExportPages(const TalPageList& pages, const CTalDocProperties& properties, const wchar_t* fileName,
                     CKWProgressInterface* progress);
    // After a failed export: the file that could not be written and why (no
    // failure when nothing was composed). A failed file is deleted.
    const CKWOutputRecord& GetOutputRecord() const { return m_output; }

    // The layout pass: page, font and image records.
    void LayoutPages(CKWProgressInterface* progress);
    // Finds or adds the font of the face and style (AND 3) and lists it on the
    // page. A key that belongs to another face or style moves on to the next
    // free key.
    PDFFontRecord* RegisterFont(const wchar_t* face, uint8_t style, PDFPageRecord& page);
    // The font of a face and style registered by the layout pass, or null.
    const PDFFontRecord* FindFont(const wchar_t* face, uint8_t style) const;
    // The drawing pass: one content stream per page.
    bool WritePageContents(CKWProgressInterface* progress);
    void DrawPage(uint32_t pageIndex);
    // Breaks text into lines inside the box whose top-left corner is (x, top)
    // and draws them from the top down; every line takes at least one code unit.
    void DrawTextBlock(double x, double top, const CString& text, const double* advances, int32_t fontKey,
                       float size, bool underline, double width, double height, double lineStep,
                       uint32_t alignment, uint32_t colour, double underlineOffset);

    const std::vector<PDFPageRecord>& GetPageRecords() const { return m_pages; }
    const std::vector<PDFImageRecord>& GetImageRecords() const { return m_images; }
    const std::vector<PDFFontRecord>& GetFontRecords() const { return m_fonts; }
    double GetPageHeight() const { return m_pageHeight; }

    // For the tests of the drawing: a file and a measuring surface of the caller's.
    void AttachForDrawing(PDFFile* file, IKWGraphics* graphics, const TalPageList* pages,
                          const CTalDocProperties* properties);

private:
    struct TextMeasure;
    struct TextRun;
    struct MeasuredFont;

    bool WriteReport(const TalPageList& pages, const CTalDocProperties& properties, const wchar_t* fileName,
                   CKWProgressInterface* progress);
    void AddCodes(uint32_t fontIndex, const wchar_t* text, size_t length);
    void AddImage(uint32_t imageKey, int32_t rotation, bool grayscale, PDFPageRecord& page);
    void LayoutNote(const CKWTextData& note, PDFPageRecord& page);
    std::wstring FaceName(uint32_t fontIndex) const;
    bool Measure(const CString& face, double size, int style, const CString& text, TextMeasure& measure);
    // The font of an export record's text, found and the text measured with it,
    // and the text's colour; false when the text is empty or cannot be drawn.
    template <class Record>
    bool PrepareText(const Record& record, const CString& text, TextRun& run);
    // DrawTextBlock of a prepared text, one line per line step of its font.
    void DrawTextRun(double x, double top, const CString& text, const TextRun& run, double width, double height);
    void DrawNoteBlock(const ExportTextData& block, const PDFPageRecord& page);
    void DrawPicture(const ExportImageData& picture, const PDFPageRecord& page);
    void DrawPlainText(const ExportSimpleTextData& text, const PDFPageRecord& page);
    void DrawWatermarkText(const ExportWatermarkTextData& text, const PDFPageRecord& page);
    bool CanShow(int32_t fontKey) const;

    CKWOutputRecord m_output;
    std::vector<PDFPageRecord> m_pages;
    std::vector<PDFImageRecord> m_images;
    std::vector<PDFFontRecord> m_fonts;
    double m_pageHeight = 0;
    double m_pointsPerTenthMm = kPointsPerTenthMm;
    double m_pixelsPerPoint = 4.0 / 3.0;
    PDFFile* m_file = nullptr;
    const TalPageList* m_pageList = nullptr;
    const CTalDocProperties* m_properties = nullptr;
    IKWGraphics* m_graphics = nullptr;
    // Fonts made for measuring, with their metrics and the advances measured
    // so far: every page's captions are in the same few fonts.
    std::map<std::tuple<std::wstring, double, int>, std::unique_ptr<MeasuredFont>> m_measuredFonts;

    // Look-ups that keep the layout pass linear.
    std::unordered_map<uint32_t, uint32_t> m_imageIndex;          // image record key -> index
    std::map<std::pair<std::wstring, uint8_t>, uint32_t> m_fontIndex;  // face, style -> index
    std::unordered_map<uint32_t, uint32_t> m_fontKeys;             // font key -> index
    std::vector<std::vector<bool>> m_fontCodes;                    // per font: code present
    std::map<const CKWTextData*, std::vector<uint32_t>> m_noteFonts;  // fonts of a note walked once
};
