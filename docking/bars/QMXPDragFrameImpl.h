#pragma once
// CQMXPDragFrameImpl: the rubber-band outline of a bar or floating frame
// dragged in outline mode. It follows the cursor on the desktop, shows the
// place the dock manager would dock the window at (or its floating place),
// and is taken down when the drag ends. Every control bar and floating
// frame embeds one.
#include "platform/classlib/Rect.h"
#include "platform/classlib/String.h"

class CQMXPBaseControlBar;
class CQMXPDockManager;
class CWnd;

class CQMXPDragFrameImpl {
public:
    CQMXPDragFrameImpl();
    virtual ~CQMXPDragFrameImpl();
    CQMXPDragFrameImpl(const CQMXPDragFrameImpl&) = delete;
    CQMXPDragFrameImpl& operator=(const CQMXPDragFrameImpl&) = delete;

    // Binds the outline to the dragged window and to the dock manager of the
    // frame behind it.
    void Init(CWnd* pDraggedWnd);
    // Follows the cursor; until the outline shows, a move within the system's
    // drag thresholds is ignored unless bForceMove.
    void MoveDragFrame(BOOL bForceMove = FALSE);
    // Erases the outline; with bClearInternalRects both rectangles empty.
    void EndDrawDragFrame(BOOL bClearInternalRects = TRUE);
    // The tab-shaped outline over a bar the window would join as a tab.
    void DrawFrameTab(CQMXPBaseControlBar* pTargetBar, BOOL bErase);
    // Draws rect with a border of nThickness on the desktop and erases
    // lpRectLast (border nLastThickness) unless bFirstTime.
    static void DrawDragRect(LPCRECT lpRectLast, LPCRECT lpRect, BOOL bFirstTime, int nThickness,
                             int nLastThickness);
    // Told of every outline drawn (the new rectangle and its border; an
    // empty rectangle when the last one is erased): the desktop keeps no
    // record of what was drawn on it.
    using OutlineObserver = void (*)(const CRect& rect, int nThickness);
    static OutlineObserver m_pfnOutlineObserver;

    CPoint m_ptHot;
    CRect m_rectDrag;
    CRect m_rectExpectedDocked;
    CQMXPBaseControlBar* m_pFinalTargetBar;
    BOOL m_bDragStarted;
    BOOL m_bShowTabOutline;
    int m_nInsertedTabIndex;
    int m_nOldThickness;
    CQMXPDockManager* m_pDockManager;
    CWnd* m_pDraggedWnd;
    CQMXPBaseControlBar* m_pTargetBar;
    BOOL m_bTabOutlineDrawn;

protected:
    // The rectangle on the screen: the docked place, else the floating one.
    CRect LastDrawnRect() const { return m_rectExpectedDocked.IsRectEmpty() ? m_rectDrag : m_rectExpectedDocked; }
    // Takes down the placeholder tab of a tabbed group or a tab-shaped outline.
    void RemoveTabPreDocking();
    // The text of the dragged bar: the label of its placeholder tab.
    CString DraggedBarName() const;
};
