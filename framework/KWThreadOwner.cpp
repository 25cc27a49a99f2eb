#include "framework/KWThreadOwner.h"

#include "platform/classlib/WinThread.h"

#include <algorithm>

namespace {

// Holds the owner's lock for one scope.
class CLock {
public:
    explicit CLock(CRITICAL_SECTION& section) : m_section(section) { ::EnterCriticalSection(&m_section); }
    ~CLock() { ::LeaveCriticalSection(&m_section); }
    CLock(const CLock&) = delete;
    CLock& operator=(const CLock&) = delete;

private:
    CRITICAL_SECTION& m_section;
};

// A handle of the thread's own that stays valid after the thread closes its handle.
HANDLE DuplicateThreadHandle(const CWinThread* thread)
{
    HANDLE copy = nullptr;
    if (thread->m_hThread)
        ::DuplicateHandle(::GetCurrentProcess(), thread->m_hThread, ::GetCurrentProcess(), &copy, SYNCHRONIZE,
                          FALSE, 0);
    return copy;
}

}  // namespace

CKWWinThreadOwner::CKWWinThreadOwner() { ::InitializeCriticalSection(&m_lock); }

CKWWinThreadOwner::~CKWWinThreadOwner()
{
    std::vector<HANDLE> handles;
    std::vector<DWORD> ids;
    {
        CLock lock(m_lock);
        for (CWinThread* thread : m_threads) {
            if (HANDLE copy = DuplicateThreadHandle(thread))
                handles.push_back(copy);
            ids.push_back(thread->m_nThreadID);
        }
        m_threads.clear();
    }
    // Posted outside the lock: a worker that ends may still want to remove itself.
    for (DWORD id : ids)
        ::PostThreadMessageW(id, WM_QUIT, 0, 0);
    for (size_t start = 0; start < handles.size(); start += MAXIMUM_WAIT_OBJECTS) {
        const DWORD count = static_cast<DWORD>(std::min<size_t>(MAXIMUM_WAIT_OBJECTS, handles.size() - start));
        ::WaitForMultipleObjects(count, &handles[start], TRUE, INFINITE);
    }
    for (HANDLE handle : handles)
        ::CloseHandle(handle);
    ::DeleteCriticalSection(&m_lock);
}

void CKWWinThreadOwner::RemoveThread(CWinThread* thread)
{
    CLock lock(m_lock);
    m_threads.erase(std::remove(m_threads.begin(), m_threads.end(), thread), m_threads.end());
}

void CKWWinThreadOwner::StopThread(CWinThread* thread)
{
    HANDLE copy = nullptr;
    DWORD id = 0;
    {
        CLock lock(m_lock);
        if (std::find(m_threads.begin(), m_threads.end(), thread) == m_threads.end())
            return;
        copy = DuplicateThreadHandle(thread);
        id = thread->m_nThreadID;
    }
    ::PostThreadMessageW(id, WM_QUIT, 0, 0);
    if (copy) {
        ::WaitForSingleObject(copy, INFINITE);
        ::CloseHandle(copy);
    }
}

void CKWWinThreadOwner::AddThread(CWinThread* thread)
{
    if (!thread)
        return;
    CLock lock(m_lock);
    m_threads.push_back(thread);
}

int CKWWinThreadOwner::GetThreadCount()
{
    CLock lock(m_lock);
    return static_cast<int>(m_threads.size());
}
