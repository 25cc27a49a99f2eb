#include "model/TalItemUserData.h"

CTalItemUserData::CTalItemUserData(CTalObject* object) : m_object(object) {}

CTalItemUserData::~CTalItemUserData() = default;
