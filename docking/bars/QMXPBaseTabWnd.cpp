#include "docking/bars/QMXPBaseTabWnd.h"

#include "docking/bars/QMXPBaseTabbedBar.h"
#include "docking/bars/QMXPDockingCBWrapper.h"
#include "docking/frames/QMXPMiniFrameWnd.h"
#include "docking/bars/QMXPDockingControlBar.h"
#include "docking/bars/QMXPLibraryGlobals.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "platform/classlib/StringResource.h"
#include "platform/classlib/WinApp.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CQMXPBaseTabWnd, CWnd)

namespace {

// Room round a tab's text and image in the row.
constexpr int kTextMargin = 4;
constexpr int kImageMargin = 4;

}  // namespace

BEGIN_MESSAGE_MAP(CQMXPBaseTabWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_MOUSEMOVE()
    ON_WM_CANCELMODE()
END_MESSAGE_MAP()

CQMXPBaseTabWnd::CQMXPBaseTabWnd()
    : m_bEnableWrapper(FALSE),
      m_bActivateLastOnRemove(FALSE),
      m_bHighLightTabs(FALSE),
      m_location(QMXP_LOCATION_BOTTOM),
      m_iTabsNum(0),
      m_iActiveTab(-1),
      m_iTabBeforeDrag(-1),
      m_hImageList(nullptr),
      m_sizeImage(0, 0),
      m_iCurTab(-1),
      m_nNextTabID(1),
      m_nTabBorderSize(2),
      m_nTabsHeight(0),
      m_bAutoDestroyWindow(FALSE),
      m_bHideInactiveWindow(TRUE),
      m_iHighlighted(-1),
      m_iPressed(-1),
      m_bActivateOnBtnUp(FALSE),
      m_bEnableTabSwap(TRUE),
      m_bHideSingleTab(FALSE),
      m_clrActiveTabBk(static_cast<COLORREF>(-1)),
      m_clrActiveTabFg(static_cast<COLORREF>(-1)),
      m_bLabelNoPrefix(FALSE),
      m_iEditedTab(-1),
      m_pInPlaceEdit(nullptr),
      m_bIsInPlaceEdit(FALSE),
      m_bTabDragging(FALSE),
      m_ptDragStart(0, 0),
      m_nDragOffset(0),
      m_lstRestoredTabInfo(10),
      m_nRestoredActiveTab(0),
      m_nRestoredLocation(QMXP_LOCATION_BOTTOM),
      m_pWrapperRTC(nullptr) {}

CQMXPBaseTabWnd::~CQMXPBaseTabWnd() {
    // A window that never went through WM_DESTROY still owns its records.
    for (INT_PTR i = 0; i < m_arTabs.GetSize(); ++i)
        delete m_arTabs[i];
    m_arTabs.RemoveAll();
    delete m_pInPlaceEdit;
}

// Creation and clean-up ------------------------------------------------------------

int CQMXPBaseTabWnd::OnCreate(LPCREATESTRUCTW lpCreateStruct) {
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (QMXFindOwnerFrame(this) == nullptr)
        m_bEnableWrapper = FALSE;
    if (AfxOleIsInitialized()) {
        m_DropTarget.m_pOwner = this;
        m_DropTarget.Register(this);
    }
    return 0;
}

void CQMXPBaseTabWnd::OnDestroy() {
    if (m_pInPlaceEdit != nullptr)
        EndRename(FALSE);
    m_DropTarget.Revoke();
    CleanUp();
    CWnd::OnDestroy();
}

void CQMXPBaseTabWnd::CleanUp() {
    // The records leave the array before any window goes: a destroyed pane
    // takes its tab out of its tabbed bar, which must find nothing left to
    // remove here. Then every record is deleted, those of destroyed bars too.
    CArray<CQMXPTabInfo*, CQMXPTabInfo*> arTabs;
    arTabs.Copy(m_arTabs);
    m_arTabs.RemoveAll();
    m_iTabsNum = 0;
    m_iActiveTab = -1;
    if (m_bAutoDestroyWindow) {
        for (INT_PTR i = 0; i < arTabs.GetSize(); ++i) {
            CWnd* pWnd = arTabs[i]->m_pWnd;
            if (pWnd != nullptr && ::IsWindow(pWnd->GetSafeHwnd()))
                pWnd->DestroyWindow();
        }
    }
    for (INT_PTR i = 0; i < arTabs.GetSize(); ++i)
        delete arTabs[i];
}

// Images and heights ------------------------------------------------------------------

BOOL CQMXPBaseTabWnd::SetImageList(HIMAGELIST hImageList) {
    int cx = 0;
    int cy = 0;
    if (hImageList == nullptr || !::ImageList_GetIconSize(hImageList, &cx, &cy))
        return FALSE;
    m_hImageList = hImageList;
    m_sizeImage = CSize(cx, cy);
    SetTabsHeight();
    return TRUE;
}

BOOL CQMXPBaseTabWnd::SetImageList(UINT uiID, int cx, COLORREF clrTransp) {
    CBitmap bitmap;
    if (!bitmap.LoadBitmap(uiID))
        return FALSE;
    BITMAP bmp{};
    bitmap.GetObject(sizeof(bmp), &bmp);
    UINT nFlags = clrTransp == static_cast<COLORREF>(-1) ? 0 : ILC_MASK;
    switch (bmp.bmBitsPixel) {
    case 8:
        nFlags |= ILC_COLOR8;
        break;
    case 16:
        nFlags |= ILC_COLOR16;
        break;
    case 24:
        nFlags |= ILC_COLOR24;
        break;
    case 32:
        nFlags |= ILC_COLOR32;
        break;
    default:
        nFlags |= ILC_COLOR4;
        break;
    }
    m_Images.DeleteImageList();
    if (!m_Images.Create(cx, bmp.bmHeight, nFlags, 0, 0))
        return FALSE;
    m_Images.Add(&bitmap, clrTransp);
    m_sizeImage = CSize(cx, bmp.bmHeight);
    SetTabsHeight();
    return TRUE;
}

void CQMXPBaseTabWnd::SetTabsHeight() {
    m_nTabsHeight = std::max<int>(globalData.textHeight + 2 * kTextMargin, m_sizeImage.cy + 2 * kImageMargin);
}

CImageList* CQMXPBaseTabWnd::GetImageList() const {
    if (m_Images.GetSafeHandle() != nullptr)
        return const_cast<CImageList*>(&m_Images);
    return CImageList::FromHandle(m_hImageList);
}

void CQMXPBaseTabWnd::SetTabBorderSize(int nTabBorderSize, BOOL bRepaint) {
    m_nTabBorderSize = nTabBorderSize;
    if (bRepaint && GetSafeHwnd() != nullptr) {
        Invalidate();
        UpdateWindow();
    }
}

void CQMXPBaseTabWnd::HideSingleTab(BOOL bHide) {
    if (m_bHideSingleTab == bHide)
        return;
    m_bHideSingleTab = bHide;
    if (GetSafeHwnd() != nullptr)
        RecalcLayout();
}

void CQMXPBaseTabWnd::SetDrawOption(BOOL bNoPrefix, BOOL bRedraw) {
    m_bLabelNoPrefix = bNoPrefix;
    if (bRedraw && GetSafeHwnd() != nullptr)
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// Adding and removing tabs --------------------------------------------------------------

void CQMXPBaseTabWnd::AddTab(CWnd* pTabWnd, UINT uiResTabLabel, UINT uiImageId, BOOL bDetachable) {
    CString strLabel;
    AfxLoadStringResource(uiResTabLabel, strLabel);
    AddTab(pTabWnd, strLabel, uiImageId, bDetachable);
}

void CQMXPBaseTabWnd::AddTab(CWnd* pTabWnd, LPCWSTR lpszTabLabel, UINT uiImageId, BOOL bDetachable) {
    if (pTabWnd == nullptr || pTabWnd->GetDlgCtrlID() == -1)
        return;
    InsertTab(pTabWnd, lpszTabLabel, -1, uiImageId, bDetachable);
}

void CQMXPBaseTabWnd::InsertTab(CWnd* pNewWnd, UINT uiResTabLabel, int nInsertAt, UINT uiImageId,
                                BOOL bDetachable) {
    CString strLabel;
    AfxLoadStringResource(uiResTabLabel, strLabel);
    InsertTab(pNewWnd, strLabel, nInsertAt, uiImageId, bDetachable);
}

void CQMXPBaseTabWnd::InsertTab(CWnd* pNewWnd, LPCWSTR lpszTabLabel, int nInsertAt, UINT uiImageId,
                                BOOL bDetachable) {
    if (pNewWnd == nullptr)
        return;
    CWnd* pTabWnd = CreateWrapper(pNewWnd, lpszTabLabel, bDetachable);
    if (!(pTabWnd->GetStyle() & WS_VISIBLE))
        pTabWnd->ShowWindow(SW_SHOW);
    if (nInsertAt < 0 || nInsertAt > m_iTabsNum)
        nInsertAt = m_iTabsNum;
    CWnd* pWndActiveOld = GetActiveWnd();
    const BOOL bDetachableRecord = bDetachable && pTabWnd->IsKindOf(RUNTIME_CLASS(CQMXPDockingControlBar));
    auto* pTab = new CQMXPTabInfo(lpszTabLabel != nullptr ? lpszTabLabel : L"", uiImageId, pTabWnd, m_nNextTabID,
                                  bDetachableRecord);
    m_arTabs.InsertAt(nInsertAt, pTab);
    ++m_iTabsNum;
    // A tab inserted before the active one leaves that one active (at the
    // active index itself the new tab takes its place).
    if (nInsertAt < m_iActiveTab)
        ++m_iActiveTab;
    if (m_ToolTip.GetSafeHwnd() != nullptr) {
        const CRect rectEmpty(0, 0, 0, 0);
        m_ToolTip.AddTool(this, pTab->m_strText, rectEmpty, static_cast<UINT_PTR>(m_nNextTabID));
    }
    ++m_nNextTabID;
    RecalcLayout();

    if (m_iTabsNum == 1) {
        SetActiveTab(0);
    } else if (nInsertAt == m_iActiveTab) {
        if (m_bHideInactiveWindow && pWndActiveOld != nullptr)
            pWndActiveOld->ShowWindow(SW_HIDE);
        pTabWnd->ShowWindow(SW_SHOW);
    } else if (m_bHideInactiveWindow) {
        pTabWnd->ShowWindow(SW_HIDE);
    }
    if (!m_bHideInactiveWindow && pWndActiveOld != nullptr)
        pWndActiveOld->BringWindowToTop();
}

int CQMXPBaseTabWnd::VisibleTabNear(int iFrom) const {
    for (int i = iFrom; i < m_iTabsNum; ++i) {
        if (m_arTabs[i]->m_bVisible)
            return i;
    }
    for (int i = std::min(iFrom, m_iTabsNum) - 1; i >= 0; --i) {
        if (m_arTabs[i]->m_bVisible)
            return i;
    }
    return -1;
}

void CQMXPBaseTabWnd::NotifyActiveTabChanged(LPARAM lParam) {
    CWnd* pParent = GetParent();
    if (pParent != nullptr)
        pParent->SendMessage(QMXM_ONCHANGE_ACTIVE_TAB, static_cast<WPARAM>(m_iActiveTab), lParam);
}

BOOL CQMXPBaseTabWnd::RemoveTab(int iTab, BOOL bRecalcLayout) {
    if (!IsValidTab(iTab))
        return FALSE;
    if (m_iTabsNum == 1) {
        RemoveAllTabs();
        return TRUE;
    }
    CQMXPTabInfo* pTab = m_arTabs[iTab];
    if (m_ToolTip.GetSafeHwnd() != nullptr)
        m_ToolTip.DelTool(this, static_cast<UINT_PTR>(pTab->m_iTabID));
    m_arTabs.RemoveAt(iTab);
    --m_iTabsNum;
    if (m_bAutoDestroyWindow && pTab->m_pWnd != nullptr && ::IsWindow(pTab->m_pWnd->GetSafeHwnd()))
        pTab->m_pWnd->DestroyWindow();
    delete pTab;

    int iNewActive = -1;
    if (iTab <= m_iActiveTab) {
        if (m_bActivateLastOnRemove)
            GetLastVisibleTab(iNewActive);
        else
            iNewActive = VisibleTabNear(iTab);
        m_iActiveTab = -1;
    }
    if (bRecalcLayout) {
        RecalcLayout();
        if (iNewActive != -1) {
            SetActiveTab(iNewActive);
            NotifyActiveTabChanged();
        }
    }
    return TRUE;
}

void CQMXPBaseTabWnd::RemoveAllTabs() {
    CArray<CQMXPTabInfo*, CQMXPTabInfo*> arTabs;
    arTabs.Copy(m_arTabs);
    m_arTabs.RemoveAll();
    m_iTabsNum = 0;
    m_iActiveTab = -1;
    m_nNextTabID = 1;
    for (INT_PTR i = 0; i < arTabs.GetSize(); ++i) {
        CQMXPTabInfo* pTab = arTabs[i];
        if (m_ToolTip.GetSafeHwnd() != nullptr)
            m_ToolTip.DelTool(this, static_cast<UINT_PTR>(pTab->m_iTabID));
        if (m_bAutoDestroyWindow && pTab->m_pWnd != nullptr && ::IsWindow(pTab->m_pWnd->GetSafeHwnd()))
            pTab->m_pWnd->DestroyWindow();
        delete pTab;
    }
    RecalcLayout();
}

BOOL CQMXPBaseTabWnd::ShowTab(int iTab, BOOL bShow, BOOL bRecalcLayout, BOOL bActivate) {
    if (!IsValidTab(iTab))
        return FALSE;
    CQMXPTabInfo* pTab = m_arTabs[iTab];
    if (pTab->m_bVisible == bShow)
        return TRUE;
    const int nVisibleBefore = GetVisibleTabsNum();
    pTab->m_bVisible = bShow;
    int iCandidate = -1;
    const BOOL bWasActive = iTab == m_iActiveTab;
    if (bShow) {
        iCandidate = nVisibleBefore == 0 ? iTab : m_iActiveTab;
    } else {
        if (m_bHideInactiveWindow && pTab->m_pWnd != nullptr)
            pTab->m_pWnd->ShowWindow(SW_HIDE);
        if (bWasActive) {
            iCandidate = VisibleTabNear(iTab);
            m_iActiveTab = -1;
        }
    }
    if (bRecalcLayout)
        RecalcLayout();
    if (iCandidate != -1 && ((!bShow && bWasActive) || bActivate || nVisibleBefore == 0)) {
        SetActiveTab(iCandidate);
        NotifyActiveTabChanged();
    }
    return TRUE;
}

CWnd* CQMXPBaseTabWnd::CreateWrapper(CWnd* pWndToWrap, LPCWSTR lpszTabLabel, BOOL bDetachable) {
    if (pWndToWrap->IsKindOf(RUNTIME_CLASS(CQMXPDockingControlBar)) || !bDetachable || !m_bEnableWrapper)
        return pWndToWrap;
    CObject* pObject = m_pWrapperRTC != nullptr ? m_pWrapperRTC->CreateObject() : nullptr;
    auto* pWrapper = DYNAMIC_DOWNCAST(CQMXPDockingCBWrapper, pObject);
    if (pWrapper == nullptr) {
        delete pObject;
        pWrapper = new CQMXPDockingCBWrapper;
    }
    DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    auto* pBar = DYNAMIC_DOWNCAST(CQMXPBaseControlBar, pWndToWrap);
    if (pBar != nullptr)
        dwStyle |= pBar->GetBarStyle();
    CRect rectWrapped;
    pWndToWrap->GetWindowRect(&rectWrapped);
    ScreenToClient(&rectWrapped);
    if (!pWrapper->Create(lpszTabLabel, this, rectWrapped, TRUE, static_cast<UINT>(pWndToWrap->GetDlgCtrlID()),
                          dwStyle, 0x20)) {
        delete pWrapper;
        return pWndToWrap;
    }
    pWrapper->ShowCaption(FALSE);
    pWrapper->SetWrappedWnd(pWndToWrap);
    return pWrapper;
}

// Tab data ------------------------------------------------------------------------------

CQMXPTabInfo* CQMXPBaseTabWnd::GetTabInfo(int iTab) const { return IsValidTab(iTab) ? m_arTabs[iTab] : nullptr; }

int CQMXPBaseTabWnd::GetVisibleTabsNum() const {
    int nCount = 0;
    for (int i = 0; i < m_iTabsNum; ++i)
        nCount += m_arTabs[i]->m_bVisible ? 1 : 0;
    return nCount;
}

CWnd* CQMXPBaseTabWnd::GetTabWnd(int iTab) const { return IsValidTab(iTab) ? m_arTabs[iTab]->m_pWnd : nullptr; }

CWnd* CQMXPBaseTabWnd::GetTabContent(int iTab) const {
    CWnd* pWnd = GetTabWnd(iTab);
    auto* pWrapper = DYNAMIC_DOWNCAST(CQMXPDockingCBWrapper, pWnd);
    return pWrapper != nullptr ? pWrapper->GetWrappedWnd() : pWnd;
}

BOOL CQMXPBaseTabWnd::GetTabRect(int iTab, CRect& rect) const {
    if (!IsValidTab(iTab))
        return FALSE;
    if (!m_arTabs[iTab]->m_bVisible) {
        rect.SetRectEmpty();
        return FALSE;
    }
    rect = m_arTabs[iTab]->m_rect;
    return TRUE;
}

BOOL CQMXPBaseTabWnd::GetTabLabel(int iTab, CString& strLabel) const {
    if (!IsValidTab(iTab))
        return FALSE;
    strLabel = m_arTabs[iTab]->m_strText;
    return TRUE;
}

BOOL CQMXPBaseTabWnd::SetTabLabel(int iTab, const CString& strLabel) {
    if (!IsValidTab(iTab) || strLabel.IsEmpty())
        return FALSE;
    CQMXPTabInfo* pTab = m_arTabs[iTab];
    pTab->m_strText = strLabel;
    if (m_ToolTip.GetSafeHwnd() != nullptr) {
        TOOLINFOW info{};
        info.cbSize = sizeof(info);
        info.hwnd = m_hWnd;
        info.uId = static_cast<UINT_PTR>(pTab->m_iTabID);
        info.lpszText = const_cast<LPWSTR>(static_cast<LPCWSTR>(strLabel));
        m_ToolTip.SendMessage(TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
    }
    if (pTab->m_pWnd != nullptr && pTab->m_pWnd->GetSafeHwnd() != nullptr)
        pTab->m_pWnd->SetWindowText(strLabel);
    RecalcLayout();
    auto* pTabbedBar = DYNAMIC_DOWNCAST(CQMXPBaseTabbedBar, GetParent());
    if (iTab == m_iActiveTab && pTabbedBar != nullptr && pTabbedBar->IsSetCaptionTextToTabName()) {
        pTabbedBar->SetWindowText(strLabel);
        CWnd* pRedraw = pTabbedBar->IsDocked() ? static_cast<CWnd*>(pTabbedBar) : static_cast<CWnd*>(pTabbedBar->GetParentMiniFrame(TRUE));
        if (pRedraw != nullptr)
            pRedraw->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
    }
    return TRUE;
}

UINT CQMXPBaseTabWnd::GetTabIcon(int iTab) const {
    return IsValidTab(iTab) ? m_arTabs[iTab]->m_uiIcon : static_cast<UINT>(-1);
}

BOOL CQMXPBaseTabWnd::SetTabIcon(int iTab, UINT uiIcon) {
    if (!IsValidTab(iTab))
        return FALSE;
    m_arTabs[iTab]->SetIcon(nullptr);
    m_arTabs[iTab]->m_uiIcon = uiIcon;
    return TRUE;
}

BOOL CQMXPBaseTabWnd::SetTabHicon(int iTab, HICON hIcon) {
    if (!IsValidTab(iTab))
        return FALSE;
    m_arTabs[iTab]->SetIcon(hIcon);
    m_arTabs[iTab]->m_uiIcon = static_cast<UINT>(-1);
    m_sizeImage.cx = std::max(m_sizeImage.cx, globalData.GetSmallIconSize().cx);
    m_sizeImage.cy = std::max(m_sizeImage.cy, globalData.GetSmallIconSize().cy);
    return TRUE;
}

HICON CQMXPBaseTabWnd::GetTabHicon(int iTab) const { return IsValidTab(iTab) ? m_arTabs[iTab]->m_hIcon : nullptr; }

COLORREF CQMXPBaseTabWnd::GetTabBkColor(int iTab) const {
    return IsValidTab(iTab) ? m_arTabs[iTab]->m_clrBack : static_cast<COLORREF>(-1);
}

BOOL CQMXPBaseTabWnd::SetTabBkColor(int iTab, COLORREF color) {
    if (!IsValidTab(iTab))
        return FALSE;
    m_arTabs[iTab]->m_clrBack = color;
    return TRUE;
}

COLORREF CQMXPBaseTabWnd::GetTabTextColor(int iTab) const {
    return IsValidTab(iTab) ? m_arTabs[iTab]->m_clrText : static_cast<COLORREF>(-1);
}

BOOL CQMXPBaseTabWnd::SetTabTextColor(int iTab, COLORREF color) {
    if (!IsValidTab(iTab))
        return FALSE;
    m_arTabs[iTab]->m_clrText = color;
    return TRUE;
}

BOOL CQMXPBaseTabWnd::IsTabDetachable(int iTab) const {
    return IsValidTab(iTab) && m_arTabs[iTab]->m_bIsDetachable;
}

BOOL CQMXPBaseTabWnd::EnableTabDetach(int iTab, BOOL bEnable) {
    if (!IsValidTab(iTab))
        return FALSE;
    m_arTabs[iTab]->m_bIsDetachable = bEnable;
    return TRUE;
}

BOOL CQMXPBaseTabWnd::IsTabVisible(int iTab) const { return IsValidTab(iTab) && m_arTabs[iTab]->m_bVisible; }

CWnd* CQMXPBaseTabWnd::GetActiveWnd() const { return GetTabWnd(m_iActiveTab); }

int CQMXPBaseTabWnd::GetTabFromPoint(CPoint& pt) const {
    for (int i = 0; i < m_iTabsNum; ++i) {
        if (m_arTabs[i]->m_bVisible && m_arTabs[i]->m_rect.PtInRect(pt))
            return i;
    }
    return -1;
}

int CQMXPBaseTabWnd::GetTabFromHwnd(HWND hwnd) const {
    for (int i = 0; i < m_iTabsNum; ++i) {
        if (m_arTabs[i]->m_pWnd != nullptr && m_arTabs[i]->m_pWnd->GetSafeHwnd() == hwnd)
            return i;
    }
    return -1;
}

CWnd* CQMXPBaseTabWnd::GetFirstVisibleTab(int& iTabNum) const {
    for (int i = 0; i < m_iTabsNum; ++i) {
        if (m_arTabs[i]->m_bVisible) {
            iTabNum = i;
            return m_arTabs[i]->m_pWnd;
        }
    }
    iTabNum = -1;
    return nullptr;
}

CWnd* CQMXPBaseTabWnd::GetLastVisibleTab(int& iTabNum) const {
    for (int i = m_iTabsNum - 1; i >= 0; --i) {
        if (m_arTabs[i]->m_bVisible) {
            iTabNum = i;
            return m_arTabs[i]->m_pWnd;
        }
    }
    iTabNum = -1;
    return nullptr;
}

CSize CQMXPBaseTabWnd::GetMaxWindowSize() const {
    CSize sizeMax(0, 0);
    for (int i = 0; i < m_iTabsNum; ++i) {
        CWnd* pWnd = m_arTabs[i]->m_pWnd;
        if (pWnd == nullptr || pWnd->GetSafeHwnd() == nullptr)
            continue;
        CSize size;
        auto* pBar = DYNAMIC_DOWNCAST(CQMXPBaseControlBar, pWnd);
        if (pBar != nullptr) {
            size = pBar->CalcFixedLayout(FALSE, TRUE);
        } else {
            CRect rect;
            pWnd->GetWindowRect(&rect);
            size = rect.Size();
        }
        sizeMax.cx = std::max(sizeMax.cx, size.cx);
        sizeMax.cy = std::max(sizeMax.cy, size.cy);
    }
    return sizeMax;
}

void CQMXPBaseTabWnd::SetActiveTabColor(COLORREF clr) {
    m_clrActiveTabBk = clr;
    m_brActiveTab.DeleteObject();
    m_brActiveTab.CreateSolidBrush(GetActiveTabColor());
}

COLORREF CQMXPBaseTabWnd::GetActiveTabColor() const {
    return m_clrActiveTabBk == static_cast<COLORREF>(-1) ? ::GetSysColor(COLOR_WINDOW) : m_clrActiveTabBk;
}

COLORREF CQMXPBaseTabWnd::GetActiveTabTextColor() const {
    return m_clrActiveTabFg == static_cast<COLORREF>(-1) ? ::GetSysColor(COLOR_WINDOWTEXT) : m_clrActiveTabFg;
}

void CQMXPBaseTabWnd::InvalidateTab(int iTab) {
    if (IsValidTab(iTab) && GetSafeHwnd() != nullptr)
        InvalidateRect(&m_arTabs[iTab]->m_rect);
}
