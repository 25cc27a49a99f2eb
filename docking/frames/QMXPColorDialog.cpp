#include "docking/frames/QMXPColorDialog.h"

#include "docking/bars/QMXPGlobalUtils.h"
#include "docking/frames/ColorPages.h"
#include "docking/frames/PropertySheetCtrl.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "platform/classlib/ColorDialog.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/DataExchange.h"

#include <vector>

IMPLEMENT_DYNAMIC(CQMXPColorDialog, CDialog)

BEGIN_MESSAGE_MAP(CQMXPColorDialog, CDialog)
    ON_WM_SYSCOLORCHANGE()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CQMXPColorDialog::CQMXPColorDialog(COLORREF clrInit, DWORD, CWnd* pParentWnd, CPalette* pPalette)
    : CDialog(IDD_QMXP_COLOR_DIALOG, pParentWnd),
      m_pPropSheet(nullptr),
      m_pColourSheetOne(nullptr),
      m_pColourSheetTwo(nullptr),
      m_CurrentColor(clrInit),
      m_NewColor(clrInit),
      m_pPalette(pPalette),
      m_bIsMyPalette(pPalette == nullptr) {}

CQMXPColorDialog::~CQMXPColorDialog() {
    delete m_pColourSheetOne;
    delete m_pColourSheetTwo;
    if (m_bIsMyPalette)
        delete m_pPalette;
}

BOOL CQMXPColorDialog::Choose(BOOL bSystemDialog, DWORD dwSystemFlags, COLORREF colorDefault, COLORREF& colorRes) {
    if (bSystemDialog) {
        CColorDialog dlg(colorDefault, dwSystemFlags);
        if (dlg.DoModal() != IDOK)
            return FALSE;
        colorRes = dlg.GetColor();
        return TRUE;
    }
    CQMXPColorDialog dlg(colorDefault, 0, nullptr, nullptr);
    if (dlg.DoModal() != IDOK)
        return FALSE;
    colorRes = dlg.GetColor();
    return TRUE;
}

INT_PTR CQMXPColorDialog::DoModal() {
    CQMXPLocalResource localResource;
    return CDialog::DoModal();
}

void CQMXPColorDialog::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_QMXP_COLOR_PLACEHOLDER, m_wndPlaceholder);
    DDX_Control(pDX, IDC_QMXP_COLOR_PREVIEW, m_wndColors);
}

void CQMXPColorDialog::RebuildPalette() {
    if (m_pPalette == nullptr)
        m_pPalette = new CPalette;
    m_pPalette->DeleteObject();
    HDC hdc = ::GetDC(nullptr);
    const int nEntries = 256;
    std::vector<BYTE> buffer(sizeof(LOGPALETTE) + nEntries * sizeof(PALETTEENTRY));
    auto* pLogPalette = reinterpret_cast<LOGPALETTE*>(buffer.data());
    pLogPalette->palVersion = 0x300;
    pLogPalette->palNumEntries = static_cast<WORD>(nEntries);
    ::GetSystemPaletteEntries(hdc, 0, nEntries, pLogPalette->palPalEntry);
    ::ReleaseDC(nullptr, hdc);
    m_pPalette->CreatePalette(pLogPalette);
}

INT_PTR CQMXPColorDialog::RunSystemColorDialog(COLORREF& color) {
    CColorDialog dlg(color, CC_FULLOPEN | CC_RGBINIT, this);
    const INT_PTR nResult = dlg.DoModal();
    if (nResult == IDOK)
        color = dlg.GetColor();
    return nResult;
}

BOOL CQMXPColorDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    if (globalData.bitsPerPixel < 8) {
        // Too few colours for the pickers: the system's dialog decides.
        COLORREF color = m_CurrentColor;
        const INT_PTR nResult = RunSystemColorDialog(color);
        m_NewColor = color;
        EndDialog(static_cast<int>(nResult));
        return TRUE;
    }
    if (m_pPalette == nullptr)
        RebuildPalette();
    m_wndColors.SetType(CQMXPColorPickerCtrl::PREVIEW);
    m_wndColors.SetPalette(m_pPalette);
    m_wndColors.SetReferenceColor(m_CurrentColor);
    m_wndColors.SetColor(m_NewColor);

    m_pPropSheet = new CPropertySheetCtrl(L"", this);
    m_pColourSheetOne = new CColorPage1;
    m_pColourSheetOne->m_pDialog = this;
    m_pColourSheetTwo = new CColorPage2;
    m_pColourSheetTwo->m_pDialog = this;
    m_pPropSheet->AddPage(m_pColourSheetOne);
    m_pPropSheet->AddPage(m_pColourSheetTwo);
    if (!m_pPropSheet->Create(this, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP)) {
        // The sheet has deleted itself (PostNcDestroy).
        m_pPropSheet = nullptr;
        return TRUE;
    }
    CRect rectPlaceholder;
    m_wndPlaceholder.GetWindowRect(&rectPlaceholder);
    ScreenToClient(&rectPlaceholder);
    m_pPropSheet->SetWindowPos(nullptr, rectPlaceholder.left, rectPlaceholder.top, rectPlaceholder.Width(),
                               rectPlaceholder.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    SetPageOne(GetRValue(m_CurrentColor), GetGValue(m_CurrentColor), GetBValue(m_CurrentColor));
    SetPageTwo(GetRValue(m_CurrentColor), GetGValue(m_CurrentColor), GetBValue(m_CurrentColor));
    return TRUE;
}

void CQMXPColorDialog::SetNewColor(COLORREF rgb) {
    m_NewColor = rgb;
    m_wndColors.SetColor(rgb);
    if (m_wndColors.GetSafeHwnd() != nullptr) {
        m_wndColors.Invalidate();
        m_wndColors.UpdateWindow();
    }
}

void CQMXPColorDialog::SetPageOne(BYTE R, BYTE G, BYTE B) {
    if (m_pColourSheetOne == nullptr)
        return;
    for (CQMXPColorPickerCtrl* pPicker : {&m_pColourSheetOne->m_hexpicker, &m_pColourSheetOne->m_hexpickerGreyScale})
        pPicker->SetRGB(R, G, B);
}

void CQMXPColorDialog::SetPageTwo(BYTE R, BYTE G, BYTE B) {
    if (m_pColourSheetTwo != nullptr)
        m_pColourSheetTwo->Setup(R, G, B);
}

void CQMXPColorDialog::OnSysColorChange() {
    CDialog::OnSysColorChange();
    globalData.RefreshSysColors();
    if (!m_bIsMyPalette)
        return;
    if (globalData.bitsPerPixel < 8) {
        ShowWindow(SW_HIDE);
        COLORREF color = m_CurrentColor;
        const INT_PTR nResult = RunSystemColorDialog(color);
        m_NewColor = color;
        EndDialog(static_cast<int>(nResult));
        return;
    }
    RebuildPalette();
    Invalidate();
}

void CQMXPColorDialog::OnDestroy() {
    if (m_bIsMyPalette && m_pPalette != nullptr) {
        m_pPalette->DeleteObject();
        delete m_pPalette;
        m_pPalette = nullptr;
    }
    CDialog::OnDestroy();
}
