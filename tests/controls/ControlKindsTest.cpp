// The control kinds bound to the items of a test dialog (or making their own
// windows in it), driven by messages: buttons, edits, time and spin edits,
// list and combo boxes, progress bar, slider, scroll bar, date-time picker.
#include "controls/KWButtonControl.h"
#include "controls/KWColorButtonCtrlImpWin.h"
#include "controls/KWComboBoxControl.h"
#include "controls/KWControlsFactory.h"
#include "controls/KWDataTimePickerCtrlImpWin.h"
#include "controls/KWEditControl.h"
#include "controls/KWEditCtrlImpWin.h"
#include "controls/KWFocusedButtonCtrlImpWin.h"
#include "controls/KWListBoxControl.h"
#include "controls/KWListBoxCtrlImpWin.h"
#include "controls/KWProgressControl.h"
#include "controls/KWProgressCtrlImpWin.h"
#include "controls/KWScrollBarCtrlImpWin.h"
#include "controls/KWSpinButtonCtrlImpWin.h"
#include "controls/KWSpinEditCtrlImpWin.h"
#include "controls/KWTimeEditCtrlImpWin.h"
#include "framework/KWDate.h"
#include "platform/classlib/Dialog.h"
#include "resources/Toolbars.h"
#include "tests/platform/classlib/TestSupport.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

struct ImpDeleter {
    void operator()(CKWCtrlImp* imp) const { KWGetControlsFactory()->DestroyImp(imp); }
};
using ImpPtr = std::unique_ptr<CKWCtrlImp, ImpDeleter>;

// The test dialog; it notes the notification codes its items send.
class CKindsDialog : public CDialog {
public:
    CKindsDialog()
    {
        INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_DATE_CLASSES | ICC_PROGRESS_CLASS | ICC_BAR_CLASSES |
                                                    ICC_UPDOWN_CLASS};
        ::InitCommonControlsEx(&icc);
        Create(7010);
    }
    ~CKindsDialog() override { DestroyWindow(); }

    HWND Item(int id) const { return ::GetDlgItem(m_hWnd, id); }
    std::vector<UINT> TakeCodes() { return std::move(codes); }

    std::vector<UINT> codes;

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override
    {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->hwndFrom == Item(106) && wParam == 106) {
            codes.push_back(header->code);
            return TRUE;
        }
        return CDialog::OnNotify(wParam, lParam, result);
    }
};

MSG KeyDown(HWND hWnd, WPARAM key)
{
    MSG msg = {};
    msg.hwnd = hWnd;
    msg.message = WM_KEYDOWN;
    msg.wParam = key;
    return msg;
}

std::wstring TextOf(HWND hWnd)
{
    wchar_t text[64] = {};
    ::GetWindowTextW(hWnd, text, 64);
    return text;
}

CRect RectIn(HWND hWnd, HWND parent)
{
    CRect rect;
    ::GetWindowRect(hWnd, &rect);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<LPPOINT>(&rect), 2);
    return rect;
}

// The item drawn through its parent, as the system asks for it, into a
// bitmap of the item's size; the pixel at the point.
class CDrawnItem {
public:
    CDrawnItem(HWND parent, HWND item, UINT state)
    {
        CRect rect;
        ::GetClientRect(item, &rect);
        HDC screen = ::GetDC(nullptr);
        m_dc = ::CreateCompatibleDC(screen);
        m_bitmap = ::CreateCompatibleBitmap(screen, rect.Width(), rect.Height());
        ::ReleaseDC(nullptr, screen);
        m_old = ::SelectObject(m_dc, m_bitmap);
        DRAWITEMSTRUCT draw = {};
        draw.CtlType = ODT_BUTTON;
        draw.CtlID = static_cast<UINT>(::GetDlgCtrlID(item));
        draw.itemAction = ODA_DRAWENTIRE;
        draw.itemState = state;
        draw.hwndItem = item;
        draw.hDC = m_dc;
        draw.rcItem = rect;
        ::SendMessageW(parent, WM_DRAWITEM, draw.CtlID, reinterpret_cast<LPARAM>(&draw));
    }
    ~CDrawnItem()
    {
        ::SelectObject(m_dc, m_old);
        ::DeleteObject(m_bitmap);
        ::DeleteDC(m_dc);
    }
    COLORREF At(int x, int y) const { return ::GetPixel(m_dc, x, y); }
    HDC Dc() const { return m_dc; }

private:
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
};

class ControlKinds : public testing::Test {
protected:
    ImpPtr Make(CKWCtrlImp* (CKWControlsFactory::*make)(HWND), int id)
    {
        return ImpPtr((KWGetControlsFactory()->*make)(id ? dialog.Item(id) : nullptr));
    }

    CKindsDialog dialog;
};

}  // namespace

TEST_F(ControlKinds, WithoutWindowOrImplementationTheyAnswerNeutrally)
{
    auto spin = Make(&CKWControlsFactory::CreateSpinButtonImp, 0);
    auto list = Make(&CKWControlsFactory::CreateListBoxImp, 0);
    auto combo = Make(&CKWControlsFactory::CreateComboBoxImp, 0);
    auto progress = Make(&CKWControlsFactory::CreateProgressImp, 0);
    auto* spinKind = dynamic_cast<CKWSpinButtonCtrlImp*>(spin.get());
    auto* listKind = dynamic_cast<CKWListBoxCtrlImp*>(list.get());
    auto* comboKind = dynamic_cast<CKWComboBoxCtrlImp*>(combo.get());
    auto* progressKind = dynamic_cast<CKWProgressCtrlImp*>(progress.get());
    ASSERT_TRUE(spinKind && listKind && comboKind && progressKind);
    CKWProgressControl bar;
    // A facade bound to no window keeps its own answers, not the kind's -1.
    CKWProgressControl unbound;
    unbound.CreateImp(nullptr);
    CKWComboBoxControl choice;
    CKWButtonControl button;
    const struct {
        const char* what;
        LRESULT answer, expected;
    } cases[] = {
        {"spin GetPos", spinKind->GetPos(), -1},
        {"spin SetPos", spinKind->SetPos(3), -1},
        {"list GetCount", listKind->GetCount(), 0},
        {"list AddString", listKind->AddString(L"a"), -1},
        {"combo ResetContent", comboKind->ResetContent(), 0},
        {"combo GetCount", comboKind->GetCount(), -1},
        {"progress SetRange", progressKind->SetRange(1, 9), 0},
        {"progress GetLower", progressKind->GetLower(), -1},
        {"progress GetUpper", progressKind->GetUpper(), -1},
        {"progress GetPos", progressKind->GetPos(), -1},
        {"progress SetPos", progressKind->SetPos(4), -1},
        {"progress SetStep", progressKind->SetStep(2), -1},
        {"progress StepIt", progressKind->StepIt(), -1},
        {"facade GetUpper", bar.GetUpper(), 2147483647},
        {"facade GetPos", bar.GetPos(), 0},
        {"facade StepIt", bar.StepIt(), 0},
        {"unbound facade GetUpper", unbound.GetUpper(), 2147483647},
        {"unbound facade GetPos", unbound.GetPos(), 0},
        {"unbound facade SetPos", unbound.SetPos(4), 0},
        {"unbound facade SetStep", unbound.SetStep(2), 0},
        {"unbound facade StepIt", unbound.StepIt(), 0},
        {"unbound facade SetRange", unbound.SetRange(1, 9), 0},
        {"facade SetCheck", button.SetCheck(1), 0},
        {"facade FindString", choice.FindString(L"a"), -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, c.answer) << c.what;
}

TEST_F(ControlKinds, SetCheckPressesAPushButtonAndChecksARadioButton)
{
    CKWButtonControl push;
    CKWButtonControl radio;
    push.CreateImp(dialog.Item(101));
    radio.CreateImp(dialog.Item(102));
    push.SetCheck(1);
    radio.SetCheck(1);
    EXPECT_TRUE(::SendMessageW(dialog.Item(101), BM_GETSTATE, 0, 0) & BST_PUSHED);
    EXPECT_EQ(BST_UNCHECKED, ::SendMessageW(dialog.Item(101), BM_GETCHECK, 0, 0));
    EXPECT_EQ(BST_CHECKED, ::SendMessageW(dialog.Item(102), BM_GETCHECK, 0, 0));
    EXPECT_EQ(BST_CHECKED, radio.GetCheck());
    push.SetCheck(0);
    EXPECT_EQ(0, push.GetCheck() & BST_PUSHED);
}

TEST_F(ControlKinds, ColourButtonDrawsItsSwatchAndAGreyOneWhileDisabled)
{
    CKWColorButtonControl button;
    button.CreateImp(dialog.Item(103));
    button.SetColor(RGB(200, 0, 0));
    EXPECT_EQ(RGB(200, 0, 0), button.GetColor());
    const COLORREF grey = ::GetSysColor(COLOR_GRAYTEXT);
    const COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    const struct {
        UINT state;
        COLORREF swatch, outline, topLeft;
    } cases[] = {
        {0, RGB(200, 0, 0), RGB(0, 0, 0), light},
        {ODS_SELECTED, RGB(200, 0, 0), RGB(0, 0, 0), ::GetSysColor(COLOR_BTNSHADOW)},
        {ODS_DISABLED, grey, light, light},
    };
    for (const auto& c : cases) {
        CDrawnItem drawn(dialog.m_hWnd, dialog.Item(103), c.state);
        EXPECT_EQ(c.swatch, drawn.At(10, 10)) << c.state;
        EXPECT_EQ(c.outline, drawn.At(4, 10)) << c.state;
        EXPECT_EQ(c.topLeft, drawn.At(0, 0)) << c.state;
        EXPECT_EQ(grey, drawn.At(2, 10)) << c.state;
    }
    // Let go, the button draws nothing of its own any more.
    button.DestroyImp();
    CDrawnItem after(dialog.m_hWnd, dialog.Item(103), 0);
    EXPECT_NE(RGB(200, 0, 0), after.At(10, 10));
}

TEST_F(ControlKinds, FocusedButtonTakesItsBitmapsSizeAndTheFocusUnderTheMouse)
{
    auto imp = Make(&CKWControlsFactory::CreateFocusedButtonImp, 111);
    dynamic_cast<CKWFocusedButtonCtrlImp*>(imp.get())
        ->SetBitmaps(IDR_TAL_MAIN_TOOLBAR, IDR_TAL_EDIT_TREE_TOOLBAR, IDR_TAL_FORMAT_TEXT_TOOLBAR);
    HWND button = dialog.Item(111);
    CRect client;
    ::GetClientRect(button, &client);
    BITMAP normal = {};
    HBITMAP loaded = ::LoadBitmapW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_TAL_MAIN_TOOLBAR));
    ::GetObjectW(loaded, sizeof normal, &normal);
    ::DeleteObject(loaded);
    EXPECT_EQ(CSize(normal.bmWidth, normal.bmHeight), client.Size());

    // Pressed shows the third bitmap, focused the second.
    const struct {
        UINT state, bitmap;
    } cases[] = {{ODS_SELECTED | ODS_FOCUS, IDR_TAL_FORMAT_TEXT_TOOLBAR}, {ODS_FOCUS, IDR_TAL_EDIT_TREE_TOOLBAR},
                 {0, IDR_TAL_MAIN_TOOLBAR}};
    for (const auto& c : cases) {
        CDrawnItem drawn(dialog.m_hWnd, button, c.state);
        HBITMAP expected = ::LoadBitmapW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(c.bitmap));
        HDC source = ::CreateCompatibleDC(drawn.Dc());
        HGDIOBJ old = ::SelectObject(source, expected);
        BITMAP size = {};
        ::GetObjectW(expected, sizeof size, &size);
        int differing = 0;
        for (int x = 0; x < std::min<int>(size.bmWidth, client.Width()); x += 3)
            differing += ::GetPixel(source, x, client.Height() / 2) != drawn.At(x, client.Height() / 2);
        ::SelectObject(source, old);
        ::DeleteDC(source);
        ::DeleteObject(expected);
        EXPECT_EQ(0, differing) << c.state;
    }

    dialog.SetForegroundWindow();
    ::SetFocus(dialog.Item(101));
    ::SendMessageW(button, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(button, ::GetFocus());
}

TEST_F(ControlKinds, TimeEditTakesTypedTimesAndReportsChangesAndWrongTexts)
{
    auto imp = Make(&CKWControlsFactory::CreateTimeEditImp, 106);
    auto* time = dynamic_cast<CKWTimeEditCtrlImp*>(imp.get());
    ASSERT_NE(nullptr, time);
    HWND edit = dialog.Item(106);
    auto commit = [&](const wchar_t* text) {
        ::SetWindowTextW(edit, text);
        ::SendMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
        return dialog.TakeCodes();
    };
    const struct {
        const wchar_t* typed;
        const wchar_t* shown;  // null: an invalid text, left as it was
    } cases[] = {
        {L"7:5", L"07:05"}, {L"07-05", L"07:05"}, {L"7 :5", L"07:05"}, {L"9.5", L"09:05"}, {L"23: 59", L"23:59"},
        {L"24:00", nullptr}, {L"12:60", nullptr}, {L"-1:10", nullptr}, {L"12", nullptr}, {L"7 5", nullptr},
        {L"99999999999:1", nullptr},
    };
    for (const auto& c : cases) {
        time->Clear();
        const std::vector<UINT> codes = commit(c.typed);
        EXPECT_EQ(std::vector<UINT>{c.shown ? 1u : 2u}, codes) << c.typed;
        EXPECT_EQ(c.shown ? c.shown : c.typed, TextOf(edit)) << c.typed;
        EXPECT_EQ(c.shown != nullptr, time->IsValid()) << c.typed;
    }
    EXPECT_NEAR((23 * 60 + 59) / 1440.0, [&] {
        commit(L"23:59");
        return time->GetTime();
    }(), 1e-12);

    time->SetTime(1.25);
    EXPECT_DOUBLE_EQ(0.25, time->GetTime());
    EXPECT_EQ(L"06:00", TextOf(edit));
    EXPECT_TRUE(dialog.TakeCodes().empty());
    EXPECT_TRUE(commit(L"6:0").empty()) << "the same time again";
    EXPECT_EQ(std::vector<UINT>{1}, commit(L"6:1"));
    EXPECT_EQ(std::vector<UINT>{1}, commit(L""));
    EXPECT_TRUE(commit(L"").empty()) << "no value any more";
    EXPECT_FALSE(time->IsValid());
}

namespace {

class CNotedSpinOwner : public CKWSpinEditOwner {
public:
    bool OnSpinEditKey(UINT key) override
    {
        events.push_back("key " + std::to_string(key));
        return key == VK_F2;
    }
    void OnSpinEditEnd() override { events.push_back("end"); }
    void OnSpinEditSpin(int position, int delta) override
    {
        events.push_back("spin " + std::to_string(position) + " " + std::to_string(delta));
    }
    std::vector<std::string> events;
};

}  // namespace

TEST_F(ControlKinds, SpinEditPlacesItsPartsWithTheirIdsAndTellsItsOwner)
{
    CNotedSpinOwner owner;
    auto imp = Make(&CKWControlsFactory::CreateSpinEditImp, 0);
    auto* spinEdit = dynamic_cast<CKWSpinEditCtrlImpWin*>(imp.get());
    ASSERT_NE(nullptr, spinEdit);
    spinEdit->AttachOwner(&owner);
    ASSERT_TRUE(spinEdit->Create(0, WS_CHILD | WS_VISIBLE, CRect(10, 120, 110, 140), &dialog, 300));
    HWND container = spinEdit->GetHwnd();
    HWND edit = spinEdit->GetEditPart()->GetHwnd();
    HWND spin = spinEdit->GetSpinPart()->GetHwnd();
    EXPECT_EQ(300, ::GetDlgCtrlID(edit));
    EXPECT_EQ(301, ::GetDlgCtrlID(spin));
    EXPECT_EQ(CRect(0, 0, 82, 20), RectIn(edit, container));
    EXPECT_EQ(CRect(84, 0, 99, 19), RectIn(spin, container));
    spinEdit->SetWindowRect(CRect(0, 0, 60, 24));
    EXPECT_EQ(CRect(44, 0, 59, 23), RectIn(spin, container));

    spinEdit->SetRange(0, 10);
    spinEdit->SetPos(4);
    spinEdit->SetText(L"4");
    dialog.SetForegroundWindow();
    spinEdit->SetFocus();
    MSG keys[] = {KeyDown(edit, VK_F2), KeyDown(edit, 'A')};
    EXPECT_TRUE(CWnd::WalkPreTranslateTree(container, &keys[0]));
    EXPECT_FALSE(CWnd::WalkPreTranslateTree(container, &keys[1]));
    ::SetFocus(dialog.Item(101));
    // A click on the upper arrow.
    ::SendMessageW(spin, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 3));
    ::SendMessageW(spin, WM_LBUTTONUP, 0, MAKELPARAM(5, 3));
    EXPECT_EQ((std::vector<std::string>{"key 113", "key 65", "end", "end", "spin 4 1"}), owner.events);
    EXPECT_EQ(5, spinEdit->GetPos());
    imp.reset();
    EXPECT_FALSE(::IsWindow(container));
}

TEST_F(ControlKinds, ListBoxReadsItemsAndComboBoxesFindThemWithAndWithoutCase)
{
    CKWListBoxControl list;
    list.CreateImp(dialog.Item(104));
    for (const wchar_t* text : {L"abc", L"B"})
        list.AddString(text);
    auto* listKind = dynamic_cast<CKWListBoxCtrlImp*>(list.GetImp());
    CString text = L"kept";
    listKind->GetText(list.GetCount(), text);
    EXPECT_EQ(L"kept", text);
    listKind->GetText(0, text);
    EXPECT_EQ(L"abc", text);

    auto imp = Make(&CKWControlsFactory::CreateEditComboBoxImp, 105);
    auto* combo = dynamic_cast<CKWEditComboBoxCtrlImp*>(imp.get());
    ASSERT_NE(nullptr, combo);
    for (const wchar_t* item : {L"x", L"abc", L"ABC "})
        combo->AddString(item);
    const struct {
        int start;
        const wchar_t* text;
        int exact, withCase;
    } cases[] = {{0, L"ABC", 1, -1}, {0, L"abc", 1, 1}, {-1, L"x", 0, 0}, {2, L"ABC ", 2, 2}, {0, L"ab", -1, -1}};
    for (const auto& c : cases) {
        EXPECT_EQ(c.exact, combo->FindStringExact(c.start, c.text)) << c.start;
        EXPECT_EQ(c.withCase, combo->FindStringCase(c.start, c.text)) << c.start;
    }
    EXPECT_EQ(0, combo->FindStringCase(-5, L"x")) << "a negative start is the first item";
    ::SetWindowTextW(dialog.Item(105), L"hello");
    EXPECT_TRUE(combo->SelectAllText());
    int start = -1;
    int end = -1;
    combo->GetEditSel(start, end);
    EXPECT_EQ(0, start);
    EXPECT_EQ(5, end);
}

namespace {

WNDPROC g_boxProc = nullptr;
std::vector<CSize> g_boxSizes;

LRESULT CALLBACK NoteBoxSize(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_WINDOWPOSCHANGING) {
        const auto* place = reinterpret_cast<const WINDOWPOS*>(lParam);
        if (!(place->flags & SWP_NOSIZE))
            g_boxSizes.push_back(CSize(place->cx, place->cy));
    }
    return ::CallWindowProcW(g_boxProc, hWnd, message, wParam, lParam);
}

// A combo box facade that consumes F4 typed into its box.
class CKeyedCombo : public CKWComboBoxControl {
public:
    bool OnComboBoxKey(UINT key) override { return key == VK_F4; }
};

}  // namespace

TEST_F(ControlKinds, ComboBoxMakesItsBoxInAContainerWithRoomForItsListAndFindsExactText)
{
    CKeyedCombo combo;
    ASSERT_TRUE(combo.Create(0, WS_CHILD | WS_VISIBLE, CRect(10, 124, 110, 144), &dialog, 400));
    EXPECT_FALSE(combo.Create(0, WS_CHILD, CRect(0, 0, 10, 10), &dialog, 401));
    auto* imp = dynamic_cast<CKWComboBoxCtrlImpWin*>(combo.GetImp());
    HWND box = imp->GetHwnd();
    EXPECT_EQ(400, ::GetDlgCtrlID(box));
    EXPECT_EQ(imp->GetContainerHwnd(), ::GetParent(box));
    EXPECT_EQ(CRect(10, 124, 110, 144), RectIn(imp->GetContainerHwnd(), dialog.m_hWnd));
    EXPECT_EQ(CPoint(0, 0), RectIn(box, imp->GetContainerHwnd()).TopLeft()) << "the box fills its container";
    // The sizes the box is given, before the box keeps only its closed height.
    g_boxProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(NoteBoxSize)));
    for (RECT place : {CRect(10, 124, 110, 144), CRect(20, 100, 140, 120)}) {
        g_boxSizes.clear();
        imp->SetWindowRect(place);
        EXPECT_EQ(CRect(place), RectIn(imp->GetContainerHwnd(), dialog.m_hWnd));
        ASSERT_FALSE(g_boxSizes.empty());
        EXPECT_EQ(CSize(CRect(place).Width(), 120), g_boxSizes.front());
        EXPECT_EQ(CPoint(0, 0), RectIn(box, imp->GetContainerHwnd()).TopLeft());
    }
    ::SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_boxProc));

    for (const wchar_t* item : {L"b", L"a", L"b"})
        combo.AddString(item);
    combo.SetCurSel(1);
    EXPECT_EQ(-1, combo.FindString(L"B"));
    EXPECT_EQ(1, combo.GetCurSel());
    EXPECT_EQ(0, combo.FindString(L"b"));
    EXPECT_EQ(0, combo.GetCurSel());

    MSG keys[] = {KeyDown(box, VK_F4), KeyDown(box, VK_DOWN)};
    EXPECT_TRUE(CWnd::WalkPreTranslateTree(imp->GetContainerHwnd(), &keys[0]));
    EXPECT_FALSE(CWnd::WalkPreTranslateTree(imp->GetContainerHwnd(), &keys[1]));
}

TEST_F(ControlKinds, ValueKindsKeepTheirRangesPositionsAndFormats)
{
    CKWProgressControl progress;
    progress.CreateImp(dialog.Item(109));
    progress.SetRange(10, 200);
    progress.SetStep(5);
    progress.SetPos(50);
    EXPECT_EQ(50, progress.StepIt());
    EXPECT_EQ(55, progress.GetPos());
    EXPECT_EQ(200, progress.GetUpper());
    EXPECT_EQ(10, dynamic_cast<CKWProgressCtrlImp*>(progress.GetImp())->GetLower());

    auto slider = Make(&CKWControlsFactory::CreateSliderImp, 110);
    auto* sliderKind = dynamic_cast<CKWSliderCtrlImp*>(slider.get());
    sliderKind->SetRange(-4, 40);
    sliderKind->SetPos(12);
    EXPECT_EQ(-4, sliderKind->GetRangeMin());
    EXPECT_EQ(40, sliderKind->GetRangeMax());
    EXPECT_EQ(12, sliderKind->GetPos());

    // The scroll bar answers with its own bar, whichever bar is asked for.
    auto bar = Make(&CKWControlsFactory::CreateScrollBarImp, 108);
    auto* barKind = dynamic_cast<CKWScrollBarCtrlImp*>(bar.get());
    barKind->SetRangeMax(50);
    barKind->SetRangeMin(5);
    barKind->SetPos(20);
    for (bool vertical : {true, false}) {
        int minimum = 0;
        int maximum = 0;
        EXPECT_EQ(20, bar->GetScrollInfo(vertical, minimum, maximum, 0));
        EXPECT_EQ(5, minimum);
        EXPECT_EQ(50, maximum);
        EXPECT_EQ(20, bar->GetScrollPos(vertical));
    }

    auto picker = Make(&CKWControlsFactory::CreateDataTimePickerImp, 107);
    auto* pickerKind = dynamic_cast<CKWDataTimePickerCtrlImp*>(picker.get());
    const struct {
        int set, got;
    } formats[] = {{2, 2}, {7, 1}, {0, 0}, {1, 1}};
    for (const auto& f : formats) {
        pickerKind->SetFormat(f.set);
        EXPECT_EQ(f.got, pickerKind->GetFormat()) << f.set;
    }
    ::SetWindowLongW(dialog.Item(107), GWL_STYLE, ::GetWindowLongW(dialog.Item(107), GWL_STYLE) | DTS_UPDOWN);
    EXPECT_EQ(1, pickerKind->GetFormat()) << "an up-down date is no time";
    KWDateTime when;
    when.year = 2024;
    when.month = 3;
    when.day = 5;
    when.hour = 13;
    when.minute = 14;
    when.second = 15;
    const double serial = DateTimeToSerial(when);
    pickerKind->SetTime(serial + 0.3 / 86400);
    EXPECT_NEAR(serial, pickerKind->GetTime(), 0.01 / 86400);
}

TEST_F(ControlKinds, EditMakesItsBoxWithItsIdAndClearsTheCharacterAfterTheCaret)
{
    CKWEditControl edit;
    ASSERT_TRUE(edit.Create(0, WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(10, 124, 110, 144), &dialog, 500));
    EXPECT_FALSE(edit.Create(0, WS_CHILD, CRect(0, 0, 10, 10), &dialog, 501));
    HWND box = dialog.Item(500);
    ASSERT_NE(nullptr, box);
    edit.SetText(L"abcd");
    edit.SetSel(1, 1);
    EXPECT_FALSE(edit.CanCut());
    EXPECT_TRUE(edit.CanCopy());
    EXPECT_TRUE(edit.Clear());
    EXPECT_EQ(L"acd", TextOf(box));
}
