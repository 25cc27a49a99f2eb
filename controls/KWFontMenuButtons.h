#pragma once
// The text tool bar's font boxes while the bar is docked along a side:
// CQMXPToolbarFontNameMenuButton (command 32902) and
// CQMXPToolbarFontSizeMenuButton (command 32903), tool-bar buttons that
// carry the items of their drop-down menus. The menus themselves are shown
// by the font menu pickers.
#include "docking/toolbars/QMXPToolbarButton.h"

#include <vector>

class CKWFontMenuButtonBase : public CQMXPToolbarButton {
    DECLARE_DYNCREATE(CKWFontMenuButtonBase)
public:
    struct MenuItem {
        UINT command;
        CString text;
    };

    CKWFontMenuButtonBase() = default;
    explicit CKWFontMenuButtonBase(UINT nID) : CQMXPToolbarButton(nID, -1) {}

    void AddMenuItem(UINT command, const CString& text) { m_items.push_back({command, text}); }
    const std::vector<MenuItem>& GetMenuItems() const { return m_items; }
    // With the menu items.
    void AssignFrom(const CQMXPToolbarButton& src) override;

private:
    std::vector<MenuItem> m_items;
};

class CQMXPToolbarFontNameMenuButton : public CKWFontMenuButtonBase {
    DECLARE_DYNCREATE(CQMXPToolbarFontNameMenuButton)
public:
    enum : UINT { kCommandId = 32902 };
    CQMXPToolbarFontNameMenuButton() : CKWFontMenuButtonBase(kCommandId) {}
};

class CQMXPToolbarFontSizeMenuButton : public CKWFontMenuButtonBase {
    DECLARE_DYNCREATE(CQMXPToolbarFontSizeMenuButton)
public:
    enum : UINT { kCommandId = 32903 };
    CQMXPToolbarFontSizeMenuButton() : CKWFontMenuButtonBase(kCommandId) {}
};
