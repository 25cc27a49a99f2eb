#pragma once
// CTalCommandGroup: one undoable step: the commands recorded while one edit
// operation ran, owned, in the order they were added, and the string-table
// id of the step's name.
#include <cstdint>
#include <vector>

class CTalCommand;

class CTalCommandGroup {
public:
    CTalCommandGroup() = default;
    // Deletes the commands from last to first without ReleasePayload, so that
    // commands still holding removed sections or pictures detach them.
    ~CTalCommandGroup();
    CTalCommandGroup(const CTalCommandGroup&) = delete;
    CTalCommandGroup& operator=(const CTalCommandGroup&) = delete;

    // Takes ownership.
    void Add(CTalCommand* command);
    // Deletes the commands (last to first) and empties the list.
    void DeleteCommands();
    // ReleasePayload on each command, then deletes them first to last: the
    // commands have just been executed, so what they hold is back in the model.
    void ReleaseAndDeleteCommands();
    // Moves every command of the other group behind this group's own.
    void TakeCommandsFrom(CTalCommandGroup& other);

    int GetCount() const { return static_cast<int>(m_commands.size()); }
    bool IsEmpty() const { return m_commands.empty(); }
    CTalCommand* GetAt(int index) const { return m_commands[static_cast<size_t>(index)]; }

    uint32_t GetLabel() const { return m_label; }
    void SetLabel(uint32_t label) { m_label = label; }

private:
    std::vector<CTalCommand*> m_commands;
    uint32_t m_label = 0;
};
