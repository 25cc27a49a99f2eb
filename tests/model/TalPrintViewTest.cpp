// A framework view printing a report through the report's print interface
// on the tests' PDF printer, and the report's OLE client item.
#include "TalDocumentTestSupport.h"

#include "framework/KWBrush.h"
#include "framework/KWFont.h"
#include "framework/KWGdiPlusDraw.h"
#include "framework/KWGraphics.h"
#include "model/TalCommander.h"
#include "model/TalDocProperties.h"
#include "model/TalPageTemplate.h"
#include "model/TalSection.h"
#include "model/TalTemplateManager.h"
#include "document/TalCntrItem.h"
#include "document/TalPrintIFace.h"
#include "tests/support/PrintedPdf.h"

#include <gtest/gtest.h>
#include <winspool.h>

#include <string>

using namespace taldoc;

namespace {

// A view that prints each page's number and notes how it was asked to print.
class CPrintingView : public CKWView {
    DECLARE_DYNCREATE(CPrintingView)
public:
    void OnDraw(CDC*) override {}
    void OnUpdate(CView*, LPARAM, CObject*) override { ++updates; }
    void BeginPrintPage(IKWGraphics* graphics, int page) override
    {
        auto* gdiplus = static_cast<CKWGdiPlusDraw*>(graphics);
        pages.push_back(page);
        dpi = graphics->GetDpi();
        preview = gdiplus->IsPreview();
    }
    void PrintPage(IKWGraphics* graphics, int page) override
    {
        const CKWFont font(L"Arial", 60, 1);
        const CKWBrush black;
        const std::wstring text = L"Page " + std::to_wstring(page);
        graphics->DrawStringAt(200, 200, text.c_str(), -1, font, &black, nullptr);
    }
    std::vector<int> pages;
    int dpi = 0;
    bool preview = true;
    int updates = 0;
};

IMPLEMENT_DYNCREATE(CPrintingView, CKWView)

std::wstring DefaultPrinter()
{
    wchar_t name[256] = {};
    DWORD size = 256;
    return ::GetDefaultPrinterW(name, &size) ? name : L"";
}

class TalPrintView : public ::testing::Test {
protected:
    void SetUp() override
    {
        // One page for each section: a page template of one text cell.
        g_TemplateManager.Clear();
        CTalTemplate* page = new CTalPageTemplate;
        page->SetName(L"Sheet");
        page->AddCell(CTalTemplate::kCellText, CKWDoubleRect(0.1, 0.1, 0.9, 0.9));
        g_TemplateManager.AddPageTemplate(page);
        app.reset(new CTalTestApp);
        app->StartUp();
        app->reportTemplate = new CMultiDocTemplate(kReportTemplateId, RUNTIME_CLASS(CTestTalDocument),
                                                    RUNTIME_CLASS(CTestDocFrame), RUNTIME_CLASS(CPrintingView));
        app->AddDocTemplate(app->reportTemplate);
        wizard.reset(new CTalBaseDocument);
        document = app->NewDocumentFrom(*wizard);
        ASSERT_NE(nullptr, document);
        POSITION position = document->GetFirstViewPosition();
        view = dynamic_cast<CPrintingView*>(document->GetNextView(position));
        ASSERT_NE(nullptr, view);
    }
    void TearDown() override
    {
        app.reset();
        wizard.reset();
        g_TemplateManager.Clear();
    }

    std::unique_ptr<CTalTestApp> app;
    std::unique_ptr<CTalBaseDocument> wizard;
    CTestTalDocument* document = nullptr;
    CPrintingView* view = nullptr;
};

TEST_F(TalPrintView, AThreePageReportPrintsThreePagesOnThePdfPrinter)
{
    ASSERT_EQ(L"PDF", DefaultPrinter()) << "the tests' CUPS printer \"PDF\" is the default printer";
    CTalDocProperties& properties = document->GetProperties();
    properties.m_insertTitlePage = 0;
    properties.m_insertContents = 0;
    CKWRefPtr<CTalSection> heading = properties.GetHeadingSection();
    TypeNote(*document, heading.Get(), L"Introduction");
    for (const wchar_t* name : {L"Findings", L"Outlook"}) {
        CKWRefPtr<CTalSection> section =
            document->GetCommander().AddChildSection(heading.Get(), name, nullptr, true, false, true, true);
        TypeNote(*document, section.Get(), name);
    }
    ASSERT_TRUE(document->ComposePages(true));
    ASSERT_EQ(3u, document->GetPageCount());

    const std::wstring title = L"KWViewPrint-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                               std::to_wstring(::GetTickCount());
    document->SetTitle(title.c_str());
    view->SendMessage(WM_COMMAND, ID_FILE_PRINT_DIRECT);
    EXPECT_EQ(std::vector<int>({1, 2, 3}), view->pages) << "from the range's first page, whatever was stored";
    EXPECT_FALSE(view->preview);
    ASSERT_GT(view->dpi, 0);
    auto* printIFace = dynamic_cast<CTalPrintIFace*>(document->GetPrintIFace());
    ASSERT_NE(nullptr, printIFace);
    EXPECT_DOUBLE_EQ(100.0 / view->dpi, printIFace->GetScaleY());
    EXPECT_GT(printIFace->GetScaleX(), 0.0);
    EXPECT_TRUE(app->messages.empty());

    std::wstring path;
    const std::string pdf = pdftest::WaitForPrinted(title, {}, path);
    ASSERT_FALSE(pdf.empty()) << "no PDF of the job in the printer's folder";
    EXPECT_EQ(3u, pdftest::PrintedPageCount(pdf));
    // The test command checks the copy with pdfinfo.
    wchar_t check[MAX_PATH] = {};
    if (::GetEnvironmentVariableW(L"OT_PRINT_CHECK_DIR", check, MAX_PATH))
        ::CopyFileW(path.c_str(), (std::wstring(check) + L"\\" + title + L".pages3.pdf").c_str(), FALSE);
    ::DeleteFileW(path.c_str());
}

// An embedded object of 1 by 0.5 inches.
class CFakeObject : public IOleObject {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** object) override
    {
        *object = (riid == IID_IUnknown || riid == IID_IOleObject) ? this : nullptr;
        return *object ? S_OK : E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP SetClientSite(IOleClientSite*) override { return E_NOTIMPL; }
    STDMETHODIMP GetClientSite(IOleClientSite**) override { return E_NOTIMPL; }
    STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return E_NOTIMPL; }
    STDMETHODIMP Close(DWORD) override { return S_OK; }
    STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
    STDMETHODIMP DoVerb(LONG, LPMSG, IOleClientSite*, LONG, HWND, LPCRECT) override { return S_OK; }
    STDMETHODIMP EnumVerbs(IEnumOLEVERB**) override { return E_NOTIMPL; }
    STDMETHODIMP Update() override { return S_OK; }
    STDMETHODIMP IsUpToDate() override { return S_OK; }
    STDMETHODIMP GetUserClassID(CLSID*) override { return E_NOTIMPL; }
    STDMETHODIMP GetUserType(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
    STDMETHODIMP SetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
    STDMETHODIMP GetExtent(DWORD, SIZEL* size) override
    {
        *size = SIZEL{2540, 1270};
        return S_OK;
    }
    STDMETHODIMP Advise(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP Unadvise(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
    STDMETHODIMP GetMiscStatus(DWORD, DWORD* status) override
    {
        *status = 0;
        return S_OK;
    }
    STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }
};

TEST_F(TalPrintView, AClientItemSitsTenUnitsInAtItsExtentAndRefreshesTheViews)
{
    auto* item = new CTalCntrItem(document);
    CRect position(1, 2, 3, 4);
    item->OnGetItemPosition(position);
    EXPECT_TRUE(position.IsRectEmpty()) << "no view yet";

    CFakeObject object;
    item->m_lpObject = &object;
    ASSERT_TRUE(item->DoVerb(OLEIVERB_SHOW, view));
    item->OnGetItemPosition(position);
    HDC dc = ::GetDC(view->m_hWnd);
    const CRect expected(10, 10, 10 + ::GetDeviceCaps(dc, LOGPIXELSX), 10 + ::GetDeviceCaps(dc, LOGPIXELSY) / 2);
    ::ReleaseDC(view->m_hWnd, dc);
    EXPECT_EQ(expected, position);

    const int updates = view->updates;
    item->OnChange(OLE_CHANGED, 0);
    EXPECT_EQ(updates + 1, view->updates);
    EXPECT_TRUE(document->IsModified());
    EXPECT_TRUE(item->CanActivate());
    item->m_lpObject = nullptr;
    document->RemoveItem(item);
    delete item;
}

}  // namespace
