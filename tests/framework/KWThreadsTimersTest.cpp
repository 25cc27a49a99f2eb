// Worker threads stopped by their owner, and multimedia-timer ticks.
#include "framework/KWThreadOwner.h"
#include "framework/KWTimerIFace.h"
#include "platform/classlib/WinThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

namespace {

std::atomic<int> s_ended{0};

// A worker that runs a message loop until WM_QUIT, deletes itself, and may
// leave its owner on its own way out.
class CWorker : public CWinThread {
public:
    explicit CWorker(CKWWinThreadOwner* leaveOwner = nullptr) : m_leaveOwner(leaveOwner) {}
    BOOL InitInstance() override { return TRUE; }
    int ExitInstance() override
    {
        if (m_leaveOwner)
            m_leaveOwner->RemoveThread(this);
        ++s_ended;
        return CWinThread::ExitInstance();
    }

private:
    CKWWinThreadOwner* m_leaveOwner;
};

TEST(CKWWinThreadOwner, StopsMoreWorkersThanOneWaitTakesEvenWhenSomeLeaveOnTheirOwn)
{
    { CKWWinThreadOwner empty; }  // nothing to wait for: returns at once

    s_ended = 0;
    const int kWorkers = 70;
    auto owner = std::make_unique<CKWWinThreadOwner>();
    for (int i = 0; i < kWorkers; ++i) {
        auto* worker = new CWorker(i % 10 == 0 ? owner.get() : nullptr);
        ASSERT_TRUE(worker->CreateThread());
        owner->AddThread(worker);
    }
    owner->AddThread(nullptr);
    EXPECT_EQ(kWorkers, owner->GetThreadCount());

    CWorker outsider;
    outsider.m_bAutoDelete = FALSE;
    owner->StopThread(&outsider);  // not owned: nothing happens
    EXPECT_EQ(0, s_ended.load());

    // One worker stopped alone is waited for and stays in the list.
    auto* first = new CWorker;
    first->m_bAutoDelete = FALSE;
    ASSERT_TRUE(first->CreateThread());
    owner->AddThread(first);
    owner->StopThread(first);
    EXPECT_EQ(1, s_ended.load());
    EXPECT_EQ(kWorkers + 1, owner->GetThreadCount());

    owner.reset();
    EXPECT_EQ(kWorkers + 1, s_ended.load());
    delete first;
}

class CTickCounter : public CKWTimerIFace {
public:
    CTickCounter() : m_tick(::CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}
    ~CTickCounter() override
    {
        for (HANDLE event : {m_tick, m_going, m_held})
            ::CloseHandle(event);
    }
    void OnTimer(UINT timerId) override
    {
        lastTimer = timerId;
        thread = ::GetCurrentThreadId();
        ::SetEvent(m_tick);
        // While ticks are held, a tick stays under way until let go.
        inTick = true;
        if (::WaitForSingleObject(m_going, 0) != WAIT_OBJECT_0) {
            ::SetEvent(m_held);
            ::WaitForSingleObject(m_going, INFINITE);
        }
        inTick = false;
    }
    bool WaitForTick(DWORD timeout = 5000) { return ::WaitForSingleObject(m_tick, timeout) == WAIT_OBJECT_0; }
    void Forget() { ::ResetEvent(m_tick); }
    // Holding, true once a tick is held.
    bool Hold(bool hold)
    {
        hold ? ::ResetEvent(m_going) : ::SetEvent(m_going);
        return !hold || ::WaitForSingleObject(m_held, 5000) == WAIT_OBJECT_0;
    }

    std::atomic<UINT> lastTimer{0};
    std::atomic<DWORD> thread{0};
    std::atomic<bool> inTick{false};

private:
    HANDLE m_tick;
    HANDLE m_going = ::CreateEventW(nullptr, TRUE, TRUE, nullptr);
    HANDLE m_held = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);
};

TEST(CKWTimerIFace, TicksArriveOnTheTimersThreadUntilTheTimerStops)
{
    CTickCounter counter;
    const UINT id = counter.StartTimer(10, nullptr);
    ASSERT_NE(0u, id);
    counter.StopTimer(0);  // no timer has id 0: this one goes on
    ASSERT_TRUE(counter.WaitForTick());
    ASSERT_TRUE(counter.WaitForTick());
    EXPECT_EQ(id, counter.lastTimer.load());
    EXPECT_NE(::GetCurrentThreadId(), counter.thread.load());
    // Stopped from another thread while a tick is under way: the stop returns
    // only after the tick (its owner may be deleted right after it).
    ASSERT_TRUE(counter.Hold(true));
    std::atomic<bool> tickAfterStop{true};
    std::thread stopper([&] {
        counter.StopTimer(id);
        tickAfterStop = counter.inTick.load();
    });
    ::Sleep(200);  // time for a stop that does not wait to return with the tick held
    counter.Hold(false);
    stopper.join();
    EXPECT_FALSE(tickAfterStop) << "StopTimer returned while a tick was under way";
    counter.Forget();
    EXPECT_FALSE(counter.WaitForTick(200)) << "twenty periods without a tick";
}

}  // namespace
