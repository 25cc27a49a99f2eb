#include "editor/TalMainFrame.h"

#include "controls/KWWinPanel.h"
#include "docking/bars/QMXPDockingControlBar.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "docking/toolbars/QMXPVisualManagerXP.h"
#include "editor/PictCollectBar.h"
#include "editor/TalApplication.h"
#include "platform/classlib/MessageMap.h"

IMPLEMENT_DYNCREATE(CTalMainFrame, CKWMainFrame)

namespace {
constexpr DWORD kDockAnySide = 0xF000;
constexpr DWORD kAlignmentBits = 0xF000;
}  // namespace

BEGIN_MESSAGE_MAP(CTalMainFrame, CKWMainFrame)
    ON_WM_CREATE()
    ON_WM_CLOSE()
    ON_WM_MOUSEWHEEL()
END_MESSAGE_MAP()

CTalMainFrame::CTalMainFrame() = default;

CTalMainFrame::~CTalMainFrame() = default;

int CTalMainFrame::OnCreate(LPCREATESTRUCTW lpCreateStruct)
{
    // A frame whose creation failed (its client, where no window can be
    // made) has no dock manager to give bars to.
    if (CKWMainFrame::OnCreate(lpCreateStruct) == -1)
        return -1;
    CQMXPVisualManager::SelectManagerClass(RUNTIME_CLASS(CQMXPVisualManagerXP));
    EnableDocking(kDockAnySide);
    EnableAutoHideBars(kDockAnySide);
    // Auto-hidden panes may be shown and hidden like docked ones (the gallery's menu command).
    CQMXPDockingControlBar::SetHideInAutoHideMode(TRUE);
    if (CTalApplication* app = GetTalApp())
        app->RestorePictCollectBar(this);
    return 0;
}

void CTalMainFrame::OnClose()
{
    CTalApplication* app = GetTalApp();
    if (CPictCollectBar* bar = app ? app->FindPictCollectBar() : nullptr)
        bar->SavePictCollectBarState(app->GetPrefs());
    CKWMainFrame::OnClose();
}

bool CTalMainFrame::ScrollPanelByWheel(short delta, CPoint screenPoint)
{
    HWND under = ::WindowFromPoint(screenPoint);
    auto* panel = dynamic_cast<CKWWinPanel*>(CWnd::FromHandlePermanent(under));
    if (!panel)
        return false;
    // By the turn's sign: any turn away from the user is a page up.
    panel->SendMessage(WM_VSCROLL, delta > 0 ? SB_PAGEUP : SB_PAGEDOWN);
    panel->SendMessage(WM_VSCROLL, SB_ENDSCROLL);
    return true;
}

BOOL CTalMainFrame::OnMouseWheel(UINT nFlags, short zDelta, CPoint pt)
{
    if (ScrollPanelByWheel(zDelta, pt))
        return TRUE;
    return CKWMainFrame::OnMouseWheel(nFlags, zDelta, pt);
}

BOOL CTalMainFrame::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (static_cast<UINT>(wParam) == QMXM_TOLBARCHANGEALIGN && header) {
        if (CTalApplication* app = GetTalApp())
            app->ReplaceToolbarButtons(static_cast<UINT>(header->idFrom), header->code & kAlignmentBits);
    }
    return CKWMainFrame::OnNotify(wParam, lParam, pResult);
}
