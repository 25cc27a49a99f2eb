#include "controls/KWDragBar.h"

#include "docking/frames/QMXPMiniFrameWnd.h"
#include "platform/classlib/MessageMap.h"

IMPLEMENT_DYNAMIC(CKWDragBar, CQMXPDockingControlBar)

BEGIN_MESSAGE_MAP(CKWDragBar, CQMXPDockingControlBar)
    ON_WM_SIZE()
END_MESSAGE_MAP()

CKWDragBar::CKWDragBar() = default;

CKWDragBar::~CKWDragBar() = default;

void CKWDragBar::ShowBar()
{
    ShowControlBar(TRUE, FALSE, FALSE);
}

void CKWDragBar::HideBar()
{
    ShowControlBar(FALSE, FALSE, FALSE);
}

bool CKWDragBar::IsBarVisible()
{
    return IsVisible() == 1;
}

bool CKWDragBar::IsBarFloating()
{
    return IsFloating() != 0;
}

bool CKWDragBar::GetFloatingRect(RECT* rect)
{
    if (!rect || !IsBarFloating())
        return false;
    CQMXPMiniFrameWnd* frame = GetParentMiniFrame(TRUE);
    if (!frame || !frame->GetSafeHwnd())
        return false;
    frame->GetWindowRect(rect);
    return true;
}

void CKWDragBar::OnSize(UINT nType, int cx, int cy)
{
    CQMXPBaseControlBar::OnSize(nType, cx, cy);
    RecalcLayout();
}
