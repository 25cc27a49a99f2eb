#include "docking/toolbars/QMXPDropDownToolBar.h"

#include "docking/frames/QMXPTrackMouse.h"
#include "docking/toolbars/QMXPDropDownFrame.h"
#include "docking/toolbars/QMXPDropDownToolbarButton.h"
#include "platform/classlib/FrameWnd.h"

IMPLEMENT_SERIAL(CQMXPDropDownToolBar, CQMXPToolBar, VERSIONABLE_SCHEMA | 1)

BEGIN_MESSAGE_MAP(CQMXPDropDownToolBar, CQMXPToolBar)
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

CQMXPDropDownToolBar::CQMXPDropDownToolBar() : m_bBorrowedButtons(FALSE), m_bTrackingLeave(FALSE), m_iHotTracked(-1) {}

CQMXPDropDownToolBar::~CQMXPDropDownToolBar() { ReleaseBorrowedButtons(); }

BOOL CQMXPDropDownToolBar::LoadBitmap(UINT uiResID, UINT uiColdResID, UINT uiMenuResID, BOOL,
                                      UINT uiDisabledResID, UINT uiMenuDisabledResID) {
    return CQMXPToolBar::LoadBitmap(uiResID, uiColdResID, uiMenuResID, TRUE, uiDisabledResID, uiMenuDisabledResID);
}

BOOL CQMXPDropDownToolBar::LoadToolBar(UINT uiResID, UINT uiColdResID, UINT uiMenuResID, BOOL,
                                       UINT uiDisabledResID, UINT uiMenuDisabledResID, UINT uiHotResID) {
    return CQMXPToolBar::LoadToolBar(uiResID, uiColdResID, uiMenuResID, TRUE, uiDisabledResID, uiMenuDisabledResID,
                                     uiHotResID);
}

void CQMXPDropDownToolBar::CopyFrom(CQMXPDropDownToolBar& source) {
    m_bLocked = TRUE;
    source.m_ImagesLocked.ShareWith(m_ImagesLocked);
    source.m_ColdImagesLocked.ShareWith(m_ColdImagesLocked);
    source.m_DisabledImagesLocked.ShareWith(m_DisabledImagesLocked);
    SetLockedSizes(source.m_sizeButtonLocked, source.m_sizeImageLocked);
    SetOwner(source.GetOwner());
    m_nID = source.m_nID;
    // The same button objects: the source owns them, the copy only shows them.
    m_bBorrowedButtons = TRUE;
    for (POSITION pos = source.m_Buttons.GetHeadPosition(); pos != nullptr;)
        m_Buttons.AddTail(source.m_Buttons.GetNext(pos));
    SetBarStyle(GetBarStyle() & ~QMXP_CBRS_GRIPPER);
}

void CQMXPDropDownToolBar::ReleaseBorrowedButtons() {
    if (!m_bBorrowedButtons)
        return;
    m_Buttons.RemoveAll();
    m_bBorrowedButtons = FALSE;
    m_iButtonCapture = m_iHighlighted = m_iSelected = m_iHot = -1;
}

CQMXPDropDownFrame* CQMXPDropDownToolBar::DropFrame() const {
    return DYNAMIC_DOWNCAST(CQMXPDropDownFrame, GetParent());
}

void CQMXPDropDownToolBar::OnUpdateCmdUI(CFrameWnd*, BOOL bDisableIfNoHndler) {
    CWnd* pOwner = GetOwner();
    CFrameWnd* pTarget = pOwner != nullptr && pOwner->IsFrameWnd() ? static_cast<CFrameWnd*>(pOwner) : nullptr;
    CQMXPToolBar::OnUpdateCmdUI(pTarget, bDisableIfNoHndler);
}

void CQMXPDropDownToolBar::OnMouseMove(UINT nFlags, CPoint point) {
    if (DropFrame() == nullptr) {
        CQMXPToolBar::OnMouseMove(nFlags, point);
        return;
    }
    int iHit = HitTest(point);
    CQMXPToolbarButton* pHit = iHit >= 0 ? GetButton(iHit) : nullptr;
    if (pHit != nullptr && ((pHit->m_nStyle & TBBS_SEPARATOR) || (pHit->m_nStyle & TBBS_DISABLED)))
        iHit = -1;
    if (!m_bTrackingLeave) {
        TRACKMOUSEEVENT trackmouseevent = {sizeof(TRACKMOUSEEVENT), TME_LEAVE, m_hWnd, HOVER_DEFAULT};
        m_bTrackingLeave = QMXPTrackMouse(&trackmouseevent);
    }
    if (iHit == m_iHotTracked)
        return;
    if (CQMXPToolbarButton* pOld = GetButton(m_iHotTracked)) {
        pOld->m_nStyle &= ~TBBS_PRESSED;
        InvalidateButton(m_iHotTracked);
    }
    m_iHotTracked = iHit;
    if (CQMXPToolbarButton* pNew = GetButton(iHit)) {
        pNew->m_nStyle |= TBBS_PRESSED;
        InvalidateButton(iHit);
        ShowCommandMessageString(pNew->m_nID);
    } else {
        CWnd* pOwner = GetOwner();
        if (pOwner != nullptr)
            pOwner->SendMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
    }
    UpdateWindow();
}

void CQMXPDropDownToolBar::OnLButtonUp(UINT nFlags, CPoint point) {
    if (DropFrame() == nullptr) {
        CQMXPToolBar::OnLButtonUp(nFlags, point);
        return;
    }
    const int iHit = HitTest(point);
    CQMXPToolbarButton* pButton = iHit >= 0 ? GetButton(iHit) : nullptr;
    if (pButton != nullptr)
        OnItemClicked(pButton);
}

BOOL CQMXPDropDownToolBar::OnItemClicked(CQMXPToolbarButton* pButton) {
    CQMXPDropDownFrame* pFrame = DropFrame();
    if (pFrame == nullptr)
        return CQMXPToolBar::OnItemClicked(pButton);
    if (pButton == nullptr || (pButton->m_nStyle & (TBBS_DISABLED | TBBS_SEPARATOR)) || pButton->m_nID == 0 ||
        pButton->m_nID == static_cast<UINT>(-1))
        return FALSE;
    const UINT uiCmd = pButton->m_nID;
    pButton->m_nStyle &= ~TBBS_PRESSED;
    if (pFrame->m_pParentBtn != nullptr)
        pFrame->m_pParentBtn->SetDefaultCommand(uiCmd);
    CWnd* pTarget = GetOwner() != nullptr ? GetOwner() : GetParent();
    if (pTarget != nullptr)
        pTarget->PostMessage(WM_COMMAND, uiCmd, 0);
    pFrame->DestroyWindow();
    return TRUE;
}
