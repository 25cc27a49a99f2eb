#pragma once
// CKWDragDropPane: the drag-and-drop interface of panels, lists and views.
// A drop target registered for the pane's window hands it the five drag
// events with the arguments the target received.
#include "platform/classlib/OleDataObject.h"
#include "platform/classlib/Rect.h"

class CWnd;

class CKWDragDropPane {
public:
    virtual ~CKWDragDropPane();
    virtual DROPEFFECT OnDragEnter(CWnd* wnd, COleDataObject* data, DWORD keyState, CPoint point) = 0;
    virtual void OnDragLeave(CWnd* wnd) = 0;
    virtual DROPEFFECT OnDragOver(CWnd* wnd, COleDataObject* data, DWORD keyState, CPoint point) = 0;
    virtual DROPEFFECT OnDrop(CWnd* wnd, COleDataObject* data, DROPEFFECT dropEffect, DROPEFFECT dropList,
                              CPoint point) = 0;
    virtual DROPEFFECT OnDragScroll(CWnd* wnd, DWORD keyState, CPoint point) = 0;
};
