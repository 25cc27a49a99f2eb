#pragma once
// The text tool bar's font boxes while the bar is docked along a side:
// CQMXPToolbarFontNameMenuButton (command 32902) and
// CQMXPToolbarFontSizeMenuButton (command 32903), menu buttons whose popups
// list the fonts or the sizes. Choosing an entry records the font name or
// size (KWFontMenuChoice.h) and then sends the button's command.
//
// The popups (CQMXPFontPopupMenu, CQMXPFontSizePopupMenu) fill themselves
// with bars of their own kind only when a button of the matching class
// opened them; otherwise they carry the library's plain menu bar.
#include "docking/toolbars/QMXPPopupMenu.h"
#include "docking/toolbars/QMXPPopupMenuBar.h"
#include "docking/toolbars/QMXPToolbarMenuButton.h"

#include <vector>

struct FontCommboData;

class CKWFontMenuButtonBase : public CQMXPToolbarMenuButton {
    DECLARE_DYNCREATE(CKWFontMenuButtonBase)
public:
    struct MenuItem {
        UINT command;
        CString text;
    };

    CKWFontMenuButtonBase() = default;
    explicit CKWFontMenuButtonBase(UINT nID) : CQMXPToolbarMenuButton(nID, nullptr, -1) {}

    // Appends a plain string item.
    void AddMenuItem(UINT command, const CString& text);
    // The items, in menu order.
    std::vector<MenuItem> GetMenuItems() const;
    // The window queries: these buttons host no window.
    HWND GetHwnd() override { return nullptr; }
};

class CQMXPToolbarFontNameMenuButton : public CKWFontMenuButtonBase {
    DECLARE_DYNCREATE(CQMXPToolbarFontNameMenuButton)
public:
    enum : UINT { kCommandId = 32902 };
    CQMXPToolbarFontNameMenuButton() : CKWFontMenuButtonBase(kCommandId) {}

    CQMXPPopupMenu* MakePopupMenu() override;
    // The name with " MISSED!" when the entry is none or has no face.
    void AddFont(const CString& name, const FontCommboData* entry);
    // Every such button's menu made again from the picker data; nothing
    // while there is no application font list.
    static void RebuildAll();
};

class CQMXPToolbarFontSizeMenuButton : public CKWFontMenuButtonBase {
    DECLARE_DYNCREATE(CQMXPToolbarFontSizeMenuButton)
public:
    enum : UINT { kCommandId = 32903 };
    CQMXPToolbarFontSizeMenuButton() : CKWFontMenuButtonBase(kCommandId) {}

    CQMXPPopupMenu* MakePopupMenu() override;
};

// The popup bars: the chosen entry is recorded, then the command sent.
class CQMXPPopupMenuFontBar : public CQMXPPopupMenuBar {
public:
    BOOL OnItemClicked(CQMXPToolbarButton* pButton) override;
};

class CQMXPPopupMenuFontSizeBar : public CQMXPPopupMenuBar {
public:
    BOOL OnItemClicked(CQMXPToolbarButton* pButton) override;
    // The size an entry's text gives: a number and an optional unit,
    // rounded, at most 1670 points.
    static int ParseSize(const CString& text);
};

class CQMXPFontPopupMenu : public CQMXPPopupMenu {
public:
    CQMXPPopupMenuBar* GetMenuBar() override;

private:
    CQMXPPopupMenuFontBar m_fontBar;
};

class CQMXPFontSizePopupMenu : public CQMXPPopupMenu {
public:
    CQMXPPopupMenuBar* GetMenuBar() override;
    // The window the size popups report to (null: none).
    static void SetTargetWnd(HWND target) { s_target = target; }
    // The target when set, else the window's top-level owner.
    static HWND GetPopupOwnerWnd(HWND window);

private:
    CQMXPPopupMenuFontSizeBar m_sizeBar;
    static HWND s_target;
};
