// Composition of a large report: 1,000 sections and 5,000 pictures, with
// title and contents pages and short text notes: every picture is placed, a
// second composition gives the same pages. The figures it prints are for
// reading, not checked: speed is not a test's business.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
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

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to)
{
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

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

    // First with every note measured afresh through the text engine, as after
    // loading a document; then again, the notes' character widths known, which
    // leaves the composition's own work.
    CTestPages firstPages;
    LARGE_INTEGER start, composed;
    ::QueryPerformanceCounter(&start);
    ASSERT_TRUE(ComposeExportPages(properties, firstPages.List(), false, nullptr, nullptr));
    ::QueryPerformanceCounter(&composed);
    const double withMeasuring = Seconds(start, composed);

    CTestPages pages;
    LARGE_INTEGER placed;
    ::QueryPerformanceCounter(&start);
    ASSERT_TRUE(ComposeExportPages(properties, pages.List(), false, nullptr, nullptr));
    ::QueryPerformanceCounter(&composed);
    EXPECT_EQ(firstPages.Size(), pages.Size());

    // What a writer does next: every picture placed by its size (sizes, not pixels).
    int placedCount = 0;
    for (const TalPageExport* p : pages.List()) {
        for (const TalObjExport* object : p->GetObjects()) {
            const ExportImageData* image = object->GetImageRecord();
            if (!image || image->GetKind() != kExportCommonImage)
                continue;
            SIZE size = {0, 0};
            g_rasterLib.GetImageSize(image->GetImageKey(), size);
            CKWDoubleRect result = image->GetRect();
            PlaceInCell(CKWDoubleRect(0, 0, 2100, 2970), size.cx, size.cy, result, kPlaceFit, 4);
            ++placedCount;
        }
    }
    ::QueryPerformanceCounter(&placed);

    const double composeTime = Seconds(start, composed);
    std::printf("[ figures ] %u pages of 1,001 sections and 5,000 pictures: composition %.3f s "
                "(%.3f s with the first measuring of 900 text notes); %d pictures placed by size in %.3f s\n",
                static_cast<unsigned>(pages.Size()), composeTime, withMeasuring, placedCount,
                Seconds(composed, placed));
    EXPECT_EQ(5000, placedCount);
}

}  // namespace
