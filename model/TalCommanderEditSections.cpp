// The edit operations on the section tree. Each runs its commands inside one
// labelled group of the history; failed conditions end an operation before
// its group opens, so they leave no step.
#include "model/TalBaseDocument.h"
#include "model/TalCommand.h"
#include "model/TalCommandHistory.h"
#include "model/TalCommandPayloads.h"
#include "model/TalCommandStrings.h"
#include "model/TalCommander.h"
#include "model/TalSection.h"
#include "model/TalSectionCommands.h"
#include "model/TalTemplate.h"
#include "model/TalTemplateManager.h"

namespace {

const wchar_t kDefaultSectionName[] = L"New Section";
const wchar_t kNameTrimChars[] = L"\r\n \t";

bool IsTrimmed(wchar_t ch)
{
    for (const wchar_t* p = kNameTrimChars; *p; ++p) {
        if (*p == ch)
            return true;
    }
    return false;
}

CString SectionName(const wchar_t* text)
{
    if (!text)
        return CString(kDefaultSectionName);
    const CString name(text);
    int start = 0;
    int end = name.GetLength();
    while (start < end && IsTrimmed(name[start]))
        ++start;
    while (end > start && IsTrimmed(name[end - 1]))
        --end;
    return name.Mid(start, end - start);
}

// The template name a section without its own template follows: that of
// the nearest ancestor (itself included) with its own, else the heading's.
CString InheritedTemplateName(const CTalSection* section)
{
    while (!section->GetOwnTemplate() && section->PeekParent())
        section = section->PeekParent();
    return section->GetTemplateName();
}

}  // namespace

CKWRefPtr<CTalSection> CTalCommander::PlaceSection(CTalSection* parent, CTalSection* previous, const wchar_t* text,
                                                   CTalSection* existing, bool select, bool undoable,
                                                   const CKWIndexDecoder* oldFonts)
{
    CKWRefPtr<CTalSection> section;
    if (existing) {
        // A pasted or dropped section keeps its name; its fonts move over to
        // this document's table while it is outside the tree (nothing recorded).
        section = existing;
        if (oldFonts && m_document)
            section->RemapFonts(&m_document->GetProperties().GetFontTable(), oldFonts);
    } else {
        section = new CTalSection(parent, SectionName(text));
    }
    section->RenewId();
    if (undoable) {
        CCmdAddSection add(CTalCommand::kAddSection, section.Get(), parent, previous, select ? 1 : 0);
        Execute(&add);
        add.ReleasePayload();
    } else {
        parent->InsertSubSection(section.Get(), previous);
    }
    return section;
}

CKWRefPtr<CTalSection> CTalCommander::AddChildSection(CTalSection* parent, const wchar_t* text,
                                                      CTalSection* existing, bool group, bool select, bool atEnd,
                                                      bool undoable, const CKWIndexDecoder* oldFonts)
{
    if (!parent)
        return nullptr;
    CTalCommandHistory* history = GetHistory();
    if (group && history)
        history->BeginGroup();
    CKWRefPtr<CTalSection> previous = atEnd ? parent->GetSubSection(parent->GetSubSectionCount() - 1) : nullptr;
    CKWRefPtr<CTalSection> section =
        PlaceSection(parent, previous.Get(), text, existing, select, undoable, oldFonts);
    if (group)
        EndStep(IDS_ADD_SUBSECTION);
    return section;
}

CKWRefPtr<CTalSection> CTalCommander::AddSiblingSection(CTalSection* section, const wchar_t* text,
                                                        CTalSection* existing, bool group, bool select,
                                                        const CKWIndexDecoder* oldFonts)
{
    if (!section)
        return nullptr;
    CKWRefPtr<CTalSection> parent = section->GetParent();
    if (!parent)
        return AddChildSection(section, text, existing, group, select, false, true, oldFonts);
    CTalCommandHistory* history = GetHistory();
    if (group && history)
        history->BeginGroup();
    CKWRefPtr<CTalSection> added = PlaceSection(parent.Get(), section, text, existing, select, true, oldFonts);
    if (group)
        EndStep(IDS_ADD_SECTION);
    return added;
}

CKWRefPtr<CTalSection> CTalCommander::RemoveSection(CTalSection* section)
{
    if (!section || !section->PeekParent())
        return CKWRefPtr<CTalSection>(section);
    if (CTalCommandHistory* history = GetHistory())
        history->BeginGroup();
    CCmdBoolData remove(CTalCommand::kRemoveSection, section, 1);
    CKWRefPtr<CTalSection> result = Execute(&remove);
    EndStep(IDS_REMOVE_SECTION);
    return result;
}

void CTalCommander::SetSectionExpanded(CTalSection* section, bool expanded)
{
    if (!section)
        return;
    CCmdBoolData expand(CTalCommand::kSetExpanded, section, expanded ? 1 : 0);
    Execute(&expand);
}

void CTalCommander::ExpandAll(CTalSection* section)
{
    if (!section)
        return;
    SetSectionExpanded(section, true);
    // A copy: the list must not change under the walk.
    const CTalSectionList children = section->GetSubSections();
    for (const CKWRefPtr<CTalSection>& child : children)
        ExpandAll(child.Get());
}

CKWRefPtr<CTalSection> CTalCommander::MoveStep(CTalSection* section, CTalSection* parent, CTalSection* previous,
                                               uint32_t label)
{
    if (CTalCommandHistory* history = GetHistory())
        history->BeginGroup();
    CCmdMoveSection move(CTalCommand::kMoveSection, section, parent, previous);
    CKWRefPtr<CTalSection> result = Execute(&move);
    EndStep(label);
    return result;
}

CKWRefPtr<CTalSection> CTalCommander::MoveSectionLeft(CTalSection* section)
{
    CTalSection* parent = section ? section->PeekParent() : nullptr;
    CTalSection* grandparent = parent ? parent->PeekParent() : nullptr;
    if (!grandparent)
        return nullptr;
    return MoveStep(section, grandparent, parent, IDS_MOVE_SECTION_LEFT);
}

CKWRefPtr<CTalSection> CTalCommander::MoveSectionRight(CTalSection* section)
{
    CTalSection* parent = section ? section->PeekParent() : nullptr;
    const int index = parent ? parent->IndexOfSubSection(section) : -1;
    if (index < 1)
        return nullptr;
    CKWRefPtr<CTalSection> newParent = parent->GetSubSection(index - 1);
    CKWRefPtr<CTalSection> last = newParent->GetSubSection(newParent->GetSubSectionCount() - 1);
    return MoveStep(section, newParent.Get(), last.Get(), IDS_MOVE_SECTION_RIGHT);
}

CKWRefPtr<CTalSection> CTalCommander::MoveSectionUp(CTalSection* section)
{
    CTalSection* parent = section ? section->PeekParent() : nullptr;
    const int index = parent ? parent->IndexOfSubSection(section) : -1;
    if (index < 1)
        return nullptr;
    CKWRefPtr<CTalSection> previous = parent->GetSubSection(index - 2);
    return MoveStep(section, parent, previous.Get(), IDS_MOVE_SECTION_UP);
}

CKWRefPtr<CTalSection> CTalCommander::MoveSectionDown(CTalSection* section)
{
    CTalSection* parent = section ? section->PeekParent() : nullptr;
    const int index = parent ? parent->IndexOfSubSection(section) : -1;
    if (index < 0 || index >= parent->GetSubSectionCount() - 1)
        return nullptr;
    CKWRefPtr<CTalSection> next = parent->GetSubSection(index + 1);
    return MoveStep(section, parent, next.Get(), IDS_MOVE_SECTION_DOWN);
}

bool CTalCommander::CanMoveSection(CTalSection* section, CTalSection* target, bool& asChild) const
{
    if (!section || !target || !section->PeekParent())
        return false;
    if (target == section || target->IsDescendantOf(section))
        return false;
    if (!asChild && !target->PeekParent())
        asChild = true;
    return true;
}

CKWRefPtr<CTalSection> CTalCommander::MoveSectionTo(CTalSection* section, CTalSection* target, bool asChild)
{
    bool child = asChild;
    if (!CanMoveSection(section, target, child))
        return nullptr;
    if (child)
        MoveStep(section, target, nullptr, IDS_MOVE_SECTION);
    else
        MoveStep(section, target->PeekParent(), target, IDS_MOVE_SECTION);
    return CKWRefPtr<CTalSection>(target);
}

void CTalCommander::RenameSection(CTalSection* section, const CString& name)
{
    if (!section)
        return;
    CTalCommandHistory* history = GetHistory();
    if (history) {
        history->BeginGroup();
        // Recorded directly: the name is set here, not by a handler.
        history->AddCommand(new CCmdEditSectionName(CTalCommand::kRenameSection, section, section->GetName(), 0));
    }
    section->SetName(name);
    if (m_document)
        m_document->OnSectionRenamed(CKWRefPtr<CTalSection>(section), false);
    EndStep(IDS_EDIT_SECTION_NAME);
}

bool CTalCommander::SetSectionTemplate(CTalSection* section, int index)
{
    const std::vector<CTalTemplate*>& templates = g_TemplateManager.GetPageTemplates();
    if (!section || index < 0 || index >= static_cast<int>(templates.size()))
        return false;
    if (CTalCommandHistory* history = GetHistory())
        history->BeginGroup();
    CCmdStringData name(CTalCommand::kSetTemplateName, section, templates[static_cast<size_t>(index)]->GetName());
    Execute(&name);
    if (!section->GetOwnTemplate()) {
        CCmdBoolData own(CTalCommand::kSetOwnTemplate, section, 1);
        Execute(&own);
    }
    EndStep(IDS_SET_TEMPLATE);
    return true;
}

bool CTalCommander::SetUseTemplate(CTalSection* section, bool useOwn)
{
    CTalSection* parent = section ? section->PeekParent() : nullptr;
    if (!parent)
        return false;
    if (CTalCommandHistory* history = GetHistory())
        history->BeginGroup();
    if (useOwn) {
        // The section starts from the template it has been using.
        CCmdStringData name(CTalCommand::kSetTemplateName, section, InheritedTemplateName(parent));
        Execute(&name);
    }
    CCmdBoolData own(CTalCommand::kSetOwnTemplate, section, useOwn ? 1 : 0);
    Execute(&own);
    EndStep(IDS_SET_USE_TEMPLATE);
    return true;
}
