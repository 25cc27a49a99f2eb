#include "framework/windows/KWSplitFrame.h"

#include "framework/KWSplitItem.h"
#include "platform/classlib/MessageMap.h"

IMPLEMENT_DYNCREATE(CKWSplitFrame, CKWBaseFrame)

BEGIN_MESSAGE_MAP(CKWSplitFrame, CKWBaseFrame)
    ON_WM_SIZE()
END_MESSAGE_MAP()

CKWSplitFrame::CKWSplitFrame() = default;

CKWSplitFrame::~CKWSplitFrame() = default;

CRect CKWSplitFrame::GetPaneArea()
{
    CRect area;
    RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposQuery, &area);
    return area;
}

void CKWSplitFrame::RecalcLayout(BOOL bNotify)
{
    if (!IsRootBar()) {
        CKWBaseFrame::RecalcLayout(bNotify);
        return;
    }
    if (m_bInRecalcLayout || !m_hWnd)
        return;
    m_bInRecalcLayout = TRUE;
    // No pane takes the left-over area: the tree places them.
    RepositionBars(0, 0xFFFF, 0);
    m_bInRecalcLayout = FALSE;
}

void CKWSplitFrame::OnSize(UINT nType, int cx, int cy)
{
    const BOOL locked = LockWindowUpdate();
    CKWBaseFrame::OnSize(nType, cx, cy);
    if (m_root && nType != SIZE_MINIMIZED && (cx != 0 || cy != 0)) {
        // The strips along the edges keep their room; the tree fills the rest.
        const CRect area = GetPaneArea();
        m_root->SetSize(area.Width(), area.Height(), 0, 0);
    }
    if (locked)
        UnlockWindowUpdate();
}
