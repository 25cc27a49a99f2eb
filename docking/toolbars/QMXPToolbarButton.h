#pragma once
// CQMXPToolbarButton: one item of a docking-library tool bar: its command,
// text, style and place on the bar.
#include "platform/classlib/Object.h"
#include "platform/classlib/Rect.h"
#include "platform/classlib/String.h"

// Button styles (m_nStyle).
constexpr UINT TBBS_CHECKED = 0x0400;
constexpr UINT TBBS_DISABLED = 0x4000;

class CQMXPToolbarButton : public CObject {
    DECLARE_DYNCREATE(CQMXPToolbarButton)
public:
    CQMXPToolbarButton();
    CQMXPToolbarButton(UINT nID, LPCWSTR lpszText, BOOL bText = FALSE);
    ~CQMXPToolbarButton() override;

    UINT m_nID;
    UINT m_nStyle;
    // The caption, shown on the bar when m_bText is set.
    CString m_strText;
    BOOL m_bText;

    // The button's place in its tool bar's client area.
    CRect GetRect() const { return m_rect; }
    void SetRect(const CRect& rect) { m_rect = rect; }

protected:
    CRect m_rect;
};
