// Context help (the mode a frame enters on the context-help command, and the
// call that shows a help topic) and the border space in-place items ask for.
#include "platform/classlib/FrameWnd.h"
#include "platform/classlib/MessageMap.h"

namespace {

// The help id the window under the screen point gives, asking up its
// parents while they belong to the frame; 0 when none answers.
DWORD_PTR HelpIdAt(HWND hwndFrame, POINT ptScreen) {
    for (HWND hwnd = ::WindowFromPoint(ptScreen); hwnd != nullptr; hwnd = ::GetParent(hwnd)) {
        if (hwnd != hwndFrame && !::IsChild(hwndFrame, hwnd) && ::GetWindow(hwnd, GW_OWNER) != hwndFrame)
            return 0;
        POINT ptClient = ptScreen;
        ::ScreenToClient(hwnd, &ptClient);
        const LRESULT lResult = ::SendMessageW(hwnd, WM_HELPHITTEST, 0, MAKELPARAM(ptClient.x, ptClient.y));
        if (lResult != 0)
            return static_cast<DWORD_PTR>(lResult);
        if (hwnd == hwndFrame)
            return 0;
    }
    return 0;
}

}  // namespace

CString CWnd::GetHelpFilePath() {
    wchar_t szPath[MAX_PATH] = {};
    const DWORD nLength = ::GetModuleFileNameW(nullptr, szPath, MAX_PATH);
    if (nLength == 0 || nLength >= MAX_PATH - 4)
        return CString();
    wchar_t* pDot = ::wcsrchr(szPath, L'.');
    if (pDot == nullptr || ::wcschr(pDot, L'\\') != nullptr)
        pDot = szPath + nLength;
    ::wcscpy(pDot, L".hlp");
    return CString(szPath);
}

void CWnd::WinHelp(DWORD_PTR dwData, UINT nCmd) {
    HWND hwndTop = ::GetAncestor(m_hWnd, GA_ROOT);
    if (!::WinHelpW(hwndTop != nullptr ? hwndTop : m_hWnd, GetHelpFilePath(), nCmd, dwData))
        ::MessageBeep(MB_ICONEXCLAMATION);
}

BOOL CFrameWnd::NegotiateBorderSpace(UINT nBorderCmd, LPRECT lpRectBorder) {
    CRect rectClient;
    GetClientRect(&rectClient);
    switch (nBorderCmd) {
    case borderGet:
        RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposQuery, lpRectBorder, &rectClient);
        return TRUE;
    case borderRequest:
        return lpRectBorder == nullptr || (lpRectBorder->left + lpRectBorder->right < rectClient.Width() &&
                                           lpRectBorder->top + lpRectBorder->bottom < rectClient.Height());
    case borderSet:
        RecalcLayout();
        return TRUE;
    default:
        return TRUE;
    }
}

BOOL CFrameWnd::CanEnterHelpMode() { return !m_bHelpMode && ::IsWindowEnabled(m_hWnd); }

void CFrameWnd::OnContextHelp() {
    if (!CanEnterHelpMode())
        return;
    m_bHelpMode = TRUE;
    HCURSOR hcurHelp = ::LoadCursorW(nullptr, IDC_HELP);
    HCURSOR hcurOld = ::SetCursor(hcurHelp);
    ::SetCapture(m_hWnd);
    DWORD_PTR dwContext = 0;
    BOOL bDone = FALSE;
    MSG msg;
    while (!bDone && ::GetCapture() == m_hWnd && ::GetMessageW(&msg, nullptr, 0, 0)) {
        switch (msg.message) {
        case WM_LBUTTONDOWN:
        case WM_NCLBUTTONDOWN: {
            POINT pt = {static_cast<short>(LOWORD(::GetMessagePos())), static_cast<short>(HIWORD(::GetMessagePos()))};
            dwContext = HelpIdAt(m_hWnd, pt);
            bDone = TRUE;
            break;
        }
        case WM_RBUTTONDOWN:
        case WM_NCRBUTTONDOWN:
            bDone = TRUE;
            break;
        case WM_KEYDOWN:
            bDone = msg.wParam == VK_ESCAPE;
            break;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_KEYUP:
        case WM_CHAR:
            break;
        case WM_MOUSEMOVE:
        case WM_SETCURSOR:
            // The help cursor stays whatever the window under the pointer shows.
            ::DispatchMessageW(&msg);
            ::SetCursor(hcurHelp);
            break;
        default:
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
            ::SetCursor(hcurHelp);
            break;
        }
    }
    if (msg.message == WM_QUIT && !bDone)
        ::PostQuitMessage(static_cast<int>(msg.wParam));
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    ::SetCursor(hcurOld);
    m_bHelpMode = FALSE;
    if (dwContext != 0)
        WinHelp(dwContext, HELP_CONTEXT);
}
