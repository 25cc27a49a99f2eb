#include "editor/WatermarkPropDlg.h"

#include "controls/KWColorChooser.h"
#include "controls/KWMessageBox.h"
#include "editor/DocProperties.h"
#include "editor/ReportPropControls.h"
#include "editor/TalApplication.h"
#include "editor/WatermarkDrawing.h"
#include "framework/KWIndexDecoder.h"
#include "framework/KWMeasure.h"
#include "framework/KWRasterLib.h"
#include "framework/KWSystemInfo.h"
#include "model/TalWatermark.h"
#include "document/TalDocument.h"
#include "resources/ReportPropDialogs.h"

#include <cwchar>

namespace {

constexpr double kInchesPerMillimetre = 0.03937007874015748;
constexpr double kMillimetresPerInch = 25.4;
// A new image fills this share of the page.
constexpr double kImageShareOfPage = 0.8;
constexpr int kInchUnit = CTalWatermark::kUnitInch;
constexpr int kMillimetreUnit = CTalWatermark::kUnitMillimetre;

const int kTextIds[] = {IDC_WM_TEXT_LABEL, IDC_WM_TEXT,       IDC_WM_FONT_LABEL,  IDC_WM_FONT,
                        IDC_WM_SIZE_LABEL, IDC_WM_SIZE,       IDC_WM_COLOR_LABEL, IDC_WM_COLOR};
const int kImageIds[] = {IDC_WM_IMAGE_LABEL, IDC_WM_IMAGE,      IDC_WM_BROWSE, IDC_WM_WIDTH_LABEL,
                         IDC_WM_WIDTH,       IDC_WM_HEIGHT_LABEL, IDC_WM_HEIGHT, IDC_WM_UNIT_LABEL,
                         IDC_WM_UNIT,        IDC_WM_CONSTRAIN};
const int kNumberIds[] = {IDC_WM_NUMBER_LABEL, IDC_WM_NUMBER};

void DrawWatermarkPreview(IKWGraphics* graphics, CKWImageControlImp* control, void* context)
{
    static_cast<CWatermarkPropDlg*>(context)->DrawPreview(graphics, control);
}

double ReadNumber(CKWEditControl& edit)
{
    CString text;
    edit.GetText(text);
    return std::wcstod(text, nullptr);
}

bool FileExists(const CString& path)
{
    const DWORD attributes = ::GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

BEGIN_MESSAGE_MAP(CWatermarkPropDlg, CKWDialog)
    ON_CBN_SELCHANGE(IDC_WM_TYPE, OnTypeChosen)
    ON_CBN_SELCHANGE(IDC_WM_FONT, OnFontChosen)
    ON_CBN_SELCHANGE(IDC_WM_SIZE, OnSizeChosen)
    ON_CBN_EDITCHANGE(IDC_WM_SIZE, OnSizeTyped)
    ON_CBN_SELCHANGE(IDC_WM_UNIT, OnUnitChosen)
    ON_EN_CHANGE(IDC_WM_NUMBER, OnNumberChanged)
    ON_EN_CHANGE(IDC_WM_TEXT, OnTextChanged)
    ON_EN_CHANGE(IDC_WM_IMAGE, OnImagePathChanged)
    ON_EN_CHANGE(IDC_WM_WIDTH, OnWidthChanged)
    ON_EN_CHANGE(IDC_WM_HEIGHT, OnHeightChanged)
    ON_BN_CLICKED(IDC_WM_CONSTRAIN, OnConstrain)
    ON_BN_CLICKED(IDC_WM_BROWSE, OnBrowse)
    ON_BN_CLICKED(IDC_WM_COLOR, OnColor)
    ON_COMMAND_RANGE(IDC_WM_PLACE_FIRST, IDC_WM_PLACE_LAST, OnPlace)
END_MESSAGE_MAP()

CWatermarkPropDlg::CWatermarkPropDlg(CTalWatermark* watermark, CDocProperties* sheet, CWnd* parent)
    : CKWDialog(IDD_TAL_WATERMARK, parent), m_watermark(watermark), m_sheet(sheet)
{
}

CWatermarkPropDlg::~CWatermarkPropDlg()
{
    if (m_font.m_hWnd)
        m_font.UnsubclassWindow();
}

CKWIndexDecoder& CWatermarkPropDlg::FontTable()
{
    static CKWIndexDecoder s_noDocument;
    CTalDocument* document = m_sheet ? m_sheet->GetDocument() : nullptr;
    return document ? document->GetProperties().GetFontTable() : s_noDocument;
}

bool CWatermarkPropDlg::BrowseImage(CString& path)
{
    return TalBrowseImageFile(path);
}

void CWatermarkPropDlg::SetEditNumber(CKWEditControl& edit, double value, const wchar_t* format)
{
    CString text;
    text.Format(format, value);
    edit.SetText(text);
}

BOOL CWatermarkPropDlg::OnInitDialog()
{
    CKWDialog::OnInitDialog();
    m_loading = true;
    CTalWatermark& mark = *m_watermark;
    const struct {
        CKWControl* control;
        int id;
    } bindings[] = {{&m_name, IDC_WM_NAME},     {&m_text, IDC_WM_TEXT},     {&m_image, IDC_WM_IMAGE},
                    {&m_width, IDC_WM_WIDTH},   {&m_height, IDC_WM_HEIGHT}, {&m_number, IDC_WM_NUMBER},
                    {&m_type, IDC_WM_TYPE},     {&m_size, IDC_WM_SIZE},
                    {&m_unit, IDC_WM_UNIT},     {&m_color, IDC_WM_COLOR},   {&m_constrain, IDC_WM_CONSTRAIN},
                    {&m_sendToFront, IDC_WM_SEND_TO_FRONT}};
    for (const auto& b : bindings)
        b.control->CreateImp(GetItemWindow(b.id));
    m_font.SubclassDlgItem(IDC_WM_FONT, this);
    TalFillFontNames(m_font, m_fontEntries);
    if (mark.m_pictureId != 0) {
        SIZE size = {};
        if (g_rasterLib.GetImageSize(static_cast<uint32_t>(mark.m_pictureId), size) && size.cy > 0)
            m_aspect = static_cast<double>(size.cx) / size.cy;
        m_imagePath = g_rasterLib.GetImagePath(static_cast<uint32_t>(mark.m_pictureId));
    }
    m_preview.Attach(IDC_PROP_PREVIEW, this);
    m_preview.SetDrawCallback(DrawWatermarkPreview, this);
    const UINT firstIcon = IsWindowsXPOrLater() ? IDI_WM_PLACE_XP_FIRST : IDI_WM_PLACE_PLAIN_FIRST;
    for (int i = 0; i < kPlaceCount; ++i) {
        m_places[i].SubclassDlgItem(IDC_WM_PLACE_FIRST + i, this);
        m_places[i].SetThemeHelper(&g_themeHelper);
        m_places[i].SetIconById(firstIcon + i, 0, 0);
    }
    CheckPlaceButtons();
    m_name.SetText(mark.m_name);
    m_sendToFront.SetCheck(mark.m_sendToFront ? BST_CHECKED : BST_UNCHECKED);
    m_constrain.SetCheck(BST_CHECKED);
    for (UINT id : {IDS_WM_TYPE_TEXT, IDS_WM_TYPE_IMAGE, IDS_WM_TYPE_PAGE_NUMBER})
        m_type.AddString(TalResourceString(id));
    m_type.SetCurSel(mark.m_kind);
    for (UINT id : {IDS_WM_UNIT_INCH, IDS_WM_UNIT_MM})
        m_unit.AddString(TalResourceString(id));
    m_unit.SetCurSel(kUnitRowInch);
    m_unitRow = kUnitRowInch;
    ShowKindControls();
    m_number.SetText(L"1");
    TalFillFontSizes(m_size);
    m_font.SetCurSel(0);
    switch (mark.m_kind) {
    case CTalWatermark::kText: {
        m_text.SetText(mark.m_text);
        TalShowFontName(m_font, m_fontEntries, FontTable(), mark.m_textFormat.m_font);
        CString size;
        size.Format(L"%d", mark.m_textFormat.m_size);
        const int row = m_size.FindStringExact(-1, size);
        m_size.SetCurSel(row);
        if (row < 0)
            m_size.SetText(size);
        m_color.SetColor(mark.m_textFormat.m_color);
        break;
    }
    case CTalWatermark::kImage: {
        m_image.SetText(m_imagePath);
        // Millimetres stay millimetres; every other code counts as inches,
        // with its numbers as they are.
        if (mark.m_unit == kMillimetreUnit) {
            m_unit.SetCurSel(kUnitRowMillimetre);
            m_unitRow = kUnitRowMillimetre;
        }
        SetEditNumber(m_width, mark.m_width, L"%g");
        SetEditNumber(m_height, mark.m_height, L"%g");
        m_constrain.SetCheck(mark.m_constrain ? BST_CHECKED : BST_UNCHECKED);
        break;
    }
    case CTalWatermark::kPageNumber:
        SetEditNumber(m_number, mark.m_firstNumber, L"%.0f");
        break;
    default:
        break;
    }
    m_initialized = true;
    m_loading = false;
    return TRUE;
}

void CWatermarkPropDlg::ShowKindControls()
{
    const int kind = m_watermark->m_kind;
    for (int id : kTextIds)
        ::ShowWindow(GetItemWindow(id), kind == CTalWatermark::kText ? SW_SHOW : SW_HIDE);
    for (int id : kImageIds)
        ::ShowWindow(GetItemWindow(id), kind == CTalWatermark::kImage ? SW_SHOW : SW_HIDE);
    for (int id : kNumberIds)
        ::ShowWindow(GetItemWindow(id), kind == CTalWatermark::kPageNumber ? SW_SHOW : SW_HIDE);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    RefreshPreview();
}

void CWatermarkPropDlg::CheckPlaceButtons()
{
    for (int i = 0; i < kPlaceCount; ++i)
        m_places[i].SetCheck(m_watermark->m_place == i ? BST_CHECKED : BST_UNCHECKED);
}

void CWatermarkPropDlg::OnTypeChosen()
{
    const int kind = m_type.GetCurSel();
    if (kind < 0 || (kind == m_watermark->m_kind && m_initialized))
        return;
    m_watermark->m_kind = kind;
    ShowKindControls();
}

void CWatermarkPropDlg::OnPlace(UINT id)
{
    m_watermark->m_place = static_cast<int32_t>(id - IDC_WM_PLACE_FIRST);
    CheckPlaceButtons();
    RefreshPreview();
}

void CWatermarkPropDlg::OnTextChanged()
{
    m_text.GetText(m_watermark->m_text);
    RefreshPreview();
}

void CWatermarkPropDlg::OnNumberChanged()
{
    if (m_loading)
        return;
    CString text;
    m_number.GetText(text);
    m_watermark->m_firstNumber = static_cast<int32_t>(std::wcstol(text, nullptr, 10));
    RefreshPreview();
}

void CWatermarkPropDlg::OnFontChosen()
{
    TalChosenFontIndex(m_font, FontTable(), m_watermark->m_textFormat.m_font);
    RefreshPreview();
}

void CWatermarkPropDlg::OnSizeChosen()
{
    const int row = m_size.GetCurSel();
    if (row >= 0 && row < kTalFontSizeCount)
        m_watermark->m_textFormat.m_size = kTalFontSizes[row];
    RefreshPreview();
}

void CWatermarkPropDlg::OnSizeTyped()
{
    m_watermark->m_textFormat.m_size = TalReadTypedSize(m_size, m_watermark->m_textFormat.m_size);
    RefreshPreview();
}

void CWatermarkPropDlg::OnColor()
{
    CKWColorChooser chooser;
    chooser.SetColor(m_color.GetColor());
    if (!chooser.DoModal(this))
        return;
    const COLORREF colour = chooser.GetColor();
    m_watermark->m_textFormat.m_color = colour;
    m_color.SetColor(colour);
    m_color.Redraw(false);
    RefreshPreview();
}

void CWatermarkPropDlg::OnWidthChanged()
{
    if (m_loading)
        return;
    m_loading = true;
    m_watermark->m_width = std::max(0.0, ReadNumber(m_width));
    if (m_constrain.GetCheck() == BST_CHECKED && m_aspect > 0) {
        m_watermark->m_height = m_watermark->m_width / m_aspect;
        SetEditNumber(m_height, m_watermark->m_height, L"%.2f");
    }
    m_lastEdited = 0;
    RefreshPreview();
    m_loading = false;
}

void CWatermarkPropDlg::OnHeightChanged()
{
    if (m_loading)
        return;
    m_loading = true;
    m_watermark->m_height = std::max(0.0, ReadNumber(m_height));
    if (m_constrain.GetCheck() == BST_CHECKED) {
        m_watermark->m_width = m_watermark->m_height * m_aspect;
        SetEditNumber(m_width, m_watermark->m_width, L"%.2f");
    }
    m_lastEdited = 1;
    RefreshPreview();
    m_loading = false;
}

void CWatermarkPropDlg::OnConstrain()
{
    if (m_loading || m_aspect <= 0)
        return;
    m_loading = true;
    if (m_lastEdited == 0) {
        m_watermark->m_height = m_watermark->m_width / m_aspect;
        SetEditNumber(m_height, m_watermark->m_height, L"%.2f");
    } else {
        m_watermark->m_width = m_watermark->m_height * m_aspect;
        SetEditNumber(m_width, m_watermark->m_width, L"%.2f");
    }
    m_loading = false;
    RefreshPreview();
}

void CWatermarkPropDlg::OnUnitChosen()
{
    const int row = m_unit.GetCurSel();
    // The unit already shown keeps its numbers.
    if (row < 0 || row == m_unitRow)
        return;
    m_unitRow = row;
    const bool inch = row == kUnitRowInch;
    const double factor = inch ? kInchesPerMillimetre : kMillimetresPerInch;
    m_watermark->m_unit = inch ? kInchUnit : kMillimetreUnit;
    m_watermark->m_width *= factor;
    m_watermark->m_height *= factor;
    m_loading = true;
    SetEditNumber(m_width, m_watermark->m_width, L"%.2f");
    SetEditNumber(m_height, m_watermark->m_height, L"%.2f");
    m_loading = false;
    RefreshPreview();
}

void CWatermarkPropDlg::OnBrowse()
{
    CString path;
    if (!BrowseImage(path))
        return;
    m_image.SetText(path);
    ApplyImagePath();
}

void CWatermarkPropDlg::OnImagePathChanged()
{
    ApplyImagePath();
}

void CWatermarkPropDlg::ApplyImagePath()
{
    CString path;
    m_image.GetText(path);
    if (!FileExists(path))
        return;
    const CString current =
        m_watermark->m_pictureId ? g_rasterLib.GetImagePath(static_cast<uint32_t>(m_watermark->m_pictureId)) : CString();
    if (path != current) {
        m_imagePath = path;
        m_watermark->m_pictureId = static_cast<int32_t>(g_rasterLib.GetPictureId(path));
        SIZE size = {};
        if (g_rasterLib.GetImageSize(static_cast<uint32_t>(m_watermark->m_pictureId), size) && size.cy > 0)
            m_aspect = static_cast<double>(size.cx) / size.cy;
        const bool inch = UnitIsInch();
        const double scale = inch ? 1.0 / kMillimetresPerInch : 1.0;
        const double pageWidth = m_sheet ? m_sheet->m_pageWidthMm * scale : 0;
        const double pageHeight = m_sheet ? m_sheet->m_pageHeightMm * scale : 0;
        double width = kImageShareOfPage * pageWidth;
        double height = kImageShareOfPage * pageHeight;
        if (m_aspect <= 1)
            width = height * m_aspect;
        else
            height = width / m_aspect;
        const bool wasLoading = m_loading;
        m_loading = true;
        SetEditNumber(m_width, width, L"%.2f");
        SetEditNumber(m_height, height, L"%.2f");
        m_loading = wasLoading;
        m_watermark->m_width = width;
        m_watermark->m_height = height;
        m_watermark->m_unit = inch ? kInchUnit : kMillimetreUnit;
    }
    RefreshPreview();
}

BOOL CWatermarkPropDlg::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_CHAR && m_hWnd) {
        const wchar_t c = static_cast<wchar_t>(msg->wParam);
        const HWND size = GetItemWindow(IDC_WM_SIZE);
        if (size && (msg->hwnd == size || ::IsChild(size, msg->hwnd)) &&
            !TalSizeCharAllowed(c, ::GetWindowTextLengthW(size)))
            return TRUE;
        if ((msg->hwnd == GetItemWindow(IDC_WM_WIDTH) || msg->hwnd == GetItemWindow(IDC_WM_HEIGHT)) &&
            c >= L' ' && c != L'.' && !(c >= L'0' && c <= L'9'))
            return TRUE;
    }
    return CKWDialog::PreTranslateMessage(msg);
}

void CWatermarkPropDlg::OnOK()
{
    CString name;
    m_name.GetText(name);
    if (name.IsEmpty()) {
        KWMessageBox(TalResourceString(IDS_WM_NAME_MISSING), MB_ICONEXCLAMATION, 0, nullptr, m_hWnd);
        m_name.SetFocus();
        return;
    }
    CTalWatermark& mark = *m_watermark;
    mark.m_name = name;
    mark.m_sendToFront = m_sendToFront.GetCheck() == BST_CHECKED ? 1 : 0;
    mark.m_kind = m_type.GetCurSel() < 0 ? mark.m_kind : m_type.GetCurSel();
    CKWEditControl* wrong = nullptr;
    switch (mark.m_kind) {
    case CTalWatermark::kText:
        m_text.GetText(mark.m_text);
        break;
    case CTalWatermark::kImage:
        mark.m_constrain = m_constrain.GetCheck() == BST_CHECKED ? 1 : 0;
        mark.m_width = ReadNumber(m_width);
        mark.m_height = ReadNumber(m_height);
        if (mark.m_width <= 0)
            wrong = &m_width;
        if (mark.m_height <= 0)
            wrong = &m_height;
        mark.m_unit = UnitIsInch() ? kInchUnit : kMillimetreUnit;
        break;
    case CTalWatermark::kPageNumber: {
        CString text;
        m_number.GetText(text);
        mark.m_firstNumber = static_cast<int32_t>(std::wcstol(text, nullptr, 10));
        if (mark.m_firstNumber < 1)
            wrong = &m_number;
        break;
    }
    default:
        break;
    }
    if (wrong) {
        TalWarnInvalidNumber(m_hWnd, *wrong);
        return;
    }
    CKWDialog::OnOK();
}

void CWatermarkPropDlg::DrawPreview(IKWGraphics* graphics, CKWImageControlImp* control)
{
    if (!graphics || !control || !m_sheet)
        return;
    CRect client;
    control->GetClientRect(client);
    const CRect page = TalDrawPreviewPage(*graphics, client, m_sheet->m_pageWidthMm, m_sheet->m_pageHeightMm);
    TalDrawWatermark(*graphics, page, *m_watermark, m_sheet->m_pageWidthMm, m_sheet->m_pageHeightMm, FontTable());
}
