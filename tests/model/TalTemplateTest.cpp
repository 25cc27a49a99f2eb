#include <gtest/gtest.h>

#include <vector>

#include "model/TalPageTemplate.h"
#include "model/TalTemplateManager.h"
#include "model/TalTitlePageTemplate.h"

namespace {

CTalTemplate* MakePageTemplate(const wchar_t* name, const wchar_t* title)
{
    CTalTemplate* tmpl = new CTalPageTemplate;
    tmpl->SetName(name);
    tmpl->SetTitle(title);
    return tmpl;
}

std::vector<CString> Titles(const std::vector<CTalTemplate*>& list)
{
    std::vector<CString> titles;
    for (const CTalTemplate* tmpl : list)
        titles.push_back(tmpl->GetTitle());
    return titles;
}

int s_refreshCount = 0;
void CountRefresh() { ++s_refreshCount; }

}  // namespace

TEST(TalTemplateManagerTest, SortsByOrdinalTitle)
{
    struct Case {
        std::vector<const wchar_t*> added;
        std::vector<CString> expected;
    };
    const Case cases[] = {
        {{L"b", L"a", L"B"}, {L"B", L"a", L"b"}},
        {{L"Zeta", L"alpha", L"Alpha", L"", L"Alp"}, {L"", L"Alp", L"Alpha", L"Zeta", L"alpha"}},
        {{L"\x00e9t\x00e9", L"ete", L"zz"}, {L"ete", L"zz", L"\x00e9t\x00e9"}},
    };
    for (const Case& c : cases) {
        CTalTemplateManager manager;
        for (const wchar_t* title : c.added)
            manager.AddPageTemplate(MakePageTemplate(title, title));
        EXPECT_EQ(c.expected, Titles(manager.GetPageTemplates()));
    }
}

TEST(TalTemplateManagerTest, EqualTitlesKeepTheirOrderAndNamesAreTheKeys)
{
    CTalTemplateManager manager;
    CTalTemplate* first = MakePageTemplate(L"one", L"Same");
    CTalTemplate* second = MakePageTemplate(L"two", L"Same");
    manager.AddPageTemplate(MakePageTemplate(L"three", L"Zed"));
    manager.AddPageTemplate(first);
    manager.AddPageTemplate(second);
    EXPECT_EQ(0, manager.IndexOfPageTemplate(first));
    EXPECT_EQ(1, manager.IndexOfPageTemplate(second));
    EXPECT_EQ(second, manager.FindPageTemplate(L"two"));
    EXPECT_EQ(nullptr, manager.FindPageTemplate(L"TWO")) << "names compare case-sensitively";
    EXPECT_EQ(nullptr, manager.FindPageTemplate(L"Same")) << "titles are not keys";
    EXPECT_EQ(nullptr, manager.FindTitlePageTemplate(L"one")) << "the lists are apart";
    EXPECT_EQ(-1, manager.IndexOfPageTemplate(nullptr));
}

TEST(TalTemplateManagerTest, TitlePageTemplatesAndEmptyLists)
{
    CTalTemplateManager manager;
    EXPECT_EQ(nullptr, manager.FindTitlePageTemplate(L"x"));
    EXPECT_EQ(nullptr, manager.FindPageTemplate(L""));
    CTalTemplate* title = new CTalTitlePageTemplate;
    title->SetName(L"cover");
    title->SetTitle(L"Cover");
    manager.AddTitlePageTemplate(title);
    EXPECT_EQ(title, manager.FindTitlePageTemplate(L"cover"));
    EXPECT_NE(nullptr, dynamic_cast<CTalTitlePageTemplate*>(manager.FindTitlePageTemplate(L"cover")));
    EXPECT_TRUE(manager.GetPageTemplates().empty());
}

TEST(TalTemplateManagerTest, RefreshGoesToTheInstalledRefresher)
{
    s_refreshCount = 0;
    RefreshAllTemplateWindows();  // none installed: nothing happens
    SetTemplateWindowsRefresher(&CountRefresh);
    RefreshAllTemplateWindows();
    RefreshAllTemplateWindows();
    SetTemplateWindowsRefresher(nullptr);
    RefreshAllTemplateWindows();
    EXPECT_EQ(2, s_refreshCount);
}
