// The services that the lower layers ask of the program through the seams
// they offer, installed when the program starts: the scan of the templates
// folder for the preferences' template list, the refresh of every page-template
// window when the template manager grew, the printer's page for printed
// pages, and the preferences' folders in which a relative path is looked for.
#include "editor/TalApplication.h"

#include "export/ComposePageSize.h"
#include "export/ExportImageFiles.h"
#include "framework/KWFolderFormatScan.h"
#include "model/TalPrefs.h"
#include "model/TalTemplateManager.h"

namespace {

void ScanTemplatesFolder(const wchar_t* folder, std::vector<CString>& paths)
{
    // The program's own format list knows the report templates' extension.
    CTalApplication* app = GetTalApp();
    if (app)
        ScanFolderForTemplates(folder, paths, true, app->GetFormatList());
}

void RefreshAllTemplatePanes()
{
    if (CTalApplication* app = GetTalApp())
        app->RefreshTemplateWindows();
}

// The application's printer page setup; a size never read from a printer
// becomes A4 there.
void PrinterPageSize(double& width, double& height)
{
    CTalApplication* app = GetTalApp();
    if (!app)
        return;
    if (app->m_paperWidth == 0)
        app->m_paperWidth = static_cast<int32_t>(kA4Width);
    if (app->m_paperHeight == 0)
        app->m_paperHeight = static_cast<int32_t>(kA4Height);
    width = app->m_paperWidth;
    height = app->m_paperHeight;
}

void PreferenceFolders(CString& openImageFolder, CString& templatesFolder)
{
    if (CTalApplication* app = GetTalApp()) {
        openImageFolder = app->GetPrefs().GetOpenImageFolder();
        templatesFolder = app->GetPrefs().GetTemplatesFolder();
    }
}

}  // namespace

void CTalApplication::InstallServices()
{
    CTalPrefs::SetTemplateScanner(&ScanTemplatesFolder);
    SetTemplateWindowsRefresher(&RefreshAllTemplatePanes);
    SetPrinterPageSizeSource(&PrinterPageSize);
    SetOpenImageFolderSource(&PreferenceFolders);
}
