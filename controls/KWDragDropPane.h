#pragma once
// CKWDragDropPane: the drag-and-drop interface of panels, lists and views.
// It owns a drop target for its window, recognises what is dragged over it
// (the application's own objects, shell file lists, bitmaps, text) and
// hands typed events to a drop handler: another pane, usually that of the
// window owning this one, or the derived class itself through its
// overrides. The start of a drag goes to a drag-source handler.
#include "controls/KWWinDropTarget.h"
#include "platform/classlib/OleDataObject.h"
#include "platform/classlib/Rect.h"
#include "platform/classlib/String.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class CWnd;
struct KWDragInfo;

class CKWDragDropPane {
public:
    CKWDragDropPane();
    // Revokes the drop target.
    virtual ~CKWDragDropPane();

    // The drag-source handler's BeginDrag, guarded against recursion.
    virtual void BeginDrag(const CPoint& start);
    // Registers the drop target for the window; nothing for none.
    virtual void RegisterDropTarget(CWnd* window);
    virtual void RevokeDropTarget();
    // The drop target's IDropTarget (no reference added), as OLE calls it.
    LPDROPTARGET GetDropTargetInterface() { return m_dropTarget.GetDropTarget(); }
    virtual bool CanStartDrag() { return false; }
    virtual bool PrepareDragInfo(const CPoint& point, KWDragInfo& info) { return true; }

    // --- Typed events: forwarded to the drop handler; 0 without one ---
    // info is null for a missing record; data and size: the objects' block.
    virtual bool OnOwnDragEnter(const CPoint& point, KWDragInfo* info, const uint8_t* data, size_t size,
                                int reserved);
    virtual void OnOwnDragOver(KWDragInfo* info, const CPoint& point);
    virtual void OnOwnDragLeave();
    virtual bool OnOwnDrop(const CPoint& point, KWDragInfo* info, const uint8_t* data, size_t size, int reserved);
    virtual int OnFilesDragEnter(const CPoint& point, const std::vector<CString>& paths);
    // Files have entered (after OnFilesDragEnter): the number of paths.
    virtual int OnFilesDragEvent(int count);
    // The list first, unlike enter and drop: while moving it is empty.
    virtual int OnFilesDragOver(const std::vector<CString>& paths, const CPoint& point);
    virtual int OnFilesDrop(const CPoint& point, const std::vector<CString>& paths);
    virtual int OnTextDrop(const CPoint& point, const CString& text);
    virtual int OnBitmapDrop(COleDataObject* data, CLIPFORMAT format, const CPoint& point);
    // Reads the text of the format (CF_TEXT in the code page of its
    // CF_LOCALE, else of the user's locale; CF_OEMTEXT gives none), within
    // its block, and hands a non-empty one to OnTextDrop.
    virtual int DropText(COleDataObject* data, CLIPFORMAT format, const CPoint& point);
    virtual DROPEFFECT OnBitmapDragEnter(COleDataObject* data, CLIPFORMAT format, const CPoint& point);
    virtual DROPEFFECT OnTextDragEnter(COleDataObject* data, CLIPFORMAT format, const CPoint& point);
    virtual DROPEFFECT OnBitmapDragOver(COleDataObject* data, CLIPFORMAT format, const CPoint& point);
    virtual DROPEFFECT OnTextDragOver(COleDataObject* data, CLIPFORMAT format, const CPoint& point);

    void SetDropHandler(CKWDragDropPane* handler) { m_dropHandler = handler; }
    void SetDragSourceHandler(CKWDragDropPane* handler) { m_dragSourceHandler = handler; }
    CKWDragDropPane* GetDropHandler() const { return m_dropHandler; }

    // --- The drop target's events: the data recognised, then a typed event ---
    virtual DROPEFFECT OnDragEnter(CWnd* wnd, COleDataObject* data, DWORD keyState, CPoint point);
    virtual void OnDragLeave(CWnd* wnd);
    virtual DROPEFFECT OnDragOver(CWnd* wnd, COleDataObject* data, DWORD keyState, CPoint point);
    // The drop's effect whatever the data (the drop was taken).
    virtual DROPEFFECT OnDrop(CWnd* wnd, COleDataObject* data, DROPEFFECT dropEffect, DROPEFFECT dropList,
                              CPoint point);
    virtual DROPEFFECT OnDragScroll(CWnd* wnd, DWORD keyState, CPoint point) { return DROPEFFECT_NONE; }

    // The own-object effects: a move the target finishes itself, a plain move.
    static constexpr DROPEFFECT kTargetMove = DROPEFFECT_MOVE | 8;

private:
    // The first image or text format the data object offers; 0 for none.
    static CLIPFORMAT FirstImageFormat(COleDataObject* data);
    static CLIPFORMAT FirstTextFormat(COleDataObject* data);
    // Runs call on the drop handler while the flag is clear; its result, else 0.
    template <typename Result, typename Call>
    Result Forward(bool& flag, Call call);

    DROPEFFECT m_rememberedEffect = DROPEFFECT_NONE;
    CKWWinDropTarget m_dropTarget;
    CKWDragDropPane* m_dropHandler = nullptr;
    CKWDragDropPane* m_dragSourceHandler = nullptr;
    bool m_inEvent = false;
    bool m_inFileEvent = false;
    bool m_inDragStart = false;
};
