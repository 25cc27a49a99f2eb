#include "docking/bars/QMXPRecentDockInfo.h"

CQMXPRecentContainerInfo::CQMXPRecentContainerInfo()
    : m_pRecentBarContainer(nullptr),
      m_rectDockedRect(0, 0, 30, 30),
      m_nRecentPercent(50),
      m_bIsRecentLeftBar(TRUE),
      m_lstRecentListOfBars(10),
      m_pRecentTabContainer(nullptr) {}

CQMXPRecentContainerInfo::~CQMXPRecentContainerInfo() { m_lstRecentListOfBars.RemoveAll(); }

void CQMXPRecentContainerInfo::SetInfo(const CQMXPRecentContainerInfo& srcInfo) {
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
