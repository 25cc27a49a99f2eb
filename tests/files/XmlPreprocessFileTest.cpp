#include "FilesTestSupport.h"

#include "files/XmlPreprocessFile.h"
#include "files/XmlValueForms.h"
#include "framework/KWRasterLib.h"
#include "model/TalPageTemplate.h"
#include "model/TalTitlePageTemplate.h"

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
    std::wstring Write(const std::string& bytes)
    {
        std::wstring path = m_dir.File(L"doc.otd");
        filestest::WriteBytes(path, bytes);
        return path;
    }
    TempDir m_dir;
};

}  // namespace

TEST_F(PrePass, FindsAMarkerThatStraddlesTheReadWindow)
{
    const int32_t kWindow = CXmlPreprocessFile::kWindowSize - 1;
    const std::string marker = "<Image ";
    const int32_t starts[] = {kWindow - 7, kWindow - 6, kWindow - 3, kWindow - 1, kWindow, kWindow + 1,
                              2 * kWindow - 14, 2 * kWindow - 10, 250000};
    for (int32_t start : starts) {
        std::string bytes(static_cast<size_t>(start), 'x');
        bytes += marker + "tail";
        CXmlPreprocessFile file(Write(bytes).c_str());
        ASSERT_TRUE(file.IsOpen());
        int32_t position = 0;
        const char* found = file.FindMarker(position, marker.c_str());
        ASSERT_NE(found, nullptr) << start;
        EXPECT_EQ(position, start);
        EXPECT_EQ(std::string(found, marker.size()), marker);
        int32_t after = position + 1;
        EXPECT_EQ(file.FindMarker(after, marker.c_str()), nullptr) << "only one marker";
    }
}

TEST_F(PrePass, AZeroByteHidesNoMarker)
{
    std::string bytes = "abc";
    bytes += '\0';
    bytes += "def<Images SavePicType='0'>";
    CXmlPreprocessFile file(Write(bytes).c_str());
    int32_t position = 0;
    ASSERT_NE(file.FindMarker(position, "<Images"), nullptr);
    EXPECT_EQ(position, 7);
}

TEST_F(PrePass, ReadsDocumentImagesInOrder)
{
    const std::string first = RandomBytes(1000, 1);
    const std::string second = RandomBytes(77, 2);
    std::string doc = "<?xml version='1.0' encoding='utf-8' ?>\n\n<TallierDocument>\n"
                      "\t<Images SavePicType='0' Count='2'>\n" +
                      ImageElement(15, "jpg", first) + ImageElement(16, "PNG", second) + "\t</Images>\n</TallierDocument>\n";
    CXmlPreprocessFile file(Write(filestest::WithCrLf(doc)).c_str());
    int32_t type = -1, count = -1;
    ASSERT_TRUE(file.ReadImagesHeader(type, count));
    EXPECT_EQ(type, 0);
    EXPECT_EQ(count, 2);

    int32_t position = 0;
    CXmlPreprocessFile::DocumentImage image;
    ASSERT_TRUE(file.ReadDocumentImage(position, image));
    EXPECT_EQ(image.imageId, 15);
    EXPECT_EQ(StoredBytes(image.pictureId), first);
    EXPECT_EQ(StoredExtension(image.pictureId), "jpg");
    ASSERT_TRUE(file.ReadDocumentImage(position, image));
    EXPECT_EQ(image.imageId, 16);
    EXPECT_EQ(StoredBytes(image.pictureId), second);
    EXPECT_EQ(StoredExtension(image.pictureId), "PNG");
    EXPECT_FALSE(file.ReadDocumentImage(position, image));
}

TEST_F(PrePass, AnImageWithoutDataGivesZeroAndTheNextOneIsRead)
{
    const std::string bytes = RandomBytes(300, 3);
    std::string doc = "<Images SavePicType='0'>\n"
                      "<Image ID='1' FileFormat='png'/>\n" +
                      ImageElement(2, "png", bytes) + "</Images>\n";
    CXmlPreprocessFile file(Write(doc).c_str());
    int32_t type = -1, count = -1;
    ASSERT_TRUE(file.ReadImagesHeader(type, count));
    EXPECT_EQ(count, 10) << "a missing count is taken as 10";
    int32_t position = 0;
    CXmlPreprocessFile::DocumentImage image;
    ASSERT_TRUE(file.ReadDocumentImage(position, image));
    EXPECT_EQ(image.imageId, 1);
    EXPECT_EQ(image.pictureId, 0);
    ASSERT_TRUE(file.ReadDocumentImage(position, image));
    EXPECT_EQ(image.imageId, 2);
    EXPECT_EQ(StoredBytes(image.pictureId), bytes);
    EXPECT_FALSE(file.ReadDocumentImage(position, image));
}

TEST_F(PrePass, UnreadableImageBlocksAreSkippedAndTheRestIsRead)
{
    const std::string a = RandomBytes(10, 4), b = RandomBytes(20, 5), c = RandomBytes(30, 6);
    std::string doc = ImageElement(1, "jpg", a) +
                      ImageElement(2, "jpeg2000", b) +     // too long
                      ImageElement(3, "..\\x", b) +         // not an extension
                      "<Image FileFormat='jpg'>" + Base64(b) + "</Image>\n" +  // no ID
                      "<Image ID='5' FileFormat='jpg'></Image>\n" +            // empty
                      "<Image ID='6' FileFormat='jpg>" + Base64(b) + "</Image>\n" +  // unterminated value
                      ImageElement(7, "tif", c);
    CXmlPreprocessFile file(Write(doc).c_str());
    int32_t position = 0;
    CXmlPreprocessFile::DocumentImage image;
    std::vector<std::pair<int32_t, std::string>> read;
    while (file.ReadDocumentImage(position, image)) {
        read.emplace_back(image.imageId, StoredBytes(image.pictureId));
        ASSERT_LT(read.size(), 20u) << "the scan must advance";
    }
    std::vector<std::pair<int32_t, std::string>> expected = {{1, a}, {2, ""}, {3, ""}, {0, ""}, {5, ""}, {6, ""}, {7, c}};
    EXPECT_EQ(read, expected);
}

TEST_F(PrePass, TemplatePicturesByTheTemplatesKind)
{
    const std::string preview = RandomBytes(500, 7), background = RandomBytes(600, 8);
    std::string doc = "<TitleTemplate Title='t'>\n"
                      "\t<TitlePreview FileFormat='png'>\n" + Base64(preview) + "\t</TitlePreview>\n"
                      "\t<TitleBgImage FileFormat='jpg'>\n" + Base64(background) + "\t</TitleBgImage>\n"
                      "</TitleTemplate>\n";
    std::wstring path = Write(filestest::WithCrLf(doc));
    {
        CXmlPreprocessFile file(path.c_str());
        CTalTitlePageTemplate title;
        ASSERT_TRUE(file.ReadTemplateImages(&title));
        EXPECT_EQ(StoredBytes(title.GetPreviewPictureId()), preview);
        EXPECT_EQ(StoredBytes(title.GetBackgroundPictureId()), background);
    }
    {
        CXmlPreprocessFile file(path.c_str());
        CTalPageTemplate leaf;
        leaf.SetPreviewPictureId(99);
        ASSERT_TRUE(file.ReadTemplateImages(&leaf));
        EXPECT_EQ(leaf.GetPreviewPictureId(), 0) << "the leaf markers find nothing in a title template";
        EXPECT_EQ(leaf.GetBackgroundPictureId(), 0);
    }
    {
        CXmlPreprocessFile file(path.c_str());
        int32_t previewId = -1, backgroundId = -1;
        ASSERT_TRUE(file.ReadTitleTemplateImages(previewId, backgroundId));
        EXPECT_EQ(StoredBytes(previewId), preview);
        EXPECT_EQ(StoredBytes(backgroundId), background);
    }
    CXmlPreprocessFile closed;
    CTalPageTemplate leaf;
    EXPECT_FALSE(closed.ReadTemplateImages(&leaf));
}

TEST_F(PrePass, ATemplateWithoutPreviewStillFindsItsBackground)
{
    const std::string background = RandomBytes(100, 9);
    std::string doc = "<LeafTemplate>\n\t<LeafBgImage FileFormat='bmp'>\n" + Base64(background) +
                      "\t</LeafBgImage>\n</LeafTemplate>\n";
    CXmlPreprocessFile file(Write(doc).c_str());
    CTalPageTemplate leaf;
    ASSERT_TRUE(file.ReadTemplateImages(&leaf));
    EXPECT_EQ(leaf.GetPreviewPictureId(), 0);
    EXPECT_EQ(StoredBytes(leaf.GetBackgroundPictureId()), background);
}

TEST_F(PrePass, EmbeddedLeafTemplatesOneAfterAnother)
{
    const std::string p1 = RandomBytes(40, 10), b1 = RandomBytes(50, 11), b3 = RandomBytes(60, 12);
    std::string doc = "<TallierDocument>\n"
                      "\t<LeafTemplate ID='4' FileName='a.otl'>\n"
                      "\t\t<LeafPreview FileFormat='png'>\n" + Base64(p1) + "\t\t</LeafPreview>\n"
                      "\t\t<LeafBgImage FileFormat='png'>\n" + Base64(b1) + "\t\t</LeafBgImage>\n"
                      "\t</LeafTemplate>\n"
                      "\t<LeafTemplate ID='9' FileName='b.otl'>\n"
                      "\t</LeafTemplate>\n"
                      "\t<LeafTemplate ID='12' FileName='c.otl'>\n"
                      "\t\t<LeafBgImage FileFormat='gif'>\n" + Base64(b3) + "\t\t</LeafBgImage>\n"
                      "\t</LeafTemplate>\n"
                      "</TallierDocument>\n";
    CXmlPreprocessFile file(Write(filestest::WithCrLf(doc)).c_str());
    int32_t position = 0;
    CXmlPreprocessFile::LeafTemplateImages images;
    ASSERT_TRUE(file.ReadLeafTemplateImages(position, images));
    EXPECT_EQ(images.templateId, 4);
    EXPECT_EQ(StoredBytes(images.previewId), p1);
    EXPECT_EQ(StoredBytes(images.backgroundId), b1);
    ASSERT_TRUE(file.ReadLeafTemplateImages(position, images));
    EXPECT_EQ(images.templateId, 9);
    EXPECT_EQ(images.previewId, 0);
    EXPECT_EQ(images.backgroundId, 0);
    ASSERT_TRUE(file.ReadLeafTemplateImages(position, images));
    EXPECT_EQ(images.templateId, 12);
    EXPECT_EQ(images.previewId, 0);
    EXPECT_EQ(StoredBytes(images.backgroundId), b3);
    EXPECT_FALSE(file.ReadLeafTemplateImages(position, images));
}

TEST_F(PrePass, ImagesHeaderNeedsThePictureType)
{
    CXmlPreprocessFile file(Write("<Images Count='3'>\n</Images>").c_str());
    int32_t type = -1, count = -1;
    EXPECT_FALSE(file.ReadImagesHeader(type, count));
    CXmlPreprocessFile none(Write("<TallierDocument/>").c_str());
    EXPECT_FALSE(none.ReadImagesHeader(type, count));
}

TEST_F(PrePass, ImagesOfTensOfMegabytesAreDecodedStraightFromTheFile)
{
    const std::string first = RandomBytes(18u << 20, 13);
    const std::string second = RandomBytes(9u << 20, 14);
    std::wstring path = m_dir.File(L"big.otd");
    {
        std::string doc = "<Images SavePicType='0' Count='2'>\n" + ImageElement(1, "jpg", first) +
                          ImageElement(2, "jpg", second) + "</Images>\n";
        filestest::WriteBytes(path, filestest::WithCrLf(doc));
    }
    DWORD start = ::GetTickCount();
    CXmlPreprocessFile file(path.c_str());
    int32_t position = 0;
    CXmlPreprocessFile::DocumentImage image;
    ASSERT_TRUE(file.ReadDocumentImage(position, image));
    EXPECT_TRUE(StoredBytes(image.pictureId) == first);
    ASSERT_TRUE(file.ReadDocumentImage(position, image));
    EXPECT_TRUE(StoredBytes(image.pictureId) == second);
    EXPECT_FALSE(file.ReadDocumentImage(position, image));
    std::printf("[ info ] %u ms to pre-pass %u MB of images\n", static_cast<unsigned>(::GetTickCount() - start),
                static_cast<unsigned>((first.size() + second.size()) >> 20));
}
