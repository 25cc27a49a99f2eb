// Page documents of the HTML export: page size in pixels, positioning tables,
// file names and navigation, layer numbering and the whole text of a page.
#include <gtest/gtest.h>

#include "export/TalObjExport.h"
#include "export/html/ExportHTMLData.h"
#include "export/html/TalHTMLExp.h"
#include "model/TalTextFormat.h"

#include "HtmlTestSupport.h"

using htmltest::Narrow;

namespace {

size_t Count(const std::string& text, const std::string& part)
{
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
        ++n;
    return n;
}

RECT Rect(LONG left, LONG top, LONG right, LONG bottom)
{
    RECT rect = {left, top, right, bottom};
    return rect;
}

}  // namespace

TEST(HtmlPageGeometry, PageSizeInScreenPixels)
{
    const struct {
        double width, height, dpiX, dpiY;
        int pixelsX, pixelsY;
    } cases[] = {
        {2100, 2970, 96, 96, 793, 1122},    // A4 portrait
        {2970, 2100, 96, 96, 1122, 793},    // A4 landscape
        {2160, 2795, 120, 96, 1020, 1056},  // wider horizontal resolution
        {2541, 255, 72, 72, 720, 72},
    };
    for (const auto& c : cases) {
        CTalHTMLExp exporter;
        exporter.SetPageGeometry(c.width, c.height, c.dpiX, c.dpiY);
        EXPECT_EQ(c.pixelsX, static_cast<int>(exporter.GetPageWidth())) << c.width;
        EXPECT_EQ(c.pixelsY, static_cast<int>(exporter.GetPageHeight())) << c.height;
    }
}

TEST(HtmlPositionInLayer, FourTablesByTheCorner)
{
    CTalHTMLExp exporter;
    EXPECT_EQ("\t\t\t\t<TABLE border=\"0\">\n\t\t\t\t<TR><TD width = 200px height = 100px>C</TD></TR></TABLE>\n",
              Narrow(exporter.PositionInLayer(Rect(0, 0, 200, 100), CString(L"C"), CString())));
    EXPECT_EQ("\t\t\t\t<TABLE border=\"0\">\n"
              "\t\t\t\t<TR><TD><IMG style=\"WIDTH: 1px; HEIGHT: 40px\" alt=\"\" src=blank.gif></TD></TR>\n"
              "\t\t\t\t<TR><TD align = left width = 200px height = 60px>C</TD></TR></TABLE>\n",
              Narrow(exporter.PositionInLayer(Rect(0, 40, 200, 100), CString(L"C"), CString(L"align = left"))));
    EXPECT_EQ("\t\t\t\t<TABLE border=\"0\">\n"
              "\t\t\t\t<TR><TD><IMG style=\"WIDTH: 30px; HEIGHT: 1px\" alt=\"\" src=blank.gif></TD>\n"
              "\t\t\t\t<TD width = 170px height = 100px>C</TD></TR></TABLE>\n",
              Narrow(exporter.PositionInLayer(Rect(30, 0, 200, 100), CString(L"C"), CString())));
    EXPECT_EQ("\t\t\t\t<TABLE border=\"0\">\n"
              "\t\t\t\t<TR><TD><IMG style=\"WIDTH: 1px; HEIGHT: 1px\" alt=\"\" src=blank.gif></TD>\n"
              "\t\t\t\t<TD><IMG style=\"WIDTH: 1px; HEIGHT: 40px\" alt=\"\" src=blank.gif></TD></TR>\n"
              "\t\t\t\t<TR><TD><IMG style=\"WIDTH: 30px; HEIGHT: 1px\" alt=\"\" src=blank.gif></TD>\n"
              "\t\t\t\t<TD valign = top width = 170px height = 60px>C</TD></TR></TABLE>\n",
              Narrow(exporter.PositionInLayer(Rect(30, 40, 200, 100), CString(L"C"), CString(L"valign = top"))));
}

TEST(HtmlPageNames, FileNamesOfTheNavigation)
{
    const struct {
        int page, count;
        bool ok;
        const char* name;
    } cases[] = {
        {1, 3, true, "report.htm"}, {2, 3, true, "report2.htm"}, {3, 3, true, "report3.htm"},
        {0, 3, false, ""},          {4, 3, false, ""},           {12, 12, true, "report12.htm"},
    };
    for (const auto& c : cases) {
        CString out(L"stale");
        EXPECT_EQ(c.ok, MakePageFileName(CString(L"report"), CString(L"htm"), out, c.page, c.count)) << c.page;
        EXPECT_EQ(c.name, Narrow(out)) << c.page;
    }
}

TEST(HtmlPageNames, PathNameAndNeighbours)
{
    CTalHTMLExp exporter;
    CString path, name, previous, next;
    exporter.MakePageNames(CString(L"C:\\out\\report_data\\"), CString(L"report"), CString(L"html"), path, name,
                           previous, next, 2, 3);
    EXPECT_EQ("C:\\out\\report_data\\report2.html", Narrow(path));
    EXPECT_EQ("report2", Narrow(name));
    EXPECT_EQ("report.html", Narrow(previous));
    EXPECT_EQ("report3.html", Narrow(next));

    exporter.MakePageNames(CString(L"C:\\out\\report_data\\"), CString(L"report"), CString(L"html"), path, name,
                           previous, next, 1, 1);
    EXPECT_EQ("C:\\out\\report_data\\report.html", Narrow(path));
    EXPECT_EQ("report", Narrow(name));
    EXPECT_EQ("", Narrow(previous));
    EXPECT_EQ("", Narrow(next));
}

class HtmlPageDocument : public ::testing::Test {
protected:
    void SetUp() override { m_exporter.SetPageGeometry(2100, 2970, 96.0, 96.0); }

    CTalHTMLExp m_exporter;
};

TEST_F(HtmlPageDocument, ASinglePageHasNoNavigation)
{
    TalPageExport page(kTitlePage, L"Title-page", nullptr);
    page.AddObject(new TalObjExport(CString(L"Report"), CKWDoubleRect(0, 0, 0.5, 0.1), nullptr));
    page.SetCache(new ExportHTMLData(CString(L"x\\report.htm"), CString(L"report"), CString(), CString()));
    EXPECT_EQ("<HTML>\n\t<HEAD>\n\t\t<TITLE>Title-page</TITLE>\n"
              "\t\t<META http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\n"
              "\t\t<META name=\"GENERATOR\" content=\"OstraTallier\">\n"
              "\t\t<META name=\"Keywords\" content=\"Title-page\">\n\t</HEAD>\n"
              "\t<BODY bgcolor=\"#ffffff\" leftmargin=0 topmargin=0>\n"
              "\t\t<TABLE border=\"0\" align=center>\n"
              "\t\t\t<TR><TD WIDTH=793 HEIGHT=1122 valign=top>\n"
              "\t\t\t<div id=\"Layer1\" style=\"position:absolute; visibility:inherit; width:793px; height:1122px\">\n"
              "\t\t\t\t<TABLE border=\"0\">\n\t\t\t\t<TR><TD width = 396px height = 112px>Report</TD></TR></TABLE>\n"
              "\t\t\t</div>\n"
              "\t\t\t</TD></TR>\n"
              "\t\t</TABLE>\n"
              "\t</BODY>\n</HTML>",
              Narrow(m_exporter.BuildPageDocument(&page)));
}

TEST_F(HtmlPageDocument, NavigationAboveAndBelowThePage)
{
    TalPageExport page(kSectionPage, L"Middle", nullptr);
    page.SetCache(new ExportHTMLData(CString(L"x\\report2.htm"), CString(L"report2"), CString(L"report.htm"),
                                     CString(L"report3.htm")));
    const std::string text = Narrow(m_exporter.BuildPageDocument(&page));
    const std::string navigation =
        "\t\t\t\t<A href=\"report.htm\"><IMG src=\"back.png\" alt=\"[Back]\" border=\"0\"></A>\n"
        "\t\t\t\t<A href=\"report3.htm\"><IMG src=\"next.png\" alt=\"[Next]\" border=\"0\"></A>\n";
    EXPECT_NE(std::string::npos,
              text.find("\t\t<TABLE border=\"0\" align=center>\n\t\t\t<TR><TD valign=top><CENTER>\n" + navigation +
                        "\t\t\t</CENTER><HR></TD></TR>\n\t\t\t<TR><TD WIDTH=793 HEIGHT=1122 valign=top>\n"));
    EXPECT_NE(std::string::npos, text.find("\t\t\t</TD></TR>\n\t\t\t<TR><TD valign=bottom><HR><CENTER>\n" +
                                           navigation + "\t\t\t</CENTER></TD></TR>\n\t\t</TABLE>\n"));

    page.SetCache(new ExportHTMLData(CString(L"x\\report.htm"), CString(L"report"), CString(),
                                     CString(L"report2.htm")));
    const std::string first = Narrow(m_exporter.BuildPageDocument(&page));
    EXPECT_EQ(0u, Count(first, "[Back]"));
    EXPECT_EQ(2u, Count(first, "<A href=\"report2.htm\"><IMG src=\"next.png\" alt=\"[Next]\""));
}

TEST_F(HtmlPageDocument, LayersAreNumberedByWhatIsWritten)
{
    TalPageExport page(kSectionPage, L"S", nullptr);
    page.AddObject(new TalObjExport(CString(L"one"), CKWDoubleRect(0, 0, 1, 1), nullptr));
    page.AddObject(new TalObjExport(CString(), CKWDoubleRect(0, 0, 1, 1), nullptr));
    page.AddObject(new TalObjExport(CString(), 4, nullptr));
    page.AddObject(new TalObjExport(nullptr, 0, -1, CKWDoubleRect(0, 0, 1, 1), TextExportLine()));
    page.AddObject(new TalObjExport(CString(L"two"), 4, nullptr));
    const std::string text = Narrow(m_exporter.BuildPageDocument(&page));
    EXPECT_EQ(2u, Count(text, "<div id=\"Layer"));
    const size_t one = text.find("<div id=\"Layer1\"");
    const size_t two = text.find("<div id=\"Layer2\"");
    ASSERT_NE(std::string::npos, one);
    ASSERT_NE(std::string::npos, two);
    EXPECT_LT(one, text.find(">one<"));
    EXPECT_LT(two, text.find(">two<"));
    EXPECT_LT(text.find(">one<"), two);
}

TEST_F(HtmlPageDocument, PageNamesAreEscapedInTheHead)
{
    TalPageExport page(kSectionPage, L"Tom & \"Jerry\" <1>", nullptr);
    const std::string text = Narrow(m_exporter.BuildPageDocument(&page));
    EXPECT_NE(std::string::npos, text.find("<TITLE>Tom &amp; &quot;Jerry&quot; &lt;1&gt;</TITLE>"));
    EXPECT_NE(std::string::npos, text.find("content=\"Tom &amp; &quot;Jerry&quot; &lt;1&gt;\">"));
    EXPECT_EQ(std::string::npos, text.find("Jerry\""));
}
