#include "docking/frames/QMXPToolbarsPage.h"
#include "docking/frames/QMXPWindowPlace.h"

#include "docking/frames/QMXPFrameImpl.h"
#include "docking/frames/QMXPMiniFrameWnd.h"
#include "docking/frames/QMXPToolbarCustomize.h"
#include "docking/frames/ToolbarNameDlg.h"
#include "docking/toolbars/QMXPCommandManager.h"
#include "docking/toolbars/QMXPDropDownToolBar.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "platform/classlib/FrameWnd.h"
#include "platform/classlib/StringResource.h"
#include "platform/classlib/WinApp.h"

namespace {
constexpr int kIdcToolbarList = 16611;
constexpr int kIdcTextLabels = 16612;
constexpr int kIdcReset = 16613;
constexpr int kIdcResetAll = 16614;
constexpr int kIdcNew = 16615;
constexpr int kIdcRename = 16616;
constexpr int kIdcDelete = 16617;
constexpr UINT kIdsUntitled = 16104;
constexpr UINT kIdsDeleteToolbar = 16109;
constexpr UINT kIdsResetToolbar = 16111;
constexpr UINT kIdsResetAll = 16112;

void Beep() { ::MessageBeep(static_cast<UINT>(-1)); }

// Whether the frame keeps the bar among the user's own.
BOOL IsUserDefinedBar(CFrameWnd* pFrame, CQMXPToolBar* pBar) {
    CQMXPFrameImpl* pImpl = CQMXPFrameImpl::FromFrame(pFrame);
    return pImpl != nullptr && pImpl->m_listUserDefinedToolbars.Find(pBar) != nullptr;
}
}  // namespace

IMPLEMENT_DYNAMIC(CQMXPToolbarsPage, CPropertyPage)

BEGIN_MESSAGE_MAP(CQMXPToolbarsPage, CPropertyPage)
    ON_CONTROL(LBN_SELCHANGE, kIdcToolbarList, OnSelchangeToolbarList)
    ON_CONTROL(LBN_DBLCLK, kIdcToolbarList, OnDblclkToolbarList)
    ON_CONTROL(CLBN_CHKCHANGE, kIdcToolbarList, OnCheckChangeToolbarList)
    ON_BN_CLICKED(kIdcTextLabels, OnTextLabels)
    ON_BN_CLICKED(kIdcReset, OnResetToolbar)
    ON_BN_CLICKED(kIdcResetAll, OnResetAllToolbars)
    ON_BN_CLICKED(kIdcNew, OnNewToolbar)
    ON_BN_CLICKED(kIdcRename, OnRenameToolbar)
    ON_BN_CLICKED(kIdcDelete, OnDeleteToolbar)
END_MESSAGE_MAP()

CQMXPToolbarsPage::CQMXPToolbarsPage(CFrameWnd* pParentFrame)
    : CPropertyPage(IDD),
      m_bTextLabels(FALSE),
      m_pSelectedToolbar(nullptr),
      m_bUserDefinedToolbars(FALSE),
      m_pParentFrame(pParentFrame) {}

BOOL CQMXPToolbarsPage::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    m_bntTextLabels.SubclassDlgItem(kIdcTextLabels, this);
    m_bntRenameToolbar.SubclassDlgItem(kIdcRename, this);
    m_btnNewToolbar.SubclassDlgItem(kIdcNew, this);
    m_btnDelete.SubclassDlgItem(kIdcDelete, this);
    m_btnReset.SubclassDlgItem(kIdcReset, this);
    m_wndToobarList.SubclassDlgItem(kIdcToolbarList, this);
    if (!m_bUserDefinedToolbars) {
        m_btnNewToolbar.EnableWindow(FALSE);
        m_btnNewToolbar.ShowWindow(SW_HIDE);
        m_btnDelete.ShowWindow(SW_HIDE);
        m_bntRenameToolbar.ShowWindow(SW_HIDE);
    }
    CFrameWnd* pPageFrame = GetTopLevelFrame();
    for (CQMXPToolBar* pBar : CQMXPToolBar::GetAllToolbars()) {
        if (!::IsWindow(pBar->GetSafeHwnd()) || pBar->IsKindOf(RUNTIME_CLASS(CQMXPDropDownToolBar)) ||
            pBar->GetTopLevelFrame() != pPageFrame)
            continue;
        CString strName;
        pBar->GetWindowText(strName);
        if (strName.IsEmpty())
            AfxLoadStringResource(kIdsUntitled, strName);
        const int iIndex = m_wndToobarList.AddString(strName);
        m_wndToobarList.SetItemData(iIndex, reinterpret_cast<DWORD_PTR>(pBar));
        m_wndToobarList.SetCheck(iIndex, (pBar->GetStyle() & WS_VISIBLE) ? 1 : 0);
        m_wndToobarList.EnableCheck(iIndex, pBar->CanBeClosed());
    }
    auto* pSheet = DYNAMIC_DOWNCAST(CQMXPToolbarCustomize, GetParent());
    if (pSheet != nullptr && !(pSheet->GetFlags() & QMXCUSTOMIZE_TEXT_LABELS))
        m_bntTextLabels.ShowWindow(SW_HIDE);
    OnSelchangeToolbarList();
    return TRUE;
}

void CQMXPToolbarsPage::ShowToolBar(CQMXPToolBar* pToolBar, BOOL bShow) {
    if (m_wndToobarList.GetSafeHwnd() == nullptr)
        return;
    for (int i = 0; i < m_wndToobarList.GetCount(); ++i) {
        if (reinterpret_cast<CQMXPToolBar*>(m_wndToobarList.GetItemData(i)) == pToolBar) {
            m_wndToobarList.SetCheck(i, bShow ? 1 : 0);
            return;
        }
    }
}

void CQMXPToolbarsPage::OnSelchangeToolbarList() {
    const int iIndex = m_wndToobarList.GetCurSel();
    if (iIndex < 0) {
        m_pSelectedToolbar = nullptr;
        for (CButton* pButton : {&m_btnReset, &m_bntRenameToolbar, &m_btnDelete, &m_bntTextLabels})
            pButton->EnableWindow(FALSE);
        return;
    }
    m_pSelectedToolbar = reinterpret_cast<CQMXPToolBar*>(m_wndToobarList.GetItemData(iIndex));
    const BOOL bUserDefined = IsUserDefinedBar(m_pParentFrame, m_pSelectedToolbar);
    m_btnReset.EnableWindow(m_pSelectedToolbar->CanBeRestored());
    m_btnDelete.EnableWindow(bUserDefined);
    m_bntRenameToolbar.EnableWindow(bUserDefined);
    m_bntTextLabels.EnableWindow(m_pSelectedToolbar->AllowShowTextLabels());
    m_bTextLabels = m_pSelectedToolbar->AreTextLabels();
    m_bntTextLabels.SetCheck(m_bTextLabels ? BST_CHECKED : BST_UNCHECKED);
}

void CQMXPToolbarsPage::ApplyCheck(int iIndex) {
    auto* pBar = reinterpret_cast<CQMXPToolBar*>(m_wndToobarList.GetItemData(iIndex));
    if (pBar == nullptr)
        return;
    if (pBar->CanBeClosed()) {
        pBar->ShowControlBar(m_wndToobarList.GetCheck(iIndex) != 0, FALSE, TRUE);
    } else if (m_wndToobarList.GetCheck(iIndex) == 0) {
        m_wndToobarList.SetCheck(iIndex, 1);
        Beep();
    }
}

void CQMXPToolbarsPage::OnDblclkToolbarList() {
    const int iIndex = m_wndToobarList.GetCurSel();
    auto* pBar = iIndex >= 0 ? reinterpret_cast<CQMXPToolBar*>(m_wndToobarList.GetItemData(iIndex)) : nullptr;
    if (pBar != nullptr && pBar->CanBeClosed()) {
        m_wndToobarList.SetCheck(iIndex, m_wndToobarList.GetCheck(iIndex) == 0 ? 1 : 0);
        ApplyCheck(iIndex);
    } else {
        Beep();
    }
    OnSelchangeToolbarList();
}

void CQMXPToolbarsPage::OnCheckChangeToolbarList() {
    // The notification names no line: every line's bar follows its mark.
    for (int i = 0; i < m_wndToobarList.GetCount(); ++i) {
        auto* pBar = reinterpret_cast<CQMXPToolBar*>(m_wndToobarList.GetItemData(i));
        const BOOL bVisible = (pBar->GetStyle() & WS_VISIBLE) != 0;
        if ((m_wndToobarList.GetCheck(i) != 0) != bVisible)
            ApplyCheck(i);
    }
}

void CQMXPToolbarsPage::OnTextLabels() {
    m_bTextLabels = m_bntTextLabels.GetCheck() == BST_CHECKED;
    if (m_pSelectedToolbar != nullptr)
        m_pSelectedToolbar->EnableTextLabels(m_bTextLabels);
}

int CQMXPToolbarsPage::AskYesNo(UINT uiPrompt, const CString& strName) const {
    CString strFormat;
    AfxLoadStringResource(uiPrompt, strFormat);
    CString strPrompt;
    if (strFormat.Find(L"%s") >= 0)
        strPrompt.Format(strFormat, strName.GetString());
    else
        strPrompt = strFormat;
    return AfxMessageBox(strPrompt, MB_YESNO | MB_ICONQUESTION);
}

void CQMXPToolbarsPage::OnResetToolbar() {
    if (m_pSelectedToolbar == nullptr)
        return;
    CString strName;
    m_pSelectedToolbar->GetWindowText(strName);
    if (AskYesNo(kIdsResetToolbar, strName) == IDYES)
        m_pSelectedToolbar->RestoreFromResource();
}

void CQMXPToolbarsPage::OnResetAllToolbars() {
    if (AskYesNo(kIdsResetAll, CString()) != IDYES)
        return;
    QMXTheCommandManager()->ClearAll();
    for (POSITION pos = CQMXPToolBar::m_DefaultImages.GetStartPosition(); pos != nullptr;) {
        UINT uiCmd = 0;
        int iImage = -1;
        CQMXPToolBar::m_DefaultImages.GetNextAssoc(pos, uiCmd, iImage);
        QMXTheCommandManager()->SetCommandImage(uiCmd, iImage, FALSE);
    }
    for (int i = 0; i < m_wndToobarList.GetCount(); ++i) {
        auto* pBar = reinterpret_cast<CQMXPToolBar*>(m_wndToobarList.GetItemData(i));
        if (pBar->CanBeRestored())
            pBar->RestoreFromResource();
    }
}

int CQMXPToolbarsPage::AddToolBarLine(CQMXPToolBar* pToolBar, const CString& strName, BOOL bSelect) {
    const int iIndex = m_wndToobarList.AddString(strName);
    m_wndToobarList.SetItemData(iIndex, reinterpret_cast<DWORD_PTR>(pToolBar));
    m_wndToobarList.SetCheck(iIndex, (pToolBar->GetStyle() & WS_VISIBLE) ? 1 : 0);
    m_wndToobarList.EnableCheck(iIndex, pToolBar->CanBeClosed());
    if (bSelect) {
        m_wndToobarList.SetCurSel(iIndex);
        OnSelchangeToolbarList();
    }
    return iIndex;
}

void CQMXPToolbarsPage::OnNewToolbar() {
    CToolbarNameDlg dlg(this);
    if (dlg.DoModal() != IDOK)
        return;
    if (m_pParentFrame == nullptr) {
        ::MessageBeep(MB_ICONASTERISK);
        return;
    }
    auto* pBar = reinterpret_cast<CQMXPToolBar*>(m_pParentFrame->SendMessage(
        QMXTOOLBAR_CREATE, 0, reinterpret_cast<LPARAM>(dlg.m_strToolbarName.GetString())));
    if (pBar == nullptr)
        return;
    // The frame floats a new bar at the middle of the screen, where the sheet
    // stands: it goes beside the sheet, where buttons can be dropped on it
    // while the sheet stays open.
    CQMXPMiniFrameWnd* pMiniFrame = pBar->GetParentMiniFrame();
    CWnd* pSheet = GetParent();
    CRect rectFloat, rectSheet, rectOver;
    if (pMiniFrame != nullptr && pSheet != nullptr) {
        pMiniFrame->GetWindowRect(&rectFloat);
        pSheet->GetWindowRect(&rectSheet);
        if (rectOver.IntersectRect(&rectFloat, &rectSheet)) {
            const CPoint place = QMXPBeside(rectFloat.Size(), rectSheet, QMXPWorkAreaOf(pSheet->GetSafeHwnd()));
            pMiniFrame->SetWindowPos(nullptr, place.x, place.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    AddToolBarLine(pBar, dlg.m_strToolbarName, TRUE);
}

void CQMXPToolbarsPage::OnRenameToolbar() {
    if (m_pSelectedToolbar == nullptr)
        return;
    CToolbarNameDlg dlg(this);
    m_pSelectedToolbar->GetWindowText(dlg.m_strToolbarName);
    if (dlg.DoModal() != IDOK)
        return;
    CQMXPToolBar* pBar = m_pSelectedToolbar;
    pBar->SetWindowText(dlg.m_strToolbarName);
    // The floating frame shows the name in its caption, which only a
    // repaint of its frame brings up to date.
    if (CQMXPMiniFrameWnd* pMiniFrame = pBar->GetParentMiniFrame()) {
        pMiniFrame->SetWindowText(dlg.m_strToolbarName);
        pMiniFrame->RedrawWindow(nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    }
    const int iOld = m_wndToobarList.GetCurSel();
    if (iOld >= 0)
        m_wndToobarList.DeleteString(static_cast<UINT>(iOld));
    AddToolBarLine(pBar, dlg.m_strToolbarName, TRUE);
}

void CQMXPToolbarsPage::OnDeleteToolbar() {
    if (m_pSelectedToolbar == nullptr)
        return;
    if (m_pParentFrame == nullptr) {
        ::MessageBeep(MB_ICONASTERISK);
        return;
    }
    CString strName;
    m_pSelectedToolbar->GetWindowText(strName);
    if (AskYesNo(kIdsDeleteToolbar, strName) != IDYES)
        return;
    if (m_pParentFrame->SendMessage(QMXTOOLBAR_DELETE, 0, reinterpret_cast<LPARAM>(m_pSelectedToolbar)) == 0) {
        ::MessageBeep(MB_ICONASTERISK);
        return;
    }
    const int iIndex = m_wndToobarList.GetCurSel();
    if (iIndex >= 0)
        m_wndToobarList.DeleteString(static_cast<UINT>(iIndex));
    m_wndToobarList.SetCurSel(0);
    OnSelchangeToolbarList();
}
