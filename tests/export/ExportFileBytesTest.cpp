// The bytes an export checks and passes on: the whole file or nothing, held so
// that nobody writes to the file meanwhile, and let go at once afterwards.
#include <gtest/gtest.h>

#include "export/ExportFileBytes.h"
#include "tests/export/pdf/PDFTestSupport.h"
#include "tests/framework/KWTestFiles.h"

namespace {

std::string Held(const ExportFileBytes& bytes)
{
    return bytes.Data() ? std::string(reinterpret_cast<const char*>(bytes.Data()), bytes.Size()) : std::string();
}

// True when another writer may open the file now.
bool Writable(const wchar_t* path)
{
    HANDLE file = ::CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    ::CloseHandle(file);
    return true;
}

}  // namespace

TEST(ExportFileBytes, HoldsTheWholeFileOrNothingByTheTable)
{
    const std::string photo = "\xFF\xD8\xFF\xE0" + std::string(200000, 'p') + "\xFF\xD9";
    const struct {
        const char* what;
        const char* bytes;  // null: no file
        std::string contents;
        uint64_t limit;
        bool held;
    } cases[] = {
        {"a file", "", photo, 1 << 20, true},
        {"one byte", "", "x", 1, true},
        {"at the limit", "", photo, photo.size(), true},
        {"past the limit", "", photo, photo.size() - 1, false},
        {"empty", "", "", 1 << 20, false},
        {"missing", nullptr, "", 1 << 20, false},
    };
    for (const auto& c : cases) {
        pdftest::TempPath path(L".jpg");
        if (c.bytes)
            ASSERT_TRUE(WriteFileBytes(path.Path(), c.contents)) << c.what;
        ExportFileBytes bytes;
        EXPECT_EQ(c.held, bytes.Open(path.c_str(), c.limit)) << c.what;
        EXPECT_EQ(c.held ? c.contents : std::string(), Held(bytes)) << c.what;
        if (c.held)
            EXPECT_FALSE(Writable(path.c_str())) << c.what << ": written to while held";
        bytes.Close();
        EXPECT_EQ(nullptr, bytes.Data()) << c.what;
        EXPECT_EQ(c.bytes != nullptr, Writable(path.c_str())) << c.what << ": not let go";
    }
}

TEST(ExportFileBytes, OpeningAnotherFileLetsGoOfTheFirst)
{
    pdftest::TempPath first(L".jpg"), second(L".jpg");
    ASSERT_TRUE(WriteFileBytes(first.Path(), std::string(70000, 'a')));
    ASSERT_TRUE(WriteFileBytes(second.Path(), std::string(30000, 'b')));
    ExportFileBytes bytes;
    ASSERT_TRUE(bytes.Open(first.c_str(), 1 << 20));
    ASSERT_TRUE(bytes.Open(second.c_str(), 1 << 20));
    EXPECT_EQ(std::string(30000, 'b'), Held(bytes));
    EXPECT_TRUE(Writable(first.c_str()));
    EXPECT_FALSE(bytes.Open(L"", 1 << 20));
    EXPECT_EQ(0u, bytes.Size());
    EXPECT_TRUE(Writable(second.c_str()));
}
