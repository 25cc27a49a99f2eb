// PDFFile: the composite fonts with their subset TrueType files.
#include "export/pdf/PDFFile.h"

#include "export/pdf/PDFFontName.h"
#include "export/pdf/SubsetFontForPDF.h"
#include "framework/KWProgressInterface.h"

namespace {

const uint32_t kMapEntries = 65536;

}  // namespace

void PDFFile::WriteFonts(const std::vector<PDFFontRecord>& fonts, CKWProgressInterface* progress)
{
    m_filter = kPDFFilterFlate;
    const uint32_t first = GetObjectNumber(kFirstFontEntry);
    for (size_t j = 0; j < fonts.size(); ++j) {
        if (fonts[j].codes.empty()) {
            AddFreeEntries(kObjectsPerFont);
            continue;
        }
        WriteFont(fonts[j], first + kObjectsPerFont * static_cast<uint32_t>(j));
        if (progress)
            progress->Advance();
    }
}

void PDFFile::WriteFont(const PDFFontRecord& source, uint32_t b)
{
    PDFFontRecord record = source;
    const std::string name = MakePDFFontName(record.ansiName, record.style);
    std::vector<uint16_t> map(kMapEntries);
    for (uint32_t c = 0; c < kMapEntries; ++c)
        map[c] = static_cast<uint16_t>(c);
    SubsetFontForPDF(map, record);
    const bool embedded = !record.fontFile.empty();
    PDFOutput& out = *m_output;

    BeginObject(b);
    out.WriteLine("<<").WriteLine("/Type /Font").WriteLine("/Subtype /Type0");
    out.Write("/BaseFont /").WriteLine(name.c_str());
    out.Write("/DescendantFonts [").WriteUInt(b + 1).Write(" ").Write("0").WriteLine(" R]");
    out.WriteLine("/Encoding /Identity-H").WriteLine(">>");
    EndObject();

    BeginObject(b + 1);
    out.WriteLine("<<").WriteLine("/Type /Font").WriteLine("/Subtype /CIDFontType2");
    out.Write("/BaseFont /").WriteLine(name.c_str());
    out.Write("/CIDToGIDMap ");
    WriteReference(b + 3);
    out.WriteLineEnd().WriteLine("/CIDSystemInfo").WriteLine("<<");
    out.WriteLine("/Registry (Adobe)").WriteLine("/Ordering (Identity)").WriteLine("/Supplement 0").WriteLine(">>");
    out.Write("/FontDescriptor ");
    WriteReference(b + 2);
    out.WriteLineEnd().WriteLine("/DW 1000").WriteLine("/W [");
    for (size_t i = 0; i < record.codes.size(); ++i) {
        const uint32_t advance = i < record.advances.size() ? record.advances[i] : 0;
        out.WriteInt(record.codes[i]).Write(" ").Write("[").WriteUInt(advance).WriteLine("]");
    }
    out.WriteLine("]").WriteLine(">>");
    EndObject();

    BeginObject(b + 2);
    out.WriteLine("<<").WriteLine("/Type /FontDescriptor").WriteLine("/Ascent 720").WriteLine("/CapHeight 660");
    out.WriteLine("/Descent -270").WriteLine("/Flags 48").WriteLine("/FontBBox [0 0 1000 1000]");
    out.Write("/FontName /").WriteLine(name.c_str());
    out.WriteLine("/ItalicAngle 0").WriteLine("/StemV 105");
    if (embedded) {
        out.Write("/FontFile2 ");
        WriteReference(b + 5);
        out.WriteLineEnd();
    }
    out.WriteLine(">>");
    EndObject();

    // The map, each entry high byte first.
    {
        std::vector<uint8_t> bytes(kMapEntries * 2);
        for (uint32_t c = 0; c < kMapEntries; ++c) {
            bytes[2 * c] = static_cast<uint8_t>(map[c] >> 8);
            bytes[2 * c + 1] = static_cast<uint8_t>(map[c]);
        }
        BeginObject(b + 3);
        out.WriteLine("<<").Write("/Length ");
        WriteReference(b + 4);
        out.WriteLineEnd();
        WriteFilter();
        out.WriteLine(">>").WriteLine("stream");
        const uint64_t count = out.WriteEncodedBlock(bytes.data(), bytes.size(), kPDFFilterFlate);
        EndStreamObject(b + 3, count);
    }

    if (embedded) {
        BeginObject(b + 5);
        out.WriteLine("<<").Write("/Length  ");
        WriteReference(b + 6);
        out.WriteLineEnd().Write("/Length1 ").WriteUInt64(record.fontFile.size()).WriteLineEnd();
        WriteFilter();
        out.WriteLine(">>").WriteLine("stream");
        const uint64_t count = out.WriteEncodedBlock(record.fontFile.data(), record.fontFile.size(), kPDFFilterFlate);
        EndStreamObject(b + 5, count);
    } else {
        AddFreeEntries(2);
    }
    AddFreeEntries(1);
}
