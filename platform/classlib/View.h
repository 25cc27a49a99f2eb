#pragma once
// CView: the window that shows a document inside a frame. It is attached to
// its document when it is created from a creation context, draws through
// OnDraw (for the screen, the printer and the preview alike), routes
// commands on to its document and runs the print loop and the print preview.
#include "platform/classlib/Wnd.h"

class CDC;
class CDocument;
class CFrameWnd;
class CPreviewView;
class CPrintInfo;
struct CPrintPreviewState;

// Print commands.
constexpr UINT ID_FILE_PRINT_SETUP = 0xE106;
constexpr UINT ID_FILE_PRINT = 0xE107;
constexpr UINT ID_FILE_PRINT_DIRECT = 0xE108;  // prints without the dialog ("/p", "/pt", DDE print)
constexpr UINT ID_FILE_PRINT_PREVIEW = 0xE109;
// The message shown when a print job cannot start or fails.
constexpr UINT AFX_IDP_FAILED_TO_START_PRINT = 0xF0E0;
// The preview's dialog bar of the class library's own preview command.
constexpr UINT AFX_IDD_PREVIEW_TOOLBAR = 30722;

class CView : public CWnd {
    DECLARE_DYNAMIC(CView)
public:
    CView();
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }

    // Called once the frame is first shown (WM_INITIALUPDATE): OnUpdate(null, 0, null).
    virtual void OnInitialUpdate();
    // The document changed (CDocument::UpdateAllViews): repaints the whole view.
    virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);
    virtual void OnDraw(CDC* pDC) = 0;
    // Before each paint, printed page and preview page; pInfo is null on screen.
    virtual void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr);

    // The print loop's steps. OnPreparePrinting sets the page range and must
    // call DoPreparePrinting (the default does only that).
    virtual BOOL OnPreparePrinting(CPrintInfo* pInfo);
    virtual void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo);
    // One page; the default draws the view with OnDraw.
    virtual void OnPrint(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo);
    // The preview closes: OnEndPrinting, then the frame leaves preview mode.
    virtual void OnEndPrintPreview(CDC* pDC, CPrintInfo* pInfo, POINT point, CPreviewView* pView);

    // Shows the print dialog (or, for preview and direct printing, takes the
    // default printer) and leaves the printer's DC in pInfo->m_pPD; FALSE when
    // cancelled or when there is no printer.
    BOOL DoPreparePrinting(CPrintInfo* pInfo);
    // Puts the frame in preview mode: a preview view of pPreviewViewClass
    // replaces this view's pane, with the dialog bar of template nIDResource
    // above it; pPrintView is the view whose pages are shown. FALSE when it
    // cannot start (the frame is left as it was; pState stays the caller's).
    BOOL DoPrintPreview(UINT nIDResource, CView* pPrintView, CRuntimeClass* pPreviewViewClass,
                        CPrintPreviewState* pState);

    // The frame's active view changes; the default moves the focus to the new one.
    virtual void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView);
    virtual void OnActivateFrame(UINT nState, CFrameWnd* pFrameWnd);

    // The print loop (ID_FILE_PRINT, and ID_FILE_PRINT_DIRECT without the
    // dialog) and the class library's preview; derived views map them.
    afx_msg void OnFilePrint();
    afx_msg void OnFilePrintPreview();

    // The view's map, then its document's.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;

protected:
    void PostNcDestroy() override;

    afx_msg int OnCreate(LPCREATESTRUCTW lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    afx_msg LRESULT OnInitialUpdateMsg(WPARAM wParam, LPARAM lParam);

    CDocument* m_pDocument;

    // CDocument::AddView and RemoveView set m_pDocument.
    friend class CDocument;

    DECLARE_MESSAGE_MAP()
};

