#pragma once
// CKWWinBasePageFrame: the page-frame part of a document frame: two strips
// along its bottom and right edges whose scroll-bar controls the frame's
// views scroll with, instead of scroll bars of their own.
#include "controls/KWScrollerBar.h"

class CScrollBar;

class CKWWinBasePageFrame {
public:
    // Control ids of the strips.
    enum : unsigned { kHorzStripId = 100, kVertStripId = 101 };

    CKWWinBasePageFrame();
    virtual CScrollBar* GetHorzScrollBar();
    virtual CScrollBar* GetVertScrollBar();
    virtual ~CKWWinBasePageFrame();

    CKWWinBasePageFrame(const CKWWinBasePageFrame&) = delete;
    CKWWinBasePageFrame& operator=(const CKWWinBasePageFrame&) = delete;

protected:
    CKWScrollerBar m_hScrollStrip;
    // What the frame handed over when its client was created.
    void* m_attached;
    CKWScrollerBar m_vScrollStrip;
};
