// Key texts of accelerators (with the system's key names) and the edit
// control that captures a key combination, driven by key messages.
#include "DockingTestSupport.h"

#include "docking/frames/KeyAssign.h"
#include "docking/frames/QMXPKeyHelper.h"

#include <gtest/gtest.h>

using namespace docking_test;

namespace {

CString Text(BYTE fVirt, WORD key) {
    ACCEL accel = {fVirt, key, 0};
    CString str;
    CQMXPKeyHelper(&accel).Format(str);
    return str;
}

TEST(KeyTextTest, ModifiersComeFirstInTheirOrderThenTheKey) {
    const CString strCtrl = CQMXPKeyHelper::GetKeyName(VK_CONTROL);
    const CString strShift = CQMXPKeyHelper::GetKeyName(VK_SHIFT);
    const CString strAlt = CQMXPKeyHelper::GetKeyName(VK_MENU);
    ASSERT_FALSE(strCtrl.IsEmpty());
    const struct {
        BYTE fVirt;
        WORD key;
        CString text;
    } cases[] = {
        {FVIRTKEY | FCONTROL | FSHIFT, VK_F5, strCtrl + L"+" + strShift + L"+F5"},
        {FVIRTKEY | FSHIFT | FALT | FCONTROL, 'A', strCtrl + L"+" + strShift + L"+" + strAlt + L"+A"},
        {FALT, 'q', strAlt + L"+q"},
        {FCONTROL, 27, strCtrl + L"+"},
    };
    for (const auto& test : cases)
        EXPECT_EQ(Text(test.fVirt, test.key), test.text) << test.key;
    // The navigation keys by their extended names, not the keypad's.
    EXPECT_NE(CQMXPKeyHelper::GetKeyName(VK_HOME), CQMXPKeyHelper::GetKeyName(VK_NUMPAD7));
    CString strNone(L"x");
    CQMXPKeyHelper(nullptr).Format(strNone);
    EXPECT_TRUE(strNone.IsEmpty());
}

class KeyAssignTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_pFrame = MakeFrame(300, 100);
        ASSERT_NE(m_pFrame, nullptr);
        ASSERT_TRUE(m_edit.Create(WS_CHILD | WS_VISIBLE, CRect(10, 10, 200, 30), m_pFrame, 100));
        // A click gives the control the focus without a key to swallow.
        EXPECT_TRUE(Send(WM_LBUTTONDOWN, 0));
    }
    void TearDown() override {
        m_pFrame->DestroyWindow();
        Pump();
    }
    BOOL Send(UINT message, WPARAM wParam) {
        MSG msg = {m_edit.m_hWnd, message, wParam, 0, 0, {0, 0}};
        return m_edit.PreTranslateMessage(&msg);
    }
    CString Shown() {
        CString str;
        m_edit.GetWindowText(str);
        return str;
    }

    CDockTestApp m_app;
    CDockTestFrame* m_pFrame = nullptr;
    CKeyAssign m_edit;
};

TEST_F(KeyAssignTest, ControlShiftF5CompletesTheCombination) {
    EXPECT_TRUE(Send(WM_KEYDOWN, VK_CONTROL));
    EXPECT_EQ(Shown(), Text(FCONTROL, 0));
    EXPECT_TRUE(Send(WM_KEYDOWN, VK_SHIFT));
    EXPECT_FALSE(m_edit.IsKeyDefined());
    EXPECT_TRUE(Send(WM_KEYDOWN, VK_F5));
    EXPECT_TRUE(m_edit.IsKeyDefined());
    EXPECT_EQ(Shown(), Text(FVIRTKEY | FCONTROL | FSHIFT, VK_F5));
    EXPECT_EQ(m_edit.GetAccel().key, VK_F5);
    // Releasing the keys keeps it; the next key starts anew.
    Send(WM_KEYUP, VK_F5);
    Send(WM_KEYUP, VK_SHIFT);
    EXPECT_EQ(Shown(), Text(FVIRTKEY | FCONTROL | FSHIFT, VK_F5));
    Send(WM_KEYDOWN, VK_F6);
    EXPECT_EQ(Shown(), Text(FVIRTKEY, VK_F6));
}

TEST_F(KeyAssignTest, TabAlonePassesAndEscapeClearsAndIsTaken) {
    EXPECT_FALSE(Send(WM_KEYDOWN, VK_TAB));
    EXPECT_TRUE(Shown().IsEmpty());
    EXPECT_FALSE(m_edit.IsKeyDefined());
    Send(WM_KEYDOWN, 'K');
    ASSERT_TRUE(m_edit.IsKeyDefined());
    EXPECT_TRUE(Send(WM_KEYDOWN, VK_ESCAPE));
    EXPECT_TRUE(Shown().IsEmpty());
    EXPECT_FALSE(m_edit.IsKeyDefined());
}

}  // namespace
