#pragma once
// CQMXPPaintBuffer: a bar's painting goes to a bitmap of its client's size,
// which is copied onto the window's DC where the paint is clipped when the
// buffer goes away, so a repaint never flickers. Where no bitmap can be made
// the painting goes straight onto the window's DC.
#include "platform/classlib/DC.h"
#include "platform/classlib/GdiObject.h"

class CQMXPPaintBuffer {
public:
    CQMXPPaintBuffer(CDC* pTarget, const CRect& rectClient, const CRect& rectClip);
    ~CQMXPPaintBuffer();
    CQMXPPaintBuffer(const CQMXPPaintBuffer&) = delete;
    CQMXPPaintBuffer& operator=(const CQMXPPaintBuffer&) = delete;

    // Where to paint.
    CDC* GetDC() const { return m_pDC; }

private:
    CDC* m_pTarget;
    CRect m_rectClip;
    CDC m_dcMem;
    CBitmap m_bmpMem;
    CBitmap* m_pOldBitmap = nullptr;
    CDC* m_pDC;
};
