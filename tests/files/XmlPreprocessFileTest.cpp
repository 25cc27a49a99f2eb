#include "FilesTestSupport.h"

#include "files/XmlPreprocessFile.h"
#include "files/XmlValueForms.h"
#include "framework/KWRasterLib.h"
#include "model/TalPageTemplate.h"
#include "model/TalTitlePageTemplate.h"
#include "tests/support/OwnStoreFiles.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using filestest::TempDir;

namespace {

std::string RandomBytes(size_t count, unsigned seed)
{
    std::mt19937 random(seed);
    std::string bytes(count, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random());
    return bytes;
}

std::string Base64(const std::string& bytes)
{
    return XmlBinaryForm(bytes.data(), static_cast<int32_t>(bytes.size()));
}

// The bytes of the file the picture store holds for an id; empty for none.
std::string StoredBytes(int32_t id)
{
    if (id == 0)
        return std::string();
    return filestest::ReadBytes(g_rasterLib.GetImagePath(static_cast<uint32_t>(id)).GetString());
}

std::string StoredExtension(int32_t id)
{
    const CString path = g_rasterLib.GetImagePath(static_cast<uint32_t>(id));
    return filestest::ToAnsi(path.Mid(path.ReverseFind(L'.') + 1).GetString());
}

std::string ImageElement(int id, const char* format, const std::string& bytes)
{
    return "\t\t<Image ID='" + std::to_string(id) + "' FileFormat='" + format + "'>\n" + Base64(bytes) +
           "\t\t</Image>\n";
}

class PrePass : public ::testing::Test {
protected:
    CXmlPreprocessFile::Images Scan(const std::string& bytes, const wchar_t* name = L"doc.otd")
    {
        const std::wstring path = m_dir.File(name);
        filestest::WriteBytes(path, bytes);
        CXmlPreprocessFile file(path.c_str());
        CXmlPreprocessFile::Images found;
        EXPECT_TRUE(file.Scan(found));
        return found;
    }
    TempDir m_dir;
};

}  // namespace

TEST_F(PrePass, ReadsDocumentImagesInOrderWhereverTheReadWindowCutsThem)
{
    const std::string first = RandomBytes(1000, 1);
    const std::string second = RandomBytes(77, 2);
    const std::string images = "\t<Images SavePicType='0' Count='2'>\n" + ImageElement(15, "jpg", first) +
                               ImageElement(16, "PNG", second) + "\t</Images>\n";
    // The window's edge falls into the header, the data and the end tags.
    for (size_t pad : {size_t(0), size_t(CXmlPreprocessFile::kWindowSize - 20),
                       size_t(CXmlPreprocessFile::kWindowSize - 300), size_t(CXmlPreprocessFile::kWindowSize - 1400)}) {
        const CXmlPreprocessFile::Images found =
            Scan(filestest::WithCrLf("<TallierDocument>\n" + std::string(pad, ' ') + images + "</TallierDocument>\n"));
        EXPECT_EQ(found.pictureType, 0);
        EXPECT_EQ(found.count, 2);
        ASSERT_EQ(found.documentImages.size(), 2u) << pad;
        EXPECT_EQ(found.documentImages[0].imageId, 15);
        EXPECT_EQ(StoredBytes(found.documentImages[0].pictureId), first) << pad;
        EXPECT_EQ(found.documentImages[1].imageId, 16);
        EXPECT_EQ(StoredBytes(found.documentImages[1].pictureId), second) << pad;
        EXPECT_EQ(StoredExtension(found.documentImages[1].pictureId), "PNG");
    }
}

TEST_F(PrePass, UnreadableImageBlocksGiveZeroAndTheRestIsRead)
{
    const std::string a = RandomBytes(10, 4), b = RandomBytes(20, 5), c = RandomBytes(30, 6);
    const std::string doc = "<Images SavePicType='0'>\n" + ImageElement(1, "jpg", a) +
                            ImageElement(2, "jpeg2000", b) +                               // too long
                            ImageElement(3, "..\\x", b) +                                  // not an extension
                            "<Image FileFormat='jpg'>" + Base64(b) + "</Image>\n" +        // no ID
                            "<Image ID='nan' FileFormat='jpg'>" + Base64(b) + "</Image>\n" +  // a garbled ID
                            "<Image ID='5' FileFormat='jpg'></Image>\n" +                  // empty
                            "<Image ID='6' FileFormat='jpg>" + Base64(b) + "</Image>\n" +  // unterminated value
                            "<Image ID='8' FileFormat='png'/>\n" +                         // no data of its own
                            "<Image ID='9' FileFormat='png'>" + Base64(b) + "<!-- -->" + Base64(b) +
                            "</Image>\n" +  // markup inside the data
                            ImageElement(7, "tif", c) + "</Images>\n";
    const CXmlPreprocessFile::Images found = Scan(doc);
    EXPECT_EQ(found.count, 10) << "a missing count is taken as 10";
    std::vector<std::pair<int32_t, std::string>> read;
    for (const CXmlPreprocessFile::DocumentImage& image : found.documentImages)
        read.emplace_back(image.imageId, StoredBytes(image.pictureId));
    const std::vector<std::pair<int32_t, std::string>> expected = {{1, a},  {2, ""}, {3, ""}, {0, ""}, {0, ""},
                                                                    {5, ""}, {6, ""}, {8, ""}, {9, ""}, {7, c}};
    EXPECT_EQ(read, expected);
}

TEST_F(PrePass, OnlyImagesOfAnImagesElementOfTypeZeroAreTaken)
{
    const std::string picture = ImageElement(1, "jpg", "data");
    EXPECT_TRUE(Scan(picture + "<Images SavePicType='1'>\n" + picture + "</Images>").documentImages.empty());
    const CXmlPreprocessFile::Images noType = Scan("<Images Count='3'>\n" + picture + "</Images>");
    EXPECT_EQ(noType.pictureType, -1) << "the header needs its picture type";
    EXPECT_TRUE(noType.documentImages.empty());
}

TEST_F(PrePass, TheStoredExtensionComesFromTheImageType)
{
    const struct {
        const char* claimed;
        std::string bytes;
        const char* stored;
    } cases[] = {
        {"exe", std::string("\xFF\xD8\xFF\xE0 jpeg", 9), "jpg"},
        {"jpeg", std::string("\xFF\xD8\xFF\xE0 jpeg", 9), "jpeg"},
        {"png", std::string("GIF89a....", 10), "gif"},
        {"ini", std::string("\x89PNG\r\n\x1A\n....", 12), "png"},
        {"scr", std::string("MM\0*....", 8), "tif"},
        {"tiff", "not an image at all", "tiff"},
        {"exe", "MZ not an image either", "dat"},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(CXmlPreprocessFile::StoredExtension(reinterpret_cast<const uint8_t*>(test.bytes.data()),
                                                      test.bytes.size(), test.claimed),
                  test.stored)
            << test.claimed;
    }
    const CXmlPreprocessFile::Images found =
        Scan("<Images SavePicType='0'>" + ImageElement(1, "exe", std::string("BM bitmap bytes")) + "</Images>");
    ASSERT_EQ(found.documentImages.size(), 1u);
    EXPECT_EQ(StoredExtension(found.documentImages[0].pictureId), "bmp");
}

TEST_F(PrePass, TemplatePicturesByTheTemplatesKind)
{
    const std::string preview = RandomBytes(500, 7), background = RandomBytes(600, 8);
    const std::string title = "<TitleTemplate Title='t'>\n\t<TitlePreview FileFormat='png'>\n" + Base64(preview) +
                              "\t</TitlePreview>\n\t<TitleBgImage FileFormat='jpg'>\n" + Base64(background) +
                              "\t</TitleBgImage>\n</TitleTemplate>\n";
    const std::string leaf = "<LeafTemplate>\n\t<LeafBgImage FileFormat='bmp'>\n" + Base64(background) +
                             "\t</LeafBgImage>\n</LeafTemplate>\n";
    const std::wstring titlePath = m_dir.File(L"t.ott"), leafPath = m_dir.File(L"l.otl");
    filestest::WriteBytes(titlePath, filestest::WithCrLf(title));
    filestest::WriteBytes(leafPath, leaf);
    const struct {
        const std::wstring& path;
        bool title;
        std::string preview;
        std::string background;
    } cases[] = {
        {titlePath, true, preview, background},
        {titlePath, false, "", ""},  // the leaf markers find nothing in a title template
        {leafPath, false, "", background},
    };
    for (const auto& test : cases) {
        CXmlPreprocessFile file(test.path.c_str());
        CTalTitlePageTemplate titleTemplate;
        CTalPageTemplate leafTemplate;
        CTalTemplate& tmpl = test.title ? static_cast<CTalTemplate&>(titleTemplate) : leafTemplate;
        tmpl.SetPreviewPictureId(99);
        ASSERT_TRUE(file.ReadTemplateImages(&tmpl));
        EXPECT_EQ(StoredBytes(tmpl.GetPreviewPictureId()), test.preview);
        EXPECT_EQ(StoredBytes(tmpl.GetBackgroundPictureId()), test.background);
    }
    CXmlPreprocessFile closed;
    CTalPageTemplate leafTemplate;
    EXPECT_FALSE(closed.ReadTemplateImages(&leafTemplate));
}

TEST_F(PrePass, EmbeddedLeafTemplatesKeepTheirOwnPictures)
{
    const std::string p1 = RandomBytes(40, 10), b1 = RandomBytes(50, 11), b3 = RandomBytes(60, 12);
    const std::string doc = "<TallierDocument>\n"
                            "\t<LeafTemplate ID='4' FileName='a.otl'>\n"
                            "\t\t<LeafPreview FileFormat='png'>\n" + Base64(p1) + "\t\t</LeafPreview>\n"
                            "\t\t<LeafBgImage FileFormat='png'>\n" + Base64(b1) + "\t\t</LeafBgImage>\n"
                            "\t</LeafTemplate>\n"
                            "\t<LeafTemplate ID='9' FileName='b.otl'>\n"
                            "\t</LeafTemplate>\n"
                            "\t<LeafTemplate ID='x' FileName='unreadable.otl'>\n"
                            "\t\t<LeafPreview FileFormat='png'>\n" + Base64(p1) + "\t\t</LeafPreview>\n"
                            "\t</LeafTemplate>\n"
                            "\t<LeafTemplate ID='12' FileName='c.otl'>\n"
                            "\t\t<LeafBgImage FileFormat='gif'>\n" + Base64(b3) + "\t\t</LeafBgImage>\n"
                            "\t</LeafTemplate>\n"
                            "</TallierDocument>\n";
    const CXmlPreprocessFile::Images found = Scan(filestest::WithCrLf(doc));
    ASSERT_EQ(found.leafTemplates.size(), 3u);
    const struct {
        int32_t id;
        std::string preview, background;
    } expected[] = {{4, p1, b1}, {9, "", ""}, {12, "", b3}};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(found.leafTemplates[i].templateId, expected[i].id);
        EXPECT_EQ(StoredBytes(found.leafTemplates[i].previewId), expected[i].preview) << i;
        EXPECT_EQ(StoredBytes(found.leafTemplates[i].backgroundId), expected[i].background) << i;
    }
}

TEST_F(PrePass, ImagesOfTensOfMegabytesAreDecodedStraightIntoTheStore)
{
    const std::string first = RandomBytes(18u << 20, 13);
    const std::string second = RandomBytes(9u << 20, 14);
    const DWORD start = ::GetTickCount();
    const CXmlPreprocessFile::Images found = Scan(filestest::WithCrLf(
        "<Images SavePicType='0' Count='2'>\n" + ImageElement(1, "jpg", first) + ImageElement(2, "jpg", second) +
        "</Images>\n"));
    ASSERT_EQ(found.documentImages.size(), 2u);
    EXPECT_TRUE(StoredBytes(found.documentImages[0].pictureId) == first);
    EXPECT_TRUE(StoredBytes(found.documentImages[1].pictureId) == second);
    std::printf("[ info ] %u ms to pre-pass %u MB of images\n", static_cast<unsigned>(::GetTickCount() - start),
                static_cast<unsigned>((first.size() + second.size()) >> 20));
}

namespace {

// The Base64 text in lines of 76 characters.
std::string Wrapped(const std::string& text)
{
    std::string lines;
    for (size_t at = 0; at < text.size(); at += 76)
        lines += text.substr(at, 76) + "\r\n";
    return lines;
}

}  // namespace

TEST_F(PrePass, Base64IsReadInEveryFormTheFileMayHoldIt)
{
    const std::string bytes = RandomBytes(3000, 21);
    const std::string text = Base64(bytes);
    const std::string half = text.substr(0, 1500), rest = text.substr(1500);
    const struct {
        const char* what;
        std::string data;
    } forms[] = {
        {"one run", text},
        {"lines", Wrapped(text)},
        {"CDATA", "<![CDATA[" + text + "]]>"},
        {"CDATA of lines", "<![CDATA[" + Wrapped(text) + "]]>"},
        {"two CDATA sections", "<![CDATA[" + half + "]]>\r\n<![CDATA[" + rest + "]]>"},
        {"text and CDATA", half + "<![CDATA[" + rest + "]]>"},
        {"CDATA with brackets", "<![CDATA[" + half + "]<>]" + rest + "]]>"},
    };
    // The window's edge falls anywhere in the data, the section marks included.
    for (const auto& form : forms) {
        for (size_t cut : {size_t(0), size_t(5), size_t(1505), size_t(1510), form.data.size() - 2}) {
            const std::string head = "<Images SavePicType='0' Count='2'>\n<Image ID='4' FileFormat='jpg'>\n";
            const size_t pad = CXmlPreprocessFile::kWindowSize - head.size() - cut;
            const CXmlPreprocessFile::Images found =
                Scan(std::string(pad, ' ') + head + form.data + "\t\t</Image>\n" + ImageElement(5, "png", "after") +
                     "</Images>\n");
            ASSERT_EQ(found.documentImages.size(), 2u) << form.what;
            EXPECT_EQ(StoredBytes(found.documentImages[0].pictureId), bytes) << form.what << ", cut at " << cut;
            EXPECT_EQ(StoredBytes(found.documentImages[1].pictureId), "after") << form.what;
        }
    }
}

TEST_F(PrePass, LongRunsOfDigitsAreHandedToTheParserWithTheirPlace)
{
    const std::string large = RandomBytes(300000, 22), small = RandomBytes(3000, 23);
    const std::string file = filestest::WithCrLf(
        "<Images SavePicType='0' Count='4'>\n" + ImageElement(1, "jpg", large) + ImageElement(2, "jpg", small) +
        "<Image ID='3' FileFormat='jpg'>\n" + Wrapped(Base64(large)) + "</Image>\n" + ImageElement(4, "jpg", large) +
        "</Images>\n");
    const CXmlPreprocessFile::Images found = Scan(file);
    // The first and the last picture are single long runs; a short run and
    // lines are read by the parser as they stand.
    ASSERT_EQ(found.digitRuns.size(), 2u);
    const std::string text = Base64(large);
    const std::string digits = text.substr(0, text.find('='));
    for (const XmlDigitRun& run : found.digitRuns)
        EXPECT_EQ(file.substr(static_cast<size_t>(run.start), static_cast<size_t>(run.end - run.start)), digits);
    EXPECT_LT(found.digitRuns[0].end, found.digitRuns[1].start);
    EXPECT_EQ(StoredBytes(found.documentImages[2].pictureId), large);
}

TEST_F(PrePass, APictureStillHeldIsTakenAgainWhenItsPlaceDecodesToTheSameBytes)
{
    const std::string large = RandomBytes(300000, 31), small = RandomBytes(2000, 32);
    const std::string other = RandomBytes(300000, 33);
    const std::string head = "<Images SavePicType='0' Count='2'>\n";
    auto document = [&](const std::string& first) {
        return filestest::WithCrLf(head + "<Image ID='1' FileFormat='jpg'>\n" + first + "</Image>\n" +
                                   ImageElement(2, "png", small) + "</Images>\n");
    };
    const size_t before = OwnStoreFileCount();
    const CXmlPreprocessFile::Images held = Scan(document(Base64(large)));
    ASSERT_EQ(held.documentImages.size(), 2u);
    EXPECT_EQ(OwnStoreFileCount(), before + 2);
    // The second picture stands at another place when the first one's text differs in length.
    const struct {
        const char* what;
        std::string text;
        std::string bytes;
        bool firstTaken;
        bool secondTaken;
    } cases[] = {
        {"the same file again", Base64(large), large, true, true},
        {"other bytes of the same length", Base64(other), other, false, true},
        {"the same bytes in lines", Wrapped(Base64(large)), large, true, false},
        {"a longer picture", Base64(large + "x"), large + "x", false, false},
        {"a shorter picture", Base64(large.substr(3)), large.substr(3), false, false},
    };
    for (const auto& c : cases) {
        const CXmlPreprocessFile::Images again = Scan(document(c.text));
        ASSERT_EQ(again.documentImages.size(), 2u) << c.what;
        EXPECT_EQ(c.firstTaken, again.documentImages[0].pictureId == held.documentImages[0].pictureId) << c.what;
        EXPECT_EQ(c.secondTaken, again.documentImages[1].pictureId == held.documentImages[1].pictureId) << c.what;
        EXPECT_EQ(StoredBytes(again.documentImages[0].pictureId), c.bytes) << c.what;
        EXPECT_EQ(StoredBytes(again.documentImages[1].pictureId), small) << c.what;
        EXPECT_EQ(OwnStoreFileCount(), before + 2 + (c.firstTaken ? 0 : 1) + (c.secondTaken ? 0 : 1)) << c.what;
        // The parser is handed the same runs of digits whether the picture was written or taken.
        const CXmlPreprocessFile::Images written = Scan(document(c.text), L"copy.otd");
        EXPECT_EQ(again.digitRuns.size(), written.digitRuns.size()) << c.what;
        for (size_t i = 0; i < again.digitRuns.size() && i < written.digitRuns.size(); ++i) {
            EXPECT_EQ(again.digitRuns[i].start, written.digitRuns[i].start) << c.what;
            EXPECT_EQ(again.digitRuns[i].end, written.digitRuns[i].end) << c.what;
        }
    }
    EXPECT_EQ(OwnStoreFileCount(), before + 2) << "what only the later passes held went with them";
}

TEST_F(PrePass, APictureNothingHoldsAnyMoreIsWrittenAgainAndGoesWithItsLastHolder)
{
    const std::string bytes = RandomBytes(5000, 34);
    const std::string doc = "<Images SavePicType='0' Count='1'>\n" + ImageElement(1, "jpg", bytes) + "</Images>\n";
    const size_t before = OwnStoreFileCount();
    std::wstring firstPath;
    int32_t firstId = 0;
    {
        const CXmlPreprocessFile::Images found = Scan(doc);
        ASSERT_EQ(found.documentImages.size(), 1u);
        firstId = found.documentImages[0].pictureId;
        firstPath = g_rasterLib.GetImagePath(static_cast<uint32_t>(firstId)).GetString();
        EXPECT_EQ(OwnStoreFileCount(), before + 1);
    }
    EXPECT_EQ(OwnStoreFileCount(), before);
    EXPECT_EQ(::GetFileAttributesW(firstPath.c_str()), INVALID_FILE_ATTRIBUTES);
    const CXmlPreprocessFile::Images found = Scan(doc);
    EXPECT_NE(found.documentImages[0].pictureId, firstId);
    EXPECT_EQ(StoredBytes(found.documentImages[0].pictureId), bytes);

    // A held file that vanished from the disk is written anew.
    const std::wstring path = g_rasterLib.GetImagePath(static_cast<uint32_t>(found.documentImages[0].pictureId)).GetString();
    ASSERT_TRUE(::DeleteFileW(path.c_str()));
    const CXmlPreprocessFile::Images again = Scan(doc);
    EXPECT_NE(again.documentImages[0].pictureId, found.documentImages[0].pictureId);
    EXPECT_EQ(StoredBytes(again.documentImages[0].pictureId), bytes);
}
