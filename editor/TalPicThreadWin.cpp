#include "editor/TalPicThreadWin.h"

#include "editor/TalApplication.h"
#include "editor/TalPicReadAhead.h"
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

void CTalPicThreadWin::LookForQuit()
{
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT)
            m_quit = true;
    }
}

void CTalPicThreadWin::CheckFiles(bool ownThread)
{
    uint32_t id = 0;
    while (m_checks) {
        if (ownThread)
            LookForQuit();
        if (Stopped() || !m_checks->Take(id))
            return;
        g_rasterLib.GetPictureState(id, true);
        if (m_ownerWindow)
            ::PostMessageW(m_ownerWindow, g_msgImageItemLoaded, id, kChecked);
    }
}

int CTalPicThreadWin::Run()
{
    CTalPicReadAhead reads(m_queue, CTalPicReadAhead::AheadFor(g_rasterLib.GetThumbnailCache().GetCapacity()));
    std::vector<std::thread> helpers;
    // The checks come after every thumbnail's message: those are what the
    // user waits for.
    auto help = [this, &reads] {
        reads.Read();
        CheckFiles(false);
    };
    for (size_t index = 0; index < m_queue.size(); ++index) {
        LookForQuit();
        if (Stopped())
            break;
        // The helpers start after the first look, so that a thread told to
        // stop before it ran reads nothing; a small section starts none.
        if (index == 0) {
            const size_t wanted = std::min(size_t(CKWWorkQueue::Processors(kMostReaders)), m_queue.size());
            try {
                for (size_t i = 1; i < wanted; ++i)
                    helpers.emplace_back(help);
            } catch (...) {
                // Fewer helpers read the same queue.
            }
        }
        const uint32_t id = m_queue[index];
        const bool cached = reads.Walk(index);
        if (m_ownerWindow) {
            ::PostMessageW(m_ownerWindow, g_msgImageItemLoaded, id, cached ? 1 : 0);
            // Lets the user interface keep up with the messages.
            ::Sleep(1);
        }
    }
    reads.End();
    CheckFiles(true);
    for (std::thread& helper : helpers)
        helper.join();
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
                                          std::shared_ptr<const std::atomic<bool>> stop,
                                          std::shared_ptr<CTalPictureChecks> checks)
{
    auto* thread = static_cast<CTalPicThreadWin*>(
        AfxBeginThread(RUNTIME_CLASS(CTalPicThreadWin), THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED, nullptr));
    if (!thread)
        return nullptr;
    thread->SetOwnerWindow(window);
    thread->SetChecks(std::move(checks));
    thread->SetStopFlag(std::move(stop));
    thread->AttachOwner(owner);
    thread->QueuePictures(pictures);
    thread->Resume();
    return thread;
}
