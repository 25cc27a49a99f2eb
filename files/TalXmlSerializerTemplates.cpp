// Page-template files: root "TitleTemplate" or "LeafTemplate" with the
// preview and background pictures and the cell rectangles by kind.
#include "files/TalXmlSerializer.h"

#include "files/NewXmlArch.h"
#include "files/TalFileNames.h"
#include "files/TalLoadReport.h"
#include "files/TalTemplateTags.h"
#include "files/XmlPreprocessFile.h"
#include "files/XmlUtf8Copy.h"
#include "framework/KWSha256.h"
#include "framework/KWWriteFailureReason.h"
#include "model/TalTemplate.h"
#include "model/TalTitlePageTemplate.h"

#include <windows.h>

#include <algorithm>

namespace {

struct TemplateElements {
    const char* root;
    const char* preview;
    const char* background;
    const char* rectArray;
    const char* rectItem;
};

const TemplateElements kTitleElements = {"TitleTemplate", "TitlePreview", "TitleBgImage", "TitleRectArray",
                                         "TitleRectArrayItem"};
const TemplateElements kLeafElements = {"LeafTemplate", "LeafPreview", "LeafBgImage", "LeafRectArray",
                                        "LeafRectArrayItem"};

const wchar_t kNotATemplate[] = L"Error: The file's root element is not %ls: it holds no template of that kind.";
const wchar_t kTemplateFileChanged[] =
    L"The template file \"%ls\" changed since it was read: its picture is no longer in it as it was.";
const wchar_t kTemplateFileUnread[] = L"The template file \"%ls\" cannot be read: %ls";

}  // namespace

CString CTalXmlSerializer::GetTemplatePath(const CString& name, bool title) const
{
    const CString file = TemplateFileName(name, title);
    return file.IsEmpty() ? CString() : m_templateFolder + file;
}

bool CTalXmlSerializer::SaveTitleTemplate(CTalTemplate* tmpl)
{
    return SaveTemplate(tmpl, true);
}

bool CTalXmlSerializer::SaveLeafTemplate(CTalTemplate* tmpl)
{
    return SaveTemplate(tmpl, false);
}

bool CTalXmlSerializer::SaveTemplate(CTalTemplate* tmpl, bool title)
{
    const CString path = tmpl ? GetTemplatePath(tmpl->GetName(), title) : CString();
    if (path.IsEmpty() || !OpenStream(path))
        return false;
    m_refusesUnread = false;
    const TemplateElements& names = title ? kTitleElements : kLeafElements;
    WriteHeader();
    BeginStartTag(names.root);
    CString templateTitle = tmpl->GetTitle();
    if (!templateTitle.IsEmpty())
        WriteTextAttribute("Title", templateTitle);
    EndStartTag();

    if (!WriteTemplateContent(tmpl, title)) {
        DiscardStream();
        return false;
    }
    WriteEndTag(names.root);
    if (!CommitStream())
        return false;
    RecordWrittenPictures(path);
    return true;
}

bool CTalXmlSerializer::WriteFilePicture(const char* name, const CTalTemplate::FilePicture& picture)
{
    // The text is copied only as it was read: the same file, and in it the
    // very bytes whose digest the read made, whatever the file's time (a
    // file touched or copied back keeps its text; one of the same size and
    // time may hold another, which could even break the report's XML).
    const int64_t length = picture.textEnd - picture.textStart;
    std::string text(length > 0 ? static_cast<size_t>(length) : 0, '\0');
    // 0 while the file reads; a text cut short by the file's end is a change.
    DWORD error = 0;
    bool whole = false;
    HANDLE file = ::CreateFileW(picture.file, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = ::GetLastError();
    } else {
        LARGE_INTEGER at;
        at.QuadPart = picture.textStart;
        whole = length > 0 && ::SetFilePointerEx(file, at, nullptr, FILE_BEGIN);
        for (size_t done = 0; whole && done < text.size();) {
            const DWORD piece = static_cast<DWORD>(std::min<size_t>(text.size() - done, 1u << 20));
            DWORD read = 0;
            if (!::ReadFile(file, &text[done], piece, &read, nullptr))
                error = ::GetLastError();
            whole = error == 0 && read > 0;
            done += read;
        }
        ::CloseHandle(file);
    }
    CString reason;
    if (error != 0) {
        reason.Format(kTemplateFileUnread, picture.file.GetString(), KWSystemErrorText(error).GetString());
    } else {
        CKWSha256 digest;
        digest.Add(text.data(), text.size());
        CKWSha256::Digest found{};
        const bool same = whole && digest.Finish(found) && found == picture.textDigest;
        if (!same)
            reason.Format(kTemplateFileChanged, picture.file.GetString());
    }
    if (!reason.IsEmpty()) {
        FailSave(m_targetPath, reason);
        return false;
    }
    // The stream makes its own line ends, and the end tag its indentation.
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    while (!text.empty() && IsXmlBlank(text.back()))
        text.pop_back();
    BeginStartTag(name);
    WriteTextAttribute("FileFormat", picture.format);
    EndStartTag();
    GetStream() << text.c_str();
    WriteEndTag(name);
    return true;
}

bool CTalXmlSerializer::WriteTemplateContent(CTalTemplate* tmpl, bool title)
{
    const TemplateElements& names = title ? kTitleElements : kLeafElements;
    int32_t previewId = tmpl->GetPreviewPictureId();
    if (previewId != 0) {
        if (!WriteImageElement(names.preview, previewId))
            return false;
        if (previewId != tmpl->GetPreviewPictureId())
            tmpl->SetPreviewPictureId(previewId);
    } else if (const CTalTemplate::FilePicture* kept = tmpl->GetFilePicture(false)) {
        if (!WriteFilePicture(names.preview, *kept))
            return false;
    }
    int32_t backgroundId = tmpl->GetBackgroundPictureId();
    if (backgroundId != 0) {
        if (!WriteImageElement(names.background, backgroundId))
            return false;
        if (backgroundId != tmpl->GetBackgroundPictureId())
            tmpl->SetBackgroundPictureId(backgroundId);
    } else if (const CTalTemplate::FilePicture* kept = tmpl->GetFilePicture(true)) {
        if (!WriteFilePicture(names.background, *kept))
            return false;
    }
    for (int32_t kind = CTalTemplateElements::kFirstCellKind; kind <= CTalTemplateElements::kLastCellKind; ++kind) {
        const CTalCellList* cells = tmpl->GetCells(kind);
        if (!cells || cells->empty())
            continue;
        BeginStartTag(names.rectArray);
        WriteIntAttribute("Type", kind);
        EndStartTag();
        for (const CKWDoubleRect& rect : *cells) {
            BeginStartTag(names.rectItem);
            WriteShortRealAttribute("Left", rect.left);
            WriteShortRealAttribute("Right", rect.right);
            WriteShortRealAttribute("Top", rect.top);
            WriteShortRealAttribute("Bottom", rect.bottom);
            EndStartTag();
            WriteEndTag(names.rectItem);
        }
        WriteEndTag(names.rectArray);
    }
    return true;
}

bool CTalXmlSerializer::LoadTemplate(const wchar_t* path, CTalTemplateTags* tags, CTalTemplate* tmpl,
                                     std::vector<CString>* problems)
{
    CTalLoadReport report;
    const bool read = ReadTemplate(path, tags, tmpl, report);
    std::vector<CString> lines = report.TakeLines();
    if (problems)
        problems->insert(problems->end(), lines.begin(), lines.end());
    return read;
}

bool CTalXmlSerializer::ReadTemplate(const wchar_t* path, CTalTemplateTags* tags, CTalTemplate* tmpl,
                                     CTalLoadReport& report)
{
    const CXmlUtf8Copy utf8(path);
    if (utf8.HasFailed()) {
        report.Add(CXmlUtf8Copy::kFailedMessage);
        return false;
    }
    // A template read through a converted copy has no text of its own file to copy.
    m_templateFile = CTalTemplate::FilePicture();
    if (!utf8.IsCopy())
        m_templateFile.file = path;
    CXmlPreprocessFile::Images found;
    {
        CXmlPreprocessFile prepass(utf8.GetReadPath());
        if (!prepass.IsOpen() || prepass.GetLength() == 0) {
            report.Add(prepass.IsOpen() ? CTalLoadReport::kIncompatibleFormat
                                        : CNewXmlArch::GetErrorText(CNewXmlArch::kErrOpenFile));
            return false;
        }
        prepass.DigestTexts();
        prepass.SetRecordedFile(path);
        prepass.Scan(found);
    }
    CNewXmlArch archive(utf8.GetReadPath(), CNewXmlArch::kModeRead, false);
    if (!archive.IsLoading() || !tags || !tmpl || tags->GetBucketCount() == 0)
        return false;
    // The file's pictures replace what the template had; a file without them leaves none.
    tmpl->SetPreviewPictureId(0);
    tmpl->SetBackgroundPictureId(0);
    tmpl->ClearFilePictures();
    tags->SetTarget(this);
    tags->BeginFile();
    m_currentTemplate = tmpl;
    m_templatePictures = &found.pictures;
    archive.SetTagTable(tags);
    archive.SetDigitRuns(found.digitRuns);
    archive.SetUtf8Copy(utf8.IsCopy());
    archive.Parse(nullptr);
    m_currentTemplate = nullptr;
    m_templatePictures = nullptr;
    m_templateFile = CTalTemplate::FilePicture();
    tags->SetTarget(nullptr);
    const int32_t error = archive.GetError();
    if (!archive.GetErrors().IsEmpty() || !archive.GetWarnings().IsEmpty())
        report.AddMessage(archive.GetErrors() + archive.GetWarnings());
    report.AddUnshown(archive.GetUnrecordedCount());
    if (error != CNewXmlArch::kErrNone)
        return false;
    // A file of another kind, or none at all, holds no such template.
    const TemplateElements& names = dynamic_cast<CTalTitlePageTemplate*>(tmpl) ? kTitleElements : kLeafElements;
    if (tags->GetRootName() != CString(names.root)) {
        CString message;
        message.Format(kNotATemplate, CString(names.root).GetString());
        report.Add(message);
        return false;
    }
    return true;
}
