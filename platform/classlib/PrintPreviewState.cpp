#include "platform/classlib/PrintPreviewState.h"

#include "platform/classlib/FrameWnd.h"
#include "platform/classlib/PreviewView.h"

CPrintPreviewState::CPrintPreviewState()
    : nIDMainPane(AFX_IDW_PANE_FIRST),
      hMenu(nullptr),
      hAccelTable(nullptr),
      pViewActiveOld(nullptr),
      lpfnCloseProc(AfxPreviewCloseProc) {}
