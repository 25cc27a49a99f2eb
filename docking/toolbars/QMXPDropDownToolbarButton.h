#pragma once
// CQMXPDropDownToolbarButton: a button that stands for a whole small tool
// bar, its source. It shows and carries the command last chosen from the
// source; a short click runs it, a press held for half a second drops the
// source's buttons down in a CQMXPDropDownFrame, and a button chosen there
// runs its command and becomes the button's own. In a menu it is a sub-menu
// of the source's commands.
#include "docking/toolbars/QMXPToolbarButton.h"

class CQMXPDropDownFrame;
class CQMXPDropDownToolBar;
class CQMXPToolBar;

// The press timer's id on the button's bar: out of the range of the popup
// menu bar's and the mouse-leave tracking's timers.
constexpr UINT_PTR QMXP_DROPDOWN_PRESS_TIMER = 0xE001;

class CQMXPDropDownToolbarButton : public CQMXPToolbarButton {
    DECLARE_SERIAL(CQMXPDropDownToolbarButton)
public:
    CQMXPDropDownToolbarButton();
    CQMXPDropDownToolbarButton(LPCWSTR lpszName, CQMXPDropDownToolBar* pToolBar);
    ~CQMXPDropDownToolbarButton() override;

    // The button's record, then the source's bar id, the name and the
    // current image.
    void Serialize(CArchive& ar) override;
    void AssignFrom(const CQMXPToolbarButton& src) override;
    void OnDraw(CDC* pDC, const CRect& rect, CQMXPToolBarImages* pImages, BOOL bHorz = TRUE,
                BOOL bCustomizeMode = FALSE, BOOL bHighlight = FALSE, BOOL bDrawBorder = TRUE,
                BOOL bGrayDisabledButtons = TRUE) override;
    SIZE OnCalcSize(CDC* pDC, const CSize& sizeDefault, BOOL bHorz) override;
    BOOL OnClick(CWnd* pWnd, BOOL bDelay = TRUE) override;
    BOOL OnClickUp() override;
    void OnParentChanged(CWnd* pWndParent) override;
    BOOL FillMenuItemText(CQMXPToolbarButton* pMenuItem) override;
    void OnCancelMode() override;
    BOOL OnClickImmediate(CWnd* pWnd) override { return OnClick(pWnd, FALSE); }
    BOOL OnCustomizeMenu(CMenu* pMenu) override;
    int OnDrawInList(CDC* pDC, CRect rect, CQMXPToolBarImages* pImages, BOOL bSelected,
                     BOOL bDrawImage = TRUE) override;
    BOOL IsOnMenuTypeBar() const override { return m_bOnMenuTypeBar && !m_bInternalDraw; }

    // The command and the image of the source's button with that id (the
    // first image when the source has none).
    void SetDefaultCommand(UINT uiCmd);
    // Opens the frame under (or beside) the button; FALSE without a source
    // or while one is open.
    BOOL DropDownToolbar(CWnd* pWnd);
    BOOL IsDropDown() const { return m_pPopupMenu != nullptr; }
    CQMXPDropDownFrame* GetDropDownFrame() const { return m_pPopupMenu; }
    CQMXPDropDownToolBar* GetSourceToolBar() const { return m_pToolBar; }
    int GetCurrentImage() const { return m_iSelectedImage; }
    BOOL IsPressTimerPending() const { return m_uiTimer != 0; }
    // The button whose press timer runs; at most one in the library.
    static CQMXPDropDownToolbarButton* GetPendingButton();

protected:
    friend class CQMXPDropDownFrame;
    void KillPressTimer();
    void CloseFrame();
    void InvalidateOnBar();
    // Runs the base operation as if the button showed its current image
    // without text.
    template <class TAction>
    void AsCurrentImage(TAction action);

    CQMXPDropDownToolBar* m_pToolBar;
    CString m_strName;
    CQMXPDropDownFrame* m_pPopupMenu;
    CWnd* m_pWndParent;
    UINT_PTR m_uiTimer;
    int m_iSelectedImage;
    BOOL m_bInternalDraw;
    BOOL m_bLocalUserButton;
};
