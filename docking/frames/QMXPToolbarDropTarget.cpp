#include "docking/frames/QMXPToolbarDropTarget.h"

#include "docking/toolbars/QMXPToolBar.h"
#include "docking/toolbars/QMXPToolbarButton.h"
#include "platform/classlib/OleDataObject.h"

IMPLEMENT_DYNAMIC(CQMXPToolbarDropTarget, COleDropTarget)

BOOL CQMXPToolbarDropTarget::Register(CQMXPToolBar* pOwner) {
    m_pOwner = pOwner;
    return COleDropTarget::Register(pOwner);
}

BOOL CQMXPToolbarDropTarget::Accepts(COleDataObject* pDataObject) const {
    return m_pOwner != nullptr && CQMXPToolBar::m_bCustomizeMode && pDataObject != nullptr &&
           pDataObject->IsDataAvailable(CQMXPToolbarButton::GetClipboardFormat());
}

DROPEFFECT CQMXPToolbarDropTarget::OnDragEnter(CWnd*, COleDataObject* pDataObject, DWORD dwKeyState,
                                               CPoint point) {
    return Accepts(pDataObject) ? m_pOwner->OnDragEnter(pDataObject, dwKeyState, point) : DROPEFFECT_NONE;
}

DROPEFFECT CQMXPToolbarDropTarget::OnDragOver(CWnd*, COleDataObject* pDataObject, DWORD dwKeyState,
                                              CPoint point) {
    return Accepts(pDataObject) ? m_pOwner->OnDragOver(pDataObject, dwKeyState, point) : DROPEFFECT_NONE;
}

DROPEFFECT CQMXPToolbarDropTarget::OnDropEx(CWnd*, COleDataObject* pDataObject, DROPEFFECT dropDefault,
                                            DROPEFFECT, CPoint point) {
    if (!Accepts(pDataObject))
        return DROPEFFECT_NONE;
    return m_pOwner->OnDrop(pDataObject, dropDefault, point) ? dropDefault : DROPEFFECT_NONE;
}

void CQMXPToolbarDropTarget::OnDragLeave(CWnd*) {
    if (m_pOwner != nullptr)
        m_pOwner->OnDragLeave();
}
