// Composition of a large report: 1,000 sections and 5,000 pictures, with
// title and contents pages and short text notes: every picture is placed, a
// second composition gives the same pages.
#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <string>

#include "export/ComposeExportPages.h"
#include "export/ExportPlacement.h"
#include "framework/KWGdiPlusStartup.h"
#include "framework/KWRasterLib.h"
#include "model/TalPicture.h"
#include "model/TalSection.h"
#include "model/TalDocProperties.h"
#include "model/TalTemplate.h"
#include "model/TalTextNote.h"
#include "tests/export/ExportTestSupport.h"

namespace {

TEST(ComposeLargeReport, ThousandSectionsFiveThousandPictures)
{
    ASSERT_TRUE(StartupGdiPlus());
    CExportTestFolder folder;
    uint32_t ids[5];
    for (int i = 0; i < 5; ++i) {
        const std::wstring path = folder.Path() + L"bench" + std::to_wstring(i) + L".bmp";
        ASSERT_TRUE(WriteTestBmp(path, 40 + 20 * i, 30 + 10 * i));
        ids[i] = g_rasterLib.GetPictureId(path.c_str());
    }

    CTalDocProperties properties;
    properties.m_insertTitlePage = 1;
    properties.m_insertContents = 1;
    const CTalTemplate* title = AddTestTitleTemplate({{CTalTemplate::kCellTitle, {0.1, 0.1, 0.9, 0.2}}});
    properties.m_titleTemplateName = title->GetName();
    const CTalTemplate* page = AddTestPageTemplate({{CTalTemplate::kCellHeading, {0.1, 0.02, 0.9, 0.08}},
                                                   {CTalTemplate::kCellPictures, {0.1, 0.1, 0.45, 0.4}},
                                                   {CTalTemplate::kCellPictures, {0.55, 0.1, 0.9, 0.4}},
                                                   {CTalTemplate::kCellText, {0.1, 0.45, 0.9, 0.9}}});
    CKWRefPtr<CTalSection> heading = properties.GetHeadingSection();
    UseTemplate(heading.Get(), page);
    int pictures = 0;
    for (int top = 0; top < 100; ++top) {
        CKWRefPtr<CTalSection> parent = AddSection(heading.Get(), (L"Chapter " + std::to_wstring(top)).c_str());
        for (int sub = 0; sub < 9; ++sub) {
            CKWRefPtr<CTalSection> section =
                AddSection(parent.Get(), (L"Part " + std::to_wstring(top) + L"." + std::to_wstring(sub)).c_str());
            FillNote(*section->GetTextNote(), L"A short note on this part.\nA second line.");
            for (int k = 0; k < 5 && pictures < 5000; ++k, ++pictures)
                AddPicture(section.Get(), static_cast<int32_t>(ids[pictures % 5]));
        }
        for (int k = 0; k < 5 && pictures < 5000; ++k, ++pictures)
            AddPicture(parent.Get(), static_cast<int32_t>(ids[pictures % 5]));
    }
    ASSERT_EQ(5000, pictures);

        // The first composition measures every note afresh, as after loading; the
    // second finds the widths known and must still give the same pages.
    CTestPages first, second;
    ASSERT_TRUE(ComposeExportPages(properties, first.List(), false, nullptr, nullptr));
    ASSERT_TRUE(ComposeExportPages(properties, second.List(), false, nullptr, nullptr));
    const std::map<uint32_t, std::string> names;
    EXPECT_EQ(ReportDump(properties, names).Dump(first.List()), ReportDump(properties, names).Dump(second.List()));

    // Every picture is on a page and placed by its size.
    int placed = 0;
    for (const TalPageExport* p : second.List()) {
        for (const TalObjExport* object : p->GetObjects()) {
            const ExportImageData* image = object->GetImageRecord();
            if (!image || image->GetKind() != kExportCommonImage)
                continue;
            SIZE size = {0, 0};
            ASSERT_TRUE(g_rasterLib.GetImageSize(image->GetImageKey(), size));
            CKWDoubleRect result = image->GetRect();
            PlaceInCell(CKWDoubleRect(0, 0, 2100, 2970), size.cx, size.cy, result, kPlaceFit, 4);
            EXPECT_GT(result.right, result.left);
            ++placed;
        }
    }
    EXPECT_EQ(5000, placed);
}

}  // namespace
