#include "FilesTestSupport.h"
#include "RecordingTags.h"

#include "files/NewXmlArch.h"

#include <gtest/gtest.h>

using filestest::TempDir;

TEST(ArchiveOutput, WritesTagsAttributesAndValuesInTheirForms)
{
    TempDir dir;
    std::wstring path = dir.File(L"out.xml");
    {
        CNewXmlArch archive(path.c_str(), CNewXmlArch::kModeWrite, false);
        ASSERT_TRUE(archive.IsSaving());
        const uint8_t bytes[] = {'f', 'o', 'o', 'b'};
        archive.StartTag(L"Root");
        archive.WriteAttr(L"Text", CString(L"O'Brien & \"co\""));
        archive.WriteAttr(L"Wide", L"caf\x00E9\t");
        archive.WriteAttr(L"Narrow", "a<b");
        archive.WriteAttr(L"Real", 100.0);
        archive.WriteAttr(L"Float", 1.25f);
        archive.WriteAttr(L"Int", int32_t(-7));
        archive.WriteAttr(L"Short", int16_t(-2));
        archive.WriteAttr(L"Long", 70000L);
        archive.WriteAttr(L"Char", '\'');
        archive.WriteAttr(L"Flag", true);
        archive.WriteAttr(L"Bin", bytes, 4);
        archive.WriteAttr(nullptr, 5);
        archive.WriteAttr(L"NoData", nullptr, 4);
        archive.CloseStartTag();
        archive.LineFeed();
        archive.WriteElement(L"Name", L"x<y");
        archive.WriteElement(L"Size", 0.5);
        archive.WriteElement(L"Off", false);
        archive.WriteElement(L"Data", bytes, 4);
        archive.WriteElement(nullptr, 3);
        archive.StartTag(L"Empty");
        archive.WriteAttr(L"A", int32_t(1));
        archive.EndEmptyElement();
        archive.StartTag(L"Inner");
        archive.CloseStartTag();
        archive.LineFeed();
        archive.StartTag(L"Value");
        archive.CloseStartTag();
        archive.WriteValue(int16_t(12));
        archive.WriteValue('&');
        archive.EndTag(L"Value");
        archive.EndTag(L"Inner");
        archive.EndTag(L"Root");
        EXPECT_EQ(archive.GetDepth(), 0);
    }
    const std::string expected =
        "<Root Text='O&apos;Brien &amp; &quot;co&quot;' Wide='caf&#xE9;&#9;' Narrow='a&lt;b' Real='100' "
        "Float='1.25' Int='-7' Short='-2' Long='70000' Char='&apos;' Flag='TRUE' Bin='Zm9vYg=='>\n"
        "\t<Name>x&lt;y</Name>\n"
        "\t<Size>0.5</Size>\n"
        "\t<Off>FALSE</Off>\n"
        "\t<Data>Zm9vYg==</Data>\n"
        "\t<Empty A='1'/>\n"
        "\t<Inner>\n"
        "\t\t<Value>12&amp;</Value>\n"
        "\t</Inner>\n"
        "</Root>\n";
    EXPECT_EQ(filestest::ReadBytes(path), filestest::WithCrLf(expected));
    filestest::ExpectGolden(L"ArchiveOutput.xml", filestest::ReadBytes(path));
    EXPECT_TRUE(filestest::IsWellFormedXml(path));
}

TEST(ArchiveOutput, IndentationStopsAt256TabsAndTheDepthReturnsToZero)
{
    TempDir dir;
    std::wstring path = dir.File(L"deep.xml");
    const int kLevels = 300;
    {
        CNewXmlArch archive(path.c_str(), CNewXmlArch::kModeWrite, false);
        for (int i = 0; i < kLevels; ++i) {
            archive.StartTag(L"E");
            archive.CloseStartTag();
            archive.LineFeed();
        }
        EXPECT_EQ(archive.GetDepth(), kLevels);
        for (int i = 0; i < kLevels; ++i)
            archive.EndTag(L"E");
        EXPECT_EQ(archive.GetDepth(), 0);
        archive.EndTag(L"X");
        EXPECT_EQ(archive.GetDepth(), 0) << "the depth never goes below 0";
    }
    std::string text = filestest::ReadBytes(path);
    std::vector<size_t> tabs;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find("\r\n", start);
        ASSERT_NE(end, std::string::npos);
        size_t n = text.find_first_not_of('\t', start) - start;
        tabs.push_back(n);
        start = end + 2;
    }
    ASSERT_EQ(tabs.size(), static_cast<size_t>(2 * kLevels + 1));
    for (int i = 0; i < kLevels; ++i) {
        EXPECT_EQ(tabs[static_cast<size_t>(i)], static_cast<size_t>(std::min(i, 256))) << "start line " << i;
        EXPECT_EQ(tabs[static_cast<size_t>(2 * kLevels - 1 - i)], static_cast<size_t>(std::min(i, 256)))
            << "end line " << i;
    }
}

TEST(ArchiveOutput, TextsSurviveWritingAndReadingExactly)
{
    const wchar_t* texts[] = {
        L"O'Brien",
        L"\"quoted\"",
        L"<tag> & </tag>",
        L"tab\there",
        L"line\nfeed\r\nand\rreturn",
        L"  leading and trailing  ",
        L"\x0416\x0443\x043A \x4E2D\x6587 \x20AC \xD83D\xDE00",
        L"all: ' \" < > & \t \n \r \x00E9 \x0411",
    };
    TempDir dir;
    std::wstring path = dir.File(L"texts.xml");
    {
        CNewXmlArch archive(path.c_str(), CNewXmlArch::kModeWrite, false);
        archive.StartTag(L"Root");
        archive.CloseStartTag();
        archive.LineFeed();
        for (const wchar_t* text : texts) {
            archive.StartTag(L"Item");
            archive.WriteAttr(L"V", text);
            archive.CloseStartTag();
            archive.WriteValue(text);
            archive.EndTag(L"Item");
        }
        archive.EndTag(L"Root");
    }
    EXPECT_TRUE(filestest::IsWellFormedXml(path));
    std::string bytes = filestest::ReadBytes(path);
    for (unsigned char c : bytes)
        EXPECT_TRUE(c < 0x80) << "escaped text is pure ASCII";

    CRecordingTags tags({{"Root", CTagTable::kRootParent}, {"Item", "Root"}});
    tags.RegisterTags();
    tags.SetTarget(&tags);
    CNewXmlArch reader(path.c_str(), CNewXmlArch::kModeRead, false);
    reader.SetTagTable(&tags);
    ASSERT_EQ(reader.Parse(), 0);
    size_t index = 0;
    for (const std::wstring& event : tags.events) {
        if (event.compare(0, 9, L"end Item ") != 0)
            continue;
        ASSERT_LT(index, sizeof texts / sizeof texts[0]);
        std::wstring text = texts[index++];
        EXPECT_EQ(event, L"end Item V=" + text + L" [" + text + L"]");
    }
    EXPECT_EQ(index, sizeof texts / sizeof texts[0]);
}
