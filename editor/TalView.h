#pragma once
// CTalView: the view of a report in its report window. It is the parent of
// the window's panes (the section tree, the image panel, the page-template
// and text-note windows) and lays them out over its client area; it hands
// the tree's notifications and keys to the document; it paints nothing
// itself, but draws the composed pages when printing and in print preview.
#include "controls/KWDragDropPane.h"
#include "framework/windows/KWSplitView.h"

class CTalDocFrame;
class CTalDocument;

class CTalView : public CKWSplitView, public CKWDragDropPane {
    DECLARE_DYNCREATE(CTalView)
public:
    CTalView();
    ~CTalView() override;

    // The report window holding the view; null when it is of another class.
    CTalDocFrame* GetDocFrame();
    CTalDocument* GetTalDocument() const;

    // Draws composed page number page (1-based; -1: nothing) into the rectangle.
    virtual void DrawPage(IKWGraphics* graphics, const CRect& pageRect, int page);

    // --- CKWView and CKWAbstractView ---
    void InitializeView(CKWDocument* document) override;
    // The print and preview entry: the printer's resolution (or its scale),
    // then DrawPage over the printer's page.
    void PrintPage(IKWGraphics* graphics, int page) override;
    bool OnKeyDown(const CKWKeyRecord& key) override;
    void GetContentSize(KWDoubleSize& size) override;

    // --- CKWDragDropPane: drops on the section tree come with their own work ---
    DROPEFFECT OnDragEnter(CWnd* wnd, COleDataObject* data, DWORD keyState, CPoint point) override;
    void OnDragLeave(CWnd* wnd) override;
    DROPEFFECT OnDragOver(CWnd* wnd, COleDataObject* data, DWORD keyState, CPoint point) override;
    DROPEFFECT OnDrop(CWnd* wnd, COleDataObject* data, DROPEFFECT dropEffect, DROPEFFECT dropList,
                      CPoint point) override;
    DROPEFFECT OnDragScroll(CWnd* wnd, DWORD keyState, CPoint point) override;
    using CKWWinView::OnDragEnter;
    using CKWWinView::OnDragLeave;
    using CKWWinView::OnDragOver;
    using CKWWinView::OnDrop;

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    afx_msg int OnCreate(LPCREATESTRUCTW lpCreateStruct);
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    afx_msg void OnPaint();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnFilePrint();
    afx_msg void OnFilePrintPreview();

    DECLARE_MESSAGE_MAP()

private:
    // The document's result for a key of the tree or a child window.
    LRESULT HandleKey(UINT virtualKey);

    CTalDocFrame* m_frame = nullptr;
};
