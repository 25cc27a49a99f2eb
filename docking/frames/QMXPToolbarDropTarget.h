#pragma once
// CQMXPToolbarDropTarget: a tool bar's OLE drop target. It takes only the
// tool-bar button format and only in customise mode, and hands every step
// of the drag to its bar.
#include "platform/classlib/OleDropTarget.h"

class CQMXPToolBar;

class CQMXPToolbarDropTarget : public COleDropTarget {
    DECLARE_DYNAMIC(CQMXPToolbarDropTarget)
public:
    CQMXPToolbarDropTarget() = default;

    BOOL Register(CQMXPToolBar* pOwner);

    DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
    DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
    DROPEFFECT OnDropEx(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropDefault, DROPEFFECT dropList,
                        CPoint point) override;
    void OnDragLeave(CWnd* pWnd) override;

protected:
    // Customise mode is on and the data holds a tool-bar button.
    BOOL Accepts(COleDataObject* pDataObject) const;

    CQMXPToolBar* m_pOwner = nullptr;
};
