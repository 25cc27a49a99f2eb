#include "platform/classlib/DataExchange.h"
#include "platform/classlib/Dialog.h"

#include "TestResources.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

class CEditWrapper : public CWnd {};

// A dialog that drives itself: OnInitDialog runs the test's action, and a
// safety timer ends it when nothing else does.
class CTestDialog : public CDialog {
public:
    explicit CTestDialog(CWnd* pParent = nullptr) : CDialog(IDD_TEST_DIALOG, pParent) {}

    std::function<void(CTestDialog&)> onInit;
    std::vector<std::string> log;
    bool timedOut = false;
    int comboItems = -1;
    CString comboFirst;
    BOOL parentEnabledInside = TRUE;
    CEditWrapper m_edit;

    BOOL OnInitDialog() override {
        BOOL bResult = CDialog::OnInitDialog();
        comboItems = static_cast<int>(SendDlgItemMessage(IDC_TEST_COMBO, CB_GETCOUNT));
        CWnd* pCombo = GetDlgItem(IDC_TEST_COMBO);
        int nLength = static_cast<int>(pCombo->SendMessage(CB_GETLBTEXTLEN, 0));
        if (nLength > 0) {
            pCombo->SendMessage(CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(comboFirst.GetBuffer(nLength)));
            comboFirst.ReleaseBuffer();
        }
        if (m_pParentWnd != nullptr)
            parentEnabledInside = m_pParentWnd->IsWindowEnabled();
        SetTimer(99, 4000);
        if (onInit)
            onInit(*this);
        return bResult;
    }
    void DoDataExchange(CDataExchange* pDX) override {
        log.push_back(pDX->m_bSaveAndValidate ? "exchange save" : "exchange load");
        DDX_Control(pDX, IDC_TEST_EDIT, m_edit);
    }
    void OnOK() override {
        log.push_back("ok");
        CDialog::OnOK();
    }
    void OnCancel() override {
        log.push_back("cancel");
        CDialog::OnCancel();
    }

protected:
    afx_msg void OnOther() {
        log.push_back("other");
        EndDialog(IDC_TEST_OTHER);
    }
    afx_msg void OnTimer(UINT_PTR) {
        timedOut = true;
        EndDialog(-2);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestDialog, CDialog)
    ON_BN_CLICKED(IDC_TEST_OTHER, OnOther)
    ON_WM_TIMER()
END_MESSAGE_MAP()

void PostClick(CTestDialog& dlg, int nID) {
    dlg.PostMessage(WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED),
                    reinterpret_cast<LPARAM>(dlg.GetDlgItem(nID)->GetSafeHwnd()));
}

}  // namespace

TEST(CDialog, ModalDialogEndsWithTheIdOfThePressedButton) {
    struct Case {
        const char* name;
        std::function<void(CTestDialog&)> action;
        INT_PTR expected;
        std::vector<std::string> log;
    };
    const Case cases[] = {
        {"other button", [](CTestDialog& d) { PostClick(d, IDC_TEST_OTHER); }, IDC_TEST_OTHER,
         {"exchange load", "other"}},
        {"OK takes the data first", [](CTestDialog& d) { PostClick(d, IDOK); }, IDOK,
         {"exchange load", "ok", "exchange save"}},
        {"Cancel", [](CTestDialog& d) { PostClick(d, IDCANCEL); }, IDCANCEL, {"exchange load", "cancel"}},
        {"Escape through the dialog's pre-translation",
         [](CTestDialog& d) { d.PostMessage(WM_KEYDOWN, VK_ESCAPE, 0x00010001); }, IDCANCEL,
         {"exchange load", "cancel"}},
        {"Escape in a multi-line edit",
         [](CTestDialog& d) {
             ::PostMessageW(d.GetDlgItem(IDC_TEST_MULTILINE)->GetSafeHwnd(), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
         },
         IDCANCEL, {"exchange load", "cancel"}},
        {"ended while initialising", [](CTestDialog& d) { d.EndDialog(1234); }, 1234, {"exchange load"}},
    };
    for (const Case& c : cases) {
        CTestDialog dlg;
        dlg.onInit = c.action;
        INT_PTR result = dlg.DoModal();
        EXPECT_FALSE(dlg.timedOut) << c.name;
        EXPECT_EQ(c.expected, result) << c.name;
        EXPECT_EQ(c.log, dlg.log) << c.name;
        EXPECT_EQ(nullptr, dlg.m_hWnd) << c.name;
        EXPECT_EQ(2, dlg.comboItems) << "the template's initialisation data filled the combo box";
        EXPECT_STREQ(L"Alpha", dlg.comboFirst);
        EXPECT_EQ(nullptr, dlg.m_edit.m_hWnd) << "the subclassed edit went with the dialog";
    }
    classlib_test::DrainMessages();
}

TEST(CDialog, ModalDialogDisablesItsOwnerForTheRun) {
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr, nullptr));
    CTestDialog dlg(&owner);
    CWnd* pSubclassedEdit = nullptr;
    dlg.onInit = [&](CTestDialog& d) {
        pSubclassedEdit = CWnd::FromHandlePermanent(d.GetDlgItem(IDC_TEST_EDIT)->GetSafeHwnd());
        PostClick(d, IDCANCEL);
    };
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_FALSE(dlg.parentEnabledInside);
    EXPECT_TRUE(owner.IsWindowEnabled());
    EXPECT_EQ(&dlg.m_edit, pSubclassedEdit) << "DDX_Control subclassed the item";
    owner.DestroyWindow();

    CDialog missing(9999);
    EXPECT_EQ(-1, missing.DoModal()) << "no such template";
    classlib_test::DrainMessages();
}

TEST(CDialog, ModelessDialogAndTemplateWindow) {
    CTestDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_TEST_DIALOG));
    EXPECT_TRUE(::IsWindow(dlg.m_hWnd));
    EXPECT_EQ(2, dlg.comboItems);
    EXPECT_EQ(std::vector<std::string>{"exchange load"}, dlg.log);
    dlg.KillTimer(99);
    dlg.DestroyWindow();
    EXPECT_EQ(nullptr, dlg.m_hWnd);

    // A plain window made from a template, with list-box data of old templates.
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, L"parent", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr));
    CWnd pane;
    ASSERT_TRUE(pane.CreateDlg(MAKEINTRESOURCEW(IDD_TEST_PANE), &parent));
    EXPECT_TRUE(pane.GetStyle() & WS_CHILD);
    EXPECT_EQ(0, pane.SendDlgItemMessage(IDC_TEST_LIST, LB_GETCOUNT)) << "the data is applied on request";
    ASSERT_TRUE(pane.ExecuteDlgInit(MAKEINTRESOURCEW(IDD_TEST_PANE)));
    EXPECT_EQ(3, pane.SendDlgItemMessage(IDC_TEST_LIST, LB_GETCOUNT));
    EXPECT_TRUE(pane.ExecuteDlgInit(MAKEINTRESOURCEW(IDD_TEST_PAGE1))) << "no data is no failure";
    EXPECT_FALSE(pane.CreateDlg(MAKEINTRESOURCEW(IDD_TEST_PANE), &parent)) << "already has a window";
    parent.DestroyWindow();
    EXPECT_EQ(nullptr, pane.m_hWnd);
    classlib_test::DrainMessages();
}
