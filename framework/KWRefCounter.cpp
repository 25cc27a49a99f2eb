#include "framework/KWRefCounter.h"

std::atomic<int32_t> CKWRefCounter::s_liveCount(0);

CKWRefCounter::CKWRefCounter() { ++s_liveCount; }

CKWRefCounter::CKWRefCounter(const CKWRefCounter&) { ++s_liveCount; }

CKWRefCounter::~CKWRefCounter() { --s_liveCount; }

void CKWRefCounter::Release()
{
    if (--m_refCount <= 0)
        delete this;
}
