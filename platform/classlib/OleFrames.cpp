#include "platform/classlib/OleFrames.h"

IMPLEMENT_DYNCREATE(COleIPFrameWnd, CFrameWnd)
IMPLEMENT_DYNCREATE(COleDocIPFrameWnd, COleIPFrameWnd)
IMPLEMENT_DYNAMIC(COleCntrFrameWnd, CFrameWnd)

COleIPFrameWnd::COleIPFrameWnd() : m_pMainFrame(nullptr), m_pDocFrame(nullptr) {}

COleIPFrameWnd::~COleIPFrameWnd() {
    delete m_pMainFrame;
    delete m_pDocFrame;
}

BOOL COleIPFrameWnd::OnCreateControlBars(CFrameWnd*, CFrameWnd*) { return TRUE; }

COleCntrFrameWnd::COleCntrFrameWnd(COleIPFrameWnd* pInPlaceFrame) : m_pInPlaceFrame(pInPlaceFrame) {}

COleCntrFrameWnd::~COleCntrFrameWnd() {
    if (m_hWnd != nullptr)
        Detach();
}
