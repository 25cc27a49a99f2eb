#pragma once
// Runs a library dialog modally while a thread timer plays the test's steps,
// one per tick (message boxes are answered first); the dialog ends with
// IDCANCEL when the script runs out of time.
#include "tests/platform/classlib/TestSupport.h"

#include "docking/frames/ButtonAppearanceDlg.h"
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

// While it lives, answers each button appearance dialog the code under test
// opens: cancelled when no text is given, else "Text only" with the text.
class CAppearanceAnswer {
public:
    explicit CAppearanceAnswer(const wchar_t* lpszText) : m_timer(::SetTimer(nullptr, 0, 30, Tick)) {
        s_lpszText = lpszText;
        s_nShown = 0;
    }
    ~CAppearanceAnswer() { ::KillTimer(nullptr, m_timer); }
    static int Shown() { return s_nShown; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        HWND hDialog = classlib_test::FindThreadDialog(nullptr, IDC_QMXP_TEXT_ONLY);
        if (hDialog == nullptr)
            return;
        ++s_nShown;
        if (s_lpszText == nullptr) {
            ::SendMessageW(hDialog, WM_COMMAND, IDCANCEL, 0);
            return;
        }
        ::CheckRadioButton(hDialog, IDC_QMXP_IMAGE_ONLY, IDC_QMXP_IMAGE_AND_TEXT, IDC_QMXP_TEXT_ONLY);
        ::SendMessageW(hDialog, WM_COMMAND, MAKEWPARAM(IDC_QMXP_TEXT_ONLY, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(hDialog, IDC_QMXP_TEXT_ONLY)));
        ::SetDlgItemTextW(hDialog, IDC_QMXP_BUTTON_TEXT, s_lpszText);
        ::SendMessageW(hDialog, WM_COMMAND, IDOK, 0);
    }
    UINT_PTR m_timer;
    static inline const wchar_t* s_lpszText = nullptr;
    static inline int s_nShown = 0;
};

}  // namespace docking_test
