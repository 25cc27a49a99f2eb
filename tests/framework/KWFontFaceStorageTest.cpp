// Tests of the font face storage and the face-name pool, as far as
// the font table of styled text needs them.
#include "framework/KWFontFaceStorage.h"

#include <gtest/gtest.h>

#include <string>

TEST(KWFontFacePool, EqualNamesGiveTheSameString)
{
    const std::wstring* a = CKWFontFaceStorage::GetFace(L"Pool Face A");
    std::wstring copy = L"Pool Face A";
    const std::wstring* b = CKWFontFaceStorage::GetFace(copy);
    EXPECT_EQ(a, b);
    EXPECT_EQ(*a, L"Pool Face A");
    const std::wstring* lower = CKWFontFaceStorage::GetFace(L"pool face a");
    EXPECT_NE(a, lower);
    // Pooled strings stay where they are while the pool grows.
    size_t before = CKWFontFaceStorage::GetPoolSize();
    for (int i = 0; i < 200; ++i)
        CKWFontFaceStorage::GetFace(L"Pool Grow " + std::to_wstring(i));
    EXPECT_EQ(CKWFontFaceStorage::GetPoolSize(), before + 200);
    EXPECT_EQ(CKWFontFaceStorage::GetFace(L"Pool Face A"), a);
    EXPECT_EQ(*a, L"Pool Face A");
}

TEST(KWFontFaceStorage, AddingAFaceAgainOnlyAddsItsCharset)
{
    CKWFontFaceStorage storage;
    storage.AddFace(L"Arial", CKWFontFaceStorage::kTrueType, 0);
    storage.AddFace(L"Arial", CKWFontFaceStorage::kDevice, 204);
    storage.AddFace(L"Arial", CKWFontFaceStorage::kTrueType, 0);
    ASSERT_EQ(storage.GetCount(), 1u);
    const CKWFontFace* face = storage.FindFace(L"Arial");
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face->type, CKWFontFaceStorage::kTrueType);
    EXPECT_EQ(face->charsets, (std::vector<uint8_t>{0, 204}));
    storage.AddFace(L"Arial", CKWFontFaceStorage::kTrueType, 161);
    EXPECT_EQ(face->charsets, (std::vector<uint8_t>{0, 161, 204}));
    EXPECT_EQ(face->name, CKWFontFaceStorage::GetFace(L"Arial"));
}

TEST(KWFontFaceStorage, EntriesAreSortedOrdinallyAndCaseMatters)
{
    CKWFontFaceStorage storage;
    storage.AddFace(L"tahoma", 1, 0);
    storage.AddFace(L"Verdana", 1, 0);
    storage.AddFace(L"Tahoma", 1, 0);
    storage.AddFace(L"Arial", 1, 0);
    ASSERT_EQ(storage.GetCount(), 4u);
    EXPECT_EQ(*storage.GetAt(0)->name, L"Arial");
    EXPECT_EQ(*storage.GetAt(1)->name, L"Tahoma");
    EXPECT_EQ(*storage.GetAt(2)->name, L"Verdana");
    EXPECT_EQ(*storage.GetAt(3)->name, L"tahoma");  // lower case sorts after
    EXPECT_EQ(storage.GetAt(4), nullptr);
    EXPECT_NE(storage.FindFace(L"tahoma"), storage.FindFace(L"Tahoma"));
    EXPECT_EQ(storage.FindFace(L"TAHOMA"), nullptr);
    EXPECT_EQ(storage.FindFace(L"Tahoma "), nullptr);
    EXPECT_EQ(storage.FindFace(L""), nullptr);
}

TEST(KWFontFaceStorage, FillsFromTheScreensFontsOnce)
{
    CKWFontFaceStorage storage;
    EXPECT_FALSE(storage.IsFilled());
    storage.EnsureFilled();
    EXPECT_TRUE(storage.IsFilled());
    size_t count = storage.GetCount();
    ASSERT_GT(count, 0u);
    storage.EnsureFilled();
    EXPECT_EQ(storage.GetCount(), count);
    // Each face once, sorted, with sorted distinct charsets.
    for (size_t i = 0; i < count; ++i) {
        const CKWFontFace* f = storage.GetAt(i);
        EXPECT_NE(f->type, 0);
        EXPECT_FALSE(f->charsets.empty());
        for (size_t j = 1; j < f->charsets.size(); ++j)
            EXPECT_LT(f->charsets[j - 1], f->charsets[j]);
        if (i > 0) {
            EXPECT_LT(*storage.GetAt(i - 1)->name, *f->name);
        }
        EXPECT_EQ(storage.FindFace(*f->name), f);
    }
    // The project's Wine prefix maps Arial to Liberation Sans, a TrueType face
    // with several character sets: one entry holds them all.
    const CKWFontFace* arial = storage.FindFace(L"Arial");
    ASSERT_NE(arial, nullptr);
    EXPECT_TRUE(arial->type & CKWFontFaceStorage::kTrueType);
    EXPECT_GE(arial->charsets.size(), 2u);
    EXPECT_EQ(arial->charsets.front(), ANSI_CHARSET);
}
