#include "editor/TalApplication.h"

#include "controls/KWFontLists.h"
#include "controls/ThemeHelperST.h"
#include "controls/KWFontComboBox.h"
#include "document/TalClipboardData.h"
#include "editor/DocProperties.h"
#include "editor/ExportPropDlg.h"
#include "editor/StructedWizard.h"
#include "editor/TextProperties.h"
#include "editor/TalDocFrame.h"
#include "editor/TalDocManager.h"
#include "editor/TalDocTemplate.h"
#include "editor/TalMainFrame.h"
#include "editor/TalView.h"
#include "editor/TalWizardDocument.h"
#include "files/TalTemplateFolder.h"
#include "files/XmlErrorDlg.h"
#include "framework/KWFontFaceStorage.h"
#include "framework/KWGdiPlusStartup.h"
#include "framework/KWRasterLib.h"
#include "framework/KWStartupMarks.h"
#include "framework/KWSystemInfo.h"
#include "appwindows/KWAccessors.h"
#include "appwindows/KWStatusBar.h"
#include "model/TalBaseDocument.h"
#include "model/TalPageTemplate.h"
#include "model/TalPrefs.h"
#include "model/TalTemplateManager.h"
#include "model/TalTitlePageTemplate.h"
#include "docking/frames/QMXPRedrawHold.h"
#include "document/TalDocument.h"
#include "platform/classlib/CommandLineInfo.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/StringResource.h"
#include "resources/Editor.h"
#include "resources/Strings.h"
#include "resources/Toolbars.h"
#include "text/KWTextPanel.h"

#include <commctrl.h>
#include <cstddef>

#include <iterator>

IMPLEMENT_DYNAMIC(CTalApplication, CKWBaseApplication)

const wchar_t CTalApplication::kRegistrySection[] = L"Kestrel Works\\Tallier\\Settings";

CThemeHelperST g_themeHelper;
const wchar_t g_strAppShortName[] = L"Tallier";
const UINT g_msgImageItemLoaded = ::RegisterWindowMessageW(L"IMAGE_ITEM_LOADED__REPL_IMG");

namespace {

const wchar_t kTemplateProblemsHeading[] = L"Some page templates could not be read in full:";

// The tool bars the application registers: resource, control id, name.
struct ToolBarEntry {
    UINT resourceId;
    UINT controlId;
    UINT titleId;
};
const ToolBarEntry kToolBars[] = {
    {IDR_TAL_MAIN_TOOLBAR, ID_TAL_MAIN_TOOLBAR_BAR, IDS_TAL_MAIN_TOOLBAR},
    {IDR_TAL_EDIT_TREE_TOOLBAR, ID_TAL_EDIT_TREE_TOOLBAR_BAR, IDS_TAL_EDIT_TREE_TOOLBAR},
    {IDR_TAL_FORMAT_TEXT_TOOLBAR, ID_TAL_FORMAT_TEXT_TOOLBAR_BAR, IDS_TAL_FORMAT_TEXT_TOOLBAR},
};

// The two panes of the status bar.
constexpr int kFirstPaneWidth = 220;
constexpr int kSecondPaneWidth = 300;
constexpr UINT kStretchPane = 0x8000000;  // SBPS_STRETCH
// The display width above which the wide default settings are imported.
constexpr int kNarrowScreen = 800;
// The sample text of the font lists.
const wchar_t kFontSampleText[] = L"Some cool text";
// The shell command of "print without a dialog".
constexpr UINT kPrintDirect = 57608;

}  // namespace

CTalApplication* GetTalApp()
{
    return dynamic_cast<CTalApplication*>(AfxGetApp());
}

CTalApplication::CTalApplication() : CKWBaseApplication(L"OstraTallier"), m_prefs(std::make_unique<CTalPrefs>())
{
    KWMarkStartup("program loaded");
    SetRegistryBase(kRegistrySection);
    StartupGdiPlus();
    for (const ToolBarEntry& bar : kToolBars)
        m_toolBarManager.AddToolBarInfo(bar.resourceId, bar.controlId, bar.titleId, true, false);
    g_rasterLib.SetCacheMemory(m_prefs->GetImageCache());
}

CTalApplication::~CTalApplication()
{
    ShutdownGdiPlus();
}

BOOL CTalApplication::InitInstance()
{
    InstallServices();
    // Nothing goes on after a failed start: there may be no main window.
    if (!CKWBaseApplication::InitInstance())
        return FALSE;
    // The status bar's message pane shows the application's messages from the
    // start-up command on.
    if (CKWStatusBar* statusBar = GetStatusBar())
        SetMessageSink(statusBar->m_hWnd);
    // The library reads pictures without its configuration files: they are
    // written once the window is up (OnIdleHook).
    m_rasterLibraryWaits = true;
    // Said once, before the problems it causes (the page templates' pictures
    // are not kept either) and before any report opens.
    if (!g_rasterLib.HasStoreFolder())
        AfxMessageBoxText(IDS_NO_PICTURE_FOLDER,
                          L"No folder for pictures can be made, neither in the local application data nor in the "
                          L"temporary folder.\nPictures kept inside reports show as missing, and such reports "
                          L"cannot be saved.",
                          MB_OK | MB_ICONEXCLAMATION);
    if (!m_templateProblems.empty()) {
        ShowTemplateProblems(m_templateProblems);
        m_templateProblems.clear();
    }
    CCommandLineInfo info;
    ParseCommandLine(info);
    auto* main = dynamic_cast<CTalMainFrame*>(m_pMainWnd);
    if (main) {
        main->ProcessPendingDDECommands();
        main->DragAcceptFiles(TRUE);
    }
    const BOOL started = ProcessShellCommand(info);
    KWMarkStartup("start-up command done");
    return started;
}

BOOL CTalApplication::ProcessShellCommand(CCommandLineInfo& info)
{
    switch (info.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        if (!m_pMainWnd) {
            DoStartUpAction();
            return FALSE;
        }
        m_nCmdShow = SW_SHOWNORMAL;
        DoStartUpAction();
        return TRUE;
    case CCommandLineInfo::FileOpen:
        m_nCmdShow = SW_SHOWNORMAL;
        OpenCommandLineFile(info.m_strFileName);
        return TRUE;
    case CCommandLineInfo::FilePrint:
    case CCommandLineInfo::FilePrintTo:
        m_nCmdShow = SW_HIDE;
        if (OpenCommandLineFile(info.m_strFileName) && m_pMainWnd) {
            // The view's print finds the printer that "/pt" names in the
            // application's current command line.
            m_pCmdInfo = &info;
            m_pMainWnd->SendMessage(WM_COMMAND, kPrintDirect);
            m_pCmdInfo = nullptr;
        }
        return FALSE;
    case CCommandLineInfo::FileDDE:
        m_pCmdInfo = nullptr;
        m_nCmdShow = SW_SHOWNORMAL;
        return TRUE;
    case CCommandLineInfo::AppUnregister: {
        const BOOL removed = Unregister();
        if (!info.m_bRunEmbedded) {
            CString text;
            AfxLoadStringResource(removed ? IDS_TAL_REGISTRY_REMOVED : IDS_TAL_REGISTRY_NOT_REMOVED, text);
            AfxMessageBox(text);
        }
        ::PostQuitMessage(0);
        return TRUE;
    }
    default:
        return TRUE;
    }
}

void CTalApplication::DoStartUpAction()
{
    switch (m_prefs->GetStartUpMode()) {
    case 0:
        // A wizard cancelled after its first page's box was cleared still
        // leaves the empty report that the new start-up mode promises.
        if (!NewReportWithWizard() && m_prefs->GetStartUpMode() == 3)
            OnFileNew();
        break;
    case 1:
        OnFileNewFromTemplate();
        break;
    case 2:
        m_startUpOpen = true;
        OnFileOpen();
        break;
    case 3: {
        // The report window is built out of sight in the shown main window
        // and drawn once: every pane made, sized and maximised would
        // otherwise draw its frame and contents on the way.
        auto* frame = dynamic_cast<CMDIFrameWnd*>(m_pMainWnd);
        CQMXPRedrawHold hold(frame ? frame->m_hWndMDIClient : nullptr,
                             RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        OnFileNew();
        break;
    }
    default:
        break;
    }
}

BOOL CTalApplication::NewReportWithWizard()
{
    CStructedWizard wizard;
    const INT_PTR result = wizard.DoModal();
    // The document is the application's in both outcomes; a cancelled one goes here.
    std::unique_ptr<CTalWizardDocument> document(wizard.TakeWizardDocument());
    if (result != ID_WIZFINISH || !document)
        return FALSE;
    m_wizardDocument = document.get();
    m_wizardText = wizard.m_templatePath;
    OnFileNew();
    document->SetWizard(nullptr);
    m_wizardDocument = nullptr;
    m_wizardDocuments.push_back(std::move(document));
    return TRUE;
}

BOOL CTalApplication::OpenCommandLineFile(const CString& path)
{
    const CString extension = TalLowerExtension(path);
    if (extension == L"otd") {
        if (m_pDocManager)
            m_pDocManager->OpenDocumentFile(path);
        return TRUE;
    }
    if (extension != L"otn")
        return FALSE;
    auto* manager = dynamic_cast<CTalDocManager*>(m_pDocManager);
    CDocument* document = manager ? manager->OpenTemplateFile(path) : nullptr;
    // The document knows a template by its file and keeps its path out of the last file.
    return dynamic_cast<CTalDocument*>(document) != nullptr;
}

bool CTalApplication::TakeStartUpOpenFlag()
{
    const bool set = m_startUpOpen;
    m_startUpOpen = false;
    return set;
}

void CTalApplication::InitializeApp()
{
    CKWBaseApplication::InitializeApp();
    KWMarkStartup("documents and settings");
    EnumerateFonts();
    KWMarkStartup("fonts");
    m_templateProblems = TalLoadTemplateFolder(GetModuleDirectory() + L"DATA\\");
}

void CTalApplication::ShowTemplateProblems(const std::vector<CString>& lines)
{
    CXmlErrorDlg dialog(m_pMainWnd);
    dialog.SetHeading(kTemplateProblemsHeading);
    for (const CString& line : lines)
        dialog.AddLine(line);
    dialog.DoModal();
}

BOOL CTalApplication::IsIdleMessage(MSG* pMsg)
{
    if (pMsg && CKWTextPanel::IsCaretTick(*pMsg))
        return FALSE;
    return CKWBaseApplication::IsIdleMessage(pMsg);
}

void CTalApplication::OnIdleHook()
{
    // Pictures that only the clipboard held go once it holds something else,
    // and files a thread was still reading when released go now.
    ReleaseReplacedClipboardPictures();
    g_rasterLib.DeleteReleasedFiles();
    if (!m_rasterLibraryWaits)
        return;
    m_rasterLibraryWaits = false;
    g_rasterLib.StartRasterLibrary(GetDataFolder(true));
    KWMarkStartup("raster library started");
}

void CTalApplication::TerminateApp()
{
    ReleasePictCollectBar();
    m_toolBarManager.SaveVersion();
    CKWBaseApplication::TerminateApp();
}

void CTalApplication::SaveSettings()
{
    CString key;
    AfxLoadStringResource(IDS_REGISTRY_KEY, key);
    m_prefs->Save(key);
}

void CTalApplication::LoadSettings()
{
    CString key;
    AfxLoadStringResource(IDS_REGISTRY_KEY, key);
    m_prefs->Load(key);
    g_rasterLib.SetCacheMemory(m_prefs->GetImageCache());
    CKWFontNameComboBox::SetOwnFaceNames(m_prefs->GetWysiwygFonts());
    CKWFontNameComboBox::SetSampleText(kFontSampleText);
}

UINT CTalApplication::GetDefaultScriptId()
{
    DEVMODEW mode = {};
    mode.dmSize = sizeof(mode);
    const int width = ::EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &mode)
                          ? static_cast<int>(mode.dmPelsWidth)
                          : ::GetSystemMetrics(SM_CXSCREEN);
    return width > kNarrowScreen ? 1002 : 1001;
}

void CTalApplication::PrepareApp()
{
    SetRegistryBase(kRegistrySection);
}

void CTalApplication::AddDocTemplates()
{
    AddDocTemplate(new CTalAppDocTemplate(IDR_TAL_REPORT, RUNTIME_CLASS(CTalDocument), RUNTIME_CLASS(CTalDocFrame),
                                          RUNTIME_CLASS(CTalView)));
    AddDocTemplate(new CTalAppDocTemplate(IDR_TAL_TEMPLATE, RUNTIME_CLASS(CTalDocument),
                                          RUNTIME_CLASS(CTalDocFrame), RUNTIME_CLASS(CTalView)));
}

CFrameWnd* CTalApplication::CreateMainFrame()
{
    auto* frame = new CTalMainFrame;
    // A frame that cannot be made has deleted itself (PostNcDestroy).
    if (!frame->LoadFrame(IDR_TAL_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, nullptr))
        return nullptr;
    return frame;
}

BOOL CTalApplication::RegisterDocumentTypes(int index, CString& extension, CString& fileTypeId, CString& typeName,
                                            UINT& flags)
{
    static const struct {
        const wchar_t* extension;
        const wchar_t* fileTypeId;
        const wchar_t* typeName;
    } kTypes[] = {
        {L".otd", L"OstraTallier.Document", L"OstraTallier Document"},
        {L".otn", L"OstraTallier.Template", L"OstraTallier Template"},
    };
    if (index < 0 || index >= static_cast<int>(std::size(kTypes)))
        return FALSE;
    extension = kTypes[index].extension;
    fileTypeId = kTypes[index].fileTypeId;
    typeName = kTypes[index].typeName;
    flags = KW_REG_ICON | KW_REG_OPEN | KW_REG_PRINT | KW_REG_PRINTTO;
    return TRUE;
}

void CTalApplication::GetSplashInfo(UINT& first, UINT& bitmapId)
{
    first = 133;
    bitmapId = 133;
}

CString CTalApplication::GetHelpFolder()
{
    const CString folder = GetModuleDirectory();
    if (folder.IsEmpty())
        return folder;
    return folder + L"Help\\";
}

void CTalApplication::ShowImageProperties()
{
    if (auto* document = dynamic_cast<CTalDocument*>(KWGetActiveDocument()))
        document->ShowImageProperties();
}

bool CTalApplication::UseWysiwygFonts()
{
    return m_prefs->GetWysiwygFonts();
}

CKWDocManager* CTalApplication::CreateDocManager()
{
    return new CTalDocManager;
}

bool CTalApplication::GetStatusBarPane(int index, UINT& id, UINT& style, int& width)
{
    switch (index) {
    case 0:
        id = 0;
        style = 0;
        width = kFirstPaneWidth;
        return true;
    case 1:
        id = 0;
        style = kStretchPane;
        width = kSecondPaneWidth;
        return true;
    default:
        return false;
    }
}

void CTalApplication::EnumerateFonts()
{
    CDC printer;
    HDC dc = CreatePrinterDC(printer) ? printer.m_hDC : nullptr;
    HDC screen = dc ? nullptr : ::GetDC(nullptr);
    GetFontFaceStorage().FillFromDC(dc ? dc : screen);
    if (screen)
        ::ReleaseDC(nullptr, screen);
    SetCurrentFontLists(GetCurrentFontList(), &GetFontFaceStorage());
}

namespace {

// The Windows registered owner (else the user's name) or organisation.
CString RegisteredUser(bool organisation)
{
    CString owner;
    CString company;
    GetRegisteredUser(owner, company);
    return organisation ? company : owner;
}

}  // namespace

CString CTalApplication::GetAuthorName()
{
    return RegisteredUser(false);
}

CString CTalApplication::GetCompanyName()
{
    return RegisteredUser(true);
}

void CTalApplication::GetDefaultPageSize(int32_t& width, int32_t& height)
{
    width = m_paperWidth;
    height = m_paperHeight;
}

void CTalApplication::SetDefaultPageSize(int32_t width, int32_t height)
{
    m_paperWidth = width;
    m_paperHeight = height;
}

bool CTalApplication::RunExportOptionsDialog(CTalDocProperties& properties, bool& optionsChanged,
                                             bool& grayscaleChanged)
{
    CExportPropDlg dialog(&properties, m_pMainWnd);
    const bool accepted = dialog.DoModal() == IDOK;
    optionsChanged = accepted && dialog.OptionsChanged();
    grayscaleChanged = accepted && dialog.GrayscaleChanged();
    return accepted;
}

bool CTalApplication::RunTextProperties(const CString& caption, CTalTextProperties& properties)
{
    CTextFontRecord font;
    font.color = properties.color;
    font.face = properties.fontName;
    font.size = properties.charFormat.m_size;
    font.bold = (properties.charFormat.m_style & CKWCharFormat::kBold) ? 1 : 0;
    font.italic = (properties.charFormat.m_style & CKWCharFormat::kItalic) ? 1 : 0;
    font.underline = (properties.charFormat.m_style & CKWCharFormat::kUnderline) ? 1 : 0;
    CTextParagraphRecord paragraph;
    paragraph.alignment = properties.paraFormat.m_align;
    paragraph.firstLine = properties.paraFormat.m_firstLine;
    paragraph.left = properties.paraFormat.m_leftIndent;
    paragraph.right = properties.paraFormat.m_rightIndent;
    CTextProperties sheet(&font, &paragraph, caption, m_pMainWnd);
    if (sheet.DoModal() != IDOK)
        return false;

    properties.color = font.color;
    properties.fontName = font.face;
    properties.charFormat.m_size = static_cast<int16_t>(font.size);
    properties.charFormat.m_style = static_cast<uint8_t>((font.bold ? CKWCharFormat::kBold : 0) |
                                                         (font.italic ? CKWCharFormat::kItalic : 0) |
                                                         (font.underline ? CKWCharFormat::kUnderline : 0));
    const struct {
        uint8_t changed;
        uint32_t bit;
    } chars[] = {{font.boldChanged, CKWCharFormat::kBold},       {font.italicChanged, CKWCharFormat::kItalic},
                 {font.underlineChanged, CKWCharFormat::kUnderline}, {font.sizeChanged, CKWCharFormat::kMaskSize},
                 {font.colorChanged, CKWCharFormat::kMaskColor},  {font.faceChanged, CKWCharFormat::kMaskFont}};
    properties.charChanged = 0;
    for (const auto& field : chars)
        properties.charChanged |= field.changed ? field.bit : 0;
    properties.paraFormat.m_align = paragraph.alignment;
    properties.paraFormat.m_firstLine = static_cast<float>(paragraph.firstLine);
    properties.paraFormat.m_leftIndent = static_cast<float>(paragraph.left);
    properties.paraFormat.m_rightIndent = static_cast<float>(paragraph.right);
    properties.paraChanged = (paragraph.alignmentChanged ? CKWParaFormat::kMaskAlign : 0) |
                             (paragraph.leftChanged ? CKWParaFormat::kMaskLeftIndent : 0) |
                             (paragraph.rightChanged ? CKWParaFormat::kMaskRightIndent : 0) |
                             (paragraph.firstLineChanged ? CKWParaFormat::kMaskFirstLine : 0);
    return true;
}

void CTalApplication::RunPrintSetup()
{
    OnFilePrintSetup();
    UpdatePrinterMetrics(false);
}

void CTalApplication::SetPrinterOrientation(int32_t portrait)
{
    PRINTDLGW pd = {};
    pd.lStructSize = sizeof(pd);
    if (!GetPrinterDeviceDefaults(&pd) || !pd.hDevMode)
        return;
    // A block too short to hold the field is no device mode to turn.
    if (::GlobalSize(pd.hDevMode) < offsetof(DEVMODEW, dmOrientation) + sizeof(short))
        return;
    auto* mode = static_cast<DEVMODEW*>(::GlobalLock(pd.hDevMode));
    if (!mode)
        return;
    const short wanted = portrait == 1 ? DMORIENT_PORTRAIT : DMORIENT_LANDSCAPE;
    const bool changed = mode->dmOrientation != wanted || !(mode->dmFields & DM_ORIENTATION);
    mode->dmOrientation = wanted;
    mode->dmFields |= DM_ORIENTATION;
    ::GlobalUnlock(pd.hDevMode);
    // Measuring asks the printer's driver: only a turn costs it.
    if (changed)
        UpdatePrinterMetrics(false);
}

void CTalApplication::RunDocumentProperties(const CString& caption, CWnd* parent, CTalBaseDocument& document,
                                            int page)
{
    auto* report = dynamic_cast<CTalDocument*>(&document);
    if (!report)
        return;
    CDocProperties sheet(caption, parent, report, page < 0 ? 0 : static_cast<UINT>(page));
    sheet.DoModal();
}
