// The colour pickers driven by messages (hexagon cells, grey snapping,
// luminance keys at their end, Ctrl and Shift drags in the spectrum, clicks
// between cells), and the colour dialog driven through its pages: a refused
// field, byte fractions, a grey cell handed on, a caller's palette, and the
// system dialog below 8 bits per pixel. Its pages and the palette are written
// to build\screenshots\color_dialog_*.png.
#include "CanvasTestSupport.h"
#include "DialogScriptSupport.h"
#include "DockingTestSupport.h"

#include "docking/frames/ColorPages.h"
#include "docking/frames/PropertySheetCtrl.h"
#include "docking/frames/QMXPColorDialog.h"
#include "docking/frames/QMXPColorPickerCtrl.h"
#include "docking/toolbars/QMXPDrawManager.h"
#include "docking/toolbars/QMXPGlobalData.h"

#include <gtest/gtest.h>

using namespace docking_test;

namespace {

// A frame that keeps the notification codes of its controls.
class CPickerFrame : public CDockTestFrame {
public:
    std::vector<UINT> codes;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        if (lParam != 0) {
            codes.push_back(HIWORD(wParam));
            return TRUE;
        }
        return CDockTestFrame::OnCommand(wParam, lParam);
    }
};

class ColorPickerTest : public ::testing::Test {
protected:
    void SetUp() override {
        CCreateContext context;
        context.m_pNewViewClass = RUNTIME_CLASS(CDockTestView);
        context.m_pCurrentDoc = new CDockTestDoc;
        m_pFrame = new CPickerFrame;
        ASSERT_TRUE(m_pFrame->Create(nullptr, L"Pick", WS_OVERLAPPEDWINDOW, CRect(0, 0, 400, 300), nullptr, nullptr,
                                     0, &context));
    }
    void TearDown() override {
        m_pFrame->DestroyWindow();
        Pump();
    }
    void Make(CQMXPColorPickerCtrl& picker, CQMXPColorPickerCtrl::COLORTYPE type, const CRect& rect) {
        ASSERT_TRUE(picker.Create(L"", WS_CHILD | WS_VISIBLE | BS_RADIOBUTTON, rect, m_pFrame, 1001));
        picker.SetType(type);
    }
    CDockTestApp m_app;
    CPickerFrame* m_pFrame = nullptr;
};

TEST_F(ColorPickerTest, HexagonCellsGreySnappingAndClicksBetweenCells) {
    CQMXPColorPickerCtrl picker;
    Make(picker, CQMXPColorPickerCtrl::HEX, CRect(0, 0, 130, 130));
    // The owner-draw type replaced the radio button's type.
    EXPECT_EQ(picker.GetStyle() & BS_TYPEMASK, static_cast<DWORD>(BS_OWNERDRAW));
    picker.BuildCells();
    ASSERT_EQ(picker.GetCells().size(), 127u);
    EXPECT_EQ(picker.GetCells()[5]->m_nSize, 11);

    const struct {
        COLORREF color;
        int nTolerance;
        COLORREF snapped;
    } snaps[] = {{RGB(195, 195, 195), 7, RGB(192, 192, 192)}, {RGB(135, 135, 135), 7, RGB(135, 135, 135)},
                 {RGB(6, 250, 122), 7, RGB(0, 255, 128)},       {RGB(120, 15, 200), 16, RGB(128, 0, 192)},
                 {RGB(120, 15, 200), 0, RGB(120, 15, 200)}};
    for (const auto& s : snaps)
        EXPECT_EQ(CCellObj::SnapColor(s.color, s.nTolerance), s.snapped) << std::hex << s.color;

    const CCellObj& cell = *picker.GetCells()[9];
    picker.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(cell.m_x, cell.m_y));
    picker.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(cell.m_x, cell.m_y));
    EXPECT_EQ(picker.GetColor(), cell.m_Color);
    EXPECT_EQ(picker.GetSelectedCell(), 9);
    ASSERT_EQ(m_pFrame->codes, std::vector<UINT>{BN_CLICKED});
    // A corner of the square lies in no cell.
    picker.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
    picker.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
    EXPECT_EQ(picker.GetColor(), cell.m_Color);
    EXPECT_EQ(m_pFrame->codes.size(), 1u);
}

TEST_F(ColorPickerTest, KeysStopAtTheEndsAndModifiersHoldOneAxis) {
    CQMXPColorPickerCtrl strip;
    Make(strip, CQMXPColorPickerCtrl::LUMINANCE, CRect(0, 0, 30, 120));
    strip.SetHLS(0.3, 0.95, 0.8, FALSE);
    strip.SendMessage(WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(m_pFrame->codes.size(), 1u);
    double h = 0, l = 0, s = 0;
    strip.GetHLS(&h, &l, &s);
    EXPECT_DOUBLE_EQ(l, 1.0);
    strip.SendMessage(WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(m_pFrame->codes.size(), 1u);
    // A strip without height has no luminance to point at.
    CQMXPColorPickerCtrl flat;
    Make(flat, CQMXPColorPickerCtrl::LUMINANCE, CRect(40, 0, 70, 10));
    EXPECT_EQ(flat.LuminanceFromPoint(5), 0.0);

    CQMXPColorPickerCtrl spectrum;
    Make(spectrum, CQMXPColorPickerCtrl::SPECTRUM, CRect(100, 0, 200, 100));
    const struct {
        BYTE vkHeld;
        bool bHueChanges;
        bool bSatChanges;
    } drags[] = {{VK_CONTROL, false, true}, {VK_SHIFT, true, false}, {0, true, true}};
    BYTE keys[256] = {0};
    for (const auto& d : drags) {
        spectrum.SetHLS(0.5, 0.5, 0.5, FALSE);
        spectrum.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 50));
        ::GetKeyboardState(keys);
        if (d.vkHeld != 0)
            keys[d.vkHeld] = 0x80;
        ::SetKeyboardState(keys);
        spectrum.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, 80));
        keys[VK_CONTROL] = keys[VK_SHIFT] = 0;
        ::SetKeyboardState(keys);
        spectrum.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(20, 80));
        spectrum.GetHLS(&h, &l, &s);
        EXPECT_EQ(h != 0.5, d.bHueChanges) << int(d.vkHeld);
        EXPECT_EQ(s != 0.5, d.bSatChanges) << int(d.vkHeld);
        EXPECT_EQ(spectrum.GetColor(), CQMXPDrawManager::HLStoRGB(h, l, s));
    }
}

// A colour dialog whose system dialog is answered by the test.
class CScriptedColorDialog : public CQMXPColorDialog {
public:
    using CQMXPColorDialog::CQMXPColorDialog;
    INT_PTR RunSystemColorDialog(COLORREF& color) override {
        ++systemRuns;
        color = RGB(7, 8, 9);
        return systemResult;
    }
    int systemRuns = 0;
    INT_PTR systemResult = IDOK;
};

class ColorDialogTest : public ColorPickerTest {
protected:
    INT_PTR Run(CQMXPColorDialog& dlg, std::vector<std::function<void()>> steps) {
        m_pDialog = &dlg;
        return m_script.Run(dlg, std::move(steps));
    }
    void Shot(const wchar_t* lpszName) {
        m_pDialog->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        CRect rect;
        m_pDialog->GetWindowRect(&rect);
        EXPECT_TRUE(SaveScreen(rect, lpszName));
    }
    CColorPage2& Custom() { return *m_pDialog->m_pColourSheetTwo; }
    void Type(UINT nID, const wchar_t* lpszText) {
        Custom().GetDlgItem(static_cast<int>(nID))->SetWindowText(lpszText);
    }

    CDialogScript m_script;
    CQMXPColorDialog* m_pDialog = nullptr;
};

TEST_F(ColorDialogTest, PagesHandColoursOnAndTheRangeCheckRefusesAField) {
    CPalette palette;
    std::vector<BYTE> buffer(sizeof(LOGPALETTE) + 2 * sizeof(PALETTEENTRY));
    auto* pLog = reinterpret_cast<LOGPALETTE*>(buffer.data());
    pLog->palVersion = 0x300;
    pLog->palNumEntries = 2;
    pLog->palPalEntry[1].peRed = 255;
    ASSERT_TRUE(palette.CreatePalette(pLog));
    CScriptedColorDialog dlg(RGB(10, 120, 200), 0, m_pFrame, &palette);
    COLORREF colorAfterRefusal = 0;
    Log().clear();
    const INT_PTR nResult = Run(
        dlg, {[&] { Shot(L"color_dialog_standard"); },
              [&] {
                  // A grey cell: a pure grey to the dialog and to the Custom page.
                  CColorPage1& standard = *m_pDialog->m_pColourSheetOne;
                  const CCellObj& grey = *standard.m_hexpickerGreyScale.GetCells()[4];
                  standard.m_hexpickerGreyScale.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON,
                                                            MAKELPARAM(grey.m_x, grey.m_y));
                  standard.m_hexpickerGreyScale.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(grey.m_x, grey.m_y));
                  EXPECT_EQ(m_pDialog->GetColor(), grey.m_Color);
                  EXPECT_EQ(GetRValue(grey.m_Color), GetBValue(grey.m_Color));
                  EXPECT_EQ(Custom().m_r, GetRValue(grey.m_Color));
                  EXPECT_EQ(Custom().m_g, GetGValue(grey.m_Color));
              },
              [&] { m_pDialog->m_pPropSheet->SetActivePage(1); },
              [&] {
                  Shot(L"color_dialog_custom");
                  Type(IDC_QMXP_COLOR_RED, L"40");
                  EXPECT_EQ(m_pDialog->GetColor() & 0xFF, 40u);
                  colorAfterRefusal = m_pDialog->GetColor();
                  Type(IDC_QMXP_COLOR_RED, L"300");
              },
              [&] {
                  EXPECT_EQ(m_pDialog->GetColor(), colorAfterRefusal);
                  Type(IDC_QMXP_COLOR_RED, L"40");
                  Type(IDC_QMXP_COLOR_HUE, L"255");
                  EXPECT_EQ(Custom().m_h, 255);
              },
              [&] { m_pDialog->EndDialog(IDOK); }});
    EXPECT_FALSE(m_script.TimedOut());
    EXPECT_EQ(nResult, IDOK);
    EXPECT_EQ(Log(), std::vector<std::wstring>{L"msgbox:Please enter an integer between 0 and 255."});
    // The caller's palette is the caller's still.
    EXPECT_EQ(::GetObjectType(palette.m_hObject), static_cast<DWORD>(OBJ_PAL));
    EXPECT_EQ(CColorPage2::ByteToFraction(255), 1.0);
    EXPECT_EQ(CColorPage2::FractionToByte(1.0), 255);
    EXPECT_EQ(dlg.systemRuns, 0);
}

TEST_F(ColorDialogTest, BelowEightBitsTheSystemDialogDecides) {
    const int nSaved = globalData.bitsPerPixel;
    for (INT_PTR nAnswer : {IDOK, IDCANCEL}) {
        globalData.bitsPerPixel = 4;
        CScriptedColorDialog dlg(RGB(1, 2, 3), 0, m_pFrame);
        dlg.systemResult = nAnswer;
        const INT_PTR nResult = Run(dlg, {});
        globalData.bitsPerPixel = nSaved;
        EXPECT_EQ(nResult, nAnswer);
        EXPECT_EQ(dlg.systemRuns, 1);
        EXPECT_EQ(dlg.GetColor(), RGB(7, 8, 9));
    }
}

// Run on both displays: a palette screen shows the cells by palette entries.
TEST(ScreenDepthTest, PickerCellsArePaletteRelativeOnPalettes) {
    CPalette palette;
    std::vector<BYTE> buffer(sizeof(LOGPALETTE) + 4 * sizeof(PALETTEENTRY));
    auto* pLog = reinterpret_cast<LOGPALETTE*>(buffer.data());
    pLog->palVersion = 0x300;
    pLog->palNumEntries = 4;
    pLog->palPalEntry[3] = {200, 200, 200, 0};
    ASSERT_TRUE(palette.CreatePalette(pLog));
    const CCellObj cell(&palette, RGB(195, 195, 195), 10, 10, 11, 7);
    EXPECT_EQ(cell.m_Color, RGB(192, 192, 192));
    if (globalData.bitsPerPixel == 8)
        EXPECT_EQ(cell.m_DisplayColor, PALETTEINDEX(3));
    else
        EXPECT_EQ(cell.m_DisplayColor, RGB(192, 192, 192));
}

}  // namespace
