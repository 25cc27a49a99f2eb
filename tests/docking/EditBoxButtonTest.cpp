// Edit-box buttons on tool bars: their record, buttons of one command kept
// in step, the editing keys kept from the frame, the plain look down a
// vertical bar.
#include "DockingTestSupport.h"

#include "docking/toolbars/QMXPToolBar.h"
#include "docking/toolbars/QMXPToolbarEditBoxButton.h"
#include "platform/classlib/Archive.h"
#include "platform/classlib/MemFile.h"

#include <gtest/gtest.h>

using namespace docking_test;

namespace {

class CCountingEditBox : public CQMXPToolbarEditBoxButton {
public:
    CCountingEditBox() : CQMXPToolbarEditBoxButton(ID_DOCKTEST_HANDLED, -1, ES_AUTOHSCROLL, 120) {}
    BOOL OnCommandNotify(UINT uiNotifyCode) override {
        const BOOL bAnnounced = CQMXPToolbarEditBoxButton::OnCommandNotify(uiNotifyCode);
        m_nAnnounced += bAnnounced ? 1 : 0;
        return bAnnounced;
    }
    int m_nAnnounced = 0;
};

class EditBoxButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        Log().clear();
        m_pFrame = MakeFrame(500, 300);
        ASSERT_NE(m_pFrame, nullptr);
        ASSERT_TRUE(m_barA.Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP, AFX_IDW_TOOLBAR + 1));
        ASSERT_TRUE(m_barB.Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP, AFX_IDW_TOOLBAR + 2));
        m_pEditA = new CCountingEditBox;
        m_pEditB = new CCountingEditBox;
        m_barA.InsertButton(m_pEditA);
        m_barB.InsertButton(m_pEditB);
        m_barA.AdjustLayout();
        m_barB.AdjustLayout();
    }
    void TearDown() override {
        m_pFrame->DestroyWindow();
        Pump();
    }

    CDockTestApp m_app;
    CDockTestFrame* m_pFrame = nullptr;
    CQMXPToolBar m_barA;
    CQMXPToolBar m_barB;
    CCountingEditBox* m_pEditA = nullptr;
    CCountingEditBox* m_pEditB = nullptr;
};

TEST_F(EditBoxButtonTest, TypingIntoOneChangesTheOtherWhichAnnouncesNothingAndTheRecordKeepsIt) {
    ASSERT_NE(m_pEditA->GetEditBox(), nullptr);
    m_pEditA->GetEditBox()->SetWindowText(L"abc");
    EXPECT_EQ(std::wstring(m_pEditB->GetContents()), L"abc");
    CString strShown;
    m_pEditB->GetEditBox()->GetWindowText(strShown);
    EXPECT_EQ(std::wstring(strShown), L"abc");
    EXPECT_EQ(m_pEditA->m_nAnnounced, 1);
    EXPECT_EQ(m_pEditB->m_nAnnounced, 0);

    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        m_pEditA->Serialize(ar);
    }
    file.SeekToBegin();
    CQMXPToolbarEditBoxButton loaded;
    {
        CArchive ar(&file, CArchive::load);
        loaded.Serialize(ar);
    }
    EXPECT_EQ(std::wstring(loaded.GetContents()), L"abc");
    EXPECT_EQ(loaded.GetWidth(), 120);
}

TEST_F(EditBoxButtonTest, CtrlCCopiesInTheEditAndNeverReachesTheFramesAccelerators) {
    ACCEL accel = {FCONTROL | FVIRTKEY, 'C', ID_DOCKTEST_HANDLED};
    m_pFrame->m_hAccelTable = ::CreateAcceleratorTableW(&accel, 1);
    CQMXPToolbarEditCtrl* pEdit = m_pEditA->GetEditBox();
    pEdit->SetWindowText(L"copied");
    m_pFrame->ShowWindow(SW_SHOW);
    ::SetForegroundWindow(m_pFrame->m_hWnd);
    pEdit->SetFocus();
    pEdit->SetSel(0, -1);
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    ::CloseClipboard();

    BYTE keys[256];
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    ::SetKeyboardState(keys);
    MSG msg = {pEdit->m_hWnd, WM_KEYDOWN, 'C', 0, 0, {0, 0}};
    EXPECT_TRUE(CWnd::WalkPreTranslateTree(m_pFrame->m_hWnd, &msg));
    keys[VK_CONTROL] = 0;
    ::SetKeyboardState(keys);
    Pump();
    EXPECT_TRUE(Log().empty());

    ASSERT_TRUE(::OpenClipboard(nullptr));
    const HANDLE hText = ::GetClipboardData(CF_UNICODETEXT);
    const std::wstring text = hText != nullptr ? static_cast<const wchar_t*>(::GlobalLock(hText)) : L"";
    if (hText != nullptr)
        ::GlobalUnlock(hText);
    ::CloseClipboard();
    EXPECT_EQ(text, L"copied");
    ::DestroyAcceleratorTable(m_pFrame->m_hAccelTable);
    m_pFrame->m_hAccelTable = nullptr;
}

TEST_F(EditBoxButtonTest, DownAVerticalBarItIsAPlainButtonWithItsEditHidden) {
    CClientDC dc(&m_barA);
    const CSize sizeDefault(23, 22);
    const CSize sizeVert = m_pEditA->OnCalcSize(&dc, sizeDefault, FALSE);
    CQMXPToolbarButton plain(ID_DOCKTEST_HANDLED, -1);
    EXPECT_EQ(sizeVert, CSize(plain.OnCalcSize(&dc, sizeDefault, FALSE)));
    EXPECT_FALSE(m_pEditA->GetEditBox()->GetStyle() & WS_VISIBLE);
    EXPECT_TRUE(m_pEditA->HasBorder());
    EXPECT_EQ(CSize(m_pEditA->OnCalcSize(&dc, sizeDefault, TRUE)), CSize(120, 22));
    EXPECT_TRUE(m_pEditA->GetEditBox()->GetStyle() & WS_VISIBLE);
}

}  // namespace
