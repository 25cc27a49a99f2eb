#pragma once
// CTalDragDropTask: the OLE item through which report content leaves a
// window by drag and drop: a section dragged in the section tree, image
// files dragged from the gallery. It carries a transfer record (which it
// owns) under "KWTallier Application Object" and, when it has one, a
// description as Unicode and ANSI text for programs that take only text.
#include "appwindows/KWWinSrvrItem.h"
#include "platform/classlib/String.h"

#include <memory>

class CKWSerialData;

class CTalDragDropTask : public CKWWinSrvrItem {
    DECLARE_DYNAMIC(CTalDragDropTask)
public:
    // The extent of the content aspect, in himetric units.
    static constexpr int kExtent = 3000;
    // The format the item's own data source offers, on a storage.
    static constexpr CLIPFORMAT kStorageFormat = 2;

    CTalDragDropTask(CKWWinDocument* document, CKWSerialData* record);
    ~CTalDragDropTask() override;

    void SetDescription(const CString& text) { m_description = text; }
    const CString& GetDescription() const { return m_description; }

    BOOL OnGetExtent(DVASPECT nDrawAspect, CSize& rSize) override;
    // The document's first embedded object, when it is the report's, drawn
    // at (10, 10)-(1010, 1010) of a 3000 x 3000 window; FALSE without a
    // context.
    BOOL OnDraw(CDC* pDC, CSize& rSize) override;
    // The document stores itself when this is its embedded item.
    void Serialize(CArchive& ar) override;
    // The item's own data source: the storage format, rendered on demand.
    void OfferFormats() override;
    // The record's block, then the description as text.
    bool CacheObjectData(COleDataSource* dataSource) override;

private:
    std::unique_ptr<CKWSerialData> m_record;
    CString m_description;
};
