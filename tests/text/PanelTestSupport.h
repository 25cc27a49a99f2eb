#pragma once
// Text panels in real windows for the edit-engine, clipboard and panel
// tests: a visible top-level host with one panel, keys and the mouse sent as
// messages, and screenshots written under the build folder.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/KWIndexDecoder.h"
#include "text/KWTextObject.h"
#include "text/KWTextPanel.h"
#include "tests/platform/classlib/TestSupport.h"

// A laid-out text with a font table of its own, as the report's notes have.
class TableText : public CKWTextObject {
public:
    CKWIndexDecoder* GetFontTable() const override { return &m_table; }
    mutable CKWIndexDecoder m_table;
};

// The characters with one run and a paragraph record per paragraph.
void SetNote(CKWTextObject& text, const std::wstring& chars);

// A panel that counts the engine's scroll requests and can leave its scroll
// bar as a test set it.
class TestPanel : public CKWTextPanel {
public:
    int scrollRequests = 0;
    bool manageBar = true;
    void UpdateScrollBars(const SIZE& page, const SIZE& content) override
    {
        if (manageBar)
            CKWTextPanel::UpdateScrollBars(page, content);
    }
    void ScrollTo(double x, double y, bool updateNow) override
    {
        ++scrollRequests;
        CKWTextPanel::ScrollTo(x, y, updateNow);
    }
};

using classlib_test::DrainMessages;
// The thread's key state as GetKeyState reports it to the panel.
inline void SetModifiers(bool shift, bool ctrl) { classlib_test::SetKeys(ctrl, shift); }

class PanelWindow {
public:
    // A host of the given client size with a panel filling it.
    PanelWindow(int width = 320, int height = 200, DWORD panelStyle = 0);
    ~PanelWindow();

    TestPanel& Panel() { return *m_panel; }
    HWND Handle() const { return m_panel->m_hWnd; }
    HWND Host() const { return m_host; }

    // Attaches the text and starts editing with a click at the text's start.
    void Edit(CKWTextObject& text);
    void Key(UINT key, bool shift = false, bool ctrl = false);
    void Type(const std::wstring& chars);
    void Press(UINT message, POINT point, WPARAM flags = 0);
    // The window point in the middle of the line at a position.
    POINT PointOf(int position);
    std::pair<int, int> Selection() const;
    // Validates the window, then tells whether the action invalidated anything.
    template <typename Action>
    bool Invalidates(Action action)
    {
        ::ValidateRect(Handle(), nullptr);
        action();
        RECT rect;
        return ::GetUpdateRect(Handle(), &rect, FALSE) != FALSE;
    }
    // The update region covers the whole client area.
    bool WholeWindowInvalid() const;
    // Paints and writes the window's client area as build/screenshots/<name>.png.
    bool Screenshot(const wchar_t* name);

private:
    HWND m_host = nullptr;
    std::unique_ptr<TestPanel> m_panel;
};
