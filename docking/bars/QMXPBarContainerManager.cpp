#include "docking/bars/QMXPBarContainerManager.h"

#include "docking/bars/QMXPBarContainer.h"
#include "docking/bars/QMXPBaseTabbedBar.h"
#include "docking/bars/QMXPDockManager.h"
#include "docking/bars/QMXPDockingControlBar.h"
#include "docking/bars/QMXPGlobalUtils.h"
#include "docking/bars/QMXPSlider.h"
#include "docking/frames/QMXPMiniFrameWnd.h"
#include "docking/frames/QMXPMultiMiniFrameWnd.h"
#include "platform/classlib/Archive.h"
#include "platform/classlib/Exception.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(CQMXPBarContainerManager, CObject)

namespace {

// Pixels the default slider stays away from the far edge of the client area.
constexpr int kDockingMargin = 4;
constexpr UINT kTabbedBarID = 0xFFFFFFFF;

CQMXPDockingControlBar* PaneAt(const CObList& list, POSITION pos) {
    return static_cast<CQMXPDockingControlBar*>(list.GetAt(pos));
}

}  // namespace

CQMXPBarContainerManager::CQMXPBarContainerManager()
    : m_lstControlBars(10),
      m_lstSliders(10),
      m_pRootContainer(nullptr),
      m_pContainerRTC(nullptr),
      m_pDefaultSlider(nullptr),
      m_bDestroyRootContainer(TRUE),
      m_pDockSite(nullptr) {}

CQMXPBarContainerManager::~CQMXPBarContainerManager() {
    if (m_bDestroyRootContainer) {
        for (POSITION pos = m_lstSliders.GetHeadPosition(); pos != nullptr;)
            static_cast<CQMXPSlider*>(m_lstSliders.GetNext(pos))->SetContainerManager(nullptr);
        delete m_pRootContainer;
    }
    m_pRootContainer = nullptr;
    m_lstControlBars.RemoveAll();
    m_lstSliders.RemoveAll();
}

BOOL CQMXPBarContainerManager::Create(CWnd* pDockSite, CQMXPSlider* pDefaultSlider, CRuntimeClass* pContainerRTC) {
    m_pDockSite = pDockSite;
    m_pDefaultSlider = pDefaultSlider;
    m_pContainerRTC = pContainerRTC;
    m_pRootContainer = NewContainer(nullptr, nullptr, nullptr);
    return TRUE;
}

CQMXPBarContainer* CQMXPBarContainerManager::NewContainer(CQMXPDockingControlBar* pLeft, CQMXPDockingControlBar* pRight,
                                                          CQMXPSlider* pSlider) {
    if (m_pContainerRTC != nullptr) {
        CObject* pObject = m_pContainerRTC->CreateObject();
        auto* pNode = DYNAMIC_DOWNCAST(CQMXPBarContainer, pObject);
        if (pNode != nullptr) {
            pNode->m_pContainerManager = this;
            pNode->m_pBarLeftTop = pLeft;
            pNode->m_pBarRightBottom = pRight;
            pNode->m_pSlider = pSlider;
            return pNode;
        }
        delete pObject;
    }
    return new CQMXPBarContainer(this, pLeft, pRight, pSlider);
}

CQMXPDockManager* CQMXPBarContainerManager::GetDockManager() const {
    if (m_pDefaultSlider != nullptr)
        return qmxGlobalUtils.GetDockManager(m_pDefaultSlider->GetDockSiteFrameWnd());
    auto* pMiniFrame = DYNAMIC_DOWNCAST(CQMXPMiniFrameWnd, m_pDockSite);
    if (pMiniFrame != nullptr)
        return qmxGlobalUtils.GetDockManager(pMiniFrame->GetParentFrame());
    return qmxGlobalUtils.GetDockManager(m_pDockSite);
}

BOOL CQMXPBarContainerManager::IsAutoHideMode() const {
    return m_pDefaultSlider != nullptr && m_pDefaultSlider->IsAutoHideMode();
}

BOOL CQMXPBarContainerManager::IsListed(const CQMXPDockingControlBar* pBar) const {
    return pBar != nullptr && m_lstControlBars.Find(const_cast<CQMXPDockingControlBar*>(pBar)) != nullptr;
}

// Panes in, panes out ----------------------------------------------------------------

void CQMXPBarContainerManager::AddControlBar(CQMXPDockingControlBar* pBar) {
    if (m_pRootContainer == nullptr)
        m_pRootContainer = NewContainer(nullptr, nullptr, nullptr);
    m_pRootContainer->SetBar(pBar, TRUE);
    if (!IsListed(pBar))
        m_lstControlBars.AddTail(pBar);
}

void CQMXPBarContainerManager::WidenToMinSize(CRect& rect, CSize sizeMin) {
    rect.right = rect.left + std::max<int>(rect.Width(), sizeMin.cx);
    rect.bottom = rect.top + std::max<int>(rect.Height(), sizeMin.cy);
}

void CQMXPBarContainerManager::SplitRect(CRect& rectTarget, CRect& rectNew, CRect& rectSlider, DWORD dwAlignment,
                                         DWORD& dwSliderStyle) {
    const int s = CQMXPSlider::GetDefaultWidth();
    const BOOL bStacked = (dwAlignment & 0xA000) != 0;
    dwSliderStyle = bStacked ? QMXP_SS_HORZ : QMXP_SS_VERT;
    const int h = std::min<int>(rectNew.Height(), rectTarget.Height() / 2);
    const int w = std::min<int>(rectNew.Width(), rectTarget.Width() / 2);
    rectSlider = rectTarget;
    if (bStacked) {
        rectNew.left = rectTarget.left;
        rectNew.right = rectTarget.right;
    } else {
        rectNew.top = rectTarget.top;
        rectNew.bottom = rectTarget.bottom;
    }
    switch (dwAlignment & 0xF000) {
    case 0x4000:
        rectNew.left = rectTarget.right - w;
        rectNew.right = rectTarget.right;
        rectTarget.right = rectNew.left - s;
        rectSlider.left = rectTarget.right;
        rectSlider.right = rectNew.left;
        break;
    case 0x1000:
        rectNew.left = rectTarget.left;
        rectNew.right = rectTarget.left + w;
        rectTarget.left = rectNew.right + s;
        rectSlider.left = rectNew.right;
        rectSlider.right = rectTarget.left;
        break;
    case 0x2000:
        rectNew.top = rectTarget.top;
        rectNew.bottom = rectTarget.top + h;
        rectTarget.top = rectNew.bottom + s;
        rectSlider.top = rectNew.bottom;
        rectSlider.bottom = rectTarget.top;
        break;
    case 0x8000:
        rectNew.top = rectTarget.bottom - h;
        rectNew.bottom = rectTarget.bottom;
        rectTarget.bottom = rectNew.top - s;
        rectSlider.top = rectTarget.bottom;
        rectSlider.bottom = rectNew.top;
        break;
    default:
        break;
    }
}

CQMXPSlider* CQMXPBarContainerManager::CreateSlider(CRect rect, DWORD dwStyle, int nID) {
    for (POSITION pos = m_lstSliders.GetHeadPosition(); pos != nullptr && nID != -1;) {
        if (static_cast<int>(static_cast<CQMXPSlider*>(m_lstSliders.GetNext(pos))->GetSliderID()) == nID)
            nID = -1;
    }
    if (nID == -1)
        nID = CQMXPSlider::m_nNextSliderID++;
    else if (nID >= CQMXPSlider::m_nNextSliderID)
        CQMXPSlider::m_nNextSliderID = nID + 1;
    auto* pSlider = new CQMXPSlider(FALSE, m_pDockSite);
    if (!pSlider->CreateEx(0, dwStyle, rect, m_pDockSite, static_cast<UINT>(nID))) {
        delete pSlider;
        return nullptr;
    }
    pSlider->ShowWindow(SW_SHOW);
    pSlider->SetContainerManager(this);
    m_lstSliders.AddTail(pSlider);
    return pSlider;
}

BOOL CQMXPBarContainerManager::InsertControlBar(CQMXPDockingControlBar* pBar, CQMXPDockingControlBar* pTargetBar,
                                                DWORD dwAlignment) {
    POSITION posTarget = pTargetBar != nullptr ? m_lstControlBars.Find(pTargetBar) : nullptr;
    const DWORD dwSide = dwAlignment & 0xF000;
    if (posTarget == nullptr || m_pRootContainer == nullptr ||
        (dwSide != 0x1000 && dwSide != 0x2000 && dwSide != 0x4000 && dwSide != 0x8000))
        return FALSE;
    const BOOL bAfter = dwSide == 0x4000 || dwSide == 0x8000;
    CRect rectTarget;
    pTargetBar->GetWindowRect(&rectTarget);
    CRect rectBar;
    pBar->GetWindowRect(&rectBar);
    CSize sizeMin;
    pBar->GetMinSize(sizeMin);
    WidenToMinSize(rectBar, sizeMin);
    CRect rectSlider;
    DWORD dwSliderStyle = 0;
    SplitRect(rectTarget, rectBar, rectSlider, dwSide, dwSliderStyle);
    m_pDockSite->ScreenToClient(&rectTarget);
    m_pDockSite->ScreenToClient(&rectBar);
    m_pDockSite->ScreenToClient(&rectSlider);
    pTargetBar->MoveWindow(rectTarget, TRUE);
    pBar->MoveWindow(rectBar, TRUE);
    CQMXPSlider* pSlider = CreateSlider(rectSlider, dwSliderStyle);
    if (pSlider == nullptr)
        return FALSE;
    CQMXPBarContainer* pNode = bAfter ? NewContainer(pTargetBar, pBar, pSlider) : NewContainer(pBar, pTargetBar, pSlider);
    if (!m_pRootContainer->ReplaceBarByContainer(pNode, bAfter)) {
        delete pNode;
        return FALSE;
    }
    if (!IsListed(pBar)) {
        if (bAfter)
            m_lstControlBars.InsertAfter(posTarget, pBar);
        else
            m_lstControlBars.InsertBefore(posTarget, pBar);
    }
    return TRUE;
}

BOOL CQMXPBarContainerManager::InsertContainer(CQMXPDockingControlBar* pTargetBar, CQMXPBarContainer* pNode,
                                               DWORD dwAlignment) {
    if (m_pRootContainer == nullptr)
        return FALSE;
    CSize sizeMin;
    pNode->GetMinSize(sizeMin);
    CRect rectNode;
    pNode->GetWindowRect(rectNode, FALSE);
    WidenToMinSize(rectNode, sizeMin);
    CRect rectTarget;
    pTargetBar->GetWindowRect(&rectTarget);
    CRect rectSlider;
    DWORD dwSliderStyle = 0;
    SplitRect(rectTarget, rectNode, rectSlider, dwAlignment, dwSliderStyle);
    m_pDockSite->ScreenToClient(&rectTarget);
    m_pDockSite->ScreenToClient(&rectNode);
    m_pDockSite->ScreenToClient(&rectSlider);
    pTargetBar->MoveWindow(rectTarget, TRUE);
    HDWP hdwp = nullptr;
    pNode->ResizeContainer(rectNode, hdwp, TRUE);
    pNode->Move(rectNode.left, rectNode.top);
    CQMXPSlider* pSlider = CreateSlider(rectSlider, dwSliderStyle);
    if (pSlider == nullptr)
        return FALSE;
    const BOOL bTargetFirst = (dwAlignment & 0xC000) != 0;
    CQMXPBarContainer* pNew = NewContainer(bTargetFirst ? pTargetBar : nullptr, bTargetFirst ? nullptr : pTargetBar, pSlider);
    pNew->SetContainer(pNode, !bTargetFirst);
    pSlider->BringWindowToTop();
    if (!m_pRootContainer->ReplaceBarByContainer(pNew, bTargetFirst)) {
        pNew->SetContainer(nullptr, !bTargetFirst);
        delete pNew;
        return FALSE;
    }
    return TRUE;
}

BOOL CQMXPBarContainerManager::AddContainerManager(CQMXPDockingControlBar* pTargetBar, DWORD dwAlignment,
                                                   CQMXPBarContainerManager& other, BOOL bCopy) {
    CObList lstBars;
    CObList lstSliders;
    other.CollectVisible(lstBars, &lstSliders);
    if (m_pRootContainer == nullptr || other.m_pRootContainer == nullptr || !IsListed(pTargetBar) ||
        (m_pRootContainer->FindSubContainer(pTargetBar, 0) == nullptr &&
         m_pRootContainer->FindSubContainer(pTargetBar, 1) == nullptr))
        return FALSE;
    CQMXPBarContainer* pNode = nullptr;
    if (bCopy) {
        pNode = other.m_pRootContainer->CopyVisible(nullptr);
        other.RemoveVisible();
    } else {
        pNode = other.m_pRootContainer;
    }
    pNode->SetContainerManager(this, TRUE);
    qmxGlobalUtils.SetNewParent(lstBars, m_pDockSite, FALSE);
    qmxGlobalUtils.SetNewParent(lstSliders, m_pDockSite, FALSE);
    if (!InsertContainer(pTargetBar, pNode, dwAlignment)) {
        qmxGlobalUtils.SetNewParent(lstBars, other.m_pDockSite, FALSE);
        qmxGlobalUtils.SetNewParent(lstSliders, other.m_pDockSite, FALSE);
        return FALSE;
    }
    if (!bCopy) {
        other.m_bDestroyRootContainer = FALSE;
        other.m_pRootContainer = nullptr;
    }
    // Right and bottom: each pane right after the target, so that the last
    // one collected ends next to it; left and top: each right before it.
    POSITION posTarget = m_lstControlBars.Find(pTargetBar);
    const BOOL bAfter = (dwAlignment & 0x3000) == 0;
    for (POSITION pos = lstBars.GetHeadPosition(); pos != nullptr;) {
        CObject* pBar = lstBars.GetNext(pos);
        if (bAfter)
            m_lstControlBars.InsertAfter(posTarget, pBar);
        else
            m_lstControlBars.InsertBefore(posTarget, pBar);
    }
    for (POSITION pos = lstSliders.GetHeadPosition(); pos != nullptr;) {
        auto* pSlider = static_cast<CQMXPSlider*>(lstSliders.GetNext(pos));
        pSlider->SetContainerManager(this);
        if (m_lstSliders.Find(pSlider) == nullptr)
            m_lstSliders.AddTail(pSlider);
    }
    ShowBarCaptions(TRUE);
    for (POSITION pos = m_lstControlBars.GetHeadPosition(); pos != nullptr;)
        static_cast<CWnd*>(m_lstControlBars.GetNext(pos))->RedrawWindow(nullptr, nullptr,
                                                                       RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    CheckSliderVisibility();
    StorePercents();
    return TRUE;
}

BOOL CQMXPBarContainerManager::AddContainerManager(CQMXPBarContainerManager& other, BOOL) {
    CQMXPDockManager* pDockManager = GetDockManager();
    if (m_pRootContainer == nullptr || other.m_pRootContainer == nullptr || pDockManager == nullptr)
        return FALSE;
    m_lstControlBars.RemoveAll();
    m_lstSliders.RemoveAll();
    other.CollectVisible(m_lstControlBars, &m_lstSliders);
    CQMXPBarContainer* pCopy = other.m_pRootContainer->CopyVisible(m_pRootContainer);
    other.RemoveVisible();
    m_pRootContainer->SetContainer(pCopy, TRUE);
    pCopy->SetContainerManager(this, TRUE);
    // Each pane first keeps its place on the screen; the following layout places it.
    qmxGlobalUtils.SetNewParent(m_lstControlBars, m_pDockSite, FALSE);
    qmxGlobalUtils.SetNewParent(m_lstSliders, m_pDockSite, FALSE);
    for (POSITION pos = m_lstSliders.GetHeadPosition(); pos != nullptr;)
        static_cast<CQMXPSlider*>(m_lstSliders.GetNext(pos))->SetContainerManager(this);
    const DWORD dwAlignment = m_pDefaultSlider != nullptr ? m_pDefaultSlider->GetCurrentAlignment() : 0;
    for (POSITION pos = m_lstControlBars.GetHeadPosition(); pos != nullptr;) {
        auto* pBar = static_cast<CQMXPDockingControlBar*>(m_lstControlBars.GetNext(pos));
        pBar->SetDefaultSlider(m_pDefaultSlider != nullptr ? m_pDefaultSlider->GetSafeHwnd() : nullptr);
        pBar->SetCurrentAlignment(dwAlignment);
        pDockManager->AddControlBar(pBar);
        pBar->ShowCaption(TRUE);
    }
    CheckSliderVisibility();
    StorePercents();
    return TRUE;
}

BOOL CQMXPBarContainerManager::AddContainerManagerToTabWnd(CQMXPDockingControlBar* pTargetBar,
                                                           CQMXPBarContainerManager& other) {
    if (!IsListed(pTargetBar) || m_pRootContainer == nullptr ||
        (m_pRootContainer->FindSubContainer(pTargetBar, 0) == nullptr &&
         m_pRootContainer->FindSubContainer(pTargetBar, 1) == nullptr))
        return FALSE;
    CObList lstBars;
    other.CollectVisible(lstBars, nullptr);
    CQMXPDockingControlBar* pTarget = pTargetBar;
    for (POSITION pos = lstBars.GetHeadPosition(); pos != nullptr;) {
        auto* pBar = static_cast<CQMXPDockingControlBar*>(lstBars.GetNext(pos));
        CQMXPDockingControlBar* pTabbedBar = nullptr;
        if (pBar->AttachToTabWnd(pTarget, QMXP_DM_MOUSE, TRUE, &pTabbedBar) == nullptr)
            return FALSE;
        if (pTabbedBar != nullptr)
            pTarget = pTabbedBar;
    }
    return TRUE;
}

CQMXPDockingControlBar* CQMXPBarContainerManager::AddControlBarToRecentContainer(CQMXPDockingControlBar* pBar,
                                                                                  CQMXPBarContainer* pNode) {
    if (m_pRootContainer == nullptr || pNode == nullptr || m_pRootContainer->FindSubContainer(pNode, 3) == nullptr)
        return nullptr;
    // A node whose slider went with a docked copy gets one like it again.
    auto giveSlider = [this](CQMXPBarContainer* pWithout) {
        if (pWithout->m_pSlider != nullptr || pWithout->m_dwSavedSliderStyle == 0)
            return;
        pWithout->m_pSlider = CreateSlider(pWithout->m_rectSavedSlider, pWithout->m_dwSavedSliderStyle);
    };
    if (!pNode->IsContainerEmpty()) {
        giveSlider(pNode);
    } else {
        for (CQMXPBarContainer* pUp = pNode; pUp != nullptr; pUp = pUp->m_pParentContainer)
            giveSlider(pUp);
    }
    const BOOL bForDocked = !m_pDockSite->IsKindOf(RUNTIME_CLASS(CQMXPMiniFrameWnd));
    CList<DWORD, DWORD> lstSiblings;
    lstSiblings.AddTail(pBar->GetRecentDockInfo().GetRecentListOfBars(bForDocked));
    CQMXPDockingControlBar* pResult = pNode->AddRecentControlBar(pBar);
    if (pResult != pBar)
        return pResult;
    CheckSliderVisibility();
    if (IsListed(pBar))
        return pBar;
    // After the nearest sibling before it that is still listed, else first.
    POSITION posOwn = lstSiblings.Find(static_cast<DWORD>(reinterpret_cast<UINT_PTR>(pBar->GetSafeHwnd())));
    POSITION posAfter = nullptr;
    if (posOwn != nullptr) {
        POSITION pos = posOwn;
        lstSiblings.GetPrev(pos);
        while (pos != nullptr && posAfter == nullptr) {
            const HWND hSibling = reinterpret_cast<HWND>(static_cast<UINT_PTR>(lstSiblings.GetPrev(pos)));
            for (POSITION posBar = m_lstControlBars.GetHeadPosition(); posBar != nullptr; m_lstControlBars.GetNext(posBar)) {
                if (PaneAt(m_lstControlBars, posBar)->GetSafeHwnd() == hSibling) {
                    posAfter = posBar;
                    break;
                }
            }
        }
    }
    if (posAfter != nullptr)
        m_lstControlBars.InsertAfter(posAfter, pBar);
    else
        m_lstControlBars.AddHead(pBar);
    return pBar;
}

BOOL CQMXPBarContainerManager::RemoveControlBarFromContainer(CQMXPDockingControlBar* pBar) {
    BOOL bLeft = FALSE;
    CQMXPBarContainer* pNode = FindContainer(pBar, bLeft);
    if (pNode == nullptr)
        return FALSE;
    pNode->DeleteControlBarFromSide(pBar, bLeft ? 0 : 1);
    CheckSliderVisibility();
    POSITION posBar = m_lstControlBars.Find(pBar);
    if (posBar != nullptr) {
        CList<DWORD, DWORD> lstSiblings;
        for (POSITION pos = m_lstControlBars.GetHeadPosition(); pos != nullptr;)
            lstSiblings.AddTail(static_cast<DWORD>(
                reinterpret_cast<UINT_PTR>(static_cast<CWnd*>(m_lstControlBars.GetNext(pos))->GetSafeHwnd())));
        const BOOL bForDocked = !m_pDockSite->IsKindOf(RUNTIME_CLASS(CQMXPMiniFrameWnd));
        pBar->GetRecentDockInfo().SetRecentList(lstSiblings, bForDocked);
        m_lstControlBars.RemoveAt(posBar);
    }
    return TRUE;
}

BOOL CQMXPBarContainerManager::ReplaceControlBar(CQMXPDockingControlBar* pOld, CQMXPDockingControlBar* pNew) {
    POSITION pos = m_lstControlBars.Find(pOld);
    if (pos == nullptr) {
        m_lstControlBars.AddTail(pNew);
        return TRUE;
    }
    BOOL bLeft = FALSE;
    CQMXPBarContainer* pNode = FindContainer(pOld, bLeft);
    if (pNode != nullptr)
        pNode->SetBar(pNew, bLeft);
    m_lstControlBars.InsertAfter(pos, pNew);
    m_lstControlBars.RemoveAt(pos);
    return TRUE;
}

// Geometry ---------------------------------------------------------------------------

void CQMXPBarContainerManager::GetWindowRect(CRect& rect) const {
    rect.SetRectEmpty();
    if (m_pRootContainer != nullptr)
        m_pRootContainer->GetWindowRect(rect, FALSE);
}

void CQMXPBarContainerManager::GetAvailableSpace(CRect& rect) const {
    GetWindowRect(rect);
    CRect rectUsed;
    auto addWindows = [&rectUsed](const CObList& list) {
        for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
            CRect rectOne;
            static_cast<CWnd*>(list.GetNext(pos))->GetWindowRect(&rectOne);
            rectUsed.UnionRect(rectUsed, rectOne);
        }
    };
    addWindows(m_lstControlBars);
    addWindows(m_lstSliders);
    rect.SubtractRect(rect, rectUsed);
}

void CQMXPBarContainerManager::ResizeBarContainers(CRect rect, HDWP& hdwp) {
    if (m_pRootContainer != nullptr)
        m_pRootContainer->ResizeContainer(rect, hdwp, FALSE);
}

void CQMXPBarContainerManager::StretchBarContainers(int nEdge, BOOL bGrow, int nAmount, HDWP& hdwp) {
    if (m_pRootContainer != nullptr)
        m_pRootContainer->StretchContainer(bGrow ? nAmount : -nAmount, nEdge == 1 || nEdge == 2, TRUE, TRUE, hdwp);
}

int CQMXPBarContainerManager::OnMoveSlider(CQMXPSlider* pSlider, int nOffset, HDWP& hdwp) {
    if (m_pRootContainer == nullptr)
        return 0;
    if (pSlider != m_pDefaultSlider) {
        CQMXPBarContainer* pNode = m_pRootContainer->FindSubContainer(pSlider, 2);
        if (pNode != nullptr)
            pNode->MoveSlider(nOffset, hdwp);
        return 0;
    }
    // The default slider moves the edge of the whole tree that faces it.
    CRect rect;
    GetWindowRect(rect);
    CSize sizeMin;
    GetMinSize(sizeMin);
    switch (pSlider->GetCurrentAlignment() & 0xF000) {
    case 0x8000:
        rect.top = std::min<int>(rect.top + nOffset, rect.bottom - sizeMin.cy);
        break;
    case 0x4000:
        rect.left = std::min<int>(rect.left + nOffset, rect.right - sizeMin.cx);
        break;
    case 0x1000:
        rect.right = std::max<int>(rect.right + nOffset, rect.left + sizeMin.cx);
        break;
    case 0x2000:
        rect.bottom = std::max<int>(rect.bottom + nOffset, rect.top + sizeMin.cy);
        break;
    default:
        break;
    }
    m_pDockSite->ScreenToClient(&rect);
    ResizeBarContainers(rect, hdwp);
    return 0;
}

void CQMXPBarContainerManager::GetMinMaxOffset(CQMXPSlider* pSlider, int& nMinOffset, int& nMaxOffset, int& nStep) {
    nMinOffset = nMaxOffset = 0;
    nStep = -1;
    if (m_pRootContainer == nullptr || pSlider == nullptr)
        return;
    CRect rectSlider;
    pSlider->GetWindowRect(&rectSlider);
    if (pSlider != m_pDefaultSlider) {
        CQMXPBarContainer* pNode = m_pRootContainer->FindSubContainer(pSlider, 2);
        if (pNode == nullptr)
            return;
        CRect rectNode;
        pNode->GetWindowRect(rectNode, FALSE);
        CSize sizeLeft;
        CSize sizeRight;
        pNode->GetMinSizeLeft(sizeLeft);
        pNode->GetMinSizeRight(sizeRight);
        if (pSlider->IsHorizontal()) {
            nMinOffset = rectNode.top + sizeLeft.cy - rectSlider.top + 1;
            nMaxOffset = rectNode.bottom - sizeRight.cy - rectSlider.bottom - 1;
        } else {
            nMinOffset = rectNode.left + sizeLeft.cx - rectSlider.left + 1;
            nMaxOffset = rectNode.right - sizeRight.cx - rectSlider.right - 1;
        }
        nStep = pNode->GetResizeStep();
        return;
    }
    CRect rectRoot;
    GetWindowRect(rectRoot);
    CSize sizeMin;
    GetMinSize(sizeMin);
    rectRoot.DeflateRect(sizeMin.cx, sizeMin.cy);
    CRect rectClient;
    CQMXPDockManager* pDockManager = GetDockManager();
    if (pDockManager != nullptr && pDockManager->GetDockSiteFrameWnd() != nullptr) {
        pDockManager->GetClientAreaBounds(rectClient);
        pDockManager->GetDockSiteFrameWnd()->ClientToScreen(&rectClient);
    }
    rectClient.DeflateRect(kDockingMargin, kDockingMargin);
    switch (pSlider->GetCurrentAlignment() & 0xF000) {
    case 0x1000:
        nMinOffset = rectRoot.left - rectSlider.left + 1;
        nMaxOffset = rectClient.right - rectSlider.right - 1;
        break;
    case 0x2000:
        nMinOffset = rectRoot.top - rectSlider.top + 1;
        nMaxOffset = rectClient.bottom - rectSlider.bottom - 1;
        break;
    case 0x4000:
        nMinOffset = rectClient.left - rectSlider.left + 1;
        nMaxOffset = rectRoot.right - rectSlider.right - 1;
        break;
    case 0x8000:
        nMinOffset = rectClient.top - rectSlider.top + 1;
        nMaxOffset = rectRoot.bottom - rectSlider.bottom - 1;
        break;
    default:
        break;
    }
    nStep = m_pRootContainer->GetResizeStep();
}

void CQMXPBarContainerManager::GetMinSize(CSize& size) const {
    size = CSize(0, 0);
    if (m_pRootContainer != nullptr)
        m_pRootContainer->GetMinSize(size);
}

// Visibility and captions ---------------------------------------------------------------

BOOL CQMXPBarContainerManager::OnShowControlBar(CQMXPDockingControlBar*, BOOL) {
    CheckSliderVisibility();
    return IsRootContainerVisible();
}

BOOL CQMXPBarContainerManager::IsRootContainerVisible() const {
    return m_pRootContainer != nullptr && m_pRootContainer->HasVisibleBars();
}

int CQMXPBarContainerManager::GetVisibleBarCount() const {
    int nCount = 0;
    for (POSITION pos = m_lstControlBars.GetHeadPosition(); pos != nullptr;) {
        if (static_cast<CWnd*>(m_lstControlBars.GetNext(pos))->GetStyle() & WS_VISIBLE)
            ++nCount;
    }
    return nCount;
}

void CQMXPBarContainerManager::ShowBarCaptions(BOOL bShow) {
    for (POSITION pos = m_lstControlBars.GetHeadPosition(); pos != nullptr;)
        static_cast<CQMXPDockingControlBar*>(m_lstControlBars.GetNext(pos))->ShowCaption(bShow);
}

void CQMXPBarContainerManager::HideAll() {
    for (const CObList* pList : {&m_lstControlBars, &m_lstSliders}) {
        for (POSITION pos = pList->GetHeadPosition(); pos != nullptr;)
            static_cast<CWnd*>(pList->GetNext(pos))->ShowWindow(SW_HIDE);
    }
}

BOOL CQMXPBarContainerManager::CanFloat() const {
    for (POSITION pos = m_lstControlBars.GetHeadPosition(); pos != nullptr;) {
        if (static_cast<CQMXPDockingControlBar*>(m_lstControlBars.GetNext(pos))->CanFloat())
            return TRUE;
    }
    return FALSE;
}

BOOL CQMXPBarContainerManager::AllowsInsertion() const {
    for (POSITION pos = m_lstControlBars.GetHeadPosition(); pos != nullptr;) {
        if (static_cast<CQMXPDockingControlBar*>(m_lstControlBars.GetNext(pos))->IsInsertTarget())
            return TRUE;
    }
    return FALSE;
}

CQMXPDockingControlBar* CQMXPBarContainerManager::ControlBarFromPoint(CPoint point, int nSensitivity, BOOL bExactBar,
                                                                      BOOL& bIsTabArea, BOOL& bCaption) const {
    bIsTabArea = FALSE;
    bCaption = FALSE;
    for (POSITION pos = m_lstControlBars.GetHeadPosition(); pos != nullptr;) {
        auto* pBar = static_cast<CQMXPDockingControlBar*>(m_lstControlBars.GetNext(pos));
        // A hidden pane takes no drop.
        if (!(pBar->GetStyle() & WS_VISIBLE))
            continue;
        CRect rectTabTop;
        CRect rectTabBottom;
        pBar->GetTabArea(rectTabTop, rectTabBottom);
        if (rectTabTop.PtInRect(point) || rectTabBottom.PtInRect(point)) {
            bIsTabArea = TRUE;
            return pBar;
        }
        if (pBar->HitTest(point, TRUE) == HTCAPTION) {
            bCaption = TRUE;
            return pBar;
        }
        CRect rect;
        pBar->GetWindowRect(&rect);
        rect.top += pBar->GetCaptionHeight();
        rect.bottom -= rectTabBottom.Height();
        if (!rect.PtInRect(point))
            continue;
        CRect rectInner = rect;
        rectInner.DeflateRect(nSensitivity, nSensitivity);
        if (nSensitivity == 0 || !rectInner.PtInRect(point))
            return pBar;
    }
    if (bExactBar)
        return nullptr;
    for (POSITION pos = m_lstControlBars.GetHeadPosition(); pos != nullptr;) {
        auto* pBar = static_cast<CQMXPDockingControlBar*>(m_lstControlBars.GetNext(pos));
        if (!(pBar->GetStyle() & WS_VISIBLE))
            continue;
        CRect rect;
        pBar->GetWindowRect(&rect);
        rect.InflateRect(nSensitivity, nSensitivity);
        if (rect.PtInRect(point))
            return pBar;
    }
    return nullptr;
}

BOOL CQMXPBarContainerManager::IsPointInMiniFrameCaption(CPoint point, CQMXPDockingControlBar*& pBar) const {
    pBar = nullptr;
    auto* pMiniFrame = DYNAMIC_DOWNCAST(CQMXPMultiMiniFrameWnd, m_pDockSite);
    if (pMiniFrame == nullptr || GetVisibleBarCount() >= 2)
        return FALSE;
    CRect rectCaption;
    pMiniFrame->GetCaptionRect(rectCaption);
    CRect rectWindow;
    pMiniFrame->GetWindowRect(&rectWindow);
    rectCaption.OffsetRect(rectWindow.TopLeft());
    if (!rectCaption.PtInRect(point))
        return FALSE;
    pBar = GetFirstVisibleBar();
    return TRUE;
}

CQMXPDockingControlBar* CQMXPBarContainerManager::GetFirstBar() const {
    return m_lstControlBars.IsEmpty() ? nullptr : static_cast<CQMXPDockingControlBar*>(m_lstControlBars.GetHead());
}

CQMXPDockingControlBar* CQMXPBarContainerManager::GetFirstVisibleBar() const {
    for (POSITION pos = m_lstControlBars.GetHeadPosition(); pos != nullptr;) {
        auto* pBar = static_cast<CQMXPDockingControlBar*>(m_lstControlBars.GetNext(pos));
        if (pBar->GetStyle() & WS_VISIBLE)
            return pBar;
    }
    return nullptr;
}

void CQMXPBarContainerManager::SetBarsDockState(DWORD dwValue) {
    for (POSITION pos = m_lstControlBars.GetHeadPosition(); pos != nullptr;)
        static_cast<CQMXPDockingControlBar*>(m_lstControlBars.GetNext(pos))->SetDockState(dwValue);
}

void CQMXPBarContainerManager::RemoveSlider(CQMXPSlider* pSlider) {
    POSITION pos = m_lstSliders.Find(pSlider);
    if (pos == nullptr)
        return;
    m_lstSliders.RemoveAt(pos);
    pSlider->SetContainerManager(nullptr);
    CQMXPBarContainer* pNode = m_pRootContainer != nullptr ? m_pRootContainer->FindSubContainer(pSlider, 2) : nullptr;
    if (pNode != nullptr)
        pNode->m_pSlider = nullptr;
}

void CQMXPBarContainerManager::AdoptSlider(CQMXPSlider* pSlider) {
    pSlider->SetContainerManager(this);
    if (m_lstSliders.Find(pSlider) == nullptr)
        m_lstSliders.AddTail(pSlider);
}

void CQMXPBarContainerManager::StoreRecentDockInfo(CQMXPDockingControlBar* pBar) {
    BOOL bLeft = FALSE;
    CQMXPBarContainer* pNode = FindContainer(pBar, bLeft);
    if (pNode != nullptr)
        pNode->StoreRecentDockInfo(pBar);
}

CQMXPBarContainer* CQMXPBarContainerManager::FindContainer(const CQMXPDockingControlBar* pBar, BOOL& bLeft) const {
    if (m_pRootContainer == nullptr || pBar == nullptr)
        return nullptr;
    CQMXPBarContainer* pNode = m_pRootContainer->FindSubContainer(pBar, 0);
    bLeft = pNode != nullptr;
    if (pNode == nullptr)
        pNode = m_pRootContainer->FindSubContainer(pBar, 1);
    return pNode;
}

// The tree as a whole -------------------------------------------------------------------

int CQMXPBarContainerManager::GetNodeCount() const {
    return m_pRootContainer != nullptr ? m_pRootContainer->GetNodeCount() : 0;
}

int CQMXPBarContainerManager::GetTotalRefCount() const {
    return m_pRootContainer != nullptr ? m_pRootContainer->GetTotalRefCount() : 0;
}

CQMXPDockingControlBar* CQMXPBarContainerManager::FindTabbedBarBySiblingID(UINT nID) {
    return m_pRootContainer != nullptr ? m_pRootContainer->FindTabbedBarBySiblingID(nID) : nullptr;
}

BOOL CQMXPBarContainerManager::CheckAndRemoveNonValidBar(CQMXPDockingControlBar* pBar) {
    // A pane with a window is valid by its id; a tabbed bar (id -1) while it holds tabs.
    auto* pTabbedBar = DYNAMIC_DOWNCAST(CQMXPBaseTabbedBar, pBar);
    const BOOL bValid = ::IsWindow(pBar->GetSafeHwnd()) &&
                        (pBar->GetDlgCtrlID() != -1 || (pTabbedBar != nullptr && pTabbedBar->GetTabsNum() > 0));
    if (!bValid) {
        POSITION pos = m_lstControlBars.Find(pBar);
        if (pos != nullptr)
            m_lstControlBars.RemoveAt(pos);
    }
    return bValid;
}

void CQMXPBarContainerManager::RemoveNonValidBars() {
    if (m_pRootContainer != nullptr)
        m_pRootContainer->RemoveNonValidBars();
}

void CQMXPBarContainerManager::CollectVisible(CObList& lstBars, CObList* pLstSliders) const {
    for (POSITION pos = m_lstControlBars.GetHeadPosition(); pos != nullptr;) {
        CObject* pBar = m_lstControlBars.GetNext(pos);
        if (static_cast<CWnd*>(pBar)->GetStyle() & WS_VISIBLE)
            lstBars.AddTail(pBar);
    }
    if (pLstSliders == nullptr)
        return;
    for (POSITION pos = m_lstSliders.GetHeadPosition(); pos != nullptr;) {
        CObject* pSlider = m_lstSliders.GetNext(pos);
        if (static_cast<CWnd*>(pSlider)->GetStyle() & WS_VISIBLE)
            pLstSliders->AddTail(pSlider);
    }
}

void CQMXPBarContainerManager::RemoveVisible() {
    for (CObList* pList : {&m_lstControlBars, &m_lstSliders}) {
        for (POSITION pos = pList->GetHeadPosition(); pos != nullptr;) {
            POSITION posNow = pos;
            if (static_cast<CWnd*>(pList->GetNext(pos))->GetStyle() & WS_VISIBLE)
                pList->RemoveAt(posNow);
        }
    }
}

void CQMXPBarContainerManager::NotifyDefaultSlider() {
    if (m_pDefaultSlider != nullptr)
        m_pDefaultSlider->RemoveIfEmpty();
}

void CQMXPBarContainerManager::CheckSliderVisibility() {
    if (m_pRootContainer != nullptr)
        m_pRootContainer->CheckSliderVisibility();
}

void CQMXPBarContainerManager::StorePercents() {
    if (m_pRootContainer != nullptr)
        m_pRootContainer->StorePercents();
}

// The layout record ------------------------------------------------------------------------

void CQMXPBarContainerManager::Serialize(CArchive& ar) {
    CObject::Serialize(ar);
    if (m_pRootContainer == nullptr)
        m_pRootContainer = NewContainer(nullptr, nullptr, nullptr);
    if (ar.IsStoring()) {
        m_pRootContainer->ReleaseEmptyContainers();
        m_pRootContainer->Serialize(ar);
        // A tabbed bar is named by its first tab; one without tabs writes nothing, so it is not counted.
        CObList lstStored;
        for (POSITION pos = m_lstControlBars.GetHeadPosition(); pos != nullptr;) {
            auto* pBar = static_cast<CQMXPDockingControlBar*>(m_lstControlBars.GetNext(pos));
            if (pBar->GetSafeHwnd() == nullptr)
                continue;
            auto* pTabbedBar = DYNAMIC_DOWNCAST(CQMXPBaseTabbedBar, pBar);
            if (static_cast<UINT>(pBar->GetDlgCtrlID()) != kTabbedBarID ||
                (pTabbedBar != nullptr && pTabbedBar->GetTabsNum() > 0 && pTabbedBar->GetTabWnd(0) != nullptr))
                lstStored.AddTail(pBar);
        }
        ar << static_cast<UINT>(lstStored.GetCount());
        for (POSITION pos = lstStored.GetHeadPosition(); pos != nullptr;) {
            auto* pBar = static_cast<CWnd*>(lstStored.GetNext(pos));
            const UINT nID = static_cast<UINT>(pBar->GetDlgCtrlID());
            ar << nID;
            if (nID == kTabbedBarID)
                ar << static_cast<UINT>(static_cast<CQMXPBaseTabbedBar*>(pBar)->GetTabWnd(0)->GetDlgCtrlID());
        }
        return;
    }
    m_pRootContainer->Serialize(ar);
    CQMXPDockManager* pDockManager = GetDockManager();
    if (pDockManager == nullptr)
        AfxThrowArchiveException(CArchiveException::genericException);
    UINT nCount = 0;
    ar >> nCount;
    for (UINT i = 0; i < nCount; ++i) {
        UINT nID = 0;
        ar >> nID;
        if (nID == kTabbedBarID) {
            UINT nFirstTabID = 0;
            ar >> nFirstTabID;
            CQMXPDockingControlBar* pTabbedBar = FindTabbedBarBySiblingID(nFirstTabID);
            if (pTabbedBar != nullptr && !IsListed(pTabbedBar))
                m_lstControlBars.AddTail(pTabbedBar);
            continue;
        }
        auto* pBar = DYNAMIC_DOWNCAST(CQMXPDockingControlBar, pDockManager->FindBarByID(nID, TRUE));
        if (pBar != nullptr && !IsListed(pBar)) {
            m_lstControlBars.AddTail(pBar);
            m_pRootContainer->SetBarByID(nID, pBar);
        }
    }
}
