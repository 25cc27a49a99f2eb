#include "editor/PictCollectBar.h"

#include "controls/KWMessageBox.h"
#include "docking/bars/QMXPGlobalUtils.h"
#include "docking/bars/QMXPLibraryGlobals.h"
#include "docking/frames/QMXPMDIFrameWnd.h"
#include "docking/frames/QMXPRegistry.h"
#include "docking/frames/QMXPWorkspace.h"
#include "editor/PictCollectItems.h"
#include "editor/TalApplication.h"
#include "framework/KWFolderFormatScan.h"
#include "framework/KWFolderScanner.h"
#include "model/TalPrefs.h"
#include "platform/classlib/MessageMap.h"
#include "platform/classlib/StringResource.h"
#include "platform/classlib/WinApp.h"
#include "resources/Editor.h"

#include <shellapi.h>

#include <algorithm>

IMPLEMENT_DYNAMIC(CPictCollectBar, CKWDragBar)

BEGIN_MESSAGE_MAP(CPictCollectBar, CKWDragBar)
    ON_WM_CREATE()
    ON_WM_DROPFILES()
    ON_WM_MOUSEWHEEL()
END_MESSAGE_MAP()

namespace {

const wchar_t kCaption[] = L"Image Gallery";
const wchar_t kEmptyFoldersCaption[] = L"Empty folder(s) found";
// The docking library's creation values of the gallery.
const DWORD kTabbedStyle = 32;
const DWORD kControlBarStyle = 15;
const DWORD kDockAnySide = 0xF000;
const DWORD kPaneStyle = WS_CHILD | WS_VISIBLE;
const UINT kListId = 1;
const UINT kViewId = 2;
const int kDroppedPathLength = 4095;

// Dock-bar ids by side.
struct DockSide {
    DWORD alignment;
    int32_t dockBarId;
};
const DockSide kDockSides[] = {{0x1000, 59420}, {0x2000, 59419}, {0x4000, 59421}, {0x8000, 59422}};

bool EitherKeyDown(int left, int right)
{
    return ::GetKeyState(left) < 0 || ::GetKeyState(right) < 0;
}

}  // namespace

CPictCollectBar::CPictCollectBar() : m_list(this), m_view(this) {}

CPictCollectBar::~CPictCollectBar() = default;

bool CPictCollectBar::CreatePictCollectBar(CFrameWnd* frame, const CTalPrefs& prefs)
{
    auto* dockSite = dynamic_cast<CQMXPMDIFrameWnd*>(frame);
    if (!dockSite)
        return false;
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 200;
    int32_t bottom = 200;
    prefs.GetGalleryRect(left, top, right, bottom);
    const CRect rect(left, top, right, bottom);
    if (!Create(kCaption, frame, rect, TRUE, kBarId, kStyle, kTabbedStyle, kControlBarStyle))
        return false;
    const int cx = ::GetSystemMetrics(SM_CXSMICON);
    const int cy = ::GetSystemMetrics(SM_CYSMICON);
    if (HICON icon = static_cast<HICON>(
            ::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(kIconId), IMAGE_ICON, cx, cy, LR_SHARED)))
        SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    EnableDocking(kDockAnySide);
    if (CQMXPWorkspace* workspace = QMXPGetWorkspace())
        LoadState(workspace->GetRegSectionPath(L""), static_cast<UINT>(-1), -1);
    if (prefs.GetGalleryFloating())
        FloatControlBar(rect, QMXP_DM_RECT, false);
    else
        dockSite->DockControlBar(this, static_cast<UINT>(prefs.GetGalleryDockSide()));
    return true;
}

void CPictCollectBar::SavePictCollectBarState(CTalPrefs& prefs)
{
    if (CQMXPWorkspace* workspace = QMXPGetWorkspace())
        SaveState(workspace->GetRegSectionPath(L""), static_cast<UINT>(-1), -1);
    const bool floating = IsBarFloating();
    RECT rect = {};
    if (!floating || !GetFloatingRect(&rect))
        GetWindowRect(&rect);
    prefs.SetGalleryRect(rect.left, rect.top, rect.right, rect.bottom);
    prefs.SetGalleryFloating(floating);
    if (floating)
        return;
    int32_t side = 0;
    for (const DockSide& dock : kDockSides) {
        if (GetCurrentAlignment() & dock.alignment) {
            side = dock.dockBarId;
            break;
        }
    }
    prefs.SetGalleryDockSide(side);
}

bool CPictCollectBar::HasStoredState()
{
    CQMXPWorkspace* workspace = QMXPGetWorkspace();
    if (!workspace)
        return false;
    CQMXPRegistry reg(FALSE, TRUE);
    return reg.Open(QMXPBarStateKey(qmxRegControlBarSection, L"QMXPControlBar", workspace->GetRegSectionPath(L""),
                                    kBarId, -1)) != FALSE;
}

int CPictCollectBar::OnCreate(LPCREATESTRUCTW lpCreateStruct)
{
    if (CKWDragBar::OnCreate(lpCreateStruct) == -1)
        return -1;
    CRect client;
    GetClientRect(&client);
    const int half = client.Height() / 2;
    if (!m_list.CreateEx(0, nullptr, L"", kPaneStyle, 0, 0, client.Width(), half, m_hWnd,
                         reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kListId))) ||
        !m_view.CreateEx(0, nullptr, L"", kPaneStyle, 0, half, client.Width(), client.Height() - half, m_hWnd,
                         reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kViewId))))
        return -1;
    m_list.ShowWindow(SW_SHOW);
    m_view.ShowWindow(SW_SHOW);
    ::DragAcceptFiles(m_list.m_hWnd, TRUE);
    ::DragAcceptFiles(m_hWnd, TRUE);
    m_list.RecalcLayout();
    m_view.RecalcLayout();
    m_list.ClearSelection(false);
    m_view.ClearSelection(true);
    return 0;
}

void CPictCollectBar::GetMinSize(CSize& size) const
{
    size = CSize(CPictCollectView::kCellSize, CPictCollectList::kRowHeight + CPictCollectView::kCellSize);
}

void CPictCollectBar::CalcPaneRects(RECT& list, RECT& view)
{
    RECT client = {};
    GetClientRect(&client);
    const int row = std::max(GetFolderRowHeight(), 1);
    const int height = client.bottom - client.top;
    const int folders = GetFolderCount();
    int listHeight = (height / (2 * row)) * row;
    listHeight = std::max(listHeight, row);
    listHeight = std::min(listHeight, GetMaxFolderRows() * row);
    listHeight = std::min(listHeight, folders * row);
    while (listHeight > row && height - listHeight < m_view.GetRowHeight())
        listHeight -= row;
    list = client;
    list.bottom = client.top + listHeight;
    view = client;
    view.top = list.bottom;
}

void CPictCollectBar::RecalcLayout()
{
    if (!m_list.m_hWnd || !m_view.m_hWnd)
        return;
    RECT list = {};
    RECT view = {};
    CalcPaneRects(list, view);
    m_list.SetBounds(list);
    m_view.SetBounds(view);
}

// ---- Folders -----------------------------------------------------------------------

void CPictCollectBar::AddFolder(const CString& path, bool& reported, bool select, bool skipIfOpen,
                                bool withSubfolders)
{
    if (path.IsEmpty())
        return;
    int index = -1;
    if (!m_list.FindFolder(path, index) || !skipIfOpen) {
        index = -1;
        std::vector<CString> files;
        CTalApplication* app = GetTalApp();
        ScanFolderForImages(path, files, false, app ? app->GetFormatList() : nullptr);
        if (files.empty()) {
            if (!reported) {
                reported = true;
                CString text;
                AfxLoadStringResource(IDS_TAL_EMPTY_FOLDERS, text);
                KWMessageBox(text, MB_OK, 0, kEmptyFoldersCaption);
            }
        } else {
            auto* folder = new CFlItem(path);
            for (const CString& file : files)
                folder->AddImage(file, 0);
            m_list.AddItem(folder);
            index = m_list.GetItemCount() - 1;
            RecalcLayout();
            m_list.RefreshScrollBars();
            m_list.Invalidate(TRUE);
        }
    }
    if (index >= 0 && index < m_list.GetItemCount()) {
        if (select)
            m_list.SelectItem(index, false, false, true, true);
        m_list.EnsureVisible(index);
        m_list.Redraw(true);
    }
    if (withSubfolders)
        AddSubfolders(path, reported, skipIfOpen);
}

void CPictCollectBar::AddSubfolders(const CString& path, bool& reported, bool skipIfOpen)
{
    // Collected first: opening a folder may show a message box.
    std::vector<CString> folders;
    KWWalkSubfolders(path, [&](const CString& folder, const CString&, int) { folders.push_back(folder); });
    for (const CString& folder : folders)
        AddFolder(folder.Left(folder.GetLength() - 1), reported, false, skipIfOpen, false);
}

void CPictCollectBar::ShowFolder(CFlItem* folder)
{
    m_view.ShowFolder(folder);
}

void CPictCollectBar::CloseCurrentFolder()
{
    const int current = m_list.GetCurrentIndex();
    if (current < 0 || current >= m_list.GetItemCount())
        return;
    m_view.Clear();
    m_view.Redraw(true);
    m_list.RemoveItem(current);
    RecalcLayout();
    m_list.RefreshScrollBars();
    const int count = m_list.GetItemCount();
    if (current == count)
        m_list.SelectItem(count - 1, false, false, true, true);
    else
        ShowFolder(m_list.GetFolder(current));
    m_list.Redraw(true);
}

void CPictCollectBar::CloseAllFolders()
{
    m_view.Clear();
    m_list.RemoveAllItems();
    RecalcLayout();
    m_list.RefreshScrollBars();
    m_view.UpdateScrollBars();
    m_list.Redraw(true);
    m_view.Redraw(true);
    HideBar();
}

int CPictCollectBar::GetSelectedImageCount()
{
    std::vector<CString> files;
    m_view.CollectSelectedFiles(files);
    return static_cast<int>(files.size());
}

bool CPictCollectBar::GetSelectedImageFiles(std::vector<CString>& files)
{
    m_view.CollectSelectedFiles(files);
    return !files.empty();
}

// ---- Messages ----------------------------------------------------------------------

void CPictCollectBar::OnDropFiles(HDROP drop)
{
    const bool ctrl = EitherKeyDown(VK_LCONTROL, VK_RCONTROL);
    const bool shift = EitherKeyDown(VK_LSHIFT, VK_RSHIFT);
    bool reported = false;
    bool first = true;
    const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        wchar_t path[kDroppedPathLength + 1] = {};
        if (::DragQueryFileW(drop, i, path, kDroppedPathLength) == 0)
            continue;
        const DWORD attributes = ::GetFileAttributesW(path);
        if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
            continue;
        AddFolder(path, reported, first, !ctrl, shift);
        first = false;
    }
    ::DragFinish(drop);
}

BOOL CPictCollectBar::OnMouseWheel(UINT nFlags, short zDelta, CPoint pt)
{
    if (CWnd* main = AfxGetMainWnd())
        main->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(nFlags, zDelta), MAKELPARAM(pt.x, pt.y));
    return TRUE;
}
