#include "editor/TalPicThreadWin.h"

#include "editor/TalApplication.h"
#include "framework/KWRasterLib.h"
#include "framework/KWThreadOwner.h"
#include "framework/KWWorkQueue.h"

#include <algorithm>
#include <thread>

IMPLEMENT_DYNCREATE(CTalPicThreadWin, CWinThread)

CTalPicThreadWin::CTalPicThreadWin() = default;

CTalPicThreadWin::~CTalPicThreadWin()
{
    m_stop = 1;
    LeaveOwner();
}

void CTalPicThreadWin::LeaveOwner()
{
    if (CKWWinThreadOwner* owner = m_owner) {
        m_owner = nullptr;
        owner->RemoveThread(this);
    }
}

void CTalPicThreadWin::AttachOwner(CKWWinThreadOwner* owner)
{
    m_owner = owner;
    if (owner)
        owner->AddThread(this);
}

void CTalPicThreadWin::QueuePictures(const CTalPictureList& pictures)
{
    for (const CKWRefPtr<CTalPicture>& picture : pictures) {
        if (picture)
            m_queue.push_back(static_cast<uint32_t>(picture->GetPictureId()));
    }
}

void CTalPicThreadWin::ReadQueue(bool ownThread)
{
    for (;;) {
        if (ownThread) {
            MSG message;
            while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                if (message.message == WM_QUIT)
                    m_quit = true;
            }
        }
        if (Stopped())
            return;
        const size_t index = m_next++;
        if (index >= m_queue.size())
            return;
        const uint32_t id = m_queue[index];
        const bool cached = g_rasterLib.FindThumbnail(id);
        g_rasterLib.GetThumbnail(id);
        // Checked here, off the user-interface thread: the window reports
        // the problems of the pictures it was given once they are read.
        g_rasterLib.GetPictureState(id, true);
        if (m_ownerWindow) {
            ::PostMessageW(m_ownerWindow, g_msgImageItemLoaded, id, cached ? 1 : 0);
            // Lets the user interface keep up with the messages.
            ::Sleep(1);
        }
    }
}

int CTalPicThreadWin::Run()
{
    std::vector<std::thread> helpers;
    const size_t wanted = std::min<size_t>(m_queue.size(), size_t(CKWWorkQueue::Processors(kMostReaders)));
    try {
        for (size_t i = 1; i < wanted; ++i)
            helpers.emplace_back([this] { ReadQueue(false); });
    } catch (...) {
        // Fewer helpers read the same queue.
    }
    ReadQueue(true);
    for (std::thread& helper : helpers)
        helper.join();
    if (m_serial && m_ownerWindow && !Stopped() && m_next >= m_queue.size())
        ::PostMessageW(m_ownerWindow, g_msgImageItemLoaded, m_serial, kQueueDone);
    std::vector<uint32_t>().swap(m_queue);
    return 1;
}

int CTalPicThreadWin::ExitInstance()
{
    const int result = CWinThread::ExitInstance();
    LeaveOwner();
    return result;
}

CTalPicThreadWin* CTalPicThreadWin::Start(HWND window, CKWWinThreadOwner* owner, const CTalPictureList& pictures,
                                          std::shared_ptr<const std::atomic<bool>> stop, WPARAM serial)
{
    auto* thread = static_cast<CTalPicThreadWin*>(
        AfxBeginThread(RUNTIME_CLASS(CTalPicThreadWin), THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED, nullptr));
    if (!thread)
        return nullptr;
    thread->SetOwnerWindow(window);
    thread->SetSerial(serial);
    thread->SetStopFlag(std::move(stop));
    thread->AttachOwner(owner);
    thread->QueuePictures(pictures);
    thread->Resume();
    return thread;
}
