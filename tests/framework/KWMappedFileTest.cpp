// A whole file's bytes held in memory: the whole file or nothing, kept from
// writers while held (what a caller checked is what it passes on), and let
// go at once afterwards.
#include <gtest/gtest.h>

#include <memory>

#include "framework/KWMappedFile.h"
#include "tests/framework/KWTestFiles.h"

namespace {

std::string Held(const CKWMappedFile& file)
{
    return file.Bytes() ? std::string(reinterpret_cast<const char*>(file.Bytes()), file.Size()) : std::string();
}

// True when another writer may open the file now.
bool Writable(const std::wstring& path)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    ::CloseHandle(file);
    return true;
}

}  // namespace

TEST(KWMappedFile, HoldsTheWholeFileOrNothingByTheTable)
{
    const std::string photo = "\xFF\xD8\xFF\xE0" + std::string(200000, 'p') + "\xFF\xD9";
    const struct {
        const char* what;
        bool exists;
        std::string contents;
        uint64_t limit;
        bool held;
    } cases[] = {
        {"a file", true, photo, 1 << 20, true},
        {"one byte", true, "x", 1, true},
        {"at the limit", true, photo, photo.size(), true},
        {"past the limit", true, photo, photo.size() - 1, false},
        {"empty", true, "", 1 << 20, false},
        {"missing", false, "", 1 << 20, false},
    };
    for (const auto& c : cases) {
        CKWTestTempFile temp(L"kmf");
        if (c.exists)
            ASSERT_TRUE(WriteFileBytes(temp.Path(), c.contents)) << c.what;
        else
            temp.Remove();
        auto file = std::make_unique<CKWMappedFile>(temp.Path().c_str(), c.limit);
        EXPECT_EQ(c.held, file->Bytes() != nullptr) << c.what;
        EXPECT_EQ(c.held ? c.contents : std::string(), Held(*file)) << c.what;
        if (c.held)
            EXPECT_FALSE(Writable(temp.Path())) << c.what << ": written to while held";
        file.reset();
        EXPECT_EQ(c.exists, Writable(temp.Path())) << c.what << ": not let go";
    }
    EXPECT_EQ(nullptr, CKWMappedFile(L"", 1 << 20).Bytes());
}
