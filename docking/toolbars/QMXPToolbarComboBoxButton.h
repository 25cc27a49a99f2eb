#pragma once
// CQMXPToolbarComboBoxButton: a tool-bar button with a list of items (texts
// with a data value each) and, on a horizontal bar, a combo-box window on
// the bar. The library draws the closed combo box itself in a flat look: the
// real window stays hidden and serves for its drop-down list, and an
// editable one gets an edit control (CQMXPComboEdit) laid over the button.
// On a vertical bar, in a menu and in the customisation lists it is a plain
// button. All such buttons of one command on all tool bars are kept in step.
#include "docking/toolbars/QMXPToolbarButton.h"
#include "platform/classlib/List.h"
#include "platform/classlib/StringList.h"

class CComboBox;
class CQMXPComboEdit;

class CQMXPToolbarComboBoxButton : public CQMXPToolbarButton {
    DECLARE_SERIAL(CQMXPToolbarComboBoxButton)
public:
    CQMXPToolbarComboBoxButton();
    // The style gets WS_CHILD | WS_VISIBLE | WS_VSCROLL; width 0 means 150.
    CQMXPToolbarComboBoxButton(UINT uiID, int iImage, DWORD dwStyle = CBS_DROPDOWNLIST, int iWidth = 0);
    explicit CQMXPToolbarComboBoxButton(UINT uiID);
    ~CQMXPToolbarComboBoxButton() override;

    // The button's record, then width, combo style, selection, text, list
    // height, the item texts and one data value per text.
    void Serialize(CArchive& ar) override;
    void AssignFrom(const CQMXPToolbarButton& src) override;
    void OnDraw(CDC* pDC, const CRect& rect, CQMXPToolBarImages* pImages, BOOL bHorz = TRUE,
                BOOL bCustomizeMode = FALSE, BOOL bHighlight = FALSE, BOOL bDrawBorder = TRUE,
                BOOL bGrayDisabledButtons = TRUE) override;
    SIZE OnCalcSize(CDC* pDC, const CSize& sizeDefault, BOOL bHorz) override;
    BOOL OnClick(CWnd* pWnd, BOOL bDelay = TRUE) override;
    void OnParentChanged(CWnd* pWndParent) override;
    BOOL FillMenuItemText(CQMXPToolbarButton* pMenuItem) override;
    void OnMove() override;
    void OnSize(int iSize) override;
    HWND GetHwnd() override;
    BOOL CanBeStretched() const override { return TRUE; }
    BOOL OnCommandNotify(UINT uiNotifyCode) override;
    void OnAddToCustomizePage() override;
    HBRUSH OnCtlColor(CDC* pDC, UINT nCtlColor) override;
    int OnDrawInList(CDC* pDC, CRect rect, CQMXPToolBarImages* pImages, BOOL bSelected,
                     BOOL bDrawImage = TRUE) override;
    void OnShow(BOOL bShow) override;
    void SetStyle(UINT nStyle) override;
    void EnableWindow(BOOL bEnable = TRUE) override;
    BOOL IsWindowVisible() override;
    BOOL IsOwnerOf(HWND hwnd) override;
    BOOL HasFocus() const override;
    // A combo box of the button's style on the parent; none when it cannot be made.
    virtual CComboBox* CreateCombo(CWnd* pWndParent, const CRect& rect);
    // Hooks around the refilling of the item data.
    virtual void OnItemDataChanged() {}
    virtual void OnClearItemData() {}

    // The new item's index.
    int AddItem(LPCWSTR lpszItem, DWORD_PTR dwData = 0);
    // Empties the list; the selection goes, the text stays.
    void RemoveAllItems();
    int GetCount() const { return static_cast<int>(m_lstItems.GetCount()); }
    int GetCurSel() const { return m_iSelIndex; }
    // Index -1: the current selection. NULL when there is no such item.
    LPCWSTR GetItem(int iIndex = -1) const;
    // Index -1: the current selection. 0 when there is no such item.
    DWORD_PTR GetItemData(int iIndex = -1) const;
    // -1 clears the selection; FALSE for an index outside the items. With
    // bNotify a changed selection is announced (CBN_SELENDOK).
    BOOL SelectItem(int iIndex, BOOL bNotify = TRUE);
    BOOL SelectItem(LPCWSTR lpszText, BOOL bNotify = TRUE);
    // Selects the item with the text or, when none matches, takes the text
    // as typed (announced as CBN_EDITCHANGE with bNotify).
    BOOL SetText(LPCWSTR lpszText, BOOL bNotify = FALSE);
    const CString& GetText() const { return m_strEdit; }
    CComboBox* GetComboBox() const { return m_pWndCombo; }
    CQMXPComboEdit* GetEditCtrl() const { return m_pWndEdit; }
    CRect GetComboRect() const { return m_rectCombo; }
    int GetWidth() const { return m_iWidth; }
    // The hot look while the mouse is over the edit or it has the focus.
    void SetHotEdit(BOOL bHot);

    // The first such button of the command on the live tool bars (with
    // bFocused, the first that has the focus); none when there is none.
    static CQMXPToolbarComboBoxButton* GetByCmd(UINT uiCmd, BOOL bIsFocus = FALSE);
    static int GetCurSelForCommand(UINT uiCmd);
    // Index -1: the selection; -1 when there is no such button.
    static DWORD_PTR GetItemDataForCommand(UINT uiCmd, int iIndex = -1);
    static BOOL SetTextForCommand(UINT uiCmd, LPCWSTR lpszText, BOOL bNotify = FALSE);
    static BOOL GetTextForCommand(UINT uiCmd, CString& strText);

protected:
    void Initialize();
    // Places the combo box, its drop button and the edit on the button.
    void AdjustRect();
    // The lists as the window holds them.
    void RefillFromWindow();
    // The window holds the lists.
    void FillWindow();
    void DestroyWindows();
    // Every other button of the command on the tool bars.
    template <class TAction>
    void ForEachOther(TAction action);

    DWORD m_dwStyle;
    CComboBox* m_pWndCombo;
    CQMXPComboEdit* m_pWndEdit;
    CStringList m_lstItems;
    CList<DWORD_PTR, DWORD_PTR> m_lstItemData;
    int m_iWidth;
    int m_iSelIndex;
    CString m_strEdit;
    CRect m_rectCombo;
    CRect m_rectButton;
    int m_nDropDownHeight;
    int m_nEditHeight;
    BOOL m_bIsHotEdit;
};
