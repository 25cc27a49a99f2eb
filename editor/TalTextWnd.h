#pragma once
// CTalTextWnd: the text-note pane of a report window: the current section's
// name in large type, a line under it and the text panel in which the
// section's note is typed and formatted. The report's text commands reach
// the panel through the frame (CTalDocumentViews), which hands it out.
#include "controls/KWTextLabel.h"
#include "editor/TalPaneWnd.h"
#include "editor/TalTextPanel.h"

class CTalDocument;
class CTalSection;

class CTalTextWnd : public CTalPaneWnd, public CKWTextPanelClickListener {
public:
    // Items of the pane's template and the panel's id.
    enum : UINT { kLabelId = 1171, kSeparatorId = 1168, kPanelId = 1159 };
    // The panel's top, under the label and the line, in pixels.
    static constexpr int kPanelTop = 40;

    explicit CTalTextWnd(CTalDocument* document = nullptr);
    ~CTalTextWnd() override;

    // The panel under the label, the label's type; the default font.
    void InitControls() override;
    void TakeFocus() override;

    CTalTextPanel& GetPanel() { return m_panel; }
    const CKWTextLabel& GetLabel() const { return m_label; }
    // The section's name, trimmed, in the label; the current section's note
    // in the panel, which leaves editing.
    void LoadSectionText(CTalSection* section);
    // The label in the face of the report's text style (style 8); "Arial"
    // when it names none.
    void UpdateDefaultFont();
    // The panel leaves editing mode; the note stays on show.
    void OnEditorKillFocus();
    // Editing mode, then the characters first..last selected.
    void SelectText(int first, int last);
    // A press in the panel makes the text pane the frame's active pane, also
    // when the panel had the keyboard focus already.
    void OnTextPanelClick(UINT clickId) override;

protected:
    afx_msg void OnSize(UINT type, int cx, int cy);
    DECLARE_MESSAGE_MAP()

private:
    CTalDocument* m_document;
    CTalTextPanel m_panel;
    CKWTextLabel m_label;
};
