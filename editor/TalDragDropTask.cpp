#include "editor/TalDragDropTask.h"

#include "framework/KWClipFormats.h"
#include "framework/KWDataSerializer.h"
#include "framework/KWSerialData.h"
#include "appwindows/KWWinDocument.h"
#include "document/TalCntrItem.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/OleDataSource.h"

#include <cstdlib>
#include <cstring>
#include <string>

IMPLEMENT_DYNAMIC(CTalDragDropTask, CKWWinSrvrItem)

namespace {

// A zeroed shared block holding the bytes; null when it cannot be had.
HGLOBAL SharedBlock(const void* bytes, size_t size)
{
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE | GMEM_ZEROINIT, size);
    void* target = block ? ::GlobalLock(block) : nullptr;
    if (!target) {
        if (block)
            ::GlobalFree(block);
        return nullptr;
    }
    std::memcpy(target, bytes, size);
    ::GlobalUnlock(block);
    return block;
}

}  // namespace

CTalDragDropTask::CTalDragDropTask(CKWWinDocument* document, CKWSerialData* record)
    : CKWWinSrvrItem(document, TRUE), m_record(record)
{
}

CTalDragDropTask::~CTalDragDropTask() = default;

BOOL CTalDragDropTask::OnGetExtent(DVASPECT nDrawAspect, CSize& rSize)
{
    if (nDrawAspect == DVASPECT_CONTENT) {
        rSize = CSize(kExtent, kExtent);
        return TRUE;
    }
    return CKWWinSrvrItem::OnGetExtent(nDrawAspect, rSize);
}

BOOL CTalDragDropTask::OnDraw(CDC* pDC, CSize&)
{
    if (!pDC || !pDC->m_hDC)
        return FALSE;
    ::SetMapMode(pDC->m_hDC, MM_ANISOTROPIC);
    ::SetWindowOrgEx(pDC->m_hDC, 0, 0, nullptr);
    ::SetWindowExtEx(pDC->m_hDC, kExtent, kExtent, nullptr);
    CKWWinDocument* document = GetDocument();
    POSITION pos = document ? document->GetStartPosition() : nullptr;
    COleClientItem* first = document ? document->GetNextClientItem(pos) : nullptr;
    if (auto* item = dynamic_cast<CTalCntrItem*>(first)) {
        const CRect bounds(10, 10, 1010, 1010);
        item->Draw(pDC, &bounds);
    }
    return TRUE;
}

void CTalDragDropTask::Serialize(CArchive& ar)
{
    CKWWinDocument* document = GetDocument();
    if (document && document->GetEmbeddedItem() == this)
        document->Serialize(ar);
}

void CTalDragDropTask::OfferFormats()
{
    m_dataSource.Empty();
    FORMATETC format = {kStorageFormat, nullptr, DVASPECT_CONTENT, -1, TYMED_ISTORAGE};
    m_dataSource.DelayRenderData(kStorageFormat, &format);
}

bool CTalDragDropTask::CacheObjectData(COleDataSource* dataSource)
{
    if (!m_record)
        return false;
    void* data = nullptr;
    uint32_t size = 0;
    CKWDataSerializer serializer = CKWDataSerializer::CKWDataSerializer2(m_record.get());
    if (serializer.Store(data, size) && data && size) {
        if (HGLOBAL block = SharedBlock(data, size))
            dataSource->CacheGlobalData(g_cfAppObject, block);
    }
    std::free(data);
    if (m_description.IsEmpty())
        return true;
    const wchar_t* text = m_description;
    const size_t length = static_cast<size_t>(m_description.GetLength());
    if (HGLOBAL unicode = SharedBlock(text, (length + 1) * sizeof(wchar_t)))
        dataSource->CacheGlobalData(CF_UNICODETEXT, unicode);
    const int ansiBytes = ::WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (ansiBytes > 0) {
        std::string ansi(static_cast<size_t>(ansiBytes), '\0');
        ::WideCharToMultiByte(CP_ACP, 0, text, -1, &ansi[0], ansiBytes, nullptr, nullptr);
        if (HGLOBAL block = SharedBlock(ansi.data(), ansi.size()))
            dataSource->CacheGlobalData(CF_TEXT, block);
    }
    return true;
}
