#include "framework/KWGdipBitmap.h"

#include <gdiplus.h>

#include <cmath>

#include "framework/KWGdiPlusStartup.h"
#include "platform/classlib/WinApp.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

CKWGdipBitmap::CKWGdipBitmap()
    : m_bitmap(nullptr), m_lastStatus(kStatusOk)
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

int CKWGdipBitmap::Take(int status, GpBitmap* bitmap)
{
    if (status == Ok && !bitmap)
        status = kStatusOutOfMemory;
    if (status != Ok && bitmap)
        GdipDisposeImage(bitmap);
    m_bitmap = status == Ok ? bitmap : nullptr;
    m_lastStatus = status;
    return status;
}

int CKWGdipBitmap::GetWidth() const
{
    UINT width = 0;
    if (!m_bitmap)
        return 0;
    const GpStatus status = GdipGetImageWidth(m_bitmap, &width);
    if (status != Ok) {
        m_lastStatus = status;
        return 0;
    }
    return static_cast<int>(width);
}

int CKWGdipBitmap::GetHeight() const
{
    UINT height = 0;
    if (!m_bitmap)
        return 0;
    const GpStatus status = GdipGetImageHeight(m_bitmap, &height);
    if (status != Ok) {
        m_lastStatus = status;
        return 0;
    }
    return static_cast<int>(height);
}

GpBitmap* CKWGdipBitmap::Create(double width, double height, int32_t pixelFormat)
{
    Delete();
    if (!StartupGdiPlus()) {
        m_lastStatus = kStatusNotInitialized;
        return nullptr;
    }
    GpBitmap* bitmap = nullptr;
    const GpStatus status = GdipCreateBitmapFromScan0(static_cast<INT>(width), static_cast<INT>(height), 0,
                                                      static_cast<PixelFormat>(pixelFormat), nullptr, &bitmap);
    Take(status, bitmap);
    return m_bitmap;
}

int CKWGdipBitmap::CreateFromScan0(double width, double height, int stride, int32_t pixelFormat, void* pixels)
{
    Delete();
    if (!StartupGdiPlus())
        return m_lastStatus = kStatusNotInitialized;
    GpBitmap* bitmap = nullptr;
    const GpStatus status =
        GdipCreateBitmapFromScan0(static_cast<INT>(std::lround(width)), static_cast<INT>(std::lround(height)), stride,
                                  static_cast<PixelFormat>(pixelFormat), static_cast<BYTE*>(pixels), &bitmap);
    return Take(status, bitmap);
}

GpBitmap* CKWGdipBitmap::Wrap(int width, int height, int stride, void* pixels, int32_t pixelFormat)
{
    CreateFromScan0(width, height, stride, pixelFormat, pixels);
    return m_bitmap;
}

GpBitmap* CKWGdipBitmap::LoadFromResource(unsigned int resourceId, HMODULE module)
{
    Delete();
    if (!StartupGdiPlus()) {
        m_lastStatus = kStatusNotInitialized;
        return nullptr;
    }
    GpBitmap* bitmap = nullptr;
    const GpStatus status = GdipCreateBitmapFromResource(module ? module : AfxGetResourceHandle(),
                                                         MAKEINTRESOURCEW(resourceId), &bitmap);
    Take(status, bitmap);
    return m_bitmap;
}
