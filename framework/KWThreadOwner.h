#pragma once
// CKWWinThreadOwner: keeps the worker threads a window started and stops
// them, by a WM_QUIT to each and a wait for its end. A worker may remove
// itself from another thread, so the list is locked; the waits use
// duplicates of the thread handles, since a thread that deletes itself
// closes its own handle.
#include <windows.h>

#include <vector>

class CWinThread;

class CKWWinThreadOwner {
public:
    CKWWinThreadOwner();
    // Stops every owned thread and waits for all of them (in groups of the
    // most handles one wait takes).
    virtual ~CKWWinThreadOwner();
    // Nothing is stopped.
    virtual void RemoveThread(CWinThread* thread);
    // An owned thread gets WM_QUIT and is waited for; it stays in the list.
    virtual void StopThread(CWinThread* thread);
    // A null thread is ignored.
    virtual void AddThread(CWinThread* thread);
    virtual int GetThreadCount();

    CKWWinThreadOwner(const CKWWinThreadOwner&) = delete;
    CKWWinThreadOwner& operator=(const CKWWinThreadOwner&) = delete;

private:
    CRITICAL_SECTION m_lock;
    std::vector<CWinThread*> m_threads;
};
