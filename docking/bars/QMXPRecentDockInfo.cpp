#include "docking/bars/QMXPRecentDockInfo.h"

#include "docking/bars/QMXPBarContainer.h"
#include "docking/bars/QMXPDockingControlBar.h"
#include "docking/bars/QMXPLibraryGlobals.h"
#include "docking/bars/QMXPSlider.h"
#include "docking/frames/QMXPMiniFrameWnd.h"

namespace {

// A record may outlive the tree of its container: only live nodes are counted.
void AddRefIfLive(CQMXPBarContainer* pNode) {
    if (pNode != nullptr && CQMXPBarContainer::IsLive(pNode))
        pNode->AddRef();
}

void ReleaseIfLive(CQMXPBarContainer* pNode) {
    if (pNode != nullptr && CQMXPBarContainer::IsLive(pNode))
        pNode->Release();
}

}  // namespace

CQMXPRecentContainerInfo::CQMXPRecentContainerInfo()
    : m_pRecentBarContainer(nullptr),
      m_rectDockedRect(0, 0, 30, 30),
      m_nRecentPercent(50),
      m_bIsRecentLeftBar(TRUE),
      m_lstRecentListOfBars(10),
      m_pRecentTabContainer(nullptr) {}

CQMXPRecentContainerInfo::~CQMXPRecentContainerInfo() { m_lstRecentListOfBars.RemoveAll(); }

void CQMXPRecentContainerInfo::ReleaseContainers() {
    CQMXPBarContainer* pBarContainer = m_pRecentBarContainer;
    CQMXPBarContainer* pTabContainer = m_pRecentTabContainer;
    m_pRecentBarContainer = nullptr;
    m_pRecentTabContainer = nullptr;
    ReleaseIfLive(pBarContainer);
    ReleaseIfLive(pTabContainer);
}

void CQMXPRecentContainerInfo::StoreDockInfo(CQMXPBarContainer* pRecentContainer, CQMXPDockingControlBar* pBar,
                                             CQMXPDockingControlBar* pTabbedBar) {
    // The new reference first: storing the same container again keeps its count.
    if (pRecentContainer != nullptr) {
        AddRefIfLive(pRecentContainer);
        m_bIsRecentLeftBar = pRecentContainer->IsLeftBar(pTabbedBar != nullptr ? pTabbedBar : pBar);
    }
    ReleaseContainers();
    if (pBar == nullptr)
        return;
    pBar->GetWindowRect(&m_rectDockedRect);
    if (pTabbedBar != nullptr) {
        m_pRecentTabContainer = pRecentContainer;
        m_nRecentPercent = pTabbedBar->GetPercentInContainer();
    } else {
        m_pRecentBarContainer = pRecentContainer;
        m_nRecentPercent = pBar->GetPercentInContainer();
    }
}

void CQMXPRecentContainerInfo::SetInfo(const CQMXPRecentContainerInfo& srcInfo) {
    CQMXPBarContainer* pBarContainer = srcInfo.m_pRecentBarContainer;
    CQMXPBarContainer* pTabContainer = srcInfo.m_pRecentTabContainer;
    AddRefIfLive(pBarContainer);
    AddRefIfLive(pTabContainer);
    ReleaseContainers();
    m_pRecentBarContainer = pBarContainer;
    m_pRecentTabContainer = pTabContainer;
    m_rectDockedRect = srcInfo.m_rectDockedRect;
    m_nRecentPercent = srcInfo.m_nRecentPercent;
    m_bIsRecentLeftBar = srcInfo.m_bIsRecentLeftBar;
    m_lstRecentListOfBars.RemoveAll();
    m_lstRecentListOfBars.AddTail(&srcInfo.m_lstRecentListOfBars);
}

CQMXPRecentDockInfo::CQMXPRecentDockInfo(CQMXPControlBar* pBar)
    : m_rectRecentFloatingRect(10, 10, 110, 110),
      m_dwRecentAlignmentToFrame(0x1000),
      m_nRecentRowIndex(0),
      m_pRecentDockBar(nullptr),
      m_pRecentDockBarRow(nullptr),
      m_nRecentTabIndex(-1),
      m_hRecentDefaultSlider(nullptr),
      m_hRecentMiniFrame(nullptr),
      m_pBar(pBar) {}

CQMXPRecentDockInfo::~CQMXPRecentDockInfo() = default;

void CQMXPRecentDockInfo::SetRecentList(const CList<DWORD, DWORD>& list, BOOL bForDocked) {
    CList<DWORD, DWORD>& own = GetInfo(bForDocked).m_lstRecentListOfBars;
    own.RemoveAll();
    own.AddTail(&list);
}

CQMXPSlider* CQMXPRecentDockInfo::GetRecentDefaultSlider() const {
    if (!::IsWindow(m_hRecentDefaultSlider))
        return nullptr;
    return DYNAMIC_DOWNCAST(CQMXPSlider, CWnd::FromHandlePermanent(m_hRecentDefaultSlider));
}

void CQMXPRecentDockInfo::StoreDockInfo(CQMXPBarContainer* pRecentContainer, CQMXPDockingControlBar* pTabbedBar) {
    auto* pPane = DYNAMIC_DOWNCAST(CQMXPDockingControlBar, m_pBar);
    if (pPane == nullptr || pPane->GetSafeHwnd() == nullptr)
        return;
    CQMXPMiniFrameWnd* pMiniFrame = pPane->GetParentMiniFrame(TRUE);
    CQMXPSlider* pSlider = (pTabbedBar != nullptr ? pTabbedBar : pPane)->GetDefaultSlider();
    if (pMiniFrame != nullptr) {
        const HWND hPrevious = m_hRecentMiniFrame;
        m_hRecentMiniFrame = pMiniFrame->GetSafeHwnd();
        m_recentMiniFrameInfo.StoreDockInfo(pRecentContainer, pPane, pTabbedBar);
        pMiniFrame->ScreenToClient(&m_recentMiniFrameInfo.m_rectDockedRect);
        pMiniFrame->GetWindowRect(&m_rectRecentFloatingRect);
        // The frame the pane came from may be left empty.
        if (hPrevious != m_hRecentMiniFrame && ::IsWindow(hPrevious))
            ::PostMessageW(hPrevious, QMXPMSG_CHECKEMPTYMINIFRAME, 0, 0);
    } else if (pSlider != nullptr) {
        m_recentSliderInfo.StoreDockInfo(pRecentContainer, pPane, pTabbedBar);
        CWnd* pDockSite = pPane->GetDockSiteFrameWnd();
        if (pDockSite != nullptr)
            pDockSite->ScreenToClient(&m_recentSliderInfo.m_rectDockedRect);
        m_hRecentDefaultSlider = pSlider->GetSafeHwnd();
        m_dwRecentAlignmentToFrame = pSlider->GetCurrentAlignment();
    } else {
        m_hRecentMiniFrame = nullptr;
        m_recentMiniFrameInfo.StoreDockInfo(nullptr, pPane, nullptr);
    }
}

void CQMXPRecentDockInfo::SetInfo(BOOL bForDocked, const CQMXPRecentDockInfo& srcInfo) {
    if (bForDocked) {
        m_dwRecentAlignmentToFrame = srcInfo.m_dwRecentAlignmentToFrame;
        m_hRecentDefaultSlider = srcInfo.m_hRecentDefaultSlider;
        m_recentSliderInfo.SetInfo(srcInfo.m_recentSliderInfo);
    } else {
        m_rectRecentFloatingRect = srcInfo.m_rectRecentFloatingRect;
        m_hRecentMiniFrame = srcInfo.m_hRecentMiniFrame;
        m_recentMiniFrameInfo.SetInfo(srcInfo.m_recentMiniFrameInfo);
    }
}
