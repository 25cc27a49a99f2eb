#pragma once
// CQMXPColorDialog: the library's colour chooser, dialog 16961 "Colors": the
// "Standard" and "Custom" pages in a child property sheet, and a preview of
// the new colour over the current one. Below 8 bits per pixel it hands the
// whole choice to the system's colour dialog.
#include "docking/frames/QMXPColorPickerCtrl.h"
#include "platform/classlib/Dialog.h"

class CColorPage1;
class CColorPage2;
class CPropertySheetCtrl;

// The dialog and control ids of the colour dialog and its pages.
constexpr UINT IDD_QMXP_COLOR_DIALOG = 16961;
constexpr UINT IDD_QMXP_COLORPAGE_ONE = 16962;
constexpr UINT IDD_QMXP_COLORPAGE_TWO = 16963;
constexpr UINT IDC_QMXP_COLOR_PLACEHOLDER = 16970;
constexpr UINT IDC_QMXP_COLOR_PREVIEW = 16662;
constexpr UINT IDC_QMXP_COLOR_HEX = 16974;
constexpr UINT IDC_QMXP_COLOR_GREY = 16972;
constexpr UINT IDC_QMXP_COLOR_SPECTRUM = 16662;
constexpr UINT IDC_QMXP_COLOR_LUMINANCE = 16973;
constexpr UINT IDC_QMXP_COLOR_RED = 16964;
constexpr UINT IDC_QMXP_COLOR_GREEN = 16965;
constexpr UINT IDC_QMXP_COLOR_BLUE = 16966;
constexpr UINT IDC_QMXP_COLOR_LUM = 16967;
constexpr UINT IDC_QMXP_COLOR_SAT = 16968;
constexpr UINT IDC_QMXP_COLOR_HUE = 16969;
constexpr UINT IDC_QMXP_COLOR_SPIN_FIRST = 16976;
constexpr UINT IDC_QMXP_COLOR_SPIN_LAST = 16981;

class CQMXPColorDialog : public CDialog {
    DECLARE_DYNAMIC(CQMXPColorDialog)
public:
    // The flags are not used; a palette given stays the caller's.
    CQMXPColorDialog(COLORREF clrInit = 0, DWORD dwFlags = 0, CWnd* pParentWnd = nullptr,
                     CPalette* pPalette = nullptr);
    ~CQMXPColorDialog() override;

    INT_PTR DoModal() override;
    COLORREF GetColor() const { return m_NewColor; }
    // The system's colour dialog (with the flags) or the library's, started
    // with the colour; TRUE and colorRes on OK.
    static BOOL Choose(BOOL bSystemDialog, DWORD dwSystemFlags, COLORREF colorDefault, COLORREF& colorRes);
    void SetCurrentColor(COLORREF rgb) { m_CurrentColor = rgb; }

    // The pages' calls: the new colour, and a colour for either page.
    void SetNewColor(COLORREF rgb);
    void SetPageOne(BYTE R, BYTE G, BYTE B);
    void SetPageTwo(BYTE R, BYTE G, BYTE B);
    CPalette* GetPalette() const { return m_pPalette; }

    BOOL OnInitDialog() override;

    // The system's colour dialog (CC_FULLOPEN | CC_RGBINIT) for the colour;
    // its result and, on OK, the colour. Tests replace it.
    virtual INT_PTR RunSystemColorDialog(COLORREF& color);

    CWnd m_wndPlaceholder;
    CQMXPColorPickerCtrl m_wndColors;
    CPropertySheetCtrl* m_pPropSheet;
    CColorPage1* m_pColourSheetOne;
    CColorPage2* m_pColourSheetTwo;
    COLORREF m_CurrentColor;
    COLORREF m_NewColor;
    CPalette* m_pPalette;
    BOOL m_bIsMyPalette;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    // A palette of the screen's system palette.
    void RebuildPalette();
    afx_msg void OnSysColorChange();
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()
};
