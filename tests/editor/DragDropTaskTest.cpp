// The drag-and-drop data item: what a labelled item offers, and its extent.
#include "editor/TalDragDropTask.h"
#include "framework/KWClipFormats.h"
#include "model/TalFileNamesData.h"
#include "document/TalDocument.h"
#include "platform/classlib/OleDataSource.h"

#include <gtest/gtest.h>

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
