#include "model/TalItemUserData.h"

IMPLEMENT_DYNAMIC(CTalItemUserData, CObject)

CTalItemUserData::CTalItemUserData(CTalObject* object) : m_object(object) {}

CTalItemUserData::~CTalItemUserData() = default;
