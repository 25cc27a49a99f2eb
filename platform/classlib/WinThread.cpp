#include "platform/classlib/WinThread.h"

#include "platform/classlib/Exception.h"
#include "platform/classlib/HandleMap.h"
#include "platform/classlib/Wnd.h"

#include <process.h>

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)

namespace {

struct ThreadStartup {
    CWinThread* pThread;
    HANDLE hStarted;   // set when the new thread has its message queue
    HANDLE hContinue;  // set when the creator has done its part
};

HWND TopLevelParent(HWND hWnd) {
    for (;;) {
        HWND hWndNext = (::GetWindowLongW(hWnd, GWL_STYLE) & WS_CHILD) ? ::GetParent(hWnd)
                                                                      : ::GetWindow(hWnd, GW_OWNER);
        if (hWndNext == nullptr)
            return hWnd;
        hWnd = hWndNext;
    }
}

unsigned __stdcall ThreadEntry(void* pParam) {
    ThreadStartup* pStartup = static_cast<ThreadStartup*>(pParam);
    CWinThread* pThread = pStartup->pThread;
    HANDLE hContinue = pStartup->hContinue;
    AfxGetThreadState()->m_pCurrentWinThread = pThread;
    // The queue exists before the creator returns, so posted messages are kept.
    MSG msg;
    ::PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    ::SetEvent(pStartup->hStarted);
    // pStartup belongs to the creator from here on.
    ::WaitForSingleObject(hContinue, INFINITE);
    ::CloseHandle(hContinue);

    int nResult = 0;
    try {
        if (pThread->InitInstance())
            nResult = pThread->Run();
        else
            nResult = pThread->ExitInstance();
    } catch (CException* e) {
        e->Delete();
        nResult = -1;
    } catch (...) {
        nResult = -1;
    }
    pThread->Delete();
    AfxTermThread();
    return static_cast<unsigned>(nResult);
}

}  // namespace

CWinThread::CWinThread()
    : m_pMainWnd(nullptr), m_pActiveWnd(nullptr), m_bAutoDelete(TRUE), m_hThread(nullptr), m_nThreadID(0) {}

CWinThread::~CWinThread() {
    if (m_hThread != nullptr)
        ::CloseHandle(m_hThread);
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (pState->m_pCurrentWinThread == this)
        pState->m_pCurrentWinThread = nullptr;
}

BOOL CWinThread::CreateThread(DWORD dwCreateFlags, UINT nStackSize, LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
    ThreadStartup startup;
    startup.pThread = this;
    startup.hStarted = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    startup.hContinue = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (startup.hStarted == nullptr || startup.hContinue == nullptr) {
        if (startup.hStarted != nullptr)
            ::CloseHandle(startup.hStarted);
        if (startup.hContinue != nullptr)
            ::CloseHandle(startup.hContinue);
        return FALSE;
    }
    unsigned nThreadID = 0;
    m_hThread = reinterpret_cast<HANDLE>(
        ::_beginthreadex(lpSecurityAttrs, nStackSize, ThreadEntry, &startup, CREATE_SUSPENDED, &nThreadID));
    if (m_hThread == nullptr) {
        ::CloseHandle(startup.hStarted);
        ::CloseHandle(startup.hContinue);
        return FALSE;
    }
    m_nThreadID = nThreadID;
    ::ResumeThread(m_hThread);
    ::WaitForSingleObject(startup.hStarted, INFINITE);
    ::CloseHandle(startup.hStarted);
    // The thread now waits for hContinue; suspended there, it stays put until
    // the caller resumes it.
    if (dwCreateFlags & CREATE_SUSPENDED)
        ::SuspendThread(m_hThread);
    ::SetEvent(startup.hContinue);
    return TRUE;
}

CWnd* CWinThread::GetMainWnd() { return m_pActiveWnd != nullptr ? m_pActiveWnd : m_pMainWnd; }

BOOL CWinThread::InitInstance() { return FALSE; }

int CWinThread::Run() {
    BOOL bIdle = TRUE;
    LONG lIdleCount = 0;
    MSG msg;
    for (;;) {
        while (bIdle && !::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(lIdleCount++))
                bIdle = FALSE;
        }
        do {
            if (!PumpMessage())
                return ExitInstance();
            if (IsIdleMessage(&AfxGetThreadState()->m_msgCur)) {
                bIdle = TRUE;
                lIdleCount = 0;
            }
        } while (::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
    }
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->hwnd == nullptr)
        return FALSE;
    CWnd* pMainWnd = AfxGetMainWnd();
    if (CWnd::WalkPreTranslateTree(CWnd::SafeHwndOf(pMainWnd), pMsg))
        return TRUE;
    // Messages of other top-level windows (modeless dialogs) get the main
    // window's translation (its accelerators) last.
    if (pMainWnd != nullptr && pMainWnd->m_hWnd != nullptr && TopLevelParent(pMsg->hwnd) != pMainWnd->m_hWnd)
        return pMainWnd->PreTranslateMessage(pMsg);
    return FALSE;
}

BOOL CWinThread::PumpMessage() {
    MSG& msg = AfxGetThreadState()->m_msgCur;
    if (::GetMessageW(&msg, nullptr, 0, 0) <= 0)
        return FALSE;
    if (msg.message != WM_KICKIDLE && !PreTranslateMessage(&msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return TRUE;
}

BOOL CWinThread::OnIdle(LONG lCount) {
    if (lCount <= 0) {
        CWnd* pMainWnd = m_pMainWnd;
        if (pMainWnd != nullptr && pMainWnd->m_hWnd != nullptr && pMainWnd->IsWindowVisible()) {
            AfxCallWndProc(pMainWnd, pMainWnd->m_hWnd, WM_IDLEUPDATECMDUI, TRUE, 0);
            pMainWnd->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
            m_bMainWindowUpdated = TRUE;
        }
        return TRUE;
    }
    if (lCount == 1)
        AfxDeleteTempMaps();
    return FALSE;
}

BOOL CWinThread::IsIdleMessage(MSG* pMsg) { return AfxIsIdleMessage(pMsg); }

int CWinThread::ExitInstance() { return static_cast<int>(AfxGetThreadState()->m_msgCur.wParam); }

LRESULT CWinThread::ProcessWndProcException(CException* e, const MSG* pMsg) {
    if (e != nullptr)
        e->Delete();
    if (pMsg->message == WM_CREATE)
        return -1;  // the creation fails
    if (pMsg->message == WM_PAINT)
        ::ValidateRect(pMsg->hwnd, nullptr);  // no endless repainting
    return 0;
}

void CWinThread::Delete() {
    if (m_bAutoDelete)
        delete this;
}

CWinThread* AfxBeginThread(CRuntimeClass* pThreadClass, int nPriority, UINT nStackSize, DWORD dwCreateFlags,
                           LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
    if (pThreadClass == nullptr || !pThreadClass->IsDerivedFrom(RUNTIME_CLASS(CWinThread)))
        return nullptr;
    CWinThread* pThread = static_cast<CWinThread*>(pThreadClass->CreateObject());
    if (pThread == nullptr)
        return nullptr;
    if (!pThread->CreateThread(dwCreateFlags | CREATE_SUSPENDED, nStackSize, lpSecurityAttrs)) {
        pThread->Delete();
        return nullptr;
    }
    pThread->SetThreadPriority(nPriority);
    if (!(dwCreateFlags & CREATE_SUSPENDED))
        pThread->ResumeThread();
    return pThread;
}

CWinThread* AfxGetThread() { return AfxGetThreadState()->m_pCurrentWinThread; }

CWnd* AfxGetMainWnd() {
    CWinThread* pThread = AfxGetThread();
    return pThread != nullptr ? pThread->GetMainWnd() : nullptr;
}

BOOL AfxPumpMessage() {
    if (CWinThread* pThread = AfxGetThread())
        return pThread->PumpMessage();
    // A thread without a thread object still gets the windows' pre-translation.
    MSG& msg = AfxGetThreadState()->m_msgCur;
    if (::GetMessageW(&msg, nullptr, 0, 0) <= 0)
        return FALSE;
    if (msg.message != WM_KICKIDLE && !CWnd::WalkPreTranslateTree(nullptr, &msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return TRUE;
}

BOOL AfxIsIdleMessage(const MSG* pMsg) {
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (pMsg->message == WM_MOUSEMOVE || pMsg->message == WM_NCMOUSEMOVE) {
        // A mouse that did not move is no user activity.
        if (pState->m_nMsgLast == pMsg->message && pState->m_ptCursorLast.x == pMsg->pt.x &&
            pState->m_ptCursorLast.y == pMsg->pt.y)
            return FALSE;
        pState->m_ptCursorLast = pMsg->pt;
        pState->m_nMsgLast = pMsg->message;
        return TRUE;
    }
    return pMsg->message != WM_PAINT && pMsg->message != 0x0118 /* WM_SYSTIMER, the caret blink */;
}

LRESULT AfxProcessWndProcException(CException* e, const MSG* pMsg) {
    if (CWinThread* pThread = AfxGetThread())
        return pThread->ProcessWndProcException(e, pMsg);
    if (e != nullptr)
        e->Delete();
    if (pMsg->message == WM_CREATE)
        return -1;
    if (pMsg->message == WM_PAINT)
        ::ValidateRect(pMsg->hwnd, nullptr);
    return 0;
}
