// The composed pages of a varied report, dumped as text and compared with a
// golden file: every picture option, nested sections, long text notes that
// spill over pages, every watermark kind, the title and contents pages. With
// the variable OT_REGENERATE_GOLDENS set, the golden file is written instead.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "export/ComposeExportPages.h"
#include "export/ComposeTitlePage.h"
#include "framework/KWGdiPlusStartup.h"
#include "framework/KWRasterLib.h"
#include "model/TalPicture.h"
#include "model/TalSection.h"
#include "model/TalDocProperties.h"
#include "model/TalTemplate.h"
#include "model/TalTextNote.h"
#include "model/TalWatermark.h"
#include "tests/export/ExportTestSupport.h"

namespace {

class ComposeGoldenTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(StartupGdiPlus()); }


    void BuildReport() { BuildVariedReport(m_properties, m_folder.Path(), m_images); }

    CExportTestFolder m_folder;
    CTalDocProperties m_properties;
    std::map<uint32_t, std::string> m_images;
};

TEST_F(ComposeGoldenTest, VariedReportMatchesTheGoldenDump)
{
    BuildReport();
    CTestPages pages;
    int start = 0;
    ASSERT_TRUE(ComposeExportPages(m_properties, pages.List(), false, nullptr, &start));
    const std::string dump = ReportDump(m_properties, m_images).Dump(pages.List());

    ExpectGolden(L"compose_golden.txt", dump);
}

}  // namespace
