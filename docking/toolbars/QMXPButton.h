#pragma once
// CQMXPButton: the library's owner-drawn dialog button: a push button,
// check box or radio button drawn with bitmap images per state (or a menu
// glyph) and text, in a 3D, flat, semi-flat or borderless look, lit under
// the mouse, with a checked look, a cursor and a tip of its own, and
// repeating its click while it is held down.
#include "platform/classlib/Button.h"
#include "platform/classlib/ImageList.h"
#include "platform/classlib/ToolTipCtrl.h"

class CDC;

class CQMXPButton : public CButton {
    DECLARE_DYNCREATE(CQMXPButton)
public:
    enum FlatStyle { BUTTONSTYLE_3D = 0, BUTTONSTYLE_FLAT = 1, BUTTONSTYLE_SEMIFLAT = 2, BUTTONSTYLE_NOBORDERS = 3 };
    enum AlignStyle { ALIGN_LEFT = 0, ALIGN_RIGHT = 1, ALIGN_CENTER = 2 };

    CQMXPButton();
    ~CQMXPButton() override;

    // Fills, frames and draws the button, then its focus rectangle.
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    virtual void CleanUp();
    // The size of image and text (+10 each way); the window takes it unless bCalcOnly.
    virtual CSize SizeToContent(BOOL bCalcOnly = FALSE);

    // The normal or the checked set of images; a hot image is optional.
    // bMap3dColors takes light grey as transparent, else the face colour.
    void SetImage(HBITMAP hBitmap, BOOL bAutoDestroy = TRUE, HBITMAP hBitmapHot = nullptr, BOOL bMap3dColors = TRUE,
                  BOOL bChecked = FALSE);
    void SetImage(UINT uiBmpResId, UINT uiBmpHotResId = 0, BOOL bChecked = FALSE);
    void SetImageFromResource(UINT uiBmpResId, UINT uiBmpHotResId = 0) { SetImage(uiBmpResId, uiBmpHotResId, FALSE); }
    // A menu glyph instead of the images.
    void SetGlyph(int iGlyph, int nGlyphStyle = 0);
    // A tip of the text; none switches it off.
    void SetTooltip(LPCWSTR lpszToolTipText);
    // The click repeats every nTimeDelay ms while the button is held (0: never).
    void SetAutoRepeatDelay(int nTimeDelay) { m_nAutoRepeatTimeDelay = nTimeDelay; }
    void SetMouseCursor(HCURSOR hcursor) { m_hCursor = hcursor; }
    void SetTextColor(COLORREF clrText) { m_clrRegular = clrText; }
    void SetTextHotColor(COLORREF clrTextHot) { m_clrHover = clrTextHot; }
    void SetFaceColor(COLORREF crFace) { m_clrFace = crFace; }
    BOOL IsPressed() const { return m_bPushed && m_bHighlighted; }
    BOOL IsHighlighted() const { return m_bHighlighted; }
    BOOL IsCheckBox() const { return m_bCheckButton; }
    BOOL IsRadioButton() const { return m_bRadioButton; }
    BOOL IsChecked() const { return m_bChecked; }
    BOOL IsAutoCheck() const { return m_bAutoCheck; }

    BOOL PreTranslateMessage(MSG* pMsg) override;

    int m_nFlatStyle;
    int m_nAlignStyle;
    BOOL m_bRightImage;
    BOOL m_bTransparent;
    BOOL m_bDrawFocus;
    BOOL m_bHighlightChecked;
    BOOL m_bGrayDisabled;
    BOOL m_bResponseOnButtonDown;
    BOOL m_bWinXPTheme = FALSE;

protected:
    virtual void OnFillBackground(CDC* pDC, const CRect& rectClient);
    virtual void OnDrawBorder(CDC* pDC, CRect& rectClient, UINT uiState);
    virtual void OnDrawFocusRect(CDC* pDC, const CRect& rectClient);
    virtual void OnDraw(CDC* pDC, const CRect& rect, UINT uiState);
    virtual void OnDrawText(CDC* pDC, const CRect& rect, const CString& strText, UINT uiDTFlags, UINT uiState);
    virtual void CreateDisabledImage(HBITMAP hBitmap, BOOL bChecked);
    virtual CFont* SelectFont(CDC* pDC);

    void PreSubclassWindow() override;
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;

    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnCancelMode();
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnEnable(BOOL bEnable);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg LRESULT OnSetFont(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetFont(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetCheck(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetCheck(WPARAM wParam, LPARAM lParam);

    // The type bits of the style (check box, radio, auto) and the alignment of those.
    void ReadButtonType(DWORD dwStyle);
    // The other radio buttons of the dialog group lose their check.
    void UncheckRadioButtonsInGroup();
    // WM_COMMAND (id, BN_CLICKED) to the parent.
    void NotifyParent();
    void Repaint();
    // Capture released, pushed, clicked, hover and inside cleared, repainted.
    void ForgetMouse();

    BOOL m_bPushed;
    BOOL m_bClickiedInside;
    BOOL m_bHighlighted;
    BOOL m_bCaptured;
    BOOL m_bHover;
    BOOL m_bChecked;
    BOOL m_bCheckButton;
    BOOL m_bRadioButton;
    BOOL m_bAutoCheck;
    BOOL m_bTypeRead;
    CSize m_sizeImage;
    CImageList m_Image;
    CImageList m_ImageHot;
    CImageList m_ImageDisabled;
    CImageList m_ImageChecked;
    CImageList m_ImageCheckedHot;
    CImageList m_ImageCheckedDisabled;
    BOOL m_bAutoToolTip;
    BOOL m_bDelayFullTextTooltipSet;
    int m_nStdImageId;
    int m_nStdImageStyle;
    CToolTipCtrl m_wndToolTip;
    HCURSOR m_hCursor;
    CSize m_sizePushOffset;
    COLORREF m_clrRegular;
    COLORREF m_clrHover;
    COLORREF m_clrFace;
    HFONT m_hFont;
    int m_nAutoRepeatTimeDelay;

    DECLARE_MESSAGE_MAP()
};
