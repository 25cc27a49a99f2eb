// Tests of the preferences in the registry, under a scratch key of this process.
#include "model/TalPrefs.h"

#include "framework/KWSystemInfo.h"

#include "tests/framework/ScratchRegistryKey.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The template list under a scratch key instead of the program's own.
class CScratchPrefs : public CTalPrefs {
public:
    explicit CScratchPrefs(const std::wstring& listKey) : m_listKey(listKey.c_str()) {}

protected:
    CString GetTemplateListKey() const override { return m_listKey; }

private:
    CString m_listKey;
};

std::vector<CString> g_scannedFolders;

void FakeScanner(const wchar_t* folder, std::vector<CString>& paths)
{
    g_scannedFolders.push_back(folder);
    paths.push_back(CString(folder) + L"found.otn");
}

std::wstring Text(const CString& s)
{
    return std::wstring(s.GetString(), static_cast<size_t>(s.GetLength()));
}

// Every field, as one comparable record.
std::vector<std::wstring> Fields(const CTalPrefs& p)
{
    int32_t l, t, r, b;
    p.GetGalleryRect(l, t, r, b);
    auto n = [](long long v) { return std::to_wstring(v); };
    return {n(p.GetShowExportDialog()), n(p.GetShowAllWatermarks()), Text(p.GetAddFolderPath()),
            Text(p.GetAddPicturePath()), Text(p.GetWatermarkPicturePath()), Text(p.GetDefaultFile()),
            Text(p.GetLastFile()), n(p.GetImageCache()), n(p.GetStartUpMode()), n(p.GetDefExportFormat()),
            n(p.GetWysiwygFonts()), Text(p.GetTemplatesFolder()), Text(p.GetDefaultTemplatesFolder()),
            n(l), n(t), n(r), n(b), n(p.GetGalleryDockSide()), n(p.GetGalleryFloating())};
}

}  // namespace

TEST(CTalPrefs, DefaultsStayWhenNothingIsStored)
{
    CScratchRegistryKey scratch;
    CTalPrefs prefs;
    const std::wstring folder = Text(GetModuleDirectory() + L"Templates\\");
    const std::vector<std::wstring> defaults = {L"1", L"0", L"", L"", L"", L"Templates\\default.otn", L"",
                                                L"32768", L"0", L"128", L"1", folder, folder,
                                                L"20", L"40", L"200", L"240", L"0", L"0"};
    EXPECT_EQ(defaults, Fields(prefs));
    prefs.Load(scratch.Path().c_str());
    EXPECT_EQ(defaults, Fields(prefs)) << "a missing key changes nothing";

    // An existing key without values changes nothing either.
    ASSERT_TRUE(scratch.SetDword(scratch.Path(), L"Unrelated", 1));
    prefs.Load(scratch.Path().c_str());
    EXPECT_EQ(defaults, Fields(prefs));
}

TEST(CTalPrefs, SaveAndLoadRoundTrip)
{
    CScratchRegistryKey scratch;
    CTalPrefs saved;
    saved.SetShowExportDialog(false);
    saved.SetShowAllWatermarks(true);
    saved.SetAddFolderPath(L"C:\\Folders\\");
    saved.SetAddPicturePath(L"C:\\Pictures\\");
    saved.SetWatermarkPicturePath(L"C:\\Watermarks\\");
    saved.SetDefaultFile(L"C:\\T\\report.otn");
    saved.SetLastFile(L"C:\\Docs\\last.otd");
    saved.SetImageCache(65536);
    saved.SetStartUpMode(3);
    saved.SetDefExportFormat(64);
    saved.SetWysiwygFonts(false);
    saved.SetGalleryRect(-5, 6, 700, 800);
    saved.SetGalleryDockSide(2);
    saved.SetGalleryFloating(true);
    saved.Save(scratch.Path().c_str());

    const std::wstring& key = scratch.Path();
    EXPECT_EQ(77u, scratch.GetDword(key, L"UsingTempl"));
    EXPECT_EQ(65536u, scratch.GetDword(key, L"ImageCache"));
    EXPECT_EQ(0u, scratch.GetDword(key, L"ShowExpDlg"));
    EXPECT_EQ(1u, scratch.GetDword(key, L"ShowAllWatermarks"));
    EXPECT_EQ(static_cast<DWORD>(-5), scratch.GetDword(key, L"PictureCollectionLeft"));
    EXPECT_EQ(64u, scratch.GetDword(key, L"DefExportFormat"));
    DWORD type = 0;
    std::wstring bytes;
    ASSERT_TRUE(scratch.Get(key, L"TemplFileName", type, bytes));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    EXPECT_EQ(std::wstring(L"Custom string pref", 19), bytes) << "the text and its terminating zero";
    ASSERT_TRUE(scratch.Get(key, L"AddPicturePath", type, bytes));
    EXPECT_EQ(std::wstring(L"C:\\Watermarks\\", 15), bytes) << "the second write stays";

    CTalPrefs loaded;
    loaded.Load(key.c_str());
    std::vector<std::wstring> expected = Fields(saved);
    expected[3] = L"C:\\Watermarks\\";  // both picture folders load the one stored value
    EXPECT_EQ(expected, Fields(loaded));
}

TEST(CTalPrefs, LoadTakesEachValueThatCanBeRead)
{
    CScratchRegistryKey scratch;
    const std::wstring& key = scratch.Path();
    struct Case {
        DWORD stored;
        int32_t cache;
    };
    // The image cache is clamped: 1 MB to 2 GB.
    const Case caches[] = {{65536, 65536}, {0, 1024}, {static_cast<DWORD>(-5), 1024}, {1023, 1024},
                           {0x7FFFFFFF, 2 * 1024 * 1024}, {2 * 1024 * 1024, 2 * 1024 * 1024}};
    for (const Case& c : caches) {
        ASSERT_TRUE(scratch.SetDword(key, L"ImageCache", c.stored));
        CTalPrefs prefs;
        prefs.Load(key.c_str());
        EXPECT_EQ(c.cache, prefs.GetImageCache()) << c.stored;
    }

    ASSERT_TRUE(scratch.SetDword(key, L"ShowExpDlg", 5));
    ASSERT_TRUE(scratch.SetDword(key, L"UseWYSIWYGFonts", 0));
    ASSERT_TRUE(scratch.SetString(key, L"DefExportFormat", L"not a number"));
    ASSERT_TRUE(scratch.SetString(key, L"LastFile", L"C:\\a.otd"));
    CTalPrefs prefs;
    prefs.Load(key.c_str());
    EXPECT_TRUE(prefs.GetShowExportDialog()) << "non-zero is true";
    EXPECT_FALSE(prefs.GetWysiwygFonts());
    EXPECT_EQ(128, prefs.GetDefExportFormat()) << "a value that does not fit is not taken";
    EXPECT_STREQ(L"C:\\a.otd", prefs.GetLastFile());
}

TEST(CTalPrefs, LongStringsAreReadTerminatedOrNotAtAll)
{
    CScratchRegistryKey scratch;
    const std::wstring& key = scratch.Path();
    // Strings stored without a terminating zero: a shorter one reads as
    // terminated text; one that would fill the whole block is not taken.
    const std::wstring fits(4000, L'a');
    const std::wstring fills(4096, L'b');
    ASSERT_TRUE(scratch.SetBytes(key, L"DefaultFile", REG_SZ, fits.data(), 4000 * 2));
    ASSERT_TRUE(scratch.SetBytes(key, L"LastFile", REG_SZ, fills.data(), 4096 * 2));
    CTalPrefs prefs;
    prefs.SetLastFile(L"kept");
    prefs.Load(key.c_str());
    EXPECT_EQ(fits, Text(prefs.GetDefaultFile()));
    EXPECT_STREQ(L"kept", prefs.GetLastFile());
}

TEST(CTalPrefs, TemplateListIsStoredRelativeToTheTemplatesFolder)
{
    CScratchRegistryKey scratch;
    const std::wstring listKey = scratch.Sub(L"OTN_Templates\\");
    CScratchPrefs prefs(listKey);
    prefs.SetDefaultTemplatesFolder(L"C:\\Program\\Templates\\");
    const std::vector<CString> paths = {L"c:\\PROGRAM\\templates\\Sub\\Report.otn", L"D:\\Elsewhere\\Other.otn",
                                        L"C:\\Program\\Templates\\plain.otn"};
    ASSERT_TRUE(scratch.SetString(listKey, L"OTN5", L"stale"));
    prefs.SaveTemplateList(paths);

    const wchar_t* stored[] = {L"Sub\\Report.otn", L"D:\\Elsewhere\\Other.otn", L"plain.otn"};
    for (int i = 0; i < 3; ++i) {
        DWORD type = 0;
        std::wstring bytes;
        std::wstring name = L"OTN" + std::to_wstring(i);
        ASSERT_TRUE(scratch.Get(listKey, name.c_str(), type, bytes)) << i;
        EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
        EXPECT_EQ(std::wstring(stored[i]) + L'\0', bytes) << i;
    }
    EXPECT_FALSE(scratch.Exists(listKey, L"OTN5")) << "the key is made anew";

    std::vector<CString> loaded = {L"to be replaced"};
    prefs.LoadTemplateList(loaded);
    ASSERT_EQ(3u, loaded.size());
    for (int i = 0; i < 3; ++i)
        EXPECT_STREQ(stored[i], loaded[static_cast<size_t>(i)]) << "as stored";
}

TEST(CTalPrefs, TemplateListStopsAtTheFirstMissingNumber)
{
    CScratchRegistryKey scratch;
    const std::wstring listKey = scratch.Sub(L"OTN_Templates\\");
    ASSERT_TRUE(scratch.SetString(listKey, L"OTN0", L"a.otn"));
    ASSERT_TRUE(scratch.SetString(listKey, L"OTN1", L""));
    ASSERT_TRUE(scratch.SetString(listKey, L"OTN2", L"b.otn"));
    ASSERT_TRUE(scratch.SetString(listKey, L"OTN4", L"c.otn"));
    CScratchPrefs prefs(listKey);
    std::vector<CString> loaded;
    prefs.LoadTemplateList(loaded);
    EXPECT_EQ((std::vector<CString>{L"a.otn", L"b.otn"}), loaded) << "empty values are skipped";
}

TEST(CTalPrefs, AnEmptyListIsFilledByTheFolderScan)
{
    CScratchRegistryKey scratch;
    CScratchPrefs prefs(scratch.Sub(L"OTN_Templates\\"));
    prefs.SetDefaultTemplatesFolder(L"C:\\T\\");
    std::vector<CString> loaded;
    prefs.LoadTemplateList(loaded);
    EXPECT_TRUE(loaded.empty()) << "no scanner installed";

    g_scannedFolders.clear();
    CTalPrefs::SetTemplateScanner(&FakeScanner);
    prefs.LoadTemplateList(loaded);
    CTalPrefs::SetTemplateScanner(nullptr);
    EXPECT_EQ((std::vector<CString>{L"C:\\T\\found.otn"}), loaded);
    EXPECT_EQ((std::vector<CString>{L"C:\\T\\"}), g_scannedFolders);
}

TEST(CTalPrefs, TheOpenImageFolderStartsAsTheTemplatesFolderAndThenFollowsTheDialog)
{
    CTalPrefs prefs;
    prefs.SetDefaultTemplatesFolder(L"C:\\App\\Templates\\");
    EXPECT_EQ(CString(L"C:\\App\\Templates\\"), prefs.GetOpenImageFolder());
    prefs.SetAddPicturePath(L"D:\\Photos");
    EXPECT_EQ(CString(L"D:\\Photos"), prefs.GetOpenImageFolder());
}
