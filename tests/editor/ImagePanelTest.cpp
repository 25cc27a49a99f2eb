// The section image panel of the real program, driven by messages: a
// report whose heading section holds five pictures shows five titled
// thumbnails, lays its controls out, switches to the preview, renames a
// picture from its title box as one Undo step and reports the picture.
#include "ProgramRun.h"

#include "framework/KWClipFormats.h"
#include "framework/KWDataSerializer.h"
#include "framework/KWDragInfo.h"
#include "framework/KWRasterLib.h"
#include "model/TalPicturesData.h"
#include "platform/classlib/OleDataSource.h"
#include "tests/framework/KWTestFiles.h"
#include "tests/support/WindowScreenshot.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using edtest::CProgramRun;

namespace {

constexpr int kViewId = 0xE900;
constexpr int kStatusBarId = 0xE801;
constexpr UINT kUndo = 57643;

// A 24-bit bitmap file of one colour.
std::string BitmapFile(int width, int height, uint8_t blue, uint8_t green, uint8_t red)
{
    const int stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file = {0x4D42, DWORD(54 + stride * height), 0, 0, 54};
    BITMAPINFOHEADER info = {sizeof info, width, height, 1, 24, BI_RGB, DWORD(stride * height)};
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
    std::string row(size_t(stride), '\0');
    for (int x = 0; x < width; ++x) {
        row[x * 3] = char(blue);
        row[x * 3 + 1] = char(green);
        row[x * 3 + 2] = char(red);
    }
    for (int y = 0; y < height; ++y)
        bytes += row;
    return bytes;
}

std::string Utf8(const std::wstring& text)
{
    std::string out(size_t(::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr)), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], int(out.size()), nullptr, nullptr);
    out.pop_back();
    return out;
}

// A report whose heading section holds the pictures a.bmp ... e.bmp of the
// folder, titled "a" ... "e", the files named by their paths.
std::wstring WriteReport(CKWTestTempFolder& folder)
{
    std::string items, images;
    for (int i = 0; i < 5; ++i) {
        const std::wstring name(1, wchar_t(L'a' + i));
        const std::wstring path = folder.Write((name + L".bmp").c_str(), BitmapFile(640, 480, uint8_t(40 * i), 90, 200));
        items += "<ImageListItem ID='" + std::to_string(i + 1) + "' GrayScale='2' Desc='" + Utf8(name) +
                 "' Angle='0' Show='1' UseDesc='2' NewPage='0'>\n</ImageListItem>\n";
        images += "<Image ID='" + std::to_string(i + 1) + "'>" + Utf8(path) + "</Image>\n";
    }
    const std::string report =
        "<?xml version='1.0' encoding='utf-8' ?>\n"
        "<TallierDocument Version='1.0' Company='' Author='' Subject='' Desc='' Title=''>\n"
        "<PageSizeProperties Type='0' PredefSizeIdx='5' PageCustSizeX='' PageCustSizeY='' Orient='1'>\n"
        "</PageSizeProperties>\n<PrintProperties SizeX='2100' SizeY='2970' Orient='1'>\n</PrintProperties>\n"
        "<TitlePageProperties InsertLogo='0' InsertDate='1' LogoID='0' InsertWatermark='1'>\n"
        "</TitlePageProperties>\n"
        "<ExportProperties CurExType='1' InsertTPage='1' InsertContent='1' InsertNum='1' GrayScale='0' "
        "UseDesc='1' UseTextStyles='1'>\n</ExportProperties>\n"
        "<Tree>\n<Leaf ID='1' IDParentLeaf='0'>\nPictures<CurLeafTemplate ID='-1'>\n</CurLeafTemplate>\n"
        "<ImageList>\n" + items + "</ImageList>\n</Leaf>\n</Tree>\n"
        "<Images SavePicType='1' Count='5'>\n" + images + "</Images>\n</TallierDocument>\n";
    return folder.Write(L"Pictures.otd", report);
}

int ItemCount(HWND list)
{
    return int(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
}

// An item's caption, read through memory of the list's process.
std::wstring ItemText(HWND list, int index)
{
    DWORD processId = 0;
    ::GetWindowThreadProcessId(list, &processId);
    HANDLE process = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    const SIZE_T textBytes = 256 * sizeof(wchar_t);
    auto* remote = static_cast<uint8_t*>(::VirtualAllocEx(process, nullptr, sizeof(LVITEMW) + textBytes,
                                                          MEM_COMMIT, PAGE_READWRITE));
    LVITEMW item = {};
    item.pszText = reinterpret_cast<wchar_t*>(remote + sizeof(LVITEMW));
    item.cchTextMax = 256;
    ::WriteProcessMemory(process, remote, &item, sizeof item, nullptr);
    ::SendMessageW(list, LVM_GETITEMTEXTW, WPARAM(index), reinterpret_cast<LPARAM>(remote));
    wchar_t text[256] = {};
    ::ReadProcessMemory(process, remote + sizeof(LVITEMW), text, textBytes, nullptr);
    ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    ::CloseHandle(process);
    return text;
}

// The window's rectangle in its parent's client coordinates.
RECT InParent(HWND window)
{
    RECT rect = {};
    ::GetWindowRect(window, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
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
    EXPECT_TRUE(edtest::WaitFor([&] { return CProgramRun::Text(status) == L"a.bmp | Width: 640 Height: 480"; }))
        << CProgramRun::Text(status);

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

    // Enter in the title box renames the picture; Undo takes it back in one step.
    const DWORD programThread = ::GetWindowThreadProcessId(title, nullptr);
    ASSERT_TRUE(::AttachThreadInput(::GetCurrentThreadId(), programThread, TRUE));
    ::SetForegroundWindow(program.Main());
    ::SetFocus(title);
    ::SendMessageW(title, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"xrenamed"));
    // Delete takes the character after the caret, not a picture.
    ::PostMessageW(title, WM_KEYDOWN, VK_DELETE, 0);
    ::PostMessageW(title, WM_KEYDOWN, VK_RETURN, 0);
    ::AttachThreadInput(::GetCurrentThreadId(), programThread, FALSE);
    // Away and back: the box shows the stored title (the clicks come after the keys).
    ::PostMessageW(CProgramRun::FindById(panel, 1167), BM_CLICK, 0, 0);
    ::PostMessageW(CProgramRun::FindById(panel, 1165), BM_CLICK, 0, 0);
    EXPECT_TRUE(edtest::WaitFor([&] { return CProgramRun::Text(title) == L"renamed"; })) << CProgramRun::Text(title);
    EXPECT_EQ(5, ItemCount(list)) << "Delete in the title box deletes no picture";
    program.Command(kUndo);
    ::PostMessageW(CProgramRun::FindById(panel, 1167), BM_CLICK, 0, 0);
    ::PostMessageW(CProgramRun::FindById(panel, 1165), BM_CLICK, 0, 0);
    EXPECT_TRUE(edtest::WaitFor([&] { return CProgramRun::Text(title) == L"a"; })) << CProgramRun::Text(title);
}

namespace {

// Drops at once wherever the cursor is.
class CDropAtOnce : public IDropSource {
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
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL, DWORD) override
    {
        return ++m_asked > 2 ? DRAGDROP_S_DROP : S_OK;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

private:
    int m_asked = 0;
};

// Drags the data from the test onto the window's centre and drops it there.
DWORD DropOn(HWND window, COleDataSource& data)
{
    RECT rect = {};
    ::GetWindowRect(window, &rect);
    ::SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    CDropAtOnce source;
    DWORD effect = DROPEFFECT_NONE;
    ::DoDragDrop(data.GetDataObject(FALSE), &source, DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect);
    return effect;
}

HGLOBAL Block(const std::vector<uint8_t>& bytes)
{
    HGLOBAL global = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    std::memcpy(::GlobalLock(global), bytes.data(), bytes.size());
    ::GlobalUnlock(global);
    return global;
}

// The drag record of pictures of the program's document.
std::vector<uint8_t> DragRecord(uint32_t processId, uint32_t documentId)
{
    KWDragInfo info;
    info.Clear();
    info.instanceId = processId;
    info.kind = 2;
    info.documentId = documentId;
    const auto* bytes = reinterpret_cast<const uint8_t*>(&info);
    return std::vector<uint8_t>(bytes, bytes + sizeof info);
}

std::vector<uint8_t> Serialized(CKWSerialData&& record)
{
    void* data = nullptr;
    uint32_t size = 0;
    CKWDataSerializer::CKWDataSerializer2(&record).Store(data, size);
    std::vector<uint8_t> bytes(static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
    std::free(data);
    return bytes;
}

HGLOBAL FileListBlock(const std::vector<std::wstring>& files)
{
    DROPFILES header = {};
    header.pFiles = sizeof(header);
    header.fWide = TRUE;
    std::vector<uint8_t> block(reinterpret_cast<uint8_t*>(&header), reinterpret_cast<uint8_t*>(&header + 1));
    for (const std::wstring& file : files) {
        const auto* bytes = reinterpret_cast<const uint8_t*>(file.c_str());
        block.insert(block.end(), bytes, bytes + (file.size() + 1) * sizeof(wchar_t));
    }
    block.insert(block.end(), {0, 0});
    HGLOBAL global = ::GlobalAlloc(GMEM_MOVEABLE, block.size());
    std::memcpy(::GlobalLock(global), block.data(), block.size());
    ::GlobalUnlock(global);
    return global;
}

}  // namespace

TEST(ImagePanel, DroppedFilesBitmapsAndReportsEachUndoInOneStep)
{
    ::OleInitialize(nullptr);
    CKWTestTempFolder folder(L"pnd");
    const std::wstring report = WriteReport(folder);
    const std::wstring extra = folder.Write(L"f.bmp", BitmapFile(64, 48, 0, 0, 255));
    edtest::SetStartPrefs(3, L"");
    CProgramRun program;
    ASSERT_TRUE(program.Start(L"\"" + report + L"\""));
    HWND list = nullptr;
    ASSERT_TRUE(edtest::WaitFor([&] {
        for (HWND frame : program.ReportFrames()) {
            HWND panel = CProgramRun::FindById(CProgramRun::FindById(frame, kViewId), 176);
            list = panel ? CProgramRun::FindById(panel, 1122) : nullptr;
            if (list && ItemCount(list) == 5)
                return true;
        }
        return false;
    }));
    ::SetForegroundWindow(program.Main());

    COleDataSource files;
    files.CacheGlobalData(CF_HDROP, FileListBlock({extra, folder.Path() + L"notes.txt"}));
    DropOn(list, files);
    EXPECT_TRUE(edtest::WaitFor([&] { return ItemCount(list) == 6; })) << ItemCount(list);

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
    EXPECT_TRUE(edtest::WaitFor([&] { return CProgramRun::Text(status).find(L"Width: 40 Height: 30") != std::wstring::npos; }))
        << CProgramRun::Text(status);

    program.Command(kUndo);
    EXPECT_EQ(6, ItemCount(list));
    program.Command(kUndo);
    EXPECT_EQ(5, ItemCount(list));

    // Pictures of this report move; those of another report are copied.
    DWORD processId = 0;
    ::GetWindowThreadProcessId(list, &processId);
    const uint32_t picture = g_rasterLib.GetPictureId((folder.Path() + L"a.bmp").c_str());
    const struct {
        uint32_t documentId;
        int count;
        const wchar_t* first;
    } owns[] = {{1, 5, L"b"}, {1000, 6, L"b"}};
    for (const auto& own : owns) {
        CKWRefPtr<CTalPicture> copy(new CTalPicture);
        copy->SetPictureId(int32_t(picture));
        copy->SetTitle(L"dragged");
        const CTalPositionList positions{0};
        COleDataSource data;
        data.CacheGlobalData(g_cfAppDragInfo, Block(DragRecord(processId, own.documentId)));
        data.CacheGlobalData(g_cfAppObject, Block(Serialized(CTalPicturesData({copy}, false, &positions))));
        DropOn(list, data);
        EXPECT_TRUE(edtest::WaitFor([&] { return ItemCount(list) == own.count; }, 3000)) << own.documentId;
        EXPECT_TRUE(edtest::WaitFor([&] { return ItemText(list, 0) == own.first; }, 3000)) << ItemText(list, 0);
    }
    program.Command(kUndo);
    EXPECT_EQ(5, ItemCount(list));

    // A dropped report opens in a window of its own.
    const std::wstring copy = folder.Path() + L"Copy.OTD";
    ::CopyFileW(report.c_str(), copy.c_str(), FALSE);
    COleDataSource second;
    second.CacheGlobalData(CF_HDROP, FileListBlock({copy}));
    DropOn(list, second);
    EXPECT_TRUE(edtest::WaitFor([&] { return program.ReportFrames().size() == 2; }));
}
