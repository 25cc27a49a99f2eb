#include "editor/TalView.h"

#include "editor/TalDocFrame.h"
#include "editor/TalMainFrame.h"
#include "editor/TalPagePainter.h"
#include "export/ComposePageSize.h"
#include "framework/KWGraphics.h"
#include "framework/KWKeyRecord.h"
#include "document/TalDocument.h"
#include "document/TalPrintIFace.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/MessageMap.h"
#include "platform/classlib/WinApp.h"
#include "resources/Editor.h"

#include <commctrl.h>

IMPLEMENT_DYNCREATE(CTalView, CKWSplitView)

namespace {
// The fixed logical size of the view's content.
constexpr double kContentWidth = 1000;
constexpr double kContentHeight = 1500;
// The creation style bit the view adds to its window.
constexpr DWORD kViewCreationStyle = 0x01000000;
}  // namespace

BEGIN_MESSAGE_MAP(CTalView, CKWSplitView)
    ON_WM_CREATE()
    ON_WM_MOUSEWHEEL()
    ON_WM_PAINT()
    ON_WM_SIZE()
    ON_WM_SETFOCUS()
    ON_COMMAND(ID_FILE_PRINT, OnFilePrint)
    ON_COMMAND(ID_FILE_PRINT_PREVIEW, OnFilePrintPreview)
    ON_MESSAGE(WM_TIMER, OnHoverTimerMessage)
END_MESSAGE_MAP()

CTalView::CTalView() = default;

CTalView::~CTalView()
{
    StopHoverTimer();
}

CTalDocFrame* CTalView::GetDocFrame()
{
    if (!m_frame && m_hWnd)
        m_frame = dynamic_cast<CTalDocFrame*>(CWnd::FromHandlePermanent(::GetParent(m_hWnd)));
    return m_frame;
}

CTalDocument* CTalView::GetTalDocument() const
{
    return dynamic_cast<CTalDocument*>(GetDocument());
}

int CTalView::OnCreate(LPCREATESTRUCTW lpCreateStruct)
{
    lpCreateStruct->style |= kViewCreationStyle;
    const int result = CKWSplitView::OnCreate(lpCreateStruct);
    // Drops reach the report through the section tree's pane, not the view.
    GetDropTarget()->Revoke();
    return result;
}

BOOL CTalView::OnMouseWheel(UINT nFlags, short zDelta, CPoint pt)
{
    auto* main = dynamic_cast<CTalMainFrame*>(AfxGetMainWnd());
    if (main && main->ScrollPanelByWheel(zDelta, pt))
        return TRUE;
    return CKWSplitView::OnMouseWheel(nFlags, zDelta, pt);
}

void CTalView::OnPaint()
{
    PAINTSTRUCT paint;
    ::BeginPaint(m_hWnd, &paint);
    ::EndPaint(m_hWnd, &paint);
}

void CTalView::OnSize(UINT nType, int cx, int cy)
{
    CKWSplitView::OnSize(nType, cx, cy);
    // The panes share the view's client area.
    if (CTalDocFrame* frame = GetDocFrame())
        frame->LayOutPanes(cx, cy);
}

void CTalView::OnSetFocus(CWnd* pOldWnd)
{
    Default();
    if (CTalDocFrame* frame = GetDocFrame())
        frame->RestoreFocus();
}

void CTalView::OnFilePrint()
{
    CTalDocument* document = GetTalDocument();
    if (document && document->ComposePages(true))
        CView::OnFilePrint();
}

void CTalView::OnFilePrintPreview()
{
    CTalDocument* document = GetTalDocument();
    if (document && document->ComposePages(true))
        CKWSplitView::OnFilePrintPreview();
}

void CTalView::InitializeView(CKWDocument* document)
{
    CKWSplitView::InitializeView(document);
}

void CTalView::PrintPage(IKWGraphics* graphics, int page)
{
    CTalDocument* document = GetTalDocument();
    auto* print = document ? dynamic_cast<CTalPrintIFace*>(document->GetPrintIFace()) : nullptr;
    CRect pageRect(0, 0, 0, 0);
    if (print) {
        if (print->GetScaleX() == 1.0 && print->GetScaleY() == 1.0) {
            graphics->SetUseFixedDpi(true);
            graphics->SetFixedDpi(print->GetPixelsPerInchY());
        } else {
            graphics->Scale(print->GetScaleX(), print->GetScaleY());
        }
        pageRect = print->GetSizeRect();
    }
    DrawPage(graphics, pageRect, page);
    graphics->SetUseFixedDpi(false);
}

void CTalView::DrawPage(IKWGraphics* graphics, const CRect& pageRect, int page)
{
    if (page == -1 || !graphics)
        return;
    CTalDocument* document = GetTalDocument();
    auto* print = document ? dynamic_cast<CTalPrintIFace*>(document->GetPrintIFace()) : nullptr;
    if (!print || page < 1)
        return;
    const TalPageExport* composed = document->GetPage(static_cast<size_t>(page));
    if (!composed)
        return;
    // Printing and preview compose on the printer's paper.
    double width = 0, height = 0;
    GetComposePageSize(document->GetProperties(), true, width, height);
    CTalPagePainter painter(document->GetProperties(), print->GetPixelsPerInchX(), print->GetPixelsPerInchY(), width,
                            height);
    painter.DrawPage(*graphics, pageRect, *composed);
}

bool CTalView::OnKeyDown(const CKWKeyRecord& key)
{
    CTalDocument* document = GetTalDocument();
    return document && document->HandleKey(key);
}

void CTalView::GetContentSize(KWDoubleSize& size)
{
    size.cx = kContentWidth;
    size.cy = kContentHeight;
}

LRESULT CTalView::HandleKey(UINT virtualKey)
{
    CTalDocument* document = GetTalDocument();
    if (!document)
        return 0;
    return document->HandleKey(CKWKeyRecord::FromMessage(virtualKey)) ? 1 : 0;
}

BOOL CTalView::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const BOOL result = CKWSplitView::OnNotify(wParam, lParam, pResult);
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    CTalDocument* document = GetTalDocument();
    if (!header || !document)
        return result;
    if (header->code == static_cast<UINT>(NM_KEYDOWN)) {
        *pResult = HandleKey(reinterpret_cast<const NMKEY*>(lParam)->nVKey);
        return TRUE;
    }
    if (header->idFrom != IDC_TAL_SECTION_TREE)
        return result;
    const auto* tree = reinterpret_cast<const NMTREEVIEWW*>(lParam);
    switch (header->code) {
    case TVN_SELCHANGEDW:
        document->OnTreeSelChanged(tree->itemNew.hItem);
        *pResult = 1;
        return TRUE;
    case TVN_ITEMEXPANDEDW:
        document->OnTreeItemExpanded(tree->action, tree->itemNew.hItem);
        *pResult = 1;
        return TRUE;
    case TVN_ENDLABELEDITW: {
        const auto* edit = reinterpret_cast<const NMTVDISPINFOW*>(lParam);
        if (!edit->item.pszText) {
            *pResult = 0;
            return TRUE;
        }
        document->RenameSectionFromTree(edit->item.hItem, edit->item.pszText);
        *pResult = 1;
        return TRUE;
    }
    case TVN_BEGINDRAGW:
        BeginDrag(CPoint(tree->ptDrag));
        *pResult = 1;
        return TRUE;
    case TVN_KEYDOWN:
        *pResult = HandleKey(reinterpret_cast<const NMTVKEYDOWN*>(lParam)->wVKey);
        return TRUE;
    default:
        return result;
    }
}
