// A tool bar in customise mode: buttons are selected rather than run,
// dragged between bars through OLE (copied with Ctrl, removed when dropped
// off every bar), control buttons are widened at their right edge, and a
// right click offers the button menu with the appearance commands.
#include "docking/toolbars/QMXPToolBar.h"

#include "docking/bars/QMXPTabWnd.h"
#include "docking/frames/ButtonAppearanceDlg.h"
#include "docking/frames/QMXPToolbarDropSource.h"
#include "docking/frames/QMXPUserTool.h"
#include "docking/toolbars/QMXPCommandManager.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPToolbarButton.h"
#include "docking/toolbars/QMXPToolbarMenuButton.h"
#include "docking/toolbars/QMXPUserToolsManager.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/Menu.h"
#include "platform/classlib/OleDataSource.h"
#include "platform/classlib/WinApp.h"

#include <cstdlib>
#include <memory>

namespace {

// A press closer than this to a control button's right edge resizes it.
constexpr int kStretchGrip = 7;
// A resize applies only to a width above this ...
constexpr int kMinStretchWidth = 4;
// ... and a release further than this from the old right edge.
constexpr int kMinStretchMove = 6;
constexpr int kStretchControlMargin = 2;
// The insertion mark is this wide, centred on the edge it marks.
constexpr int kMarkWidth = 6;
constexpr int kMarkInflate = 2;
const CPoint kKeyboardMenuPoint(-1, -1);
const CPoint kKeyboardMenuOffset(5, 5);

// The drag left a bar and has entered none since.
BOOL g_bDragLeftBar = FALSE;

// The mark centred on the edge, moved inside the client rectangle.
CRect MarkAt(int nEdge, BOOL bHorz, const CRect& rectBase, const CRect& rectClient) {
    CRect rect = bHorz ? CRect(nEdge - kMarkWidth / 2, rectBase.top, nEdge + kMarkWidth / 2, rectBase.bottom)
                       : CRect(rectBase.left, nEdge - kMarkWidth / 2, rectBase.right, nEdge + kMarkWidth / 2);
    if (bHorz) {
        if (rect.left < rectClient.left)
            rect.OffsetRect(rectClient.left - rect.left, 0);
        if (rect.right > rectClient.right)
            rect.OffsetRect(rectClient.right - rect.right, 0);
    } else {
        if (rect.top < rectClient.top)
            rect.OffsetRect(0, rectClient.top - rect.top);
        if (rect.bottom > rectClient.bottom)
            rect.OffsetRect(0, rectClient.bottom - rect.bottom);
    }
    return rect;
}

}  // namespace

// --- The mode ------------------------------------------------------------------------------------

BOOL CQMXPToolBar::SwitchCustomizeMode(BOOL bCustomize) {
    if (m_bCustomizeMode == bCustomize)
        return FALSE;
    // A bar may create or destroy bars while it switches: start the pass again then.
    for (BOOL bRestart = TRUE; bRestart;) {
        bRestart = FALSE;
        const size_t nBars = GetAllToolbars().size();
        for (size_t i = 0; i < GetAllToolbars().size(); ++i) {
            CQMXPToolBar* pBar = GetAllToolbars()[i];
            if (::IsWindow(pBar->GetSafeHwnd()))
                pBar->OnCustomizeMode(bCustomize);
            if (GetAllToolbars().size() != nBars) {
                bRestart = TRUE;
                break;
            }
        }
    }
    m_bCustomizeMode = bCustomize;
    const std::vector<CQMXPToolBar*> bars = GetAllToolbars();
    for (CQMXPToolBar* pBar : bars)
        if (::IsWindow(pBar->GetSafeHwnd()))
            pBar->AdjustLayout();
    for (CQMXPToolBar* pBar : bars) {
        CFrameWnd* pFrame = ::IsWindow(pBar->GetSafeHwnd()) ? pBar->GetDockSiteFrameWnd() : nullptr;
        if (pFrame != nullptr && pFrame->IsFrameWnd()) {
            pFrame->RecalcLayout(TRUE);
            break;
        }
    }
    for (CQMXPToolBar* pBar : bars)
        if (::IsWindow(pBar->GetSafeHwnd()))
            pBar->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    if (!bCustomize)
        m_pSelToolbar = nullptr;
    return TRUE;
}

void CQMXPToolBar::OnCustomizeMode(BOOL bSet) {
    m_iButtonCapture = -1;
    m_iHighlighted = -1;
    m_iSelected = -1;
    m_iHot = -1;
    for (POSITION pos = m_Buttons.GetHeadPosition(); pos != nullptr;) {
        auto* pButton = static_cast<CQMXPToolbarButton*>(m_Buttons.GetNext(pos));
        // An open menu button's popup closes here.
        pButton->OnCancelMode();
        if (!(pButton->m_nStyle & TBBS_DISABLED))
            pButton->EnableWindow(!bSet);
    }
}

// --- Pressing, dragging and resizing a button ----------------------------------------------------

void CQMXPToolBar::OnCustomizePress(UINT nFlags, CPoint point, int iHit) {
    if (m_pSelToolbar != this) {
        CQMXPToolBar* pOld = m_pSelToolbar;
        m_pSelToolbar = this;
        if (pOld != nullptr && ::IsWindow(pOld->GetSafeHwnd())) {
            pOld->InvalidateButton(pOld->m_iSelected);
            pOld->m_iSelected = -1;
            pOld->UpdateWindow();
        }
    }
    InvalidateButton(m_iSelected);
    m_iSelected = iHit;
    CQMXPToolbarButton* pButton = GetButton(iHit);
    m_pDragButton = pButton;
    m_bIsDragCopy = (nFlags & MK_CONTROL) != 0;
    if (pButton == nullptr || !pButton->CanBeStored()) {
        m_iSelected = -1;
        m_pDragButton = nullptr;
    }
    InvalidateButton(m_iSelected);
    UpdateWindow();
    if (m_pDragButton == nullptr)
        return;

    const CRect rectButton = pButton->GetRect();
    if (IsOnStretchEdge(pButton, point) && !m_bAltCustomizing) {
        m_bStretchButton = TRUE;
        m_rectTrack = rectButton;
        if (pButton->GetHwnd() != nullptr)
            m_rectTrack.InflateRect(kStretchControlMargin, kStretchControlMargin);
        m_pWndLastCapture = SetCapture();
        ::SetCursor(globalData.hcurStretchHorz);
        return;
    }
    if (!pButton->CanBeDragged() || !pButton->IsPermitted()) {
        m_pDragButton = nullptr;
        return;
    }
    auto* pSource = new COleDataSource;
    pButton->PutOnClipboard(pSource);
    ShowCommandMessageString(pButton->m_nID);
    g_QMXPToolbarDropSource.m_bDragStarted = FALSE;
    g_QMXPToolbarDropSource.m_bEscapePressed = FALSE;
    g_QMXPToolbarDropSource.m_bDeleteOnDrop = TRUE;
    m_ptStartDrag = point;
    const BOOL bAltDrag = m_bAltCustomizing;
    if (bAltDrag)
        m_bCustomizeMode = TRUE;
    CRect rectScreen = rectButton;
    ClientToScreen(&rectScreen);
    const HWND hwndThis = m_hWnd;
    const DROPEFFECT dropEffect = DoButtonDrag(pSource, rectScreen);
    pSource->InternalRelease();
    // The drop may have destroyed this bar.
    const BOOL bAlive = ::IsWindow(hwndThis) && FromHandlePermanent(hwndThis) == this;
    if (bAlive)
        FinishButtonDrag(pButton, dropEffect);
    if (bAltDrag) {
        m_bAltCustomizing = FALSE;
        SwitchCustomizeMode(FALSE);
        if (bAlive)
            Invalidate();
    }
}

DROPEFFECT CQMXPToolBar::DoButtonDrag(COleDataSource* pSource, const CRect& rectStartScreen) {
    return pSource->DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE, &rectStartScreen, &g_QMXPToolbarDropSource);
}

void CQMXPToolBar::FinishButtonDrag(CQMXPToolbarButton* pButton, DROPEFFECT dropEffect) {
    // A drop on this bar has placed the button already (and cleared the drag button).
    const int iIndex = m_pDragButton == pButton ? ButtonToIndex(pButton) : -1;
    m_pDragButton = nullptr;
    m_ptStartDrag = CPoint(-1, -1);
    if (iIndex < 0)
        return;
    CPoint ptCursor;
    ::GetCursorPos(&ptCursor);
    ScreenToClient(&ptCursor);
    const CQMXPToolbarDropSource& source = g_QMXPToolbarDropSource;
    const BOOL bRemove = source.m_bDragStarted && !source.m_bEscapePressed && dropEffect != DROPEFFECT_COPY &&
                         !pButton->GetRect().PtInRect(ptCursor);
    if (!bRemove) {
        SetHot(iIndex);
        InvalidateButton(iIndex);
        return;
    }
    RemoveButton(iIndex);
    m_iSelected = -1;
    AdjustLocations();
    Invalidate();
    AdjustSizeImmediate(TRUE);
    AdjustTabbedToolbar();
}

void CQMXPToolBar::AdjustTabbedToolbar() {
    // A bar that is a tab of a tabbed tool bar changes that bar's size too.
    CWnd* pParent = GetParent();
    if (pParent == nullptr || !pParent->IsKindOf(RUNTIME_CLASS(CQMXPTabWnd)))
        return;
    if (auto* pTabbedBar = DYNAMIC_DOWNCAST(CQMXPToolBar, pParent->GetParent()))
        pTabbedBar->AdjustLayout();
}

BOOL CQMXPToolBar::IsOnStretchEdge(const CQMXPToolbarButton* pButton, CPoint point) {
    return pButton != nullptr && pButton->CanBeStretched() && pButton->GetRect().PtInRect(point) &&
           pButton->GetRect().right - point.x < kStretchGrip;
}

void CQMXPToolBar::TrackStretch(CPoint point) {
    if (m_pDragButton == nullptr)
        return;
    if (point.x - m_pDragButton->GetRect().left > kMinStretchWidth) {
        InvalidateRect(&m_rectTrack);
        m_rectTrack.right = point.x;
        InvalidateRect(&m_rectTrack);
        UpdateWindow();
    }
    ::SetCursor(globalData.hcurStretchHorz);
}

void CQMXPToolBar::EndStretch(BOOL bApply, CPoint point) {
    if (!m_bStretchButton)
        return;
    CQMXPToolbarButton* pButton = m_pDragButton;
    m_bStretchButton = FALSE;
    if (bApply && pButton != nullptr) {
        const CRect rectButton = pButton->GetRect();
        const int nWidth = point.x - rectButton.left;
        if (nWidth > kMinStretchWidth && std::abs(point.x - rectButton.right) > kMinStretchMove) {
            pButton->OnSize(nWidth);
            AdjustLayout();
        }
    }
    m_rectTrack.SetRectEmpty();
    m_pDragButton = nullptr;
    Invalidate();
    if (GetCapture() == this)
        ::ReleaseCapture();
    if (m_pWndLastCapture != nullptr && ::IsWindow(m_pWndLastCapture->GetSafeHwnd()))
        m_pWndLastCapture->SetCapture();
    m_pWndLastCapture = nullptr;
    CFrameWnd* pFrame = GetDockSiteFrameWnd();
    if (pFrame != nullptr)
        pFrame->RecalcLayout();
}

// --- A button dragged over the bar ---------------------------------------------------------------

DROPEFFECT CQMXPToolBar::OnDragEnter(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) {
    m_iDragIndex = -1;
    g_bDragLeftBar = FALSE;
    g_QMXPToolbarDropSource.m_bDeleteOnDrop = FALSE;
    return OnDragOver(pDataObject, dwKeyState, point);
}

DROPEFFECT CQMXPToolBar::OnDragOver(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) {
    if (m_bLocked)
        return DROPEFFECT_NONE;
    {
        std::unique_ptr<CQMXPToolbarButton> pButton(CQMXPToolbarButton::LoadFromOleData(pDataObject));
        if (pButton == nullptr || !CanAcceptButton(pButton.get()))
            return DROPEFFECT_NONE;
    }
    m_bIsDragCopy = (dwKeyState & MK_CONTROL) != 0;
    if (m_pDragButton == nullptr && m_iSelected >= 0) {
        InvalidateButton(m_iSelected);
        m_iSelected = -1;
    }
    CRect rectMark;
    m_iDragIndex = FindDropIndex(point, rectMark);
    if (rectMark != m_rectDrag) {
        CRect rectOld = m_rectDrag;
        rectOld.InflateRect(kMarkInflate, kMarkInflate);
        InvalidateRect(&rectOld);
        m_rectDrag = rectMark;
        CRect rectNew = m_rectDrag;
        rectNew.InflateRect(kMarkInflate, kMarkInflate);
        InvalidateRect(&rectNew);
        UpdateWindow();
    }
    const int iHot = HitTest(point);
    if (iHot != m_iHot)
        SetHot(iHot);
    if (m_iDragIndex == -1)
        return DROPEFFECT_NONE;
    return m_bIsDragCopy ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}

void CQMXPToolBar::OnDragLeave() {
    CRect rectOld = m_rectDrag;
    rectOld.InflateRect(kMarkInflate, kMarkInflate);
    InvalidateRect(&rectOld);
    UpdateWindow();
    m_rectDrag.SetRectEmpty();
    m_iDragIndex = -1;
    g_bDragLeftBar = TRUE;
    g_QMXPToolbarDropSource.m_bDeleteOnDrop = TRUE;
}

BOOL CQMXPToolBar::CanAcceptButton(CQMXPToolbarButton* pButton) { return pButton->CanBeDroppedOn(this); }

int CQMXPToolBar::FindDropIndex(CPoint point, CRect& rectDrag) const {
    rectDrag.SetRectEmpty();
    point.y = std::max(point.y, 0L);
    CRect rectClient;
    GetClientRect(&rectClient);
    const BOOL bHorz = IsHorizontal();
    const int nCount = GetCount();
    const BOOL bChevron = m_pCustomizeBtn != nullptr;
    if (nCount == 0 || (nCount == 1 && bChevron)) {
        rectDrag = MarkAt(bHorz ? rectClient.left : rectClient.top, bHorz, rectClient, rectClient);
        return 0;
    }

    // The buttons that take part, each with its row (rows by their tops).
    struct Item {
        int iIndex;
        CRect rect;
        int iRow;
    };
    std::vector<Item> items;
    int iRow = -1;
    int nRowTop = 0;
    int nSecondRowTop = -1;
    const int nRowHeight = std::max(GetRowHeight(), 1);
    int iIndex = 0;
    for (POSITION pos = m_Buttons.GetHeadPosition(); pos != nullptr; ++iIndex) {
        const auto* pButton = static_cast<CQMXPToolbarButton*>(m_Buttons.GetNext(pos));
        if (pButton == m_pCustomizeBtn || !pButton->m_bVisible)
            continue;
        const CRect rect = pButton->GetRect();
        if (iRow < 0 || rect.top >= nRowTop + nRowHeight / 2) {
            ++iRow;
            nRowTop = rect.top;
            if (iRow == 1)
                nSecondRowTop = rect.top;
        }
        items.push_back({iIndex, rect, iRow});
    }
    int iDrop = -1;
    int nEdge = 0;
    CRect rectBase = rectClient;
    auto nearer = [&](const Item& item, int nPos, int nLow, int nHigh) {
        if (nPos - nLow <= nHigh - nPos) {
            iDrop = item.iIndex;
            nEdge = nLow;
        } else {
            iDrop = item.iIndex + 1;
            nEdge = nHigh;
        }
    };
    if (!bHorz) {
        for (const Item& item : items) {
            if (item.rect.top > point.y) {
                iDrop = item.iIndex;
                nEdge = item.rect.top;
                break;
            }
            if (point.y < item.rect.bottom) {
                nearer(item, point.y, item.rect.top, item.rect.bottom);
                break;
            }
        }
    } else if (!items.empty()) {
        const int nFirstTop = items.front().rect.top;
        const int nStep = nSecondRowTop > nFirstTop ? nSecondRowTop - nFirstTop : nRowHeight;
        const int iWantedRow = std::min(static_cast<int>(point.y) / nStep, items.back().iRow);
        const Item* pLast = nullptr;
        for (const Item& item : items) {
            if (item.iRow != iWantedRow)
                continue;
            pLast = &item;
            rectBase.top = item.rect.top;
            rectBase.bottom = item.rect.bottom;
            if (item.rect.left > point.x) {
                iDrop = item.iIndex;
                nEdge = item.rect.left;
                break;
            }
            if (point.x < item.rect.right) {
                nearer(item, point.x, item.rect.left, item.rect.right);
                break;
            }
        }
        if (iDrop < 0 && pLast != nullptr) {
            iDrop = pLast->iIndex + 1;
            nEdge = pLast->rect.right;
        }
    }
    if (iDrop < 0)
        return -1;
    rectDrag = MarkAt(nEdge, bHorz, rectBase, rectClient);
    // Drops go before the chevron.
    if (bChevron && iDrop == nCount)
        iDrop = nCount - 1;
    return iDrop;
}

void CQMXPToolBar::DrawDragMarker(CDC* pDC) {
    const CRect& rect = m_rectDrag;
    CPen* pOldPen = pDC->SelectObject(&m_penDrag);
    const BOOL bHorz = IsHorizontal();
    for (int i = 0; i < 2; ++i) {
        if (bHorz) {
            const int x = rect.left + rect.Width() / 2 + i - 1;
            pDC->MoveTo(x, rect.top);
            pDC->LineTo(x, rect.bottom);
            pDC->MoveTo(rect.left + i, rect.top + i);
            pDC->LineTo(rect.right - i, rect.top + i);
            pDC->MoveTo(rect.left + i, rect.bottom - i - 1);
            pDC->LineTo(rect.right - i, rect.bottom - i - 1);
        } else {
            const int y = rect.top + rect.Height() / 2 + i - 1;
            pDC->MoveTo(rect.left, y);
            pDC->LineTo(rect.right, y);
            pDC->MoveTo(rect.left + i, rect.top + i);
            pDC->LineTo(rect.left + i, rect.bottom - i);
            pDC->MoveTo(rect.right - i - 1, rect.top + i);
            pDC->LineTo(rect.right - i - 1, rect.bottom - i);
        }
    }
    pDC->SelectObject(pOldPen);
}

// --- The button menu -----------------------------------------------------------------------------

void CQMXPToolBar::ShowCustomizeMenu(CPoint point) {
    SetFocus();
    const BOOL bKeyboard = point == kKeyboardMenuPoint;
    if (!bKeyboard) {
        CPoint ptClient = point;
        ScreenToClient(&ptClient);
        const int iHit = HitTest(ptClient);
        if (iHit >= 0 && iHit != m_iSelected) {
            InvalidateButton(m_iSelected);
            m_iSelected = iHit;
            m_pSelToolbar = this;
            InvalidateButton(m_iSelected);
            UpdateWindow();
        }
    }
    CQMXPToolbarButton* pButton = GetButton(m_iSelected);
    if (pButton == nullptr || !pButton->CanBeStored()) {
        InvalidateButton(m_iSelected);
        m_iSelected = -1;
        return;
    }
    if (bKeyboard) {
        point = CPoint(0, 0);
        ClientToScreen(&point);
        point += kKeyboardMenuOffset;
    }
    CMenu menu;
    if (!menu.LoadMenu(QMXP_IDR_CUSTOMIZE_MENU))
        return;
    CMenu* pPopup = menu.GetSubMenu(0);
    if (pPopup == nullptr || !PrepareCustomizeMenu(pButton, pPopup))
        return;
    pPopup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, this);
}

BOOL CQMXPToolBar::PrepareCustomizeMenu(CQMXPToolbarButton* pButton, CMenu* pMenu) {
    if (pButton->OnCustomizeMenu(pMenu))
        return TRUE;
    auto enable = [pMenu](UINT uiID, BOOL bEnable) {
        pMenu->EnableMenuItem(uiID, MF_BYCOMMAND | (bEnable ? MF_ENABLED : MF_GRAYED));
    };
    auto check = [pMenu](UINT uiID, BOOL bCheck) {
        pMenu->CheckMenuItem(uiID, MF_BYCOMMAND | (bCheck ? MF_CHECKED : MF_UNCHECKED));
    };
    enable(QMXP_ID_CUSTOMIZE_COPY_IMAGE, pButton->m_bImage && pButton->GetImage() >= 0);
    enable(QMXP_ID_CUSTOMIZE_RESET,
           pButton->m_nID != 0 && pButton->m_nID != static_cast<UINT>(-1) && !pButton->m_bNoReset);
    const BOOL bTextBelow = pButton->m_bTextBelow && IsHorizontal();
    const BOOL bBoth = (pButton->m_bText || bTextBelow) && pButton->m_bImage;
    const BOOL bTextOnly = !bBoth && pButton->m_bText && !pButton->m_bImage;
    check(QMXP_ID_CUSTOMIZE_IMAGE_AND_TEXT, bBoth);
    check(QMXP_ID_CUSTOMIZE_TEXT, bTextOnly);
    check(QMXP_ID_CUSTOMIZE_IMAGE, !bBoth && !bTextOnly);
    if (bTextBelow)
        enable(QMXP_ID_CUSTOMIZE_IMAGE, FALSE);
    if (IsMenuMode()) {
        for (UINT uiID : {QMXP_ID_CUSTOMIZE_IMAGE, QMXP_ID_CUSTOMIZE_TEXT, QMXP_ID_CUSTOMIZE_IMAGE_AND_TEXT})
            enable(uiID, FALSE);
        pButton->m_bText = TRUE;
    }
    const int iIndex = ButtonToIndex(pButton);
    enable(QMXP_ID_CUSTOMIZE_START_GROUP, iIndex > 0);
    const CQMXPToolbarButton* pPrev = GetButton(iIndex - 1);
    check(QMXP_ID_CUSTOMIZE_START_GROUP, iIndex > 0 && pPrev != nullptr && (pPrev->m_nStyle & TBBS_SEPARATOR));
    return TRUE;
}

BOOL CQMXPToolBar::RunAppearanceDialog(CQMXPToolbarButton* pButton) {
    CButtonAppearanceDlg dlg(pButton, m_pUserImages, this, 0, IsMenuMode());
    return dlg.DoModal() == IDOK;
}

void CQMXPToolBar::SetButtonDisplay(CQMXPToolbarButton* pButton, BOOL bImage, BOOL bText) {
    const BOOL bOldImage = pButton->m_bImage;
    const BOOL bOldText = pButton->m_bText;
    pButton->m_bImage = bImage;
    pButton->m_bText = bText;
    // A button without an image gets one from the user first; cancelling keeps its old look.
    if (bImage && pButton->GetImage() < 0 && !RunAppearanceDialog(pButton)) {
        pButton->m_bImage = bOldImage;
        pButton->m_bText = bOldText;
    } else if (pButton->m_bText && pButton->m_strText.IsEmpty()) {
        SetDefaultButtonText(pButton);
        if (pButton->m_strText.IsEmpty()) {
            ::MessageBeep(static_cast<UINT>(-1));
            pButton->m_bText = FALSE;
            pButton->m_bImage = TRUE;
        }
    }
    AdjustLayout();
    Invalidate();
}

void CQMXPToolBar::InsertNewMenuButton() {
    auto* pNew = new CQMXPToolbarMenuButton;
    pNew->m_bText = TRUE;
    pNew->m_bImage = FALSE;
    const int iIndex = RunAppearanceDialog(pNew) ? InsertButton(pNew, m_iSelected) : -1;
    if (iIndex < 0) {
        delete pNew;
        return;
    }
    InvalidateButton(m_iSelected);
    m_iSelected = iIndex;
    m_pSelToolbar = this;
    AdjustLayout();
    Invalidate();
    UpdateWindow();
    pNew->OpenPopupMenu(this);
}

void CQMXPToolBar::OnCustomizeCommand(UINT nID) {
    if (nID == QMXP_ID_CUSTOMIZE_NEW_MENU) {
        InsertNewMenuButton();
        return;
    }
    CQMXPToolbarButton* pButton = GetButton(m_iSelected);
    if (pButton == nullptr)
        return;
    switch (nID) {
    case QMXP_ID_CUSTOMIZE_RESET: {
        if (qmxUserToolsManager != nullptr && qmxUserToolsManager->IsUserToolCmd(pButton->m_nID))
            break;
        int iImage = -1;
        if (m_DefaultImages.Lookup(pButton->m_nID, iImage)) {
            pButton->m_bUserButton = FALSE;
            pButton->SetImage(iImage);
            pButton->m_bImage = TRUE;
        } else {
            pButton->m_bImage = FALSE;
        }
        pButton->m_bText = IsMenuMode() || !pButton->m_bImage;
        SetDefaultButtonText(pButton);
        AdjustLayout();
        QMXTheCommandManager()->EnableCommandImage(pButton->m_nID, TRUE);
        Invalidate();
        break;
    }
    case QMXP_ID_CUSTOMIZE_COPY_IMAGE: {
        CWaitCursor wait;
        CQMXPUserTool* pTool = !pButton->m_bUserButton && qmxUserToolsManager != nullptr
                                   ? qmxUserToolsManager->LookupTool(pButton->m_nID)
                                   : nullptr;
        CQMXPToolBarImages* pImages = pButton->m_bUserButton ? m_pUserImages : &m_Images;
        if (pTool != nullptr)
            pTool->CopyIconToClipboard();
        else if (pImages != nullptr)
            pImages->CopyImageToClipboard(pButton->GetImage());
        break;
    }
    case QMXP_ID_CUSTOMIZE_DELETE:
        DeleteSelectedButton();
        Invalidate();
        break;
    case QMXP_ID_CUSTOMIZE_APPEARANCE:
        if (pButton->m_strText.IsEmpty())
            SetDefaultButtonText(pButton);
        if (RunAppearanceDialog(pButton)) {
            AdjustLayout();
            Invalidate();
        }
        break;
    case QMXP_ID_CUSTOMIZE_IMAGE:
        SetButtonDisplay(pButton, TRUE, FALSE);
        break;
    case QMXP_ID_CUSTOMIZE_TEXT:
        SetButtonDisplay(pButton, FALSE, TRUE);
        break;
    case QMXP_ID_CUSTOMIZE_IMAGE_AND_TEXT:
        SetButtonDisplay(pButton, TRUE, TRUE);
        break;
    case QMXP_ID_CUSTOMIZE_START_GROUP:
        ToggleBeginGroup();
        Invalidate();
        break;
    default:
        break;
    }
}
