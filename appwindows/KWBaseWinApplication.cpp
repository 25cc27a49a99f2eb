#include "appwindows/KWBaseWinApplication.h"

#include "appwindows/KWWinMainFrame.h"
#include "docking/bars/QMXPDockManager.h"
#include "docking/frames/QMXPToolbarCustomize.h"
#include "docking/frames/QMXPWorkspace.h"
#include "docking/toolbars/QMXPMenuBar.h"
#include "docking/toolbars/QMXPVisualManager.h"
#include "framework/KWFolderScanner.h"
#include "framework/KWStartupMarks.h"
#include "appwindows/KWSplashScreen.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/FrameWnd.h"
#include "platform/classlib/StringResource.h"
#include "resources/Strings.h"

#include <commctrl.h>

#include <cstdlib>

IMPLEMENT_DYNAMIC(CKWBaseWinApplication, CWinApp)

namespace {
// The recent-file list's length.
constexpr UINT kRecentFiles = 4;
}  // namespace

CKWBaseWinApplication::CKWBaseWinApplication(LPCWSTR appName) : CWinApp(appName), CQMXPWorkspace(FALSE) {}

CKWBaseWinApplication::~CKWBaseWinApplication() = default;

BOOL CKWBaseWinApplication::InitInstance()
{
    KWMarkStartup("class library started");
    if (!InitOle())
        return FALSE;
    ::InitCommonControls();
    if (!CWinApp::InitInstance())
        return FALSE;
    m_keyStack.SetRoot(HKEY_CURRENT_USER);
    KWMarkStartup("OLE and common controls");

    UINT first = 0;
    UINT bitmapId = 0;
    GetSplashInfo(first, bitmapId);
    CKWSplashScreen::ShowSplashScreen(first, bitmapId);

    // Settings live under HKEY_CURRENT_USER\Software\<maker>\<product>.
    CString maker;
    CString product;
    AfxLoadStringResource(IDS_MAKER_NAME, maker);
    AfxLoadStringResource(IDS_PRODUCT_NAME, product);
    SetRegistryKey(maker);
    std::free(const_cast<LPWSTR>(m_pszProfileName));
    m_pszProfileName = ::_wcsdup(product);
    LoadStdProfileSettings(kRecentFiles);

    PrepareApp();
    KWMarkStartup("settings");
    CFrameWnd* frame = CreateMainFrame();
    if (!frame)
        return FALSE;
    m_pMainWnd = frame;
    KWMarkStartup("main frame made");

    InitializeApp();
    m_startedUp = true;
    // The document types came after the frame loaded the layout: their
    // menus take the user's stored edits now.
    auto* mainFrame = dynamic_cast<CKWWinMainFrame*>(frame);
    if (mainFrame && mainFrame->GetMenuBar() && QMXPGetWorkspace()) {
        // Each menu taken back lays the frame out: once, after the last, is enough.
        CQMXPLayoutHold hold(mainFrame);
        mainFrame->GetMenuBar()->LoadState(QMXPGetWorkspace()->GetRegSectionPath(L""));
    }
    KWMarkStartup("application initialised");
    EnableShellOpen();
    CWinApp::RegisterShellFileTypes(TRUE);
    KWMarkStartup("shell registration");

    // A frame made maximised stays so when the start asked for the normal
    // state, which would otherwise restore it.
    int show = m_nCmdShow;
    if ((show == SW_SHOWNORMAL || show == SW_SHOWDEFAULT || show == SW_SHOW) &&
        (m_pMainWnd->GetStyle() & WS_MAXIMIZE))
        show = SW_SHOWMAXIMIZED;
    m_pMainWnd->ShowWindow(show);
    m_pMainWnd->UpdateWindow();
    KWMarkStartup("main window shown");
    return TRUE;
}

int CKWBaseWinApplication::ExitInstance()
{
    // The shell registration needs nothing of the start. Before the frame was
    // made the settings were never read: written now, their defaults and a
    // tool bars' version without a layout would stand for the user's at the
    // next start.
    RegisterShellFileTypes();
    if (m_startedUp)
        TerminateApp();
    CQMXPVisualManager::SelectManagerClass(nullptr);
    const int code = CWinApp::ExitInstance();
    return m_startedUp ? code : kStartFailedExitCode;
}

void CKWBaseWinApplication::GetResetRequest(bool& controlHeld, UINT& scriptId, bool& skip)
{
    controlHeld = ::GetKeyState(VK_CONTROL) < 0;
    scriptId = GetDefaultScriptId();
    skip = false;
}

CString CKWBaseWinApplication::GetDataRoot()
{
    return GetAppDataFolder();
}

void CKWBaseWinApplication::UpdatePrinterMetrics(bool refresh)
{
    m_leftMargin = m_topMargin = m_rightMargin = m_bottomMargin = 0;
    m_printableWidth = m_printableHeight = 0;
    if (refresh)
        SelectPrinter(nullptr, nullptr);
    if (!m_hDevMode || !m_hDevNames)
        UpdatePrinterSelection(TRUE);
    CDC dc;
    if (!CreatePrinterDC(dc)) {
        ClearPageGeometry();
        return;
    }
    KWPrinterPage page;
    page.pixelsPerInchX = dc.GetDeviceCaps(LOGPIXELSX);
    page.pixelsPerInchY = dc.GetDeviceCaps(LOGPIXELSY);
    page.physicalWidth = dc.GetDeviceCaps(PHYSICALWIDTH);
    page.physicalHeight = dc.GetDeviceCaps(PHYSICALHEIGHT);
    page.offsetX = dc.GetDeviceCaps(PHYSICALOFFSETX);
    page.offsetY = dc.GetDeviceCaps(PHYSICALOFFSETY);
    page.printableWidth = dc.GetDeviceCaps(HORZRES);
    page.printableHeight = dc.GetDeviceCaps(VERTRES);
    if (page.pixelsPerInchX <= 0 || page.pixelsPerInchY <= 0) {
        ClearPageGeometry();
        return;
    }
    SetPageGeometry(page);
    if (auto* mode = m_hDevMode ? static_cast<DEVMODEW*>(::GlobalLock(m_hDevMode)) : nullptr) {
        m_orientation = static_cast<uint16_t>(mode->dmOrientation);
        m_scale = static_cast<uint16_t>(mode->dmScale);
        ::GlobalUnlock(m_hDevMode);
    }
}

void CKWBaseWinApplication::ShowCustomizeSheet()
{
    // Modeless: the sheet deletes itself when it closes; one at a time.
    if (g_pWndCustomize != nullptr) {
        g_pWndCustomize->SetForegroundWindow();
        return;
    }
    auto* pSheet = new CQMXPToolbarCustomize(dynamic_cast<CFrameWnd*>(m_pMainWnd), TRUE,
                                             QMXCUSTOMIZE_MENU_SHADOWS | QMXCUSTOMIZE_TEXT_LABELS |
                                                 QMXCUSTOMIZE_LOOK_2000 | QMXCUSTOMIZE_MENU_ANIMATIONS |
                                                 QMXCUSTOMIZE_NOHELP);
    pSheet->EnableUserDefinedToolbars(TRUE);
    // A sheet that cannot be made has deleted itself (PostNcDestroy).
    pSheet->Create();
}

void CKWBaseWinApplication::GetSplashInfo(UINT& first, UINT& bitmapId)
{
    first = 0;
    bitmapId = 0;
}

BOOL CKWBaseWinApplication::InitOle()
{
    if (AfxOleInit())
        return TRUE;
    AfxMessageBox(L"OLE Initialization Failed!");
    return FALSE;
}
