// The outlook bar: its page buttons above and below the active page, the
// custom pages kept in the registry (with the ids it must refuse), and its
// panes of large buttons that scroll while a scroll button is held and take
// only outlook buttons when one is dropped on them.
#include "CanvasTestSupport.h"
#include "DockingTestSupport.h"

#include "docking/bars/QMXPOutlookBar.h"
#include "docking/bars/QMXPOutlookBarPane.h"
#include "docking/bars/QMXPOutlookButton.h"
#include "docking/bars/QMXPOutlookWnd.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "docking/toolbars/QMXPVisualManagerXP.h"
#include "platform/classlib/Archive.h"
#include "platform/classlib/Menu.h"
#include "platform/classlib/MemFile.h"
#include "platform/classlib/OleDataObject.h"
#include "platform/classlib/OleDataSource.h"
#include "tests/framework/ScratchRegistryKey.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

using namespace docking_test;

namespace {

constexpr UINT kBarID = 0xE830;

class OutlookBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_pFrame = MakeFrame(500, 420);
        ASSERT_NE(m_pFrame, nullptr);
    }
    void TearDown() override {
        for (auto& pBar : m_bars)
            pBar->DestroyWindow();
        m_bars.clear();
        m_pages.clear();
        if (m_pFrame != nullptr)
            m_pFrame->DestroyWindow();
    }
    // A bar of the given pages (outlook panes, not detachable).
    CQMXPOutlookBar* MakeBar(DWORD dwControlBarStyle, int nPages, const CRect& rect = CRect(0, 0, 180, 400)) {
        m_bars.push_back(std::make_unique<CQMXPOutlookBar>());
        CQMXPOutlookBar* pBar = m_bars.back().get();
        if (!pBar->Create(L"Shortcuts", m_pFrame, rect, kBarID, WS_CHILD | WS_VISIBLE | CBRS_LEFT, dwControlBarStyle))
            return nullptr;
        for (int i = 0; i < nPages; ++i) {
            m_pages.push_back(std::make_unique<CQMXPOutlookBarPane>());
            CQMXPOutlookBarPane* pPane = m_pages.back().get();
            if (!pPane->Create(pBar, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xE840 + i))
                return nullptr;
            const wchar_t* names[] = {L"Mail", L"Notes", L"Tasks", L"Journal", L"Folders"};
            Wnd(pBar)->AddTab(pPane, names[i % 5], static_cast<UINT>(-1), FALSE);
        }
        return pBar;
    }
    static CQMXPOutlookWnd* Wnd(CQMXPOutlookBar* pBar) {
        return static_cast<CQMXPOutlookWnd*>(pBar->GetUnderlinedWindow());
    }
    static CRect TabRect(CQMXPOutlookWnd* pWnd, int i) {
        CRect rect;
        pWnd->GetTabRect(i, rect);
        return rect;
    }

    CDockTestFrame* m_pFrame = nullptr;
    std::vector<std::unique_ptr<CQMXPOutlookBar>> m_bars;
    std::vector<std::unique_ptr<CQMXPOutlookBarPane>> m_pages;
};

TEST_F(OutlookBarTest, PageButtonsStackAboveAndBelowTheActivePage) {
    CQMXPOutlookBar* pBar = MakeBar(0, 5);
    ASSERT_NE(pBar, nullptr);
    CQMXPOutlookWnd* pWnd = Wnd(pBar);
    const int H = pWnd->GetTabsHeight();
    struct Case {
        int iActive;
        int nTop;
    };
    for (const Case& c : {Case{2, 3}, Case{4, 5}, Case{0, 1}}) {
        SCOPED_TRACE(c.iActive);
        ASSERT_TRUE(pWnd->SetActiveTab(c.iActive));
        const CRect rectArea = pWnd->GetWndArea();
        for (int i = 0; i < 5; ++i) {
            const CRect rect = TabRect(pWnd, i);
            EXPECT_EQ(rect.Height(), H);
            if (i < c.nTop)
                EXPECT_EQ(rect.bottom, rectArea.top - (c.nTop - 1 - i) * H) << i;
            else
                EXPECT_GT(rect.top, rectArea.bottom) << i;
        }
        // The page's window fills the area between the buttons.
        CRect rectPage;
        pWnd->GetTabWnd(c.iActive)->GetWindowRect(&rectPage);
        pWnd->ScreenToClient(&rectPage);
        EXPECT_EQ(rectPage, rectArea);
        CRect rectTop;
        CRect rectBottom;
        pWnd->GetTabArea(rectTop, rectBottom);
        EXPECT_EQ(rectTop.Height(), c.nTop * H);
        EXPECT_EQ(rectBottom.Height(), (5 - c.nTop) * H);
    }
}

TEST_F(OutlookBarTest, AFloatableBarWithOnePageShowsNoPageButton) {
    struct Case {
        DWORD dwControlBarStyle;
        int nPages;
        bool bButtons;
    };
    for (const Case& c : {Case{QMXP_CBRS_FLOAT, 1, false}, Case{QMXP_CBRS_FLOAT, 2, true}, Case{0, 1, true}}) {
        SCOPED_TRACE(c.dwControlBarStyle * 10 + c.nPages);
        CQMXPOutlookBar* pBar = MakeBar(c.dwControlBarStyle, c.nPages);
        ASSERT_NE(pBar, nullptr);
        EXPECT_EQ(!TabRect(Wnd(pBar), 0).IsRectEmpty(), c.bButtons);
        EXPECT_EQ(pBar->CanBeDestroyedWhenEmpty() != FALSE, c.dwControlBarStyle == QMXP_CBRS_FLOAT);
    }
}

class OutlookCustomPagesTest : public OutlookBarTest {
protected:
    void SetUp() override {
        OutlookBarTest::SetUp();
        m_profile = m_scratch.Path() + L"\\";
    }
    // The stored value of count, ids and names, as an archive writes it.
    static std::vector<BYTE> Value(const std::vector<std::pair<int, const wchar_t*>>& pages) {
        CMemFile file;
        {
            CArchive ar(&file, CArchive::store);
            ar << static_cast<int>(pages.size());
            for (const auto& page : pages)
                ar << page.first << CString(page.second);
        }
        const auto nBytes = static_cast<size_t>(file.GetLength());
        BYTE* pData = file.Detach();
        std::vector<BYTE> bytes(pData, pData + nBytes);
        free(pData);
        return bytes;
    }
    std::vector<BYTE> Stored(const std::wstring& key) const {
        DWORD cb = 0;
        if (::RegGetValueW(HKEY_CURRENT_USER, key.c_str(), L"QMXPOutlookCustomPages", RRF_RT_REG_BINARY, nullptr,
                           nullptr, &cb) != ERROR_SUCCESS)
            return {};
        std::vector<BYTE> bytes(cb);
        ::RegGetValueW(HKEY_CURRENT_USER, key.c_str(), L"QMXPOutlookCustomPages", RRF_RT_REG_BINARY, nullptr,
                       bytes.data(), &cb);
        return bytes;
    }
    std::wstring Key(int nIndex) const {
        return m_profile + (nIndex == -1 ? L"QMXPOutlookBar-" + std::to_wstring(kBarID)
                                         : L"sQMXPOutlookBar-" + std::to_wstring(kBarID) + L"1f");
    }

    CScratchRegistryKey m_scratch;
    std::wstring m_profile;
};

TEST_F(OutlookCustomPagesTest, StoredPagesLoadSkippingForeignAndRepeatedIdsAndFreeTheirIdsOnDestroy) {
    struct Case {
        std::vector<std::pair<int, const wchar_t*>> stored;
        std::vector<UINT> loaded;
    };
    const Case cases[] = {
        {{}, {}},
        {{{0xF010, L"Mine"}, {0x1234, L"Low"}, {0xF010, L"Again"}, {0xF011, L"Yours"}}, {0xF010, 0xF011}},
        {{{0xEFFF, L"Below"}}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored.size());
        const std::vector<BYTE> value = Value(c.stored);
        ASSERT_TRUE(m_scratch.SetBytes(Key(-1), L"QMXPOutlookCustomPages", REG_BINARY, value.data(),
                                       static_cast<DWORD>(value.size())));
        CQMXPOutlookBar* pBar = MakeBar(0, 1);
        ASSERT_NE(pBar, nullptr);
        EXPECT_TRUE(pBar->LoadState(m_profile.c_str()));
        ASSERT_EQ(pBar->GetCustomPageCount(), static_cast<int>(c.loaded.size()));
        ASSERT_EQ(Wnd(pBar)->GetTabsNum(), 1 + static_cast<int>(c.loaded.size()));
        for (size_t i = 0; i < c.loaded.size(); ++i) {
            EXPECT_TRUE(CQMXPOutlookBar::IsCustomPageIDUsed(c.loaded[i]));
            EXPECT_NE(Wnd(pBar)->GetTabFromID(c.loaded[i]), -1);
        }
        // Saved again under an index: the section, then the name with its extra "s".
        EXPECT_TRUE(pBar->SaveState(m_profile.c_str(), kBarID, 0x1F));
        std::vector<std::pair<int, const wchar_t*>> expected;
        for (const auto& page : c.stored) {
            if (std::find(c.loaded.begin(), c.loaded.end(), static_cast<UINT>(page.first)) != c.loaded.end() &&
                std::find_if(expected.begin(), expected.end(), [&](const auto& e) { return e.first == page.first; }) ==
                    expected.end())
                expected.push_back(page);
        }
        EXPECT_EQ(Stored(Key(0x1F)), Value(expected));
        pBar->DestroyWindow();
        m_bars.clear();
        for (UINT uiID : c.loaded)
            EXPECT_FALSE(CQMXPOutlookBar::IsCustomPageIDUsed(uiID));
    }
    // A value cut short makes no page at all.
    std::vector<BYTE> cut = Value({{0xF020, L"Whole"}, {0xF021, L"Cut"}});
    cut.resize(cut.size() - 3);
    ASSERT_TRUE(m_scratch.SetBytes(Key(-1), L"QMXPOutlookCustomPages", REG_BINARY, cut.data(),
                                   static_cast<DWORD>(cut.size())));
    CQMXPOutlookBar* pBar = MakeBar(0, 1);
    ASSERT_NE(pBar, nullptr);
    EXPECT_TRUE(pBar->LoadState(m_profile.c_str()));
    EXPECT_EQ(pBar->GetCustomPageCount(), 0);
    EXPECT_FALSE(CQMXPOutlookBar::IsCustomPageIDUsed(0xF020));
}

// Panes ------------------------------------------------------------------------------

class OutlookPaneTest : public OutlookBarTest {
protected:
    void SetUp() override {
        OutlookBarTest::SetUp();
        m_pBar = MakeBar(0, 1, CRect(0, 0, 120, 260));
        ASSERT_NE(m_pBar, nullptr);
        m_pPane = m_pages.front().get();
        ASSERT_TRUE(m_pPane->GetOutlookImages().Load(IDB_DOCKTEST_STRIP24));
        m_pPane->GetOutlookImages().SetImageSize(CSize(16, 15));
    }
    void AddButtons(int nCount) {
        for (int i = 0; i < nCount; ++i) {
            auto* pButton = new CQMXPOutlookButton;
            pButton->m_nID = ID_DOCKTEST_HANDLED;
            pButton->SetImage(i % 10);
            pButton->m_strText.Format(L"Shortcut %d", i + 1);
            m_pPane->InsertButton(pButton);
        }
        m_pPane->AdjustLayout();
    }
    static std::unique_ptr<COleDataObject, void (*)(COleDataObject*)> Dragged(CQMXPToolbarButton& button) {
        CSharedFile file(GMEM_MOVEABLE, 4096);
        {
            CArchive ar(&file, CArchive::store);
            ar.WriteClass(button.GetRuntimeClass());
            button.Serialize(ar);
        }
        auto* pSource = new COleDataSource;
        pSource->CacheGlobalData(CQMXPToolbarButton::GetClipboardFormat(), file.Detach());
        auto* pData = new COleDataObject;
        pData->Attach(pSource->GetDataObject(TRUE));
        pSource->InternalRelease();
        return {pData, [](COleDataObject* p) {
                    p->Release();
                    delete p;
                }};
    }
    // Shown by the pane (the frame itself stays hidden).
    static bool Shown(CWnd& wnd) { return (wnd.GetStyle() & WS_VISIBLE) != 0; }
    static CPoint CentreIn(CWnd& target, CWnd& of) {
        CRect rect;
        of.GetWindowRect(&rect);
        target.ScreenToClient(&rect);
        return rect.CenterPoint();
    }

    CQMXPOutlookBar* m_pBar = nullptr;
    CQMXPOutlookBarPane* m_pPane = nullptr;
};

TEST_F(OutlookPaneTest, ButtonsThatFitShowNoScrollButton) {
    AddButtons(2);
    EXPECT_FALSE(Shown(m_pPane->GetScrollUpButton()));
    EXPECT_FALSE(Shown(m_pPane->GetScrollDownButton()));
    // Stacked and centred, the text wrapped under the image.
    const CRect rect0 = m_pPane->GetButton(0)->GetRect();
    const CRect rect1 = m_pPane->GetButton(1)->GetRect();
    EXPECT_GT(rect1.top, rect0.bottom);
    CRect rectClient;
    m_pPane->GetClientRect(&rectClient);
    EXPECT_NEAR(rect0.CenterPoint().x, (rectClient.Width() - 2) / 2, 1);
    EXPECT_GT(rect0.Height(), 15 + 10);
}

TEST_F(OutlookPaneTest, HoldingTheDownButtonScrollsOneButtonAStepUntilTheLastIsFirst) {
    AddButtons(9);
    // About one button shows at a time.
    m_pBar->SetWindowPos(nullptr, 0, 0, 120, 90, SWP_NOZORDER | SWP_NOACTIVATE);
    CQMXPButton& down = m_pPane->GetScrollDownButton();
    ASSERT_TRUE(Shown(down));
    const CPoint pt = CentreIn(down, down);
    const DWORD dwStart = ::GetTickCount();
    ::PostMessageW(down.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    // The press steps at once; each further step comes from the 200-ms timer.
    ASSERT_TRUE(classlib_test::PumpUntil([&] { return m_pPane->GetFirstVisibleButton() == 1; }, 1000));
    ASSERT_TRUE(classlib_test::PumpUntil([&] { return m_pPane->GetFirstVisibleButton() == 3; }, 2000));
    EXPECT_GE(::GetTickCount() - dwStart, 2 * 200u - 30u);
    // The pane goes no further than the last button once it is the first visible.
    ASSERT_TRUE(classlib_test::PumpUntil([&] { return !Shown(down); }, 4000));
    EXPECT_EQ(m_pPane->GetFirstVisibleButton(), 8);
    ::PostMessageW(down.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    classlib_test::PumpUntil([] { return false; }, 50);
    EXPECT_TRUE(Shown(m_pPane->GetScrollUpButton()));
    EXPECT_EQ(m_pPane->GetButton(8)->GetRect().top, 4);
}

TEST_F(OutlookPaneTest, KeptInitialButtonsComeBackAndAChangedSetReplacesThem) {
    auto ids = [this] {
        std::vector<UINT> result;
        for (int i = 0; i < m_pPane->GetCount(); ++i)
            result.push_back(m_pPane->GetButton(i)->m_nID);
        return result;
    };
    auto list = [](std::vector<UINT> idsIn, CObList& lst) {
        for (UINT uiID : idsIn) {
            auto* pButton = new CQMXPOutlookButton;
            pButton->m_nID = uiID;
            lst.AddTail(pButton);
        }
    };
    EXPECT_FALSE(m_pPane->CanBeRestored());
    EXPECT_FALSE(m_pPane->RestoreInitialState());
    CObList lstFirst;
    list({101, 102, 103}, lstFirst);
    m_pPane->SetInitialButtons(lstFirst);
    ASSERT_TRUE(m_pPane->RestoreInitialState());
    EXPECT_EQ(ids(), (std::vector<UINT>{101, 102, 103}));
    // The user's change stays while the program brings the same set.
    m_pPane->RemoveButton(1);
    m_pPane->SetInitialButtons(lstFirst);
    EXPECT_EQ(ids(), (std::vector<UINT>{101, 103}));
    struct Case {
        std::vector<UINT> next;
    };
    for (const Case& c : {Case{{101, 102}}, Case{{101, 104}}}) {
        CObList lstNext;
        list(c.next, lstNext);
        m_pPane->SetInitialButtons(lstNext);
        EXPECT_EQ(ids(), c.next);
        while (!lstNext.IsEmpty())
            delete lstNext.RemoveHead();
    }
    while (!lstFirst.IsEmpty())
        delete lstFirst.RemoveHead();
}

TEST_F(OutlookPaneTest, OnlyOutlookButtonsAreTakenAndADropOnTheUpButtonScrolls) {
    AddButtons(9);
    m_pPane->ScrollDown();
    m_pPane->ScrollDown();
    ASSERT_EQ(m_pPane->GetFirstVisibleButton(), 2);
    CQMXPToolbarButton plain(ID_DOCKTEST_HANDLED, 1, L"Plain", TRUE, TRUE);
    CQMXPOutlookButton outlook;
    outlook.m_nID = ID_DOCKTEST_HANDLED;
    outlook.SetImage(2);
    outlook.m_strText = L"Dropped";
    EXPECT_TRUE(outlook.CanBeDroppedOn(m_pPane));
    EXPECT_FALSE(outlook.CanBeDroppedOn(nullptr));

    const CPoint ptUp = CentreIn(*m_pPane, m_pPane->GetScrollUpButton());
    EXPECT_FALSE(m_pPane->OnDrop(Dragged(plain).get(), DROPEFFECT_COPY, CPoint(10, 10)));
    EXPECT_EQ(m_pPane->CreateDroppedButton(Dragged(plain).get()), nullptr);
    EXPECT_EQ(m_pPane->GetCount(), 9);
    EXPECT_TRUE(m_pPane->OnDrop(Dragged(outlook).get(), DROPEFFECT_COPY, ptUp));
    EXPECT_EQ(m_pPane->GetCount(), 9);
    EXPECT_EQ(m_pPane->GetFirstVisibleButton(), 1);
    EXPECT_TRUE(m_pPane->OnDrop(Dragged(outlook).get(), DROPEFFECT_COPY, CPoint(10, 10)));
    EXPECT_EQ(m_pPane->GetCount(), 10);

    // A picture of the bar with two more pages below the pane.
    for (int i = 0; i < 2; ++i) {
        m_pages.push_back(std::make_unique<CQMXPOutlookBarPane>());
        ASSERT_TRUE(m_pages.back()->Create(m_pBar, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xE850 + i));
        Wnd(m_pBar)->AddTab(m_pages.back().get(), i == 0 ? L"Notes" : L"Folders", static_cast<UINT>(-1), FALSE);
    }
    // The frame's view would paint over the bar.
    ::ShowWindow(::GetDlgItem(m_pFrame->m_hWnd, AFX_IDW_PANE_FIRST), SW_HIDE);
    m_pFrame->ShowWindow(SW_SHOWNOACTIVATE);
    m_pBar->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
    CRect rectBar;
    m_pBar->GetWindowRect(&rectBar);
    EXPECT_TRUE(SaveScreen(rectBar, L"docking_outlook_bar"));
}

TEST_F(OutlookPaneTest, TheButtonMenuKeepsThePagesLookItemsGreyedInCustomiseMode) {
    AddButtons(3);
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(QMXP_IDR_CUSTOMIZE_MENU));
    CMenu* pPopup = menu.GetSubMenu(0);
    ASSERT_NE(pPopup, nullptr);
    CQMXPToolBar::SwitchCustomizeMode(TRUE);
    // The last button with an image: a plain tool bar would enable every item here.
    EXPECT_TRUE(m_pPane->PrepareCustomizeMenu(m_pPane->GetButton(2), pPopup));
    CQMXPToolBar::SwitchCustomizeMode(FALSE);
    const struct {
        UINT uiID;
        bool bGreyed;
    } items[] = {
        {QMXP_ID_CUSTOMIZE_IMAGE, true},        {QMXP_ID_CUSTOMIZE_TEXT, true},
        {QMXP_ID_CUSTOMIZE_IMAGE_AND_TEXT, true}, {QMXP_ID_CUSTOMIZE_APPEARANCE, true},
        {QMXP_ID_CUSTOMIZE_START_GROUP, true},  {QMXP_ID_CUSTOMIZE_RESET, true},
        {QMXP_ID_CUSTOMIZE_COPY_IMAGE, true},   {QMXP_ID_CUSTOMIZE_DELETE, false},
    };
    for (const auto& item : items)
        EXPECT_EQ((pPopup->GetMenuState(item.uiID, MF_BYCOMMAND) & MF_GRAYED) != 0, item.bGreyed) << item.uiID;
}

TEST_F(OutlookPaneTest, ButtonsTakeTheirPagesFlatHighlightAndTextColoursInEachLook) {
    const CSysColorsScope colors({COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_GRAYTEXT, COLOR_BTNFACE},
                                 {RGB(250, 250, 0), RGB(0, 0, 160), RGB(0, 160, 160), RGB(212, 208, 200)});
    AddButtons(1);
    auto* pButton = static_cast<CQMXPOutlookButton*>(m_pPane->GetButton(0));
    const COLORREF clrBack = RGB(200, 200, 200);
    const COLORREF clrOwnText = RGB(200, 0, 200);
    const CRect rect(0, 0, 80, 60);
    // The image (16 x 15) is centred 5 pixels down; its frame is 2 pixels larger.
    const CPoint ptInFrame(31, 12);
    const CPoint ptFrameRight(49, 12);
    const CRect rectText(0, 22, 80, 60);
    enum Look { kClassic, kXP };
    const struct {
        Look look;
        BOOL bOwnColors, bFlat, bDisabled;
        COLORREF clrPaneText;
        COLORREF clrText;    // 0xFFFFFFFF: the look's button text, -2: its grey text
        COLORREF clrInFrame; // of the hot button
    } cases[] = {
        {kClassic, FALSE, FALSE, FALSE, CLR_NONE, RGB(250, 250, 0), clrBack},
        {kClassic, FALSE, FALSE, TRUE, CLR_NONE, RGB(212, 208, 200), clrBack},
        {kClassic, TRUE, TRUE, FALSE, CLR_NONE, RGB(0, 0, 160), RGB(170, 170, 170)},
        {kClassic, TRUE, FALSE, TRUE, CLR_NONE, RGB(0, 160, 160), clrBack},
        {kClassic, TRUE, FALSE, FALSE, clrOwnText, clrOwnText, clrBack},
        {kXP, FALSE, TRUE, FALSE, CLR_NONE, 0xFFFFFFFF, RGB(170, 170, 170)},
        {kXP, FALSE, FALSE, TRUE, CLR_NONE, static_cast<COLORREF>(-2), clrBack},
    };
    for (const auto& c : cases) {
        CQMXPVisualManager::SelectManagerClass(c.look == kXP ? RUNTIME_CLASS(CQMXPVisualManagerXP) : nullptr);
        m_pPane->SetOwnColors(c.bOwnColors);
        m_pPane->SetFlatLook(c.bFlat);
        m_pPane->SetTextColor(c.clrPaneText == CLR_NONE ? static_cast<COLORREF>(-1) : c.clrPaneText);
        pButton->m_nStyle = c.bDisabled ? TBBS_DISABLED : 0;
        const COLORREF clrText = c.clrText == 0xFFFFFFFF                      ? globalData.clrBtnText
                                 : c.clrText == static_cast<COLORREF>(-2) ? globalData.clrGrayedText
                                                                            : c.clrText;
        CCanvas canvas(rect.Width(), rect.Height(), clrBack);
        canvas.DC().SelectObject(&globalData.fontRegular);
        canvas.DC().SetBkMode(TRANSPARENT);
        pButton->OnDraw(&canvas.DC(), rect, &m_pPane->GetOutlookImages(), FALSE, FALSE, !c.bDisabled, FALSE, TRUE);
        EXPECT_GT(canvas.Count(clrText, rectText), 0) << c.look << c.bOwnColors << c.bDisabled;
        if (c.bDisabled)
            continue;
        if (c.look == kClassic || c.bFlat) {
            EXPECT_EQ(canvas.At(ptInFrame.x, ptInFrame.y), c.clrInFrame) << c.look << c.bFlat;
        }
        // The classic hot frame is closed by the dark shadow.
        if (c.look == kClassic) {
            EXPECT_EQ(canvas.At(ptFrameRight.x, ptFrameRight.y), globalData.clrBtnDkShadow);
        }
    }
    CQMXPVisualManager::SelectManagerClass(nullptr);
    m_pPane->SetOwnColors(FALSE);
    m_pPane->SetFlatLook(FALSE);
}

}  // namespace
