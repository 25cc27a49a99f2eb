#include "framework/KWSystemInfo.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

namespace {

TEST(KWSystemInfoTest, WindowsXPOrLaterDecision) {
    struct Case {
        uint32_t platform;
        uint32_t major;
        uint32_t minor;
        bool expected;
    };
    const Case cases[] = {
        {VER_PLATFORM_WIN32_NT, 5, 0, false},      {VER_PLATFORM_WIN32_NT, 5, 1, true},
        {VER_PLATFORM_WIN32_NT, 5, 2, true},       {VER_PLATFORM_WIN32_NT, 6, 0, true},
        {VER_PLATFORM_WIN32_NT, 6, 1, true},       {VER_PLATFORM_WIN32_NT, 10, 0, true},
        {VER_PLATFORM_WIN32_NT, 4, 0, false},      {VER_PLATFORM_WIN32_NT, 4, 10, false},
        {VER_PLATFORM_WIN32_WINDOWS, 5, 1, false}, {VER_PLATFORM_WIN32_WINDOWS, 6, 0, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsWindowsXPOrLaterVersion(c.platform, c.major, c.minor), c.expected)
            << c.platform << " " << c.major << "." << c.minor;
    }
}

TEST(KWSystemInfoTest, ModulePathAndDirectory) {
    const CString path = GetModuleFilePath();
    ASSERT_GT(path.GetLength(), 4);
    EXPECT_EQ(path.Right(4).CompareNoCase(L".exe"), 0) << ::testing::PrintToString(path.GetString());
    EXPECT_NE(::GetFileAttributesW(path), INVALID_FILE_ATTRIBUTES);

    const CString directory = GetModuleDirectory();
    ASSERT_FALSE(directory.IsEmpty());
    EXPECT_EQ(directory[directory.GetLength() - 1], L'\\');
    EXPECT_STREQ(path.Left(directory.GetLength()), directory);
    EXPECT_EQ(path.Find(L'\\', directory.GetLength()), -1);
}

TEST(KWSystemInfoTest, FormatProductVersion) {
    EXPECT_STREQ(FormatProductVersion(MAKELONG(3, 2), 0), L"2.3");
    EXPECT_STREQ(FormatProductVersion(MAKELONG(0, 1), MAKELONG(7, 5)), L"1.0.5.7");
    EXPECT_STREQ(FormatProductVersion(MAKELONG(12, 10), MAKELONG(0, 1)), L"10.12.1.0");
}

TEST(KWSystemInfoTest, RegisteredUserHasAnOwner) {
    CString owner(L"?"), organisation(L"?");
    GetRegisteredUser(owner, organisation);
    EXPECT_FALSE(owner.IsEmpty());
    EXPECT_NE(owner, CString(L"?"));
    EXPECT_NE(organisation, CString(L"?"));
}

TEST(KWSystemInfoTest, ImageTypeNames) {
    const struct {
        int code;
        const char* name;
    } known[] = {{2, "BMP"}, {6, "TIFF"}, {8, "DIB"}};
    for (const auto& k : known) {
        const char* name = nullptr;
        EXPECT_TRUE(GetImageTypeName(k.code, name));
        EXPECT_STREQ(name, k.name);
    }
    for (int code : {0, 1, 3, 7, 9, -1}) {
        const char* name = "unchanged";
        EXPECT_FALSE(GetImageTypeName(code, name)) << code;
        EXPECT_STREQ(name, "unchanged");
    }
}

}  // namespace
