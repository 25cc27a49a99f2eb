#include "docking/frames/ButtonAppearanceDlg.h"

#include "docking/bars/QMXPGlobalUtils.h"
#include "docking/frames/QMXPImageEditDlg.h"
#include "docking/frames/QMXPLibraryMessage.h"
#include "docking/frames/QMXPUserTool.h"
#include "docking/toolbars/QMXPCommandManager.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "docking/toolbars/QMXPToolBarImages.h"
#include "docking/toolbars/QMXPToolbarButton.h"
#include "docking/toolbars/QMXPUserToolsManager.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/DataExchange.h"
#include "platform/classlib/StringResource.h"
#include "platform/classlib/WinApp.h"

BEGIN_MESSAGE_MAP(CButtonAppearanceDlg, CDialog)
    ON_WM_PAINT()
END_MESSAGE_MAP()

namespace {

constexpr UINT IDS_SELECT_IMAGE = 16001;
constexpr UINT IDS_ENTER_TEXT = 16002;
constexpr UINT IDS_CANT_CREATE_IMAGE = 16003;
// The colour under an image being edited, transparent in the strip.
constexpr COLORREF kEditBackground = RGB(0xC0, 0xC0, 0xC0);

void ShowLibraryMessage(UINT nID) { QMXPShowLibraryMessage(nID, MB_ICONEXCLAMATION); }

// The library never forbids editing labels.
constexpr BOOL kLabelsLocked = FALSE;

}  // namespace

CButtonAppearanceDlg::CButtonAppearanceDlg(CQMXPToolbarButton* pButton, CQMXPToolBarImages* pImages, CWnd* pParent,
                                           int iStartImage, BOOL bMenuMode)
    : CDialog(IDD_QMXP_BUTTON_APPEARANCE, pParent),
      m_pButton(pButton),
      m_pImages(pImages),
      m_iStartImage(iStartImage),
      m_iImage(pButton->m_bUserButton ? pButton->m_iUserImage : pButton->m_iImage),
      m_bImage(pButton->m_bImage),
      m_bText(bMenuMode || pButton->m_bAlwaysText ? TRUE : pButton->m_bText),
      m_bMenuMode(bMenuMode),
      m_bUserButton(FALSE),
      m_pUserTool(qmxUserToolsManager != nullptr ? qmxUserToolsManager->LookupTool(pButton->m_nID) : nullptr) {
    if (pButton->m_bUserButton)
        m_bUserButton = TRUE;
    else if (m_pUserTool != nullptr)
        m_bUserButton = FALSE;
    else
        m_bUserButton = DefaultImage() < 0;
    if (bMenuMode && QMXTheCommandManager()->IsCommandWithoutImage(pButton->m_nID))
        m_bImage = FALSE;
}

CButtonAppearanceDlg::~CButtonAppearanceDlg() {
    while (!m_Buttons.IsEmpty())
        delete m_Buttons.RemoveHead();
}

INT_PTR CButtonAppearanceDlg::DoModal() {
    CQMXPLocalResource localResource;
    return CDialog::DoModal();
}

int CButtonAppearanceDlg::DefaultImage() const { return QMXLookupCommandImage(m_pButton->m_nID); }

void CButtonAppearanceDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_QMXP_DEFAULT_IMAGE, m_wndDefaultImageRadio);
    DDX_Control(pDX, IDC_QMXP_USER_IMAGE, m_wndUserImageRadio);
    DDX_Control(pDX, IDC_QMXP_DEFAULT_IMAGE_AREA, m_wndDefaultImageArea);
    DDX_Control(pDX, IDC_QMXP_BUTTON_TEXT, m_wndButtonText);
    DDX_Control(pDX, IDC_QMXP_NEW_IMAGE, m_wndAddImage);
    DDX_Control(pDX, IDC_QMXP_USER_IMAGES, m_wndButtonList);
    DDX_Control(pDX, IDC_QMXP_EDIT_IMAGE, m_wndEditImage);
    if (pDX->m_bSaveAndValidate) {
        m_wndButtonText.GetWindowText(m_strButtonText);
    } else {
        m_wndButtonText.SetWindowText(m_strButtonText);
        SetDlgItemText(IDC_QMXP_DESCRIPTION, m_strButtonDescr);
    }
}

void CButtonAppearanceDlg::RebuildImageList() {
    while (!m_Buttons.IsEmpty())
        delete m_Buttons.RemoveHead();
    m_wndButtonList.SetImages(m_pImages);
    for (int i = m_iStartImage; m_pImages != nullptr && i < m_pImages->GetCount(); ++i) {
        auto* pListButton = new CQMXPToolbarButton;
        pListButton->m_bUserButton = TRUE;
        pListButton->m_iUserImage = i;
        pListButton->m_bImage = TRUE;
        m_Buttons.AddTail(pListButton);
        m_wndButtonList.AddButton(pListButton);
    }
}

BOOL CButtonAppearanceDlg::OnInitDialog() {
    // The text is split at its tab: the shortcut follows the edited label again on OK.
    const int iTab = m_pButton->m_strText.Find(L'\t');
    m_strButtonText = iTab >= 0 ? m_pButton->m_strText.Left(iTab) : m_pButton->m_strText;
    m_strAccel = iTab >= 0 ? m_pButton->m_strText.Mid(iTab + 1) : CString();
    // The command's description: the first line of its prompt.
    CString strPrompt;
    if (m_pButton->m_nID != 0 && AfxLoadStringResource(m_pButton->m_nID, strPrompt)) {
        const int iLine = strPrompt.Find(L'\n');
        m_strButtonDescr = iLine >= 0 ? strPrompt.Left(iLine) : strPrompt;
    }
    CDialog::OnInitDialog();

    if (m_pImages != nullptr) {
        RebuildImageList();
        m_wndButtonList.SelectButton(m_iImage);
    } else {
        m_wndButtonList.EnableWindow(FALSE);
        m_wndUserImageRadio.EnableWindow(FALSE);
        if (m_iImage < 0) {
            GetDlgItem(IDC_QMXP_IMAGE_ONLY)->EnableWindow(FALSE);
            GetDlgItem(IDC_QMXP_IMAGE_AND_TEXT)->EnableWindow(FALSE);
        }
    }
    if (m_bUserButton && !m_pButton->m_bOwnImage)
        m_wndUserImageRadio.SetCheck(1);
    else
        m_wndDefaultImageRadio.SetCheck(1);
    if (!m_bImage) {
        CheckDlgButton(IDC_QMXP_TEXT_ONLY, BST_CHECKED);
        m_bText = TRUE;
        m_wndButtonList.EnableWindow(FALSE);
    } else {
        CheckDlgButton(m_bText ? IDC_QMXP_IMAGE_AND_TEXT : IDC_QMXP_IMAGE_ONLY, BST_CHECKED);
    }
    if (m_bMenuMode) {
        GetDlgItem(IDC_QMXP_IMAGE_ONLY)->EnableWindow(FALSE);
        if (m_iImage < 0) {
            GetDlgItem(IDC_QMXP_TEXT_ONLY)->EnableWindow(FALSE);
            GetDlgItem(IDC_QMXP_IMAGE_AND_TEXT)->EnableWindow(FALSE);
        }
    }
    if (m_pButton->m_bAlwaysText)
        GetDlgItem(IDC_QMXP_IMAGE_ONLY)->EnableWindow(FALSE);

    m_wndDefaultImageArea.GetClientRect(&m_rectDefaultImage);
    m_wndDefaultImageArea.MapWindowPoints(this, &m_rectDefaultImage);
    const CSize sizeImage = CQMXPToolBar::m_sizeImage;
    m_rectDefaultImage = CRect(m_rectDefaultImage.TopLeft(), sizeImage);
    EnableControls();
    return TRUE;
}

void CButtonAppearanceDlg::EnableControls() {
    const BOOL bImages = m_pImages != nullptr;
    const BOOL bReadOnly = bImages && m_pImages->IsReadOnly();
    m_wndButtonText.EnableWindow(m_bText && !(m_bMenuMode && m_pUserTool != nullptr) && !kLabelsLocked);
    const BOOL bList = m_bImage && bImages && m_bUserButton && !m_bMenuMode && !m_pButton->m_bOwnImage;
    m_wndButtonList.EnableWindow(bList);
    m_wndAddImage.EnableWindow(bList && !bReadOnly);
    m_wndEditImage.EnableWindow(m_bImage && bImages && m_iImage >= 0 && m_bUserButton && !bReadOnly && !m_pButton->m_bOwnImage);
    m_wndUserImageRadio.EnableWindow(m_bImage && bImages && !m_bMenuMode && !m_pButton->m_bOwnImage);
    m_wndDefaultImageRadio.EnableWindow(m_pUserTool != nullptr ||
                                        (m_bImage && DefaultImage() >= 0 && !m_bMenuMode && !m_pButton->m_bOwnImage));
    InvalidateRect(&m_rectDefaultImage);
}

BOOL CButtonAppearanceDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    const UINT nID = LOWORD(wParam);
    if (HIWORD(wParam) != BN_CLICKED)
        return CDialog::OnCommand(wParam, lParam);
    switch (nID) {
    case IDC_QMXP_IMAGE_ONLY:
        m_bImage = TRUE;
        m_bText = FALSE;
        break;
    case IDC_QMXP_IMAGE_AND_TEXT:
        m_bImage = TRUE;
        m_bText = TRUE;
        break;
    case IDC_QMXP_TEXT_ONLY:
        m_bImage = FALSE;
        m_bText = TRUE;
        break;
    case IDC_QMXP_DEFAULT_IMAGE:
        m_iImage = m_pButton->m_bUserButton ? m_pButton->m_iUserImage : m_pButton->m_iImage;
        m_bUserButton = FALSE;
        m_wndUserImageRadio.SetCheck(0);
        break;
    case IDC_QMXP_USER_IMAGE:
        m_iImage = -1;
        m_bUserButton = TRUE;
        m_wndDefaultImageRadio.SetCheck(0);
        m_wndButtonList.SelectButton(static_cast<CQMXPToolbarButton*>(nullptr));
        break;
    case IDC_QMXP_USER_IMAGES: {
        CQMXPToolbarButton* pSelected = m_wndButtonList.GetSelectedButton();
        m_iImage = pSelected != nullptr ? pSelected->m_iUserImage : -1;
        break;
    }
    case IDC_QMXP_NEW_IMAGE:
        QMXPRunGuarded([this] { OnNewImage(); });
        break;
    case IDC_QMXP_EDIT_IMAGE:
        OnEditImage();
        break;
    default:
        return CDialog::OnCommand(wParam, lParam);
    }
    EnableControls();
    return TRUE;
}

void CButtonAppearanceDlg::OnNewImage() {
    if (m_pImages == nullptr)
        return;
    const CSize sizeImage = m_pImages->GetImageSize();
    CBitmap bitmap;
    HDC hdcScreen = ::GetDC(nullptr);
    const BOOL bMade = bitmap.Attach(::CreateCompatibleBitmap(hdcScreen, sizeImage.cx, sizeImage.cy));
    ::ReleaseDC(nullptr, hdcScreen);
    if (!bMade) {
        ShowLibraryMessage(IDS_CANT_CREATE_IMAGE);
        return;
    }
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap* pOld = dc.SelectObject(&bitmap);
    CRect rect(CPoint(0, 0), sizeImage);
    dc.FillRect(&rect, &globalData.brBtnFace);
    dc.SelectObject(pOld);
    CQMXPImageEditDlg dlg(&bitmap, this, m_pImages->GetBitsPerPixel());
    if (dlg.DoModal() != IDOK)
        return;
    const int iNew = m_pImages->AddImage(static_cast<HBITMAP>(bitmap.m_hObject));
    if (iNew < 0) {
        ShowLibraryMessage(IDS_CANT_CREATE_IMAGE);
        return;
    }
    RebuildImageList();
    m_wndButtonList.SelectButton(iNew);
}

void CButtonAppearanceDlg::OnEditImage() {
    if (m_pImages == nullptr || m_iImage < 0)
        return;
    const CSize sizeImage = m_pImages->GetImageSize();
    CBitmap bitmap;
    HDC hdcScreen = ::GetDC(nullptr);
    bitmap.Attach(::CreateCompatibleBitmap(hdcScreen, sizeImage.cx, sizeImage.cy));
    ::ReleaseDC(nullptr, hdcScreen);
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap* pOld = dc.SelectObject(&bitmap);
    dc.FillSolidRect(0, 0, sizeImage.cx, sizeImage.cy, kEditBackground);
    const COLORREF clrTransparent = m_pImages->GetTransparentColor();
    m_pImages->SetTransparentColor(kEditBackground);
    CQMXPDrawState ds;
    if (m_pImages->BeginDraw(ds)) {
        m_pImages->DrawImage(&dc, 0, 0, m_iImage);
        m_pImages->FinishDraw(ds);
    }
    m_pImages->SetTransparentColor(clrTransparent);
    dc.SelectObject(pOld);
    CQMXPImageEditDlg dlg(&bitmap, this, m_pImages->GetBitsPerPixel());
    if (dlg.DoModal() != IDOK)
        return;
    m_pImages->UpdateImage(m_iImage, static_cast<HBITMAP>(bitmap.m_hObject));
    m_wndButtonList.Invalidate();
}

void CButtonAppearanceDlg::OnPaint() {
    CPaintDC dc(this);
    if (m_pUserTool != nullptr) {
        m_pUserTool->DrawToolIcon(&dc, m_rectDefaultImage);
        return;
    }
    const int iDefault = DefaultImage();
    if (!m_bImage || iDefault < 0)
        return;
    CQMXPDrawState ds;
    if (CQMXPToolBar::m_Images.BeginDraw(ds)) {
        CQMXPToolBar::m_Images.DrawImage(&dc, m_rectDefaultImage.left, m_rectDefaultImage.top, iDefault);
        CQMXPToolBar::m_Images.FinishDraw(ds);
    }
}

void CButtonAppearanceDlg::OnOK() {
    if (!UpdateData(TRUE))
        return;
    if (!m_bUserButton)
        m_iImage = m_pUserTool != nullptr ? 0 : DefaultImage();
    if (m_bImage && m_iImage < 0) {
        ShowLibraryMessage(IDS_SELECT_IMAGE);
        m_wndButtonList.SetFocus();
        return;
    }
    if (m_bText && m_strButtonText.IsEmpty()) {
        ShowLibraryMessage(IDS_ENTER_TEXT);
        m_wndButtonText.SetFocus();
        return;
    }
    if (!m_pButton->m_bAlwaysText)
        m_pButton->m_bText = m_bText;
    if (m_bMenuMode)
        QMXTheCommandManager()->EnableCommandImage(m_pButton->m_nID, m_bImage);
    else
        m_pButton->m_bImage = m_bImage;
    m_pButton->m_bUserButton = m_bUserButton;
    m_pButton->SetImage(m_iImage);
    m_pButton->m_strText = m_strButtonText;
    if (!m_strAccel.IsEmpty())
        m_pButton->m_strText += L"\t" + m_strAccel;
    EndDialog(IDOK);
}
