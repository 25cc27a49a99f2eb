#pragma once
// CTalDocumentViews: what the report document asks of its frame's panes.
// The editor's document frame implements it and registers itself with the
// document (CTalDocument::SetFrame); the operations stand for the calls of
// the section tree, the image panel (CTalControlsWnd), the page-template
// window (CTalTemplatesWnd) and the text-note window (CTalTextWnd).
//
// The text-note window's queries and format changes have bodies here, over
// the text panel the frame gives (GetTextPanel): in editing mode they act on
// the panel's selection, otherwise on the whole note the panel shows.
#include <windows.h>

#include "model/TalObject.h"
#include "model/TalPicture.h"

#include <cstdint>
#include <vector>

class CKWCharFormat;
class CKWColor;
class CKWParaFormat;
class CKWTextPanel;
class CString;
class CTalSection;
class CTalSectionTree;
class CTalTextNote;

class CTalDocumentViews {
public:
    // Codes of the active pane; any other value is the section tree or the view.
    enum : int { kPaneTree = 1, kPaneImages = 2, kPaneText = 4 };

    virtual ~CTalDocumentViews() = default;

    // --- Frame ---
    // The pane that has the focus (kPane... codes).
    virtual int GetActivePane() = 0;
    // The frame window: the owner of the clipboard while the document uses it.
    virtual HWND GetFrameWindow() = 0;
    // The keyboard focus goes back to the frame (after a tool-bar box was used).
    virtual void FocusFrame() = 0;

    // The frame's section tree; null while it has none.
    virtual CTalSectionTree* GetSectionTree() = 0;

    // --- Image panel ---
    // Ends an image-title edit in progress, keeping the text unless cancel.
    virtual void EndImageTitleEdit(bool cancel) = 0;
    // Refills the panel from the document's current section.
    virtual void LoadSectionImages() = 0;
    virtual void SelectImages(const CTalPositionList& positions) = 0;
    // Re-reads the thumbnails of the pictures at the positions.
    virtual void UpdateImages(const CTalPositionList& positions) = 0;
    // Makes the image current, shows its new title and, with startEdit, starts editing it.
    virtual void UpdateImageTitle(int position, const CString& title, bool startEdit) = 0;
    // Reloads every picture of the list that follows the document's grey-scale default.
    virtual void UpdateDefaultGrayscaleImages(const CTalPictureList& pictures) = 0;
    // Adds the current section's pictures at the positions (their thumbnails are queued).
    virtual void InsertImages(const CTalPositionList& positions) = 0;
    // The pictures just added from image files are read and checked on the
    // picture-loading threads, with the busy cursor and progress meanwhile,
    // and their problems reported once they are read; false when no panel
    // takes them (the document then checks and reports them itself).
    virtual bool ReadAddedPictures(const std::vector<uint32_t>& pictureIds)
    {
        (void)pictureIds;
        return false;
    }
    // The index of the current image in the current section; -1 when none.
    virtual int GetCurrentImageIndex() = 0;
    virtual bool HasCurrentImage() = 0;
    // The selected thumbnails, or the shown picture in preview mode.
    virtual CTalPositionList GetSelectedImageIndices() = 0;
    virtual bool IsThumbnailsMode() = 0;
    virtual void ShowPreview() = 0;
    virtual void ShowThumbnails() = 0;
    virtual void ToggleViewMode() = 0;
    virtual void GoToFirstImage() = 0;
    virtual void GoToPreviousImage() = 0;
    virtual void GoToNextImage() = 0;
    virtual void GoToLastImage() = 0;
    virtual void ShowImageProperties() = 0;
    // Starts editing the current image's title; false when it cannot.
    virtual bool RenameImage() = 0;
    virtual bool IsEditingTitle() = 0;
    virtual bool IsTitleModified() = 0;
    // Thumbnails mode with at least one item.
    virtual bool CanSelectAllImages() = 0;
    virtual void SelectAllImages() = 0;
    // The clipboard tests of the image-title edit box in progress.
    virtual bool CanCutTitle() = 0;
    virtual bool CanCopyTitle() = 0;
    virtual bool CanPasteTitle() = 0;
    virtual bool CanDeleteTitle() = 0;
    // The title edit box takes the command; true when it did (a title is edited).
    virtual bool CutTitle() = 0;
    virtual bool CopyTitle() = 0;
    virtual bool PasteTitle() = 0;
    virtual bool DeleteTitle() = 0;

    // --- Page-template window ---
    virtual void UpdateTemplatesForSection(CTalSection* section) = 0;
    // The page-template window takes the keyboard focus.
    virtual void FocusTemplates() = 0;
    // Refreshes the page-template window when it exists.
    virtual void RefreshTemplatesWnd() = 0;

    // --- Text-note window ---
    // Shows the section's name and template in the label and its note in the editor.
    virtual void LoadSectionText(CTalSection* section) = 0;
    // The font-name box shows the document's default text font.
    virtual void UpdateDefaultFont() = 0;
    // The text panel leaves editing mode (detaching its text object ends
    // the edit; the same object is attached again).
    virtual void LeaveTextEditing() = 0;
    // When there is a text panel: re-lays out its text and refreshes the caret and view.
    virtual void RefreshText() = 0;
    // Selects the characters first..last of the shown note.
    virtual void SelectText(int32_t first, int32_t last) = 0;
    // The text-note window's panel; null while there is none.
    virtual CKWTextPanel* GetTextPanel() = 0;

    // The note the panel shows; null when none.
    virtual CTalTextNote* GetTextNote();
    virtual bool IsTextEditing();
    // A note with at least one character.
    virtual bool HasText();
    // The edit selection (editing mode) or the whole note; false without a note.
    virtual bool GetTextSelection(int32_t& first, int32_t& last);
    // The common formats of the selection (or of the whole note) and the
    // masks of their uniform fields; null without a note.
    virtual const CKWCharFormat* GetTextCharFormat(uint32_t& mask);
    virtual const CKWParaFormat* GetTextParaFormat(uint32_t& mask);
    // Uniformly bold, italic or underlined.
    virtual bool IsTextBold();
    virtual bool IsTextItalic();
    virtual bool IsTextUnderline();
    // The uniform text colour; false when there is none.
    virtual bool GetTextColor(CKWColor& color);
    // The edit engine forgets its cached formats of the selection.
    virtual void InvalidateTextFormats();
    // The clipboard tests and commands of the text (editing mode only).
    virtual bool CanCutText();
    virtual bool CanCopyText();
    virtual bool CanPasteText();
    // The edit engine has a selection it may delete.
    virtual bool CanDeleteText();
    virtual bool CutText();
    virtual bool CopyText();
    virtual bool PasteText();
    virtual bool DeleteText();
    // Starts editing and selects the whole text.
    virtual void SelectAllText();
    // Changes of the selection (or of the whole note outside editing mode).
    virtual void ToggleBold();
    virtual void ToggleItalic();
    virtual void ToggleUnderline();
    // 0 left, 1 centre, 2 right.
    virtual void SetTextAlignment(uint8_t alignment);
    // One standard size up (true) or down.
    virtual void ChangeFontSize(bool up);
    virtual void SetFontSize(int size);
    virtual void SetFontName(uint32_t fontIndex);
    virtual void SetTextColor(const CKWColor& color);
    // Any character or paragraph request (the mask in its count field).
    virtual void ApplyCharFormat(const CKWCharFormat& request);
    virtual void ApplyParaFormat(const CKWParaFormat& request);

private:
    void ToggleStyle(uint8_t style);
};
