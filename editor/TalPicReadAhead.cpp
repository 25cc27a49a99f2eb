#include "editor/TalPicReadAhead.h"

#include "framework/KWRasterLib.h"

#include <algorithm>
#include <unordered_set>

namespace {

// Rounds of the most readers a picture-loading thread starts.
constexpr size_t kMostAhead = 32;

}  // namespace

CTalPicReadAhead::CTalPicReadAhead(const std::vector<uint32_t>& queue, size_t ahead)
    : m_queue(queue), m_ahead(std::max<size_t>(ahead, 1)), m_state(queue.size(), kFree), m_cached(queue.size(), 0)
{
    std::unordered_set<uint32_t> seen;
    for (size_t index = 0; index < queue.size(); ++index) {
        if (!seen.insert(queue[index]).second)
            m_state[index] = kWalkOnly;
    }
}

size_t CTalPicReadAhead::AheadFor(size_t cacheCapacity)
{
    return std::max<size_t>(std::min(cacheCapacity / 2, kMostAhead), 1);
}

void CTalPicReadAhead::ReadAt(size_t index, std::unique_lock<std::mutex>& lock)
{
    m_state[index] = kTaken;
    lock.unlock();
    const uint32_t id = m_queue[index];
    const bool cached = g_rasterLib.FindThumbnail(id);
    g_rasterLib.GetThumbnail(id);
    lock.lock();
    m_cached[index] = cached ? 1 : 0;
    m_state[index] = kDone;
    m_changed.notify_all();
}

bool CTalPicReadAhead::ReadNext(std::unique_lock<std::mutex>& lock)
{
    while (m_next < m_queue.size() && m_state[m_next] != kFree)
        ++m_next;
    if (m_ended || m_next >= m_queue.size() || m_next >= m_walked + m_ahead)
        return false;
    ReadAt(m_next++, lock);
    return true;
}

void CTalPicReadAhead::Read()
{
    std::unique_lock<std::mutex> lock(m_lock);
    while (!m_ended) {
        // Nothing free within reach: the walk's next turn makes room, or
        // its end lets the reader go.
        if (!ReadNext(lock))
            m_changed.wait(lock);
    }
}

bool CTalPicReadAhead::Walk(size_t index)
{
    std::unique_lock<std::mutex> lock(m_lock);
    m_walked = index;
    m_changed.notify_all();
    while (m_state[index] != kDone) {
        if (m_state[index] == kFree || m_state[index] == kWalkOnly)
            ReadAt(index, lock);
        else if (!ReadNext(lock))
            m_changed.wait(lock);
    }
    return m_cached[index] != 0;
}

void CTalPicReadAhead::End()
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_ended = true;
    m_changed.notify_all();
}
