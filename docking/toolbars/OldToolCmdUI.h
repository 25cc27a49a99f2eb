#pragma once
// COldToolCmdUI: the state of one tool-bar button asked of the command
// targets; what the handlers set goes to the button's style through the bar.
#include "platform/classlib/CmdUI.h"

class COldToolCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn = TRUE) override;
    // 0 unchecked, 1 checked (also every value above 2), 2 indeterminate;
    // the button becomes a check button.
    void SetCheck(int nCheck = 1) override;
    void SetRadio(BOOL bOn = TRUE) override;
    // Ignored while the bar keeps its texts; cut at the first tab.
    void SetText(LPCWSTR lpszText) override;
};
