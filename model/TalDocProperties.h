#pragma once
// CTalDocProperties: everything a report document is apart from its windows:
// the descriptive texts, the page setup, the title-page and export options,
// the text formats, the watermarks, the heading section (root of the report
// tree), the command history and the font table.
//
// Page sizes are in tenths of a millimetre (A4: 2100 x 2970).
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "framework/KWIndexDecoder.h"
#include "framework/KWPictureHold.h"
#include "framework/KWRefPtr.h"
#include "model/TalSection.h"
#include "model/TalTextFormat.h"
#include "platform/classlib/String.h"

class CTalCommandHistory;
class CTalTemplate;
class CTalWatermark;

// Ids of the report's text formats.
enum : int32_t {
    kTalFormatTitle = 1,
    kTalFormatSubject = 2,
    kTalFormatAuthor = 3,
    kTalFormatCompany = 4,
    kTalFormatDescription = 5,
    kTalFormatDate = 6,
    kTalFormatImageName = 7,
    kTalFormatSection = 8,
    kTalFormatContent = 9,
};

class CTalDocProperties {
public:
    // Paper kinds.
    enum : int32_t { kPaperTable = 0, kPaperPrint = 1, kPaperCustom = 3 };
    static constexpr const wchar_t* kHeadingName = L"Heading record";

    // The heading section gets the history and font table; with templates
    // loaded, the first page template and the first title-page template.
    CTalDocProperties();
    // Detaches and releases the heading section (the tree goes unless commands
    // still hold parts of it); deletes the watermarks and text formats.
    virtual ~CTalDocProperties();
    CTalDocProperties(const CTalDocProperties&) = delete;
    CTalDocProperties& operator=(const CTalDocProperties&) = delete;

    // Takes over the content of another properties object (a document being
    // created): strings and options are copied; the other heading section's
    // children and pictures are appended to this heading section; the
    // watermarks move (the ones held before are deleted); the text formats are
    // copied; the font table is copied last.
    void Assign(CTalDocProperties& other);

    // --- Descriptive texts ---
    CString m_title;
    CString m_subject;
    CString m_author;
    CString m_company;
    CString m_description;
    int32_t m_imageSaveType = 0;

    // --- Page setup ---
    int32_t GetPaperKind() const { return m_paperKind; }
    void SetPaperKind(int32_t kind) { m_paperKind = kind; }
    int32_t GetPaperIndex() const { return m_paperRow; }
    void SetPaperIndex(int32_t row) { m_paperRow = row; }
    int32_t GetPortrait() const { return m_portrait; }
    void SetPortrait(int32_t portrait) { m_portrait = portrait; }
    const CString& GetCustomWidthText() const { return m_customWidth; }
    const CString& GetCustomHeightText() const { return m_customHeight; }
    void SetCustomWidthText(const CString& text) { m_customWidth = text; }
    void SetCustomHeightText(const CString& text) { m_customHeight = text; }
    int32_t m_printWidth = 2100;
    int32_t m_printHeight = 2970;
    int32_t m_printOrientation = 1;

    // The page size as measure strings; swapped for landscape when asked.
    // False (outputs unchanged) for an unknown paper kind or a table row
    // outside the table.
    bool GetPageSizeText(bool swapForOrientation, CString& width, CString& height) const;
    // The page size in tenths of a millimetre; 0 x 0 for an unknown kind or row.
    void GetPageSize(double& width, double& height, bool applyOrientation) const;

    // --- Title page and export ---
    uint8_t m_insertLogo = 0;
    uint8_t m_insertDate = 1;
    uint8_t m_insertWatermarks = 1;
    CKWPictureHold m_logoPictureId;
    CString m_titleTemplateName;
    int32_t m_exportType = 1;
    uint8_t m_insertTitlePage = 1;
    uint8_t m_insertContents = 1;
    uint8_t m_numberSections = 1;
    uint8_t m_grayscale = 0;
    uint8_t m_useDescription = 1;
    uint8_t m_useTextStyles = 1;

    // The title page's template in g_TemplateManager; null when none has the name.
    CTalTemplate* GetTitlePageTemplate() const;

    // --- Report tree ---
    CKWRefPtr<CTalSection> GetHeadingSection() const { return m_heading; }
    // The heading text of a section in the generated report: with number
    // sections set, its outline number ("1.2"), a blank and its name; else the
    // name. The heading section itself has no number.
    CString GetSectionHeading(const CTalSection* section) const;

    // --- Text formats (owned) ---
    // The format stored under the id; with create, a new default one is stored
    // when there is none; else null.
    CTalTextFormat* GetTextFormat(int32_t id, bool create);
    // Stores the format (taking it over) under the id, deleting the one before.
    void SetTextFormat(int32_t id, CTalTextFormat* format);
    const std::map<int32_t, std::unique_ptr<CTalTextFormat>>& GetTextFormats() const { return m_textFormats; }
    // The ids a document file holds: 1, 2, 3 and on up to the first id without a format.
    std::vector<int32_t> GetStoredTextFormatIds() const;

    // --- Watermarks (owned, in order) ---
    const std::vector<CTalWatermark*>& GetWatermarks() const { return m_watermarks; }
    // Takes the watermark over and appends it.
    void AddWatermark(CTalWatermark* watermark);
    void DeleteWatermarks();

    // --- History and fonts ---
    CTalCommandHistory* GetCommandHistory() const { return m_history.get(); }
    CKWIndexDecoder& GetFontTable() { return m_fontTable; }
    const CKWIndexDecoder& GetFontTable() const { return m_fontTable; }

private:
    int32_t m_paperKind = kPaperTable;
    int32_t m_paperRow = 5;
    CString m_customWidth;
    CString m_customHeight;
    int32_t m_portrait = 1;

    CKWRefPtr<CTalSection> m_heading;
    std::map<int32_t, std::unique_ptr<CTalTextFormat>> m_textFormats;
    std::vector<CTalWatermark*> m_watermarks;
    std::unique_ptr<CTalCommandHistory> m_history;
    CKWIndexDecoder m_fontTable;
};

// The file-format flag of report documents (2048) for any path: the report
// documents' template asks it when deciding whether a file is of its type.
uint32_t GetConst2048(const wchar_t* path);
