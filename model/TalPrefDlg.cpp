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
    const int32_t mode = m_prefs.GetStartUpMode();
    if (mode >= 0 && mode < 4)
        ::CheckDlgButton(m_hWnd, kStartUpRadios[mode], BST_CHECKED);
    ::CheckDlgButton(m_hWnd, IDC_PREF_SHOW_EXPORT_DIALOG, m_prefs.GetShowExportDialog() ? BST_CHECKED : BST_UNCHECKED);
    ::CheckDlgButton(m_hWnd, IDC_PREF_WYSIWYG_FONTS, m_prefs.GetWysiwygFonts() ? BST_CHECKED : BST_UNCHECKED);
    ::SetDlgItemTextW(m_hWnd, IDC_PREF_DEFAULT_FILE, m_prefs.GetDefaultFile());
    CString cache;
    cache.Format(L"%d", m_prefs.GetImageCache() / 1024);
    ::SetDlgItemTextW(m_hWnd, IDC_PREF_IMAGE_CACHE, cache);
    return result;
}

void CTalPrefDlg::OnOK()
{
    for (int mode = 0; mode < 4; ++mode) {
        if (::IsDlgButtonChecked(m_hWnd, kStartUpRadios[mode]) == BST_CHECKED) {
            m_prefs.SetStartUpMode(mode);
            break;
        }
    }
    m_prefs.SetShowExportDialog(::IsDlgButtonChecked(m_hWnd, IDC_PREF_SHOW_EXPORT_DIALOG) == BST_CHECKED);
    m_prefs.SetWysiwygFonts(::IsDlgButtonChecked(m_hWnd, IDC_PREF_WYSIWYG_FONTS) == BST_CHECKED);

    CString text;
    GetDlgItemText(IDC_PREF_IMAGE_CACHE, text);
    // Read as the C library reads a number, but in 64 bits, so that a long
    // run of digits cannot wrap to a small or negative size.
    const long long megabytes = std::wcstoll(text, nullptr, 10);
    if (megabytes < 1) {
        KWMessageBox(L"You must enter valid number!", MB_OK, 0, nullptr, m_hWnd);
        ::SetFocus(GetItemWindow(IDC_PREF_IMAGE_CACHE));
        return;
    }
    const long long limit = CTalPrefs::kMaxImageCache / 1024;
    const int32_t cache = static_cast<int32_t>((megabytes < limit ? megabytes : limit) * 1024);
    if (cache != m_prefs.GetImageCache()) {
        ResizeImageCaches(cache);
        m_prefs.SetImageCache(cache);
    }
    GetDlgItemText(IDC_PREF_DEFAULT_FILE, text);
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
        ::SetDlgItemTextW(m_hWnd, IDC_PREF_DEFAULT_FILE, path);
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
