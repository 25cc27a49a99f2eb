// CView's print preview: starting it in the view's frame and ending it.
#include "platform/classlib/View.h"

#include "platform/classlib/CreateContext.h"
#include "platform/classlib/DialogBar.h"
#include "platform/classlib/Document.h"
#include "platform/classlib/FrameWnd.h"
#include "platform/classlib/PreviewView.h"
#include "platform/classlib/PrintPreviewState.h"

BOOL CView::DoPrintPreview(UINT nIDResource, CView* pPrintView, CRuntimeClass* pPreviewViewClass,
                           CPrintPreviewState* pState) {
    CFrameWnd* pParent = GetParentFrame();
    if (pParent == nullptr || pPrintView == nullptr || pPreviewViewClass == nullptr || pState == nullptr ||
        !pPreviewViewClass->IsDerivedFrom(RUNTIME_CLASS(CPreviewView)))
        return FALSE;
    CObject* pObject = pPreviewViewClass->CreateObject();
    if (pObject == nullptr)
        return FALSE;
    auto* pView = static_cast<CPreviewView*>(pObject);

    pState->pViewActiveOld = pParent->GetActiveView();
    pParent->OnSetPreviewMode(TRUE, pState);

    // Undoes what was done so far; the caller keeps pState.
    auto fail = [&](bool bViewWindow) {
        if (pView->m_pToolBar != nullptr) {
            pView->m_pToolBar->DestroyWindow();
            pView->m_pToolBar = nullptr;
        }
        pView->m_pPreviewState = nullptr;
        pParent->OnSetPreviewMode(FALSE, pState);
        if (bViewWindow)
            pView->DestroyWindow();  // deletes the view
        else
            delete pView;
        if (pState->pViewActiveOld != nullptr)
            pParent->SetActiveView(pState->pViewActiveOld, FALSE);
        pParent->RecalcLayout();
        return FALSE;
    };

    pView->m_pToolBar = new CDialogBar;
    if (!pView->m_pToolBar->Create(pParent, MAKEINTRESOURCEW(nIDResource), CBRS_TOP, AFX_IDW_PREVIEW_BAR)) {
        delete pView->m_pToolBar;
        pView->m_pToolBar = nullptr;
        return fail(false);
    }
    pView->m_pToolBar->m_bAutoDelete = TRUE;

    CCreateContext context;
    context.m_pCurrentFrame = pParent;
    context.m_pCurrentDoc = GetDocument();
    context.m_pLastView = this;
    CDialogBar* pToolBar = pView->m_pToolBar;
    if (!pView->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), pParent, AFX_IDW_PANE_FIRST,
                       &context)) {
        // The view deleted itself; the bar and the frame's mode are left to undo.
        pToolBar->DestroyWindow();
        pParent->OnSetPreviewMode(FALSE, pState);
        if (pState->pViewActiveOld != nullptr)
            pParent->SetActiveView(pState->pViewActiveOld, FALSE);
        pParent->RecalcLayout();
        return FALSE;
    }
    // From here the view owns the state (the caller's again if the start fails).
    pView->m_pPreviewState = pState;
    if (!pView->SetPrintView(pPrintView))
        return fail(true);
    if (pView->CloseAsked()) {
        // Closed while the job was prepared: the preview ends as a closed one does.
        pView->OnPreviewClose();
        return TRUE;
    }

    pParent->SetActiveView(pView);
    pView->SetCurrentPage(pView->m_nCurrentPage, TRUE);
    pParent->RecalcLayout();
    pView->UpdateWindow();
    return TRUE;
}

void CView::OnFilePrintPreview() {
    auto* pState = new CPrintPreviewState;
    if (!DoPrintPreview(AFX_IDD_PREVIEW_TOOLBAR, this, RUNTIME_CLASS(CPreviewView), pState)) {
        AfxMessageBoxText(AFX_IDP_COMMAND_FAILURE, L"Command failed.", MB_OK | MB_ICONEXCLAMATION);
        delete pState;
    }
}

void CView::OnEndPrintPreview(CDC* pDC, CPrintInfo* pInfo, POINT, CPreviewView* pView) {
    OnEndPrinting(pDC, pInfo);
    CFrameWnd* pParent = pView->GetParentFrame();
    CPrintPreviewState* pState = pView->m_pPreviewState;
    pView->m_pPreviewState = nullptr;  // kept until the frame has it back
    if (pView->m_pToolBar != nullptr) {
        pView->m_pToolBar->DestroyWindow();
        pView->m_pToolBar = nullptr;
    }
    // The preview's pane id must be free before the view gets it back.
    pView->DestroyWindow();
    if (pParent == nullptr) {
        delete pState;
        return;
    }
    if (pState != nullptr) {
        pParent->OnSetPreviewMode(FALSE, pState);
        CView* pViewOld = pState->pViewActiveOld != nullptr ? pState->pViewActiveOld : this;
        pParent->SetActiveView(pViewOld);
        delete pState;
    }
    pParent->RecalcLayout();
    pParent->UpdateWindow();
}
