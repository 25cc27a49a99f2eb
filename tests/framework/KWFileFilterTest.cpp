// Tests of the file dialogs' filter lists and of the extension rule.
#include "framework/KWFileFilter.h"

#include "tests/framework/KWFileDialogTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The filter with its NULs made visible.
std::wstring Visible(const CString& filter)
{
    std::wstring text(filter.GetString(), static_cast<size_t>(filter.GetLength()));
    for (wchar_t& ch : text) {
        if (ch == L'\0')
            ch = L'|';
    }
    return text;
}

}  // namespace

TEST(KWFileFilter, ExportFiltersListTheWritableFormatsOfTheCategory)
{
    auto formats = kw_test::MakeApplicationFormats();
    const CQMFormatInfo* pdf = kw_test::FindFormat(formats.get(), L"PDF Files");
    const CQMFormatInfo* ppt = kw_test::FindFormat(formats.get(), L"PowerPoint Files");
    const CQMFormatInfo* html = kw_test::FindFormat(formats.get(), L"HTML Files");
    const CQMFormatInfo* jpeg = kw_test::FindFormat(formats.get(), L"JPEG Images");
    struct Case {
        uint32_t category;
        const wchar_t* defaultExt;
        uint32_t defaultFlags;
        std::wstring filter;
        const CQMFormatInfo* chosen;
        uint32_t index;
        size_t records;
    };
    const Case cases[] = {
        {128, nullptr, 128, L"PDF Files (*.pdf)|*.pdf||", pdf, 1, 1},
        {128, nullptr, 0, L"PDF Files (*.pdf)|*.pdf||", pdf, 0, 1},
        {0xE0, nullptr, 64,
         L"HTML Files (*.html)|*.html|PowerPoint Files (*.ppt)|*.ppt|PDF Files (*.pdf)|*.pdf||", ppt, 2, 3},
        {0xE0, L"pdf", 32, L"HTML Files (*.html)|*.html|PowerPoint Files (*.ppt)|*.ppt|PDF Files (*.pdf)|*.pdf||", pdf,
         3, 3},
        {0xE0, L"PDF", 32, L"HTML Files (*.html)|*.html|PowerPoint Files (*.ppt)|*.ppt|PDF Files (*.pdf)|*.pdf||", html,
         1, 3},
        {1024, nullptr, 1024, L"JPEG Images (*.jpg, *.jpeg)|*.jpg; *.jpeg||", jpeg, 1, 1},
        {4096, nullptr, 4096, L"|", nullptr, 0, 0},
    };
    for (const Case& c : cases) {
        KWExportFilter filter = KWBuildExportFilter(formats.get(), c.category, c.defaultExt, c.defaultFlags);
        EXPECT_EQ(c.filter, Visible(filter.filter)) << c.category;
        EXPECT_EQ(c.chosen, filter.chosen) << c.category << " " << c.defaultFlags;
        EXPECT_EQ(c.index, filter.filterIndex) << c.category << " " << c.defaultFlags;
        EXPECT_EQ(c.records, filter.records.size());
    }
    KWExportFilter none = KWBuildExportFilter(nullptr, 128, nullptr, 128);
    EXPECT_EQ(L"|", Visible(none.filter));
    EXPECT_EQ(nullptr, none.chosen);
}

TEST(KWFileFilter, ImportFiltersPutAllSupportedFirst)
{
    auto formats = kw_test::MakeApplicationFormats();
    struct Case {
        uint32_t category;
        uint32_t defaultFlags;
        const wchar_t* defaultExt;
        std::wstring filter;
        uint32_t index;
    };
    const Case cases[] = {
        {0x401, 1, nullptr,
         L"All Supported Files|*.jpg;*.jpeg;*.png|JPEG Images (*.jpg, *.jpeg)|*.jpg; *.jpeg|PNG Images (*.png)|*.png||",
         1},
        {0x401, 0, L"png",
         L"All Supported Files|*.jpg;*.jpeg;*.png|JPEG Images (*.jpg, *.jpeg)|*.jpg; *.jpeg|PNG Images (*.png)|*.png||",
         3},
        {0x403, 2, nullptr,
         L"All Supported Files|*.jpg;*.jpeg;*.png|JPEG Images (*.jpg, *.jpeg)|*.jpg; *.jpeg|PNG Images (*.png)|*.png|"
         L"All Files (*.*)|*.*||",
         4},
        {0x4000, 0, nullptr, L"Report Templates (*.otn)|*.otn||", 0},
        {0x4800, 16384, nullptr, L"Report Documents (*.otd)|*.otd|Report Templates (*.otn)|*.otn||", 2},
        {0xE0, 0, nullptr, L"|", 0},
    };
    for (const Case& c : cases) {
        KWImportFilter filter = KWBuildImportFilter(formats.get(), c.category, c.defaultFlags, c.defaultExt);
        EXPECT_EQ(c.filter, Visible(filter.filter)) << c.category;
        EXPECT_EQ(c.index, filter.filterIndex) << c.category;
    }

    // Without a record of id 1 the entry has its own name.
    auto images = kw_test::MakeFormats({{1024, L"BMP", {{"bmp", 1, 1}}}});
    EXPECT_EQ(L"All Supported Files|*.bmp|BMP (*.bmp)|*.bmp||",
              Visible(KWBuildImportFilter(images.get(), 0x401, 1, nullptr).filter));
}

TEST(KWFileFilter, EnsureExtensionFollowsTheFormat)
{
    auto formats = kw_test::MakeApplicationFormats();
    const CQMFormatInfo* pdf = kw_test::FindFormat(formats.get(), L"PDF Files");
    const CQMFormatInfo* jpeg = kw_test::FindFormat(formats.get(), L"JPEG Images");
    const std::wstring longName(255, L'x');
    struct Case {
        const CQMFormatInfo* record;
        std::wstring path;
        bool replace;
        bool changed;
        std::wstring result;
    };
    const Case cases[] = {
        {pdf, L"Report", false, true, L"Report.pdf"},
        {pdf, L"C:\\Out\\Report.html", false, true, L"C:\\Out\\Report.html.pdf"},
        {pdf, L"C:\\Out\\Report.html", true, true, L"C:\\Out\\Report.pdf"},
        {pdf, L"Report.PDF", true, false, L"Report.PDF"},
        {jpeg, L"photo.JPEG", true, false, L"photo.JPEG"},
        {jpeg, L"photo.png", true, true, L"photo.jpg"},
        // A dot in a folder name is no extension.
        {pdf, L"C:\\my.reports\\Report", true, true, L"C:\\my.reports\\Report.pdf"},
        {pdf, L"Report.", true, true, L"Report.pdf"},
        // A name too long for the extension loses as many characters as the extension has.
        {pdf, longName + L"yyy", false, true, longName + L".pdf"},
    };
    for (const Case& c : cases) {
        CString path(c.path.c_str());
        EXPECT_EQ(c.changed, KWEnsureExtension(c.record, path, c.replace)) << std::string(c.path.begin(), c.path.end());
        EXPECT_EQ(c.result, std::wstring(path.GetString()));
    }
    CString untouched(L"name");
    EXPECT_FALSE(KWEnsureExtension(nullptr, untouched, true));
    EXPECT_STREQ(L"name", untouched);
    EXPECT_STREQ(L"jpg", KWFirstExtension(jpeg));
    EXPECT_TRUE(KWFirstExtension(kw_test::FindFormat(formats.get(), L"All Supported Files")).IsEmpty());
}
