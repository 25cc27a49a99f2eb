#include "docking/frames/QMXPImageEditDlg.h"

#include "docking/bars/QMXPGlobalUtils.h"
#include "docking/frames/QMXPLibraryMessage.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPToolbarButton.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/DataExchange.h"
#include "platform/classlib/StringResource.h"
#include "platform/classlib/WinApp.h"

#include <algorithm>
#include <vector>

BEGIN_MESSAGE_MAP(CQMXPImageEditDlg, CDialog)
    ON_WM_PAINT()
    ON_MESSAGE(WM_KICKIDLE, OnKickIdle)
END_MESSAGE_MAP()

namespace {

constexpr UINT kToolsBarID = 0xE800;
constexpr int kToolColumns = 3;
constexpr UINT IDS_CANT_PASTE = 16004;
constexpr UINT IDS_CANT_COPY = 16010;

void ShowLibraryMessage(UINT nID) { QMXPShowLibraryMessage(nID, MB_ICONSTOP); }

}  // namespace

CQMXPImageEditDlg::CQMXPImageEditDlg(CBitmap* pBitmap, CWnd* pParent, int nBitsPerPixel)
    : CDialog(IDD_QMXP_IMAGE_EDITOR, pParent),
      m_wndLargeDrawAreaCtrl(this),
      m_pBitmap(pBitmap),
      m_sizeImage(0, 0),
      m_nBitsPerPixel(nBitsPerPixel) {
    BITMAP bmp{};
    if (pBitmap != nullptr && pBitmap->m_hObject != nullptr && pBitmap->GetBitmap(&bmp)) {
        m_sizeImage = CSize(bmp.bmWidth, bmp.bmHeight);
        if (m_nBitsPerPixel == -1)
            m_nBitsPerPixel = bmp.bmBitsPixel;
    }
}

INT_PTR CQMXPImageEditDlg::DoModal() {
    CQMXPLocalResource localResource;
    return CDialog::DoModal();
}

void CQMXPImageEditDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_QMXP_IMAGE_DRAW, m_wndLargeDrawAreaCtrl);
    DDX_Control(pDX, IDC_QMXP_IMAGE_COLORS, m_wndPaletteBarLocation);
    DDX_Control(pDX, IDC_QMXP_IMAGE_PREVIEW, m_wndPreview);
    DDX_Control(pDX, IDC_QMXP_IMAGE_TOOLS, m_wndToolbarLocation);
}

BOOL CQMXPImageEditDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_wndLargeDrawAreaCtrl.SetBitmap(m_pBitmap);

    // The nine tools, three to a row, in the tools frame.
    CRect rectTools;
    m_wndToolbarLocation.GetWindowRect(&rectTools);
    ScreenToClient(&rectTools);
    if (m_wndToolbar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_TOOLTIPS | CBRS_FLYBY | QMXP_CBRS_SIZE_FIXED,
                            kToolsBarID)) {
        m_wndToolbar.SetOwner(this);
        m_wndToolbar.SetBarStyle((m_wndToolbar.GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY) & ~QMXP_CBRS_GRIPPER);
        m_wndToolbar.SetBorders(10, 5, 10, 5);
        m_wndToolbar.LoadBitmap(IDB_QMXP_IMAGE_EDITOR_TOOLS, 0, 0, TRUE);
        const UINT tools[] = {ID_QMXP_IMAGE_FILL,      ID_QMXP_IMAGE_PENCIL, ID_QMXP_IMAGE_PICK,
                              ID_QMXP_IMAGE_LINE,      ID_QMXP_IMAGE_RECT,   ID_QMXP_IMAGE_ELLIPSE,
                              ID_QMXP_IMAGE_COPY,      ID_QMXP_IMAGE_PASTE,  ID_QMXP_IMAGE_CLEAR};
        m_wndToolbar.SetButtons(tools, 9);
        m_wndToolbar.WrapToolBar(kToolColumns * m_wndToolbar.GetButtonSize().cx);
        const CSize size = m_wndToolbar.CalcSize(FALSE);
        CRect rectInside(0, 0, 0, 0);
        m_wndToolbar.CalcInsideRect(rectInside, TRUE);
        m_wndToolbar.SetWindowPos(nullptr, rectTools.left, rectTools.top, size.cx - rectInside.Width(),
                                  size.cy - rectInside.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
        m_wndToolbar.AdjustLocations();
    }

    // The colour bar: 16 colours of the system's palette on palette images.
    CRect rectColors;
    m_wndPaletteBarLocation.GetWindowRect(&rectColors);
    ScreenToClient(&rectColors);
    CPalette* pPalette = nullptr;
    if (m_nBitsPerPixel <= 8) {
        PALETTEENTRY entries[20];
        ::GetPaletteEntries(static_cast<HPALETTE>(::GetStockObject(DEFAULT_PALETTE)), 0, 20, entries);
        std::vector<BYTE> buffer(sizeof(LOGPALETTE) + 16 * sizeof(PALETTEENTRY));
        auto* pLogPalette = reinterpret_cast<LOGPALETTE*>(buffer.data());
        pLogPalette->palVersion = 0x300;
        pLogPalette->palNumEntries = 16;
        int n = 0;
        for (int i = 0; i < 20; ++i) {
            if (i < 8 || i >= 12)
                pLogPalette->palPalEntry[n++] = entries[i];
        }
        if (m_palette.CreatePalette(pLogPalette))
            pPalette = &m_palette;
    }
    m_wndPaletteBar.CreateControl(this, rectColors, IDC_QMXP_IMAGE_COLORS, 4, pPalette);
    m_wndPaletteBar.SetColor(RGB(0, 0, 0));

    // The preview: the image at real size, centred, in a frame 4 pixels out.
    CRect rectPreview;
    m_wndPreview.GetWindowRect(&rectPreview);
    ScreenToClient(&rectPreview);
    m_rectPreviewImage = CRect(CPoint(rectPreview.left + (rectPreview.Width() - m_sizeImage.cx) / 2,
                                      rectPreview.top + (rectPreview.Height() - m_sizeImage.cy) / 2),
                               m_sizeImage);
    m_rectPreviewFrame = m_rectPreviewImage;
    m_rectPreviewFrame.InflateRect(4, 4);
    m_wndLargeDrawAreaCtrl.m_rectParentPreviewArea = m_rectPreviewFrame;
    UpdateTools();
    return TRUE;
}

void CQMXPImageEditDlg::UpdateTools() {
    if (m_wndToolbar.GetSafeHwnd() == nullptr)
        return;
    const UINT modes[] = {ID_QMXP_IMAGE_PENCIL, ID_QMXP_IMAGE_FILL, ID_QMXP_IMAGE_LINE,
                          ID_QMXP_IMAGE_RECT,   ID_QMXP_IMAGE_ELLIPSE, ID_QMXP_IMAGE_PICK};
    for (int i = 0; i < m_wndToolbar.GetCount(); ++i) {
        const UINT nID = m_wndToolbar.GetItemID(i);
        UINT nStyle = m_wndToolbar.GetButtonStyle(i) & ~(TBBS_CHECKED | TBBS_DISABLED);
        const UINT* pMode = std::find(std::begin(modes), std::end(modes), nID);
        if (pMode != std::end(modes) && pMode - modes == m_wndLargeDrawAreaCtrl.GetMode())
            nStyle |= TBBS_CHECKED;
        if (nID == ID_QMXP_IMAGE_PASTE && !::IsClipboardFormatAvailable(CF_BITMAP))
            nStyle |= TBBS_DISABLED;
        m_wndToolbar.SetButtonStyle(i, nStyle);
    }
}

LRESULT CQMXPImageEditDlg::OnKickIdle(WPARAM, LPARAM) {
    UpdateTools();
    return 0;
}

BOOL CQMXPImageEditDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    const UINT nID = LOWORD(wParam);
    if (nID >= ID_QMXP_IMAGE_FILL && nID <= ID_QMXP_IMAGE_CLEAR) {
        OnTool(nID);
        return TRUE;
    }
    // A colour chosen in the bar (its command id is 0).
    if (lParam == 0 && nID == 0 && m_wndPaletteBar.GetSafeHwnd() != nullptr) {
        const COLORREF color = m_wndPaletteBar.GetColor();
        m_wndLargeDrawAreaCtrl.SetColor(color == static_cast<COLORREF>(-1) ? RGB(0, 0, 0) : color);
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

void CQMXPImageEditDlg::OnTool(UINT nID) {
    switch (nID) {
    case ID_QMXP_IMAGE_FILL:
        m_wndLargeDrawAreaCtrl.SetMode(CImagePaintArea::IMAGE_EDIT_MODE_FILL);
        break;
    case ID_QMXP_IMAGE_PENCIL:
        m_wndLargeDrawAreaCtrl.SetMode(CImagePaintArea::IMAGE_EDIT_MODE_PEN);
        break;
    case ID_QMXP_IMAGE_PICK:
        m_wndLargeDrawAreaCtrl.SetMode(CImagePaintArea::IMAGE_EDIT_MODE_COLOR);
        break;
    case ID_QMXP_IMAGE_LINE:
        m_wndLargeDrawAreaCtrl.SetMode(CImagePaintArea::IMAGE_EDIT_MODE_LINE);
        break;
    case ID_QMXP_IMAGE_RECT:
        m_wndLargeDrawAreaCtrl.SetMode(CImagePaintArea::IMAGE_EDIT_MODE_RECT);
        break;
    case ID_QMXP_IMAGE_ELLIPSE:
        m_wndLargeDrawAreaCtrl.SetMode(CImagePaintArea::IMAGE_EDIT_MODE_ELLIPSE);
        break;
    case ID_QMXP_IMAGE_COPY:
        QMXPRunGuarded([this] { OnCopy(); });
        break;
    case ID_QMXP_IMAGE_PASTE:
        OnPaste();
        break;
    case ID_QMXP_IMAGE_CLEAR:
        OnClear();
        break;
    default:
        break;
    }
    UpdateTools();
}

void CQMXPImageEditDlg::RepaintImage() {
    InvalidateRect(&m_rectPreviewFrame);
    m_wndLargeDrawAreaCtrl.Invalidate();
    UpdateWindow();
    m_wndLargeDrawAreaCtrl.UpdateWindow();
}

void CQMXPImageEditDlg::OnClear() {
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap* pOld = dc.SelectObject(m_pBitmap);
    CRect rect(CPoint(0, 0), m_sizeImage);
    dc.FillRect(&rect, &globalData.brBtnFace);
    dc.SelectObject(pOld);
    RepaintImage();
}

void CQMXPImageEditDlg::OnCopy() {
    CDC dcSrc;
    CDC dcDst;
    CBitmap bmpCopy;
    HDC hdcScreen = ::GetDC(nullptr);
    const BOOL bMade = dcSrc.CreateCompatibleDC(nullptr) && dcDst.CreateCompatibleDC(nullptr) &&
                       bmpCopy.Attach(::CreateCompatibleBitmap(hdcScreen, m_sizeImage.cx, m_sizeImage.cy));
    ::ReleaseDC(nullptr, hdcScreen);
    if (!bMade) {
        ShowLibraryMessage(IDS_CANT_COPY);
        return;
    }
    CBitmap* pOldSrc = dcSrc.SelectObject(m_pBitmap);
    CBitmap* pOldDst = dcDst.SelectObject(&bmpCopy);
    dcDst.BitBlt(0, 0, m_sizeImage.cx, m_sizeImage.cy, &dcSrc, 0, 0, SRCCOPY);
    dcDst.SelectObject(pOldDst);
    dcSrc.SelectObject(pOldSrc);
    if (!::OpenClipboard(m_hWnd)) {
        ShowLibraryMessage(IDS_CANT_COPY);
        return;
    }
    ::EmptyClipboard();
    // The clipboard owns the copy once it takes it.
    if (::SetClipboardData(CF_BITMAP, bmpCopy.m_hObject) != nullptr)
        bmpCopy.Detach();
    else
        ShowLibraryMessage(IDS_CANT_COPY);
    ::CloseClipboard();
}

void CQMXPImageEditDlg::OnPaste() {
    if (!::OpenClipboard(m_hWnd)) {
        ShowLibraryMessage(IDS_CANT_PASTE);
        return;
    }
    HBITMAP hPasted = static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP));
    BITMAP bmp{};
    if (hPasted == nullptr || ::GetObjectW(hPasted, sizeof(bmp), &bmp) == 0) {
        ::CloseClipboard();
        ShowLibraryMessage(IDS_CANT_PASTE);
        return;
    }
    CDC dcSrc;
    CDC dcDst;
    dcSrc.CreateCompatibleDC(nullptr);
    dcDst.CreateCompatibleDC(nullptr);
    HGDIOBJ hOldSrc = ::SelectObject(dcSrc.m_hDC, hPasted);
    CBitmap* pOldDst = dcDst.SelectObject(m_pBitmap);
    CRect rect(CPoint(0, 0), m_sizeImage);
    dcDst.FillRect(&rect, &globalData.brBtnFace);
    // Centred when smaller; a larger bitmap is cut at the image's edges.
    const int x = std::max(0, static_cast<int>(m_sizeImage.cx - bmp.bmWidth) / 2);
    const int y = std::max(0, static_cast<int>(m_sizeImage.cy - bmp.bmHeight) / 2);
    dcDst.BitBlt(x, y, std::min<int>(bmp.bmWidth, m_sizeImage.cx), std::min<int>(bmp.bmHeight, m_sizeImage.cy), &dcSrc,
                 0, 0, SRCCOPY);
    dcDst.SelectObject(pOldDst);
    ::SelectObject(dcSrc.m_hDC, hOldSrc);
    ::CloseClipboard();
    RepaintImage();
}

void CQMXPImageEditDlg::OnPaint() {
    CPaintDC dc(this);
    dc.Draw3dRect(&m_rectPreviewFrame, globalData.clrBtnHilite, globalData.clrBtnShadow);
    if (m_pBitmap == nullptr || m_pBitmap->m_hObject == nullptr)
        return;
    CDC dcMem;
    dcMem.CreateCompatibleDC(&dc);
    CBitmap* pOld = dcMem.SelectObject(m_pBitmap);
    dc.BitBlt(m_rectPreviewImage.left, m_rectPreviewImage.top, m_sizeImage.cx, m_sizeImage.cy, &dcMem, 0, 0, SRCCOPY);
    dcMem.SelectObject(pOld);
}
