#pragma once
// CKWWinSrvrItem: the OLE item that carries a drag of the application's own
// objects. Its data source holds the drag-information record, the drag
// image and the objects' data (the derived item's), and the standard
// formats that the item renders when they are asked for; the drag runs with
// a drop source that moves a drag image with the cursor.
#include "framework/KWDragInfo.h"
#include "platform/classlib/GdiObject.h"
#include "platform/classlib/OleServerItem.h"

#include <commctrl.h>

#include <cstdint>
#include <vector>

class CKWWinDocument;

// An object that may hold the image list a drag shows.
class CKWImageListOwner {
public:
    virtual ~CKWImageListOwner() = default;
    // Null while it holds none.
    virtual HIMAGELIST GetDragImageList() = 0;
};

class CKWWinSrvrItem : public CDocObjectServerItem {
    DECLARE_DYNAMIC(CKWWinSrvrItem)
public:
    CKWWinSrvrItem(CKWWinDocument* document, BOOL autoDelete);
    ~CKWWinSrvrItem() override;

    // --- The class library's item ---
    // The content aspect answers the item's extent.
    BOOL OnGetExtent(DVASPECT nDrawAspect, CSize& rSize) override;
    // What the class library does not render, by format: enhanced metafile,
    // ANSI text, bitmap, Unicode text.
    BOOL OnRenderData(LPFORMATETC lpFormatEtc, LPSTGMEDIUM lpStgMedium) override;
    // The item draws nothing of its own.
    BOOL OnDraw(CDC* pDC, CSize& rSize) override;
    COleDataSource* OnGetClipboardData(BOOL bIncludeLink, LPPOINT lpOffset, LPSIZE lpSize) override;

    // A new data source for one transfer, with the application's formats
    // (CacheData) and the class library's; kept as the drag's data source.
    virtual COleDataSource* GetDataSource(BOOL includeLink, LPPOINT offset, LPSIZE size);
    CKWWinDocument* GetDocument() const;
    // Runs the drag from the point (allowed: copy, move and the bit 8); the effect.
    virtual DROPEFFECT DoDragDrop(const CPoint& point, const CRect* itemRect = nullptr);
    virtual void SetImageListOwner(CKWImageListOwner* owner);
    // The image the drop source shows, and the drag image the data source carries.
    virtual void SetDragBitmap(HBITMAP bitmap);
    // Clears the drag data, lets the document prepare, offers the standard formats.
    virtual void Prepare();
    // Copies the whole record, both strings included.
    virtual void SetDragInfo(const KWDragInfo& info);
    virtual void ResetDragData();
    // The item's own formats: the enhanced metafile, rendered on demand.
    virtual void OfferFormats();
    virtual bool OnPrepareDocument(CKWWinDocument* document) { return false; }
    // The record under "KWTallier Application Drag Info", then the drag
    // image and the objects' data.
    virtual void CacheData(COleDataSource* dataSource);
    virtual BOOL RenderEnhMetafile(LPFORMATETC format, LPSTGMEDIUM medium) { return FALSE; }
    virtual BOOL RenderText(LPFORMATETC format, LPSTGMEDIUM medium) { return FALSE; }
    virtual BOOL RenderBitmap(LPFORMATETC format, LPSTGMEDIUM medium) { return FALSE; }
    virtual BOOL RenderUnicodeText(LPFORMATETC format, LPSTGMEDIUM medium) { return FALSE; }
    // The derived item puts the objects' data ("KWTallier Application Object") here.
    virtual bool CacheObjectData(COleDataSource* dataSource) { return false; }
    // The drag image under "KWTallier Application Object Icon"; the drag
    // bitmap is released afterwards.
    virtual void CacheDragImage(COleDataSource* dataSource);

    const KWDragInfo& GetDragInfo() const { return m_dragInfo; }
    void SetExtent(const CSize& extent) { m_extent = extent; }
    bool IsDragging() const { return m_dragging; }

protected:
    // The drag image as 32-bit rows, top row first.
    struct DragBitmap {
        HBITMAP handle = nullptr;
        int32_t width = 0;
        int32_t height = 0;
        int32_t bytesPerRow = 0;
        std::vector<uint8_t> bits;
    };
    void ClearDragBitmap();

    KWDragInfo m_dragInfo;
    CSize m_extent;
    bool m_dragging;
    DragBitmap m_dragBitmap;
    CPoint m_dragStartOffset;
    CRect m_dragRect;
    COleDataSource* m_dragDataSource;
    CBitmap m_dragImage;
    CKWImageListOwner* m_imageListOwner;
};
