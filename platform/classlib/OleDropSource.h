#pragma once
// COleDropSource: the drag source side of an OLE drag: when the drag may
// start, whether it goes on, is dropped or cancelled, and the feedback.
// The drag drops when the button that started it is released and is
// cancelled by Escape or the other mouse button.
#include "platform/classlib/CmdTarget.h"
#include "platform/classlib/OleDataObject.h"
#include "platform/classlib/Rect.h"

#include <ole2.h>

class CWnd;

class COleDropSource : public CCmdTarget {
    DECLARE_DYNAMIC(COleDropSource)
public:
    COleDropSource();

    // S_OK to go on, DRAGDROP_S_DROP or DRAGDROP_S_CANCEL.
    virtual SCODE QueryContinueDrag(BOOL bEscapePressed, DWORD dwKeyState);
    virtual SCODE GiveFeedback(DROPEFFECT dropEffect);
    // Holds the mouse until it leaves m_rectStartDrag or the drag delay
    // passes (TRUE: the drag starts), or a button or Escape ends it (FALSE).
    virtual BOOL OnBeginDrag(CWnd* pWnd);

    // The object's IDropSource (no reference added).
    LPDROPSOURCE GetDropSource() { return &m_xDropSource; }

    // The drag starts beyond this rectangle around the first point (screen).
    CRect m_rectStartDrag;
    BOOL m_bDragStarted;
    DWORD m_dwButtonCancel;
    DWORD m_dwButtonDrop;

    static UINT nDragMinDist;
    static UINT nDragDelay;

private:
    struct XDropSource : public IDropSource {
        COleDropSource* m_pThis;
        STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override;
        STDMETHOD_(ULONG, AddRef)() override;
        STDMETHOD_(ULONG, Release)() override;
        STDMETHOD(QueryContinueDrag)(BOOL fEscapePressed, DWORD grfKeyState) override;
        STDMETHOD(GiveFeedback)(DWORD dwEffect) override;
    } m_xDropSource;
    // Held by OLE during the drag; the object itself belongs to its creator.
    LONG m_dwRef;
};
