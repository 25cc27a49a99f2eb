#include "text/KWScreenGraphics.h"

#include "framework/KWGdiPlusDraw.h"

CKWScreenGraphics::CKWScreenGraphics()
{
    m_dc = ::GetDC(nullptr);
    if (m_dc) {
        m_graphics = new CKWGdiPlusDraw(m_dc);
        const int dpi = m_graphics->GetDpi();
        if (dpi > 0)
            m_dpi = dpi;
    }
}

CKWScreenGraphics::~CKWScreenGraphics()
{
    delete m_graphics;
    if (m_dc)
        ::ReleaseDC(nullptr, m_dc);
}

IKWGraphics* CKWScreenGraphics::GetGraphics() const
{
    return m_graphics;
}

CKWScreenGraphics& GetScreenGraphics()
{
    // Built after GDI+ has started (its constructor starts it), so it is
    // destroyed before GDI+ is shut down at exit.
    static CKWScreenGraphics screen;
    return screen;
}
