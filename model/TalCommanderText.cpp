// The handlers of the text-note kinds. They record nothing themselves: the
// text note's hooks record the inverse of every elementary change. Indices
// are checked (a replay may meet a text that changed since it was recorded):
// a change outside the records is skipped, an insertion point clamped.
#include <algorithm>

#include "model/TalBaseDocument.h"
#include "model/TalCommand.h"
#include "model/TalCommandPayloads.h"
#include "model/TalCommander.h"
#include "model/TalSection.h"
#include "model/TalTextCommands.h"
#include "model/TalTextNote.h"

namespace {

// A record count from a command; counts are never negative.
uint32_t CountOf(int32_t value)
{
    return static_cast<uint32_t>(std::max(value, 0));
}

}  // namespace

CKWRefPtr<CTalSection> CTalCommander::TextChanged(const CKWRefPtr<CTalSection>& section, bool changed)
{
    if (!changed)
        return nullptr;
    if (m_document)
        m_document->OnTextNoteChanged(section);
    return section;
}

CKWRefPtr<CTalSection> CTalCommander::DoSetRunStyle(CTalCommand* command)
{
    CKWRefPtr<CTalSection> section = TargetSection(command);
    CCmdIntByteData* data = dynamic_cast<CCmdIntByteData*>(command);
    CTalTextNote* text = data ? TextOf(section.Get()) : nullptr;
    return TextChanged(section, text && text->SetRunStyle(data->GetIndex(), data->GetValue()));
}

CKWRefPtr<CTalSection> CTalCommander::DoSetRunFont(CTalCommand* command)
{
    CKWRefPtr<CTalSection> section = TargetSection(command);
    CCmdIntIntData* data = dynamic_cast<CCmdIntIntData*>(command);
    CTalTextNote* text = data ? TextOf(section.Get()) : nullptr;
    // Font indices are unsigned; -1 (a run made without a table) comes back as itself.
    return TextChanged(section,
                       text && text->SetRunFont(data->GetFirst(), static_cast<uint32_t>(data->GetSecond())));
}

CKWRefPtr<CTalSection> CTalCommander::DoSetRunSize(CTalCommand* command)
{
    CKWRefPtr<CTalSection> section = TargetSection(command);
    CCmdIntIntData* data = dynamic_cast<CCmdIntIntData*>(command);
    CTalTextNote* text = data ? TextOf(section.Get()) : nullptr;
    return TextChanged(section, text && text->SetRunSize(data->GetFirst(), static_cast<int16_t>(data->GetSecond())));
}

CKWRefPtr<CTalSection> CTalCommander::DoSetRunColor(CTalCommand* command)
{
    CKWRefPtr<CTalSection> section = TargetSection(command);
    CCmdIntColorData* data = dynamic_cast<CCmdIntColorData*>(command);
    CTalTextNote* text = data ? TextOf(section.Get()) : nullptr;
    return TextChanged(section, text && text->SetRunColor(data->GetIndex(), data->GetColor()));
}

CKWRefPtr<CTalSection> CTalCommander::DoSetRunLength(CTalCommand* command)
{
    CKWRefPtr<CTalSection> section = TargetSection(command);
    CCmdIntIntData* data = dynamic_cast<CCmdIntIntData*>(command);
    CTalTextNote* text = data ? TextOf(section.Get()) : nullptr;
    return TextChanged(section, text && text->SetRunLength(data->GetFirst(), CountOf(data->GetSecond())));
}

CKWRefPtr<CTalSection> CTalCommander::DoSetParaAlign(CTalCommand* command)
{
    CKWRefPtr<CTalSection> section = TargetSection(command);
    CCmdIntByteData* data = dynamic_cast<CCmdIntByteData*>(command);
    CTalTextNote* text = data ? TextOf(section.Get()) : nullptr;
    return TextChanged(section, text && text->SetParaAlign(data->GetIndex(), data->GetValue()));
}

CKWRefPtr<CTalSection> CTalCommander::DoSetParaIndent(CTalCommand* command)
{
    CKWRefPtr<CTalSection> section = TargetSection(command);
    CCmdIntFloatData* data = dynamic_cast<CCmdIntFloatData*>(command);
    CTalTextNote* text = data ? TextOf(section.Get()) : nullptr;
    if (!text)
        return nullptr;
    bool changed = false;
    switch (command->GetKind()) {
    case CTalCommand::kSetParaFirstLine:
        changed = text->SetParaFirstLine(data->GetIndex(), data->GetValue());
        break;
    case CTalCommand::kSetParaLeftIndent:
        changed = text->SetParaLeftIndent(data->GetIndex(), data->GetValue());
        break;
    default:
        changed = text->SetParaRightIndent(data->GetIndex(), data->GetValue());
        break;
    }
    return TextChanged(section, changed);
}

CKWRefPtr<CTalSection> CTalCommander::DoSetParaLength(CTalCommand* command)
{
    CKWRefPtr<CTalSection> section = TargetSection(command);
    CCmdIntIntData* data = dynamic_cast<CCmdIntIntData*>(command);
    CTalTextNote* text = data ? TextOf(section.Get()) : nullptr;
    return TextChanged(section, text && text->SetParaLength(data->GetFirst(), CountOf(data->GetSecond())));
}

CKWRefPtr<CTalSection> CTalCommander::DoInsertRun(CTalCommand* command)
{
    CKWRefPtr<CTalSection> section = TargetSection(command);
    CCmdInsertCharacter* data = dynamic_cast<CCmdInsertCharacter*>(command);
    CTalTextNote* text = data && data->GetRun() ? TextOf(section.Get()) : nullptr;
    if (!text)
        return nullptr;
    const int index = std::clamp(data->GetIndex(), 0, text->GetRunCount());
    if (!text->InsertRun(index, data->GetRun()))
        return nullptr;
    // The text owns the record from here on, whatever becomes of the group.
    data->ReleasePayload();
    return TextChanged(section, true);
}

CKWRefPtr<CTalSection> CTalCommander::DoInsertPara(CTalCommand* command)
{
    CKWRefPtr<CTalSection> section = TargetSection(command);
    CCmdInsertParagraf* data = dynamic_cast<CCmdInsertParagraf*>(command);
    CTalTextNote* text = data && data->GetPara() ? TextOf(section.Get()) : nullptr;
    if (!text)
        return nullptr;
    const int index = std::clamp(data->GetIndex(), 0, text->GetParaCount());
    if (!text->InsertPara(index, data->GetPara()))
        return nullptr;
    data->ReleasePayload();
    return TextChanged(section, true);
}

CKWRefPtr<CTalSection> CTalCommander::DoRemoveRun(CTalCommand* command)
{
    CKWRefPtr<CTalSection> section = TargetSection(command);
    CCmdIntData* data = dynamic_cast<CCmdIntData*>(command);
    CTalTextNote* text = data ? TextOf(section.Get()) : nullptr;
    if (!text || data->GetIndex() < 0 || data->GetIndex() >= text->GetRunCount())
        return nullptr;
    text->RemoveRun(data->GetIndex());
    return TextChanged(section, true);
}

CKWRefPtr<CTalSection> CTalCommander::DoRemovePara(CTalCommand* command)
{
    CKWRefPtr<CTalSection> section = TargetSection(command);
    CCmdIntData* data = dynamic_cast<CCmdIntData*>(command);
    CTalTextNote* text = data ? TextOf(section.Get()) : nullptr;
    if (!text || data->GetIndex() < 0 || data->GetIndex() >= text->GetParaCount())
        return nullptr;
    text->RemovePara(data->GetIndex());
    return TextChanged(section, true);
}

CKWRefPtr<CTalSection> CTalCommander::DoReplaceText(CTalCommand* command)
{
    CKWRefPtr<CTalSection> section = TargetSection(command);
    CCmdReplaceText* data = dynamic_cast<CCmdReplaceText*>(command);
    CTalTextNote* text = data ? TextOf(section.Get()) : nullptr;
    if (!text)
        return nullptr;
    const CString replacement = data->GetText();
    const int length = replacement.GetLength();
    const int start = std::clamp(data->GetStart(), 0, text->GetLength());
    const int end = std::clamp(data->GetEnd(), start, text->GetLength());
    // The range to select afterwards: the new characters, or the caret
    // behind them when nothing was replaced.
    if (m_document)
        m_document->OnTextRangeChanged(section, start != end ? start : start + length, start + length);
    text->ReplaceRange(replacement.GetString(), length, start, end);
    return TextChanged(section, true);
}

CKWRefPtr<CTalSection> CTalCommander::DoTextRange(CTalCommand* command)
{
    CKWRefPtr<CTalSection> section = TargetSection(command);
    CCmdIntIntData* data = dynamic_cast<CCmdIntIntData*>(command);
    if (!section || !data)
        return nullptr;
    // A marker: it changes nothing and is its own inverse.
    if (IsRecording())
        Record(new CCmdIntIntData(CTalCommand::kTextRange, section.Get(), data->GetFirst(), data->GetSecond()));
    if (m_document)
        m_document->OnTextRangeChanged(section, data->GetFirst(), data->GetSecond());
    return section;
}
