// Jobs on several threads sharing a memory budget: the holds granted at once
// never pass it, a hold larger than the budget is granted alone, and every job
// runs once the holds before it are given back; jobs queued ahead start first.
#include "framework/KWMemoryBudget.h"
#include "framework/KWWorkQueue.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

TEST(KWMemoryBudget, HoldsAtOnceStayWithinTheBudgetAndALargeOneRunsAlone)
{
    const struct {
        const char* name;
        uint64_t budget;
        uint64_t holds[6];
    } cases[] = {
        {"equal holds, three fit", 300, {100, 100, 100, 100, 100, 100}},
        {"mixed holds", 250, {200, 50, 120, 10, 240, 30}},
        {"holds larger than the budget", 100, {150, 20, 400, 20, 99, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CKWMemoryBudget budget(c.budget);
        CKWWorkQueue queue(6);
        std::atomic<int> ran(0), failures(0);
        for (int round = 0; round < 20; ++round) {
            for (uint64_t bytes : c.holds) {
                queue.Queue([&, bytes] {
                    const CKWMemoryBudget::CHold hold(budget, bytes);
                    const uint64_t held = budget.GetHeld();
                    // Alone, any hold; with others, the budget.
                    if (held > c.budget && held != bytes)
                        ++failures;
                    ::Sleep(0);
                    ++ran;
                });
            }
        }
        queue.Wait();
        EXPECT_EQ(0, failures.load());
        EXPECT_EQ(20 * 6, ran.load());
        EXPECT_EQ(0u, budget.GetHeld());
    }
}

// One thread: the jobs run in the order they were queued, those queued
// ahead (in their own order) before the ones still waiting.
TEST(KWWorkQueue, JobsQueuedAheadStartBeforeTheWaitingOnes)
{
    CKWWorkQueue queue(1);
    HANDLE release = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::mutex lock;
    std::string order;
    auto job = [&](char name) {
        return [&, name] {
            std::lock_guard<std::mutex> held(lock);
            order += name;
        };
    };
    // The first job holds the thread until all the others are queued.
    queue.Queue([&] { ::WaitForSingleObject(release, INFINITE); });
    queue.Queue(job('a'));
    queue.Queue(job('b'));
    queue.QueueAhead(job('C'));
    queue.Queue(job('c'));
    queue.QueueAhead(job('D'));
    ::SetEvent(release);
    queue.Wait();
    EXPECT_EQ("CDabc", order);
    queue.QueueAhead(job('E'));
    queue.Queue(job('d'));
    queue.Wait();
    EXPECT_EQ("CDabcEd", order);
    ::CloseHandle(release);
}
