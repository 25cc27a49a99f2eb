#pragma once
// CQMXPRecentDockInfo: where a control bar was last docked and where it last
// floated, so that a double click, a restore from the registry or a
// programmatic float or dock can put it back. CQMXPRecentContainerInfo
// describes one of the two places further for panes that share a bar
// container with other panes.
#include "platform/classlib/List.h"
#include "platform/classlib/Object.h"
#include "platform/classlib/Rect.h"

class CQMXPBarContainer;
class CQMXPControlBar;
class CQMXPDockBar;
class CQMXPDockBarRow;
class CQMXPDockingControlBar;
class CQMXPSlider;

class CQMXPRecentContainerInfo : public CObject {
public:
    CQMXPRecentContainerInfo();
    ~CQMXPRecentContainerInfo() override;

    // Remembers the container that holds the pane (as a tab of pTabbedBar
    // when given), its side, rectangle (screen) and share; the container
    // gains a reference, the old ones lose theirs.
    virtual void StoreDockInfo(CQMXPBarContainer* pRecentContainer, CQMXPDockingControlBar* pBar,
                               CQMXPDockingControlBar* pTabbedBar = nullptr);
    // Copies the containers (with references), rectangle, share, side and list.
    virtual void SetInfo(const CQMXPRecentContainerInfo& srcInfo);

    CQMXPBarContainer* m_pRecentBarContainer;
    CRect m_rectDockedRect;
    int m_nRecentPercent;
    BOOL m_bIsRecentLeftBar;
    CList<DWORD, DWORD> m_lstRecentListOfBars;
    CQMXPBarContainer* m_pRecentTabContainer;

private:
    void ReleaseContainers();
};

class CQMXPRecentDockInfo : public CObject {
public:
    explicit CQMXPRecentDockInfo(CQMXPControlBar* pBar);
    ~CQMXPRecentDockInfo() override;

    // The pane's place: in its floating frame, at its slider, or neither.
    virtual void StoreDockInfo(CQMXPBarContainer* pRecentContainer, CQMXPDockingControlBar* pTabbedBar = nullptr);
    // bForDocked: the docked part (alignment, slider, docked place), else
    // the floating part (floating rectangle, mini frame, floating place).
    virtual void SetInfo(BOOL bForDocked, const CQMXPRecentDockInfo& srcInfo);

    CQMXPRecentContainerInfo& GetInfo(BOOL bForDocked) { return bForDocked ? m_recentSliderInfo : m_recentMiniFrameInfo; }
    CQMXPBarContainer* GetRecentContainer(BOOL bForDocked) { return GetInfo(bForDocked).m_pRecentBarContainer; }
    CQMXPBarContainer* GetRecentTabContainer(BOOL bForDocked) { return GetInfo(bForDocked).m_pRecentTabContainer; }
    CRect& GetRecentDockedRect(BOOL bForDocked) { return GetInfo(bForDocked).m_rectDockedRect; }
    int GetRecentDockedPercent(BOOL bForDocked) { return GetInfo(bForDocked).m_nRecentPercent; }
    BOOL IsRecentLeftBar(BOOL bForDocked) { return GetInfo(bForDocked).m_bIsRecentLeftBar; }
    CList<DWORD, DWORD>* GetRecentListOfBars(BOOL bForDocked) { return &GetInfo(bForDocked).m_lstRecentListOfBars; }
    void SetRecentList(const CList<DWORD, DWORD>& list, BOOL bForDocked);
    // The slider the pane was last docked at, while its window lives.
    CQMXPSlider* GetRecentDefaultSlider() const;

    CRect m_rectRecentFloatingRect;
    DWORD m_dwRecentAlignmentToFrame;
    int m_nRecentRowIndex;
    CQMXPDockBar* m_pRecentDockBar;
    CQMXPDockBarRow* m_pRecentDockBarRow;
    int m_nRecentTabIndex;
    HWND m_hRecentDefaultSlider;
    HWND m_hRecentMiniFrame;
    CQMXPRecentContainerInfo m_recentSliderInfo;
    CQMXPRecentContainerInfo m_recentMiniFrameInfo;
    CQMXPControlBar* m_pBar;
};
