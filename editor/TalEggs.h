#pragma once
// CTalEggs: the About box's hidden spot: a click within 9 pixels of (69, 30)
// of the box opens the team dialog.
#include "appwindows/KWEggsHelper.h"

class CTalEggs : public CKWEggsHelper {
public:
    void OnClick(CWnd* host, int x, int y) override;
    // Whether a click at (x, y) hits the spot.
    static bool IsHotSpot(int x, int y);
};
