#pragma once
// The client area of a library frame: the view pane, and any class-library
// bars the frame holds (the preview bar, the document frames' scroll
// strips), take the area that the dock manager's bars leave free.
class CFrameWnd;
class CQMXPDockManager;

void QMXPAdjustClientArea(CFrameWnd* pFrame, const CQMXPDockManager& dockManager);
