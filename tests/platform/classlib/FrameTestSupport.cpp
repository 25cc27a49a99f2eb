#include "FrameTestSupport.h"

#include "platform/classlib/CmdUI.h"

namespace frame_test {

IMPLEMENT_DYNCREATE(CTestDoc, CDocument)
int CTestDoc::s_nLive = 0;
BOOL CTestDoc::s_bAllowClose = TRUE;

BEGIN_MESSAGE_MAP(CTestDoc, CDocument)
    ON_COMMAND(ID_FRAMETEST_DOCONLY, OnDocOnly)
    ON_COMMAND(ID_FRAMETEST_THING, OnThing)
END_MESSAGE_MAP()

IMPLEMENT_DYNCREATE(CTestView, CView)
int CTestView::s_nLive = 0;
UINT CTestView::s_nPages = 3;
BOOL CTestView::s_bScreenPreview = TRUE;
BOOL CTestView::s_bCloseWhilePreparing = FALSE;

BEGIN_MESSAGE_MAP(CTestView, CView)
    ON_COMMAND(ID_FRAMETEST_VIEWONLY, OnViewOnly)
    ON_UPDATE_COMMAND_UI(ID_FRAMETEST_VIEWONLY, OnUpdateViewOnly)
    ON_COMMAND(ID_FILE_PRINT, CView::OnFilePrint)
    ON_COMMAND(ID_FILE_PRINT_PREVIEW, CView::OnFilePrintPreview)
END_MESSAGE_MAP()

IMPLEMENT_DYNCREATE(CTestFrame, CFrameWnd)
int CTestFrame::s_nLive = 0;

BEGIN_MESSAGE_MAP(CTestFrame, CFrameWnd)
    ON_COMMAND(ID_FRAMETEST_FRAMEONLY, OnFrameOnly)
    ON_COMMAND(ID_FRAMETEST_ACCEL, OnAccel)
    ON_COMMAND(ID_FRAMETEST_THING, OnThing)
END_MESSAGE_MAP()

}  // namespace frame_test
