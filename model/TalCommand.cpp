#include "model/TalCommand.h"

#include "model/TalObject.h"

CTalCommand::CTalCommand(int32_t kind, CTalObject* target) : m_kind(kind), m_target(target) {}

CTalCommand::~CTalCommand() = default;

CKWRefPtr<CTalObject> CTalCommand::GetTarget() const
{
    return m_target;
}

CTalObject* CTalCommand::PeekTarget() const
{
    return m_target.Get();
}

void CTalCommand::ReleaseTarget()
{
    m_target.Release();
}
