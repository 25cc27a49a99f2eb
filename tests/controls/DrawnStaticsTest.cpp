// The controls drawn over statics (text label, scrolled picture, link, image
// control, file preview) and the scroller bar, bound to the children of a
// shown window and driven by messages; what they draw is read back or recorded.
#include "ControlsTestResources.h"
#include "ControlsTestSupport.h"

#include "controls/KWHLinkStatic.h"
#include "controls/KWImageControl.h"
#include "controls/KWPreviewCtrl.h"
#include "controls/KWScrolledBitmapControl.h"
#include "controls/KWScrollerBar.h"
#include "controls/KWTextLabel.h"
#include "platform/classlib/ScrollBar.h"
#include "tests/support/RecordingGraphics.h"
#include "tests/support/WindowPixels.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <vector>

using controls_test::ShownWindow;
using test_support::Capture;
using test_support::CRecordingGraphics;
using test_support::Pixels;

TEST(DrawnStatics, ALabelDrawsTwelvePixelArialInBlackOnTheFaceAndKeepsItsOwnFace)
{
    ShownWindow host(CRect(400, 20, 600, 150));
    CKWTextLabel labels[4];
    HWND items[4];
    for (UINT i = 0; i < 4; ++i) {
        items[i] = host.AddStatic(i + 1, CRect(0, 24 * i, 150, 24 * i + 20));
        labels[i].Create(items[i]);
        labels[i].SetText(L"Report 12");
    }
    labels[1].SetFaceName(L"Arial");
    labels[1].SetFontSize(12);
    labels[1].SetTextColor(0);
    labels[1].SetFontStyle(0);
    // The face of label 2 comes from a buffer its caller changes afterwards.
    wchar_t face[32] = L"Courier New";
    labels[2].SetFaceName(face);
    std::wcscpy(face, L"Arial");
    labels[3].SetFaceName(L"Courier New");

    const Pixels plain = Capture(items[0]);
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), plain.At(plain.width - 1, plain.height - 1));
    EXPECT_EQ(0u, *std::min_element(plain.values.begin(), plain.values.end())) << "black text";
    EXPECT_EQ(Capture(items[1]), plain);
    EXPECT_EQ(Capture(items[3]), Capture(items[2]));
    EXPECT_FALSE(Capture(items[2]) == plain);
}

TEST(DrawnStatics, TheScrolledPictureComesBackFromTheBottom)
{
    ShownWindow host(CRect(400, 20, 600, 150));
    CKWScrolledBitmapControlImpWin credits;
    host.AddStatic(5, CRect(0, 0, 100, 60));
    ASSERT_TRUE(credits.SubclassDlgItem(5, &host.window));
    credits.SetImageResource(IDB_TEST_SQUARE);
    credits.UpdateSizes();
    // A 64-pixel picture in a 100 x 60 view: where its top is.
    const struct {
        int offset, top;
    } cases[] = {{0, 0}, {-64, -64}, {-65, 59}, {-188, 60}};
    for (const auto& c : cases) {
        credits.SetOffset(c.offset);
        CRecordingGraphics graphics(96);
        credits.Draw(&graphics);
        ASSERT_EQ(1u, graphics.images.size());
        EXPECT_EQ(c.top, graphics.images[0].y) << c.offset;
    }
}

namespace {

class CCountingLink : public CKWHLinkStaticImpWin {
public:
    void Draw(IKWGraphics* graphics) override
    {
        ++draws;
        CKWHLinkStaticImpWin::Draw(graphics);
    }
    int draws = 0;
};

}  // namespace

TEST(DrawnStatics, ALinkRepaintsOnEnteringAndLeavingAndOpensOnlyAGivenLink)
{
    ShownWindow host(CRect(400, 20, 600, 150));
    const HWND item = host.AddStatic(6, CRect(0, 0, 120, 20));
    CCountingLink link;
    ASSERT_TRUE(link.SubclassDlgItem(6, &host.window));
    link.SetText(L"Kestrel Works", L"www.kestrelworks.example");
    ::UpdateWindow(item);
    link.draws = 0;
    const UINT moves[] = {WM_MOUSEMOVE, WM_MOUSEMOVE, WM_MOUSELEAVE, WM_MOUSELEAVE};
    const int draws[] = {1, 1, 2, 2};
    for (int i = 0; i < 4; ++i) {
        ::SendMessageW(item, moves[i], 0, MAKELPARAM(60, 10));
        EXPECT_EQ(draws[i], link.draws) << i;
    }
    auto& opened = controls_test::App().openedLinks;
    opened.clear();
    ::SendMessageW(item, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    link.SetText(L"Nowhere", L"");
    ::SendMessageW(item, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(std::vector<std::wstring>{L"www.kestrelworks.example"}, opened);
}

namespace {

void NoteCallback(IKWGraphics*, CKWImageControlImp* control, void* context)
{
    static_cast<std::vector<CKWImageControlImp*>*>(context)->push_back(control);
}

}  // namespace

TEST(DrawnStatics, TheImageControlShowsItsLastPictureOrOnlyWhatItsCallbackDraws)
{
    ShownWindow host(CRect(400, 20, 600, 150));
    host.AddStatic(7, CRect(0, 0, 100, 80));
    CKWImageControl image;
    ASSERT_TRUE(image.Attach(7, &host.window));
    // 0 clears the picture; 4242 is no resource.
    const struct {
        UINT resource;
        CSize size;
    } cases[] = {{IDB_TEST_WIDE, {78, 26}}, {IDB_TEST_SQUARE, {64, 64}}, {0, {0, 0}}, {4242, {0, 0}}};
    for (const auto& c : cases) {
        c.resource ? image.SetImageResource(c.resource) : image.ClearImage();
        CSize size(-1, -1);
        image.GetImageSize(size);
        EXPECT_EQ(c.size, size) << c.resource;
    }
    image.SetImageResource(IDB_TEST_SQUARE);
    std::vector<CKWImageControlImp*> calls;
    image.SetDrawCallback(NoteCallback, &calls);
    CRecordingGraphics called(96);
    image.GetImp()->Draw(&called);
    EXPECT_TRUE(called.Untouched()) << "only the callback draws";
    image.Invalidate();
    ::UpdateWindow(::GetDlgItem(host.window.m_hWnd, 7));
    EXPECT_EQ(std::vector<CKWImageControlImp*>(2, image.GetImp()), calls);
}

namespace {

int g_previewsMade = 0;
SIZE g_previewSize = {0, 0};

HBITMAP RedPreview(const wchar_t*, int)
{
    ++g_previewsMade;
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), g_previewSize.cx, -g_previewSize.cy, 1, 32};
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    std::fill_n(static_cast<uint32_t*>(bits), g_previewSize.cx * g_previewSize.cy, 0x00FF0000u);
    return bitmap;
}

}  // namespace

TEST(DrawnStatics, APreviewIsCentredUnscaledWhenItFitsElseFittedAndMadeOnlyWhenShown)
{
    ShownWindow host(CRect(400, 20, 650, 150));
    const struct {
        SIZE picture;
        int side;
        CRect place;
    } cases[] = {{{50, 50}, 100, {25, 25, 75, 75}}, {{300, 150}, 104, {2, 27, 102, 77}}};
    UINT id = 10;
    for (const auto& c : cases) {
        const HWND item = host.AddStatic(id, CRect(0, 0, c.side, c.side));
        CKWPreviewCtrl preview;
        preview.SetPreviewMaker(RedPreview);
        ASSERT_TRUE(preview.SubclassDlgItem(id++, &host.window));
        g_previewSize = c.picture;
        g_previewsMade = 0;
        preview.SetFile(L"a.jpg", 0, true);
        EXPECT_EQ(0, g_previewsMade) << "not shown, not made";
        preview.SetFile(L"a.jpg", 1, true);
        preview.SetFile(L"a.jpg", 1, true);
        EXPECT_EQ(2, g_previewsMade) << "the same name is made again";
        const Pixels shown = Capture(item);
        EXPECT_EQ(RGB(255, 0, 0), shown.At(c.place.left, c.place.top));
        EXPECT_EQ(c.place, shown.Bounds(::GetSysColor(COLOR_BTNFACE))) << c.side;
        ::DestroyWindow(item);
    }
}

namespace {

MSG g_scrolled;

LRESULT CALLBACK RecordScrolling(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_HSCROLL || message == WM_VSCROLL)
        g_scrolled = {window, message, wParam, lParam};
    return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

TEST(ScrollerBar, TheStripsSideChoosesItsScrollBarWhoseMessagesGoToTheOwner)
{
    WNDCLASSW owner = {0, RecordScrolling};
    owner.lpszClassName = L"OTScrollRecorder";
    ::RegisterClassW(&owner);
    const HWND frame = ::CreateWindowExW(0, owner.lpszClassName, L"", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr,
                                         nullptr, nullptr);
    // The scroll bar's style (0: none) and its place in a 20 x 150 strip,
    // less the border lines and the gripper (0x400000) the style names.
    const struct {
        DWORD style, barStyle;
        CRect inside;
    } cases[] = {
        {CBRS_ALIGN_RIGHT, 0x50000005, {0, 0, 20, 150}},
        {CBRS_BORDER_LEFT | 0x400000, 0x50000005, {1, 7, 20, 150}},
        {CBRS_BORDER_TOP | CBRS_BORDER_BOTTOM, 0x50000004, {0, 1, 20, 149}},
        {CBRS_ALIGN_LEFT, 0, {}},
    };
    for (const auto& c : cases) {
        CKWScrollerBar strip;
        ASSERT_TRUE(strip.Create(CWnd::FromHandle(frame), WS_CHILD | WS_VISIBLE | c.style, 0xE900));
        const HWND bar = ::GetDlgItem(strip.m_hWnd, CKWScrollerBar::kScrollBarId);
        EXPECT_EQ(c.barStyle, bar ? DWORD(::GetWindowLongW(bar, GWL_STYLE)) : 0u) << c.style;
        if (!bar)
            continue;
        strip.MoveWindow(0, 0, 20, 150);
        CRect inside;
        ::GetWindowRect(bar, &inside);
        strip.ScreenToClient(&inside);
        EXPECT_EQ(c.inside, inside) << c.style;
        const UINT message = c.barStyle == 0x50000005 ? WM_VSCROLL : WM_HSCROLL;
        ::SendMessageW(strip.m_hWnd, message, MAKEWPARAM(SB_THUMBTRACK, 37), reinterpret_cast<LPARAM>(bar));
        EXPECT_TRUE(g_scrolled.hwnd == frame && g_scrolled.message == message &&
                    g_scrolled.wParam == MAKEWPARAM(SB_THUMBTRACK, 37) && g_scrolled.lParam == LPARAM(bar));
    }
    ::DestroyWindow(frame);
}
