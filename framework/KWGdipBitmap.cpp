#include "framework/KWGdipBitmap.h"

#include <windows.h>
#include <gdiplus.h>

#include "framework/KWGdiPlusStartup.h"
#include "platform/classlib/WinApp.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

CKWGdipBitmap::CKWGdipBitmap()
    : m_bitmap(nullptr)
{
}

CKWGdipBitmap::~CKWGdipBitmap()
{
    Delete();
}

void CKWGdipBitmap::Delete()
{
    if (m_bitmap) {
        GdipDisposeImage(m_bitmap);
        m_bitmap = nullptr;
    }
}

int CKWGdipBitmap::GetWidth() const
{
    UINT width = 0;
    if (!m_bitmap || GdipGetImageWidth(m_bitmap, &width) != Ok)
        return 0;
    return static_cast<int>(width);
}

int CKWGdipBitmap::GetHeight() const
{
    UINT height = 0;
    if (!m_bitmap || GdipGetImageHeight(m_bitmap, &height) != Ok)
        return 0;
    return static_cast<int>(height);
}

GpBitmap* CKWGdipBitmap::Create(double width, double height, int32_t pixelFormat)
{
    Delete();
    if (!StartupGdiPlus())
        return nullptr;
    GpBitmap* bitmap = nullptr;
    if (GdipCreateBitmapFromScan0(static_cast<INT>(width), static_cast<INT>(height), 0,
                                  static_cast<PixelFormat>(pixelFormat), nullptr, &bitmap) != Ok)
        return nullptr;
    m_bitmap = bitmap;
    return m_bitmap;
}

GpBitmap* CKWGdipBitmap::Wrap(int width, int height, int stride, void* pixels, int32_t pixelFormat)
{
    Delete();
    if (!StartupGdiPlus())
        return nullptr;
    GpBitmap* bitmap = nullptr;
    if (GdipCreateBitmapFromScan0(width, height, stride, static_cast<PixelFormat>(pixelFormat),
                                  static_cast<BYTE*>(pixels), &bitmap) != Ok)
        return nullptr;
    m_bitmap = bitmap;
    return m_bitmap;
}

bool CKWGdipBitmap::LoadFromResource(unsigned int resourceId)
{
    Delete();
    if (!StartupGdiPlus())
        return false;
    GpBitmap* bitmap = nullptr;
    if (GdipCreateBitmapFromResource(AfxGetResourceHandle(), MAKEINTRESOURCEW(resourceId), &bitmap) != Ok)
        return false;
    m_bitmap = bitmap;
    return true;
}
