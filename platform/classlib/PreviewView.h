#pragma once
// CPreviewView: the print preview. It takes the place of the printing
// view's pane in its frame (with the preview's dialog bar above it) and
// shows one or two pages of the printout, drawn by the printing view's own
// printing steps through a CPreviewDC, with the page number in the status
// line. It is made by CView::DoPrintPreview and closes through
// AFX_ID_PREVIEW_CLOSE or the frame's WM_CLOSE.
#include "platform/classlib/View.h"

class CDialogBar;
class CPreviewDC;
struct CPrintPreviewState;

// The preview's commands.
constexpr UINT AFX_ID_PREVIEW_CLOSE = 0xE300;
constexpr UINT AFX_ID_PREVIEW_NUMPAGE = 0xE301;  // one page / two pages
constexpr UINT AFX_ID_PREVIEW_NEXT = 0xE302;
constexpr UINT AFX_ID_PREVIEW_PREV = 0xE303;
constexpr UINT AFX_ID_PREVIEW_PRINT = 0xE304;
// Texts of the one/two pages button.
constexpr UINT AFX_IDS_ONEPAGE = 0xF041;  // "&One Page"
constexpr UINT AFX_IDS_TWOPAGE = 0xF042;  // "&Two Page"

class CPreviewView : public CView {
    DECLARE_DYNCREATE(CPreviewView)
public:
    CPreviewView();
    // Deletes the preview's print job, its DC and the preview state.
    ~CPreviewView() override;

    // Makes pPrintView the view whose pages are shown and prepares the job
    // (OnPreparePrinting, OnBeginPrinting in preview mode); FALSE when it cannot.
    // A close asked for meanwhile is kept for the caller (CloseAsked).
    BOOL SetPrintView(CView* pPrintView);
    // True when the preview was closed while its job was prepared: preparing
    // may run a message loop (the printer dialog of a preview without a
    // printer), and the view must outlive it, so the close waits.
    BOOL CloseAsked() const { return m_bCloseAsked; }
    // Shows the page (kept within the job's page range) and the number in the status line.
    void SetCurrentPage(UINT nPage, BOOL bClearRatios);
    UINT GetCurrentPage() const { return m_nCurrentPage; }
    // Pages shown side by side: 1 or 2.
    UINT GetPagesShown() const { return m_nPages; }

    // The paper of page slot 0 or 1 in client coordinates.
    CRect CalcPageRect(int nSlot) const;

    void OnDraw(CDC* pDC) override;
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;
    // The status line: "Page n" or "Pages n-m" from the print job's page description.
    virtual void OnDisplayPageNumber(UINT nPage, UINT nPagesDisplayed);

    // The dialog bar above the preview (destroyed with the preview).
    CDialogBar* m_pToolBar;
    // Owned while the preview runs; what the frame gets back when it closes.
    CPrintPreviewState* m_pPreviewState;

protected:
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnPreviewClose();
    afx_msg void OnNumPageChange();
    afx_msg void OnNextPage();
    afx_msg void OnPrevPage();
    afx_msg void OnPreviewPrint();
    afx_msg void OnUpdateNumPageChange(CCmdUI* pCmdUI);
    afx_msg void OnUpdateNextPage(CCmdUI* pCmdUI);
    afx_msg void OnUpdatePrevPage(CCmdUI* pCmdUI);

    BOOL PreparePrintView(CView* pPrintView);
    // Records page nPage through the printing view and plays it into rectPage;
    // FALSE when the job has no such page.
    BOOL DrawPage(CDC* pDC, UINT nPage, const CRect& rectPage);
    // The pages that fit from the current one (1 or 2).
    UINT PagesDisplayed() const;

    CView* m_pPrintView;
    CPrintInfo* m_pPreviewInfo;
    CPreviewDC* m_pPreviewDC;
    UINT m_nPages;
    UINT m_nCurrentPage;
    BOOL m_bPreparing;
    BOOL m_bCloseAsked;

    friend class CView;

    DECLARE_MESSAGE_MAP()
};

// The frame's close procedure while a preview runs: closes the preview.
BOOL AfxPreviewCloseProc(CFrameWnd* pFrameWnd);
