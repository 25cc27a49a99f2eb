#include "controls/KWListImageViewImpWinMT.h"

CKWSingleLock::CKWSingleLock(CSyncObject* object) : CSingleLock(object, FALSE)
{
    if (!m_pObject || !m_pObject->m_hObject)
        return;
    HANDLE handle = m_pObject->m_hObject;
    for (;;) {
        const DWORD result = ::MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, QS_SENDMESSAGE);
        if (result == WAIT_OBJECT_0 || result == WAIT_ABANDONED_0) {
            m_bAcquired = TRUE;
            return;
        }
        if (result != WAIT_OBJECT_0 + 1)
            return;
        // Peeking delivers the messages sent to this thread's windows.
        MSG message;
        ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

CKWSingleLock::~CKWSingleLock()
{
    ::GdiFlush();
}

CKWListImageViewImpWin_MThread::CKWListImageViewImpWin_MThread(HWND hWnd)
    : CKWListImageViewImpWin(hWnd), m_mutex(FALSE, kMutexName)
{
}
