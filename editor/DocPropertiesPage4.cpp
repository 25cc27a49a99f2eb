#include "editor/DocPropertiesPage4.h"

#include "controls/KWColorChooser.h"
#include "editor/ReportPropControls.h"
#include "framework/KWIndexDecoder.h"
#include "model/TalDocProperties.h"
#include "document/TalDocument.h"
#include "resources/ReportPropDialogs.h"

#include <cstdint>

namespace {

constexpr int kBoxIds[] = {IDC_GR_TITLE_PAGE, IDC_GR_CONTENTS, IDC_GR_NUMBERING, IDC_GR_GRAYSCALE,
                           IDC_GR_DESCRIPTIONS, IDC_GR_WATERMARKS, IDC_GR_USE_STYLES, IDC_GR_BOLD,
                           IDC_GR_ITALIC, IDC_GR_UNDERLINE, IDC_GR_LEFT, IDC_GR_CENTRE, IDC_GR_RIGHT};
enum { kUseStyles = 6, kBold = 7, kItalic, kUnderline, kLeft, kCentre, kRight };
constexpr UINT kStyleNames[] = {IDS_STYLE_TITLE,       IDS_STYLE_SUBJECT, IDS_STYLE_AUTHOR,
                                IDS_STYLE_COMPANY,     IDS_STYLE_DESCRIPTION, IDS_STYLE_DATE,
                                IDS_STYLE_IMAGE_NAME,  IDS_STYLE_SECTION, IDS_STYLE_CONTENT};

uint8_t* OptionField(CTalDocProperties& properties, int index)
{
    uint8_t* const fields[] = {&properties.m_insertTitlePage, &properties.m_insertContents,
                               &properties.m_numberSections,  &properties.m_grayscale,
                               &properties.m_useDescription,  &properties.m_insertWatermarks,
                               &properties.m_useTextStyles};
    return fields[index];
}

}  // namespace

BEGIN_MESSAGE_MAP(CDocPropertiesPage4, CTalPropertiesPage)
    ON_BN_CLICKED(IDC_GR_TITLE_PAGE, OnOptionClicked)
    ON_BN_CLICKED(IDC_GR_CONTENTS, OnOptionClicked)
    ON_BN_CLICKED(IDC_GR_NUMBERING, OnOptionClicked)
    ON_BN_CLICKED(IDC_GR_GRAYSCALE, OnOptionClicked)
    ON_BN_CLICKED(IDC_GR_DESCRIPTIONS, OnOptionClicked)
    ON_BN_CLICKED(IDC_GR_WATERMARKS, OnOptionClicked)
    ON_BN_CLICKED(IDC_GR_USE_STYLES, OnUseStyles)
    ON_BN_CLICKED(IDC_GR_BOLD, OnStyleBits)
    ON_BN_CLICKED(IDC_GR_ITALIC, OnStyleBits)
    ON_BN_CLICKED(IDC_GR_UNDERLINE, OnStyleBits)
    ON_BN_CLICKED(IDC_GR_LEFT, OnStyleBits)
    ON_BN_CLICKED(IDC_GR_CENTRE, OnStyleBits)
    ON_BN_CLICKED(IDC_GR_RIGHT, OnStyleBits)
    ON_BN_CLICKED(IDC_GR_COLOR, OnColor)
    ON_LBN_SELCHANGE(IDC_GR_STYLES, OnStyleChosen)
    ON_CBN_SELCHANGE(IDC_GR_FONT, OnFontOrTypedSize)
    ON_CBN_EDITCHANGE(IDC_GR_SIZE, OnFontOrTypedSize)
    ON_CBN_SELCHANGE(IDC_GR_SIZE, OnSizeChosen)
END_MESSAGE_MAP()

CDocPropertiesPage4::CDocPropertiesPage4() : CTalPropertiesPage(IDD_TAL_PROP_GENERATE) {}

CDocPropertiesPage4::~CDocPropertiesPage4()
{
    if (m_font.m_hWnd)
        m_font.UnsubclassWindow();
}

BOOL CDocPropertiesPage4::OnInitDialog()
{
    CTalDocProperties* properties = Properties();
    for (int i = 0; i < kFlagCount; ++i)
        m_boxes[i].CreateImp(::GetDlgItem(m_hWnd, kBoxIds[i]));
    m_styles.CreateImp(::GetDlgItem(m_hWnd, IDC_GR_STYLES));
    m_font.SubclassDlgItem(IDC_GR_FONT, this);
    m_size.CreateImp(::GetDlgItem(m_hWnd, IDC_GR_SIZE));
    m_color.CreateImp(::GetDlgItem(m_hWnd, IDC_GR_COLOR));
    TalFillFontNames(m_font, m_fontEntries);
    TalFillFontSizes(m_size);
    m_styles.ResetContent();
    for (int i = 0; i < kStyleCount && properties; ++i) {
        if (const CTalTextFormat* format = properties->GetTextFormat(i + 1, false))
            m_formats[i] = *format;
        m_styles.AddString(TalResourceString(kStyleNames[i]));
    }
    for (int i = 0; i < kOptionCount && properties; ++i)
        m_boxes[i].SetCheck(*OptionField(*properties, i) ? BST_CHECKED : BST_UNCHECKED);
    if (m_styles.GetCount() > 0) {
        m_styles.SetCurSel(0);
        ShowStyle();
    }
    OnUseStyles();
    m_initialized = true;
    return TRUE;
}

CTalTextFormat* CDocPropertiesPage4::SelectedStyle()
{
    const int row = m_styles.GetCurSel();
    return row >= 0 && row < kStyleCount ? &m_formats[row] : nullptr;
}

void CDocPropertiesPage4::ShowStyle()
{
    m_guard = false;
    const CTalTextFormat* style = SelectedStyle();
    CTalDocProperties* properties = Properties();
    if (style && properties) {
        CString size;
        size.Format(L"%d", style->m_size);
        TalShowFontName(m_font, m_fontEntries, properties->GetFontTable(), style->m_font);
        const int sizeRow = m_size.FindStringExact(-1, size);
        m_size.SetCurSel(sizeRow);
        if (sizeRow < 0)
            m_size.SetText(size);
        m_color.SetColor(style->m_color);
        m_color.Redraw(false);
        m_boxes[kBold].SetCheck(style->m_style & CTalTextFormat::kBold ? BST_CHECKED : BST_UNCHECKED);
        m_boxes[kItalic].SetCheck(style->m_style & CTalTextFormat::kItalic ? BST_CHECKED : BST_UNCHECKED);
        m_boxes[kUnderline].SetCheck(style->m_style & CTalTextFormat::kUnderline ? BST_CHECKED : BST_UNCHECKED);
        for (int align = 0; align < 3; ++align)
            m_boxes[kLeft + align].SetCheck(style->m_align == align ? BST_CHECKED : BST_UNCHECKED);
    }
    m_guard = true;
}

void CDocPropertiesPage4::EnableStyleControls()
{
    const bool enable = m_boxes[kUseStyles].GetCheck() == BST_CHECKED;
    m_styles.Enable(enable);
    m_font.EnableWindow(enable);
    m_size.Enable(enable);
    m_color.Enable(enable);
    for (int i = kBold; i <= kRight; ++i)
        m_boxes[i].Enable(enable);
}

void CDocPropertiesPage4::OnUseStyles()
{
    EnableStyleControls();
    SetModified(TRUE);
}

void CDocPropertiesPage4::OnOptionClicked()
{
    SetModified(TRUE);
}

void CDocPropertiesPage4::OnStyleBits()
{
    CTalTextFormat* style = SelectedStyle();
    if (!style || !m_guard)
        return;
    const struct {
        int box;
        uint8_t bit;
    } bits[] = {{kBold, CTalTextFormat::kBold},
                {kItalic, CTalTextFormat::kItalic},
                {kUnderline, CTalTextFormat::kUnderline}};
    for (const auto& b : bits) {
        if (m_boxes[b.box].GetCheck() == BST_CHECKED)
            style->m_style |= b.bit;
        else
            style->m_style &= static_cast<uint8_t>(~b.bit);
    }
    if (m_boxes[kLeft].GetCheck() == BST_CHECKED)
        style->m_align = CTalTextFormat::kAlignLeft;
    if (m_boxes[kRight].GetCheck() == BST_CHECKED)
        style->m_align = CTalTextFormat::kAlignRight;
    if (m_boxes[kCentre].GetCheck() == BST_CHECKED)
        style->m_align = CTalTextFormat::kAlignCenter;
    SetModified(TRUE);
}

void CDocPropertiesPage4::OnColor()
{
    CKWColorChooser chooser;
    chooser.SetColor(m_color.GetColor());
    if (!chooser.DoModal(this))
        return;
    const COLORREF colour = chooser.GetColor();
    m_color.SetColor(colour);
    m_color.Redraw(false);
    if (CTalTextFormat* style = SelectedStyle())
        style->m_color = colour;
    SetModified(TRUE);
}

void CDocPropertiesPage4::OnStyleChosen()
{
    ShowStyle();
}

void CDocPropertiesPage4::OnFontOrTypedSize()
{
    CTalTextFormat* style = SelectedStyle();
    CTalDocProperties* properties = Properties();
    if (style && properties && m_guard) {
        TalChosenFontIndex(m_font, properties->GetFontTable(), style->m_font);
        style->m_size = TalReadTypedSize(m_size, style->m_size);
    }
    SetModified(TRUE);
}

void CDocPropertiesPage4::OnSizeChosen()
{
    CTalTextFormat* style = SelectedStyle();
    const int row = m_size.GetCurSel();
    // No row chosen leaves the size as it is.
    if (style && m_guard && row >= 0 && row < kTalFontSizeCount)
        style->m_size = kTalFontSizes[row];
    SetModified(TRUE);
}

BOOL CDocPropertiesPage4::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_CHAR && m_hWnd) {
        const HWND box = ::GetDlgItem(m_hWnd, IDC_GR_SIZE);
        if (box && (msg->hwnd == box || ::IsChild(box, msg->hwnd)) &&
            !TalSizeCharAllowed(static_cast<wchar_t>(msg->wParam), ::GetWindowTextLengthW(box)))
            return TRUE;
    }
    return CTalPropertiesPage::PreTranslateMessage(msg);
}

BOOL CDocPropertiesPage4::OnKillActive()
{
    for (int i = 0; i < kFlagCount; ++i)
        m_flags[i] = m_boxes[i].GetCheck() == BST_CHECKED;
    return TRUE;
}

BOOL CDocPropertiesPage4::OnApply()
{
    CTalDocument* document = Document();
    CTalDocProperties* properties = Properties();
    if (!m_initialized || !properties)
        return TRUE;
    OnKillActive();
    const uint8_t grayscaleBefore = properties->m_grayscale;
    for (int i = 0; i < kOptionCount; ++i)
        *OptionField(*properties, i) = m_flags[i] ? 1 : 0;
    for (int i = 0; i < kStyleCount; ++i) {
        if (CTalTextFormat* format = properties->GetTextFormat(i + 1, false))
            *format = m_formats[i];
    }
    MarkDocumentModified();
    if ((grayscaleBefore != 0) != (properties->m_grayscale != 0))
        document->OnDefaultGrayscaleChanged();
    document->UpdateDefaultFont();
    return TRUE;
}
