#pragma once
// CKWWinFrame: the Windows document frame, an MDI child of the docking
// library. It always opens maximised and owns the two scroll-bar strips
// that its views scroll with.
#include "docking/frames/QMXPMDIChildWnd.h"
#include "appwindows/KWWinBasePageFrame.h"

class CKWWinFrame : public CQMXPMDIChildWnd, public CKWWinBasePageFrame {
    DECLARE_DYNCREATE(CKWWinFrame)
public:
    CKWWinFrame();
    ~CKWWinFrame() override;

    // The docking library's preparation, then the maximised document-frame style.
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    void ActivateFrame(int nCmdShow = -1) override;
    // Handed to the page frame when the client is created; null here.
    virtual void* GetAttachedObject();

protected:
    // The views, then the right and the bottom strips; true only when all exist.
    BOOL OnCreateClient(LPCREATESTRUCTW lpcs, CCreateContext* pContext) override;

    // The strips' scroll bars scroll the active view; other scroll
    // messages get the default processing.
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);

    DECLARE_MESSAGE_MAP()

private:
    // True when the message came from a strip and went on to the view.
    bool ScrollActiveView(CScrollBar* pScrollBar);
};
