// The window procedure of every window attached to a CWnd, and the hook that
// attaches a window to its object while the window is being created.
#include "platform/classlib/Wnd.h"

#include "platform/classlib/Exception.h"
#include "platform/classlib/ThreadState.h"
#include "platform/classlib/WinApp.h"

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd == nullptr || pWnd->m_hWnd != hWnd)
        return ::DefWindowProcW(hWnd, nMsg, wParam, lParam);
    return AfxCallWndProc(pWnd, hWnd, nMsg, wParam, lParam);
}

LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    MSG oldState = pState->m_lastSentMsg;
    pState->m_lastSentMsg.hwnd = hWnd;
    pState->m_lastSentMsg.message = nMsg;
    pState->m_lastSentMsg.wParam = wParam;
    pState->m_lastSentMsg.lParam = lParam;
    LRESULT lResult = 0;
    // No C++ exception may leave a window procedure.
    try {
        lResult = pWnd->WindowProc(nMsg, wParam, lParam);
    } catch (CException* e) {
        lResult = AfxProcessWndProcException(e, &pState->m_lastSentMsg);
    } catch (...) {
        lResult = AfxProcessWndProcException(nullptr, &pState->m_lastSentMsg);
    }
    // A handler of WM_NCDESTROY that did not call the base left the object attached.
    if (nMsg == WM_NCDESTROY) {
        CWnd* pStill = CWnd::FromHandlePermanent(hWnd);
        if (pStill != nullptr) {
            pStill->DetachAtNcDestroy();
            pStill->PostNcDestroy();
        }
    }
    pState->m_lastSentMsg = oldState;
    return lResult;
}

LRESULT CALLBACK AfxCbtFilterHook(int nCode, WPARAM wParam, LPARAM lParam) {
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (nCode != HCBT_CREATEWND || pState->m_pWndInit == nullptr)
        return ::CallNextHookEx(pState->m_hHookCbtFilter, nCode, wParam, lParam);
    HWND hWnd = reinterpret_cast<HWND>(wParam);
    // The input-method window that the system may create first is not ours.
    wchar_t szClassName[8];
    if (::GetClassNameW(hWnd, szClassName, 8) > 0 && ::lstrcmpiW(szClassName, L"ime") == 0)
        return ::CallNextHookEx(pState->m_hHookCbtFilter, nCode, wParam, lParam);

    CWnd* pWndInit = pState->m_pWndInit;
    HWND* phWndAttached = pState->m_phWndAttached;
    pState->m_pWndInit = nullptr;
    pState->m_phWndAttached = nullptr;
    if (pWndInit->Attach(hWnd)) {
        if (phWndAttached != nullptr)
            *phWndAttached = hWnd;
        // No C++ exception may leave the hook either.
        try {
            pWndInit->PreSubclassWindow();
        } catch (CException* e) {
            e->Delete();
        } catch (...) {
        }
        WNDPROC* lplpfn = pWndInit->GetSuperWndProcAddr();
        WNDPROC oldWndProc = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AfxWndProc)));
        if (oldWndProc != AfxWndProc)
            *lplpfn = oldWndProc;
    }
    LRESULT lResult = ::CallNextHookEx(pState->m_hHookCbtFilter, nCode, wParam, lParam);
    if (pState->m_bUnhookAfterAttach) {
        pState->m_bUnhookAfterAttach = false;
        ::UnhookWindowsHookEx(pState->m_hHookCbtFilter);
        pState->m_hHookCbtFilter = nullptr;
    }
    return lResult;
}

BOOL AfxHookWindowCreate(CWnd* pWnd, HWND* phWndAttached) {
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (phWndAttached != nullptr)
        *phWndAttached = nullptr;
    if (pState->m_hHookCbtFilter == nullptr) {
        pState->m_hHookCbtFilter = ::SetWindowsHookExW(WH_CBT, AfxCbtFilterHook, nullptr, ::GetCurrentThreadId());
        if (pState->m_hHookCbtFilter == nullptr)
            return FALSE;
    }
    pState->m_pWndInit = pWnd;
    pState->m_phWndAttached = phWndAttached;
    return TRUE;
}

BOOL AfxUnhookWindowCreate() {
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    pState->m_bUnhookAfterAttach = false;
    pState->m_phWndAttached = nullptr;
    if (pState->m_hHookCbtFilter != nullptr) {
        ::UnhookWindowsHookEx(pState->m_hHookCbtFilter);
        pState->m_hHookCbtFilter = nullptr;
    }
    if (pState->m_pWndInit != nullptr) {
        pState->m_pWndInit = nullptr;
        return FALSE;
    }
    return TRUE;
}

BOOL AfxEndWindowCreate(CWnd* pWnd, HWND hWndAttached, HWND hWndMade) {
    AfxUnhookWindowCreate();
    if (hWndAttached == nullptr) {
        // The object never met a window (none was made, or another hook kept
        // the library's from seeing it): nothing else will tell it. A window
        // made without it has no object to serve it and goes.
        if (hWndMade != nullptr && ::IsWindow(hWndMade))
            ::DestroyWindow(hWndMade);
        pWnd->PostNcDestroy();
        return FALSE;
    }
    // The handle map is asked, not the object: an object told of its end at
    // WM_NCDESTROY may be deleted by now.
    if (CWnd::FromHandlePermanent(hWndAttached) != pWnd)
        return FALSE;
    if (hWndMade != nullptr && ::IsWindow(hWndAttached))
        return TRUE;
    // Refused after the object met it but before its first message (a hook
    // of the system's chain): no WM_NCDESTROY comes for it.
    pWnd->DetachAtNcDestroy();
    pWnd->PostNcDestroy();
    return FALSE;
}
