#pragma once
// COleDropTarget: makes a window a target of OLE drags. The drag events
// arrive as virtual calls with the window, the dragged data, the key state
// and the point in the window's client coordinates; the default answers
// refuse the drop.
#include "platform/classlib/CmdTarget.h"
#include "platform/classlib/OleDataObject.h"
#include "platform/classlib/Rect.h"

#include <ole2.h>

class CWnd;

class COleDropTarget : public CCmdTarget {
    DECLARE_DYNAMIC(COleDropTarget)
public:
    COleDropTarget();
    // Revokes a registration that is still in place.
    ~COleDropTarget() override;

    // One window per target; FALSE when OLE refuses (not initialised, or the
    // window has a target already).
    BOOL Register(CWnd* pWnd);
    // Before the window goes (or at the latest with the object).
    void Revoke();
    HWND GetWindowHandle() const { return m_hWnd; }

    virtual DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual BOOL OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point);
    // (DROPEFFECT)-1 (the default) leaves the drop to OnDrop.
    virtual DROPEFFECT OnDropEx(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropDefault,
                                DROPEFFECT dropList, CPoint point);
    virtual void OnDragLeave(CWnd* pWnd);
    // DROPEFFECT_SCROLL (with the effect) when the target scrolled instead.
    virtual DROPEFFECT OnDragScroll(CWnd* pWnd, DWORD dwKeyState, CPoint point);

    // The object's IDropTarget (no reference added), as OLE calls it.
    LPDROPTARGET GetDropTarget() { return &m_xDropTarget; }

private:
    struct XDropTarget : public IDropTarget {
        COleDropTarget* m_pThis;
        STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override;
        STDMETHOD_(ULONG, AddRef)() override;
        STDMETHOD_(ULONG, Release)() override;
        STDMETHOD(DragEnter)(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) override;
        STDMETHOD(DragOver)(DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) override;
        STDMETHOD(DragLeave)() override;
        STDMETHOD(Drop)(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) override;
    } m_xDropTarget;

    // The window and the point in its client coordinates; null window when gone.
    CWnd* TargetWindow(POINTL pt, CPoint& rPoint) const;
    // DragEnter (bEnter, which takes the drag's data) and DragOver: a scroll
    // when the window scrolls, else the handler's effect within the allowed ones.
    HRESULT TrackDrag(bool bEnter, IDataObject* pDataObj, DWORD grfKeyState, POINTL pt, DWORD* pdwEffect);

    HWND m_hWnd;
    LONG m_dwRef;
    // The data of the drag in progress (DragOver has none of its own).
    COleDataObject m_dataObject;
};

// The drop effect a target answered, reduced to what the source allows:
// copy and move stand in for each other; a link is only what was asked.
DROPEFFECT AfxFilterDropEffect(DROPEFFECT dropEffect, DROPEFFECT dwEffects);
