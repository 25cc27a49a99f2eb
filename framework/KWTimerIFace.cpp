#include "framework/KWTimerIFace.h"

namespace {

void CALLBACK FrameworkTimerCallback(UINT timerId, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR)
{
    // Runs on the timer's thread: nothing may escape into the system's code.
    try {
        reinterpret_cast<CKWTimerIFace*>(user)->OnTimer(timerId);
    } catch (...) {
    }
}

}  // namespace

CKWTimerIFace::~CKWTimerIFace() = default;

UINT CKWTimerIFace::StartTimer(UINT periodMs, LPTIMECALLBACK callback)
{
    // Synchronous kill: a tick already under way when the timer stops ends
    // before StopTimer returns, so no tick reaches an owner that went after
    // stopping it (through what was its table of functions).
    return ::timeSetEvent(periodMs, periodMs, callback ? callback : FrameworkTimerCallback,
                          reinterpret_cast<DWORD_PTR>(this), TIME_PERIODIC | TIME_KILL_SYNCHRONOUS);
}

void CKWTimerIFace::StopTimer(UINT timerId)
{
    if (timerId != 0)
        ::timeKillEvent(timerId);
}
