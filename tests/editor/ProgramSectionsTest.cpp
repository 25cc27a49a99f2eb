// The report window driven as a user drives it, with the real mouse: the
// sections clicked in the section tree and their pictures in the image
// panel, a transparent picture shown there, and a section dragged within the
// tree.
#include "ProgramInput.h"
#include "ProgramRealInput.h"
#include "ProgramRun.h"
#include "SectionsReport.h"
#include "SolidBitmap.h"
#include "UserInput.h"

#include "framework/KWGdiPlusDraw.h"
#include "framework/KWGdiPlusStartup.h"
#include "framework/KWGdipBitmap.h"
#include "framework/KWRasterLib.h"
#include "tests/framework/KWTestFiles.h"
#include "tests/support/TestPictureFiles.h"
#include "tests/support/WindowPixels.h"
#include "tests/support/WindowScreenshot.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

using edtest::CProgramRun;
using edtest::PointerKept;

namespace {

constexpr int kViewId = 0xE900;
constexpr int kTreeId = 1126;
constexpr int kPanelId = 176;
constexpr int kListId = 1122;
constexpr int kPreviewId = 1134;
constexpr int kPreviewModeButton = 1119;

int ItemCount(HWND list)
{
    return int(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
}

// The program showing the report, with its section tree, image panel and thumbnail list.
struct ShownReport {
    CProgramRun program;
    HWND tree = nullptr;
    HWND panel = nullptr;
    HWND list = nullptr;

    // The report of the sections written into the folder, then opened.
    bool Open(const CKWTestTempFolder& folder, const std::vector<edtest::ReportSection>& sections)
    {
        const std::wstring report = folder.Path() + L"Sections.otd";
        if (!WriteFileBytes(report, edtest::SectionsReportXml(sections)))
            return false;
        edtest::SetStartPrefs(3, L"");
        if (!program.Start(L"\"" + report + L"\""))
            return false;
        return edtest::WaitFor([&] {
            for (HWND frame : program.ReportFrames()) {
                HWND view = CProgramRun::FindById(frame, kViewId);
                tree = CProgramRun::FindById(view, kTreeId);
                panel = CProgramRun::FindById(view, kPanelId);
                list = panel ? CProgramRun::FindById(panel, kListId) : nullptr;
            }
            return tree && list && ::IsWindowVisible(list);
        }) && ::SetForegroundWindow(program.Main());
    }
    // The sections under the report's heading, in the tree's order.
    std::vector<LPARAM> Sections(LPARAM parent = 0) const
    {
        return edtest::TreeChildren(tree, parent ? parent : ::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    }
};

std::wstring TreeItemText(HWND tree, LPARAM item)
{
    edtest::CRemote remote(tree, 1024);
    TVITEMW record = {};
    record.mask = TVIF_TEXT | TVIF_HANDLE;
    record.hItem = reinterpret_cast<HTREEITEM>(item);
    record.pszText = reinterpret_cast<wchar_t*>(remote.At(edtest::CRemote::kTextAt));
    record.cchTextMax = 260;
    ::SendMessageW(tree, TVM_GETITEMW, 0, remote.Put(record));
    return remote.Text(edtest::CRemote::kTextAt);
}

std::vector<std::wstring> Texts(HWND tree, const std::vector<LPARAM>& items)
{
    std::vector<std::wstring> texts;
    for (LPARAM item : items)
        texts.push_back(TreeItemText(tree, item));
    return texts;
}

POINT ItemPosition(HWND list, int index)
{
    edtest::CRemote remote(list, sizeof(POINT));
    ::SendMessageW(list, LVM_GETITEMPOSITION, WPARAM(index), remote.Put(POINT{-1, -1}));
    return remote.Get<POINT>();
}

std::vector<std::wstring> Pictures(const CKWTestTempFolder& folder, const wchar_t* prefix, int count)
{
    std::vector<std::wstring> paths;
    for (int i = 0; i < count; ++i) {
        const std::wstring name = prefix + std::to_wstring(i + 1) + L".bmp";
        paths.push_back(folder.Write(name.c_str(), edtest::SolidBitmapFile(96, 72, uint8_t(30 * i), 120, 200)));
    }
    return paths;
}

}  // namespace

TEST(ProgramSections, ASectionsFirstThumbnailStandsAtTheSamePlaceWhicheverSectionWasShownBefore)
{
    PointerKept pointer;
    CKWTestTempFolder folder(L"psp");
    ShownReport shown;
    ASSERT_TRUE(shown.Open(folder, {{L"A", Pictures(folder, L"a", 3)},
                                    {L"B", Pictures(folder, L"b", 40)},
                                    {L"C", Pictures(folder, L"c", 3)}}));
    const std::vector<LPARAM> sections = shown.Sections();
    ASSERT_EQ(3u, sections.size());
    const struct {
        size_t section;
        int count;
        const wchar_t* first;
        const wchar_t* screenshot;
    } visits[] = {{0, 3, L"a1", L"program_sections_a"},
                  {1, 40, L"b1", L"program_sections_b"},
                  {2, 3, L"c1", L"program_sections_c"},
                  {0, 3, L"a1", L"program_sections_a_again"}};
    POINT firstPlace = {-1, -1};
    for (const auto& visit : visits) {
        edtest::ClickAt(edtest::TreeItemPoint(shown.tree, sections[visit.section]));
        ASSERT_TRUE(edtest::WaitFor([&] {
            return ItemCount(shown.list) == visit.count && edtest::ListItemText(shown.list, shown.list, 0) == visit.first;
        })) << visit.screenshot << ": " << ItemCount(shown.list);
        test_support::WriteWindowScreenshot(shown.program.Main(), visit.screenshot);
        // Every section's pictures start at the top left, in rows.
        const POINT place = ItemPosition(shown.list, 0);
        if (firstPlace.x == -1)
            firstPlace = place;
        EXPECT_EQ(firstPlace.x, place.x) << visit.screenshot;
        EXPECT_EQ(firstPlace.y, place.y) << visit.screenshot;
        EXPECT_EQ(place.y, ItemPosition(shown.list, 1).y) << visit.screenshot;
        EXPECT_GT(ItemPosition(shown.list, 1).x, place.x) << visit.screenshot;
    }
    EXPECT_LT(firstPlace.x, 30);
    EXPECT_LT(firstPlace.y, 30);
}

namespace {

// 96 x 96 pixels: a 3-pixel opaque blue frame around a transparent third
// (black, as many programs store clear pixels), a third whose alpha rises
// from 0 to 255, and an opaque third, all of an orange colour.
constexpr int kSide = 96;
constexpr int kFrame = 3;

uint8_t AlphaAt(int x)
{
    const int third = (kSide - 2 * kFrame) / 3;
    const int inner = x - kFrame;
    return uint8_t(inner < third ? 0 : inner < 2 * third ? (inner - third) * 255 / (third - 1) : 255);
}

std::string TransparentPng()
{
    std::string samples;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            const bool frame = x < kFrame || y < kFrame || x >= kSide - kFrame || y >= kSide - kFrame;
            const uint8_t alpha = frame ? 255 : AlphaAt(x);
            const char rgba[] = {char(frame ? 0 : alpha ? 230 : 0), char(frame ? 0 : alpha ? 90 : 0),
                                 char(frame ? 200 : alpha ? 20 : 0), char(alpha)};
            samples.append(rgba, 4);
        }
    return testpictures::PngFile(kSide, kSide, 8, true, samples);
}

// The picture's cached thumbnail drawn as the gallery draws it (a GDI+
// bitmap of straight alpha over the background); its pixels.
test_support::Pixels GalleryComposite(const std::wstring& path, COLORREF background)
{
    test_support::Pixels pixels;
    KWSharedRasterImage thumbnail = g_rasterLib.GetThumbnail(g_rasterLib.GetPictureId(path.c_str()));
    if (!thumbnail || !StartupGdiPlus())
        return pixels;
    pixels.width = int(thumbnail->width);
    pixels.height = int(thumbnail->height);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), pixels.width, -pixels.height, 1, 32};
    void* bits = nullptr;
    HDC dc = ::CreateCompatibleDC(nullptr);
    HBITMAP target = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(dc, target);
    RECT all = {0, 0, pixels.width, pixels.height};
    HBRUSH brush = ::CreateSolidBrush(background);
    ::FillRect(dc, &all, brush);
    ::DeleteObject(brush);
    {
        CKWGdiPlusDraw graphics(dc);
        CKWGdipBitmap bitmap;
        bitmap.Wrap(pixels.width, pixels.height, int(thumbnail->stride), const_cast<uint8_t*>(thumbnail->Pixels()),
                    CKWGdipBitmap::kPixelFormat32bppARGB);
        graphics.DrawImage(0, 0, &bitmap, nullptr);
    }
    ::GdiFlush();
    for (int i = 0; i < pixels.width * pixels.height; ++i) {
        const uint32_t bgr = static_cast<const uint32_t*>(bits)[i];
        pixels.values.push_back(RGB(bgr >> 16, (bgr >> 8) & 0xFF, bgr & 0xFF));
    }
    ::SelectObject(dc, old);
    ::DeleteObject(target);
    ::DeleteDC(dc);
    return pixels;
}

// Where the window shows the picture: the top left of its blue frame.
POINT FrameCorner(const test_support::Pixels& shown)
{
    const CRect frame = [&] {
        CRect bounds(shown.width, shown.height, 0, 0);
        for (int y = 0; y < shown.height; ++y)
            for (int x = 0; x < shown.width; ++x)
                if (shown.At(x, y) == RGB(0, 0, 200))
                    bounds |= CRect(x, y, x + 1, y + 1);
        return bounds;
    }();
    return frame.Width() == kSide && frame.Height() == kSide ? POINT{frame.left, frame.top} : POINT{-1, -1};
}

// The pixels of the picture's middle row where it shows, against the composite; the largest difference.
int LargestDifference(const test_support::Pixels& shown, POINT corner, const test_support::Pixels& expected)
{
    int largest = 0;
    const int y = kSide / 2;
    for (int x = kFrame; x < kSide - kFrame; ++x) {
        const COLORREF a = shown.At(corner.x + x, corner.y + y);
        const COLORREF b = expected.At(x, y);
        for (int shift : {0, 8, 16})
            largest = std::max(largest, std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)));
    }
    return largest;
}

}  // namespace

TEST(ProgramSections, ATransparentPictureShowsAsTheGalleryBlendsItOverThePanelsBackground)
{
    PointerKept pointer;
    CKWTestTempFolder folder(L"pst");
    const std::wstring picture = folder.Write(L"clear.png", TransparentPng());
    const test_support::Pixels overWhite = GalleryComposite(picture, RGB(255, 255, 255));
    const test_support::Pixels overFace = GalleryComposite(picture, ::GetSysColor(COLOR_BTNFACE));
    ASSERT_EQ(kSide, overWhite.width) << "the thumbnail keeps the picture's size";
    // The alpha's edge: clear, half and opaque pixels blend to different colours.
    EXPECT_EQ(RGB(255, 255, 255), overWhite.At(kFrame + 5, kSide / 2));
    EXPECT_NE(overWhite.At(kSide / 2, kSide / 2), overWhite.At(kSide - kFrame - 5, kSide / 2));

    ShownReport shown;
    ASSERT_TRUE(shown.Open(folder, {{L"Clear", {picture}}}));
    EXPECT_TRUE(edtest::ClickTreeItem(shown.tree, reinterpret_cast<HTREEITEM>(shown.Sections().front())));
    POINT corner = {-1, -1};
    test_support::Pixels thumbnails;
    EXPECT_TRUE(edtest::WaitFor([&] {
        thumbnails = test_support::Capture(shown.list, false);
        corner = FrameCorner(thumbnails);
        return corner.x >= 0 && LargestDifference(thumbnails, corner, overWhite) <= 2;
    })) << corner.x << "," << corner.y << ": " << (corner.x >= 0 ? LargestDifference(thumbnails, corner, overWhite) : -1);
    test_support::WriteWindowScreenshot(shown.program.Main(), L"program_sections_transparent_thumbnail");

    // The preview blends it over the face colour around it.
    HWND preview = CProgramRun::FindById(shown.panel, kPreviewId);
    HWND modeButton = CProgramRun::FindById(shown.panel, kPreviewModeButton);
    RECT button = {};
    ::GetWindowRect(modeButton, &button);
    const POINT at = edtest::CentreOf(button);
    edtest::ClickWindow(modeButton);
    test_support::Pixels large;
    EXPECT_TRUE(edtest::WaitFor([&] {
        large = test_support::Capture(preview, false);
        corner = FrameCorner(large);
        return ::IsWindowVisible(preview) && corner.x >= 0 && LargestDifference(large, corner, overFace) <= 2;
    })) << corner.x << "," << corner.y << ": " << (corner.x >= 0 ? LargestDifference(large, corner, overFace) : -1)
        << shown.program.Shows() << shown.program.ShowsAt(at);
    test_support::WriteWindowScreenshot(shown.program.Main(), L"program_sections_transparent_preview");
}

namespace {

// The tree's rows of dark pixels under each item's label, where the
// insertion mark after that item is drawn; one count per item.
std::vector<int> MarkPixels(HWND tree, const std::vector<LPARAM>& items)
{
    const test_support::Pixels pixels = test_support::Capture(tree, false);
    std::vector<int> counts;
    for (LPARAM item : items) {
        const RECT label = edtest::TreeItemLabel(tree, item);
        int dark = 0;
        for (int y = std::max(0L, label.bottom - 2); y < std::min<long>(label.bottom + 1, pixels.height); ++y)
            for (int x = std::max(0L, label.left); x < std::min<long>(label.right, pixels.width); ++x)
                dark += GetRValue(pixels.At(x, y)) < 80 && GetGValue(pixels.At(x, y)) < 80 ? 1 : 0;
        counts.push_back(dark);
    }
    return counts;
}

}  // namespace

TEST(ProgramSections, TheSectionPressedIsTheOneDraggedItsDropMarkFollowsAndGoesAtTheEnd)
{
    PointerKept pointer;
    CKWTestTempFolder folder(L"psd");
    ShownReport shown;
    ASSERT_TRUE(shown.Open(folder, {{L"First block", Pictures(folder, L"f", 1)},
                                    {L"Second block", Pictures(folder, L"s", 1)},
                                    {L"Third block", Pictures(folder, L"t", 1)}}));
    const std::vector<LPARAM> sections = shown.Sections();
    ASSERT_EQ(3u, sections.size());
    EXPECT_EQ((std::vector<int>{0, 0, 0}), MarkPixels(shown.tree, sections));

    // Pressed on the third, moved up past the drag threshold and over the
    // second to the first, where the mark after it shows; the first time
    // the drag is given up with Escape, the second time dropped there.
    const POINT third = edtest::TreeItemPoint(shown.tree, sections[2]);
    const POINT first = edtest::TreeItemPoint(shown.tree, sections[0]);
    for (bool drop : {false, true}) {
        edtest::PressAndMove(third, first);
        std::vector<int> marks;
        EXPECT_TRUE(edtest::WaitFor([&] {
            marks = MarkPixels(shown.tree, sections);
            return marks[0] > 0 && marks[1] == 0 && marks[2] == 0;
        })) << drop << ": " << marks[0] << " " << marks[1] << " " << marks[2];
        // The target is drawn highlighted too.
        EXPECT_EQ(sections[0], ::SendMessageW(shown.tree, TVM_GETNEXTITEM, TVGN_DROPHILITE, 0)) << drop;
        if (drop) {
            test_support::WriteWindowScreenshot(shown.program.Main(), L"program_sections_drag_over_first");
            edtest::MouseAt(first, MOUSEEVENTF_LEFTUP);
            break;
        }
        edtest::PressKeys({{VK_ESCAPE, true}, {VK_ESCAPE, false}});
        edtest::MouseAt(first, MOUSEEVENTF_LEFTUP);
        EXPECT_TRUE(edtest::WaitFor([&] { return MarkPixels(shown.tree, sections) == std::vector<int>{0, 0, 0}; }));
        EXPECT_EQ(sections, shown.Sections()) << "a drag given up moves nothing";
    }

    // The third section is now the first one's child; the mark is gone.
    LPARAM moved = 0;
    EXPECT_TRUE(edtest::WaitFor([&] {
        const std::vector<LPARAM> top = shown.Sections();
        const std::vector<LPARAM> children = top.empty() ? top : shown.Sections(top.front());
        moved = children.empty() ? 0 : children.front();
        return Texts(shown.tree, top) == std::vector<std::wstring>{L"First block", L"Second block"} &&
               Texts(shown.tree, children) == std::vector<std::wstring>{L"Third block"};
    })) << Texts(shown.tree, shown.Sections()).size();
    std::vector<LPARAM> shownItems = shown.Sections();
    shownItems.push_back(moved);
    ::SendMessageW(shown.tree, TVM_ENSUREVISIBLE, 0, moved);
    EXPECT_TRUE(edtest::WaitFor([&] { return MarkPixels(shown.tree, shownItems) == std::vector<int>{0, 0, 0}; }));
    test_support::WriteWindowScreenshot(shown.program.Main(), L"program_sections_dropped_on_first");
}

TEST(ProgramSections, APictureLeftOutOfTheReportShowsFadedInThePanelAndAgainAsItWasWhenTakenBack)
{
    PointerKept pointer;
    CKWTestTempFolder folder(L"psh");
    ShownReport shown;
    // One picture of a dark blue.
    const std::wstring picture = folder.Write(L"dark.bmp", edtest::SolidBitmapFile(96, 72, 20, 30, 90));
    ASSERT_TRUE(shown.Open(folder, {{L"Dark", {picture}}}));
    const std::vector<LPARAM> sections = shown.Sections();
    ASSERT_EQ(1u, sections.size());
    ASSERT_TRUE(edtest::ClickTreeItem(shown.tree, reinterpret_cast<HTREEITEM>(sections[0])));
    ASSERT_TRUE(edtest::WaitFor([&] { return ::SendMessageW(shown.list, LVM_GETITEMCOUNT, 0, 0) == 1; }));
    // The thumbnail's darkest pixel: the picture's own colour, or faded.
    auto darkest = [&] {
        const test_support::Pixels pixels = test_support::Capture(shown.list, false);
        int lowest = 255 * 3;
        for (COLORREF c : pixels.values)
            lowest = std::min(lowest, GetRValue(c) + GetGValue(c) + GetBValue(c));
        return lowest;
    };
    int shownDarkest = 0;
    ASSERT_TRUE(edtest::WaitFor([&] { return (shownDarkest = darkest()) < 200; })) << shownDarkest;
    // The thumbnail clicked (selected), then "Show In Report" taken off with its button.
    const POINT item = edtest::CentreOf(edtest::AskRemote<RECT>(shown.list, LVM_GETITEMRECT, 0));
    edtest::ApproachAndClick(edtest::OnScreen(shown.list, item));
    ASSERT_TRUE(edtest::WaitFor([&] {
        return ::SendMessageW(shown.list, LVM_GETITEMSTATE, 0, LVIS_SELECTED) == LVIS_SELECTED;
    }));
    // Copy, Paste and Delete act on the picture clicked, not on its section.
    edtest::PressKeys({{VK_CONTROL, true}, {'C', true}, {'C', false}, {'V', true}, {'V', false}, {VK_CONTROL, false}});
    EXPECT_TRUE(edtest::WaitFor([&] { return ::SendMessageW(shown.list, LVM_GETITEMCOUNT, 0, 0) == 2; }));
    edtest::TapKey(VK_DELETE);
    EXPECT_TRUE(edtest::WaitFor([&] { return ::SendMessageW(shown.list, LVM_GETITEMCOUNT, 0, 0) == 1; }));
    ASSERT_EQ(1u, shown.Sections().size());
    // The picture left is drawn again in its own colour before it is taken out.
    ASSERT_TRUE(edtest::WaitFor([&] { return (shownDarkest = darkest()) < 200; })) << shownDarkest;
    HWND showButton = CProgramRun::FindById(shown.panel, 1140);
    ASSERT_NE(nullptr, showButton);
    edtest::ClickWindow(showButton);
    RECT showRect = {};
    ::GetWindowRect(showButton, &showRect);
    EXPECT_TRUE(edtest::WaitFor([&] { return darkest() > shownDarkest + 100; })) << darkest()
        << shown.program.Shows() << shown.program.ShowsAt(edtest::CentreOf(showRect));
    test_support::WriteWindowScreenshot(shown.program.Main(), L"program_sections_picture_left_out");
    // Undone, it shows as it was.
    edtest::PressChord(VK_CONTROL, 'Z');
    EXPECT_TRUE(edtest::WaitFor([&] { return std::abs(darkest() - shownDarkest) < 10; })) << darkest();
}

