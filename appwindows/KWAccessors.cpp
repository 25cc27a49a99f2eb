#include "appwindows/KWAccessors.h"

#include "appwindows/KWBaseApplication.h"
#include "appwindows/KWDocument.h"
#include "appwindows/KWView.h"
#include "platform/classlib/Document.h"
#include "platform/classlib/FrameWnd.h"

CKWBaseApplication* KWGetApp()
{
    CWinApp* app = AfxGetApp();
    return app && app->IsKindOf(RUNTIME_CLASS(CKWBaseApplication)) ? static_cast<CKWBaseApplication*>(app)
                                                                   : nullptr;
}

CKWView* KWGetActiveView()
{
    CFrameWnd* frame = KWGetActiveFrame();
    CView* view = frame ? frame->GetActiveView() : nullptr;
    return view && view->IsKindOf(RUNTIME_CLASS(CKWView)) ? static_cast<CKWView*>(view) : nullptr;
}

CKWDocument* KWGetActiveDocument()
{
    CFrameWnd* frame = KWGetActiveFrame();
    CDocument* document = frame ? frame->GetActiveDocument() : nullptr;
    return document && document->IsKindOf(RUNTIME_CLASS(CKWDocument)) ? static_cast<CKWDocument*>(document)
                                                                       : nullptr;
}
