// The pictures of the report document: adding image files, the picture
// commands and their check marks, navigation in the image panel, and the
// panes following an insertion.
#include "TalDocumentCommandSupport.h"

#include "model/TalCommandHistory.h"
#include "model/TalCommandStrings.h"
#include "model/TalPicture.h"
#include "model/TalSection.h"

#include <algorithm>

using namespace taldoc;

namespace {

class TalDocumentPictures : public TalCommandFixture {
protected:
    void SetUp() override
    {
        TalCommandFixture::SetUp();
        Select(a.Get());
    }
    bool Logged(const std::string& line) const
    {
        return std::find(views->log.begin(), views->log.end(), line) != views->log.end();
    }
};

}  // namespace

TEST_F(TalDocumentPictures, AddedFilesAreTitledByTheirNamesAndShareIdsByPath)
{
    app->chosenFiles = {L"C:\\Holiday\\Photo.JPG", L"C:\\Holiday\\Photo.JPG", L"C:\\Holiday\\.jpg"};
    Command(ID_TAL_ADD_IMAGE);
    ASSERT_EQ(3, a->GetPictureCount());
    EXPECT_STREQ(L"Photo", a->GetPicture(0)->GetTitle());
    EXPECT_EQ(a->GetPicture(0)->GetPictureId(), a->GetPicture(1)->GetPictureId());
    EXPECT_NE(a->GetPicture(0).Get(), a->GetPicture(1).Get()) << "two pictures of one file";
    CString untitled;
    untitled.Format(L"Picture-%d", a->GetPicture(2)->GetPictureId());
    EXPECT_EQ(untitled, a->GetPicture(2)->GetTitle()) << "a file without a name part";
    EXPECT_EQ(uint32_t(IDS_ADD_IMAGES), LastStepLabel());
    EXPECT_EQ(1, History().GetGroupCount());
    EXPECT_TRUE(document->IsModified());

    // The same from the gallery; nothing chosen adds nothing.
    app->galleryFiles = {L"C:\\Gallery\\Tree.png"};
    EXPECT_TRUE(Enabled(ID_TAL_ADD_IMAGES_TO_DOCUMENT));
    Command(ID_TAL_ADD_IMAGES_TO_DOCUMENT);
    EXPECT_STREQ(L"Tree", a->GetPicture(3)->GetTitle());
    app->chosenFiles.clear();
    Command(ID_TAL_ADD_IMAGE);
    EXPECT_EQ(4, a->GetPictureCount());
}

TEST_F(TalDocumentPictures, GoToCommandsNeedThePreviewAndAPlaceToGo)
{
    struct Row {
        int pictures;
        bool thumbnails;
        int current;
        bool first, previous, next, last;
    };
    const Row rows[] = {
        {3, true, 1, false, false, false, false},
        {1, false, 0, false, false, false, false},
        {3, false, 0, false, false, true, true},
        {3, false, 1, true, true, true, true},
        {3, false, 2, true, true, false, false},
    };
    for (const Row& row : rows) {
        while (a->GetPictureCount() < row.pictures)
            AddPictures(a.Get(), {L"C:\\P" + std::to_wstring(a->GetPictureCount()) + L".jpg"});
        while (a->GetPictureCount() > row.pictures)
            a->RemovePictures({0}, -1);
        views->thumbnails = row.thumbnails;
        views->currentImage = row.current;
        const std::string label = std::to_string(row.pictures) + (row.thumbnails ? " thumbnails " : " preview ") +
                                  std::to_string(row.current);
        EXPECT_EQ(row.first, Enabled(ID_TAL_GO_TO_FIRST_IMAGE)) << label;
        EXPECT_EQ(row.previous, Enabled(ID_TAL_GO_TO_PREVIOUS_IMAGE)) << label;
        EXPECT_EQ(row.next, Enabled(ID_TAL_GO_TO_NEXT_IMAGE)) << label;
        EXPECT_EQ(row.last, Enabled(ID_TAL_GO_TO_LAST_IMAGE)) << label;
        EXPECT_EQ(row.thumbnails ? 1 : 0, Update(ID_TAL_THUMBNAILS).checked) << label;
        EXPECT_EQ(row.thumbnails ? 0 : 1, Update(ID_TAL_PREVIEW_IMAGE).checked) << label;
    }
}

TEST_F(TalDocumentPictures, KeysOfTheImagePanelMoveThroughThePreview)
{
    AddPictures(a.Get(), {L"C:\\K1.jpg", L"C:\\K2.jpg", L"C:\\K3.jpg"});
    views->activePane = CTalDocumentViews::kPaneImages;
    views->currentImage = 0;
    CKWKeyRecord key;
    key.key = VK_NEXT;
    EXPECT_FALSE(document->HandleKey(key)) << "thumbnails mode";
    key.key = VK_RETURN;
    EXPECT_TRUE(document->HandleKey(key));
    EXPECT_FALSE(views->thumbnails) << "Enter switches to the preview";

    const struct {
        UINT key;
        int expected;
        bool used;
    } steps[] = {{VK_NEXT, 1, true}, {VK_END, 2, true}, {VK_RIGHT, 2, false}, {VK_UP, 1, true}, {VK_HOME, 0, true},
                 {VK_PRIOR, 0, false}};
    for (const auto& step : steps) {
        key.key = step.key;
        EXPECT_EQ(step.used, document->HandleKey(key)) << step.key;
        EXPECT_EQ(step.expected, views->currentImage) << step.key;
    }
}

TEST_F(TalDocumentPictures, ToggledSettingsComeFromTheCurrentPictureAndGoToAllSelected)
{
    AddPictures(a.Get(), {L"C:\\G1.jpg", L"C:\\G2.jpg", L"C:\\G3.jpg"});
    a->GetPicture(1)->SetGrayscale(CTalPicture::kYes);
    views->selectedImages = {0, 1, 2};
    views->currentImage = 1;
    EXPECT_EQ(1, Update(ID_TAL_CONVERT_TO_GRAYSCALE).checked);
    EXPECT_EQ(0, Update(ID_TAL_GRAYSCALE_BY_DEFAULT).checked);
    EXPECT_EQ(1, Update(ID_TAL_SHOW_IN_REPORT).checked);

    Command(ID_TAL_CONVERT_TO_GRAYSCALE);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(CTalPicture::kNo, a->GetPicture(i)->GetGrayscale()) << i;
    Command(ID_TAL_SHOW_IN_REPORT);
    Command(ID_TAL_ROTATE_RIGHT);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(0, a->GetPicture(i)->GetShown()) << i;
        EXPECT_EQ(90, a->GetPicture(i)->GetAngle()) << i;
    }
    Command(ID_TAL_GRAYSCALE_BY_DEFAULT);
    EXPECT_EQ(CTalPicture::kDocumentDefault, a->GetPicture(2)->GetGrayscale());
    EXPECT_EQ(4, History().GetGroupCount());

    // Without a current image the commands are disabled and change nothing.
    views->currentImage = -1;
    const CommandState state = Update(ID_TAL_SHOW_IN_REPORT);
    EXPECT_FALSE(state.enabled);
    EXPECT_EQ(-1, state.checked);
    Command(ID_TAL_REMOVE_IMAGE);
    EXPECT_EQ(3, a->GetPictureCount());
}

TEST_F(TalDocumentPictures, AnInsertionElsewhereShowsItsSectionAndSelectsTheNewPictures)
{
    AddPictures(b.Get(), {L"C:\\B1.jpg"});
    views->log.clear();
    document->InsertPictures({L"C:\\B2.jpg", L"C:\\B3.jpg"}, -1, b.Get(), true, true);
    EXPECT_EQ(b.Get(), Current());
    EXPECT_TRUE(Logged("select B"));
    EXPECT_EQ("select images 1,2", views->LogWithout({"refresh"}).back());

    // In the current section the panel only adds them.
    views->log.clear();
    document->InsertPictures({L"C:\\B4.jpg"}, 0, nullptr, true, true);
    EXPECT_STREQ(L"B4", b->GetPicture(0)->GetTitle());
    EXPECT_EQ((std::vector<std::string>{"insert images 1", "select images 0"}),
              views->LogWithout({"end ", "leave ", "visible", "refresh"}));
}
