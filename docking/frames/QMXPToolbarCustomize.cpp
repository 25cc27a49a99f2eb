#include "docking/frames/QMXPToolbarCustomize.h"
#include "docking/frames/QMXPWindowPlace.h"

#include "docking/bars/QMXPLibraryGlobals.h"

#include "docking/bars/QMXPDockBar.h"
#include "docking/bars/QMXPGlobalUtils.h"
#include "docking/bars/QMXPOutlookBar.h"
#include "docking/frames/QMXPCustomizePage.h"
#include "docking/frames/QMXPContextMenuManager.h"
#include "docking/frames/QMXPFrameWnd.h"
#include "docking/frames/QMXPKeyboardManager.h"
#include "docking/frames/QMXPKeyboardPage.h"
#include "docking/frames/QMXPMDIFrameWnd.h"
#include "docking/frames/QMXPMenuPage.h"
#include "docking/frames/QMXPMouseManager.h"
#include "docking/frames/QMXPMousePage.h"
#include "docking/frames/QMXPOptionsPage.h"
#include "docking/frames/QMXPReBar.h"
#include "docking/frames/QMXPToolbarsPage.h"
#include "docking/frames/QMXPToolsPage.h"
#include "docking/frames/QMXPWorkspace.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "docking/toolbars/QMXPToolbarMenuButton.h"
#include "docking/toolbars/QMXPUserToolsManager.h"
#include "docking/toolbars/QMXPVisualManager.h"
#include "platform/classlib/FrameWnd.h"
#include "platform/classlib/WinApp.h"
#include "platform/classlib/StringResource.h"

#include <algorithm>

namespace {

constexpr UINT kIdsCustomize = 16103;
constexpr UINT kIdsClose = 16105;
constexpr UINT kIdsAllCommands = 16110;
constexpr UINT kIdsNewMenu = 16014;
// Room between the sheet's edge and its Close button.
constexpr int kButtonMargin = 8;
// The picture of the help button, and the base of the controls' help ids.
constexpr UINT kIdbHelp = 16131;
constexpr DWORD kHelpIdBase = 0x41000;

CString LoadLibraryString(UINT uiID) {
    CString str;
    AfxLoadStringResource(uiID, str);
    return str;
}

// The frame's windows that stay enabled while customising: the bars.
bool StaysEnabled(HWND hwnd) {
    CWnd* pWnd = CWnd::FromHandlePermanent(hwnd);
    return pWnd != nullptr && (pWnd->IsKindOf(RUNTIME_CLASS(CQMXPDockBar)) ||
                               pWnd->IsKindOf(RUNTIME_CLASS(CQMXPOutlookBar)) ||
                               pWnd->IsKindOf(RUNTIME_CLASS(CQMXPReBar)) ||
                               pWnd->IsKindOf(RUNTIME_CLASS(CQMXPToolBar)));
}

// A library frame whose implementation holds a menu bar.
BOOL HasMenuBar(CFrameWnd* pFrame) {
    if (auto* pMDIFrame = DYNAMIC_DOWNCAST(CQMXPMDIFrameWnd, pFrame))
        return pMDIFrame->GetLibraryMenuBar() != nullptr;
    if (auto* pSDIFrame = DYNAMIC_DOWNCAST(CQMXPFrameWnd, pFrame))
        return pSDIFrame->GetLibraryMenuBar() != nullptr;
    return FALSE;
}

}  // namespace

CQMXPToolbarCustomize* g_pWndCustomize = nullptr;

IMPLEMENT_DYNAMIC(CQMXPToolbarCustomize, CPropertySheet)

BEGIN_MESSAGE_MAP(CQMXPToolbarCustomize, CPropertySheet)
    ON_WM_CREATE()
    ON_WM_HELPINFO()
    ON_WM_CONTEXTMENU()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CQMXPToolbarCustomize::CQMXPToolbarCustomize(CFrameWnd* pWndParentFrame, BOOL bAutoSetFromMenus, UINT uiFlags,
                                             CList<CRuntimeClass*, CRuntimeClass*>* plistCustomPages)
    : CPropertySheet(L"", pWndParentFrame),
      m_pCustomizePage(nullptr),
      m_pToolbarsPage(nullptr),
      m_pKeyboardPage(nullptr),
      m_pMenuPage(nullptr),
      m_pMousePage(nullptr),
      m_pOptionsPage(nullptr),
      m_pToolsPage(nullptr),
      m_pParentFrame(pWndParentFrame),
      m_bAutoSetFromMenus(bAutoSetFromMenus),
      m_uiFlags(uiFlags) {
    m_ButtonsByCategory.InitHashTable(17);
    m_psh.dwFlags |= PSH_NOAPPLYNOW;
    if (!CQMXPVisualManager::GetInstance()->IsLook2000Allowed())
        m_uiFlags &= ~QMXCUSTOMIZE_LOOK_2000;
    m_uiFlags &= ~QMXCUSTOMIZE_RESERVED;

    if (plistCustomPages != nullptr) {
        for (POSITION pos = plistCustomPages->GetHeadPosition(); pos != nullptr;) {
            CObject* pPage = plistCustomPages->GetNext(pos)->CreateObject();
            if (auto* pPropertyPage = dynamic_cast<CPropertyPage*>(pPage))
                m_listCustomPages.AddTail(pPropertyPage);
            else
                delete pPage;
        }
    }
    m_pCustomizePage = new CQMXPCustomizePage;
    m_pToolbarsPage = new CQMXPToolbarsPage(pWndParentFrame);
    m_pKeyboardPage = new CQMXPKeyboardPage(pWndParentFrame, bAutoSetFromMenus);
    m_pMenuPage = new CQMXPMenuPage(pWndParentFrame, bAutoSetFromMenus);
    m_pMousePage = new CQMXPMousePage;
    if (!(m_uiFlags & QMXCUSTOMIZE_NO_TOOLS))
        m_pToolsPage = new CQMXPToolsPage;
    AddPage(m_pCustomizePage);
    AddPage(m_pToolbarsPage);
    if (m_pToolsPage != nullptr && qmxUserToolsManager != nullptr)
        AddPage(m_pToolsPage);
    if (qmxKeyboardManager != nullptr && pWndParentFrame != nullptr && pWndParentFrame->m_hAccelTable != nullptr)
        AddPage(m_pKeyboardPage);
    if (qmxContextMenuManager != nullptr || HasMenuBar(pWndParentFrame))
        AddPage(m_pMenuPage);
    if (qmxMouseManager != nullptr)
        AddPage(m_pMousePage);
    for (POSITION pos = m_listCustomPages.GetHeadPosition(); pos != nullptr;)
        AddPage(static_cast<CPropertyPage*>(m_listCustomPages.GetNext(pos)));
    if (!(m_uiFlags & QMXCUSTOMIZE_NO_OPTIONS)) {
        m_pOptionsPage = new CQMXPOptionsPage(HasMenuBar(pWndParentFrame));
        AddPage(m_pOptionsPage);
    }

    SetTitle(LoadLibraryString(kIdsCustomize));
    m_strAllCommands = LoadLibraryString(kIdsAllCommands);
    m_pCustomizePage->SetAllCategory(m_strAllCommands);
    m_pKeyboardPage->SetAllCategory(m_strAllCommands);
    if (m_bAutoSetFromMenus)
        BuildFromFrameMenus();
    const CString strNewMenu = LoadLibraryString(kIdsNewMenu);
    AddCommandButton(strNewMenu, CQMXPToolbarMenuButton(0, nullptr, -1, strNewMenu));
}

CQMXPToolbarCustomize::~CQMXPToolbarCustomize() {
    for (POSITION pos = m_ButtonsByCategory.GetStartPosition(); pos != nullptr;) {
        CString strName;
        CObList* pList = nullptr;
        m_ButtonsByCategory.GetNextAssoc(pos, strName, pList);
        while (!pList->IsEmpty())
            delete pList->RemoveHead();
        delete pList;
    }
    m_ButtonsByCategory.RemoveAll();
    delete m_pCustomizePage;
    delete m_pToolbarsPage;
    delete m_pKeyboardPage;
    delete m_pMenuPage;
    delete m_pMousePage;
    delete m_pOptionsPage;
    delete m_pToolsPage;
    while (!m_listCustomPages.IsEmpty())
        delete m_listCustomPages.RemoveHead();
}

void CQMXPToolbarCustomize::EnableUserDefinedToolbars(BOOL bEnable) {
    m_pToolbarsPage->EnableUserDefinedToolbars(bEnable);
}

void CQMXPToolbarCustomize::ShowToolBar(CQMXPToolBar* pToolBar, BOOL bShow) {
    m_pToolbarsPage->ShowToolBar(pToolBar, bShow);
}

BOOL CQMXPToolbarCustomize::Create(CWnd* pParentWnd, DWORD dwStyle, DWORD dwExStyle) {
    CQMXPLocalResource localResource;
    if (!CPropertySheet::Create(pParentWnd != nullptr ? pParentWnd : m_pParentFrame, dwStyle, dwExStyle))
        return FALSE;
    SetFrameCustomizeMode(TRUE);
    return TRUE;
}

int CQMXPToolbarCustomize::OnCreate(LPCREATESTRUCTW lpCreateStruct) {
    if (CPropertySheet::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (m_uiFlags & QMXCUSTOMIZE_CONTEXT_HELP)
        ModifyStyleEx(0, WS_EX_CONTEXTHELP);
    g_pWndCustomize = this;
    return 0;
}

BOOL CQMXPToolbarCustomize::OnInitDialog() {
    const BOOL bResult = CPropertySheet::OnInitDialog();
    LayoutButtons();
    // Placed once its final size is known, whichever buttons it shows.
    CentreOnFrame();
    return bResult;
}

void CQMXPToolbarCustomize::LayoutButtons() {
    // A modeless sheet closes with one button: OK and Apply go.
    for (int nID : {IDOK, 0x3021})
        if (CWnd* pButton = GetDlgItem(nID))
            pButton->ShowWindow(SW_HIDE);
    CWnd* pClose = GetDlgItem(IDCANCEL);
    if (pClose == nullptr)
        return;
    // The sheet grows by a row for the close button below the pages.
    pClose->ShowWindow(SW_SHOW);
    pClose->EnableWindow(TRUE);
    CRect rectClose;
    pClose->GetWindowRect(&rectClose);
    ScreenToClient(&rectClose);
    CRect rectSheet;
    GetWindowRect(&rectSheet);
    SetWindowPos(nullptr, 0, 0, rectSheet.Width(), rectSheet.Height() + rectClose.Height() + 16,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CRect rectClient;
    GetClientRect(&rectClient);
    pClose->SetWindowPos(nullptr, rectClient.right - rectClose.Width() - kButtonMargin, rectClose.top + 4, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    pClose->SetWindowText(LoadLibraryString(kIdsClose));
    if (CWnd* pOK = GetDlgItem(IDOK))
        pOK->ModifyStyle(BS_DEFPUSHBUTTON, 0);
    pClose->ModifyStyle(0, BS_DEFPUSHBUTTON);
    SendMessage(DM_SETDEFID, IDCANCEL);
    CWnd* pHelp = GetDlgItem(IDHELP);
    if (pHelp == nullptr)
        return;
    if (m_uiFlags & QMXCUSTOMIZE_NOHELP) {
        pHelp->ShowWindow(SW_HIDE);
        pHelp->EnableWindow(FALSE);
        return;
    }
    pHelp->ShowWindow(SW_SHOW);
    pHelp->EnableWindow(TRUE);
    if (m_hbmHelp == nullptr)
        m_hbmHelp = static_cast<HBITMAP>(::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(kIdbHelp), IMAGE_BITMAP,
                                                      0, 0, LR_LOADMAP3DCOLORS));
    BITMAP bm = {};
    if (m_hbmHelp != nullptr && ::GetObjectW(m_hbmHelp, sizeof(bm), &bm) != 0) {
        pHelp->ModifyStyle(0, BS_BITMAP);
        pHelp->SendMessage(BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(m_hbmHelp));
        pHelp->SetWindowPos(nullptr, rectClient.left + kButtonMargin, rectClose.top, bm.bmWidth + 8, bm.bmHeight + 8,
                            SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// The sheet opens over the middle of its frame, clear of the tool bars at
// its top that the user drags buttons to and from; it stays on the frame's
// monitor's work area.
void CQMXPToolbarCustomize::CentreOnFrame() {
    if (m_pParentFrame == nullptr || !::IsWindow(m_pParentFrame->GetSafeHwnd()))
        return;
    CRect rectFrame;
    m_pParentFrame->GetWindowRect(&rectFrame);
    CRect rectSheet;
    GetWindowRect(&rectSheet);
    const CPoint place = QMXPCentredOver(rectSheet.Size(), rectFrame, QMXPWorkAreaOf(m_pParentFrame->GetSafeHwnd()));
    SetWindowPos(nullptr, place.x, place.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CQMXPToolbarCustomize::SetFrameCustomizeMode(BOOL bCustomize) {
    m_bFrameCustomizing = bCustomize;
    if (m_pParentFrame != nullptr && ::IsWindow(m_pParentFrame->GetSafeHwnd())) {
        for (HWND hwnd = ::GetWindow(m_pParentFrame->GetSafeHwnd(), GW_CHILD); hwnd != nullptr;
             hwnd = ::GetWindow(hwnd, GW_HWNDNEXT))
            if (!StaysEnabled(hwnd))
                ::EnableWindow(hwnd, !bCustomize);
    }
    CQMXPToolBar::SwitchCustomizeMode(bCustomize);
    if (m_pParentFrame == nullptr || !::IsWindow(m_pParentFrame->GetSafeHwnd()))
        return;
    m_pParentFrame->SendMessage(QMXTOOLBAR_CUSTOMIZE, bCustomize, 0);
    if (!bCustomize) {
        CFrameWnd* pActive = m_pParentFrame->GetActiveFrame();
        (pActive != nullptr ? pActive : m_pParentFrame)->PostMessage(WM_SETFOCUS);
    }
}

BOOL CQMXPToolbarCustomize::OnCommand(WPARAM wParam, LPARAM lParam) {
    switch (LOWORD(wParam)) {
    case IDCANCEL:
        if (qmxUserToolsManager != nullptr && m_pToolsPage != nullptr &&
            !ValidateTools(qmxUserToolsManager->GetUserTools())) {
            if (GetActivePage() != m_pToolsPage)
                SetActivePage(m_pToolsPage);
            return TRUE;
        }
        DestroyWindow();
        return TRUE;
    case IDHELP:
        if (m_pParentFrame != nullptr)
            m_pParentFrame->SendMessage(QMXTOOLBAR_CUSTOMIZEHELP, static_cast<WPARAM>(GetActiveIndex()),
                                        reinterpret_cast<LPARAM>(this));
        return TRUE;
    default:
        return CPropertySheet::OnCommand(wParam, lParam);
    }
}

const DWORD* CQMXPToolbarCustomize::GetHelpIDs() {
    static const DWORD* const s_pHelpIDs = [] {
        static DWORD ids[2 * 36] = {};
        const UINT controls[] = {16601, 16602, 16603, 16611, 16612, 16613, 16614, 16615, 16616, 16617, 16621, 16622,
                                 16623, 16624, 16625, 16626, 16631, 16632, 16633, 16634, 16601, 16641, 16642, 16643,
                                 16644, 16645, 16646, 16647, 16651, 16652, 16653, 16654, 16655, 16656, 16657};
        int i = 0;
        for (UINT uiControl : controls) {
            ids[i++] = uiControl;
            ids[i++] = kHelpIdBase + uiControl;
        }
        return ids;
    }();
    return s_pHelpIDs;
}

void CQMXPToolbarCustomize::OnContextMenu(CWnd* pWnd, CPoint) {
    CQMXPWorkspace* pWorkspace = QMXPGetWorkspace();
    if ((m_uiFlags & QMXCUSTOMIZE_CONTEXT_HELP) && pWorkspace != nullptr)
        pWorkspace->OnContextHelp(pWnd, GetHelpIDs());
}

void CQMXPToolbarCustomize::OnDestroy() {
    CPropertySheet::OnDestroy();
    if (m_hbmHelp != nullptr) {
        ::DeleteObject(m_hbmHelp);
        m_hbmHelp = nullptr;
    }
}

BOOL CQMXPToolbarCustomize::OnHelpInfo(HELPINFO* pHelpInfo) {
    if ((m_uiFlags & QMXCUSTOMIZE_CONTEXT_HELP) && pHelpInfo != nullptr &&
        pHelpInfo->iContextType == HELPINFO_WINDOW) {
        WinHelp(kHelpIdBase + static_cast<DWORD>(pHelpInfo->iCtrlId), HELP_CONTEXTPOPUP);
        return TRUE;
    }
    // The class library has no help system of its own: the frame answers.
    if (m_pParentFrame != nullptr)
        m_pParentFrame->SendMessage(QMXTOOLBAR_CUSTOMIZEHELP, static_cast<WPARAM>(GetActiveIndex()),
                                    reinterpret_cast<LPARAM>(this));
    return TRUE;
}

void CQMXPToolbarCustomize::PostNcDestroy() {
    if (g_pWndCustomize == this)
        g_pWndCustomize = nullptr;
    if (m_bFrameCustomizing)
        SetFrameCustomizeMode(FALSE);
    // The frame, active again, puts the bars floating above it back on top
    // (a bar made in the sheet among them).
    if (m_pParentFrame != nullptr && ::IsWindow(m_pParentFrame->GetSafeHwnd()))
        m_pParentFrame->PostMessage(QMXPMSG_KEEPOWNEDABOVE);
    CPropertySheet::PostNcDestroy();
    delete this;
}
