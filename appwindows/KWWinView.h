#pragma once
// CKWWinView: the Windows binding of the framework's views: the message map
// that turns messages into the abstract view's events, the OLE drop target,
// painting through GDI+ into the update region, the mouse wheel and the
// middle-button auto-scroll, dragging out of the view, and printing through
// the document's print interface.
#include "appwindows/KWAbstractView.h"
#include "platform/classlib/GdiObject.h"
#include "platform/classlib/OleDropTarget.h"
#include "platform/classlib/View.h"

class CKWWinBasePageFrame;

// A cursor over a list of zero-terminated UTF-16 strings in a block.
struct KWDropCursor {
    const wchar_t* position;
    const wchar_t* end;
};

class CKWWinView : public CView, public CKWAbstractView {
    DECLARE_DYNCREATE(CKWWinView)
public:
    CKWWinView();
    // Revokes the drop target.
    ~CKWWinView() override;

    // The abstract view's events beside the message handlers of the same names.
    using CKWAbstractView::OnKeyDown;
    using CKWAbstractView::OnKeyUp;
    using CKWAbstractView::OnLButtonDblClk;
    using CKWAbstractView::OnMouseMove;
    using CKWAbstractView::OnRButtonDown;

    // --- CKWAbstractView ---
    CKWPrintIFace* GetPrintIFace() override;
    // Captures the mouse.
    bool OnLButtonDown(const CPoint& point) override;
    // Releases the capture.
    bool OnLButtonUp(const CPoint& point) override;
    // Reading forgets the left Shift key.
    uint32_t GetModifierFlags() override;
    CKWDocument* GetKWDocument() override;
    CScrollBar* GetVertScrollBar() override;
    CScrollBar* GetHorzScrollBar() override;
    void OnSizeView(UINT type, int cx, int cy) override;
    void ScrollWindowBy(const CRect& rect, int dx, int dy) override;
    CKWWinSrvrItem* CreateDragItem() override;
    bool GetUpdateRects(std::vector<CKWDoubleRect>& rects, CKWDoubleRect& bounds) override;
    HRGN GetUpdateRegion() override;

    // --- The class library's view ---
    // Paints through GDI+ over the context (Paint with the client rectangle).
    void OnDraw(CDC* pDC) override;
    // With print information: the print interface's preparation of the DC.
    void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr) override;
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override;
    void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) override;
    // One page through GDI+ at the printer's resolution, unless the print
    // interface skips it; a preview page through PrintPreviewPage.
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override;
    // A preview page is recorded in a metafile, into which GDI+ does not draw
    // as it draws on a printer: the page is drawn into a bitmap of the size
    // the preview shows it (at most the printer's; at kPreviewDpi when the
    // preview does not tell) and the bitmap is recorded over the printable area.
    virtual void PrintPreviewPage(CDC* pDC, CPrintInfo* pInfo);
    static constexpr int kPreviewDpi = 150;
    void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) override;
    // The class library's end of the preview, then the application is told.
    void OnEndPrintPreview(CDC* pDC, CPrintInfo* pInfo, POINT point, CPreviewView* pView) override;
    // The application is told of the active frame, then the framework's
    // preview.
    afx_msg void OnFilePrintPreview();
    // The application is told that the active frame's preview is over (also
    // when it never started).
    static void TellPreviewEnded();

    // --- Drags out of the view and into it ---
    // A drag of what PrepareDragData describes, carried by CreateDragItem.
    virtual void BeginDrag(const CPoint& point);
    // The next string of a dropped file list, never reading past the block;
    // false at the empty string that ends the list (or at the block's end).
    virtual bool ReadDropString(KWDropCursor& cursor, CString& text);
    virtual bool OnDropExternal(COleDataObject* data) { return false; }
    // Asks AcceptsFile of every file of a dropped list, in order; true when any was accepted.
    virtual bool CanDropFiles(COleDataObject* data, const CPoint& point);
    virtual bool OnDragEnterImage(COleDataObject* data, CLIPFORMAT format, const CKWDoublePoint& point)
    {
        return true;
    }
    virtual bool OnDragEnterText(COleDataObject* data, CLIPFORMAT format, const CKWDoublePoint& point)
    {
        return false;
    }
    virtual bool OnDragEnterObject(COleDataObject* data, const CKWDoublePoint& point) { return false; }
    virtual bool OnDragEnterMetafile(COleDataObject* data, CLIPFORMAT format, const CKWDoublePoint& point)
    {
        return false;
    }
    virtual bool OnDragEnterOther(COleDataObject* data, const CKWDoublePoint& point) { return false; }

    // The drag events the view's drop target delivers.
    virtual DROPEFFECT OnDragEnter(COleDataObject* data, DWORD keyState, CPoint point);
    virtual DROPEFFECT OnDragOver(COleDataObject* data, DWORD keyState, CPoint point);
    virtual void OnDragLeave();
    virtual BOOL OnDrop(COleDataObject* data, DROPEFFECT dropEffect, CPoint point);

    // The view window's drop target (registered when the window is created).
    COleDropTarget* GetDropTarget() { return &m_dropTarget; }
    DROPEFFECT GetKeptDropEffect() const { return m_dropEffect; }

protected:
    afx_msg int OnCreate(LPCREATESTRUCTW lpCreateStruct);
    // Revokes the drop target while the window still exists.
    afx_msg void OnDestroy();
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    afx_msg void OnMButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnPaint();
    afx_msg void OnUpdateFilePrintPreview(CCmdUI* pCmdUI);

    DECLARE_MESSAGE_MAP()

    bool m_leftShiftDown;
    bool m_trackingLeave;
    DROPEFFECT m_dropEffect;

private:
    // Hands the class library's drag events to the view.
    class CDropTarget : public COleDropTarget {
    public:
        CKWWinView* m_view = nullptr;
        DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
        DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
        BOOL OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point) override;
        void OnDragLeave(CWnd* pWnd) override;
    };

    // A scroll message of another scroll bar than the view's own is offered to it first.
    bool OfferToOtherScrollBar(CScrollBar* pScrollBar, CScrollBar* own);

protected:
    CDropTarget m_dropTarget;
    CKWWinBasePageFrame* m_pageFrame;
    CRgn m_updateRegion;
};
