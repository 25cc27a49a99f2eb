#include "platform/classlib/ShellDDE.h"

#include "platform/classlib/WinApp.h"
#include "platform/classlib/Wnd.h"

#include <dde.h>

LRESULT AfxDDEInitiate(CWnd* pServerWnd, HWND hWndClient, LPARAM lParam) {
    CWinApp* pApp = AfxGetApp();
    ATOM atomApp = LOWORD(lParam);
    ATOM atomTopic = HIWORD(lParam);
    if (pApp == nullptr || pApp->m_atomApp == 0 || atomApp != pApp->m_atomApp ||
        atomTopic != pApp->m_atomSystemTopic)
        return 0;
    // The answer carries atoms of its own, which the client deletes.
    wchar_t szName[256];
    ::GlobalGetAtomNameW(pApp->m_atomApp, szName, 256);
    ATOM atomAppAnswer = ::GlobalAddAtomW(szName);
    ::GlobalGetAtomNameW(pApp->m_atomSystemTopic, szName, 256);
    ATOM atomTopicAnswer = ::GlobalAddAtomW(szName);
    ::SendMessageW(hWndClient, WM_DDE_ACK, reinterpret_cast<WPARAM>(pServerWnd->m_hWnd),
                   MAKELPARAM(atomAppAnswer, atomTopicAnswer));
    return 0;
}

CString AfxGetDDECommand(LPARAM lParam) {
    UINT_PTR uiLo = 0;
    UINT_PTR uiHi = 0;
    if (!::UnpackDDElParam(WM_DDE_EXECUTE, lParam, &uiLo, &uiHi))
        return CString();
    HGLOBAL hData = reinterpret_cast<HGLOBAL>(uiHi);
    const wchar_t* psz = hData != nullptr ? static_cast<const wchar_t*>(::GlobalLock(hData)) : nullptr;
    if (psz == nullptr)
        return CString();
    // The block's size bounds the text, whether it is terminated or not.
    SIZE_T nMax = ::GlobalSize(hData) / sizeof(wchar_t);
    SIZE_T n = 0;
    while (n < nMax && psz[n] != L'\0')
        ++n;
    CString strCommand(psz, static_cast<int>(n));
    ::GlobalUnlock(hData);
    return strCommand;
}

LRESULT AfxDDEExecute(CWnd* pServerWnd, HWND hWndClient, LPARAM lParam) {
    CString strCommand = AfxGetDDECommand(lParam);
    UINT_PTR uiLo = 0;
    UINT_PTR uiHi = 0;
    ::UnpackDDElParam(WM_DDE_EXECUTE, lParam, &uiLo, &uiHi);
    // Acknowledged before it runs: the client frees the block on the answer.
    ::PostMessageW(hWndClient, WM_DDE_ACK, reinterpret_cast<WPARAM>(pServerWnd->m_hWnd),
                   ::ReuseDDElParam(lParam, WM_DDE_EXECUTE, WM_DDE_ACK, 0x8000, uiHi));
    if (!pServerWnd->IsWindowEnabled())
        return 0;
    CWinApp* pApp = AfxGetApp();
    if (pApp != nullptr && !strCommand.IsEmpty()) {
        CString strCopy = strCommand;
        pApp->OnDDECommand(strCopy.GetBuffer(strCopy.GetLength()));
        strCopy.ReleaseBuffer();
    }
    return 0;
}

LRESULT AfxDDETerminate(CWnd* pServerWnd, HWND hWndClient, LPARAM lParam) {
    ::PostMessageW(hWndClient, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(pServerWnd->m_hWnd), lParam);
    return 0;
}
