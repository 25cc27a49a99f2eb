#pragma once
// CQMXPStatusBar: the docking library's status bar, a control bar along the
// bottom of a frame divided into panes of command id, style, width and text
// (and, in the record, an icon, an animation or a progress bar). The pane
// with id 0 is the message pane: the frame's prompts reach it through
// WM_SETTEXT. One pane may stretch over the free width; a size grip sits at
// the right end unless the frame is maximised or cannot be resized.
#include "docking/bars/QMXPControlBar.h"
#include "platform/classlib/ToolTipCtrl.h"

#include <commctrl.h>

// Pane styles.
constexpr UINT SBPS_NORMAL = 0x0000;
constexpr UINT SBPS_NOBORDERS = 0x0100;
constexpr UINT SBPS_POPOUT = 0x0200;
constexpr UINT SBPS_DISABLED = 0x04000000;
constexpr UINT SBPS_STRETCH = 0x08000000;

// One pane; the records live zero-filled in the control bar's element storage.
struct CQMXStatusBarPaneInfo {
    RECT rect;
    UINT nID;
    UINT nStyle;
    int cxText;
    COLORREF clrText;
    int cxIcon;
    int cyIcon;
    LPWSTR lpszText;
    LPWSTR lpszToolTip;
    HIMAGELIST hImageList;
    int nAnimFrames;
    int nAnimCurrent;
    int nProgressCurr;
    int nProgressTotal;
    BOOL bProgressText;
    COLORREF clrProgressBar;
    COLORREF clrProgressBarDest;
    COLORREF clrProgressText;
};

class CQMXPStatusBar : public CQMXPControlBar {
    DECLARE_DYNAMIC(CQMXPStatusBar)
public:
    CQMXPStatusBar();
    // Frees the panes' texts.
    ~CQMXPStatusBar() override;

    // The pane index that names the first stretching pane.
    static constexpr int kStretchPane = 255;

    virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                        UINT nID = AFX_IDW_STATUS_BAR);
    // The bar joins its frame's bars (a bar in a dialog sets the library's dialog flag).
    virtual BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = 0, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                          UINT nID = AFX_IDW_STATUS_BAR);
    using CQMXPControlBar::CreateEx;
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;

    // One pane per id; a pane's text is its id's string (FALSE when one is
    // missing); an id 0 pane is a quarter screen wide, the first one stretches.
    BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);
    CQMXStatusBarPaneInfo* GetPanePtr(int nIndex) const;
    void SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth);
    void GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const;
    void SetPaneWidth(int nIndex, int cx);
    UINT GetItemID(int nIndex) const;
    void GetItemRect(int nIndex, LPRECT lpRect) const;
    // An equal text changes nothing; with bUpdate the pane is repainted at once.
    BOOL SetPaneText(int nIndex, LPCWSTR lpszNewText, BOOL bUpdate = TRUE);
    CString GetPaneText(int nIndex) const;
    int GetCount() const { return m_nCount; }
    int CommandToIndex(UINT nIDFind) const;
    CQMXStatusBarPaneInfo* HitTest(CPoint pt) const;
    void InvalidatePaneContent(int nIndex);
    // Double clicks on panes post their commands to the owner.
    void EnablePaneDoubleClick(BOOL bEnable = TRUE) { m_bPaneDoubleClick = bEnable; }
    // The tip a pane shows when the pointer rests on it; none for an empty text.
    BOOL SetTipText(int nIndex, LPCWSTR lpszTipText);
    CString GetTipText(int nIndex) const;
    // A pane with a tip under the point: its id, with its rectangle and a
    // copy of its tip (the caller frees it) in the tool record.
    INT_PTR OnToolHitTest(CPoint point, TOOLINFOW* pTI) const override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // The tip window of the panes, made with the first tip.
    CToolTipCtrl& GetToolTip() { return m_wndToolTip; }
    BOOL IsSizeBoxHidden() const { return m_bHideSizeBox; }
    CRect GetSizeBoxRect() const { return m_rectSizeBox; }

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void DoPaint(CDC* pDC) override;
    // The panes' rectangles and the grip from the widths and the client area.
    void AdjustLayout() override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

protected:
    // Draws one pane: its border through the visual manager, its icon, and
    // its progress or text.
    virtual void DrawPane(CDC* pDC, int nIndex);

    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg LRESULT OnSetFont(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetFont(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetText(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetTextLength(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    // As the common status bar answers it: the number of panes, with the
    // right edges of the first wParam of them when lParam points to room for them.
    afx_msg LRESULT OnGetParts(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetPaneText(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetPaneTextLength(WPARAM wParam, LPARAM lParam);
    afx_msg void OnSettingChange(UINT uFlags, LPCWSTR lpszSection);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnDestroy();
    afx_msg int OnCreate(LPCREATESTRUCTW lpCreateStruct);

    CQMXStatusBarPaneInfo* Panes() const { return reinterpret_cast<CQMXStatusBarPaneInfo*>(m_pData); }
    HFONT BarFont() const;
    void FreePaneTexts();
    // The pane's inside (what changes with its content).
    CRect PaneContentRect(const CQMXStatusBarPaneInfo& pane) const;

    HFONT m_hFont;
    int m_cxSizeBox;
    BOOL m_bHideSizeBox;
    BOOL m_bPaneDoubleClick;
    CRect m_rectSizeBox;
    CToolTipCtrl m_wndToolTip;
    // The pane id whose tip the tip window holds; -1 for none.
    INT_PTR m_nTipHit;

    DECLARE_MESSAGE_MAP()
};
