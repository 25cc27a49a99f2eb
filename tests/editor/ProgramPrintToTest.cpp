// The shell's "print to" as the program carries it out: "/pt FILE PRINTER
// DRIVER PORT" prints the report on the printer it names and on no other.
// A printer that is not there ends in a message and prints nothing, not
// even on the default printer; the test's PDF printer then prints the same
// report under another name. The printer works through its jobs in turn, so
// once the second job's PDF is there the first one would be there too.
#include "ProgramRun.h"
#include "SectionsReport.h"

#include "tests/framework/KWTestFiles.h"
#include "tests/support/KeepForReaders.h"
#include "tests/support/PrintedPdf.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using edtest::CProgramRun;

namespace {

// The names of the printer's PDF files that hold the token and are not known.
std::set<std::wstring> NewFilesWith(const std::wstring& token, const std::set<std::wstring>& known)
{
    std::set<std::wstring> found;
    for (const std::wstring& name : pdftest::PrintedFiles())
        if (!known.count(name) && name.find(token) != std::wstring::npos)
            found.insert(name);
    return found;
}

}  // namespace

TEST(ProgramPrintTo, TheNamedPrinterPrintsAndAMissingOneLeavesTheDefaultAlone)
{
    CKWTestTempFolder folder(L"pto");
    const std::string report = edtest::SectionsReportXml({{L"Printed to its printer", {}}});
    const std::wstring pid = std::to_wstring(::GetCurrentProcessId());
    const std::wstring nowhere = L"PrintToNowhere" + pid;
    const std::wstring pdf = L"PrintToPdf" + pid;
    ASSERT_TRUE(WriteFileBytes(folder.Path() + nowhere + L".otd", report));
    ASSERT_TRUE(WriteFileBytes(folder.Path() + pdf + L".otd", report));
    const std::set<std::wstring> before = pdftest::PrintedFiles();

    {
        CProgramRun program;
        ASSERT_TRUE(program.Launch(L"/pt \"" + folder.Path() + nowhere + L".otd\" NoSuchPrinter driver port"));
        // The message box (the splash screen may show first).
        HWND message = nullptr;
        edtest::WaitFor(
            [&] {
                message = program.FindDialog();
                return message && CProgramRun::DialogText(message).find(L"Failed to start print job.") !=
                                      std::wstring::npos;
            },
            60000);
        ASSERT_NE(nullptr, message) << "no message for the missing printer";
        EXPECT_NE(std::wstring::npos, CProgramRun::DialogText(message).find(L"Failed to start print job."))
            << "no message for the missing printer";
        ::PostMessageW(message, WM_COMMAND, IDOK, 0);
        DWORD code = 1;
        ASSERT_TRUE(program.WaitForExit(60000, &code));
        EXPECT_LT(code, 0xC0000000u);
    }
    {
        CProgramRun program;
        ASSERT_TRUE(program.Launch(L"/pt \"" + folder.Path() + pdf + L".otd\" PDF driver port"));
        EXPECT_TRUE(program.WaitForExit(60000));
        EXPECT_EQ(nullptr, program.FindDialog());
    }
    std::wstring path;
    const std::string printed = pdftest::WaitForPrinted(pdf, before, path);
    ASSERT_FALSE(printed.empty()) << "no PDF of the job on the printer it named";
    const size_t pages = pdftest::PrintedPageCount(printed);
    EXPECT_GE(pages, 1u);
    // pdfinfo reads the same count from the kept copy.
    KeepForReaders("OT_PRINT_CHECK_DIR", path, (L"printto.pages" + std::to_wstring(pages) + L".pdf").c_str());
    EXPECT_TRUE(NewFilesWith(nowhere, before).empty()) << "the missing printer's job went to the default printer";
    ::DeleteFileW(path.c_str());
}
