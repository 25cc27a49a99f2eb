// The print loop: the job's page range, direct printing (the shell's "/p")
// on the default printer when there is one, and the abort procedure.
#include "FrameTestSupport.h"

#include "platform/classlib/CommandLineInfo.h"
#include "platform/classlib/DocTemplate.h"
#include "platform/classlib/MDIChildWnd.h"
#include "platform/classlib/MDIFrameWnd.h"
#include "platform/classlib/PrintingDialog.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace frame_test;
using classlib_test::DrainMessages;

namespace {

// The system's default printer, as the print loop would find it.
bool HavePrinter() {
    PRINTDLGW pd = {};
    pd.lStructSize = sizeof(pd);
    pd.Flags = PD_RETURNDEFAULT;
    if (!::PrintDlgW(&pd))
        return false;
    if (pd.hDevMode != nullptr)
        ::GlobalFree(pd.hDevMode);
    if (pd.hDevNames != nullptr)
        ::GlobalFree(pd.hDevNames);
    return true;
}

// What a job of the view prints, page by page, with or without a printer.
std::wstring ExpectedJob(const wchar_t* prepare, int nPages) {
    std::wstring job = prepare;
    if (!HavePrinter())
        return job;  // no printer: the job does not start
    job += L" begin";
    for (int i = 1; i <= nPages; ++i)
        job += L" print:" + std::to_wstring(i);
    return job + L" end";
}

TEST(PrintInfoTest, PageRangeAndDefaults) {
    CPrintInfo info;
    EXPECT_EQ(info.GetMinPage(), 1u);
    EXPECT_EQ(info.GetMaxPage(), 0xFFFFu);  // unknown until the view says
    EXPECT_EQ(info.GetFromPage(), 1u);
    EXPECT_EQ(info.GetToPage(), 0xFFFFu);
    EXPECT_EQ(info.m_nCurPage, 1u);
    EXPECT_TRUE(info.m_bContinuePrinting);
    EXPECT_FALSE(info.m_bPreview);
    EXPECT_FALSE(info.m_bDirect);
    ASSERT_NE(info.m_pPD, nullptr);
    EXPECT_TRUE(info.m_pPD->m_pd.Flags & PD_RETURNDC);
    EXPECT_EQ(std::wstring(info.m_strPageDesc), L"Page %u\nPages %u-%u\n");

    const struct {
        UINT nSet;
        UINT nExpected;
    } cases[] = {{1, 1}, {12, 12}, {0xFFFF, 0xFFFF}, {70000, 0xFFFF}, {0x10001, 0xFFFF}};
    for (const auto& c : cases) {
        info.SetMaxPage(c.nSet);
        EXPECT_EQ(info.GetMaxPage(), c.nExpected) << c.nSet;
    }
}

TEST(PrintDialogTest, WithoutPrinterNamesEverythingIsEmpty) {
    CPrintDialog dlg(FALSE);
    EXPECT_EQ(dlg.m_pd.lStructSize, sizeof(PRINTDLGW));
    EXPECT_EQ(std::wstring(dlg.GetDeviceName()), L"");
    EXPECT_EQ(std::wstring(dlg.GetDriverName()), L"");
    EXPECT_EQ(std::wstring(dlg.GetPortName()), L"");
    EXPECT_EQ(dlg.GetDevMode(), nullptr);
    EXPECT_EQ(CPrintDialog::CreatePrinterDC(nullptr, nullptr), nullptr);
    EXPECT_EQ(dlg.CreatePrinterDC(), nullptr);
    EXPECT_EQ(dlg.GetCopies(), 1);
    CPrintDialog setup(TRUE);
    EXPECT_TRUE(setup.m_pd.Flags & PD_PRINTSETUP);
    EXPECT_FALSE(setup.m_pd.Flags & PD_RETURNDC);

    // The defaults name the printer the print loop would take.
    if (HavePrinter()) {
        ASSERT_TRUE(dlg.GetDefaults());
        EXPECT_NE(std::wstring(dlg.GetDeviceName()), L"");
        HDC hDC = dlg.CreatePrinterDC();
        EXPECT_NE(hDC, nullptr);
        EXPECT_GT(::GetDeviceCaps(hDC, LOGPIXELSY), 0);
        ::GlobalFree(dlg.m_pd.hDevMode);
        ::GlobalFree(dlg.m_pd.hDevNames);
    } else {
        EXPECT_FALSE(dlg.GetDefaults());
    }
}

TEST(PrintingDialogTest, CancelAbortsTheJob) {
    CPrintingDialog dlg(nullptr);
    dlg.Start(L"Report", L"PDF", L"cups-pdf:/");
    ASSERT_NE(dlg.m_hWnd, nullptr);
    EXPECT_FALSE(dlg.IsWindowVisible());  // nothing to show it over
    EXPECT_FALSE(CPrintingDialog::UserAborted());
    EXPECT_TRUE(AfxAbortProc(nullptr, 0));
    dlg.SetPage(7);
    CString strPage;
    dlg.GetDlgItemText(1002, strPage);
    EXPECT_EQ(std::wstring(strPage), L"Page 7");
    dlg.SendMessage(WM_COMMAND, IDCANCEL);
    EXPECT_TRUE(CPrintingDialog::UserAborted());
    EXPECT_FALSE(AfxAbortProc(nullptr, 0));
    dlg.Finish();
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    // The next job starts afresh.
    dlg.Start(L"Again", L"", L"");
    EXPECT_FALSE(CPrintingDialog::UserAborted());
    dlg.Finish();
}

class PrintLoopTest : public ::testing::Test {
protected:
    void SetUp() override {
        Log().clear();
        CTestView::s_nPages = 3;
        m_pDoc = new CTestDoc;
        m_pFrame = MakeFrameWithView(m_pDoc);
        ASSERT_NE(m_pFrame, nullptr);
        m_pView = m_pFrame->GetActiveView();
        ASSERT_NE(m_pView, nullptr);
    }
    void TearDown() override {
        m_pFrame->DestroyWindow();
        DrainMessages();
        CTestView::s_nPages = 3;
        EXPECT_EQ(CTestView::s_nLive, 0);
    }
    CFrameTestApp m_app;
    CTestDoc* m_pDoc = nullptr;
    CTestFrame* m_pFrame = nullptr;
    CView* m_pView = nullptr;
};

TEST_F(PrintLoopTest, DirectPrintingRunsEveryPageOnTheDefaultPrinter) {
    m_pView->SendMessage(WM_COMMAND, ID_FILE_PRINT_DIRECT);
    EXPECT_EQ(Joined(), ExpectedJob(L"prepare:direct", 3));
}

TEST_F(PrintLoopTest, AJobOfUnknownLengthPrintsOnePage) {
    CTestView::s_nPages = 0;
    m_pView->SendMessage(WM_COMMAND, ID_FILE_PRINT_DIRECT);
    EXPECT_EQ(Joined(), ExpectedJob(L"prepare:direct", 1));
}

// "/p file": the document opens without being shown and prints on the default printer.
TEST(ShellPrintTest, PrintCommandOfTheCommandLinePrintsTheDocument) {
    CFrameTestApp app;
    Log().clear();
    CTestView::s_nPages = 2;
    wchar_t szTemp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, szTemp);
    std::wstring path = std::wstring(szTemp) + L"frametest-print.sht";
    { std::ofstream(path.c_str()) << "sheet"; }

    app.AddDocTemplate(new CMultiDocTemplate(IDR_FRAMETEST_DOC, RUNTIME_CLASS(CTestDoc), RUNTIME_CLASS(CMDIChildWnd),
                                             RUNTIME_CLASS(CTestView)));
    auto* pMainFrame = new CMDIFrameWnd;
    ASSERT_TRUE(pMainFrame->LoadFrame(IDR_FRAMETEST_MAIN));
    app.m_pMainWnd = pMainFrame;

    CCommandLineInfo cmdInfo;
    cmdInfo.ParseParam(L"p", TRUE, FALSE);
    cmdInfo.ParseParam(path.c_str(), FALSE, TRUE);
    ASSERT_EQ(cmdInfo.m_nShellCommand, CCommandLineInfo::FilePrint);
    EXPECT_FALSE(app.ProcessShellCommand(cmdInfo));  // the program ends after printing
    EXPECT_EQ(Joined(), ExpectedJob(L"view:initial prepare:direct", 2));
    EXPECT_FALSE(pMainFrame->IsWindowVisible());

    pMainFrame->SendMessage(WM_CLOSE);
    DrainMessages();
    EXPECT_EQ(CTestDoc::s_nLive, 0);
    EXPECT_EQ(CTestView::s_nLive, 0);
    ::DeleteFileW(path.c_str());
    CTestView::s_nPages = 3;
}

}  // namespace
