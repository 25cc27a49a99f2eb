#pragma once
// CKWScreenGraphics: a drawing object on a device context of the whole screen;
// the one global instance measures all styled text.
#include <windows.h>

class IKWGraphics;
class CKWGdiPlusDraw;

class CKWScreenGraphics {
public:
    CKWScreenGraphics();
    ~CKWScreenGraphics();
    CKWScreenGraphics(const CKWScreenGraphics&) = delete;
    CKWScreenGraphics& operator=(const CKWScreenGraphics&) = delete;

    IKWGraphics* GetGraphics() const;
    // The screen's vertical resolution (96 when it cannot be had).
    int GetDpi() const { return m_dpi; }

private:
    HDC m_dc = nullptr;
    CKWGdiPlusDraw* m_graphics = nullptr;
    int m_dpi = 96;
};

// The global instance, made on first use (which starts GDI+).
CKWScreenGraphics& GetScreenGraphics();
