// Drag and drop: the view's drop target fed with built data objects, the
// pane drop target, the drag item's data source, the end of a drag out of
// the view, and mutated drop blocks.
#include "KWTestBytes.h"
#include "KWWindowsTestSupport.h"

#include "controls/KWDragDropPane.h"
#include "framework/KWClipFormats.h"
#include "framework/KWDragInfo.h"
#include "controls/KWWinDropTarget.h"
#include "appwindows/KWOleDropSource.h"
#include "appwindows/KWWinSrvrItem.h"
#include "platform/classlib/OleDataSource.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstring>
#include <random>

using namespace kwwin;

namespace {

const DWORD kAllowed = DROPEFFECT_COPY | DROPEFFECT_MOVE | 8;

HGLOBAL Block(const void* bytes, size_t size)
{
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, size ? size : 1);
    if (size)
        std::memcpy(::GlobalLock(block), bytes, size);
    ::GlobalUnlock(block);
    return block;
}

KWDragInfo Record(uint32_t flags, const wchar_t* name)
{
    KWDragInfo info;
    info.Clear();
    info.instanceId = 7;
    info.flags = flags;
    wcsncpy(info.name, name, KWDragInfo::kNameLength - 1);
    return info;
}

// A data source of the application's own formats, the record cut to recordSize.
COleDataSource* AppData(const KWDragInfo& info, size_t recordSize = sizeof(KWDragInfo))
{
    auto* source = new COleDataSource;
    source->CacheGlobalData(g_cfAppDragInfo, Block(&info, recordSize));
    const uint8_t objects[] = {1, 2, 3};
    source->CacheGlobalData(g_cfAppObject, Block(objects, sizeof objects));
    return source;
}

// A file list block: the header, then the names, then the empty name.
std::vector<uint8_t> FileList(const std::vector<std::wstring>& files)
{
    DROPFILES header = {};
    header.pFiles = sizeof(header);
    header.fWide = TRUE;
    const auto* start = reinterpret_cast<const uint8_t*>(&header);
    std::vector<uint8_t> block(start, start + sizeof(header));
    for (const std::wstring& file : files) {
        const auto* bytes = reinterpret_cast<const uint8_t*>(file.c_str());
        block.insert(block.end(), bytes, bytes + (file.size() + 1) * sizeof(wchar_t));
    }
    block.insert(block.end(), {0, 0});
    return block;
}

COleDataSource* FileData(const std::vector<uint8_t>& block)
{
    auto* source = new COleDataSource;
    source->CacheGlobalData(CF_HDROP, Block(block.data(), block.size()));
    return source;
}

class DragDrop : public ::testing::Test, public WindowsFixture {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr)));
        CTestSplitFrame* frame = NewFrame();
        ASSERT_NE(nullptr, frame);
        view = frame->View();
        target = view->GetDropTarget()->GetDropTarget();
        CRect rect;
        view->GetWindowRect(&rect);
        at = POINTL{rect.left + 20, rect.top + 20};
    }
    void TearDown() override
    {
        app.m_pMainWnd->SendMessage(WM_CLOSE);
        Pump();
        ::OleUninitialize();
    }
    DWORD Enter(COleDataSource* source, DWORD keys)
    {
        DWORD effect = kAllowed;
        target->DragEnter(source->GetDataObject(FALSE), keys, at, &effect);
        return effect;
    }
    DWORD Drop(COleDataSource* source, DWORD keys)
    {
        DWORD effect = kAllowed;
        target->Drop(source->GetDataObject(FALSE), keys, at, &effect);
        return effect;
    }

    CTestSplitView* view = nullptr;
    IDropTarget* target = nullptr;
    POINTL at = {};
};

TEST_F(DragDrop, CtrlOrTheRecordsCopyFlagMakeACopyAndTheViewMayAskForAMove)
{
    const struct {
        uint32_t flags;
        DWORD keys;
        bool viewMoves;
        DWORD effect;
        const wchar_t* drop;
    } cases[] = {
        {0, 0, false, DROPEFFECT_MOVE, L"a:move:3"},
        {0, MK_CONTROL, false, DROPEFFECT_COPY, L"a:copy:3"},
        {KWDragInfo::kFlagCopy, 0, false, DROPEFFECT_COPY, L"a:copy:3"},
        {0, 0, true, DROPEFFECT_MOVE | 8, L"a:move:3"},
    };
    for (const auto& k : cases) {
        view->enterAnswer = k.viewMoves;
        view->drops.clear();
        COleDataSource* source = AppData(Record(k.flags, L"a"));
        EXPECT_EQ(k.effect, Enter(source, k.keys));
        EXPECT_EQ(k.effect, Drop(source, k.keys));
        ASSERT_EQ(1u, view->drops.size());
        EXPECT_EQ(k.drop, view->drops[0]);
        source->InternalRelease();
    }

    // A record shorter than its format is refused.
    COleDataSource* shortRecord = AppData(Record(0, L"b"), sizeof(KWDragInfo) - 1);
    view->drops.clear();
    EXPECT_EQ(DROPEFFECT_NONE, Enter(shortRecord, 0));
    EXPECT_EQ(DROPEFFECT_NONE, Drop(shortRecord, 0));
    EXPECT_TRUE(view->drops.empty());
    shortRecord->InternalRelease();
}

TEST_F(DragDrop, AFileListAsksForEachFileInOrder)
{
    const std::vector<std::wstring> files = {L"C:\\a.jpg", L"C:\\b.png", L"C:\\c.txt"};
    const struct {
        const wchar_t* accepted;
        DWORD effect;
    } cases[] = {{L"C:\\b.png", DROPEFFECT_COPY}, {L"", DROPEFFECT_NONE}};
    for (const auto& k : cases) {
        view->askedFiles.clear();
        view->acceptedFile = k.accepted;
        COleDataSource* source = FileData(FileList(files));
        EXPECT_EQ(k.effect, Enter(source, 0));
        DWORD effect = kAllowed;
        target->DragOver(MK_CONTROL, at, &effect);
        EXPECT_EQ(k.effect, effect) << "Ctrl copies what the view takes and no more";
        target->DragLeave();
        EXPECT_EQ(files, view->askedFiles);
        source->InternalRelease();
    }
}

TEST_F(DragDrop, DataThatCanBeEmbeddedAsksTheViewForAnObject)
{
    const char name[] = "C:\\report.doc";
    const CLIPFORMAT fileName = static_cast<CLIPFORMAT>(::RegisterClipboardFormatW(L"FileName"));
    for (bool answer : {true, false}) {
        view->objectEnters = 0;
        view->objectAnswer = answer;
        auto* source = new COleDataSource;
        source->CacheGlobalData(fileName, Block(name, sizeof name));
        EXPECT_EQ(answer ? DROPEFFECT_COPY : DROPEFFECT_NONE, Enter(source, 0));
        EXPECT_EQ(1, view->objectEnters);
        target->DragLeave();
        source->InternalRelease();
    }
    // Plain text is no object.
    view->objectEnters = 0;
    auto* text = new COleDataSource;
    const wchar_t words[] = L"words";
    text->CacheGlobalData(CF_UNICODETEXT, Block(words, sizeof words));
    Enter(text, 0);
    target->DragLeave();
    EXPECT_EQ(0, view->objectEnters);
    text->InternalRelease();
}

// An item whose drag ends with a given effect.
class CEndingItem : public CKWWinSrvrItem {
public:
    CEndingItem() : CKWWinSrvrItem(nullptr, FALSE) {}
    DROPEFFECT DoDragDrop(const CPoint&, const CRect*) override { return effect; }
    bool CacheObjectData(COleDataSource* dataSource) override
    {
        const uint8_t objects[] = {9, 8, 7, 6};
        dataSource->CacheGlobalData(g_cfAppObject, Block(objects, sizeof objects));
        return true;
    }
    DROPEFFECT effect = DROPEFFECT_NONE;
};

TEST_F(DragDrop, OnlyAMoveWithTheBit8EndsInTheMoveHook)
{
    CEndingItem item;
    view->dragItem = &item;
    const struct {
        DROPEFFECT effect;
        int moved;
    } cases[] = {{DROPEFFECT_MOVE | 8, 1}, {DROPEFFECT_MOVE, 0}, {DROPEFFECT_COPY, 0}, {DROPEFFECT_NONE, 0}};
    for (const auto& k : cases) {
        view->movedDrags = 0;
        item.effect = k.effect;
        item.InternalAddRef();
        view->BeginDrag(CPoint(5, 5));
        EXPECT_EQ(k.moved, view->movedDrags) << k.effect;
    }
    view->dragItem = nullptr;
}

TEST_F(DragDrop, TheDragsDataSourceGivesBackRecordImageAndObjects)
{
    CEndingItem item;
    const KWDragInfo info = Record(KWDragInfo::kFlagCopy, L"Findings");
    item.SetDragInfo(info);
    const uint32_t pixels[] = {0xFF102030, 0xFF405060, 0xFF708090, 0xFFA0B0C0, 0xFFD0E0F0, 0xFF000000};
    item.SetDragBitmap(::CreateBitmap(3, 2, 1, 32, pixels));
    COleDataSource* source = item.GetDataSource(FALSE, nullptr, nullptr);
    COleDataObject data;
    data.Attach(source->GetDataObject(TRUE));

    HGLOBAL record = data.GetGlobalData(g_cfAppDragInfo);
    ASSERT_NE(nullptr, record);
    EXPECT_EQ(sizeof(KWDragInfo), ::GlobalSize(record));
    EXPECT_EQ(0, std::memcmp(&info, ::GlobalLock(record), sizeof info));
    ::GlobalUnlock(record);
    ::GlobalFree(record);

    HGLOBAL image = data.GetGlobalData(g_cfAppObjectIcon);
    ASSERT_NE(nullptr, image);
    const auto* bytes = static_cast<const uint8_t*>(::GlobalLock(image));
    KWDragImageHeader header;
    ASSERT_TRUE(header.ReadFrom(bytes, ::GlobalSize(image)));
    EXPECT_EQ(3, header.width);
    EXPECT_EQ(2, header.height);
    EXPECT_EQ(12, header.bytesPerRow);
    for (int i = 0; i < 6; ++i) {
        uint32_t pixel;
        std::memcpy(&pixel, bytes + sizeof header + 4 * i, 4);
        EXPECT_EQ(pixels[i] & 0xFFFFFF, pixel & 0xFFFFFF) << i;
    }
    ::GlobalUnlock(image);
    ::GlobalFree(image);

    HGLOBAL objects = data.GetGlobalData(g_cfAppObject);
    ASSERT_NE(nullptr, objects);
    EXPECT_EQ(0, std::memcmp("\x09\x08\x07\x06", ::GlobalLock(objects), 4));
    ::GlobalUnlock(objects);
    ::GlobalFree(objects);
    data.Release();
    source->InternalRelease();
}

// A window that notes the drag events its drop target hands it.
class CPaneWindow : public CWnd, public CKWDragDropPane {
public:
    DROPEFFECT OnDragEnter(CWnd*, COleDataObject*, DWORD, CPoint) override { return Note(L"enter", DROPEFFECT_COPY); }
    void OnDragLeave(CWnd*) override { Note(L"leave", 0); }
    DROPEFFECT OnDragOver(CWnd*, COleDataObject*, DWORD, CPoint) override { return Note(L"over", DROPEFFECT_COPY); }
    DROPEFFECT OnDrop(CWnd*, COleDataObject*, DROPEFFECT, DROPEFFECT, CPoint) override
    {
        return Note(L"drop", DROPEFFECT_COPY);
    }
    DROPEFFECT OnDragScroll(CWnd*, DWORD, CPoint) override { return Note(L"scroll", DROPEFFECT_NONE); }
    std::wstring events;

private:
    DROPEFFECT Note(const wchar_t* event, DROPEFFECT effect)
    {
        events += events.empty() ? event : std::wstring(L" ") + event;
        return effect;
    }
};

TEST_F(DragDrop, ThePaneDropTargetHandsAllFiveEventsToThePane)
{
    CPaneWindow pane;
    ASSERT_TRUE(pane.CreateEx(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr));
    CKWWinDropTarget dropTarget;
    ASSERT_TRUE(dropTarget.Register(&pane));
    IDropTarget* paneTarget = dropTarget.GetDropTarget();
    COleDataSource* source = FileData(FileList({L"C:\\a.jpg"}));
    DWORD effect = kAllowed;
    const POINTL point = {10, 10};
    paneTarget->DragEnter(source->GetDataObject(FALSE), 0, point, &effect);
    EXPECT_EQ(DROPEFFECT_COPY, effect);
    paneTarget->DragOver(0, point, &effect);
    paneTarget->DragLeave();
    paneTarget->DragEnter(source->GetDataObject(FALSE), 0, point, &effect);
    effect = kAllowed;
    paneTarget->Drop(source->GetDataObject(FALSE), 0, point, &effect);
    EXPECT_EQ(DROPEFFECT_COPY, effect);
    EXPECT_EQ(L"scroll enter scroll over leave scroll enter over drop", pane.events);
    source->InternalRelease();
    dropTarget.Revoke();
    pane.DestroyWindow();
}

TEST_F(DragDrop, MutatedDropBlocksAreReadWithinTheirBounds)
{
    std::mt19937 random(20240522);
    KWDragInfo valid = Record(0, L"Findings");
    wcscpy(valid.path, L"C:\\Reports\\image.jpg");
    const auto* validBytes = reinterpret_cast<const uint8_t*>(&valid);
    const std::vector<uint8_t> validList = FileList({L"C:\\a.jpg", L"C:\\b.png"});
    const int32_t image[] = {2, 2, 8, 1, 2, 3, 4};
    const auto* imageBytes = reinterpret_cast<const uint8_t*>(image);
    const std::vector<std::vector<uint8_t>> seeds = {
        std::vector<uint8_t>(validBytes, validBytes + sizeof valid), validList,
        std::vector<uint8_t>(imageBytes, imageBytes + sizeof image)};
    view->acceptedFile = L"C:\\a.jpg";
    for (int round = 0; round < 100000; ++round) {
        std::vector<uint8_t> block = seeds[round % 3];
        kwbytes::Mutate(block, random);

        KWDragInfo info;
        if (info.ReadFrom(block.data(), block.size())) {
            ASSERT_LT(wcsnlen(info.name, KWDragInfo::kNameLength), size_t(KWDragInfo::kNameLength));
            ASSERT_LT(wcsnlen(info.path, KWDragInfo::kPathLength), size_t(KWDragInfo::kPathLength));
        }
        KWDragImageHeader header;
        if (header.ReadFrom(block.data(), block.size()))
            ASSERT_LE(sizeof header + uint64_t(header.bytesPerRow) * uint64_t(header.height), block.size());
        // Every hundredth block goes through the view's drop target as a file list and as a record.
        if (round % 100 == 0) {
            view->askedFiles.clear();
            COleDataSource* files = FileData(block);
            Enter(files, 0);
            target->DragLeave();
            files->InternalRelease();
            auto* record = new COleDataSource;
            record->CacheGlobalData(g_cfAppDragInfo, Block(block.data(), block.size()));
            record->CacheGlobalData(g_cfAppObject, Block(block.data(), block.size()));
            Enter(record, 0);
            Drop(record, 0);
            record->InternalRelease();
        }
    }
}

// The screen's pixel at a point, as the display shows it.
COLORREF ScreenPixel(POINT at)
{
    HDC screen = ::GetDC(nullptr);
    const COLORREF pixel = ::GetPixel(screen, at.x, at.y);
    ::ReleaseDC(nullptr, screen);
    return pixel;
}

TEST(DragImage, AnEndedDragImageLeavesTheScreenAsItWasUnderIt)
{
    // Whatever the screen shows around the cursor, where the image goes.
    const POINT middle = {300, 260};
    ::SetCursorPos(middle.x, middle.y);
    const POINT probe = {middle.x + 10, middle.y};
    const COLORREF before = ScreenPixel(probe);
    ASSERT_NE(CLR_INVALID, before);

    // A red 40 x 20 image centred on the cursor.
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 40, 20);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    HBRUSH red = ::CreateSolidBrush(RGB(255, 0, 0));
    RECT whole = {0, 0, 40, 20};
    ::FillRect(memory, &whole, red);
    ::DeleteObject(red);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    {
        CKWOleDropSource source;
        source.SetDragImage(bitmap);
        const COLORREF shown = ScreenPixel(probe);
        EXPECT_TRUE(GetRValue(shown) > 150 && GetGValue(shown) < 60) << std::hex << shown << ": the image shows";
        // The image's top-left corner is at the cursor less half its width
        // and half its height.
        const struct {
            POINT offset;
            bool red;
        } places[] = {{{-19, -9}, true}, {{18, 8}, true}, {{-22, 0}, false}, {{0, -12}, false}, {{22, 11}, false}};
        for (const auto& place : places) {
            const COLORREF pixel = ScreenPixel({middle.x + place.offset.x, middle.y + place.offset.y});
            EXPECT_EQ(place.red, GetRValue(pixel) > 150 && GetGValue(pixel) < 60)
                << place.offset.x << ", " << place.offset.y << ": " << std::hex << pixel;
        }
        // The drag's last step shows it once more, as a drop on the tree does.
        ::ImageList_DragShowNolock(FALSE);
        ::ImageList_DragShowNolock(TRUE);
    }
    EXPECT_EQ(before, ScreenPixel(probe)) << "no picture of the image stays";
    ::DeleteObject(bitmap);
}

}  // namespace
