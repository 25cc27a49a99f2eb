#include "files/TalTemplateElements.h"

#include "framework/KWDoubleRect.h"
#include "model/TalTemplate.h"

namespace {

const char kTitleRectArray[] = "TitleRectArray";
const char kLeafRectArray[] = "LeafRectArray";
const char kTitleRectArrayItem[] = "TitleRectArrayItem";
// Cells are placed in fractions of the page; far beyond it is no layout.
constexpr double kMaxCoordinate = 1000000.0;

}  // namespace

const char CTalTemplateElements::kTitleTemplate[] = "TitleTemplate";
const char CTalTemplateElements::kLeafTemplate[] = "LeafTemplate";

bool CTalTemplateElements::RegisterTemplateElements()
{
    using Self = CTalTemplateElements;
    const TagEntry<Self> entries[] = {
        {"TitlePreview", kTitleTemplate, &Self::SkipHandler, nullptr},
        {"TitleBgImage", kTitleTemplate, &Self::SkipHandler, nullptr},
        {kTitleRectArray, kTitleTemplate, nullptr, nullptr},
        {kTitleRectArrayItem, kTitleRectArray, nullptr, &Self::OnRectItemEnd},
        {"LeafPreview", kLeafTemplate, &Self::SkipHandler, nullptr},
        {"LeafBgImage", kLeafTemplate, &Self::SkipHandler, nullptr},
        {kLeafRectArray, kLeafTemplate, nullptr, nullptr},
        {"LeafRectArrayItem", kLeafRectArray, nullptr, &Self::OnRectItemEnd},
    };
    return AddTags(this, entries);
}

void CTalTemplateElements::OnRectItemEnd(const CString& name)
{
    const bool title = name == CString(kTitleRectArrayItem);
    const CNewParamCell* array = GetParamsA(title ? kTitleRectArray : kLeafRectArray);
    const CNewParamCell* item = GetParams(name);
    CTalTemplate* tmpl = GetCellTemplate(title);
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
