#pragma once
// PPTWriter: writes the composed pages of a report as a PowerPoint 97
// presentation: an OLE compound file with the streams "PowerPoint Document"
// (all presentation records), "Current User" (where the last edit is) and
// the document summary information. One slide per page, drawn from text
// boxes and linked pictures over one main master; the pictures are copied
// into the folder named after the output file with "_Images".
//
// Writing steps: PPTWriter.cpp (storage and order), PPTWriterDocument.cpp
// (document container, environment, persist directory, Current User),
// PPTWriterMaster.cpp (main master), PPTWriterSlide.cpp (slides and text
// boxes), PPTWriterPicture.cpp (picture shapes and links),
// PPTWriterSummary.cpp (summary information).
//
// The writer only reads the pages: what a slide needs changed (the
// description box under a picture, a heading without line feeds) is worked
// out on copies.
#include <objidl.h>

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <vector>

#include "export/ExportSamePictures.h"
#include "export/TalPageExport.h"
#include "export/ppt/PPTExBulletProvider.h"
#include "export/ppt/PPTOutStream.h"
#include "framework/KWDoubleRect.h"
#include "framework/KWOutputRecord.h"
#include "platform/classlib/String.h"

class CKWIndexDecoder;
class CKWMemoryBudget;
class CKWWorkQueue;
class CKWProgressInterface;
class CKWTextData;
class CTalDocProperties;
class CTalTextFormat;
class PPTTextStyleSheets;
class PptEscherEx;
struct ExportPictureFile;
class ShapePropertyTable;

class PPTWriter : public PPTExBulletProvider {
public:
    // Master units (576 to the inch) per tenth of a millimetre.
    static constexpr double kMasterUnitsPerTenthMm = 2.267716535;
    // English Metric Units per master unit.
    static constexpr double kEmuPerMasterUnit = 1587.5;
    static constexpr uint32_t kFirstTextId = 8007524;
    static constexpr uint32_t kTextIdStep = 96;
    // A drawing's id is the 12-bit instance of its atom: the master's and one
    // per slide.
    static constexpr size_t kMaxPages = 4094;

    // Record types of the presentation.
    enum : uint16_t {
        kDocument = 1000,
        kDocumentAtom = 1001,
        kEndDocument = 1002,
        kSlide = 1006,
        kSlideAtom = 1007,
        kEnvironment = 1010,
        kSlidePersistAtom = 1011,
        kMainMaster = 1016,
        kSlideViewInfo = 1018,
        kGuideAtom = 1019,
        kViewInfoAtom = 1021,
        kSlideViewInfoAtom = 1022,
        kVBAInfo = 1023,
        kVBAInfoAtom = 1024,
        kSSDocInfoAtom = 1025,
        kOutlineViewInfo = 1031,
        kPPDrawingGroup = 1035,
        kPPDrawing = 1036,
        kList = 2000,
        kFontCollection = 2005,
        kColorSchemeAtom = 2032,
        kTextHeaderAtom = 3999,
        kTextCharsAtom = 4000,
        kStyleTextPropAtom = 4001,
        kTextSpecialInfoDefaultAtom = 4009,
        kFontEntityAtom = 4023,
        kKinsoku = 4040,
        kKinsokuAtom = 4050,
        kSlideListWithText = 4080,
        kUserEditAtom = 4085,
        kCurrentUserAtom = 4086,
        kPersistPtrIncrementalBlock = 6002,
    };
    // Persist table keys.
    enum : uint32_t {
        kKeyInsertionPoint = 0x80080000,
        kKeyMainMaster = 0x80100000,
        kKeyMasterReference = 0x80010000,
        kKeySlide = 0x80400000,
        kKeySlideReference = 0x80030000,
        kKeyStreamEnd = 0x81000000,
        kKeyVBAReference = 0x84000000,
    };

    PPTWriter();
    ~PPTWriter() override;
    PPTWriter(const PPTWriter&) = delete;
    PPTWriter& operator=(const PPTWriter&) = delete;

    // Writes the pages (page size in tenths of a millimetre, orientation
    // applied; font names of the text runs from the table) into fileName,
    // replacing a file of that name. True only when every step and every
    // write succeeded; the file is then complete and closed. False without a
    // page, with more pages than the format can number (no file is made
    // then), or when the file cannot be made.
    bool Export(const TalPageList& pages, double pageWidth, double pageHeight, const CKWIndexDecoder* fontTable,
                const CString& fileName);
    // The pages composed from the document properties: the page size the
    // composition used and the document's font table.
    bool Export(const CTalDocProperties& properties, const TalPageList& pages, const CString& fileName);

    // Stepped page count + 2 times by a run; null for none.
    void SetProgress(CKWProgressInterface* progress) { m_progress = progress; }

    // True once an export has written and closed its file.
    bool IsFinished() const { return m_finished; }
    // After a failed export: the file that could not be written and why. A
    // failed export has taken away the presentation and the picture files
    // it wrote.
    const CKWOutputRecord& GetOutputRecord() const { return m_output; }

    // The slide size type of a page size in tenths of a millimetre.
    static uint16_t GetSlideSizeType(double pageWidth, double pageHeight);
    // Tenths of a millimetre to master units, truncated.
    static int32_t ToMasterUnits(double tenthsMm);

    // --- PPTExBulletProvider ---
    uint32_t WriteSlideShowDocInfo(PPTOutStream* stream) override;

private:
    // What a text box shows: taken from a page object, then adjusted here
    // (never in the page).
    struct TextBoxSource {
        int32_t kind = 0;
        CKWDoubleRect rect;                    // page fractions
        CString text;                          // kinds 2, 4, 5
        const CTalTextFormat* format = nullptr;
        int32_t place = 4;                     // kind 5
        const CKWTextData* note = nullptr;     // kind 1
        int32_t start = 0;
        int32_t end = -1;
    };
    struct ShapeRect {
        double left, top, right, bottom;
        int32_t iLeft, iTop, iRight, iBottom;
    };

    // Export's steps: the storage and its streams, then the records.
    bool Init();
    bool Run();
    bool OpenStorage();
    bool CloseStorage();

    // Document stream (PPTWriterDocument.cpp).
    bool WriteCurrentUser();
    bool WriteDocument();
    bool WriteEnvironment();
    bool WritePersistDirectory();
    uint32_t WriteEnvironmentRecords(PPTOutStream* stream);
    uint32_t WriteDrawingGroup(PPTOutStream* stream);
    uint32_t WriteMasterSlideList(PPTOutStream* stream);
    uint32_t WriteDocumentList(PPTOutStream* stream);
    uint32_t WriteVBAInfo(PPTOutStream* stream);
    uint32_t WriteViewInfo(PPTOutStream* stream, bool notes);
    uint32_t WriteOutlineViewInfo(PPTOutStream* stream);
    void WriteSlidePersistAtom(uint32_t referenceKey, uint32_t slideId);
    CString GetFontName(uint32_t fontId) const;

    // Main master (PPTWriterMaster.cpp).
    bool WriteMainMaster();
    void WriteMasterBackground();
    // The fill of the background shapes (the master's adds a solid fill type).
    void WriteBackgroundProperties(ShapePropertyTable& table, uint32_t fillColor, uint32_t backColor) const;
    void WriteColorScheme(uint16_t instance, int scheme);

    // Slides (PPTWriterSlide.cpp).
    bool WriteSlide(size_t index);
    void WriteShapes(const TalPageExport& page);
    void WriteTextShape(const TextBoxSource& source);
    void WriteClientTextbox(const TextBoxSource& source);
    void WriteNoteTextRuns(const TextBoxSource& source, int32_t length);
    void WriteSimpleTextRuns(const TextBoxSource& source, int32_t length);
    void WriteCharacterRun(uint32_t count, uint8_t style, uint32_t fontId, int32_t size, uint32_t rgb);
    ShapeRect GetShapeRect(const CKWDoubleRect& unitRect) const;
    // Index of the font id in the font list (appended when new and above 0).
    uint16_t GetFontIndex(uint32_t fontId);

    // Pictures (PPTWriterPicture.cpp).
    void WritePictureShape(const TalObjExport& object);
    void WritePictureProperties(const ExportImageData& record, ShapePropertyTable& table);
    bool AddPictureLink(const ExportImageData& record, ShapePropertyTable& table);
    // The link name of a picture's file in the folder, given when the file was
    // written; empty for a picture not linked yet.
    CString FindLinkName(uint32_t pictureId) const;
    // A link name for the picture's file as chosen, unique within the export.
    CString NewLinkName(uint32_t pictureId, const ExportPictureFile& picture);
    // The degrees clockwise the shapes of a linked picture turn its file by,
    // beyond the record's own rotation: the turn a JPEG records, when its
    // file is linked as it lies.
    int32_t LinkedFileTurn(uint32_t imageKey);

    // Summary information (PPTWriterSummary.cpp).
    bool WriteSummaryInformation();

    bool StreamsFailed() const;
    void Report(const wchar_t* format, ...) const;
    // The end of a failed export: the writers are waited for, the storage
    // closed and everything written taken away.
    bool FailExport();

    CString m_fileName;
    CKWOutputRecord m_output;
    bool m_finished = false;
    int32_t m_backgroundWidth = 2800;   // master units, for the background fills
    int32_t m_backgroundHeight = 2100;
    double m_pageWidth = 0;              // tenths of a millimetre
    double m_pageHeight = 0;
    const TalPageList* m_pages = nullptr;
    const CKWIndexDecoder* m_fontTable = nullptr;
    size_t m_pageCount = 0;
    uint32_t m_drawingCount = 0;

    IStorage* m_storage = nullptr;
    PPTOutStream m_documentStream;
    PPTOutStream m_currentUserStream;
    PPTOutStream m_summaryStream;
    std::unique_ptr<PptEscherEx> m_escher;

    std::vector<uint32_t> m_fonts;
    uint32_t m_textId = kFirstTextId;
    uint32_t m_backgroundFillColor = 0xFFFFFF;
    uint32_t m_backgroundBackColor = 0;
    std::unique_ptr<PPTTextStyleSheets> m_styleSheets;
    CKWProgressInterface* m_progress = nullptr;

    // Pictures written by this export: source path (upper case) to link file
    // name, and the file names taken (upper case).
    std::map<CString, CString> m_linkedFiles;
    std::map<CString, int32_t> m_fileTurns;  // the same keys: LinkedFileTurn's answers
    CExportSamePictures m_samePictures;
    std::map<CString, bool> m_takenNames;
    bool m_linkFailed = false;
    // The picture files are written by threads of their own while the slides
    // are written (a turn, a copy or an encoding each); their results are
    // looked at before the file is committed.
    struct PictureWrite {
        CString destination;
        CString temporary;  // beside it, what the writer writes; put in place with the presentation
        bool ok = true;
        unsigned long error = 0;
    };
    // chosen: the picture's file was chosen already; otherwise the writer
    // chooses it (a JPEG whose name is the same whether it is copied or
    // encoded: its file is walked by the writer, not by the slides' thread).
    // turn: the file is linked as it lies, recording no turn, and the
    // shapes turn it by so many degrees.
    void QueuePictureWrite(uint32_t pictureId, const ExportPictureFile& picture, bool chosen, int32_t turn,
                           const CString& destination);
    void FinishPictureWrites();
    std::deque<PictureWrite> m_pictureWrites;
    // The memory the picture writers share; before the writers that hold it.
    std::unique_ptr<CKWMemoryBudget> m_pictureMemory;
    std::unique_ptr<CKWWorkQueue> m_pictureWriters;  // after the results it fills
};
