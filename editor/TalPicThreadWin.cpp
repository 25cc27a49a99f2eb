#include "editor/TalPicThreadWin.h"

#include "editor/TalApplication.h"
#include "framework/KWRasterLib.h"
#include "framework/KWThreadOwner.h"

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

int CTalPicThreadWin::Run()
{
    for (uint32_t id : m_queue) {
        if (m_stop || (m_shownStop && *m_shownStop))
            break;
        MSG message;
        bool quit = false;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT)
                quit = true;
        }
        if (quit)
            break;
        const bool cached = g_rasterLib.FindThumbnail(id);
        g_rasterLib.GetThumbnail(id);
        if (m_ownerWindow) {
            ::PostMessageW(m_ownerWindow, g_msgImageItemLoaded, id, cached ? 1 : 0);
            // Lets the user interface keep up with the messages.
            ::Sleep(1);
        }
    }
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
                                          std::shared_ptr<const std::atomic<bool>> stop)
{
    auto* thread = static_cast<CTalPicThreadWin*>(
        AfxBeginThread(RUNTIME_CLASS(CTalPicThreadWin), THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED, nullptr));
    if (!thread)
        return nullptr;
    thread->SetOwnerWindow(window);
    thread->SetStopFlag(std::move(stop));
    thread->AttachOwner(owner);
    thread->QueuePictures(pictures);
    thread->Resume();
    return thread;
}
