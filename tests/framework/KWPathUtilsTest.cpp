#include "framework/KWPathUtils.h"

#include <gtest/gtest.h>

namespace {

TEST(KWPathUtilsTest, Separators) {
    EXPECT_TRUE(IsPathSeparator(L'\\'));
    EXPECT_TRUE(IsPathSeparator(L'/'));
    EXPECT_TRUE(IsPathSeparator(L':'));
    EXPECT_FALSE(IsPathSeparator(L'.'));

    const wchar_t* path = L"c:\\a/b";
    wchar_t ch = 0;
    EXPECT_EQ(FindLastPathSeparator(path, -1, &ch), 4);
    EXPECT_EQ(ch, L'/');
    EXPECT_EQ(FindLastPathSeparator(path, 3, &ch), 2);
    EXPECT_EQ(ch, L'\\');
    EXPECT_EQ(FindLastPathSeparator(path, 1, &ch), 1);
    EXPECT_EQ(ch, L':');
    EXPECT_EQ(FindLastPathSeparator(path, 0), -1);
    EXPECT_EQ(FindLastPathSeparator(L"name", -1), -1);

    EXPECT_EQ(FindNextPathSeparator(path, -1, &ch), 1);
    EXPECT_EQ(ch, L':');
    EXPECT_EQ(FindNextPathSeparator(path, 3, &ch), 4);
    EXPECT_EQ(ch, L'/');
    EXPECT_EQ(FindNextPathSeparator(path, 5), -1);
}

TEST(KWPathUtilsTest, NormalizePathSeparators) {
    struct Case {
        const wchar_t* path;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"c:\\a/b:c", L"c:\\a\\b\\c"},
        {L"a/b/c", L"a\\b\\c"},
        {L"\\\\server/share", L"\\\\server\\share"},
        {L"", L""},
    };
    for (const Case& c : cases) {
        CString path(c.path);
        NormalizePathSeparators(path);
        EXPECT_STREQ(path, c.expected);
    }
}

TEST(KWPathUtilsTest, DirectoryAndFileName) {
    const std::pair<const wchar_t*, const wchar_t*> directories[] = {
        {L"c:\\a\\b.jpg", L"c:\\a"}, {L"b.jpg", L""}, {L"\\b.jpg", L""}, {L"a/b", L"a"}};
    for (const auto& c : directories) EXPECT_STREQ(GetPathDirectory(c.first), c.second) << c.first;
    const struct {
        const wchar_t* path;
        bool extension;
        const wchar_t* name;
    } names[] = {{L"c:\\a\\b.jpg", false, L"b"}, {L"c:\\a\\b.html", false, L"b.html"}, {L"c:\\a\\b.jpg", true, L"b.jpg"},
                 {L"c:\\a\\b.c", false, L"b"},   {L"c:\\a.dir\\b", false, L"b"},       {L"file", false, L"file"},
                 {L"c:\\a\\", false, L""}};
    for (const auto& c : names) EXPECT_STREQ(GetPathFileName(c.path, c.extension), c.name) << c.path;
}

struct SplitCase {
    const wchar_t* path;
    const wchar_t* directory;
    const wchar_t* title;
    const wchar_t* extension;
};

TEST(KWPathUtilsTest, SplitPath) {
    const SplitCase cases[] = {
        {L"c:\\my.dir\\file", L"c:\\my.dir\\", L"file", L""},
        {L"c:\\a\\b.jpg", L"c:\\a\\", L"b", L"jpg"},
        {L"b.tar.gz", L"", L"b.tar", L"gz"},
        {L"\\b.txt", L"", L"\\b", L"txt"},
        {L"a/b.", L"a/", L"b", L""},
        {L"c:x.y", L"c:", L"x", L"y"},
    };
    for (const SplitCase& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.path));
        CString directory(L"?"), title(L"?"), extension(L"?");
        ASSERT_TRUE(SplitPath(c.path, &directory, &title, &extension));
        EXPECT_STREQ(directory, c.directory);
        EXPECT_STREQ(title, c.title);
        EXPECT_STREQ(extension, c.extension);
    }
}

TEST(KWPathUtilsTest, SplitPathOutputsAreOptional) {
    CString directory(L"?"), title(L"?"), extension(L"?");
    EXPECT_FALSE(SplitPath(L"", &directory, &title, &extension));
    EXPECT_FALSE(SplitPath(nullptr, &directory, &title, &extension));
    EXPECT_FALSE(SplitPath(L"c:\\a\\b.jpg", nullptr, nullptr, &extension));
    EXPECT_STREQ(directory, L"?");
    EXPECT_STREQ(title, L"?");
    EXPECT_STREQ(extension, L"?");

    EXPECT_TRUE(SplitPath(L"c:\\a\\b.jpg", nullptr, &title, nullptr));
    EXPECT_STREQ(title, L"b");
    EXPECT_TRUE(SplitPath(L"c:\\a\\b.jpg", &directory, nullptr, nullptr));
    EXPECT_STREQ(directory, L"c:\\a\\");
}

TEST(KWPathUtilsTest, GetPathExtension) {
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"c:\\a\\b.jpeg", L"jpeg"}, {L"c:\\a.dir\\b", L""}, {L"a.b.c", L"c"}, {L"a.", L""}, {L"", L""}};
    for (const auto& c : cases) EXPECT_STREQ(GetPathExtension(c.first), c.second) << c.first;
}

struct CombineCase {
    const wchar_t* relative;
    const wchar_t* base;
    const wchar_t* expected;
};

TEST(KWPathUtilsTest, CombineRelativePath) {
    const CombineCase cases[] = {
        {L"..\\pics\\a.jpg", L"c:\\docs\\", L"c:\\pics\\a.jpg"},
        {L"sub/a.jpg", L"c:\\docs", L"c:\\docs\\sub\\a.jpg"},
        {L"..", L"c:\\docs\\x", L"c:\\docs\\"},
        {L"../../a.jpg", L"c:\\r\\s\\t", L"c:\\r\\a.jpg"},
        {L"\\a.jpg", L"c:\\docs", L"c:\\docs\\a.jpg"},
        {L"a.jpg", L"c:", L"c:\\a.jpg"},
        {L"a.jpg", L"c:\\", L"c:\\a.jpg"},
        {L".\\a.jpg", L"c:\\docs", L"c:\\docs\\.\\a.jpg"},
        {L"a.jpg", L"", L"a.jpg"},
        {L"../a.jpg", L"docs", L"a.jpg"},
        // ".." does not climb above the drive.
        {L"..\\..\\..\\a.jpg", L"c:\\docs", L"c:\\a.jpg"},
        // A name that merely begins with two dots is a name.
        {L"..x\\a.jpg", L"c:\\docs", L"c:\\docs\\..x\\a.jpg"},
    };
    for (const CombineCase& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.relative));
        SCOPED_TRACE(::testing::PrintToString(c.base));
        CString result(L"old");
        CombineRelativePath(c.relative, c.base, result);
        EXPECT_STREQ(result, c.expected);
    }
}

}  // namespace
