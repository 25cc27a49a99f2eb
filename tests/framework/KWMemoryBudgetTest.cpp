// Jobs on several threads sharing a memory budget: the holds granted at once
// never pass it, a hold larger than the budget is granted alone, and every job
// runs once the holds before it are given back.
#include "framework/KWMemoryBudget.h"
#include "framework/KWWorkQueue.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>

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
