#include "framework/KWMemoryBudget.h"

CKWMemoryBudget::CHold::CHold(CKWMemoryBudget& budget, uint64_t bytes) : m_budget(budget), m_bytes(bytes)
{
    m_budget.Take(m_bytes);
}

CKWMemoryBudget::CHold::~CHold()
{
    m_budget.Give(m_bytes);
}

uint64_t CKWMemoryBudget::GetHeld()
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_held;
}

void CKWMemoryBudget::Take(uint64_t bytes)
{
    std::unique_lock<std::mutex> lock(m_lock);
    m_given.wait(lock, [&] { return m_holds == 0 || m_held + bytes <= m_bytes; });
    m_held += bytes;
    ++m_holds;
}

void CKWMemoryBudget::Give(uint64_t bytes)
{
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_held -= bytes;
        --m_holds;
    }
    m_given.notify_all();
}
