// Tests of the framework files: binary and text files on disk and files over memory.
#include "framework/KWFile.h"
#include "framework/KWFileStream.h"
#include "framework/KWMemFile.h"
#include "framework/KWStream.h"
#include "framework/KWTextFileStream.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tests/framework/KWTestFiles.h"

namespace {

// Every line of a file, read with ReadLine until the end of data.
std::vector<std::string> ReadLines(CKWFile& file, int32_t bufferSize = 64)
{
    std::vector<std::string> lines;
    std::vector<char> buffer(static_cast<size_t>(bufferSize));
    for (int guard = 0; !file.IsEOF() && guard < 100; ++guard) {
        int32_t n = file.ReadLine(buffer.data(), bufferSize);
        // Reading at the end of data gives an empty line and the end bit.
        if (n <= 0 || (n == 1 && file.IsEOF()))
            break;
        lines.emplace_back(buffer.data(), static_cast<size_t>(n - 1));
    }
    return lines;
}

std::wstring Utf8ToWide(const std::string& utf8)
{
    int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &wide[0], n);
    return wide;
}

}  // namespace

TEST(CKWFile, TextNumbersAreDecimalTextWithoutSeparators)
{
    struct Case {
        double value;
        const char* text;
    };
    const Case doubles[] = {{2.5, "2.5"}, {3.0, "3"}, {-0.125, "-0.125"}, {100.0, "100"}, {0.0, "0"},
                            {1234567.5, "1234567.5"}, {0.0000004, "0"}};
    for (const Case& c : doubles)
        EXPECT_EQ(c.text, CKWTextFileStream::FormatDouble(c.value)) << c.value;

    CKWTestTempFile temp;
    {
        CKWFile file(temp.Path().c_str(), CKWFile::kWrite);
        ASSERT_TRUE(file.IsOpen());
        file << int32_t(42) << 2.5 << ' ' << 3.0 << ' ' << -7 << ' ' << 1.5f;
    }
    EXPECT_EQ("422.5 3 -7 1.5", ReadFileBytes(temp.Path()));
}

TEST(CKWFile, TextTokensReadBackAndAFailedTokenKeepsThePosition)
{
    CKWTestTempFile temp;
    ASSERT_TRUE(WriteFileBytes(temp.Path(), "  17\t-3 2.75\n word 12345678901234567890 8"));
    CKWFile file(temp.Path().c_str(), CKWFile::kRead);
    ASSERT_TRUE(file.IsOpen());
    int32_t a = 0, b = 0;
    double c = 0;
    file >> a >> b >> c;
    EXPECT_EQ(17, a);
    EXPECT_EQ(-3, b);
    EXPECT_DOUBLE_EQ(2.75, c);

    int32_t untouched = 99;
    file >> untouched;
    EXPECT_EQ(99, untouched) << "\"word\" is no number";
    char ch = 0;
    file >> ch;
    EXPECT_EQ(' ', ch) << "the failed token left the position where it began";
    char rest[24] = {};
    ASSERT_EQ(4, file.Read(rest, 4));
    EXPECT_STREQ("word", rest);

    file >> untouched;
    EXPECT_EQ(99, untouched) << "a token of 20 digits is too long";
    std::memset(rest, 0, sizeof rest);
    ASSERT_EQ(21, file.Read(rest, 21));
    EXPECT_STREQ(" 12345678901234567890", rest);
    file >> untouched;
    EXPECT_EQ(8, untouched) << "the last token ends at the end of data";

    // At the end of data there is no token: that is a failure, not a 0.
    CKWTestTempFile empty;
    ASSERT_TRUE(WriteFileBytes(empty.Path(), "   "));
    CKWFile blank(empty.Path().c_str(), CKWFile::kRead);
    double d = 4.5;
    blank >> d;
    EXPECT_DOUBLE_EQ(4.5, d);
}

TEST(CKWFile, ReadLineSplitsEveryKindOfLineEnd)
{
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"mixed", "a\r\nb\n\nc", {"a", "b", "", "c"}},
        {"CR only", "one\rtwo\r\rthree", {"one", "two", "", "three"}},
        {"LF CR pair", "x\n\ry", {"x", "y"}},
        {"trailing line end", "last\n", {"last"}},
        {"ANSI letters, 0xFF among them", "na\xefve \xff\xfe\nz", {"na\xefve \xff\xfe", "z"}},
    };
    for (const Case& c : cases) {
        // Binary files, text files (where the runtime turns CR LF into LF) and memory.
        CKWTestTempFile temp;
        ASSERT_TRUE(WriteFileBytes(temp.Path(), c.bytes));
        CKWFile binary(temp.Path().c_str(), CKWFile::kRead | CKWFile::kBinary);
        EXPECT_EQ(c.lines, ReadLines(binary)) << c.name << " binary";
        CKWFile text(temp.Path().c_str(), CKWFile::kRead);
        EXPECT_EQ(c.lines, ReadLines(text)) << c.name << " text";
        std::string copy = c.bytes;
        CKWMemFile memory(&copy[0], static_cast<int32_t>(copy.size()));
        EXPECT_EQ(c.lines, ReadLines(memory)) << c.name << " memory";
    }
    // A buffer of 4 takes 3 characters at a time; a line that fills it exactly
    // still ends at its own line end.
    std::string bytes = "abcdef\r\nxy";
    CKWMemFile memory(&bytes[0], static_cast<int32_t>(bytes.size()));
    EXPECT_EQ((std::vector<std::string>{"abc", "def", "xy"}), ReadLines(memory, 4));
    char buffer[4];
    EXPECT_EQ(0, memory.ReadLine(nullptr, 4));
    EXPECT_EQ(0, memory.ReadLine(buffer, 0));
}

TEST(CKWFile, WideAndAnsiTextRoundTrip)
{
    const std::wstring lines[] = {L"Gr\u00fc\u00dfe aus K\u00f6ln", L"\u041f\u0440\u0438\u0432\u0435\u0442",
                                  L"\u65e5\u672c\u8a9e \U0001F600", L""};
    CKWTestTempFile temp;
    {
        CKWFile file(temp.Path().c_str(), CKWFile::kWrite);
        for (const std::wstring& line : lines)
            file << CString(line.c_str()) << "\n";
        file << "caf\xe9 \xff" << '\n';
    }
    CKWFile file(temp.Path().c_str(), CKWFile::kRead | CKWFile::kBinary);
    std::vector<std::string> read = ReadLines(file, 256);
    ASSERT_EQ(5u, read.size());
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(lines[i], Utf8ToWide(read[i])) << i;
    EXPECT_EQ("caf\xe9 \xff", read[4]);
    EXPECT_EQ(std::string::npos, ReadFileBytes(temp.Path()).find("\n\n\n")) << "text mode wrote CR LF";
    EXPECT_NE(std::string::npos, ReadFileBytes(temp.Path()).find("\r\n"));
}

TEST(CKWFile, BinaryFilesWriteRawLittleEndianValues)
{
    CKWTestTempFile temp;
    {
        CKWFile file(temp.Path().c_str(), CKWFile::kWrite | CKWFile::kBinary);
        ASSERT_TRUE(file.IsOpen());
        file << int32_t(0x01020304) << 1.0 << 'Z' << "ab" << L"\u00e9";
    }
    const std::string expected("\x04\x03\x02\x01\0\0\0\0\0\0\xf0\x3f" "Zab\xc3\xa9", 17);
    EXPECT_EQ(expected, ReadFileBytes(temp.Path()));

    CKWFile file(temp.Path().c_str(), CKWFile::kRead | CKWFile::kBinary);
    int32_t i = 0;
    double d = 0;
    char c = 0;
    file >> i >> d >> c;
    EXPECT_EQ(0x01020304, i);
    EXPECT_DOUBLE_EQ(1.0, d);
    EXPECT_EQ('Z', c);
    EXPECT_EQ(17, file.GetLength());
}

TEST(CKWFile, SeekReadWriteAndLength)
{
    CKWTestTempFile temp;
    ASSERT_TRUE(WriteFileBytes(temp.Path(), "previous content that is longer"));
    CKWFile file(temp.Path().c_str(), CKWFile::kRead | CKWFile::kWrite | CKWFile::kBinary);
    ASSERT_TRUE(file.IsOpen());
    EXPECT_EQ(0, file.GetLength()) << "read-write opening truncates";
    ASSERT_EQ(10, file.Write("0123456789", 10));
    EXPECT_EQ(10, file.GetLength());

    struct Case {
        int32_t offset;
        int origin;
        int32_t position;
        char next;
    };
    const Case seeks[] = {{3, CKWFile::kBegin, 3, '3'}, {2, CKWFile::kCurrent, 6, '6'},
                          {-2, CKWFile::kEnd, 8, '8'}, {5, 77, 5, '5'}};
    for (const Case& c : seeks) {
        EXPECT_EQ(c.position, file.Seek(c.offset, c.origin)) << c.offset << "/" << c.origin;
        char ch = 0;
        EXPECT_EQ(1, file.Read(&ch, 1));
        EXPECT_EQ(c.next, ch);
    }
    EXPECT_FALSE(file.IsEOF());
    char tail[16];
    EXPECT_EQ(4, file.Read(tail, 16));
    EXPECT_TRUE(file.IsEOF());
    EXPECT_TRUE(file.Flush());
    EXPECT_TRUE(file.Close());

    CKWTestTempFile other;
    ASSERT_TRUE(WriteFileBytes(other.Path(), "0123456789"));
    CKWFile truncating(other.Path().c_str(), CKWFile::kWrite | CKWFile::kBinary);
    EXPECT_TRUE(truncating.IsOpen());
    EXPECT_EQ(0, truncating.GetLength()) << "flags 6 truncate an existing file";
}

// A sparse file with a byte just past 2 GB and one just past 4 GB: length,
// seek from each origin and reads right at those offsets, through both file
// back ends (the one of CKWFile and the one of KWStreamOpenFile).
TEST(CKWFile, LengthSeekAndReadPastTwoAndFourGigabytes)
{
    const int64_t k2G = int64_t(1) << 31, k4G = int64_t(1) << 32, length = k4G + 8;
    CKWTestTempFile temp;
    {
        CKWFile file(temp.Path().c_str(), CKWFile::kRead | CKWFile::kWrite | CKWFile::kBinary);
        EXPECT_EQ(k2G + 5, file.Seek(k2G + 5, CKWFile::kBegin));
        EXPECT_EQ(1, file.Write("a", 1));
        EXPECT_EQ(k4G + 7, file.Seek(k4G - k2G + 1, CKWFile::kCurrent));
        EXPECT_EQ(1, file.Write("b", 1));
        EXPECT_EQ(length, file.GetLength());
    }
    ASSERT_EQ(length, temp.Size());
    const struct {
        int64_t offset;
        int origin;
        int64_t position;
        const char* next;  // the bytes read there
        int32_t count;
    } seeks[] = {{k2G + 5, CKWFile::kBegin, k2G + 5, "a", 1},
                 {k4G - k2G, CKWFile::kCurrent, k4G + 6, "\0b", 2},
                 {k2G + 4 - length, CKWFile::kEnd, k2G + 4, "\0a\0", 3},
                 {k4G + 7, CKWFile::kBegin, k4G + 7, "b", 1}};
    CKWFile file(temp.Path().c_str(), CKWFile::kRead | CKWFile::kBinary);
    KWStream* stream = KWStreamOpenFile(temp.AnsiPath().c_str(), "rb");
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(length, file.GetLength());
    EXPECT_EQ(length, KWStreamLength(stream));
    for (const auto& c : seeks) {
        const std::string next(c.next, static_cast<size_t>(c.count));
        char bytes[4] = {};
        EXPECT_EQ(c.position, file.Seek(c.offset, c.origin)) << c.offset;
        EXPECT_EQ(c.count, file.Read(bytes, c.count)) << c.position;
        EXPECT_EQ(next, std::string(bytes, next.size())) << c.position;
        EXPECT_EQ(c.position, KWStreamSeek(stream, c.offset, c.origin)) << c.offset;
        EXPECT_EQ(c.count, KWStreamRead(stream, bytes, c.count)) << c.position;
        EXPECT_EQ(next, std::string(bytes, next.size())) << c.position;
        EXPECT_EQ(c.position + c.count, KWStreamGetPos(stream));
    }
    char rest[16];
    EXPECT_EQ(0, file.Read(rest, 16)) << "the data ends after the last byte";
    EXPECT_TRUE(file.IsEOF());
    KWStreamClose(stream);
}

TEST(CKWFile, ClosedFilesDoNothing)
{
    CKWFile file(L"C:\\no such folder\\no such file.bin", CKWFile::kRead | CKWFile::kBinary);
    EXPECT_FALSE(file.IsOpen());
    char buffer[4] = {'q', 'q', 'q', 'q'};
    EXPECT_EQ(0, file.Read(buffer, 4));
    EXPECT_EQ(0, file.ReadLine(buffer, 4));
    EXPECT_EQ('\0', buffer[0]);
    EXPECT_EQ(0, file.Write("abcd", 4));
    EXPECT_EQ(0, file.Seek(1, CKWFile::kBegin));
    EXPECT_EQ(0, file.GetLength());
    EXPECT_FALSE(file.Flush());
    EXPECT_TRUE(file.IsEOF());
    int32_t value = 5;
    CString text(L"kept");
    EXPECT_EQ(&file, &(file << 1 << "x" >> value >> text));
    EXPECT_EQ(5, value);
    EXPECT_STREQ(L"kept", text);

    CKWFile empty;
    EXPECT_TRUE(empty.Close());
    void* data = reinterpret_cast<void*>(1);
    int32_t length = 1;
    EXPECT_FALSE(empty.GetMemoryBlock(data, length));
    EXPECT_EQ(nullptr, data);
    EXPECT_EQ(0, length);
    EXPECT_EQ(nullptr, empty.DetachMemory());
}

TEST(CKWFile, NamesOutsideTheAnsiCodePageOpenThatVeryFile)
{
    CKWTestTempFile temp;
    const std::wstring name = temp.Path() + L"\u4e2d\u0416 \U0001F600.txt";
    {
        CKWFile file(name.c_str(), CKWFile::kWrite);
        ASSERT_TRUE(file.IsOpen());
        file << "x";
    }
    EXPECT_EQ("x", ReadFileBytes(name));
    CKWFile file(name.c_str(), CKWFile::kRead | CKWFile::kBinary);
    EXPECT_EQ(1, file.GetLength());
    EXPECT_STREQ(name.c_str(), file.GetFileStream()->GetFileName());
    file.Close();
    EXPECT_TRUE(::DeleteFileW(name.c_str()));
}

TEST(CKWMemFile, GrowingBlockReportsAndHandsOverItsData)
{
    CKWMemFile memory;
    ASSERT_TRUE(memory.IsOpen());
    EXPECT_TRUE(memory.Open(L"ignored", CKWFile::kRead));
    std::vector<char> block(5000);
    for (size_t i = 0; i < block.size(); ++i)
        block[i] = static_cast<char>(i * 7);
    ASSERT_EQ(5000, memory.Write(block.data(), 5000));
    EXPECT_TRUE(memory.Close());
    EXPECT_TRUE(memory.IsOpen()) << "Close leaves the memory open";

    void* data = nullptr;
    int32_t length = 0;
    ASSERT_TRUE(memory.GetMemoryBlock(data, length));
    EXPECT_EQ(5000, length);
    EXPECT_EQ(0, std::memcmp(block.data(), data, 5000));

    memory << int32_t(-1);
    ASSERT_TRUE(memory.GetMemoryBlock(data, length));
    EXPECT_EQ(5004, length) << "memory files keep the binary number form";

    void* owned = memory.DetachMemory();
    ASSERT_NE(nullptr, owned);
    EXPECT_EQ(0, std::memcmp(block.data(), owned, 5000));
    std::free(owned);

    CKWMemFile fresh;
    EXPECT_FALSE(fresh.GetMemoryBlock(data, length)) << "an empty block has no length";
    EXPECT_EQ(0, length);
}

TEST(CKWMemFile, FixedBlockReadsItsDataButNoStringsOrShorts)
{
    char data[] = {'1', '2', ' ', '3'};
    CKWMemFile memory(data, 4);
    EXPECT_EQ(4, memory.GetLength());
    CString text(L"old");
    int16_t s = 7;
    uint16_t u = 7;
    memory >> text >> s >> u;
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_EQ(0, s);
    EXPECT_EQ(0, u);
    char out[4];
    EXPECT_EQ(4, memory.Read(out, 4)) << "nothing was consumed";
    EXPECT_EQ(0, std::memcmp(data, out, 4));
    EXPECT_EQ(2, memory.Seek(2, CKWFile::kBegin));
    EXPECT_EQ(1, memory.Write("x", 1));
    EXPECT_TRUE(memory.Flush());
    EXPECT_EQ('x', data[2]) << "the block is the caller's";
    EXPECT_TRUE(memory.GetFileStream()->GetFileName().IsEmpty());

    CKWTextFileStream stream;
    EXPECT_EQ(0, stream.ReadWithPutBack(out, 4)) << "closed";
    char bcd[] = "bcd";
    ASSERT_TRUE(stream.OpenMemory(bcd, 3));
    stream.PutBack('a');
    EXPECT_EQ(4, stream.ReadWithPutBack(out, 4)) << "the put-back character comes first";
    EXPECT_EQ(0, std::memcmp("abcd", out, 4));
}
