#include "platform/classlib/ThreadState.h"

#include "platform/classlib/HandleMap.h"

namespace {
// A trivial thread-local pointer: threads not started by the runtime get no
// destructor calls, so the state is freed explicitly by AfxTermThread.
thread_local AFX_THREAD_STATE* t_pState = nullptr;
}  // namespace

AFX_THREAD_STATE* AfxGetThreadState() {
    if (t_pState == nullptr)
        t_pState = new AFX_THREAD_STATE;
    return t_pState;
}

void AfxTermThread() {
    if (t_pState == nullptr)
        return;
    AfxDeleteTempMaps();
    if (t_pState->m_hHookCbtFilter != nullptr)
        ::UnhookWindowsHookEx(t_pState->m_hHookCbtFilter);
    delete t_pState;
    t_pState = nullptr;
}
