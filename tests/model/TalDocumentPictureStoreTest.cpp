// The picture store's files of real reports: a report that closes lets its
// pictures go, a report open twice shares them, and an undo step or the
// clipboard keeps the picture it needs.
#include "TalDocumentCommandSupport.h"

#include "document/TalClipboardData.h"
#include "framework/KWRasterLib.h"
#include "model/TalCommandHistory.h"
#include "model/TalDocProperties.h"
#include "model/TalPicture.h"
#include "model/TalSection.h"
#include "tests/framework/KWTestFiles.h"
#include "tests/support/OwnStoreFiles.h"

#include <random>

using namespace taldoc;

namespace {


std::string PictureFileOf(const CTalPicture* picture)
{
    return ReadFileBytes(g_rasterLib.GetImagePath(static_cast<uint32_t>(picture->GetPictureId())).GetString());
}

class TalDocumentPictureStore : public TalCommandFixture {
protected:
    void SetUp() override
    {
        TalCommandFixture::SetUp();
        folder = MakeTestFolder(L"store");
        // Three pictures in section A of a report that embeds them.
        std::mt19937 random(7);
        std::vector<std::wstring> paths;
        for (int i = 0; i < 3; ++i) {
            std::string bytes = "\xFF\xD8\xFF\xE0";
            for (int n = 0; n < 4000; ++n)
                bytes += char(random());
            pictureBytes.push_back(bytes);
            paths.push_back(folder + L"photo" + std::to_wstring(i) + L".jpg");
            WriteFileBytes(paths.back(), bytes);
        }
        AddPictures(a.Get(), paths);
        document->GetProperties().m_imageSaveType = 0;
        report = folder + L"Pictures.otd";
        ASSERT_TRUE(document->OnSaveDocument(report.c_str()));
        // The saved report's own pictures: copies in the store.
        before = OwnStoreFileCount();
    }
    void TearDown() override
    {
        SetClipboard({});
        ReleaseReplacedClipboardPictures();
        TalCommandFixture::TearDown();
        RemoveFolder(folder);
    }

    // A report window of its own on the saved report.
    CTestTalDocument* OpenReport()
    {
        CTestTalDocument* opened = app->OpenDocument(report.c_str());
        EXPECT_NE(nullptr, opened);
        return opened;
    }
    static CTalSection* SectionA(CTalDocument* doc)
    {
        return doc->GetProperties().GetHeadingSection()->GetSubSection(0).Get();
    }
    // Pictures of section A selected in the report's image panel, then the command.
    static void PictureCommand(CTalDocument* doc, std::vector<int> selected, UINT id)
    {
        auto* panes = static_cast<CPanelDocumentViews*>(doc->GetFrame());
        panes->tree.SelectItem(doc->FindSectionItem(SectionA(doc)));
        panes->activePane = CTalDocumentViews::kPaneImages;
        panes->selectedImages = selected;
        panes->currentImage = selected.empty() ? -1 : selected.front();
        ::SendMessageW(panes->frame, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    }

    std::wstring folder;
    std::wstring report;
    std::vector<std::string> pictureBytes;
    size_t before = 0;
};

}  // namespace

TEST_F(TalDocumentPictureStore, AReportOpenTwiceSharesItsFilesAndTheLastCloseLetsThemGo)
{
    CTestTalDocument* first = OpenReport();
    ASSERT_NE(nullptr, first);
    ASSERT_EQ(3, SectionA(first)->GetPictureCount());
    EXPECT_EQ(before + 3, OwnStoreFileCount());
    CTestTalDocument* second = OpenReport();
    ASSERT_NE(nullptr, second);
    EXPECT_EQ(before + 3, OwnStoreFileCount()) << "the files still held are taken again, not written again";
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(SectionA(first)->GetPicture(i)->GetPictureId(), SectionA(second)->GetPicture(i)->GetPictureId());
        EXPECT_EQ(pictureBytes[size_t(i)], PictureFileOf(SectionA(second)->GetPicture(i).Get()));
    }
    first->OnCloseDocument();
    EXPECT_EQ(before + 3, OwnStoreFileCount()) << "the report still open keeps them";
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(pictureBytes[size_t(i)], PictureFileOf(SectionA(second)->GetPicture(i).Get()));
    second->OnCloseDocument();
    EXPECT_EQ(before, OwnStoreFileCount());
    // Opened again after all were closed: written anew, and let go again.
    for (int round = 0; round < 3; ++round) {
        CTestTalDocument* again = OpenReport();
        ASSERT_NE(nullptr, again);
        EXPECT_EQ(pictureBytes[2], PictureFileOf(SectionA(again)->GetPicture(2).Get()));
        EXPECT_EQ(before + 3, OwnStoreFileCount());
        again->OnCloseDocument();
        EXPECT_EQ(before, OwnStoreFileCount());
    }
}

TEST_F(TalDocumentPictureStore, AnUndoStepKeepsTheRemovedPictureUntilItGoesFromTheHistory)
{
    CTestTalDocument* opened = OpenReport();
    ASSERT_NE(nullptr, opened);
    const int32_t removed = SectionA(opened)->GetPicture(0)->GetPictureId();
    PictureCommand(opened, {0}, ID_TAL_REMOVE_IMAGE);
    ASSERT_EQ(2, SectionA(opened)->GetPictureCount());
    EXPECT_EQ(before + 3, OwnStoreFileCount()) << "the undo step holds the removed picture";
    ::SendMessageW(static_cast<CPanelDocumentViews*>(opened->GetFrame())->frame, WM_COMMAND, ID_TAL_EDIT_UNDO, 0);
    ASSERT_EQ(3, SectionA(opened)->GetPictureCount());
    EXPECT_EQ(removed, SectionA(opened)->GetPicture(0)->GetPictureId());
    EXPECT_EQ(pictureBytes[0], PictureFileOf(SectionA(opened)->GetPicture(0).Get()));
    ::SendMessageW(static_cast<CPanelDocumentViews*>(opened->GetFrame())->frame, WM_COMMAND, ID_TAL_EDIT_REDO, 0);
    ASSERT_EQ(2, SectionA(opened)->GetPictureCount());
    opened->GetCommandHistory()->Clear();
    EXPECT_EQ(before + 2, OwnStoreFileCount()) << "nothing holds the removed picture any more";
    opened->OnCloseDocument();
    EXPECT_EQ(before, OwnStoreFileCount());
}

TEST_F(TalDocumentPictureStore, TheClipboardKeepsThePicturesItNamesAfterTheirReportClosed)
{
    CTestTalDocument* opened = OpenReport();
    ASSERT_NE(nullptr, opened);
    PictureCommand(opened, {1}, ID_TAL_EDIT_COPY);
    const std::wstring copied =
        g_rasterLib.GetImagePath(uint32_t(SectionA(opened)->GetPicture(1)->GetPictureId())).GetString();
    opened->OnCloseDocument();
    EXPECT_EQ(before + 1, OwnStoreFileCount()) << "only the copied picture stays";
    ReleaseReplacedClipboardPictures();
    EXPECT_EQ(before + 1, OwnStoreFileCount()) << "the clipboard still holds the copy";

    // Pasted into the report still open, whose picture it becomes.
    Select(b.Get());
    views->activePane = CTalDocumentViews::kPaneTree;
    Command(ID_TAL_EDIT_PASTE);
    ASSERT_EQ(1, b->GetPictureCount());
    EXPECT_EQ(copied, g_rasterLib.GetImagePath(uint32_t(b->GetPicture(0)->GetPictureId())).GetString());
    EXPECT_EQ(pictureBytes[1], PictureFileOf(b->GetPicture(0).Get()));

    // Another program's copy replaces it: the report's picture keeps the file.
    SetClipboard({{CF_UNICODETEXT, UnicodeBytes(L"text")}});
    ReleaseReplacedClipboardPictures();
    EXPECT_EQ(before + 1, OwnStoreFileCount());
    Command(ID_TAL_EDIT_UNDO);
    ASSERT_EQ(0, b->GetPictureCount());
    document->GetCommandHistory()->Clear();
    EXPECT_EQ(before, OwnStoreFileCount()) << "nothing holds the copy any more";
}

TEST_F(TalDocumentPictureStore, ASaveThatMovesThePicturesOutLeavesThoseAnUndoStepHolds)
{
    CTestTalDocument* opened = OpenReport();
    ASSERT_NE(nullptr, opened);
    const std::wstring removedPath =
        g_rasterLib.GetImagePath(uint32_t(SectionA(opened)->GetPicture(0)->GetPictureId())).GetString();
    PictureCommand(opened, {0}, ID_TAL_REMOVE_IMAGE);
    opened->GetProperties().m_imageSaveType = 1;
    const std::wstring linked = folder + L"Linked.otd";
    ASSERT_TRUE(opened->OnSaveDocument(linked.c_str()));
    // The two pictures in the report moved into its picture folder; the removed one stays in the store.
    for (int i = 0; i < 2; ++i) {
        const CString path = g_rasterLib.GetImagePath(uint32_t(SectionA(opened)->GetPicture(i)->GetPictureId()));
        EXPECT_EQ(0, path.Find((folder + L"Linked Images\\").c_str())) << path.GetString();
    }
    EXPECT_EQ(before + 1, OwnStoreFileCount());
    EXPECT_EQ(pictureBytes[0], ReadFileBytes(removedPath));
    ::SendMessageW(static_cast<CPanelDocumentViews*>(opened->GetFrame())->frame, WM_COMMAND, ID_TAL_EDIT_UNDO, 0);
    ASSERT_EQ(3, SectionA(opened)->GetPictureCount());
    EXPECT_EQ(pictureBytes[0], PictureFileOf(SectionA(opened)->GetPicture(0).Get()));
    opened->OnCloseDocument();
    EXPECT_EQ(before, OwnStoreFileCount());
}
