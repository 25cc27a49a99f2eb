#include "model/TalSectionCommands.h"

#include "model/TalSection.h"

CCmdAddSection::CCmdAddSection(int32_t kind, CTalObject* target, CTalSection* parent, CTalSection* previous,
                               uint8_t flag)
    : CTalCommand(kind, target), m_parent(parent), m_previous(previous), m_flag(flag)
{
}

CCmdAddSection::~CCmdAddSection()
{
    // Never put back: the section and its subtree are orphans now, and only
    // detaching them breaks the parent links that would keep them alive.
    if (CTalObject* section = PeekTarget())
        section->Detach();
    ReleaseTarget();
    m_previous.Release();
    m_parent.Release();
}

void CCmdAddSection::ReleasePayload()
{
    ReleaseTarget();
}

CKWRefPtr<CTalSection> CCmdAddSection::GetParent() const
{
    return m_parent;
}

CKWRefPtr<CTalSection> CCmdAddSection::GetPrevious() const
{
    return m_previous;
}

CCmdMoveSection::CCmdMoveSection(int32_t kind, CTalObject* target, CTalSection* newParent, CTalSection* previous)
    : CTalCommand(kind, target), m_parent(newParent), m_previous(previous)
{
}

CCmdMoveSection::~CCmdMoveSection() = default;

CKWRefPtr<CTalSection> CCmdMoveSection::GetParent() const
{
    return m_parent;
}

CKWRefPtr<CTalSection> CCmdMoveSection::GetPrevious() const
{
    return m_previous;
}
