#pragma once
// CKWTimerIFace: a periodic multimedia timer that calls its owner's OnTimer
// on every tick. The ticks arrive on the timer's own thread, not on the user
// interface thread: an owner with a window only posts itself a message there.
#include <windows.h>
#include <mmsystem.h>

class CKWTimerIFace {
public:
    CKWTimerIFace() = default;
    virtual ~CKWTimerIFace();
    // Delay and resolution both the period; the framework's callback when
    // none is given. The timer id, 0 on failure.
    virtual UINT StartTimer(UINT periodMs, LPTIMECALLBACK callback);
    // Id 0 does nothing. Returns once a tick under way has ended: the owner
    // may go right after it (so a tick must not wait for the stopping thread).
    virtual void StopTimer(UINT timerId);
    virtual void OnTimer(UINT timerId) = 0;
};
