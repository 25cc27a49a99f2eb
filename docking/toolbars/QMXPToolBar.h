#pragma once
// CQMXPToolBar: the docking library's tool bar. This stand-in over the class
// library's control bar keeps a row of text buttons that post their
// commands to the owner and follow their commands' update handlers; the
// docking library replaces its inside.
#include "platform/classlib/ControlBar.h"
#include "platform/classlib/FrameWnd.h"
#include "platform/classlib/ObList.h"

class CQMXPToolbarButton;

class CQMXPToolBar : public CControlBar {
    DECLARE_DYNCREATE(CQMXPToolBar)
public:
    CQMXPToolBar();
    // Deletes the buttons.
    ~CQMXPToolBar() override;

    virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP,
                        UINT nID = AFX_IDW_TOOLBAR);

    // Takes the button; its index, -1 when it could not be added.
    int InsertButton(CQMXPToolbarButton* pButton, int iInsertAt = -1);
    int GetCount() const;
    // The button at the zero-based index, null when out of range.
    CQMXPToolbarButton* GetButton(int iIndex) const;
    // The index of the first button with the command, -1 when none has it.
    int CommandToIndex(UINT nID) const;
    // The bar's fixed height; nothing while the bar is locked.
    void SetHeight(int cyHeight);
    void SetLocked(BOOL bLocked) { m_bLocked = bLocked; }

    // Every button with the command on all live tool bars; their number.
    static int CollectButtonsByCommand(UINT nID, CObList& listButtons);

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    // Places the buttons in a row, each as wide as its text.
    virtual void AdjustLayout();

protected:
    afx_msg void OnPaint();
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnSize(UINT nType, int cx, int cy);

    CObList m_Buttons;
    int m_cyHeight;
    BOOL m_bLocked;

    DECLARE_MESSAGE_MAP()
};
