// Switching sections in the real program by a click in the section tree,
// while the thumbnail cache holds the big section's pictures (so that their
// messages come all at once): the panel shows the new section's pictures
// before its title, and the title is only ever drawn in its own font.
#include "ListPictures.h"
#include "ProgramInput.h"
#include "ProgramRun.h"
#include "SectionsReport.h"

#include "tests/framework/KWTestFiles.h"
#include "tests/support/TestJpegs.h"
#include "tests/support/WindowPixels.h"
#include "tests/support/WindowScreenshot.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>
#include <vector>

using edtest::CProgramRun;

namespace {

constexpr int kViewId = 0xE900;
constexpr int kTreeId = 1126;
constexpr int kPanelId = 176;
constexpr int kListId = 1122;
constexpr int kTextPaneId = 197;
constexpr int kTitleId = 1171;
// Pictures enough that their thumbnails' messages, all at once from the
// cache, take the program a while; few enough for the cache to hold them.
constexpr int kMany = 400;
// The pictures of the two sections: orange photographs, blue ones.
constexpr COLORREF kOrange = RGB(255, 128, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

bool Near(COLORREF a, COLORREF b)
{
    return std::abs(GetRValue(a) - GetRValue(b)) < 40 && std::abs(GetGValue(a) - GetGValue(b)) < 40 &&
           std::abs(GetBValue(a) - GetBValue(b)) < 40;
}

// True when the item's icon, in view, shows the colour (its thumbnail came).
bool ShowsColour(const test_support::Pixels& pixels, const RECT& icon, COLORREF colour)
{
    const int x = (icon.left + icon.right) / 2, y = (icon.top + icon.bottom) / 2;
    return x >= 0 && y >= 0 && x < pixels.width && y < pixels.height && Near(pixels.At(x, y), colour);
}

bool ShowsColour(HWND list, int index, COLORREF colour)
{
    return ShowsColour(test_support::Capture(list, false), edtest::ListIconRect(list, index), colour);
}

std::string SolidPhoto(uint32_t width, uint32_t height, COLORREF colour)
{
    std::string pixels;
    for (uint32_t i = 0; i < width * height; ++i)
        pixels += {char(GetRValue(colour)), char(GetGValue(colour)), char(GetBValue(colour))};
    return testpictures::EncodeJpeg(pixels, width, height);
}

// What the title and the list show at one look.
struct Look {
    test_support::Pixels title, list;
};

}  // namespace

TEST(ProgramSectionSwitch, TheNewSectionsPicturesComeBeforeItsTitleAndTheTitleOnlyInItsOwnFont)
{
    CKWTestTempFolder folder(L"swt");
    const std::wstring orange = folder.Write(L"o.jpg", SolidPhoto(320, 240, kOrange));
    std::vector<std::wstring> many;
    for (int i = 0; i < kMany; ++i) {
        const std::wstring path = folder.Path() + L"o" + std::to_wstring(i) + L".jpg";
        if (!::CreateHardLinkW(path.c_str(), orange.c_str(), nullptr)) {
            ASSERT_TRUE(::CopyFileW(orange.c_str(), path.c_str(), FALSE));
        }
        many.push_back(path);
    }
    std::vector<std::wstring> few;
    for (int i = 0; i < 3; ++i)
        few.push_back(folder.Write((L"b" + std::to_wstring(i) + L".jpg").c_str(), SolidPhoto(320, 240, kBlue)));
    const std::wstring report =
        folder.Write(L"switch.otd", edtest::SectionsReportXml({{L"Many pictures", many}, {L"Few", few}}));
    edtest::SetStartPrefs(3, L"");
    CProgramRun program;
    ASSERT_TRUE(program.Start(L"\"" + report + L"\""));
    HWND tree = nullptr, list = nullptr, title = nullptr;
    ASSERT_TRUE(edtest::WaitFor([&] {
        for (HWND frame : program.ReportFrames()) {
            HWND view = CProgramRun::FindById(frame, kViewId);
            tree = CProgramRun::FindById(view, kTreeId);
            list = CProgramRun::FindById(CProgramRun::FindById(view, kPanelId), kListId);
            title = CProgramRun::FindById(CProgramRun::FindById(view, kTextPaneId), kTitleId);
        }
        return tree && list && title;
    }));
    ::ShowWindow(program.Main(), SW_MAXIMIZE);
    ::SetForegroundWindow(program.Main());
    edtest::PointerKept kept;
    const LPARAM root = ::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0);
    const std::vector<LPARAM> sections = edtest::TreeChildren(tree, root);
    ASSERT_EQ(2u, sections.size());

    // The big section once, until its last picture's thumbnail came: the
    // cache holds them all.
    edtest::ClickAt(edtest::TreeItemPoint(tree, sections[0]));
    ASSERT_TRUE(edtest::WaitFor([&] { return edtest::ListItemCount(list) == kMany; }));
    ::SendMessageW(list, LVM_ENSUREVISIBLE, kMany - 1, FALSE);
    ASSERT_TRUE(edtest::WaitFor([&] { return ShowsColour(list, kMany - 1, kOrange); }, 120000));

    // The small section, shown and steady: what the panel and title show before.
    edtest::ClickAt(edtest::TreeItemPoint(tree, sections[1]));
    Look before, last;
    ASSERT_TRUE(edtest::WaitFor([&] {
        if (edtest::ListItemCount(list) != 3 || CProgramRun::Text(title) != L"Few" || !ShowsColour(list, 2, kBlue))
            return false;
        const Look look = {test_support::Capture(title, false), test_support::Capture(list, false)};
        const bool steady = look.title == last.title && look.list == last.list;
        last = look;
        before = look;
        return steady;
    }));

    // Into the big section: every look until it is shown and steady. The
    // first item lies where the small section's first one does.
    const RECT first = edtest::ListIconRect(list, 0);
    std::vector<Look> looks;
    edtest::ClickAt(edtest::TreeItemPoint(tree, sections[0]));
    ASSERT_TRUE(edtest::WaitFor([&] {
        looks.push_back({test_support::Capture(title, false), test_support::Capture(list, false)});
        const size_t n = looks.size();
        return n >= 2 && looks[n - 1].title == looks[n - 2].title && looks[n - 1].list == looks[n - 2].list &&
               ShowsColour(looks[n - 1].list, first, kOrange) && edtest::ListItemCount(list) == kMany &&
               CProgramRun::Text(title) == L"Many pictures";
    }));
    test_support::WriteWindowScreenshot(program.Main(), L"editor_section_switch_many");
    const test_support::Pixels& after = looks.back().title;
    ASSERT_FALSE(after == before.title) << "the title did not change";
    // A title seen at two looks in a row is drawn whole: the section's name
    // before or after, in its own font; and the new one only over the new
    // section's pictures.
    for (size_t i = 1; i < looks.size(); ++i) {
        if (!(looks[i].title == looks[i - 1].title))
            continue;
        const bool old = looks[i].title == before.title;
        EXPECT_TRUE(old || looks[i].title == after) << "look " << i << " of " << looks.size()
                                                    << ": the title in another font";
        if (!old) {
            EXPECT_FALSE(looks[i].list == before.list || looks[i - 1].list == before.list)
                << "look " << i << ": the new title over the other section's pictures";
        }
    }
    EXPECT_TRUE(program.CloseWithoutSaving());
}
