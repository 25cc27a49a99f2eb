#pragma once
// CCustomizeButton: the chevron a tool bar keeps after its last button. It
// shows a more-buttons chevron when some buttons do not fit (the bar fills
// its list of hidden buttons while it lays them out) and a customise arrow
// when the bar has a customise command; its popup lists the hidden buttons
// and ends with the customise command.
#include "docking/toolbars/QMXPToolbarMenuButton.h"

class CQMXPToolBar;

class CCustomizeButton : public CQMXPToolbarMenuButton {
    DECLARE_DYNCREATE(CCustomizeButton)
public:
    CCustomizeButton();
    CCustomizeButton(UINT uiCustomizeCmdId, const CString& strCustomizeText);
    ~CCustomizeButton() override;

    // The customise command, its text and the hidden flag; not the hidden list.
    void AssignFrom(const CQMXPToolbarButton& src) override;
    void OnDraw(CDC* pDC, const CRect& rect, CQMXPToolBarImages* pImages, BOOL bHorz = TRUE,
                BOOL bCustomizeMode = FALSE, BOOL bHighlight = FALSE, BOOL bDrawBorder = TRUE,
                BOOL bGrayDisabledButtons = TRUE) override;
    // Nothing while hidden; else the glyph width + 9 along the bar.
    SIZE OnCalcSize(CDC* pDC, const CSize& sizeDefault, BOOL bHorz) override;
    void OnParentChanged(CWnd* pWndParent) override;
    // A popup of the hidden buttons and the customise command.
    CQMXPPopupMenu* MakePopupMenu() override;
    BOOL IsEmptyMenuAllowed() const override { return TRUE; }
    BOOL CanBeStored() const override { return FALSE; }
    BOOL CanBeDragged() const override { return FALSE; }
    BOOL IsEditable() const { return FALSE; }

    void AddInvisibleButton(CQMXPToolbarButton* pButton) { m_lstInvisibleButtons.AddTail(pButton); }
    const CObList& GetInvisibleButtons() const { return m_lstInvisibleButtons; }
    void ClearInvisibleButtons() { m_lstInvisibleButtons.RemoveAll(); }
    UINT GetCustomizeCmdId() const { return m_uiCustomizeCmdId; }
    const CString& GetCustomizeText() const { return m_strCustomizeText; }
    void SetEmpty(BOOL bEmpty = TRUE) { m_bIsEmpty = bEmpty; }
    BOOL IsEmpty() const { return m_bIsEmpty; }

protected:
    UINT m_uiCustomizeCmdId;
    CString m_strCustomizeText;
    CQMXPToolBar* m_pWndParentToolbar;
    BOOL m_bIsEmpty;
    CObList m_lstInvisibleButtons;
};
