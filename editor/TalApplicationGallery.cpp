// The application's image gallery: the bar made on first use, its commands
// (open, show and hide, close folders, select all), the print preview that
// hides it for a while, and its selection for the report's commands.
#include "editor/TalApplication.h"

#include "editor/PictCollectBar.h"
#include "appwindows/KWFolderChooseDlg.h"
#include "model/TalPrefs.h"
#include "platform/classlib/CmdUI.h"
#include "platform/classlib/FrameWnd.h"

namespace {

bool EitherKeyDown(int left, int right)
{
    return ::GetKeyState(left) < 0 || ::GetKeyState(right) < 0;
}

}  // namespace

CPictCollectBar* CTalApplication::FindPictCollectBar() const
{
    // The bar's window goes with the main window; the object is then of no use.
    return m_pictCollectBar && ::IsWindow(m_pictCollectBar->GetSafeHwnd()) ? m_pictCollectBar : nullptr;
}

CPictCollectBar* CTalApplication::GetPictCollectBar()
{
    if (CPictCollectBar* bar = FindPictCollectBar())
        return bar;
    return MakePictCollectBar(dynamic_cast<CFrameWnd*>(m_pMainWnd));
}

void CTalApplication::RestorePictCollectBar(CFrameWnd* frame)
{
    if (FindPictCollectBar() || !CPictCollectBar::HasStoredState())
        return;
    // The main window is made before the settings are read; the gallery's
    // place in them is the one it takes where the stored layout has none.
    LoadSettings();
    MakePictCollectBar(frame);
}

CPictCollectBar* CTalApplication::MakePictCollectBar(CFrameWnd* frame)
{
    ReleasePictCollectBar();
    if (!frame)
        return nullptr;
    auto* bar = new CPictCollectBar;
    if (!bar->CreatePictCollectBar(frame, *m_prefs)) {
        delete bar;
        return nullptr;
    }
    m_pictCollectBar = bar;
    return bar;
}

void CTalApplication::ReleasePictCollectBar()
{
    if (m_pictCollectBar && ::IsWindow(m_pictCollectBar->GetSafeHwnd()))
        m_pictCollectBar->DestroyWindow();
    delete m_pictCollectBar;
    m_pictCollectBar = nullptr;
}

bool CTalApplication::ChooseGalleryFolder(CString& folder)
{
    CKWFolderChooseDlg dialog(m_prefs->GetAddFolderPath(), m_pMainWnd);
    if (dialog.DoModal() != IDOK)
        return false;
    folder = dialog.GetPathRef();
    return true;
}

int CTalApplication::GetSelectedGalleryImageCount()
{
    CPictCollectBar* bar = FindPictCollectBar();
    return bar ? bar->GetSelectedImageCount() : 0;
}

bool CTalApplication::GetSelectedGalleryFiles(std::vector<CString>& files)
{
    CPictCollectBar* bar = FindPictCollectBar();
    return bar && bar->GetSelectedImageFiles(files);
}

void CTalApplication::PrintPreviewHook(CFrameWnd*, bool ending)
{
    CPictCollectBar* bar = FindPictCollectBar();
    if (!bar)
        return;
    if (!ending) {
        m_galleryWasVisible = bar->IsBarVisible() ? 1 : 0;
        bar->HideBar();
    } else if (m_galleryWasVisible) {
        bar->ShowBar();
    }
}

void CTalApplication::OnAddGalleryFolder()
{
    CString folder;
    if (!ChooseGalleryFolder(folder))
        return;
    CPictCollectBar* bar = GetPictCollectBar();
    if (!bar)
        return;
    const bool subfolders = EitherKeyDown(VK_LSHIFT, VK_RSHIFT);
    const bool again = EitherKeyDown(VK_LCONTROL, VK_RCONTROL);
    if (!folder.IsEmpty()) {
        m_prefs->SetAddFolderPath(folder);
        bool reported = false;
        bar->AddFolder(folder, reported, true, !again, subfolders);
    }
    if (!bar->IsBarVisible() && bar->GetFolderCount() > 0)
        bar->ShowBar();
}

void CTalApplication::OnToggleGallery()
{
    CPictCollectBar* bar = FindPictCollectBar();
    if (!bar || bar->GetFolderCount() == 0)
        return;
    if (bar->IsBarVisible())
        bar->HideBar();
    else
        bar->ShowBar();
}

void CTalApplication::OnUpdateToggleGallery(CCmdUI* pCmdUI)
{
    CPictCollectBar* bar = FindPictCollectBar();
    const bool hasFolders = bar && bar->GetFolderCount() > 0;
    pCmdUI->Enable(hasFolders);
    pCmdUI->SetCheck(hasFolders && bar->IsBarVisible());
}

void CTalApplication::OnCloseGalleryFolder()
{
    CPictCollectBar* bar = FindPictCollectBar();
    if (!bar)
        return;
    bar->CloseCurrentFolder();
    if (bar->GetFolderCount() == 0)
        bar->HideBar();
}

void CTalApplication::OnCloseAllGalleryFolders()
{
    if (CPictCollectBar* bar = FindPictCollectBar())
        bar->CloseAllFolders();
}

void CTalApplication::OnUpdateGalleryCommand(CCmdUI* pCmdUI)
{
    CPictCollectBar* bar = FindPictCollectBar();
    pCmdUI->Enable(bar && bar->IsBarVisible() && bar->GetFolderCount() > 0);
}

void CTalApplication::OnGallerySelectAll()
{
    CPictCollectBar* bar = FindPictCollectBar();
    if (bar && bar->IsBarVisible() && bar->GetFolderCount() > 0 && bar->GetView().GetItemCount() > 0)
        bar->GetView().SelectAll();
}

void CTalApplication::OnUpdateGallerySelectAll(CCmdUI* pCmdUI)
{
    CPictCollectBar* bar = FindPictCollectBar();
    pCmdUI->Enable(bar && bar->IsBarVisible() && bar->GetFolderCount() > 0 && bar->GetView().GetItemCount() > 0);
}
