#pragma once
// CTalTextPanel: the text panel of a report window's text-note pane. Every
// change of the characters typed, cut or pasted in it becomes one step
// "Edit Text Note" of the report's history, and the report is marked
// modified. When editing ends the note stays on show (it is attached again,
// read-only for the keys, until the next click starts editing).
#include "text/KWTextPanel.h"

class CKWFocusManager;
class CTalDocument;

class CTalTextPanel : public CKWTextPanel {
public:
    CTalTextPanel() = default;

    // Focuses the panel, tells the focus manager and starts editing the
    // shown note.
    virtual void BeginEditing();
    // The note (or none) shown without editing it; the selection is reset.
    void ShowText(CKWTextObject* text);
    // The focus manager told, with the code, when the panel takes the focus.
    void SetControlsOwner(CKWFocusManager* owner, int code)
    {
        m_owner = owner;
        m_ownerCode = code;
    }

    // --- The engine's operations ---
    void DetachTextObject() override;
    void GetBackgroundColor(CKWColor& color) override;
    int BeforeChange() override;
    void OnTextReplaced(int start, int startLine, int& end, int inserted) override;
    void OnSetFocus() override;

private:
    // The report of the window's frame; null outside a report window.
    CTalDocument* GetDocument();

    CKWFocusManager* m_owner = nullptr;
    int m_ownerCode = 0;
    // Set while a note is being attached: the detaching it does first must
    // not attach the old note again.
    bool m_attaching = false;
};
