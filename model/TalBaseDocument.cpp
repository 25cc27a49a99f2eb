#include "model/TalBaseDocument.h"

#include "model/TalCommander.h"
#include "model/TalSection.h"

CTalBaseDocument::CTalBaseDocument() : m_commander(new CTalCommander(this)) {}

// The commander goes before the properties.
CTalBaseDocument::~CTalBaseDocument() { m_commander.reset(); }

bool CTalBaseDocument::GetDefaultPageSize(double& width, double& height)
{
    width = 210.0;
    height = 297.0;
    return true;
}

CTalCommandHistory* CTalBaseDocument::GetCommandHistory() const { return m_properties.GetCommandHistory(); }

CKWRefPtr<CTalSection> CTalBaseDocument::FindSectionById(int32_t id) const
{
    CKWRefPtr<CTalSection> heading = m_properties.GetHeadingSection();
    if (!heading)
        return nullptr;
    if (heading->GetId() == id)
        return heading;
    return heading->FindSubSectionById(id);
}
