// The recent-file list: its order, the names it shows and the menu it builds.
#include "TestSupport.h"

#include "platform/classlib/CmdUI.h"
#include "platform/classlib/Menu.h"
#include "platform/classlib/RecentFileList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::wstring> MenuTexts(CMenu& menu) {
    std::vector<std::wstring> texts;
    for (UINT i = 0; i < menu.GetMenuItemCount(); ++i) {
        CString strText;
        menu.GetMenuString(i, strText, MF_BYPOSITION);
        UINT nID = menu.GetMenuItemID(static_cast<int>(i));
        // A separator has no state of its own.
        BOOL bOff = nID != 0 && (menu.GetMenuState(i, MF_BYPOSITION) & MF_GRAYED);
        texts.push_back(std::wstring(strText) + (bOff ? L" [off]" : L"") + L" #" + std::to_wstring(nID));
    }
    return texts;
}

}  // namespace

TEST(RecentFileListTest, LongPathsAreShortenedFromTheMiddle) {
    struct Case {
        LPCWSTR lpszPath;
        int nMax;
        BOOL bAtLeastName;
        LPCWSTR lpszExpected;
    };
    const Case cases[] = {
        {L"C:\\Reports\\2024\\report.otd", 30, TRUE, L"C:\\Reports\\2024\\report.otd"},
        {L"C:\\Reports\\Quarterly\\2024\\Spring\\report.otd", 30, TRUE, L"C:\\...\\2024\\Spring\\report.otd"},
        {L"C:\\Reports\\Quarterly\\2024\\Spring\\report.otd", 20, TRUE, L"C:\\...\\report.otd"},
        {L"C:\\Reports\\a-name-longer-than-the-limit.otd", 20, TRUE, L"a-name-longer-than-the-limit.otd"},
        {L"C:\\Reports\\a-name-longer-than-the-limit.otd", 20, FALSE, L""},
        {L"\\\\server\\share\\deep\\folder\\report.otd", 30, TRUE, L"\\\\server\\share\\...\\report.otd"},
        {L"\\\\server\\share\\deep\\f\\report.otd", 31, TRUE, L"\\\\server\\share\\...\\f\\report.otd"},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(c.lpszExpected, AfxAbbreviateName(c.lpszPath, c.nMax, c.bAtLeastName)) << c.lpszPath;
}

TEST(RecentFileListTest, EntriesMoveToTheFrontAndTheOldestDropsOut) {
    classlib_test::CTestApp app;
    CRecentFileList list(0, L"Recent File List", L"File%d", 3);
    list.Add(L"C:\\a\\one.otd");
    list.Add(L"C:\\a\\two.otd");
    list.Add(L"C:\\a\\three.otd");
    list.Add(L"c:\\A\\ONE.otd");
    EXPECT_STREQ(L"c:\\A\\ONE.otd", list[0]) << "the same file in other letters";
    EXPECT_STREQ(L"C:\\a\\three.otd", list[1]);
    EXPECT_STREQ(L"C:\\a\\two.otd", list[2]);
    list.Add(L"C:\\a\\four.otd");
    EXPECT_STREQ(L"C:\\a\\four.otd", list[0]);
    EXPECT_STREQ(L"C:\\a\\three.otd", list[2]) << "two dropped out";
    list.Remove(1);
    EXPECT_STREQ(L"C:\\a\\three.otd", list[1]);
    EXPECT_TRUE(list[2].IsEmpty());

    CString strName;
    EXPECT_TRUE(list.GetDisplayName(strName, 0, L"C:\\a", 4));
    EXPECT_STREQ(L"four.otd", strName) << "in the current folder: the name alone";
    EXPECT_TRUE(list.GetDisplayName(strName, 0, L"C:\\b", 4));
    EXPECT_STREQ(L"C:\\a\\four.otd", strName);
    EXPECT_FALSE(list.GetDisplayName(strName, 2, L"C:\\a", 4));
}

TEST(RecentFileListTest, TheMenuShowsOneItemPerEntryInPlaceOfTheFirstCommand) {
    classlib_test::CTestApp app;
    app.LoadStdProfileSettings(4);
    ASSERT_NE(nullptr, app.m_pRecentFileList);
    CMenu menu;
    menu.CreatePopupMenu();
    menu.AppendMenu(MF_STRING, 0xE100, L"&New");
    menu.AppendMenu(MF_STRING, ID_FILE_MRU_FILE1, L"Recent File");
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING, 0xE141, L"E&xit");

    AfxUpdateMenuPopup(&app, &menu, TRUE);
    EXPECT_EQ((std::vector<std::wstring>{L"&New [off] #57600", L"Recent File [off] #57616", L" #0",
                                         L"E&xit [off] #57665"}),
              MenuTexts(menu))
        << "no files: the item keeps its text, disabled";

    wchar_t szCurDir[MAX_PATH];
    ::GetCurrentDirectoryW(MAX_PATH, szCurDir);
    CString strHere = CString(szCurDir) + L"\\R&D.otd";
    app.m_pRecentFileList->Add(L"C:\\Elsewhere\\Quarterly\\2024\\Spring\\summary.otd");
    app.m_pRecentFileList->Add(strHere);
    AfxUpdateMenuPopup(&app, &menu, TRUE);
    EXPECT_EQ((std::vector<std::wstring>{L"&New [off] #57600", L"&1 R&&D.otd #57616",
                                         L"&2 C:\\...\\2024\\Spring\\summary.otd #57617", L" #0",
                                         L"E&xit [off] #57665"}),
              MenuTexts(menu));

    // Updated again it does not grow.
    AfxUpdateMenuPopup(&app, &menu, TRUE);
    EXPECT_EQ(5u, menu.GetMenuItemCount());
}
