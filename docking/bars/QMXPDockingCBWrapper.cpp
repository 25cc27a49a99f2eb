#include "docking/bars/QMXPDockingCBWrapper.h"

#include "docking/bars/QMXPGlobalUtils.h"
#include "docking/bars/QMXPLibraryGlobals.h"
#include "docking/frames/QMXPRegistry.h"

IMPLEMENT_SERIAL(CQMXPDockingCBWrapper, CQMXPDockingControlBar, VERSIONABLE_SCHEMA | 2)

namespace {
const wchar_t kRegBarName[] = L"BarName";
}  // namespace

BEGIN_MESSAGE_MAP(CQMXPDockingCBWrapper, CQMXPDockingControlBar)
    ON_WM_SIZE()
END_MESSAGE_MAP()

CQMXPDockingCBWrapper::CQMXPDockingCBWrapper()
    : m_rectInitial(30, 30, 180, 180), m_dwEnabledAlignmentWrapped(0xF000), m_pWrappedWnd(nullptr) {}

CQMXPDockingCBWrapper::~CQMXPDockingCBWrapper() = default;

BOOL CQMXPDockingCBWrapper::SetWrappedWnd(CWnd* pWnd) {
    pWnd->SetParent(this);
    m_pWrappedWnd = pWnd;
    auto* pBar = DYNAMIC_DOWNCAST(CQMXPBaseControlBar, pWnd);
    if (pBar == nullptr) {
        EnableDocking(m_dwEnabledAlignmentWrapped);
    } else {
        EnableDocking(pBar->GetEnabledAlignment());
        m_bRecentVisibleState = pBar->GetRecentVisibleState();
        m_bIsRestoredFromRegistry = pBar->IsRestoredFromRegistry();
        auto* pControlBar = DYNAMIC_DOWNCAST(CQMXPControlBar, pBar);
        if (pControlBar != nullptr)
            m_recentDockInfo.m_recentSliderInfo.m_rectDockedRect =
                pControlBar->GetRecentDockInfo().m_recentSliderInfo.m_rectDockedRect;
    }
    CRect rectClient;
    GetClientRect(&rectClient);
    pWnd->SetWindowPos(nullptr, 0, 0, rectClient.Width(), rectClient.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    return TRUE;
}

void CQMXPDockingCBWrapper::OnSize(UINT nType, int cx, int cy) {
    CQMXPDockingControlBar::OnSize(nType, cx, cy);
    if (m_pWrappedWnd != nullptr && m_pWrappedWnd->GetSafeHwnd() != nullptr)
        m_pWrappedWnd->SetWindowPos(nullptr, 0, 0, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

CString CQMXPDockingCBWrapper::StateKey(LPCWSTR lpszProfileName, UINT uiID, int nIndex) const {
    if (uiID == static_cast<UINT>(-1))
        uiID = static_cast<UINT>(GetDlgCtrlID());
    return QMXPBarStateKey(qmxRegWrapperSection, L"QMXPDockingCBWrapper", lpszProfileName, uiID, nIndex);
}

BOOL CQMXPDockingCBWrapper::SaveState(LPCWSTR lpszProfileName, UINT uiID, int nIndex) {
    {
        CQMXPRegistrySP regSP;
        CQMXPRegistry* pReg = regSP.Create(FALSE, FALSE);
        if (pReg->CreateKey(StateKey(lpszProfileName, uiID, nIndex))) {
            CString strName;
            GetWindowText(strName);
            pReg->Write(kRegBarName, strName);
        }
    }
    if (uiID == static_cast<UINT>(-1))
        uiID = static_cast<UINT>(GetDlgCtrlID());
    return CQMXPDockingControlBar::SaveState(lpszProfileName, uiID, nIndex);
}

BOOL CQMXPDockingCBWrapper::LoadState(LPCWSTR lpszProfileName, UINT uiID, int nIndex) {
    {
        CQMXPRegistrySP regSP;
        CQMXPRegistry* pReg = regSP.Create(FALSE, TRUE);
        if (!pReg->Open(StateKey(lpszProfileName, uiID, nIndex)))
            return FALSE;
        CString strName;
        if (pReg->Read(kRegBarName, strName) && !strName.IsEmpty())
            SetWindowText(strName);
    }
    if (uiID == static_cast<UINT>(-1))
        uiID = static_cast<UINT>(GetDlgCtrlID());
    return CQMXPDockingControlBar::LoadState(lpszProfileName, uiID, nIndex);
}
