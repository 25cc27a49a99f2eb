#include "model/TalCommander.h"

#include "model/TalBaseDocument.h"
#include "model/TalCommand.h"
#include "model/TalCommandGroup.h"
#include "model/TalCommandHistory.h"
#include "model/TalSection.h"
#include "model/TalTextNote.h"
#include "model/TalTextRepair.h"

// Indexed by the command kind.
const CTalCommander::Handler CTalCommander::s_handlers[kHandlerCount] = {
    &CTalCommander::DoAddSection,        // 0
    &CTalCommander::DoRemoveSection,     // 1
    &CTalCommander::DoMoveSection,       // 2
    &CTalCommander::DoRenameSection,     // 3
    &CTalCommander::DoSetExpanded,       // 4
    &CTalCommander::DoSetTemplateName,   // 5
    &CTalCommander::DoSetOwnTemplate,    // 6
    &CTalCommander::DoInsertPictures,    // 7
    &CTalCommander::DoRemovePictures,    // 8
    &CTalCommander::DoMovePictures,      // 9
    &CTalCommander::DoEditPictureTitle,  // 10
    &CTalCommander::DoPictureProperty,   // 11 use description
    &CTalCommander::DoPictureProperty,   // 12 shown in report
    &CTalCommander::DoPictureProperty,   // 13 greyscale
    &CTalCommander::DoPictureProperty,   // 14 new page
    &CTalCommander::DoRotatePictures,    // 15
    &CTalCommander::DoSetRunStyle,       // 16
    &CTalCommander::DoNothing,           // 17
    &CTalCommander::DoSetRunFont,        // 18
    &CTalCommander::DoNothing,           // 19
    &CTalCommander::DoSetRunSize,        // 20
    &CTalCommander::DoSetRunColor,       // 21
    &CTalCommander::DoSetRunLength,      // 22
    &CTalCommander::DoNothing,           // 23
    &CTalCommander::DoSetParaAlign,      // 24
    &CTalCommander::DoSetParaIndent,     // 25 first line
    &CTalCommander::DoSetParaIndent,     // 26 left
    &CTalCommander::DoSetParaIndent,     // 27 right
    &CTalCommander::DoSetParaLength,     // 28
    &CTalCommander::DoNothing,           // 29
    &CTalCommander::DoNothing,           // 30
    &CTalCommander::DoNothing,           // 31
    &CTalCommander::DoNothing,           // 32
    &CTalCommander::DoNothing,           // 33
    &CTalCommander::DoNothing,           // 34
    &CTalCommander::DoNothing,           // 35 box colour: recorded, not replayed
    &CTalCommander::DoNothing,           // 36
    &CTalCommander::DoInsertRun,         // 37
    &CTalCommander::DoInsertPara,        // 38
    &CTalCommander::DoRemoveRun,         // 39
    &CTalCommander::DoRemovePara,        // 40
    &CTalCommander::DoNothing,           // 41
    &CTalCommander::DoNothing,           // 42
    &CTalCommander::DoNothing,           // 43
    &CTalCommander::DoNothing,           // 44
    &CTalCommander::DoNothing,           // 45
    &CTalCommander::DoNothing,           // 46
    &CTalCommander::DoNothing,           // 47
    &CTalCommander::DoReplaceText,       // 48
    &CTalCommander::DoNothing,           // 49
    &CTalCommander::DoTextRange,         // 50
};

CTalCommander::CTalCommander(CTalBaseDocument* document) : m_document(document) {}

CTalCommander::~CTalCommander() = default;

CKWRefPtr<CTalSection> CTalCommander::Execute(CTalCommand* command)
{
    if (!command)
        return nullptr;
    const int32_t kind = command->GetKind();
    if (kind < 0 || kind >= kHandlerCount)
        return nullptr;
    return (this->*s_handlers[kind])(command);
}

void CTalCommander::ReplayGroup(CTalCommandGroup* group)
{
    CTalCommandHistory* history = GetHistory();
    if (!group || !history)
        return;
    history->BeginGroup();
    m_replaying = true;
    m_replayedTexts.clear();
    {
        CKWRefPtr<CTalSection> result;
        for (int i = group->GetCount() - 1; i >= 0; --i)
            result = Execute(group->GetAt(i));
    }
    // Index-based text commands may have met a text that changed outside any
    // group; their sums are mended inside the group, so redo stays exact.
    std::vector<CKWRefPtr<CTalTextNote>> texts;
    texts.swap(m_replayedTexts);
    m_replaying = false;
    for (const CKWRefPtr<CTalTextNote>& text : texts)
        TalRepairTextSums(*text);
    history->EndGroup(0, group);
}

void CTalCommander::Undo()
{
    CTalCommandHistory* history = GetHistory();
    if (history)
        ReplayGroup(history->TakeUndoGroup());
}

void CTalCommander::Redo()
{
    CTalCommandHistory* history = GetHistory();
    if (history)
        ReplayGroup(history->TakeRedoGroup());
}

CTalCommandHistory* CTalCommander::GetHistory() const
{
    return m_document ? m_document->GetCommandHistory() : nullptr;
}

bool CTalCommander::IsRecording() const
{
    CTalCommandHistory* history = GetHistory();
    return history && history->IsGroupOpen();
}

void CTalCommander::Record(CTalCommand* inverse)
{
    CTalCommandHistory* history = GetHistory();
    if (history)
        history->AddCommand(inverse);
    else
        delete inverse;
}

void CTalCommander::EndStep(uint32_t label)
{
    if (CTalCommandHistory* history = GetHistory())
        history->EndGroup(label);
    if (m_document)
        m_document->OnTextLayoutChanged();
}

CKWRefPtr<CTalSection> CTalCommander::TargetSection(CTalCommand* command)
{
    CKWRefPtr<CTalObject> target = command->GetTarget();
    return CKWRefPtr<CTalSection>(dynamic_cast<CTalSection*>(target.Get()));
}

CTalTextNote* CTalCommander::TextOf(CTalSection* section)
{
    CTalTextNote* text = section ? section->GetTextNote() : nullptr;
    if (text && m_replaying) {
        bool known = false;
        for (const CKWRefPtr<CTalTextNote>& seen : m_replayedTexts)
            known = known || seen.Get() == text;
        if (!known)
            m_replayedTexts.push_back(CKWRefPtr<CTalTextNote>(text));
    }
    return text;
}

CKWRefPtr<CTalSection> CTalCommander::DoNothing(CTalCommand*)
{
    return nullptr;
}
