#include "docking/toolbars/QMXPMenuSound.h"

#include <mmsystem.h>
#include <process.h>

#include <atomic>
#include <mutex>

BOOL qmxMenuSoundsEnabled = TRUE;

namespace {

constexpr DWORD kPollMilliseconds = 5;

// Written by the interface thread, taken back to idle by the sound thread.
std::atomic<int> g_nSoundRequest{QMXP_SOUND_NOT_STARTED};
std::atomic<uintptr_t> g_hSoundThread{0};
// Guards the start of the thread.
std::mutex g_startLock;

void PlayAlias(LPCWSTR lpszAlias) { ::PlaySoundW(lpszAlias, nullptr, SND_ALIAS | SND_NODEFAULT | SND_NOWAIT); }

void SoundThread(void*) {
    for (int nRequest = g_nSoundRequest.load(); nRequest != QMXP_SOUND_TERMINATE;
         nRequest = g_nSoundRequest.load()) {
        if (nRequest == QMXP_SOUND_MENU_COMMAND || nRequest == QMXP_SOUND_MENU_POPUP) {
            PlayAlias(nRequest == QMXP_SOUND_MENU_COMMAND ? L"MenuCommand" : L"MenuPopup");
            // A request written while the sound played stays for the next turn.
            g_nSoundRequest.compare_exchange_strong(nRequest, QMXP_SOUND_IDLE);
        }
        ::Sleep(kPollMilliseconds);
    }
    ::PlaySoundW(nullptr, nullptr, SND_PURGE);
}

}  // namespace

void PlayMenuSound(int nSound) {
    if (!qmxMenuSoundsEnabled)
        return;
    if (g_nSoundRequest.load() != QMXP_SOUND_NOT_STARTED) {
        g_nSoundRequest = nSound;
        if (nSound == QMXP_SOUND_TERMINATE)
            g_hSoundThread = 0;
        return;
    }
    if (nSound == QMXP_SOUND_TERMINATE)
        return;
    std::lock_guard<std::mutex> lock(g_startLock);
    if (g_nSoundRequest.load() != QMXP_SOUND_NOT_STARTED) {
        g_nSoundRequest = nSound;
        return;
    }
    const uintptr_t hThread = _beginthread(SoundThread, 0, nullptr);
    if (hThread == 0 || hThread == static_cast<uintptr_t>(-1)) {
        g_hSoundThread = 0;
        return;
    }
    ::SetThreadPriority(reinterpret_cast<HANDLE>(hThread), THREAD_PRIORITY_BELOW_NORMAL);
    g_nSoundRequest = nSound;
    g_hSoundThread = hThread;
}

int QMXPGetMenuSoundRequest() { return g_nSoundRequest.load(); }

BOOL QMXPHasMenuSoundThread() { return g_hSoundThread.load() != 0; }
