#pragma once
// CQMXPToolbarCustomize: the modeless sheet in which the user customises
// the tool bars and menus. While it is open the frame is in customise mode
// (tool bars take dragged buttons, the frame's other windows are disabled).
// It owns the catalogue of commands the pages offer: named categories of
// tool-bar button copies, built from the application's menus, and the
// all-commands category that holds each command once.
#include "platform/classlib/List.h"
#include "platform/classlib/Map.h"
#include "platform/classlib/ObList.h"
#include "platform/classlib/PropertySheet.h"
#include "platform/classlib/StringList.h"

#include <utility>
#include <vector>

class CComboBox;
class CFrameWnd;
class CListBox;
class CQMXPCustomizePage;
class CQMXPKeyboardPage;
class CQMXPMenuPage;
class CQMXPMousePage;
class CQMXPOptionsPage;
class CQMXPToolBar;
class CQMXPToolbarButton;
class CQMXPToolbarsPage;
class CQMXPToolsPage;
class CQMXPUserTool;

// The sheet's flag word.
constexpr UINT QMXCUSTOMIZE_MENU_SHADOWS = 0x001;
constexpr UINT QMXCUSTOMIZE_TEXT_LABELS = 0x002;
constexpr UINT QMXCUSTOMIZE_LOOK_2000 = 0x004;
constexpr UINT QMXCUSTOMIZE_MENU_ANIMATIONS = 0x008;
constexpr UINT QMXCUSTOMIZE_NOHELP = 0x010;
constexpr UINT QMXCUSTOMIZE_CONTEXT_HELP = 0x020;
constexpr UINT QMXCUSTOMIZE_RESERVED = 0x040;
constexpr UINT QMXCUSTOMIZE_NO_TOOLS = 0x080;
constexpr UINT QMXCUSTOMIZE_NO_OPTIONS = 0x100;

class CQMXPToolbarCustomize : public CPropertySheet {
    DECLARE_DYNAMIC(CQMXPToolbarCustomize)
public:
    CQMXPToolbarCustomize(CFrameWnd* pWndParentFrame, BOOL bAutoSetFromMenus = FALSE, UINT uiFlags = 0,
                          CList<CRuntimeClass*, CRuntimeClass*>* plistCustomPages = nullptr);
    // Deletes the catalogue's copies and lists, and the pages.
    ~CQMXPToolbarCustomize() override;

    // Adds a copy of the button to the category (and to all commands);
    // nothing for reserved, refused or nameless commands and for repeats.
    void AddCommandButton(LPCWSTR lpszCategory, const CQMXPToolbarButton& button, int iInsertAfter = -1);
    // The menu's commands, its sub-menus by their top-level menu's name.
    void AddMenuCommands(const CMenu* pMenu, LPCWSTR lpszCategory = nullptr, LPCWSTR lpszMenuPath = nullptr);
    void BuildFromFrameMenus();
    void AddUserTools(LPCWSTR lpszCategory);
    // The category names in first-use order (each with its button list as
    // item data), all commands last; with bIncludeEmpty FALSE only
    // categories that hold a real command.
    void FillCategoryCombo(CComboBox& wndCategory, BOOL bIncludeEmpty = TRUE) const;
    void FillCategoryList(CListBox& wndCategory, BOOL bIncludeEmpty = TRUE) const;
    virtual void FillAllCommandsList(CListBox& wndListOfCommands) const;
    // Hooks of the Tools page for a sheet of the program's: the page is
    // set up, its selected tool is about to change, has changed.
    virtual void OnInitToolsPage() {}
    virtual void OnBeforeChangeTool(CQMXPUserTool* pSelTool) {}
    virtual void OnAfterChangeTool(CQMXPUserTool* pSelTool) {}
    // Asked when the sheet closes or the Tools page is left; FALSE keeps
    // the sheet open on the Tools page.
    virtual BOOL ValidateTools(const CObList& lstTools) { return TRUE; }
    // The text of the command in all commands; null when it has none.
    LPCWSTR LookupCommandName(UINT uiCmd) const;
    // The Toolbars page sets the bar's check mark.
    void ShowToolBar(CQMXPToolBar* pToolBar, BOOL bShow);
    void EnableUserDefinedToolbars(BOOL bEnable = TRUE);
    const CString& GetAllCommandsName() const { return m_strAllCommands; }
    CObList* GetCategoryButtons(LPCWSTR lpszCategory) const;
    UINT GetFlags() const { return m_uiFlags; }
    // The pairs of control id and help id (0x41000 + the control id) of the
    // customisation controls, ended by a zero pair.
    static const DWORD* GetHelpIDs();
    CFrameWnd* GetCustomizedFrame() const { return m_pParentFrame; }

    // Modeless, with the library's resources; customise mode starts on success.
    BOOL Create(CWnd* pParentWnd = nullptr, DWORD dwStyle = static_cast<DWORD>(-1), DWORD dwExStyle = 0) override;
    BOOL OnInitDialog() override;

protected:
    // The categories a list shows, in order, all commands last.
    std::vector<std::pair<CString, CObList*>> CategoriesToShow(BOOL bIncludeEmpty) const;
    // The frame's windows other than bars enabled (off) or disabled (on),
    // every tool bar into or out of customise mode, the frame told.
    void SetFrameCustomizeMode(BOOL bCustomize);
    // OK and Apply hidden; Close on a row of its own below the pages, the
    // help button (unless hidden) at the row's left.
    void LayoutButtons();
    // Moved to the middle of the frame, inside the work area.
    void CentreOnFrame();
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;
    afx_msg int OnCreate(LPCREATESTRUCTW lpCreateStruct);
    afx_msg BOOL OnHelpInfo(HELPINFO* pHelpInfo);
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
    afx_msg void OnDestroy();

    CMap<CString, const CString&, CObList*, CObList*> m_ButtonsByCategory;
    CStringList m_strCategoriesList;
    CQMXPCustomizePage* m_pCustomizePage;
    CQMXPToolbarsPage* m_pToolbarsPage;
    CQMXPKeyboardPage* m_pKeyboardPage;
    CQMXPMenuPage* m_pMenuPage;
    CQMXPMousePage* m_pMousePage;
    CQMXPOptionsPage* m_pOptionsPage;
    CQMXPToolsPage* m_pToolsPage;
    CObList m_listCustomPages;
    CString m_strAllCommands;
    CFrameWnd* m_pParentFrame;
    BOOL m_bAutoSetFromMenus;
    UINT m_uiFlags;
    // The picture on the help button (bitmap 16131).
    HBITMAP m_hbmHelp = nullptr;
    // The frame is in customisation mode for this sheet (a sheet whose
    // window could not be made never put it there).
    BOOL m_bFrameCustomizing = FALSE;

    DECLARE_MESSAGE_MAP()
};

// The open customisation sheet; none while it is closed.
extern CQMXPToolbarCustomize* g_pWndCustomize;
