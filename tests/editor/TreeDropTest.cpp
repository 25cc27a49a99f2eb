// Drops on the section tree through its OLE drop target, with data objects
// built as the shell, other programs and the program's own drags build them:
// text, folders, report and image files, sections, pictures, gallery files and
// bitmaps; and the rest of the cursor over the tree that expands and scrolls.
#include "InProcessReport.h"

#include "editor/TalDragDropTask.h"
#include "editor/TalSectionTreeCtrl.h"
#include "framework/KWClipFormats.h"
#include "framework/KWDragInfo.h"
#include "framework/KWRasterLib.h"
#include "model/TalCommandHistory.h"
#include "model/TalCommander.h"
#include "model/TalFileNamesData.h"
#include "model/TalPicture.h"
#include "model/TalPicturesData.h"
#include "model/TalSection.h"
#include "model/TalSectionData.h"
#include "platform/classlib/OleDataSource.h"
#include "tests/platform/classlib/TestSupport.h"


#include <cstring>

using edtest::InProcessReport;

namespace {

enum : uint32_t { kFileNames = 0, kSection = 1, kPictures = 2 };

COleDataSource* TextData(const std::wstring& text)
{
    auto* source = new COleDataSource;
    source->CacheGlobalData(CF_UNICODETEXT, edtest::GlobalBlock(text.c_str(), (text.size() + 1) * sizeof(wchar_t)));
    return source;
}

COleDataSource* BitmapData(int width, int height)
{
    std::vector<uint32_t> pixels(static_cast<size_t>(width * height), 0x00336699);
    STGMEDIUM medium = {};
    medium.tymed = TYMED_GDI;
    medium.hBitmap = ::CreateBitmap(width, height, 1, 32, pixels.data());
    FORMATETC format = {CF_BITMAP, nullptr, DVASPECT_CONTENT, -1, TYMED_GDI};
    auto* source = new COleDataSource;
    source->CacheData(CF_BITMAP, &medium, &format);
    return source;
}

std::vector<std::wstring> Names(const CTalSection* section)
{
    std::vector<std::wstring> names;
    for (int i = 0; i < section->GetSubSectionCount(); ++i)
        names.push_back(std::wstring(section->GetSubSection(i)->GetName()));
    return names;
}

class TreeDrop : public InProcessReport {
protected:
    void SetUp() override
    {
        InProcessReport::SetUp();
        if (HasFatalFailure())
            return;
        tree = &report->GetTree();
        auto* pane = dynamic_cast<CKWDragDropPane*>(tree->GetWnd());
        ASSERT_NE(nullptr, pane);
        target = pane->GetDropTargetInterface();
        ASSERT_NE(nullptr, target);
        heading = document->GetProperties().GetHeadingSection();
        top = Add(heading.Get(), L"Top");
    }
    static COleDataSource* FileData(const std::vector<std::wstring>& paths)
    {
        auto* source = new COleDataSource;
        source->CacheGlobalData(CF_HDROP, edtest::FileDropBlock(paths));
        return source;
    }
    CKWRefPtr<CTalSection> Add(CTalSection* parent, const wchar_t* name)
    {
        CKWRefPtr<CTalSection> section =
            document->GetCommander().AddChildSection(parent, name, nullptr, false, false, true, true);
        classlib_test::DrainMessages();
        return section;
    }
    // The section's label in the tree's client coordinates.
    RECT Label(CTalSection* section)
    {
        RECT rect = {};
        HTREEITEM item = document->FindSectionItem(section);
        EXPECT_NE(nullptr, item);
        tree->EnsureVisible(item);
        EXPECT_TRUE(tree->GetItemRect(item, &rect, true));
        return rect;
    }
    POINT OnLabel(CTalSection* section, int x)
    {
        const RECT label = Label(section);
        return {label.left + x, (label.top + label.bottom) / 2};
    }
    POINT Below()
    {
        RECT client = {};
        tree->GetClientRect(&client);
        return {4, client.bottom - 4};
    }
    // Enter, over and drop at a point of the tree, as OLE calls them; the
    // source is released afterwards.
    void DropAt(COleDataSource* source, POINT point, DWORD keys = 0)
    {
        ::ClientToScreen(tree->GetWnd()->m_hWnd, &point);
        const POINTL at = {point.x, point.y};
        DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        target->DragEnter(source->GetDataObject(FALSE), keys, at, &effect);
        effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        target->DragOver(keys, at, &effect);
        effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        target->Drop(source->GetDataObject(FALSE), keys, at, &effect);
        source->InternalRelease();
        classlib_test::DrainMessages();
    }
    // The program's own objects as a drag of its own carries them.
    void DropOwn(uint32_t kind, CKWSerialData* record, POINT point, bool otherReport = false)
    {
        KWDragInfo info;
        info.Clear();
        info.instanceId = app.GetInstanceId();
        info.kind = kind;
        info.documentId = document->GetDocumentId() + (otherReport ? 1000 : 0);
        auto* task = new CTalDragDropTask(document, record);
        task->SetDragInfo(info);
        DropAt(task->GetDataSource(FALSE, nullptr, nullptr), point);
        task->InternalRelease();
    }
    void Select(CTalSection* section)
    {
        tree->SelectItem(document->FindSectionItem(section));
        classlib_test::DrainMessages();
    }

    CTalSectionTreeCtrl* tree = nullptr;
    IDropTarget* target = nullptr;
    CKWRefPtr<CTalSection> heading;
    CKWRefPtr<CTalSection> top;
};

}  // namespace

TEST_F(TreeDrop, TextMakesAChildOnEmptySpaceAndASiblingOnTheLabelsLeftEdge)
{
    const std::vector<std::wstring> before = Names(heading.Get());
    DropAt(TextData(L"\r\n Holiday\t"), Below());
    std::vector<std::wstring> expected = before;
    expected.push_back(L"Holiday");
    EXPECT_EQ(expected, Names(heading.Get()));

    CKWRefPtr<CTalSection> a = Add(top.Get(), L"A");
    Add(top.Get(), L"B");
    DropAt(TextData(L"Beach"), OnLabel(a.Get(), 4));
    EXPECT_EQ((std::vector<std::wstring>{L"A", L"Beach", L"B"}), Names(top.Get()));
    DropAt(TextData(L"Inside"), OnLabel(a.Get(), 14));
    EXPECT_EQ(std::vector<std::wstring>{L"Inside"}, Names(a.Get()));
}

TEST_F(TreeDrop, FoldersBecomeSectionsWithTheirPicturesAndOneUndoRemovesThem)
{
    const std::wstring f = folder.MakeFolder(L"F");
    WriteJpeg(f + L"\\one.jpg", 40, 30);
    WriteJpeg(f + L"\\two.jpg", 40, 30);
    folder.MakeFolder(L"F\\G");
    WriteJpeg(f + L"\\G\\three.jpg", 40, 30);
    for (const bool shift : {false, true}) {
        SCOPED_TRACE(shift ? "with Shift" : "alone");
        SetKeys(false, shift);
        DropAt(FileData({f}), OnLabel(top.Get(), 20), shift ? MK_SHIFT : 0);
        SetKeys(false, false);
        ASSERT_EQ(std::vector<std::wstring>{L"F"}, Names(top.Get()));
        CKWRefPtr<CTalSection> made = top->GetSubSection(0);
        EXPECT_EQ(2, made->GetPictureCount());
        EXPECT_EQ(shift ? std::vector<std::wstring>{L"G"} : std::vector<std::wstring>{}, Names(made.Get()));
        if (shift)
            EXPECT_EQ(1, made->GetSubSection(0)->GetPictureCount());
        EXPECT_EQ(L"&Undo Add Section\tCtrl+Z", std::wstring(document->GetCommandHistory()->GetUndoText()));
        document->OnEditUndo();
        EXPECT_EQ(std::vector<std::wstring>{}, Names(top.Get()));
    }
}

TEST_F(TreeDrop, AReportFileOpensAndAnImageBesideItBecomesAPicture)
{
    const std::wstring saved = folder.Path() + L"other.otd";
    ASSERT_TRUE(document->OnSaveDocument(saved.c_str()));
    const std::wstring jpeg = folder.Path() + L"photo.jpg";
    WriteJpeg(jpeg, 40, 30);
    DropAt(FileData({saved, jpeg, folder.Path() + L"notes.txt"}), OnLabel(top.Get(), 20));
    EXPECT_EQ(2u, Reports().size());
    EXPECT_EQ(1, top->GetPictureCount());
}

TEST_F(TreeDrop, OwnSectionsMoveByTheLabelAndCopyWithCtrlOrFromAnotherReport)
{
    CKWRefPtr<CTalSection> a = Add(top.Get(), L"A");
    CKWRefPtr<CTalSection> b = Add(top.Get(), L"B");
    CKWRefPtr<CTalSection> c = Add(top.Get(), L"C");
    // Within 12 pixels of the label's left: after the target.
    DropOwn(kSection, new CTalSectionData(a.Get()), OnLabel(b.Get(), 5));
    EXPECT_EQ((std::vector<std::wstring>{L"B", L"A", L"C"}), Names(top.Get()));
    // Further right: into it.
    DropOwn(kSection, new CTalSectionData(a.Get()), OnLabel(b.Get(), 14));
    EXPECT_EQ((std::vector<std::wstring>{L"B", L"C"}), Names(top.Get()));
    EXPECT_EQ(std::vector<std::wstring>{L"A"}, Names(b.Get()));
    // Onto its own label: the left half a level left, the right half right.
    const RECT label = Label(a.Get());
    DropOwn(kSection, new CTalSectionData(a.Get()), OnLabel(a.Get(), 1));
    EXPECT_EQ((std::vector<std::wstring>{L"B", L"A", L"C"}), Names(top.Get()));
    DropOwn(kSection, new CTalSectionData(a.Get()), OnLabel(a.Get(), label.right - label.left - 1));
    EXPECT_EQ((std::vector<std::wstring>{L"B", L"C"}), Names(top.Get()));
    EXPECT_EQ(std::vector<std::wstring>{L"A"}, Names(b.Get()));
    // With Ctrl, and from another report, a copy after the target.
    SetKeys(true, false);
    DropOwn(kSection, new CTalSectionData(c.Get()), OnLabel(b.Get(), 20));
    SetKeys(false, false);
    DropOwn(kSection, new CTalSectionData(c.Get()), OnLabel(b.Get(), 20), true);
    EXPECT_EQ((std::vector<std::wstring>{L"B", L"C", L"C", L"C"}), Names(top.Get()));
}

TEST_F(TreeDrop, PicturesMoveOrCopyGalleryFilesAndBitmapsBecomePictures)
{
    CKWRefPtr<CTalSection> a = Add(top.Get(), L"A");
    CKWRefPtr<CTalSection> b = Add(top.Get(), L"B");
    std::vector<CString> files;
    for (const wchar_t* name : {L"p.jpg", L"q.jpg"}) {
        WriteJpeg(folder.Path() + name, 40, 30);
        files.push_back((folder.Path() + name).c_str());
    }
    // Gallery files (kind 0) are copied in.
    DropOwn(kFileNames, new CTalFileNamesData(files), OnLabel(a.Get(), 20));
    ASSERT_EQ(2, a->GetPictureCount());
    // From the current section's panel: moved, or copied with Ctrl.
    Select(a.Get());
    const CTalPositionList both = {0, 1};
    CTalPictureList pictures = {a->GetPicture(0), a->GetPicture(1)};
    DropOwn(kPictures, new CTalPicturesData(pictures, false, &both), OnLabel(b.Get(), 20));
    EXPECT_EQ(0, a->GetPictureCount());
    EXPECT_EQ(2, b->GetPictureCount());
    Select(b.Get());
    pictures = {b->GetPicture(0), b->GetPicture(1)};
    SetKeys(true, false);
    DropOwn(kPictures, new CTalPicturesData(pictures, false, &both), OnLabel(a.Get(), 20));
    SetKeys(false, false);
    EXPECT_EQ(2, a->GetPictureCount());
    EXPECT_EQ(2, b->GetPictureCount());
    // A bitmap of another program.
    DropAt(BitmapData(40, 30), OnLabel(a.Get(), 20));
    ASSERT_EQ(3, a->GetPictureCount());
    SIZE size = {};
    EXPECT_TRUE(g_rasterLib.GetImageSize(static_cast<uint32_t>(a->GetPicture(2)->GetPictureId()), size));
    EXPECT_EQ(40, size.cx);
    EXPECT_EQ(30, size.cy);
}

TEST_F(TreeDrop, RestingTheCursorExpandsACollapsedSectionAfterItsRestAndScrollsInTheTopRow)
{
    CKWRefPtr<CTalSection> a = Add(top.Get(), L"A");
    Add(a.Get(), L"Inner");
    HTREEITEM item = document->FindSectionItem(a.Get());
    tree->Expand(item, TVE_COLLAPSE);
    POINT point = OnLabel(a.Get(), 10);
    POINT screen = point;
    ::ClientToScreen(tree->GetWnd()->m_hWnd, &screen);
    ::SetCursorPos(screen.x, screen.y);
    const POINTL at = {screen.x, screen.y};
    COleDataSource* source = FileData({folder.Path()});
    DWORD effect = DROPEFFECT_COPY;
    target->DragEnter(source->GetDataObject(FALSE), 0, at, &effect);
    PumpFor(400);
    EXPECT_FALSE(tree->IsExpanded(item));
    PumpFor(600);
    EXPECT_TRUE(tree->IsExpanded(item));

    // Enough sections to scroll; the cursor rests in the top row.
    for (int i = 0; i < 40; ++i)
        Add(top.Get(), (L"S" + std::to_wstring(i)).c_str());
    HWND window = tree->GetWnd()->m_hWnd;
    ::SendMessageW(window, WM_VSCROLL, SB_BOTTOM, 0);
    const int bottom = ::GetScrollPos(window, SB_VERT);
    ASSERT_GT(bottom, 2);
    RECT client = {};
    tree->GetClientRect(&client);
    screen = {client.left + 20, client.top + 3};
    ::ClientToScreen(window, &screen);
    ::SetCursorPos(screen.x, screen.y);
    PumpFor(1200);
    EXPECT_LT(::GetScrollPos(window, SB_VERT), bottom);
    target->DragLeave();
    EXPECT_EQ(0u, view->GetHoverTimer());
    source->InternalRelease();
}

TEST_F(TreeDrop, EnteringFilesTellsTheApplicationsMessageSink)
{
    CTalApplication* app = &this->app;
    HWND sink = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    app->SetMessageSink(sink);
    // Nothing is said while no files enter.
    EXPECT_EQ(0, ::GetWindowTextLengthW(sink));
    COleDataSource* source = FileData({L"C:\\a.jpg"});
    RECT rect = {};
    ::GetWindowRect(tree->GetWnd()->m_hWnd, &rect);
    DWORD effect = DROPEFFECT_COPY;
    target->DragEnter(source->GetDataObject(FALSE), 0, POINTL{rect.left + 5, rect.top + 5}, &effect);
    target->DragLeave();
    source->InternalRelease();
    app->SetMessageSink(nullptr);
    wchar_t text[128] = {};
    ::GetWindowTextW(sink, text, 128);
    ::DestroyWindow(sink);
    EXPECT_STREQ(L"Dragging file(s) has entered to the view", text);
}
