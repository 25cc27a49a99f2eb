#pragma once
// CKWMemoryBudget: memory that jobs running at once on several threads share. A
// job holds its estimate of what it needs while it runs (a CHold); taking a hold
// waits while the holds of others would pass the budget, so that a 32-bit
// process never holds more than the budget for such jobs, however many threads
// run them. A hold alone is always granted, whatever its size: a job larger than
// the budget runs by itself.
#include <condition_variable>
#include <cstdint>
#include <mutex>

class CKWMemoryBudget {
public:
    explicit CKWMemoryBudget(uint64_t bytes) : m_bytes(bytes) {}
    CKWMemoryBudget(const CKWMemoryBudget&) = delete;
    CKWMemoryBudget& operator=(const CKWMemoryBudget&) = delete;

    class CHold {
    public:
        CHold(CKWMemoryBudget& budget, uint64_t bytes);
        ~CHold();
        CHold(const CHold&) = delete;
        CHold& operator=(const CHold&) = delete;

    private:
        CKWMemoryBudget& m_budget;
        uint64_t m_bytes;
    };

    uint64_t GetBytes() const { return m_bytes; }
    // What the holds now granted add up to.
    uint64_t GetHeld();

private:
    void Take(uint64_t bytes);
    void Give(uint64_t bytes);

    const uint64_t m_bytes;
    uint64_t m_held = 0;
    int m_holds = 0;
    std::mutex m_lock;
    std::condition_variable m_given;
};
