// The handlers of the section kinds 0 to 6.
#include "model/TalBaseDocument.h"
#include "model/TalCommand.h"
#include "model/TalCommandPayloads.h"
#include "model/TalCommander.h"
#include "model/TalSection.h"
#include "model/TalSectionCommands.h"

namespace {

// The child before the section in its parent's list; null when it is first.
CKWRefPtr<CTalSection> PreviousSibling(const CTalSection* parent, int index)
{
    return index > 0 ? parent->GetSubSection(index - 1) : nullptr;
}

// Whether the section stands in its parent's child list.
bool IsInTree(const CTalSection* section)
{
    const CTalSection* parent = section->PeekParent();
    return parent && parent->IndexOfSubSection(section) >= 0;
}

}  // namespace

CKWRefPtr<CTalSection> CTalCommander::DoAddSection(CTalCommand* command)
{
    CKWRefPtr<CTalSection> section = TargetSection(command);
    CCmdAddSection* add = dynamic_cast<CCmdAddSection*>(command);
    if (!section || !add)
        return nullptr;
    CKWRefPtr<CTalSection> parent = add->GetParent();
    // A section already in the tree, or a parent inside the section's own
    // subtree, would break the tree.
    if (!parent || parent == section || parent->IsDescendantOf(section.Get()) || IsInTree(section.Get()))
        return nullptr;
    CKWRefPtr<CTalSection> previous = add->GetPrevious();
    if (IsRecording())
        Record(new CCmdBoolData(CTalCommand::kRemoveSection, section.Get(), add->GetFlag()));
    parent->InsertSubSection(section.Get(), previous.Get());
    if (m_document)
        m_document->OnSectionInserted(section, add->GetFlag() != 0);
    return section;
}

CKWRefPtr<CTalSection> CTalCommander::DoRemoveSection(CTalCommand* command)
{
    CKWRefPtr<CTalSection> section = TargetSection(command);
    CCmdBoolData* remove = dynamic_cast<CCmdBoolData*>(command);
    if (!section || !remove)
        return nullptr;
    CKWRefPtr<CTalSection> parent = section->GetParent();
    const int index = parent ? parent->IndexOfSubSection(section.Get()) : -1;
    if (index < 0)
        return nullptr;
    CKWRefPtr<CTalSection> previous = PreviousSibling(parent.Get(), index);
    if (m_document)
        m_document->OnSectionRemoved(section);
    if (IsRecording())
        Record(new CCmdAddSection(CTalCommand::kAddSection, section.Get(), parent.Get(), previous.Get(),
                                  remove->GetValue()));
    // The section keeps its parent link: its text still reaches the history,
    // and the inverse command detaches it if it is never put back.
    parent->RemoveSubSection(section.Get());
    return previous ? previous : parent;
}

CKWRefPtr<CTalSection> CTalCommander::DoMoveSection(CTalCommand* command)
{
    CKWRefPtr<CTalSection> section = TargetSection(command);
    CCmdMoveSection* move = dynamic_cast<CCmdMoveSection*>(command);
    if (!section || !move)
        return nullptr;
    // Looked up before anyone is told of a move that may not happen.
    CKWRefPtr<CTalSection> oldParent = section->GetParent();
    const int index = oldParent ? oldParent->IndexOfSubSection(section.Get()) : -1;
    CKWRefPtr<CTalSection> newParent = move->GetParent();
    if (index < 0 || !newParent || newParent == section || newParent->IsDescendantOf(section.Get()))
        return nullptr;
    CKWRefPtr<CTalSection> previous = move->GetPrevious();
    if (m_document)
        m_document->OnSectionMoving(section);
    if (IsRecording())
        Record(new CCmdMoveSection(CTalCommand::kMoveSection, section.Get(), oldParent.Get(),
                                   PreviousSibling(oldParent.Get(), index).Get()));
    oldParent->RemoveSubSection(section.Get());
    newParent->InsertSubSection(section.Get(), previous.Get());
    if (m_document)
        m_document->OnSectionMoved(section);
    return section;
}

CKWRefPtr<CTalSection> CTalCommander::DoRenameSection(CTalCommand* command)
{
    CKWRefPtr<CTalSection> section = TargetSection(command);
    CCmdEditSectionName* rename = dynamic_cast<CCmdEditSectionName*>(command);
    if (!section || !rename)
        return nullptr;
    if (IsRecording())
        Record(new CCmdEditSectionName(CTalCommand::kRenameSection, section.Get(), section->GetName(), 1));
    section->SetName(rename->GetName());
    if (m_document)
        m_document->OnSectionRenamed(section, rename->GetFlag() != 0);
    return section;
}

CKWRefPtr<CTalSection> CTalCommander::DoSetExpanded(CTalCommand* command)
{
    CKWRefPtr<CTalSection> section = TargetSection(command);
    CCmdBoolData* expand = dynamic_cast<CCmdBoolData*>(command);
    // A view state: never recorded.
    if (section && expand && section->GetExpanded() != expand->GetValue()) {
        section->SetExpanded(expand->GetValue());
        if (m_document)
            m_document->OnSectionExpandedChanged(section);
    }
    return nullptr;
}

CKWRefPtr<CTalSection> CTalCommander::DoSetTemplateName(CTalCommand* command)
{
    CKWRefPtr<CTalSection> section = TargetSection(command);
    CCmdStringData* name = dynamic_cast<CCmdStringData*>(command);
    if (!section || !name)
        return nullptr;
    const CString text = name->GetText();
    if (text != section->GetTemplateName()) {
        if (IsRecording())
            Record(new CCmdStringData(CTalCommand::kSetTemplateName, section.Get(), section->GetTemplateName()));
        section->SetTemplateName(text);
        if (m_document)
            m_document->OnSectionTemplateChanged(section);
    }
    return section;
}

CKWRefPtr<CTalSection> CTalCommander::DoSetOwnTemplate(CTalCommand* command)
{
    CKWRefPtr<CTalSection> section = TargetSection(command);
    CCmdBoolData* own = dynamic_cast<CCmdBoolData*>(command);
    if (!section || !own || own->GetValue() == section->GetOwnTemplate())
        return nullptr;
    if (IsRecording())
        Record(new CCmdBoolData(CTalCommand::kSetOwnTemplate, section.Get(), section->GetOwnTemplate()));
    section->SetOwnTemplate(own->GetValue());
    if (m_document)
        m_document->OnSectionTemplateChanged(section);
    return section;
}
