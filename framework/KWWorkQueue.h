#pragma once
// CKWWorkQueue: jobs run by a few threads of their own, in the order they
// were queued (each job starts after the ones before it have started), while
// the caller goes on; a job queued ahead starts before those still waiting,
// so that the longest jobs do not come last. Wait returns once every job
// queued so far has run.
// A job's exception ends that job only. A thread starts when a job is
// queued that no idle thread can take: a queue that is given none costs no
// thread.
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class CKWWorkQueue {
public:
    explicit CKWWorkQueue(int threads);
    // Runs what is queued, then ends the threads.
    ~CKWWorkQueue();
    CKWWorkQueue(const CKWWorkQueue&) = delete;
    CKWWorkQueue& operator=(const CKWWorkQueue&) = delete;

    void Queue(std::function<void()> job);
    void QueueAhead(std::function<void()> job);
    void Wait();

    // The processors of the machine, at least 1 and at most most.
    static int Processors(int most);

private:
    void Run();
    void Add(std::function<void()> job, bool ahead);

    std::deque<std::function<void()>> m_jobs;
    int m_running = 0;
    size_t m_ahead = 0;  // jobs at the front that were queued ahead
    bool m_stop = false;
    std::mutex m_lock;
    std::condition_variable m_changed;
    int m_threadCount;
    std::vector<std::thread> m_threads;
};
