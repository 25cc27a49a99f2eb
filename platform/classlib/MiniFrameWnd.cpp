#include "platform/classlib/MiniFrameWnd.h"

IMPLEMENT_DYNCREATE(CMiniFrameWnd, CFrameWnd)

namespace {

const wchar_t kMiniFrameClass[] = L"OTClassLibMiniFrame";

LPCWSTR MiniFrameClass() {
    return AfxRegisterWindowClassOnce(kMiniFrameClass, CS_DBLCLKS,
                                      reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
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
    if (lpszClassName == nullptr) {
        PostNcDestroy();
        return FALSE;
    }
    HMENU hMenuOrID = (dwStyle & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)) : nullptr;
    return CWnd::CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top,
                          rect.right - rect.left, rect.bottom - rect.top, CWnd::SafeHwndOf(pParentWnd), hMenuOrID);
}
