#include "files/TalTemplateTags.h"

#include "files/TalXmlSerializer.h"
#include "model/TalTemplate.h"

bool CTalTemplateTags::RegisterTags()
{
    using Self = CTalTemplateTags;
    const TagEntry<Self> roots[] = {
        {kTitleTemplate, kRootParent, &Self::OnRootStart, &Self::OnRootEnd},
        {kLeafTemplate, kRootParent, &Self::OnRootStart, &Self::OnRootEnd},
    };
    const bool ok = AddTags(this, roots);
    return RegisterTemplateElements() && ok;
}

CTalTemplate* CTalTemplateTags::GetCellTemplate(bool) const
{
    auto* serializer = static_cast<CTalXmlSerializer*>(GetTarget());
    return serializer ? serializer->GetCurrentTemplate() : nullptr;
}

const XmlPrepassPicture* CTalTemplateTags::FindPrepassPicture(XmlPictureKind kind, int32_t ordinal) const
{
    auto* serializer = static_cast<CTalXmlSerializer*>(GetTarget());
    const XmlPrepassPictures* pictures = serializer ? serializer->GetTemplatePictures() : nullptr;
    return pictures ? pictures->Find(kind, ordinal) : nullptr;
}

const CTalTemplate::FilePicture* CTalTemplateTags::GetOwnFile() const
{
    auto* serializer = static_cast<CTalXmlSerializer*>(GetTarget());
    return serializer ? serializer->GetTemplateFile() : nullptr;
}

void CTalTemplateTags::OnRootStart(const CString& name)
{
    m_root = name;
    BeginTemplate();
}

void CTalTemplateTags::OnRootEnd(const CString& name)
{
    CTalTemplate* tmpl = GetCellTemplate(false);
    const CNewParamCell* cell = GetParams(name);
    WarnStrayText(name);
    if (!tmpl || !cell)
        return;
    if (const wchar_t* title = cell->Find(L"Title"))
        tmpl->SetTitle(title);
}
