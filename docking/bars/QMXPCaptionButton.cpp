#include "docking/bars/QMXPCaptionButton.h"

#include "docking/toolbars/QMXPMenuGlyphs.h"
#include "docking/toolbars/QMXPVisualManager.h"

CQMXPCaptionButton::CQMXPCaptionButton() : CQMXPCaptionButton(HTNOWHERE) {}

CQMXPCaptionButton::CQMXPCaptionButton(UINT nHit) : m_bPushed(FALSE), m_bFocused(FALSE), m_bHidden(FALSE), m_nHit(nHit) {}

CQMXPCaptionButton::~CQMXPCaptionButton() = default;

CSize CQMXPCaptionButton::GetSize() {
    return CQMXPVisualManager::GetInstance()->GetButtonExtraBorder() + CQMXPMenuGlyphs::GetSize() +
           CSize(2 * kButtonMargin, 2 * kButtonMargin);
}

CRect CQMXPCaptionButton::GetRect() const {
    return m_bHidden ? CRect(m_ptOrg, CSize(0, 0)) : CRect(m_ptOrg, GetSize());
}

void CQMXPCaptionButton::OnDraw(CDC* pDC, BOOL bActive, BOOL bHorz, BOOL bMaximized, BOOL bDisabled) {
    if (m_bHidden)
        return;
    CQMXPVisualManager::GetInstance()->OnDrawCaptionButton(pDC, this, bActive, bHorz, bMaximized, bDisabled);
}
