#pragma once
// The two pages of the colour dialog: "Standard" (a hexagon of colour cells
// and a row of greys) and "Custom" (a hue and saturation spectrum, a
// luminance strip and six number fields). Every colour picked on a page goes
// to the dialog as its new colour and to the other page.
#include "docking/frames/QMXPColorPickerCtrl.h"
#include "platform/classlib/PropertyPage.h"

class CQMXPColorDialog;

class CColorPage1 : public CPropertyPage {
    DECLARE_DYNCREATE(CColorPage1)
public:
    CColorPage1();

    BOOL OnInitDialog() override;

    CQMXPColorDialog* m_pDialog;
    CQMXPColorPickerCtrl m_hexpicker;
    CQMXPColorPickerCtrl m_hexpickerGreyScale;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    // The picked colour to the dialog, the other page and the other picker.
    void OnColorPicked(COLORREF color, CQMXPColorPickerCtrl& other);
};

class CColorPage2 : public CPropertyPage {
    DECLARE_DYNCREATE(CColorPage2)
public:
    CColorPage2();

    BOOL OnInitDialog() override;
    // The colour into the fields and both pickers.
    void Setup(BYTE R, BYTE G, BYTE B);

    // A fraction of the full range as the byte a field shows, and back.
    static int FractionToByte(double dblValue);
    static double ByteToFraction(int nValue);

    CQMXPColorDialog* m_pDialog;
    CQMXPColorPickerCtrl m_wndLum;
    CQMXPColorPickerCtrl m_wndColor;
    int m_r;
    int m_b;
    int m_g;
    int m_l;
    int m_h;
    int m_s;
    BOOL m_bIsReady;
    BOOL m_bInUpdate;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnRGBChanged();
    void OnHLSChanged();
    void OnLuminance();
    void OnColour();
};
