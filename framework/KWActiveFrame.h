#pragma once
// KWGetActiveFrame: the frame the user works in, reached without holding a
// pointer to it.
class CFrameWnd;

// The calling thread's main window's active frame; null when the thread has
// no main window, it is no frame, or it has no active frame.
CFrameWnd* KWGetActiveFrame();
