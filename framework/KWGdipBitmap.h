#pragma once
// CKWGdipBitmap: owns at most one GDI+ bitmap; images reach IKWGraphics
// only through Get. The views keep their back buffer in one.
#include <cstdint>

namespace Gdiplus {
class GpBitmap;
}

class CKWGdipBitmap {
public:
    enum : int32_t { kPixelFormat32bppARGB = 0x0026200A, kPixelFormat32bppRGB = 0x00022009 };

    CKWGdipBitmap();
    ~CKWGdipBitmap();

    bool IsValid() const { return m_bitmap != nullptr; }
    Gdiplus::GpBitmap* Get() const { return m_bitmap; }
    // The held bitmap's size in pixels, 0 without one.
    int GetWidth() const;
    int GetHeight() const;

    // Replaces the held bitmap by a new one of this size (truncated) and GDI+
    // pixel format, its pixels allocated by GDI+; null (and nothing held) when
    // GDI+ cannot allocate it.
    Gdiplus::GpBitmap* Create(double width, double height,
                              int32_t pixelFormat = kPixelFormat32bppARGB);
    // Replaces the held bitmap by one over the caller's pixels (not copied:
    // they must outlive the bitmap); null when GDI+ refuses them.
    Gdiplus::GpBitmap* Wrap(int width, int height, int stride, void* pixels, int32_t pixelFormat);
    // Replaces the held bitmap by the bitmap resource of the id in the
    // program's resources; false (and nothing held) when there is none.
    bool LoadFromResource(unsigned int resourceId);

    CKWGdipBitmap(const CKWGdipBitmap&) = delete;
    CKWGdipBitmap& operator=(const CKWGdipBitmap&) = delete;

private:
    void Delete();

    Gdiplus::GpBitmap* m_bitmap;
};
