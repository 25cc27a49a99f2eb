// The varied report composed the way the document composes it and exported
// as HTML.
#include <gtest/gtest.h>

#include <set>

#include "export/ComposeExportPages.h"
#include "export/html/TalHTMLExp.h"
#include "framework/KWGdiPlusStartup.h"
#include "model/TalPicture.h"
#include "model/TalTemplate.h"
#include "model/TalTextNote.h"
#include "model/TalWatermark.h"
#include "tests/export/ExportTestSupport.h"

#include "HtmlLinkWalker.h"
#include "HtmlTestSupport.h"

namespace {

// The document's own composition: pages of the whole report.
class ComposedDocument : public htmltest::TestDocument {
public:
    bool ComposeExportPages(bool printing) override
    {
        SetComposer([printing](TestDocument& document, TalPageList& pages) {
            ::ComposeExportPages(document.Properties(), pages, printing, nullptr, nullptr);
        });
        return TestDocument::ComposeExportPages(printing);
    }
};

}  // namespace

// The varied report: one document per page; each picture file once per look;
// the contents tree; every reference leading to a page or picture a browser
// shows; '&' and '<' in a note, a section title and a caption reading back as
// typed.
TEST(HtmlComposedReport, EveryPageAndPictureIsWrittenLinkedAndReadsAsTyped)
{
    ASSERT_TRUE(StartupGdiPlus());
    ASSERT_TRUE(htmltest::HasRasterLibrary());
    CExportTestFolder folder;
    ComposedDocument document;
    std::map<uint32_t, std::string> images;
    BuildVariedReport(document.Properties(), folder.Path(), images);
    const std::wstring out = folder.Path() + L"survey.html";
    CTalHTMLExp exporter;
    ASSERT_TRUE(exporter.WriteExport(document, out.c_str()));
    const TalPageList& pages = document.GetExportPages();
    ASSERT_GE(pages.size(), 5u);
    EXPECT_EQ(kTitlePage, pages[0]->GetKind());
    for (const TalPageExport* page : pages)
        EXPECT_NE(kContentsPage, page->GetKind()) << "the contents document stands for the contents pages";

    const std::wstring data = folder.Path() + L"survey_data\\";
    std::set<std::pair<uint32_t, int32_t>> looks;
    for (size_t k = 1; k <= pages.size(); ++k) {
        CString name;
        ASSERT_TRUE(MakePageFileName(CString(L"survey"), CString(L"html"), name, int(k), int(pages.size())));
        const std::string text = ReadFileBytes(data + name.GetString());
        size_t layers = 0, written = 0;
        for (const TalObjExport* object : pages[k - 1]->GetObjects()) {
            const ExportImageData* image = object->GetImageRecord();
            if (image)
                looks.insert({image->GetImageKey(), image->GetRotation() * 2 + image->GetGrayscale()});
            const bool empty = object->GetKind() == kExportSimpleText &&
                               static_cast<const ExportSimpleTextData*>(object->GetData())->GetText().IsEmpty();
            written += empty ? 0 : 1;
        }
        for (size_t at = text.find("<div id=\"Layer"); at != std::string::npos; at = text.find("<div id=\"Layer", at + 1))
            ++layers;
        EXPECT_EQ(written, layers) << k;
    }
    size_t files = 0;
    for (const std::wstring& file : htmltest::ListFolder(data))
        files += file.find(L"_image") != std::wstring::npos;
    EXPECT_EQ(looks.size(), files);
    EXPECT_EQ(looks.size(), exporter.GetWrittenImages().size());

    const std::string contents = ReadFileBytes(data + L"survey_c.html");
    EXPECT_NE(std::string::npos, contents.find("R&amp;D &lt;north&gt;"));
    EXPECT_NE(std::string::npos, contents.find("TARGET=\"Report\">"));

    const htmltest::LinkReport report = htmltest::WalkLinks(out);
    EXPECT_GE(report.references, 40u);
    EXPECT_TRUE(report.broken.empty()) << report.broken.front();
    for (const char* typed : {"Costs: a &lt; b & c", "R&D <north>", "Harbour & \"pier\" a&lt;b", "R. Tallier"})
        EXPECT_NE(std::string::npos, report.text.find(typed)) << typed;
}
