#include "FilesTestSupport.h"

#include "files/XmlPreprocessFile.h"
#include "files/XmlValueForms.h"
#include "framework/KWRasterLib.h"
#include "tests/support/OwnStoreFiles.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using filestest::TempDir;

namespace {

using filestest::RandomBytes;

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

using Found = std::vector<std::pair<bool, std::string>>;

// The pictures the pass found of a kind, as (taken, stored bytes).
Found Read(const CXmlPreprocessFile::Images& found,
                                               XmlPictureKind kind = kXmlImage)
{
    std::vector<std::pair<bool, std::string>> read;
    for (const XmlPrepassPicture& picture : found.pictures.byKind[kind])
        read.emplace_back(picture.taken, StoredBytes(picture.pictureId));
    return read;
}

const std::vector<XmlPrepassPicture>& Images(const CXmlPreprocessFile::Images& found)
{
    return found.pictures.byKind[kXmlImage];
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
        const std::vector<std::pair<bool, std::string>> expected = {{true, first}, {true, second}};
        EXPECT_EQ(Read(found), expected) << pad;
        EXPECT_EQ(StoredExtension(Images(found)[1].pictureId), "PNG");
    }
}

// The pass takes only text it reads exactly as the parser would; every other
// element is counted and left to the parser, which reads its text itself.
TEST_F(PrePass, ElementsThePassCannotReadExactlyAreLeftToTheParser)
{
    const std::string a = RandomBytes(10, 4), b = RandomBytes(20, 5), c = RandomBytes(30, 6);
    const std::string half = Base64(b).substr(0, 12), rest = Base64(b).substr(12);
    const struct {
        const char* what;
        std::string element;
        bool taken;
        std::string stored;
    } cases[] = {
        {"plain", ImageElement(1, "jpg", a), true, a},
        // A picture of the report is read by its bytes whatever its format claims.
        {"a format too long", ImageElement(2, "jpeg2000", b), true, b},
        {"no extension", ImageElement(3, "..\\x", b), true, b},
        {"no format", "<Image ID='3'>" + Base64(b) + "</Image>\n", true, b},
        {"a path as the format, its '>' past 200 bytes", ImageElement(3, ("C:\\" + std::string(250, 'p')).c_str(), b),
         true, b},
        {"no ID (the parser's to judge)", "<Image FileFormat='jpg'>" + Base64(b) + "</Image>\n", true, b},
        {"empty", "<Image ID='5' FileFormat='jpg'></Image>\n", true, ""},
        {"a '>' in a value before the format", "<Image ID='6' Title='a>b' FileFormat='jpg'>" + Base64(b) + "</Image>\n",
         true, b},
        {"a '>' and quotes in values after the format",
         "<Image ID='6' FileFormat='jpg' Title='a>b\"' Desc=\"'>'\">" + Base64(b) + "</Image>\n", true, b},
        {"a character that is no digit", "<Image ID='9' FileFormat='png'>" + half + "!" + rest + "</Image>\n", false,
         ""},
        {"a bracket inside a CDATA section",
         "<Image ID='9' FileFormat='png'><![CDATA[" + half + "]<>]" + rest + "]]></Image>\n", false, ""},
        {"no text of its own", "<Image ID='8' FileFormat='png'/>\n", false, ""},
        {"a comment inside", "<Image ID='9' FileFormat='png'>" + half + "<!-- -->" + rest + "</Image>\n", false, ""},
        {"an instruction inside", "<Image ID='9' FileFormat='png'>" + half + "<?x y?>" + rest + "</Image>\n", false,
         ""},
        {"a reference inside", "<Image ID='9' FileFormat='png'>" + half + "&#10;" + rest + "</Image>\n", false, ""},
        {"an element inside", "<Image ID='9' FileFormat='png'>" + half + "<b/>" + rest + "</Image>\n", false, ""},
        {"a reference in the format", "<Image ID='9' FileFormat='&#112;ng'>" + Base64(b) + "</Image>\n", true, b},
        {"double quotes and blanks", "<Image\n\tID = \"10\"\tFileFormat=\"png\" >" + Base64(b) + "</Image>\n", true,
         b},
        {"an end tag with a blank", "<Image ID='9' FileFormat='png'>" + Base64(b) + "</Image >\n", false, ""},
        {"plain again", ImageElement(7, "tif", c), true, c},
    };
    std::string doc = "<Images SavePicType='0'>\n";
    std::vector<std::pair<bool, std::string>> expected;
    for (const auto& test : cases) {
        doc += test.element;
        expected.emplace_back(test.taken, test.stored);
    }
    // Neither markup that merely looks like an element nor another name counts.
    doc += "<!-- <Image ID='1' FileFormat='png'>AAAA</Image> --><![CDATA[<Image FileFormat='png'>]]>"
           "<?x <Image FileFormat='png'>?><ImageX FileFormat='png'>AAAA</ImageX></Images>\n";
    const CXmlPreprocessFile::Images found = Scan(doc);
    EXPECT_EQ(found.count, 10) << "a missing count is taken as 10";
    const std::vector<std::pair<bool, std::string>> read = Read(found);
    ASSERT_EQ(read.size(), expected.size());
    for (size_t i = 0; i < read.size(); ++i)
        EXPECT_EQ(read[i], expected[i]) << cases[i].what;
}

TEST_F(PrePass, OnlyImagesOfAnImagesElementOfTypeZeroAreTaken)
{
    const std::string picture = ImageElement(1, "jpg", "data");
    const std::vector<std::pair<bool, std::string>> counted = {{false, ""}, {false, ""}};
    EXPECT_EQ(Read(Scan(picture + "<Images SavePicType='1'>\n" + picture + "</Images>")), counted);
    const CXmlPreprocessFile::Images noType = Scan("<Images Count='3'>\n" + picture + "</Images>");
    EXPECT_EQ(noType.pictureType, -1) << "the header needs its picture type";
    EXPECT_EQ(Read(noType), (Found{{false, ""}}));
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
        // Written, the type the bytes show; none for bytes of no type.
        EXPECT_EQ(CXmlPreprocessFile::WrittenFormat(reinterpret_cast<const uint8_t*>(test.bytes.data()),
                                                    test.bytes.size(), test.claimed),
                  std::string(test.stored) == "dat" ? "" : test.stored);
    }
    const CXmlPreprocessFile::Images found =
        Scan("<Images SavePicType='0'>" + ImageElement(1, "exe", std::string("BM bitmap bytes")) + "</Images>");
    ASSERT_EQ(Images(found).size(), 1u);
    EXPECT_EQ(StoredExtension(Images(found)[0].pictureId), "bmp");
}

TEST_F(PrePass, TemplatePicturesAreReadByKindInFileOrder)
{
    const std::string preview = RandomBytes(500, 7), background = RandomBytes(600, 8);
    const std::string p1 = RandomBytes(40, 10), b1 = RandomBytes(50, 11), b3 = RandomBytes(60, 12);
    const std::string title = "<TitleTemplate Title='t'>\n\t<TitlePreview FileFormat='png'>\n" + Base64(preview) +
                              "\t</TitlePreview>\n\t<TitleBgImage FileFormat='jpg'>\n" + Base64(background) +
                              "\t</TitleBgImage>\n</TitleTemplate>\n";
    const CXmlPreprocessFile::Images titleFound = Scan(filestest::WithCrLf(title));
    EXPECT_EQ(Read(titleFound, kXmlTitlePreview), (Found{{true, preview}}));
    EXPECT_EQ(Read(titleFound, kXmlTitleBackground), (Found{{true, background}}));
    EXPECT_TRUE(titleFound.pictures.byKind[kXmlLeafPreview].empty());

    const std::string doc = "<TallierDocument>\n"
                            "\t<LeafTemplate ID='4' FileName='a.otl'>\n"
                            "\t\t<LeafPreview FileFormat='png'>\n" + Base64(p1) + "\t\t</LeafPreview>\n"
                            "\t\t<LeafBgImage FileFormat='png'>\n" + Base64(b1) + "\t\t</LeafBgImage>\n"
                            "\t</LeafTemplate>\n"
                            "\t<LeafTemplate ID='9' FileName='b.otl'>\n"
                            "\t</LeafTemplate>\n"
                            "\t<LeafTemplate ID='12' FileName='c.otl'>\n"
                            "\t\t<LeafPreview FileFormat='png'>&#65;AAA</LeafPreview>\n"
                            "\t\t<LeafBgImage FileFormat='gif'>\n" + Base64(b3) + "\t\t</LeafBgImage>\n"
                            "\t</LeafTemplate>\n"
                            "</TallierDocument>\n";
    const CXmlPreprocessFile::Images found = Scan(filestest::WithCrLf(doc));
    EXPECT_EQ(Read(found, kXmlLeafPreview), (Found{{true, p1}, {false, ""}}));
    EXPECT_EQ(Read(found, kXmlLeafBackground), (Found{{true, b1}, {true, b3}}));

    CXmlPreprocessFile closed;
    CXmlPreprocessFile::Images none;
    EXPECT_FALSE(closed.Scan(none));
}

TEST_F(PrePass, ImagesOfTensOfMegabytesAreDecodedStraightIntoTheStore)
{
    const std::string first = RandomBytes(18u << 20, 13);
    const std::string second = RandomBytes(9u << 20, 14);
    const DWORD start = ::GetTickCount();
    const CXmlPreprocessFile::Images found = Scan(filestest::WithCrLf(
        "<Images SavePicType='0' Count='2'>\n" + ImageElement(1, "jpg", first) + ImageElement(2, "jpg", second) +
        "</Images>\n"));
    ASSERT_EQ(Images(found).size(), 2u);
    EXPECT_TRUE(StoredBytes(Images(found)[0].pictureId) == first);
    EXPECT_TRUE(StoredBytes(Images(found)[1].pictureId) == second);
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
        {"CDATA with blanks and line breaks", "<![CDATA[\r\n" + half + " \t\n" + rest + "\r\n]]>"},
    };
    // The window's edge falls anywhere in the data, the section marks included.
    for (const auto& form : forms) {
        for (size_t cut : {size_t(0), size_t(5), size_t(1505), size_t(1510), form.data.size() - 2}) {
            const std::string head = "<Images SavePicType='0' Count='2'>\n<Image ID='4' FileFormat='jpg'>\n";
            const size_t pad = CXmlPreprocessFile::kWindowSize - head.size() - cut;
            const CXmlPreprocessFile::Images found =
                Scan(std::string(pad, ' ') + head + form.data + "\t\t</Image>\n" + ImageElement(5, "png", "after") +
                     "</Images>\n");
            ASSERT_EQ(Images(found).size(), 2u) << form.what;
            EXPECT_TRUE(Images(found)[0].taken) << form.what;
            EXPECT_EQ(StoredBytes(Images(found)[0].pictureId), bytes) << form.what << ", cut at " << cut;
            EXPECT_EQ(StoredBytes(Images(found)[1].pictureId), "after") << form.what;
        }
    }
}

TEST_F(PrePass, LongRunsOfDigitsAreHandedToTheParserWithTheirPlace)
{
    const std::string large = RandomBytes(300000, 22), small = RandomBytes(3000, 23);
    const std::string text = Base64(large);
    const std::string digits = text.substr(0, text.find('='));
    const std::string file = filestest::WithCrLf(
        "<Images SavePicType='0' Count='5'>\n" + ImageElement(1, "jpg", large) + ImageElement(2, "jpg", small) +
        "<Image ID='3' FileFormat='jpg'>\n" + Wrapped(text) + "</Image>\n" + ImageElement(4, "jpg", large) +
        // One long line and then a CDATA section: the run ends where the
        // section begins, and the section's digits are a run of their own.
        "<Image ID='5' FileFormat='jpg'>" + text.substr(0, 200000) + "<![CDATA[" + text.substr(200000) +
        "]]></Image>\n</Images>\n");
    const CXmlPreprocessFile::Images found = Scan(file);
    // The long single runs; a short run and lines are read by the parser as
    // they stand.
    ASSERT_EQ(found.digitRuns.size(), 4u);
    const std::string runs[] = {digits, digits, text.substr(0, 200000), text.substr(200000)};
    for (size_t i = 0; i < 4; ++i) {
        const XmlDigitRun& run = found.digitRuns[i];
        EXPECT_EQ(file.substr(static_cast<size_t>(run.start), static_cast<size_t>(run.end - run.start)), runs[i]) << i;
    }
    EXPECT_LT(found.digitRuns[0].end, found.digitRuns[1].start);
    EXPECT_EQ(StoredBytes(Images(found)[2].pictureId), large);
    EXPECT_EQ(StoredBytes(Images(found)[4].pictureId), large);
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
    ASSERT_EQ(Images(held).size(), 2u);
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
        ASSERT_EQ(Images(again).size(), 2u) << c.what;
        EXPECT_EQ(c.firstTaken, Images(again)[0].pictureId == Images(held)[0].pictureId) << c.what;
        EXPECT_EQ(c.secondTaken, Images(again)[1].pictureId == Images(held)[1].pictureId) << c.what;
        EXPECT_EQ(StoredBytes(Images(again)[0].pictureId), c.bytes) << c.what;
        EXPECT_EQ(StoredBytes(Images(again)[1].pictureId), small) << c.what;
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
        ASSERT_EQ(Images(found).size(), 1u);
        firstId = Images(found)[0].pictureId;
        firstPath = g_rasterLib.GetImagePath(static_cast<uint32_t>(firstId)).GetString();
        EXPECT_EQ(OwnStoreFileCount(), before + 1);
    }
    EXPECT_EQ(OwnStoreFileCount(), before);
    EXPECT_EQ(::GetFileAttributesW(firstPath.c_str()), INVALID_FILE_ATTRIBUTES);
    const CXmlPreprocessFile::Images found = Scan(doc);
    EXPECT_NE(Images(found)[0].pictureId, firstId);
    EXPECT_EQ(StoredBytes(Images(found)[0].pictureId), bytes);

    // A held file that vanished from the disk is written anew.
    const std::wstring path = g_rasterLib.GetImagePath(static_cast<uint32_t>(Images(found)[0].pictureId)).GetString();
    ASSERT_TRUE(::DeleteFileW(path.c_str()));
    const CXmlPreprocessFile::Images again = Scan(doc);
    EXPECT_NE(Images(again)[0].pictureId, Images(found)[0].pictureId);
    EXPECT_EQ(StoredBytes(Images(again)[0].pictureId), bytes);
}

// Markup the parser refuses ends the pass all the same, in time linear in
// its size and without nesting deeper for each bracket, and counts no
// picture element inside what it could not walk.
TEST_F(PrePass, MarkupThatNeverEndsOrNestsWithoutEndEndsThePass)
{
    const std::string picture = "<Image ID='1' FileFormat='png'>QUFB</Image>";
    const struct {
        const char* what;
        std::string text;
        size_t images;
    } cases[] = {
        {"a comment without its end", "<!-- " + picture, 0},
        {"an instruction without its end", "<?x " + picture, 0},
        {"a value without its end", "<Leaf Title='" + picture, 0},
        {"a document type without its end", "<!DOCTYPE x [ <!-- --> " + picture, 0},
        {"a subset of brackets within brackets", "<!DOCTYPE x [" + std::string(3 << 20, '[') + "]>" + picture, 1},
        {"declarations opening subsets without end", "<!DOCTYPE x [" + [] {
             std::string opened;
             for (int i = 0; i < 300000; ++i)
                 opened += "<![";
             return opened;
         }() + picture, 0},
        {"a start tag of a hundred thousand attributes", "<Leaf" + [] {
             std::string attributes;
             for (int i = 0; i < 100000; ++i)
                 attributes += " a" + std::to_string(i) + "='>'";
             return attributes;
         }() + ">" + picture, 1},
        {"a name of megabytes", "<" + std::string(4 << 20, 'x') + "/>" + picture, 1},
        {"angle brackets only", std::string(1 << 20, '<') + picture, 1},
    };
    for (const auto& test : cases) {
        const CXmlPreprocessFile::Images found = Scan("<Images SavePicType='0'>" + test.text);
        EXPECT_EQ(Images(found).size(), test.images) << test.what;
    }
}
