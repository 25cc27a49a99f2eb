// The pictures of the current section: adding image files, the picture
// commands of the image menus, navigation and view modes of the image panel,
// and the document operations the panel calls.
#include "document/TalDocument.h"

#include "appwindows/KWBusyCursor.h"
#include "controls/KWMessageBox.h"
#include "controls/KWMessageBoxFit.h"
#include "framework/KWPathUtils.h"
#include "framework/KWPictureProblem.h"
#include "framework/KWRasterLib.h"
#include "model/TalCommander.h"
#include "model/TalPictureName.h"
#include "model/TalSectionWalk.h"
#include "model/TalFileNamesData.h"
#include "document/TalClipboardData.h"
#include "document/TalDocumentApp.h"
#include "document/TalDocumentViews.h"
#include "document/TalSectionTree.h"
#include "platform/classlib/CmdUI.h"
#include "model/TalDocProperties.h"
#include "model/TalWatermark.h"

#include <set>

// ---- Adding pictures ----------------------------------------------------------------

CKWRefPtr<CTalSection> CTalDocument::InsertPictures(const std::vector<CString>& files, int position,
                                                    CTalSection* section, bool group, bool useFileTitles)
{
    CKWRefPtr<CTalSection> target = section ? CKWRefPtr<CTalSection>(section) : m_currentSection;
    if (!target)
        return nullptr;
    std::vector<uint32_t> ids;
    bool taken = false;
    {
        // The titles come at once; the files are read on the picture-loading threads.
        CKWBusyCursor::CWait wait;
        CTalPictureList pictures;
        for (const CString& file : files) {
            const uint32_t id = g_rasterLib.GetPictureId(file);
            if (id == 0)
                continue;
            CKWRefPtr<CTalPicture> picture(new CTalPicture(target.Get()));
            picture->SetPictureId(static_cast<int32_t>(id));
            CString title = useFileTitles ? GetPathFileName(file, false) : CString();
            if (title.IsEmpty())
                title.Format(L"Picture-%d", static_cast<int>(id));
            picture->SetTitle(title);
            pictures.push_back(picture);
            ids.push_back(id);
        }
        if (!pictures.empty())
            InsertPictureObjects(pictures, position, target.Get(), group);
        taken = m_frame && m_frame->ReadAddedPictures(ids);
    }
    if (!taken)
        ReportPictureProblems(ids, true);
    return target;
}

void CTalDocument::CheckAddedPictures(const std::vector<uint32_t>& pictureIds)
{
    if (!pictureIds.empty() && !(m_frame && m_frame->ReadAddedPictures(pictureIds)))
        ReportPictureProblems(pictureIds, true);
}

void CTalDocument::ReportPictureProblems(const std::vector<uint32_t>& pictureIds, bool decode,
                                         std::set<uint32_t>* told)
{
    g_rasterLib.CheckPictures(pictureIds, decode);
    const CString documentFile = GetPathName().IsEmpty() ? GetTitle() : GetPathName();
    std::vector<CString> lines;
    std::set<uint32_t> named;
    for (uint32_t id : pictureIds) {
        if (id == 0 || !named.insert(id).second)
            continue;
        // A missing file goes in as the placeholder as a damaged one does,
        // and so does a picture the picture store could not keep.
        DWORD unkeptError = 0;
        const bool unkept = g_rasterLib.GetUnkeptError(id, unkeptError);
        const KWPictureState state = unkept ? KWPictureState::Missing : g_rasterLib.GetPictureState(id, decode);
        if (state == KWPictureState::Sound)
            continue;
        if (told ? !told->insert(id).second : !g_rasterLib.TakeReport(id))
            continue;
        SIZE size = {0, 0};
        if (state == KWPictureState::TooLarge)
            g_rasterLib.GetImageSize(id, size);
        const CString name = TalPictureName(GetProperties(), id, documentFile);
        const CString refused = g_rasterLib.GetRefusedName(id);
        if (unkept)
            lines.push_back(L"The picture " + name + L" " + KWUnkeptPictureText(unkeptError));
        else if (!refused.IsEmpty())
            lines.push_back(KWRefusedNameLine(refused));
        else
            lines.push_back(KWPictureProblemLine(state, name, size));
    }
    if (lines.empty())
        return;
    // A long list is cut where the box would pass the screen's height.
    const size_t shown = KWMessageBoxLinesThatFit(kKWPictureProblemsHeading, lines, KWMessageBoxOwner());
    CString text = kKWPictureProblemsHeading;
    for (size_t i = 0; i < shown; ++i)
        text += L"\n" + lines[i];
    if (shown < lines.size()) {
        CString rest;
        rest.Format(L"\n... and %u more.", static_cast<unsigned>(lines.size() - shown));
        text += rest;
    }
    ShowMessage(text);
}

std::vector<uint32_t> CTalDocument::CollectPictureIds()
{
    std::vector<uint32_t> ids;
    CTalDocProperties& props = GetProperties();
    if (props.m_logoPictureId)
        ids.push_back(static_cast<uint32_t>(props.m_logoPictureId));
    for (const CTalWatermark* mark : props.GetWatermarks()) {
        if (mark && mark->m_kind == CTalWatermark::kImage && mark->m_pictureId)
            ids.push_back(static_cast<uint32_t>(mark->m_pictureId));
    }
    AppendSectionPictureIds(props.GetHeadingSection().Get(), ids);
    return ids;
}

void CTalDocument::AppendSectionPictureIds(CTalSection* section, std::vector<uint32_t>& ids)
{
    TalVisitSections(section, [&ids](CTalSection* next) {
        for (const auto& picture : next->GetPictures())
            ids.push_back(static_cast<uint32_t>(picture->GetPictureId()));
        return true;
    });
}

bool CTalDocument::InsertPictureObjects(const CTalPictureList& pictures, int position, CTalSection* section,
                                        bool group)
{
    EndEdits(false);
    CKWRefPtr<CTalSection> target = section ? CKWRefPtr<CTalSection>(section) : m_currentSection;
    if (!target || !GetCommander().InsertPictures(target.Get(), pictures, position, group))
        return false;
    SetModifiedFlag(TRUE);
    return true;
}

void CTalDocument::OnAddImage()
{
    EndEdits(false);
    CTalDocumentApp* app = GetTalDocumentApp();
    std::vector<CString> files;
    if (m_currentSection && app && app->ChooseImageFiles(files))
        InsertPictures(files, -1, m_currentSection.Get(), true, true);
}

void CTalDocument::OnAddImagesToDocument()
{
    EndEdits(false);
    CTalDocumentApp* app = GetTalDocumentApp();
    std::vector<CString> files;
    if (app && app->GetSelectedGalleryFiles(files) && !files.empty())
        InsertPictures(files, -1, m_currentSection.Get(), true, true);
}

void CTalDocument::OnCopyImages()
{
    CTalDocumentApp* app = GetTalDocumentApp();
    std::vector<CString> files;
    if (!app || !app->GetSelectedGalleryFiles(files) || files.empty())
        return;
    CTalFileNamesData record(files);
    PutClipboardRecord(m_frame ? m_frame->GetFrameWindow() : nullptr, TalPictureFilesClipboardFormat(), record);
}

void CTalDocument::OnPicturesInserted(CKWRefPtr<CTalSection> section, const CTalPositionList& positions)
{
    if (ShowPicturesOf(section.Get(), [&] { m_frame->InsertImages(positions); }))
        m_frame->SelectImages(positions);
}

// ---- Operations of the image panel -------------------------------------------------------

void CTalDocument::SetPictureTitle(int position, const CString& title)
{
    CKWRefPtr<CTalSection> current = m_currentSection;
    if (current && GetCommander().EditPictureTitle(current.Get(), position, title))
        SetModifiedFlag(TRUE);
}

void CTalDocument::MovePictures(const CTalPositionList& positions, int anchorIndex)
{
    EndEdits(false);
    CKWRefPtr<CTalSection> current = m_currentSection;
    if (current && GetCommander().MovePictures(current.Get(), current.Get(), positions, anchorIndex))
        SetModifiedFlag(TRUE);
}

void CTalDocument::ShowImageProperties()
{
    if (m_frame)
        m_frame->ShowImageProperties();
}

void CTalDocument::ToggleViewMode()
{
    EndEdits(false);
    if (m_frame)
        m_frame->ToggleViewMode();
}

bool CTalDocument::CanGoBack()
{
    return m_frame && m_currentSection && !m_frame->IsThumbnailsMode() && m_frame->GetCurrentImageIndex() >= 1;
}

bool CTalDocument::CanGoForward()
{
    if (!m_frame || !m_currentSection || m_frame->IsThumbnailsMode())
        return false;
    const int index = m_frame->GetCurrentImageIndex();
    return index >= 0 && index < m_currentSection->GetPictureCount() - 1;
}

void CTalDocument::OnGoToImage(UINT id)
{
    EndEdits(false);
    if (!m_frame)
        return;
    switch (id) {
    case ID_TAL_GO_TO_FIRST_IMAGE:
        m_frame->GoToFirstImage();
        break;
    case ID_TAL_GO_TO_PREVIOUS_IMAGE:
        m_frame->GoToPreviousImage();
        break;
    case ID_TAL_GO_TO_NEXT_IMAGE:
        m_frame->GoToNextImage();
        break;
    case ID_TAL_GO_TO_LAST_IMAGE:
        m_frame->GoToLastImage();
        break;
    default:
        break;
    }
}

void CTalDocument::OnPreviewImage()
{
    EndEdits(false);
    if (m_frame)
        m_frame->ShowPreview();
}

void CTalDocument::OnThumbnails()
{
    EndEdits(false);
    if (m_frame)
        m_frame->ShowThumbnails();
}

// ---- Picture commands ------------------------------------------------------------------------

CKWRefPtr<CTalPicture> CTalDocument::GetCurrentPicture() const
{
    if (!m_frame || !m_currentSection)
        return nullptr;
    return m_currentSection->GetPicture(m_frame->GetCurrentImageIndex());
}

bool CTalDocument::PrepareSelectedPictures(CTalPositionList& positions, CKWRefPtr<CTalPicture>& current)
{
    EndEdits(false);
    current = GetCurrentPicture();
    if (!current)
        return false;
    positions = m_frame->GetSelectedImageIndices();
    return !positions.empty();
}

template <typename Change>
void CTalDocument::ChangeSelectedPictures(Change change)
{
    CTalPositionList positions;
    CKWRefPtr<CTalPicture> current;
    if (PrepareSelectedPictures(positions, current) && change(*current, positions))
        SetModifiedFlag(TRUE);
}

void CTalDocument::OnRemoveImage()
{
    ChangeSelectedPictures([&](CTalPicture&, const CTalPositionList& positions) {
        return GetCommander().RemovePictures(m_currentSection.Get(), positions);
    });
}

void CTalDocument::OnRotateLeft()
{
    ChangeSelectedPictures([&](CTalPicture&, const CTalPositionList& positions) {
        GetCommander().RotatePicturesLeft(m_currentSection.Get(), positions);
        return true;
    });
}

void CTalDocument::OnRotateRight()
{
    ChangeSelectedPictures([&](CTalPicture&, const CTalPositionList& positions) {
        GetCommander().RotatePicturesRight(m_currentSection.Get(), positions);
        return true;
    });
}

// The value of each toggle comes from the current picture and goes to every
// selected one.
void CTalDocument::OnConvertToGrayscale()
{
    ChangeSelectedPictures([&](CTalPicture& current, const CTalPositionList& positions) {
        const bool grey = current.IsGrayscale(GetProperties().m_grayscale != 0);
        return GetCommander().SetPicturesGrayscale(m_currentSection.Get(), positions, grey ? 0 : 1);
    });
}

void CTalDocument::OnGrayscaleByDefault()
{
    ChangeSelectedPictures([&](CTalPicture& current, const CTalPositionList& positions) {
        const bool toDefault = current.GetGrayscale() != CTalPicture::kDocumentDefault;
        return GetCommander().ResolvePicturesGrayscale(m_currentSection.Get(), positions, toDefault);
    });
}

void CTalDocument::OnUseDescription()
{
    ChangeSelectedPictures([&](CTalPicture& current, const CTalPositionList& positions) {
        const bool used = current.IsUseDescription(GetProperties().m_useDescription != 0);
        return GetCommander().SetPicturesUseDescription(m_currentSection.Get(), positions, used ? 0 : 1);
    });
}

void CTalDocument::OnUseDescriptionByDefault()
{
    ChangeSelectedPictures([&](CTalPicture& current, const CTalPositionList& positions) {
        const bool toDefault = current.GetUseDescription() != CTalPicture::kDocumentDefault;
        return GetCommander().ResolvePicturesUseDescription(m_currentSection.Get(), positions, toDefault);
    });
}

void CTalDocument::OnShowInReport()
{
    ChangeSelectedPictures([&](CTalPicture& current, const CTalPositionList& positions) {
        return GetCommander().SetPicturesShowInReport(m_currentSection.Get(), positions, current.GetShown() ? 0 : 1);
    });
}

void CTalDocument::OnTurnToNewPage()
{
    ChangeSelectedPictures([&](CTalPicture& current, const CTalPositionList& positions) {
        return GetCommander().SetPicturesNewPage(m_currentSection.Get(), positions, current.GetNewPage() ? 0 : 1);
    });
}

// ---- Update handlers ---------------------------------------------------------------------------

void CTalDocument::OnUpdatePictureCommand(CCmdUI* cmdUI)
{
    if (cmdUI->m_nID == ID_TAL_ADD_IMAGE) {
        cmdUI->Enable(m_currentSection != nullptr);
        return;
    }
    if (!m_currentSection || !m_frame || !m_frame->HasCurrentImage()) {
        cmdUI->Enable(FALSE);
        return;
    }
    cmdUI->Enable(TRUE);
    CKWRefPtr<CTalPicture> picture = GetCurrentPicture();
    if (!picture)
        return;
    const CTalDocProperties& properties = GetProperties();
    switch (cmdUI->m_nID) {
    case ID_TAL_CONVERT_TO_GRAYSCALE:
        cmdUI->SetCheck(picture->IsGrayscale(properties.m_grayscale != 0));
        break;
    case ID_TAL_GRAYSCALE_BY_DEFAULT:
        cmdUI->SetCheck(picture->GetGrayscale() == CTalPicture::kDocumentDefault);
        break;
    case ID_TAL_USE_DESCRIPTION:
        cmdUI->SetCheck(picture->IsUseDescription(properties.m_useDescription != 0));
        break;
    case ID_TAL_USE_DESCRIPTION_BY_DEFAULT:
        cmdUI->SetCheck(picture->GetUseDescription() == CTalPicture::kDocumentDefault);
        break;
    case ID_TAL_SHOW_IN_REPORT:
        cmdUI->SetCheck(picture->GetShown() != 0);
        break;
    case ID_TAL_TURN_TO_NEW_PAGE:
        cmdUI->SetCheck(picture->GetNewPage() != 0);
        break;
    default:
        break;
    }
}

void CTalDocument::OnUpdateGoToImage(CCmdUI* cmdUI)
{
    const bool back = cmdUI->m_nID == ID_TAL_GO_TO_FIRST_IMAGE || cmdUI->m_nID == ID_TAL_GO_TO_PREVIOUS_IMAGE;
    cmdUI->Enable(back ? CanGoBack() : CanGoForward());
}

void CTalDocument::OnUpdatePreviewImage(CCmdUI* cmdUI)
{
    cmdUI->Enable(TRUE);
    cmdUI->SetCheck(m_frame && !m_frame->IsThumbnailsMode());
}

void CTalDocument::OnUpdateThumbnails(CCmdUI* cmdUI)
{
    cmdUI->Enable(TRUE);
    cmdUI->SetCheck(m_frame && m_frame->IsThumbnailsMode());
}

void CTalDocument::OnUpdateGallerySelection(CCmdUI* cmdUI)
{
    CTalDocumentApp* app = GetTalDocumentApp();
    cmdUI->Enable(app && app->GetSelectedGalleryImageCount() > 0);
}
