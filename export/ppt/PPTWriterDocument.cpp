// The document container, the records inserted into it once the fonts are
// known, the persist directory with the user edit, and the Current User stream.
#include "export/ppt/PPTWriter.h"

#include "export/ppt/PPTTextStyleSheets.h"
#include "export/ppt/PptEscherEx.h"
#include "export/ppt/ShapePropertyTable.h"
#include "framework/KWIndexDecoder.h"

namespace {

void Header(PPTOutStream& out, uint32_t length, uint16_t type, uint16_t version, uint16_t instance)
{
    out.WriteU16(static_cast<uint16_t>((instance << 4) | (version & 0xF))).WriteU16(type).WriteU32(length);
}

const uint16_t kContainer = 0xF;

// The default text master style of the "other" text type in the environment.
const uint8_t kEnvironmentTextStyle[110] = {
    0x05, 0x00, 0xff, 0xfd, 0x3f, 0x00, 0x00, 0x00, 0x22, 0x20, 0x00, 0x00, 0x64, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x64, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x40, 0x02, 0x00, 0x00, 0x00, 0x00,
    0x02, 0x00, 0x00, 0x00, 0xff, 0xff, 0xef, 0x00, 0x00, 0x00, 0x00, 0x00, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff,
    0x18, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x05, 0x00, 0x00, 0x20, 0x01, 0x20, 0x01, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x05, 0x00, 0x00, 0x40, 0x02, 0x40, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x05, 0x00, 0x00,
    0x60, 0x03, 0x60, 0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x05, 0x00, 0x00, 0x80, 0x04, 0x80, 0x04, 0x00, 0x00,
    0x00, 0x00,
};

const uint32_t kFontEntitySize = 8 + 68;
const uint32_t kCurrentUserEditField = 16;
// Persist offsets one directory entry can hold (12 bits of count).
const uint32_t kMaxPersistRun = 0xFFF;

}  // namespace

bool PPTWriter::WriteCurrentUser()
{
    PPTOutStream& out = m_currentUserStream;
    Header(out, 36, kCurrentUserAtom, 0, 0);
    out.WriteU32(20);           // size
    out.WriteU32(0xE391C05F);   // header token: not encrypted
    out.WriteU32(0);            // offset to the current edit, filled in last
    out.WriteU16(12);           // user-name length
    out.WriteU16(1012);         // document file version
    out.WriteU8(3).WriteU8(0);  // major, minor version
    out.WriteU16(0);
    out.WriteBytes("Current User", 12);
    out.WriteU32(8);            // release version
    out.Seek(kCurrentUserEditField);
    return true;
}

bool PPTWriter::WriteDocument()
{
    PptEscherEx& escher = *m_escher;
    PPTOutStream& out = escher.GetStream();
    escher.BeginContainer(kDocument, 0);

    const uint32_t slideWidth = static_cast<uint32_t>(ToMasterUnits(m_pageWidth));
    const uint32_t slideHeight = static_cast<uint32_t>(ToMasterUnits(m_pageHeight));
    escher.WriteRecordHeader(40, kDocumentAtom, 1, 0);
    out.WriteU32(slideWidth).WriteU32(slideHeight);
    out.WriteU32(slideWidth).WriteU32(slideHeight);  // notes size
    out.WriteU32(1).WriteU32(2);                      // server zoom
    out.WriteU32(0).WriteU32(0);                      // notes and handout masters
    out.WriteU16(1);                                  // first slide number
    out.WriteU16(GetSlideSizeType(m_pageWidth, m_pageHeight));
    out.WriteU8(0).WriteU8(0).WriteU8(0).WriteU8(1);
    escher.SetOffset(kKeyInsertionPoint, escher.Tell());

    escher.BeginContainer(kSlideListWithText, 0);
    for (size_t i = 0; i < m_pageCount; ++i)
        WriteSlidePersistAtom(kKeySlideReference + static_cast<uint32_t>(i), 256 + static_cast<uint32_t>(i));
    escher.EndContainer();

    WriteSlideShowDocInfo(&out);
    escher.WriteRecordHeader(0, kEndDocument, 0, 0);
    escher.EndContainer();
    return true;
}

void PPTWriter::WriteSlidePersistAtom(uint32_t referenceKey, uint32_t slideId)
{
    PPTOutStream& out = m_escher->GetStream();
    m_escher->WriteRecordHeader(20, kSlidePersistAtom, 0, 0);
    m_escher->SetOffset(referenceKey, m_escher->Tell());
    out.WriteU32(0);  // persist reference, patched by the persist directory
    out.WriteU32(0).WriteU32(0).WriteU32(slideId).WriteU32(0);
}

uint32_t PPTWriter::WriteSlideShowDocInfo(PPTOutStream* stream)
{
    if (stream) {
        Header(*stream, 80, kSSDocInfoAtom, 1, 0);
        stream->WriteU32(0x01000000);  // pen colour
        stream->WriteU32(0x7FFFFFFF);  // restart time
        stream->WriteU16(0).WriteU16(0);
        stream->WriteZeros(64);        // named show
        stream->WriteU32(0);
    }
    return 88;
}

bool PPTWriter::WriteEnvironment()
{
    PptEscherEx& escher = *m_escher;
    if (!escher.HasOffset(kKeyInsertionPoint))
        return false;
    escher.SetOffset(kKeyStreamEnd, escher.Tell());
    escher.SeekToOffset(kKeyInsertionPoint);

    const uint32_t size = WriteEnvironmentRecords(nullptr) + WriteDrawingGroup(nullptr) +
                          WriteMasterSlideList(nullptr) + WriteDocumentList(nullptr);
    escher.InsertGap(size, true);
    const uint32_t start = escher.Tell();
    PPTOutStream& out = escher.GetStream();
    WriteEnvironmentRecords(&out);
    WriteDrawingGroup(&out);
    WriteMasterSlideList(&out);
    WriteDocumentList(&out);
    // The records must fill the gap exactly, or every offset after it is wrong.
    const bool filled = escher.Tell() - start == size;
    escher.SeekToOffset(kKeyStreamEnd);
    return filled;
}

CString PPTWriter::GetFontName(uint32_t fontId) const
{
    CString name;
    if (m_fontTable)
        name = CString(m_fontTable->GetString(fontId).c_str());
    if (name.IsEmpty())
        name = L"Arial";
    return name;
}

uint32_t PPTWriter::WriteEnvironmentRecords(PPTOutStream* stream)
{
    const uint32_t fontsLength = kFontEntitySize * static_cast<uint32_t>(m_fonts.size());
    const uint32_t length = fontsLength + 164;
    if (stream) {
        PPTOutStream& out = *stream;
        Header(out, length, kEnvironment, kContainer, 0);
        Header(out, 12, kKinsoku, kContainer, 2);
        Header(out, 4, kKinsokuAtom, 0, 3);
        out.WriteU32(0);

        Header(out, fontsLength, kFontCollection, kContainer, 0);
        for (uint32_t fontId : m_fonts) {
            const CString name = GetFontName(fontId);
            uint16_t face[32] = {};
            const int count = name.GetLength() < 31 ? name.GetLength() : 31;
            for (int i = 0; i < count; ++i)
                face[i] = static_cast<uint16_t>(name[i]);
            Header(out, 68, kFontEntityAtom, 0, 0);
            for (uint16_t unit : face)
                out.WriteU16(unit);
            out.WriteU8(0).WriteU8(0).WriteU8(6).WriteU8(0x10);
        }

        Header(out, 10, kTextSpecialInfoDefaultAtom, 0, 0);
        out.WriteU32(7).WriteU16(2).WriteU8(9).WriteU8(8).WriteU16(0);
        Header(out, sizeof(kEnvironmentTextStyle), PPTTextStyleSheets::kTextMasterStyleAtom, 0, 4);
        out.WriteBytes(kEnvironmentTextStyle, sizeof(kEnvironmentTextStyle));
    }
    return 8 + length;
}

uint32_t PPTWriter::WriteDrawingGroup(PPTOutStream* stream)
{
    const SvMemoryStream& clusters = m_escher->GetClusters();
    const uint32_t clusterBytes = clusters.GetSize();
    if (stream) {
        PPTOutStream& out = *stream;
        Header(out, clusterBytes + 100, kPPDrawingGroup, kContainer, 0);
        Header(out, clusterBytes + 92, PptEscherEx::kDggContainer, kContainer, 0);
        Header(out, 16 + clusterBytes, PptEscherEx::kDgg, 0, 0);
        out.WriteU32(m_escher->GetNextShapeId());
        out.WriteU32(m_escher->GetClusterCount() + 1);
        out.WriteU32(m_escher->GetTotalCountedShapes());
        out.WriteU32(m_drawingCount);
        out.WriteBytes(clusters.GetData(), clusterBytes);

        ShapePropertyTable defaults;
        defaults.SetProperty(0x0181, 0x00FFB800);
        defaults.SetProperty(0x0183, 0);
        defaults.SetProperty(0x01BF, 0x00100010);
        defaults.SetProperty(0x01C0, 0x08000001);
        defaults.SetProperty(0x01FF, 0x00080008);
        defaults.SetProperty(0x0201, 0x08000002);
        defaults.WriteTo(out, 3);

        Header(out, 16, PptEscherEx::kSplitMenuColors, 0, 4);
        out.WriteU32(0x08000004).WriteU32(0x08000001).WriteU32(0x08000002).WriteU32(0x100000F7);
    }
    return clusterBytes + 108;
}

uint32_t PPTWriter::WriteMasterSlideList(PPTOutStream* stream)
{
    if (stream) {
        Header(*stream, 28, kSlideListWithText, kContainer, 1);
        WriteSlidePersistAtom(kKeyMasterReference, 0x80000000);
    }
    return 36;
}

uint32_t PPTWriter::WriteDocumentList(PPTOutStream* stream)
{
    const uint32_t length = WriteVBAInfo(nullptr) + WriteViewInfo(nullptr, false) + WriteOutlineViewInfo(nullptr) +
                            WriteViewInfo(nullptr, true);
    if (stream) {
        Header(*stream, length, kList, kContainer, 0);
        WriteVBAInfo(stream);
        WriteViewInfo(stream, false);
        WriteOutlineViewInfo(stream);
        WriteViewInfo(stream, true);
    }
    return 8 + length;
}

uint32_t PPTWriter::WriteVBAInfo(PPTOutStream* stream)
{
    if (stream) {
        Header(*stream, 20, kVBAInfo, kContainer, 1);
        Header(*stream, 12, kVBAInfoAtom, 2, 0);
        m_escher->SetOffset(kKeyVBAReference, m_escher->Tell());
        stream->WriteU32(0).WriteU32(0).WriteU32(1);
    }
    return 28;
}

namespace {

struct ViewValues {
    int32_t scaleNumerator;
    int32_t scaleDenominator;
    int32_t sizeX, sizeY;
    int32_t originX, originY;
};

void WriteViewInfoAtom(PPTOutStream& out, const ViewValues& view)
{
    Header(out, 52, PPTWriter::kViewInfoAtom, 0, 0);
    for (int i = 0; i < 4; ++i)  // current and previous scale, x and y
        out.WriteU32(static_cast<uint32_t>(view.scaleNumerator)).WriteU32(static_cast<uint32_t>(view.scaleDenominator));
    out.WriteU32(static_cast<uint32_t>(view.sizeX)).WriteU32(static_cast<uint32_t>(view.sizeY));
    out.WriteU32(static_cast<uint32_t>(view.originX)).WriteU32(static_cast<uint32_t>(view.originY));
    out.WriteU8(1).WriteU8(0).WriteU16(0);  // zoom to fit, no draft
}

}  // namespace

uint32_t PPTWriter::WriteViewInfo(PPTOutStream* stream, bool notes)
{
    if (stream) {
        PPTOutStream& out = *stream;
        Header(out, 103, kSlideViewInfo, kContainer, notes ? 1 : 0);
        Header(out, 3, kSlideViewInfoAtom, 0, 0);
        out.WriteU8(notes ? 1 : 0).WriteU8(1).WriteU8(0);
        const ViewValues slide = {85, 100, 6060, 3546, -780, -84};
        const ViewValues notesView = {59, 100, 6060, 3852, -1752, -72};
        WriteViewInfoAtom(out, notes ? notesView : slide);
        Header(out, 8, kGuideAtom, 0, 7);
        out.WriteU32(0).WriteU32(notes ? 2880 : 2160);
        Header(out, 8, kGuideAtom, 0, 7);
        out.WriteU32(1).WriteU32(notes ? 2160 : 2880);
    }
    return 111;
}

uint32_t PPTWriter::WriteOutlineViewInfo(PPTOutStream* stream)
{
    if (stream) {
        Header(*stream, 60, kOutlineViewInfo, kContainer, 0);
        WriteViewInfoAtom(*stream, ViewValues{170, 200, 6060, 3546, -780, -84});
    }
    return 68;
}

bool PPTWriter::WritePersistDirectory()
{
    PptEscherEx& escher = *m_escher;
    PPTOutStream& out = escher.GetStream();

    // Persist ids from 1: the document (at 0), the main master, the slides.
    std::vector<uint32_t> offsets(1, 0);
    if (escher.HasOffset(kKeyMainMaster)) {
        offsets.push_back(escher.GetOffset(kKeyMainMaster));
        escher.PatchAtOffset(kKeyMasterReference, static_cast<uint32_t>(offsets.size()));
    }
    for (size_t i = 0; i < m_pageCount; ++i) {
        const uint32_t key = kKeySlide + static_cast<uint32_t>(i);
        if (escher.HasOffset(key)) {
            offsets.push_back(escher.GetOffset(key));
            escher.PatchAtOffset(kKeySlideReference + static_cast<uint32_t>(i), static_cast<uint32_t>(offsets.size()));
        }
    }
    const uint32_t count = static_cast<uint32_t>(offsets.size());

    // One entry holds at most 4095 offsets; a longer run is split.
    const uint32_t entries = (count + kMaxPersistRun - 1) / kMaxPersistRun;
    const uint32_t directory = escher.Tell();
    escher.WriteRecordHeader(4 * count + 4 * entries, kPersistPtrIncrementalBlock, 0, 0);
    for (uint32_t first = 0; first < count; first += kMaxPersistRun) {
        const uint32_t run = count - first < kMaxPersistRun ? count - first : kMaxPersistRun;
        out.WriteU32((run << 20) | (first + 1));
        for (uint32_t k = first; k < first + run; ++k)
            out.WriteU32(offsets[k]);
    }

    const uint32_t userEdit = escher.Tell();
    m_currentUserStream.Seek(kCurrentUserEditField);
    m_currentUserStream.WriteU32(userEdit);

    escher.WriteRecordHeader(28, kUserEditAtom, 0, 0);
    out.WriteU32(256);        // last slide viewed
    out.WriteU16(0x0DBC);     // version
    out.WriteU8(0).WriteU8(3);
    out.WriteU32(0);          // no earlier edit
    out.WriteU32(directory);  // the persist directory
    out.WriteU32(1);          // the document's persist id
    out.WriteU32(count);      // persist id seed
    out.WriteU16(1);          // last view: slide view
    out.WriteU16(18);
    return true;
}
