// The application's commands that belong to no report: new reports from a
// template, the tool bars, closing windows, the preferences, print setup,
// the About box and the product's web pages; and its services to the
// report: the "Open Image" dialog and the default author and company.
#include "editor/TalApplication.h"

#include "controls/KWFontComboBox.h"
#include "controls/KWFontLists.h"
#include "controls/KWMessageBox.h"
#include "controls/KWToolBarManager.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "editor/TalDocFrame.h"
#include "editor/TalDocManager.h"
#include "editor/TalEggs.h"
#include "appwindows/KWAboutDialog.h"
#include "appwindows/KWAccessors.h"
#include "appwindows/KWImportFileDialog.h"
#include "appwindows/KWView.h"
#include "model/TalPrefDlg.h"
#include "model/TalPrefs.h"
#include "document/TalDocument.h"
#include "platform/classlib/CmdUI.h"
#include "platform/classlib/DocTemplate.h"
#include "platform/classlib/FrameWnd.h"
#include "platform/classlib/MessageMap.h"
#include "platform/classlib/StringResource.h"
#include "resources/Editor.h"
#include "resources/FrameworkDialogs.h"
#include "resources/Strings.h"

namespace {

enum : UINT {
    kNewFromTemplate = 32775,
    kWizard = 32789,
    kOpenPictureFolder = 32824,
    kPreferences = 32825,
    kToggleGallery = 32829,
    kCloseWindow = 32830,
    kCloseAll = 32831,
    kAddGalleryFolder = 32856,
    kCloseAllGalleryFolders = 32857,
    kCloseGalleryFolder = 32864,
    kGallerySelectAll = 32861,
    kToggleFormatToolBar = 32784,
    kToggleMainToolBar = 32787,
    kToggleTreeToolBar = 32788,
    kCustomizeToolBars = 32790,
    kToggleStatusBar = 32791,
    kPrintSetup = 57606,
    kAbout = 57664,
    kExit = 57665,
    kProductWebSite = 2525,
    kLatestUpdate = 2527,
};

// The report-template files (the format list's kind).
constexpr uint32_t kTemplateKind = 16384;
// The image files of the "Open Image" dialog.
constexpr uint32_t kImageKinds = 1025;
// The About box's colours.
constexpr COLORREF kAboutCreditsColor = 0x8CB085;
constexpr COLORREF kAboutTextColor = 0xFFFFFF;
const wchar_t kUpdatePage[] = L"www.kestrelworks.example/ostratallier/update/";

UINT ToolBarOfCommand(UINT command)
{
    switch (command) {
    case kToggleMainToolBar:
        return 59952;
    case kToggleTreeToolBar:
        return 59953;
    case kToggleFormatToolBar:
        return 59954;
    default:
        return 0;
    }
}

// The folder of a chosen file: the text before its last backslash.
CString FolderOf(const CString& path)
{
    const int slash = path.ReverseFind(L'\\');
    return slash >= 0 ? path.Left(slash) : CString();
}

}  // namespace

BEGIN_MESSAGE_MAP(CTalApplication, CKWBaseApplication)
    ON_COMMAND(kNewFromTemplate, OnFileNewFromTemplate)
    ON_UPDATE_COMMAND_UI(kNewFromTemplate, OnUpdateAlwaysEnabled)
    ON_COMMAND(kWizard, OnWizard)
    ON_UPDATE_COMMAND_UI(kWizard, OnUpdateAlwaysEnabled)
    ON_COMMAND(kOpenPictureFolder, OnOpenPictureFolder)
    ON_UPDATE_COMMAND_UI(kOpenPictureFolder, OnUpdateAlwaysEnabled)
    ON_COMMAND(kPreferences, OnPreferences)
    ON_UPDATE_COMMAND_UI(kPreferences, OnUpdateAlwaysEnabled)
    ON_COMMAND(kToggleGallery, OnToggleGallery)
    ON_UPDATE_COMMAND_UI(kToggleGallery, OnUpdateToggleGallery)
    ON_COMMAND(kCloseWindow, OnCloseWindow)
    ON_UPDATE_COMMAND_UI(kCloseWindow, OnUpdateCloseWindow)
    ON_COMMAND(kCloseAll, OnCloseAll)
    ON_UPDATE_COMMAND_UI(kCloseAll, OnUpdateCloseAll)
    ON_COMMAND(kAddGalleryFolder, OnAddGalleryFolder)
    ON_UPDATE_COMMAND_UI(kAddGalleryFolder, OnUpdateAlwaysEnabled)
    ON_COMMAND(kCloseAllGalleryFolders, OnCloseAllGalleryFolders)
    ON_UPDATE_COMMAND_UI(kCloseAllGalleryFolders, OnUpdateGalleryCommand)
    ON_COMMAND(kCloseGalleryFolder, OnCloseGalleryFolder)
    ON_UPDATE_COMMAND_UI(kCloseGalleryFolder, OnUpdateGalleryCommand)
    ON_COMMAND(kGallerySelectAll, OnGallerySelectAll)
    ON_UPDATE_COMMAND_UI(kGallerySelectAll, OnUpdateGallerySelectAll)
    ON_COMMAND_RANGE(kToggleFormatToolBar, kToggleTreeToolBar, OnToggleToolBar)
    ON_UPDATE_COMMAND_UI_RANGE(kToggleFormatToolBar, kToggleTreeToolBar, OnUpdateToggleToolBar)
    ON_COMMAND(kCustomizeToolBars, OnCustomizeToolBars)
    ON_COMMAND(kToggleStatusBar, OnToggleStatusBar)
    ON_UPDATE_COMMAND_UI(kToggleStatusBar, OnUpdateToggleStatusBar)
    ON_UPDATE_COMMAND_UI(kCustomizeToolBars, OnUpdateAlwaysEnabled)
    ON_COMMAND(kPrintSetup, OnPrintSetup)
    ON_COMMAND(kAbout, OnAbout)
    ON_COMMAND(kProductWebSite, OnProductWebSite)
    ON_UPDATE_COMMAND_UI(kProductWebSite, OnUpdateAlwaysEnabled)
    ON_COMMAND(kLatestUpdate, OnLatestUpdate)
    ON_UPDATE_COMMAND_UI(kLatestUpdate, OnUpdateAlwaysEnabled)
    ON_COMMAND(kExit, OnAppExit)
END_MESSAGE_MAP()

void CTalApplication::OnUpdateAlwaysEnabled(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
}

void CTalApplication::OnFileNewFromTemplate()
{
    CKWImportFileDialog dialog(GetFormatList(), kTemplateKind, 0, nullptr, false, nullptr, false);
    dialog.SetInitialDir(m_prefs->GetTemplatesFolder());
    if (dialog.DoModal() != IDOK)
        return;
    const CString path = dialog.GetPathName();
    if (auto* manager = dynamic_cast<CTalDocManager*>(m_pDocManager))
        manager->OpenTemplateFile(path);
    CString folder = FolderOf(path);
    if (folder.IsEmpty() || folder[folder.GetLength() - 1] != L'\\')
        folder += L'\\';
    m_prefs->SetTemplatesFolder(folder);
}

void CTalApplication::OnWizard()
{
    NewReportWithWizard();
}

void CTalApplication::OnOpenPictureFolder()
{
    KWMessageBox(L"CTalApplication::OnOpenPictureFolder");
}

void CTalApplication::OnPreferences()
{
    const bool wysiwyg = m_prefs->GetWysiwygFonts();
    CTalPrefDlg dialog(*m_prefs, GetFormatList(), m_pMainWnd);
    dialog.DoModal();
    CKWFontNameComboBox::SetOwnFaceNames(m_prefs->GetWysiwygFonts());
    if (m_prefs->GetWysiwygFonts() != wysiwyg)
        UpdateFontLists(false);
}

void CTalApplication::OnCloseWindow()
{
    CKWView* view = KWGetActiveView();
    if (CFrameWnd* frame = view ? view->GetParentFrame() : nullptr)
        frame->SendMessage(WM_CLOSE);
}

void CTalApplication::OnUpdateCloseWindow(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(KWGetActiveView() != nullptr);
}

void CTalApplication::OnCloseAll()
{
    if (!m_pDocManager)
        return;
    CFrameWnd* frame = KWGetActiveFrame();
    for (POSITION templates = m_pDocManager->GetFirstDocTemplatePosition(); templates;) {
        CDocTemplate* docTemplate = m_pDocManager->GetNextDocTemplate(templates);
        for (POSITION documents = docTemplate->GetFirstDocPosition(); documents;) {
            CDocument* document = docTemplate->GetNextDoc(documents);
            if (!document->CanCloseFrame(frame))
                return;
        }
    }
    m_pDocManager->CloseAllDocuments(FALSE);
}

void CTalApplication::OnUpdateCloseAll(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_pDocManager && m_pDocManager->GetOpenDocumentCount() > 0);
}

void CTalApplication::OnToggleToolBar(UINT id)
{
    m_toolBarManager.ToggleToolBar(ToolBarOfCommand(id));
}

void CTalApplication::OnUpdateToggleToolBar(CCmdUI* pCmdUI)
{
    CQMXPToolBar* bar = m_toolBarManager.FindToolBar(ToolBarOfCommand(pCmdUI->m_nID));
    pCmdUI->Enable(bar != nullptr);
    pCmdUI->SetCheck(bar && bar->IsVisible() == 1);
}

void CTalApplication::OnCustomizeToolBars()
{
    ShowCustomizeSheet();
}

void CTalApplication::OnToggleStatusBar()
{
    ToggleStatusBar();
}

void CTalApplication::OnUpdateToggleStatusBar(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(GetStatusBar() != nullptr);
    pCmdUI->SetCheck(IsStatusBarVisible());
}

void CTalApplication::OnPrintSetup()
{
    RunPrintSetup();
}

void CTalApplication::OnAbout()
{
    g_KWAboutCreditsColor = kAboutCreditsColor;
    g_KWAboutTextColor = kAboutTextColor;
    CKWAboutDialog dialog(IDD_KW_ABOUT, m_pMainWnd);
    AfxLoadStringResource(IDS_PRODUCT_NAME, dialog.m_firstLinkText);
    AfxLoadStringResource(IDS_PRODUCT_WEB, dialog.m_firstLinkTarget);
    AfxLoadStringResource(IDS_MAKER_NAME, dialog.m_secondLinkText);
    AfxLoadStringResource(IDS_MAKER_WEB, dialog.m_secondLinkTarget);
    dialog.SetOwnedObject(new CTalEggs);
    dialog.DoModal();
}

void CTalApplication::OnProductWebSite()
{
    CString page;
    AfxLoadStringResource(IDS_PRODUCT_WEB, page);
    OpenLink(page);
}

void CTalApplication::OnLatestUpdate()
{
    OpenLink(kUpdatePage);
}

void CTalApplication::OnAppExit()
{
    if (m_pMainWnd)
        m_pMainWnd->SendMessage(WM_CLOSE);
}

bool CTalApplication::ChooseImageFiles(std::vector<CString>& files)
{
    CString title;
    AfxLoadStringResource(IDS_TAL_OPEN_IMAGE, title);
    CKWImportFileDialog dialog(GetFormatList(), kImageKinds, 0, nullptr, true, title, true);
    dialog.SetInitialDir(m_prefs->GetAddPicturePath());
    if (dialog.DoModal() != IDOK)
        return false;
    dialog.GetSelectedFiles(files);
    if (!files.empty())
        m_prefs->SetAddPicturePath(FolderOf(files.front()));
    return true;
}

void CTalApplication::RefreshTemplateWindows()
{
    if (!m_pDocManager)
        return;
    for (POSITION templates = m_pDocManager->GetFirstDocTemplatePosition(); templates;) {
        CDocTemplate* docTemplate = m_pDocManager->GetNextDocTemplate(templates);
        for (POSITION documents = docTemplate->GetFirstDocPosition(); documents;) {
            auto* report = dynamic_cast<CTalDocument*>(docTemplate->GetNextDoc(documents));
            if (report && report->GetFrame())
                report->GetFrame()->RefreshTemplatesWnd();
        }
    }
}
