// Page-template files: root "TitleTemplate" or "LeafTemplate" with the
// preview and background pictures and the cell rectangles by kind.
#include "files/TalXmlSerializer.h"

#include "files/NewXmlArch.h"
#include "files/TalFileNames.h"
#include "files/TalLoadReport.h"
#include "files/TalTemplateTags.h"
#include "files/XmlPreprocessFile.h"
#include "framework/KWRasterLib.h"
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
const wchar_t kDamagedPicture[] = L"Warning: The picture of %ls cannot be read; a placeholder is shown.";

// A picture the pre-pass stored whose bytes the raster library cannot read.
void WarnDamagedPicture(int32_t id, const char* element, CTalLoadReport& report)
{
    CKWRasterLib::ImageInfo info;
    if (id == 0 || g_rasterLib.GetImageInfo(static_cast<uint32_t>(id), info))
        return;
    CString message;
    message.Format(kDamagedPicture, CString(element).GetString());
    report.Add(message);
}

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
    {
        CXmlPreprocessFile prepass(path);
        if (!prepass.IsOpen() || prepass.GetLength() == 0) {
            report.Add(prepass.IsOpen() ? CTalLoadReport::kIncompatibleFormat
                                        : CNewXmlArch::GetErrorText(CNewXmlArch::kErrOpenFile));
            return false;
        }
        prepass.ReadTemplateImages(tmpl);
    }
    CNewXmlArch archive(path, CNewXmlArch::kModeRead, false);
    if (!archive.IsLoading() || !tags || !tmpl || tags->GetBucketCount() == 0)
        return false;
    tags->SetTarget(this);
    tags->BeginFile();
    m_currentTemplate = tmpl;
    archive.SetTagTable(tags);
    archive.Parse(nullptr);
    m_currentTemplate = nullptr;
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
    WarnDamagedPicture(tmpl->GetPreviewPictureId(), names.preview, report);
    WarnDamagedPicture(tmpl->GetBackgroundPictureId(), names.background, report);
    return true;
}
