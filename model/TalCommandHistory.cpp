#include "model/TalCommandHistory.h"

#include "model/TalCommand.h"
#include "model/TalCommandGroup.h"
#include "model/TalCommandStrings.h"

CTalCommandHistory::~CTalCommandHistory()
{
    Clear();
}

void CTalCommandHistory::DropOpenGroup()
{
    delete m_openGroup;
    m_openGroup = nullptr;
}

void CTalCommandHistory::BeginGroup()
{
    DropOpenGroup();
    m_openGroup = new CTalCommandGroup;
}

void CTalCommandHistory::AddCommand(CTalCommand* command)
{
    if (!command)
        return;
    if (!m_openGroup) {
        // Nobody would own it: recording outside a group is a caller's slip.
        delete command;
        return;
    }
    m_openGroup->Add(command);
}

bool CTalCommandHistory::EndGroup(uint32_t label, CTalCommandGroup* replaced)
{
    if (!m_openGroup)
        return false;
    if (m_openGroup->IsEmpty()) {
        // Nothing changed: no step, and the redo steps stay.
        DropOpenGroup();
        return false;
    }
    if (replaced) {
        // The replayed commands are back in the model; the inverses just
        // recorded become the step, at its place and with its label.
        replaced->ReleaseAndDeleteCommands();
        replaced->TakeCommandsFrom(*m_openGroup);
        DropOpenGroup();
        return true;
    }
    // A new step drops the redo steps, newest first.
    while (GetGroupCount() - 1 > m_position) {
        delete m_groups.back();
        m_groups.pop_back();
    }
    if (GetGroupCount() >= m_limit && !m_groups.empty()) {
        delete m_groups.front();
        m_groups.erase(m_groups.begin());
        --m_position;
    }
    m_openGroup->SetLabel(label);
    m_groups.push_back(m_openGroup);
    m_openGroup = nullptr;
    m_position = GetGroupCount() - 1;
    return true;
}

CTalCommandGroup* CTalCommandHistory::TakeUndoGroup()
{
    if (!CanUndo())
        return nullptr;
    return m_groups[static_cast<size_t>(m_position--)];
}

CTalCommandGroup* CTalCommandHistory::TakeRedoGroup()
{
    if (!CanRedo())
        return nullptr;
    return m_groups[static_cast<size_t>(++m_position)];
}

void CTalCommandHistory::Clear()
{
    for (CTalCommandGroup* group : m_groups)
        delete group;
    m_groups.clear();
    DropOpenGroup();
    m_position = -1;
}

CString CTalCommandHistory::GetUndoText() const
{
    if (!CanUndo())
        return TalCommandString(IDS_CANT_UNDO);
    CString text = TalCommandString(IDS_UNDO_PREFIX);
    text += TalCommandString(m_groups[static_cast<size_t>(m_position)]->GetLabel());
    text += TalCommandString(IDS_UNDO_SUFFIX);
    return text;
}

CString CTalCommandHistory::GetRedoText() const
{
    if (!CanRedo())
        return TalCommandString(IDS_CANT_REDO);
    CString text = TalCommandString(IDS_REDO_PREFIX);
    const uint32_t label = m_groups[static_cast<size_t>(m_position + 1)]->GetLabel();
    if (label != 0)
        text += TalCommandString(label);
    text += TalCommandString(IDS_REDO_SUFFIX);
    return text;
}
