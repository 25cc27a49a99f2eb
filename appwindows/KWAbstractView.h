#pragma once
// CKWAbstractView: the portable side of the framework's views: input
// events, scrolling, content geometry, painting, printing pages and the drag
// and drop hooks. The defaults do nothing; the Windows view and the scrolled
// view fill them in, and a derived view draws its content in Draw.
#include "framework/KWDoubleRect.h"
#include "framework/KWGraphics.h"
#include "framework/KWKeyRecord.h"
#include "framework/KWTimerIFace.h"
#include "platform/classlib/Rect.h"

#include <cstdint>
#include <vector>

class CKWDocument;
class CKWPrintIFace;
class CKWWinSrvrItem;
class CScrollBar;
class CString;
struct KWDragInfo;

struct KWDoubleSize {
    double cx;
    double cy;
};

// GetModifierFlags.
enum : uint32_t {
    KWMOD_LEFT_SHIFT = 1,   // Shift, pressed with the left Shift key
    KWMOD_OTHER_SHIFT = 2,  // Shift, not from the left key
    KWMOD_CTRL = 4,
    KWMOD_ALT = 8,
};

class CKWAbstractView : public CKWTimerIFace {
public:
    void OnTimer(UINT timerId) override {}

    virtual CKWPrintIFace* GetPrintIFace() { return nullptr; }
    virtual bool OnRButtonDown(const CPoint& point) { return false; }
    virtual bool OnLButtonDown(const CPoint& point) { return false; }
    virtual bool OnLButtonDblClk(const CPoint& point) { return false; }
    virtual bool OnMouseMove(const CPoint& point) { return false; }
    virtual bool OnLButtonUp(const CPoint& point) { return false; }
    virtual bool OnKeyDown(const CKWKeyRecord& key) { return false; }
    virtual bool OnKeyUp(const CKWKeyRecord& key) { return false; }
    virtual uint32_t GetModifierFlags() { return 0; }
    virtual bool IsDraggingSelection() { return false; }
    virtual CKWDocument* GetKWDocument() { return nullptr; }
    // A second rectangle the scroll range must include, when the answer is true.
    virtual bool GetExtraRect(CRect& rect) { return false; }
    virtual bool GetContentRect(CRect& rect) { return false; }
    virtual void GetContentSize(KWDoubleSize& size)
    {
        size.cx = 100;
        size.cy = 100;
    }
    virtual void UpdateScrollBars() {}
    virtual void ResetScrolling() {}
    virtual void RecalcScrolling() {}
    virtual void CenterContent() {}
    virtual void ScrollContent(int dx, int dy) {}
    virtual void ScrollLines(bool horizontal, int count) {}
    virtual int GetWheelShift() { return 0; }
    // code: the horizontal scroll code in the low byte, the vertical one in
    // the high byte, 0xFF for none.
    virtual bool OnScroll(UINT code, UINT position) { return false; }
    virtual bool OnScrollBy(int dx, int dy) { return false; }
    virtual bool ScrollHorz(int delta) { return false; }
    virtual bool ScrollVert(int delta) { return false; }
    virtual void ScrollBy(int dx, int dy) {}
    virtual CScrollBar* GetVertScrollBar() { return nullptr; }
    virtual CScrollBar* GetHorzScrollBar() { return nullptr; }
    // A drag started by the view ended as a move.
    virtual void OnDragMoved() {}
    virtual bool CanBeginDrag() { return true; }
    // Fills the record of a drag starting at the point; false starts none.
    virtual bool PrepareDragData(const CPoint& point, KWDragInfo& dragInfo) { return false; }
    virtual bool IsDoubleBuffered() { return false; }
    virtual void OnSizeView(UINT type, int cx, int cy) {}
    virtual void ScrollWindowBy(const CRect& rect, int dx, int dy) {}
    virtual void OnSizeBuffer(int cx, int cy) {}
    virtual void Paint(IKWGraphics* graphics, const CRect& rect) {}
    // The derived view draws its content here (in content coordinates).
    virtual void Draw(IKWGraphics* graphics, const CRect& rect) {}
    virtual void BeginPrintPage(IKWGraphics* graphics, int page) {}
    virtual void PrintPage(IKWGraphics* graphics, int page) {}
    virtual void EndPrintPage() {}
    virtual CKWWinSrvrItem* CreateDragItem() { return nullptr; }
    // The OLE item that carries a drag out of the view.
    virtual CKWWinSrvrItem* GetDragItem() { return nullptr; }
    // The hooks of drags in the application's own formats; data: the
    // dragged objects' data. OnDragEnterData's true marks a move the source
    // should finish itself.
    virtual bool OnDragEnterData(const KWDragInfo* dragInfo, const std::vector<uint8_t>* data,
                                 const CKWDoublePoint& point)
    {
        return false;
    }
    virtual bool AcceptsFile(const CString& path) { return false; }
    virtual void OnDragOverData(const KWDragInfo* dragInfo, const CKWDoublePoint& point) {}
    virtual void OnDragLeaveData() {}
    virtual void OnDropData(const KWDragInfo* dragInfo, const std::vector<uint8_t>* data,
                            const CKWDoublePoint& point, bool copy)
    {
    }
    // The rectangles of the last paint's update region and their bounds; true when there are any.
    virtual bool GetUpdateRects(std::vector<CKWDoubleRect>& rects, CKWDoubleRect& bounds) { return false; }
    virtual HRGN GetUpdateRegion() { return nullptr; }
};
