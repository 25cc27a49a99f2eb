// A picture's text in every form XML allows: the document loads with every
// picture's bytes equal to what an XML reader of its own makes of the file
// (libxml2's tree reader, as xmllint reads it, and the Base64 decoded by a
// decoder of the test's own). The image pre-pass reads what it can read
// exactly and leaves the rest to the parser. Each file and the bytes loaded
// from it also go to the XML check folder, where the host's xmllint reads
// the file once more (scripts/test.sh).
#include "DocumentFixture.h"

#include "files/TalTemplateTags.h"
#include "files/XmlPreprocessFile.h"
#include "files/XmlValueForms.h"
#include "model/TalTemplate.h"

#include <gtest/gtest.h>

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

using namespace doctest;

namespace {

using filestest::RandomBytes;

std::string Base64(const std::string& bytes)
{
    return XmlBinaryForm(bytes.data(), static_cast<int32_t>(bytes.size()));
}

// Every occurrence of what replaced by with.
std::string ReplaceAll(std::string text, const std::string& what, const std::string& with)
{
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size()))
        text.replace(at, what.size(), with);
    return text;
}

// Base64 as RFC 4648 reads it when characters outside the alphabet are
// passed over: the test's own decoder.
std::string DecodeBase64(const std::string& text)
{
    std::string bytes;
    uint32_t bits = 0;
    int count = 0;
    for (char c : text) {
        int value = -1;
        if (c >= 'A' && c <= 'Z')
            value = c - 'A';
        else if (c >= 'a' && c <= 'z')
            value = c - 'a' + 26;
        else if (c >= '0' && c <= '9')
            value = c - '0' + 52;
        else if (c == '+')
            value = 62;
        else if (c == '/')
            value = 63;
        else if (c == '=')
            break;
        if (value < 0)
            continue;
        bits = bits << 6 | static_cast<uint32_t>(value);
        if (++count == 4) {
            bytes += static_cast<char>(bits >> 16);
            bytes += static_cast<char>(bits >> 8);
            bytes += static_cast<char>(bits);
            bits = 0;
            count = 0;
        }
    }
    if (count == 2)
        bytes += static_cast<char>(bits >> 4);
    if (count == 3) {
        bytes += static_cast<char>(bits >> 10);
        bytes += static_cast<char>(bits >> 2);
    }
    return bytes;
}

const xmlNode* FindElement(const xmlNode* node, const char* name)
{
    for (; node; node = node->next) {
        if (node->type == XML_ELEMENT_NODE && std::string(reinterpret_cast<const char*>(node->name)) == name)
            return node;
        if (const xmlNode* inside = FindElement(node->children, name))
            return inside;
    }
    return nullptr;
}

// The text of the first element of that name as libxml2's tree reader reads
// the file, decoded; empty when the file or the element cannot be read.
std::string ReadersPicture(const std::string& file, const char* element)
{
    xmlDocPtr doc = xmlReadMemory(file.data(), static_cast<int>(file.size()), "picture.xml", nullptr,
                                  XML_PARSE_NONET | XML_PARSE_HUGE);
    if (!doc)
        return std::string();
    std::string text;
    if (const xmlNode* node = FindElement(xmlDocGetRootElement(doc), element)) {
        xmlChar* content = xmlNodeGetContent(node);
        text = reinterpret_cast<const char*>(content);
        xmlFree(content);
    }
    xmlFreeDoc(doc);
    return DecodeBase64(text);
}

void CollectElements(const xmlNode* node, const char* name, std::vector<const xmlNode*>& found)
{
    for (; node; node = node->next) {
        if (node->type == XML_ELEMENT_NODE && std::string(reinterpret_cast<const char*>(node->name)) == name)
            found.push_back(node);
        CollectElements(node->children, name, found);
    }
}

struct ReaderPicture {
    std::string id;     // the element's ID attribute
    std::string bytes;  // its text, decoded
};

// Every element of that name in document order as libxml2's tree reader
// reads the file; none when the file cannot be read.
std::vector<ReaderPicture> ReadersPictures(const std::string& file, const char* element)
{
    std::vector<ReaderPicture> pictures;
    xmlDocPtr doc = xmlReadMemory(file.data(), static_cast<int>(file.size()), "picture.xml", nullptr,
                                  XML_PARSE_NONET | XML_PARSE_HUGE);
    if (!doc)
        return pictures;
    std::vector<const xmlNode*> nodes;
    CollectElements(xmlDocGetRootElement(doc), element, nodes);
    for (const xmlNode* node : nodes) {
        ReaderPicture picture;
        if (xmlChar* id = xmlGetProp(node, reinterpret_cast<const xmlChar*>("ID"))) {
            picture.id = reinterpret_cast<const char*>(id);
            xmlFree(id);
        }
        xmlChar* content = xmlNodeGetContent(node);
        picture.bytes = DecodeBase64(reinterpret_cast<const char*>(content));
        xmlFree(content);
        pictures.push_back(picture);
    }
    xmlFreeDoc(doc);
    return pictures;
}

// The image pre-pass over the file beside the reader: as many start tags of
// every picture element, in the same order, and every picture it took holds
// the bytes the reader's text of that element gives. The "Image" elements
// as the pass treated them: 'T' taken, 'P' left to the parser.
std::string ExpectPrepassAsTheReader(const std::wstring& path, const std::string& file)
{
    filestest::WriteBytes(path, file);
    CXmlPreprocessFile pass(path.c_str());
    CXmlPreprocessFile::Images found;
    EXPECT_TRUE(pass.Scan(found));
    std::string taken;
    for (int32_t k = 0; k < kXmlPictureKinds; ++k) {
        const XmlPictureKind kind = static_cast<XmlPictureKind>(k);
        const std::vector<ReaderPicture> read = ReadersPictures(file, XmlPictureElement(kind));
        const std::vector<XmlPrepassPicture>& passed = found.pictures.byKind[kind];
        EXPECT_EQ(passed.size(), read.size()) << XmlPictureElement(kind) << " start tags";
        for (size_t i = 0; i < passed.size() && i < read.size(); ++i) {
            if (passed[i].taken) {
                EXPECT_TRUE(PictureBytes(passed[i].pictureId) == read[i].bytes)
                    << XmlPictureElement(kind) << " " << i << " holds another picture than the reader reads";
            }
            if (kind == kXmlImage)
                taken += passed[i].taken ? 'T' : 'P';
        }
    }
    return taken;
}

// The file and the bytes loaded from it go to the XML check folder; the
// host's xmllint reads the element's text there and compares.
void KeepForTheHostCheck(const std::string& file, const char* element, const std::string& loaded)
{
    const char* folder = std::getenv("OT_XML_CHECK_DIR");
    if (!folder)
        return;
    static int counter = 0;
    const std::string base = std::string(folder) + "\\picture" + std::to_string(++counter);
    const std::wstring wideBase = filestest::ToWide(base);
    filestest::WriteBytes(wideBase + L".xml", file);
    filestest::WriteBytes(wideBase + L".bin", loaded);
    filestest::WriteBytes(wideBase + L".pictures", "(//" + std::string(element) + ")[1] picture" +
                                                       std::to_string(counter) + ".bin\n");
}

// The file as UTF-16, little-endian with its byte order mark or big-endian
// without (its declaration names the encoding).
std::string Utf16(const std::string& ascii, bool bigEndian)
{
    std::string text = ReplaceAll(ascii, "encoding='utf-8'", "encoding='UTF-16'");
    std::string wide = bigEndian ? std::string() : std::string("\xFF\xFE", 2);
    for (char c : text) {
        if (bigEndian)
            wide += '\0';
        wide += c;
        if (!bigEndian)
            wide += '\0';
    }
    return wide;
}

const char kHeadingWithPicture[] = "<Tree><Leaf ID='1' IDParentLeaf='0'>\nH<CurLeafTemplate ID='3'/>"
                                   "<ImageList><ImageListItem ID='1'/></ImageList></Leaf></Tree>\n";

}  // namespace

TEST_F(DocumentFiles, PicturesLoadAsAnXmlReaderReadsTheirText)
{
    const std::string bytes = RandomBytes(60000, 31);
    const std::string text = Base64(bytes);
    const std::string large = RandomBytes(20u << 20, 32);
    // References for '/', '+' and 'A', and line breaks written as references.
    std::string referenced = text;
    for (size_t at = 76; at < referenced.size(); at += 77)
        referenced.insert(at, "\n");
    referenced = ReplaceAll(ReplaceAll(referenced, "/", "&#x2F;"), "+", "&#43;");
    referenced = ReplaceAll(ReplaceAll(referenced, "AB", "&#65;B"), "\n", "&#10;");
    const std::string commented = text.substr(0, 30000) + "<!-- a note -->\n" + text.substr(30000, 20000) +
                                  "<?tool step?>" + text.substr(50000);
    const std::string lineThenSection = text.substr(0, 40000) + "<![CDATA[" + text.substr(40000) + "]]>";
    const struct {
        const char* what;
        std::string data;  // the Image's text
        const std::string& bytes;
        bool utf16;
        bool bigEndian;
    } cases[] = {
        {"character references", referenced, bytes, false, false},
        {"a comment and an instruction", commented, bytes, false, false},
        {"one long line and then a CDATA section", lineThenSection, bytes, false, false},
        {"20 MB in a CDATA section", "<![CDATA[" + Base64(large) + "]]>", large, false, false},
        {"UTF-16, little-endian with its mark", "\n" + text, bytes, true, false},
        {"UTF-16, big-endian without", text.substr(0, 100) + "&#10;" + text.substr(100), bytes, true, true},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.what);
        std::string file = DocumentText(std::string(kHeadingWithPicture) +
                                        "<Images SavePicType='0' Count='1'><Image ID='1' FileFormat='png'>" +
                                        test.data + "</Image></Images>\n");
        if (test.utf16)
            file = Utf16(file, test.bigEndian);
        ASSERT_EQ(ReadersPicture(file, "Image"), test.bytes) << "the reader's own reading";

        CTalBaseDocument document;
        CRecordingSerializer serializer;
        ASSERT_TRUE(LoadText(document, file, &serializer));
        EXPECT_TRUE(serializer.dialogs.empty()) << filestest::ToAnsi(serializer.AllLines());
        EXPECT_TRUE(serializer.messages.empty());
        CKWRefPtr<CTalSection> heading = document.GetProperties().GetHeadingSection();
        ASSERT_EQ(heading->GetPictureCount(), 1);
        const std::string loaded = PictureBytes(heading->GetPicture(0)->GetPictureId());
        EXPECT_TRUE(loaded == test.bytes) << loaded.size() << " bytes";
        KeepForTheHostCheck(file, "Image", loaded);
    }
}

// The attributes in double quotes, a carried page template whose preview
// holds a comment, and a title template whose background holds references:
// the parser reads what the pre-pass leaves, for templates as for pictures.
TEST_F(DocumentFiles, TemplatePicturesLoadAsAnXmlReaderReadsTheirText)
{
    const std::string preview = RandomBytes(3000, 33), background = RandomBytes(2000, 34);
    const std::string picture = RandomBytes(900, 35);
    const std::string previewText = Base64(preview), backgroundText = Base64(background);
    const std::string body =
        std::string(kHeadingWithPicture) +
        "<Images SavePicType=\"0\" Count=\"1\"><Image ID=\"1\" FileFormat=\"png\">" + Base64(picture) +
        "</Image></Images>\n<TitleTemplate FileName='new.ott' Title='T'><TitlePreview FileFormat='png'>" +
        previewText + "</TitlePreview><TitleBgImage FileFormat='png'>" +
        ReplaceAll(backgroundText, "/", "&#47;") + "</TitleBgImage></TitleTemplate>\n" +
        "<LeafTemplate ID='3' FileName='carried.otl'><LeafPreview FileFormat='png'>" + previewText.substr(0, 99) +
        "<!-- -->" + previewText.substr(99) + "</LeafPreview></LeafTemplate>\n";
    const std::string file = DocumentText(body);
    ASSERT_EQ(ReadersPicture(file, "Image"), picture);
    ASSERT_EQ(ReadersPicture(file, "TitleBgImage"), background);
    ASSERT_EQ(ReadersPicture(file, "LeafPreview"), preview);

    CTalBaseDocument document;
    CRecordingSerializer serializer;
    ASSERT_TRUE(LoadText(document, file, &serializer));
    CKWRefPtr<CTalSection> heading = document.GetProperties().GetHeadingSection();
    ASSERT_EQ(heading->GetPictureCount(), 1);
    EXPECT_EQ(PictureBytes(heading->GetPicture(0)->GetPictureId()), picture);
    const CTalTemplate* title = g_TemplateManager.FindTitlePageTemplate(L"new.ott");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(PictureBytes(title->GetPreviewPictureId()), preview);
    EXPECT_EQ(PictureBytes(title->GetBackgroundPictureId()), background);
    const CTalTemplate* leaf = g_TemplateManager.FindPageTemplate(L"carried.otl");
    ASSERT_NE(leaf, nullptr);
    EXPECT_EQ(PictureBytes(leaf->GetPreviewPictureId()), preview);
    KeepForTheHostCheck(file, "TitleBgImage", PictureBytes(title->GetBackgroundPictureId()));
    for (const std::wstring& name : FilesIn(TemplateFolder()))
        ::DeleteFileW((TemplateFolder() + name).c_str());
}

// A UTF-16 file that is no valid UTF-16 is refused with a message that names
// the encoding as the reason.
TEST_F(DocumentFiles, AUtf16DocumentThatIsNoValidUtf16SaysSo)
{
    std::string file = Utf16(DocumentText(kHeadingWithPicture), false);
    file += std::string("\x00\xD8<\0", 4);  // a high surrogate alone
    CTalBaseDocument document;
    CRecordingSerializer serializer;
    EXPECT_FALSE(LoadText(document, file, &serializer));
    ASSERT_EQ(serializer.messages.size(), 1u);
    EXPECT_NE(serializer.messages[0].find(L"UTF-16"), std::wstring::npos);
}

namespace {

// A document of three pictures, each used by the heading section, with the
// prolog (a document type, say) after the XML declaration.
std::string ThreePictureDocument(const std::string& prolog, const std::string& images)
{
    std::string file = DocumentText("<Tree><Leaf ID='1' IDParentLeaf='0'>\nH<CurLeafTemplate ID='-1'/><ImageList>"
                                    "<ImageListItem ID='1'/><ImageListItem ID='2'/><ImageListItem ID='3'/>"
                                    "</ImageList></Leaf></Tree>\n<Images SavePicType='0' Count='3'>" +
                                    images + "</Images>\n");
    return ReplaceAll(file, "?>\n\n<TallierDocument", "?>\n" + prolog + "\n<TallierDocument");
}

std::string Element(const char* name, const std::string& attributes, const std::string& text)
{
    return std::string("<") + name + " " + attributes + ">" + text + "</" + name + ">\n";
}

// Comments and instructions that hold picture elements, "]" and ">": no
// element to the parser, none to the pre-pass.
const char kDecoys[] = "<!-- ] > <Image ID='2' FileFormat='png'>QUFB</Image> --><?note ]> <Image FileFormat='png'>"
                       "QUFB</Image> ?>";
const char kDocumentType[] =
    "<!DOCTYPE TallierDocument [\n<!-- ] > <Image ID='1' FileFormat='png'>QUFB</Image> <TitlePreview FileFormat="
    "'png'> -->\n<?note ]> <Image FileFormat='png'> ?>\n<!ELEMENT Image ANY>\n<!ATTLIST Image Title CDATA 'a]>b'>\n"
    "<!-- ' \" [ -->\n]>";

}  // namespace

// Well-formed documents whose markup the pre-pass must walk as XML does: the
// pictures the document loads are, byte for byte, what libxml2 alone reads,
// and the pre-pass counts the same start tags as the reader, so that no
// picture takes another's place. Each case says which of the three the
// pre-pass reads itself (T) and which it leaves to the parser (P).
TEST_F(DocumentFiles, PicturesLoadAsAnXmlReaderReadsThemWhateverTheMarkupAroundThem)
{
    const std::string bytes[] = {RandomBytes(900, 41), RandomBytes(1500, 42), RandomBytes(700, 43)};
    const std::string a = Base64(bytes[0]), b = Base64(bytes[1]), c = Base64(bytes[2]);
    auto image = [](int id, const std::string& attributes, const std::string& text) {
        return Element("Image", "ID='" + std::to_string(id) + "' " + attributes, text);
    };
    const std::string rest = image(2, "FileFormat='png'", b) + image(3, "FileFormat='png'", c);
    const std::string longTitle = "Title='" + std::string(300, 'x') + ">" + std::string(300, 'y') + "'";
    const struct {
        const char* what;
        std::string prolog;
        std::string images;
        const char* taken;
    } cases[] = {
        {"a '>' in a value after FileFormat", "", image(1, "FileFormat='jpg' Title='a>b'", a) + rest, "TTT"},
        {"a '>' in a value before FileFormat", "", image(1, "Title='a>b' FileFormat='jpg'", a) + rest, "TTT"},
        {"quotes of the other kind in values", "",
         image(1, "Title=\"it's > 'q'\" FileFormat = \"png\" Desc='say \"x>y\"'", a) + rest, "TTT"},
        {"a start tag longer than any header", "", image(1, longTitle + " FileFormat='png'", a) + rest, "TTT"},
        {"comments and instructions in the document type", kDocumentType, image(1, "FileFormat='png'", a) + rest,
         "TTT"},
        {"comments and instructions between the pictures", kDocumentType,
         image(1, "FileFormat='png'", a) + kDecoys + rest + kDecoys, "TTT"},
        {"a CDATA section", "", image(1, "FileFormat='png'", "<![CDATA[" + a + "]]>") + rest, "TTT"},
        {"CDATA split in three", "",
         image(1, "FileFormat='png'",
               "<![CDATA[" + a.substr(0, 7) + "]]><![CDATA[" + a.substr(7, 500) + "]]><![CDATA[" + a.substr(507) +
                   "]]>") +
             rest,
         "TTT"},
        {"text, line breaks and CDATA", "",
         image(1, "FileFormat='png'",
               "\r\n" + a.substr(0, 76) + "\r\n<![CDATA[" + a.substr(76, 76) + "\r\n" + a.substr(152) + "]]>\r\n") +
             rest,
         "TTT"},
        {"a picture the parser reads before the others", kDocumentType,
         image(1, "FileFormat='png'", a.substr(0, 99) + kDecoys + a.substr(99)) + rest, "PTT"},
        {"brackets in a CDATA section (the parser reads it)", "",
         image(1, "FileFormat='png' Title='>'", "<![CDATA[" + a.substr(0, 40) + "]<>]" + a.substr(40) + "]]>") +
             rest,
         "PTT"},
        {"a character that is no digit (the parser reads it)", "",
         image(1, "FileFormat='png'", a.substr(0, 40) + "!>" + a.substr(40)) + rest, "PTT"},
        {"an end tag with a blank (the parser reads it)", "",
         "<Image ID='1' FileFormat='png'>" + a + "</Image >" + rest, "PTT"},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.what);
        const std::string file = ThreePictureDocument(test.prolog, test.images);
        const std::vector<ReaderPicture> read = ReadersPictures(file, "Image");
        ASSERT_EQ(read.size(), 3u) << "the reader reads the document";
        EXPECT_EQ(ExpectPrepassAsTheReader(File(L"prepass.otd"), file), test.taken);

        CTalBaseDocument document;
        CRecordingSerializer serializer;
        ASSERT_TRUE(LoadText(document, file, &serializer));
        EXPECT_TRUE(serializer.dialogs.empty()) << filestest::ToAnsi(serializer.AllLines());
        CKWRefPtr<CTalSection> heading = document.GetProperties().GetHeadingSection();
        ASSERT_EQ(heading->GetPictureCount(), 3);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(read[static_cast<size_t>(i)].id, std::to_string(i + 1));
            EXPECT_TRUE(PictureBytes(heading->GetPicture(i)->GetPictureId()) == read[static_cast<size_t>(i)].bytes &&
                        read[static_cast<size_t>(i)].bytes == bytes[i])
                << "picture " << i + 1;
        }
    }
}

// The same for template files and for a title template a document carries:
// the preview and the background are what libxml2 alone reads.
TEST_F(DocumentFiles, TemplatePicturesLoadAsAnXmlReaderReadsThemWhateverTheMarkupAroundThem)
{
    const std::string preview = RealPicture("png", 51), background = RealPicture("png", 52);
    ASSERT_FALSE(preview.empty() || background.empty());
    const std::string p = Base64(preview), g = Base64(background);
    const std::string plainBackground = Element("TitleBgImage", "FileFormat='png'", g);
    const char kTemplateType[] = "<!DOCTYPE TitleTemplate [\n<!-- ] > <TitlePreview FileFormat='png'>QUFB"
                                 "</TitlePreview> -->\n<?note ]> <TitleBgImage FileFormat='png'> ?>\n]>";
    const char kTemplateDecoys[] = "<!-- <TitleBgImage FileFormat='png'>QUFB</TitleBgImage> --><?x <TitlePreview "
                                   "FileFormat='png'>?>";
    const struct {
        const char* what;
        std::string prolog;
        std::string inner;
    } cases[] = {
        {"a '>' and quotes in values around FileFormat", "",
         Element("TitlePreview", "FileFormat='png' Note='a>b'", p) +
             Element("TitleBgImage", "Note=\"'>'\" FileFormat=\"png\"", g)},
        {"comments and instructions in the document type and between", kTemplateType,
         Element("TitlePreview", "FileFormat='png'", p) + kTemplateDecoys + plainBackground},
        {"CDATA split and text with line breaks", "",
         Element("TitlePreview", "FileFormat='png'",
                 "<![CDATA[" + p.substr(0, 33) + "]]><![CDATA[" + p.substr(33) + "]]>") +
             Element("TitleBgImage", "FileFormat='png'", "\n" + g.substr(0, 76) + "\n" + g.substr(76) + "\n")},
        {"a preview the parser reads", kTemplateType,
         Element("TitlePreview", "FileFormat='png' Note='>'", p.substr(0, 50) + kTemplateDecoys + p.substr(50)) +
             plainBackground},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.what);
        const std::string content = "<TitleTemplate Title='T'>\n" + test.inner + "</TitleTemplate>\n";
        const std::string file = "<?xml version='1.0' encoding='utf-8' ?>\n" + test.prolog + "\n" + content;
        ASSERT_EQ(ReadersPictures(file, "TitlePreview").size(), 1u);
        ASSERT_EQ(ReadersPictures(file, "TitlePreview")[0].bytes, preview) << "the reader's own reading";
        ASSERT_EQ(ReadersPictures(file, "TitleBgImage")[0].bytes, background) << "the reader's own reading";
        ExpectPrepassAsTheReader(File(L"prepass.ott"), file);

        const std::wstring path = File(L"case.ott");
        filestest::WriteBytes(path, file);
        CTalTemplateTags tags;
        ASSERT_TRUE(tags.RegisterTags());
        CTalTitlePageTemplate title;
        CTalXmlSerializer reader;
        std::vector<CString> problems;
        ASSERT_TRUE(reader.LoadTemplate(path.c_str(), &tags, &title, &problems));
        EXPECT_TRUE(problems.empty()) << filestest::ToAnsi(Wide(problems.empty() ? CString() : problems[0]));
        EXPECT_TRUE(PictureBytes(title.GetPreviewPictureId()) == preview);
        EXPECT_TRUE(PictureBytes(title.GetBackgroundPictureId()) == background);

        // The same elements carried by a document.
        const std::string document =
            ReplaceAll(DocumentText(ReplaceAll(content, "<TitleTemplate ", "<TitleTemplate FileName='carried.ott' ")),
                       "?>\n\n<TallierDocument", "?>\n" + ReplaceAll(test.prolog, "TitleTemplate [", "TallierDocument [") +
                                                     "\n<TallierDocument");
        ExpectPrepassAsTheReader(File(L"prepass.otd"), document);
        CTalBaseDocument loaded;
        CRecordingSerializer serializer;
        ASSERT_TRUE(LoadText(loaded, document, &serializer));
        EXPECT_TRUE(serializer.dialogs.empty()) << filestest::ToAnsi(serializer.AllLines());
        const CTalTemplate* carried = g_TemplateManager.FindTitlePageTemplate(L"carried.ott");
        ASSERT_NE(carried, nullptr);
        EXPECT_TRUE(PictureBytes(carried->GetPreviewPictureId()) == preview);
        EXPECT_TRUE(PictureBytes(carried->GetBackgroundPictureId()) == background);
        g_TemplateManager.Clear();
        for (const std::wstring& name : FilesIn(TemplateFolder()))
            ::DeleteFileW((TemplateFolder() + name).c_str());
    }
}

namespace {

// A well-formed document of one to four pictures in a seeded mix of what XML
// allows around them: values with '>' and quotes on either side of
// FileFormat, blanks around '=', a document type and comments and
// instructions that hold picture tags, and text as one run, lines, whole or
// split CDATA, or with something in it that leaves it to the parser.
std::string RandomPictureDocument(std::mt19937& random, std::vector<std::string>& bytes)
{
    static const char* const kValues[] = {"Title='a>b'", "Desc=\"it's '>'\"", "Note='&gt;&lt;&amp;'", "Q=\"\"",
                                          "Name = 'x'", "Long='>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>"
                                                         ">>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>"
                                                         ">>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>'"};
    static const char* const kBlanks[] = {" ", "\r\n\t", "  \t"};
    auto pick = [&](size_t count) { return static_cast<size_t>(random() % count); };
    const size_t count = 1 + pick(4);
    bytes.clear();
    std::string images, items;
    for (size_t i = 0; i < count; ++i) {
        const std::string id = std::to_string(i + 1);
        bytes.push_back(RandomBytes(10 + pick(400), static_cast<unsigned>(random())));
        const std::string text = Base64(bytes.back());
        std::vector<std::string> attributes = {"ID='" + id + "'", pick(2) ? "FileFormat='png'" : "FileFormat=\"png\""};
        // Each attribute once: a name given twice is no well-formed XML.
        std::vector<std::string> values(std::begin(kValues), std::end(kValues));
        std::shuffle(values.begin(), values.end(), random);
        attributes.insert(attributes.end(), values.begin(), values.begin() + static_cast<std::ptrdiff_t>(pick(4)));
        std::shuffle(attributes.begin(), attributes.end(), random);
        std::string tag = "<Image";
        for (const std::string& attribute : attributes)
            tag += kBlanks[pick(3)] + attribute;
        const size_t cut = pick(text.size() + 1), cut2 = cut + pick(text.size() - cut + 1);
        const std::string forms[] = {
            text,
            "\r\n" + text.substr(0, cut) + "\r\n" + text.substr(cut) + "\r\n",
            "<![CDATA[" + text + "]]>",
            "<![CDATA[" + text.substr(0, cut) + "]]><![CDATA[" + text.substr(cut, cut2 - cut) + "]]>\n<![CDATA[" +
                text.substr(cut2) + "]]>",
            text.substr(0, cut) + "<![CDATA[" + text.substr(cut) + "]]>",
            text.substr(0, cut) + kDecoys + text.substr(cut),
            text.substr(0, cut) + "!" + text.substr(cut),
        };
        images += tag + kBlanks[pick(2)] + ">" + forms[pick(sizeof forms / sizeof forms[0])] + "</Image>" +
                  (pick(3) ? "\n" : kDecoys);
        items += "<ImageListItem ID='" + id + "'/>";
    }
    std::string file = DocumentText("<Tree><Leaf ID='1' IDParentLeaf='0'>\nH<CurLeafTemplate ID='-1'/><ImageList>" +
                                    items + "</ImageList></Leaf></Tree>\n" + (pick(2) ? kDecoys : "") +
                                    "<Images SavePicType='0' Count='4'>" + images + "</Images>\n");
    if (pick(2))
        file = ReplaceAll(file, "?>\n\n<TallierDocument", std::string("?>\n") + kDocumentType + "\n<TallierDocument");
    return file;
}

}  // namespace

// Seeded well-formed documents: the pre-pass counts the start tags the reader
// counts and every picture it takes is the reader's; a share of them is also
// loaded whole, each picture the reader's.
TEST_F(DocumentFiles, RandomWellFormedDocumentsLoadTheirPicturesAsAnXmlReaderReadsThem)
{
    std::mt19937 random(20261207);
    const int kDocuments = 400;
    int taken = 0, left = 0;
    for (int n = 0; n < kDocuments; ++n) {
        std::vector<std::string> bytes;
        const std::string file = RandomPictureDocument(random, bytes);
        const std::vector<ReaderPicture> read = ReadersPictures(file, "Image");
        ASSERT_EQ(read.size(), bytes.size()) << "document " << n << " is well-formed";
        const std::string passed = ExpectPrepassAsTheReader(File(L"prepass.otd"), file);
        taken += static_cast<int>(std::count(passed.begin(), passed.end(), 'T'));
        left += static_cast<int>(std::count(passed.begin(), passed.end(), 'P'));
        if (n % 4 == 0) {
            CTalBaseDocument document;
            CRecordingSerializer serializer;
            ASSERT_TRUE(LoadText(document, file, &serializer)) << "document " << n;
            EXPECT_TRUE(serializer.dialogs.empty()) << "document " << n << filestest::ToAnsi(serializer.AllLines());
            CKWRefPtr<CTalSection> heading = document.GetProperties().GetHeadingSection();
            ASSERT_EQ(heading->GetPictureCount(), static_cast<int>(bytes.size())) << "document " << n;
            for (size_t i = 0; i < bytes.size(); ++i) {
                EXPECT_TRUE(read[i].bytes == bytes[i] &&
                            PictureBytes(heading->GetPicture(static_cast<int>(i))->GetPictureId()) == bytes[i])
                    << "picture " << i + 1 << " of document " << n;
            }
        }
        if (::testing::Test::HasFailure())
            break;
    }
    // Both roads were taken.
    EXPECT_GT(taken, kDocuments);
    EXPECT_GT(left, kDocuments / 10);
}
