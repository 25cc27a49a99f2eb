// A device context for measuring the bars' buttons and menu items in a font.
#pragma once

#include "platform/classlib/DC.h"

class CFont;

// One memory DC compatible with the screen serves every measurement on the
// interface thread: a window's DC would ask the system for the window's
// visible region each time, which measuring never needs. Measurements may
// nest; each restores the font it found.
class CQMXPMeasureDC : public CDC {
public:
    explicit CQMXPMeasureDC(CFont* pFont);
    ~CQMXPMeasureDC() override;
    CQMXPMeasureDC(const CQMXPMeasureDC&) = delete;
    CQMXPMeasureDC& operator=(const CQMXPMeasureDC&) = delete;

private:
    CFont* m_pOldFont;
};
