// The image gallery in the program's windows, in the test's own process:
// folders added by command and dropped from the shell, the panes' shares of
// the bar, the thumbnails' places, closing folders, and the selection the
// report takes.
#include "InProcessReport.h"

#include "docking/frames/QMXPMiniFrameWnd.h"
#include "editor/PictCollectBar.h"
#include "editor/PictCollectItems.h"
#include "platform/classlib/CmdUI.h"
#include "tests/platform/classlib/TestSupport.h"
#include "tests/support/RecordingGraphics.h"
#include "tests/support/WindowScreenshot.h"

#include <algorithm>

using edtest::InProcessReport;

namespace {

constexpr UINT kToggleGallery = 32829;
constexpr UINT kAddFolder = 32856;
constexpr UINT kCloseFolder = 32864;
constexpr UINT kCloseAll = 32857;
constexpr wchar_t kEmptyFoldersText[] =
    L"There are some folders that does not contain any supported graphic files. Theese folders wil not be added "
    L"to collection.";

// Notes whether a command was enabled.
class CNotedCmdUI : public CCmdUI {
public:
    void Enable(BOOL on = TRUE) override { enabled = on != FALSE; }
    void SetCheck(int) override {}
    bool enabled = false;
};

class Gallery : public InProcessReport {
protected:
    void SetUp() override
    {
        InProcessReport::SetUp();
        if (HasFatalFailure())
            return;
        bar = app.GetPictCollectBar();
        ASSERT_NE(nullptr, bar);
    }
    // A folder of the test folder with count JPEGs of 100 x 80.
    std::wstring Folder(const std::wstring& name, int count)
    {
        const std::wstring path = folder.MakeFolder(name.c_str());
        for (int i = 0; i < count; ++i)
            WriteJpeg(path + L"\\p" + std::to_wstring(i) + L".jpg", 100, 80);
        return path;
    }
    std::vector<std::wstring> Listed()
    {
        std::vector<std::wstring> names;
        for (int i = 0; i < bar->GetFolderCount(); ++i)
            names.push_back(std::wstring(bar->GetList().GetFolder(i)->GetPath()).substr(folder.Path().size()));
        return names;
    }
    // The messages the drop showed.
    std::vector<std::wstring> Drop(const std::vector<std::wstring>& paths, bool ctrl = false, bool shift = false)
    {
        SetKeys(ctrl, shift);
        auto texts = classlib_test::AnsweringMessageBoxes(
            [&] { bar->SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(edtest::FileDropBlock(paths))); });
        SetKeys(false, false);
        return texts;
    }
    bool Enabled(UINT command)
    {
        CNotedCmdUI state;
        state.m_nID = command;
        state.DoUpdate(&app, FALSE);
        return state.enabled;
    }
    // The panes' heights in a bar whose client area is the height.
    std::pair<int, int> PaneHeights(int height)
    {
        CRect window;
        CRect client;
        bar->GetWindowRect(&window);
        bar->GetClientRect(&client);
        bar->SetWindowPos(nullptr, 0, 0, window.Width(), window.Height() - client.Height() + height,
                          SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        CRect list;
        CRect thumbnails;
        bar->GetList().GetWindowRect(&list);
        bar->GetView().GetWindowRect(&thumbnails);
        return {list.Height(), thumbnails.Height()};
    }

    CPictCollectBar* bar = nullptr;
};

}  // namespace

TEST_F(Gallery, PanesShareTheBarByWholeFolderRowsAndThumbnailsArePlacedInTheirCells)
{
    for (int i = 0; i < 12; ++i) {
        bool reported = false;
        bar->AddFolder(Folder(L"f" + std::to_wstring(i), 1).c_str(), reported, i == 0, true, false);
    }
    ASSERT_EQ(12, bar->GetFolderCount());
    bar->ShowBar();
    EXPECT_EQ(std::make_pair(60, 140), PaneHeights(200));
    EXPECT_EQ(std::make_pair(20, 130), PaneHeights(150));
    PaneHeights(400);
    test_support::WriteWindowScreenshot(main->m_hWnd, L"gallery_docked");

    // A 100 x 80 thumbnail in a 134-pixel cell: 15 and 25 pixels inside the inset.
    test_support::CRecordingGraphics graphics(96);
    const RECT cell = {10, 20, 144, 154};
    bar->GetView().DrawItem(0, graphics, cell);
    ASSERT_EQ(1u, graphics.images.size());
    EXPECT_EQ(10 + 2 + 15, graphics.images[0].x);
    EXPECT_EQ(20 + 2 + 25, graphics.images[0].y);
    EXPECT_EQ(100, graphics.images[0].pixelsWide);
}

TEST_F(Gallery, DroppedFoldersAreReportedOnceWhenEmptySelectedFirstAndListedTwiceWithCtrl)
{
    const std::wstring empty1 = Folder(L"e1", 0);
    const std::wstring empty2 = Folder(L"e2", 0);
    const std::wstring full = Folder(L"full", 2);
    const std::wstring text = folder.Write(L"note.txt", "x");
    EXPECT_EQ(std::vector<std::wstring>{kEmptyFoldersText}, Drop({empty1, empty2, text, full}));
    EXPECT_EQ(std::vector<std::wstring>{L"full"}, Listed());
    EXPECT_EQ(-1, bar->GetList().GetCurrentIndex());
    EXPECT_EQ(0, bar->GetView().GetItemCount());
    // Dropped again it is selected, and shows its images; with Ctrl it is listed twice.
    EXPECT_TRUE(Drop({full}).empty());
    EXPECT_EQ(1, bar->GetFolderCount());
    EXPECT_EQ(0, bar->GetList().GetCurrentIndex());
    EXPECT_EQ(2, bar->GetView().GetItemCount());
    Drop({full}, true);
    EXPECT_EQ((std::vector<std::wstring>{L"full", L"full"}), Listed());
}

TEST_F(Gallery, AddFolderWithShiftTakesSubfoldersDepthFirstSkippingALinkBackAndWithCtrlAddsAgain)
{
    const std::wstring top = Folder(L"top", 1);
    Folder(L"top\\a", 1);
    Folder(L"top\\a\\deep", 2);
    Folder(L"top\\b", 0);
    Folder(L"top\\b\\c", 1);
    ASSERT_TRUE(MakeLinkBack(top + L"\\b\\", L"loop", L".."));
    EXPECT_TRUE(Enabled(kAddFolder));
    EXPECT_FALSE(Enabled(kToggleGallery));
    app.chosenFolder = top.c_str();
    SetKeys(false, true);
    const auto texts = classlib_test::AnsweringMessageBoxes([&] { main->SendMessage(WM_COMMAND, kAddFolder); });
    SetKeys(false, false);
    EXPECT_EQ(std::vector<std::wstring>{kEmptyFoldersText}, texts);
    // Each folder before its own sub-folders; the link back to the top is not followed.
    std::vector<std::wstring> listed = Listed();
    ASSERT_EQ(4u, listed.size());
    EXPECT_EQ(L"top", listed[0]);
    const auto at = [&](const wchar_t* name) { return std::find(listed.begin(), listed.end(), name) - listed.begin(); };
    EXPECT_EQ(at(L"top\\a") + 1, at(L"top\\a\\deep"));
    EXPECT_LT(at(L"top\\b\\c"), 4);
    EXPECT_TRUE(bar->IsBarVisible());
    EXPECT_TRUE(Enabled(kToggleGallery));
    main->SendMessage(WM_COMMAND, kAddFolder);
    EXPECT_EQ(4, bar->GetFolderCount());
    SetKeys(true, false);
    main->SendMessage(WM_COMMAND, kAddFolder);
    EXPECT_EQ(5, bar->GetFolderCount());
}

TEST_F(Gallery, ClosingFoldersSelectsTheNewLastEmptiesThePanesAndCloseAllHidesTheBar)
{
    for (const wchar_t* name : {L"x", L"y", L"z"})
        Drop({Folder(name, 1)}, false, false);
    bar->ShowBar();
    bar->GetList().SelectItem(2, false, false, true, true);
    main->SendMessage(WM_COMMAND, kCloseFolder);
    EXPECT_EQ((std::vector<std::wstring>{L"x", L"y"}), Listed());
    EXPECT_EQ(1, bar->GetList().GetCurrentIndex());
    EXPECT_EQ(bar->GetList().GetFolder(1), bar->GetView().GetShownFolder());
    bar->GetList().SelectItem(0, false, false, true, true);
    main->SendMessage(WM_COMMAND, kCloseFolder);
    EXPECT_EQ(std::vector<std::wstring>{L"y"}, Listed());
    EXPECT_EQ(bar->GetList().GetFolder(0), bar->GetView().GetShownFolder());
    main->SendMessage(WM_COMMAND, kCloseFolder);
    EXPECT_EQ(0, bar->GetFolderCount());
    EXPECT_EQ(0, bar->GetView().GetItemCount());
    EXPECT_FALSE(bar->IsBarVisible());
    EXPECT_FALSE(Enabled(kToggleGallery));

    Drop({Folder(L"w", 1)});
    bar->ShowBar();
    main->SendMessage(WM_COMMAND, kCloseAll);
    EXPECT_EQ(0, bar->GetFolderCount());
    EXPECT_FALSE(bar->IsBarVisible());
}

TEST_F(Gallery, SelectedThumbnailsGoIntoTheCurrentSectionOnADoubleClickAndTheCtrlShiftKey)
{
    Drop({Folder(L"pics", 3)});
    CPictCollectView& thumbnails = bar->GetView();
    ASSERT_EQ(3, thumbnails.GetItemCount());
    bar->FloatControlBar(CRect(300, 200, 600, 500), QMXP_DM_RECT);
    bar->ShowBar();
    classlib_test::DrainMessages();
    RECT floating = {};
    EXPECT_TRUE(bar->GetFloatingRect(&floating));
    test_support::WriteWindowScreenshot(bar->GetParentMiniFrame()->m_hWnd, L"gallery_floating");
    SetKeys(true, true);
    thumbnails.SendMessage(WM_KEYDOWN, VK_NUMPAD1);
    SetKeys(false, false);
    EXPECT_EQ(3, app.GetSelectedGalleryImageCount());
    thumbnails.SelectItem(2, true, false, true, true);
    std::vector<CString> files;
    ASSERT_TRUE(app.GetSelectedGalleryFiles(files));
    EXPECT_EQ(2u, files.size());
    CKWRefPtr<CTalSection> section = document->GetCurrentSection();
    ASSERT_TRUE(section);
    const int before = section->GetPictureCount();
    const RECT cell = thumbnails.GetItemRect(0);
    thumbnails.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(cell.left + 5, cell.top + 5));
    EXPECT_EQ(before + 2, section->GetPictureCount());
}
