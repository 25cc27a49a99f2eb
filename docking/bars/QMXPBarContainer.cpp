#include "docking/bars/QMXPBarContainer.h"

#include "docking/bars/QMXPBarContainerManager.h"
#include "docking/bars/QMXPBaseTabbedBar.h"
#include "docking/bars/QMXPDockingControlBar.h"
#include "docking/bars/QMXPSlider.h"
#include "docking/bars/QMXPTabWnd.h"
#include "platform/classlib/Archive.h"
#include "platform/classlib/Exception.h"

#include <algorithm>
#include <set>

IMPLEMENT_DYNCREATE(CQMXPBarContainer, CObject)

namespace {

std::set<const CQMXPBarContainer*>& LiveNodes() {
    static std::set<const CQMXPBarContainer*> s_nodes;
    return s_nodes;
}

void UnionWith(CRect& rect, const CRect& rectMore) {
    if (rectMore.IsRectEmpty())
        return;
    if (rect.IsRectEmpty())
        rect = rectMore;
    else
        rect.UnionRect(rect, rectMore);
}

BOOL IsShown(const CWnd* pWnd) { return pWnd != nullptr && (pWnd->GetStyle() & WS_VISIBLE) != 0; }

// A tabbed bar is a pane with the control id -1; it is stored with its tabs,
// and one that holds no tabs leaves an empty place.
constexpr UINT kTabbedBarID = 0xFFFFFFFF;

}  // namespace

CQMXPBarContainer::CQMXPBarContainer(CQMXPBarContainerManager* pManager, CQMXPDockingControlBar* pLeftBar,
                                     CQMXPDockingControlBar* pRightBar, CQMXPSlider* pSlider)
    : m_pBarLeftTop(pLeftBar),
      m_pBarRightBottom(pRightBar),
      m_pSlider(pSlider),
      m_pLeftContainer(nullptr),
      m_pRightContainer(nullptr),
      m_pParentContainer(nullptr),
      m_pContainerManager(pManager),
      m_nPercent(50),
      m_bSavedSliderHorz(FALSE),
      m_nRefCount(0),
      m_dwSavedSliderStyle(0),
      m_nSavedLeftBarID(static_cast<UINT>(-1)),
      m_nSavedRightBarID(static_cast<UINT>(-1)),
      m_nSavedSliderID(static_cast<UINT>(-1)),
      m_lstSavedSiblingBarIDsLeft(10),
      m_lstSavedSiblingBarIDsRight(10) {
    LiveNodes().insert(this);
}

CQMXPBarContainer::~CQMXPBarContainer() {
    LiveNodes().erase(this);
    CQMXPBarContainer* pChildren[] = {m_pLeftContainer, m_pRightContainer};
    m_pLeftContainer = nullptr;
    m_pRightContainer = nullptr;
    for (CQMXPBarContainer* pChild : pChildren)
        delete pChild;
    CQMXPSlider* pSlider = m_pSlider;
    m_pSlider = nullptr;
    if (pSlider != nullptr && !pSlider->IsDefault()) {
        CQMXPBarContainerManager* pManager = pSlider->GetContainerManager();
        if (pManager != nullptr)
            pManager->RemoveSlider(pSlider);
        // A slider deletes itself with its window; one that never got a window is deleted here.
        if (pSlider->GetSafeHwnd() != nullptr)
            pSlider->DestroyWindow();
        else
            delete pSlider;
    }
    m_lstSavedSiblingBarIDsLeft.RemoveAll();
    m_lstSavedSiblingBarIDsRight.RemoveAll();
}

BOOL CQMXPBarContainer::IsLive(const CQMXPBarContainer* pNode) { return LiveNodes().count(pNode) != 0; }

// Geometry ------------------------------------------------------------------

BOOL CQMXPBarContainer::IsAutoHide() const {
    return m_pContainerManager != nullptr && m_pContainerManager->IsAutoHideMode();
}

BOOL CQMXPBarContainer::IsBarShown(const CQMXPDockingControlBar* pBar) const {
    return pBar != nullptr && (IsShown(pBar) || IsAutoHide());
}

BOOL CQMXPBarContainer::IsChildShown(const CQMXPBarContainer* pNode) const {
    return pNode != nullptr && (pNode->HasVisibleBars() || (IsAutoHide() && !pNode->IsContainerEmpty()));
}

BOOL CQMXPBarContainer::IsSliderHorz() const {
    return m_pSlider != nullptr ? m_pSlider->IsHorizontal() : m_bSavedSliderHorz;
}

int CQMXPBarContainer::GetSliderThickness() const { return m_pSlider != nullptr ? m_pSlider->GetWidth() : 0; }

CWnd* CQMXPBarContainer::DockSite() const {
    return m_pContainerManager != nullptr ? m_pContainerManager->GetDockSite() : nullptr;
}

void CQMXPBarContainer::GetWindowRect(CRect& rect, BOOL bIgnoreVisibility) const {
    rect.SetRectEmpty();
    for (const CQMXPDockingControlBar* pBar : {m_pBarLeftTop, m_pBarRightBottom}) {
        if (pBar == nullptr || !(bIgnoreVisibility || IsBarShown(pBar)))
            continue;
        CRect rectBar;
        pBar->GetWindowRect(&rectBar);
        if (rectBar.IsRectEmpty()) {
            CSize sizeMin;
            pBar->GetMinSize(sizeMin);
            rectBar = CRect(rectBar.TopLeft(), sizeMin);
        }
        UnionWith(rect, rectBar);
    }
    for (const CQMXPBarContainer* pNode : {m_pLeftContainer, m_pRightContainer}) {
        if (pNode == nullptr || !(bIgnoreVisibility || IsChildShown(pNode)))
            continue;
        CRect rectNode;
        pNode->GetWindowRect(rectNode, bIgnoreVisibility);
        UnionWith(rect, rectNode);
    }
}

void CQMXPBarContainer::GetMinSize(CSize& size) const {
    CSize sizes[4] = {};
    if (IsBarShown(m_pBarLeftTop))
        m_pBarLeftTop->GetMinSize(sizes[0]);
    if (IsBarShown(m_pBarRightBottom))
        m_pBarRightBottom->GetMinSize(sizes[1]);
    if (IsChildShown(m_pLeftContainer))
        m_pLeftContainer->GetMinSize(sizes[2]);
    if (IsChildShown(m_pRightContainer))
        m_pRightContainer->GetMinSize(sizes[3]);
    const BOOL bSlider = m_pSlider != nullptr && (IsShown(m_pSlider) || IsAutoHide());
    if (bSlider) {
        const int nThickness = m_pSlider->GetWidth();
        size = CSize(0, 0);
        for (const CSize& one : sizes) {
            if (m_pSlider->IsHorizontal()) {
                size.cx = std::max<int>(size.cx, one.cx);
                size.cy += one.cy;
            } else {
                size.cy = std::max<int>(size.cy, one.cy);
                size.cx += one.cx;
            }
        }
        (m_pSlider->IsHorizontal() ? size.cy : size.cx) += nThickness;
        return;
    }
    size = CSize(std::max<int>(sizes[0].cx, sizes[1].cx), std::max<int>(sizes[0].cy, sizes[1].cy));
    if (m_pLeftContainer != nullptr)
        size = sizes[2];
    if (m_pRightContainer != nullptr)
        size = sizes[3];
}

void CQMXPBarContainer::GetMinSizeLeft(CSize& size) const {
    CSize sizeBar(0, 0);
    CSize sizeNode(0, 0);
    if (IsBarShown(m_pBarLeftTop))
        m_pBarLeftTop->GetMinSize(sizeBar);
    if (IsChildShown(m_pLeftContainer))
        m_pLeftContainer->GetMinSize(sizeNode);
    size = CSize(std::max<int>(sizeBar.cx, sizeNode.cx), std::max<int>(sizeBar.cy, sizeNode.cy));
}

void CQMXPBarContainer::GetMinSizeRight(CSize& size) const {
    CSize sizeBar(0, 0);
    CSize sizeNode(0, 0);
    if (IsBarShown(m_pBarRightBottom))
        m_pBarRightBottom->GetMinSize(sizeBar);
    if (IsChildShown(m_pRightContainer))
        m_pRightContainer->GetMinSize(sizeNode);
    size = CSize(std::max<int>(sizeBar.cx, sizeNode.cx), std::max<int>(sizeBar.cy, sizeNode.cy));
}

int CQMXPBarContainer::GetResizeStep() const {
    int nStep = -1;
    for (const CQMXPDockingControlBar* pBar : {m_pBarLeftTop, m_pBarRightBottom}) {
        if (pBar != nullptr)
            nStep = std::max(nStep, pBar->GetResizeStep());
    }
    for (const CQMXPBarContainer* pNode : {m_pLeftContainer, m_pRightContainer}) {
        if (pNode != nullptr)
            nStep = std::max(nStep, pNode->GetResizeStep());
    }
    return nStep;
}

void CQMXPBarContainer::FillNodeRect(CQMXPDockingControlBar* pExcept, BOOL bSkip) {
    CWnd* pDockSite = DockSite();
    if (bSkip || pDockSite == nullptr)
        return;
    CRect rect;
    GetWindowRect(rect, TRUE);
    pDockSite->ScreenToClient(&rect);
    CQMXPDockingControlBar* pBar = m_pBarLeftTop != nullptr && m_pBarLeftTop != pExcept ? m_pBarLeftTop
                                   : m_pBarRightBottom != pExcept                    ? m_pBarRightBottom
                                                                                     : nullptr;
    if (pBar != nullptr) {
        pBar->SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    HDWP hdwp = nullptr;
    if (m_pLeftContainer != nullptr)
        m_pLeftContainer->ResizeContainer(rect, hdwp, TRUE);
    else if (m_pRightContainer != nullptr)
        m_pRightContainer->ResizeContainer(rect, hdwp, TRUE);
}

void CQMXPBarContainer::Move(int x, int y) {
    CWnd* pDockSite = DockSite();
    CRect rectFirst;
    if (m_pBarLeftTop != nullptr) {
        m_pBarLeftTop->SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        m_pBarLeftTop->GetWindowRect(&rectFirst);
    }
    if (m_pLeftContainer != nullptr) {
        m_pLeftContainer->Move(x, y);
        m_pLeftContainer->GetWindowRect(rectFirst, TRUE);
    }
    const int w = rectFirst.Width();
    const int h = rectFirst.Height();
    CPoint ptSecond(x + w, y + h);
    if (m_pSlider != nullptr) {
        const CPoint ptSlider = m_pSlider->IsHorizontal() ? CPoint(x, y + h) : CPoint(x + w, y);
        m_pSlider->SetWindowPos(nullptr, ptSlider.x, ptSlider.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ptSecond = m_pSlider->IsHorizontal() ? CPoint(x, y + h + m_pSlider->GetWidth())
                                             : CPoint(x + w + m_pSlider->GetWidth(), y);
    }
    if (m_pBarRightBottom != nullptr)
        m_pBarRightBottom->SetWindowPos(nullptr, ptSecond.x, ptSecond.y, 0, 0,
                                        SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (m_pRightContainer != nullptr)
        m_pRightContainer->Move(ptSecond.x, ptSecond.y);
    (void)pDockSite;
}

// The tree ------------------------------------------------------------------------

void CQMXPBarContainer::SetBar(CQMXPDockingControlBar* pBar, BOOL bLeft) {
    (bLeft ? m_pBarLeftTop : m_pBarRightBottom) = pBar;
}

void CQMXPBarContainer::SetContainer(CQMXPBarContainer* pNode, BOOL bLeft) {
    (bLeft ? m_pLeftContainer : m_pRightContainer) = pNode;
    if (pNode != nullptr)
        pNode->m_pParentContainer = this;
}

CQMXPBarContainer* CQMXPBarContainer::FindSubContainer(const CObject* pObject, int nMode) {
    if (pObject == nullptr)
        return nullptr;
    const CObject* pMine = nMode == 0 ? static_cast<const CObject*>(m_pBarLeftTop)
                           : nMode == 1 ? static_cast<const CObject*>(m_pBarRightBottom)
                           : nMode == 2 ? static_cast<const CObject*>(m_pSlider)
                                        : static_cast<const CObject*>(this);
    if (pMine == pObject)
        return this;
    for (CQMXPBarContainer* pNode : {m_pLeftContainer, m_pRightContainer}) {
        CQMXPBarContainer* pFound = pNode != nullptr ? pNode->FindSubContainer(pObject, nMode) : nullptr;
        if (pFound != nullptr)
            return pFound;
    }
    return nullptr;
}

void CQMXPBarContainer::SetContainerManager(CQMXPBarContainerManager* pManager, BOOL bDeep) {
    m_pContainerManager = pManager;
    if (!bDeep)
        return;
    for (CQMXPBarContainer* pNode : {m_pLeftContainer, m_pRightContainer}) {
        if (pNode != nullptr)
            pNode->SetContainerManager(pManager, TRUE);
    }
}

int CQMXPBarContainer::GetNodeCount() const {
    int nCount = 1;
    for (const CQMXPBarContainer* pNode : {m_pLeftContainer, m_pRightContainer}) {
        if (pNode != nullptr)
            nCount += pNode->GetNodeCount();
    }
    return nCount;
}

int CQMXPBarContainer::GetTotalRefCount() const {
    int nCount = m_nRefCount;
    for (const CQMXPBarContainer* pNode : {m_pLeftContainer, m_pRightContainer}) {
        if (pNode != nullptr)
            nCount += pNode->GetTotalRefCount();
    }
    return nCount;
}

BOOL CQMXPBarContainer::ReplaceBarByContainer(CQMXPBarContainer* pNewNode, BOOL bFirst) {
    CQMXPDockingControlBar* pBar = bFirst ? pNewNode->m_pBarLeftTop : pNewNode->m_pBarRightBottom;
    CQMXPBarContainer* pHolder = FindSubContainer(pBar, 0);
    if (pHolder == nullptr)
        pHolder = FindSubContainer(pBar, 1);
    if (pHolder == nullptr)
        return FALSE;
    const BOOL bLeftSide = pHolder->m_pBarLeftTop != nullptr && (pHolder->m_pBarLeftTop == pNewNode->m_pBarLeftTop ||
                                                                 pHolder->m_pBarLeftTop == pNewNode->m_pBarRightBottom);
    pHolder->SetBar(nullptr, bLeftSide);
    pHolder->SetContainer(pNewNode, bLeftSide);
    return TRUE;
}

BOOL CQMXPBarContainer::SetBarByID(UINT nID, CQMXPDockingControlBar* pBar) {
    if (m_nSavedLeftBarID == nID) {
        m_pBarLeftTop = pBar;
        return TRUE;
    }
    if (m_nSavedRightBarID == nID) {
        m_pBarRightBottom = pBar;
        return TRUE;
    }
    for (CQMXPBarContainer* pNode : {m_pLeftContainer, m_pRightContainer}) {
        if (pNode != nullptr && pNode->SetBarByID(nID, pBar))
            return TRUE;
    }
    return FALSE;
}

CList<UINT, UINT>* CQMXPBarContainer::GetSavedSiblingBarIDs(const CQMXPDockingControlBar* pBar) {
    if (pBar == nullptr)
        return nullptr;
    if (pBar == m_pBarLeftTop)
        return &m_lstSavedSiblingBarIDsLeft;
    if (pBar == m_pBarRightBottom)
        return &m_lstSavedSiblingBarIDsRight;
    return nullptr;
}

CQMXPDockingControlBar* CQMXPBarContainer::FindTabbedBarBySiblingID(UINT nID) {
    if (m_lstSavedSiblingBarIDsLeft.Find(nID) != nullptr)
        return m_pBarLeftTop;
    if (m_lstSavedSiblingBarIDsRight.Find(nID) != nullptr)
        return m_pBarRightBottom;
    for (CQMXPBarContainer* pNode : {m_pLeftContainer, m_pRightContainer}) {
        CQMXPDockingControlBar* pFound = pNode != nullptr ? pNode->FindTabbedBarBySiblingID(nID) : nullptr;
        if (pFound != nullptr)
            return pFound;
    }
    return nullptr;
}

void CQMXPBarContainer::RemoveNonValidBars() {
    if (m_pContainerManager != nullptr) {
        if (m_pBarLeftTop != nullptr && !m_pContainerManager->CheckAndRemoveNonValidBar(m_pBarLeftTop))
            m_pBarLeftTop = nullptr;
        if (m_pBarRightBottom != nullptr && !m_pContainerManager->CheckAndRemoveNonValidBar(m_pBarRightBottom))
            m_pBarRightBottom = nullptr;
    }
    for (CQMXPBarContainer* pNode : {m_pLeftContainer, m_pRightContainer}) {
        if (pNode != nullptr)
            pNode->RemoveNonValidBars();
    }
}

void CQMXPBarContainer::CheckSliderVisibility() {
    for (CQMXPBarContainer* pNode : {m_pLeftContainer, m_pRightContainer}) {
        if (pNode != nullptr)
            pNode->CheckSliderVisibility();
    }
    if (m_pSlider == nullptr || m_pSlider->GetSafeHwnd() == nullptr)
        return;
    const BOOL bLeftBar = IsShown(m_pBarLeftTop);
    const BOOL bRightBar = IsShown(m_pBarRightBottom);
    const BOOL bLeftNode = m_pLeftContainer != nullptr && m_pLeftContainer->HasVisibleBars();
    const BOOL bRightNode = m_pRightContainer != nullptr && m_pRightContainer->HasVisibleBars();
    BOOL bShow = ((bLeftBar || bRightBar) && (!bLeftBar || bRightBar || bRightNode)) || (bLeftNode && bRightNode);
    if (!bLeftBar && bRightBar && !bLeftNode)
        bShow = FALSE;
    m_pSlider->ShowWindow(bShow ? SW_SHOW : SW_HIDE);
}

BOOL CQMXPBarContainer::IsContainerEmpty() const {
    if (m_pBarLeftTop != nullptr || m_pBarRightBottom != nullptr)
        return FALSE;
    for (const CQMXPBarContainer* pNode : {m_pLeftContainer, m_pRightContainer}) {
        if (pNode != nullptr && !pNode->IsContainerEmpty())
            return FALSE;
    }
    return TRUE;
}

BOOL CQMXPBarContainer::HasVisibleBars() const {
    if (IsShown(m_pBarLeftTop) || IsShown(m_pBarRightBottom))
        return TRUE;
    for (const CQMXPBarContainer* pNode : {m_pLeftContainer, m_pRightContainer}) {
        if (pNode != nullptr && pNode->HasVisibleBars())
            return TRUE;
    }
    return FALSE;
}

// References and folding -----------------------------------------------------------

BOOL CQMXPBarContainer::StoreRecentDockInfo(CQMXPDockingControlBar* pBar) {
    CQMXPSlider* pSlider = pBar->GetDefaultSlider();
    if (pBar->GetParentMiniFrame(TRUE) == nullptr && pSlider != nullptr && pSlider->IsAutoHideMode())
        return TRUE;
    pBar->GetRecentDockInfo().StoreDockInfo(this, nullptr);
    return FALSE;
}

void CQMXPBarContainer::Release() {
    if (m_nRefCount > 0)
        --m_nRefCount;
    if (m_nRefCount == 0)
        ReleaseEmptyContainer();
}

void CQMXPBarContainer::ReleaseEmptyContainers() {
    for (CQMXPBarContainer* pNode : {m_pLeftContainer, m_pRightContainer}) {
        if (pNode != nullptr)
            pNode->ReleaseEmptyContainers();
    }
    if (m_pParentContainer != nullptr && m_pContainerManager != nullptr &&
        m_pParentContainer != m_pContainerManager->GetRootContainer())
        ReleaseEmptyContainer();
}

void CQMXPBarContainer::ReleaseEmptyContainer() {
    int nOccupied = 0;
    for (const CObject* pPlace : {static_cast<const CObject*>(m_pBarLeftTop), static_cast<const CObject*>(m_pBarRightBottom),
                                  static_cast<const CObject*>(m_pLeftContainer),
                                  static_cast<const CObject*>(m_pRightContainer)}) {
        if (pPlace != nullptr)
            ++nOccupied;
    }
    if (nOccupied >= 2 || m_nRefCount >= 1)
        return;
    CQMXPBarContainerManager* pManager = m_pContainerManager;
    if ((m_pSlider != nullptr && m_pSlider->IsDefault()) || m_pParentContainer == nullptr ||
        (pManager != nullptr && m_pParentContainer == pManager->GetRootContainer())) {
        if (pManager != nullptr)
            pManager->NotifyDefaultSlider();
        return;
    }
    CQMXPBarContainer* pParent = m_pParentContainer;
    const BOOL bLeft = pParent->m_pLeftContainer == this;
    pParent->SetContainer(nullptr, bLeft);
    if (m_pBarLeftTop != nullptr || m_pBarRightBottom != nullptr)
        pParent->SetBar(m_pBarLeftTop != nullptr ? m_pBarLeftTop : m_pBarRightBottom, bLeft);
    else if (m_pLeftContainer != nullptr || m_pRightContainer != nullptr)
        pParent->SetContainer(m_pLeftContainer != nullptr ? m_pLeftContainer : m_pRightContainer, bLeft);
    m_pBarLeftTop = m_pBarRightBottom = nullptr;
    m_pLeftContainer = m_pRightContainer = nullptr;
    delete this;
}

// The layout record --------------------------------------------------------------------

void CQMXPBarContainer::Serialize(CArchive& ar) {
    CObject::Serialize(ar);
    SerializeNode(ar, 0);
}

void CQMXPBarContainer::StoreSide(CArchive& ar, CQMXPDockingControlBar* pBar) {
    const UINT nID = pBar != nullptr && pBar->GetSafeHwnd() != nullptr ? static_cast<UINT>(pBar->GetDlgCtrlID()) : 0;
    auto* pTabbedBar = DYNAMIC_DOWNCAST(CQMXPBaseTabbedBar, pBar);
    // A group without tabs has nothing to bring back: its side is stored empty.
    if (nID != kTabbedBarID || pTabbedBar == nullptr || pTabbedBar->GetTabsNum() == 0) {
        ar << (nID == kTabbedBarID ? 0u : nID);
        return;
    }
    ar << kTabbedBarID;
    pTabbedBar->SaveSiblingBarIDs(ar);
    ar.WriteObject(pTabbedBar);
    ar << static_cast<DWORD>(pTabbedBar->GetStyle());
    pTabbedBar->SerializeTabWindow(ar);
}

void CQMXPBarContainer::LoadTabbedSide(CArchive& ar, BOOL bLeft) {
    CList<UINT, UINT>& lstIDs = bLeft ? m_lstSavedSiblingBarIDsLeft : m_lstSavedSiblingBarIDsRight;
    CQMXPBaseTabbedBar::LoadSiblingBarIDs(ar, lstIDs);
    auto* pTabbedBar = static_cast<CQMXPBaseTabbedBar*>(ar.ReadObject(RUNTIME_CLASS(CQMXPBaseTabbedBar)));
    DWORD dwStyle = 0;
    ar >> dwStyle;
    CWnd* pDockSite = DockSite();
    const BOOL bCreated =
        pTabbedBar != nullptr && pDockSite != nullptr &&
        pTabbedBar->Create(L"", pDockSite, pTabbedBar->GetRestoredDockedRect(), TRUE, kTabbedBarID, dwStyle, 0x20,
                           pTabbedBar->GetControlBarStyle());
    if (!bCreated) {
        // The tab record is read all the same, so that the stream stays in step.
        CQMXPTabWnd tabsOfLostBar;
        tabsOfLostBar.Serialize(ar);
        lstIDs.RemoveAll();
        if (pTabbedBar != nullptr && pTabbedBar->GetSafeHwnd() == nullptr)
            delete pTabbedBar;
        return;
    }
    pTabbedBar->SerializeTabWindow(ar);
    (bLeft ? m_pBarLeftTop : m_pBarRightBottom) = pTabbedBar;
}

void CQMXPBarContainer::SerializeNode(CArchive& ar, int nDepth) {
    // A stored value says how deep the records nest: a damaged one must not
    // run the stack out.
    if (nDepth > kMaxDepth)
        AfxThrowArchiveException(CArchiveException::badIndex);
    if (ar.IsStoring()) {
        for (CQMXPDockingControlBar* pBar : {m_pBarLeftTop, m_pBarRightBottom})
            StoreSide(ar, pBar);
        if (m_pSlider != nullptr) {
            ar << m_pSlider->GetSliderID();
            m_pSlider->Serialize(ar);
        } else {
            ar << 0u;
        }
        for (CQMXPBarContainer* pNode : {m_pLeftContainer, m_pRightContainer}) {
            ar << static_cast<UINT>(pNode != nullptr ? 1 : 0);
            if (pNode != nullptr)
                pNode->SerializeNode(ar, nDepth + 1);
        }
        return;
    }
    for (BOOL bLeft : {TRUE, FALSE}) {
        UINT& nSavedID = bLeft ? m_nSavedLeftBarID : m_nSavedRightBarID;
        ar >> nSavedID;
        if (nSavedID == kTabbedBarID)
            LoadTabbedSide(ar, bLeft);
    }
    ar >> m_nSavedSliderID;
    if (m_nSavedSliderID != 0) {
        CWnd* pDockSite = DockSite();
        auto* pSlider = new CQMXPSlider(FALSE, pDockSite);
        m_pSlider = pSlider;
        pSlider->Serialize(ar);
        pSlider->SetContainerManager(m_pContainerManager);
        if (m_pContainerManager != nullptr)
            m_pContainerManager->AdoptSlider(pSlider);
    }
    for (BOOL bLeft : {TRUE, FALSE}) {
        UINT nPresent = 0;
        ar >> nPresent;
        if (nPresent == 0)
            continue;
        auto* pNode = new CQMXPBarContainer(m_pContainerManager);
        SetContainer(pNode, bLeft);
        pNode->SerializeNode(ar, nDepth + 1);
    }
}
