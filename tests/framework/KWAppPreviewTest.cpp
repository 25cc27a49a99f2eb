// The framework's print preview of a document window on the tests' PDF printer.
#include "KWAppTestSupport.h"

#include "docking/toolbars/QMXPToolbarButton.h"
#include "appwindows/KWPrintPreviewView.h"
#include "platform/classlib/PreviewView.h"

#include <gtest/gtest.h>

#include <winspool.h>

using namespace kwapp;

namespace {

std::wstring DefaultPrinter()
{
    wchar_t name[256] = {};
    DWORD size = 256;
    return ::GetDefaultPrinterW(name, &size) ? name : L"";
}

// The DEVNAMES and DEVMODE blocks of a printer that does not exist.
void SelectMissingPrinter(CWinApp& app)
{
    const wchar_t strings[] = L"winspool\0NoSuchPrinter\0None:\0";
    HGLOBAL names = ::GlobalAlloc(GHND, sizeof(DEVNAMES) + sizeof strings);
    auto* devNames = static_cast<DEVNAMES*>(::GlobalLock(names));
    const WORD first = sizeof(DEVNAMES) / sizeof(wchar_t);
    devNames->wDriverOffset = first;
    devNames->wDeviceOffset = first + 9;
    devNames->wOutputOffset = first + 23;
    std::memcpy(devNames + 1, strings, sizeof strings);
    ::GlobalUnlock(names);
    HGLOBAL mode = ::GlobalAlloc(GHND, sizeof(DEVMODEW));
    auto* devMode = static_cast<DEVMODEW*>(::GlobalLock(mode));
    ::lstrcpynW(devMode->dmDeviceName, L"NoSuchPrinter", CCHDEVICENAME);
    devMode->dmSize = sizeof(DEVMODEW);
    ::GlobalUnlock(mode);
    app.SelectPrinter(names, mode);
}

class AppPreview : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        ASSERT_EQ(L"PDF", DefaultPrinter()) << "the tests' CUPS printer \"PDF\" is the default printer";
        frame = NewDocument();
        ASSERT_NE(nullptr, frame);
        view = frame->GetActiveView();
        app->MainFrame()->MDIRestore(frame);
        kwwin::Pump();
        app->calls.clear();
    }
    CKWPrintPreviewView* Preview()
    {
        CView* active = frame->GetActiveView();
        return active && active->IsKindOf(RUNTIME_CLASS(CKWPrintPreviewView)) ? static_cast<CKWPrintPreviewView*>(active)
                                                                             : nullptr;
    }

    CAppTestFrame* frame = nullptr;
    CView* view = nullptr;
};

}  // namespace

TEST_F(AppPreview, OpensMaximisedAtTheStartPageAndClosesBeforeTheMainWindow)
{
    ASSERT_FALSE(frame->IsZoomed());
    app->MainFrame()->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW);
    CKWPrintPreviewView* preview = Preview();
    ASSERT_NE(nullptr, preview);
    EXPECT_EQ((std::vector<std::wstring>{L"Frame begin", L"Hook begin"}), app->calls);
    EXPECT_EQ(2u, preview->GetCurrentPage());
    CQMXPToolbarButton* pages = preview->GetToolBar().GetButton(preview->GetToolBar().CommandToIndex(AFX_ID_PREVIEW_NUMPAGE));
    ASSERT_NE(nullptr, pages);
    EXPECT_STREQ(L"&One Page", pages->m_strText);
    kwwin::Pump();
    EXPECT_TRUE(frame->IsZoomed());

    preview->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_NUMPAGE);
    EXPECT_EQ(2u, preview->GetPagesShown());
    EXPECT_TRUE(kwwin::WriteScreenshot(app->MainFrame()->m_hWnd, L"app_print_preview"));
    // The printed box lies where it lies on paper: from one inch in, with white paper around it.
    preview->UpdateWindow();
    HDC dc = ::GetDC(preview->m_hWnd);
    const CRect page = preview->CalcPageRect(0);
    auto at = [&](double x, double y) {
        return ::GetPixel(dc, page.left + int(x * page.Width()), page.top + int(y * page.Height()));
    };
    EXPECT_EQ(RGB(190, 210, 235), at(0.15, 0.15));
    EXPECT_EQ(RGB(255, 255, 255), at(0.95, 0.95));
    ::ReleaseDC(preview->m_hWnd, dc);
    preview->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_NUMPAGE);
    EXPECT_EQ(1u, preview->GetPagesShown());

    app->MainFrame()->SendMessage(WM_CLOSE);
    kwwin::Pump();
    ASSERT_NE(nullptr, app->m_pMainWnd);
    EXPECT_EQ(nullptr, Preview());
    EXPECT_EQ(view, frame->GetActiveView());
    EXPECT_EQ((std::vector<std::wstring>{L"Frame begin", L"Hook begin", L"Frame end", L"Hook end", L"Preview ended"}),
              app->calls);
}

TEST_F(AppPreview, WithoutAPrinterItFailsAndLeavesTheView)
{
    SelectMissingPrinter(*app);
    app->MainFrame()->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW);
    EXPECT_EQ(std::vector<std::wstring>{L"Command failed."}, app->messages);
    EXPECT_EQ(nullptr, Preview());
    EXPECT_EQ(view, frame->GetActiveView());
    // What was put away for the preview (the gallery, the frame's state) is
    // given back, as when a preview closes.
    EXPECT_EQ((std::vector<std::wstring>{L"Frame begin", L"Hook begin", L"Frame end", L"Hook end", L"Preview ended"}),
              app->calls);

    // Without a printer the page measures are 0 and the scale keeps its value.
    app->UpdatePrinterMetrics(false);
    EXPECT_EQ(0.0, app->m_leftMargin);
    EXPECT_EQ(0.0, app->m_printableWidth);
    EXPECT_EQ(0, app->m_paperWidth);
    EXPECT_EQ(100, app->m_scale);
}
