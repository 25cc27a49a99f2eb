#include "files/NewParamCell.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

TEST(NewParamCell, SettingAnAttributeTwiceKeepsOnePairInPlace)
{
    CNewParamCell cell(CNewParamCell::kAll);
    cell.SetAttribute(L"A", L"1");
    cell.SetAttribute(L"B", L"2");
    cell.SetAttribute(L"A", L"3");
    ASSERT_EQ(cell.GetPairCount(), 2);
    EXPECT_STREQ(cell.GetName(0), L"A");
    EXPECT_STREQ(cell.GetValue(0), L"3");
    EXPECT_STREQ(cell.GetName(1), L"B");
    EXPECT_STREQ(cell.Find(L"B"), L"2");
    EXPECT_EQ(cell.Find(L"b"), nullptr) << "names compare case-sensitively";
}

TEST(NewParamCell, OnlyTheFAttributeLosesItsCommas)
{
    CNewParamCell cell(CNewParamCell::kAll);
    cell.SetAttribute(L"F", L"1,2");
    cell.SetAttribute(L"G", L"1,2");
    cell.SetAttribute(L"FF", L"1,2");
    EXPECT_STREQ(cell.Find(L"F"), L"1;2");
    EXPECT_STREQ(cell.Find(L"G"), L"1,2");
    EXPECT_STREQ(cell.Find(L"FF"), L"1,2");
}

TEST(NewParamCell, KindDecidesWhatTheCellCarries)
{
    CNewParamCell textOnly(CNewParamCell::kText);
    textOnly.SetAttribute(L"A", L"1");
    textOnly.SetText(L"body");
    EXPECT_EQ(textOnly.GetPairCount(), 0);
    EXPECT_STREQ(textOnly.GetText(), L"body");

    CNewParamCell attributesOnly(CNewParamCell::kAttributes);
    attributesOnly.SetAttribute(L"A", L"1");
    attributesOnly.SetText(L"body");
    attributesOnly.AppendText(L"more", 4);
    EXPECT_EQ(attributesOnly.GetPairCount(), 1);
    EXPECT_STREQ(attributesOnly.GetText(), L"");

    CNewParamCell copy(textOnly);
    EXPECT_EQ(copy.GetKind(), CNewParamCell::kText);
    EXPECT_STREQ(copy.GetText(), L"body");
}

TEST(NewParamCell, BuiltFromParserDataInUtf8)
{
    const char* attributes[] = {"Name", "caf\xC3\xA9", "Size", "12", "Extra", "x", nullptr};
    CNewParamCell all = CNewParamCell::FromParser("t\xC3\xA9xt", attributes, 0, CNewParamCell::kAll);
    EXPECT_STREQ(all.GetText(), L"t\x00E9xt");
    ASSERT_EQ(all.GetPairCount(), 3);
    EXPECT_STREQ(all.Find(L"Name"), L"caf\x00E9");

    CNewParamCell limited = CNewParamCell::FromParser(nullptr, attributes, 4, CNewParamCell::kAll);
    EXPECT_EQ(limited.GetPairCount(), 2) << "at most count strings are taken";
}

TEST(NewParamCell, BuiltFromNarrowLists)
{
    CNewParamCell listed(L"default", CNewParamCell::kAll, {"A", "1", "B", "2", nullptr, "C", "3"});
    EXPECT_EQ(listed.GetPairCount(), 2) << "a null entry ends the list";
    EXPECT_STREQ(listed.GetText(), L"default");
    const char* array[] = {"X", "9", "Y", "8", nullptr};
    CNewParamCell fromArray(nullptr, array, 2, CNewParamCell::kAttributes);
    EXPECT_EQ(fromArray.GetPairCount(), 1);
    EXPECT_STREQ(fromArray.Find(L"X"), L"9");
}

TEST(NewParamCell, MergeSetsEachPairAndKeepsADefaultTextOverNoText)
{
    CNewParamCell defaults(L"default", CNewParamCell::kAll, {"A", "1", "B", "2", nullptr});
    CNewParamCell read(CNewParamCell::kAll);
    read.SetAttribute(L"B", L"5");
    read.SetAttribute(L"C", L"6");
    CNewParamCell merged(defaults);
    merged.Merge(read);
    EXPECT_STREQ(merged.GetText(), L"default");
    ASSERT_EQ(merged.GetPairCount(), 3);
    EXPECT_STREQ(merged.Find(L"A"), L"1");
    EXPECT_STREQ(merged.Find(L"B"), L"5");
    EXPECT_STREQ(merged.Find(L"C"), L"6");

    read.SetText(L"given");
    merged.Merge(read);
    EXPECT_STREQ(merged.GetText(), L"given");
}

TEST(NewParamCell, AHundredThousandAttributesAreGatheredInLinearTime)
{
    std::vector<std::string> strings;
    for (int i = 0; i < 100000; ++i) {
        strings.push_back("a" + std::to_string(i));
        strings.push_back(std::to_string(i));
    }
    std::vector<const char*> attributes;
    for (const std::string& text : strings)
        attributes.push_back(text.c_str());
    attributes.push_back(nullptr);
    const DWORD start = ::GetTickCount();
    CNewParamCell cell = CNewParamCell::FromParser(nullptr, attributes.data(), 0, CNewParamCell::kAll);
    CNewParamCell merged(L"default", CNewParamCell::kAll, {"a5", "old", "extra", "x", nullptr});
    merged.Merge(cell);
    EXPECT_LT(::GetTickCount() - start, 5000u);
    ASSERT_EQ(merged.GetPairCount(), 100001);
    EXPECT_STREQ(merged.GetName(0), L"a5") << "a set pair keeps its place";
    EXPECT_STREQ(merged.GetValue(0), L"5");
    EXPECT_STREQ(merged.Find(L"a99999"), L"99999");
}
