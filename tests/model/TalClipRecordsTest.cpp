#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "framework/KWArchive.h"
#include "framework/KWDataSerializer.h"
#include "framework/KWIndexDecoder.h"
#include "framework/KWRasterLib.h"
#include "model/TalFileNamesData.h"
#include "model/TalPicturesData.h"
#include "model/TalSection.h"
#include "model/TalSectionData.h"
#include "model/TalTextNote.h"
#include "tests/model/ModelLeakCheck.h"

namespace {

typedef std::vector<uint8_t> Bytes;

Bytes Store(CKWSerialData& record)
{
    CKWDataSerializer serializer = CKWDataSerializer::CKWDataSerializer2(&record);
    void* data = nullptr;
    uint32_t size = 0;
    if (!serializer.Store(data, size))
        return Bytes();
    Bytes bytes(static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
    free(data);
    return bytes;
}

bool Load(const Bytes& bytes, CKWSerialData& record)
{
    CKWDataSerializer serializer(bytes.data(), static_cast<uint32_t>(bytes.size()));
    return serializer.Load(record);
}

// Little-endian writers for the expected layouts.
void PutU32(Bytes& b, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void PutString(Bytes& b, const wchar_t* s)
{
    const size_t n = wcslen(s);
    PutU32(b, static_cast<uint32_t>(2 * n));
    for (size_t i = 0; i < n; ++i) {
        b.push_back(static_cast<uint8_t>(s[i] & 0xFF));
        b.push_back(static_cast<uint8_t>(s[i] >> 8));
    }
}
void PutHeader(Bytes& b, uint8_t tag, uint32_t end, uint32_t first, uint32_t next)
{
    b.push_back(tag);
    PutU32(b, end);
    PutU32(b, first);
    PutU32(b, next);
}
const uint32_t kNone = 0xFFFFFFFFu;

// The text-object body of an empty note, as the text engine stores it (it
// holds no records of its own, so its bytes do not depend on where they stand).
Bytes EmptyTextBody()
{
    CKWRefPtr<CTalTextNote> note(new CTalTextNote);
    CKWArchive ar(nullptr, 0, CKWArchive::kStore);
    note->Serialize(ar);
    uint32_t length = 0;
    void* data = ar.DetachMemory(length);
    Bytes bytes(static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + length);
    free(data);
    return bytes;
}

class TalClipRecordsTest : public ModelLeakCheck {};

CKWRefPtr<CTalSection> MakeTree(CKWIndexDecoder& fonts)
{
    CKWRefPtr<CTalSection> root(new CTalSection(nullptr, L"Root"));
    root->SetFontTable(&fonts);
    root->SetOwnTemplate(1);
    root->SetTemplateName(L"plain");
    CKWRefPtr<CTalSection> child(new CTalSection(root.Get(), L"Child"));
    root->InsertSubSection(child.Get(), nullptr);
    child->SetExpanded(0);
    CKWRefPtr<CTalSection> grandChild(new CTalSection(child.Get(), L"Grand"));
    child->InsertSubSection(grandChild.Get(), nullptr);
    CTalPictureList pictures{new CTalPicture, new CTalPicture};
    pictures[0]->SetTitle(L"first");
    pictures[0]->SetAngle(90);
    pictures[0]->SetGrayscale(1);
    pictures[1]->SetShown(0);
    pictures[1]->SetNewPage(1);
    pictures[1]->SetUseDescription(0);
    child->InsertPictures(pictures, nullptr);

    // The note uses the second font of the table.
    const uint32_t courier = fonts.FindOrAdd(L"Courier New");
    CTalTextNote* note = grandChild->GetTextNote();
    note->SetText(L"Notes");
    CKWCharFormat* run = new CKWCharFormat;
    run->m_count = 5;
    run->m_fontIndex = courier;
    note->AppendRun(run);
    CKWParaFormat* para = new CKWParaFormat;
    para->m_count = 5;
    note->AppendPara(para);
    return root;
}

}  // namespace

TEST_F(TalClipRecordsTest, EmptyFileNamesBlockIsACountOfZero)
{
    CTalFileNamesData record;
    Bytes expected;
    PutHeader(expected, 3, 17, kNone, kNone);
    PutU32(expected, 0);
    EXPECT_EQ(expected, Store(record));
}

TEST_F(TalClipRecordsTest, EmptyPicturesBlockHasBothRecords)
{
    CTalPicturesData record;
    Bytes expected;
    PutHeader(expected, 2, 17, kNone, 17);
    PutU32(expected, 0);
    PutHeader(expected, 4, 34, kNone, kNone);
    PutU32(expected, 0);
    EXPECT_EQ(expected, Store(record));
}

TEST_F(TalClipRecordsTest, EmptySectionBlockLayout)
{
    CKWRefPtr<CTalSection> section(new CTalSection(nullptr, L"S"));
    section->SetId(0x01020304);
    CTalSectionData record(section.Get());
    const Bytes text = EmptyTextBody();

    Bytes body;
    PutString(body, L"S");
    body.push_back(0);  // own template
    PutString(body, L"");
    body.push_back(1);  // expanded
    PutU32(body, 0x01020304);
    PutU32(body, 0);  // children
    PutU32(body, 0);  // pictures
    body.insert(body.end(), text.begin(), text.end());

    Bytes expected;
    PutHeader(expected, 5, 17, kNone, 17);
    PutU32(expected, kNone);  // no font table: just the end marker
    PutHeader(expected, 1, static_cast<uint32_t>(17 + 13 + body.size()), kNone, kNone);
    expected.insert(expected.end(), body.begin(), body.end());
    EXPECT_EQ(expected, Store(record));
    section->Detach();
}

TEST_F(TalClipRecordsTest, StoringWithoutASectionWritesNothing)
{
    CTalSectionData record;
    EXPECT_TRUE(Store(record).empty());
}

TEST_F(TalClipRecordsTest, FileNamesRoundTrip)
{
    CTalFileNamesData record({L"C:\\a\\one.jpg", L"", L"D:\\b\\\x00e9t\x00e9.png"});
    const Bytes bytes = Store(record);
    CTalFileNamesData loaded({L"stale"});
    ASSERT_TRUE(Load(bytes, loaded));
    EXPECT_EQ(record.GetNames(), loaded.GetNames());
}

TEST_F(TalClipRecordsTest, PicturesRoundTripWithTheirPositions)
{
    const uint32_t id = g_rasterLib.GetPictureId(L"C:\\clip-test\\p1.jpg");
    CTalPictureList pictures{new CTalPicture, new CTalPicture, new CTalPicture};
    pictures[0]->SetPictureId(static_cast<int32_t>(id));
    pictures[0]->SetTitle(L"One");
    pictures[0]->SetAngle(270);
    pictures[0]->SetGrayscale(0);
    pictures[1]->SetPictureId(static_cast<int32_t>(id));  // the same image twice
    pictures[1]->SetShown(0);
    pictures[1]->SetNewPage(1);
    pictures[1]->SetUseDescription(1);
    const CTalPositionList positions{4, 0, 9};
    CTalPicturesData record(pictures, false, &positions);
    const Bytes bytes = Store(record);

    CTalPicturesData loaded;
    ASSERT_TRUE(Load(bytes, loaded));
    ASSERT_EQ(3u, loaded.GetPictures().size());
    EXPECT_EQ(positions, loaded.GetPositions());
    const CTalPictureList& got = loaded.GetPictures();
    EXPECT_EQ(static_cast<int32_t>(id), got[0]->GetPictureId());
    EXPECT_EQ(got[0]->GetPictureId(), got[1]->GetPictureId()) << "one image, one id";
    EXPECT_EQ(0, got[2]->GetPictureId()) << "no image stays no image";
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(pictures[i]->GetTitle(), got[i]->GetTitle());
        EXPECT_EQ(pictures[i]->GetAngle(), got[i]->GetAngle());
        EXPECT_EQ(pictures[i]->GetGrayscale(), got[i]->GetGrayscale());
        EXPECT_EQ(pictures[i]->GetUseDescription(), got[i]->GetUseDescription());
        EXPECT_EQ(pictures[i]->GetShown(), got[i]->GetShown());
        EXPECT_EQ(pictures[i]->GetNewPage(), got[i]->GetNewPage());
        EXPECT_EQ(nullptr, got[i]->PeekParent());
    }
}

TEST_F(TalClipRecordsTest, PicturesFromAnotherStorePathRegisterIt)
{
    // A block from another process names a path this store has never seen.
    Bytes bytes;
    Bytes body;
    PutU32(body, 1);
    PutString(body, L"t");
    PutU32(body, 2);
    body.push_back(1);
    PutU32(body, 2);
    body.push_back(0);
    PutU32(body, 0);
    PutString(body, L"C:\\elsewhere\\new.bmp");
    PutHeader(bytes, 2, static_cast<uint32_t>(13 + body.size()), kNone, static_cast<uint32_t>(13 + body.size()));
    bytes.insert(bytes.end(), body.begin(), body.end());
    const uint32_t at = static_cast<uint32_t>(bytes.size());
    PutHeader(bytes, 4, at + 17, kNone, kNone);
    PutU32(bytes, 0);

    CTalPicturesData loaded;
    ASSERT_TRUE(Load(bytes, loaded));
    ASSERT_EQ(1u, loaded.GetPictures().size());
    const int32_t id = loaded.GetPictures()[0]->GetPictureId();
    EXPECT_NE(0, id);
    EXPECT_EQ(CString(L"C:\\elsewhere\\new.bmp"), g_rasterLib.GetImagePath(static_cast<uint32_t>(id)));
}

TEST_F(TalClipRecordsTest, OwningPicturesRecordDetachesItsPictures)
{
    CKWRefPtr<CTalSection> section(new CTalSection);
    CTalPictureList pictures{new CTalPicture};
    section->InsertPictures(pictures, nullptr);
    {
        CTalPicturesData owning(pictures, true);
    }
    EXPECT_EQ(nullptr, pictures[0]->PeekParent());
    section->Detach();
}

TEST_F(TalClipRecordsTest, SectionRoundTripKeepsIdsAndFonts)
{
    CKWIndexDecoder fonts;
    fonts.FindOrAdd(L"Arial");
    CKWRefPtr<CTalSection> root = MakeTree(fonts);
    const int32_t childId = root->GetSubSection(0)->GetId();
    const int32_t grandId = root->GetSubSection(0)->GetSubSection(0)->GetId();
    Bytes bytes;
    {
        CTalSectionData record(root.Get());
        bytes = Store(record);
    }
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(root.Get(), root->GetSubSection(0)->PeekParent()) << "a record that does not own leaves the tree";

    const int32_t counterBefore = CTalSection::GetLastIssuedId();
    CTalSectionData loaded;
    ASSERT_TRUE(Load(bytes, loaded));
    CKWRefPtr<CTalSection> copy = loaded.GetSection();
    ASSERT_TRUE(copy);
    EXPECT_NE(root.Get(), copy.Get());
    EXPECT_EQ(nullptr, copy->PeekParent());
    EXPECT_EQ(root->GetId(), copy->GetId());
    EXPECT_EQ(CString(L"Root"), copy->GetName());
    EXPECT_EQ(1, copy->GetOwnTemplate());
    EXPECT_EQ(CString(L"plain"), copy->GetTemplateName());
    ASSERT_EQ(1, copy->GetSubSectionCount());
    CKWRefPtr<CTalSection> child = copy->GetSubSection(0);
    EXPECT_EQ(childId, child->GetId());
    EXPECT_EQ(0, child->GetExpanded());
    EXPECT_EQ(copy.Get(), child->PeekParent());
    ASSERT_EQ(2, child->GetPictureCount());
    EXPECT_EQ(CString(L"first"), child->GetPicture(0)->GetTitle());
    EXPECT_EQ(90, child->GetPicture(0)->GetAngle());
    EXPECT_EQ(1, child->GetPicture(0)->GetGrayscale());
    EXPECT_EQ(0, child->GetPicture(1)->GetShown());
    EXPECT_EQ(1, child->GetPicture(1)->GetNewPage());
    EXPECT_EQ(0, child->GetPicture(1)->GetUseDescription());
    EXPECT_EQ(child.Get(), child->GetPicture(1)->PeekParent());
    CKWRefPtr<CTalSection> grand = child->GetSubSection(0);
    EXPECT_EQ(grandId, grand->GetId());
    EXPECT_EQ(CString(L"Notes"), grand->GetTextNote()->GetText());
    // Stored ids replace the fresh ones: the whole subtree took fresh ids first.
    EXPECT_EQ(counterBefore + 3, CTalSection::GetLastIssuedId());

    ASSERT_EQ(2u, loaded.GetFontEntries().size());
    EXPECT_EQ(std::wstring(L"Arial"), loaded.GetFontEntries()[0].GetName());
    EXPECT_EQ(std::wstring(L"Courier New"), loaded.GetFontEntries()[1].GetName());

    // Pasting into a document whose table knows other fonts: a new id for the
    // section, its descendants keep theirs, the font indices follow the names.
    CKWIndexDecoder documentFonts;
    documentFonts.FindOrAdd(L"Times New Roman");
    documentFonts.FindOrAdd(L"Tahoma");
    copy->RenewId();
    EXPECT_NE(root->GetId(), copy->GetId());
    copy->RemapFonts(&documentFonts, loaded.GetSourceFontTable());
    const uint32_t index = grand->GetTextNote()->GetRun(0).m_fontIndex;
    EXPECT_EQ(2u, index);
    EXPECT_EQ(std::wstring(L"Courier New"), documentFonts.GetString(index));
    EXPECT_EQ(grandId, grand->GetId());

    loaded.SetOwning(true);  // not pasted: the record frees it
    copy.Release();
    child.Release();
    grand.Release();
    root->Detach();
}

TEST_F(TalClipRecordsTest, LoadingReplacesTheRecordsSection)
{
    CKWIndexDecoder fonts;
    CKWRefPtr<CTalSection> root = MakeTree(fonts);
    Bytes bytes;
    {
        CTalSectionData record(root.Get());
        bytes = Store(record);
    }
    CKWRefPtr<CTalSection> previous(new CTalSection(nullptr, L"previous"));
    {
        CTalSectionData record(previous.Get(), true);
        ASSERT_TRUE(Load(bytes, record));
        EXPECT_NE(previous.Get(), record.GetSection().Get());
        record.SetOwning(true);
    }
    previous.Release();
    root->Detach();
}

TEST_F(TalClipRecordsTest, AbsentRecordsAreRefused)
{
    // A file-names block where a section block is expected, and the reverse.
    CTalFileNamesData names({L"x"});
    const Bytes namesBlock = Store(names);
    CTalSectionData section;
    EXPECT_FALSE(Load(namesBlock, section));
    EXPECT_FALSE(section.GetSection());
    CTalPicturesData pictures;
    EXPECT_FALSE(Load(namesBlock, pictures));
    EXPECT_TRUE(pictures.GetPictures().empty());

    CTalPicturesData emptyPictures;
    const Bytes picturesBlock = Store(emptyPictures);
    CTalFileNamesData loadedNames({L"stale"});
    EXPECT_FALSE(Load(picturesBlock, loadedNames));
    EXPECT_TRUE(loadedNames.GetNames().empty());

    // The font record alone, without the section record behind it.
    Bytes fontsOnly;
    PutHeader(fontsOnly, 5, 17, kNone, kNone);
    PutU32(fontsOnly, kNone);
    EXPECT_FALSE(Load(fontsOnly, section));
    EXPECT_FALSE(section.GetSection());

    // Pictures without their positions record.
    Bytes picturesOnly;
    PutHeader(picturesOnly, 2, 17, kNone, kNone);
    PutU32(picturesOnly, 0);
    EXPECT_FALSE(Load(picturesOnly, pictures));
}

TEST_F(TalClipRecordsTest, TruncatedAndLyingBlocksFailWithoutLeaks)
{
    CKWIndexDecoder fonts;
    CKWRefPtr<CTalSection> root = MakeTree(fonts);
    Bytes bytes;
    {
        CTalSectionData record(root.Get());
        bytes = Store(record);
    }
    root->Detach();
    root.Release();

    // Every cut of the block fails (or refuses) and frees what it read.
    for (size_t cut = 0; cut < bytes.size(); cut += 7) {
        Bytes truncated(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut));
        CTalSectionData record;
        try {
            EXPECT_FALSE(Load(truncated, record)) << cut;
        } catch (const CKWArchiveException&) {
        }
        EXPECT_FALSE(record.GetSection()) << cut;
    }

    // A picture count far beyond the data.
    Bytes lying;
    PutHeader(lying, 2, 17, kNone, kNone);
    PutU32(lying, 0x7FFFFFFF);
    CTalPicturesData pictures;
    EXPECT_THROW(Load(lying, pictures), CKWArchiveException);
}

TEST_F(TalClipRecordsTest, DeeplyNestedSectionsAreRefused)
{
    // Any process can put "Tallier Objects" on the clipboard: a chain of
    // sections nested deeper than any report is cut off cleanly.
    auto nested = [](int depth) {
        Bytes body;
        for (int i = 0; i < depth; ++i) {
            PutString(body, L"");
            body.push_back(0);
            PutString(body, L"");
            body.push_back(1);
            PutU32(body, static_cast<uint32_t>(i));
            PutU32(body, i + 1 < depth ? 1 : 0);  // one child, except the last
        }
        const Bytes text = EmptyTextBody();
        for (int i = 0; i < depth; ++i) {
            PutU32(body, 0);  // pictures
            body.insert(body.end(), text.begin(), text.end());
        }
        Bytes block;
        PutHeader(block, 5, 17, kNone, 17);
        PutU32(block, kNone);
        PutHeader(block, 1, static_cast<uint32_t>(30 + body.size()), kNone, kNone);
        block.insert(block.end(), body.begin(), body.end());
        return block;
    };

    {
        CTalSectionData record;
        ASSERT_TRUE(Load(nested(CTalSection::kMaxLoadDepth + 1), record)) << "the deepest accepted nesting";
        CKWRefPtr<CTalSection> s = record.GetSection();
        int depth = 1;
        while (s->GetSubSectionCount() == 1) {
            s = s->GetSubSection(0);
            ++depth;
        }
        EXPECT_EQ(CTalSection::kMaxLoadDepth + 1, depth);
        record.SetOwning(true);
    }
    CTalSectionData record;
    EXPECT_THROW(Load(nested(CTalSection::kMaxLoadDepth + 2), record), CKWArchiveException);
    EXPECT_FALSE(record.GetSection());
}

TEST_F(TalClipRecordsTest, OwningSectionRecordFreesItsSection)
{
    const int32_t before = CKWRefCounter::GetLiveCount();
    {
        CKWIndexDecoder fonts;
        CKWRefPtr<CTalSection> root = MakeTree(fonts);
        CTalSectionData record(root.Get(), true);
    }
    EXPECT_EQ(before, CKWRefCounter::GetLiveCount());
}
