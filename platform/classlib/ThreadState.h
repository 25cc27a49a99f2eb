#pragma once
// What the class library keeps for each thread: the current thread object,
// the window-creation hook, the message being handled, the wait cursor and the
// temporary wrapper objects made by FromHandle.
#include <windows.h>

#include <unordered_map>

class CObject;
class CWinThread;
class CWnd;

enum AfxHandleKind { afxHandleWnd, afxHandleDC, afxHandleGdiObject, afxHandleMenu, afxHandleImageList, afxHandleKinds };

struct AFX_THREAD_STATE {
    CWinThread* m_pCurrentWinThread = nullptr;
    // The window object that the next window created on this thread is attached to.
    CWnd* m_pWndInit = nullptr;
    // Where the hook writes the handle it attached m_pWndInit to (may be null).
    HWND* m_phWndAttached = nullptr;
    HHOOK m_hHookCbtFilter = nullptr;
    // The hook goes as soon as it has attached m_pWndInit (windows created by
    // the system on the library's behalf, such as property pages).
    bool m_bUnhookAfterAttach = false;
    // The message that the innermost window procedure call is handling.
    MSG m_lastSentMsg = {};
    // The message the message loop fetched last.
    MSG m_msgCur = {};
    // Notifications from the children of this window are ignored (data exchange).
    HWND m_hLockoutNotifyWindow = nullptr;
    int m_nWaitCursorCount = 0;
    HCURSOR m_hcurWaitCursorRestore = nullptr;
    // Mouse moves to the same place do not count as user activity for idle processing.
    POINT m_ptCursorLast = {-1, -1};
    UINT m_nMsgLast = 0;
    std::unordered_map<void*, CObject*> m_tempMaps[afxHandleKinds];
};

// The calling thread's state, made on first use.
AFX_THREAD_STATE* AfxGetThreadState();
// Deletes the calling thread's temporary objects and its state.
void AfxTermThread();
