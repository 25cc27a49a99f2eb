#pragma once
// CQMXPImageEditDlg: dialog 16133 "Edit Button Image": one button image, in
// a bitmap the caller owns, edited pixel by pixel on an enlarged grid with a
// colour bar, nine tools and a preview at real size. There is no undo; the
// caller takes the bitmap only after OK.
#include "docking/frames/ImagePaintArea.h"
#include "docking/frames/QMXPColorBar.h"
#include "platform/classlib/Dialog.h"

constexpr UINT IDD_QMXP_IMAGE_EDITOR = 16133;
constexpr UINT IDB_QMXP_IMAGE_EDITOR_TOOLS = 16138;
constexpr UINT IDC_QMXP_IMAGE_DRAW = 16513;
constexpr UINT IDC_QMXP_IMAGE_COLORS = 16516;
constexpr UINT IDC_QMXP_IMAGE_PREVIEW = 16519;
constexpr UINT IDC_QMXP_IMAGE_TOOLS = 16533;
constexpr UINT ID_QMXP_IMAGE_FILL = 16901;
constexpr UINT ID_QMXP_IMAGE_PENCIL = 16902;
constexpr UINT ID_QMXP_IMAGE_PICK = 16903;
constexpr UINT ID_QMXP_IMAGE_LINE = 16904;
constexpr UINT ID_QMXP_IMAGE_RECT = 16905;
constexpr UINT ID_QMXP_IMAGE_ELLIPSE = 16906;
constexpr UINT ID_QMXP_IMAGE_COPY = 16907;
constexpr UINT ID_QMXP_IMAGE_PASTE = 16908;
constexpr UINT ID_QMXP_IMAGE_CLEAR = 16909;

class CQMXPImageEditDlg : public CDialog {
public:
    // bitsPerPixel -1: the bitmap's own depth.
    CQMXPImageEditDlg(CBitmap* pBitmap, CWnd* pParent = nullptr, int nBitsPerPixel = -1);

    INT_PTR DoModal() override;
    BOOL OnInitDialog() override;
    // The tools show the current mode checked and Paste only with a bitmap on the clipboard.
    void UpdateTools();
    // The area and the preview show the bitmap again.
    void RepaintImage();

    CWnd m_wndPaletteBarLocation;
    CWnd m_wndToolbarLocation;
    CWnd m_wndPreview;
    CImagePaintArea m_wndLargeDrawAreaCtrl;
    CBitmap* m_pBitmap;
    CSize m_sizeImage;
    int m_nBitsPerPixel;
    CRect m_rectPreviewFrame;
    CRect m_rectPreviewImage;
    CQMXPToolBar m_wndToolbar;
    CQMXPColorBar m_wndPaletteBar;
    CPalette m_palette;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnTool(UINT nID);
    // The image onto the clipboard as a bitmap; an exception it throws ends
    // in the library's internal-error message.
    virtual void OnCopy();
    void OnPaste();
    void OnClear();
    afx_msg void OnPaint();
    afx_msg LRESULT OnKickIdle(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};
