#pragma once
// CTalPicThreadWin: a worker thread that brings the thumbnails of a queue
// of pictures into the thumbnail cache and, after each, posts
// g_msgImageItemLoaded (the picture id; 1 when it was cached already) to the
// window that started it; then it checks the files of the pictures of its
// check list (the ones a user just added, whose problems the window reports)
// and posts the message with kChecked after each. It walks the queue from
// first to last, looking for a reason to stop before each picture, and the
// window has the messages in queue order; a few helper threads of its own,
// started after its first look, read the pictures ahead of the walk so that
// a large insertion is read on several processors, and share the checks. It
// is created suspended, filled, attached to its owner's thread list and
// resumed; it deletes itself when it ends.
#include "editor/TalPictureChecks.h"
#include "model/TalPicture.h"
#include "platform/classlib/WinThread.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

class CKWWinThreadOwner;

class CTalPicThreadWin : public CWinThread {
    DECLARE_DYNCREATE(CTalPicThreadWin)
public:
    // The result of the message after a picture's file is checked.
    static constexpr LPARAM kChecked = 2;
    // Threads that read pictures at once, this one among them.
    static constexpr int kMostReaders = 6;

    CTalPicThreadWin();
    // Sets the stop flag and leaves the owner's list.
    ~CTalPicThreadWin() override;

    // The owner is told when the thread goes (and now, that it exists).
    void AttachOwner(CKWWinThreadOwner* owner);
    // Appends the picture id of every picture, in order (null ones skipped).
    void QueuePictures(const CTalPictureList& pictures);
    void QueuePictureIds(const std::vector<uint32_t>& ids) { m_queue.insert(m_queue.end(), ids.begin(), ids.end()); }
    void Resume() { ResumeThread(); }
    void SetOwnerWindow(HWND window) { m_ownerWindow = window; }
    // The pictures whose files are checked after the thumbnails.
    void SetChecks(std::shared_ptr<CTalPictureChecks> checks) { m_checks = std::move(checks); }
    // A flag that the window sets once what the thread loads is no longer
    // shown: the thread then stops before its next picture.
    void SetStopFlag(std::shared_ptr<const std::atomic<bool>> stop) { m_shownStop = std::move(stop); }

    BOOL InitInstance() override { return TRUE; }
    // Runs the queue, then the checks, once: stops on either stop flag or a
    // WM_QUIT waiting before the next picture; returns 1.
    int Run() override;
    int ExitInstance() override;

    // Starts a thread for the pictures that posts to the window; null when it cannot be started.
    static CTalPicThreadWin* Start(HWND window, CKWWinThreadOwner* owner, const CTalPictureList& pictures,
                                   std::shared_ptr<const std::atomic<bool>> stop = nullptr,
                                   std::shared_ptr<CTalPictureChecks> checks = nullptr);

private:
    void LeaveOwner();
    bool Stopped() const { return m_stop || m_quit || (m_shownStop && *m_shownStop); }
    // Checks the pictures of the check list until it is done or the thread
    // stops; the thread itself also looks for WM_QUIT before each picture.
    void CheckFiles(bool ownThread);
    void LookForQuit();

    HWND m_ownerWindow = nullptr;
    std::vector<uint32_t> m_queue;
    std::atomic<bool> m_quit{false};
    std::shared_ptr<CTalPictureChecks> m_checks;
    volatile uint8_t m_stop = 0;
    std::shared_ptr<const std::atomic<bool>> m_shownStop;
    CKWWinThreadOwner* m_owner = nullptr;
};
