// The controls drawn over static items: the text label, the scrolled
// picture, the link, the image control and the file preview; and the
// scroller bar. Each is bound to a static of a shown window and driven by
// messages; what it draws is read back or recorded.
#include "ControlsTestResources.h"
#include "ControlsTestSupport.h"
#include "tests/support/WindowPixels.h"

#include "controls/KWHLinkStatic.h"
#include "controls/KWImageControl.h"
#include "controls/KWPreviewCtrl.h"
#include "controls/KWScrolledBitmapControl.h"
#include "controls/KWScrollerBar.h"
#include "controls/KWTextLabel.h"
#include "framework/KWGdipBitmap.h"
#include "platform/classlib/ScrollBar.h"
#include "tests/support/RecordingGraphics.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <vector>

using test_support::Capture;
using test_support::Pixels;
using controls_test::ShownWindow;
using test_support::CRecordingGraphics;

namespace {

HWND Label(const ShownWindow& host, UINT id, const wchar_t* text, CKWTextLabel& label)
{
    const HWND item = host.AddStatic(id, CRect(0, 24 * (id % 10), 150, 24 * (id % 10) + 20));
    label.Create(item);
    label.SetText(text);
    return item;
}

}  // namespace

TEST(DrawnStatics, ALabelDrawsTwelvePixelArialInBlackOnTheFaceAndKeepsItsOwnFace)
{
    ShownWindow host(CRect(400, 20, 600, 150));
    CKWTextLabel plain, arial, copied, courier;
    const HWND plainItem = Label(host, 1, L"Report 12", plain);
    const HWND arialItem = Label(host, 2, L"Report 12", arial);
    arial.SetFaceName(L"Arial");
    arial.SetFontSize(12);
    arial.SetTextColor(0);
    arial.SetFontStyle(0);
    // The face comes from a buffer the caller changes afterwards.
    wchar_t face[32] = L"Courier New";
    const HWND copiedItem = Label(host, 3, L"Report 12", copied);
    copied.SetFaceName(face);
    std::wcscpy(face, L"Arial");
    const HWND courierItem = Label(host, 4, L"Report 12", courier);
    courier.SetFaceName(L"Courier New");

    const Pixels shown = Capture(plainItem);
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), shown.At(shown.width - 1, shown.height - 1));
    COLORREF darkest = 0xFFFFFF;
    for (COLORREF pixel : shown.values)
        darkest = std::min(darkest, pixel);
    EXPECT_EQ(0u, darkest) << "black text";
    EXPECT_EQ(Capture(arialItem), shown);
    EXPECT_EQ(Capture(courierItem), Capture(copiedItem));
    EXPECT_FALSE(Capture(copiedItem) == shown);
    CKWTextLabel none;
    none.SetText(L"nothing");
    none.SetFaceName(L"Arial");
}

TEST(DrawnStatics, TheScrolledPictureComesBackFromTheBottomAndTheBackgroundFillsTheRest)
{
    ShownWindow host(CRect(400, 20, 600, 150));
    CKWScrolledBitmapControlImpWin credits;
    host.AddStatic(5, CRect(0, 0, 100, 60));
    ASSERT_TRUE(credits.SubclassDlgItem(5, &host.window));
    credits.SetImageResource(IDB_TEST_SQUARE);
    credits.UpdateSizes();
    using Box = CRecordingGraphics::Box;
    const struct {
        int offset;
        double top;
        std::vector<Box> filled;
    } cases[] = {
        {0, 0, {{64, 0, 36, 60}}},
        {-10, -10, {{64, 0, 36, 60}, {0, 54, 64, 6}}},
        {-65, 59, {{64, 0, 36, 60}, {0, 0, 64, 59}}},
        {-64 - 62, -2, {{64, 0, 36, 60}}},
        {-64 - 124, 60, {{64, 0, 36, 60}, {0, 0, 64, 60}}},
    };
    for (const auto& c : cases) {
        credits.SetOffset(c.offset);
        CRecordingGraphics graphics(96);
        credits.Draw(&graphics);
        ASSERT_EQ(1u, graphics.images.size());
        EXPECT_EQ(0, graphics.images[0].x);
        EXPECT_EQ(c.top, graphics.images[0].y) << c.offset;
        EXPECT_EQ(64, graphics.images[0].pixelsHigh);
        ASSERT_EQ(1u, graphics.fills.size());
        ASSERT_EQ(c.filled.size(), graphics.fills[0].size()) << c.offset;
        for (size_t i = 0; i < c.filled.size(); ++i) {
            const Box& box = graphics.fills[0][i];
            EXPECT_EQ(c.filled[i].y, box.y) << c.offset;
            EXPECT_EQ(c.filled[i].height, box.height) << c.offset;
            EXPECT_EQ(c.filled[i].width, box.width) << c.offset;
        }
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
    EXPECT_TRUE(::GetWindowLongW(item, GWL_STYLE) & SS_NOTIFY);
    link.SetText(L"Kestrel Works", L"www.kestrelworks.example");
    ::UpdateWindow(item);
    link.draws = 0;
    POINT middle = {60, 10};
    ::ClientToScreen(item, &middle);
    ::SetCursorPos(middle.x, middle.y);
    for (int moves = 0; moves < 3; ++moves)
        ::SendMessageW(item, WM_MOUSEMOVE, 0, MAKELPARAM(60, 10));
    EXPECT_EQ(1, link.draws);
    ::SendMessageW(item, WM_MOUSELEAVE, 0, 0);
    ::SendMessageW(item, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(2, link.draws);

    auto& opened = controls_test::App().openedLinks;
    opened.clear();
    ::SendMessageW(item, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    link.SetText(L"Nowhere", L"");
    ::SendMessageW(item, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(std::vector<std::wstring>{L"www.kestrelworks.example"}, opened);
}

namespace {

void CountingCallback(IKWGraphics*, CKWImageControlImp* control, void* context)
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
    const struct {
        UINT resource;  // 0: cleared
        CSize size;
    } cases[] = {{IDB_TEST_WIDE, {78, 26}}, {IDB_TEST_SQUARE, {64, 64}}, {0, {0, 0}}, {4242, {0, 0}}};
    for (const auto& c : cases) {
        if (c.resource)
            image.SetImageResource(c.resource);
        else
            image.ClearImage();
        CSize size(-1, -1);
        image.GetImageSize(size);
        EXPECT_EQ(c.size, size) << c.resource;
    }

    image.SetImageResource(IDB_TEST_WIDE);
    image.SetImageResource(IDB_TEST_SQUARE);
    image.UpdateImageSize();
    EXPECT_EQ(64, image.GetImp()->GetRect().left);
    EXPECT_EQ(64, image.GetImp()->GetRect().top);
    CRecordingGraphics drawn(96);
    image.GetImp()->Draw(&drawn);
    ASSERT_EQ(1u, drawn.images.size());
    EXPECT_EQ(0, drawn.images[0].x);
    EXPECT_EQ(64, drawn.images[0].pixelsWide) << "the second picture, unscaled";

    std::vector<CKWImageControlImp*> calls;
    image.SetDrawCallback(CountingCallback, &calls);
    CRecordingGraphics called(96);
    image.GetImp()->Draw(&called);
    EXPECT_EQ(std::vector<CKWImageControlImp*>{image.GetImp()}, calls);
    EXPECT_TRUE(called.Untouched()) << "the picture is not drawn under a callback";
    image.Invalidate();
    ::UpdateWindow(::GetDlgItem(host.window.m_hWnd, 7));
    EXPECT_EQ(2u, calls.size()) << "a paint draws through the callback";
}

namespace {

int g_previewsMade = 0;
SIZE g_previewSize = {0, 0};

// A red picture of the size asked for.
HBITMAP RedPreview(const wchar_t*, int reserved)
{
    EXPECT_EQ(0, reserved);
    ++g_previewsMade;
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), g_previewSize.cx, -g_previewSize.cy, 1, 32};
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    auto* pixels = static_cast<uint32_t*>(bits);
    std::fill(pixels, pixels + g_previewSize.cx * g_previewSize.cy, 0x00FF0000u);
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
    } cases[] = {{{50, 50}, 100, {25, 25, 75, 75}}, {{300, 150}, 104, {2, 27, 102, 77}}, {{96, 20}, 100, {2, 40, 98, 60}}};
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    const COLORREF red = RGB(255, 0, 0);
    UINT id = 10;
    for (const auto& c : cases) {
        const HWND item = host.AddStatic(id, CRect(0, 0, c.side, c.side));
        CKWPreviewCtrl preview;
        preview.SetPreviewMaker(RedPreview);
        ASSERT_TRUE(preview.SubclassDlgItem(id++, &host.window));
        g_previewSize = c.picture;
        preview.SetFile(L"C:\\pictures\\a.jpg", 1, true);
        const Pixels shown = Capture(item);
        const CRect& p = c.place;
        EXPECT_EQ(red, shown.At(p.left, p.top)) << c.side;
        EXPECT_EQ(red, shown.At(p.right - 1, p.bottom - 1)) << c.side;
        EXPECT_EQ(face, shown.At(p.left - 1, p.top - 1)) << c.side;
        EXPECT_EQ(face, shown.At(p.right, p.bottom)) << c.side;
        EXPECT_EQ(p, shown.Bounds(face)) << c.side;
        ::DestroyWindow(item);
    }

    const HWND item = host.AddStatic(20, CRect(0, 0, 100, 100));
    CKWPreviewCtrl preview;
    preview.SetPreviewMaker(RedPreview);
    ASSERT_TRUE(preview.SubclassDlgItem(20, &host.window));
    g_previewsMade = 0;
    preview.SetFile(L"C:\\pictures\\a.jpg", 0, true);
    EXPECT_EQ(0, g_previewsMade) << "not shown, not made";
    EXPECT_EQ(nullptr, preview.GetPreview());
    preview.SetFile(L"C:\\pictures\\a.jpg", 1, false);
    preview.SetFile(L"C:\\pictures\\a.jpg", 1, true);
    EXPECT_EQ(2, g_previewsMade) << "the same name is made again";
    preview.SetFile(L"", 1, true);
    EXPECT_EQ(2, g_previewsMade);
    EXPECT_EQ(nullptr, preview.GetPreview());
    ::DestroyWindow(item);
}

namespace {

struct Scrolled {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Scrolled& other) const
    {
        return message == other.message && wParam == other.wParam && lParam == other.lParam;
    }
};
std::vector<Scrolled> g_scrolled;

LRESULT CALLBACK RecordScrolling(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_HSCROLL || message == WM_VSCROLL)
        g_scrolled.push_back({message, wParam, lParam});
    return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

TEST(ScrollerBar, TheStripsSideChoosesItsScrollBarWhoseMessagesGoToTheOwner)
{
    WNDCLASSW owner = {};
    owner.lpfnWndProc = RecordScrolling;
    owner.hInstance = ::GetModuleHandleW(nullptr);
    owner.lpszClassName = L"OTScrollRecorder";
    ::RegisterClassW(&owner);
    const HWND frame = ::CreateWindowExW(0, L"OTScrollRecorder", L"", WS_POPUP | WS_VISIBLE, 400, 200, 300, 200,
                                         nullptr, nullptr, owner.hInstance, nullptr);
    const struct {
        DWORD style;
        DWORD barStyle;  // 0: no scroll bar
        UINT message;
        CRect inside;    // the scroll bar in a 20 x 150 strip
    } cases[] = {
        {CBRS_ALIGN_RIGHT, 0x50000005, WM_VSCROLL, {0, 0, 20, 150}},
        {CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT, 0x50000005, WM_VSCROLL, {1, 0, 20, 150}},
        {CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP, 0x50000004, WM_HSCROLL, {0, 1, 20, 150}},
        {CBRS_BORDER_TOP | CBRS_BORDER_BOTTOM, 0x50000004, WM_HSCROLL, {0, 1, 20, 149}},
        {CBRS_ALIGN_LEFT, 0, 0, {}},
    };
    for (const auto& c : cases) {
        CKWScrollerBar strip;
        ASSERT_TRUE(strip.Create(CWnd::FromHandle(frame), WS_CHILD | WS_VISIBLE | c.style, 0xE900));
        const HWND bar = ::GetDlgItem(strip.m_hWnd, CKWScrollerBar::kScrollBarId);
        if (!c.barStyle) {
            EXPECT_EQ(nullptr, bar);
            continue;
        }
        ASSERT_NE(nullptr, bar) << c.style;
        EXPECT_EQ(bar, strip.GetScrollBar()->m_hWnd);
        EXPECT_EQ(c.barStyle, DWORD(::GetWindowLongW(bar, GWL_STYLE))) << c.style;
        strip.MoveWindow(0, 0, 20, 150);
        CRect inside;
        ::GetWindowRect(bar, &inside);
        ::MapWindowPoints(nullptr, strip.m_hWnd, reinterpret_cast<POINT*>(&inside), 2);
        EXPECT_EQ(c.inside, inside) << c.style;
        g_scrolled.clear();
        const WPARAM code = MAKEWPARAM(SB_THUMBTRACK, 37);
        ::SendMessageW(strip.m_hWnd, c.message, code, reinterpret_cast<LPARAM>(bar));
        EXPECT_EQ((std::vector<Scrolled>{{c.message, code, reinterpret_cast<LPARAM>(bar)}}), g_scrolled);
    }
    ::DestroyWindow(frame);
}
