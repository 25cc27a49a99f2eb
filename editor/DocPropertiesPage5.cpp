#include "editor/DocPropertiesPage5.h"

#include "editor/ReportPropControls.h"
#include "editor/TalApplication.h"
#include "model/TalDocProperties.h"
#include "model/TalPaperSizes.h"
#include "document/TalDocument.h"
#include "platform/classlib/WinApp.h"
#include "resources/ReportPropDialogs.h"

#include <cstddef>
#include <cwchar>
#include <utility>

namespace {

constexpr int kRadioIds[] = {IDC_PG_PRINTER_SIZE, IDC_PG_PREDEFINED, IDC_PG_CUSTOM, IDC_PG_PORTRAIT,
                             IDC_PG_LANDSCAPE};
// Rows of the paper table measured in inches (Letter, Folio, Legal, Tabloid).
constexpr int kInchRows = 4;
constexpr double kMillimetresPerInch = 25.4;
// The application's print set-up command.
constexpr UINT kPrintSetupCommand = 57606;
constexpr double kA4Width = 210.0;
constexpr double kA4Height = 297.0;

// The printer defaults' device mode, locked; null without one (or one too
// short to hold the orientation).
DEVMODEW* LockPrinterMode(HGLOBAL& block)
{
    block = nullptr;
    CWinApp* app = AfxGetApp();
    PRINTDLGW pd = {};
    pd.lStructSize = sizeof(pd);
    if (!app || !app->GetPrinterDeviceDefaults(&pd) || !pd.hDevMode)
        return nullptr;
    if (::GlobalSize(pd.hDevMode) < offsetof(DEVMODEW, dmOrientation) + sizeof(short))
        return nullptr;
    block = pd.hDevMode;
    return static_cast<DEVMODEW*>(::GlobalLock(block));
}

CString FormatMillimetres(double value)
{
    CString text;
    text.Format(L"%.2f", value);
    return text;
}

}  // namespace

BEGIN_MESSAGE_MAP(CDocPropertiesPage5, CTalPropertiesPage)
    ON_BN_CLICKED(IDC_PG_PRINTER_SIZE, OnPrinterSize)
    ON_BN_CLICKED(IDC_PG_PREDEFINED, OnPredefinedSize)
    ON_BN_CLICKED(IDC_PG_CUSTOM, OnCustomSize)
    ON_BN_CLICKED(IDC_PG_PORTRAIT, OnOrientation)
    ON_BN_CLICKED(IDC_PG_LANDSCAPE, OnOrientation)
    ON_BN_CLICKED(IDC_PG_PRINT_SETUP, OnPrintSetup)
    ON_EN_CHANGE(IDC_PG_WIDTH, OnWidthChanged)
    ON_EN_CHANGE(IDC_PG_HEIGHT, OnHeightChanged)
    ON_CBN_SELCHANGE(IDC_PG_SIZES, OnSizeChosen)
END_MESSAGE_MAP()

CDocPropertiesPage5::CDocPropertiesPage5() : CTalPropertiesPage(IDD_TAL_PROP_PAGE) {}

bool CDocPropertiesPage5::ParsePageLength(const CString& text, bool inches, bool customSize, double& millimetres)
{
    const wchar_t* start = text;
    wchar_t* end = nullptr;
    double value = std::wcstod(start, &end);
    if (end == start || value <= 0) {
        millimetres = 0;
        return false;
    }
    while (*end == L' ' || *end == L'\t')
        ++end;
    // The unit is compared as typed: "In" is no inch.
    if (inches || (customSize && end[0] == L'i' && end[1] == L'n'))
        value *= kMillimetresPerInch;
    millimetres = value;
    return true;
}

BOOL CDocPropertiesPage5::OnInitDialog()
{
    m_guard = false;
    for (int i = 0; i < kRadioCount; ++i)
        m_radios[i].CreateImp(::GetDlgItem(m_hWnd, kRadioIds[i]));
    m_width.CreateImp(::GetDlgItem(m_hWnd, IDC_PG_WIDTH));
    m_height.CreateImp(::GetDlgItem(m_hWnd, IDC_PG_HEIGHT));
    m_sizes.CreateImp(::GetDlgItem(m_hWnd, IDC_PG_SIZES));
    for (int row = 0; row < GetPaperSizeCount(); ++row)
        m_sizes.AddString(FormatPaperSizeLabel(row));
    m_sizes.SetCurSel(kTalPaperRowA4);
    if (CTalDocProperties* properties = Properties()) {
        switch (properties->GetPaperKind()) {
        case CTalDocProperties::kPaperTable:
            m_radios[kPredefined].SetCheck(BST_CHECKED);
            m_sizes.SetCurSel(properties->GetPaperIndex());
            m_width.SetText(GetPaperWidthText(properties->GetPaperIndex()));
            m_height.SetText(GetPaperHeightText(properties->GetPaperIndex()));
            m_width.Enable(false);
            m_height.Enable(false);
            break;
        case CTalDocProperties::kPaperPrint: {
            m_radios[kPrinter].SetCheck(BST_CHECKED);
            m_sizes.Enable(false);
            m_width.Enable(false);
            m_height.Enable(false);
            CString width, height;
            properties->GetPageSizeText(false, width, height);
            m_width.SetText(width);
            m_height.SetText(height);
            break;
        }
        case CTalDocProperties::kPaperCustom:
            m_radios[kCustom].SetCheck(BST_CHECKED);
            m_width.SetText(properties->GetCustomWidthText());
            m_height.SetText(properties->GetCustomHeightText());
            m_sizes.Enable(false);
            break;
        default:
            break;
        }
        m_radios[properties->GetPortrait() == 1 ? kPortrait : kLandscape].SetCheck(BST_CHECKED);
    }
    OnKillActive();
    if (m_checked[kLandscape]) {
        SwapEditTexts();
        OnKillActive();
    }
    m_initialized = true;
    m_guard = true;
    SetModified(FALSE);
    return TRUE;
}

void CDocPropertiesPage5::SwapEditTexts()
{
    CString width, height;
    m_width.GetText(width);
    m_height.GetText(height);
    m_width.SetText(height);
    m_height.SetText(width);
}

BOOL CDocPropertiesPage5::OnKillActive()
{
    for (int i = 0; i < kRadioCount; ++i)
        m_checked[i] = m_radios[i].GetCheck() == BST_CHECKED;
    m_row = m_sizes.GetCurSel();
    m_width.GetText(m_widthText);
    m_height.GetText(m_heightText);
    const bool inches = m_checked[kPredefined] && m_row >= 0 && m_row < kInchRows;
    double width = 0;
    double height = 0;
    const bool widthValid = ParsePageLength(m_widthText, inches, m_checked[kCustom], width);
    const bool heightValid = ParsePageLength(m_heightText, inches, m_checked[kCustom], height);
    if (CDocProperties* sheet = Sheet()) {
        sheet->m_pageWidthMm = width;
        sheet->m_pageHeightMm = height;
    }
    if (widthValid && heightValid)
        return TRUE;
    if (m_guard)
        TalWarnInvalidNumber(m_hWnd, heightValid ? static_cast<CKWControl&>(m_width) : m_height);
    return FALSE;
}

BOOL CDocPropertiesPage5::OnApply()
{
    CTalDocProperties* properties = Properties();
    if (!m_initialized || !properties)
        return TRUE;
    m_guard = true;
    const bool valid = OnKillActive() != FALSE;
    m_guard = false;
    MarkDocumentModified();
    const int32_t portrait = m_checked[kPortrait] ? 1 : 0;
    properties->SetPortrait(portrait);
    properties->m_printOrientation = portrait;
    if (m_checked[kPrinter]) {
        properties->SetPaperKind(CTalDocProperties::kPaperPrint);
    } else if (m_checked[kPredefined]) {
        properties->SetPaperKind(CTalDocProperties::kPaperTable);
        properties->SetPaperIndex(m_row);
    } else if (m_checked[kCustom] && valid) {
        // Sizes the user was told are wrong are not stored. The edits show
        // the page turned; the document keeps the upright sizes and turns
        // them by its orientation.
        properties->SetPaperKind(CTalDocProperties::kPaperCustom);
        properties->SetCustomWidthText(portrait ? m_widthText : m_heightText);
        properties->SetCustomHeightText(portrait ? m_heightText : m_widthText);
    }
    // The page goes on following the user's edits until the sheet closes.
    m_guard = true;
    return TRUE;
}

void CDocPropertiesPage5::OnCancel()
{
    // The printer goes back to the report's orientation.
    if (const CTalDocProperties* properties = Properties())
        SetPrinterOrientation(properties->GetPortrait() == 1);
    CTalPropertiesPage::OnCancel();
}

BOOL CDocPropertiesPage5::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_CHAR && m_hWnd) {
        const HWND focus = ::GetFocus();
        if (focus && (focus == ::GetDlgItem(m_hWnd, IDC_PG_WIDTH) || focus == ::GetDlgItem(m_hWnd, IDC_PG_HEIGHT))) {
            const wchar_t c = static_cast<wchar_t>(msg->wParam);
            if (!(c >= L'0' && c <= L'9') && c >= L' ' && c != L'.')
                return TRUE;
        }
    }
    return CTalPropertiesPage::PreTranslateMessage(msg);
}

void CDocPropertiesPage5::OnPrinterSize()
{
    SetModified(TRUE);
    m_sizes.Enable(false);
    m_width.Enable(false);
    m_height.Enable(false);
    double width = 0;
    double height = 0;
    if (CTalDocument* document = Document())
        document->GetDefaultPageSize(width, height);
    if (width == 0)
        width = kA4Width;
    if (height == 0)
        height = kA4Height;
    if (m_checked[kLandscape])
        std::swap(width, height);
    m_width.SetText(FormatMillimetres(width));
    m_height.SetText(FormatMillimetres(height));
}

void CDocPropertiesPage5::OnPredefinedSize()
{
    SetModified(TRUE);
    m_sizes.Enable(true);
    m_width.Enable(false);
    m_height.Enable(false);
    OnSizeChosen();
}

void CDocPropertiesPage5::OnCustomSize()
{
    SetModified(TRUE);
    m_sizes.Enable(false);
    m_width.Enable(true);
    m_height.Enable(true);
}

void CDocPropertiesPage5::OnSizeChosen()
{
    const int row = m_sizes.GetCurSel();
    CString width = GetPaperWidthText(row);
    CString height = GetPaperHeightText(row);
    if (m_radios[kPortrait].GetCheck() != BST_CHECKED)
        std::swap(width, height);
    m_width.SetText(width);
    m_height.SetText(height);
}

void CDocPropertiesPage5::OnWidthChanged()
{
    if (!m_guard)
        return;
    m_width.GetText(m_widthText);
    SetModified(TRUE);
}

void CDocPropertiesPage5::OnHeightChanged()
{
    if (!m_guard)
        return;
    m_height.GetText(m_heightText);
    SetModified(TRUE);
}

void CDocPropertiesPage5::OnOrientation()
{
    if (!m_guard)
        return;
    const bool portrait = m_radios[kPortrait].GetCheck() == BST_CHECKED;
    if (portrait == m_checked[kPortrait])
        return;
    m_guard = false;
    SwapEditTexts();
    OnKillActive();
    m_guard = true;
    SetPrinterOrientation(portrait);
    SetModified(TRUE);
}

void CDocPropertiesPage5::OnPrintSetup()
{
    if (CWnd* main = AfxGetMainWnd())
        main->SendMessage(WM_COMMAND, kPrintSetupCommand, 0);
    const bool portrait = GetPrinterOrientation() == DMORIENT_PORTRAIT;
    m_radios[kPortrait].SetCheck(portrait ? BST_CHECKED : BST_UNCHECKED);
    m_radios[kLandscape].SetCheck(portrait ? BST_UNCHECKED : BST_CHECKED);
    OnOrientation();
    if (m_radios[kPrinter].GetCheck() == BST_CHECKED)
        OnPrinterSize();
}

void CDocPropertiesPage5::SetPrinterOrientation(bool portrait)
{
    // The application measures the turned paper too, so that a preview
    // opened next composes on it.
    if (CTalApplication* app = GetTalApp())
        app->SetPrinterOrientation(portrait ? 1 : 0);
}

int CDocPropertiesPage5::GetPrinterOrientation()
{
    HGLOBAL block = nullptr;
    int orientation = 0;
    if (DEVMODEW* mode = LockPrinterMode(block)) {
        orientation = mode->dmOrientation;
        ::GlobalUnlock(block);
    }
    return orientation;
}
