#pragma once
// CKWWinDropTarget: the drop target that panels and other windows register
// for themselves: each drag event goes to the window when it is a
// drag-and-drop pane, and is ignored otherwise.
#include "platform/classlib/OleDropTarget.h"

class CKWWinDropTarget : public COleDropTarget {
public:
    CKWWinDropTarget();
    ~CKWWinDropTarget() override;

    DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
    DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
    DROPEFFECT OnDropEx(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropDefault, DROPEFFECT dropList,
                        CPoint point) override;
    void OnDragLeave(CWnd* pWnd) override;
    DROPEFFECT OnDragScroll(CWnd* pWnd, DWORD dwKeyState, CPoint point) override;
};
