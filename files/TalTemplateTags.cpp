#include "files/TalTemplateTags.h"

#include "files/TalXmlSerializer.h"
#include "framework/KWDoubleRect.h"
#include "model/TalTemplate.h"

namespace {

const char kTitleTemplate[] = "TitleTemplate";
const char kLeafTemplate[] = "LeafTemplate";
const char kTitleRectArray[] = "TitleRectArray";
const char kLeafRectArray[] = "LeafRectArray";

}  // namespace

bool CTalTemplateTags::RegisterTags()
{
    using Self = CTalTemplateTags;
    using Handler = void (Self::*)(const CString&);
    const Handler none = nullptr;
    struct Entry {
        const char* name;
        const char* parent;
        Handler start;
        Handler end;
    };
    const Entry entries[] = {
        {kTitleTemplate, kRootParent, none, &Self::OnRootEnd},
        {kLeafTemplate, kRootParent, none, &Self::OnRootEnd},
        {"TitlePreview", kTitleTemplate, &Self::SkipHandler, none},
        {"TitleBgImage", kTitleTemplate, &Self::SkipHandler, none},
        {kTitleRectArray, kTitleTemplate, none, none},
        {"TitleRectArrayItem", kTitleRectArray, none, &Self::OnRectItemEnd},
        {"LeafPreview", kLeafTemplate, &Self::SkipHandler, none},
        {"LeafBgImage", kLeafTemplate, &Self::SkipHandler, none},
        {kLeafRectArray, kLeafTemplate, none, none},
        {"LeafRectArrayItem", kLeafRectArray, none, &Self::OnRectItemEnd},
    };
    bool ok = true;
    for (const Entry& entry : entries) {
        ok = AddTagList(entry.name, entry.parent, MakeDelegate(this, entry.start ? entry.start : &Self::EmptyHandler,
                                                               entry.end ? entry.end : &Self::EmptyHandler),
                        CNewParamCell::kAll, nullptr, {nullptr})
            && ok;
    }
    return ok;
}

CTalTemplate* CTalTemplateTags::GetTemplate() const
{
    auto* serializer = static_cast<CTalXmlSerializer*>(GetTarget());
    return serializer ? serializer->GetCurrentTemplate() : nullptr;
}

void CTalTemplateTags::OnRootEnd(const CString& name)
{
    CTalTemplate* tmpl = GetTemplate();
    const CNewParamCell* cell = GetParams(name);
    if (!tmpl || !cell)
        return;
    if (const wchar_t* title = cell->Find(L"Title"))
        tmpl->SetTitle(title);
}

void CTalTemplateTags::OnRectItemEnd(const CString& name)
{
    CTalTemplate* tmpl = GetTemplate();
    const bool title = name == CString(L"TitleRectArrayItem");
    const CNewParamCell* array = GetParamsA(title ? kTitleRectArray : kLeafRectArray);
    const CNewParamCell* item = GetParams(name);
    if (!tmpl || !array || !item)
        return;
    const int32_t kind = array->GetInt(L"Type", 0);
    CKWDoubleRect rect(item->GetDouble(L"Left", 0.0), item->GetDouble(L"Top", 0.0),
                       item->GetDouble(L"Right", 0.0), item->GetDouble(L"Bottom", 0.0));
    tmpl->AddCell(kind, rect);
}
