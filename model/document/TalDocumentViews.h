#pragma once
// CTalDocumentViews: what the report document asks of its frame's panes.
// The editor's document frame implements it and registers itself with the
// document (CTalDocument::SetFrame); the operations stand for the calls of
// the section tree, the image panel (CTalControlsWnd), the page-template
// window (CTalTemplatesWnd) and the text-note window (CTalTextWnd).
#include "model/TalObject.h"
#include "model/TalPicture.h"

#include <cstdint>

class CTalSection;
class CTalSectionTree;
class CString;

class CTalDocumentViews {
public:
    virtual ~CTalDocumentViews() = default;

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
};
