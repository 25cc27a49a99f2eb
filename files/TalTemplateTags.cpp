#include "files/TalTemplateTags.h"

#include "files/TalXmlSerializer.h"
#include "model/TalTemplate.h"

bool CTalTemplateTags::RegisterTags()
{
    using Self = CTalTemplateTags;
    const TagEntry<Self> roots[] = {
        {kTitleTemplate, kRootParent, nullptr, &Self::OnRootEnd},
        {kLeafTemplate, kRootParent, nullptr, &Self::OnRootEnd},
    };
    const bool ok = AddTags(this, roots);
    return RegisterTemplateElements() && ok;
}

CTalTemplate* CTalTemplateTags::GetCellTemplate(bool) const
{
    auto* serializer = static_cast<CTalXmlSerializer*>(GetTarget());
    return serializer ? serializer->GetCurrentTemplate() : nullptr;
}

void CTalTemplateTags::OnRootEnd(const CString& name)
{
    CTalTemplate* tmpl = GetCellTemplate(false);
    const CNewParamCell* cell = GetParams(name);
    if (!tmpl || !cell)
        return;
    if (const wchar_t* title = cell->Find(L"Title"))
        tmpl->SetTitle(title);
}
