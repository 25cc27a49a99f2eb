// The drag loop of a floating frame whose bar was just torn off a menu.
#include "docking/bars/QMXPBaseControlBar.h"
#include "docking/frames/QMXPFrameImpl.h"
#include "docking/frames/QMXPMiniFrameWnd.h"
#include "docking/toolbars/QMXPPopupMenu.h"
#include "docking/toolbars/QMXPToolbarMenuButton.h"
#include "platform/classlib/FrameWnd.h"

#include <windowsx.h>

namespace {

// Paint messages are bounded: a window that never validates must not hold the loop.
constexpr int kMaxPendingPaints = 64;

// The frame the torn-off bar was registered with forgets it.
void ForgetTearOffBar(CWnd* pOwner, CQMXPBaseControlBar* pBar) {
    if (CQMXPFrameImpl* pImpl = CQMXPFrameImpl::FromFrame(pOwner))
        pImpl->RemoveTearOffToolbar(pBar);
}

}  // namespace

BOOL CQMXPMiniFrameWnd::StartTearOff(CQMXPPopupMenu* pMenu) {
    CQMXPBaseControlBar* pBar = GetControlBar();
    if (pBar == nullptr || pMenu == nullptr)
        return FALSE;
    const HWND hWndMenu = pMenu->GetSafeHwnd();
    const HWND hWndBar = pBar->GetSafeHwnd();
    const HWND hWndFrame = m_hWnd;
    const HWND hWndOwner = m_hParentWnd;
    pMenu->ShowWindow(SW_HIDE);
    CQMXPToolbarMenuButton* pButton = pMenu->GetParentButton();
    CQMXPToolBar* pButtonBar = pMenu->GetParentToolBar();
    if (pButton != nullptr && pButtonBar->GetSafeHwnd() != nullptr) {
        CRect rectButton = pButton->GetRect();
        rectButton.InflateRect(4, 4);
        pButtonBar->InvalidateRect(&rectButton);
        pButtonBar->UpdateWindow();
    }
    MSG msg;
    for (int n = 0; n < kMaxPendingPaints && ::PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); ++n)
        ::DispatchMessageW(&msg);

    BOOL bPlaced = FALSE;
    BOOL bCancelled = FALSE;
    // Another window holding the capture leaves the bar where it floats.
    if (::GetCapture() == nullptr) {
        ::SetCapture(hWndBar);
        CRect rectFrame;
        GetWindowRect(&rectFrame);
        // The cursor holds the caption in its middle while the frame follows it.
        const CSize sizeHold((rectFrame.left + rectFrame.right) / 2 - rectFrame.left, 5);
        ::SetCursorPos(rectFrame.left + sizeHold.cx, rectFrame.top + sizeHold.cy);
        while (!bPlaced && !bCancelled && ::GetCapture() == hWndBar) {
            const BOOL bGot = ::GetMessageW(&msg, nullptr, 0, 0);
            if (bGot == 0 || bGot == -1) {
                if (bGot == 0)
                    ::PostQuitMessage(static_cast<int>(msg.wParam));
                break;
            }
            switch (msg.message) {
            case WM_LBUTTONUP:
                bPlaced = TRUE;
                break;
            case WM_KEYDOWN:
                bCancelled = msg.wParam == VK_ESCAPE;
                break;
            case WM_RBUTTONDOWN:
                bCancelled = TRUE;
                break;
            case WM_MOUSEMOVE: {
                CPoint point(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
                ::ClientToScreen(msg.hwnd, &point);
                ::SetWindowPos(hWndFrame, nullptr, point.x - sizeHold.cx, point.y - sizeHold.cy, 0, 0,
                               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
                break;
            }
            default:
                ::DispatchMessageW(&msg);
                break;
            }
        }
        if (::GetCapture() == hWndBar)
            ::ReleaseCapture();
    }
    // A capture taken away ends the drag where the frame is too. The owner
    // is looked up again: the loop may have closed it.
    const BOOL bMenuExists = ::IsWindow(hWndMenu);
    CWnd* pOwner = CWnd::FromHandlePermanent(hWndOwner);
    if (!bCancelled) {
        if (bMenuExists)
            ::SendMessageW(hWndMenu, WM_CLOSE, 0, 0);
        CFrameWnd* pTarget = pOwner != nullptr ? pOwner->GetTopLevelFrame() : nullptr;
        if (pTarget == nullptr)
            pTarget = DYNAMIC_DOWNCAST(CFrameWnd, pOwner);
        if (pTarget->GetSafeHwnd() != nullptr)
            pTarget->SetFocus();
        return bPlaced;
    }
    if (bMenuExists)
        ::ShowWindow(hWndMenu, SW_SHOWNOACTIVATE);
    ForgetTearOffBar(pOwner, pBar);
    // The frame goes with its bar: nothing of it is touched after this.
    if (::IsWindow(hWndBar))
        pBar->DestroyWindow();
    delete pBar;
    return FALSE;
}
