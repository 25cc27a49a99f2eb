// Save, load, save: a document that uses every feature is written again byte
// for byte (every field, picture and template it carries), in each picture
// storage mode.
#include "DocumentFixture.h"

#include "files/XmlValueForms.h"

#include <gtest/gtest.h>

#include <string>

using namespace doctest;

namespace {

class RoundTrip : public DocumentFiles, public ::testing::WithParamInterface<int32_t> {};

}  // namespace

TEST_P(RoundTrip, TheDocumentComesBackEqualAndIsWrittenAgainByteForByte)
{
    const int32_t mode = GetParam();
    const std::wstring pictures = m_dir.Path() + L"pictures\\";
    ::CreateDirectoryW(pictures.c_str(), nullptr);
    const Templates templates = AddManagerTemplates(pictures);
    const std::wstring path = File(L"Bericht.otd");
    std::string first;
    {
        CTalBaseDocument document;
        BuildFullDocument(document, pictures, templates);
        document.GetProperties().m_imageSaveType = mode;
        CRecordingSerializer writer;
        ASSERT_TRUE(Save(document, path, &writer));
        EXPECT_TRUE(writer.dialogs.empty()) << filestest::ToAnsi(writer.AllLines());
        first = filestest::ReadBytes(path);
        ASSERT_FALSE(first.empty());
        EXPECT_TRUE(filestest::IsWellFormedXml(path));

        CTalBaseDocument loaded;
        CRecordingSerializer reader;
        ASSERT_TRUE(Load(loaded, path, &reader));
        EXPECT_TRUE(reader.dialogs.empty()) << filestest::ToAnsi(reader.AllLines());
        EXPECT_TRUE(reader.messages.empty());
        EXPECT_EQ(g_TemplateManager.GetPageTemplates().size(), 2u) << "known templates are not added again";
        EXPECT_EQ(g_TemplateManager.GetTitlePageTemplates().size(), 1u);
        EXPECT_TRUE(FilesIn(TemplateFolder()).empty()) << "known templates are not written";

        ASSERT_TRUE(Save(loaded, path));
        EXPECT_EQ(filestest::ReadBytes(path), first) << "save, load, save is byte-identical";
    }
    const std::wstring folder = File(L"Bericht Images") + L"\\";
    const std::vector<std::wstring> inFolder = FilesIn(folder);
    if (mode == 0) {
        EXPECT_EQ(::GetFileAttributesW(folder.c_str()), INVALID_FILE_ATTRIBUTES);
    } else if (mode == 1) {
        EXPECT_EQ(inFolder.size(), 2u) << "the two pictures of the store moved there";
    } else {
        EXPECT_EQ(inFolder.size(), 4u) << "every picture copied there";
        // A copy keeps its picture's time of change, as a copy by the system does.
        auto changed = [](const std::wstring& file) {
            WIN32_FILE_ATTRIBUTE_DATA data = {};
            ::GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data);
            return (uint64_t(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
        };
        size_t compared = 0;
        for (const std::wstring& name : FilesIn(pictures)) {
            if (::GetFileAttributesW((folder + name).c_str()) == INVALID_FILE_ATTRIBUTES)
                continue;
            ++compared;
            EXPECT_EQ(changed(pictures + name), changed(folder + name)) << filestest::ToAnsi(name);
        }
        EXPECT_GT(compared, 0u);
    }
    const size_t images = first.find("<Images ");
    const std::string imageList = first.substr(images, first.find("</Images>") - images);
    EXPECT_EQ(imageList.find("FileFormat") != std::string::npos, mode == 0)
        << "pictures are embedded in mode 0 only";
}

TEST_P(RoundTrip, TemplatesTheManagerDoesNotKnowAreWrittenAndRegistered)
{
    const int32_t mode = GetParam();
    const std::wstring pictures = m_dir.Path() + L"pictures\\";
    ::CreateDirectoryW(pictures.c_str(), nullptr);
    const std::wstring path = File(L"carried.otd");
    std::string first;
    {
        Templates templates = AddManagerTemplates(pictures);
        CTalBaseDocument document;
        BuildFullDocument(document, pictures, templates);
        document.GetProperties().m_imageSaveType = mode;
        ASSERT_TRUE(Save(document, path));
        first = filestest::ReadBytes(path);
    }
    // Another installation: none of the document's templates is known but
    // one, whose title sorts before the document's.
    g_TemplateManager.Clear();
    auto* blank = new CTalTitlePageTemplate;
    blank->SetName(L"blank.ott");
    blank->SetTitle(L"Blank");
    g_TemplateManager.AddTitlePageTemplate(blank);
    {
        // Loaded while the picture store keeps nothing: no template goes
        // without its pictures into the template folder, and no save writes
        // the report without them.
        const wchar_t* readOnly = _wgetenv(L"OT_READONLY_VOLUME");
        ASSERT_TRUE(readOnly) << "scripts/wine-run.sh mounts a read-only volume";
        CStoreFolderOn store(readOnly);
        CTalBaseDocument unkept;
        CRecordingSerializer reader;
        Load(unkept, path, &reader);
        EXPECT_NE(reader.AllLines().find(L"The TitlePreview could not be kept in "), std::wstring::npos);
        EXPECT_FALSE(filestest::FileExists(TemplateFolder() + L"Classic \x0416.ott"));
        EXPECT_FALSE(filestest::FileExists(TemplateFolder() + L"Page One.otl"));
        EXPECT_FALSE(Save(unkept, path));
        EXPECT_EQ(filestest::ReadBytes(path), first);

        // A new report takes the first title template by title; one that
        // names the carried title or page template, or holds pictures pasted
        // from this report, writes nothing.
        CTalBaseDocument fresh;
        CTalDocProperties& props = fresh.GetProperties();
        EXPECT_EQ(Wide(props.m_titleTemplateName), L"blank.ott");
        const std::wstring freshPath = File(L"fresh.otd");
        const struct { const wchar_t *title, *page; bool saves; } namings[] = {
            {L"Classic \x0416.ott", L"", false}, {L"", L"Page One.otl", false}, {L"", L"Zwei \x0416.otl", true}};
        for (const auto& naming : namings) {
            props.m_titleTemplateName = naming.title;
            props.GetHeadingSection()->SetOwnTemplate(*naming.page ? 1 : 0);
            props.GetHeadingSection()->SetTemplateName(naming.page);
            EXPECT_EQ(Save(fresh, freshPath), naming.saves)
                << filestest::ToAnsi(naming.title) << filestest::ToAnsi(naming.page);
            EXPECT_EQ(filestest::FileExists(freshPath), naming.saves);
        }
        ASSERT_TRUE(PasteThroughClipboard(
            unkept.GetProperties().GetHeadingSection()->GetSubSections()[0]->GetPictures(), props.GetHeadingSection().Get()));
        const std::string freshBytes = filestest::ReadBytes(freshPath);
        EXPECT_EQ(Save(fresh, freshPath), mode != 0) << "pictures kept beside a report are files of their own";
        EXPECT_EQ(filestest::ReadBytes(freshPath) == freshBytes, mode == 0);
    }
    // The store back, the report's own copies fill the templates again.
    CTalBaseDocument loaded;
    CRecordingSerializer reader;
    ASSERT_TRUE(Load(loaded, path, &reader));
    EXPECT_TRUE(reader.dialogs.empty()) << filestest::ToAnsi(reader.AllLines());
    ASSERT_EQ(g_TemplateManager.GetTitlePageTemplates().size(), 2u);
    ASSERT_EQ(g_TemplateManager.GetPageTemplates().size(), 2u);
    const CTalTemplate* title = g_TemplateManager.FindTitlePageTemplate(L"Classic \x0416.ott");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(Wide(title->GetTitle()), L"Classic \x201ETitle\x201C & co");
    EXPECT_EQ(PictureBytes(title->GetPreviewPictureId()), RealPicture("png", 700));
    EXPECT_EQ(PictureBytes(title->GetBackgroundPictureId()), RealPicture("jpg", 900));
    ASSERT_NE(title->GetCells(CTalTemplate::kCellLogo), nullptr);
    const CTalTemplate* second = g_TemplateManager.FindPageTemplate(L"Zwei \x0416.otl");
    ASSERT_NE(second, nullptr);
    ASSERT_NE(second->GetCells(CTalTemplate::kCellPictures), nullptr);
    EXPECT_EQ(second->GetCells(CTalTemplate::kCellPictures)->size(), 2u) << "its own cells, once";
    EXPECT_EQ(second->GetPreviewPictureId(), 0);
    const CTalTemplate* pageOne = g_TemplateManager.FindPageTemplate(L"Page One.otl");
    ASSERT_NE(pageOne, nullptr);
    EXPECT_EQ(PictureBytes(pageOne->GetPreviewPictureId()), RealPicture("gif", 300));
    EXPECT_EQ(pageOne->GetCells(CTalTemplate::kCellHeading)->size(), 1u);
    // Written into the template folder, under names outside the ANSI code page too.
    EXPECT_TRUE(filestest::FileExists(TemplateFolder() + L"Classic \x0416.ott"));
    EXPECT_TRUE(filestest::FileExists(TemplateFolder() + L"Zwei \x0416.otl"));
    EXPECT_TRUE(filestest::FileExists(TemplateFolder() + L"Page One.otl"));
    for (const wchar_t* written : {L"Classic \x0416.ott", L"Page One.otl"}) {
        const std::string file = filestest::ReadBytes(TemplateFolder() + written);
        EXPECT_NE(file.find("Preview FileFormat="), std::string::npos) << "a template file holds its preview";
    }
    ASSERT_TRUE(Save(loaded, path));
    EXPECT_EQ(filestest::ReadBytes(path), first);

    // A third load finds the files: the templates are read from them.
    g_TemplateManager.Clear();
    CTalBaseDocument again;
    ASSERT_TRUE(Load(again, path));
    ASSERT_NE(g_TemplateManager.FindPageTemplate(L"Zwei \x0416.otl"), nullptr);
    EXPECT_EQ(g_TemplateManager.FindPageTemplate(L"Zwei \x0416.otl")->GetCells(CTalTemplate::kCellPictures)->size(),
              2u)
        << "the file's cells, not doubled by the document's";
    ASSERT_TRUE(Save(again, path));
    EXPECT_EQ(filestest::ReadBytes(path), first);
}

// Reports named outside the ANSI code page, or copying their pictures beside
// them with dots together or first in theirs and their pictures' names (the
// last one's text as long as a refused link's end, copied and renamed beside
// them) or blanks of any kind at either end, beside "Trip" whose photographs
// differ (by the first character): each reads back whole, and embedded.
TEST_F(DocumentFiles, ADocumentNameOutsideTheAnsiCodePageOrWithDotsSavesAndLoads)
{
    const std::wstring pictures = m_dir.Path() + L"pictures\\";
    ::CreateDirectoryW(pictures.c_str(), nullptr);
    const Templates templates = AddManagerTemplates(pictures);
    const std::wstring dots[] = {L"IMG..1.jpg", L"a...jpg", std::wstring(93, L'p') + L"..1.jpg"};
    const struct { const wchar_t *name; int mode; const wchar_t *second = nullptr, *as = nullptr; } rows[] = {
        {L"\x0416\x4E2D \xD83D\xDE00.otd", 0}, {L"Trip..2026.otd", 2}, {L"...Trip.otd", 2}, {L"...Trip3.otd", 2},
        {L"...Trip3.otd", 2, nullptr, L"...Trip3 - Copy.otd"}, {L"...Trip3.otd", 2, nullptr, L"Trip3.otd"},
        {L"Trip.otd", 2, L"b\x3000"}, {L" Trip.otd", 2, L"b\x3000"}, {L"Trip .otd", 2, L"b\xA0"},
        {L"\x3000Trip.otd", 2, L"b\xA0"}, {L"Trip\x3000.otd", 2, L"b\x3000"}, {L"\xA0Trip.otd", 2, L"b\x2028"},
        {L"Trip\xA0.otd", 2, L"b\x3000"}, {L"\x3000Trip1.otd", 1, L"b\xA0"}, {L"Trip1\xA0.otd", 1, L"b\x2028"}};
    for (const auto& row : rows) {
        const wchar_t* name = row.name;
        SCOPED_TRACE(filestest::ToAnsi(row.as ? row.as : name) + ", row " + std::to_string(&row - rows));
        const bool copies = row.mode != 0;
        CTalBaseDocument document;
        BuildFullDocument(document, pictures, templates);
        document.GetProperties().m_imageSaveType = row.mode;
        for (int i = 0; i < (copies ? 2 : 0); ++i)
            AddPicture(document.GetProperties().GetHeadingSection().Get(),
                       OutsidePicture(pictures + (i && row.second ? row.second : dots[!i && name[7] == L'3' ? 2 : i]),
                                      RealPicture("jpg", 70 + i + 2 * name[0])));
        const std::wstring path = File(name), opened = row.as ? File(row.as) : path;
        ASSERT_TRUE(Save(document, path));
        const std::string first = filestest::ReadBytes(path);
        ASSERT_TRUE(!row.as || (row.as[0] == L'.' ? ::CopyFileW(path.c_str(), opened.c_str(), TRUE)
                                                  : ::MoveFileW(path.c_str(), opened.c_str())));
        CTalBaseDocument loaded;
        CRecordingSerializer reader;
        ASSERT_TRUE(Load(loaded, opened, &reader));
        EXPECT_TRUE(reader.dialogs.empty() && reader.messages.empty()) << filestest::ToAnsi(reader.AllLines());
        CKWRefPtr<CTalSection> back = loaded.GetProperties().GetHeadingSection();
        for (int i = 0; i < (copies ? 2 : 0); ++i)
            EXPECT_EQ(PictureBytes(back->GetPicture(back->GetPictureCount() - 2 + i)->GetPictureId()),
                      RealPicture("jpg", 70 + i + 2 * name[0]));
        ASSERT_TRUE(Save(loaded, path));
        EXPECT_EQ(filestest::ReadBytes(path), first);
        loaded.GetProperties().m_imageSaveType = 0;
        ASSERT_TRUE(Save(loaded, File(L"inside.otd")));
        const std::string inside = filestest::ReadBytes(File(L"inside.otd"));
        for (int i = 0; i < (copies ? 2 : 0); ++i) {
            const std::string bytes = RealPicture("jpg", 70 + i + 2 * name[0]);
            EXPECT_NE(inside.find(XmlBinaryForm(bytes.data(), int32_t(bytes.size()))), std::string::npos);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(StorageModes, RoundTrip, ::testing::Values(0, 1, 2));
