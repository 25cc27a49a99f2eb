#pragma once
// CTalCommandHistory: the undoable steps of one document, oldest first, at
// most 30. The position is the step that undo replays (-1: nothing to undo);
// redo replays the one after it. Handlers record inverse commands into the
// open group; closing it makes a new step, or, during a replay, makes the
// replayed step its own opposite.
#include <cstdint>
#include <vector>

#include "platform/classlib/String.h"

class CTalCommand;
class CTalCommandGroup;

class CTalCommandHistory {
public:
    static constexpr int kDefaultLimit = 30;

    CTalCommandHistory() = default;
    ~CTalCommandHistory();
    CTalCommandHistory(const CTalCommandHistory&) = delete;
    CTalCommandHistory& operator=(const CTalCommandHistory&) = delete;

    // Opens a new empty group, dropping an unfinished one.
    void BeginGroup();
    // Appends the command to the open group, which takes it over. Without an
    // open group the command is deleted and nothing else changes.
    void AddCommand(CTalCommand* command);
    // Closes the open group. An empty group is dropped (false). With a
    // replaced group (a replay) the recorded commands take the place of that
    // group's commands; otherwise the group becomes the newest step, dropping
    // the redo steps and, at the limit, the oldest step.
    bool EndGroup(uint32_t label, CTalCommandGroup* replaced = nullptr);

    // The step to undo, the position moving one back; null (and no change)
    // when there is nothing to undo.
    CTalCommandGroup* TakeUndoGroup();
    // The step to redo, the position moving one on; null (and no change)
    // when there is nothing to redo.
    CTalCommandGroup* TakeRedoGroup();

    // Drops every step and the open group.
    void Clear();

    bool IsGroupOpen() const { return m_openGroup != nullptr; }
    bool CanUndo() const { return m_position >= 0; }
    bool CanRedo() const { return m_position < GetGroupCount() - 1; }
    int GetGroupCount() const { return static_cast<int>(m_groups.size()); }
    int GetPosition() const { return m_position; }
    int GetLimit() const { return m_limit; }
    const CTalCommandGroup* GetGroup(int index) const { return m_groups[static_cast<size_t>(index)]; }
    const CTalCommandGroup* GetOpenGroup() const { return m_openGroup; }

    // The Undo and Redo menu texts from the string table.
    CString GetUndoText() const;
    CString GetRedoText() const;

private:
    void DropOpenGroup();

    std::vector<CTalCommandGroup*> m_groups;
    int32_t m_limit = kDefaultLimit;
    int32_t m_position = -1;
    CTalCommandGroup* m_openGroup = nullptr;
};
