#pragma once
// The class library's frames of OLE in-place activation, as thin bases: the
// frame a server shows in place inside a container (COleIPFrameWnd, and
// COleDocIPFrameWnd for a server document), and the wrapper the server
// puts over the container's own frame window while its item is active in
// place (COleCntrFrameWnd). This program activates no item in place; the
// docking library's frames derive from these.
#include "platform/classlib/FrameWnd.h"

class COleCntrFrameWnd;

class COleIPFrameWnd : public CFrameWnd {
    DECLARE_DYNCREATE(COleIPFrameWnd)
public:
    COleIPFrameWnd();
    ~COleIPFrameWnd() override;

    // Makes the server's tool bars in the container's frame and document
    // frame (the wrappers below); TRUE when they are made.
    virtual BOOL OnCreateControlBars(CFrameWnd* pWndFrame, CFrameWnd* pWndDoc);

    // The wrappers of the container's frame and document frame while an
    // item is active in place; owned by this frame.
    COleCntrFrameWnd* m_pMainFrame;
    COleCntrFrameWnd* m_pDocFrame;
};

class COleDocIPFrameWnd : public COleIPFrameWnd {
    DECLARE_DYNCREATE(COleDocIPFrameWnd)
};

class COleCntrFrameWnd : public CFrameWnd {
    DECLARE_DYNAMIC(COleCntrFrameWnd)
public:
    explicit COleCntrFrameWnd(COleIPFrameWnd* pInPlaceFrame);
    // Lets go of the container's window without destroying it.
    ~COleCntrFrameWnd() override;

    COleIPFrameWnd* m_pInPlaceFrame;

protected:
    // The container's window is not this object's to delete with.
    void PostNcDestroy() override {}
};
