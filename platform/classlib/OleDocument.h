#pragma once
// The OLE documents: COleDocument keeps the document's items (CDocItem:
// the client items of embedded objects and the server items that present
// the document to others); COleServerDoc is a document that other programs
// can take as an OLE object, through its embedded server item. Embedding
// in a container, linking and the class factory are not supported: the
// server side serves drag and drop and the clipboard.
#include "platform/classlib/Document.h"

class COleClientItem;
class COleDocument;
class COleServerItem;

class CDocItem : public CCmdTarget {
    DECLARE_DYNAMIC(CDocItem)
public:
    // Leaves its document's item list.
    ~CDocItem() override;

    COleDocument* GetDocument() const { return m_pDocument; }
    // An item without contents (not saved).
    virtual BOOL IsBlank() const { return FALSE; }

protected:
    CDocItem();

    COleDocument* m_pDocument;
    friend class COleDocument;
};

class COleDocument : public CDocument {
    DECLARE_DYNAMIC(COleDocument)
public:
    COleDocument();
    // Deletes the items still in the document.
    ~COleDocument() override;

    // The document owns its items from here on.
    virtual void AddItem(CDocItem* pItem);
    virtual void RemoveItem(CDocItem* pItem);
    POSITION GetStartPosition() const { return m_docItemList.GetHeadPosition(); }
    CDocItem* GetNextItem(POSITION& pos) const { return pos != nullptr ? m_docItemList.GetNext(pos) : nullptr; }
    // The next item of the kind, null at the end.
    COleClientItem* GetNextClientItem(POSITION& pos) const;
    COleServerItem* GetNextServerItem(POSITION& pos) const;
    // The client item that is active in place in the view, if any.
    COleClientItem* GetInPlaceActiveItem(CWnd* pWnd);
    BOOL HasBlankItems() const;

    // The items of the document's frame close with it.
    void PreCloseFrame(CFrameWnd* pFrame) override;

protected:
    CList<CDocItem*, CDocItem*> m_docItemList;
};

class COleServerDoc : public COleDocument {
    DECLARE_DYNAMIC(COleServerDoc)
public:
    COleServerDoc();
    ~COleServerDoc() override;

    // The item that stands for the whole document, made on first use by
    // OnGetEmbeddedItem; it belongs to the document.
    COleServerItem* GetEmbeddedItem();
    // Not embedded in a container: never active in place.
    BOOL IsEmbedded() const { return FALSE; }
    BOOL IsInPlaceActive() const { return FALSE; }

    BOOL OnNewDocument() override;
    void OnCloseDocument() override;

protected:
    // The document's embedded item (null: the document has none).
    virtual COleServerItem* OnGetEmbeddedItem();

    COleServerItem* m_pEmbeddedItem;
    friend class COleServerItem;
};
