#include "KWAppTestSupport.h"

#include "framework/KWBrush.h"
#include "framework/KWColor.h"
#include "framework/KWFont.h"
#include "framework/KWGraphics.h"
#include "appwindows/KWDocManager.h"
#include "appwindows/KWPrintIFace.h"
#include "appwindows/KWSplashScreen.h"
#include "appwindows/KWStatusBar.h"
#include "platform/classlib/DocTemplate.h"
#include "platform/classlib/PrintInfo.h"

namespace kwapp {

using kwwin::CTestSplitView;

const wchar_t kProgramKey[] = L"Software\\Kestrel Works\\OstraTallier";
const wchar_t kWorkspaceKey[] = L"Software\\Kestrel Works\\OstraTallier\\Kestrel Works\\Tallier\\Settings";

int CAppTestDoc::s_live = 0;
std::vector<std::wstring> CAppTestDoc::s_opened;

IMPLEMENT_DYNCREATE(CAppTestDoc, CKWDocument)
IMPLEMENT_DYNCREATE(CAppTestFrame, CKWSplitFrame)
IMPLEMENT_DYNCREATE(CAppTestView, CTestSplitView)

namespace {

// Three pages; the preview opens at the second.
class CAppTestPrintIFace : public CKWPrintIFace {
public:
    int GetPreviewStartPage() override { return 2; }
    void OnPreparePrinting(CPrintInfo* info) override { info->SetMaxPage(3); }
};

struct Pane {
    UINT id;
    UINT style;
    int width;
};
// The message pane, a stretching pane, two plain ones and the three key panes.
const Pane kPanes[] = {{0, 0, 220},  {0, SBPS_STRETCH, 300},    {0, 0, 40},
                       {0, 0, 40},   {ID_INDICATOR_OVR, 0, 30}, {ID_INDICATOR_NUM, 0, 30},
                       {ID_INDICATOR_CAPS, 0, 30}};

// The command line the tests start with.
wchar_t g_commandLine[] = L"";

}  // namespace

void CAppTestDoc::CreatePrintIFace()
{
    DeletePrintIFace();
    m_printIFace = new CAppTestPrintIFace;
}

BOOL CAppTestDoc::OnOpenDocument(LPCWSTR path)
{
    s_opened.push_back(path);
    return TRUE;
}

void CAppTestView::PrintPage(IKWGraphics* graphics, int page)
{
    const double inch = graphics->GetDpi();
    graphics->BeginPath();
    graphics->AddRectangle(inch, inch, 6 * inch, 9 * inch);
    graphics->FillPath(CKWBrush(CKWColor::FromRgb(190, 210, 235)));
    const CKWFont font(L"Arial", inch, 1);
    const CKWBrush ink(CKWColor::FromRgb(70, 110, 170));
    const std::wstring text = L"Page " + std::to_wstring(page);
    graphics->DrawStringAt(1.5 * inch, 1.5 * inch, text.c_str(), -1, font, &ink, nullptr);
}

void CAppTestFrame::BuildPanes()
{
    CView* view = GetActiveView();
    auto* item = dynamic_cast<CKWSplitItem*>(view);
    SetRoot(item);
    pane.Create(this, CRect(0, 0, 10, 10), 0x300);
    AddItem(item, &pane, false, true, 150, this, 0x310, false);
}

void CAppTestApp::PrepareApp()
{
    Note(L"PrepareApp");
    SetRegistryBase(L"Kestrel Works\\Tallier\\Settings");
    m_toolBarManager.AddToolBarInfo(IDR_KWAPP_TOOLBAR, 59954, IDR_KWAPP_MAIN, true, false);
}

void CAppTestApp::AddDocTemplates()
{
    Note(L"AddDocTemplates");
    AddDocTemplate(new CMultiDocTemplate(IDR_KWAPP_DOC, RUNTIME_CLASS(CAppTestDoc), RUNTIME_CLASS(CAppTestFrame),
                                         RUNTIME_CLASS(CAppTestView)));
}

CFrameWnd* CAppTestApp::CreateMainFrame()
{
    Note(L"CreateMainFrame");
    auto* frame = new CKWMainFrame;
    if (!frame->LoadFrame(IDR_KWAPP_MAIN)) {
        delete frame;
        return nullptr;
    }
    return frame;
}

CKWDocManager* CAppTestApp::CreateDocManager()
{
    Note(L"CreateDocManager");
    return CKWBaseApplication::CreateDocManager();
}

void CAppTestApp::GetSplashInfo(UINT& first, UINT& bitmapId)
{
    Note(L"GetSplashInfo");
    splashAskedAt = ::GetTickCount();
    first = bitmapId = 133;
}

void CAppTestApp::GetResetRequest(bool& controlHeld, UINT& scriptId, bool& skip)
{
    Note(L"GetResetRequest");
    CKWBaseApplication::GetResetRequest(controlHeld, scriptId, skip);
}

bool CAppTestApp::GetStatusBarPane(int index, UINT& id, UINT& style, int& width)
{
    if (index == 0)
        Note(L"GetStatusBarPane");
    if (index >= static_cast<int>(std::size(kPanes)))
        return false;
    id = kPanes[index].id;
    style = kPanes[index].style;
    width = kPanes[index].width;
    return true;
}

BOOL CAppTestApp::RegisterDocumentTypes(int index, CString& extension, CString& typeId, CString& typeName,
                                        UINT& flags)
{
    // An icon and the open verb; then everything.
    const wchar_t* const types[][2] = {{L".kwa", L"KWAppTests.A"}, {L".kwb", L"KWAppTests.B"}};
    if (index > 1)
        return FALSE;
    extension = types[index][0];
    typeId = types[index][1];
    typeName = L"Test Type";
    flags = index == 0 ? KW_REG_ICON | KW_REG_OPEN : 15;
    return TRUE;
}

BOOL CAppTestApp::OnDDECommand(LPWSTR command)
{
    ddeCommands.push_back(command);
    return TRUE;
}

int CAppTestApp::DoMessageBox(LPCWSTR prompt, UINT, UINT)
{
    messages.push_back(prompt);
    return IDOK;
}

int CAppTestApp::Count(const std::wstring& call) const
{
    return static_cast<int>(std::count(calls.begin(), calls.end(), call));
}

void DeleteKey(HKEY root, const wchar_t* path)
{
    ::RegDeleteTreeW(root, path);
    ::RegDeleteKeyW(root, path);
}

void WriteCurrentSettings()
{
    DWORD version = 0;
    ::RegSetKeyValueW(HKEY_CURRENT_USER, kWorkspaceKey, L"ToolBars Settings Version", REG_DWORD, &version,
                      sizeof version);
    HKEY key = nullptr;
    if (::RegCreateKeyW(HKEY_CURRENT_USER, (std::wstring(kWorkspaceKey) + L"\\QMXControlBarVersion").c_str(), &key) ==
        ERROR_SUCCESS)
        ::RegCloseKey(key);
}

void AppFixture::SetUp()
{
    DeleteKey(HKEY_CURRENT_USER, kProgramKey);
    WriteCurrentSettings();
    CAppTestDoc::s_opened.clear();
    ASSERT_TRUE(Start());
}

void AppFixture::TearDown()
{
    Stop();
    app.reset();
    EXPECT_EQ(0, CAppTestDoc::s_live);
    DeleteKey(HKEY_CURRENT_USER, kProgramKey);
    ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Kestrel Works");  // only when empty
    for (const wchar_t* key : {L".kwr", L"KWAppTests.Report", L".kwa", L".kwb", L"KWAppTests.A", L"KWAppTests.B"})
        DeleteKey(HKEY_CLASSES_ROOT, key);
}

bool AppFixture::Start()
{
    Stop();
    app.reset(new CAppTestApp);
    AfxWinInit(::GetModuleHandleW(nullptr), nullptr, g_commandLine, SW_SHOWNORMAL);
    return app->InitInstance() != FALSE;
}

void AppFixture::Stop()
{
    if (!app)
        return;
    if (CKWSplashScreen* splash = CKWSplashScreen::GetShowing())
        splash->HideSplashScreen();
    if (app->m_pMainWnd) {
        app->m_pMainWnd->SendMessage(WM_CLOSE);
        app->ExitInstance();
    }
    kwwin::Pump();
}

CAppTestFrame* AppFixture::NewDocument()
{
    app->OnFileNew();
    kwwin::Pump();
    auto* frame = dynamic_cast<CAppTestFrame*>(app->MainFrame()->MDIGetActive());
    if (frame)
        frame->BuildPanes();
    return frame;
}

}  // namespace kwapp
