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

class CQMXPRecentContainerInfo : public CObject {
public:
    CQMXPRecentContainerInfo();
    ~CQMXPRecentContainerInfo() override;

    // Copies the rectangle, the share, the left-bar flag and the list. The
    // containers' references are taken over by the bar containers' own
    // code, which the docking panes bring.
    virtual void SetInfo(const CQMXPRecentContainerInfo& srcInfo);

    CQMXPBarContainer* m_pRecentBarContainer;
    CRect m_rectDockedRect;
    int m_nRecentPercent;
    BOOL m_bIsRecentLeftBar;
    CList<DWORD, DWORD> m_lstRecentListOfBars;
    CQMXPBarContainer* m_pRecentTabContainer;
};

class CQMXPRecentDockInfo : public CObject {
public:
    explicit CQMXPRecentDockInfo(CQMXPControlBar* pBar);
    ~CQMXPRecentDockInfo() override;

    // bForDocked: the docked part (alignment, slider, docked place), else
    // the floating part (floating rectangle, mini frame, floating place).
    virtual void SetInfo(BOOL bForDocked, const CQMXPRecentDockInfo& srcInfo);

    CQMXPRecentContainerInfo& GetInfo(BOOL bForDocked) { return bForDocked ? m_recentSliderInfo : m_recentMiniFrameInfo; }
    CRect& GetRecentDockedRect(BOOL bForDocked) { return GetInfo(bForDocked).m_rectDockedRect; }
    int GetRecentDockedPercent(BOOL bForDocked) { return GetInfo(bForDocked).m_nRecentPercent; }
    BOOL IsRecentLeftBar(BOOL bForDocked) { return GetInfo(bForDocked).m_bIsRecentLeftBar; }
    CList<DWORD, DWORD>* GetRecentListOfBars(BOOL bForDocked) { return &GetInfo(bForDocked).m_lstRecentListOfBars; }
    void SetRecentList(const CList<DWORD, DWORD>& list, BOOL bForDocked);

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
