#pragma once
// Helpers of the export tests: small reports built in the test (sections,
// pictures of image files the test writes, text notes, page templates) and a
// temporary folder that goes away with the helper.
#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "export/TalPageExport.h"
#include "framework/KWDoubleRect.h"
#include "framework/KWRefPtr.h"
#include "model/TalTextFormat.h"
#include "platform/classlib/String.h"
#include "text/KWCharFormat.h"
#include "tests/framework/KWTestFiles.h"

class CTalDocProperties;
class CTalPicture;
class CTalSection;
class CTalTemplate;
class CTalTextNote;

// A new folder under the temporary folder, deleted with all it holds.
class CExportTestFolder : public CKWTestTempFolder {
public:
    CExportTestFolder() : CKWTestTempFolder(L"ot_export") {}
    // Creates the sub-folder (relative, backslash-separated) and its parents.
    std::wstring MakeFolder(const std::wstring& relative) const;
    // Writes an empty file; returns its full path.
    std::wstring Touch(const std::wstring& relative) const { return Write(relative.c_str()); }
};

// A 24-bit bottom-up BMP whose pixel (x, y) is red x, green y, blue x + y (each modulo 256).
std::string TestBmp(int width, int height);
bool WriteTestBmp(const std::wstring& path, int width, int height);

// Fills the note with one default run over the text and a paragraph per line.
void FillNote(CTalTextNote& note, const wchar_t* text);

// A text format and a character run of the given fields.
CTalTextFormat TestFormat(int16_t size, uint8_t style, uint8_t align, uint32_t font = 0, uint32_t colour = 0);
CKWCharFormat TestRun(uint32_t count, uint8_t style, int16_t size, const CKWColor& colour, uint32_t font = 0);

// Gives the note the text, the runs and paragraphs (character count,
// alignment, left indent) as they are.
struct TestParagraph {
    uint32_t count;
    uint8_t align;
    float leftIndent = 0;
};
void SetNote(CTalTextNote& note, const wchar_t* text, const std::vector<CKWCharFormat>& runs,
             const std::vector<TestParagraph>& paragraphs);

// Lines "Line 1" ... "Line n", one paragraph each.
std::wstring NumberedLines(int count);

// A page template filed in the template manager under a name of its own.
// kinds/cells: the cells of each kind, in order.
struct TestCell {
    int32_t kind;
    CKWDoubleRect rect;
};
CTalTemplate* AddTestPageTemplate(const std::vector<TestCell>& cells, int32_t background = 0);
CTalTemplate* AddTestTitleTemplate(const std::vector<TestCell>& cells, int32_t background = 0);

// Appends a child section to the parent.
CKWRefPtr<CTalSection> AddSection(CTalSection* parent, const wchar_t* name);
// Appends a picture to the section.
CKWRefPtr<CTalPicture> AddPicture(CTalSection* section, int32_t id, bool shown = true, bool newPage = false,
                                  const wchar_t* title = L"");
// Gives the section its own page template.
void UseTemplate(CTalSection* section, const CTalTemplate* pageTemplate);

// Owns a page list for a test.
class CTestPages {
public:
    CTestPages() = default;
    ~CTestPages() { DeletePages(m_pages); }
    CTestPages(const CTestPages&) = delete;
    CTestPages& operator=(const CTestPages&) = delete;
    TalPageList& List() { return m_pages; }
    size_t Size() const { return m_pages.size(); }
    TalPageExport* operator[](size_t i) const { return m_pages[i]; }

private:
    TalPageList m_pages;
};

// The kinds of a page's objects in order.
std::vector<int32_t> ObjectKinds(const TalPageExport& page);

// A number with six decimals, the same in every locale.
std::string FormatFixed(double value);
std::string Narrow(const wchar_t* text);

// True for a file (not a folder).
inline bool FileExistsAt(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Compares bytes with the golden file of the name in the test data folder's
// "export" folder, naming the first byte that differs. With the variable
// OT_REGENERATE_GOLDENS set, the golden file is written instead.
void ExpectGolden(const wchar_t* name, const std::string& bytes);

// Composed pages as text, one line per object with every field that the
// composition sets (pictures by the names given for their keys), for golden
// comparisons; today's date shows as "<today>".
class ReportDump {
public:
    ReportDump(CTalDocProperties& properties, const std::map<uint32_t, std::string>& images);
    std::string Dump(const TalPageList& pages);

private:
    std::string Rect(const CKWDoubleRect& r);
    std::string Format(const CTalTextFormat* format);
    std::string Image(uint32_t key);
    std::string Text(const CString& text);
    std::string Font(const ExportObjectData& data);
    std::string Object(const TalObjExport& object);

    CTalDocProperties& m_properties;
    const std::map<uint32_t, std::string>& m_images;
    std::map<const CTalTextFormat*, std::string> m_formats;
    std::string m_today;
};

// A varied report in the document: a title page with every cell, contents,
// watermarks of every kind, nested sections on several page templates,
// pictures in every option (one a JPEG photograph, the others bitmaps),
// long notes, '&' and '<' in a note, a caption and a section name, a section
// without template. images receives the file name of each picture key.
void BuildVariedReport(CTalDocProperties& doc, const std::wstring& folder, std::map<uint32_t, std::string>& images);
