#pragma once
// CTalPicReadAhead: the thumbnails of a picture-loading thread's queue, read
// by a few reader threads ahead of one walk through the queue. The walk
// takes the pictures from first to last and has each one's answer (was its
// thumbnail in the cache before it was asked for) in that order, whoever
// read it; meanwhile the readers keep several processors busy. A picture
// whose id came earlier in the queue is left to the walk, which asks for it
// at its turn, once the earlier one is in: its answer is the cache's then,
// as a walk alone would find it. The readers stay at most a few pictures
// ahead of the walk, so that what they bring in is still cached when its
// turn comes.
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

class CTalPicReadAhead {
public:
    // The queue outlives the object; ahead is how far past the walk's
    // picture the readers may go (at least 1).
    CTalPicReadAhead(const std::vector<uint32_t>& queue, size_t ahead);
    CTalPicReadAhead(const CTalPicReadAhead&) = delete;
    CTalPicReadAhead& operator=(const CTalPicReadAhead&) = delete;

    // A reader's work: the pictures no one has taken yet, in queue order;
    // returns once the walk has ended.
    void Read();
    // The walk's turn at a picture (in order, each once): its answer, once
    // it is read, here when no reader has taken it; while a reader is at it
    // the walk reads the next free picture itself.
    bool Walk(size_t index);
    // The walk is over, at the end of the queue or stopped: the readers end
    // after the pictures they are reading.
    void End();

    // How far the readers may go for a thumbnail cache of that capacity:
    // half of it, and no more than a few rounds of readers.
    static size_t AheadFor(size_t cacheCapacity);

private:
    enum State : uint8_t { kFree, kWalkOnly, kTaken, kDone };

    // Reads the next free picture within reach; false when there is none.
    // Called and returns with the lock held.
    bool ReadNext(std::unique_lock<std::mutex>& lock);
    void ReadAt(size_t index, std::unique_lock<std::mutex>& lock);

    const std::vector<uint32_t>& m_queue;
    const size_t m_ahead;
    std::vector<uint8_t> m_state;
    std::vector<uint8_t> m_cached;
    size_t m_next = 0;    // no picture before it is free
    size_t m_walked = 0;  // the walk's picture
    bool m_ended = false;
    std::mutex m_lock;
    std::condition_variable m_changed;
};
