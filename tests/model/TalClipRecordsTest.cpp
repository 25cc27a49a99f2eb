// The clipboard records of the model: file names, pictures with their
// positions, and sections with the fonts of their notes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <new>
#include <random>
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
#include "tests/framework/KWTestBytes.h"
#include "tests/model/CommandTestSupport.h"
#include "tests/model/ModelLeakCheck.h"

using namespace kwbytes;

namespace {

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

// The text-object body of an empty note, as the text engine stores it (it
// holds no records of its own, so its bytes do not depend on where they stand).
Bytes EmptyTextBody()
{
    CKWRefPtr<CTalTextNote> note(new CTalTextNote);
    return Stored([&](CKWArchive& ar) { note->Serialize(ar); });
}

// The fields a copy keeps of a tree, without the objects' identities (a
// picture by its file).
std::string Fields(const CTalSection* section)
{
    std::string out = Narrow(section->GetName()) + " id " + std::to_string(section->GetId()) + " own " +
                      std::to_string(section->GetOwnTemplate()) + " " + Narrow(section->GetTemplateName()) +
                      " expanded " + std::to_string(section->GetExpanded()) + " note " +
                      Narrow(section->GetTextNote()->GetText()) + "\n";
    for (const auto& p : section->GetPictures())
        out += "  picture " + Narrow(g_rasterLib.GetImagePath(uint32_t(p->GetPictureId()))) + " " +
               Narrow(p->GetTitle()) + " " +
               std::to_string(p->GetAngle()) + " " + std::to_string(p->GetGrayscale()) +
               std::to_string(p->GetUseDescription()) + std::to_string(p->GetShown()) +
               std::to_string(p->GetNewPage()) + (p->PeekParent() == section ? "" : " unlinked") + "\n";
    for (const auto& child : section->GetSubSections())
        out += (child->PeekParent() == section ? "" : "unlinked ") + Fields(child.Get());
    return out;
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

Bytes StoreTree(CKWIndexDecoder& fonts, CKWRefPtr<CTalSection>* kept = nullptr)
{
    CKWRefPtr<CTalSection> root = MakeTree(fonts);
    Bytes bytes;
    {
        CTalSectionData record(root.Get());
        bytes = Store(record);
    }
    if (kept)
        *kept = root;
    else
        root->Detach();
    return bytes;
}

}  // namespace

TEST_F(TalClipRecordsTest, EmptyBlocksByteForByte)
{
    CTalFileNamesData names;
    EXPECT_EQ(Writer().Linked(3, 17).U32(0).b, Store(names)) << "a count of zero";
    CTalPicturesData pictures;
    EXPECT_EQ(Writer().Linked(2, 17, kNoLink, 17).U32(0).Linked(4, 34).U32(0).b, Store(pictures))
        << "the pictures and their positions";
    CTalSectionData none;
    EXPECT_TRUE(Store(none).empty()) << "without a section nothing";

    CKWRefPtr<CTalSection> section(new CTalSection(nullptr, L"S"));
    section->SetId(0x01020304);
    CTalSectionData record(section.Get());
    const Bytes body = Writer().String(L"S").U8(0).String(L"").U8(1).U32(0x01020304).U32(0).U32(0).Add(EmptyTextBody());
    // No font table: just the end marker.
    EXPECT_EQ(Writer().Linked(5, 17, kNoLink, 17).U32(kNoLink).Linked(1, 17 + 13 + uint32_t(body.size())).Add(body).b,
              Store(record));
    section->Detach();
}

TEST_F(TalClipRecordsTest, FileNamesAndPicturesRoundTripWithTheirPositions)
{
    CTalFileNamesData names({L"C:\\a\\one.jpg", L"", L"D:\\b\\\x00e9t\x00e9.png"});
    CTalFileNamesData loadedNames({L"stale"});
    ASSERT_TRUE(Load(Store(names), loadedNames));
    EXPECT_EQ(names.GetNames(), loadedNames.GetNames());

    const uint32_t id = g_rasterLib.GetPictureId(L"C:\\clip-test\\p1.jpg");
    CKWRefPtr<CTalSection> source(new CTalSection(nullptr, L"source"));
    // Beside the files: no picture, a placeholder of no file its report
    // named, and a picture the store could not keep in the report it came in.
    CTalPictureList pictures{new CTalPicture, new CTalPicture, new CTalPicture, new CTalPicture, new CTalPicture};
    const uint32_t fileless = g_rasterLib.AddFilelessPicture(KWPictureState::NotPicture);
    g_rasterLib.SetPictureSource(fileless, L"C:\\clip-test\\notes.txt", false);
    pictures[3]->SetPictureId(static_cast<int32_t>(fileless));
    const uint32_t unkept = g_rasterLib.AddUnkeptPicture(ERROR_DISK_FULL);
    g_rasterLib.SetPictureSource(unkept, L"D:\\reports\\source.otd", true);
    pictures[4]->SetPictureId(static_cast<int32_t>(unkept));
    pictures[0]->SetPictureId(static_cast<int32_t>(id));
    pictures[0]->SetTitle(L"One");
    pictures[0]->SetAngle(270);
    pictures[0]->SetGrayscale(0);
    pictures[1]->SetPictureId(static_cast<int32_t>(id));  // the same image twice
    pictures[1]->SetShown(0);
    pictures[1]->SetNewPage(1);
    pictures[1]->SetUseDescription(1);
    const CTalPositionList positions{4, 0, 9, 1, 2};
    CTalPicturesData record(pictures, false, &positions);
    const Bytes bytes = Store(record);

    CTalPicturesData loaded;
    ASSERT_TRUE(Load(bytes, loaded));
    EXPECT_EQ(positions, loaded.GetPositions());
    const CTalPictureList& got = loaded.GetPictures();
    ASSERT_EQ(5u, got.size());
    EXPECT_EQ(got[0]->GetPictureId(), got[1]->GetPictureId()) << "one image, one id";
    EXPECT_EQ(0, got[2]->GetPictureId()) << "no picture stays none";
    // Each picture without a file pastes as what it was, as its source names it.
    const uint32_t placeholder = uint32_t(got[3]->GetPictureId()), lost = uint32_t(got[4]->GetPictureId());
    DWORD error = 1;
    bool embedded = true;
    EXPECT_FALSE(g_rasterLib.GetUnkeptError(placeholder, error)) << "a placeholder is no picture the store lost";
    EXPECT_EQ(KWPictureState::NotPicture, g_rasterLib.GetPictureState(placeholder, false));
    EXPECT_EQ(CString(L"C:\\clip-test\\notes.txt"), g_rasterLib.GetPictureSource(placeholder, &embedded));
    EXPECT_FALSE(embedded);
    EXPECT_TRUE(g_rasterLib.GetUnkeptError(lost, error) && error == ERROR_DISK_FULL) << "its source's reason";
    EXPECT_EQ(CString(L"D:\\reports\\source.otd"), g_rasterLib.GetPictureSource(lost, &embedded));
    EXPECT_TRUE(embedded);
    for (const auto& p : got)
        EXPECT_EQ(nullptr, p->PeekParent());
    source->InsertPictures(pictures, nullptr);
    CKWRefPtr<CTalSection> copy(new CTalSection(nullptr, L"source"));
    copy->SetId(source->GetId());
    copy->InsertPictures(got, nullptr);
    EXPECT_EQ(Fields(source.Get()), Fields(copy.Get()));
    source->Detach();
    copy->Detach();

    // Owning, the record detaches its pictures.
    CKWRefPtr<CTalSection> section(new CTalSection);
    CTalPictureList owned{new CTalPicture};
    section->InsertPictures(owned, nullptr);
    {
        CTalPicturesData owning(owned, true);
    }
    EXPECT_EQ(nullptr, owned[0]->PeekParent());
    section->Detach();
}

TEST_F(TalClipRecordsTest, PicturesFromAnotherStorePathRegisterIt)
{
    // A block from another process names a path this store has never seen.
    const Bytes body = Writer().U32(1).String(L"t").U32(2).U8(1).U32(2).U8(0).U32(0).String(L"C:\\elsewhere\\new.bmp");
    const uint32_t at = 13 + uint32_t(body.size());
    CTalPicturesData loaded;
    ASSERT_TRUE(Load(Writer().Linked(2, at, kNoLink, at).Add(body).Linked(4, at + 17).U32(0), loaded));
    ASSERT_EQ(1u, loaded.GetPictures().size());
    const int32_t id = loaded.GetPictures()[0]->GetPictureId();
    EXPECT_NE(0, id);
    EXPECT_EQ(CString(L"C:\\elsewhere\\new.bmp"), g_rasterLib.GetImagePath(static_cast<uint32_t>(id)));

    // A block written before its pictures without a file were told apart:
    // each stays one the store could not keep, which no save writes as whole.
    const Bytes old = Writer().U32(1).String(L"t").U32(2).U8(1).U32(2).U8(0).U32(0).String(L"").b;
    const uint32_t oldAt = 13 + uint32_t(old.size());
    ASSERT_TRUE(Load(Writer().Linked(2, oldAt, kNoLink, oldAt).Add(old).Linked(4, oldAt + 17).U32(0), loaded));
    DWORD error = 1;
    EXPECT_TRUE(g_rasterLib.GetUnkeptError(uint32_t(loaded.GetPictures().at(0)->GetPictureId()), error) && !error);
}

TEST_F(TalClipRecordsTest, SectionRoundTripKeepsIdsAndFonts)
{
    CKWIndexDecoder fonts;
    fonts.FindOrAdd(L"Arial");
    CKWRefPtr<CTalSection> root;
    const Bytes bytes = StoreTree(fonts, &root);
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(root.Get(), root->GetSubSection(0)->PeekParent()) << "a record that does not own leaves the tree";

    const int32_t counterBefore = CTalSection::GetLastIssuedId();
    CTalSectionData loaded;
    ASSERT_TRUE(Load(bytes, loaded));
    CKWRefPtr<CTalSection> copy = loaded.GetSection();
    ASSERT_TRUE(copy);
    EXPECT_NE(root.Get(), copy.Get());
    EXPECT_EQ(nullptr, copy->PeekParent());
    EXPECT_EQ(Fields(root.Get()), Fields(copy.Get()));
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
    CKWRefPtr<CTalSection> grand = copy->GetSubSection(0)->GetSubSection(0);
    const int32_t grandId = grand->GetId();
    copy->RenewId();
    EXPECT_NE(root->GetId(), copy->GetId());
    copy->RemapFonts(&documentFonts, loaded.GetSourceFontTable());
    const uint32_t index = grand->GetTextNote()->GetRun(0).m_fontIndex;
    EXPECT_EQ(2u, index);
    EXPECT_EQ(std::wstring(L"Courier New"), documentFonts.GetString(index));
    EXPECT_EQ(grandId, grand->GetId());

    loaded.SetOwning(true);  // not pasted: the record frees it
    copy.Release();
    grand.Release();
    root->Detach();
}

TEST_F(TalClipRecordsTest, LoadingReplacesTheRecordsSectionAndOwningFreesIt)
{
    CKWIndexDecoder fonts;
    const Bytes bytes = StoreTree(fonts);
    CKWRefPtr<CTalSection> previous(new CTalSection(nullptr, L"previous"));
    {
        CTalSectionData record(previous.Get(), true);
        ASSERT_TRUE(Load(bytes, record));
        EXPECT_NE(previous.Get(), record.GetSection().Get());
        record.SetOwning(true);
    }
    previous.Release();
    CTalSectionData owning(MakeTree(fonts).Get(), true);
}

TEST_F(TalClipRecordsTest, AbsentRecordsAreRefused)
{
    CTalFileNamesData names({L"x"});
    CTalPicturesData emptyPictures;
    const Bytes namesBlock = Store(names);
    const Bytes picturesBlock = Store(emptyPictures);
    enum Kind { kSection, kPictures, kNames };
    const struct {
        const char* name;
        const Bytes& bytes;
        Kind kind;
    } cases[] = {
        {"file names as a section", namesBlock, kSection},
        {"file names as pictures", namesBlock, kPictures},
        {"pictures as file names", picturesBlock, kNames},
        {"the font record without the section record", Writer().Linked(5, 17).U32(kNoLink).b, kSection},
        {"pictures without their positions", Writer().Linked(2, 17).U32(0).b, kPictures},
    };
    for (const auto& c : cases) {
        CTalSectionData section;
        CTalPicturesData pictures;
        CTalFileNamesData loadedNames({L"stale"});
        CKWSerialData* records[] = {&section, &pictures, &loadedNames};
        EXPECT_FALSE(Load(c.bytes, *records[c.kind])) << c.name;
        EXPECT_FALSE(section.GetSection()) << c.name;
        EXPECT_TRUE(pictures.GetPictures().empty()) << c.name;
        EXPECT_EQ(c.kind == kNames, loadedNames.GetNames().empty()) << c.name;
    }
}

TEST_F(TalClipRecordsTest, TruncatedAndLyingBlocksFailWithoutLeaks)
{
    CKWIndexDecoder fonts;
    const Bytes bytes = StoreTree(fonts);
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
    CTalPicturesData pictures;
    EXPECT_THROW(Load(Writer().Linked(2, 17).U32(0x7FFFFFFF), pictures), CKWArchiveException);
}

TEST_F(TalClipRecordsTest, DeeplyNestedSectionsAreRefused)
{
    // Any process can put "Tallier Objects" on the clipboard: a chain of
    // sections nested deeper than any report is cut off cleanly.
    auto nested = [](int depth) {
        Writer body;
        for (int i = 0; i < depth; ++i)  // one child each, except the last
            body.String(L"").U8(0).String(L"").U8(1).U32(uint32_t(i)).U32(i + 1 < depth ? 1 : 0);
        for (int i = 0; i < depth; ++i)
            body.U32(0).Add(EmptyTextBody());  // no pictures, an empty note
        return Writer().Linked(5, 17, kNoLink, 17).U32(kNoLink).Linked(1, 30 + body.Size()).Add(body).b;
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

// Blocks from the clipboard may be anything: seeded mutations of real blocks
// (cut, lengthened, bytes changed, a tail of 0xFF) are loaded, and whatever a
// load made is gone once its record is (a record that loaded whole frees its
// section as its owner). OT_FUZZ_CASES sets a longer run.
TEST_F(TalClipRecordsTest, MutatedBlocksLeaveNoObjectBehind)
{
    CKWIndexDecoder fonts;
    const Bytes tree = StoreTree(fonts);
    CTalPictureList pictures{new CTalPicture, new CTalPicture};
    pictures[0]->SetTitle(L"first");
    const CTalPositionList positions{1, 0};
    Bytes pictureBlock;
    {
        CTalPicturesData record(pictures, false, &positions);
        pictureBlock = Store(record);
    }
    pictures.clear();
    CTalFileNamesData names({L"C:\\a\\one.jpg", L"D:\\two.png"});
    const std::vector<Bytes> seeds = {tree, pictureBlock, Store(names)};
    const char* fuzzCases = std::getenv("OT_FUZZ_CASES");
    const int rounds = fuzzCases ? std::atoi(fuzzCases) : 6000;
    std::mt19937 random(20240611);
    const int32_t before = CKWRefCounter::GetLiveCount();
    for (int round = 0; round < rounds; ++round) {
        Bytes block = seeds[round % seeds.size()];
        Mutate(block, random);
        {
            CTalSectionData section;
            CTalPicturesData loadedPictures;
            CTalFileNamesData loadedNames;
            CKWSerialData* records[] = {&section, &loadedPictures, &loadedNames};
            for (CKWSerialData* record : records) {
                try {
                    Load(block, *record);
                } catch (const CKWArchiveException&) {
                } catch (const std::bad_alloc&) {
                }
            }
            section.SetOwning(true);
        }
        ASSERT_EQ(before, CKWRefCounter::GetLiveCount()) << "round " << round << ", seed " << round % seeds.size();
    }
}
