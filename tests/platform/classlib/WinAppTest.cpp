#include "platform/classlib/WinApp.h"

#include "TestResources.h"
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

#include <cstdlib>
#include <cstring>

namespace {

const wchar_t kCompanyKey[] = L"Software\\Kestrel Works Tests";

class WinAppTest : public ::testing::Test {
protected:
    void SetUp() override { ::SHDeleteKeyW(HKEY_CURRENT_USER, kCompanyKey); }
    void TearDown() override { ::SHDeleteKeyW(HKEY_CURRENT_USER, kCompanyKey); }

    // The raw value under the application's section key, as the registry holds it.
    static DWORD RawType(LPCWSTR lpszSection, LPCWSTR lpszEntry) {
        CString path;
        path.Format(L"%ls\\Profile\\%ls", kCompanyKey, lpszSection);
        HKEY hKey = nullptr;
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
            return REG_NONE;
        DWORD dwType = REG_NONE;
        if (::RegQueryValueExW(hKey, lpszEntry, nullptr, &dwType, nullptr, nullptr) != ERROR_SUCCESS)
            dwType = REG_NONE;
        ::RegCloseKey(hKey);
        return dwType;
    }

    classlib_test::CTestApp app;
};

}  // namespace

TEST_F(WinAppTest, WithoutARegistryKeyTheDefaultsAnswer) {
    EXPECT_EQ(nullptr, app.GetAppRegistryKey());
    EXPECT_EQ(5u, app.GetProfileInt(L"Section", L"Entry", 5));
    EXPECT_STREQ(L"dflt", app.GetProfileString(L"Section", L"Entry", L"dflt"));
    EXPECT_FALSE(app.WriteProfileInt(L"Section", L"Entry", 1));
}

TEST_F(WinAppTest, ProfileValuesRoundTripUnderTheRegistryKey) {
    app.SetRegistryKey(IDS_TEST_COMPANY);
    EXPECT_STREQ(L"Kestrel Works Tests", app.m_pszRegistryKey);
    EXPECT_STREQ(app.m_pszAppName, app.m_pszProfileName) << "the key makes the profile the application's name";
    std::free(const_cast<LPWSTR>(app.m_pszProfileName));
    app.m_pszProfileName = ::_wcsdup(L"Profile");

    EXPECT_TRUE(app.WriteProfileInt(L"Numbers", L"Count", -7));
    EXPECT_EQ(static_cast<UINT>(-7), app.GetProfileInt(L"Numbers", L"Count", 0));
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), RawType(L"Numbers", L"Count"));

    EXPECT_TRUE(app.WriteProfileString(L"Texts", L"Name", L"Report \u00e9t\u00e9"));
    EXPECT_STREQ(L"Report \u00e9t\u00e9", app.GetProfileString(L"Texts", L"Name"));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), RawType(L"Texts", L"Name"));
    EXPECT_EQ(3u, app.GetProfileInt(L"Texts", L"Name", 3)) << "a value of another type is no number";

    BYTE data[] = {0, 1, 2, 0xFE, 0xFF};
    EXPECT_TRUE(app.WriteProfileBinary(L"Blobs", L"Layout", data, sizeof(data)));
    LPBYTE pRead = nullptr;
    UINT nBytes = 0;
    ASSERT_TRUE(app.GetProfileBinary(L"Blobs", L"Layout", &pRead, &nBytes));
    ASSERT_EQ(sizeof(data), nBytes);
    EXPECT_EQ(0, std::memcmp(data, pRead, nBytes));
    delete[] pRead;
    EXPECT_FALSE(app.GetProfileBinary(L"Texts", L"Name", &pRead, &nBytes)) << "not binary";
    EXPECT_EQ(nullptr, pRead);
    EXPECT_EQ(0u, nBytes);

    // A string stored without its terminator is read up to its size.
    HKEY hSection = app.GetSectionKey(L"Texts");
    ASSERT_NE(nullptr, hSection);
    ::RegSetValueExW(hSection, L"Bare", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"abcdef"), 3 * sizeof(wchar_t));
    ::RegCloseKey(hSection);
    EXPECT_STREQ(L"abc", app.GetProfileString(L"Texts", L"Bare"));

    // Null value deletes the entry, null entry the section.
    EXPECT_TRUE(app.WriteProfileString(L"Texts", L"Name", nullptr));
    EXPECT_STREQ(L"gone", app.GetProfileString(L"Texts", L"Name", L"gone"));
    EXPECT_TRUE(app.WriteProfileString(L"Numbers", nullptr, nullptr));
    EXPECT_EQ(static_cast<DWORD>(REG_NONE), RawType(L"Numbers", L"Count"));
    EXPECT_EQ(9u, app.GetProfileInt(L"Numbers", L"Count", 9));
}

TEST_F(WinAppTest, InitialisationNamesTheApplicationAfterItsProgram) {
    classlib_test::CTestApp* pApp = &app;
    std::free(const_cast<LPWSTR>(pApp->m_pszAppName));
    pApp->m_pszAppName = nullptr;
    wchar_t cmdLine[] = L"/p file.otd";
    ASSERT_TRUE(AfxWinInit(::GetModuleHandleW(nullptr), nullptr, cmdLine, SW_SHOWMINIMIZED));
    EXPECT_STREQ(L"classlib_tests", pApp->m_pszExeName);
    EXPECT_STREQ(L"classlib_tests", pApp->m_pszAppName);
    EXPECT_EQ(cmdLine, pApp->m_lpCmdLine);
    EXPECT_EQ(SW_SHOWMINIMIZED, pApp->m_nCmdShow);
    EXPECT_EQ(::GetModuleHandleW(nullptr), AfxGetInstanceHandle());
    EXPECT_EQ(pApp, AfxGetThread());
}
