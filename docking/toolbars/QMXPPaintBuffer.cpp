#include "docking/toolbars/QMXPPaintBuffer.h"

CQMXPPaintBuffer::CQMXPPaintBuffer(CDC* pTarget, const CRect& rectClient, const CRect& rectClip)
    : m_pTarget(pTarget), m_rectClip(rectClip), m_pDC(pTarget) {
    if (m_dcMem.CreateCompatibleDC(pTarget) &&
        m_bmpMem.CreateCompatibleBitmap(pTarget, rectClient.Width(), rectClient.Height())) {
        m_pOldBitmap = m_dcMem.SelectObject(&m_bmpMem);
        m_pDC = &m_dcMem;
    }
}

CQMXPPaintBuffer::~CQMXPPaintBuffer() {
    if (m_pDC != &m_dcMem)
        return;
    m_pTarget->BitBlt(m_rectClip.left, m_rectClip.top, m_rectClip.Width(), m_rectClip.Height(), &m_dcMem,
                      m_rectClip.left, m_rectClip.top, SRCCOPY);
    m_dcMem.SelectObject(m_pOldBitmap);
}
