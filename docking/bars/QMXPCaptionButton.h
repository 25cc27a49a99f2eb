#pragma once
// CQMXPCaptionButton: a button in the caption of a docking pane or a
// floating frame (close, pin, maximise), named by its window hit code and
// drawn by the current visual manager.
#include "platform/classlib/Object.h"
#include "platform/classlib/Rect.h"

class CDC;

class CQMXPCaptionButton : public CObject {
public:
    CQMXPCaptionButton();
    explicit CQMXPCaptionButton(UINT nHit);
    ~CQMXPCaptionButton() override;

    // The size every caption button has: the glyph, the visual manager's
    // extra border and a margin of 2 on each side.
    static CSize GetSize();
    // Empty (at the position) for a hidden button.
    CRect GetRect() const;
    void Move(const CPoint& ptTo) { m_ptOrg = ptTo; }
    void OnDraw(CDC* pDC, BOOL bActive, BOOL bHorz = TRUE, BOOL bMaximized = TRUE, BOOL bDisabled = FALSE);

    BOOL m_bPushed;
    BOOL m_bFocused;
    BOOL m_bHidden;
    UINT m_nHit;
    // Relative to the owner's window rectangle.
    CPoint m_ptOrg;

private:
    static constexpr int kButtonMargin = 2;
};
