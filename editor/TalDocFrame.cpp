#include "editor/TalDocFrame.h"

#include "editor/TalControlsWnd.h"
#include "editor/TalPaneWnd.h"
#include "editor/TalTemplatesWnd.h"
#include "editor/TalTextWnd.h"
#include "editor/TalView.h"
#include "appwindows/KWPrintPreviewView.h"
#include "framework/KWKeyRecord.h"
#include "framework/KWSplitterIFace.h"
#include "document/TalDocument.h"
#include "platform/classlib/CmdUI.h"
#include "platform/classlib/CreateContext.h"
#include "platform/classlib/MDIFrameWnd.h"
#include "platform/classlib/MessageMap.h"
#include "platform/classlib/WinApp.h"
#include "resources/Editor.h"

IMPLEMENT_DYNCREATE(CTalDocFrame, CKWSplitFrame)

namespace {
constexpr UINT kToggleSectionTree = 32794;
// The panes: children, visible, clipping their siblings.
constexpr DWORD kPaneStyle = 0x54000000;
constexpr int kPaneValue = 256;
// The tree: child, visible, buttons, lines, lines at the root, editable
// labels, the selection shown without the focus.
constexpr DWORD kTreeStyle = 0x5000002F;
// The section tree's column and the text note's height, in pixels; the
// page-template window's height under the tree.
constexpr int kTreeWidth = 200;
constexpr int kTextHeight = 160;
constexpr int kTemplatesHeight = 220;
constexpr int kMinTrackSize = 100;
}  // namespace

bool CTalDocFrame::s_showTree = false;

BEGIN_MESSAGE_MAP(CTalDocFrame, CKWSplitFrame)
    ON_WM_DESTROY()
    ON_WM_SIZE()
    ON_WM_SETFOCUS()
    ON_WM_GETMINMAXINFO()
    ON_WM_MDIACTIVATE()
    ON_COMMAND(kToggleSectionTree, OnToggleSectionTree)
    ON_UPDATE_COMMAND_UI(kToggleSectionTree, OnUpdateToggleSectionTree)
END_MESSAGE_MAP()

CTalDocFrame::CTalDocFrame() = default;

CTalDocFrame::~CTalDocFrame()
{
    if (m_document && m_document->GetFrame() == this)
        m_document->SetFrame(nullptr);
}

BOOL CTalDocFrame::PreCreateWindow(CREATESTRUCTW& cs)
{
    if (!CKWSplitFrame::PreCreateWindow(cs))
        return FALSE;
    cs.style = (cs.style | WS_MAXIMIZE | WS_CLIPCHILDREN) & ~WS_CLIPSIBLINGS;
    // The report window fills the main window's client area (its MDI
    // client's): its own client area is that area, as when maximised, so
    // that the MDI client needs no scroll bars.
    auto* main = dynamic_cast<CMDIFrameWnd*>(AfxGetMainWnd());
    if (main && main->m_hWndMDIClient) {
        CRect client;
        ::GetClientRect(main->m_hWndMDIClient, &client);
        ::AdjustWindowRectEx(&client, cs.style, FALSE, cs.dwExStyle);
        cs.x = client.left;
        cs.y = client.top;
        cs.cx = client.Width();
        cs.cy = client.Height();
    }
    return TRUE;
}

void CTalDocFrame::AdjustActivatedFrame()
{
    // A maximised report window leaves nothing for the MDI client to scroll:
    // its scroll bars go and the window takes their room.
    auto* main = dynamic_cast<CMDIFrameWnd*>(AfxGetMainWnd());
    if (main && main->m_hWndMDIClient && IsZoomed()) {
        ::ShowScrollBar(main->m_hWndMDIClient, SB_BOTH, FALSE);
        ::SendMessageW(main->m_hWndMDIClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(m_hWnd), 0);
    }
}

CTalView* CTalDocFrame::GetTalView()
{
    CDocument* document = m_document;
    if (!document)
        return nullptr;
    POSITION position = document->GetFirstViewPosition();
    while (position) {
        if (auto* view = dynamic_cast<CTalView*>(document->GetNextView(position)))
            if (view->GetParentFrame() == this)
                return view;
    }
    return nullptr;
}

BOOL CTalDocFrame::OnCreateClient(LPCREATESTRUCTW lpcs, CCreateContext* pContext)
{
    // The class library's client: the view alone, without scroll strips.
    if (!CFrameWnd::OnCreateClient(lpcs, pContext))
        return FALSE;
    m_document = pContext ? dynamic_cast<CTalDocument*>(pContext->m_pCurrentDoc) : nullptr;
    if (!m_document)
        return FALSE;
    m_document->SetFrame(this);
    return CreatePanes();
}

bool CTalDocFrame::CreatePanes()
{
    CTalView* view = GetTalView();
    if (!view)
        return false;
    // The view takes the frame's client area before the panes divide it.
    CRect client;
    GetClientRect(&client);
    view->MoveWindow(client, FALSE);
    CRect rect;
    view->GetClientRect(&rect);

    m_imagePanel = new CTalControlsWnd;
    m_imagePanel->AttachFrame(this);
    m_templatesWnd = new CTalTemplatesWnd(m_document);
    m_textWnd = new CTalTextWnd(m_document);
    // The panes know the focus manager before they make their controls.
    for (CTalPaneWnd* pane : {static_cast<CTalPaneWnd*>(m_imagePanel), static_cast<CTalPaneWnd*>(m_templatesWnd),
                              static_cast<CTalPaneWnd*>(m_textWnd)}) {
        pane->AttachFocusManager(this);
        pane->CreatePane(view, rect, kPaneStyle, kPaneValue);
    }

    m_tree.Create(0, kTreeStyle, rect, view, IDC_TAL_SECTION_TREE);
    m_tree.Initialize();
    m_tree.SetContextMenu(IDR_TAL_TREE_MENU);
    m_tree.SetOwner(this, kFocusTree);

    SetRoot(&m_tree);
    AddItem(&m_tree, m_textWnd, true, true, kTreeWidth, view, IDC_TAL_SPLIT_TREE_TEXT, false);
    AddItem(m_textWnd, m_imagePanel, true, false, kTextHeight, view, IDC_TAL_SPLIT_TEXT_IMAGES, false);
    AddItem(&m_tree, m_templatesWnd, true, false, m_tree.GetHeight() - kTemplatesHeight, view,
            IDC_TAL_SPLIT_TREE_TEMPLATES, false);
    m_layoutFlag = false;
    m_layoutValueA = kTreeWidth;
    m_layoutValueB = kTreeWidth;

    m_tree.SetDropHandler(view);
    m_tree.EnableDragDrop(true);
    m_templatesWnd->LoadTemplates();
    return true;
}

void CTalDocFrame::LayOutPanes(int cx, int cy)
{
    if (IsRootBar() && cx > 0 && cy > 0)
        GetRoot()->SetSize(cx, cy, 0, 0);
}

void CTalDocFrame::RecalcLayout(BOOL bNotify)
{
    // The view fills the client area; it lays the panes out itself.
    CKWBaseFrame::RecalcLayout(bNotify);
}

void CTalDocFrame::OnSize(UINT nType, int cx, int cy)
{
    CKWBaseFrame::OnSize(nType, cx, cy);
}

void CTalDocFrame::OnDestroy()
{
    CTalPaneWnd* panes[] = {m_imagePanel, m_templatesWnd, m_textWnd};
    m_imagePanel = nullptr;
    m_templatesWnd = nullptr;
    m_textWnd = nullptr;
    for (CTalPaneWnd* pane : panes) {
        if (!pane)
            continue;
        if (pane->m_hWnd)
            pane->DestroyWindow();
        delete pane;
    }
    CKWSplitFrame::OnDestroy();
}

void CTalDocFrame::OnSetFocus(CWnd* pOldWnd)
{
    CKWSplitFrame::OnSetFocus(pOldWnd);
    RestoreFocus();
}

void CTalDocFrame::RestoreFocus()
{
    switch (GetFocusItem()) {
    case kFocusText:
        if (m_textWnd)
            m_textWnd->TakeFocus();
        break;
    case kFocusTemplates:
        if (m_templatesWnd)
            m_templatesWnd->TakeFocus();
        break;
    case kFocusImages:
        if (m_imagePanel)
            m_imagePanel->TakeFocus();
        break;
    case kFocusTree:
        m_tree.SetFocus();
        break;
    default:
        break;
    }
}

void CTalDocFrame::OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd)
{
    CKWSplitFrame::OnMDIActivate(bActivate, pActivateWnd, pDeactivateWnd);
    // The report that becomes current gives the font pickers its fonts.
    if (bActivate && m_document)
        m_document->UpdateFontLists(true);
}

void CTalDocFrame::OnGetMinMaxInfo(MINMAXINFO* lpMMI)
{
    CKWSplitFrame::OnGetMinMaxInfo(lpMMI);
    lpMMI->ptMinTrackSize.x = std::max<LONG>(lpMMI->ptMinTrackSize.x, kMinTrackSize);
    lpMMI->ptMinTrackSize.y = std::max<LONG>(lpMMI->ptMinTrackSize.y, kMinTrackSize);
}

void CTalDocFrame::OnToggleSectionTree()
{
    ShowSectionTree(s_showTree);
    s_showTree = !s_showTree;
}

void CTalDocFrame::ShowSectionTree(bool show)
{
    // The bar beside the tree gives its place to the pane next to it, and
    // takes it back: a hidden tree leaves no empty pane.
    CKWSplitterIFace* splitter = m_tree.GetParentSplitter();
    if (splitter && show && splitter->IsCollapsed())
        splitter->Expand();
    m_tree.CKWControl::Show(show);
    if (splitter && !show && !splitter->IsCollapsed())
        splitter->Collapse(splitter->GetFirst() == &m_tree);
    // The keys the view kept while the tree was hidden go back to the tree.
    CWnd* tree = m_tree.GetWnd();
    if (show && tree && CWnd::GetFocus() == tree->GetParent())
        RestoreFocus();
}

void CTalDocFrame::OnUpdateToggleSectionTree(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
    CWnd* tree = m_tree.GetWnd();
    pCmdUI->SetCheck(tree && tree->m_hWnd && (tree->GetStyle() & WS_VISIBLE) ? 1 : 0);
}

BOOL CTalDocFrame::PreTranslateMessage(MSG* pMsg)
{
    // Ctrl+F6 and Ctrl+Tab do not leave a print preview for another report.
    if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_F6 || pMsg->wParam == VK_TAB) &&
        ::GetKeyState(VK_CONTROL) < 0) {
        CView* view = GetActiveView();
        if (view && view->IsKindOf(RUNTIME_CLASS(CKWPrintPreviewView)))
            return TRUE;
    }
    // Ctrl with an arrow in the section tree moves the section; elsewhere
    // (the text panel's word moves) the keys stay the focused window's.
    CWnd* tree = m_tree.GetWnd();
    if (pMsg->message == WM_KEYDOWN && tree && pMsg->hwnd == tree->m_hWnd && m_document &&
        m_document->HandleSectionTreeKey(CKWKeyRecord::FromMessage(pMsg->wParam)))
        return TRUE;
    return CKWSplitFrame::PreTranslateMessage(pMsg);
}

void CTalDocFrame::SetFocusItem(int code)
{
    if (GetFocusItem() == kFocusText && code != kFocusText && m_textWnd)
        m_textWnd->OnEditorKillFocus();
    CKWFocusManager::SetFocusItem(code);
}

void CTalDocFrame::FocusFrame()
{
    if (m_hWnd)
        SetFocus();
}

CTalSectionTree* CTalDocFrame::GetSectionTree()
{
    return m_tree.GetTreeImp() ? &m_tree : nullptr;
}

void CTalDocFrame::RefreshTemplatesWnd()
{
    if (!m_templatesWnd)
        return;
    m_templatesWnd->LoadTemplates();
    // The list grew or changed: the current section's template is shown again.
    CKWRefPtr<CTalSection> section = m_document ? m_document->GetCurrentSection() : CKWRefPtr<CTalSection>();
    if (section)
        m_templatesWnd->UpdateForSection(section.Get());
}

void CTalDocFrame::FocusTemplates()
{
    if (m_templatesWnd)
        m_templatesWnd->TakeFocus();
}

void CTalDocFrame::LoadSectionText(CTalSection* section)
{
    if (m_textWnd)
        m_textWnd->LoadSectionText(section);
}

void CTalDocFrame::UpdateDefaultFont()
{
    if (m_textWnd)
        m_textWnd->UpdateDefaultFont();
}

void CTalDocFrame::LeaveTextEditing()
{
    if (m_textWnd)
        m_textWnd->OnEditorKillFocus();
}

void CTalDocFrame::RefreshText()
{
    if (m_textWnd && m_textWnd->GetPanel().m_hWnd)
        m_textWnd->GetPanel().RefreshText();
}

void CTalDocFrame::SelectText(int32_t first, int32_t last)
{
    if (m_textWnd)
        m_textWnd->SelectText(first, last);
}

CKWTextPanel* CTalDocFrame::GetTextPanel()
{
    return m_textWnd && m_textWnd->GetPanel().m_hWnd ? &m_textWnd->GetPanel() : nullptr;
}

void CTalDocFrame::UpdateTemplatesForSection(CTalSection* section)
{
    if (m_templatesWnd)
        m_templatesWnd->UpdateForSection(section);
}
