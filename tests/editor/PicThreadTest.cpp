// The picture-loading thread: what it posts for a queue, and how it stops.
#include "editor/TalApplication.h"
#include "editor/TalPicThreadWin.h"
#include "framework/KWRasterLib.h"
#include "framework/KWThreadOwner.h"
#include "SolidBitmap.h"
#include "tests/framework/KWTestFiles.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

// A thread made suspended with its queue, and a handle of its own to wait on.
struct Started {
    CTalPicThreadWin* thread;
    HANDLE handle;
};

Started StartSuspended(HWND window, CKWWinThreadOwner* owner, const std::vector<uint32_t>& ids)
{
    auto* thread = static_cast<CTalPicThreadWin*>(
        AfxBeginThread(RUNTIME_CLASS(CTalPicThreadWin), THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED, nullptr));
    HANDLE handle = nullptr;
    ::DuplicateHandle(::GetCurrentProcess(), thread->m_hThread, ::GetCurrentProcess(), &handle, SYNCHRONIZE, FALSE, 0);
    thread->SetOwnerWindow(window);
    thread->AttachOwner(owner);
    thread->QueuePictureIds(ids);
    return {thread, handle};
}

// The loaded-picture messages waiting for the window, in order.
std::vector<std::pair<WPARAM, LPARAM>> Posted(HWND window)
{
    std::vector<std::pair<WPARAM, LPARAM>> posted;
    MSG message;
    while (::PeekMessageW(&message, window, g_msgImageItemLoaded, g_msgImageItemLoaded, PM_REMOVE))
        posted.emplace_back(message.wParam, message.lParam);
    return posted;
}

struct PicThread : ::testing::Test {
    PicThread() { window = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr); }
    ~PicThread() override { ::DestroyWindow(window); }
    uint32_t Picture(const wchar_t* name, uint8_t red)
    {
        return g_rasterLib.GetPictureId(folder.Write(name, edtest::SolidBitmapFile(2, 2, 0, 0, red)).c_str());
    }
    CKWTestTempFolder folder{L"thr"};
    HWND window = nullptr;
    CKWWinThreadOwner owner;
};

}  // namespace

TEST_F(PicThread, PostsOneMessagePerPictureInOrderTheCachedOnesMarked)
{
    const uint32_t a = Picture(L"a.bmp", 10), b = Picture(L"b.bmp", 20);
    const struct {
        std::vector<uint32_t> queue;
        std::vector<std::pair<WPARAM, LPARAM>> posted;
    } cases[] = {
        {{a, b, a}, {{a, 0}, {b, 0}, {a, 1}}},
        {{}, {}},
    };
    for (const auto& c : cases) {
        Started started = StartSuspended(window, &owner, c.queue);
        EXPECT_EQ(1, owner.GetThreadCount());
        started.thread->Resume();
        ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(started.handle, 10000));
        ::CloseHandle(started.handle);
        EXPECT_EQ(c.posted, Posted(window)) << c.queue.size();
        EXPECT_EQ(0, owner.GetThreadCount()) << "the ended thread left its owner";
    }
}

TEST_F(PicThread, AQuitBeforeTheStartOrTheOwnersEndStopsIt)
{
    const uint32_t c = Picture(L"c.bmp", 30);
    Started early = StartSuspended(window, &owner, {c});
    early.thread->PostThreadMessage(WM_QUIT, 0, 0);
    early.thread->Resume();
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(early.handle, 10000));
    ::CloseHandle(early.handle);
    EXPECT_TRUE(Posted(window).empty());

    auto* dying = new CKWWinThreadOwner;
    Started running = StartSuspended(window, dying, std::vector<uint32_t>(5000, c));
    running.thread->Resume();
    delete dying;
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(running.handle, 0)) << "the owner waited for its end";
    ::CloseHandle(running.handle);
    EXPECT_LT(Posted(window).size(), 5000u);
}

TEST_F(PicThread, TheWindowsStopFlagStopsItBeforeItsNextPicture)
{
    const uint32_t d = Picture(L"d.bmp", 40);
    for (bool stopped : {false, true}) {
        Started started = StartSuspended(window, &owner, {d, d});
        started.thread->SetStopFlag(std::make_shared<std::atomic<bool>>(stopped));
        started.thread->Resume();
        ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(started.handle, 10000));
        ::CloseHandle(started.handle);
        EXPECT_EQ(stopped ? 0u : 2u, Posted(window).size()) << stopped;
    }
}
