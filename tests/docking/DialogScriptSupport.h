#pragma once
// Runs a library dialog modally while a thread timer plays the test's steps,
// one per tick (message boxes are answered first); the dialog ends with
// IDCANCEL when the script runs out of time.
#include "tests/platform/classlib/TestSupport.h"

#include "platform/classlib/Dialog.h"

#include <functional>
#include <vector>

namespace docking_test {

class CDialogScript {
public:
    INT_PTR Run(CDialog& dlg, std::vector<std::function<void()>> steps) {
        m_script.steps.assign(steps.begin(), steps.end());
        m_script.Start();
        m_pDialog = &dlg;
        s_pCurrent = this;
        const UINT_PTR timer = ::SetTimer(nullptr, 0, 30, Tick);
        const INT_PTR nResult = dlg.DoModal();
        ::KillTimer(nullptr, timer);
        s_pCurrent = nullptr;
        return nResult;
    }
    bool TimedOut() const { return m_script.timedOut; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        if (s_pCurrent == nullptr || s_pCurrent->m_pDialog->GetSafeHwnd() == nullptr)
            return;
        if (!s_pCurrent->m_script.Tick(s_pCurrent->m_pDialog->m_hWnd))
            s_pCurrent->m_pDialog->EndDialog(IDCANCEL);
    }
    classlib_test::StepScript m_script;
    CDialog* m_pDialog = nullptr;
    static inline CDialogScript* s_pCurrent = nullptr;
};

}  // namespace docking_test
