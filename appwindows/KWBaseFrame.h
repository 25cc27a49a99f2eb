#pragma once
// CKWBaseFrame: a document frame captioned from its document: the
// document's frame title, with ":n" when several frames show it.
#include "appwindows/KWWinFrame.h"

class CKWBaseFrame : public CKWWinFrame {
    DECLARE_DYNCREATE(CKWBaseFrame)
public:
    CKWBaseFrame();
    ~CKWBaseFrame() override;

    // The own caption, then the main window's.
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;
    // The caption from the active view's framework document (empty without
    // one), at most 515 characters with the ":n" of the window number kept.
    virtual void UpdateTitle();
};
