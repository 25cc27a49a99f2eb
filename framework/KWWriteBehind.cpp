#include "framework/KWWriteBehind.h"

CKWWriteBehind::CKWWriteBehind(size_t blockSize, int blockCount) : m_blockSize(blockSize), m_thread(1)
{
    for (int i = 0; i < blockCount; ++i) {
        m_blocks.emplace_back(new uint8_t[blockSize]);
        m_free.push_back(m_blocks.back().get());
    }
}

CKWWriteBehind::~CKWWriteBehind()
{
    m_thread.Wait();
}

uint8_t* CKWWriteBehind::TakeBlock()
{
    std::unique_lock<std::mutex> lock(m_lock);
    m_freed.wait(lock, [this] { return !m_free.empty(); });
    uint8_t* block = m_free.back();
    m_free.pop_back();
    return block;
}

void CKWWriteBehind::Queue(uint8_t* block, size_t count, Sink sink)
{
    if (!m_threaded && m_bytesInCaller + count <= m_blockSize) {
        m_bytesInCaller += count;
        Run([&] { return count == 0 || (sink && sink(block, count)); });
        GiveBack(block);
        return;
    }
    m_threaded = true;
    m_thread.Queue([this, block, count, sink] {
        Run([&] { return count == 0 || (sink && sink(block, count)); });
        GiveBack(block);
    });
}

void CKWWriteBehind::Queue(std::function<bool()> call)
{
    if (!m_threaded) {
        Run(call);
        return;
    }
    m_thread.Queue([this, call] { Run(call); });
}

bool CKWWriteBehind::Finish()
{
    m_thread.Wait();
    std::lock_guard<std::mutex> lock(m_lock);
    const bool ok = !m_failed;
    m_failed = false;
    return ok;
}

void CKWWriteBehind::Run(const std::function<bool()>& operation)
{
    bool ok = false;
    try {
        ok = operation();
    } catch (...) {
        ok = false;
    }
    if (!ok) {
        std::lock_guard<std::mutex> lock(m_lock);
        m_failed = true;
    }
}

void CKWWriteBehind::GiveBack(uint8_t* block)
{
    if (!block)
        return;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_free.push_back(block);
    }
    m_freed.notify_all();
}
