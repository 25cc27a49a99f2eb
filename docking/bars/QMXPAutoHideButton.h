#pragma once
// CQMXPAutoHideButton: the button of an auto-hidden pane on its strip along
// the frame edge: the pane's icon and, while its strip is the active one of
// its group, its title; no border line on the side that faces the edge.
#include "platform/classlib/Object.h"
#include "platform/classlib/Rect.h"

#include <windows.h>

class CDC;
class CQMXPAutoHideToolBar;
class CQMXPDockingControlBar;

class CQMXPAutoHideButton : public CObject {
    DECLARE_DYNCREATE(CQMXPAutoHideButton)
public:
    CQMXPAutoHideButton();
    ~CQMXPAutoHideButton() override;

    // The pane learns its strip and button; the rectangle takes the button's size.
    virtual BOOL Create(CQMXPAutoHideToolBar* pStrip, CQMXPDockingControlBar* pPane, DWORD dwSide);
    virtual void SetShown(BOOL bShow) { m_bShown = bShow; }
    virtual BOOL IsShown() const { return m_bShown; }
    virtual void Draw(CDC* pDC);
    virtual void FillBackground(CDC* pDC, CRect rect);
    // rectBorderSize holds the line widths of the four sides.
    virtual void DrawBorder(CDC* pDC, CRect rect, CRect rectBorderSize);
    // The pane returns from auto hide, as a tab of the leader when there is one.
    virtual void SetGroupLeader(CQMXPDockingControlBar* pLeader);

    // The pane slides out (TRUE) or in, unless it is so already; the strip becomes active or not.
    void SlidePane(BOOL bShow);
    CSize CalcButtonSize() const;
    BOOL IsHorizontal() const { return (m_dwSide & 0xA000) != 0; }
    CRect GetRect() const { return m_rectButton; }
    void SetRect(const CRect& rect) { m_rectButton = rect; }
    BOOL IsOnTop() const { return m_bOnTop; }
    void SetOnTop(BOOL bOnTop) { m_bOnTop = bOnTop; }
    DWORD GetSide() const { return m_dwSide; }
    CQMXPDockingControlBar* GetPane() const { return m_pPane; }
    CQMXPAutoHideToolBar* GetStrip() const { return m_pStrip; }

    // The library's settings of the buttons.
    static int m_nBorderSize;
    static int m_nMarginSize;
    static int m_nTextMargin;
    static int m_nNoIconWidth;

protected:
    CRect m_rectButton;
    BOOL m_bOnTop;
    DWORD m_dwSide;
    BOOL m_bShown;
    CQMXPAutoHideToolBar* m_pStrip;
    CQMXPDockingControlBar* m_pPane;
};
