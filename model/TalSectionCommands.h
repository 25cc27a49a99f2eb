#pragma once
// The commands that put sections into the tree, move them and rename them.
// A place in the tree is a parent and the sibling to follow (null: first).
#include <cstdint>

#include "framework/KWRefPtr.h"
#include "model/TalCommand.h"
#include "platform/classlib/String.h"

class CTalSection;

// Kind 0: inserts the target under the parent after the previous sibling.
// Until it has been executed it owns the section it would put back: destroyed
// without ReleasePayload, it detaches that section so its subtree is freed.
class CCmdAddSection : public CTalCommand {
public:
    CCmdAddSection(int32_t kind, CTalObject* target, CTalSection* parent, CTalSection* previous,
                   uint8_t flag);
    ~CCmdAddSection() override;
    // The section now lives in the tree: forget it.
    void ReleasePayload() override;

    CKWRefPtr<CTalSection> GetParent() const;
    CKWRefPtr<CTalSection> GetPrevious() const;
    uint8_t GetFlag() const { return m_flag; }

private:
    CKWRefPtr<CTalSection> m_parent;
    CKWRefPtr<CTalSection> m_previous;
    uint8_t m_flag;
};

// Kind 2: moves the target under a new parent after the previous sibling.
class CCmdMoveSection : public CTalCommand {
public:
    CCmdMoveSection(int32_t kind, CTalObject* target, CTalSection* newParent, CTalSection* previous);
    ~CCmdMoveSection() override;

    CKWRefPtr<CTalSection> GetParent() const;
    CKWRefPtr<CTalSection> GetPrevious() const;

private:
    CKWRefPtr<CTalSection> m_parent;
    CKWRefPtr<CTalSection> m_previous;
};

// Kind 3: a new name; the flag goes to the document's notification.
class CCmdEditSectionName : public CTalCommand {
public:
    CCmdEditSectionName(int32_t kind, CTalObject* target, const CString& name, uint8_t flag)
        : CTalCommand(kind, target), m_name(name), m_flag(flag) {}
    CString GetName() const { return m_name; }
    uint8_t GetFlag() const { return m_flag; }

private:
    CString m_name;
    uint8_t m_flag;
};
