#pragma once
// CQMXPDropDownToolBar: the tool bar a drop-down button opens, and its copy
// in the dropped frame. It keeps its own button and image sizes and its own
// image strips (it loads locked), so its commands stay out of the library's
// command images. In the frame it tracks the mouse like a menu and a click
// makes the chosen command the button's own.
#include "docking/toolbars/QMXPToolBar.h"

class CQMXPDropDownFrame;

class CQMXPDropDownToolBar : public CQMXPToolBar {
    DECLARE_SERIAL(CQMXPDropDownToolBar)
public:
    CQMXPDropDownToolBar();
    ~CQMXPDropDownToolBar() override;

    // As the tool bar's, always locked.
    BOOL LoadBitmap(UINT uiResID, UINT uiColdResID = 0, UINT uiMenuResID = 0, BOOL bLocked = TRUE,
                    UINT uiDisabledResID = 0, UINT uiMenuDisabledResID = 0) override;
    BOOL LoadToolBar(UINT uiResID, UINT uiColdResID = 0, UINT uiMenuResID = 0, BOOL bLocked = TRUE,
                     UINT uiDisabledResID = 0, UINT uiMenuDisabledResID = 0, UINT uiHotResID = 0) override;

    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    BOOL OnItemClicked(CQMXPToolbarButton* pButton) override;

    // The bar's own image strip: one image per button that is no separator.
    CQMXPToolBarImages* GetLockedImages() { return &m_ImagesLocked; }
    // The copy in the frame shows the source's strips, sizes and buttons;
    // the buttons stay the source's.
    void CopyFrom(CQMXPDropDownToolBar& source);
    // Hands the borrowed buttons back before the copy goes.
    void ReleaseBorrowedButtons();
    int GetHotIndex() const { return m_iHotTracked; }

protected:
    CQMXPDropDownFrame* DropFrame() const;

    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

    BOOL m_bBorrowedButtons;
    BOOL m_bTrackingLeave;
    int m_iHotTracked;
};
