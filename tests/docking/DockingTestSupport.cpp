#include "DockingTestSupport.h"

namespace docking_test {

IMPLEMENT_DYNCREATE(CDockTestDoc, CDocument)
IMPLEMENT_DYNCREATE(CDockTestView, CView)
IMPLEMENT_DYNCREATE(CDockTestFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CDockTestFrame, CFrameWnd)
    ON_COMMAND(ID_DOCKTEST_HANDLED, OnHandled)
    ON_COMMAND_EX_RANGE(ID_DOCKTEST_INDICATOR_A, ID_DOCKTEST_INDICATOR_B, OnIndicator)
END_MESSAGE_MAP()

}  // namespace docking_test
