#pragma once
// CQMXPToolbarButton: one item of a docking-library tool bar: its command,
// text, style and place on the bar.
#include "platform/classlib/Object.h"
#include "platform/classlib/Rect.h"
#include "platform/classlib/String.h"

// Button styles (m_nStyle).
constexpr UINT TBBS_SEPARATOR = 0x0001;
constexpr UINT TBBS_CHECKED = 0x10000;
constexpr UINT TBBS_PRESSED = 0x20000;
constexpr UINT TBBS_DISABLED = 0x40000;
constexpr UINT TBBS_INDETERMINATE = 0x100000;

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

    // FALSE for the commands the library reserves; customise mode draws
    // such buttons disabled.
    virtual BOOL IsPermitted() const;

    // The button's place in its tool bar's client area.
    CRect GetRect() const { return m_rect; }
    void SetRect(const CRect& rect) { m_rect = rect; }

protected:
    CRect m_rect;
};
