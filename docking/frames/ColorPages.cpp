#include "docking/frames/ColorPages.h"

#include "docking/frames/QMXPColorDialog.h"
#include "docking/toolbars/QMXPDrawManager.h"
#include "platform/classlib/DataExchange.h"
#include "platform/classlib/SpinButtonCtrl.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(CColorPage1, CPropertyPage)
IMPLEMENT_DYNCREATE(CColorPage2, CPropertyPage)

// --- "Standard" ----------------------------------------------------------------------------------

CColorPage1::CColorPage1() : CPropertyPage(IDD_QMXP_COLORPAGE_ONE), m_pDialog(nullptr) {}

void CColorPage1::DoDataExchange(CDataExchange* pDX) {
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_QMXP_COLOR_HEX, m_hexpicker);
    DDX_Control(pDX, IDC_QMXP_COLOR_GREY, m_hexpickerGreyScale);
}

BOOL CColorPage1::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    CPalette* pPalette = m_pDialog != nullptr ? m_pDialog->GetPalette() : nullptr;
    m_hexpicker.SetPalette(pPalette);
    m_hexpicker.SetType(CQMXPColorPickerCtrl::HEX);
    m_hexpickerGreyScale.SetPalette(pPalette);
    m_hexpickerGreyScale.SetType(CQMXPColorPickerCtrl::GREYSCALE);
    return TRUE;
}

void CColorPage1::OnColorPicked(COLORREF color, CQMXPColorPickerCtrl& other) {
    if (m_pDialog != nullptr) {
        m_pDialog->SetNewColor(color);
        m_pDialog->SetPageTwo(GetRValue(color), GetGValue(color), GetBValue(color));
    }
    other.SetRGB(GetRValue(color), GetGValue(color), GetBValue(color));
    other.Invalidate();
}

BOOL CColorPage1::OnCommand(WPARAM wParam, LPARAM lParam) {
    const UINT nID = LOWORD(wParam);
    const UINT nCode = HIWORD(wParam);
    if (nID == IDC_QMXP_COLOR_HEX || nID == IDC_QMXP_COLOR_GREY) {
        if (nCode == BN_DOUBLECLICKED && m_pDialog != nullptr) {
            m_pDialog->EndDialog(IDOK);
            return TRUE;
        }
        if (nCode == BN_CLICKED) {
            if (nID == IDC_QMXP_COLOR_HEX) {
                OnColorPicked(m_hexpicker.GetColor(), m_hexpickerGreyScale);
            } else {
                double H = 0, L = 0, S = 0;
                m_hexpickerGreyScale.GetHLS(&H, &L, &S);
                OnColorPicked(CQMXPDrawManager::HLStoRGB360(static_cast<float>(H), static_cast<float>(L),
                                                            static_cast<float>(S)),
                              m_hexpicker);
            }
            return TRUE;
        }
    }
    return CPropertyPage::OnCommand(wParam, lParam);
}

// --- "Custom" ------------------------------------------------------------------------------------

CColorPage2::CColorPage2()
    : CPropertyPage(IDD_QMXP_COLORPAGE_TWO),
      m_pDialog(nullptr),
      m_r(0),
      m_b(0),
      m_g(0),
      m_l(0),
      m_h(0),
      m_s(0),
      m_bIsReady(FALSE),
      m_bInUpdate(FALSE) {}

int CColorPage2::FractionToByte(double dblValue) { return std::min(static_cast<int>(dblValue * 255 + 0.5), 255); }

double CColorPage2::ByteToFraction(int nValue) { return std::min((nValue + 0.5) / 255, 1.0); }

void CColorPage2::DoDataExchange(CDataExchange* pDX) {
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_QMXP_COLOR_LUMINANCE, m_wndLum);
    DDX_Control(pDX, IDC_QMXP_COLOR_SPECTRUM, m_wndColor);
    const struct {
        UINT nID;
        int* pValue;
    } fields[] = {{IDC_QMXP_COLOR_HUE, &m_h}, {IDC_QMXP_COLOR_SAT, &m_s},   {IDC_QMXP_COLOR_LUM, &m_l},
                  {IDC_QMXP_COLOR_RED, &m_r}, {IDC_QMXP_COLOR_GREEN, &m_g}, {IDC_QMXP_COLOR_BLUE, &m_b}};
    for (const auto& field : fields) {
        DDX_Text(pDX, static_cast<int>(field.nID), *field.pValue);
        DDV_MinMaxInt(pDX, *field.pValue, 0, 255);
    }
}

BOOL CColorPage2::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    CPalette* pPalette = m_pDialog != nullptr ? m_pDialog->GetPalette() : nullptr;
    m_wndColor.SetPalette(pPalette);
    m_wndColor.SetType(CQMXPColorPickerCtrl::SPECTRUM);
    m_wndLum.SetPalette(pPalette);
    m_wndLum.SetType(CQMXPColorPickerCtrl::LUMINANCE);
    double H = 0, L = 0, S = 0;
    m_wndColor.GetHLS(&H, &L, &S);
    m_wndLum.SetHLS(H, L, S, TRUE);
    m_wndLum.SetLuminanceBarWidth(14);
    for (UINT nID = IDC_QMXP_COLOR_SPIN_FIRST; nID <= IDC_QMXP_COLOR_SPIN_LAST; ++nID) {
        HWND hSpin = ::GetDlgItem(m_hWnd, static_cast<int>(nID));
        if (hSpin == nullptr)
            break;
        ::SendMessageW(hSpin, UDM_SETRANGE32, 0, 255);
    }
    m_bIsReady = TRUE;
    return TRUE;
}

void CColorPage2::Setup(BYTE R, BYTE G, BYTE B) {
    const COLORREF color = RGB(R, G, B);
    double H = 0, S = 0, L = 0;
    CQMXPDrawManager::RGBtoHSL(color, &H, &S, &L);
    m_r = R;
    m_g = G;
    m_b = B;
    m_h = FractionToByte(H);
    m_s = FractionToByte(S);
    m_l = FractionToByte(L);
    if (GetSafeHwnd() == nullptr)
        return;
    m_bInUpdate = TRUE;
    UpdateData(FALSE);
    m_bInUpdate = FALSE;
    m_wndColor.SetHLS(H, L, S, TRUE);
    m_wndLum.SetHLS(H, L, S, TRUE);
}

BOOL CColorPage2::OnCommand(WPARAM wParam, LPARAM lParam) {
    const UINT nID = LOWORD(wParam);
    const UINT nCode = HIWORD(wParam);
    if (nCode == EN_CHANGE && nID >= IDC_QMXP_COLOR_RED && nID <= IDC_QMXP_COLOR_HUE) {
        if (nID <= IDC_QMXP_COLOR_BLUE)
            OnRGBChanged();
        else
            OnHLSChanged();
        return TRUE;
    }
    if (nID == IDC_QMXP_COLOR_LUMINANCE && nCode == BN_CLICKED) {
        OnLuminance();
        return TRUE;
    }
    if (nID == IDC_QMXP_COLOR_SPECTRUM && nCode == BN_CLICKED) {
        OnColour();
        return TRUE;
    }
    if (nID == IDC_QMXP_COLOR_SPECTRUM && nCode == BN_DOUBLECLICKED && m_pDialog != nullptr) {
        m_pDialog->EndDialog(IDOK);
        return TRUE;
    }
    return CPropertyPage::OnCommand(wParam, lParam);
}

void CColorPage2::OnRGBChanged() {
    if (!m_bIsReady || m_bInUpdate || !UpdateData(TRUE))
        return;
    m_bInUpdate = TRUE;
    const COLORREF color = RGB(m_r, m_g, m_b);
    if (m_pDialog != nullptr) {
        m_pDialog->SetNewColor(color);
        m_pDialog->SetPageOne(static_cast<BYTE>(m_r), static_cast<BYTE>(m_g), static_cast<BYTE>(m_b));
    }
    double H = 0, S = 0, L = 0;
    CQMXPDrawManager::RGBtoHSL(color, &H, &S, &L);
    m_h = FractionToByte(H);
    m_s = FractionToByte(S);
    m_l = FractionToByte(L);
    UpdateData(FALSE);
    m_wndColor.SetHLS(H, L, S, TRUE);
    m_wndLum.SetHLS(H, L, S, TRUE);
    m_bInUpdate = FALSE;
}

void CColorPage2::OnHLSChanged() {
    if (!m_bIsReady || m_bInUpdate || !UpdateData(TRUE))
        return;
    m_bInUpdate = TRUE;
    const double H = ByteToFraction(m_h);
    const double L = ByteToFraction(m_l);
    const double S = ByteToFraction(m_s);
    const COLORREF color = CQMXPDrawManager::HLStoRGB(H, L, S);
    m_r = GetRValue(color);
    m_g = GetGValue(color);
    m_b = GetBValue(color);
    UpdateData(FALSE);
    if (m_pDialog != nullptr) {
        m_pDialog->SetNewColor(color);
        m_pDialog->SetPageOne(static_cast<BYTE>(m_r), static_cast<BYTE>(m_g), static_cast<BYTE>(m_b));
    }
    m_wndColor.SetHLS(H, L, S, TRUE);
    m_wndLum.SetHLS(H, L, S, TRUE);
    m_bInUpdate = FALSE;
}

void CColorPage2::OnLuminance() {
    double H = 0, L = 0, S = 0;
    m_wndLum.GetHLS(&H, &L, &S);
    // The spectrum's picture does not depend on the luminance: no redraw.
    m_wndColor.SetHLS(-1, L, -1, FALSE);
    m_bInUpdate = TRUE;
    m_wndColor.GetHLS(&H, &L, &S);
    m_h = FractionToByte(H);
    m_l = FractionToByte(L);
    m_s = FractionToByte(S);
    const COLORREF color = CQMXPDrawManager::HLStoRGB(H, L, S);
    m_r = GetRValue(color);
    m_g = GetGValue(color);
    m_b = GetBValue(color);
    if (m_pDialog != nullptr) {
        m_pDialog->SetNewColor(color);
        m_pDialog->SetPageOne(static_cast<BYTE>(m_r), static_cast<BYTE>(m_g), static_cast<BYTE>(m_b));
    }
    UpdateData(FALSE);
    m_bInUpdate = FALSE;
}

void CColorPage2::OnColour() {
    double H = 0, L = 0, S = 0;
    m_wndColor.GetHLS(&H, &L, &S);
    m_wndLum.SetHLS(H, -1, S, FALSE);
    const COLORREF colorSpectrum = m_wndColor.GetColor();
    m_r = GetRValue(colorSpectrum);
    m_g = GetGValue(colorSpectrum);
    m_b = GetBValue(colorSpectrum);
    m_bInUpdate = TRUE;
    m_wndLum.Invalidate();
    m_h = FractionToByte(H);
    m_l = FractionToByte(L);
    m_s = FractionToByte(S);
    if (m_pDialog != nullptr) {
        m_pDialog->SetNewColor(CQMXPDrawManager::HLStoRGB(H, L, S));
        m_pDialog->SetPageOne(static_cast<BYTE>(m_r), static_cast<BYTE>(m_g), static_cast<BYTE>(m_b));
    }
    UpdateData(FALSE);
    m_bInUpdate = FALSE;
}
