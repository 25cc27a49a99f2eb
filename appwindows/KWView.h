#pragma once
// CKWView: the scrolled, double-buffered view. The content is drawn
// translated by a scroll origin (held by the view tool); the scroll bars are
// the page frame's controls, whose ranges take the content with a margin
// around it; painting goes through one off-screen bitmap that only grows.
#include "appwindows/KWWinView.h"

#include <cstdint>

class CKWDocument;
class CKWGdipBitmap;
class CKWGdiPlusDraw;
class CKWViewTool;

// The margin kept around the content in the scroll range, in pixels.
extern int32_t g_KWScrollMargin;
// How far a wheel delta is shifted right to give lines (120 >> 6 = 1).
extern int32_t g_KWWheelShift;

class CKWView : public CKWWinView {
    DECLARE_DYNCREATE(CKWView)
public:
    CKWView();
    // Deletes the view tool, the back graphics and the back bitmap.
    ~CKWView() override;

    // --- CKWAbstractView ---
    // Top-left at the scroll origin, the size GetContentSize gives.
    bool GetContentRect(CRect& rect) override;
    void UpdateScrollBars() override;
    // Steps from the client size; both bars at 0 over the content and its margins.
    void ResetScrolling() override;
    void RecalcScrolling() override;
    void CenterContent() override;
    void ScrollContent(int dx, int dy) override;
    void ScrollLines(bool horizontal, int count) override;
    int GetWheelShift() override;
    bool OnScroll(UINT code, UINT position) override;
    bool OnScrollBy(int dx, int dy) override;
    // Past either end of the bar the range widens instead of stopping.
    bool ScrollHorz(int delta) override;
    bool ScrollVert(int delta) override;
    // Nothing for steps of 4 pixels or less on both axes.
    void ScrollBy(int dx, int dy) override;
    bool IsDoubleBuffered() override;
    void OnSizeBuffer(int cx, int cy) override;
    void Paint(IKWGraphics* graphics, const CRect& rect) override;

    // --- Added operations ---
    // The document has its content: back buffer, view tool, page frame, centred content.
    virtual void InitializeView(CKWDocument* document);
    virtual CPoint GetMinimumOrigin();
    virtual CPoint GetScrollPosition();
    virtual void SetScrollPosition(const CPoint& origin);
    virtual void GetScrollRange(CScrollBar* bar, int& minimum, int& maximum);
    // Range, page (the bar's page is one less) and position, redrawn.
    virtual void SetScrollInfo(CScrollBar* bar, int minimum, int maximum, int page, int position);
    virtual void CreateViewTool();
    // Only grows: a bitmap at least this large is kept.
    virtual void RecreateBackBuffer(int cx, int cy);
    virtual void ApplyScrollTransform(IKWGraphics* graphics);
    // White over the rectangle (the client area when none is given).
    virtual void EraseBackground(IKWGraphics* graphics, const CRect* rect);
    // Moves the window contents and repaints the strip they uncover.
    virtual void ScrollContentBy(int dx, int dy);

    CSize GetLineStep() const { return m_lineStep; }
    CSize GetPageStep() const { return m_pageStep; }
    CKWGdipBitmap* GetBackBitmap() const { return m_backBitmap; }

protected:
    CSize m_lineStep;
    CSize m_pageStep;
    CKWViewTool* m_viewTool;
    CKWGdipBitmap* m_backBitmap;
    CKWGdiPlusDraw* m_backGraphics;

private:
    bool ScrollAxis(CScrollBar* bar, int delta, bool horizontal);
};
