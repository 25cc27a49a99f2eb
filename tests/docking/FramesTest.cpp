// Frame stand-ins: the workspace's registry paths and load hook, the
// registry class, docking bars in the MDI frame, the MDI child frame, and
// the preview view with its tool bar.
#include "DockingTestSupport.h"

#include "docking/frames/QMXPMDIChildWnd.h"
#include "docking/frames/QMXPMDIFrameWnd.h"
#include "docking/frames/QMXPPrintPreviewView.h"
#include "docking/frames/QMXPRegistry.h"
#include "docking/frames/QMXPWorkspace.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "docking/toolbars/QMXPToolbarButton.h"
#include "platform/classlib/DialogBar.h"
#include "platform/classlib/DocTemplate.h"
#include "platform/classlib/PrintPreviewState.h"

#include <gtest/gtest.h>

using namespace docking_test;

namespace {

// An application that is also the workspace, as the framework's is.
class CWorkspaceApp : public CDockTestApp, public CQMXPWorkspace {
protected:
    void PreLoadState() override { Record(L"workspace:preload"); }
    void PostLoadState() override { Record(L"workspace:postload"); }
};

TEST(WorkspaceTest, SectionPathsLieBelowTheApplicationsKey) {
    EXPECT_EQ(QMXPGetWorkspace(), nullptr);
    {
        CWorkspaceApp app;
        EXPECT_EQ(QMXPGetWorkspace(), static_cast<CQMXPWorkspace*>(&app));
        // Without a registry key the profile comes straight after "SOFTWARE".
        app.m_pszProfileName = _wcsdup(L"DockingTests");
        EXPECT_EQ(std::wstring(app.GetRegSectionPath()), L"SOFTWARE\\DockingTests\\QMXWorkspace\\");
        app.SetRegistryKey(L"Kestrel Works");
        const struct {
            const wchar_t* section;
            const wchar_t* expected;
        } cases[] = {
            {L"", L"SOFTWARE\\Kestrel Works\\DockingTests\\QMXWorkspace\\"},
            {nullptr, L"SOFTWARE\\Kestrel Works\\DockingTests\\QMXWorkspace\\"},
            {L"QMXControlBarVersion", L"SOFTWARE\\Kestrel Works\\DockingTests\\QMXWorkspace\\QMXControlBarVersion\\"},
        };
        for (const auto& c : cases)
            EXPECT_EQ(std::wstring(app.GetRegSectionPath(c.section)), c.expected);
        app.SetRegistryBase(L"Kestrel Works\\Tallier\\Settings");
        EXPECT_EQ(std::wstring(app.GetRegSectionPath()),
                  L"SOFTWARE\\Kestrel Works\\DockingTests\\Kestrel Works\\Tallier\\Settings\\");

        Log().clear();
        EXPECT_TRUE(app.LoadState(L"Layout"));
        EXPECT_EQ(Log(), (std::vector<std::wstring>{L"workspace:preload", L"workspace:postload"}));
        EXPECT_EQ(std::wstring(app.GetRegSectionPath()), L"SOFTWARE\\Kestrel Works\\DockingTests\\Layout\\");
    }
    EXPECT_EQ(QMXPGetWorkspace(), nullptr);
}

TEST(RegistryTest, OpensExistingKeysReadOnly) {
    const wchar_t kPath[] = L"Software\\OstraTallierDockingTest";
    HKEY hKey = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hKey, nullptr),
              ERROR_SUCCESS);
    ::RegCloseKey(hKey);
    {
        CQMXPRegistry reg(FALSE, TRUE);
        EXPECT_EQ(reg.GetKey(), HKEY_CURRENT_USER);
        EXPECT_FALSE(reg.Open(L"Software\\OstraTallierDockingTest\\Missing\\"));
        EXPECT_EQ(reg.GetKey(), HKEY_CURRENT_USER);  // unchanged after a failure
        ASSERT_TRUE(reg.Open(L"Software\\OstraTallierDockingTest\\"));  // trailing backslash ignored
        DWORD dwValue = 1;
        EXPECT_NE(::RegSetValueExW(reg.GetKey(), L"Probe", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwValue),
                                   sizeof(dwValue)),
                  ERROR_SUCCESS);  // read-only
    }
    {
        CQMXPRegistry reg(FALSE, FALSE);
        ASSERT_TRUE(reg.Open(L"Software\\OstraTallierDockingTest"));
        DWORD dwValue = 1;
        EXPECT_EQ(::RegSetValueExW(reg.GetKey(), L"Probe", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwValue),
                                   sizeof(dwValue)),
                  ERROR_SUCCESS);
    }
    ::RegDeleteKeyW(HKEY_CURRENT_USER, kPath);
}

class MDIStandInTest : public ::testing::Test {
protected:
    void SetUp() override {
        Log().clear();
        m_app.AddDocTemplate(new CMultiDocTemplate(IDR_DOCKTEST_DOC, RUNTIME_CLASS(CDockTestDoc),
                                                   RUNTIME_CLASS(CQMXPMDIChildWnd), RUNTIME_CLASS(CDockTestView)));
        m_pFrame = new CQMXPMDIFrameWnd;
        ASSERT_TRUE(m_pFrame->LoadFrame(IDR_DOCKTEST_MAIN));
        m_app.m_pMainWnd = m_pFrame;
        SizeClientArea(m_pFrame, 500, 400);
    }
    void TearDown() override {
        if (m_app.m_pMainWnd != nullptr)
            m_app.m_pMainWnd->SendMessage(WM_CLOSE);
        Pump();
        EXPECT_EQ(m_app.m_pMainWnd, nullptr);
    }
    CWorkspaceApp m_app;
    CQMXPMDIFrameWnd* m_pFrame = nullptr;
};

TEST_F(MDIStandInTest, LoadingTheFrameLoadsTheLayout) {
    EXPECT_EQ(Log(), (std::vector<std::wstring>{L"workspace:preload", L"workspace:postload"}));
}

TEST_F(MDIStandInTest, DocumentFramesOpenAndCloseThroughTheClassLibrary) {
    m_app.OnFileNew();
    CMDIChildWnd* pChild = m_pFrame->MDIGetActive();
    ASSERT_NE(pChild, nullptr);
    EXPECT_TRUE(pChild->IsKindOf(RUNTIME_CLASS(CQMXPMDIChildWnd)));
    EXPECT_TRUE(pChild->GetStyle() & WS_VISIBLE);
    CString caption;
    pChild->GetWindowText(caption);
    EXPECT_EQ(std::wstring(caption), L"Pane1");
    pChild->ActivateFrame(SW_SHOWMAXIMIZED);
    EXPECT_TRUE(pChild->IsZoomed());
    EXPECT_EQ(m_pFrame->MDIGetActive(), pChild);
}

// The docking library's preview view over the class library's preview.
TEST(PrintPreviewStandInTest, ToolBarOverThePreviewBar) {
    CDockTestApp app;
    Log().clear();
    CDockTestFrame* pFrame = MakeFrame(600, 400);
    ASSERT_NE(pFrame, nullptr);
    CView* pView = pFrame->GetActiveView();
    auto* pState = new CPrintPreviewState;
    ASSERT_TRUE(pView->DoPrintPreview(IDD_DOCKTEST_PREVIEW_BAR, pView, RUNTIME_CLASS(CQMXPPrintPreviewView), pState));
    CWnd* pPane = CWnd::FromHandlePermanent(::GetDlgItem(pFrame->m_hWnd, AFX_IDW_PANE_FIRST));
    ASSERT_NE(pPane, nullptr);
    ASSERT_TRUE(pPane->IsKindOf(RUNTIME_CLASS(CQMXPPrintPreviewView)));
    auto* pPreview = static_cast<CQMXPPrintPreviewView*>(pPane);

    // The tool bar lies on the preview bar, both as wide as the frame.
    HWND hWndBar = ::GetDlgItem(pFrame->m_hWnd, AFX_IDW_PREVIEW_BAR);
    ASSERT_NE(hWndBar, nullptr);
    auto* pToolBar = static_cast<CQMXPToolBar*>(CWnd::FromHandlePermanent(::GetDlgItem(hWndBar, AFX_IDW_TOOLBAR)));
    ASSERT_NE(pToolBar, nullptr);
    EXPECT_EQ(RectInParent(hWndBar).Width(), 600);
    EXPECT_EQ(RectInParent(pToolBar->m_hWnd), CRect(0, 0, 600, RectInParent(hWndBar).Height()));
    EXPECT_EQ(RectInParent(pPreview->m_hWnd).top, RectInParent(hWndBar).bottom);
    const UINT expected[] = {AFX_ID_PREVIEW_PRINT, AFX_ID_PREVIEW_PREV, AFX_ID_PREVIEW_NEXT, AFX_ID_PREVIEW_NUMPAGE,
                             AFX_ID_PREVIEW_CLOSE};
    ASSERT_EQ(pToolBar->GetCount(), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(pToolBar->GetButton(i)->m_nID, expected[i]);

    // Its buttons follow the preview's update handlers; a click goes to the preview.
    pToolBar->OnUpdateCmdUI(pFrame, TRUE);
    CQMXPToolbarButton* pPages = pToolBar->GetButton(3);
    EXPECT_EQ(std::wstring(pPages->m_strText), L"&Two Page");
    EXPECT_TRUE(pToolBar->GetButton(1)->m_nStyle & TBBS_DISABLED);  // no page before the first
    CPoint click = pPages->GetRect().CenterPoint();
    pToolBar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(click.x, click.y));
    pToolBar->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(click.x, click.y));
    Pump();
    EXPECT_EQ(pPreview->GetPagesShown(), 2u);
    pToolBar->OnUpdateCmdUI(pFrame, TRUE);
    EXPECT_EQ(std::wstring(pPages->m_strText), L"&One Page");

    // Close: the view is back, the preview and its bars are gone.
    CPoint close = pToolBar->GetButton(4)->GetRect().CenterPoint();
    pToolBar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(close.x, close.y));
    pToolBar->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(close.x, close.y));
    Pump();
    EXPECT_EQ(::GetDlgItem(pFrame->m_hWnd, AFX_IDW_PANE_FIRST), pView->m_hWnd);
    EXPECT_EQ(::GetDlgItem(pFrame->m_hWnd, AFX_IDW_PREVIEW_BAR), nullptr);
    EXPECT_EQ(pFrame->GetActiveView(), pView);
    pFrame->DestroyWindow();
    Pump();
    for (const auto& entry : Log())
        EXPECT_NE(entry.rfind(L"msgbox", 0), 0u) << "no message box: " << ::testing::PrintToString(entry);
}

}  // namespace
