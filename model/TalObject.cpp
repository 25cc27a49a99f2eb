#include "model/TalObject.h"

#include "model/TalSection.h"
#include "model/TalTemplateManager.h"

CTalObject::CTalObject(CTalSection* parent) : m_parent(parent) {}

CTalObject::~CTalObject() = default;

void CTalObject::Detach() { m_parent.Release(); }

CKWIndexDecoder* CTalObject::GetFontTable() const
{
    if (m_fontTable)
        return m_fontTable;
    return m_parent ? m_parent->GetFontTable() : nullptr;
}

CKWIndexDecoder* CTalObject::SetFontTable(CKWIndexDecoder* table)
{
    m_fontTable = table;
    return table;
}

CKWRefPtr<CTalSection> CTalObject::GetParent() const { return m_parent; }

CTalSection* CTalObject::PeekParent() const { return m_parent.Get(); }

void CTalObject::SetParent(CTalSection* parent) { m_parent.Reset(parent); }

CTalCommandHistory* CTalObject::GetCommandHistory() const
{
    // Walked iteratively: a deep tree must not cost a deep stack.
    for (const CTalObject* object = this; object; object = object->m_parent.Get()) {
        if (object->m_history)
            return object->m_history;
    }
    return nullptr;
}

bool CTalObject::IsDescendantOf(const CTalSection* section) const
{
    if (!section)
        return false;
    for (const CTalSection* ancestor = m_parent.Get(); ancestor; ancestor = ancestor->PeekParent()) {
        if (ancestor == section)
            return true;
    }
    return false;
}

CTalTemplate* CTalObject::GetPageTemplate() const
{
    const CTalSection* section = dynamic_cast<const CTalSection*>(this);
    if (!section)
        section = m_parent.Get();
    if (!section)
        return nullptr;
    while (!section->GetOwnTemplate() && section->PeekParent())
        section = section->PeekParent();
    return g_TemplateManager.FindPageTemplate(section->GetTemplateName());
}
