// Exact text of the number writers and the content operators.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <functional>

#include "export/pdf/PDFFile.h"
#include "tests/export/pdf/PDFTestSupport.h"

namespace {

// The bytes that one call writes into a fresh file object.
std::string Written(const std::function<void(PDFFile&)>& call)
{
    pdftest::Sink sink;
    {
        PDFFile file(sink.Open());
        call(file);
        EXPECT_TRUE(file.Finish());
    }
    return sink.bytes;
}

struct OperatorCase {
    const char* name;
    std::function<void(PDFFile&)> call;
    const char* expected;
};

TEST(PDFOperators, WriteTheirExactLines)
{
    const wchar_t hi[] = L"Hi";
    const OperatorCase cases[] = {
        {"MoveTo", [](PDFFile& f) { f.MoveTo(12.5, 700.25); }, "12.5000 700.2500 m\r\n"},
        {"LineTo", [](PDFFile& f) { f.LineTo(-3.25, 0.00004); }, "-3.2500 0.0000 l\r\n"},
        {"Stroke", [](PDFFile& f) { f.Stroke(); }, "S\r\n"},
        {"SetColor fill", [](PDFFile& f) { f.SetColor(RGB(128, 0, 255), true); }, "0.502 0.000 1.000 rg\r\n"},
        {"SetColor white", [](PDFFile& f) { f.SetColor(0x00FFFFFF, true); }, "1.000 1.000 1.000 rg\r\n"},
        {"SetColor stroke", [](PDFFile& f) { f.SetColor(RGB(0, 51, 0), false); }, "0.000 0.200 0.000 RG\r\n"},
        {"CMYK fill", [](PDFFile& f) { f.SetColorComponents(0.1f, 0.2f, 0.3f, 0.4f, 1, true); },
         "0.100 0.200 0.300 0.400 k\r\n"},
        {"CMYK stroke", [](PDFFile& f) { f.SetColorComponents(1, 0, 0, 0, 1, false); },
         "1.000 0.000 0.000 0.000 K\r\n"},
        {"RGB components", [](PDFFile& f) { f.SetColorComponents(0.5f, 0.25f, 1, 0.9f, 0, false); },
         "0.500 0.250 1.000 RG\r\n"},
        {"BeginText", [](PDFFile& f) { f.BeginText(); }, "BT\r\n"},
        {"EndText", [](PDFFile& f) { f.EndText(); }, "ET\r\n"},
        {"SetFont", [](PDFFile& f) { f.SetFont(5, 12, 0); }, "/F5 12.000 Tf\r\n"},
        {"SetFont spacing", [](PDFFile& f) { f.SetFont(5, 12, 14); }, "/F5 12.000 Tf\r\n14.000 TL\r\n"},
        {"SetFont no key", [](PDFFile& f) { f.SetFont(-1, 9.5f, 0); }, "/F 9.500 Tf\r\n"},
        {"SetFont signed key", [](PDFFile& f) { f.SetFont(static_cast<int32_t>(0x80000001u), 8, 0); },
         "/F-2147483647 8.000 Tf\r\n"},
        {"ShowText", [hi](PDFFile& f) { f.ShowText(hi); }, "<00480069> Tj\r\n"},
        {"ShowText empty", [](PDFFile& f) { f.ShowText(L""); }, "<> Tj\r\n"},
        {"ShowText beyond ASCII", [](PDFFile& f) { f.ShowText(L"\x20AC\xFFFF"); }, "<20ACFFFF> Tj\r\n"},
        {"MoveText", [](PDFFile& f) { f.MoveText(10, -20.125f); }, "10.000 -20.125 Td\r\n"},
        {"ShowTextAt", [hi](PDFFile& f) { f.ShowTextAt(10, 20, hi, 2, 0); }, "10.000 20.000 Td\r\n<00480069> Tj\r\n"},
        {"ShowTextAt turned", [hi](PDFFile& f) { f.ShowTextAt(10, 20, hi, 1, 1.5707963f); },
         "0.000 1.000 -1.000 0.000 10.000 20.000 Tm\r\n<0048> Tj\r\n"},
        {"DrawImage", [](PDFFile& f) { f.DrawImage(8, 56.693f, 400, 200, 150, 0); },
         "q\r\n1 0 0 1 56.693 400.000 cm\r\n200.000 0 0 150.000 0 0 cm\r\n/I8 Do\r\nQ\r\n"},
        {"DrawImage of a picture stored sideways (6)", [](PDFFile& f) { f.DrawImage(8, 10, 20, 200, 300, 0, 6); },
         "q\r\n1 0 0 1 10.000 20.000 cm\r\n0.000 -300.000 200.000 0.000 0.000 300.000 cm\r\n/I8 Do\r\nQ\r\n"},
        {"DrawImage of a picture stored the other way (8)", [](PDFFile& f) { f.DrawImage(8, 0, 0, 200, 300, 0, 8); },
         "q\r\n1 0 0 1 0.000 0.000 cm\r\n0.000 300.000 -200.000 0.000 200.000 0.000 cm\r\n/I8 Do\r\nQ\r\n"},
        {"DrawImage of a mirrored picture (2)", [](PDFFile& f) { f.DrawImage(8, 0, 0, 200, 300, 0, 2); },
         "q\r\n1 0 0 1 0.000 0.000 cm\r\n-200.000 0.000 0.000 300.000 200.000 0.000 cm\r\n/I8 Do\r\nQ\r\n"},
        {"DrawImage turned", [](PDFFile& f) { f.DrawImage(9, 0, 0, 1, 2, 3.14159265f); },
         "q\r\n1 0 0 1 0.000 0.000 cm\r\n-1.000 -0.000 0.000 -1.000 0 0 cm\r\n1.000 0 0 2.000 0 0 cm\r\n/I9 Do\r\nQ\r\n"},
        {"Header", [](PDFFile& f) { f.WriteHeader(); }, "%PDF-1.3\r\n"},
        {"Filter none", [](PDFFile& f) { f.WriteFilter(); }, ""},
        {"Filter flate", [](PDFFile& f) { f.SetFilterKind(kPDFFilterFlate); f.WriteFilter(); }, "/Filter /FlateDecode\r\n"},
        {"Filter DCT", [](PDFFile& f) { f.SetFilterKind(kPDFFilterDct); f.WriteFilter(); }, "/Filter /DCTDecode\r\n"},
        {"Filter hex", [](PDFFile& f) { f.SetFilterKind(kPDFFilterAsciiHex); f.WriteFilter(); },
         "/Filter /ASCIIHexDecode\r\n"},
    };
    for (const OperatorCase& c : cases)
        EXPECT_EQ(c.expected, Written(c.call)) << c.name;
}

struct NumberCase {
    const char* name;
    std::function<void(PDFOutput&)> call;
    const char* expected;
};

TEST(PDFOutputNumbers, FormatEachValueAlone)
{
    const NumberCase cases[] = {
        {"real", [](PDFOutput& o) { o.WriteReal(1.0 / 3); }, "0.3333"},
        {"real negative", [](PDFOutput& o) { o.WriteReal(-1234.56789); }, "-1234.5679"},
        {"real not finite", [](PDFOutput& o) { o.WriteReal(std::nan("")); }, "0.0000"},
        {"float", [](PDFOutput& o) { o.WriteFloat(2.0f / 3); }, "0.667"},
        {"int", [](PDFOutput& o) { o.WriteInt(-2147483647 - 1); }, "-2147483648"},
        {"uint", [](PDFOutput& o) { o.WriteUInt(4294967295u); }, "4294967295"},
        {"ushort", [](PDFOutput& o) { o.WriteUShort(65535); }, "65535"},
        {"hex", [](PDFOutput& o) { o.WriteHexText(L"a\x00e9Z"); }, "006100E9005A"},
        {"hex empty", [](PDFOutput& o) { o.WriteHexText(L""); }, ""},
        {"xref in use", [](PDFOutput& o) { o.WriteXrefEntry(17, 0, true); }, "0000000017 00000 n"},
        {"xref free", [](PDFOutput& o) { o.WriteXrefEntry(0, 65535, false); }, "0000000000 65535 f"},
        {"xref past 2 GB", [](PDFOutput& o) { o.WriteXrefEntry(3000000000u, 0, true); }, "3000000000 00000 n"},
        {"chained", [](PDFOutput& o) { o.WriteInt(1).Write(" ").WriteUInt(2).Write(" ").WriteReal(3); },
         "1 2 3.0000"},
    };
    for (const NumberCase& c : cases) {
        pdftest::Sink sink;
        {
            PDFOutput out(sink.Open());
            c.call(out);
            EXPECT_TRUE(out.Close());
        }
        EXPECT_EQ(c.expected, sink.bytes) << c.name;
    }
}

TEST(PDFOutputNumbers, UseAPointInEveryLocale)
{
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    // German decimal comma where the runtime knows the locale.
    if (!std::setlocale(LC_NUMERIC, "German_Germany.1252") && !std::setlocale(LC_NUMERIC, "de-DE"))
        GTEST_SKIP() << "no locale with a decimal comma";
    pdftest::Sink sink;
    {
        PDFOutput out(sink.Open());
        out.WriteReal(12.5).Write(" ").WriteFloat(0.25f);
        out.Close();
    }
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ("12.5000 0.250", sink.bytes);
}

TEST(PDFOutputStreams, EachFilterWritesItsForm)
{
    const struct {
        PDFFilterKind kind;
        std::string data, written;
    } cases[] = {
        {kPDFFilterAsciiHex, std::string("\x00\xAB\x7F", 3), "00AB\r\n7F"},  // a line end after every second byte
        {kPDFFilterDct, "\xFF\xD8\xFF", "\xFF\xD8\xFF"},
        {kPDFFilterNone, "plain", "plain"},
    };
    for (const auto& c : cases) {
        pdftest::Sink sink;
        {
            PDFOutput out(sink.Open());
            ASSERT_TRUE(out.BeginStream());
            out.WriteStreamData(c.data.data(), c.data.size(), c.kind);
            EXPECT_EQ(c.written.size(), out.EndStream(c.kind));
            out.Close();
        }
        EXPECT_EQ(c.written, sink.bytes) << c.kind;
    }
}

TEST(PDFOutputStreams, FlateStreamInflatesBackAndCountsFileBytes)
{
    pdftest::Sink sink;
    std::string text;
    for (int i = 0; i < 2000; ++i)
        text += "0.000 0.000 0.000 rg\r\n";
    uint64_t count = 0;
    {
        PDFOutput out(sink.Open());
        out.Write("head");
        ASSERT_TRUE(out.BeginStream());
        out.WriteStreamData(text.data(), text.size(), kPDFFilterFlate);
        EXPECT_EQ(4u, out.GetFilePos());  // nothing reaches the file until the stream ends
        count = out.EndStream(kPDFFilterFlate);
        EXPECT_EQ(4u + count, out.GetFilePos());
        EXPECT_TRUE(out.Close());
    }
    ASSERT_EQ(4u + count, sink.bytes.size());
    EXPECT_LT(count, text.size());
    EXPECT_EQ(text, pdftest::Inflate(sink.bytes.substr(4)));

    // An empty stream is a valid zlib stream still.
    pdftest::Sink empty;
    {
        PDFOutput out(empty.Open());
        out.BeginStream();
        EXPECT_GT(out.EndStream(kPDFFilterFlate), 0u);
        out.Close();
    }
    EXPECT_EQ("", pdftest::Inflate(empty.bytes));
}

TEST(PDFOutputFailures, AreReported)
{
    pdftest::Sink sink;
    sink.failWrites = true;
    PDFOutput out(sink.Open());
    std::string big(20000, 'x');  // more than the stream's buffer
    out.WriteBytes(big.data(), big.size());
    EXPECT_TRUE(out.HasFailed());
    EXPECT_FALSE(out.Close());

    // At the final flush.
    pdftest::Sink late;
    PDFOutput buffered(late.Open());
    buffered.Write("%PDF-1.3");  // stays in the buffer
    late.failWrites = true;
    EXPECT_FALSE(buffered.HasFailed());
    EXPECT_FALSE(buffered.Close());

    EXPECT_FALSE(PDFOutput(L"Z:\\no such folder\\x\\report.pdf").IsOpen());
    EXPECT_FALSE(PDFOutput(static_cast<KWStream*>(nullptr)).IsOpen());
}

}  // namespace
