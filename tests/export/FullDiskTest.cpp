// Reports generated onto a small volume that holds an earlier report of the
// same name, the volume filled so that the new report runs out of room on
// the way: the earlier PDF, HTML set and presentation with its pictures stay
// byte for byte, no temporary or empty file is left, and the failure names a
// file of the report and says that the disk is full. Given room again, the
// new report takes the earlier one's place whole.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "export/html/TalHTMLExp.h"
#include "export/pdf/PDFWriter.h"
#include "export/ppt/PPTWriter.h"
#include "framework/KWGdiPlusStartup.h"
#include "framework/KWRasterLib.h"
#include "tests/export/ExportTestSupport.h"
#include "tests/export/PhotoReport.h"
#include "tests/support/FolderSnapshot.h"
#include "tests/support/SmallVolume.h"

using test_support::FolderSnapshot;
using test_support::Listing;
using test_support::TakeSnapshot;
using test_support::TotalBytes;

namespace {

enum Writer { kPdf, kHtml, kPowerPoint };
const char* const kWriterNames[] = {"PDF", "HTML", "PowerPoint"};
const wchar_t* const kTargets[] = {L"report.pdf", L"report.html", L"report.ppt"};

struct Generation {
    bool written = false;
    std::wstring failedPath;
    std::wstring message;
};

Generation Generate(Writer writer, CPhotoReport& report, const std::wstring& target)
{
    Generation result;
    const CKWOutputRecord* output = nullptr;
    PDFWriter pdf;
    CTalHTMLExp html;
    PPTWriter ppt;
    switch (writer) {
    case kPdf:
        result.written = pdf.Export(report, target.c_str(), nullptr);
        output = &pdf.GetOutputRecord();
        break;
    case kHtml:
        result.written = html.WriteExport(report, target.c_str());
        output = &html.GetOutputRecord();
        break;
    case kPowerPoint:
        report.ComposeExportPages(false);
        result.written = ppt.Export(report.GetExportProperties(), report.GetExportPages(), CString(target.c_str()));
        output = &ppt.GetOutputRecord();
        break;
    }
    result.failedPath = output->GetFailedPath().GetString();
    result.message = output->FailureMessage().GetString();
    return result;
}

class FullDisk : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(StartupGdiPlus()); }

    CExportTestFolder m_pictures;
    CSmallVolume m_volume;
};

}  // namespace

TEST_F(FullDisk, AReportThatRunsOutOfRoomLeavesTheEarlierOneByteForByte)
{
    ASSERT_TRUE(m_volume.Ready());
    // Room for nothing, for a third and for two thirds of the report.
    const struct {
        int thirds;
        bool earlier;  // an earlier report of the name is there
    } rooms[] = {{0, true}, {1, true}, {2, true}, {2, false}};
    for (Writer writer : {kPdf, kHtml, kPowerPoint}) {
        for (const auto& room : rooms) {
            SCOPED_TRACE(std::string(kWriterNames[writer]) + ", room for " + std::to_string(room.thirds) +
                         " thirds" + (room.earlier ? ", over an earlier report" : ""));
            const std::wstring folder = m_volume.Path() + L"out\\";
            CKWTestTempFolder::RemoveTree(folder);
            ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
            const std::wstring target = folder + kTargets[writer];
            CPhotoReport report;
            report.TakePhotographs(m_pictures.Path(), 1, L"The earlier report");
            m_volume.Free();
            ASSERT_TRUE(Generate(writer, report, target).written);
            const FolderSnapshot earlier = TakeSnapshot(folder);
            const uint64_t size = TotalBytes(earlier);
            ASSERT_GT(size, 100000u) << Listing(earlier);
            if (!room.earlier) {
                CKWTestTempFolder::RemoveTree(folder);
                ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
            }
            const FolderSnapshot before = TakeSnapshot(folder);

            // Other photographs and another caption: every byte would change.
            report.TakePhotographs(m_pictures.Path(), 2, L"The later report");
            ASSERT_TRUE(m_volume.LeaveRoom(size * room.thirds / 3));
            const Generation failed = Generate(writer, report, target);
            m_volume.Free();
            EXPECT_FALSE(failed.written);
            const FolderSnapshot after = TakeSnapshot(folder);
            EXPECT_TRUE(after == before) << "before:\n" << Listing(before) << "after:\n" << Listing(after);
            // A file of the report, by its own name, and the reason.
            EXPECT_EQ(0u, failed.failedPath.find(folder)) << Narrow(failed.failedPath.c_str());
            EXPECT_EQ(std::wstring::npos, failed.failedPath.find(L"~ot")) << Narrow(failed.failedPath.c_str());
            EXPECT_NE(std::wstring::npos, failed.message.find(L"\"" + failed.failedPath + L"\""))
                << Narrow(failed.message.c_str());
            EXPECT_NE(std::wstring::npos, failed.message.find(L"The disk is full."))
                << Narrow(failed.message.c_str());

            // With room, the later report stands whole where the earlier stood.
            ASSERT_TRUE(Generate(writer, report, target).written);
            const FolderSnapshot later = TakeSnapshot(folder);
            for (const auto& file : later) {
                EXPECT_EQ(std::wstring::npos, file.first.find(L"~ot")) << Narrow(file.first.c_str());
                if (file.first.back() != L'\\')
                    EXPECT_FALSE(file.second.empty()) << Narrow(file.first.c_str());
            }
            const std::string written = later.count(kTargets[writer]) ? later.at(kTargets[writer]) : std::string();
            ASSERT_FALSE(written.empty());
            switch (writer) {
            case kPdf:
                EXPECT_EQ(0u, written.find("%PDF-1.3"));
                EXPECT_NE(std::string::npos, written.find("%%EOF", written.size() - 8));
                EXPECT_NE(earlier.at(kTargets[writer]), written);
                break;
            case kHtml:
                EXPECT_NE(std::string::npos, later.at(L"report_data\\report.html").find("The later report"));
                break;
            case kPowerPoint:
                EXPECT_EQ(0u, written.find("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"));
                break;
            }
            // The pictures of the HTML pages are numbered: each is the later one's.
            for (const auto& file : later) {
                const auto old = earlier.find(file.first);
                if (writer == kHtml && file.first.find(L"_image") != std::wstring::npos && old != earlier.end())
                    EXPECT_NE(old->second, file.second) << Narrow(file.first.c_str());
            }
        }
    }
}
