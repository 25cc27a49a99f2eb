#include "framework/KWWorkQueue.h"

#include <windows.h>

CKWWorkQueue::CKWWorkQueue(int threads) : m_threadCount(threads > 0 ? threads : 1) {}

CKWWorkQueue::~CKWWorkQueue()
{
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_stop = true;
    }
    m_changed.notify_all();
    for (std::thread& thread : m_threads)
        thread.join();
}

void CKWWorkQueue::Queue(std::function<void()> job)
{
    Add(std::move(job), false);
}

void CKWWorkQueue::QueueAhead(std::function<void()> job)
{
    Add(std::move(job), true);
}

void CKWWorkQueue::Add(std::function<void()> job, bool ahead)
{
    {
        std::lock_guard<std::mutex> lock(m_lock);
        // Ahead of the jobs waiting, behind those queued ahead before it.
        if (ahead)
            m_jobs.insert(m_jobs.begin() + std::ptrdiff_t(m_ahead++), std::move(job));
        else
            m_jobs.push_back(std::move(job));
        // A thread starts for each job no idle thread can take, up to the
        // count: a single long job costs one thread's memory, not all their
        // stacks. The threads wait for the lock until the job is in place.
        while (static_cast<int>(m_threads.size()) < m_threadCount &&
               m_jobs.size() > m_threads.size() - static_cast<size_t>(m_running))
            m_threads.emplace_back([this] { Run(); });
    }
    m_changed.notify_all();
}

void CKWWorkQueue::Wait()
{
    std::unique_lock<std::mutex> lock(m_lock);
    m_changed.wait(lock, [this] { return m_jobs.empty() && m_running == 0; });
}

int CKWWorkQueue::Processors(int most)
{
    SYSTEM_INFO info = {};
    ::GetSystemInfo(&info);
    const int count = static_cast<int>(info.dwNumberOfProcessors);
    return count < 1 ? 1 : count > most ? most : count;
}

void CKWWorkQueue::Run()
{
    std::unique_lock<std::mutex> lock(m_lock);
    for (;;) {
        m_changed.wait(lock, [this] { return m_stop || !m_jobs.empty(); });
        if (m_jobs.empty())
            return;  // stopped with nothing left to run
        std::function<void()> job = std::move(m_jobs.front());
        m_jobs.pop_front();
        if (m_ahead > 0)
            --m_ahead;
        ++m_running;
        lock.unlock();
        // No exception leaves the thread.
        try {
            job();
        } catch (...) {
        }
        lock.lock();
        --m_running;
        m_changed.notify_all();
    }
}
