#include "appwindows/KWWinSrvrItem.h"

#include "framework/KWClipFormats.h"
#include "appwindows/KWOleDropSource.h"
#include "appwindows/KWWinDocument.h"

#include <cstring>

IMPLEMENT_DYNAMIC(CKWWinSrvrItem, CDocObjectServerItem)

namespace {

// A shared moveable block holding the bytes; null when it cannot be had.
HGLOBAL MakeBlock(const void* first, size_t firstSize, const void* second = nullptr, size_t secondSize = 0)
{
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE, firstSize + secondSize);
    if (!block)
        return nullptr;
    auto* bytes = static_cast<uint8_t*>(::GlobalLock(block));
    if (!bytes) {
        ::GlobalFree(block);
        return nullptr;
    }
    std::memcpy(bytes, first, firstSize);
    if (secondSize)
        std::memcpy(bytes + firstSize, second, secondSize);
    ::GlobalUnlock(block);
    return block;
}

}  // namespace

CKWWinSrvrItem::CKWWinSrvrItem(CKWWinDocument* document, BOOL autoDelete)
    : CDocObjectServerItem(document, autoDelete),
      m_dragging(false),
      m_dragDataSource(nullptr),
      m_imageListOwner(nullptr)
{
    m_dragInfo.Clear();
}

CKWWinSrvrItem::~CKWWinSrvrItem() { ClearDragBitmap(); }

CKWWinDocument* CKWWinSrvrItem::GetDocument() const
{
    return DYNAMIC_DOWNCAST(CKWWinDocument, CDocObjectServerItem::GetDocument());
}

BOOL CKWWinSrvrItem::OnGetExtent(DVASPECT nDrawAspect, CSize& rSize)
{
    if (nDrawAspect == DVASPECT_CONTENT) {
        rSize = m_extent;
        return TRUE;
    }
    return CDocObjectServerItem::OnGetExtent(nDrawAspect, rSize);
}

BOOL CKWWinSrvrItem::OnRenderData(LPFORMATETC lpFormatEtc, LPSTGMEDIUM lpStgMedium)
{
    if (CDocObjectServerItem::OnRenderData(lpFormatEtc, lpStgMedium))
        return TRUE;
    switch (lpFormatEtc->cfFormat) {
    case CF_ENHMETAFILE:
        return RenderEnhMetafile(lpFormatEtc, lpStgMedium);
    case CF_TEXT:
        return RenderText(lpFormatEtc, lpStgMedium);
    case CF_BITMAP:
        return RenderBitmap(lpFormatEtc, lpStgMedium);
    case CF_UNICODETEXT:
        return RenderUnicodeText(lpFormatEtc, lpStgMedium);
    default:
        return FALSE;
    }
}

BOOL CKWWinSrvrItem::OnDraw(CDC*, CSize&) { return FALSE; }

COleDataSource* CKWWinSrvrItem::OnGetClipboardData(BOOL bIncludeLink, LPPOINT lpOffset, LPSIZE lpSize)
{
    return GetDataSource(bIncludeLink, lpOffset, lpSize);
}

COleDataSource* CKWWinSrvrItem::GetDataSource(BOOL includeLink, LPPOINT offset, LPSIZE size)
{
    m_dragDataSource = new COleDataSource;
    CacheData(m_dragDataSource);
    GetClipboardData(m_dragDataSource, includeLink, offset, size);
    return m_dragDataSource;
}

DROPEFFECT CKWWinSrvrItem::DoDragDrop(const CPoint& point, const CRect* itemRect)
{
    m_dragging = true;
    m_dragStartOffset = point;
    m_dragRect = itemRect ? *itemRect : CRect(point, CSize(1, 1));
    POINT offset = point;
    SIZE size = m_dragRect.Size();
    COleDataSource* dataSource = GetDataSource(FALSE, &offset, &size);
    CKWOleDropSource dropSource;
    HIMAGELIST ownersList = m_imageListOwner ? m_imageListOwner->GetDragImageList() : nullptr;
    if (ownersList)
        dropSource.SetImageList(ownersList);
    else
        dropSource.SetDragImage(static_cast<HBITMAP>(m_dragImage.m_hObject));
    const DROPEFFECT kAllowed = DROPEFFECT_COPY | DROPEFFECT_MOVE | 8;
    const DROPEFFECT effect = dataSource->DoDragDrop(kAllowed, &m_dragRect, &dropSource);
    dataSource->InternalRelease();
    m_dragDataSource = nullptr;
    m_dragging = false;
    return effect;
}

void CKWWinSrvrItem::SetImageListOwner(CKWImageListOwner* owner) { m_imageListOwner = owner; }

void CKWWinSrvrItem::SetDragBitmap(HBITMAP bitmap)
{
    m_dragImage.DeleteObject();
    ClearDragBitmap();
    if (!bitmap)
        return;
    m_dragImage.Attach(bitmap);
    BITMAP info = {};
    if (::GetObjectW(bitmap, sizeof(info), &info) == 0 || info.bmWidth <= 0 || info.bmHeight <= 0)
        return;
    // The data source carries a copy of the image as 32-bit rows, top row first.
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof(format.bmiHeader);
    format.bmiHeader.biWidth = info.bmWidth;
    format.bmiHeader.biHeight = -info.bmHeight;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    DragBitmap copy;
    copy.width = info.bmWidth;
    copy.height = info.bmHeight;
    copy.bytesPerRow = info.bmWidth * 4;
    copy.bits.resize(static_cast<size_t>(copy.bytesPerRow) * static_cast<size_t>(copy.height));
    HDC screen = ::GetDC(nullptr);
    const int rows = ::GetDIBits(screen, bitmap, 0, static_cast<UINT>(info.bmHeight), copy.bits.data(), &format,
                                 DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    if (rows != info.bmHeight)
        return;
    copy.handle = static_cast<HBITMAP>(::CopyImage(bitmap, IMAGE_BITMAP, 0, 0, 0));
    m_dragBitmap = std::move(copy);
}

void CKWWinSrvrItem::ClearDragBitmap()
{
    if (m_dragBitmap.handle)
        ::DeleteObject(m_dragBitmap.handle);
    m_dragBitmap = DragBitmap();
}

void CKWWinSrvrItem::Prepare()
{
    ResetDragData();
    OnPrepareDocument(GetDocument());
    OfferFormats();
}

void CKWWinSrvrItem::SetDragInfo(const KWDragInfo& info) { m_dragInfo = info; }

void CKWWinSrvrItem::ResetDragData()
{
    m_dragging = false;
    ClearDragBitmap();
}

void CKWWinSrvrItem::OfferFormats()
{
    m_dataSource.Empty();
    FORMATETC format = {CF_ENHMETAFILE, nullptr, DVASPECT_CONTENT, -1, TYMED_ENHMF};
    m_dataSource.DelayRenderData(CF_ENHMETAFILE, &format);
}

void CKWWinSrvrItem::CacheData(COleDataSource* dataSource)
{
    if (HGLOBAL record = MakeBlock(&m_dragInfo, sizeof(m_dragInfo)))
        dataSource->CacheGlobalData(g_cfAppDragInfo, record);
    CacheDragImage(dataSource);
    CacheObjectData(dataSource);
}

void CKWWinSrvrItem::CacheDragImage(COleDataSource* dataSource)
{
    if (!m_dragBitmap.handle)
        return;
    KWDragImageHeader header = {m_dragBitmap.width, m_dragBitmap.height, m_dragBitmap.bytesPerRow};
    if (HGLOBAL image = MakeBlock(&header, sizeof(header), m_dragBitmap.bits.data(), m_dragBitmap.bits.size()))
        dataSource->CacheGlobalData(g_cfAppObjectIcon, image);
    ClearDragBitmap();
}
