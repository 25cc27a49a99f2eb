#include "model/TalPrefDlg.h"

#include "controls/KWMessageBox.h"
#include "framework/KWFileFilter.h"
#include "framework/KWRasterLib.h"
#include "model/TalPrefs.h"
#include "platform/classlib/FileDialog.h"
#include "resources/PrefsDialog.h"

#include <cwchar>

namespace {

// The start-up modes 0 to 3, in the order OK looks at the radios.
const int kStartUpRadios[] = {IDC_PREF_STARTUP_WIZARD, IDC_PREF_STARTUP_TEMPLATE, IDC_PREF_STARTUP_OPEN,
                              IDC_PREF_STARTUP_EMPTY};

}  // namespace

BEGIN_MESSAGE_MAP(CTalPrefDlg, CKWDialog)
    ON_BN_CLICKED(IDC_PREF_BROWSE, OnBrowse)
END_MESSAGE_MAP()

CTalPrefDlg::CTalPrefDlg(CTalPrefs& prefs, const CQMFormatInfo* formats, CWnd* pParentWnd)
    : CKWDialog(IDD_TAL_PREFERENCES, pParentWnd), m_prefs(prefs), m_formats(formats)
{
}

BOOL CTalPrefDlg::OnInitDialog()
{
    BOOL result = CKWDialog::OnInitDialog();
    for (int mode = 0; mode < 4; ++mode)
        m_startUp[mode].CreateImp(GetItemWindow(kStartUpRadios[mode]));
    m_showExportDialog.CreateImp(GetItemWindow(IDC_PREF_SHOW_EXPORT_DIALOG));
    m_browse.CreateImp(GetItemWindow(IDC_PREF_BROWSE));
    m_wysiwygFonts.CreateImp(GetItemWindow(IDC_PREF_WYSIWYG_FONTS));
    m_defaultFile.CreateImp(GetItemWindow(IDC_PREF_DEFAULT_FILE));
    m_imageCache.CreateImp(GetItemWindow(IDC_PREF_IMAGE_CACHE));

    const int32_t mode = m_prefs.GetStartUpMode();
    if (mode >= 0 && mode < 4)
        m_startUp[mode].SetCheck(BST_CHECKED);
    m_showExportDialog.SetCheck(m_prefs.GetShowExportDialog() ? BST_CHECKED : BST_UNCHECKED);
    m_wysiwygFonts.SetCheck(m_prefs.GetWysiwygFonts() ? BST_CHECKED : BST_UNCHECKED);
    m_defaultFile.SetText(m_prefs.GetDefaultFile());
    CString cache;
    cache.Format(L"%d", m_prefs.GetImageCache() / 1024);
    m_imageCache.SetText(cache);
    return result;
}

void CTalPrefDlg::OnOK()
{
    for (int mode = 0; mode < 4; ++mode) {
        if (m_startUp[mode].GetCheck() == BST_CHECKED) {
            m_prefs.SetStartUpMode(mode);
            break;
        }
    }
    m_prefs.SetShowExportDialog(m_showExportDialog.GetCheck() == BST_CHECKED);
    m_prefs.SetWysiwygFonts(m_wysiwygFonts.GetCheck() == BST_CHECKED);

    CString text;
    m_imageCache.GetText(text);
    // Read as the C library reads a number, but in 64 bits, so that a long
    // run of digits cannot wrap to a small or negative size.
    const long long megabytes = std::wcstoll(text, nullptr, 10);
    if (megabytes < 1) {
        KWMessageBox(L"You must enter valid number!", MB_OK, 0, nullptr, m_hWnd);
        m_imageCache.SetFocus();
        return;
    }
    const long long limit = CTalPrefs::kMaxImageCache / 1024;
    const int32_t cache = static_cast<int32_t>((megabytes < limit ? megabytes : limit) * 1024);
    if (cache != m_prefs.GetImageCache()) {
        ResizeImageCaches(cache);
        m_prefs.SetImageCache(cache);
    }
    m_defaultFile.GetText(text);
    m_prefs.SetDefaultFile(text);
    CKWDialog::OnOK();
}

void CTalPrefDlg::ResizeImageCaches(int32_t kilobytes)
{
    g_rasterLib.SetCacheMemory(kilobytes);
}

void CTalPrefDlg::OnBrowse()
{
    CString path;
    if (BrowseForTemplate(path))
        m_defaultFile.SetText(path);
}

bool CTalPrefDlg::BrowseForTemplate(CString& path)
{
    // The application's open filter of the report templates.
    const KWImportFilter filter = KWBuildImportFilter(m_formats, kKWFormatReportTemplate, 0, nullptr);
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, nullptr, this);
    dialog.m_ofn.lpstrFilter = filter.filter;
    dialog.m_ofn.nFilterIndex = filter.filterIndex;
    if (dialog.DoModal() != IDOK)
        return false;
    path = dialog.GetPathName();
    return !path.IsEmpty();
}
