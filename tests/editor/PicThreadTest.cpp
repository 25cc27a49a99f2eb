// The picture-loading thread: what it posts for a queue, and how it stops.
#include "editor/TalApplication.h"
#include "editor/TalPicThreadWin.h"
#include "framework/KWRasterLib.h"
#include "framework/KWThreadOwner.h"
#include "SolidBitmap.h"
#include "tests/framework/KWTestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
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

// The pictures are read by several threads at once, but the messages come in
// the order of the queue, every thumbnail's before the first check's; a
// picture whose id came before is marked as cached.
TEST_F(PicThread, PostsOneMessagePerPictureInQueueOrderTheCachedOnesMarkedThenOnePerCheckedFile)
{
    const uint32_t a = Picture(L"a.bmp", 10), b = Picture(L"b.bmp", 20);
    const uint32_t five = Picture(L"five.bmp", 50), seven = Picture(L"seven.bmp", 70);
    const std::string whole = edtest::SolidBitmapFile(8, 8, 0, 0, 1);
    const uint32_t cut = g_rasterLib.GetPictureId(folder.Write(L"cut.bmp", whole.substr(0, whole.size() / 2)).c_str());
    // More pictures than the helpers read at once, the first few again at the end.
    std::vector<uint32_t> many;
    for (int i = 0; i < 40; ++i)
        many.push_back(Picture((L"many" + std::to_wstring(i) + L".bmp").c_str(), static_cast<uint8_t>(100 + i)));
    using Posts = std::vector<std::pair<WPARAM, LPARAM>>;
    Posts manyPosts;
    for (uint32_t id : many)
        manyPosts.emplace_back(id, 0);
    for (int i = 0; i < 8; ++i)
        manyPosts.emplace_back(many[i], 1);
    std::vector<uint32_t> manyQueue = many;
    manyQueue.insert(manyQueue.end(), many.begin(), many.begin() + 8);
    const LPARAM checked = CTalPicThreadWin::kChecked;
    const struct {
        std::vector<uint32_t> queue, checks;
        Posts thumbnails, checkedFiles;
    } cases[] = {
        {{a, b}, {}, {{a, 0}, {b, 0}}, {}},
        {{b, a}, {a, cut}, {{b, 1}, {a, 1}}, {{a, checked}, {cut, checked}}},  // both in the cache now
        {{}, {b}, {}, {{b, checked}}},
        {{five, seven, five}, {}, {{five, 0}, {seven, 0}, {five, 1}}, {}},
        {manyQueue, {}, manyPosts, {}},
    };
    for (const auto& c : cases) {
        Started started = StartSuspended(window, &owner, c.queue);
        started.thread->SetChecks(std::make_shared<CTalPictureChecks>(c.checks));
        EXPECT_EQ(1, owner.GetThreadCount());
        started.thread->Resume();
        ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(started.handle, 60000));
        ::CloseHandle(started.handle);
        const Posts posted = Posted(window);
        const auto firstCheck = std::find_if(posted.begin(), posted.end(),
                                             [&](const std::pair<WPARAM, LPARAM>& p) { return p.second == checked; });
        Posts thumbnails(posted.begin(), firstCheck), checks(firstCheck, posted.end());
        // The checks are shared by the helpers: they come in any order.
        std::sort(checks.begin(), checks.end());
        EXPECT_EQ(c.thumbnails, thumbnails) << c.queue.size();
        EXPECT_EQ(c.checkedFiles, checks) << c.queue.size();
        EXPECT_EQ(0, owner.GetThreadCount()) << "the ended thread left its owner";
    }
    // The files were checked on the thread: their states are known.
    EXPECT_EQ(KWPictureState::Damaged, g_rasterLib.GetPictureState(cut, true));
    EXPECT_EQ(KWPictureState::Sound, g_rasterLib.GetPictureState(a, true));
}

TEST_F(PicThread, AQuitBeforeTheStartOrTheOwnersEndStopsIt)
{
    // Enough pictures for every helper: none is read, none is posted.
    std::vector<uint32_t> unread;
    for (int i = 0; i < 2 * CTalPicThreadWin::kMostReaders; ++i)
        unread.push_back(Picture((L"unread" + std::to_wstring(i) + L".bmp").c_str(), static_cast<uint8_t>(i)));
    Started early = StartSuspended(window, &owner, unread);
    early.thread->PostThreadMessage(WM_QUIT, 0, 0);
    early.thread->Resume();
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(early.handle, 10000));
    ::CloseHandle(early.handle);
    EXPECT_TRUE(Posted(window).empty());
    for (uint32_t id : unread)
        EXPECT_FALSE(g_rasterLib.FindThumbnail(id)) << "read before the first look";

    const uint32_t c = Picture(L"c.bmp", 30);

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
