#include "editor/TextProperties.h"

#include "controls/KWColorChooser.h"
#include "controls/KWMessageBox.h"
#include "framework/KWFontFaceStorage.h"
#include "framework/KWMeasure.h"
#include "platform/classlib/DataExchange.h"
#include "platform/classlib/MessageMap.h"
#include "platform/classlib/StringResource.h"
#include "resources/Editor.h"
#include "resources/TextPropertiesDialog.h"

#include <cwchar>
#include <cwctype>

namespace {

// Indents are shown and typed in millimetres, stored in tenths of them.
constexpr int kMillimetres = 8;

CString FormatIndent(double value)
{
    CString text;
    FormatMeasure(text, value, kMillimetres, true);
    return text;
}

// The text begins (after blanks) with a number.
bool StartsWithNumber(const wchar_t* text)
{
    while (std::iswspace(*text))
        ++text;
    wchar_t* end = nullptr;
    std::wcstod(text, &end);
    return end != text;
}

// A user's change of a field: its flag set, the sheet's Apply enabled; not
// while the page fills its controls.
void MarkChanged(CPropertyPage& page, bool initialised, uint8_t& flag)
{
    if (!initialised)
        return;
    flag = 1;
    page.SetModified(TRUE);
}

}  // namespace

// ---- Page 1: Font -------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CTextPropertiesPage1, CKWPropertyPage)
    ON_CBN_SELCHANGE(IDC_TXT_FONT_NAME, OnFaceChanged)
    ON_CBN_SELCHANGE(IDC_TXT_FONT_SIZE, OnSizeChanged)
    ON_BN_CLICKED(IDC_TXT_BOLD, OnBoldClicked)
    ON_BN_CLICKED(IDC_TXT_ITALIC, OnItalicClicked)
    ON_BN_CLICKED(IDC_TXT_UNDERLINE, OnUnderlineClicked)
    ON_BN_CLICKED(IDC_TXT_COLOR, OnColorClicked)
END_MESSAGE_MAP()

CTextPropertiesPage1::CTextPropertiesPage1(CTextFontRecord* record)
    : CKWPropertyPage(IDD_TAL_TEXT_FONT), m_record(record), m_fontBox(new CKWFontNameComboBox)
{
}

CTextPropertiesPage1::~CTextPropertiesPage1()
{
    if (m_fontBox->m_hWnd)
        m_fontBox->UnsubclassWindow();
    delete m_fontBox;
}

void CTextPropertiesPage1::DoDataExchange(CDataExchange* pDX)
{
    CKWPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_TXT_FONT_NAME, *m_fontBox);
}

BOOL CTextPropertiesPage1::OnInitDialog()
{
    m_initialised = false;
    CKWPropertyPage::OnInitDialog();
    m_size.CreateImp(::GetDlgItem(m_hWnd, IDC_TXT_FONT_SIZE));
    m_bold.CreateImp(::GetDlgItem(m_hWnd, IDC_TXT_BOLD));
    m_italic.CreateImp(::GetDlgItem(m_hWnd, IDC_TXT_ITALIC));
    m_underline.CreateImp(::GetDlgItem(m_hWnd, IDC_TXT_UNDERLINE));
    m_color.CreateImp(::GetDlgItem(m_hWnd, IDC_TXT_COLOR));
    for (int size : CKWFontSizeComboBox::kSizes) {
        CString text;
        text.Format(L"%d", size);
        m_size.AddString(text);
    }

    // The page's own entries: every application font, none used by a document.
    m_fonts.RemoveAll();
    std::vector<CString> names;
    std::vector<FontCommboData*> entries;
    if (const CKWFontFaceStorage* fonts = GetApplicationFontList()) {
        for (size_t i = 0; i < fonts->GetCount(); ++i) {
            const CKWFontFace* face = fonts->GetAt(i);
            names.push_back(face->name ? face->name->c_str() : L"");
            entries.push_back(m_fonts.Add(face, -1));
        }
    }
    m_fontBox->FillList(names, entries);

    m_color.SetColor(m_record->color);
    m_fontBox->SelectStringExact(m_record->face);
    CString size;
    size.Format(L"%d", static_cast<int>(m_record->size));
    m_size.FindString(size);
    m_bold.SetCheck(m_record->bold == 1 ? BST_CHECKED : BST_UNCHECKED);
    m_italic.SetCheck(m_record->italic == 1 ? BST_CHECKED : BST_UNCHECKED);
    m_underline.SetCheck(m_record->underline == 1 ? BST_CHECKED : BST_UNCHECKED);
    UpdateData(FALSE);
    m_initialised = true;
    return TRUE;
}

BOOL CTextPropertiesPage1::OnKillActive()
{
    const int face = m_fontBox->GetCurSel();
    // Without a current item the record keeps its face: the caller applies
    // the face only when the user chose one.
    if (face >= 0)
        m_fontBox->GetLBText(face, m_record->face);
    CString size;
    m_size.GetText(size);
    m_record->size = static_cast<int32_t>(_wtoi(size));
    m_record->bold = m_bold.GetCheck() == BST_CHECKED ? 1 : 0;
    m_record->italic = m_italic.GetCheck() == BST_CHECKED ? 1 : 0;
    m_record->underline = m_underline.GetCheck() == BST_CHECKED ? 1 : 0;
    return TRUE;
}

void CTextPropertiesPage1::MarkChanged(uint8_t& flag)
{
    ::MarkChanged(*this, m_initialised, flag);
}

void CTextPropertiesPage1::OnFaceChanged()
{
    MarkChanged(m_record->faceChanged);
}

void CTextPropertiesPage1::OnSizeChanged()
{
    MarkChanged(m_record->sizeChanged);
}

void CTextPropertiesPage1::OnBoldClicked()
{
    MarkChanged(m_record->boldChanged);
}

void CTextPropertiesPage1::OnItalicClicked()
{
    MarkChanged(m_record->italicChanged);
}

void CTextPropertiesPage1::OnUnderlineClicked()
{
    MarkChanged(m_record->underlineChanged);
}

void CTextPropertiesPage1::OnColorClicked()
{
    CKWColorChooser chooser;
    chooser.SetColor(m_record->color);
    if (chooser.DoModal(this)) {
        m_record->color = chooser.GetColor();
        m_color.SetColor(m_record->color);
        m_color.Redraw(true);
    }
    // A visit to the dialog counts as a change, confirmed or not.
    MarkChanged(m_record->colorChanged);
}

// ---- Page 2: Paragraph ------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CTextPropertiesPage2, CKWPropertyPage)
    ON_CONTROL_RANGE(BN_CLICKED, IDC_TXT_ALIGN_LEFT, IDC_TXT_ALIGN_RIGHT, OnAlignmentClicked)
    ON_EN_CHANGE(IDC_TXT_FIRST_LINE, OnFirstLineChanged)
    ON_EN_CHANGE(IDC_TXT_FROM_LEFT, OnLeftChanged)
    ON_EN_CHANGE(IDC_TXT_FROM_RIGHT, OnRightChanged)
END_MESSAGE_MAP()

CTextPropertiesPage2::CTextPropertiesPage2(CTextParagraphRecord* record)
    : CKWPropertyPage(IDD_TAL_TEXT_PARAGRAPH), m_record(record)
{
}

BOOL CTextPropertiesPage2::OnInitDialog()
{
    m_initialised = false;
    CKWPropertyPage::OnInitDialog();
    for (int i = 0; i < 3; ++i) {
        m_alignments[i].CreateImp(::GetDlgItem(m_hWnd, IDC_TXT_ALIGN_LEFT + i));
        m_indents[i].CreateImp(::GetDlgItem(m_hWnd, IDC_TXT_FIRST_LINE + i));
    }
    if (m_record->alignment < 3)
        m_alignments[m_record->alignment].SetCheck(BST_CHECKED);
    const double values[] = {m_record->firstLine, m_record->left, m_record->right};
    for (int i = 0; i < 3; ++i)
        m_indents[i].SetText(FormatIndent(values[i]));
    UpdateData(FALSE);
    m_initialised = true;
    return TRUE;
}

BOOL CTextPropertiesPage2::OnKillActive()
{
    m_record->alignment = m_alignments[0].GetCheck() == BST_CHECKED   ? 0
                          : m_alignments[1].GetCheck() == BST_CHECKED ? 1
                                                                      : 2;
    double* values[] = {&m_record->firstLine, &m_record->left, &m_record->right};
    bool valid = true;
    for (int i = 0; i < 3; ++i) {
        CString text;
        m_indents[i].GetText(text);
        if (StartsWithNumber(text)) {
            *values[i] = ParseMeasure(text, kMillimetres);
            continue;
        }
        // Writing the old value back is no change of the user's.
        const bool initialised = m_initialised;
        m_initialised = false;
        m_indents[i].SetText(FormatIndent(*values[i]));
        m_initialised = initialised;
        m_indents[i].SetFocus();
        valid = false;
    }
    if (valid)
        return TRUE;
    CString message, caption;
    AfxLoadStringResource(IDS_TAL_INVALID_NUMBER, message);
    AfxLoadStringResource(IDS_TAL_APP_CAPTION, caption);
    KWMessageBox(message, MB_ICONEXCLAMATION, 0, caption, m_hWnd);
    return FALSE;
}

void CTextPropertiesPage2::MarkChanged(uint8_t& flag)
{
    ::MarkChanged(*this, m_initialised, flag);
}

void CTextPropertiesPage2::OnAlignmentClicked(UINT)
{
    MarkChanged(m_record->alignmentChanged);
}

void CTextPropertiesPage2::OnFirstLineChanged()
{
    MarkChanged(m_record->firstLineChanged);
}

void CTextPropertiesPage2::OnLeftChanged()
{
    MarkChanged(m_record->leftChanged);
}

void CTextPropertiesPage2::OnRightChanged()
{
    MarkChanged(m_record->rightChanged);
}

// ---- The sheet ----------------------------------------------------------------------------------

CTextProperties::CTextProperties(CTextFontRecord* font, CTextParagraphRecord* paragraph, LPCWSTR caption,
                                 CWnd* parent, UINT selectPage)
    : CKWPropertySheet(caption, parent, selectPage), m_page1(new CTextPropertiesPage1(font)),
      m_page2(new CTextPropertiesPage2(paragraph))
{
    AddPage(m_page1);
    AddPage(m_page2);
}

CTextProperties::~CTextProperties()
{
    delete m_page1;
    delete m_page2;
}
