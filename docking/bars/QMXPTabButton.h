#pragma once
// CQMXTabButton: a navigation or close button of a tab strip: a push
// button that shows one of the library's menu glyphs, fills its face and
// draws its border through the visual manager, may repeat its click while
// held, and may carry a tool tip. The click reaches the parent as
// WM_COMMAND with the button's window.
//
// It stands over the class library's button until the library's own push
// button lands; the glyph, repeat and tool-tip calls are that button's.
#include "platform/classlib/Button.h"
#include "platform/classlib/ToolTipCtrl.h"

class CQMXTabButton : public CButton {
    DECLARE_DYNAMIC(CQMXTabButton)
public:
    CQMXTabButton();
    ~CQMXTabButton() override;

    void SetGlyph(int nGlyph, int nHotGlyph = 0) {
        m_nGlyph = nGlyph;
        m_nHotGlyph = nHotGlyph;
    }
    int GetGlyph() const { return m_nGlyph; }
    void SetAutoRepeatDelay(UINT nDelay) { m_nAutoRepeatDelay = nDelay; }
    UINT GetAutoRepeatDelay() const { return m_nAutoRepeatDelay; }
    void SetTooltip(LPCWSTR lpszTooltip);
    CString GetTooltip() const { return m_strTooltip; }
    // Two look options of the library's button.
    void SetLookOptions(int nFlatStyle, int nStdImage) {
        m_nFlatStyle = nFlatStyle;
        m_nStdImage = nStdImage;
    }
    BOOL IsPressed() const { return m_bPushed; }
    BOOL IsHighlighted() const { return m_bHighlighted; }
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnCancelMode();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnDestroy();
    afx_msg void OnSize(UINT nType, int cx, int cy);

    void SendClick();
    void StopRepeat();

    int m_nGlyph;
    int m_nHotGlyph;
    UINT m_nAutoRepeatDelay;
    int m_nFlatStyle;
    int m_nStdImage;
    BOOL m_bPushed;
    BOOL m_bHighlighted;
    BOOL m_bRepeating;
    CString m_strTooltip;
    CToolTipCtrl m_ToolTip;

    DECLARE_MESSAGE_MAP()
};
