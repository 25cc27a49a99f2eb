// Printing: the job's page range, the print and printing dialogs, the
// application's printer setup, and direct printing (the shell's "/p") on the
// default printer, the queue "PDF" that the test set-up installs.
#include "FrameTestSupport.h"

#include "platform/classlib/CommandLineInfo.h"
#include "platform/classlib/DocTemplate.h"
#include "platform/classlib/MDIChildWnd.h"
#include "platform/classlib/MDIFrameWnd.h"
#include "platform/classlib/PrintingDialog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

using namespace frame_test;
using classlib_test::DrainMessages;

namespace {

const char kNoPrinter[] = "no default printer: the test set-up (scripts/test.sh) installs the CUPS queue \"PDF\"";

// The system's default printer, as the print loop finds it.
bool HavePrinter() {
    PRINTDLGW pd = {};
    pd.lStructSize = sizeof(pd);
    pd.Flags = PD_RETURNDEFAULT;
    if (!::PrintDlgW(&pd))
        return false;
    ::GlobalFree(pd.hDevMode);
    ::GlobalFree(pd.hDevNames);
    return true;
}

// What a job of the view prints, page by page.
std::wstring ExpectedJob(const wchar_t* prepare, int nPages) {
    std::wstring job = std::wstring(prepare) + L" begin";
    for (int i = 1; i <= nPages; ++i)
        job += L" print:" + std::to_wstring(i);
    return job + L" end";
}

CString DeviceName(HGLOBAL hDevNames) {
    auto* pNames = static_cast<LPDEVNAMES>(::GlobalLock(hDevNames));
    CString strName = reinterpret_cast<const wchar_t*>(pNames) + pNames->wDeviceOffset;
    ::GlobalUnlock(hDevNames);
    return strName;
}

void CALLBACK CancelDialogs(HWND, UINT, UINT_PTR, DWORD) {
    if (HWND hDlg = classlib_test::FindThreadDialog())
        ::PostMessageW(hDlg, WM_COMMAND, IDCANCEL, 0);
}

TEST(PrintInfoTest, PageRangeAndDefaults) {
    CPrintInfo info;
    EXPECT_EQ(info.GetMinPage(), 1u);
    EXPECT_EQ(info.GetMaxPage(), 0xFFFFu);  // unknown until the view says
    EXPECT_EQ(info.GetFromPage(), 1u);
    EXPECT_EQ(info.GetToPage(), 0xFFFFu);
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

TEST(PrintDialogTest, NamesAndContextComeFromTheDefaultPrinter) {
    ASSERT_TRUE(HavePrinter()) << kNoPrinter;
    CPrintDialog dlg(FALSE);
    EXPECT_EQ(dlg.m_pd.lStructSize, sizeof(PRINTDLGW));
    EXPECT_EQ(std::wstring(dlg.GetDeviceName()), L"") << "no names before the defaults";
    EXPECT_EQ(dlg.GetDevMode(), nullptr);
    EXPECT_EQ(dlg.CreatePrinterDC(), nullptr);
    EXPECT_EQ(CPrintDialog::CreatePrinterDC(nullptr, nullptr), nullptr);
    EXPECT_EQ(dlg.GetCopies(), 1);
    CPrintDialog setup(TRUE);
    EXPECT_TRUE(setup.m_pd.Flags & PD_PRINTSETUP);
    EXPECT_FALSE(setup.m_pd.Flags & PD_RETURNDC);

    ASSERT_TRUE(dlg.GetDefaults());
    EXPECT_EQ(std::wstring(dlg.GetDeviceName()), L"PDF");
    EXPECT_NE(std::wstring(dlg.GetDriverName()), L"");
    HDC hDC = dlg.CreatePrinterDC();
    EXPECT_NE(hDC, nullptr);
    EXPECT_GT(::GetDeviceCaps(hDC, LOGPIXELSY), 0);
    ::DeleteDC(hDC);
    ::GlobalFree(dlg.m_pd.hDevMode);
    ::GlobalFree(dlg.m_pd.hDevNames);
}

// The DC of a printer named by the shell's "print to" takes the paper and
// orientation of the mode given: all of that printer's own mode, or those
// fields of another printer's; without a mode the printer's defaults (A4
// upright on the test's queue); a printer that is not there gives none.
TEST(PrintDialogTest, ANamedPrintersDCTakesThePaperAndOrientationOfTheModeGiven) {
    ASSERT_TRUE(HavePrinter()) << kNoPrinter;
    CPrintDialog defaults(FALSE);
    ASSERT_TRUE(defaults.GetDefaults());
    const SIZE_T nModeSize = ::GlobalSize(defaults.m_pd.hDevMode);
    const int kA4Short = 827, kA4Long = 1169, kLetterShort = 850, kLetterLong = 1100;  // 1/100 inch
    const struct {
        const wchar_t* pszPrinter;
        const wchar_t* pszModeOf;  // null: no mode
        short nOrientation, nPaper;
        int nWidth, nHeight;  // 0: no DC
    } cases[] = {
        {L"PDF", nullptr, 0, 0, kA4Short, kA4Long},
        {L"PDF", L"PDF", DMORIENT_LANDSCAPE, DMPAPER_A4, kA4Long, kA4Short},
        {L"PDF", L"PDF", DMORIENT_PORTRAIT, DMPAPER_LETTER, kLetterShort, kLetterLong},
        {L"PDF", L"Another Printer", DMORIENT_LANDSCAPE, DMPAPER_LETTER, kLetterLong, kLetterShort},
        {L"NoSuchPrinter", L"PDF", DMORIENT_LANDSCAPE, DMPAPER_A4, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.nOrientation << " " << c.nPaper << (c.pszModeOf ? "" : " no mode"));
        // The default mode turned, on the paper, under the device name given.
        HGLOBAL hMode = c.pszModeOf ? ::GlobalAlloc(GMEM_MOVEABLE, nModeSize) : nullptr;
        if (auto* pMode = hMode ? static_cast<DEVMODEW*>(::GlobalLock(hMode)) : nullptr) {
            memcpy(pMode, ::GlobalLock(defaults.m_pd.hDevMode), nModeSize);
            ::GlobalUnlock(defaults.m_pd.hDevMode);
            ::lstrcpynW(pMode->dmDeviceName, c.pszModeOf, CCHDEVICENAME);
            pMode->dmOrientation = c.nOrientation;
            pMode->dmPaperSize = c.nPaper;
            pMode->dmFields |= DM_ORIENTATION | DM_PAPERSIZE;
            pMode->dmFields &= ~(DM_PAPERLENGTH | DM_PAPERWIDTH | DM_FORMNAME);
            ::GlobalUnlock(hMode);
        }
        HDC hDC = CPrintDialog::CreateNamedPrinterDC(defaults.GetDriverName(), c.pszPrinter, hMode);
        ::GlobalFree(hMode);
        ASSERT_EQ(c.nWidth == 0, hDC == nullptr);
        if (hDC == nullptr)
            continue;
        auto inches = [&](int nSize, int nPerInch) {
            return ::MulDiv(::GetDeviceCaps(hDC, nSize), 100, ::GetDeviceCaps(hDC, nPerInch));
        };
        EXPECT_NEAR(c.nWidth, inches(PHYSICALWIDTH, LOGPIXELSX), 1);
        EXPECT_NEAR(c.nHeight, inches(PHYSICALHEIGHT, LOGPIXELSY), 1);
        ::DeleteDC(hDC);
    }
    ::GlobalFree(defaults.m_pd.hDevMode);
    ::GlobalFree(defaults.m_pd.hDevNames);
}

TEST(PrinterSetupTest, TheDefaultPrinterIsFetchedOnceAndGivesItsDC) {
    classlib_test::CTestApp app;
    PRINTDLGW pd = {};
    pd.lStructSize = sizeof(pd);
    ASSERT_TRUE(app.GetPrinterDeviceDefaults(&pd)) << kNoPrinter;
    ASSERT_NE(nullptr, app.m_hDevNames);
    EXPECT_EQ(app.m_hDevNames, pd.hDevNames);
    EXPECT_EQ(app.m_hDevMode, pd.hDevMode);
    CString strDevice = DeviceName(app.m_hDevNames);
    EXPECT_FALSE(strDevice.IsEmpty());
    PRINTDLGW pdAgain = {};
    ASSERT_TRUE(app.GetPrinterDeviceDefaults(&pdAgain));
    EXPECT_EQ(pd.hDevNames, pdAgain.hDevNames) << "kept, not fetched again";

    CDC dc;
    ASSERT_TRUE(app.CreatePrinterDC(dc));
    EXPECT_EQ(DT_RASPRINTER, dc.GetDeviceCaps(TECHNOLOGY));
    EXPECT_GT(dc.GetDeviceCaps(HORZRES), 0);

    // The setup dialog, cancelled, leaves a setup of the same printer.
    UINT_PTR nTimer = ::SetTimer(nullptr, 0, 300, &CancelDialogs);
    CPrintDialog dlg(TRUE);
    EXPECT_EQ(IDCANCEL, app.DoPrintDialog(&dlg));
    ::KillTimer(nullptr, nTimer);
    ASSERT_NE(nullptr, app.m_hDevNames);
    EXPECT_EQ(strDevice, DeviceName(app.m_hDevNames));

    app.UpdatePrinterSelection(TRUE);
    ASSERT_NE(nullptr, app.m_hDevNames);
    EXPECT_EQ(strDevice, DeviceName(app.m_hDevNames)) << "the defaults again";
    app.SelectPrinter(nullptr, nullptr);
    EXPECT_EQ(nullptr, app.m_hDevMode);
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

TEST(PrintLoopTest, DirectPrintingRunsEveryPageOrOneOfAJobOfUnknownLength) {
    ASSERT_TRUE(HavePrinter()) << kNoPrinter;
    CFrameTestApp app;
    for (UINT nPages : {3u, 0u}) {
        Log().clear();
        CTestView::s_nPages = nPages;
        CTestFrame* pFrame = MakeFrameWithView(new CTestDoc);
        ASSERT_NE(pFrame, nullptr);
        pFrame->GetActiveView()->SendMessage(WM_COMMAND, ID_FILE_PRINT_DIRECT);
        EXPECT_EQ(Joined(), ExpectedJob(L"prepare:direct", nPages ? nPages : 1));
        pFrame->DestroyWindow();
        DrainMessages();
        EXPECT_EQ(CTestView::s_nLive, 0);
    }
    CTestView::s_nPages = 3;
}

// "/p file": the document opens without being shown and prints on the default printer.
TEST(ShellPrintTest, PrintCommandOfTheCommandLinePrintsTheDocument) {
    ASSERT_TRUE(HavePrinter()) << kNoPrinter;
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
