#include "framework/KWWriteBehind.h"

CKWWriteBehind::CKWWriteBehind(size_t blockSize, int blockCount) : m_blockSize(blockSize)
{
    for (int i = 0; i < blockCount; ++i) {
        m_blocks.emplace_back(new uint8_t[blockSize]);
        m_free.push_back(m_blocks.back().get());
    }
    m_thread = std::thread([this] { Run(); });
}

CKWWriteBehind::~CKWWriteBehind()
{
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_stop = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

uint8_t* CKWWriteBehind::TakeBlock()
{
    std::unique_lock<std::mutex> lock(m_lock);
    m_changed.wait(lock, [this] { return !m_free.empty(); });
    uint8_t* block = m_free.back();
    m_free.pop_back();
    return block;
}

void CKWWriteBehind::Queue(uint8_t* block, size_t count, Sink sink)
{
    Job job;
    job.block = block;
    job.count = count;
    job.sink = std::move(sink);
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_jobs.push_back(std::move(job));
    }
    m_changed.notify_all();
}

void CKWWriteBehind::Queue(std::function<bool()> call)
{
    Job job;
    job.call = std::move(call);
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_jobs.push_back(std::move(job));
    }
    m_changed.notify_all();
}

bool CKWWriteBehind::Finish()
{
    std::unique_lock<std::mutex> lock(m_lock);
    m_changed.wait(lock, [this] { return m_jobs.empty() && !m_busy; });
    const bool ok = !m_failed;
    m_failed = false;
    return ok;
}

void CKWWriteBehind::Run()
{
    std::unique_lock<std::mutex> lock(m_lock);
    for (;;) {
        m_changed.wait(lock, [this] { return m_stop || !m_jobs.empty(); });
        if (m_jobs.empty())
            return;  // stopped with nothing left to write
        Job job = std::move(m_jobs.front());
        m_jobs.pop_front();
        m_busy = true;
        lock.unlock();
        bool ok = false;
        // No exception leaves the thread: a failing operation is a failed write.
        try {
            if (job.call)
                ok = job.call();
            else
                ok = job.count == 0 || (job.sink && job.sink(job.block, job.count));
        } catch (...) {
            ok = false;
        }
        lock.lock();
        if (!ok)
            m_failed = true;
        if (job.block)
            m_free.push_back(job.block);
        m_busy = false;
        m_changed.notify_all();
    }
}
