#include "platform/classlib/MiniFrameWnd.h"

#include "platform/classlib/WinApp.h"

IMPLEMENT_DYNCREATE(CMiniFrameWnd, CFrameWnd)

namespace {

const wchar_t kMiniFrameClass[] = L"OTClassLibMiniFrame";

LPCWSTR MiniFrameClass() {
    HINSTANCE hInst = AfxGetInstanceHandle();
    WNDCLASSW wc;
    if (!::GetClassInfoW(hInst, kMiniFrameClass, &wc)) {
        wc = WNDCLASSW();
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = hInst;
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
        wc.lpszClassName = kMiniFrameClass;
        if (!::RegisterClassW(&wc))
            return nullptr;
    }
    return kMiniFrameClass;
}

}  // namespace

CMiniFrameWnd::CMiniFrameWnd() = default;

CMiniFrameWnd::~CMiniFrameWnd() = default;

BOOL CMiniFrameWnd::Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                           CWnd* pParentWnd, UINT nID) {
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle, rect, pParentWnd, nID);
}

BOOL CMiniFrameWnd::CreateEx(DWORD dwExStyle, LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle,
                             const RECT& rect, CWnd* pParentWnd, UINT nID) {
    if (lpszClassName == nullptr)
        lpszClassName = MiniFrameClass();
    if (lpszClassName == nullptr)
        return FALSE;
    HMENU hMenuOrID = (dwStyle & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)) : nullptr;
    return CWnd::CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top,
                          rect.right - rect.left, rect.bottom - rect.top, CWnd::SafeHwndOf(pParentWnd), hMenuOrID);
}
