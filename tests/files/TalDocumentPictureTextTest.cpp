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

void CollectElements(const xmlNode* node, const char* name, std::vector<const xmlNode*>& found)
{
    for (; node; node = node->next) {
        if (node->type == XML_ELEMENT_NODE && std::string(reinterpret_cast<const char*>(node->name)) == name)
            found.push_back(node);
        CollectElements(node->children, name, found);
    }
}

}  // namespace

// The text of every element of that name, in document order, as libxml2's
// tree reader reads the file, decoded; none when the file cannot be read.
std::vector<std::string> doctest::ReadersPictures(const std::string& file, const char* element)
{
    std::vector<std::string> pictures;
    xmlDocPtr doc = xmlReadMemory(file.data(), static_cast<int>(file.size()), "picture.xml", nullptr,
                                  XML_PARSE_NONET | XML_PARSE_HUGE);
    if (!doc)
        return pictures;
    std::vector<const xmlNode*> nodes;
    CollectElements(xmlDocGetRootElement(doc), element, nodes);
    for (const xmlNode* node : nodes) {
        xmlChar* content = xmlNodeGetContent(node);
        pictures.push_back(DecodeBase64(reinterpret_cast<const char*>(content)));
        xmlFree(content);
    }
    xmlFreeDoc(doc);
    return pictures;
}

namespace {

// The first one; empty when there is none.
std::string ReadersPicture(const std::string& file, const char* element)
{
    const std::vector<std::string> pictures = ReadersPictures(file, element);
    return pictures.empty() ? std::string() : pictures[0];
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
        const std::vector<std::string> read = ReadersPictures(file, XmlPictureElement(kind));
        const std::vector<XmlPrepassPicture>& passed = found.pictures.byKind[kind];
        EXPECT_EQ(passed.size(), read.size()) << XmlPictureElement(kind) << " start tags";
        for (size_t i = 0; i < passed.size() && i < read.size(); ++i) {
            if (passed[i].taken) {
                EXPECT_TRUE(PictureBytes(passed[i].pictureId) == read[i])
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

}  // namespace

// The file as UTF-16, little-endian with its byte order mark or big-endian
// without (its declaration names the encoding).
std::string doctest::Utf16(const std::string& ascii, bool bigEndian)
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

namespace {

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
        EXPECT_EQ(Wide(g_rasterLib.GetPictureSource(uint32_t(heading->GetPicture(0)->GetPictureId()))),
                  File(L"crafted.otd"))
            << "a warning names the report, not the copy it was read through";
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

std::string Element(const char* name, const std::string& attributes, const std::string& text)
{
    return std::string("<") + name + " " + attributes + ">" + text + "</" + name + ">\n";
}

// A document of the body with the prolog (a document type, say) after the
// XML declaration.
std::string DocumentWithProlog(const std::string& prolog, const std::string& body)
{
    return ReplaceAll(DocumentText(body), "?>\n\n<TallierDocument", "?>\n" + prolog + "\n<TallierDocument");
}

// The pictures of the images, each used by the heading section in turn.
std::string PicturesBody(const std::string& images, size_t count)
{
    std::string items;
    for (size_t id = 1; id <= count; ++id)
        items += "<ImageListItem ID='" + std::to_string(id) + "'/>";
    return "<Tree><Leaf ID='1' IDParentLeaf='0'>\nH<CurLeafTemplate ID='-1'/><ImageList>" + items +
           "</ImageList></Leaf></Tree>\n<Images SavePicType='0' Count='4'>" + images + "</Images>\n";
}

// The document loads without a word, its heading section's pictures byte
// for byte what libxml2 alone reads, which are the pictures written, and the
// first shown of them show as the pictures they are. Saved, the reader reads
// the same bytes in the file, and so does the next load.
void ExpectLoadedAsTheReader(const std::wstring& path, const std::wstring& templateFolder, const std::string& file,
                             const std::vector<std::string>& bytes, size_t shown = 0, bool again = true)
{
    filestest::WriteBytes(path, file);
    ASSERT_EQ(ReadersPictures(file, "Image"), bytes) << "the reader's own reading";
    CTalBaseDocument document;
    CRecordingSerializer serializer;
    ASSERT_TRUE(LoadDocument(document, path, templateFolder, &serializer));
    EXPECT_TRUE(serializer.dialogs.empty()) << filestest::ToAnsi(serializer.AllLines());
    CKWRefPtr<CTalSection> heading = document.GetProperties().GetHeadingSection();
    ASSERT_EQ(heading->GetPictureCount(), static_cast<int>(bytes.size()));
    for (size_t i = 0; i < bytes.size(); ++i) {
        const int32_t id = heading->GetPicture(static_cast<int>(i))->GetPictureId();
        EXPECT_TRUE(PictureBytes(id) == bytes[i]) << "picture " << i + 1;
        EXPECT_TRUE(i >= shown || g_rasterLib.GetPictureState(uint32_t(id)) == KWPictureState::Sound) << i + 1;
    }
    ASSERT_TRUE(SaveDocument(document, path + L".saved.otd", templateFolder));
    if (again)
        ExpectLoadedAsTheReader(path + L".saved.otd", templateFolder, filestest::ReadBytes(path + L".saved.otd"),
                                bytes, shown, false);
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
    // A photograph, a drawing and bytes that are no picture.
    const std::vector<std::string> bytes = {RealPicture("jpg", 41), RealPicture("png", 42), RandomBytes(700, 43)};
    const std::string a = Base64(bytes[0]);
    ASSERT_GT(a.size(), 600u);
    auto image = [](int id, const std::string& attributes, const std::string& text) {
        return Element("Image", "ID='" + std::to_string(id) + "' " + attributes, text);
    };
    const std::string rest =
        image(2, "FileFormat='png'", Base64(bytes[1])) + image(3, "FileFormat='png'", Base64(bytes[2]));
    const std::string png = "FileFormat='png'";
    // The three claiming one format, the first with the text given.
    auto claimed = [&](const std::string& format, const std::string& text) {
        return image(1, format, text) + image(2, format, Base64(bytes[1])) + image(3, format, Base64(bytes[2]));
    };
    const std::string longPath = "FileFormat='C:\\" + std::string(250, 'p') + "'";
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
        {"a start tag longer than any header", "",
         image(1, "Title='" + std::string(300, 'x') + ">" + std::string(300, 'y') + "' " + png, a) + rest, "TTT"},
        {"comments and instructions in the document type and between the pictures", kDocumentType,
         image(1, png, a) + kDecoys + rest + kDecoys, "TTT"},
        {"CDATA whole", "", image(1, png, "<![CDATA[" + a + "]]>") + rest, "TTT"},
        {"CDATA split in three", "",
         image(1, png, "<![CDATA[" + a.substr(0, 7) + "]]><![CDATA[" + a.substr(7, 500) + "]]><![CDATA[" +
                           a.substr(507) + "]]>") + rest,
         "TTT"},
        {"text, line breaks and CDATA", "",
         image(1, png, "\r\n" + a.substr(0, 76) + "\r\n<![CDATA[" + a.substr(76, 76) + "\r\n" + a.substr(152) +
                           "]]>\r\n") + rest,
         "TTT"},
        {"a picture the parser reads before the others", kDocumentType,
         image(1, png, a.substr(0, 99) + kDecoys + a.substr(99)) + rest, "PTT"},
        {"brackets in a CDATA section", "",
         image(1, png + " Title='>'", "<![CDATA[" + a.substr(0, 40) + "]<>]" + a.substr(40) + "]]>") + rest, "PTT"},
        {"a character that is no digit", "", image(1, png, a.substr(0, 40) + "!>" + a.substr(40)) + rest, "PTT"},
        {"an end tag with a blank", "", "<Image ID='1' FileFormat='png'>" + a + "</Image >" + rest, "PTT"},
        // Whatever the format claims, the bytes are read and kept.
        {"no format", "", claimed("", a), "TTT"},
        {"an empty format", "", claimed("FileFormat=''", a), "TTT"},
        {"a folder's end and a name", "", claimed("FileFormat='06\\scan'", a), "TTT"},
        {"a path", "", claimed("FileFormat='C:\\Photos\\scan'", a), "TTT"},
        {"no picture format", "", claimed("FileFormat='jpegxyz'", a), "TTT"},
        {"a name", "", claimed("FileFormat='my.scan'", a), "TTT"},
        {"a long path, '>' past 200 bytes", "", claimed(longPath, a), "TTT"},
        {"no format, read by the parser", "", claimed("", a.substr(0, 40) + "!>" + a.substr(40)), "PTT"},
        {"a long path, read by the parser", "", claimed(longPath, a.substr(0, 40) + "<!-- -->" + a.substr(40)), "PTT"},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.what);
        const std::string file = DocumentWithProlog(test.prolog, PicturesBody(test.images, 3));
        EXPECT_EQ(ExpectPrepassAsTheReader(File(L"prepass.otd"), file), test.taken);
        ExpectLoadedAsTheReader(File(L"crafted.otd"), TemplateFolder(), file, bytes, 2);
    }
}

// The same for template files and for a title template a document carries.
TEST_F(DocumentFiles, TemplatePicturesLoadAsAnXmlReaderReadsThemWhateverTheMarkupAroundThem)
{
    const std::string preview = RealPicture("png", 51), background = RealPicture("png", 52);
    ASSERT_FALSE(preview.empty() || background.empty());
    const std::string p = Base64(preview), g = Base64(background);
    const std::string plainBackground = Element("TitleBgImage", "FileFormat='png'", g);
    const std::string decoys =
        ReplaceAll(ReplaceAll(kDecoys, "<Image ID='2'", "<TitleBgImage"), "Image>", "TitleBgImage>");
    const std::string type = ReplaceAll(kDocumentType, "<Image", "<TitlePreview");
    const std::string oddClaims =
        Element("TitlePreview", "FileFormat='C:\\x\\prev'", p) + Element("TitleBgImage", "FileFormat='bitmaps'", g);
    const struct {
        const char* what;
        std::string prolog;
        std::string inner;
        bool leaf = false;  // a page template's, which the document's section uses
    } cases[] = {
        {"a '>' and quotes in values around FileFormat", "",
         Element("TitlePreview", "FileFormat='png' Note='a>b'", p) +
             Element("TitleBgImage", "Note=\"'>'\" FileFormat=\"png\"", g)},
        {"comments and instructions in the document type and between", type,
         Element("TitlePreview", "FileFormat='png'", p) + decoys + plainBackground},
        {"CDATA split and text with line breaks", "",
         Element("TitlePreview", "FileFormat='png'",
                 "<![CDATA[" + p.substr(0, 33) + "]]><![CDATA[" + p.substr(33) + "]]>") +
             Element("TitleBgImage", "FileFormat='png'", "\n" + g.substr(0, 76) + "\n" + g.substr(76) + "\n")},
        {"a preview the parser reads", type,
         Element("TitlePreview", "FileFormat='png' Note='>'", p.substr(0, 50) + decoys + p.substr(50)) +
             plainBackground},
        {"a path and seven characters as formats", "", oddClaims},  // read by the bytes whatever they claim
        {"a path and seven characters as a page template's formats", "", oddClaims, true},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.what);
        std::string content = "<TitleTemplate FileName='carried.ott' Title='T'>\n" + test.inner + "</TitleTemplate>\n";
        if (test.leaf)
            content = ReplaceAll(ReplaceAll(ReplaceAll(content, "Title", "Leaf"), "Leaf='T'", "ID='3' Title='T'"),
                                 ".ott", ".otl");
        const std::string kind = test.leaf ? "Leaf" : "Title", previewName = kind + "Preview";
        const std::string backgroundName = kind + "BgImage";
        const std::string file = "<?xml version='1.0' encoding='utf-8' ?>\n" + test.prolog + "\n" + content;
        ASSERT_EQ(ReadersPictures(file, previewName.c_str()), std::vector<std::string>{preview});
        ASSERT_EQ(ReadersPictures(file, backgroundName.c_str()), std::vector<std::string>{background});
        ExpectPrepassAsTheReader(File(L"prepass.ott"), file);
        filestest::WriteBytes(File(L"case.ott"), file);
        CTalTemplateTags tags;
        ASSERT_TRUE(tags.RegisterTags());
        CTalTitlePageTemplate title;
        CTalPageTemplate page;
        CTalTemplate& read = test.leaf ? static_cast<CTalTemplate&>(page) : title;
        std::vector<CString> problems;
        ASSERT_TRUE(CTalXmlSerializer().LoadTemplate(File(L"case.ott").c_str(), &tags, &read, &problems));
        EXPECT_TRUE(problems.empty());
        EXPECT_TRUE(PictureBytes(read.GetPreviewPictureId()) == preview);
        EXPECT_TRUE(PictureBytes(read.GetBackgroundPictureId()) == background);

        // The same elements carried by a document, and written whole by its save.
        const std::string tree = test.leaf ? "<Tree><Leaf ID='1'>H<CurLeafTemplate ID='3'/></Leaf></Tree>" : "";
        const std::string document = DocumentWithProlog(test.prolog.empty() ? "" : kDocumentType, tree + content);
        ExpectPrepassAsTheReader(File(L"prepass.otd"), document);
        ExpectLoadedAsTheReader(File(L"crafted.otd"), TemplateFolder(), document, {});
        const std::string saved = filestest::ReadBytes(File(L"crafted.otd") + L".saved.otd");
        EXPECT_EQ(ReadersPictures(saved, previewName.c_str()), std::vector<std::string>{preview});
        EXPECT_EQ(ReadersPictures(saved, backgroundName.c_str()), std::vector<std::string>{background});
        const CTalTemplate* carried = test.leaf ? g_TemplateManager.FindPageTemplate(L"carried.otl")
                                                : g_TemplateManager.FindTitlePageTemplate(L"carried.ott");
        ASSERT_NE(carried, nullptr);
        EXPECT_TRUE(PictureBytes(carried->GetPreviewPictureId()) == preview);
        EXPECT_TRUE(PictureBytes(carried->GetBackgroundPictureId()) == background);
        g_TemplateManager.Clear();
        for (const std::wstring& name : FilesIn(TemplateFolder()))
            ::DeleteFileW((TemplateFolder() + name).c_str());
    }
}

// Seeded well-formed documents of one to four pictures in a mix of what XML
// allows around them: values with '>' and quotes on either side of
// FileFormat, blanks, the document type and the comments and instructions
// above, and text as one run, lines, whole or split CDATA, or with something
// that leaves it to the parser. Every fourth one is loaded whole.
TEST_F(DocumentFiles, RandomWellFormedDocumentsLoadTheirPicturesAsAnXmlReaderReadsThem)
{
    const std::vector<std::string> kValues = {"Title='a>b'", "Desc=\"it's '>'\"", "Note='&gt;&lt;'", "Q=\"\"",
                                              "Name = 'x'", "Long='" + std::string(250, '>') + "'"};
    const char* const kBlanks[] = {" ", "\r\n\t", "  \t"};
    std::mt19937 random(20261207);
    auto pick = [&](size_t count) { return static_cast<size_t>(random() % count); };
    int taken = 0, left = 0;
    for (int n = 0; n < 400 && !::testing::Test::HasFailure(); ++n) {
        std::vector<std::string> bytes(1 + pick(4));
        std::string images;
        for (size_t i = 0; i < bytes.size(); ++i) {
            bytes[i] = RandomBytes(10 + pick(400), static_cast<unsigned>(random()));
            const std::string text = Base64(bytes[i]);
            // Each attribute once: a name given twice is no well-formed XML.
            std::vector<std::string> attributes = kValues;
            std::shuffle(attributes.begin(), attributes.end(), random);
            attributes.resize(pick(4));
            attributes.push_back("ID='" + std::to_string(i + 1) + "'");
            attributes.push_back(pick(2) ? "FileFormat='png'" : "FileFormat=\"png\"");
            std::shuffle(attributes.begin(), attributes.end(), random);
            std::string tag = "<Image";
            for (const std::string& attribute : attributes)
                tag += kBlanks[pick(3)] + attribute;
            const size_t cut = pick(text.size() + 1), cut2 = cut + pick(text.size() - cut + 1);
            const std::string head = text.substr(0, cut), middle = text.substr(cut, cut2 - cut);
            const std::string tail = text.substr(cut2);
            const std::string forms[] = {
                text, "\r\n" + head + "\r\n" + middle + tail + "\r\n", "<![CDATA[" + text + "]]>",
                "<![CDATA[" + head + "]]><![CDATA[" + middle + "]]>\n<![CDATA[" + tail + "]]>",
                head + "<![CDATA[" + middle + tail + "]]>", head + kDecoys + middle + tail, head + "!" + middle + tail,
            };
            images += tag + kBlanks[pick(2)] + ">" + forms[pick(7)] + "</Image>" + (pick(3) ? "\n" : kDecoys);
        }
        const std::string file =
            DocumentWithProlog(pick(2) ? kDocumentType : "",
                               PicturesBody((pick(2) ? kDecoys : "") + images, bytes.size()));
        const std::string passed = ExpectPrepassAsTheReader(File(L"prepass.otd"), file);
        taken += static_cast<int>(std::count(passed.begin(), passed.end(), 'T'));
        left += static_cast<int>(std::count(passed.begin(), passed.end(), 'P'));
        if (n % 4 == 0)
            ExpectLoadedAsTheReader(File(L"crafted.otd"), TemplateFolder(), file, bytes);
    }
    // Both roads were taken.
    EXPECT_GT(taken, 400);
    EXPECT_GT(left, 40);
}
