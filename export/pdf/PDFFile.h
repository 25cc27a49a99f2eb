#pragma once
// PDFFile: the output object of the PDF writer. It numbers every object of
// the file before anything is written (from the counts of pages, fonts and
// images), writes the objects front to back in ascending number order with
// their cross-reference entries, and offers the content-stream operators that
// the page drawing composes pages from. Object numbers and offsets are 32 and
// 64 bits wide; every write is checked (HasFailed, Finish).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "export/pdf/PDFOutput.h"
#include "export/pdf/PDFRecords.h"

class CKWProgressInterface;
class CKWRasterLib;
struct PDFPassThroughFile;

struct PDFObjectNumber {
    uint32_t number = 0;
    uint16_t generation = 0;
};

struct PDFXrefEntry {
    uint64_t offset = 0;
    uint16_t generation = 0;
    uint8_t inUse = 0;
};

class PDFFile {
public:
    // Entries of the object-number table.
    enum : int {
        kInfoEntry = 0,
        kCatalogEntry = 1,
        kOutlinesEntry = 2,
        kPagesEntry = 3,
        kFirstContentEntry = 4,
        kFirstFontEntry = 5,
        kFirstImageEntry = 6,
        kSizeEntry = 7,
        kEntryCount = 8,
    };
    static constexpr uint32_t kObjectsPerFont = 8;
    // The largest object number readers are required to handle.
    static constexpr uint64_t kMaxObjectNumber = 8388607;

    // Creates or empties the file at the UTF-16 path.
    explicit PDFFile(const wchar_t* fileName);
    // Writes into a stream that stands for the file (tests).
    explicit PDFFile(KWStream* stream);
    ~PDFFile();
    PDFFile(const PDFFile&) = delete;
    PDFFile& operator=(const PDFFile&) = delete;

    bool IsOpen() const { return m_output && m_output->IsOpen(); }
    PDFOutput& Out() { return *m_output; }
    // True after any failed write, compression, allocation or numbering.
    bool HasFailed() const { return !m_output || m_output->HasFailed(); }
    DWORD GetSystemError() const { return m_output ? m_output->GetSystemError() : 0; }
    void SetFailed() { m_output->SetFailed(); }

    // Numbers the objects of pageCount pages (at least 1), imageCount images
    // and fontCount fonts. False, with nothing numbered, when there is no page
    // or the numbers would pass kMaxObjectNumber.
    bool AssignObjectNumbers(uint32_t pageCount, uint32_t imageCount, uint32_t fontCount);
    uint32_t GetObjectNumber(int entry) const;
    uint32_t GetPageCount() const { return m_pageCount; }
    const std::vector<PDFXrefEntry>& GetXrefEntries() const { return m_xref; }

    // Object framing. number must be the next one in ascending order.
    void BeginObject(uint32_t number, uint16_t generation = 0);
    void EndObject();  // "endobj"
    void AddFreeEntries(int32_t count);
    // "x 0 R" without line end.
    void WriteReference(uint32_t number);
    // The frame of a stream object whose data follow directly: "endstream",
    // "endobj", then the length object number + 1 with the byte count.
    void EndStreamObject(uint32_t number, uint64_t byteCount);

    void SetFilterKind(PDFFilterKind kind) { m_filter = kind; }
    PDFFilterKind GetFilterKind() const { return m_filter; }

    // Content operators: one complete line each.
    void MoveTo(double x, double y);
    void LineTo(double x, double y);
    void Stroke();
    void SetColor(uint32_t colorRef, bool fill);
    void SetColorComponents(float a, float b, float c, float d, int colorSpace, bool fill);
    void BeginText();
    void EndText();
    void SetFont(int32_t fontKey, float size, float lineSpacing);
    void ShowText(const wchar_t* text);
    void ShowText(const wchar_t* text, size_t length);
    void MoveText(float x, float y);
    void ShowTextAt(float x, float y, const wchar_t* text, size_t length, float angle);
    // The image drawn into the box of width x height whose lower left corner
    // is (x, y), turned by angle (radians) about that corner; orientation
    // (1 to 8, as cameras record it) says how the image's stored pixels are
    // turned or mirrored into the upright box.
    void DrawImage(uint32_t imageKey, float x, float y, float width, float height, float angle,
                   uint8_t orientation = 1);
    void WriteFilter();
    void WriteHeader();

    // Document objects.
    void WriteInfo(const wchar_t* title, const wchar_t* subject, const wchar_t* author,
                   const wchar_t* creator, const wchar_t* keywords);
    void WriteCatalog();
    void WriteOutlines(const std::vector<PDFPageRecord>& pages);
    void WritePages(const std::vector<PDFPageRecord>& pages, const std::vector<PDFImageRecord>& images,
                    const std::vector<PDFFontRecord>& fonts);
    void BeginPageContent(uint32_t pageIndex);
    void EndPageContent(uint32_t pageIndex);
    // Fonts with their subsets (one progress unit per font written).
    void WriteFonts(const std::vector<PDFFontRecord>& fonts, CKWProgressInterface* progress);
    // Whether the picture's JPEG file is to go into the file as it is, and the
    // orientation its placement must undo. Checked whole when it is written
    // (then a file that fails is drawn as the decoder gives it, turned against
    // the placement); a mirrored one is checked here, since no turn undoes it.
    static void CheckPassThrough(CKWRasterLib& raster, uint32_t pictureId, PDFImageRecord& record);
    // Images (one progress unit per image).
    void WriteImages(const std::vector<PDFImageRecord>& images, CKWRasterLib& raster,
                     CKWProgressInterface* progress);
    void WriteXref();
    void WriteTrailer();

    // Flushes and closes the file; false when anything failed on the way.
    bool Finish();

private:
    void WriteHexString(const wchar_t* text);  // <FEFF...>
    void WriteFont(const PDFFontRecord& record, uint32_t first);
    // passThrough: the picture's JPEG file read and checked, when it is to go in as it is.
    void WriteImage(const PDFImageRecord& record, uint32_t number, CKWRasterLib& raster,
                    PDFPassThroughFile* passThrough);

    std::unique_ptr<PDFOutput> m_output;
    uint32_t m_version = 0x0103;
    uint32_t m_pageCount = 0;
    uint64_t m_xrefOffset = 0;
    std::vector<PDFObjectNumber> m_numbers;
    std::vector<PDFXrefEntry> m_xref;
    PDFFilterKind m_filter = kPDFFilterNone;
};
