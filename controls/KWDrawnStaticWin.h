#pragma once
// CKWDrawnStaticWin: the window of a static control of a dialog, taken over
// (subclassed) so that it is drawn through the framework's GDI+ drawing. The
// dialog keeps its control: releasing only lets the window go again.
#include "platform/classlib/Static.h"

class IKWGraphics;

class CKWDrawnStaticWin : public CStatic {
public:
    // Lets the window go, when there still is one: it belongs to the dialog.
    ~CKWDrawnStaticWin() override;

    // Destroys the window, when there is one.
    void DestroyStatic();

protected:
    // Detaches from the window, which stays.
    void ReleaseStatic();
    // Invalidates without erasing and repaints at once.
    void RefreshStatic();
    // The client rectangle; empty without a window.
    void StaticClientRect(CRect& rect) const;
    // Draws the whole window; called for every paint.
    virtual void DrawStatic(IKWGraphics* graphics) = 0;

    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};
