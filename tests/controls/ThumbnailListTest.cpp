// The thumbnail list over a list view (batches, thumbnails, insertion
// index, selection, drag start, label-edit keys, background, data owned),
// its thread-safe form, and the bitmap control's fitted drawing.
#include "ControlsTestResources.h"
#include "ControlsTestSupport.h"

#include "controls/KWBitmapControl.h"
#include "controls/KWControlsFactory.h"
#include "controls/KWListCtrlImpWin.h"
#include "controls/KWListImageViewImpWinMT.h"
#include "framework/KWRasterImage.h"
#include "tests/support/WindowPixels.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

using controls_test::ShownWindow;
using test_support::Capture;
using test_support::Pixels;

namespace {

const COLORREF kRed = RGB(255, 0, 0);

// Counts its objects, so that a test sees which data the list deleted.
struct CCountedData : CKWImageViewData {
    explicit CCountedData(int value) : value(value) { ++alive; }
    ~CCountedData() override { --alive; }
    int value;
    static int alive;
};
int CCountedData::alive = 0;

// A red picture of the size; its rows are stride bytes apart (0: width x 4)
// and the bytes past each row are 0xEE.
KWRasterImagePtr RedPicture(uint32_t width, uint32_t height, uint32_t stride = 0)
{
    stride = stride ? stride : width * 4;
    KWRasterImagePtr image(KWAllocRasterImage(width, height, stride));
    for (uint32_t y = 0; y < height; ++y) {
        uint8_t* row = image->Pixels() + size_t(y) * stride;
        std::memset(row, 0xEE, stride);
        for (uint32_t x = 0; x < width; ++x) {
            row[x * 4] = 0;
            row[x * 4 + 1] = 0;
            row[x * 4 + 2] = 255;
            row[x * 4 + 3] = 0;
        }
    }
    return image;
}

// The bounds of the red pixels of a 32-bit DIB section.
CRect RedBounds(HBITMAP dib, CSize& size)
{
    DIBSECTION section = {};
    ::GetObjectW(dib, sizeof(section), &section);
    size = CSize(section.dsBm.bmWidth, section.dsBm.bmHeight);
    const auto* pixels = static_cast<const uint32_t*>(section.dsBm.bmBits);
    CRect bounds(size.cx, size.cy, 0, 0);
    for (int y = 0; y < size.cy; ++y)
        for (int x = 0; x < size.cx; ++x)
            if ((pixels[y * size.cx + x] & 0xFFFFFF) == 0xFF0000)
                bounds |= CRect(x, y, x + 1, y + 1);
    return bounds;
}

// A list of the given style inside a shown window.
struct ListHost {
    explicit ListHost(DWORD style = LVS_ICON | LVS_EDITLABELS, const CRect& rect = CRect(0, 0, 300, 300))
        : host(CRect(300, 20, 300 + rect.Width(), 20 + rect.Height()))
    {
        list.CreateImageView(0, WS_CHILD | WS_VISIBLE | style, rect, &host.window, 1122, false);
        imp = dynamic_cast<CKWListImageViewImpWin*>(list.GetImp());
    }
    int Image(int index)
    {
        LVITEMW item = {};
        item.mask = LVIF_IMAGE;
        item.iItem = index;
        ::SendMessageW(imp->GetHwnd(), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        return item.iImage;
    }
    ShownWindow host;
    CKWListImagesView list;
    CKWListImageViewImpWin* imp = nullptr;
};

// Records the drags a window's drop pane asks it to begin.
struct CDragRecorder : CKWDragDropPane {
    void BeginDrag(const CPoint& start) override { starts.push_back(start); }
    std::vector<CPoint> starts;
};

}  // namespace

TEST(ThumbnailList, ABatchAtAPositionMovesTheOldItemsDownWithCaptionImageAndData)
{
    ListHost host;
    host.list.SetThumbnailSize(32, 32, 4, 4, 1);
    KWRasterImagePtr red = RedPicture(32, 32);
    host.list.BeginAddItems(2, -1);
    host.list.AddItem(L"first", red.get(), new CCountedData(1));
    host.list.AddItem(L"second", red.get(), new CCountedData(2));
    host.list.EndAddItems();

    host.list.BeginAddItems(3, 0);
    ASSERT_EQ(5, host.list.GetItemCount());
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(host.list.GetItemText(i).IsEmpty()) << i;
        EXPECT_EQ(0, host.Image(i)) << i;
        EXPECT_EQ(nullptr, host.list.GetItemData(i)) << i;
    }
    EXPECT_EQ(L"first", host.list.GetItemText(3));
    EXPECT_EQ(L"second", host.list.GetItemText(4));
    EXPECT_EQ(0, host.Image(3));
    EXPECT_EQ(1, host.Image(4));
    EXPECT_EQ(1, static_cast<CCountedData*>(host.list.GetItemData(3))->value);
    EXPECT_EQ(2, static_cast<CCountedData*>(host.list.GetItemData(4))->value);
    host.list.EndAddItems();

    // A batch of three at the end of a list of two fills new image slots.
    ListHost appended;
    appended.list.SetThumbnailSize(32, 32, 4, 4, 1);
    appended.list.BeginAddItems(2, -1);
    appended.list.AddItem(L"a", red.get(), nullptr);
    appended.list.AddItem(L"b", red.get(), nullptr);
    appended.list.BeginAddItems(3, -1);
    for (int i = 0; i < 3; ++i)
        appended.list.AddItem(L"new", red.get(), nullptr);
    EXPECT_EQ(5, ImageList_GetImageCount(reinterpret_cast<HIMAGELIST>(
                     ::SendMessageW(appended.imp->GetHwnd(), LVM_GETIMAGELIST, LVSIL_NORMAL, 0))));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(i, appended.Image(i)) << i;

    // Destroying the window deletes every item's data.
    const int before = CCountedData::alive;
    ::DestroyWindow(host.imp->GetHwnd());
    EXPECT_EQ(before - 2, CCountedData::alive);
}

TEST(ThumbnailList, EmptiedItStartsAgainAtTheTopLeftWithoutImagesAndABatchHasItsImagesAtOnce)
{
    // Without arranging: the list view places each new item after the last.
    ListHost host(LVS_ICON, CRect(0, 0, 300, 300));
    host.list.SetThumbnailSize(32, 32, 4, 4, 1);
    HIMAGELIST images =
        reinterpret_cast<HIMAGELIST>(::SendMessageW(host.imp->GetHwnd(), LVM_GETIMAGELIST, LVSIL_NORMAL, 0));
    auto position = [&](int index) {
        POINT point = {-1, -1};
        ::SendMessageW(host.imp->GetHwnd(), LVM_GETITEMPOSITION, WPARAM(index), reinterpret_cast<LPARAM>(&point));
        return point;
    };
    const int alive = CCountedData::alive;
    POINT first = {};
    for (int count : {9, 2}) {
        host.list.BeginAddItems(count, -1);
        EXPECT_LE(count, ImageList_GetImageCount(images)) << "an image for every item before they are filled";
        for (int i = 0; i < count; ++i)
            host.list.AddItem(L"x", nullptr, new CCountedData(i));
        host.list.EndAddItems();
        if (count == 9)
            first = position(0);
        EXPECT_EQ(first.x, position(0).x) << count;
        EXPECT_EQ(first.y, position(0).y) << count;
        host.list.DeleteAllItems();
        EXPECT_EQ(0, host.list.GetItemCount());
        EXPECT_EQ(0, ImageList_GetImageCount(images));
        EXPECT_EQ(alive, CCountedData::alive) << "every item's data went with it";
    }
}

TEST(ThumbnailList, ThumbnailsAreCentredOrScaledDownIntoTheirSlotWithoutReadingPastARow)
{
    ListHost host;
    const struct {
        uint32_t width, height, stride;
        int side;
        CRect red;
    } cases[] = {
        {100, 50, 0, 128, CRect(14, 39, 114, 89)},
        {128, 128, 0, 128, CRect(0, 0, 128, 128)},
        {300, 200, 0, 128, CRect(0, 21, 128, 106)},
        {10, 4, 10 * 4 + 24, 32, CRect(11, 14, 21, 18)},
    };
    for (const auto& c : cases) {
        host.imp->SetThumbnailSize(c.side, c.side, 4, 4, 1);
        KWRasterImagePtr source = RedPicture(c.width, c.height, c.stride);
        bool owned = false;
        HBITMAP thumbnail = host.imp->MakeThumbnail(source.get(), owned, RGB(255, 255, 255));
        ASSERT_NE(nullptr, thumbnail) << c.width;
        EXPECT_TRUE(owned);
        CSize size;
        EXPECT_EQ(c.red, RedBounds(thumbnail, size)) << c.width << " x " << c.height;
        EXPECT_EQ(CSize(c.side, c.side), size);
        if (c.red.right < c.side) {
            DIBSECTION section = {};
            ::GetObjectW(thumbnail, sizeof(section), &section);
            const auto* pixels = static_cast<const uint32_t*>(section.dsBm.bmBits);
            EXPECT_EQ(0xFFFFFFu, pixels[c.red.top * c.side + c.red.right] & 0xFFFFFFu) << "nothing past a row";
        }
        ::DeleteObject(thumbnail);
    }
    bool owned = true;
    host.imp->MakeThumbnail(nullptr, owned, 0);
    EXPECT_FALSE(owned) << "the shared default picture";
}

TEST(ThumbnailList, InsertIndexSelectionAndDragStartFollowThePointer)
{
    ListHost host(LVS_ICON | LVS_AUTOARRANGE | LVS_SINGLESEL, CRect(0, 0, 200, 300));
    host.list.SetThumbnailSize(48, 48, 4, 4, 1);
    host.list.BeginAddItems(6, -1);
    for (int i = 0; i < 6; ++i)
        host.list.AddItem(L"x", nullptr, nullptr);
    host.list.EndAddItems();
    RECT first = {}, last = {};
    host.list.GetItemRect(0, first);
    int rowEnd = 0;
    while (host.list.GetItemRect(rowEnd + 1, last) && last.top == first.top)
        ++rowEnd;
    ASSERT_LT(rowEnd, 5) << "the items fill more than one row";
    host.list.GetItemRect(rowEnd, last);
    EXPECT_EQ(rowEnd + 1, host.list.GetInsertIndex(POINT{last.right + 5, (last.top + last.bottom) / 2}, false));
    EXPECT_EQ(-1, host.list.GetInsertIndex(POINT{last.right + 5, (last.top + last.bottom) / 2}, true));
    EXPECT_EQ(0, host.list.GetInsertIndex(POINT{(first.left + first.right) / 2, first.top + 2}, false));

    host.list.SelectAll();
    EXPECT_EQ(-1, host.list.GetFirstSelected()) << "a single-selection list selects nothing";
    host.list.SelectItem(2);
    EXPECT_EQ(2, host.list.GetCurrentItem());

    // A press arms the drag; only a move beyond five pixels starts it.
    ListHost empty;
    CDragRecorder recorder;
    empty.list.SetDragSourceHandler(&recorder);
    empty.list.EnableDragStart(true);
    HWND window = empty.imp->GetHwnd();
    const struct {
        int x, y;
        size_t drags;
    } moves[] = {{3, 4}, {4, 4}};
    size_t expected[] = {0, 1};
    for (size_t i = 0; i < 2; ++i) {
        ::PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(50, 50));
        ::SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 50));
        ::SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(50 + moves[i].x, 50 + moves[i].y));
        EXPECT_EQ(expected[i], recorder.starts.size()) << moves[i].x << "," << moves[i].y;
        classlib_test::DrainMessages();
    }
}

TEST(ThumbnailList, EnterEndsALabelEditInTheListAndTheBackgroundFitsAnEmptyList)
{
    ListHost host(LVS_ICON | LVS_EDITLABELS, CRect(0, 0, 150, 200));
    host.list.BeginAddItems(1, -1);
    host.list.AddItem(L"old", nullptr, nullptr);
    host.list.EndAddItems();
    ::SetForegroundWindow(host.host.window.m_hWnd);
    host.list.SetFocus();
    HWND edit = host.list.EditLabel(0);
    ASSERT_NE(nullptr, edit);
    ::SetWindowTextW(edit, L"new");
    MSG enter = {edit, WM_KEYDOWN, VK_RETURN, 0};
    EXPECT_TRUE(host.imp->GetWindow().PreTranslateMessage(&enter)) << "the dialog does not see the key";
    EXPECT_FALSE(host.list.IsEditingLabel());

    ListHost empty(LVS_ICON, CRect(0, 0, 150, 200));
    ASSERT_TRUE(empty.list.SetBackgroundBitmap(IDB_TEST_BACKGROUND));
    const Pixels pixels = Capture(empty.imp->GetHwnd());
    EXPECT_EQ(CRect(0, 50, 150, 150), pixels.Bounds(::GetSysColor(COLOR_WINDOW)));
}

TEST(BitmapControl, APictureIsFittedWithFaceStripsAndSetBitmapHandsTheOldOneBack)
{
    ShownWindow host(CRect(300, 20, 500, 220));
    HWND item = host.AddStatic(1134, CRect(0, 0, 100, 100));
    CKWBitmapControl control;
    control.CreateImp(item);
    KWRasterImagePtr wide = RedPicture(200, 100);
    control.SetImage(wide.get());
    Pixels pixels = Capture(item);
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(CRect(0, 25, 100, 75), pixels.Bounds(face));
    EXPECT_EQ(kRed, pixels.At(50, 50));

    HBITMAP picture = control.GetBitmap();
    HBITMAP mine = KWBitmapFromRasterImage(RedPicture(10, 10).get());
    EXPECT_EQ(picture, control.SetBitmap(mine));
    EXPECT_NE(0, ::GetObjectType(picture)) << "not deleted";
    ::DeleteObject(picture);
    pixels = Capture(item);
    EXPECT_EQ(CRect(45, 45, 55, 55), pixels.Bounds(face)) << "never enlarged";
}

TEST(ThreadSafeThumbnailList, ThreadsFillDistinctItemsAndTheUserInterfaceWaitsWithoutHanging)
{
    ShownWindow host(CRect(300, 20, 500, 220));
    CKWListImagesView list;
    list.CreateImageView(0, WS_CHILD | WS_VISIBLE | LVS_ICON, CRect(0, 0, 200, 200), &host.window, 1122, true);
    auto* imp = dynamic_cast<CKWListImageViewImpWin_MThread*>(list.GetImp());
    ASSERT_NE(nullptr, imp);
    list.SetThumbnailSize(16, 16, 4, 4, 1);
    list.BeginAddItems(40, -1);
    std::atomic<int> done{0};
    // The workers' list operations send messages to this thread's window
    // while they hold the lock; this thread waits on the same lock.
    auto worker = [&](const wchar_t* name) {
        for (int i = 0; i < 20; ++i)
            list.AddItem(name, nullptr, nullptr);
        ++done;
    };
    std::thread a(worker, L"a"), b(worker, L"b");
    while (done < 2)
        EXPECT_GE(list.GetItemCount(), 40);
    a.join();
    b.join();
    int filled[2] = {0, 0};
    for (int i = 0; i < 40; ++i) {
        const CString text = list.GetItemText(i);
        filled[text == L"a" ? 0 : 1] += text == L"a" || text == L"b";
    }
    EXPECT_EQ(20, filled[0]);
    EXPECT_EQ(20, filled[1]);
    EXPECT_EQ(40, imp->GetAddedCount());

    // A guarded call inside another on the same thread does not block.
    CKWSingleLock outer(&imp->GetMutex());
    EXPECT_TRUE(outer.IsLocked());
    list.SelectAll();
    EXPECT_EQ(0, list.GetFirstSelected());
}

TEST(ListControl, DataOutsideTheItemsAndANonItemHotItemAreMinusOne)
{
    ShownWindow host(CRect(300, 20, 500, 220));
    HWND item = ::CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 200, 200,
                                  host.window.m_hWnd, reinterpret_cast<HMENU>(1200), nullptr, nullptr);
    CKWCtrlImp* imp = KWGetControlsFactory()->CreateListCtrlImp(item);
    auto* list = dynamic_cast<CKWListCtrlImp*>(imp);
    ASSERT_NE(nullptr, list);
    LVCOLUMNW column = {LVCF_WIDTH, 0, 100};
    EXPECT_EQ(0, list->InsertColumn(0, column));
    LVITEMW row = {LVIF_TEXT | LVIF_PARAM, 0};
    row.pszText = const_cast<wchar_t*>(L"row");
    auto* data = new CCountedData(5);
    row.lParam = reinterpret_cast<LPARAM>(data);
    EXPECT_EQ(0, list->InsertItem(row));
    const struct {
        int index;
        LPARAM data;
    } cases[] = {{-1, -1}, {1, -1}, {0, reinterpret_cast<LPARAM>(data)}};
    for (const auto& c : cases)
        EXPECT_EQ(c.data, list->GetItemData(c.index)) << c.index;
    EXPECT_EQ(-1, list->GetHotItem());
    const int alive = CCountedData::alive;
    list->DeleteAllItems();
    EXPECT_EQ(alive - 1, CCountedData::alive) << "the window owns its items' data";
    KWGetControlsFactory()->DestroyImp(imp);
}
