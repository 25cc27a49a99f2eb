// The drag-and-drop data item: what a labelled item offers, and its extent.
#include "editor/TalDragDropTask.h"
#include "document/TalCntrItem.h"
#include "platform/classlib/DC.h"
#include "framework/KWClipFormats.h"
#include "model/TalFileNamesData.h"
#include "document/TalDocument.h"
#include "platform/classlib/OleDataSource.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The size of the block the data object gives for the format; -1 when none.
long long BlockSize(IDataObject* data, CLIPFORMAT format)
{
    FORMATETC wanted = {format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium = {};
    if (FAILED(data->GetData(&wanted, &medium)))
        return -1;
    const long long size = static_cast<long long>(::GlobalSize(medium.hGlobal));
    ::ReleaseStgMedium(&medium);
    return size;
}

}  // namespace

TEST(DragDropTask, ALabelledItemOffersItsRecordAndTheLabelAsUnicodeAndAnsiText)
{
    CTalDocument document;
    auto* task = new CTalDragDropTask(&document, new CTalFileNamesData({CString(L"C:\\a.jpg")}));
    task->SetDescription(L"Sec");
    COleDataSource source;
    ASSERT_TRUE(task->CacheObjectData(&source));
    IDataObject* data = source.GetDataObject(FALSE);
    EXPECT_GT(BlockSize(data, g_cfAppObject), 0);
    EXPECT_EQ(8, BlockSize(data, CF_UNICODETEXT));
    EXPECT_EQ(4, BlockSize(data, CF_TEXT));
    CSize extent;
    EXPECT_TRUE(task->OnGetExtent(DVASPECT_CONTENT, extent));
    EXPECT_EQ(CSize(3000, 3000), extent);

    COleDataSource unlabelled;
    task->SetDescription(CString());
    task->CacheObjectData(&unlabelled);
    EXPECT_EQ(-1, BlockSize(unlabelled.GetDataObject(FALSE), CF_TEXT)) << "no text without a label";
    task->InternalRelease();
}

namespace {

// The records of an enhanced metafile, by type, with the first two words of
// their parameters.
struct MetaRecord {
    DWORD type;
    DWORD first;
    DWORD second;
};

int CALLBACK CollectRecord(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM list)
{
    const DWORD first = record->nSize > 8 ? record->dParm[0] : 0;
    const DWORD second = record->nSize > 12 ? record->dParm[1] : 0;
    reinterpret_cast<std::vector<MetaRecord>*>(list)->push_back({record->iType, first, second});
    return 1;
}

bool HasRecord(const std::vector<MetaRecord>& records, DWORD type, DWORD first, DWORD second)
{
    for (const MetaRecord& r : records)
        if (r.type == type && r.first == first && r.second == second)
            return true;
    return false;
}

// The formats a data object lists, with their media.
std::vector<FORMATETC> ListedFormats(IDataObject* data)
{
    std::vector<FORMATETC> formats;
    IEnumFORMATETC* list = nullptr;
    if (FAILED(data->EnumFormatEtc(DATADIR_GET, &list)) || !list)
        return formats;
    FORMATETC format;
    while (list->Next(1, &format, nullptr) == S_OK)
        formats.push_back(format);
    list->Release();
    return formats;
}

}  // namespace

TEST(DragDropTask, DrawsIntoAMetafileOnAThreeThousandUnitWindowAndOffersTheStorageFormat)
{
    CTalDocument document;
    new CTalCntrItem(&document);  // the document's first embedded object; the document deletes it
    auto* task = new CTalDragDropTask(&document, new CTalFileNamesData({CString(L"C:\\a.jpg")}));
    CSize size(0, 0);
    EXPECT_FALSE(task->OnDraw(nullptr, size)) << "no context";

    HDC metafileDC = ::CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, metafileDC);
    CDC context;
    context.Attach(metafileDC);
    EXPECT_TRUE(task->OnDraw(&context, size));
    context.Detach();
    HENHMETAFILE metafile = ::CloseEnhMetaFile(metafileDC);
    ASSERT_NE(nullptr, metafile);
    std::vector<MetaRecord> records;
    ::EnumEnhMetaFile(nullptr, metafile, CollectRecord, &records, nullptr);
    EXPECT_TRUE(HasRecord(records, EMR_SETMAPMODE, MM_ANISOTROPIC, 0));
    EXPECT_TRUE(HasRecord(records, EMR_SETWINDOWORGEX, 0, 0));
    EXPECT_TRUE(HasRecord(records, EMR_SETWINDOWEXTEX, 3000, 3000));
    // Rendered onto a page: it plays back whole.
    HDC screen = ::GetDC(nullptr);
    HDC page = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 100, 100);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ old = ::SelectObject(page, bitmap);
    const RECT area = {0, 0, 100, 100};
    EXPECT_TRUE(::PlayEnhMetaFile(page, metafile, &area));
    ::SelectObject(page, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(page);
    ::DeleteEnhMetaFile(metafile);

    // Prepared: its own data source and a drag's offer format 2 on a storage.
    task->Prepare();
    ASSERT_EQ(1, task->COleServerItem::GetDataSource()->GetFormatCount());
    EXPECT_EQ(CTalDragDropTask::kStorageFormat, task->COleServerItem::GetDataSource()->GetFormat(0).cfFormat);
    COleDataSource* drag = task->GetDataSource(FALSE, nullptr, nullptr);
    bool storage = false;
    for (const FORMATETC& format : ListedFormats(drag->GetDataObject(FALSE)))
        storage |= format.cfFormat == 2 && format.tymed == TYMED_ISTORAGE && format.dwAspect == DVASPECT_CONTENT &&
                   format.lindex == -1 && !format.ptd;
    EXPECT_TRUE(storage);
    drag->InternalRelease();
    task->InternalRelease();
}
