#include "framework/KWActiveFrame.h"

#include "platform/classlib/FrameWnd.h"
#include "platform/classlib/WinThread.h"

CFrameWnd* KWGetActiveFrame()
{
    CWinThread* thread = AfxGetThread();
    CWnd* mainWnd = thread ? thread->m_pMainWnd : nullptr;
    if (!mainWnd || !mainWnd->m_hWnd || !mainWnd->IsKindOf(RUNTIME_CLASS(CFrameWnd)))
        return nullptr;
    return static_cast<CFrameWnd*>(mainWnd)->GetActiveFrame();
}
