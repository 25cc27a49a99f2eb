// The report window's image panel as the document reaches it.
#include "editor/TalControlsWnd.h"
#include "editor/TalDocFrame.h"
#include "model/TalSection.h"
#include "document/TalDocument.h"

#include <algorithm>

namespace {

CTalPictureList CurrentPictures(CTalDocument* document)
{
    CKWRefPtr<CTalSection> section = document ? document->GetCurrentSection() : CKWRefPtr<CTalSection>();
    return section ? section->GetPictures() : CTalPictureList();
}

}  // namespace

void CTalDocFrame::EndImageTitleEdit(bool cancel)
{
    if (m_imagePanel)
        m_imagePanel->EndTitleEdit(cancel);
}

void CTalDocFrame::LoadSectionImages()
{
    if (m_imagePanel)
        m_imagePanel->LoadSectionImages(CurrentPictures(m_document));
}

void CTalDocFrame::SelectImages(const CTalPositionList& positions)
{
    if (m_imagePanel)
        m_imagePanel->SelectImages(positions);
}

void CTalDocFrame::UpdateImages(const CTalPositionList& positions)
{
    if (m_imagePanel)
        m_imagePanel->UpdateImages(CurrentPictures(m_document), positions);
}

void CTalDocFrame::UpdateImageTitle(int position, const CString& title, bool startEdit)
{
    if (m_imagePanel)
        m_imagePanel->UpdateImageTitle(position, title, startEdit);
}

void CTalDocFrame::UpdateDefaultGrayscaleImages(const CTalPictureList& pictures)
{
    if (m_imagePanel)
        m_imagePanel->UpdateDefaultGrayscaleImages(pictures);
}

void CTalDocFrame::InsertImages(const CTalPositionList& positions)
{
    if (!m_imagePanel || positions.empty())
        return;
    const CTalPictureList pictures = CurrentPictures(m_document);
    // Pictures appended at the end get their thumbnails from a loading
    // thread; pictures inserted between others are read at once.
    CTalPositionList sorted = positions;
    std::sort(sorted.begin(), sorted.end());
    const int count = static_cast<int>(pictures.size());
    const int n = static_cast<int>(sorted.size());
    const bool appended = sorted.front() == count - n && sorted.back() == count - 1 &&
                          m_imagePanel->GetList().GetItemCount() == count - n;
    if (appended)
        m_imagePanel->InsertImages(pictures, positions, n);
    else
        m_imagePanel->InsertImages(pictures, sorted, -1);
}

bool CTalDocFrame::ReadAddedPictures(const std::vector<uint32_t>& pictureIds)
{
    return m_imagePanel && m_imagePanel->ReadAddedPictures(pictureIds);
}

int CTalDocFrame::GetCurrentImageIndex()
{
    return m_imagePanel ? m_imagePanel->GetCurrentImageIndex() : -1;
}

bool CTalDocFrame::HasCurrentImage()
{
    return m_imagePanel && m_imagePanel->HasCurrentImage();
}

CTalPositionList CTalDocFrame::GetSelectedImageIndices()
{
    CTalPositionList positions;
    if (m_imagePanel)
        m_imagePanel->ApplyToSelectedImages(positions);
    return positions;
}

bool CTalDocFrame::IsThumbnailsMode()
{
    return !m_imagePanel || m_imagePanel->IsThumbnailsMode();
}

void CTalDocFrame::ShowPreview()
{
    if (m_imagePanel)
        m_imagePanel->ShowPreview();
}

void CTalDocFrame::ShowThumbnails()
{
    if (m_imagePanel)
        m_imagePanel->ShowThumbnails();
}

void CTalDocFrame::ToggleViewMode()
{
    if (m_imagePanel)
        m_imagePanel->ToggleViewMode();
}

void CTalDocFrame::GoToFirstImage()
{
    if (m_imagePanel)
        m_imagePanel->GoToFirstImage();
}

void CTalDocFrame::GoToPreviousImage()
{
    if (m_imagePanel)
        m_imagePanel->GoToPreviousImage();
}

void CTalDocFrame::GoToNextImage()
{
    if (m_imagePanel)
        m_imagePanel->GoToNextImage();
}

void CTalDocFrame::GoToLastImage()
{
    if (m_imagePanel)
        m_imagePanel->GoToLastImage();
}

void CTalDocFrame::ShowImageProperties()
{
    if (m_imagePanel)
        m_imagePanel->ShowImageProperties();
}

bool CTalDocFrame::RenameImage() { return m_imagePanel && m_imagePanel->Rename(); }
bool CTalDocFrame::IsEditingTitle() { return m_imagePanel && m_imagePanel->IsEditingTitle(); }
bool CTalDocFrame::IsTitleModified() { return m_imagePanel && m_imagePanel->IsTitleModified(); }
bool CTalDocFrame::CanSelectAllImages() { return m_imagePanel && m_imagePanel->CanSelectAll(); }

void CTalDocFrame::SelectAllImages()
{
    if (m_imagePanel)
        m_imagePanel->SelectAll();
}

bool CTalDocFrame::CanCutTitle() { return m_imagePanel && m_imagePanel->CanCut(); }
bool CTalDocFrame::CanCopyTitle() { return m_imagePanel && m_imagePanel->CanCopy(); }
bool CTalDocFrame::CanPasteTitle() { return m_imagePanel && m_imagePanel->CanPaste(); }
bool CTalDocFrame::CanDeleteTitle() { return m_imagePanel && m_imagePanel->CanDelete(); }
bool CTalDocFrame::CutTitle() { return m_imagePanel && m_imagePanel->Cut(); }
bool CTalDocFrame::CopyTitle() { return m_imagePanel && m_imagePanel->Copy(); }
bool CTalDocFrame::PasteTitle() { return m_imagePanel && m_imagePanel->Paste(); }
bool CTalDocFrame::DeleteTitle() { return m_imagePanel && m_imagePanel->DeleteSelected(); }
