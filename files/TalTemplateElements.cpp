#include "files/TalTemplateElements.h"

#include "framework/KWDoubleRect.h"
#include "model/TalTemplate.h"

namespace {

const char kTitleRectArray[] = "TitleRectArray";
const char kLeafRectArray[] = "LeafRectArray";
const char kTitleRectArrayItem[] = "TitleRectArrayItem";
const char kTitlePreview[] = "TitlePreview";
const char kLeafPreview[] = "LeafPreview";
// Cells are placed in fractions of the page; far beyond it is no layout.
constexpr double kMaxCoordinate = 1000000.0;

}  // namespace

const char CTalTemplateElements::kTitleTemplate[] = "TitleTemplate";
const char CTalTemplateElements::kLeafTemplate[] = "LeafTemplate";

bool CTalTemplateElements::RegisterTemplateElements()
{
    using Self = CTalTemplateElements;
    const TagEntry<Self> entries[] = {
        {kTitlePreview, kTitleTemplate, &Self::OnPictureStart, nullptr},
        {"TitleBgImage", kTitleTemplate, &Self::OnPictureStart, nullptr},
        {kTitleRectArray, kTitleTemplate, &Self::OnRectArrayStart, &Self::WarnStrayTextHandler},
        {kTitleRectArrayItem, kTitleRectArray, nullptr, &Self::OnRectItemEnd},
        {kLeafPreview, kLeafTemplate, &Self::OnPictureStart, nullptr},
        {"LeafBgImage", kLeafTemplate, &Self::OnPictureStart, nullptr},
        {kLeafRectArray, kLeafTemplate, &Self::OnRectArrayStart, &Self::WarnStrayTextHandler},
        {"LeafRectArrayItem", kLeafRectArray, nullptr, &Self::OnRectItemEnd},
    };
    return AddTags(this, entries);
}

void CTalTemplateElements::OnPictureStart(const CString& name)
{
    const bool title = name.Left(5) == L"Title";
    const bool preview = name == CString(kTitlePreview) || name == CString(kLeafPreview);
    const uint32_t bit = preview ? 1u : 2u;
    if (m_picturesMet & bit) {
        // The pre-pass took the first; this one's picture is not used.
        SkipRepeated(name);
        return;
    }
    m_picturesMet |= bit;
    if (GetPrepassPicture(title, preview) == 0) {
        CString message;
        message.Format(L"The %ls holds no picture that can be read; the template has none.", name.GetString());
        Warn(message);
    }
    SkipHandler(name);
}

void CTalTemplateElements::OnRectArrayStart(const CString& name)
{
    const CNewParamCell* cell = GetParams(name);
    int32_t kind = 0;
    if (!cell || !ReadInt(*cell, L"Type", kind) || (kind >= kFirstCellKind && kind <= kLastCellKind))
        return;
    // No template has cells of that kind: they would be lost unseen.
    CString message;
    message.Format(L"The cell kind %d is unknown; its cells are ignored.", kind);
    Warn(message);
    SkipHandler(name);
}

void CTalTemplateElements::WarnStrayTextHandler(const CString& name)
{
    WarnStrayText(name);
}

void CTalTemplateElements::OnRectItemEnd(const CString& name)
{
    const bool title = name == CString(kTitleRectArrayItem);
    const CNewParamCell* array = GetParamsA(title ? kTitleRectArray : kLeafRectArray);
    const CNewParamCell* item = GetParams(name);
    CTalTemplate* tmpl = GetCellTemplate(title);
    WarnStrayText(name);
    if (!array || !item || !tmpl)
        return;
    // Missing values are 0; a garbled one is warned about and stays 0.
    int32_t kind = 0;
    ReadInt(*array, L"Type", kind);
    CKWDoubleRect rect(0.0, 0.0, 0.0, 0.0);
    ReadReal(*item, L"Left", rect.left, kMaxCoordinate);
    ReadReal(*item, L"Top", rect.top, kMaxCoordinate);
    ReadReal(*item, L"Right", rect.right, kMaxCoordinate);
    ReadReal(*item, L"Bottom", rect.bottom, kMaxCoordinate);
    tmpl->AddCell(kind, rect);
}
