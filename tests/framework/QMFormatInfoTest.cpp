#include "framework/QMFormatInfo.h"

#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

namespace {

template <class T>
T FieldAt(const void* record, size_t offset)
{
    T value;
    std::memcpy(&value, static_cast<const uint8_t*>(record) + offset, sizeof(T));
    return value;
}

std::vector<std::string> Extensions(const CQMExtensionInfo* first)
{
    std::vector<std::string> texts;
    for (; first; first = first->GetNext())
        texts.push_back(first->GetText() ? first->GetText() : "(null)");
    return texts;
}

std::vector<uint32_t> FormatIds(const CQMFormatInfo* first)
{
    std::vector<uint32_t> ids;
    for (; first; first = first->GetNext())
        ids.push_back(first->GetFormatId());
    return ids;
}

// Every link back matches the link forward.
template <class T>
bool LinkedBothWays(const T* first)
{
    if (first && first->GetPrevious())
        return false;
    for (; first && first->GetNext(); first = first->GetNext()) {
        if (first->GetNext()->GetPrevious() != first)
            return false;
    }
    return true;
}

}  // namespace

TEST(QMFormatInfo, LayoutIsTheLibrarys)
{
    ASSERT_EQ(28u, sizeof(CQMExtensionInfo));
    ASSERT_EQ(28u, sizeof(CQMFormatInfo));

    CQMExtensionInfo* next = new CQMExtensionInfo(2, "jpeg", 0, 0, 0, nullptr);
    CQMExtensionInfo* ext = new CQMExtensionInfo(0x11223344, "jpg", 0x4A504547, 0xA1, 0xB2, next);
    EXPECT_STREQ("jpg", FieldAt<const char*>(ext, 4));
    EXPECT_EQ(0x4A504547u, FieldAt<uint32_t>(ext, 8));
    EXPECT_EQ(0xA1, FieldAt<uint8_t>(ext, 12));
    EXPECT_EQ(0xB2, FieldAt<uint8_t>(ext, 13));
    EXPECT_EQ(0x11223344u, FieldAt<uint32_t>(ext, 16));
    EXPECT_EQ(nullptr, FieldAt<void*>(ext, 20));
    EXPECT_EQ(static_cast<void*>(next), FieldAt<void*>(ext, 24));
    EXPECT_EQ(static_cast<void*>(ext), FieldAt<void*>(next, 20));

    CQMFormatInfo* tail = new CQMFormatInfo(2, 0, 0, L"All files", nullptr, nullptr);
    CQMFormatInfo format(1024, 0xC3, 0xD4, L"JPEG images", ext, tail);
    EXPECT_STREQ(L"JPEG images", FieldAt<const wchar_t*>(&format, 4));
    EXPECT_EQ(1024u, FieldAt<uint32_t>(&format, 8));
    EXPECT_EQ(static_cast<void*>(ext), FieldAt<void*>(&format, 12));
    EXPECT_EQ(0xC3, FieldAt<uint8_t>(&format, 16));
    EXPECT_EQ(0xD4, FieldAt<uint8_t>(&format, 17));
    EXPECT_EQ(nullptr, FieldAt<void*>(&format, 20));
    EXPECT_EQ(static_cast<void*>(tail), FieldAt<void*>(&format, 24));
    EXPECT_EQ(static_cast<void*>(&format), FieldAt<void*>(tail, 20));
}

TEST(QMFormatInfo, ValueConstructorCopiesTexts)
{
    char text[] = "png";
    wchar_t name[] = L"PNG";
    CQMFormatInfo format(1024, 1, 0, name, new CQMExtensionInfo(1, text, 0, 0, 0, nullptr), nullptr);
    text[0] = 'X';
    name[0] = L'X';
    EXPECT_STREQ("png", format.GetExtensions()->GetText());
    EXPECT_STREQ(L"PNG", format.GetName());
    CQMExtensionInfo none(1, nullptr, 0, 0, 0, nullptr);
    EXPECT_EQ(nullptr, none.GetText());
}

TEST(QMFormatInfo, CopyIsDeepAndLinkedBothWays)
{
    CQMExtensionInfo* bmpExt = new CQMExtensionInfo(1, "bmp", 0, 0, 0, new CQMExtensionInfo(2, "dib", 0, 0, 0, nullptr));
    CQMFormatInfo* second = new CQMFormatInfo(2048, 0, 0, L"Report", new CQMExtensionInfo(3, "otd", 0, 0, 0, nullptr), nullptr);
    CQMFormatInfo* original = new CQMFormatInfo(1024, 1, 2, L"Bitmaps", bmpExt, second);

    CQMFormatInfo* copy = new CQMFormatInfo(*original);
    delete original;  // the copy owns nothing of the original

    EXPECT_EQ((std::vector<uint32_t>{1024, 2048}), FormatIds(copy));
    EXPECT_STREQ(L"Bitmaps", copy->GetName());
    EXPECT_EQ(1, copy->GetFirstFlag());
    EXPECT_EQ(2, copy->GetSecondFlag());
    EXPECT_EQ((std::vector<std::string>{"bmp", "dib"}), Extensions(copy->GetExtensions()));
    EXPECT_EQ((std::vector<std::string>{"otd"}), Extensions(copy->GetNext()->GetExtensions()));
    EXPECT_TRUE(LinkedBothWays(copy));
    EXPECT_TRUE(LinkedBothWays(copy->GetExtensions()));
    delete copy;
}

TEST(QMFormatInfo, AppendCopiesTheSourceAndItsTail)
{
    CQMFormatInfo list(1, 0, 0, L"All supported", nullptr, nullptr);
    CQMFormatInfo source(32, 0, 0, L"HTML", nullptr, new CQMFormatInfo(64, 0, 0, L"PowerPoint", nullptr, nullptr));
    list.Append(source);
    list.Append(*source.GetNext());
    EXPECT_EQ((std::vector<uint32_t>{1, 32, 64, 64}), FormatIds(&list));
    EXPECT_TRUE(LinkedBothWays(&list));
    EXPECT_NE(source.GetNext(), list.GetNext()->GetNext());

    CQMExtensionInfo exts(1, "a", 0, 0, 0, nullptr);
    CQMExtensionInfo more(2, "b", 0, 0, 0, new CQMExtensionInfo(3, "c", 0, 0, 0, nullptr));
    exts.Append(more);
    EXPECT_EQ((std::vector<std::string>{"a", "b", "c"}), Extensions(&exts));
    EXPECT_TRUE(LinkedBothWays(&exts));
}

TEST(QMFormatInfo, DeletingARecordEndsTheChainBeforeIt)
{
    CQMFormatInfo* c = new CQMFormatInfo(4, 0, 0, L"c", nullptr, nullptr);
    CQMFormatInfo* b = new CQMFormatInfo(2, 0, 0, L"b", nullptr, c);
    CQMFormatInfo a(1, 0, 0, L"a", nullptr, b);
    delete b;  // takes c with it
    EXPECT_EQ(nullptr, a.GetNext());
    EXPECT_EQ((std::vector<uint32_t>{1}), FormatIds(&a));
}
