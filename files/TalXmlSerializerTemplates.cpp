// Page-template files: root "TitleTemplate" or "LeafTemplate" with the
// preview and background pictures and the cell rectangles by kind.
#include "files/TalXmlSerializer.h"

#include "files/NewXmlArch.h"
#include "files/TalFileNames.h"
#include "files/TalLoadReport.h"
#include "files/TalTemplateTags.h"
#include "files/XmlPreprocessFile.h"
#include "files/XmlUtf8Copy.h"
#include "model/TalTemplate.h"
#include "model/TalTitlePageTemplate.h"

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
    const TemplateElements& names = title ? kTitleElements : kLeafElements;
    WriteHeader();
    BeginStartTag(names.root);
    CString templateTitle = tmpl->GetTitle();
    if (!templateTitle.IsEmpty())
        WriteTextAttribute("Title", templateTitle);
    EndStartTag();

    WriteTemplateContent(tmpl, title);
    WriteEndTag(names.root);
    return CommitStream();
}

void CTalXmlSerializer::WriteTemplateContent(CTalTemplate* tmpl, bool title)
{
    const TemplateElements& names = title ? kTitleElements : kLeafElements;
    int32_t previewId = tmpl->GetPreviewPictureId();
    if (previewId != 0) {
        WriteImageElement(names.preview, previewId);
        if (previewId != tmpl->GetPreviewPictureId())
            tmpl->SetPreviewPictureId(previewId);
    }
    int32_t backgroundId = tmpl->GetBackgroundPictureId();
    if (backgroundId != 0) {
        WriteImageElement(names.background, backgroundId);
        if (backgroundId != tmpl->GetBackgroundPictureId())
            tmpl->SetBackgroundPictureId(backgroundId);
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
    CXmlPreprocessFile::Images found;
    {
        CXmlPreprocessFile prepass(utf8.GetReadPath());
        if (!prepass.IsOpen() || prepass.GetLength() == 0) {
            report.Add(prepass.IsOpen() ? CTalLoadReport::kIncompatibleFormat
                                        : CNewXmlArch::GetErrorText(CNewXmlArch::kErrOpenFile));
            return false;
        }
        prepass.Scan(found);
    }
    CNewXmlArch archive(utf8.GetReadPath(), CNewXmlArch::kModeRead, false);
    if (!archive.IsLoading() || !tags || !tmpl || tags->GetBucketCount() == 0)
        return false;
    // The file's pictures replace what the template had; a file without them leaves none.
    tmpl->SetPreviewPictureId(0);
    tmpl->SetBackgroundPictureId(0);
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
