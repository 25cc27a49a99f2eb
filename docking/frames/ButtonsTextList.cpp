#include "docking/frames/ButtonsTextList.h"

#include "docking/frames/QMXPToolbarDropSource.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "docking/toolbars/QMXPToolbarButton.h"
#include "docking/toolbars/QMXPVisualManager.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/OleDataSource.h"
#include "platform/classlib/WinApp.h"

namespace {
// Room around the image of a row.
constexpr int kItemMargin = 6;
constexpr UINT kCursorRemove = 16133;
}  // namespace

IMPLEMENT_DYNAMIC(CButtonsTextList, CListBox)

BEGIN_MESSAGE_MAP(CButtonsTextList, CListBox)
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

CButtonsTextList::CButtonsTextList()
    : m_iItemWidth(CQMXPToolBar::m_sizeImage.cx + kItemMargin),
      m_iItemHeight(CQMXPToolBar::m_sizeImage.cy + kItemMargin) {}

void CButtonsTextList::PreSubclassWindow() {
    CListBox::PreSubclassWindow();
    if (GetItemHeight(0) < m_iItemHeight)
        SetItemHeight(0, static_cast<UINT>(m_iItemHeight));
}

CQMXPToolbarButton* CButtonsTextList::GetButton(int nIndex) const {
    const DWORD_PTR dwData = GetItemData(nIndex);
    return dwData == static_cast<DWORD_PTR>(LB_ERR) ? nullptr : reinterpret_cast<CQMXPToolbarButton*>(dwData);
}

void CButtonsTextList::MeasureItem(LPMEASUREITEMSTRUCT lpMIS) {
    if (lpMIS->itemHeight < static_cast<UINT>(m_iItemHeight))
        lpMIS->itemHeight = static_cast<UINT>(m_iItemHeight);
}

void CButtonsTextList::DrawItem(LPDRAWITEMSTRUCT lpDIS) {
    if (lpDIS->itemID == static_cast<UINT>(-1))
        return;
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    CRect rect(lpDIS->rcItem);
    const auto nIndex = static_cast<int>(lpDIS->itemID);
    const BOOL bSelected = (lpDIS->itemState & ODS_SELECTED) != 0;
    CQMXPVisualManager::GetInstance()->OnFillCommandsListBackground(pDC, rect, bSelected);
    CQMXPToolbarButton* pButton = GetButton(nIndex);
    if (pButton != nullptr) {
        // The row shows the list's text (a custom text in some categories).
        CString strRow;
        GetText(nIndex, strRow);
        const CString strText = pButton->m_strText;
        pButton->m_strText = strRow;
        CQMXPToolBarImages* pImages =
            pButton->m_bUserButton && CQMXPToolBar::m_pUserImages != nullptr ? CQMXPToolBar::m_pUserImages
                                                                              : &CQMXPToolBar::m_Images;
        pButton->OnDrawInList(pDC, rect, pImages, bSelected);
        pButton->m_strText = strText;
    }
    if (lpDIS->itemState & ODS_FOCUS) {
        rect.DeflateRect(1, 1);
        pDC->DrawFocusRect(&rect);
    }
}

BOOL CButtonsTextList::OnEraseBkgnd(CDC* pDC) {
    CRect rectClient;
    GetClientRect(&rectClient);
    CQMXPVisualManager::GetInstance()->OnFillCommandsListBackground(pDC, rectClient);
    return TRUE;
}

void CButtonsTextList::OnLButtonDown(UINT, CPoint point) {
    // The press selects the command under it; holding it and moving drags
    // that command, whether or not it was selected before.
    Default();
    BOOL bOutside = FALSE;
    const auto nIndex = static_cast<int>(ItemFromPoint(point, bOutside));
    CRect rectItem;
    if (bOutside || nIndex != GetCurSel() || GetItemRect(nIndex, &rectItem) == LB_ERR || !rectItem.PtInRect(point))
        return;
    CQMXPToolbarButton* pButton = GetButton(nIndex);
    if (pButton == nullptr)
        return;
    if (GetCapture() == this)
        ::ReleaseCapture();
    auto* pSource = new COleDataSource;
    pButton->m_bDragFromCollection = TRUE;
    pButton->PutOnClipboard(pSource);
    pButton->m_bDragFromCollection = FALSE;
    ::SetCursor(::LoadCursorW(AfxGetResourceHandle(), MAKEINTRESOURCEW(kCursorRemove)));
    g_QMXPToolbarDropSource.m_bDeleteOnDrop = TRUE;
    g_QMXPToolbarDropSource.m_bEscapePressed = FALSE;
    ClientToScreen(&rectItem);
    pSource->DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE, &rectItem, &g_QMXPToolbarDropSource);
    pSource->InternalRelease();
}
