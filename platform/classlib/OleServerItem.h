#pragma once
// COleServerItem: a view of an OLE server document that leaves the program
// as data: the document's embedded item and the item of a drag. Its own
// data source (GetDataSource) holds the presentation formats it offers;
// OnGetClipboardData makes the data source of one transfer from them.
// CDocObjectServerItem is the item of a document object server.
#include "platform/classlib/OleDataSource.h"
#include "platform/classlib/OleDocument.h"
#include "platform/classlib/Rect.h"

class CArchive;
class CDC;

class COleServerItem : public CDocItem {
    DECLARE_DYNAMIC(COleServerItem)
public:
    // Joins the document's items; with bAutoDelete the last release deletes it.
    COleServerItem(COleServerDoc* pServerDoc, BOOL bAutoDelete);
    ~COleServerItem() override;

    COleServerDoc* GetDocument() const { return static_cast<COleServerDoc*>(m_pDocument); }
    BOOL IsAutoDelete() const { return m_bAutoDelete; }

    // The item's own formats.
    COleDataSource* GetDataSource() { return &m_dataSource; }
    // A new data source for one transfer: GetClipboardData into it. The
    // caller releases it (InternalRelease).
    virtual COleDataSource* OnGetClipboardData(BOOL bIncludeLink, LPPOINT lpOffset, LPSIZE lpSize);
    // Puts the item's own formats into pDataSource (rendered now).
    void GetClipboardData(COleDataSource* pDataSource, BOOL bIncludeLink = FALSE, LPPOINT lpOffset = nullptr,
                          LPSIZE lpSize = nullptr);
    // Drags the item (OnGetClipboardData, then the data source's drag); the effect.
    DROPEFFECT DoDragDrop(LPCRECT lpItemRect, CPoint ptOffset, BOOL bIncludeLink = FALSE,
                          DWORD dwEffects = DROPEFFECT_COPY | DROPEFFECT_MOVE, LPCRECT lpRectStartDrag = nullptr);

    virtual BOOL OnDraw(CDC* pDC, CSize& rSize) = 0;
    // FALSE: the size is not known.
    virtual BOOL OnGetExtent(DVASPECT nDrawAspect, CSize& rSize);
    // The rendering of the item's delayed formats; the defaults render
    // nothing, so the data source's own rules apply (global data, then file data).
    virtual BOOL OnRenderData(LPFORMATETC lpFormatEtc, LPSTGMEDIUM lpStgMedium);
    virtual BOOL OnRenderGlobalData(LPFORMATETC lpFormatEtc, HGLOBAL* phGlobal);
    virtual BOOL OnRenderFileData(LPFORMATETC lpFormatEtc, CFile* pFile);

    // The embedded item stores the document.
    void Serialize(CArchive& ar) override;

    DWORD InternalAddRef();
    DWORD InternalRelease();
    DWORD ExternalAddRef() { return InternalAddRef(); }
    DWORD ExternalRelease() { return InternalRelease(); }

protected:
    // The last reference went: deleted when auto-delete.
    virtual void OnFinalRelease();

    // The item's data source renders through the item and lives with it.
    class CItemDataSource : public COleDataSource {
    public:
        COleServerItem* m_pItem = nullptr;
        BOOL OnRenderData(LPFORMATETC lpFormatEtc, LPSTGMEDIUM lpStgMedium) override;
        BOOL OnRenderGlobalData(LPFORMATETC lpFormatEtc, HGLOBAL* phGlobal) override;
        BOOL OnRenderFileData(LPFORMATETC lpFormatEtc, CFile* pFile) override;

    protected:
        void OnFinalRelease() override {}
    };

    CItemDataSource m_dataSource;
    BOOL m_bAutoDelete;
    LONG m_dwRef;
};

class CDocObjectServerItem : public COleServerItem {
    DECLARE_DYNAMIC(CDocObjectServerItem)
public:
    CDocObjectServerItem(COleServerDoc* pServerDoc, BOOL bAutoDelete);
};
