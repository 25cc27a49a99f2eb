#pragma once
// CButtonAppearanceDlg: dialog 16132 "Button Appearance": whether a tool-bar
// or menu button shows its image, its text or both, its text, and whether the
// image is the command's default one or a user-defined image, which can be
// drawn new or edited in the image editor. OK writes the choice back into
// the button.
#include "docking/frames/ButtonsList.h"
#include "platform/classlib/Dialog.h"
#include "platform/classlib/ObList.h"

class CQMXPToolBarImages;
class CQMXPToolbarButton;
class CQMXPUserTool;

constexpr UINT IDD_QMXP_BUTTON_APPEARANCE = 16132;
constexpr UINT IDC_QMXP_BUTTON_TEXT = 16500;
constexpr UINT IDC_QMXP_IMAGE_ONLY = 16505;
constexpr UINT IDC_QMXP_TEXT_ONLY = 16506;
constexpr UINT IDC_QMXP_IMAGE_AND_TEXT = 16507;
constexpr UINT IDC_QMXP_USER_IMAGES = 16508;
constexpr UINT IDC_QMXP_NEW_IMAGE = 16509;
constexpr UINT IDC_QMXP_EDIT_IMAGE = 16510;
constexpr UINT IDC_QMXP_USER_IMAGE = 16529;
constexpr UINT IDC_QMXP_DEFAULT_IMAGE = 16530;
constexpr UINT IDC_QMXP_DEFAULT_IMAGE_AREA = 16531;
constexpr UINT IDC_QMXP_DESCRIPTION = 16603;

class CButtonAppearanceDlg : public CDialog {
public:
    CButtonAppearanceDlg(CQMXPToolbarButton* pButton, CQMXPToolBarImages* pImages, CWnd* pParent,
                         int iStartImage, BOOL bMenuMode = FALSE);
    ~CButtonAppearanceDlg() override;

    INT_PTR DoModal() override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    CButton m_wndDefaultImageRadio;
    CButton m_wndUserImageRadio;
    CWnd m_wndDefaultImageArea;
    CWnd m_wndButtonText;
    CButton m_wndAddImage;
    CButtonsList m_wndButtonList;
    CButton m_wndEditImage;
    CString m_strButtonText;
    CString m_strButtonDescr;
    CQMXPToolbarButton* m_pButton;
    CQMXPToolBarImages* m_pImages;
    int m_iStartImage;
    CObList m_Buttons;
    int m_iImage;
    BOOL m_bImage;
    BOOL m_bText;
    BOOL m_bMenuMode;
    BOOL m_bUserButton;
    CRect m_rectDefaultImage;
    CString m_strAccel;
    CQMXPUserTool* m_pUserTool;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    // Every control follows the choices.
    void EnableControls();
    // The list again: one button per user image from the first listed one.
    void RebuildImageList();
    // A new user image drawn in the image editor; an exception it throws
    // ends in the library's internal-error message.
    virtual void OnNewImage();
    void OnEditImage();
    // The command's image in the toolbars' default strip; -1 when none.
    int DefaultImage() const;
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};
