// Documents and templates in the MDI test application: new and untitled
// documents, open and save through the archive, the open document found
// again by its path, the recent files, closing, and the frame numbers.
#include "DocTestSupport.h"
#include "tests/framework/KWTestFiles.h"

#include "platform/classlib/Archive.h"
#include "platform/classlib/DocManager.h"
#include "platform/classlib/DocTemplate.h"
#include "platform/classlib/MemFile.h"
#include "platform/classlib/RecentFileList.h"

#include <gtest/gtest.h>
#include <shlwapi.h>


using namespace doc_test;

namespace {

CString AppKeyPath(LPCWSTR lpszSection) {
    CString path;
    path.Format(L"Software\\%ls\\DocTestApp\\%ls", CDocTestApp::kRegistryKey, lpszSection);
    return path;
}

// A string value of the application's profile, or "<none>".
std::wstring ProfileValue(LPCWSTR lpszSection, LPCWSTR lpszEntry) {
    wchar_t szValue[1024] = {0};
    DWORD cb = sizeof(szValue);
    if (::RegGetValueW(HKEY_CURRENT_USER, AppKeyPath(lpszSection), lpszEntry, RRF_RT_REG_SZ, nullptr, szValue, &cb) !=
        ERROR_SUCCESS)
        return L"<none>";
    return szValue;
}

CFrameWnd* FrameOf(CDocument* pDoc) {
    POSITION pos = pDoc->GetFirstViewPosition();
    return pos != nullptr ? pDoc->GetNextView(pos)->GetParentFrame() : nullptr;
}

CString s_strAnswer;
std::vector<std::wstring> s_filters;

// Notes the dialog's filters, types the answer and confirms.
void CALLBACK AnswerOpenDialog(HWND, UINT, UINT_PTR, DWORD) {
    HWND hDlg = classlib_test::FindThreadDialog();
    if (hDlg == nullptr)
        return;
    HWND hCombo = ::GetDlgItem(hDlg, cmb1);
    int nCount = static_cast<int>(::SendMessageW(hCombo, CB_GETCOUNT, 0, 0));
    if (nCount == 0)
        return;  // not ready yet
    s_filters.clear();
    for (int i = 0; i < nCount; ++i) {
        wchar_t szText[128] = {0};
        ::SendMessageW(hCombo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(szText));
        s_filters.push_back(szText);
    }
    // The name box is edt1 in some versions of the dialog, cmb13 in others.
    for (int nID : {edt1, cmb13})
        ::SendMessageW(hDlg, CDM_SETCONTROLTEXT, nID, reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(s_strAnswer)));
    ::PostMessageW(hDlg, WM_COMMAND, IDOK, 0);
}

class DocTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::SHDeleteKeyW(HKEY_CURRENT_USER, CString(L"Software\\") + CDocTestApp::kRegistryKey);
        Log().clear();
        CDocTestDoc::s_bFailLoad = FALSE;
        ASSERT_EQ(0, LiveObjects());
        ASSERT_TRUE(app.StartUp());
    }
    void TearDown() override {
        app.ShutDown();
        EXPECT_EQ(0, LiveObjects()) << "documents, items, views and frames all gone";
        EXPECT_EQ(0, app.GetOpenDocumentCount());
        ::SHDeleteKeyW(HKEY_CURRENT_USER, CString(L"Software\\") + CDocTestApp::kRegistryKey);
    }
    CMDIFrameWnd* MainFrame() { return static_cast<CMDIFrameWnd*>(app.m_pMainWnd); }

    CDocTestApp app;
};

}  // namespace

TEST_F(DocTest, NewDocumentsGetUntitledNamesThatCountUpPerTemplate) {
    CDocument* p1 = app.m_pReportTemplate->OpenDocumentFile(nullptr);
    CDocument* p2 = app.m_pReportTemplate->OpenDocumentFile(nullptr);
    CDocument* p3 = app.m_pTemplateTemplate->OpenDocumentFile(nullptr);
    ASSERT_TRUE(p1 != nullptr && p2 != nullptr && p3 != nullptr);
    EXPECT_STREQ(L"Report1", p1->GetTitle());
    EXPECT_STREQ(L"Report2", p2->GetTitle());
    EXPECT_STREQ(L"Template1", p3->GetTitle());
    EXPECT_TRUE(p3->IsKindOf(RUNTIME_CLASS(CDocTestDoc))) << "one document class for both templates";
    EXPECT_EQ(app.m_pTemplateTemplate, p3->GetDocTemplate());
    EXPECT_EQ(3, app.GetOpenDocumentCount());
    EXPECT_EQ(3, CDocTestChild::s_nLive);
    EXPECT_EQ(3, CDocTestView::s_nLive);
    EXPECT_TRUE(p1->GetPathName().IsEmpty());

    // A closed document's number is not given again.
    p2->OnCloseDocument();
    EXPECT_EQ(2, app.GetOpenDocumentCount());
    EXPECT_EQ(2, CDocTestChild::s_nLive);
    // File New through the application's command map: the first template.
    MainFrame()->SendMessage(WM_COMMAND, ID_FILE_NEW);
    CDocument* pActive = MainFrame()->GetActiveFrame()->GetActiveDocument();
    ASSERT_NE(nullptr, pActive);
    EXPECT_STREQ(L"Report3", pActive->GetTitle());
    EXPECT_EQ((std::vector<std::wstring>{L"new:Report1", L"new:Report2", L"new:Template1", L"new:Report3"}), Log());
}

TEST_F(DocTest, SavedDocumentsOpenAgainThroughTheArchive) {
    auto* pDoc = static_cast<CDocTestDoc*>(app.m_pReportTemplate->OpenDocumentFile(nullptr));
    ASSERT_NE(nullptr, pDoc);
    pDoc->m_strText = L"Kestrel";
    pDoc->SetModifiedFlag();
    CString strPath = TestPath(L"saved.dtr");
    ASSERT_TRUE(pDoc->DoSave(strPath));
    EXPECT_FALSE(pDoc->IsModified());
    EXPECT_STREQ(L"saved.dtr", pDoc->GetTitle());
    EXPECT_TRUE(AfxComparePath(strPath, pDoc->GetPathName()));
    EXPECT_EQ(std::string("\xFF\xFE\xFF\x07K\0e\0s\0t\0r\0e\0l\0", 18), ReadFileBytes(strPath.GetString()));
    pDoc->OnCloseDocument();
    EXPECT_EQ(0, CDocTestDoc::s_nLive);

    auto* pBack = static_cast<CDocTestDoc*>(app.OpenDocumentFile(strPath));
    ASSERT_NE(nullptr, pBack);
    EXPECT_STREQ(L"Kestrel", pBack->m_strText);
    EXPECT_FALSE(pBack->IsModified());
    EXPECT_EQ(app.m_pReportTemplate, pBack->GetDocTemplate());

    // The second template's second extension chooses it; other files go to the first.
    CString strOther = TestPath(L"other.DTU");
    WriteDocFile(strOther, L"T");
    CDocument* pOther = app.OpenDocumentFile(strOther);
    ASSERT_NE(nullptr, pOther);
    EXPECT_EQ(app.m_pTemplateTemplate, pOther->GetDocTemplate());
    CString strForeign = TestPath(L"foreign.txt");
    WriteDocFile(strForeign, L"F");
    CDocument* pForeign = app.OpenDocumentFile(strForeign);
    ASSERT_NE(nullptr, pForeign);
    EXPECT_EQ(app.m_pReportTemplate, pForeign->GetDocTemplate());
    for (LPCWSTR p : {static_cast<LPCWSTR>(strPath), static_cast<LPCWSTR>(strOther), static_cast<LPCWSTR>(strForeign)})
        ::DeleteFileW(p);
}

TEST_F(DocTest, TheSamePathInAnotherLetterCaseActivatesTheOpenDocument) {
    CString strA = TestPath(L"alpha.dtr");
    CString strB = TestPath(L"beta.dtr");
    WriteDocFile(strA, L"A");
    WriteDocFile(strB, L"B");
    CDocument* pA = app.OpenDocumentFile(strA);
    CDocument* pB = app.OpenDocumentFile(strB);
    ASSERT_TRUE(pA != nullptr && pB != nullptr);
    EXPECT_EQ(FrameOf(pB), MainFrame()->MDIGetActive());

    CString strUpper = strA;
    strUpper.MakeUpper();
    CDocument* pAgain = app.OpenDocumentFile(strUpper);
    EXPECT_EQ(pA, pAgain);
    EXPECT_EQ(2, app.GetOpenDocumentCount());
    EXPECT_EQ(FrameOf(pA), MainFrame()->MDIGetActive()) << "its frame comes to the front";
    ::DeleteFileW(strA);
    ::DeleteFileW(strB);
}

TEST_F(DocTest, MatchDocTypeAnswersByOpenPathThenByExtension) {
    CString strOpen = TestPath(L"open.dtr");
    WriteDocFile(strOpen, L"x");
    CDocument* pOpen = app.OpenDocumentFile(strOpen);
    ASSERT_NE(nullptr, pOpen);
    struct Case {
        CDocTemplate* pTemplate;
        CString strPath;
        CDocTemplate::Confidence expected;
    };
    CString strLower = strOpen;
    strLower.MakeLower();
    const Case cases[] = {
        {app.m_pReportTemplate, strLower, CDocTemplate::yesAlreadyOpen},
        {app.m_pTemplateTemplate, strOpen, CDocTemplate::yesAttemptForeign},
        {app.m_pReportTemplate, TestPath(L"new.dtr"), CDocTemplate::yesAttemptNative},
        {app.m_pReportTemplate, TestPath(L"new.DTR"), CDocTemplate::yesAttemptNative},
        {app.m_pTemplateTemplate, TestPath(L"new.dtu"), CDocTemplate::yesAttemptNative},
        {app.m_pTemplateTemplate, TestPath(L"new.dtt"), CDocTemplate::yesAttemptNative},
        {app.m_pReportTemplate, TestPath(L"new.dtrx"), CDocTemplate::yesAttemptForeign},
        {app.m_pReportTemplate, TestPath(L"dtr"), CDocTemplate::yesAttemptForeign},
    };
    for (const Case& c : cases) {
        CDocument* pMatch = nullptr;
        EXPECT_EQ(c.expected, c.pTemplate->MatchDocType(c.strPath, pMatch)) << static_cast<LPCWSTR>(c.strPath);
        EXPECT_EQ(c.expected == CDocTemplate::yesAlreadyOpen ? pOpen : nullptr, pMatch);
    }
    CString strField;
    EXPECT_TRUE(app.m_pTemplateTemplate->GetDocString(strField, CDocTemplate::filterName));
    EXPECT_STREQ(L"DocTest Template Files (*.dtt;*.dtu)", strField);
    EXPECT_TRUE(app.m_pReportTemplate->GetDocString(strField, CDocTemplate::windowTitle));
    EXPECT_STREQ(L"", strField) << "an empty field exists";
    EXPECT_TRUE(app.m_pReportTemplate->GetDocString(strField, CDocTemplate::regFileTypeName));
    EXPECT_STREQ(L"DocTest Report", strField);
    EXPECT_NE(nullptr, app.m_pReportTemplate->m_hMenuShared);
    EXPECT_NE(nullptr, app.m_pReportTemplate->m_hAccelTable);
    EXPECT_EQ(nullptr, app.m_pTemplateTemplate->m_hAccelTable) << "no table in the resources";
    ::DeleteFileW(strOpen);
}

TEST_F(DocTest, TheRecentFileListKeepsFourEntriesInTheRegistry) {
    std::vector<CString> paths;
    for (int i = 1; i <= 5; ++i) {
        CString strName;
        strName.Format(L"recent%d.dtr", i);
        paths.push_back(TestPath(strName));
        WriteDocFile(paths.back(), strName);
        CDocument* pDoc = app.OpenDocumentFile(paths.back());
        ASSERT_NE(nullptr, pDoc);
        pDoc->OnCloseDocument();
    }
    // Opened again in other letters: no second entry, it moves to the front.
    CString strUpper = paths[2];
    strUpper.MakeUpper();
    app.OpenDocumentFile(strUpper)->OnCloseDocument();
    app.SaveStdProfileSettings();
    EXPECT_TRUE(AfxComparePath(paths[2], ProfileValue(L"Recent File List", L"File1").c_str()));
    EXPECT_TRUE(AfxComparePath(paths[4], ProfileValue(L"Recent File List", L"File2").c_str()));
    EXPECT_TRUE(AfxComparePath(paths[3], ProfileValue(L"Recent File List", L"File3").c_str()));
    EXPECT_TRUE(AfxComparePath(paths[1], ProfileValue(L"Recent File List", L"File4").c_str()));
    EXPECT_EQ(L"<none>", ProfileValue(L"Recent File List", L"File5"));

    // A fresh list reads them back; the MRU command opens the fourth.
    CRecentFileList list(0, L"Recent File List", L"File%d", 4);
    list.ReadList();
    EXPECT_TRUE(AfxComparePath(paths[1], list[3]));
    MainFrame()->SendMessage(WM_COMMAND, ID_FILE_MRU_FILE1 + 3);
    CDocument* pOpened = MainFrame()->GetActiveFrame()->GetActiveDocument();
    ASSERT_NE(nullptr, pOpened);
    EXPECT_TRUE(AfxComparePath(paths[1], pOpened->GetPathName()));

    // A file that is gone leaves the list when its command fails.
    pOpened->OnCloseDocument();
    ::DeleteFileW(paths[4]);
    MainFrame()->SendMessage(WM_COMMAND, ID_FILE_MRU_FILE1 + 2);
    EXPECT_EQ(0, app.GetOpenDocumentCount());
    ASSERT_EQ(1u, app.m_prompts.size());
    EXPECT_NE(std::wstring::npos, app.m_prompts[0].find(L"File not found"));
    app.SaveStdProfileSettings();
    EXPECT_EQ(L"<none>", ProfileValue(L"Recent File List", L"File4"));
    for (const CString& path : paths)
        ::DeleteFileW(path);
}

TEST_F(DocTest, AFailedOpenReportsAndLeavesNothingBehind) {
    CString strPath = TestPath(L"broken.dtr");
    WriteDocFile(strPath, L"half");
    CDocTestDoc::s_bFailLoad = TRUE;
    EXPECT_EQ(nullptr, app.OpenDocumentFile(strPath));
    CDocTestDoc::s_bFailLoad = FALSE;
    ASSERT_EQ(1u, app.m_prompts.size());
    EXPECT_EQ(L"Unexpected file format.", app.m_prompts[0]);
    EXPECT_EQ(0, CDocTestDoc::s_nLive);
    EXPECT_EQ(0, CDocTestChild::s_nLive);
    EXPECT_EQ(0, CDocTestView::s_nLive);

    EXPECT_EQ(nullptr, app.OpenDocumentFile(TestPath(L"missing.dtr")));
    ASSERT_EQ(2u, app.m_prompts.size());
    EXPECT_NE(std::wstring::npos, app.m_prompts[1].find(L"missing.dtr"));
    EXPECT_EQ(0, LiveObjects() - CDocTestMainFrame::s_nLive);
    ::DeleteFileW(strPath);
}

TEST_F(DocTest, ClosingAModifiedDocumentAsksFirst) {
    CDocument* pDoc = app.m_pReportTemplate->OpenDocumentFile(nullptr);
    ASSERT_NE(nullptr, pDoc);
    pDoc->SetModifiedFlag();
    CFrameWnd* pFrame = FrameOf(pDoc);
    app.m_nAnswer = IDCANCEL;
    pFrame->SendMessage(WM_CLOSE);
    EXPECT_EQ(1, app.GetOpenDocumentCount()) << "cancelled";
    ASSERT_EQ(1u, app.m_prompts.size());
    EXPECT_EQ(L"Save changes to Report1?", app.m_prompts[0]);

    // Saving all asks the same and stops at the cancel.
    EXPECT_FALSE(app.SaveAllModified());
    app.m_nAnswer = IDNO;
    EXPECT_TRUE(app.SaveAllModified());
    pFrame->SendMessage(WM_CLOSE);
    EXPECT_EQ(0, app.GetOpenDocumentCount());
    EXPECT_EQ(0, CDocTestChild::s_nLive);
}

TEST_F(DocTest, FramesOnOneDocumentAreNumberedWhileThereAreSeveral) {
    CDocument* pDoc = app.m_pReportTemplate->OpenDocumentFile(nullptr);
    ASSERT_NE(nullptr, pDoc);
    CFrameWnd* pFirst = FrameOf(pDoc);
    EXPECT_EQ(0, pFirst->m_nWindow);
    CFrameWnd* pSecond = app.m_pReportTemplate->CreateNewFrame(pDoc, pFirst);
    ASSERT_NE(nullptr, pSecond);
    app.m_pReportTemplate->InitialUpdateFrame(pSecond, pDoc);
    EXPECT_EQ(1, pFirst->m_nWindow);
    EXPECT_EQ(2, pSecond->m_nWindow);
    EXPECT_EQ(2, CDocTestView::s_nLive);
    EXPECT_TRUE(pDoc->CanCloseFrame(pSecond)) << "another frame still shows the document";

    pSecond->SendMessage(WM_CLOSE);
    EXPECT_EQ(1, app.GetOpenDocumentCount());
    EXPECT_EQ(0, pFirst->m_nWindow) << "the only frame again";
    // Titles reach the frames through the document.
    pDoc->SetTitle(L"Renamed");
    CString strCaption;
    pFirst->GetWindowText(strCaption);
    EXPECT_NE(-1, strCaption.Find(L"Renamed"));
}

TEST_F(DocTest, TheEmbeddedItemIsMadeOnceAndGoesWithTheDocument) {
    auto* pDoc = static_cast<CDocTestDoc*>(app.m_pReportTemplate->OpenDocumentFile(nullptr));
    ASSERT_NE(nullptr, pDoc);
    COleServerItem* pItem = pDoc->GetEmbeddedItem();
    ASSERT_NE(nullptr, pItem);
    EXPECT_EQ(pItem, pDoc->GetEmbeddedItem());
    EXPECT_EQ(pDoc, pItem->GetDocument());
    POSITION pos = pDoc->GetStartPosition();
    EXPECT_EQ(pItem, pDoc->GetNextServerItem(pos));
    EXPECT_EQ(nullptr, pDoc->GetNextServerItem(pos));
    pos = pDoc->GetStartPosition();
    EXPECT_EQ(nullptr, pDoc->GetNextClientItem(pos));
    EXPECT_EQ(nullptr, pDoc->GetInPlaceActiveItem(nullptr));

    // The embedded item stores the document.
    pDoc->m_strText = L"E";
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    pItem->Serialize(ar);
    ar.Close();
    EXPECT_EQ(6u, file.GetLength());
    // A drag item made and released goes at once.
    auto* pDragItem = new CDocTestItem(pDoc, TRUE);
    EXPECT_EQ(2, CDocTestItem::s_nLive);
    pDragItem->ExternalRelease();
    EXPECT_EQ(1, CDocTestItem::s_nLive);
    pDoc->OnCloseDocument();
    EXPECT_EQ(0, CDocTestItem::s_nLive);
}

TEST_F(DocTest, FileOpenPromptsWithTheFiltersOfAllTemplates) {
    CString strPath = TestPath(L"prompted.dtr");
    WriteDocFile(strPath, L"P");
    // The open dialog is answered from a timer inside its own message loop.
    s_strAnswer = strPath;
    s_filters.clear();
    UINT_PTR nTimer = ::SetTimer(nullptr, 0, 200, &AnswerOpenDialog);
    MainFrame()->SendMessage(WM_COMMAND, ID_FILE_OPEN);
    ::KillTimer(nullptr, nTimer);
    EXPECT_EQ((std::vector<std::wstring>{L"DocTest Report Files (*.dtr)", L"DocTest Template Files (*.dtt;*.dtu)",
                                         L"All Files (*.*)"}),
              s_filters);
    CFrameWnd* pActive = MainFrame()->GetActiveFrame();
    ASSERT_NE(nullptr, pActive);
    ASSERT_NE(nullptr, pActive->GetActiveDocument());
    EXPECT_TRUE(AfxComparePath(strPath, pActive->GetActiveDocument()->GetPathName()));
    ::DeleteFileW(strPath);
}
