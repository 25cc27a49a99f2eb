#include "appwindows/KWSplitFrame.h"

#include "framework/KWSplitItem.h"
#include "platform/classlib/ControlBar.h"
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

void CKWSplitFrame::OnSetPreviewMode(BOOL bPreview, CPrintPreviewState* pState)
{
    if (bPreview) {
        m_hiddenForPreview.clear();
        for (HWND child = ::GetTopWindow(m_hWnd); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            CWnd* window = CWnd::FromHandlePermanent(child);
            // The bars are the class library's to hide and show again.
            if (::IsWindowVisible(child) && !(window && window->IsKindOf(RUNTIME_CLASS(CControlBar))))
                m_hiddenForPreview.push_back(child);
        }
        for (HWND child : m_hiddenForPreview)
            ::ShowWindow(child, SW_HIDE);
        m_inPreview = true;
    }
    CKWBaseFrame::OnSetPreviewMode(bPreview, pState);
    if (!bPreview) {
        m_inPreview = false;
        for (HWND child : m_hiddenForPreview) {
            if (::IsWindow(child))
                ::ShowWindow(child, SW_SHOWNOACTIVATE);
        }
        m_hiddenForPreview.clear();
    }
}

void CKWSplitFrame::RecalcLayout(BOOL bNotify)
{
    if (!IsRootBar() || m_inPreview) {
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
