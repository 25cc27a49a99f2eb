#pragma once
// The client area of a library frame: the view pane, and any class-library
// bars the frame holds (the preview bar, the document frames' scroll
// strips), take the area that the dock manager's bars leave free.
class CFrameWnd;
class CQMXPDockManager;

void QMXPAdjustClientArea(CFrameWnd* pFrame, const CQMXPDockManager& dockManager);

// The view pane keeps out of its siblings and, unless it is a splitter
// (whose panes paint over its children), out of its children too; it lies
// below the frame's bars.
void QMXPSetPaneClipStyles(CFrameWnd* pFrame);
