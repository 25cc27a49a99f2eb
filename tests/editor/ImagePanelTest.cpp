// The section image panel of the real program, driven by messages: a
// report whose heading section holds five pictures shows five titled
// thumbnails, lays its controls out, switches to the preview, renames a
// picture from its title box as one Undo step, brings a removed picture back
// under its own title and reports the picture.
#include "ProgramRealInput.h"
#include "ProgramRun.h"
#include "DropData.h"
#include "RemoteMemory.h"
#include "SectionsReport.h"
#include "SolidBitmap.h"
#include "UserInput.h"

#include "files/Base64.h"
#include "framework/KWClipFormats.h"
#include "framework/KWDataSerializer.h"
#include "framework/KWDragInfo.h"
#include "framework/KWRasterLib.h"
#include "model/TalPicturesData.h"
#include "platform/classlib/OleDataSource.h"
#include "tests/framework/KWTestFiles.h"
#include "tests/support/LetterLine.h"
#include "tests/support/WindowPixels.h"
#include "tests/support/WindowScreenshot.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <cwctype>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using edtest::CProgramRun;
using edtest::SolidBitmapFile;

namespace {

constexpr int kViewId = 0xE900;
constexpr int kStatusBarId = 0xE801;
constexpr UINT kUndo = 57643;
constexpr UINT kSave = 57603;
constexpr UINT kGeneratePdf = 32837;
constexpr int kGrayscaleOption = 1053;

using edtest::Utf8;

// A report whose heading section holds the pictures a.bmp ... e.bmp of the
// folder, titled "a" ... "e", the files named by their paths, and an empty
// section under it. The first picture may be turned and follow a grey-scale
// default that is on.
std::wstring WriteReport(CKWTestTempFolder& folder, bool turnedGrey = false, int count = 5)
{
    std::string items, images;
    for (int i = 0; i < count; ++i) {
        const std::wstring name = i < 26 ? std::wstring(1, wchar_t(L'a' + i)) : L"p" + std::to_wstring(i);
        // Pictures past the fifth are small: they only fill the list.
        const int width = i < 5 ? 640 : 32, height = i < 5 ? 480 : 24;
        const std::wstring path =
            folder.Write((name + L".bmp").c_str(), SolidBitmapFile(width, height, uint8_t(40 * i), 90, 200));
        const char* angle = turnedGrey && i == 0 ? "90" : "0";
        const char* grey = turnedGrey && i > 0 ? "0" : "2";
        items += "<ImageListItem ID='" + std::to_string(i + 1) + "' GrayScale='" + grey + "' Desc='" + Utf8(name) +
                 "' Angle='" + angle + "' Show='1' UseDesc='2' NewPage='0'>\n</ImageListItem>\n";
        images += "<Image ID='" + std::to_string(i + 1) + "'>" + Utf8(path) + "</Image>\n";
    }
    const std::string report =
        edtest::ReportXmlProperties(turnedGrey) +
        "<Tree>\n<Leaf ID='1' IDParentLeaf='0'>\nPictures<CurLeafTemplate ID='-1'>\n</CurLeafTemplate>\n"
        "<ImageList>\n" + items + "</ImageList>\n</Leaf>\n<Leafs>\n<Leaf ID='2' IDParentLeaf='1'>\nEmpty"
        "<CurLeafTemplate ID='-1'>\n</CurLeafTemplate>\n</Leaf>\n</Leafs>\n</Tree>\n"
        "<Images SavePicType='1' Count='" + std::to_string(count) + "'>\n" + images + "</Images>\n</TallierDocument>\n";
    return folder.Write(L"Pictures.otd", report);
}

int ItemCount(HWND list)
{
    return int(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
}

std::wstring ItemText(HWND list, int index)
{
    return edtest::ListItemText(list, list, index);
}

// The item's icon in the list's client coordinates.
RECT IconRect(HWND list, int index)
{
    edtest::CRemote remote(list, sizeof(RECT));
    ::SendMessageW(list, LVM_GETITEMRECT, WPARAM(index), remote.Put(RECT{LVIR_ICON, 0, 0, 0}));
    return remote.Get<RECT>();
}

// The bounds of the item icon's pixels that are not the list's background,
// and whether all of them are grey.
RECT PictureIn(HWND list, int index, bool& grey)
{
    const test_support::Pixels pixels = test_support::Capture(list, false);
    const RECT icon = IconRect(list, index);
    RECT bounds = {icon.right, icon.bottom, icon.left, icon.top};
    grey = true;
    for (int y = std::max(0L, icon.top); y < std::min<long>(icon.bottom, pixels.height); ++y)
        for (int x = std::max(0L, icon.left); x < std::min<long>(icon.right, pixels.width); ++x) {
            const COLORREF c = pixels.At(x, y);
            if (c == RGB(255, 255, 255))
                continue;
            grey = grey && GetRValue(c) == GetGValue(c) && GetGValue(c) == GetBValue(c);
            bounds = {std::min<long>(bounds.left, x), std::min<long>(bounds.top, y),
                      std::max<long>(bounds.right, x + 1), std::max<long>(bounds.bottom, y + 1)};
        }
    return bounds;
}

// The window's rectangle in its parent's client coordinates.
RECT InParent(HWND window)
{
    RECT rect = {};
    ::GetWindowRect(window, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The program started on the report (no export questions asked); the list
// of its image panel once it shows the count of thumbnails, null when it
// does not.
HWND StartOnReport(CProgramRun& program, const std::wstring& report, int count)
{
    edtest::SetStartPrefs(3, L"");
    if (!program.Start(L"\"" + report + L"\""))
        return nullptr;
    HWND list = nullptr;
    const bool shown = edtest::WaitFor([&] {
        for (HWND frame : program.ReportFrames()) {
            HWND panel = CProgramRun::FindById(CProgramRun::FindById(frame, kViewId), 176);
            list = panel ? CProgramRun::FindById(panel, 1122) : nullptr;
            if (list && ItemCount(list) == count)
                return true;
        }
        return false;
    });
    return shown ? list : nullptr;
}

// A context menu that the system draws, opened by a right click at the
// screen point: the line of the item's text stands under the letter that
// runs it (build\screenshots\<screenshot>.png), and that letter pressed
// closes the menu.
void ChooseByLetter(const CProgramRun& program, HWND window, POINT at, const std::wstring& item,
                    const wchar_t* screenshot)
{
    HWND menu = edtest::OpenContextMenu(program, window, at);
    ASSERT_TRUE(menu && CProgramRun::ClassName(menu) == L"#32768") << program.Shows() << program.ShowsAt(at);
    // Read once two looks agree and show text: the menu has drawn its items.
    test_support::Pixels shown, last;
    ASSERT_TRUE(edtest::WaitFor([&] {
        RECT rect = {};
        ::GetWindowRect(menu, &rect);
        last = shown;
        shown = test_support::CaptureScreen(rect);
        return shown == last && std::any_of(shown.values.begin(), shown.values.end(), test_support::IsDark);
    }));
    test_support::WriteWindowScreenshot(::GetDesktopWindow(), screenshot);
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    HFONT font = ::CreateFontIndirectW(&metrics.lfMenuFont);
    test_support::ExpectLineUnderLetter(shown, font, item);
    ::DeleteObject(font);
    edtest::TapKey(static_cast<WORD>(std::towupper(item[item.find(L'&') + 1])));
    EXPECT_TRUE(edtest::WaitFor([&] { return !::IsWindowVisible(menu); })) << "the letter closed no menu";
}

}  // namespace

TEST(ImagePanel, FiveTitledThumbnailsThePreviewARenameAsOneStepAndThePicturesProperties)
{
    CKWTestTempFolder folder(L"pnl");
    const std::wstring report = WriteReport(folder);
    edtest::SetStartPrefs(3, L"");
    CProgramRun program;
    ASSERT_TRUE(program.Start(L"\"" + report + L"\""));
    HWND panel = nullptr, list = nullptr;
    ASSERT_TRUE(edtest::WaitFor([&] {
        for (HWND frame : program.ReportFrames()) {
            panel = CProgramRun::FindById(CProgramRun::FindById(frame, kViewId), 176);
            list = panel ? CProgramRun::FindById(panel, 1122) : nullptr;
            if (list && ItemCount(list) == 5)
                return true;
        }
        return false;
    }));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(std::wstring(1, wchar_t(L'a' + i)), ItemText(list, i)) << i;
    test_support::WriteWindowScreenshot(program.Main(), L"editor_image_panel_thumbnails");
    HWND status = CProgramRun::FindById(program.Main(), kStatusBarId);
    // The picture's name and size, in the stretching second pane.
    EXPECT_TRUE(edtest::WaitFor([&] { return edtest::StatusPaneText(status, 1) == L"a.bmp | Width: 640 Height: 480"; }))
        << edtest::StatusPaneText(status, 1);

    // The preview shows the selected picture with its title.
    HWND preview = CProgramRun::FindById(panel, 1134);
    HWND title = CProgramRun::FindById(panel, 1144);
    ::PostMessageW(CProgramRun::FindById(panel, 1119), BM_CLICK, 0, 0);
    ASSERT_TRUE(edtest::WaitFor([&] { return ::IsWindowVisible(preview) && !::IsWindowVisible(list); }));
    EXPECT_EQ(L"a", CProgramRun::Text(title));
    EXPECT_FALSE(::IsWindowEnabled(CProgramRun::FindById(panel, 1165))) << "no previous image";
    EXPECT_TRUE(::IsWindowEnabled(CProgramRun::FindById(panel, 1167)));
    test_support::WriteWindowScreenshot(program.Main(), L"editor_image_panel_preview");

    // 400 x 300: the list above a 36-pixel row, the preview above another.
    ::SetWindowPos(panel, nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER);
    const struct {
        int id;
        RECT rect;
    } layout[] = {{1122, {0, 0, 400, 264}}, {1134, {0, 0, 400, 228}}};
    for (const auto& item : layout) {
        const RECT rect = InParent(CProgramRun::FindById(panel, item.id));
        EXPECT_EQ(item.rect.right, rect.right) << item.id;
        EXPECT_EQ(item.rect.bottom, rect.bottom) << item.id;
        EXPECT_EQ(0, rect.left + rect.top) << item.id;
    }
    for (int id : {1117, 1120, 1141})
        EXPECT_EQ(270, InParent(CProgramRun::FindById(panel, id)).top) << id;
    for (int id : {1144, 1168, 1169})
        EXPECT_EQ(234, InParent(CProgramRun::FindById(panel, id)).top) << id;

    // Typed, as a user types: Enter in the title box renames the picture, Undo
    // takes it back in one step. Keys go to the box only once it has the focus.
    edtest::PointerKept pointer;
    ::SetForegroundWindow(program.Main());
    ASSERT_TRUE(edtest::ReadyForKeys(program));
    ASSERT_TRUE(edtest::TypeInto(title, L"xrenamed"));
    // Delete takes the character after the caret, not a picture.
    edtest::TapKey(VK_HOME);
    edtest::TapKey(VK_DELETE);
    EXPECT_TRUE(edtest::WaitFor([&] { return CProgramRun::Text(title) == L"renamed"; })) << CProgramRun::Text(title);
    edtest::TapKey(VK_RETURN);
    EXPECT_TRUE(edtest::WaitFor([&] { return ItemText(list, 0) == L"renamed"; })) << ItemText(list, 0);
    EXPECT_EQ(5, ItemCount(list)) << "Delete in the title box deletes no picture";
    // Away and back: the box shows the stored title.
    const auto awayAndBack = [&](const wchar_t* next, const wchar_t* back) {
        edtest::ClickWindow(CProgramRun::FindById(panel, 1167));
        EXPECT_TRUE(edtest::WaitFor([&] { return CProgramRun::Text(title) == next; })) << CProgramRun::Text(title);
        edtest::ClickWindow(CProgramRun::FindById(panel, 1165));
        EXPECT_TRUE(edtest::WaitFor([&] { return CProgramRun::Text(title) == back; })) << CProgramRun::Text(title);
    };
    awayAndBack(L"b", L"renamed");
    program.Command(kUndo);
    awayAndBack(L"b", L"a");

    // Escape puts the stored title back into the box.
    ASSERT_TRUE(edtest::TypeInto(title, L"typed"));
    edtest::TapKey(VK_ESCAPE);
    EXPECT_TRUE(edtest::WaitFor([&] { return CProgramRun::Text(title) == L"a"; })) << CProgramRun::Text(title);
    EXPECT_EQ(L"a", ItemText(list, 0));

    // The red X takes the picture out and Ctrl+Z brings it back under its own
    // title: no step writes its neighbour's title onto it, nor does the save.
    edtest::ClickWindow(CProgramRun::FindById(panel, 1118));
    EXPECT_TRUE(edtest::WaitFor([&] { return ItemCount(list) == 4 && CProgramRun::Text(title) == L"b"; }));
    edtest::PressChord(VK_CONTROL, 'Z');
    EXPECT_TRUE(edtest::WaitFor([&] { return ItemCount(list) == 5 && CProgramRun::Text(title) == L"a"; }))
        << CProgramRun::Text(title);
    const std::string loaded = ReadFileBytes(report);
    program.Command(kSave);
    const std::string saved = ReadFileBytes(report);
    EXPECT_NE(loaded, saved) << "saved";
    EXPECT_NE(std::string::npos, saved.find(" Desc='a'"));
}

namespace {

// A drop source of the test's own, on its stack: no counting, the
// default cursors.
class CTestDropSource : public IDropSource {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (iid == IID_IUnknown || iid == IID_IDropSource) {
            *object = this;
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

// Drops at once wherever the cursor is.
class CDropAtOnce : public CTestDropSource {
public:
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL, DWORD) override
    {
        return ++m_asked > 2 ? DRAGDROP_S_DROP : S_OK;
    }

private:
    int m_asked = 0;
};

// Drags the data from the test onto the window's centre (or the client
// point) and drops it there.
DWORD DropOn(HWND window, COleDataSource& data, const POINT* at = nullptr)
{
    RECT rect = {};
    ::GetWindowRect(window, &rect);
    POINT point = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    if (at) {
        point = *at;
        ::ClientToScreen(window, &point);
    }
    ::SetCursorPos(point.x, point.y);
    CDropAtOnce source;
    DWORD effect = DROPEFFECT_NONE;
    ::DoDragDrop(data.GetDataObject(FALSE), &source, DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect);
    return effect;
}

// Holds a key (left and generic codes) down in the program's view of the
// keyboard while it lives: the test shares the program thread's input state.
class CHeldKey {
public:
    CHeldKey(HWND programWindow, int left, int generic)
        : m_thread(::GetWindowThreadProcessId(programWindow, nullptr)), m_left(left), m_generic(generic)
    {
        ::AttachThreadInput(::GetCurrentThreadId(), m_thread, TRUE);
        Set(0x80);
    }
    ~CHeldKey()
    {
        Set(0);
        ::AttachThreadInput(::GetCurrentThreadId(), m_thread, FALSE);
    }

private:
    void Set(BYTE state)
    {
        BYTE keys[256];
        ::GetKeyboardState(keys);
        keys[m_left] = keys[m_generic] = state;
        ::SetKeyboardState(keys);
    }
    DWORD m_thread;
    int m_left, m_generic;
};

// The drag record of pictures of the program's document.
HGLOBAL DragRecord(uint32_t processId, uint32_t documentId)
{
    KWDragInfo info;
    info.Clear();
    info.instanceId = processId;
    info.kind = 2;
    info.documentId = documentId;
    return edtest::GlobalBlock(&info, sizeof info);
}

HGLOBAL Serialized(CKWSerialData&& record)
{
    void* data = nullptr;
    uint32_t size = 0;
    CKWDataSerializer::CKWDataSerializer2(&record).Store(data, size);
    HGLOBAL block = edtest::GlobalBlock(data, size);
    std::free(data);
    return block;
}

}  // namespace

TEST(ImagePanel, DroppedFilesBitmapsAndReportsEachUndoInOneStep)
{
    ::OleInitialize(nullptr);
    CKWTestTempFolder folder(L"pnd");
    const std::wstring report = WriteReport(folder);
    const std::wstring extra = folder.Write(L"f.bmp", SolidBitmapFile(64, 48, 0, 0, 255));
    CProgramRun program;
    const HWND list = StartOnReport(program, report, 5);
    ASSERT_NE(nullptr, list);
    ::SetForegroundWindow(program.Main());

    // Dropped on the first picture, an image file goes before it; other files are left out.
    COleDataSource files;
    files.CacheGlobalData(CF_HDROP, edtest::FileDropBlock({extra, folder.Path() + L"notes.txt"}));
    const RECT first = IconRect(list, 0);
    const POINT onFirst = {(first.left + first.right) / 2, (first.top + first.bottom) / 2};
    DropOn(list, files, &onFirst);
    EXPECT_TRUE(edtest::WaitFor([&] { return ItemCount(list) == 6; })) << ItemCount(list);
    EXPECT_EQ(L"f", ItemText(list, 0));
    EXPECT_EQ(L"a", ItemText(list, 1));

    // A 40 x 30 bitmap handle becomes one picture of that size.
    HDC screen = ::GetDC(nullptr);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 40, 30);
    ::ReleaseDC(nullptr, screen);
    COleDataSource image;
    STGMEDIUM medium = {};
    medium.tymed = TYMED_GDI;
    medium.hBitmap = bitmap;
    FORMATETC format = {CF_BITMAP, nullptr, DVASPECT_CONTENT, -1, TYMED_GDI};
    image.CacheData(CF_BITMAP, &medium, &format);
    DropOn(list, image);
    EXPECT_TRUE(edtest::WaitFor([&] { return ItemCount(list) == 7; })) << ItemCount(list);
    HWND status = CProgramRun::FindById(program.Main(), kStatusBarId);
    EXPECT_TRUE(edtest::WaitFor([&] { return edtest::StatusPaneText(status, 1).find(L"Width: 40 Height: 30") != std::wstring::npos; }))
        << edtest::StatusPaneText(status, 1);

    program.Command(kUndo);
    EXPECT_EQ(6, ItemCount(list));
    program.Command(kUndo);
    EXPECT_EQ(5, ItemCount(list));

    // A folder brings its own images; with Shift those of its subfolders too.
    ::CreateDirectoryW((folder.Path() + L"dir").c_str(), nullptr);
    ::CreateDirectoryW((folder.Path() + L"dir\\sub").c_str(), nullptr);
    folder.Write(L"dir\\g.bmp", SolidBitmapFile(8, 8, 0, 255, 0));
    folder.Write(L"dir\\sub\\h.bmp", SolidBitmapFile(8, 8, 255, 0, 0));
    for (const bool shift : {false, true}) {
        COleDataSource tree;
        tree.CacheGlobalData(CF_HDROP, edtest::FileDropBlock({folder.Path() + L"dir"}));
        {
            std::unique_ptr<CHeldKey> held(shift ? new CHeldKey(list, VK_LSHIFT, VK_SHIFT) : nullptr);
            DropOn(list, tree);
        }
        EXPECT_TRUE(edtest::WaitFor([&] { return ItemCount(list) == (shift ? 7 : 6); })) << ItemCount(list);
        program.Command(kUndo);
        EXPECT_EQ(5, ItemCount(list));
    }

    // Pictures of this report move (with Ctrl they are copied); those of
    // another report are copied.
    DWORD processId = 0;
    ::GetWindowThreadProcessId(list, &processId);
    const uint32_t picture = g_rasterLib.GetPictureId((folder.Path() + L"a.bmp").c_str());
    const struct {
        uint32_t documentId;
        bool ctrl;
        int count;
        const wchar_t* first;
    } owns[] = {{1, false, 5, L"b"}, {1000, false, 6, L"b"}, {1, true, 7, L"b"}};
    for (const auto& own : owns) {
        CKWRefPtr<CTalPicture> copy(new CTalPicture);
        copy->SetPictureId(int32_t(picture));
        copy->SetTitle(L"dragged");
        const CTalPositionList positions{0};
        COleDataSource data;
        data.CacheGlobalData(g_cfAppDragInfo, DragRecord(processId, own.documentId));
        data.CacheGlobalData(g_cfAppObject, Serialized(CTalPicturesData({copy}, false, &positions)));
        {
            std::unique_ptr<CHeldKey> held(own.ctrl ? new CHeldKey(list, VK_LCONTROL, VK_CONTROL) : nullptr);
            DropOn(list, data);
        }
        EXPECT_TRUE(edtest::WaitFor([&] { return ItemCount(list) == own.count; })) << own.documentId;
        EXPECT_TRUE(edtest::WaitFor([&] { return ItemText(list, 0) == own.first; })) << ItemText(list, 0);
    }
    program.Command(kUndo);
    program.Command(kUndo);
    EXPECT_EQ(5, ItemCount(list));

    // A dropped report opens in a window of its own.
    const std::wstring copy = folder.Path() + L"Copy.OTD";
    ::CopyFileW(report.c_str(), copy.c_str(), FALSE);
    COleDataSource second;
    second.CacheGlobalData(CF_HDROP, edtest::FileDropBlock({copy}));
    DropOn(list, second);
    EXPECT_TRUE(edtest::WaitFor([&] { return program.ReportFrames().size() == 2; }));
}

TEST(ImagePanel, ATurnedPictureFollowingTheGreyDefaultAndAnEmptySection)
{
    CKWTestTempFolder folder(L"png");
    const std::wstring report = WriteReport(folder, true);
    edtest::SetStartPrefs(3, L"");
    CProgramRun program;
    ASSERT_TRUE(program.Start(L"\"" + report + L"\""));
    HWND panel = nullptr, list = nullptr, frame = nullptr;
    ASSERT_TRUE(edtest::WaitFor([&] {
        for (HWND each : program.ReportFrames()) {
            frame = each;
            panel = CProgramRun::FindById(CProgramRun::FindById(frame, kViewId), 176);
            list = panel ? CProgramRun::FindById(panel, 1122) : nullptr;
            if (list && ItemCount(list) == 5)
                return true;
        }
        return false;
    }));
    // The first picture stands upright and grey; the second keeps its colour.
    bool grey = false;
    RECT picture = {};
    EXPECT_TRUE(edtest::WaitFor([&] {
        picture = PictureIn(list, 0, grey);
        return grey && picture.bottom - picture.top > picture.right - picture.left;
    })) << picture.left << "," << picture.top << " " << picture.right << "," << picture.bottom;
    // (read once it is drawn: a thumbnail not yet drawn shows no colour either)
    bool secondGrey = true;
    RECT second = {};
    EXPECT_TRUE(edtest::WaitFor([&] {
        second = PictureIn(list, 1, secondGrey);
        return second.right > second.left && !secondGrey;
    })) << "the second picture shows " << (second.right > second.left ? "grey" : "nothing");

    // By the user's hand, the second picture's context menu: its G turns that
    // picture grey.
    edtest::PointerKept pointer;
    ::SetForegroundWindow(program.Main());
    ASSERT_TRUE(edtest::ReadyForKeys(program));
    ChooseByLetter(program, list, edtest::OnScreen(list, edtest::CentreOf(IconRect(list, 1))),
                   L"Convert Image To &Grayscale", L"editor_thumbnail_menu");
    // A click on the list's free space selects none (the list blends its
    // selection with the highlight): the second shows grey, the third keeps
    // its colour.
    RECT client = {};
    ::GetClientRect(list, &client);
    edtest::ClickClient(list, POINT{client.right - 20, client.bottom - 20});
    EXPECT_TRUE(edtest::WaitFor([&] {
        PictureIn(list, 1, secondGrey);
        return secondGrey;
    })) << "the second picture stays in colour";
    bool thirdGrey = true;
    RECT third = {};
    EXPECT_TRUE(edtest::WaitFor([&] {
        third = PictureIn(list, 2, thirdGrey);
        return third.right > third.left && !thirdGrey;
    })) << "the third picture shows " << (third.right > third.left ? "grey" : "nothing");

    // Turning the default off in a generation's options rebuilds the
    // pictures that follow it.
    program.PostCommand(kGeneratePdf);
    HWND dialog = program.WaitForDialog();
    ASSERT_NE(nullptr, dialog);
    CProgramRun::AnswerFileDialog(dialog, folder.Path() + L"Report.pdf");
    HWND options = program.WaitForDialogWith(kGrayscaleOption);
    ASSERT_NE(nullptr, options);
    ::SendMessageW(CProgramRun::FindById(options, kGrayscaleOption), BM_CLICK, 0, 0);
    ::PostMessageW(options, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(edtest::WaitFor([&] {
        picture = PictureIn(list, 0, grey);
        return !grey && picture.bottom - picture.top > picture.right - picture.left;
    }));
    ASSERT_TRUE(edtest::WaitFor([&] { return !program.FindDialog(); }));

    // An empty section: no image, the image buttons disabled, no properties.
    HWND tree = CProgramRun::FindById(CProgramRun::FindById(frame, kViewId), 1126);
    const LPARAM root = ::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0);
    const LPARAM empty = ::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, root);
    ::SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, empty);
    ASSERT_TRUE(edtest::WaitFor([&] { return ItemCount(list) == 0; }));
    for (int id : {1118, 1132, 1133, 1138, 1139, 1140, 1141})
        EXPECT_FALSE(::IsWindowEnabled(CProgramRun::FindById(panel, id))) << id;
    EXPECT_TRUE(::IsWindowEnabled(CProgramRun::FindById(panel, 1117)));
    EXPECT_EQ(L"", edtest::StatusPaneText(CProgramRun::FindById(program.Main(), kStatusBarId), 1));

    // The empty section's context menu: its b adds a section under it.
    ChooseByLetter(program, tree, edtest::TreeItemPoint(tree, empty), L"Add Su&bSection", L"editor_section_tree_menu");
    EXPECT_TRUE(edtest::WaitFor([&] { return edtest::TreeChildren(tree, empty).size() == 1; }));
    EXPECT_EQ(3, ::SendMessageW(tree, TVM_GETCOUNT, 0, 0));
}

namespace {

// A drag whose pointer rests where the test parked it; at every look it
// notes the list's vertical scroll position and the time, and it ends (no
// drop) once told to.
class CRestingDrag : public CTestDropSource {
public:
    explicit CRestingDrag(HWND list) : m_list(list) {}
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL, DWORD) override
    {
        // In icon view the list's origin is its scroll position (its sign
        // differs between platforms).
        edtest::CRemote remote(m_list, sizeof(POINT));
        ::SendMessageW(m_list, LVM_GETORIGIN, 0, remote.Put(POINT{}));
        const int position = std::abs(int(remote.Get<POINT>().y));
        const DWORD now = ::GetTickCount();
        if (looks.empty() || looks.back().position != position)
            looks.push_back({now, position});
        return onLook(now, position) ? DRAGDROP_S_CANCEL : S_OK;
    }

    struct Look {
        DWORD time;
        int position;
    };
    std::vector<Look> looks;
    // True ends the drag.
    std::function<bool(DWORD, int)> onLook;

private:
    HWND m_list;
};

}  // namespace

TEST(ImagePanel, ADragRestingInTheBottomBandScrollsBy15PerTickAfter700Ms)
{
    ::OleInitialize(nullptr);
    CKWTestTempFolder folder(L"pns");
    const std::wstring report = WriteReport(folder, false, 64);
    CProgramRun program;
    const HWND list = StartOnReport(program, report, 64);
    ASSERT_NE(nullptr, list);
    ::SetForegroundWindow(program.Main());
    RECT shown = {};
    ::GetClientRect(list, &shown);
    ASSERT_GT(IconRect(list, 63).bottom, shown.bottom + 45) << "the thumbnails fill more than the list";

    // Pictures of the program's own report, dragged in from outside.
    DWORD processId = 0;
    ::GetWindowThreadProcessId(list, &processId);
    CKWRefPtr<CTalPicture> dragged(new CTalPicture);
    dragged->SetPictureId(int32_t(g_rasterLib.GetPictureId((folder.Path() + L"a.bmp").c_str())));
    const CTalPositionList positions{0};
    COleDataSource data;
    data.CacheGlobalData(g_cfAppDragInfo, DragRecord(processId, 1000));
    data.CacheGlobalData(g_cfAppObject, Serialized(CTalPicturesData({dragged}, false, &positions)));

    // Parked in the bottom band until three steps were taken, then in the top band.
    RECT client = {};
    ::GetClientRect(list, &client);
    POINT bottom = {client.right / 2, client.bottom - 10}, top = {client.right / 2, 10};
    ::ClientToScreen(list, &bottom);
    ::ClientToScreen(list, &top);
    edtest::PointerKept kept;
    ::SetCursorPos(bottom.x, bottom.y);
    CRestingDrag source(list);
    DWORD parkedAt = ::GetTickCount(), movedUpAt = 0;
    int downSteps = 0;
    source.onLook = [&](DWORD now, int) {
        if (!movedUpAt && source.looks.size() >= 4) {
            downSteps = int(source.looks.size()) - 1;
            ::SetCursorPos(top.x, top.y);
            movedUpAt = now;
        }
        return now - parkedAt > 8000 || (movedUpAt && source.looks.back().position == 0);
    };
    DWORD effect = DROPEFFECT_NONE;
    ::DoDragDrop(data.GetDataObject(FALSE), &source, DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect);

    ASSERT_GE(source.looks.size(), 4u);
    EXPECT_EQ(0, source.looks.front().position);
    EXPECT_GE(source.looks[1].time - parkedAt, 650u) << "the pointer rests 700 ms before the first step";
    // The pointer moves through the display server: a tick the list takes
    // just after the move may still find it in the bottom band, so the steps
    // down end at the last one that went down.
    for (size_t i = size_t(downSteps) + 1; i < source.looks.size(); ++i) {
        if (source.looks[i].position > source.looks[i - 1].position)
            downSteps = int(i);
    }
    // A look may fall after two ticks: every change is whole steps of 15.
    int singleSteps = 0;
    for (size_t i = 1; i < source.looks.size(); ++i) {
        const int step = source.looks[i].position - source.looks[i - 1].position;
        // The last step down may stop at the end of the range.
        const bool clamped = int(i) == downSteps;
        EXPECT_TRUE(std::abs(step) % 15 == 0 || clamped) << "look " << i << ": " << step;
        singleSteps += std::abs(step) == 15;
        EXPECT_EQ(int(i) <= downSteps, step > 0) << "down while below, up once above: look " << i;
    }
    EXPECT_GT(singleSteps, 0);
    ASSERT_NE(0u, movedUpAt);
    EXPECT_EQ(0, source.looks.back().position) << "back at the top";
    const size_t firstUp = size_t(downSteps) + 1;
    ASSERT_LT(firstUp, source.looks.size());
    EXPECT_GE(source.looks[firstUp].time - movedUpAt, 650u) << "a moved pointer rests again first";
    EXPECT_EQ(64, ItemCount(list)) << "nothing dropped";
}

// A report that carries its picture inside (its pictures stored in the file):
// the status bar names the picture by its own name, not by the file the
// picture store made of it, with its real size.
TEST(ImagePanel, APictureCarriedInsideTheReportIsNamedAndMeasuredAsItsOwn)
{
    CKWTestTempFolder folder(L"pne");
    const std::string bitmap = SolidBitmapFile(320, 200, 10, 200, 90);
    std::string base64(size_t(CBase64::EncodedLength(int64_t(bitmap.size()))), '\0');
    CBase64().Encode(reinterpret_cast<const uint8_t*>(bitmap.data()), &base64[0], int32_t(bitmap.size()));
    const std::string report =
        edtest::ReportXmlProperties() +
        "<Tree>\n<Leaf ID='1' IDParentLeaf='0'>\nPictures<CurLeafTemplate ID='-1'>\n</CurLeafTemplate>\n"
        "<ImageList>\n<ImageListItem ID='7' GrayScale='2' Desc='harbour' Angle='0' Show='1' UseDesc='2' "
        "NewPage='0'>\n</ImageListItem>\n</ImageList>\n</Leaf>\n</Tree>\n"
        "<Images SavePicType='0' Count='1'>\n<Image ID='7' FileFormat='bmp'>\n" + base64 +
        "</Image>\n</Images>\n</TallierDocument>\n";
    const std::wstring path = folder.Write(L"Inside.otd", report);
    edtest::SetStartPrefs(3, L"");
    CProgramRun program;
    ASSERT_TRUE(program.Start(L"\"" + path + L"\""));
    HWND list = nullptr;
    ASSERT_TRUE(edtest::WaitFor([&] {
        for (HWND frame : program.ReportFrames()) {
            HWND panel = CProgramRun::FindById(CProgramRun::FindById(frame, kViewId), 176);
            list = panel ? CProgramRun::FindById(panel, 1122) : nullptr;
            if (list && ItemCount(list) == 1)
                return true;
        }
        return false;
    }));
    HWND status = CProgramRun::FindById(program.Main(), kStatusBarId);
    EXPECT_TRUE(edtest::WaitFor([&] { return edtest::StatusPaneText(status, 1) == L"harbour.bmp | Width: 320 Height: 200"; }))
        << edtest::StatusPaneText(status, 1);
}
