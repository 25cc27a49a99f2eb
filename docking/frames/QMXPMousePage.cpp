#include "docking/frames/QMXPMousePage.h"

#include "docking/frames/QMXPMouseManager.h"
#include "docking/frames/QMXPToolbarCustomize.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "platform/classlib/FrameWnd.h"
#include "platform/classlib/StringList.h"
#include "platform/classlib/WinApp.h"

#include <algorithm>

namespace {
constexpr int kIdcViews = 16631;
constexpr int kIdcNoDblClick = 16632;
constexpr int kIdcUseDblClick = 16633;
constexpr int kIdcCommands = 16634;
constexpr int kIdcDescription = 16514;
// Room beside the widest view name.
constexpr int kColumnMargin = 10;
}  // namespace

IMPLEMENT_DYNAMIC(CQMXPMousePage, CPropertyPage)

BEGIN_MESSAGE_MAP(CQMXPMousePage, CPropertyPage)
    ON_NOTIFY(LVN_ITEMCHANGED, kIdcViews, OnItemChangedListOfViews)
    ON_LBN_SELCHANGE(kIdcCommands, OnSelchangeListOfCommands)
    ON_BN_CLICKED(kIdcNoDblClick, OnNoDblClick)
    ON_BN_CLICKED(kIdcUseDblClick, OnUseDblClick)
END_MESSAGE_MAP()

CQMXPMousePage::CQMXPMousePage() : CPropertyPage(IDD), m_iCurrViewId(-1) {}

BOOL CQMXPMousePage::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    m_wndListOfViews.SubclassDlgItem(kIdcViews, this);
    m_wndListOfCommands.SubclassDlgItem(kIdcCommands, this);
    CStringList listOfNames;
    if (qmxMouseManager != nullptr)
        qmxMouseManager->GetViewNames(listOfNames);

    const CSize sizeImage = CQMXPToolBar::GetMenuImageSize();
    m_ViewsImages.Create(sizeImage.cx, sizeImage.cy, ILC_COLOR32 | ILC_MASK, static_cast<int>(listOfNames.GetCount()),
                         1);
    m_wndListOfViews.SetImageList(m_ViewsImages.GetSafeHandle(), LVSIL_SMALL);
    CRect rectList;
    m_wndListOfViews.GetClientRect(&rectList);
    m_wndListOfViews.InsertColumn(0, L"", LVCFMT_LEFT, rectList.Width() - 1);

    int nWidest = 0;
    for (POSITION pos = listOfNames.GetHeadPosition(); pos != nullptr;) {
        const CString strName = listOfNames.GetNext(pos);
        const int iViewId = qmxMouseManager->GetViewIdByName(strName);
        const UINT uiIconId = qmxMouseManager->GetViewIconId(iViewId);
        int iImage = -1;
        if (uiIconId != 0) {
            HICON hIcon = static_cast<HICON>(::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(uiIconId),
                                                          IMAGE_ICON, sizeImage.cx, sizeImage.cy, 0));
            if (hIcon != nullptr) {
                iImage = m_ViewsImages.Add(hIcon);
                ::DestroyIcon(hIcon);
            }
        }
        // Each row goes before the first that sorts after it.
        int iPos = 0;
        while (iPos < m_wndListOfViews.GetItemCount() && m_wndListOfViews.GetItemText(iPos, 0).Compare(strName) <= 0)
            ++iPos;
        LVITEMW item = {};
        item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
        item.iItem = iPos;
        item.pszText = const_cast<LPWSTR>(static_cast<LPCWSTR>(strName));
        item.iImage = iImage;
        item.lParam = iViewId;
        m_wndListOfViews.InsertItem(&item);
        nWidest = std::max(nWidest, m_wndListOfViews.GetStringWidth(strName));
    }
    m_wndListOfViews.SetColumnWidth(0, nWidest + static_cast<int>(sizeImage.cx) + kColumnMargin);

    if (auto* pSheet = DYNAMIC_DOWNCAST(CQMXPToolbarCustomize, GetParent()))
        pSheet->FillAllCommandsList(m_wndListOfCommands);
    m_wndListOfViews.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    m_wndListOfViews.EnsureVisible(0, FALSE);
    return TRUE;
}

void CQMXPMousePage::SetDescription(UINT uiCmd) {
    m_strCommandDescription.Empty();
    auto* pSheet = DYNAMIC_DOWNCAST(CQMXPToolbarCustomize, GetParent());
    CFrameWnd* pFrame = pSheet != nullptr ? pSheet->GetCustomizedFrame() : nullptr;
    if (pFrame != nullptr && uiCmd != 0)
        pFrame->GetMessageString(uiCmd, m_strCommandDescription);
    SetDlgItemText(kIdcDescription, m_strCommandDescription);
}

BOOL CQMXPMousePage::SelectCommand(UINT uiCmd) {
    SetDescription(uiCmd);
    for (int i = 0; i < m_wndListOfCommands.GetCount(); ++i) {
        if (m_wndListOfCommands.GetItemData(i) == uiCmd) {
            m_wndListOfCommands.SetCurSel(i);
            m_wndListOfCommands.SendMessage(LB_SETTOPINDEX, static_cast<WPARAM>(i));
            return TRUE;
        }
    }
    return FALSE;
}

void CQMXPMousePage::EnableCommands(BOOL bEnable) {
    m_wndListOfCommands.EnableWindow(bEnable);
    GetDlgItem(kIdcDescription)->EnableWindow(bEnable);
    if (bEnable)
        return;
    m_wndListOfCommands.SetCurSel(-1);
    SetDescription(0);
}

void CQMXPMousePage::OnItemChangedListOfViews(NMHDR* pNMHDR, LRESULT* pResult) {
    *pResult = 0;
    const auto* pInfo = reinterpret_cast<const NMLISTVIEW*>(pNMHDR);
    if (!(pInfo->uChanged & LVIF_STATE))
        return;
    const int iSelected = m_wndListOfViews.GetNextItem(-1, LVNI_SELECTED);
    if (iSelected < 0 || qmxMouseManager == nullptr)
        return;
    m_iCurrViewId = static_cast<int>(m_wndListOfViews.GetItemData(iSelected));
    const UINT uiCmd = qmxMouseManager->GetViewDblClickCommand(m_iCurrViewId);
    CheckRadioButton(kIdcNoDblClick, kIdcUseDblClick, uiCmd != 0 ? kIdcUseDblClick : kIdcNoDblClick);
    EnableCommands(uiCmd != 0);
    if (uiCmd != 0)
        SelectCommand(uiCmd);
}

void CQMXPMousePage::OnSelchangeListOfCommands() {
    if (m_iCurrViewId < 0 || qmxMouseManager == nullptr) {
        ::MessageBeep(static_cast<UINT>(-1));
        return;
    }
    const int iSelected = m_wndListOfCommands.GetCurSel();
    if (iSelected < 0)
        return;
    const auto uiCmd = static_cast<UINT>(m_wndListOfCommands.GetItemData(iSelected));
    SetDescription(uiCmd);
    qmxMouseManager->SetCommandForDblClick(m_iCurrViewId, uiCmd);
}

void CQMXPMousePage::OnNoDblClick() {
    if (m_iCurrViewId >= 0 && qmxMouseManager != nullptr)
        qmxMouseManager->SetCommandForDblClick(m_iCurrViewId, 0);
    EnableCommands(FALSE);
}

void CQMXPMousePage::OnUseDblClick() {
    EnableCommands(TRUE);
    if (m_iCurrViewId < 0 || qmxMouseManager == nullptr) {
        ::MessageBeep(static_cast<UINT>(-1));
        return;
    }
    qmxMouseManager->SetCommandForDblClick(m_iCurrViewId, 0);
}
