#pragma once
// CSplitterWnd: the kind of a frame's pane that divides itself into panes
// of its own. Frames that place their view pane give a splitter only
// WS_CLIPSIBLINGS, since its panes must paint over its children.
#include "platform/classlib/Wnd.h"

class CSplitterWnd : public CWnd {
    DECLARE_DYNAMIC(CSplitterWnd)
};
