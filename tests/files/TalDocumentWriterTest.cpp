// The document writer: the exact text of the format, the tree's numbering,
// the pictures and their ids, the text formats and the error list.
#include "DocumentFixture.h"
#include "model/TalPictureName.h"

#include "files/XmlValueForms.h"
#include "framework/KWRasterLib.h"
#include "model/TalTextFormat.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include <string>

using namespace doctest;

namespace {

size_t CountOf(const std::string& text, const std::string& part)
{
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

// The text from the first occurrence of begin to the end of the first
// occurrence of end after it.
std::string Between(const std::string& text, const std::string& begin, const std::string& end)
{
    const size_t from = text.find(begin);
    const size_t to = text.find(end, from);
    if (from == std::string::npos || to == std::string::npos)
        return std::string();
    return text.substr(from, to + end.size() - from);
}

}  // namespace

TEST_F(DocumentFiles, AMinimalDocumentIsExactlyTheFormat)
{
    CTalBaseDocument document;
    const std::wstring path = File(L"minimal.otd");
    ASSERT_TRUE(Save(document, path));
    const std::string bytes = filestest::ReadBytes(path);
    filestest::ExpectGolden(L"MinimalDocument.otd", bytes);
    EXPECT_TRUE(filestest::IsWellFormedXml(path));
}

TEST_F(DocumentFiles, TheFullDocumentInsideTheFileMatchesItsGoldenFile)
{
    CTalBaseDocument document;
    const Templates templates = AddManagerTemplates(m_dir.Path());
    BuildFullDocument(document, m_dir.Path(), templates);
    document.GetProperties().m_imageSaveType = 0;
    const std::wstring path = File(L"full.otd");
    ASSERT_TRUE(Save(document, path));
    const std::string bytes = filestest::ReadBytes(path);
    filestest::ExpectGolden(L"FullDocument.otd", bytes);
    EXPECT_TRUE(filestest::IsWellFormedXml(path));
    // Every line but the data of pictures is plain ASCII.
    for (unsigned char c : bytes)
        ASSERT_LT(c, 0x80);
}

TEST_F(DocumentFiles, ChildrenAreWrappedInLeafsOnlyWhenThereAreTwoOrMore)
{
    CTalBaseDocument document;
    CKWRefPtr<CTalSection> heading = document.GetProperties().GetHeadingSection();
    heading->SetName(L"H");
    AddSection(heading.Get(), L"two");
    CKWRefPtr<CTalSection> three = AddSection(heading.Get(), L"three");
    AddSection(three.Get(), L"four");
    AddSection(heading.Get(), L"five");
    const std::wstring path = File(L"leafs.otd");
    ASSERT_TRUE(Save(document, path));
    const std::string tree = Between(filestest::ReadBytes(path), "\t<Tree>", "</Tree>\r\n");
    auto leaf = [](int id, int parent, const char* name, const char* indent) {
        return std::string(indent) + "<Leaf ID='" + std::to_string(id) + "' IDParentLeaf='" + std::to_string(parent) +
               "'>\n" + name + indent + "\t<CurLeafTemplate ID='-1'>\n" + indent + "\t</CurLeafTemplate>\n" + indent +
               "</Leaf>\n";
    };
    const std::string expected = "\t<Tree>\n" + leaf(1, 0, "H", "\t\t") + "\t\t<Leafs>\n" +
                                 leaf(2, 1, "two", "\t\t\t") + leaf(3, 1, "three", "\t\t\t") +
                                 leaf(4, 3, "four", "\t\t\t") + leaf(5, 1, "five", "\t\t\t") + "\t\t</Leafs>\n" +
                                 "\t</Tree>\n";
    EXPECT_EQ(tree, filestest::WithCrLf(expected));
}

TEST_F(DocumentFiles, APictureUsedThreeTimesIsStoredOnceAndCopiedIntoTheStoreOnce)
{
    CTalBaseDocument document;
    CTalDocProperties& props = document.GetProperties();
    const int32_t outside = OutsidePicture(File(L"shared.jpg"), "shared picture bytes");
    props.m_logoPictureId = outside;
    CKWRefPtr<CTalSection> heading = props.GetHeadingSection();
    CKWRefPtr<CTalPicture> first = AddPicture(AddSection(heading.Get(), L"one").Get(), outside);
    CKWRefPtr<CTalPicture> second = AddPicture(AddSection(heading.Get(), L"two").Get(), outside);

    const size_t storeFiles = StoreFileCount();
    const std::wstring path = File(L"shared.otd");
    ASSERT_TRUE(Save(document, path));
    const std::string bytes = filestest::ReadBytes(path);
    EXPECT_EQ(CountOf(bytes, "<Image "), 1u);
    EXPECT_EQ(CountOf(bytes, "<ImageListItem ID='1'"), 2u);
    EXPECT_NE(bytes.find("LogoID='1'"), std::string::npos);
    EXPECT_NE(bytes.find("<Image ID='1' FileFormat='jpg'>\r\n" + XmlBinaryForm("shared picture bytes", 20) +
                         "\t\t</Image>"),
              std::string::npos);
    EXPECT_EQ(StoreFileCount(), storeFiles + 1) << "one copy for the three uses";
    // The model names the copy in the store, the same everywhere.
    EXPECT_NE(props.m_logoPictureId, outside);
    EXPECT_EQ(first->GetPictureId(), props.m_logoPictureId);
    EXPECT_EQ(second->GetPictureId(), props.m_logoPictureId);
    EXPECT_EQ(PictureBytes(props.m_logoPictureId), "shared picture bytes");

    // Saving again copies nothing: the picture is in the store already.
    const int32_t stored = props.m_logoPictureId;
    ASSERT_TRUE(Save(document, path));
    EXPECT_EQ(StoreFileCount(), storeFiles + 1);
    EXPECT_EQ(props.m_logoPictureId, stored);
    EXPECT_EQ(filestest::ReadBytes(path), bytes);
    // A warning names the copy by the user's file; read back, by the report and its place.
    EXPECT_EQ(Wide(TalPictureName(props, uint32_t(stored), path.c_str())), File(L"shared.jpg"));
    CTalBaseDocument back;
    ASSERT_TRUE(Load(back, path));
    const uint32_t loaded = uint32_t(back.GetProperties().m_logoPictureId);
    back.GetProperties().m_logoPictureId = 0;
    EXPECT_EQ(Wide(TalPictureName(back.GetProperties(), loaded, L"")), path + L" (section \"one\", picture \"\")");
    const std::wstring copy = Wide(g_rasterLib.GetImagePath(static_cast<uint32_t>(stored)));
    ::DeleteFileW(copy.c_str());
    EXPECT_EQ(Wide(TalPictureName(props, uint32_t(stored), path.c_str())), copy) << "the file that is gone";
}

TEST_F(DocumentFiles, TextFormatsAfterAGapInTheirIdsAreWrittenToo)
{
    CTalBaseDocument document;
    CTalDocProperties& props = document.GetProperties();
    for (int32_t id : {1, 2, 4}) {
        auto* format = new CTalTextFormat;
        format->m_size = static_cast<int16_t>(10 + id);
        format->m_spacing = 1.5f;
        format->m_color = 0xFFFFFFFFu;
        props.SetTextFormat(id, format);
    }
    const std::wstring path = File(L"formats.otd");
    ASSERT_TRUE(Save(document, path));
    const std::string bytes = filestest::ReadBytes(path);
    EXPECT_EQ(CountOf(bytes, "<CharMapItem "), 3u);
    EXPECT_NE(bytes.find("\t\t<CharMapItem Type='4' Style='0' CharSet='0' Size='14' Num='0' Color='-1' Pos='0' "
                         "Count='0' Spacing='1.5' Hyperlink='0' Align='1'>\r\n\t\t</CharMapItem>\r\n"),
              std::string::npos);

    CTalBaseDocument back;
    ASSERT_TRUE(Load(back, path));
    const CTalTextFormat* four = back.GetProperties().GetTextFormat(4, false);
    ASSERT_NE(four, nullptr);
    EXPECT_TRUE(*four == *props.GetTextFormat(4, false)) << "the spacing of one and a half stays";
}

TEST_F(DocumentFiles, SectionsOfOneTemplateReferToTheFirstSectionThatUsesIt)
{
    auto* page = new CTalPageTemplate;
    page->SetName(L"shared.otl");
    page->AddCell(CTalTemplate::kCellText, CKWDoubleRect(0.25, 0.5, 0.75, 1));
    g_TemplateManager.AddPageTemplate(page);
    CTalBaseDocument document;
    CKWRefPtr<CTalSection> heading = document.GetProperties().GetHeadingSection();
    heading->SetOwnTemplate(0);
    AddSection(heading.Get(), L"plain");
    for (const wchar_t* name : {L"x", L"y", L"z"}) {
        CKWRefPtr<CTalSection> section = AddSection(heading.Get(), name);
        section->SetOwnTemplate(1);
        section->SetTemplateName(L"shared.otl");
    }
    CKWRefPtr<CTalSection> lost = AddSection(heading.Get(), L"unknown");
    lost->SetOwnTemplate(1);
    lost->SetTemplateName(L"nowhere.otl");
    const std::wstring path = File(L"templates.otd");
    ASSERT_TRUE(Save(document, path));
    const std::string bytes = filestest::ReadBytes(path);
    EXPECT_EQ(CountOf(bytes, "<CurLeafTemplate ID='3'>"), 3u) << "Leafs 3, 4 and 5 use the template of Leaf 3";
    EXPECT_EQ(CountOf(bytes, "<CurLeafTemplate ID='6'>"), 1u) << "an unknown template is its section's own";
    EXPECT_EQ(CountOf(bytes, "<LeafTemplate "), 1u);
    EXPECT_NE(bytes.find("\t<LeafTemplate ID='3' FileName='shared.otl'>\r\n"
                         "\t\t<LeafRectArray Type='2'>\r\n"
                         "\t\t\t<LeafRectArrayItem Left='0.25' Right='0.75' Top='0.5' Bottom='1'>\r\n"
                         "\t\t\t</LeafRectArrayItem>\r\n"
                         "\t\t</LeafRectArray>\r\n"
                         "\t</LeafTemplate>\r\n"
                         "</TallierDocument>\r\n"),
              std::string::npos);
}

TEST_F(DocumentFiles, ValuesAreWrittenInTheirForms)
{
    CTalBaseDocument document;
    CTalDocProperties& props = document.GetProperties();
    props.m_title = L"It's \x0416\f!";
    props.SetCustomWidthText(L"5' 3\"");
    auto* picture = new CTalWatermark;
    picture->m_kind = CTalWatermark::kImage;
    picture->m_width = 12.0;
    picture->m_height = 0.25;
    props.AddWatermark(picture);
    auto* millimetres = new CTalWatermark(*picture);
    millimetres->m_unit = CTalWatermark::kUnitMillimetre;
    props.AddWatermark(millimetres);
    const std::wstring path = File(L"forms.otd");
    ASSERT_TRUE(Save(document, path));
    const std::string bytes = filestest::ReadBytes(path);
    EXPECT_NE(bytes.find(" Title='It&apos;s &#x416;!'>"), std::string::npos) << "form feed dropped";
    EXPECT_NE(bytes.find(" PageCustSizeX='5&apos; 3&quot;'"), std::string::npos) << "a typed measure is escaped";
    EXPECT_NE(bytes.find("<WatermarkItem Type='1' Name='' Place='1' SendToFront='0' PicID='0' Constrain='1' "
                         "Width='12' Height='0.25'>"),
              std::string::npos)
        << "no Unit for the default unit code";
    EXPECT_NE(bytes.find("PicID='0' Constrain='1' Unit='1' Width='12' Height='0.25'>"), std::string::npos);
    EXPECT_TRUE(filestest::IsWellFormedXml(path));
    CTalBaseDocument back;
    ASSERT_TRUE(Load(back, path));
    EXPECT_EQ(Wide(back.GetProperties().GetCustomWidthText()), L"5' 3\"");
    EXPECT_EQ(Wide(back.GetProperties().m_title), L"It's \x0416!");
}

// A picture file that is gone, or that is empty when the pictures are embedded,
// is named in the save's messages: an empty one as empty, and embedded as the
// placeholder it shows, so that the report does not come back without it.
TEST_F(DocumentFiles, AMissingOrEmptyPictureFileIsListedAndTheSaveSucceedsWhereNoPictureIsLost)
{
    // A photograph cut short after its check is stored as it now is, and named;
    // a file missing when its report named it as well. A picture added whose
    // file went since, and one of the store, would be lost: the save is refused.
    for (const char* kind : {"gone", "empty", "cut", "stored", "from the start"}) {
        const bool empty = kind[0] == 'e', cut = kind[0] == 'c', stored = kind[0] == 's', fromStart = kind[0] == 'f';
        SCOPED_TRACE(kind);
        CTalBaseDocument document;
        const std::string photograph = RealPicture("jpg", 11);
        const int32_t inStore = stored ? StorePicture("x", "png") : 0;
        const std::wstring picturePath = stored ? Wide(g_rasterLib.GetImagePath(uint32_t(inStore)))
                                                : File(empty ? L"empty.png" : cut ? L"cut.jpg" : L"gone.png");
        const int32_t id = stored ? inStore : OutsidePicture(picturePath, empty ? "" : cut ? photograph : "x");
        if (cut) {
            ASSERT_EQ(g_rasterLib.GetPictureState(static_cast<uint32_t>(id), false), KWPictureState::Sound);
            filestest::WriteBytes(picturePath, photograph.substr(0, photograph.size() / 2));
        } else if (!empty) {
            ::DeleteFileW(picturePath.c_str());
        }
        CKWRefPtr<CTalSection> heading = document.GetProperties().GetHeadingSection();
        if (fromStart)  // a links-mode report read while the file was missing, embedded
            ASSERT_TRUE(LoadText(document, DocumentText("<Tree><Leaf ID='1'><CurLeafTemplate ID='-1'/><ImageList>"
                                                        "<ImageListItem ID='3'/></ImageList></Leaf></Tree><Images "
                                                        "SavePicType='1'><Image ID='3'>" +
                                                        XmlTextForm(picturePath.c_str()) + "</Image></Images>")));
        document.GetProperties().m_imageSaveType = 0;
        if (!fromStart)
            AddPicture(heading.Get(), id);
        AddPicture(AddSection(heading.Get(), L"again").Get(), id);
        CRecordingSerializer serializer;
        const std::wstring path = File(L"missing.otd");
        const bool lost = kind[0] == 'g' || stored;
        const std::string before = filestest::ReadBytes(path);
        ASSERT_EQ(Save(document, path, &serializer), !lost);
        ASSERT_EQ(serializer.dialogs.size(), 1u) << empty;
        EXPECT_EQ(serializer.dialogs[0].heading, L"Some errors have occured during saving the document:");
        const std::wstring line = empty ? L"The picture file " + picturePath + L" is empty."
                                  : cut ? L"The picture file " + picturePath + L" is damaged."
                                  : stored ? L"The picture " + path + L" (section \"" + Wide(heading->GetName()) +
                                                 L"\", picture \"\") cannot be read from its copy " + picturePath +
                                                 L": it no longer exists."
                                  : lost ? L"The picture file " + picturePath + L" cannot be read: it no longer exists."
                                         : L"Cannot open file " + picturePath;
        EXPECT_EQ(serializer.dialogs[0].lines, (lost ? std::vector<std::wstring>{line, L"The document is not saved: it "
                                                                                   L"would lose these pictures."}
                                                     : std::vector<std::wstring>{line}));
        const std::string bytes = filestest::ReadBytes(path);
        if (lost)
            EXPECT_EQ(bytes, before) << "the earlier file as it was";
        if (cut || lost)
            continue;
        if (!empty) {
            EXPECT_NE(bytes.find("\t\t<Image ID='1' FileFormat='png'>\r\n\t\t</Image>\r\n"), std::string::npos);
            EXPECT_EQ(heading->GetPicture(0)->GetPictureId(), id) << "the picture keeps its id";
            continue;
        }
        // The file keeps the empty file's name beside the placeholder's bytes.
        EXPECT_NE(bytes.find("\t\t<Image ID='1' FileFormat='bmp' EmptyFile='empty.png'>\r\n"), std::string::npos);
        EXPECT_EQ(bytes.find("EmptyFile='empty.png'>\r\n\t\t</Image>"), std::string::npos) << "the placeholder's bytes";
        // Saved again, the document holds the placeholder: nothing more is said.
        CRecordingSerializer again;
        ASSERT_TRUE(Save(document, File(L"again.otd"), &again));
        EXPECT_TRUE(again.dialogs.empty());
        EXPECT_NE(filestest::ReadBytes(File(L"again.otd")).find("FileFormat='bmp' EmptyFile='empty.png'>"),
                  std::string::npos)
            << "the placeholder still names the file";
        // Read back, the picture is the placeholder, not a picture without a
        // file, and the load says what it stands for.
        CTalBaseDocument back;
        CRecordingSerializer loading;
        ASSERT_TRUE(Load(back, path, &loading));
        ASSERT_EQ(loading.dialogs.size(), 1u);
        std::vector<std::wstring> lines = loading.dialogs[0].lines;
        lines.erase(std::remove(lines.begin(), lines.end(), std::wstring()), lines.end());
        ASSERT_EQ(lines.size(), 1u) << filestest::ToAnsi(loading.AllLines());
        EXPECT_NE(lines[0].find(L"The picture file empty.png was empty when the document was saved; the placeholder it "
                                L"showed stands in its place."),
                  std::wstring::npos);
        CKWRefPtr<CTalSection> backHeading = back.GetProperties().GetHeadingSection();
        ASSERT_EQ(backHeading->GetPictureCount(), 1);
        const uint32_t backId = static_cast<uint32_t>(backHeading->GetPicture(0)->GetPictureId());
        EXPECT_EQ(g_rasterLib.GetPictureState(backId), KWPictureState::Sound);
        KWRasterImagePtr shown(g_rasterLib.LoadImage(backId)), placeholder(g_rasterLib.RasterCopyPlaceholder());
        ASSERT_TRUE(shown && placeholder);
        EXPECT_EQ(shown->width, placeholder->width);
        EXPECT_EQ(shown->height, placeholder->height);
    }
}

// The placeholder that an empty picture file became keeps the file's name:
// every later save writes it again and every later load says what the
// placeholder stands for, however often the report goes round. A long name, or
// one written with character references, keeps the picture's data readable.
TEST_F(DocumentFiles, AnEmptyPictureFileIsNamedByEverySaveAndLoadAfterIt)
{
    struct Case {
        std::wstring name;
        std::string attribute;  // as the file holds it
        std::wstring shown;     // as the load names it
    };
    std::string zhe;
    for (int i = 0; i < 16; ++i)
        zhe += "&#x416;";
    // A start tag longer than the 200 bytes that readers take as its header
    // keeps the name's end.
    const Case cases[] = {
        {L"empty.png", "empty.png", L"empty.png"},
        {L"\x0416\x00e9.png", "&#x416;&#xE9;.png", L"\x0416\x00e9.png"},
        {std::wstring(116, L'n') + L".png", std::string(116, 'n') + ".png", std::wstring(116, L'n') + L".png"},
        {std::wstring(150, L'n') + L".png", "..." + std::string(113, 'n') + ".png",
         L"..." + std::wstring(113, L'n') + L".png"},
        {std::wstring(40, L'n') + std::wstring(30, L'\x0416') + L".png", "..." + zhe + ".png",
         L"..." + std::wstring(16, L'\x0416') + L".png"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.attribute);
        std::unique_ptr<CTalBaseDocument> document(new CTalBaseDocument);
        AddPicture(document->GetProperties().GetHeadingSection().Get(),
                   OutsidePicture(File(test.name.c_str()), ""));
        const std::string element = "\t\t<Image ID='1' FileFormat='bmp' EmptyFile='" + test.attribute + "'>\r\n";
        const std::wstring expected = L"The picture file " + test.shown +
                                      L" was empty when the document was saved; the placeholder it showed stands "
                                      L"in its place.";
        std::string placeholderData;
        for (int round = 0; round < 3; ++round) {
            SCOPED_TRACE(round);
            const std::wstring path = File(round % 2 ? L"round-b.otd" : L"round-a.otd");
            CRecordingSerializer saving;
            ASSERT_TRUE(Save(*document, path, &saving));
            // Only the save that finds the empty file says it is empty.
            EXPECT_EQ(saving.dialogs.size(), round == 0 ? 1u : 0u);
            const std::string bytes = filestest::ReadBytes(path);
            const size_t at = bytes.find(element);
            ASSERT_NE(at, std::string::npos);
            const size_t end = bytes.find("\t\t</Image>", at);
            ASSERT_NE(end, std::string::npos);
            const std::string data = bytes.substr(at + element.size(), end - at - element.size());
            EXPECT_FALSE(data.empty()) << "the placeholder's bytes";
            if (round == 0)
                placeholderData = data;
            EXPECT_EQ(data, placeholderData) << "the same placeholder each time";
            EXPECT_TRUE(filestest::IsWellFormedXml(path));

            std::unique_ptr<CTalBaseDocument> back(new CTalBaseDocument);
            CRecordingSerializer loading;
            ASSERT_TRUE(Load(*back, path, &loading));
            std::vector<std::wstring> lines = loading.dialogs.empty() ? std::vector<std::wstring>()
                                                                      : loading.dialogs[0].lines;
            lines.erase(std::remove(lines.begin(), lines.end(), std::wstring()), lines.end());
            ASSERT_EQ(lines.size(), 1u) << filestest::ToAnsi(loading.AllLines());
            EXPECT_NE(lines[0].find(expected), std::wstring::npos) << filestest::ToAnsi(lines[0]);
            CKWRefPtr<CTalSection> backHeading = back->GetProperties().GetHeadingSection();
            ASSERT_EQ(backHeading->GetPictureCount(), 1);
            const uint32_t backId = static_cast<uint32_t>(backHeading->GetPicture(0)->GetPictureId());
            EXPECT_EQ(g_rasterLib.GetPictureState(backId), KWPictureState::Sound);
            // The next round saves what was loaded.
            document = std::move(back);
        }
    }
}

TEST_F(DocumentFiles, ThePictureFolderOfACopyingDocumentExistsEvenWithoutPictures)
{
    CTalBaseDocument document;
    document.GetProperties().m_imageSaveType = 2;
    ASSERT_TRUE(Save(document, File(L"my.report.otd")));
    const DWORD attributes = ::GetFileAttributesW(File(L"my.report Images").c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_NE(filestest::ReadBytes(File(L"my.report.otd")).find("<Images SavePicType='2' Count='0'>"),
              std::string::npos);
}

TEST_F(DocumentFiles, AStorageModeOutsideTheKnownOnesEmbedsThePictures)
{
    for (int32_t mode : {-1, 3, 255}) {
        CTalBaseDocument document;
        document.GetProperties().m_imageSaveType = mode;
        const int32_t picture = StorePicture("embedded anyway", "gif");
        AddPicture(document.GetProperties().GetHeadingSection().Get(), picture);
        const std::wstring path = File(L"mode.otd");
        ASSERT_TRUE(Save(document, path));
        const std::string bytes = filestest::ReadBytes(path);
        EXPECT_NE(bytes.find("<Images SavePicType='0' Count='1'>\r\n\t\t<Image ID='1' FileFormat='gif'>\r\n" +
                             XmlBinaryForm("embedded anyway", 15) + "\t\t</Image>"),
                  std::string::npos)
            << mode;
        CTalBaseDocument back;
        ASSERT_TRUE(Load(back, path));
        CKWRefPtr<CTalSection> heading = back.GetProperties().GetHeadingSection();
        ASSERT_EQ(heading->GetPictureCount(), 1) << mode;
        EXPECT_EQ(PictureBytes(heading->GetPicture(0)->GetPictureId()), "embedded anyway");
    }
}
