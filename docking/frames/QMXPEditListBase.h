#pragma once
// CQMXPEditListBase: a compact list editor over a static control. A caption
// shows the static's text with small image buttons on its right (new,
// delete, move up, move down, and any the owner adds, each with an optional
// shortcut key); under it a one-column list whose items are edited in
// place. The editing logic lives here over abstract list operations;
// CQMXPEditListBox implements them with a report list view.
#include "platform/classlib/Map.h"
#include "platform/classlib/ObList.h"
#include "platform/classlib/Static.h"
#include "platform/classlib/String.h"

#include <vector>

class CDC;
class CQMXPButton;

// The standard buttons (bits of SetStandardButtons).
constexpr UINT QMXP_EDITLIST_NEWITEM = 0x01;
constexpr UINT QMXP_EDITLIST_REMOVEITEM = 0x02;
constexpr UINT QMXP_EDITLIST_UPITEM = 0x04;
constexpr UINT QMXP_EDITLIST_DOWNITEM = 0x08;
constexpr UINT QMXP_EDITLIST_STANDARD = 0x0F;

class CQMXPEditListBase : public CStatic {
    DECLARE_DYNAMIC(CQMXPEditListBase)
public:
    // The standard buttons' command ids.
    static constexpr UINT kNewItemId = static_cast<UINT>(-11);
    static constexpr UINT kRemoveItemId = static_cast<UINT>(-12);
    static constexpr UINT kUpItemId = static_cast<UINT>(-13);
    static constexpr UINT kDownItemId = static_cast<UINT>(-14);

    CQMXPEditListBase();
    ~CQMXPEditListBase() override;

    // Adds the buttons of the bits set, in the order new, delete, up, down;
    // FALSE without a window.
    BOOL SetStandardButtons(UINT uiBtns = QMXP_EDITLIST_STANDARD);
    // A flat image button in the caption; its tooltip names the key.
    BOOL AddButton(UINT uiImageId, LPCWSTR lpszTooltip = L"", WORD wKeyAccelerator = 0, BYTE fVirt = 0,
                   UINT uiButtonID = 0);
    int GetButtonsCount() const { return static_cast<int>(m_lstButtons.GetCount()); }
    CQMXPButton* GetButton(int iIndex) const;
    // In-place edits get a browse button ("...") at their right.
    void EnableBrowseButton(BOOL bEnable = TRUE) { m_bBrowseButton = bEnable; }
    BOOL HasBrowseButton() const { return m_bBrowseButton; }
    void SetGrayDisabledButtons(BOOL bOn = TRUE) { m_bGrayDisabledButtons = bOn; }
    CRect GetCaptionRect() const { return m_rectCaption; }

    virtual int AddItem(const CString& strIext, DWORD_PTR dwData = 0, int iIndex = -1) = 0;
    virtual BOOL RemoveItem(int iIndex) = 0;
    virtual int GetCount() const = 0;
    virtual int GetSelItem() const = 0;
    virtual BOOL SelectItem(int iItem) = 0;
    virtual CString GetItemText(int iIndex) const = 0;
    virtual void SetItemText(int iIndex, const CString& strText) = 0;
    virtual DWORD_PTR GetItemData(int iIndex) const = 0;
    virtual void SetItemData(int iIndex, DWORD_PTR dwData) = 0;
    virtual BOOL EditItem(int iIndex) = 0;
    virtual void OnClickButton(int iButton);
    virtual void OnKey(WORD wKey, BYTE fFlags);
    // The edit's text; none when it was cancelled.
    virtual void OnEndEditLabel(LPCWSTR lpszLabel);
    virtual int GetItemImage(int iIndex) const { return -1; }
    virtual void OnSelectionChanged() {}
    virtual BOOL OnBeforeRemoveItem(int iItem) { return TRUE; }
    virtual void OnAfterAddItem(int iItem) {}
    virtual void OnAfterRenameItem(int iItem) {}
    virtual void OnAfterMoveItemUp(int iItem) {}
    virtual void OnAfterMoveItemDown(int iItem) {}
    virtual void OnDrawBrowseButton(CDC* pDC, CRect rect, BOOL bIsButtonPressed, BOOL bIsButtonHot);
    virtual void OnBrowse() {}
    virtual BOOL CreateNewItem();
    virtual HWND GetListHwnd() const = 0;

    // The first button whose shortcut is this key with exactly these
    // modifiers (FCONTROL, FALT, FSHIFT) is clicked; TRUE when one was.
    BOOL ProcessShortcut(WORD wKey, BYTE fFlags);
    // The modifiers held now, as accelerator flags.
    static BYTE ModifierFlags();

protected:
    virtual BOOL CreateList() = 0;
    virtual void OnSizeList() = 0;

    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    void PreSubclassWindow() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    afx_msg int OnCreate(LPCREATESTRUCTW lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg LRESULT OnSetFont(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetFont(WPARAM wParam, LPARAM lParam);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnPaint();
    afx_msg void OnEnable(BOOL bEnable);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    DECLARE_MESSAGE_MAP()

    void Init();
    void AdjustLayout();
    void EnableButtons(BOOL bEnable);
    HFONT CaptionFont() const;
    UINT ButtonCommand(int iButton) const;

    CObList m_lstButtons;
    std::vector<DWORD> m_lstKeyAccell;
    CMap<int, int, UINT, UINT> m_mapButtonIDs;
    CSize m_sizeButton;
    CRect m_rectCaption;
    UINT m_uiStandardBtns;
    BOOL m_bNewItem;
    HFONT m_hFont;
    BOOL m_bIsActualDelete;
    BOOL m_bBrowseButton;
    BOOL m_bGrayDisabledButtons;
    BOOL m_bCreating;
};
