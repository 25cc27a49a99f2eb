#include "docking/toolbars/QMXPMeasureDC.h"

#include "platform/classlib/GdiObject.h"

namespace {

class CSharedMeasureDC {
public:
    CSharedMeasureDC() : m_hDC(::CreateCompatibleDC(nullptr)) {}
    ~CSharedMeasureDC() {
        if (m_hDC != nullptr)
            ::DeleteDC(m_hDC);
    }
    CSharedMeasureDC(const CSharedMeasureDC&) = delete;
    CSharedMeasureDC& operator=(const CSharedMeasureDC&) = delete;
    HDC Get() const { return m_hDC; }

private:
    HDC m_hDC;
};

HDC SharedMeasureDC() {
    static CSharedMeasureDC shared;
    return shared.Get();
}

}  // namespace

CQMXPMeasureDC::CQMXPMeasureDC(CFont* pFont) : m_pOldFont(nullptr) {
    Attach(SharedMeasureDC());
    m_pOldFont = SelectObject(pFont);
}

CQMXPMeasureDC::~CQMXPMeasureDC() {
    if (m_pOldFont != nullptr)
        SelectObject(m_pOldFont);
    Detach();
}
