#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "framework/KWArchive.h"
#include "tests/framework/KWTestBytes.h"
#include "tests/text/TextTestSupport.h"
#include "text/KWTextData.h"
#include "text/KWTextObject.h"

using namespace kwbytes;

namespace {

typedef std::vector<uint32_t> Counts;
const uint8_t kTag = 200;  // a plain record, as a caller would open one

template <typename Text>
Bytes Store(Text& text)
{
    return Stored([&](CKWArchive& ar) {
        ar.BeginRecord(kTag);
        text.Serialize(ar);
        ar.EndRecord();
    });
}

template <typename Text>
void Load(Text& text, Bytes bytes)
{
    CKWArchive ar(bytes.data(), static_cast<uint32_t>(bytes.size()), CKWArchive::kLoad);
    ASSERT_TRUE(ar.BeginRecord(kTag));
    text.Serialize(ar);
    ar.EndRecord();
}

// The head, kind, flag and value of an archived colour.
Writer& RgbColor(Writer& w, uint8_t kind, uint8_t flag, uint32_t value)
{
    return w.U32(kind | uint32_t(flag) << 8).U8(kind).U8(flag).U32(value);
}

TEST(KWTextDataArchive, ByteLayout)
{
    CKWTextData text;
    FillText(text, L"hi", {2}, {2});
    CKWCharFormat* run = text.GetRunPtr(0);
    run->m_size = 12;
    run->m_sizeStepUp = 1;
    run->m_style = CKWCharFormat::kItalic;
    run->m_charSet = 204;
    run->m_fontIndex = 3;
    run->m_spacing = 0.5f;
    run->m_vertical = CKWCharFormat::kSuperscript;
    run->m_color = CKWColor::FromRgb(0x10, 0x20, 0x30);
    CKWParaFormat* para = text.GetParaPtr(0);
    para->m_leftIndent = 1;
    para->m_rightIndent = 2;
    para->m_firstLine = 3;
    para->m_spaceBefore = 4;
    para->m_spaceAfter = 5;
    para->m_lineSpacing = -150;
    para->m_align = CKWParaFormat::kAlignRight;
    CKWTextBoxAttributes& box = text.GetBoxAttributes();
    box.growMode = 1;
    box.values[0] = 7;
    box.values[3] = 0xA0B0C0D0;
    box.extra = 0x55;  // never stored

    Writer w;
    w.U32(1);  // one run
    w.U32(2).U16(12).U8(1).U8(CKWCharFormat::kItalic).U8(204).U32(3).F32(0.5f).U8(1);
    RgbColor(w, CKWColor::KindRgb, 0, run->m_color.GetValue());
    w.U32(1);  // one paragraph
    w.U32(2).F32(1).F32(2).F32(3).F32(4).F32(5).F32(-150).U8(2);
    w.U8(1).U32(7).U32(0).U32(0).U32(0xA0B0C0D0);  // the box
    RgbColor(w, CKWColor::KindRgb, 1, 0);
    w.U32(2).U16(L'h').U16(L'i');  // the text

    const Bytes stored = Store(text);
    ASSERT_EQ(5 + w.b.size(), stored.size());  // a plain record's 5-byte header first
    EXPECT_EQ(kTag, stored[0]);
    EXPECT_EQ(w.b, Bytes(stored.begin() + 5, stored.end()));
}

TEST(KWTextDataArchive, RoundTripIsExact)
{
    CKWTextObject text;
    FillText(text, L"one\ntwo three\nfour", {4, 5, 9}, {4, 10, 4});
    text.GetRunPtr(0)->m_color = CKWColor::FromCmyk(255, 128, 0, 10);
    text.GetRunPtr(1)->m_color = CKWColor::FromArgb(0x80, 1, 2, 3);
    text.GetRunPtr(2)->m_color = CKWColor(CKWColor::KindValue, 0xDEADBEEF, 3);
    text.GetRunPtr(2)->m_fontIndex = CKWCharFormat::kNoFont;
    text.GetParaPtr(1)->m_align = CKWParaFormat::kAlignCenter;
    text.GetParaPtr(2)->m_lineSpacing = 12.25f;
    text.GetBoxAttributes().values[1] = 42;
    text.SetRect(CKWDoubleRect(10.5, 20.25, 1000, 2000.125));

    const Bytes first = Store(text);
    CKWTextObject loaded;
    Load(loaded, first);
    EXPECT_STREQ(text.GetText().GetString(), loaded.GetText().GetString());
    ASSERT_EQ(3, loaded.GetRunCount());
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(loaded.GetRun(i).IsSameFormat(text.GetRun(i), true)) << i;
    EXPECT_EQ(CKWColor::KindCmyk, loaded.GetRun(0).m_color.GetKind());
    EXPECT_EQ(ParaCounts(text), ParaCounts(loaded));
    EXPECT_EQ(CKWParaFormat::kAlignCenter, loaded.GetPara(1).m_align);
    EXPECT_EQ(12.25f, loaded.GetPara(2).m_lineSpacing);
    EXPECT_EQ(42u, loaded.GetBoxAttributes().values[1]);
    EXPECT_EQ(20.25, loaded.GetRect().top);
    EXPECT_EQ(2000.125, loaded.GetRect().bottom);
    EXPECT_EQ(first, Store(loaded));  // stored again, byte for byte
}

TEST(KWTextDataArchive, LoadingReplacesWhatWasThere)
{
    CKWTextData source;
    FillText(source, L"ab", {2}, {2});
    CKWTextData target;
    FillText(target, L"something else", {4, 4, 6}, {9, 5});
    Load(target, Store(source));
    EXPECT_EQ((Counts{2}), RunCounts(target));
    EXPECT_EQ((Counts{2}), ParaCounts(target));
    EXPECT_STREQ(L"ab", target.GetText().GetString());
}

TEST(KWTextDataArchive, CountsBeyondTheRecordFailTheLoad)
{
    CKWTextData source;
    FillText(source, L"abc", {3}, {3});
    const Bytes good = Store(source);
    // The run count sits right after the 5-byte header, the paragraph count
    // after the one run (24 bytes for a run with an RGB colour + 4 for its count).
    const size_t runCountAt = 5, paraCountAt = 5 + 4 + 28;
    const uint32_t hostile[] = {0xFFFFFFFFu, 0x10000000u, 2};
    for (size_t at : {runCountAt, paraCountAt}) {
        for (uint32_t count : hostile) {
            Bytes bad = good;
            std::memcpy(&bad[at], &count, 4);
            CKWTextData text;
            EXPECT_THROW(Load(text, bad), CKWArchiveException) << at << " " << count;
            EXPECT_LE(text.GetRunCount(), 2);
        }
    }
}

TEST(KWTextDataArchive, LoadedSumsAreRepairedWithoutMerging)
{
    struct Case {
        const char* name;
        Counts runs, paras;
        Counts wantRuns, wantParas;
    };
    const Case cases[] = {
        {"equal runs with an empty one are kept, the last one cut", {3, 0, 4}, {5}, {3, 0, 2}, {5}},
        {"a short last run is lengthened", {1, 1}, {2}, {1, 4}, {5}},
        {"runs beyond the text are dropped", {2, 3, 3}, {4, 4}, {2, 3}, {4, 1}},
        {"counts that add up stay", {2, 3}, {5}, {2, 3}, {5}},
    };
    for (const Case& c : cases) {
        CKWTextData source;
        source.AssignText(CString(L"abcde"));
        for (uint32_t n : c.runs) {
            CKWCharFormat* run = new CKWCharFormat;  // all of one format
            run->m_count = n;
            source.AppendRun(run);
        }
        for (uint32_t n : c.paras) {
            CKWParaFormat* para = new CKWParaFormat;
            para->m_count = n;
            source.AppendPara(para);
        }
        RecordingText loaded;
        Load(loaded, Store(source));
        EXPECT_EQ(c.wantRuns, RunCounts(loaded)) << c.name;
        EXPECT_EQ(c.wantParas, ParaCounts(loaded)) << c.name;
        // Loading calls no hook, only the three notifications.
        const std::vector<std::string> want = {"TextChanged [abcde]", "RunsChanged", "ParasChanged"};
        EXPECT_EQ(want, loaded.log) << c.name;
    }
}

TEST(KWTextDataArchive, ATruncatedRecordKeepsWhatWasRead)
{
    CKWTextData source;
    FillText(source, L"abcdef", {3, 3}, {6});
    Bytes bytes = Store(source);
    // Shorten the record's end field so that the text no longer fits.
    const uint32_t end = static_cast<uint32_t>(bytes.size() - 4);
    std::memcpy(&bytes[1], &end, 4);
    CKWTextData text;
    EXPECT_THROW(Load(text, bytes), CKWArchiveException);
    EXPECT_EQ((Counts{3, 3}), RunCounts(text));
}

}  // namespace
