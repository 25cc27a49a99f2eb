#pragma once
// CQMXPToolbarDropSource: the drop source every tool bar's button drag
// shares. It shows the move, copy and remove cursors and records how the
// drag ended, so that the bar knows whether its button leaves it.
#include "platform/classlib/OleDropSource.h"

class CQMXPToolbarDropSource : public COleDropSource {
    DECLARE_DYNAMIC(CQMXPToolbarDropSource)
public:
    CQMXPToolbarDropSource();
    ~CQMXPToolbarDropSource() override;

    BOOL OnBeginDrag(CWnd* pWnd) override;
    SCODE QueryContinueDrag(BOOL bEscapePressed, DWORD dwKeyState) override;
    SCODE GiveFeedback(DROPEFFECT dropEffect) override;

    // The pointer is over no tool bar (a bar's drag-enter clears it).
    BOOL m_bDeleteOnDrop;
    BOOL m_bEscapePressed;
    BOOL m_bDragStarted;
    HCURSOR m_hcurDelete;
    HCURSOR m_hcurMove;
    HCURSOR m_hcurCopy;

protected:
    void LoadCursors();
};

extern CQMXPToolbarDropSource g_QMXPToolbarDropSource;
