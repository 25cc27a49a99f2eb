#pragma once
// The document-command tests: a report frame whose text-note window is a real
// text panel showing the current section's note, a fixture with a new
// document in such a frame, the command states asked as the menus ask them,
// and the Windows clipboard filled by the tests.
#include "ModelLeakCheck.h"
#include "TalDocumentTestSupport.h"

#include "platform/classlib/CmdUI.h"
#include "text/KWTextPanel.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace taldoc {

// The fake panes with a real text panel: the note of the section the
// document shows is attached to it, and the text operations reach it.
class CPanelDocumentViews : public CFakeDocumentViews {
public:
    CKWTextPanel* GetTextPanel() override { return panel.m_hWnd ? &panel : nullptr; }
    HWND GetFrameWindow() override { return frame; }
    void LoadSectionText(CTalSection* section) override;
    void LeaveTextEditing() override;
    void RefreshText() override;
    void SelectText(int32_t first, int32_t last) override;

    CKWTextPanel panel;
    HWND frame = nullptr;
};

// The report frame of these tests: a panel frame that registers its panes.
class CPanelDocFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CPanelDocFrame)
public:
    ~CPanelDocFrame() override;
    CPanelDocumentViews views;

protected:
    BOOL OnCreateClient(LPCREATESTRUCTW lpcs, CCreateContext* pContext) override;

private:
    CTalDocument* m_document = nullptr;
};

// What an update handler made of a menu item.
struct CommandState {
    bool enabled = true;
    int checked = -1;  // -1: not set
    std::wstring text;
};

// A new, unmodified document whose heading section has the children A and B.
class TalCommandFixture : public ModelLeakCheck {
protected:
    void SetUp() override;
    void TearDown() override;

    // The state of the command as the menus ask the document for it.
    CommandState Update(UINT id);
    bool Enabled(UINT id) { return Update(id).enabled; }
    // WM_COMMAND from a menu, sent to the document's frame.
    void Command(UINT id);
    // A child section of the parent, last, in the tree, without a step of the history.
    CKWRefPtr<CTalSection> Add(CTalSection* parent, const wchar_t* name);
    // Makes the section current through the tree.
    void Select(CTalSection* section);
    CTalSection* Current() const { return document->GetCurrentSection().Get(); }
    CTalCommandHistory& History() { return *document->GetCommandHistory(); }
    // The label of the newest step (0 without one).
    uint32_t LastStepLabel();
    CFakeSectionTree& Tree() { return views->tree; }
    CKWTextPanel& Panel() { return views->panel; }
    // Pictures for the paths appended to the section without a step.
    void AddPictures(CTalSection* section, const std::vector<std::wstring>& paths);

    std::unique_ptr<CTalTestApp> app;
    std::unique_ptr<CTalBaseDocument> wizard;
    CTestTalDocument* document = nullptr;
    CPanelDocumentViews* views = nullptr;
    CKWRefPtr<CTalSection> heading, a, b;
};

// The clipboard emptied and given the bytes of each format.
void SetClipboard(const std::vector<std::pair<UINT, std::string>>& data);
// The characters and their terminator as CF_UNICODETEXT.
std::string UnicodeBytes(const std::wstring& text);
// A bitmap of the size put as CF_BITMAP (the clipboard owns it afterwards).
void SetClipboardBitmap(int width, int height);

}  // namespace taldoc
