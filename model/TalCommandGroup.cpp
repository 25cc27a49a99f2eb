#include "model/TalCommandGroup.h"

#include "model/TalCommand.h"

CTalCommandGroup::~CTalCommandGroup()
{
    DeleteCommands();
}

void CTalCommandGroup::Add(CTalCommand* command)
{
    if (command)
        m_commands.push_back(command);
}

void CTalCommandGroup::DeleteCommands()
{
    while (!m_commands.empty()) {
        CTalCommand* command = m_commands.back();
        m_commands.pop_back();
        delete command;
    }
}

void CTalCommandGroup::ReleaseAndDeleteCommands()
{
    for (CTalCommand* command : m_commands)
        command->ReleasePayload();
    for (CTalCommand* command : m_commands)
        delete command;
    m_commands.clear();
}

void CTalCommandGroup::TakeCommandsFrom(CTalCommandGroup& other)
{
    m_commands.insert(m_commands.end(), other.m_commands.begin(), other.m_commands.end());
    other.m_commands.clear();
}
