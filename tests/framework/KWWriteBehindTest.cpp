#include "framework/KWWriteBehind.h"
#include "framework/KWWorkQueue.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

TEST(KWWriteBehind, BlocksAndCallsRunInTheirOrderAndFailuresShowAtFinish)
{
    CKWWriteBehind writer(16, 2);
    std::string written;
    auto sink = [&written](const uint8_t* bytes, size_t count) {
        written.append(reinterpret_cast<const char*>(bytes), count);
        return true;
    };
    // More blocks than the writer has: each is taken back once written.
    for (int i = 0; i < 10; ++i) {
        uint8_t* block = writer.TakeBlock();
        const std::string text = std::to_string(i) + ",";
        std::memcpy(block, text.data(), text.size());
        writer.Queue(block, text.size(), sink);
        if (i == 4)
            writer.Queue([&written] {
                written += "|";
                return true;
            });
    }
    EXPECT_TRUE(writer.Finish());
    EXPECT_EQ(written, "0,1,2,3,4,|5,6,7,8,9,");

    const struct {
        bool blockFails;
        bool callFails;
        bool result;
    } cases[] = {{false, false, true}, {true, false, false}, {false, true, false}};
    for (const auto& c : cases) {
        writer.Queue(writer.TakeBlock(), 4, [&c](const uint8_t*, size_t) { return !c.blockFails; });
        writer.Queue([&c] { return !c.callFails; });
        writer.Queue(writer.TakeBlock(), 0, nullptr);  // an empty block is only given back
        EXPECT_EQ(writer.Finish(), c.result) << c.blockFails << c.callFails;
    }
    EXPECT_TRUE(writer.Finish()) << "a failure is told once";
}

TEST(KWWriteBehind, AnExceptionInAnOperationIsAFailedWriteAndTheThreadGoesOn)
{
    CKWWriteBehind writer(8, 1);
    writer.Queue([]() -> bool { throw std::runtime_error("disk"); });
    EXPECT_FALSE(writer.Finish());
    bool ran = false;
    writer.Queue([&ran] { return ran = true; });
    EXPECT_TRUE(writer.Finish());
    EXPECT_TRUE(ran);
}

TEST(KWWriteBehind, UpToOneBlockIsWrittenByTheCallerThenTheThreadTakesOverInOrder)
{
    CKWWriteBehind writer(8, 2);
    const DWORD caller = ::GetCurrentThreadId();
    std::string written;
    std::vector<bool> byCaller;
    auto sink = [&](const uint8_t* bytes, size_t count) {
        written.append(reinterpret_cast<const char*>(bytes), count);
        byCaller.push_back(::GetCurrentThreadId() == caller);
        return true;
    };
    // 3 + 5 bytes fill one block's worth: written at once; the next 3 go to the thread.
    for (const char* text : {"abc", "defgh", "ijk", "lmn"}) {
        uint8_t* block = writer.TakeBlock();
        std::memcpy(block, text, std::strlen(text));
        writer.Queue(block, std::strlen(text), sink);
    }
    bool callByCaller = true;
    writer.Queue([&] {
        callByCaller = ::GetCurrentThreadId() == caller;
        written += "|";
        return true;
    });
    EXPECT_TRUE(writer.Finish());
    EXPECT_EQ(written, "abcdefghijklmn|");
    EXPECT_EQ(byCaller, (std::vector<bool>{true, true, false, false}));
    EXPECT_FALSE(callByCaller) << "once on the thread, calls follow the blocks there";
}

TEST(KWWorkQueue, EveryJobRunsOnceOnTheThreadsAndWaitSeesThemAllDone)
{
    CKWWorkQueue queue(4);
    std::atomic<int> sum(0);
    std::atomic<int> running(0), most(0);
    for (int round = 0; round < 2; ++round) {
        for (int i = 1; i <= 100; ++i) {
            queue.Queue([&, i] {
                const int now = ++running;
                for (int seen = most; now > seen && !most.compare_exchange_weak(seen, now);) {
                }
                if (i == 50) {
                    --running;
                    throw std::runtime_error("one job fails");
                }
                ::Sleep(0);
                sum += i;
                --running;
            });
        }
        queue.Wait();
        running = 0;
        EXPECT_EQ(sum, (round + 1) * (5050 - 50)) << "the failing job ends alone";
    }
    EXPECT_LE(most, 4);
    EXPECT_GE(CKWWorkQueue::Processors(64), 1);
    EXPECT_EQ(CKWWorkQueue::Processors(1), 1);
}
