#pragma once
// CQMXPCaptionBar: a one-line caption across a frame. It shows an optional
// image (an icon or the first image of its own strip), an optional push
// button with text (with a drop-down triangle when active) and an optional
// text, each placed left, right or centred; it takes its height from its
// font and image, draws a raised band above and below its client area and
// sends the button's command to its owner on button-down.
#include "docking/bars/QMXPControlBar.h"
#include "docking/toolbars/QMXPToolBarImages.h"

class CQMXPCaptionBar : public CQMXPControlBar {
    DECLARE_DYNCREATE(CQMXPCaptionBar)
public:
    enum BarElementAlignment { ALIGN_INVALID = 0, ALIGN_LEFT = 1, ALIGN_RIGHT = 2, ALIGN_CENTER = 3 };

    CQMXPCaptionBar();
    ~CQMXPCaptionBar() override;

    // A fixed height (-1: computed from the font and the image).
    virtual BOOL Create(DWORD dwStyle, CWnd* pParentWnd, UINT uiID, int nHeight = -1);

    void SetText(const CString& strText, BarElementAlignment align = ALIGN_LEFT);
    void SetIcon(HICON hIcon, BarElementAlignment align = ALIGN_LEFT);
    // The strip's first image is shown; stretched over the client height.
    BOOL SetBitmap(UINT uiBmpResId, COLORREF clrTransparent, BOOL bStretch = FALSE,
                   BarElementAlignment align = ALIGN_LEFT);
    // Only an active button with an id takes clicks and shows its triangle.
    void SetButton(const CString& strLabel, UINT uiCmdUI, BarElementAlignment align = ALIGN_LEFT,
                   BOOL bEnabled = TRUE);
    void EnableButton(BOOL bEnable = TRUE);
    void SetButtonPressed(BOOL bPressed = TRUE);
    void SetFixedHeight(int nHeight);
    void SetFlatBorder(BOOL bFlat = TRUE);
    void SetTextColor(COLORREF clrText);
    void SetBackColor(COLORREF clrBackground);

    int GetCalculatedHeight() const { return m_nCurrentHeight; }
    COLORREF GetBackColor() const { return m_clrBarBackground; }
    CRect GetButtonRect() const { return m_rectButton; }
    CRect GetTextRect() const { return m_rectDrawText; }
    CRect GetImageRect() const { return m_rectImage; }
    BOOL IsButtonHot() const { return m_bIsButtonHighlighted; }
    BOOL IsButtonPressed() const { return m_bIsButtonPressed; }

    void RefreshLayout() override;
    void AdjustLayout() override;
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;

protected:
    virtual void OnDrawBackground(CDC* pDC, CRect rect);
    virtual void OnDrawBorder(CDC* pDC, CRect rect);
    virtual void OnDrawText(CDC* pDC, CRect rect, const CString& strText);
    virtual void OnDrawImage(CDC* pDC, CRect rect);
    virtual void OnDrawButton(CDC* pDC, CRect rect, const CString& strButton, BOOL bEnabled);

    afx_msg int OnCreate(LPCREATESTRUCTW lpCreateStruct);
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg void OnNcPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnPaint();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSysColorChange();
    afx_msg LRESULT OnSetFont(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetFont(WPARAM wParam, LPARAM lParam);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    DECLARE_MESSAGE_MAP()

    BOOL HasActiveButton() const { return m_uiBtnID != 0 && m_bBtnEnabled; }
    CSize ImageSize() const;
    void RedrawButton();

    COLORREF m_clrBarText;
    COLORREF m_clrBarBackground;
    HICON m_hIcon;
    CQMXPToolBarImages m_Bitmap;
    BOOL m_bStretchImage;
    BarElementAlignment m_iconAlignment;
    CRect m_rectImage;
    HFONT m_hFont;
    CString m_strText;
    BarElementAlignment m_textAlignment;
    CRect m_rectText;
    CRect m_rectDrawText;
    CString m_strBtnText;
    UINT m_uiBtnID;
    BarElementAlignment m_btnAlignnment;
    CRect m_rectButton;
    BOOL m_bIsButtonPressed;
    BOOL m_bIsButtonHighlighted;
    BOOL m_bIsButtonChecked;
    BOOL m_bTracked;
    BOOL m_bBtnEnabled;
    int m_nBorderSize;
    int m_nMargin;
    int m_nHorzElementOffset;
    int m_nDefaultHeight;
    int m_nCurrentHeight;
    BOOL m_bFlatBorder;
};
