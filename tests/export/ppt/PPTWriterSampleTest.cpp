// A three-page presentation for the independent readers (check_readers.sh):
// written only when OT_PPT_SAMPLE_DIR names a folder.
#include <gtest/gtest.h>

#include <cstdlib>

#include "export/TalPageExport.h"
#include "export/ppt/PPTWriter.h"
#include "framework/KWRasterLib.h"
#include "model/TalTextFormat.h"
#include "tests/export/ExportTestSupport.h"
#include "tests/export/ppt/PptFileCheck.h"

TEST(PPTWriterSample, ThreePagesForTheReaders)
{
    const char* target = std::getenv("OT_PPT_SAMPLE_DIR");
    if (!target || !*target)
        GTEST_SKIP() << "OT_PPT_SAMPLE_DIR is not set";
    std::wstring folder;
    for (const char* p = target; *p; ++p)
        folder.push_back(static_cast<wchar_t>(*p));
    if (folder.back() != L'\\')
        folder.push_back(L'\\');
    const std::wstring picture = folder + L"sample.bmp";
    ASSERT_TRUE(WriteTestBmp(picture, 64, 48));
    const uint32_t pictureId = g_rasterLib.GetPictureId(picture.c_str());

    CTalTextFormat heading;
    heading.m_size = 28;
    heading.m_style = CTalTextFormat::kBold;
    CTalTextFormat caption;
    caption.m_size = 14;
    caption.m_color = 0x800000;  // dark blue
    const wchar_t* names[3] = {L"Page one heading", L"Page two heading", L"Page three heading"};
    CTestPages pages;
    for (int i = 0; i < 3; ++i) {
        TalPageExport* page = new TalPageExport(kSectionPage, names[i], nullptr);
        pages.List().push_back(page);
        page->AddObject(new TalObjExport(CString(names[i]), CKWDoubleRect(0.1, 0.05, 0.9, 0.15), &heading));
        TalObjExport* photo = new TalObjExport(pictureId, CKWDoubleRect(0.2, 0.2, 0.8, 0.6), i == 1 ? 90 : 0, i == 2);
        photo->GetImageRecord()->SetString(CString(L"Caption of the photo"));
        photo->GetImageRecord()->SetFormat(&caption);
        page->AddObject(photo);
        CString number;
        number.Format(L"%d", i + 1);
        page->AddObject(new TalObjExport(number, 7, &caption));
    }
    const std::wstring path = folder + L"sample.ppt";
    PPTWriter writer;
    ASSERT_TRUE(writer.Export(pages.List(), 2100, 2970, nullptr, CString(path.c_str())));
    Presentation p;
    LoadPresentation(path, 3, p);
}
