// Cut, copy, paste, delete and select-all routed by the pane that has the
// focus, the copies of sections and pictures to the clipboard, the paste of
// every kind of data the report takes, and the keys of the views and panels.
#include "document/TalDocument.h"

#include "framework/KWRasterLib.h"
#include "framework/KWSystemInfo.h"
#include "model/TalCommandHistory.h"
#include "model/TalCommandStrings.h"
#include "model/TalCommander.h"
#include "model/TalPicturesData.h"
#include "model/TalFileNamesData.h"
#include "model/TalSectionData.h"
#include "document/TalClipboardData.h"
#include "document/TalDocumentViews.h"
#include "document/TalSectionTree.h"
#include "platform/classlib/CmdUI.h"
#include "text/KWClipboard.h"

#include <iterator>

namespace {

// Image data in the order it is pasted.
const UINT kImageFormats[] = {CF_DIB, CF_BITMAP, CF_TIFF};

// The name the raster library decodes a clipboard format's bytes by; the
// handle of CF_BITMAP arrives as a packed DIB.
const char* ImageTypeNameOf(UINT format)
{
    const char* name = nullptr;
    if (!GetImageTypeName(static_cast<int>(format == CF_BITMAP ? CF_DIB : format), name))
        return nullptr;
    return name;
}

// A new picture file of the store for the first image data that decodes; 0 when none.
uint32_t SaveClipboardImage(const CKWClipboard& clipboard)
{
    for (UINT format : kImageFormats) {
        std::vector<uint8_t> bytes;
        const char* type = ImageTypeNameOf(format);
        if (!type || !GetClipboardImageBytes(clipboard, format, bytes))
            continue;
        KWRasterImagePtr image(
            g_rasterLib.RasterReadFromMemory(bytes.data(), static_cast<uint32_t>(bytes.size()), type, 0, 0));
        if (!image)
            continue;
        // BMP at full quality: a pasted picture is kept as it came.
        if (const uint32_t id = g_rasterLib.SaveImage(image.get(), 0, 100))
            return id;
    }
    return 0;
}

}  // namespace

bool CTalDocument::CanPasteClipboard()
{
    const UINT formats[] = {TalObjectsClipboardFormat(), TalPicturesClipboardFormat(), TalPictureFilesClipboardFormat(),
                            CF_TEXT, CF_UNICODETEXT, CF_BITMAP, CF_DIB, CF_TIFF};
    for (UINT format : formats) {
        if (::IsClipboardFormatAvailable(format))
            return true;
    }
    return false;
}

bool CTalDocument::CanDeleteSelected()
{
    switch (GetActivePane()) {
    case CTalDocumentViews::kPaneImages:
        if (m_frame->IsEditingTitle())
            return m_frame->CanDeleteTitle();
        return m_frame->GetCurrentImageIndex() >= 0 && m_currentSection;
    case CTalDocumentViews::kPaneText:
        return m_frame->CanDeleteText();
    default:
        if (IsTreeEditingLabel())
            return GetTree()->CanDelete();
        return CanRemoveCurrentSection();
    }
}

// ---- Copying ------------------------------------------------------------------------

bool CTalDocument::CopyCurrentSectionToClipboard()
{
    if (!m_currentSection)
        return false;
    CTalSectionData record(m_currentSection.Get());
    if (!PutClipboardRecord(m_frame ? m_frame->GetFrameWindow() : nullptr, TalObjectsClipboardFormat(), record))
        return false;
    // The pictures of the section and of all below it.
    std::vector<uint32_t> ids;
    AppendSectionPictureIds(m_currentSection.Get(), ids);
    HoldClipboardPictures(std::vector<CKWPictureHold>(ids.begin(), ids.end()));
    return true;
}

bool CTalDocument::CopyPicturesToClipboard()
{
    if (!m_currentSection || !m_frame)
        return false;
    const CTalPositionList positions = m_frame->GetSelectedImageIndices();
    if (positions.empty())
        return false;
    CTalPictureList pictures;
    m_currentSection->CollectPictures(positions, pictures);
    CTalPicturesData record(pictures, false, &positions);
    if (!PutClipboardRecord(m_frame->GetFrameWindow(), TalPicturesClipboardFormat(), record))
        return false;
    std::vector<CKWPictureHold> holds;
    for (const auto& picture : pictures)
        holds.emplace_back(picture->GetPictureId());
    HoldClipboardPictures(std::move(holds));
    return true;
}

// ---- Pasting -------------------------------------------------------------------------

void CTalDocument::PasteFromClipboard(bool asSubsection)
{
    CKWClipboard clipboard;
    if (!clipboard.Open(m_frame ? m_frame->GetFrameWindow() : nullptr))
        return;
    CKWRefPtr<CTalSection> current = m_currentSection;
    CTalCommander& commander = GetCommander();
    bool pasted = false;
    // A section read but not placed is detached when the record goes.
    CTalSectionData sectionRecord(nullptr, true);
    CTalPicturesData picturesRecord;
    CTalFileNamesData namesRecord;
    // The pictures a paste brings whose files are gone (their copy ended) or
    // bad are named as added ones are.
    std::vector<uint32_t> pastedIds;
    if (GetClipboardRecord(clipboard, TalObjectsClipboardFormat(), sectionRecord) && sectionRecord.GetSection()) {
        CKWRefPtr<CTalSection> section = sectionRecord.GetSection();
        const CKWIndexDecoder* fonts = sectionRecord.GetSourceFontTable();
        CKWRefPtr<CTalSection> added;
        if (current && asSubsection)
            added = commander.AddChildSection(current.Get(), nullptr, section.Get(), true, true, true, true, fonts);
        else if (current)
            added = commander.AddSiblingSection(current.Get(), nullptr, section.Get(), true, true, fonts);
        if (added) {
            sectionRecord.SetOwning(false);
            pasted = true;
            AppendSectionPictureIds(added.Get(), pastedIds);
        }
    } else if (GetClipboardRecord(clipboard, TalPicturesClipboardFormat(), picturesRecord)) {
        if (current && !picturesRecord.GetPictures().empty())
            pasted = InsertPictureObjects(picturesRecord.GetPictures(), -1, current.Get(), true);
        for (const auto& picture : picturesRecord.GetPictures()) {
            if (pasted && picture)
                pastedIds.push_back(static_cast<uint32_t>(picture->GetPictureId()));
        }
    } else if (GetClipboardRecord(clipboard, TalPictureFilesClipboardFormat(), namesRecord)) {
        if (current && !namesRecord.GetNames().empty())
            pasted = InsertPictures(namesRecord.GetNames(), -1, current.Get(), true, true) != nullptr;
    } else if (clipboard.IsFormatAvailable(CF_DIB) || clipboard.IsFormatAvailable(CF_BITMAP) ||
               clipboard.IsFormatAvailable(CF_TIFF)) {
        const uint32_t id = current ? SaveClipboardImage(clipboard) : 0;
        if (id)
            pasted = InsertPictures({g_rasterLib.GetImagePath(id)}, -1, current.Get(), true, false) != nullptr;
    } else {
        CString text;
        int charset = 0;
        if (!clipboard.GetUnicodeText(text))
            clipboard.GetAnsiText(text, charset);
        CString name = text;
        name.Trim();
        if (current && !name.IsEmpty()) {
            CKWRefPtr<CTalSection> added =
                asSubsection ? commander.AddChildSection(current.Get(), text, nullptr, true, true, true, true)
                             : commander.AddSiblingSection(current.Get(), text, nullptr, true, true);
            pasted = added != nullptr;
        }
    }
    clipboard.Close();
    if (pasted)
        SetModifiedFlag(TRUE);
    CheckAddedPictures(pastedIds);
}

// ---- Routing by the focus pane ----------------------------------------------------------

void CTalDocument::OnEditCut()
{
    switch (GetActivePane()) {
    case CTalDocumentViews::kPaneImages:
        if (m_frame->CutTitle())
            return;
        m_frame->EndImageTitleEdit(false);
        if (CopyPicturesToClipboard())
            OnRemoveImage();
        break;
    case CTalDocumentViews::kPaneText:
        m_frame->CutText();
        break;
    default:
        if (IsTreeEditingLabel()) {
            GetTree()->CutLabel();
            return;
        }
        if (CopyCurrentSectionToClipboard())
            OnRemoveSection();
        break;
    }
}

void CTalDocument::OnEditCopy()
{
    switch (GetActivePane()) {
    case CTalDocumentViews::kPaneImages:
        if (m_frame->CopyTitle())
            return;
        m_frame->EndImageTitleEdit(false);
        CopyPicturesToClipboard();
        break;
    case CTalDocumentViews::kPaneText:
        m_frame->CopyText();
        break;
    default:
        if (IsTreeEditingLabel()) {
            GetTree()->CopyLabel();
            return;
        }
        CopyCurrentSectionToClipboard();
        break;
    }
}

void CTalDocument::OnEditPaste()
{
    bool handled = false;
    switch (GetActivePane()) {
    case CTalDocumentViews::kPaneImages:
        handled = m_frame->PasteTitle();
        break;
    case CTalDocumentViews::kPaneText:
        handled = m_frame->PasteText();
        break;
    default:
        if (IsTreeEditingLabel()) {
            CTalCommandHistory* history = GetCommandHistory();
            history->BeginGroup();
            handled = GetTree()->PasteLabel();
            history->EndGroup(IDS_EDIT_TEXT_NOTE);
        }
        break;
    }
    if (!handled) {
        EndEdits(false);
        PasteFromClipboard(false);
    }
    UpdateFontLists(false);
}

void CTalDocument::OnPasteAsSubsection()
{
    EndEdits(false);
    PasteFromClipboard(true);
    SetModifiedFlag(TRUE);
}

void CTalDocument::OnDeleteSelected()
{
    switch (GetActivePane()) {
    case CTalDocumentViews::kPaneImages:
        if (m_frame->IsEditingTitle()) {
            m_frame->DeleteTitle();
            return;
        }
        m_frame->EndImageTitleEdit(true);
        OnRemoveImage();
        break;
    case CTalDocumentViews::kPaneText:
        m_frame->DeleteText();
        break;
    default:
        if (IsTreeEditingLabel()) {
            GetTree()->DeleteLabel();
            return;
        }
        OnRemoveSection();
        break;
    }
}

void CTalDocument::OnSelectAll()
{
    if (!m_frame)
        return;
    if (GetActivePane() == CTalDocumentViews::kPaneText)
        m_frame->SelectAllText();
    else
        m_frame->SelectAllImages();
}

// ---- Keys -------------------------------------------------------------------------------

bool CTalDocument::HandleKey(const CKWKeyRecord& key)
{
    const bool images = GetActivePane() == CTalDocumentViews::kPaneImages;
    switch (key.key) {
    case VK_BACK:
    case VK_DELETE:
        if (!CanDeleteSelected())
            return false;
        OnDeleteSelected();
        return true;
    case VK_RETURN:
        if (images)
            ToggleViewMode();
        else if (key.shift)
            OnAddSubSection();
        else
            OnAddSection();
        return true;
    case VK_PRIOR:
    case VK_LEFT:
    case VK_UP:
    case VK_HOME:
        if (!images || !CanGoBack())
            return false;
        OnGoToImage(key.key == VK_HOME ? ID_TAL_GO_TO_FIRST_IMAGE : ID_TAL_GO_TO_PREVIOUS_IMAGE);
        return true;
    case VK_NEXT:
    case VK_RIGHT:
    case VK_DOWN:
    case VK_END:
        if (!images || !CanGoForward())
            return false;
        OnGoToImage(key.key == VK_END ? ID_TAL_GO_TO_LAST_IMAGE : ID_TAL_GO_TO_NEXT_IMAGE);
        return true;
    default:
        return false;
    }
}

// ---- Update handlers ----------------------------------------------------------------------

void CTalDocument::OnUpdateEditCutCopy(CCmdUI* cmdUI)
{
    const bool cut = cmdUI->m_nID == ID_TAL_EDIT_CUT;
    switch (GetActivePane()) {
    case CTalDocumentViews::kPaneImages:
        if (m_frame->IsEditingTitle())
            cmdUI->Enable(cut ? m_frame->CanCutTitle() : m_frame->CanCopyTitle());
        else
            cmdUI->Enable(m_currentSection && m_frame->HasCurrentImage());
        break;
    case CTalDocumentViews::kPaneText:
        cmdUI->Enable(cut ? m_frame->CanCutText() : m_frame->CanCopyText());
        break;
    default:
        if (IsTreeEditingLabel())
            cmdUI->Enable(cut ? GetTree()->CanCut() : GetTree()->CanCopy());
        else
            cmdUI->Enable(CanRemoveCurrentSection());
        break;
    }
}

void CTalDocument::OnUpdateEditPaste(CCmdUI* cmdUI)
{
    switch (GetActivePane()) {
    case CTalDocumentViews::kPaneImages:
        cmdUI->Enable(m_frame->IsEditingTitle() ? m_frame->CanPasteTitle() : CanPasteClipboard());
        break;
    case CTalDocumentViews::kPaneText:
        cmdUI->Enable(m_frame->CanPasteText());
        break;
    default:
        cmdUI->Enable(IsTreeEditingLabel() ? GetTree()->CanPaste() : CanPasteClipboard());
        break;
    }
}

void CTalDocument::OnUpdatePasteAsSubsection(CCmdUI* cmdUI)
{
    cmdUI->Enable(CanPasteClipboard());
}

void CTalDocument::OnUpdateDeleteSelected(CCmdUI* cmdUI)
{
    cmdUI->Enable(CanDeleteSelected());
}

void CTalDocument::OnUpdateSelectAll(CCmdUI* cmdUI)
{
    if (!m_frame)
        cmdUI->Enable(FALSE);
    else if (GetActivePane() == CTalDocumentViews::kPaneText)
        cmdUI->Enable(m_frame->HasText());
    else
        cmdUI->Enable(m_frame->CanSelectAllImages());
}
