#pragma once
// CQMXPStatusBar: the docking library's status bar, along the bottom of a
// frame, divided into panes of command id, style, width and text. The pane
// with id 0 is the message pane: the frame's prompts reach it through
// WM_SETTEXT. A stand-in over the class library's control bar; the docking
// library replaces its inside.
#include "platform/classlib/ControlBar.h"
#include "platform/classlib/FrameWnd.h"

#include <vector>

// Pane styles.
constexpr UINT SBPS_NORMAL = 0x0000;
constexpr UINT SBPS_NOBORDERS = 0x0100;
constexpr UINT SBPS_POPOUT = 0x0200;
constexpr UINT SBPS_DISABLED = 0x04000000;
constexpr UINT SBPS_STRETCH = 0x08000000;

class CQMXPStatusBar : public CControlBar {
    DECLARE_DYNAMIC(CQMXPStatusBar)
public:
    CQMXPStatusBar();
    ~CQMXPStatusBar() override;

    virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                        UINT nID = AFX_IDW_STATUS_BAR);
    // One pane per id; a pane's text is its id's string (FALSE when one is
    // missing); an id 0 pane is a quarter screen wide, the first one stretches.
    BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);
    void SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth);
    void GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const;
    UINT GetItemID(int nIndex) const;
    void GetItemRect(int nIndex, LPRECT lpRect) const;
    // An equal text changes nothing; with bUpdate the pane is repainted at once.
    BOOL SetPaneText(int nIndex, LPCWSTR lpszNewText, BOOL bUpdate = TRUE);
    CString GetPaneText(int nIndex) const;
    int GetCount() const { return static_cast<int>(m_panes.size()); }
    int CommandToIndex(UINT nIDFind) const;

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;

protected:
    // Posts the command of the pane under the point to the owner, when the pane is enabled.
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnPaint();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetText(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetTextLength(WPARAM wParam, LPARAM lParam);

    // The panes' rectangles from their widths and the client area.
    void AdjustLayout();
    bool IsValidIndex(int nIndex) const { return nIndex >= 0 && nIndex < GetCount(); }

    struct Pane {
        UINT nID = 0;
        UINT nStyle = 0;
        int cxText = 0;
        CString text;
        CRect rect;
    };
    std::vector<Pane> m_panes;

    // Draws one pane: its border and its text (a derived bar draws its own text).
    virtual void DrawPane(CDC* pDC, int nIndex);

    DECLARE_MESSAGE_MAP()
};
