// The format list's shared 32-bit layout, and the "Magick" configuration resources
// with the start-up call that checks them.
#include "RasterTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

using namespace rastertest;

namespace {

// Fields read at the fixed offsets the program uses.
template <class T>
T Field(const void* record, size_t offset)
{
    T value;
    std::memcpy(&value, static_cast<const uint8_t*>(record) + offset, sizeof value);
    return value;
}

const char* const kConfigNames[] = {"coder.mgk",   "colors.mgk", "configure.mgk", "delegates.mgk",
                                    "english.mgk", "locale.mgk", "log.mgk",       "magic.mgk",
                                    "type.mgk",    "type-ghostscript.mgk"};

std::string ConfigFolder(const char* name)
{
    const std::string folder = TempPath(name);
    ::CreateDirectoryA(folder.c_str(), nullptr);
    return folder + "\\";
}

// Writes the library's resources out as the program does at start-up.
void WriteConfiguration(const std::string& folder)
{
    for (const char* name : kConfigNames) {
        const std::wstring wide(name, name + std::strlen(name));
        HRSRC found = ::FindResourceW(Lib().module, wide.c_str(), L"Magick");
        ASSERT_NE(nullptr, found) << name;
        const DWORD size = ::SizeofResource(Lib().module, found);
        const uint8_t* bytes = static_cast<const uint8_t*>(::LockResource(::LoadResource(Lib().module, found)));
        ASSERT_NE(nullptr, bytes);
        ASSERT_GT(size, 0u);
        WriteBytes(folder + name, std::vector<uint8_t>(bytes, bytes + size));
    }
}

}  // namespace

TEST(RasterFormatList, ChainHasTheSharedLayout)
{
    ASSERT_TRUE(Lib().IsComplete());
    CQMFormatInfo* list = Lib().createFormats();
    ASSERT_NE(nullptr, list);
    std::set<std::string> extensions;
    std::set<uint32_t> ids;
    uint32_t jpegType = 0;
    const void* previous = nullptr;
    int formats = 0;
    for (const void* format = list; format; format = Field<const void*>(format, 24), ++formats) {
        ASSERT_LT(formats, 100);
        const void* const* vtable = Field<const void* const*>(format, 0);
        ASSERT_NE(nullptr, vtable);
        EXPECT_NE(nullptr, vtable[0]);
        const wchar_t* name = Field<const wchar_t*>(format, 4);
        ASSERT_NE(nullptr, name);
        EXPECT_GT(std::wcslen(name), 0u);
        EXPECT_EQ(1024u, Field<uint32_t>(format, 8));
        EXPECT_EQ(previous, Field<const void*>(format, 20));
        previous = format;
        const void* before = nullptr;
        int count = 0;
        for (const void* ext = Field<const void*>(format, 12); ext; ext = Field<const void*>(ext, 24), ++count) {
            ASSERT_LT(count, 100);
            EXPECT_NE(nullptr, Field<const void*>(ext, 0));
            const char* text = Field<const char*>(ext, 4);
            ASSERT_NE(nullptr, text);
            EXPECT_NE('.', text[0]);
            EXPECT_TRUE(extensions.insert(text).second) << text;
            EXPECT_TRUE(ids.insert(Field<uint32_t>(ext, 16)).second) << text;
            EXPECT_EQ(1, Field<uint8_t>(ext, 12));
            EXPECT_EQ(1, Field<uint8_t>(ext, 13));
            EXPECT_EQ(before, Field<const void*>(ext, 20));
            before = ext;
            if (std::strcmp(text, "jpg") == 0)
                jpegType = Field<uint32_t>(ext, 8);
        }
        EXPECT_GT(count, 0);
    }
    Lib().disposeFormats(list);
    EXPECT_EQ(6, formats);
    EXPECT_EQ((std::set<std::string>{"jpg", "jpeg", "jpe", "png", "gif", "bmp", "dib", "tif", "tiff", "ico"}),
              extensions);
    EXPECT_EQ(uint32_t('J') << 24 | uint32_t('P') << 16 | uint32_t('E') << 8 | uint32_t('G'), jpegType);
    Lib().disposeFormats(nullptr);
}

TEST(RasterFormatList, EveryListedExtensionCanBeWrittenAndRead)
{
    CQMFormatInfo* list = Lib().createFormats();
    const std::vector<uint8_t> record = Checker(32, 32, 4, Pixel{1, 2, 3, 255}, Pixel{200, 100, 50, 255}).Record();
    for (const void* format = list; format; format = Field<const void*>(format, 24))
        for (const void* ext = Field<const void*>(format, 12); ext; ext = Field<const void*>(ext, 24)) {
            const char* text = Field<const char*>(ext, 4);
            SCOPED_TRACE(text);
            Picture back;
            ASSERT_TRUE(Picture::FromRecord(ReadMemory(WriteMemory(record, text), text), back));
            EXPECT_EQ(32u, back.Width());
        }
    Lib().disposeFormats(list);
}

TEST(RasterFormatList, StartsWithItsWrittenConfiguration)
{
    const std::string folder = ConfigFolder("magick");
    WriteConfiguration(folder);
    EXPECT_EQ(1, Lib().initialize((folder + "configure.mgk").c_str()));

    // A configuration of some other library, or none, is refused.
    const std::string other = ConfigFolder("other");
    const char foreign[] = "<?xml version=\"1.0\"?>\n<configuremap>\n  <configure name=\"NAME\" value=\"Other\"/>\n"
                           "</configuremap>\n";
    WriteBytes(other + "configure.mgk", std::vector<uint8_t>(foreign, foreign + sizeof foreign - 1));
    EXPECT_EQ(0, Lib().initialize((other + "configure.mgk").c_str()));
    EXPECT_EQ(0, Lib().initialize((ConfigFolder("empty") + "configure.mgk").c_str()));
    EXPECT_EQ(0, Lib().initialize(nullptr));

    for (const char* name : kConfigNames) {
        ::DeleteFileA((folder + name).c_str());
        ::DeleteFileA((other + name).c_str());
    }
    ::RemoveDirectoryA(folder.c_str());
    ::RemoveDirectoryA(other.c_str());
    ::RemoveDirectoryA(ConfigFolder("empty").c_str());
}
