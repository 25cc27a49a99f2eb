#pragma once
// CQMXPToolbarEditBoxButton: a tool-bar button that hosts a single-line edit
// while it sits on a horizontal bar; down a vertical bar, in menus and in
// the customisation lists it is a plain button. Every such button of one
// command on all tool bars shows the same contents.
#include "docking/toolbars/QMXPToolbarButton.h"
#include "docking/toolbars/QMXPToolbarEditCtrl.h"

class CQMXPToolbarEditBoxButton : public CQMXPToolbarButton {
    DECLARE_SERIAL(CQMXPToolbarEditBoxButton)
public:
    CQMXPToolbarEditBoxButton();
    CQMXPToolbarEditBoxButton(UINT uiID, int iImage, DWORD dwStyle = ES_AUTOHSCROLL, int iWidth = 0);
    ~CQMXPToolbarEditBoxButton() override;

    // The button's record, then width, edit style and contents.
    void Serialize(CArchive& ar) override;
    void AssignFrom(const CQMXPToolbarButton& src) override;
    void OnDraw(CDC* pDC, const CRect& rect, CQMXPToolBarImages* pImages, BOOL bHorz = TRUE,
                BOOL bCustomizeMode = FALSE, BOOL bHighlight = FALSE, BOOL bDrawBorder = TRUE,
                BOOL bGrayDisabledButtons = TRUE) override;
    SIZE OnCalcSize(CDC* pDC, const CSize& sizeDefault, BOOL bHorz) override;
    BOOL OnClick(CWnd* pWnd, BOOL bDelay = TRUE) override;
    void OnParentChanged(CWnd* pWndParent) override;
    void OnMove() override;
    void OnSize(int iSize) override;
    HWND GetHwnd() override;
    BOOL CanBeStretched() const override { return TRUE; }
    BOOL OnCommandNotify(UINT uiNotifyCode) override;
    void OnAddToCustomizePage() override;
    HBRUSH OnCtlColor(CDC* pDC, UINT nCtlColor) override;
    BOOL HasBorder() const override;
    int OnDrawInList(CDC* pDC, CRect rect, CQMXPToolBarImages* pImages, BOOL bSelected,
                     BOOL bDrawImage = TRUE) override;
    void OnShow(BOOL bShow) override;
    CRect GetRect() const override;
    void SetStyle(UINT nStyle) override;
    BOOL IsOwnerOf(HWND hwnd) override;

    virtual CQMXPToolbarEditCtrl* CreateEdit(CWnd* pWndParent, const CRect& rect);
    // Writes a different text into the edit without announcing it back.
    void SetContents(const CString& strContents);
    const CString& GetContents() const { return m_strContents; }
    CQMXPToolbarEditCtrl* GetEditBox() const { return m_pWndEdit; }
    int GetWidth() const { return m_iWidth; }
    void SetHotEdit(BOOL bHot);
    BOOL IsHotEdit() const { return m_bIsHotEdit; }

protected:
    BOOL HasVisibleEdit() const;
    void DestroyEdit();
    static int EditHeight();

    DWORD m_dwStyle;
    CQMXPToolbarEditCtrl* m_pWndEdit;
    CString m_strContents;
    BOOL m_bChangingText;
    int m_iWidth;
    BOOL m_bHorzEdit;
    BOOL m_bIsHotEdit;
};
