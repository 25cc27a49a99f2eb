#pragma once
// CControlBar: a strip along one edge of a frame (the document frame's scroll
// strips, the status bar, the preview's button bar). Its frame lays it out
// through WM_SIZEPARENT: the bar takes its thickness (CalcFixedLayout) off
// the side its style names, and the view gets what is left. At idle time it
// brings its items up to date through CCmdUI.
#include "platform/classlib/Wnd.h"

class CFrameWnd;

// Bar styles (m_dwStyle; also accepted in the low word of Create's style).
constexpr DWORD CBRS_ALIGN_LEFT = 0x1000;
constexpr DWORD CBRS_ALIGN_TOP = 0x2000;
constexpr DWORD CBRS_ALIGN_RIGHT = 0x4000;
constexpr DWORD CBRS_ALIGN_BOTTOM = 0x8000;
constexpr DWORD CBRS_ALIGN_ANY = 0xF000;
constexpr DWORD CBRS_BORDER_LEFT = 0x0100;
constexpr DWORD CBRS_BORDER_TOP = 0x0200;
constexpr DWORD CBRS_BORDER_RIGHT = 0x0400;
constexpr DWORD CBRS_BORDER_BOTTOM = 0x0800;
constexpr DWORD CBRS_BORDER_ANY = 0x0F00;
constexpr DWORD CBRS_BORDER_3D = 0x0080;
constexpr DWORD CBRS_TOOLTIPS = 0x0010;
constexpr DWORD CBRS_FLYBY = 0x0020;
constexpr DWORD CBRS_HIDE_INPLACE = 0x0008;
constexpr DWORD CBRS_TOP = CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM;
constexpr DWORD CBRS_BOTTOM = CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP;
constexpr DWORD CBRS_LEFT = CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT;
constexpr DWORD CBRS_RIGHT = CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT;

class CControlBar : public CWnd {
    DECLARE_DYNAMIC(CControlBar)
public:
    CControlBar();
    ~CControlBar() override;

    // The bar's thickness across its side (the length along it is the side's).
    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
    // Brings the bar's items up to date against pTarget (idle time).
    virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler);

    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBarStyle(DWORD dwStyle);
    // The sides the bar may dock to; the frame keeps it on the side of its style.
    void EnableDocking(DWORD dwDockStyle) { m_dwDockStyle = dwDockStyle; }
    BOOL IsVisible() const;
    BOOL IsHorz() const { return (m_dwStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)) != 0; }
    CFrameWnd* GetDockingFrame() const;

    // The object is deleted when its window is destroyed.
    BOOL m_bAutoDelete;
    // The frame that lays the bar out (its parent when it was created).
    CFrameWnd* m_pDockSite;

    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    // Commands of the bar's buttons and controls go to its owner (its frame).
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

protected:
    void PostNcDestroy() override;

    afx_msg int OnCreate(LPCREATESTRUCTW lpCreateStruct);
    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);

    DWORD m_dwStyle;
    DWORD m_dwDockStyle;

    DECLARE_MESSAGE_MAP()
};
