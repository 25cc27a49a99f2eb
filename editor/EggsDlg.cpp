#include "editor/EggsDlg.h"

#include "framework/KWGdiPlusDraw.h"
#include "framework/KWRasterImage.h"
#include "framework/KWRasterLib.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/WinApp.h"
#include "resources/TeamDialog.h"

BEGIN_MESSAGE_MAP(CEggsDlg, CKWDialog)
    ON_WM_PAINT()
END_MESSAGE_MAP()

namespace {

// The team picture's bytes in the program's resources; null when missing.
const void* TeamPicture(uint32_t& size)
{
    HMODULE module = AfxGetResourceHandle();
    HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(IDR_TAL_TEAM_PICTURE), MAKEINTRESOURCEW(10));
    HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    size = found ? ::SizeofResource(module, found) : 0;
    return loaded ? ::LockResource(loaded) : nullptr;
}

}  // namespace

CEggsDlg::CEggsDlg(CWnd* parent, const void* picture, uint32_t pictureSize)
    : CKWDialog(IDD_TAL_TEAM, parent), m_picture(picture), m_pictureSize(pictureSize)
{
    if (!m_picture)
        m_picture = TeamPicture(m_pictureSize);
}

CEggsDlg::~CEggsDlg()
{
    FreeImage();
}

void CEggsDlg::FreeImage()
{
    // The bitmap wraps the image's pixels: it goes first.
    m_bitmap.Wrap(0, 0, 0, nullptr, CKWGdipBitmap::kPixelFormat32bppARGB);
    if (m_image)
        KWFreeRasterImage(m_image);
    m_image = nullptr;
}

BOOL CEggsDlg::OnInitDialog()
{
    FreeImage();
    m_image = DecodePicture();
    if (m_image) {
        // The image's own row stride: rows may be padded beyond 4 bytes a pixel.
        m_bitmap.Wrap(static_cast<int>(m_image->width), static_cast<int>(m_image->height),
                      static_cast<int>(m_image->stride), m_image->Pixels(), CKWGdipBitmap::kPixelFormat32bppARGB);
        // The client area takes the picture's size, so that it is drawn unscaled.
        CRect frame(0, 0, static_cast<int>(m_image->width), static_cast<int>(m_image->height));
        ::AdjustWindowRectEx(&frame, GetStyle(), FALSE, GetExStyle());
        SetWindowPos(nullptr, 0, 0, frame.Width(), frame.Height(),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOOWNERZORDER);
    }
    CenterOverOwner();
    return CKWDialog::OnInitDialog();
}

KWRasterImage* CEggsDlg::DecodePicture()
{
    if (!m_picture || !m_pictureSize)
        return nullptr;
    return g_rasterLib.RasterReadFromMemory(m_picture, m_pictureSize, "jpg", 0, 0);
}

void CEggsDlg::CenterOverOwner()
{
    CRect window;
    GetWindowRect(&window);
    CRect area;
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    if (owner)
        ::GetWindowRect(owner, &area);
    else
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    SetWindowPos(nullptr, area.left + (area.Width() - window.Width()) / 2,
                 area.top + (area.Height() - window.Height()) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER);
}

void CEggsDlg::OnPaint()
{
    CPaintDC dc(this);
    if (!m_bitmap.IsValid())
        return;
    CRect client;
    GetClientRect(&client);
    CKWGdiPlusDraw graphics(dc.GetSafeHdc());
    graphics.DrawImage(0, 0, client.Width(), client.Height(), &m_bitmap, nullptr);
}
