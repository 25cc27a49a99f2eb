#include "docking/frames/QMXPFrameLayout.h"

#include "docking/bars/QMXPDockManager.h"
#include "platform/classlib/FrameWnd.h"
#include "platform/classlib/SplitterWnd.h"

void QMXPAdjustClientArea(CFrameWnd* pFrame, const CQMXPDockManager& dockManager) {
    if (pFrame->GetSafeHwnd() == nullptr)
        return;
    CRect rectBounds;
    dockManager.GetClientAreaBounds(rectBounds);
    pFrame->RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposDefault, nullptr, &rectBounds);
}

void QMXPSetPaneClipStyles(CFrameWnd* pFrame) {
    CWnd* pPane = CWnd::FromHandlePermanent(::GetDlgItem(pFrame->m_hWnd, AFX_IDW_PANE_FIRST));
    if (pPane == nullptr)
        return;
    const DWORD dwClip =
        pPane->IsKindOf(RUNTIME_CLASS(CSplitterWnd)) ? WS_CLIPSIBLINGS : (WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    pPane->ModifyStyle(0, dwClip);
    ::SetWindowPos(pPane->m_hWnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}
