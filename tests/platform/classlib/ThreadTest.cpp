#include "platform/classlib/Archive.h"
#include "platform/classlib/MemFile.h"
#include "platform/classlib/WinThread.h"
#include "platform/classlib/Wnd.h"

#include <gtest/gtest.h>

#include <atomic>
#include <malloc.h>
#include <thread>

namespace {

class CTestWorker : public CWinThread {
    DECLARE_DYNCREATE(CTestWorker)
public:
    static std::atomic<int> s_started;
    static std::atomic<int> s_received;
    static std::atomic<bool> s_sawItself;
    static HANDLE s_hDeleted;

    ~CTestWorker() override {
        if (s_hDeleted != nullptr)
            ::SetEvent(s_hDeleted);
    }
    BOOL InitInstance() override {
        ++s_started;
        s_sawItself = AfxGetThread() == this;
        return TRUE;
    }
    BOOL PreTranslateMessage(MSG* pMsg) override {
        if (pMsg->hwnd == nullptr && pMsg->message == WM_APP) {
            s_received = static_cast<int>(pMsg->wParam);
            ::PostQuitMessage(7);
            return TRUE;
        }
        return CWinThread::PreTranslateMessage(pMsg);
    }
};
IMPLEMENT_DYNCREATE(CTestWorker, CWinThread)

std::atomic<int> CTestWorker::s_started{0};
std::atomic<int> CTestWorker::s_received{0};
std::atomic<bool> CTestWorker::s_sawItself{false};
HANDLE CTestWorker::s_hDeleted = nullptr;

void ResetWorker() {
    CTestWorker::s_started = 0;
    CTestWorker::s_received = 0;
    CTestWorker::s_sawItself = false;
    CTestWorker::s_hDeleted = nullptr;
}

// Every object's destructor looks for archives loading on its thread: a
// thread that deletes objects and ends leaves the heap sound, also when an
// archive loaded on it before.
TEST(AfxBeginThread, ThreadsThatDeleteObjectsAndEndLeaveTheHeapSound) {
    class CPlain : public CObject {};
    for (int round = 0; round < 20; ++round) {
        std::thread worker([round] {
            delete new CPlain;
            if (round % 2 == 1) {
                CMemFile file;
                CArchive archive(&file, CArchive::load);
                delete new CPlain;
            }
            delete new CPlain;
        });
        worker.join();
        // Blocks freed after the thread's end are the ones to look at.
        for (int i = 0; i < 64; ++i)
            delete[] new char[16 + i];
        ASSERT_EQ(_HEAPOK, _heapchk()) << round;
    }
}

}  // namespace

TEST(AfxBeginThread, SuspendedThreadReceivesWhatWasPostedBeforeItRan) {
    ResetWorker();
    CWinThread* pThread = AfxBeginThread(RUNTIME_CLASS(CTestWorker), THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(nullptr, pThread);
    EXPECT_TRUE(pThread->IsKindOf(RUNTIME_CLASS(CTestWorker)));
    pThread->m_bAutoDelete = FALSE;

    EXPECT_TRUE(pThread->PostThreadMessage(WM_APP, 42, 0)) << "the queue exists before the thread runs";
    EXPECT_EQ(0, CTestWorker::s_started) << "still suspended";

    // Suspended once: it was held before it could start.
    EXPECT_EQ(1u, pThread->ResumeThread());
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(pThread->m_hThread, 5000));
    DWORD exitCode = 0;
    ::GetExitCodeThread(pThread->m_hThread, &exitCode);
    EXPECT_EQ(7u, exitCode) << "the loop ends with the code of its WM_QUIT";
    EXPECT_EQ(1, CTestWorker::s_started);
    EXPECT_EQ(42, CTestWorker::s_received);
    EXPECT_TRUE(CTestWorker::s_sawItself);
    delete pThread;
}

TEST(AfxBeginThread, QuitPostedBeforeResumingEndsTheThreadWhichDeletesItself) {
    ResetWorker();
    HANDLE hDeleted = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    CTestWorker::s_hDeleted = hDeleted;
    CWinThread* pThread = AfxBeginThread(RUNTIME_CLASS(CTestWorker), THREAD_PRIORITY_BELOW_NORMAL, 0,
                                         CREATE_SUSPENDED);
    ASSERT_NE(nullptr, pThread);
    EXPECT_EQ(THREAD_PRIORITY_BELOW_NORMAL, pThread->GetThreadPriority());
    EXPECT_TRUE(pThread->PostThreadMessage(WM_QUIT, 5, 0));
    EXPECT_TRUE(pThread->PostThreadMessage(WM_APP, 1, 0));
    pThread->ResumeThread();
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(hDeleted, 5000));
    EXPECT_EQ(0, CTestWorker::s_received) << "nothing after the quit message is handled";
    CTestWorker::s_hDeleted = nullptr;
    ::CloseHandle(hDeleted);
}

TEST(AfxBeginThread, OnlyThreadClassesCanBeStarted) {
    EXPECT_EQ(nullptr, AfxBeginThread(RUNTIME_CLASS(CWnd)));
    EXPECT_EQ(nullptr, AfxBeginThread(nullptr));
}
