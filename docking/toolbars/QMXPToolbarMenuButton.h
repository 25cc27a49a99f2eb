#pragma once
// CQMXPToolbarMenuButton: the button that owns a list of sub-items and
// opens a popup menu of them. Every item of the menu bar and of every popup
// menu is one: a command item has no sub-items, a sub-menu has the command
// id -1 and sub-items of its own. It turns a menu handle into sub-items and
// back, keeps the tear-off id of a menu that can be torn off, and is stored
// with the bar's buttons.
#include "docking/toolbars/QMXPToolbarButton.h"
#include "platform/classlib/ObList.h"

class CFrameWnd;
class CQMXPPopupMenu;

class CQMXPToolbarMenuButton : public CQMXPToolbarButton {
    DECLARE_SERIAL(CQMXPToolbarMenuButton)
public:
    CQMXPToolbarMenuButton();
    // The sub-items are built from the menu handle (none: no sub-items).
    CQMXPToolbarMenuButton(UINT uiID, HMENU hMenu, int iImage, LPCWSTR lpszText = nullptr, BOOL bUserButton = FALSE);
    // Detaches the open popup, deletes the sub-items and releases the tear-off id.
    ~CQMXPToolbarMenuButton() override;

    // The button's fields, the tear-off id, then the sub-items as objects.
    void Serialize(CArchive& ar) override;
    void AssignFrom(const CQMXPToolbarButton& src) override;
    void OnDraw(CDC* pDC, const CRect& rect, CQMXPToolBarImages* pImages, BOOL bHorz = TRUE,
                BOOL bCustomizeMode = FALSE, BOOL bHighlight = FALSE, BOOL bDrawBorder = TRUE,
                BOOL bGrayDisabledButtons = TRUE) override;
    SIZE OnCalcSize(CDC* pDC, const CSize& sizeDefault, BOOL bHorz) override;
    // Opens (or closes) the popup; FALSE lets the bar run the command.
    BOOL OnClick(CWnd* pWnd, BOOL bDelay = TRUE) override;
    void OnParentChanged(CWnd* pWndParent) override;
    void OnCancelMode() override;
    BOOL OnClickImmediate(CWnd* pWnd) override;
    int OnDrawInList(CDC* pDC, CRect rect, CQMXPToolBarImages* pImages, BOOL bSelected,
                     BOOL bDrawImage = TRUE) override;
    BOOL IsDroppedDown() const override;
    BOOL ClosePopup() override;
    void ResetToDefault() override;
    BOOL CompareWith(const CQMXPToolbarButton& other) const override;
    void SetRadio() override;

    // Closes the top-most popup of the chain that holds this button.
    virtual void CloseMenuChain();
    // Opens the popup beside or below the button; FALSE when one is open
    // already or it cannot be made.
    virtual BOOL OpenPopupMenu(CWnd* pWnd = nullptr);
    // The sub-items from the menu (the default item, tear-off ids, column breaks).
    virtual void BuildFromMenuHandle(HMENU hMenu);
    // A new popup menu of the sub-items; none for a command item.
    virtual HMENU CreateMenuHandle() const;
    // The popup a click opens (colour and font buttons make their own).
    virtual CQMXPPopupMenu* MakePopupMenu();
    // TRUE: the popup opens even when there is no menu handle.
    virtual BOOL IsEmptyMenuAllowed() const { return FALSE; }
    // The popup this button opened keeps the border gap of its button.
    virtual BOOL IsBorder() const { return TRUE; }
    // TRUE: a click on the item (without an open popup) was handled by the button itself.
    virtual BOOL OnClickMenuItem() { return FALSE; }
    virtual BOOL HasTearOffId() const { return m_uiTearOffBarID != 0; }
    // Releases the old id and takes the new one in the tear-off manager.
    virtual void AssignTearOffId(UINT uiBarID);

    const CObList& GetCommands() const { return m_listCommands; }
    CQMXPPopupMenu* GetPopupMenu() const { return m_pPopupMenu; }
    UINT GetTearOffId() const { return m_uiTearOffBarID; }
    BOOL IsDefault() const { return m_bDefault; }
    void SetDefault(BOOL bDefault) { m_bDefault = bDefault; }
    void SetMenuOnly(BOOL bMenuOnly) { m_bMenuOnly = bMenuOnly; }
    void SetMessageWnd(CWnd* pWndMessage) { m_pWndMessage = pWndMessage; }
    CWnd* GetParentWnd() const { return m_pWndParent; }
    void DeleteSubItems();

    // The popup forgets this button (called by the popup when it goes).
    void OnPopupDestroyed() {
        m_pPopupMenu = nullptr;
        m_bToBeClosed = FALSE;
    }
    // The insets of a popup separator (half the menu image width + 3) and
    // the menu glyph width.
    static CSize GetSeparatorInsets();
    // The command is shown without image in menus.
    static BOOL IsCommandWithoutImage(UINT uiCmd);

    CObList m_listCommands;
    BOOL m_bDrawDownArrow;
    BOOL m_bMenuMode;
    CQMXPPopupMenu* m_pPopupMenu;
    CWnd* m_pWndParent;
    BOOL m_bDefault;
    BOOL m_bClickedOnMenu;
    BOOL m_bToBeClosed;
    BOOL m_bMenuOnly;
    UINT m_uiTearOffBarID;
    BOOL m_bIsRadio;
    CWnd* m_pWndMessage;

protected:
    void Initialize();
    void DrawMenuItem(CDC* pDC, const CRect& rect, CQMXPToolBarImages* pImages, BOOL bCustomizeMode,
                      BOOL bHighlight, BOOL bGrayDisabledButtons);
    // The frame whose accelerators the item's shortcut text comes from.
    CFrameWnd* ShortcutFrame() const;
};
