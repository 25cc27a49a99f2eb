#include "framework/KWProgressInterface.h"

void CKWProgressInterface::BeginStage(int units)
{
    m_units = 0;
    m_stageBase = m_lastPos = GetPos();
    const double span = GetUpper() * m_stageShare;
    m_stageEnd = m_stageBase + static_cast<int>(span);
    m_scale = units != 0 ? span / units : 1.0;
}

int CKWProgressInterface::Advance()
{
    ++m_units;
    const int position = m_stageBase + static_cast<int>(m_units * m_scale);
    if (position <= m_lastPos || position > m_stageEnd)
        return m_lastPos;
    SetPos(position);
    m_lastPos = position;
    return m_lastPos;
}

void CKWProgressInterface::Update()
{
    if (m_lastPos != m_stageEnd) {
        SetPos(m_stageEnd);
        m_lastPos = m_stageEnd;
    }
}
