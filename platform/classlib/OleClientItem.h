#pragma once
// COleClientItem: an OLE object embedded in a document (a container item).
// Embedding is not supported: an item holds no object (m_lpObject is
// null), is never activated and draws nothing; the class carries the
// operations that derived items override and the library calls.
#include "platform/classlib/OleDocument.h"
#include "platform/classlib/Rect.h"

#include <ole2.h>

class CArchive;
class CDC;
class CView;

enum OLE_NOTIFICATION {
    OLE_CHANGED,
    OLE_SAVED,
    OLE_CLOSED,
    OLE_RENAMED,
    OLE_CHANGED_STATE,
    OLE_CHANGED_ASPECT,
};

class COleDataObject;

class COleClientItem : public CDocItem {
    DECLARE_SERIAL(COleClientItem)
public:
    explicit COleClientItem(COleDocument* pContainerDoc = nullptr);
    ~COleClientItem() override;

    enum ItemState { emptyState, loadedState, openState, activeState, activeUIState };

    COleDocument* GetDocument() const { return m_pDocument; }
    UINT GetItemState() const { return m_nItemState; }
    BOOL IsInPlaceActive() const { return m_nItemState == activeState || m_nItemState == activeUIState; }
    CView* GetActiveView() const { return m_pView; }
    DVASPECT GetDrawAspect() const { return m_nDrawAspect; }
    void SetDrawAspect(DVASPECT nDrawAspect) { m_nDrawAspect = nDrawAspect; }

    // The object's size in HIMETRIC; FALSE without an object.
    BOOL GetExtent(LPSIZE lpSize, DVASPECT nDrawAspect = static_cast<DVASPECT>(-1));
    // FALSE without an object.
    BOOL Draw(CDC* pDC, LPCRECT lpBounds, DVASPECT nDrawAspect = static_cast<DVASPECT>(-1));
    // Whether OLE can make an embedded object from the data.
    static BOOL CanCreateFromData(COleDataObject* pDataObject);
    BOOL DoVerb(LONG nVerb, CView* pView, LPMSG lpMsg = nullptr);
    void Close(OLECLOSE dwCloseOption = OLECLOSE_SAVEIFDIRTY);
    void Deactivate();

    // The object changed: OLE_CHANGED marks the document modified.
    virtual void OnChange(OLE_NOTIFICATION nCode, DWORD dwParam);
    virtual void OnGetItemPosition(CRect& rPosition);
    virtual void OnActivate();
    virtual void OnDeactivateUI(BOOL bUndoable);
    virtual BOOL OnChangeItemPosition(const CRect& rectPos);
    virtual BOOL CanActivate();
    BOOL IsBlank() const override { return m_lpObject == nullptr; }
    // The draw aspect (the object itself is not stored).
    void Serialize(CArchive& ar) override;

    LPOLEOBJECT m_lpObject;

protected:
    UINT m_nItemState;
    DVASPECT m_nDrawAspect;
    CView* m_pView;
};
