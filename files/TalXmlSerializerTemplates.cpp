// Page-template files: root "TitleTemplate" or "LeafTemplate" with the
// preview and background pictures and the cell rectangles by kind.
#include "files/TalXmlSerializer.h"

#include "files/NewXmlArch.h"
#include "files/TalFileNames.h"
#include "files/TalTemplateTags.h"
#include "files/XmlPreprocessFile.h"
#include "model/TalTemplate.h"

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

const int32_t kFirstCellKind = 0;
const int32_t kLastCellKind = 10;

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
    for (int32_t kind = kFirstCellKind; kind <= kLastCellKind; ++kind) {
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

bool CTalXmlSerializer::LoadTemplate(const wchar_t* path, CTalTemplateTags* tags, CTalTemplate* tmpl)
{
    {
        CXmlPreprocessFile prepass(path);
        if (!prepass.IsOpen() || prepass.GetLength() == 0)
            return false;
        prepass.ReadTemplateImages(tmpl);
    }
    CNewXmlArch archive(path, CNewXmlArch::kModeRead, false);
    if (!archive.IsLoading() || !tags || !tmpl || tags->GetBucketCount() == 0)
        return false;
    tags->SetTarget(this);
    m_currentTemplate = tmpl;
    archive.SetTagTable(tags);
    archive.Parse(nullptr);
    m_currentTemplate = nullptr;
    tags->SetTarget(nullptr);
    return archive.GetError() == CNewXmlArch::kErrNone;
}
