// A picture's text in every form XML allows: the document loads with every
// picture's bytes equal to what an XML reader of its own makes of the file
// (libxml2's tree reader, as xmllint reads it, and the Base64 decoded by a
// decoder of the test's own). The image pre-pass reads what it can read
// exactly and leaves the rest to the parser. Each file and the bytes loaded
// from it also go to the XML check folder, where the host's xmllint reads
// the file once more (scripts/test.sh).
#include "DocumentFixture.h"

#include "files/XmlValueForms.h"

#include <gtest/gtest.h>

#include <libxml/parser.h>
#include <libxml/tree.h>

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
