#include "platform/classlib/PropertySheet.h"

#include "TestResources.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

std::vector<std::string> g_pageLog;

class CTestPage : public CPropertyPage {
public:
    CTestPage(UINT nIDTemplate, const char* name, UINT nIDCaption = 0)
        : CPropertyPage(nIDTemplate, nIDCaption), m_name(name) {}

    std::function<void(CTestPage&)> onFirstActive;
    // Run from the message loop, after the activation has finished.
    std::function<void(CTestPage&)> onLater;
    BOOL refuseApply = FALSE;

    BOOL OnInitDialog() override {
        g_pageLog.push_back(m_name + " init");
        return CPropertyPage::OnInitDialog();
    }
    BOOL OnSetActive() override {
        g_pageLog.push_back(m_name + " active");
        BOOL bResult = CPropertyPage::OnSetActive();
        if (onFirstActive) {
            auto action = onFirstActive;
            onFirstActive = nullptr;
            action(*this);
        }
        return bResult;
    }
    BOOL OnKillActive() override {
        g_pageLog.push_back(m_name + " killactive");
        return CPropertyPage::OnKillActive();
    }
    BOOL OnApply() override {
        g_pageLog.push_back(m_name + " apply");
        if (refuseApply) {
            refuseApply = FALSE;
            return FALSE;
        }
        return CPropertyPage::OnApply();
    }
    void OnReset() override { g_pageLog.push_back(m_name + " reset"); }

protected:
    afx_msg LRESULT OnLater(WPARAM, LPARAM) {
        if (onLater)
            onLater(*this);
        return 0;
    }
    afx_msg void OnTimer(UINT_PTR nIDEvent) {
        KillTimer(nIDEvent);
        OnLater(0, 0);
    }
    DECLARE_MESSAGE_MAP()

private:
    std::string m_name;
};

BEGIN_MESSAGE_MAP(CTestPage, CPropertyPage)
    ON_MESSAGE(WM_APP + 1, OnLater)
    ON_WM_TIMER()
END_MESSAGE_MAP()

class CTestSheet : public CPropertySheet {
public:
    CTestSheet(CWnd* pParent, UINT iSelectPage) : CPropertySheet(L"Sheet", pParent, iSelectPage) {}
    bool timedOut = false;

    BOOL OnInitDialog() override {
        BOOL bResult = CPropertySheet::OnInitDialog();
        SetTimer(99, 4000);
        return bResult;
    }

protected:
    afx_msg void OnTimer(UINT_PTR) {
        timedOut = true;
        EndDialog(-2);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestSheet, CPropertySheet)
    ON_WM_TIMER()
END_MESSAGE_MAP()

void PressLater(CTestPage& page, int nButton) {
    page.GetParent()->PostMessage(PSM_PRESSBUTTON, static_cast<WPARAM>(nButton));
}

bool Contains(const std::string& line) {
    for (const std::string& s : g_pageLog) {
        if (s == line)
            return true;
    }
    return false;
}

}  // namespace

TEST(CPropertySheet, OkAppliesOnlyThePagesThatWereCreated) {
    g_pageLog.clear();
    CTestPage page1(IDD_TEST_PAGE1, "p1"), page2(IDD_TEST_PAGE2, "p2"), page3(IDD_TEST_PAGE3, "p3");
    CTestSheet sheet(nullptr, 1);
    sheet.AddPage(&page1);
    sheet.AddPage(&page2);
    sheet.AddPage(&page3);
    EXPECT_EQ(3, sheet.GetPageCount());
    EXPECT_EQ(&page2, sheet.GetActivePage()) << "before the window exists: the start page";
    // Show the third page, then press OK.
    page2.onFirstActive = [&](CTestPage& p) {
        p.GetParent()->PostMessage(PSM_SETCURSEL, 2);
        PressLater(p, PSBTN_OK);
    };
    EXPECT_EQ(IDOK, sheet.DoModal());
    EXPECT_FALSE(sheet.timedOut);
    EXPECT_FALSE(Contains("p1 init")) << "never shown, never made";
    EXPECT_FALSE(Contains("p1 apply"));
    EXPECT_TRUE(Contains("p2 init"));
    EXPECT_TRUE(Contains("p2 apply"));
    EXPECT_TRUE(Contains("p3 init"));
    EXPECT_TRUE(Contains("p3 apply"));
    EXPECT_TRUE(Contains("p3 killactive")) << "the current page gives up its data first";
    EXPECT_EQ(nullptr, sheet.m_hWnd);
    EXPECT_EQ(nullptr, page2.m_hWnd);
    EXPECT_EQ(nullptr, page3.m_hWnd);
    classlib_test::DrainMessages();
}

TEST(CPropertySheet, CancelResetsTheCreatedPagesAndApplyRefusalKeepsTheSheetOpen) {
    g_pageLog.clear();
    CTestPage page1(IDD_TEST_PAGE1, "p1"), page2(IDD_TEST_PAGE2, "p2");
    CTestSheet sheet(nullptr, 0);
    sheet.AddPage(&page1);
    sheet.AddPage(&page2);
    page1.onFirstActive = [](CTestPage& p) { PressLater(p, PSBTN_CANCEL); };
    EXPECT_EQ(IDCANCEL, sheet.DoModal());
    EXPECT_FALSE(sheet.timedOut);
    EXPECT_TRUE(Contains("p1 reset"));
    EXPECT_FALSE(Contains("p1 apply"));
    EXPECT_FALSE(Contains("p2 init"));

    // A page that refuses OK keeps the sheet running; the next OK closes it.
    g_pageLog.clear();
    CTestSheet again(nullptr, 0);
    again.AddPage(&page1);
    page1.refuseApply = TRUE;
    page1.onFirstActive = [](CTestPage& p) {
        PressLater(p, PSBTN_OK);
        PressLater(p, PSBTN_OK);
    };
    EXPECT_EQ(IDOK, again.DoModal());
    EXPECT_FALSE(again.timedOut);
    int applies = 0;
    for (const std::string& s : g_pageLog)
        applies += s == "p1 apply";
    EXPECT_EQ(2, applies);
    classlib_test::DrainMessages();
}

TEST(CPropertySheet, SheetIsShownWhenTheLoopFirstIdles) {
    g_pageLog.clear();
    CTestPage page(IDD_TEST_PAGE1, "p");
    CTestSheet sheet(nullptr, 0);
    sheet.AddPage(&page);
    BOOL visibleAtFirst = TRUE;
    BOOL visibleLater = FALSE;
    page.onFirstActive = [&](CTestPage& p) {
        visibleAtFirst = sheet.IsWindowVisible();
        p.SetTimer(1, 100);  // timers come after the loop has idled
    };
    page.onLater = [&](CTestPage& p) {
        visibleLater = sheet.IsWindowVisible();
        PressLater(p, PSBTN_OK);
    };
    EXPECT_EQ(IDOK, sheet.DoModal());
    EXPECT_FALSE(sheet.timedOut);
    EXPECT_FALSE(visibleAtFirst);
    EXPECT_TRUE(visibleLater);
    classlib_test::DrainMessages();
}

TEST(CPropertySheet, PageCaptionFromTheStringTableAndSheetOwner) {
    g_pageLog.clear();
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr, nullptr));
    CTestPage page(IDD_TEST_PAGE1, "p", IDS_TEST_PAGE_CAPTION);
    EXPECT_TRUE(page.m_psp.dwFlags & PSP_USETITLE);
    EXPECT_STREQ(L"Captioned", page.m_psp.pszTitle);
    CTestSheet sheet(&owner, 0);
    sheet.AddPage(&page);
    BOOL ownerEnabledInside = TRUE;
    CWnd* pActive = nullptr;
    page.onFirstActive = [](CTestPage& p) { p.PostMessage(WM_APP + 1); };
    page.onLater = [&](CTestPage& p) {
        ownerEnabledInside = owner.IsWindowEnabled();
        pActive = sheet.GetActivePage();
        PressLater(p, PSBTN_OK);
    };
    EXPECT_EQ(IDOK, sheet.DoModal());
    EXPECT_FALSE(ownerEnabledInside);
    EXPECT_EQ(&page, pActive);
    EXPECT_TRUE(owner.IsWindowEnabled());
    owner.DestroyWindow();
    classlib_test::DrainMessages();
}

TEST(CPropertySheet, WizardFinishesWithItsOwnResult) {
    g_pageLog.clear();
    CTestPage page1(IDD_TEST_PAGE1, "p1"), page2(IDD_TEST_PAGE2, "p2");
    CTestSheet sheet(nullptr, 0);
    sheet.AddPage(&page1);
    sheet.AddPage(&page2);
    sheet.SetWizardMode();
    page1.onFirstActive = [](CTestPage& p) { PressLater(p, PSBTN_NEXT); };
    page2.onFirstActive = [&](CTestPage& p) {
        sheet.SetWizardButtons(PSWIZB_BACK | PSWIZB_FINISH);
        PressLater(p, PSBTN_FINISH);
    };
    EXPECT_EQ(ID_WIZFINISH, sheet.DoModal());
    EXPECT_FALSE(sheet.timedOut);
    EXPECT_TRUE(Contains("p1 killactive"));
    EXPECT_TRUE(Contains("p2 init"));
    classlib_test::DrainMessages();
}
