#pragma once
// CPrintPreviewState: what a frame puts aside while it shows a print preview,
// restored when the preview closes. Made by the caller of DoPrintPreview.
#include <windows.h>

#include <vector>

class CFrameWnd;
class CView;

struct CPrintPreviewState {
    CPrintPreviewState();

    // The pane id the preview view takes (the frame's view pane).
    UINT nIDMainPane;
    // The frame's menu and accelerators, taken away while previewing.
    HMENU hMenu;
    HACCEL hAccelTable;
    // The control bars that were visible; hidden while previewing.
    std::vector<HWND> hiddenBars;
    CView* pViewActiveOld;
    // What WM_CLOSE of the frame does while previewing (closes the preview).
    BOOL (*lpfnCloseProc)(CFrameWnd* pFrameWnd);
};
