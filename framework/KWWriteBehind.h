#pragma once
// CKWWriteBehind: writes blocks of bytes on a thread of its own while the
// caller fills the next ones, so that producing the bytes (decoding or
// encoding pictures) and the system's copying them into a file overlap. A few
// blocks of a fixed size circulate: the caller takes a free one, fills it and
// queues it with the operation that writes it; the thread runs the queued
// operations in order and gives the blocks back. Memory stays at the blocks,
// whatever is written. Until more than one block's bytes have been queued,
// the operations run at once in the caller: a few small pictures are written
// in less time than a thread takes to start.
#include "framework/KWWorkQueue.h"

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

class CKWWriteBehind {
public:
    // Writes a block's bytes; false on failure.
    using Sink = std::function<bool(const uint8_t* bytes, size_t count)>;

    CKWWriteBehind(size_t blockSize, int blockCount);
    // Runs what is queued, then ends the thread.
    ~CKWWriteBehind();
    CKWWriteBehind(const CKWWriteBehind&) = delete;
    CKWWriteBehind& operator=(const CKWWriteBehind&) = delete;

    size_t GetBlockSize() const { return m_blockSize; }
    // A free block of GetBlockSize() bytes; waits while every block is queued.
    uint8_t* TakeBlock();
    // The block's first count bytes go to the sink, after everything queued
    // before; the block is free again once written.
    void Queue(uint8_t* block, size_t count, Sink sink);
    // A call without a block (closing a file), run in the same order.
    void Queue(std::function<bool()> call);
    // Waits until everything queued has run. False when an operation failed
    // (or threw) since the last Finish.
    bool Finish();

private:
    // Runs an operation on the thread; a failure is kept for Finish.
    void Run(const std::function<bool()>& operation);
    void GiveBack(uint8_t* block);

    const size_t m_blockSize;
    std::vector<std::unique_ptr<uint8_t[]>> m_blocks;
    std::vector<uint8_t*> m_free;
    bool m_failed = false;
    // Bytes written in the caller so far; once over a block, all goes to the thread.
    size_t m_bytesInCaller = 0;
    bool m_threaded = false;
    std::mutex m_lock;
    std::condition_variable m_freed;
    // Last, so that it ends (running what is queued) before the blocks go.
    CKWWorkQueue m_thread;
};
