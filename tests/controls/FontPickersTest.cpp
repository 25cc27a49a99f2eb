// The text tool bar's pickers on a test tool bar: the font-name and
// font-size boxes with their keys, the font menus' choices and the colour
// button with its map.
#include "controls/KWColorMenuButton.h"
#include "controls/KWCommonComboBoxButton.h"
#include "controls/KWFontComboBox.h"
#include "controls/KWFontLists.h"
#include "controls/KWFontMenuButtons.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "framework/KWFontFaceStorage.h"
#include "framework/KWIndexDecoder.h"
#include "platform/classlib/Archive.h"
#include "platform/classlib/FrameWnd.h"
#include "platform/classlib/MemFile.h"
#include "platform/classlib/View.h"
#include "ControlsTestSupport.h"

#include <gtest/gtest.h>

namespace {

// A view that notes the commands it is sent.
class CNotingView : public CView {
public:
    void OnDraw(CDC*) override {}
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        commands.push_back({wParam, lParam});
        return TRUE;
    }
    std::vector<std::pair<WPARAM, LPARAM>> commands;
};

// A frame with an active view and a tool bar holding two font-name boxes
// and a size box; the application's fonts Arial (TrueType) and Courier
// (device), the document's Arial and a font the system lacks.
class FontPickers : public testing::Test {
protected:
    void SetUp() override
    {
        application.AddFace(L"Arial", CKWFontFaceStorage::kTrueType, 0);
        application.AddFace(L"Courier", CKWFontFaceStorage::kDevice, 0);
        document.FindOrAdd(L"Arial");
        document.FindOrAdd(L"Nowhere Sans");
        SetCurrentFontLists(&document, &application);
        UpdateFontLists(true);
        frame = new CFrameWnd;
        ASSERT_TRUE(frame->Create(nullptr, L"Pickers", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 500, 300)));
        view = new CNotingView;
        ASSERT_TRUE(view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 60, 500, 300), frame,
                                 AFX_IDW_PANE_FIRST, nullptr));
        frame->SetActiveView(view);
        controls_test::App().m_pMainWnd = frame;
        bar.Create(frame);
        // Owner-drawn, sorted list with strings, as the program's.
        bar.InsertButton(CKWFontNameComboBoxButton(0x313, 160));
        bar.InsertButton(CKWFontNameComboBoxButton(0x313, 160));
        bar.InsertButton(CKWFontSizeComboBoxButton(CBS_DROPDOWN, 60));
        bar.AdjustLayout();
        names[0] = dynamic_cast<CKWFontNameComboBoxButton*>(bar.GetButton(0));
        names[1] = dynamic_cast<CKWFontNameComboBoxButton*>(bar.GetButton(1));
        ASSERT_TRUE(names[0] && names[1] && names[0]->GetComboBox());
    }
    void TearDown() override
    {
        bar.DestroyWindow();
        controls_test::App().m_pMainWnd = nullptr;
        frame->DestroyWindow();
        SetCurrentFontLists(nullptr, nullptr);
        GetFontCommboData().RemoveAll();
        classlib_test::DrainMessages();
    }
    static const FontCommboData* Entry(CQMXPToolbarComboBoxButton* box, int index)
    {
        return reinterpret_cast<const FontCommboData*>(box->GetItemData(index));
    }

    CKWFontFaceStorage application;
    CKWIndexDecoder document;
    CFrameWnd* frame = nullptr;
    CNotingView* view = nullptr;
    CQMXPToolBar bar;
    CKWFontNameComboBoxButton* names[2] = {};
};

}  // namespace

TEST_F(FontPickers, AMissingFontIsListedInGreyWithTheThirdMarkAndKeepsItsDocumentIndex)
{
    // Sorted: Arial, Courier, then the font the system lacks.
    ASSERT_EQ(3, names[0]->GetCount());
    EXPECT_EQ(CString(L"Nowhere Sans MISSED!"), CString(names[0]->GetItem(2)));
    EXPECT_EQ(1, Entry(names[0], 2)->value);
    EXPECT_EQ(0, Entry(names[0], 0)->value);
    EXPECT_EQ(-1, Entry(names[0], 1)->value);
    // Updating again adds no second entry for it.
    UpdateFontLists(false);
    EXPECT_EQ(3u, GetFontCommboData().GetSize());

    auto* box = static_cast<CKWFontNameComboBox*>(names[0]->GetComboBox());
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 200, 15);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    ::SetBkColor(dc, RGB(255, 255, 255));
    const struct {
        int item;
        COLORREF mark;     // the mark's pixel (3, 3)
        bool greyText;
    } cases[] = {{2, RGB(128, 128, 128), true}, {0, RGB(0, 0, 128), false}};
    for (const auto& c : cases) {
        DRAWITEMSTRUCT item = {ODT_COMBOBOX, 0, static_cast<UINT>(c.item), ODA_DRAWENTIRE, 0, box->m_hWnd, dc,
                               {0, 0, 200, 15}, box->GetItemData(c.item)};
        box->DrawItem(&item);
        EXPECT_EQ(c.mark, ::GetPixel(dc, 3, 3)) << c.item;
        bool grey = false;
        for (int x = CKWFontNameComboBox::kTextLeft; x < 200 && !grey; ++x)
            for (int y = 0; y < 15 && !grey; ++y)
                grey = ::GetPixel(dc, x, y) == RGB(120, 120, 120);
        EXPECT_EQ(c.greyText, grey) << c.item;
    }
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
}

TEST_F(FontPickers, SetCurrentFontChangesNothingWhenTheFirstBoxShowsIt)
{
    CKWFontNameComboBoxButton::SetCurrentFont(1);
    EXPECT_EQ(2, names[0]->GetCurSel());
    EXPECT_EQ(2, names[1]->GetCurSel());
    names[1]->SelectItem(0, FALSE);
    CKWFontNameComboBoxButton::SetCurrentFont(1);
    EXPECT_EQ(0, names[1]->GetCurSel()) << "the first box showed it already";
    CKWFontNameComboBoxButton::SetCurrentFont(0);
    EXPECT_EQ(0, names[0]->GetCurSel());
    EXPECT_EQ(0, names[1]->GetCurSel());
}

TEST_F(FontPickers, SetCurrentFontOfAnIndexTheDocumentLacksShowsTheFaceNamed)
{
    // Entries in the sorted boxes: 0 Arial (document font 0), 1 Courier (the
    // application's only), 2 Nowhere Sans (document font 1, missing).
    const struct {
        int value;
        const wchar_t* face;
        int shown;
    } cases[] = {
        {5, L"Courier", 1},       // the face of an index past the table's end
        {5, L"Zzz", -1},          // a face no box lists
        {5, nullptr, -1},         // no face given
        {0, L"Courier", 0},       // the index wins over the name
        {-1, L"Courier", -1},     // no font
    };
    for (const auto& c : cases) {
        names[0]->SelectItem(2, FALSE);
        CKWFontNameComboBoxButton::SetCurrentFont(c.value, c.face);
        EXPECT_EQ(c.shown, names[0]->GetCurSel()) << c.value << " " << (c.face ? "face" : "none");
        EXPECT_EQ(c.shown, names[1]->GetCurSel()) << c.value << " " << (c.face ? "face" : "none");
    }
}

TEST_F(FontPickers, SizeBoxShowsOnlyListedSizesAsSelection)
{
    auto* sizes = dynamic_cast<CKWFontSizeComboBoxButton*>(bar.GetButton(2));
    ASSERT_TRUE(sizes && sizes->GetComboBox());
    auto* box = static_cast<CKWFontSizeComboBox*>(sizes->GetComboBox());
    const struct {
        int size;
        int selected;
        const wchar_t* text;
    } cases[] = {{13, -1, L"13"}, {14, 6, L"14"}, {6, 0, L"6"}, {72, 16, L"72"}};
    for (const auto& c : cases) {
        box->FillSizes(c.size);
        EXPECT_EQ(17, box->GetCount());
        EXPECT_EQ(c.selected, box->GetCurSel()) << c.size;
        CString shown;
        box->GetWindowText(shown);
        EXPECT_EQ(CString(c.text), shown) << c.size;
    }
}

TEST_F(FontPickers, KeysOpenTheListAndEnterSendsTheChoiceToTheActiveView)
{
    auto* box = static_cast<CKWCommonComboBox*>(names[0]->GetComboBox());
    MSG down = {box->m_hWnd, WM_KEYDOWN, VK_DOWN, 0};
    EXPECT_TRUE(box->PreTranslateMessage(&down));
    EXPECT_TRUE(box->GetDroppedState());
    // An open list takes Down itself.
    EXPECT_FALSE(box->PreTranslateMessage(&down));
    box->ShowDropDown(FALSE);

    // The box's focus, as the library reports it, holds the tool bar's refresh.
    names[0]->OnCommandNotify(CBN_SETFOCUS);
    EXPECT_TRUE(CKWCommonComboBoxButton::HasComboFocus());
    names[0]->OnCommandNotify(CBN_KILLFOCUS);
    EXPECT_FALSE(CKWCommonComboBoxButton::HasComboFocus());

    MSG enter = {box->m_hWnd, WM_KEYDOWN, VK_RETURN, 0};
    EXPECT_TRUE(box->PreTranslateMessage(&enter));
    ASSERT_EQ(1u, view->commands.size());
    EXPECT_EQ(MAKEWPARAM(32853, CBN_SELENDOK), view->commands[0].first);
    EXPECT_EQ(reinterpret_cast<LPARAM>(box->m_hWnd), view->commands[0].second);
}

TEST(FontMenus, SizeEntriesAreReadWithTheirUnitAndLimited)
{
    const struct {
        const wchar_t* text;
        int size;
    } cases[] = {{L"12", 12}, {L"2000", 1670}, {L"12 furlongs", 12}, {L"1 in", 72}, {L"10.6", 11}, {L"x", 0}};
    for (const auto& c : cases)
        EXPECT_EQ(c.size, CQMXPPopupMenuFontSizeBar::ParseSize(c.text)) << c.text;
}

TEST(ColorButtons, ShareTheColourOfTheirCommandAndCopyIt)
{
    CKWColor untouched = CKWColor::FromRgb(1, 2, 3);
    EXPECT_FALSE(CColorMenuButton::LookupColor(4711, untouched));
    EXPECT_EQ(CKWColor::FromRgb(1, 2, 3).GetValue(), untouched.GetValue());

    CColorMenuButton first(32846, CKWColor());
    CColorMenuButton second(32846, CKWColor());
    const CKWColor red = CKWColor::FromRgb(255, 0, 0);
    second.SetColor(red.GetKind(), red.GetValue());
    CKWColor recorded;
    ASSERT_TRUE(CColorMenuButton::LookupColor(32846, recorded));
    EXPECT_EQ(red.GetValue(), recorded.GetValue());
    EXPECT_EQ(RGB(255, 0, 0), second.CQMXPColorMenuButton::GetColor());
    // A copy carries the colour and the dialog entry.
    second.EnableCustomColorButton(L"More Color...", TRUE, TRUE);
    first.AssignFrom(second);
    EXPECT_EQ(red.GetValue(), first.GetColor().GetValue());
    EXPECT_TRUE(first.bIsOtherButton);
    EXPECT_EQ(CString(L"More Color..."), first.strOtherButtonLabel);
}

TEST_F(FontPickers, ComboButtonsStoreTheirWidthAndValueAfterTheLibrarysRecord)
{
    auto* size = dynamic_cast<CKWFontSizeComboBoxButton*>(bar.GetButton(2));
    ASSERT_NE(nullptr, size);
    size->SetValue(7);
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        size->Serialize(ar);
    }
    // The two 32-bit values close the record: the width, then the value.
    const ULONGLONG length = file.GetLength();
    ASSERT_GE(length, 8u);
    file.Seek(static_cast<LONGLONG>(length - 8), CFile::begin);
    int32_t tail[2] = {};
    ASSERT_EQ(8u, file.Read(tail, 8));
    EXPECT_EQ(60, tail[0]);
    EXPECT_EQ(7, tail[1]);

    file.SeekToBegin();
    CKWFontSizeComboBoxButton loaded;
    {
        CArchive ar(&file, CArchive::load);
        loaded.Serialize(ar);
    }
    EXPECT_EQ(7, loaded.GetValue());
    EXPECT_EQ(60, loaded.GetWidth());
    EXPECT_EQ(loaded.GetRect().left + 60, loaded.GetRect().right);

    CKWFontSizeComboBoxButton copy;
    copy.AssignFrom(*size);
    EXPECT_EQ(7, copy.GetValue()) << "customisation copies the value";
}
