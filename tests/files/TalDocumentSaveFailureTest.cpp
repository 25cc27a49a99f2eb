// A save that cannot be completed reports false and changes nothing: the
// previous file, the picture files and the model's picture ids stay as they were.
#include "DocumentFixture.h"

#include "files/TalTemplateFolder.h"
#include "files/TalTemplateTags.h"
#include "files/XmlValueForms.h"
#include "framework/KWOutputRecord.h"
#include "tests/support/SmallVolume.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

using namespace doctest;

namespace {

// From HeldStoreFile on, a picture's file that the save cannot read (from CarriedTemplate on, a template's too).
enum class Failure { LockedTarget, ReadOnlyTarget, FullDisk, MissingFolder, HeldStoreFile, DeletedStoreFiles,
                     ChangedReport, HeldLinkedFile, StampKeptDigit, StampKeptPicture, CarriedTemplate, CarriedUtf16,
                     CarriedSharedHold, CarriedStoreGone };

const char* NameOf(Failure failure)
{
    const char* const names[] = {"locked target", "read-only target", "full disk", "missing folder",
                                 "store file held", "store files deleted", "report changed", "linked file held",
                                 "digit changed in place", "other picture in place", "template carried",
                                 "template carried, UTF-16", "template carried, store held sharing",
                                 "template carried, store folder deleted"};
    return names[static_cast<int>(failure)];
}

std::vector<int32_t> PictureIds(const CTalBaseDocument& document)
{
    std::vector<int32_t> ids{document.GetProperties().m_logoPictureId};
    std::vector<CTalSection*> pending{document.GetProperties().GetHeadingSection().Get()};
    while (!pending.empty()) {
        CTalSection* section = pending.back();
        pending.pop_back();
        for (const auto& picture : section->GetPictures())
            ids.push_back(picture->GetPictureId());
        for (const auto& child : section->GetSubSections())
            pending.push_back(child.Get());
    }
    return ids;
}

class SaveFailure : public DocumentFiles, public ::testing::WithParamInterface<std::tuple<int32_t, Failure>> {
    protected: void SaveUnreadPictures(int32_t mode, Failure failure);
    void SaveCarriedTemplate(int32_t mode, Failure failure);
};

// Save As, then Save, of the report read anew: a picture taken from the
// report's file is written whole (again from the file just written); one that
// nothing holds as it was refuses the save, which names it.
void SaveFailure::SaveUnreadPictures(int32_t mode, Failure failure)
{
    const bool linked = failure == Failure::HeldLinkedFile, held = failure == Failure::HeldStoreFile || linked;
    const bool kept = failure == Failure::StampKeptDigit || failure == Failure::StampKeptPicture;
    const bool refused = failure == Failure::ChangedReport || kept || (linked && mode != 1);
    const std::string pictures[] = {RealPicture(kept ? "bmp" : "jpg", 61), RealPicture("png", 62)};
    const std::wstring path = File(L"unread.otd");
    {
        CTalBaseDocument written;
        written.GetProperties().m_imageSaveType = linked ? 1 : 0;
        CKWRefPtr<CTalSection> heading = written.GetProperties().GetHeadingSection();
        AddPicture(heading.Get(),
                   linked ? OutsidePicture(File(L"linked.jpg"), pictures[0]) : StorePicture(pictures[0]));
        AddPicture(AddSection(heading.Get(), L"s").Get(), StorePicture(pictures[1], "png"));
        written.GetProperties().m_logoPictureId = heading->GetPicture(0)->GetPictureId();
        ASSERT_TRUE(Save(written, path));
    }
    const std::string written = filestest::ReadBytes(path);
    for (const std::wstring& target : {File(L"saved as.otd"), path}) {
        SCOPED_TRACE(filestest::ToAnsi(target));
        filestest::WriteBytes(path, written);
        CTalBaseDocument document;
        ASSERT_TRUE(Load(document, path));
        document.GetProperties().m_imageSaveType = mode;
        const std::vector<int32_t> ids = PictureIds(document);
        auto fileOf = [](int32_t id) { return Wide(g_rasterLib.GetImagePath(static_cast<uint32_t>(id))); };
        // Held without sharing, as another program holds it, or deleted.
        HANDLE hold = held ? ::CreateFileW(fileOf(ids[0]).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)
                           : INVALID_HANDLE_VALUE;
        ASSERT_TRUE(!held || hold != INVALID_HANDLE_VALUE);
        for (int32_t id : held ? std::vector<int32_t>{} : ids)
            ::DeleteFileW(fileOf(id).c_str());
        if (failure == Failure::ChangedReport)
            filestest::WriteBytes(path, filestest::ReadBytes(path) + "\r\n");
        if (kept) {  // rewritten in place at its time (as a sync tool does): a digit, or another picture's text
            const std::string other = RealPicture("bmp", 96);
            size_t at = written.find('\n', written.find("<Image ID='1'")) + 1;
            std::string text = XmlBinaryForm(other.data(), int32_t(other.size()));
            if (failure == Failure::StampKeptDigit)
                text = written[at += 99] == 'B' ? "C" : "B";
            HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, 0);
            FILETIME time;
            DWORD done = 0;
            ASSERT_TRUE(::GetFileTime(file, nullptr, nullptr, &time) && ::SetFilePointer(file, LONG(at), nullptr, 0) == at
                        && ::WriteFile(file, text.data(), DWORD(text.size()), &done, nullptr) &&
                        ::SetFileTime(file, nullptr, nullptr, &time) && ::CloseHandle(file));
        }
        const std::string earlier = filestest::ReadBytes(path);
        const std::vector<std::wstring> files = FilesIn(m_dir.Path());
        const size_t storeFiles = StoreFileCount();
        CRecordingSerializer serializer;
        EXPECT_EQ(Save(document, target, &serializer), !refused);
        ::CloseHandle(hold);
        if (refused) {
            EXPECT_EQ(filestest::ReadBytes(path), earlier);
            EXPECT_EQ(FilesIn(m_dir.Path()), files) << "no new file, no temporary one";
            EXPECT_EQ(StoreFileCount(), storeFiles) << "nothing taken anew is left";
            EXPECT_EQ(PictureIds(document), ids);
            const std::wstring copy = L" cannot be read from its copy ", gone = L": it no longer exists.\n";
            const std::wstring lines =
                linked ? L"The picture file " + fileOf(ids[0]) + L" cannot be read: it is open in another program.\n"
                       : L"The picture " + path + L" (the title page's logo)" + copy + fileOf(ids[0]) + gone +
                             (kept ? L"" : L"The picture " + path + L" (section \"s\", picture \"\")" + copy +
                                               fileOf(ids[2]) + gone);
            EXPECT_EQ(serializer.AllLines(), lines + L"The document is not saved: it would lose these pictures.\n");
            continue;
        }
        // Saved again once the files written go too, in the mode of the row.
        for (int32_t id : mode == 0 && !linked ? PictureIds(document) : std::vector<int32_t>{})
            ::DeleteFileW(fileOf(id).c_str());
        ASSERT_TRUE(Save(document, target));
        CTalBaseDocument back;
        ASSERT_TRUE(Load(back, target));
        const std::vector<int32_t> backIds = PictureIds(back);  // logo, the heading's, the section's
        ASSERT_EQ(backIds.size(), 3u);
        for (size_t i = 0; i < 3; ++i)
            EXPECT_EQ(PictureBytes(backIds[i]), pictures[i / 2]) << i;
    }
}

// A report carrying a page template the templates folder lacks, read (also from UTF-16), saved, saved as
// another and twice more, its store copies deleted (or held sharing reading and deleting, or the store's whole
// folder deleted) before each save: each file holds the preview and the picture whole.
void SaveFailure::SaveCarriedTemplate(int32_t mode, Failure failure)
{
    const std::wstring storeFolder = File(L"store\\");
    ::CreateDirectoryW(storeFolder.c_str(), nullptr);
    const bool folderGoes = failure == Failure::CarriedStoreGone;
    std::unique_ptr<CStoreFolderOn> store(folderGoes ? new CStoreFolderOn(storeFolder) : nullptr);
    const std::string preview = RealPicture("gif", 300), photo = RealPicture("jpg", 72);  // the first template's
    const std::wstring path = File(L"carried.otd"), name = Wide(AddManagerTemplates(m_dir.Path()).first->GetName());
    CTalBaseDocument written, document;
    written.GetProperties().GetHeadingSection()->SetOwnTemplate(1);
    written.GetProperties().GetHeadingSection()->SetTemplateName(name.c_str());
    AddPicture(written.GetProperties().GetHeadingSection().Get(), StorePicture(photo));
    ASSERT_TRUE(Save(written, path));
    g_TemplateManager.Clear();
    if (failure == Failure::CarriedUtf16)
        filestest::WriteBytes(path, Utf16(filestest::ReadBytes(path), false));
    ASSERT_TRUE(Load(document, path));
    document.GetProperties().m_imageSaveType = mode;
    for (const std::wstring& target : {path, File(L"saved as.otd"), File(L"saved as.otd"), File(L"saved as.otd")}) {
        std::vector<HANDLE> holds;
        for (int32_t id : {g_TemplateManager.FindPageTemplate(name.c_str())->GetPreviewPictureId(),
                           document.GetProperties().GetHeadingSection()->GetPicture(0)->GetPictureId()}) {
            const CString file = g_rasterLib.GetImagePath(uint32_t(id));
            if (failure == Failure::CarriedSharedHold)
                holds.push_back(::CreateFileW(file, GENERIC_READ | DELETE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                              OPEN_EXISTING, 0, nullptr));
            else if (g_rasterLib.IsStoreFile(file))
                ::DeleteFileW(file);
        }
        for (const std::wstring& file : folderGoes ? FilesIn(storeFolder) : std::vector<std::wstring>{})
            ::DeleteFileW((storeFolder + file).c_str());
        ASSERT_TRUE(!folderGoes || ::RemoveDirectoryW(storeFolder.c_str()));
        EXPECT_TRUE(Save(document, target)) << filestest::ToAnsi(target);
        for (HANDLE hold : holds)
            ::CloseHandle(hold);
        const std::string saved = filestest::ReadBytes(target);
        EXPECT_EQ(ReadersPictures(saved, "LeafPreview"), std::vector<std::string>{preview});
        if (mode == 0)
            EXPECT_EQ(ReadersPictures(saved, "Image"), std::vector<std::string>{photo});
    }
}

}  // namespace

TEST_P(SaveFailure, LeavesThePreviousFileThePicturesAndTheModelAsTheyWere)
{
    const int32_t mode = std::get<0>(GetParam());
    const Failure failure = std::get<1>(GetParam());
    SCOPED_TRACE(std::string(NameOf(failure)) + ", mode " + std::to_string(mode));
    if (failure >= Failure::CarriedTemplate)
        return SaveCarriedTemplate(mode, failure);
    if (failure >= Failure::HeldStoreFile)
        return SaveUnreadPictures(mode, failure);
    const std::wstring path = File(L"keep.otd");
    const std::wstring folder = File(L"keep Images") + L"\\";
    CTalBaseDocument document;
    document.GetProperties().m_imageSaveType = mode;
    CKWRefPtr<CTalSection> heading = document.GetProperties().GetHeadingSection();
    // Bytes that begin as pictures do: a document naming files where they lie takes only those.
    AddPicture(heading.Get(), StorePicture("\xFF\xD8\xFF in the store"));
    AddPicture(heading.Get(), OutsidePicture(File(L"outside.jpg"), "\xFF\xD8\xFF outside"));
    ASSERT_TRUE(Save(document, path));
    const std::string previous = filestest::ReadBytes(path);

    // Pictures the failing save would have to place.
    CKWRefPtr<CTalSection> added = AddSection(heading.Get(), L"added");
    const int32_t stored = StorePicture("\x89PNG\r\n\x1A\n a new one in the store", "png");
    AddPicture(added.Get(), stored);
    AddPicture(added.Get(), OutsidePicture(File(L"new outside.jpg"), "\xFF\xD8\xFF new outside"));
    document.GetProperties().m_logoPictureId = stored;
    const std::wstring storedPath = Wide(g_rasterLib.GetImagePath(static_cast<uint32_t>(stored)));
    const std::vector<int32_t> ids = PictureIds(document);
    const std::vector<std::wstring> folderFiles = FilesIn(folder);
    const std::vector<std::wstring> files = FilesIn(m_dir.Path());
    const size_t storeFiles = StoreFileCount();

    std::wstring target = path;
    HANDLE lock = INVALID_HANDLE_VALUE;
    CRecordingSerializer serializer;
    serializer.SetTemplateFolder(TemplateFolder().c_str());
    switch (failure) {
    case Failure::LockedTarget:
        lock = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(lock, INVALID_HANDLE_VALUE);
        break;
    case Failure::ReadOnlyTarget:
        ASSERT_TRUE(::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
        break;
    case Failure::FullDisk:
        serializer.ReplaceStream(std::make_unique<CFullDiskFile>(300));
        break;
    case Failure::MissingFolder:
        target = File(L"no such folder\\keep.otd");
        break;
    }
    EXPECT_FALSE(serializer.SaveDocument(&document, target.c_str(), nullptr));
    if (lock != INVALID_HANDLE_VALUE)
        ::CloseHandle(lock);
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);

    EXPECT_TRUE(serializer.dialogs.empty());
    EXPECT_EQ(filestest::ReadBytes(path), previous);
    EXPECT_EQ(PictureIds(document), ids) << "the model's pictures are unchanged";
    EXPECT_TRUE(filestest::FileExists(storedPath)) << "a picture of the store is not moved";
    EXPECT_EQ(FilesIn(folder), folderFiles) << "no copy is left in the picture folder";
    EXPECT_EQ(StoreFileCount(), storeFiles) << "no copy is left in the store";
    EXPECT_EQ(FilesIn(m_dir.Path()), files) << "no temporary file is left";

    // Once the way is free the same document saves and reads back whole.
    ExpectRoundTrip(document, path);
}

INSTANTIATE_TEST_SUITE_P(EveryModeAndFailure, SaveFailure,
                         ::testing::Combine(::testing::Values(0, 1, 2),
                                            ::testing::Values(Failure::LockedTarget, Failure::ReadOnlyTarget,
                                                              Failure::FullDisk, Failure::MissingFolder,
                                                              Failure::HeldStoreFile, Failure::DeletedStoreFiles,
                                                              Failure::ChangedReport, Failure::HeldLinkedFile,
                                                              Failure::StampKeptDigit, Failure::StampKeptPicture,
                                                              Failure::CarriedTemplate, Failure::CarriedUtf16,
                                                              Failure::CarriedSharedHold,
                                                              Failure::CarriedStoreGone)));

TEST_F(DocumentFiles, APictureFolderThatCannotBeMadeFailsTheSave)
{
    for (int32_t mode : {1, 2}) {
        const std::wstring path = File(L"blocked.otd");
        filestest::WriteBytes(File(L"blocked Images"), "a file where the folder would be");
        CTalBaseDocument document;
        document.GetProperties().m_imageSaveType = mode;
        const int32_t stored = StorePicture("stays in the store");
        AddPicture(document.GetProperties().GetHeadingSection().Get(), stored);
        const std::wstring storedPath = Wide(g_rasterLib.GetImagePath(static_cast<uint32_t>(stored)));
        EXPECT_FALSE(Save(document, path)) << mode;
        EXPECT_FALSE(filestest::FileExists(path)) << mode;
        EXPECT_TRUE(filestest::FileExists(storedPath)) << mode;
        EXPECT_EQ(document.GetProperties().GetHeadingSection()->GetPicture(0)->GetPictureId(), stored);
    }
}

TEST_F(DocumentFiles, ACopyNeverOverwritesAnotherPictureInTheFolder)
{
    const std::wstring folder = File(L"copies Images") + L"\\";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    filestest::WriteBytes(folder + L"photo.jpg", "a picture of an older save");
    const std::wstring other = m_dir.Path() + L"other\\";
    ::CreateDirectoryW(other.c_str(), nullptr);
    CTalBaseDocument document;
    document.GetProperties().m_imageSaveType = 2;
    CKWRefPtr<CTalSection> heading = document.GetProperties().GetHeadingSection();
    const int32_t first = OutsidePicture(File(L"photo.jpg"), "this document's photo");
    const int32_t second = OutsidePicture(other + L"photo.jpg", "another photo of the same name");
    const std::wstring third = m_dir.Path() + L"third\\";
    ::CreateDirectoryW(third.c_str(), nullptr);
    const int32_t same = OutsidePicture(third + L"photo.jpg", "a picture of an older save");
    AddPicture(heading.Get(), first);
    AddPicture(heading.Get(), second);
    AddPicture(heading.Get(), same);
    const std::wstring path = File(L"copies.otd");
    ASSERT_TRUE(Save(document, path));
    EXPECT_EQ(filestest::ReadBytes(folder + L"photo.jpg"), "a picture of an older save");
    const std::string bytes = filestest::ReadBytes(path);
    EXPECT_NE(bytes.find("<Image ID='1'>\r\ncopies Images\\photo (2).jpg\t\t</Image>"), std::string::npos);
    EXPECT_NE(bytes.find("<Image ID='2'>\r\ncopies Images\\photo (3).jpg\t\t</Image>"), std::string::npos);
    EXPECT_NE(bytes.find("<Image ID='3'>\r\ncopies Images\\photo.jpg\t\t</Image>"), std::string::npos)
        << "the file already there is this very picture: no copy needed";
    ExpectRoundTrip(document, path);
}

// A picture whose file name gives no picture format (an extension too long,
// none, a dot in its folder's name) is written under the type its bytes
// show, which every reader takes, or under none: each reads back whole.
TEST_F(DocumentFiles, APictureWhoseNameGivesNoFormatIsWrittenUnderTheTypeItsBytesShow)
{
    const std::wstring path = File(L"formats.otd");
    CTalBaseDocument document;
    CKWRefPtr<CTalSection> heading = document.GetProperties().GetHeadingSection();
    const std::string odd = "\xFF\xD8\xFF its extension is too long";
    ASSERT_TRUE(::CreateDirectoryW(File(L"2026.06").c_str(), nullptr));
    AddPicture(heading.Get(), OutsidePicture(File(L"scan.jpeg2000"), odd));
    AddPicture(heading.Get(), OutsidePicture(File(L"2026.06\\scan"), "no picture"));
    ASSERT_TRUE(Save(document, path));
    EXPECT_NE(filestest::ReadBytes(path).find("FileFormat='jpg'>"), std::string::npos);
    EXPECT_NE(filestest::ReadBytes(path).find("FileFormat=''>"), std::string::npos);
    CTalBaseDocument back;
    ASSERT_TRUE(Load(back, path));
    EXPECT_EQ(PictureBytes(back.GetProperties().GetHeadingSection()->GetPicture(0)->GetPictureId()), odd);
    EXPECT_EQ(PictureBytes(back.GetProperties().GetHeadingSection()->GetPicture(1)->GetPictureId()), "no picture");
}

// Each cause of a refused write, met by a save of the report and by a
// generation's file at the same place, gives both the same true reason; a
// report loaded while the picture store's disk is full says so too.
TEST_F(DocumentFiles, ASaveAndAGenerationGiveTheSameTrueReasonForEachCause)
{
    CSmallVolume volume;
    const wchar_t* readOnly = _wgetenv(L"OT_READONLY_VOLUME");
    ASSERT_TRUE(volume.Ready() && readOnly) << "scripts/wine-run.sh mounts a read-only volume beside the small one";
    enum Cause { kReadOnlyVolume, kHeldOpen, kFullDisk, kFolderInPlace, kFileInPlace, kHeldOpenFullDisk, kFullStore };
    const wchar_t* reasons[] = {L"its disk is read-only", L"The file is open in another program.",
                                L"The disk is full.", L"A folder of this name stands where the file goes.",
                                L"is a file, not a folder: nothing can be written inside it.", L"The disk is full.",
                                L"The disk is full."};
    CTalBaseDocument document;
    AddPicture(document.GetProperties().GetHeadingSection().Get(),
               OutsidePicture(File(L"photo.jpg"), RealPicture("jpg", 7) + std::string(64 * 1024, '\0')));
    const std::wstring report = File(L"report.otd");
    ASSERT_TRUE(Save(document, report));
    for (const Cause cause :
         {kReadOnlyVolume, kHeldOpen, kFullDisk, kFolderInPlace, kFileInPlace, kHeldOpenFullDisk, kFullStore}) {
        SCOPED_TRACE(cause);
        const std::wstring folder = cause == kReadOnlyVolume ? std::wstring(readOnly) : volume.Path();
        std::wstring target = folder + L"report" + std::to_wstring(cause) + L".otd";
        if (cause == kHeldOpen || cause == kHeldOpenFullDisk)
            filestest::WriteBytes(target, "earlier");
        HANDLE held = ::CreateFileW(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (cause == kFullDisk || cause == kHeldOpenFullDisk || cause == kFullStore)
            ASSERT_TRUE(volume.LeaveRoom(16 * 1024));
        // The picture store on the full disk: the load names each picture
        // it could not keep and why, and the report is not saved without it.
        std::unique_ptr<CStoreFolderOn> store;
        CTalBaseDocument loaded;
        if (cause == kFullStore) {
            store = std::make_unique<CStoreFolderOn>(volume.Path());
            CRecordingSerializer loader;
            ASSERT_TRUE(Load(loaded, report, &loader));
            EXPECT_NE(loader.AllLines().find(L"The picture with ID 1 could not be kept in "), std::wstring::npos);
            EXPECT_NE(loader.AllLines().find(reasons[cause]), std::wstring::npos) << filestest::ToAnsi(loader.AllLines());
        }
        if (cause == kFolderInPlace)
            ASSERT_TRUE(::CreateDirectoryW(target.c_str(), nullptr));
        if (cause == kFileInPlace) {
            filestest::WriteBytes(folder + L"reports", "a file");
            target = folder + L"reports\\report.otd";
        }
        CRecordingSerializer serializer;
        EXPECT_FALSE(Save(cause == kFullStore ? loaded : document, target, &serializer));
        store.reset();
        // As a generation's writer: staged, written (cut short: no error), put in place.
        CKWOutputRecord output;
        const CString staged = output.Stage(target.c_str());
        if (!staged.IsEmpty() && !WriteFileBytes(staged.GetString(), std::string(256 * 1024, 'p')))
            output.Fail(target.c_str(), 0);
        EXPECT_FALSE(output.Commit());
        ::CloseHandle(held);
        volume.Free();
        EXPECT_NE(std::wstring(serializer.GetSaveFailure().GetString()).find(reasons[cause]), std::wstring::npos);
        EXPECT_NE(std::wstring(output.FailureMessage().GetString()).find(reasons[cause]), std::wstring::npos);
    }
}

// With a picture store that keeps nothing from the start (on a read-only
// disk, a full one, or one with room left for one picture), the shipped
// templates are read as the program reads them at start-up, without their
// pictures in the store: a report naming any of them is written with the
// pictures taken from their files as they were read, and reads back with
// them where the templates are not known; a report holding pictures the
// store could not keep, or naming a template whose file changed, is refused.
class KeptNothing : public DocumentFiles, public ::testing::WithParamInterface<int> {};

INSTANTIATE_TEST_SUITE_P(ReadOnlyFullOrFilling, KeptNothing, ::testing::Values(-1, 0, 8 * 1024));

TEST_P(KeptNothing, AStoreThatKeepsNothingFromTheStartRefusesOnlyWhatWouldBeLost)
{
    const std::wstring embedded = File(L"embedded.otd");
    {
        CTalBaseDocument document;
        AddPicture(document.GetProperties().GetHeadingSection().Get(), StorePicture(RealPicture("jpg", 5)));
        ASSERT_TRUE(Save(document, embedded));
    }
    CSmallVolume volume;
    const wchar_t* readOnly = _wgetenv(L"OT_READONLY_VOLUME");
    ASSERT_TRUE(volume.Ready() && readOnly) << "scripts/wine-run.sh mounts a read-only volume beside the small one";
    const std::wstring shipped = filestest::ShippedTemplatePath(L"");
    const std::string classic = filestest::ReadBytes(shipped + L"Classic.ott");
    const int room = GetParam();
    ASSERT_TRUE(room < 0 || volume.LeaveRoom(uint64_t(room)));
    auto store = std::make_unique<CStoreFolderOn>(room < 0 ? std::wstring(readOnly) : volume.Path());
    const std::vector<CString> lines = TalLoadTemplateFolder(shipped.c_str());
    for (const CString& line : lines)
        EXPECT_NE(Wide(line).find(L"It is not shown."), std::wstring::npos) << filestest::ToAnsi(Wide(line));
    EXPECT_TRUE(room > 0 ? lines.size() > 0 && lines.size() < 5 : lines.size() == 5) << lines.size();
    std::vector<std::pair<std::wstring, bool>> named;  // each template, and whether it is a title template
    for (const bool title : {true, false})
        for (CTalTemplate* tmpl : title ? g_TemplateManager.GetTitlePageTemplates() : g_TemplateManager.GetPageTemplates())
            named.emplace_back(Wide(tmpl->GetName()), title);
    ASSERT_EQ(named.size(), 5u);
    for (const auto& [name, title] : named) {
        CTalBaseDocument document;
        document.GetProperties().m_titleTemplateName = title ? name.c_str() : L"";
        document.GetProperties().GetHeadingSection()->SetOwnTemplate(title ? 0 : 1);
        document.GetProperties().GetHeadingSection()->SetTemplateName(name.c_str());
        EXPECT_TRUE(Save(document, File((name + L".otd").c_str()))) << filestest::ToAnsi(name);
    }
    // It carries a page template, whose own file gives its pictures.
    CTalBaseDocument links;
    links.GetProperties().m_imageSaveType = 1;
    links.GetProperties().GetHeadingSection()->SetOwnTemplate(1);
    links.GetProperties().GetHeadingSection()->SetTemplateName(L"TwoPictures");
    AddPicture(links.GetProperties().GetHeadingSection().Get(), OutsidePicture(File(L"a.jpg"), RealPicture("jpg", 7)));
    ASSERT_TRUE(Save(links, File(L"links.otd")));
    CTalBaseDocument linksBack;
    CRecordingSerializer linksReader;
    ASSERT_TRUE(Load(linksBack, File(L"links.otd"), &linksReader));
    EXPECT_EQ(linksReader.AllLines().find(L"has none"), std::wstring::npos) << filestest::ToAnsi(linksReader.AllLines());
    EXPECT_TRUE(Save(linksBack, File(L"links.otd"))) << "a report naming its picture files, read as the store keeps nothing";

    CTalBaseDocument lost;
    const std::string before = filestest::ReadBytes(embedded);
    Load(lost, embedded);
    EXPECT_FALSE(Save(lost, embedded)) << "its picture exists only in its file";
    EXPECT_EQ(filestest::ReadBytes(embedded), before);
    // Its template's file touched (the same text at a new time): saved. Then
    // holding another text of the same size and time (one that would break
    // the report's XML): refused, the file as it was.
    g_TemplateManager.Clear();
    const std::wstring own = File(L"Own\\");
    ::CreateDirectoryW(own.c_str(), nullptr);
    filestest::WriteBytes(own + L"Classic.ott", classic);
    TalLoadTemplateFolder(own.c_str());
    WIN32_FILE_ATTRIBUTE_DATA stamp;
    ASSERT_TRUE(::GetFileAttributesExW((own + L"Classic.ott").c_str(), GetFileExInfoStandard, &stamp));
    for (const bool touched : {true, false}) {
        FILETIME time = stamp.ftLastWriteTime;
        if (touched)
            time.dwHighDateTime += 1;
        else
            filestest::WriteBytes(own + L"Classic.ott",
                                  std::string(classic).replace(classic.find("Qk") + 40, 4, "<!--"));
        HANDLE file = ::CreateFileW((own + L"Classic.ott").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
        ASSERT_TRUE(::SetFileTime(file, nullptr, nullptr, &time));
        ::CloseHandle(file);
        CTalBaseDocument mine;
        EXPECT_EQ(Save(mine, File(L"mine.otd")), touched || room > 0) << "(room left keeps its picture)";
    }
    EXPECT_NE(filestest::ReadBytes(File(L"mine.otd")).find(classic.substr(classic.find("Qk"), 64)), std::string::npos)
        << "the touched file's text";
    EXPECT_EQ(filestest::ReadBytes(shipped + L"Classic.ott"), classic);
    store.reset();
    volume.Free();

    // Opened with the store working where the templates are not known and
    // the templates folder lacks them, as saved and with no format: each
    // preview is the shipped one, and so is the template file written.
    auto previewPixels = [](const std::wstring& name, bool title) {
        const CTalTemplate* tmpl = title ? g_TemplateManager.FindTitlePageTemplate(name.c_str())
                                         : g_TemplateManager.FindPageTemplate(name.c_str());
        KWRasterImagePtr image(g_rasterLib.LoadImage(tmpl ? uint32_t(tmpl->GetPreviewPictureId()) : 0));
        return std::string(reinterpret_cast<const char*>(image.get()), KWRasterImageBytes(*image));
    };
    for (const auto& [name, title] : named) {
        g_TemplateManager.Clear();
        TalLoadTemplateFolder(shipped.c_str());
        const std::string pixels = previewPixels(name, title);
        EXPECT_NE(pixels, previewPixels(L"", true)) << "not the placeholder";
        std::string saved = filestest::ReadBytes(File((name + L".otd").c_str()));
        for (const bool formatless : {false, true}) {
            for (size_t at = saved.find("FileFormat='bmp'"); formatless && at != std::string::npos;
                 at = saved.find("FileFormat='bmp'"))
                saved.erase(at + 12, 3);
            filestest::WriteBytes(File(L"again.otd"), saved);
            for (const std::wstring& written : FilesIn(TemplateFolder()))
                ::DeleteFileW((TemplateFolder() + written).c_str());
            for (const wchar_t* reading : {L"again.otd", L"Data\\"}) {
                g_TemplateManager.Clear();
                CTalBaseDocument back;
                CRecordingSerializer reader;
                const bool read = reading[0] == L'D' ? TalLoadTemplateFolder(TemplateFolder().c_str()).empty()
                                                     : Load(back, File(reading), &reader);
                EXPECT_TRUE(read && reader.AllLines().empty()) << filestest::ToAnsi(reader.AllLines());
                EXPECT_TRUE(previewPixels(name, title) == pixels) << filestest::ToAnsi(name + L", " + reading);
            }
        }
    }
    // The links report holds its template's preview whole: the shipped one.
    g_TemplateManager.Clear();
    TalLoadTemplateFolder(shipped.c_str());
    const std::string twoPictures = previewPixels(L"TwoPictures", false);
    g_TemplateManager.Clear();
    for (const std::wstring& written : FilesIn(TemplateFolder()))
        ::DeleteFileW((TemplateFolder() + written).c_str());
    CTalBaseDocument linksAgain;
    ASSERT_TRUE(Load(linksAgain, File(L"links.otd")));
    EXPECT_TRUE(previewPixels(L"TwoPictures", false) == twoPictures);
}
