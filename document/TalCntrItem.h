#pragma once
// CTalCntrItem: an OLE object embedded in a report document (the class
// library's container item), placed 10 units from the view's top-left
// corner at its own extent. Only one item of a view is active in place at a
// time, and none while the document itself is active in place elsewhere.
#include "platform/classlib/OleClientItem.h"

class CTalCntrItem : public COleClientItem {
    DECLARE_SERIAL(CTalCntrItem)
public:
    explicit CTalCntrItem(COleDocument* containerDoc = nullptr);
    ~CTalCntrItem() override;

    // The class library's handling, then every view of the document is refreshed.
    void OnChange(OLE_NOTIFICATION nCode, DWORD dwParam) override;
    // (10, 10) and the extent in the view's device units; empty without a view.
    void OnGetItemPosition(CRect& rPosition) override;
    // Another item active in place in the same view is closed first.
    void OnActivate() override;
    // An object that is active only while it has its user interface is hidden again.
    void OnDeactivateUI(BOOL bUndoable) override;
    BOOL OnChangeItemPosition(const CRect& rectPos) override;
    BOOL CanActivate() override;
    void Serialize(CArchive& ar) override;
};
