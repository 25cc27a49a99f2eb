// Helpers of the report-document tests: a serializer that records what it
// would show, a file that fails after so many bytes, pictures in and outside
// the picture store, a document that uses every feature of the format, and a
// the tree of a document measured.
#pragma once

#include "FilesTestSupport.h"

#include "files/TalTags.h"
#include "files/TalXmlSerializer.h"
#include "framework/KWRasterLib.h"
#include "framework/KWRefCounter.h"
#include "model/TalBaseDocument.h"
#include "model/TalDocProperties.h"
#include "model/TalPageTemplate.h"
#include "model/TalPicture.h"
#include "model/TalSection.h"
#include "model/TalTemplateManager.h"
#include "model/TalTextNote.h"
#include "model/TalTitlePageTemplate.h"
#include "model/TalWatermark.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace doctest {

using filestest::TempDir;

// Shows nothing: the dialogs and message boxes are recorded.
class CRecordingSerializer : public CTalXmlSerializer {
public:
    struct Dialog {
        std::wstring heading;
        std::vector<std::wstring> lines;
    };
    std::vector<Dialog> dialogs;
    std::vector<std::wstring> messages;

    using CTalXmlSerializer::ReplaceStream;

    // Every line of every dialog, for searching.
    std::wstring AllLines() const
    {
        std::wstring all;
        for (const Dialog& dialog : dialogs)
            for (const std::wstring& line : dialog.lines)
                all += line + L"\n";
        return all;
    }

protected:
    void ShowErrors(const CString& heading, const std::vector<CString>& lines) override
    {
        Dialog dialog;
        dialog.heading = heading.GetString();
        for (const CString& line : lines)
            dialog.lines.push_back(line.GetString());
        dialogs.push_back(dialog);
    }
    void ShowMessage(const CString& text) override { messages.push_back(text.GetString()); }
};

// A disk that is full after budget bytes: later writes fail and so does the close.
class CFullDiskFile : public CXmlFile {
public:
    explicit CFullDiskFile(int64_t budget) : m_budget(budget) {}
    int32_t Write(const void* bytes, int32_t count) override
    {
        if (m_budget < count) {
            m_failed = true;
            return 0;
        }
        m_budget -= count;
        return CXmlFile::Write(bytes, count);
    }
    bool Close() override
    {
        const bool ok = CXmlFile::Close();
        return ok && !m_failed;
    }

private:
    int64_t m_budget;
    bool m_failed = false;
};

inline std::wstring Wide(const CString& text)
{
    return text.GetString();
}

inline std::string PictureBytes(int32_t id)
{
    if (id == 0)
        return std::string();
    return filestest::ReadBytes(Wide(g_rasterLib.GetImagePath(static_cast<uint32_t>(id))));
}

// A picture whose file lies in the picture store.
inline int32_t StorePicture(const std::string& bytes, const char* extension = "jpg")
{
    return static_cast<int32_t>(g_rasterLib.AddImageFromMemory(bytes.data(), static_cast<uint32_t>(bytes.size()),
                                                               extension));
}

// A picture whose file lies in the folder given.
inline int32_t OutsidePicture(const std::wstring& path, const std::string& bytes)
{
    filestest::WriteBytes(path, bytes);
    return static_cast<int32_t>(g_rasterLib.GetPictureId(path.c_str()));
}

// Files directly in a folder (not in its sub-folders).
inline std::vector<std::wstring> FilesIn(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((folder + L"*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(data.cFileName);
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
    return names;
}

// The picture store makes its files in the folder while this lives (on a
// full or a read-only disk: it keeps none), then in its own again.
class CStoreFolderOn {
public:
    explicit CStoreFolderOn(const std::wstring& folder) : m_own(g_rasterLib.ReplaceStoreFolder(folder.c_str())) {}
    ~CStoreFolderOn() { g_rasterLib.ReplaceStoreFolder(m_own); }
    CStoreFolderOn(const CStoreFolderOn&) = delete;
    CStoreFolderOn& operator=(const CStoreFolderOn&) = delete;

private:
    CString m_own;
};

inline size_t StoreFileCount()
{
    return FilesIn(g_rasterLib.GetStoreFolder().GetString()).size();
}

inline CKWRefPtr<CTalSection> AddSection(CTalSection* parent, const wchar_t* name)
{
    CKWRefPtr<CTalSection> section(new CTalSection(parent, name));
    parent->AppendSubSection(section.Get());
    return section;
}

inline CKWRefPtr<CTalPicture> AddPicture(CTalSection* section, int32_t id)
{
    CKWRefPtr<CTalPicture> picture(new CTalPicture(section));
    picture->SetPictureId(id);
    section->InsertPicture(section->GetPictureCount(), picture.Get());
    return picture;
}

// The pictures copied through the clipboard's record and pasted at the end
// of the section, as a paste or a drop takes them; false when the record
// would not store or load.
bool PasteThroughClipboard(const CTalPictureList& pictures, CTalSection* target);

// The note's text with one run and one paragraph per piece.
struct NotePiece {
    const wchar_t* text;
    uint8_t style;
    int16_t size;
    uint32_t font;
    uint32_t rgb;  // COLORREF
    float spacing;
    uint8_t vertical;
};
void SetNote(CTalSection* section, const std::vector<NotePiece>& pieces);

// Templates the tests share through the template manager.
// A real picture of the format: a gradient that differs with the seed.
std::string RealPicture(const char* format, uint32_t seed);

// The manager's templates of the full document; their pictures are real ones
// (RealPicture "png" 700 and "jpg" 900 for the title's, "gif" 300 for the
// first page template's preview).
struct Templates {
    CTalTitlePageTemplate* title = nullptr;
    CTalPageTemplate* first = nullptr;
    CTalPageTemplate* second = nullptr;
};
Templates AddManagerTemplates(const std::wstring& pictureFolder);

// A document that uses every part of the format. Pictures come from
// outside files in the folder and from the picture store.
void BuildFullDocument(CTalBaseDocument& document, const std::wstring& pictureFolder, const Templates& templates);

// Save and load with a recording serializer whose template folder is given.
bool SaveDocument(CTalBaseDocument& document, const std::wstring& path, const std::wstring& templateFolder,
                  CRecordingSerializer* serializer = nullptr);
bool LoadDocument(CTalBaseDocument& document, const std::wstring& path, const std::wstring& templateFolder,
                  CRecordingSerializer* serializer = nullptr);

// A document file around the given body: the XML declaration and the root.
std::string DocumentText(const std::string& body);

// Of TalDocumentPictureTextTest.cpp: libxml2's reading of each picture, and a file in UTF-16.
std::vector<std::string> ReadersPictures(const std::string& file, const char* element);
std::string Utf16(const std::string& ascii, bool bigEndian);

// The number of sections of the tree and the depth of its deepest section.
void MeasureTree(const CTalSection* heading, size_t& count, size_t& depth);

}  // namespace doctest
