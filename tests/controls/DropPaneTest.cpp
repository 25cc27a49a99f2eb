// The drop pane fed through its real drop target with built data objects:
// own objects, file lists and text reach the handler as typed events.
#include "ControlsTestSupport.h"

#include "controls/KWDragDropPane.h"
#include "framework/KWClipFormats.h"
#include "framework/KWDragInfo.h"
#include "platform/classlib/OleDataSource.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

const DWORD kAllowed = DROPEFFECT_COPY | DROPEFFECT_MOVE | 8;

HGLOBAL Block(const void* bytes, size_t size)
{
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, size);
    std::memcpy(::GlobalLock(block), bytes, size);
    ::GlobalUnlock(block);
    return block;
}

// The window whose drop target is under test; its events go to the handler.
class CPaneWindow : public CWnd, public CKWDragDropPane {};

// Answers the own-object enter as told and notes what it was handed.
struct CHandler : CKWDragDropPane {
    bool OnOwnDragEnter(const CPoint&, KWDragInfo*, const uint8_t*, size_t, int) override { return accept; }
    int OnFilesDragEnter(const CPoint&, const std::vector<CString>& paths) override
    {
        entered = paths.size();
        return 1;
    }
    int OnFilesDrop(const CPoint&, const std::vector<CString>& paths) override
    {
        dropped = paths;
        return 1;
    }
    int OnTextDrop(const CPoint&, const CString& value) override
    {
        text = value.GetString();
        return 1;
    }
    bool accept = false;
    size_t entered = 0;
    std::vector<CString> dropped;
    std::wstring text;
};

struct DropPane : ::testing::Test {
    DropPane()
    {
        window.CreateEx(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr);
        window.RegisterDropTarget(&window);
        target = window.GetDropTargetInterface();
    }
    ~DropPane() override
    {
        window.RevokeDropTarget();
        window.DestroyWindow();
    }
    DWORD Enter(COleDataSource* source, DWORD keys)
    {
        DWORD effect = kAllowed;
        target->DragEnter(source->GetDataObject(FALSE), keys, POINTL{10, 10}, &effect);
        return effect;
    }
    DWORD Over(DWORD keys)
    {
        DWORD effect = kAllowed;
        target->DragOver(keys, POINTL{10, 10}, &effect);
        return effect;
    }
    HRESULT Drop(COleDataSource* source, DWORD& effect)
    {
        effect = kAllowed;
        return target->Drop(source->GetDataObject(FALSE), 0, POINTL{10, 10}, &effect);
    }
    CPaneWindow window;
    IDropTarget* target = nullptr;
};

COleDataSource* OwnObjects(uint32_t flags)
{
    KWDragInfo info;
    info.Clear();
    info.instanceId = 7;
    info.flags = flags;
    auto* source = new COleDataSource;
    source->CacheGlobalData(g_cfAppDragInfo, Block(&info, sizeof info));
    const uint8_t objects[] = {1, 2, 3};
    source->CacheGlobalData(g_cfAppObject, Block(objects, sizeof objects));
    return source;
}

}  // namespace

TEST_F(DropPane, OwnObjectsCopyByFlagOrCtrlElseAsTheHandlerAnsweredUntilTheyLeave)
{
    CHandler handler;
    window.SetDropHandler(&handler);
    const struct {
        uint32_t flags;
        DWORD keys;
        bool accept;
        DWORD enter;
    } cases[] = {
        {KWDragInfo::kFlagCopy, 0, true, DROPEFFECT_COPY},
        {0, MK_CONTROL, true, DROPEFFECT_COPY},
        {0, 0, true, 10},
        {0, 0, false, DROPEFFECT_MOVE},
    };
    for (const auto& c : cases) {
        handler.accept = c.accept;
        COleDataSource* source = OwnObjects(c.flags);
        EXPECT_EQ(c.enter, Enter(source, c.keys)) << c.flags << " " << c.keys << " " << c.accept;
        EXPECT_EQ(c.enter, Over(c.keys));
        target->DragLeave();
        source->InternalRelease();
    }
    // After the leave nothing is remembered: unknown data moves nothing.
    auto* unknown = new COleDataSource;
    const uint8_t any[] = {1};
    unknown->CacheGlobalData(static_cast<CLIPFORMAT>(::RegisterClipboardFormatW(L"Unknown")), Block(any, 1));
    EXPECT_EQ(DROPEFFECT_NONE, Enter(unknown, 0));
    EXPECT_EQ(DROPEFFECT_NONE, Over(0));
    target->DragLeave();
    unknown->InternalRelease();
}

TEST_F(DropPane, FilesTextAndTheLackOfAHandler)
{
    CHandler handler;
    // Without a handler every event answers nothing, yet the drop is taken.
    const std::wstring names[] = {L"C:\\a.jpg", L"", L"C:\\b.png"};
    DROPFILES header = {};
    header.pFiles = sizeof(header);
    header.fWide = TRUE;
    std::vector<uint8_t> list(reinterpret_cast<uint8_t*>(&header), reinterpret_cast<uint8_t*>(&header + 1));
    for (const std::wstring& name : names) {
        const auto* bytes = reinterpret_cast<const uint8_t*>(name.c_str());
        list.insert(list.end(), bytes, bytes + (name.size() + 1) * 2);
    }
    list.insert(list.end(), {0, 0});
    auto* files = new COleDataSource;
    files->CacheGlobalData(CF_HDROP, Block(list.data(), list.size()));
    DWORD effect = 0;
    EXPECT_EQ(DROPEFFECT_NONE, Enter(files, 0));
    EXPECT_EQ(S_OK, Drop(files, effect));

    window.SetDropHandler(&handler);
    EXPECT_EQ(DROPEFFECT_NONE, Enter(files, 0));
    EXPECT_EQ(DROPEFFECT_COPY, Over(0));
    EXPECT_EQ(S_OK, Drop(files, effect));
    ASSERT_EQ(1u, handler.dropped.size()) << "the list ends at its first empty name";
    EXPECT_EQ(L"C:\\a.jpg", handler.dropped[0]);
    files->InternalRelease();

    // ANSI text in the code page of its locale; Unicode text within its block.
    const struct {
        CLIPFORMAT format;
        std::vector<uint8_t> bytes;
        std::wstring expected;
    } texts[] = {
        {CF_TEXT, {0xCF, 0xF0, 0}, L"\x041F\x0440"},
        {CF_UNICODETEXT, {'a', 0, 'b', 0, 'c', 0}, L"abc"},
    };
    for (const auto& t : texts) {
        auto* source = new COleDataSource;
        source->CacheGlobalData(t.format, Block(t.bytes.data(), t.bytes.size()));
        const uint32_t russian = 0x0419;
        source->CacheGlobalData(CF_LOCALE, Block(&russian, sizeof russian));
        handler.text.clear();
        Enter(source, 0);
        EXPECT_EQ(S_OK, Drop(source, effect));
        EXPECT_EQ(t.expected, handler.text.substr(0, 3)) << t.format;
        EXPECT_LE(handler.text.size(), t.bytes.size() / (t.format == CF_TEXT ? 1 : 2));
        source->InternalRelease();
    }
}
