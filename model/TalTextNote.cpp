#include "model/TalTextNote.h"

#include "model/TalCommand.h"
#include "model/TalCommandHistory.h"
#include "model/TalCommandPayloads.h"
#include "model/TalSection.h"
#include "model/TalTextCommands.h"

CTalTextNote::CTalTextNote(CTalSection* parent) : CTalObject(parent) {}

CTalTextNote::~CTalTextNote() = default;

bool CTalTextNote::Serialize(CKWArchive& ar)
{
    CKWTextObject::Serialize(ar);
    return true;
}

CKWIndexDecoder* CTalTextNote::GetFontTable() const
{
    const CTalSection* parent = PeekParent();
    return parent ? parent->GetFontTable() : nullptr;
}

CTalCommandHistory* CTalTextNote::GetRecordingHistory() const
{
    CTalCommandHistory* history = GetCommandHistory();
    return history && history->IsGroupOpen() ? history : nullptr;
}

// Each hook records the command that undoes the change about to happen; its
// target is the section, through which the handlers reach the text.

bool CTalTextNote::OnRemoveRun(int index)
{
    CTalCommandHistory* history = GetRecordingHistory();
    if (!history || !IsRunIndex(index))
        return false;
    // The command takes the record over: the text must not free it.
    history->AddCommand(new CCmdInsertCharacter(CTalCommand::kInsertRun, PeekParent(), GetRunPtr(index), index));
    return true;
}

bool CTalTextNote::OnRemovePara(int index)
{
    CTalCommandHistory* history = GetRecordingHistory();
    if (!history || !IsParaIndex(index))
        return false;
    history->AddCommand(new CCmdInsertParagraf(CTalCommand::kInsertPara, PeekParent(), GetParaPtr(index), index));
    return true;
}

bool CTalTextNote::OnInsertRun(int index)
{
    CTalCommandHistory* history = GetRecordingHistory();
    // An insertion may also append (index = count): it must be undoable too.
    if (!history || index < 0 || index > GetRunCount())
        return false;
    history->AddCommand(new CCmdIntData(CTalCommand::kRemoveRun, PeekParent(), index));
    return true;
}

bool CTalTextNote::OnInsertPara(int index)
{
    CTalCommandHistory* history = GetRecordingHistory();
    if (!history || index < 0 || index > GetParaCount())
        return false;
    history->AddCommand(new CCmdIntData(CTalCommand::kRemovePara, PeekParent(), index));
    return true;
}

bool CTalTextNote::OnSetRunStyle(int index)
{
    CTalCommandHistory* history = GetRecordingHistory();
    if (!history || !IsRunIndex(index))
        return false;
    history->AddCommand(new CCmdIntByteData(CTalCommand::kSetRunStyle, PeekParent(), index, GetRun(index).m_style));
    return true;
}

bool CTalTextNote::OnSetRunSize(int index)
{
    CTalCommandHistory* history = GetRecordingHistory();
    if (!history || !IsRunIndex(index))
        return false;
    history->AddCommand(new CCmdIntIntData(CTalCommand::kSetRunSize, PeekParent(), index, GetRun(index).m_size));
    return true;
}

bool CTalTextNote::OnSetRunColor(int index)
{
    CTalCommandHistory* history = GetRecordingHistory();
    if (!history || !IsRunIndex(index))
        return false;
    history->AddCommand(new CCmdIntColorData(CTalCommand::kSetRunColor, PeekParent(), index, GetRun(index).m_color));
    return true;
}

bool CTalTextNote::OnSetRunFont(int index)
{
    CTalCommandHistory* history = GetRecordingHistory();
    if (!history || !IsRunIndex(index))
        return false;
    history->AddCommand(new CCmdIntIntData(CTalCommand::kSetRunFont, PeekParent(), index,
                                           static_cast<int32_t>(GetRun(index).m_fontIndex)));
    return true;
}

bool CTalTextNote::OnSetRunLength(int index)
{
    CTalCommandHistory* history = GetRecordingHistory();
    if (!history || !IsRunIndex(index))
        return false;
    history->AddCommand(new CCmdIntIntData(CTalCommand::kSetRunLength, PeekParent(), index,
                                           static_cast<int32_t>(GetRun(index).m_count)));
    return true;
}

bool CTalTextNote::OnSetParaAlign(int index)
{
    CTalCommandHistory* history = GetRecordingHistory();
    if (!history || !IsParaIndex(index))
        return false;
    history->AddCommand(new CCmdIntByteData(CTalCommand::kSetParaAlign, PeekParent(), index, GetPara(index).m_align));
    return true;
}

bool CTalTextNote::OnSetParaLeftIndent(int index)
{
    CTalCommandHistory* history = GetRecordingHistory();
    if (!history || !IsParaIndex(index))
        return false;
    history->AddCommand(
        new CCmdIntFloatData(CTalCommand::kSetParaLeftIndent, PeekParent(), index, GetPara(index).m_leftIndent));
    return true;
}

bool CTalTextNote::OnSetParaRightIndent(int index)
{
    CTalCommandHistory* history = GetRecordingHistory();
    if (!history || !IsParaIndex(index))
        return false;
    history->AddCommand(
        new CCmdIntFloatData(CTalCommand::kSetParaRightIndent, PeekParent(), index, GetPara(index).m_rightIndent));
    return true;
}

bool CTalTextNote::OnSetParaFirstLine(int index)
{
    CTalCommandHistory* history = GetRecordingHistory();
    if (!history || !IsParaIndex(index))
        return false;
    history->AddCommand(
        new CCmdIntFloatData(CTalCommand::kSetParaFirstLine, PeekParent(), index, GetPara(index).m_firstLine));
    return true;
}

bool CTalTextNote::OnSetParaLength(int index)
{
    CTalCommandHistory* history = GetRecordingHistory();
    if (!history || !IsParaIndex(index))
        return false;
    history->AddCommand(new CCmdIntIntData(CTalCommand::kSetParaLength, PeekParent(), index,
                                           static_cast<int32_t>(GetPara(index).m_count)));
    return true;
}

bool CTalTextNote::OnSetBoxColor()
{
    CTalCommandHistory* history = GetRecordingHistory();
    if (!history)
        return false;
    history->AddCommand(new CCmdColorData(CTalCommand::kSetBoxColor, PeekParent(), GetBoxAttributes().color));
    return true;
}

bool CTalTextNote::OnBeforeReplace(int start, int end, int length)
{
    CTalCommandHistory* history = GetRecordingHistory();
    if (!history)
        return false;
    // Replaying puts the old characters back over the ones about to come in.
    history->AddCommand(
        new CCmdReplaceText(CTalCommand::kReplaceText, PeekParent(), GetTextRange(start, end), start, start + length));
    return true;
}
