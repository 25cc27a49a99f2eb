#pragma once
// What the benchmark programs report of memory: the process's private bytes
// now, and their peak while a step runs, sampled by a thread.
#include <windows.h>
#include <psapi.h>

#include <atomic>
#include <cstddef>
#include <thread>

inline size_t PrivateBytes()
{
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    ::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                           sizeof counters);
    // Some systems leave the private usage empty; the page-file usage is the same figure.
    return counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
}

class CPeakSampler {
public:
    // Sampled every so many milliseconds: asking for the memory costs the
    // process a call to the system each time.
    explicit CPeakSampler(DWORD intervalMs = 2)
        : m_interval(intervalMs), m_peak(PrivateBytes()), m_thread([this] { Run(); })
    {
    }
    ~CPeakSampler() { Stop(); }
    CPeakSampler(const CPeakSampler&) = delete;
    CPeakSampler& operator=(const CPeakSampler&) = delete;

    // The highest private memory seen since the start or the last call; the
    // sampling goes on from the memory held now.
    size_t TakePeak()
    {
        const size_t now = PrivateBytes();
        const size_t peak = m_peak.exchange(now);
        return peak > now ? peak : now;
    }

    // Ends the sampling; the highest private memory seen.
    size_t Stop()
    {
        if (m_thread.joinable()) {
            m_done = true;
            m_thread.join();
        }
        return m_peak;
    }

private:
    void Run()
    {
        while (!m_done) {
            const size_t now = PrivateBytes();
            if (now > m_peak)
                m_peak = now;
            ::Sleep(m_interval);
        }
    }

    const DWORD m_interval;
    std::atomic<bool> m_done{false};
    std::atomic<size_t> m_peak;
    std::thread m_thread;
};
