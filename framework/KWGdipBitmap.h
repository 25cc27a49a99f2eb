#pragma once
// CKWGdipBitmap: owns at most one GDI+ bitmap, made from a bitmap resource
// or from pixels in memory; images reach IKWGraphics only through Get. The
// views keep their back buffer in one. The holder keeps the status of the
// last GDI+ call that made or measured its bitmap.
#include <cstdint>

#include <windows.h>

namespace Gdiplus {
class GpBitmap;
}

class CKWGdipBitmap {
public:
    enum : int32_t { kPixelFormat32bppARGB = 0x0026200A, kPixelFormat32bppRGB = 0x00022009 };
    // GDI+ status values the holder reports itself.
    enum : int { kStatusOk = 0, kStatusOutOfMemory = 3, kStatusNotInitialized = 18 };

    CKWGdipBitmap();
    ~CKWGdipBitmap();

    bool IsValid() const { return m_bitmap != nullptr; }
    Gdiplus::GpBitmap* Get() const { return m_bitmap; }
    // The held bitmap's size in pixels; 0 without one or when GDI+ cannot
    // tell (its status is then the last status).
    int GetWidth() const;
    int GetHeight() const;
    int GetLastStatus() const { return m_lastStatus; }

    // Replaces the held bitmap by a new one of this size (truncated) and GDI+
    // pixel format, its pixels allocated by GDI+; null (and nothing held) when
    // GDI+ cannot allocate it.
    Gdiplus::GpBitmap* Create(double width, double height,
                              int32_t pixelFormat = kPixelFormat32bppARGB);
    // Replaces the held bitmap by one over the caller's pixels (not copied:
    // they must outlive the bitmap); its size rounded to whole pixels. The
    // GDI+ status; on any failure nothing is held, and a bitmap GDI+ could
    // not allocate reports OutOfMemory, never Ok.
    int CreateFromScan0(double width, double height, int stride, int32_t pixelFormat, void* pixels);
    // CreateFromScan0 of whole sizes; the bitmap, null when GDI+ refuses them.
    Gdiplus::GpBitmap* Wrap(int width, int height, int stride, void* pixels, int32_t pixelFormat);
    // Replaces the held bitmap by the bitmap resource of the id in the module
    // (the program's resources when none); null (and nothing held, the
    // status kept) when there is none.
    Gdiplus::GpBitmap* LoadFromResource(unsigned int resourceId, HMODULE module = nullptr);

    CKWGdipBitmap(const CKWGdipBitmap&) = delete;
    CKWGdipBitmap& operator=(const CKWGdipBitmap&) = delete;

private:
    void Delete();
    // Holds the bitmap a GDI+ call made, or nothing when it failed; the
    // status of the call.
    int Take(int status, Gdiplus::GpBitmap* bitmap);

    Gdiplus::GpBitmap* m_bitmap;
    mutable int m_lastStatus;
};
