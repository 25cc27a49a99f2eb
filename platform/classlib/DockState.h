#pragma once
// CDockState: the positions of a frame's class-library control bars, kept
// in the application's profile. The frames of this program dock only the
// docking library's bars, so the list holds what GetDockState finds: the
// bars' ids and visibility, stored as one "Bars" count and a "Bar<n>" word
// per bar (low word the id, bit 16 visible).
#include "platform/classlib/Object.h"

#include <cstdint>
#include <vector>

class CDockState : public CObject {
public:
    struct BarInfo {
        uint16_t nID;
        bool bVisible;
    };
    std::vector<BarInfo> m_arrBarInfo;

    void SaveState(LPCWSTR lpszProfileName);
    // Reads what SaveState wrote; an unreadable count leaves the list empty.
    void LoadState(LPCWSTR lpszProfileName);
    void Clear() { m_arrBarInfo.clear(); }
};
