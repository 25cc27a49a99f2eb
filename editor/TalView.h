#pragma once
// CTalView: the view of a report in its report window. It is the parent of
// the window's panes (the section tree, the image panel, the page-template
// and text-note windows) and lays them out over its client area; it hands
// the tree's notifications and keys to the document; it paints nothing
// itself, but draws the composed pages when printing and in print preview.
// It is the section tree's drop handler and drag source: sections, pictures,
// image files, folders, report files, bitmaps and text dropped on the tree
// become undoable changes of the report (TalViewDragDrop.cpp).
#include "controls/KWDragDropPane.h"
#include "appwindows/KWSplitView.h"
#include "platform/classlib/String.h"

#include <commctrl.h>

#include <cstdint>
#include <vector>

class CTalDocFrame;
class CTalDocument;
class CTalDragDropTask;
class CTalSection;
class CTalSectionTreeCtrl;

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

    // --- The section tree's drag and drop ---
    // The tree item under a tree point and whether the point lies on its
    // label; no item gives the tree's root item, on its label.
    HTREEITEM HitTestTree(const CPoint& point, bool& onLabel);
    // The insertion mark after the item at the point; none for null.
    void HighlightDropTarget(const CPoint* point);
    // Files have entered: the application's message sink is told.
    void OnDragEnterView();
    void OnDragOverTree(KWDragInfo* info, const CPoint& point);
    void OnDragLeaveTree();
    // A tick of the hover timer: after 700 ms of rest the tree scrolls by a
    // row in its top or bottom row, or expands the collapsed item.
    void OnDragHoverTimer();
    void OnDropData(const CPoint& point, KWDragInfo* info, const uint8_t* data, size_t size);
    void OnDropFiles(const std::vector<CString>& paths, const CPoint& point);
    // Sections under the parent for the folder's sub-folders, depth first,
    // with their image files; links are not followed, the depth is bounded.
    void AddFolderSections(const CString& folder, CTalSection* parent);
    void OnDropImageData(COleDataObject* data, CLIPFORMAT format, const CPoint& point);
    void OnDropText(const CString& text, const CPoint& point);
    // The item of a section drag pressed at the point (tree client
    // coordinates), else of the selected section; null without one.
    CTalDragDropTask* BeginDragSelection(const CPoint& start);
    // The label of the item at the point on white, in 14-pixel Arial.
    HBITMAP MakeDragImage(const CPoint& point);
    // The section the tree item shows; the heading section for none.
    CTalSection* TargetSection(HTREEITEM item);
    UINT GetHoverTimer() const { return m_hoverTimer; }

    // --- CKWDragDropPane: the tree's events ---
    void BeginDrag(const CPoint& start) override;
    bool OnOwnDragEnter(const CPoint& point, KWDragInfo* info, const uint8_t* data, size_t size,
                        int reserved) override;
    void OnOwnDragOver(KWDragInfo* info, const CPoint& point) override;
    void OnOwnDragLeave() override;
    bool OnOwnDrop(const CPoint& point, KWDragInfo* info, const uint8_t* data, size_t size, int reserved) override;
    int OnFilesDragEnter(const CPoint& point, const std::vector<CString>& paths) override;
    // OnDragEnterView.
    int OnFilesDragEvent(int count) override;
    int OnFilesDragOver(const std::vector<CString>& paths, const CPoint& point) override;
    int OnFilesDrop(const CPoint& point, const std::vector<CString>& paths) override;
    int OnTextDrop(const CPoint& point, const CString& text) override;
    int OnBitmapDrop(COleDataObject* data, CLIPFORMAT format, const CPoint& point) override;
    DROPEFFECT OnBitmapDragEnter(COleDataObject* data, CLIPFORMAT format, const CPoint& point) override;
    DROPEFFECT OnTextDragEnter(COleDataObject* data, CLIPFORMAT format, const CPoint& point) override;
    DROPEFFECT OnBitmapDragOver(COleDataObject* data, CLIPFORMAT format, const CPoint& point) override;
    DROPEFFECT OnTextDragOver(COleDataObject* data, CLIPFORMAT format, const CPoint& point) override;
    // From the multimedia timer's thread: only a message to the view.
    void OnTimer(UINT timerId) override;

    // The hover routine's rest before it scrolls or expands, and its period.
    static constexpr DWORD kHoverRestMs = 700;
    static constexpr UINT kHoverPeriodMs = 100;
    // The part of a label's left that drops beside its item rather than into it.
    static constexpr int kLabelEdge = 12;

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    afx_msg int OnCreate(LPCREATESTRUCTW lpCreateStruct);
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    afx_msg void OnPaint();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnFilePrint();
    afx_msg void OnFilePrintPreview();
    // A hover tick posted by the timer; a tick of a stopped timer does nothing.
    afx_msg LRESULT OnHoverTimerMessage(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    CTalSectionTreeCtrl* GetTree();
    void StartHoverTimer();
    void StopHoverTimer();
    // The mark removed (the drag image hidden around it) and forgotten.
    void RemoveDropMark(bool redraw);

    // The document's result for a key of the tree or a child window.
    LRESULT HandleKey(UINT virtualKey);

    CTalDocFrame* m_frame = nullptr;
    UINT m_hoverTimer = 0;
    POINT m_hoverCursor = {-1, -1};
    DWORD m_hoverTick = 0;
};
