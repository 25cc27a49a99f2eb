#include "appwindows/KWBaseFrame.h"

#include "appwindows/KWDocument.h"
#include "platform/classlib/MDIFrameWnd.h"
#include "platform/classlib/View.h"

IMPLEMENT_DYNCREATE(CKWBaseFrame, CKWWinFrame)

namespace {

// The longest caption, in characters.
const int kCaptionLength = 515;

}  // namespace

CKWBaseFrame::CKWBaseFrame() = default;

CKWBaseFrame::~CKWBaseFrame() = default;

void CKWBaseFrame::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    UpdateTitle();
    if (CMDIFrameWnd* top = GetMDIFrame())
        top->OnUpdateFrameTitle(bAddToTitle);
}

void CKWBaseFrame::UpdateTitle()
{
    CString caption;
    CView* view = GetActiveView();
    if (CKWDocument* document = view ? DYNAMIC_DOWNCAST(CKWDocument, view->GetDocument()) : nullptr)
        caption = document->GetFrameTitle(this);
    CString suffix;
    if (m_nWindow > 0)
        suffix.Format(L":%d", m_nWindow);
    // The title gives way to the window number, which tells the frames apart.
    const int room = kCaptionLength - suffix.GetLength();
    if (caption.GetLength() > room)
        caption = caption.Left(room);
    caption += suffix;
    CString old;
    GetWindowText(old);
    if (old != caption)
        SetWindowText(caption);
}
