// The application's printer setup: the default printer's blocks, its DC,
// and the setup dialog that may replace them.
#include "TestSupport.h"

#include "platform/classlib/DC.h"
#include "platform/classlib/PrintDialog.h"

#include <gtest/gtest.h>

namespace {

CString DeviceName(HGLOBAL hDevNames) {
    auto* pNames = static_cast<LPDEVNAMES>(::GlobalLock(hDevNames));
    CString strName = reinterpret_cast<const wchar_t*>(pNames) + pNames->wDeviceOffset;
    ::GlobalUnlock(hDevNames);
    return strName;
}

BOOL CALLBACK CancelDialog(HWND hWnd, LPARAM) {
    wchar_t szClass[16];
    ::GetClassNameW(hWnd, szClass, 16);
    if (::lstrcmpW(szClass, L"#32770") == 0)
        ::PostMessageW(hWnd, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}

void CALLBACK CancelDialogs(HWND, UINT, UINT_PTR, DWORD) {
    ::EnumThreadWindows(::GetCurrentThreadId(), &CancelDialog, 0);
}

}  // namespace

TEST(PrinterSetupTest, TheDefaultPrinterIsFetchedOnceAndGivesItsDC) {
    classlib_test::CTestApp app;
    PRINTDLGW pd = {};
    pd.lStructSize = sizeof(pd);
    if (!app.GetPrinterDeviceDefaults(&pd)) {
        // No printer: nothing is stored and no DC can be made.
        EXPECT_EQ(nullptr, app.m_hDevNames);
        CDC dc;
        EXPECT_FALSE(app.CreatePrinterDC(dc));
        return;
    }
    ASSERT_NE(nullptr, app.m_hDevNames);
    EXPECT_EQ(app.m_hDevNames, pd.hDevNames);
    EXPECT_EQ(app.m_hDevMode, pd.hDevMode);
    CString strDevice = DeviceName(app.m_hDevNames);
    EXPECT_FALSE(strDevice.IsEmpty());

    PRINTDLGW pdAgain = {};
    ASSERT_TRUE(app.GetPrinterDeviceDefaults(&pdAgain));
    EXPECT_EQ(pd.hDevNames, pdAgain.hDevNames) << "kept, not fetched again";

    CDC dc;
    ASSERT_TRUE(app.CreatePrinterDC(dc));
    EXPECT_EQ(DT_RASPRINTER, dc.GetDeviceCaps(TECHNOLOGY));
    EXPECT_GT(dc.GetDeviceCaps(HORZRES), 0);

    // The setup dialog, cancelled, leaves a setup of the same printer.
    UINT_PTR nTimer = ::SetTimer(nullptr, 0, 300, &CancelDialogs);
    CPrintDialog dlg(TRUE);
    EXPECT_EQ(IDCANCEL, app.DoPrintDialog(&dlg));
    ::KillTimer(nullptr, nTimer);
    ASSERT_NE(nullptr, app.m_hDevNames);
    EXPECT_EQ(strDevice, DeviceName(app.m_hDevNames));

    app.UpdatePrinterSelection(TRUE);
    ASSERT_NE(nullptr, app.m_hDevNames);
    EXPECT_EQ(strDevice, DeviceName(app.m_hDevNames)) << "the defaults again";
    app.SelectPrinter(nullptr, nullptr);
    EXPECT_EQ(nullptr, app.m_hDevMode);
}
