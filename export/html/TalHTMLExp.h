#pragma once
// CTalHTMLExp: the HTML export. A report becomes a small web site: a frameset
// document at the chosen name, and beside it a folder (the name with "_data")
// holding one document per composed page, an optional contents document for
// the left frame, the picture files and the navigation images. Every object of
// a page becomes an absolutely placed layer the size of the page, whose content
// is moved into place with a borderless table and spacer images. All sizes are
// screen pixels: tenths of a millimetre x resolution / 254.
//
// Made on the stack for one export. File set and page documents:
// TalHTMLExp.cpp; texts and the contents document: TalHTMLExpText.cpp and
// TalHTMLExpContents.cpp; pictures: TalHTMLExpImages.cpp.
#include <windows.h>

#include <cstdint>
#include <map>

#include "export/ExportSamePictures.h"
#include "export/TalPageExport.h"
#include "framework/KWColor.h"
#include "framework/KWOutputRecord.h"
#include "platform/classlib/String.h"

class CExpImgItem;
class CKWCharFormat;
class CKWIndexDecoder;
class CKWParaFormat;
class CKWProgressInterface;
class CTalExportDocIFace;
class CTalSection;
class CTalTextFormat;

// The file name of page k of n for the navigation: empty and false outside
// 1..n; name.ext for the first page, name + k + .ext for the others.
bool MakePageFileName(const CString& name, const CString& extension, CString& out, int page, int pageCount);

class CTalHTMLExp {
public:
    // The navigation images in the program's resources (type "QUARTZ").
    enum : int { kBackImageId = 223, kNextImageId = 224, kBlankImageId = 225 };
    // The GENERATOR of every document.
    static constexpr const wchar_t* kGenerator = L"OstraTallier";

    CTalHTMLExp();
    virtual ~CTalHTMLExp();
    CTalHTMLExp(const CTalHTMLExp&) = delete;
    CTalHTMLExp& operator=(const CTalHTMLExp&) = delete;

    // Writes the whole export and, when every file was written, opens the
    // frameset with the shell. False when there is no page or a file could
    // not be written.
    bool Export(CTalExportDocIFace& document, const wchar_t* fileName, CKWProgressInterface* progress = nullptr);
    // The same without opening anything.
    bool WriteExport(CTalExportDocIFace& document, const wchar_t* fileName,
                     CKWProgressInterface* progress = nullptr);
    // The steps a progress display runs through for an export.
    static int CountProgressSteps(int pageCount, bool withContents);

    // --- File set (TalHTMLExp.cpp) ---
    bool WriteFrameset(const wchar_t* fileName, const CString& contentsRef, const CString& firstPageRef,
                       CKWProgressInterface* progress);
    bool WriteNavigationImages(CKWProgressInterface* progress);
    bool AssignPageFiles(const TalPageList& pages, CKWProgressInterface* progress);
    void MakePageNames(const CString& folder, const CString& name, const CString& extension, CString& pagePath,
                       CString& pageName, CString& previousFile, CString& nextFile, int page, int pageCount);
    bool WritePages(const TalPageList& pages, CKWProgressInterface* progress);
    bool WritePage(TalPageExport* page);
    CString BuildPageDocument(TalPageExport* page);
    // Places content at a pixel rectangle of the page; attributes go into the
    // content cell's tag.
    CString PositionInLayer(const RECT& rect, const CString& content, const CString& attributes) const;

    // --- Contents document (TalHTMLExpContents.cpp) ---
    bool WriteContentsPage(CTalExportDocIFace& document, const CString& contentsPath,
                           CKWProgressInterface* progress);
    CString FindPageFile(TalPageList::const_iterator& iterator, const TalPageList& pages, int32_t kind,
                         const CTalSection* section) const;
    CString FormatContentsEntry(const CString& text, const CString& file, int level,
                                const CTalTextFormat* format) const;
    CString FormatSectionEntries(const CTalSection* section, const TalPageList& pages,
                                 TalPageList::const_iterator& iterator, int level,
                                 const CTalTextFormat* format) const;

    // --- Texts (TalHTMLExpText.cpp) ---
    CString FormatFontSpan(const CTalTextFormat& format) const;
    CString RunFontSpan(const CKWCharFormat& run) const;
    CString FontEnd(const CKWCharFormat& run) const;
    CString ParagraphStart(const CKWParaFormat& paragraph) const;
    CString ParagraphEnd(const CKWParaFormat& paragraph) const;
    CString TextBlockLayer(const TalObjExport& object, int layer) const;
    CString TextLayer(const TalObjExport& object, int layer) const;
    CString WatermarkTextLayer(const TalObjExport& object, int layer) const;

    // --- Pictures (TalHTMLExpImages.cpp) ---
    // The picture file of an image object (written on first use) as it is
    // referenced; width and height receive its size in pixels when given.
    CString WriteImageFile(const TalObjExport& object, double* width = nullptr, double* height = nullptr);
    CString PictureLayer(const TalObjExport& object, int layer);
    CString BackgroundLayer(const TalObjExport& object, int layer);
    CString WatermarkPictureLayer(const TalObjExport& object, int layer);

    // --- State ---
    // The page size in tenths of a millimetre and the resolution in dots per
    // inch give the page's size in pixels.
    void SetPageGeometry(double widthTenths, double heightTenths, double dpiX, double dpiY);
    double GetPageWidth() const { return m_pageWidth; }
    double GetPageHeight() const { return m_pageHeight; }
    // Where the data files go (with a trailing backslash) and the export's name.
    void SetOutput(const CString& folder, const CString& name, const CString& extension);
    // The document's font-name table (not owned), null outside an export.
    void SetFontTable(const CKWIndexDecoder* table) { m_fontTable = table; }
    // Puts every file the export wrote in place of the earlier ones of their
    // names, all together; false (nothing replaced) after a failure.
    bool PutFilesInPlace();
    // True once any file of the export could not be written.
    bool HasWriteFailed() const { return m_writeFailed; }
    // The files and folder the export wrote, and the first file it could not
    // write with the reason. A failed export has taken its files away again.
    const CKWOutputRecord& GetOutputRecord() const { return m_output; }
    const std::multimap<uint32_t, CExpImgItem*>& GetWrittenImages() const { return m_images; }

private:
    // The family of a font index ("Arial" when the table has no name for it).
    CString FontFamily(uint32_t fontIndex) const;
    CString LayerStart(int layer) const;
    static CString LayerEnd();
    // A page-fraction rectangle in page pixels, each coordinate truncated.
    RECT PageRect(const CKWDoubleRect& rect) const;
    // Content and cell attributes of a text with an optional format.
    CString FormattedText(const CString& text, const CTalTextFormat* format) const;
    void ClearImages();
    // The temporary file beside target that the export writes in its place
    // (every file is put in place together at the end); empty once any file
    // has failed, after which the export writes no more.
    CString StageFile(const wchar_t* target);
    // Records the first file that could not be written, with the system's
    // error of that moment.
    void NoteWrite(bool ok, const wchar_t* path);
    // A document of the export written for target.
    bool WriteDocumentFile(const wchar_t* target, const CString& text);
    // The end of a failed export: what it wrote goes.
    bool FailExport();
    static void Step(CKWProgressInterface* progress);

    const CKWIndexDecoder* m_fontTable = nullptr;
    CKWColor m_backColor;
    CString m_backImage;
    CString m_nextImage;
    CString m_blankImage;
    double m_pageWidth = 0.0;
    double m_pageHeight = 0.0;
    double m_pixelsPerTenthX = 0.4;
    double m_pixelsPerTenthY = 0.4;
    double m_dpiX = 96.0;
    double m_dpiY = 96.0;
    CKWOutputRecord m_output;
    CString m_folder;
    CString m_name;
    CString m_extension;
    int32_t m_imageCounter = 1;
    std::multimap<uint32_t, CExpImgItem*> m_images;  // picture key -> file written, owned
    CExportSamePictures m_samePictures;
    bool m_writeFailed = false;
};
