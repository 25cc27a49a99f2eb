#pragma once
// CWinThread: a thread with a message loop that runs the library's message
// pre-translation and idle processing.
#include "platform/classlib/CmdTarget.h"

class CException;
class CWnd;

class CWinThread : public CCmdTarget {
    DECLARE_DYNAMIC(CWinThread)
public:
    CWinThread();
    ~CWinThread() override;

    // Starts the thread; it owns a message queue when this returns, so messages
    // may be posted to it at once, also while it is suspended (CREATE_SUSPENDED).
    BOOL CreateThread(DWORD dwCreateFlags = 0, UINT nStackSize = 0, LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);

    CWnd* m_pMainWnd;
    CWnd* m_pActiveWnd;
    // The object is deleted when its thread ends.
    BOOL m_bAutoDelete;
    HANDLE m_hThread;
    DWORD m_nThreadID;
    // Set once OnIdle has brought the main window's command states up to
    // date: a modal loop before it (a dialog at start-up) does it instead.
    BOOL m_bMainWindowUpdated = FALSE;

    operator HANDLE() const { return m_hThread; }
    int GetThreadPriority() { return ::GetThreadPriority(m_hThread); }
    BOOL SetThreadPriority(int nPriority) { return ::SetThreadPriority(m_hThread, nPriority); }
    DWORD SuspendThread() { return ::SuspendThread(m_hThread); }
    DWORD ResumeThread() { return ::ResumeThread(m_hThread); }
    BOOL PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        return ::PostThreadMessageW(m_nThreadID, message, wParam, lParam);
    }

    virtual CWnd* GetMainWnd();
    virtual BOOL InitInstance();
    // The message loop; ends with ExitInstance when WM_QUIT arrives.
    virtual int Run();
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual BOOL PumpMessage();
    // Count 0: the main window and its descendants get WM_IDLEUPDATECMDUI;
    // count 1: the thread's temporary wrapper objects are deleted. TRUE while
    // more idle work remains.
    virtual BOOL OnIdle(LONG lCount);
    virtual BOOL IsIdleMessage(MSG* pMsg);
    // The exit code of the thread: the code of the WM_QUIT that ended the loop.
    virtual int ExitInstance();
    // An exception that a window procedure did not catch: the result of the message.
    virtual LRESULT ProcessWndProcException(CException* e, const MSG* pMsg);
    virtual void Delete();
};

// Makes a thread object of the class (which must be creatable by class) and starts it.
CWinThread* AfxBeginThread(CRuntimeClass* pThreadClass, int nPriority = THREAD_PRIORITY_NORMAL,
                           UINT nStackSize = 0, DWORD dwCreateFlags = 0,
                           LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
// The thread object of the calling thread (the application on the main thread).
CWinThread* AfxGetThread();
CWnd* AfxGetMainWnd();
// One message through the calling thread's PumpMessage; FALSE on WM_QUIT.
BOOL AfxPumpMessage();
BOOL AfxIsIdleMessage(const MSG* pMsg);
LRESULT AfxProcessWndProcException(CException* e, const MSG* pMsg);
