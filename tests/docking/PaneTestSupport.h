#pragma once
// Docking panes of the 800 x 600 test frame: panes with a minimum size,
// docked at an edge, beside another pane or floating; mouse messages at
// screen points; and a record of the outlines drawn while dragging.
#include "DockLayoutSupport.h"

#include "docking/bars/QMXPBarContainer.h"
#include "docking/bars/QMXPBarContainerManager.h"
#include "docking/bars/QMXPDockingControlBar.h"
#include "docking/bars/QMXPDragFrameImpl.h"
#include "docking/bars/QMXPSlider.h"
#include "docking/frames/QMXPMultiMiniFrameWnd.h"

#include <memory>
#include <utility>
#include <vector>

namespace docking_test {

class CTestPane : public CQMXPDockingControlBar {
public:
    explicit CTestPane(CSize sizeMin = CSize(1, 1)) : m_sizeMin(sizeMin) {}
    void GetMinSize(CSize& size) const override { size = m_sizeMin; }
    // A list of file names fills the pane, as the gallery's list does.
    void AddFileList(int nFiles);
    CSize m_sizeMin;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// Every outline drawn on the desktop while it lives: the rectangle and its border.
class COutlineRecord {
public:
    COutlineRecord() {
        Outlines().clear();
        CQMXPDragFrameImpl::m_pfnOutlineObserver = [](const CRect& rect, int nThickness) {
            Outlines().emplace_back(rect, nThickness);
        };
    }
    ~COutlineRecord() { CQMXPDragFrameImpl::m_pfnOutlineObserver = nullptr; }
    static std::vector<std::pair<CRect, int>>& Outlines() {
        static std::vector<std::pair<CRect, int>> s_outlines;
        return s_outlines;
    }
    // The last outline that was drawn rather than erased.
    static std::pair<CRect, int> LastDrawn() {
        for (auto it = Outlines().rbegin(); it != Outlines().rend(); ++it) {
            if (!it->first.IsRectEmpty())
                return *it;
        }
        return {};
    }
};

class PaneTest : public DockLayoutTest {
protected:
    // A pane with a caption, created in the frame (not docked yet).
    CTestPane* MakePane(UINT nID, CSize size, DWORD dwStyle = 0, DWORD dwControlBarStyle = QMXP_CBRS_FLOAT | QMXP_CBRS_CLOSE,
                        CSize sizeMin = CSize(1, 1));
    // Docked at the frame edge of the dock-bar id.
    CTestPane* DockPane(UINT nID, CSize size, UINT nDockBarID, DWORD dwStyle = 0);
    // Floating alone (or, with the multi bit, in a frame of several panes) at the rectangle.
    CTestPane* FloatPane(UINT nID, const CRect& rect, DWORD dwStyle = 0);
    // A pane docked at the left with a second one attached as its tab: their
    // tabbed group (null when none was made).
    CQMXPDockingControlBar* GroupOfTwo(UINT nFirstID, UINT nSecondID);
    CQMXPSlider* SliderOf(const CQMXPDockingControlBar* pPane) const { return pPane->GetDefaultSlider(); }

    // A message with a point: client coordinates of the window from a screen point.
    static LRESULT SendAt(CWnd* pWnd, UINT message, CPoint ptScreen, WPARAM wParam = 0);
    // Drags a floating frame by its caption to the screen point and drops it there.
    static void DragFrameTo(CQMXPMiniFrameWnd* pFrame, CPoint ptTo);
    static CPoint CaptionPoint(CQMXPMiniFrameWnd* pFrame);

    std::vector<std::unique_ptr<CTestPane>> m_panes;
};

}  // namespace docking_test
