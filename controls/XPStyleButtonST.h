#pragma once
// CXPStyleButtonST: the owner-drawn button drawn in the running system's
// visual style: while themes are active its background is the themed push
// button and it draws no border of its own; otherwise it looks exactly like
// CButtonST. Themes are asked for at every paint, so a change of the
// system's setting shows at the next repaint.
#include "controls/ButtonST.h"

class CThemeHelperST;

class CXPStyleButtonST : public CButtonST {
public:
    CXPStyleButtonST() = default;

    // Not owned: the dialog or panel that owns the buttons keeps it.
    void SetThemeHelper(CThemeHelperST* helper) { m_themeHelper = helper; }

    // The push-button state of the theme (PBS_...), later rules winning:
    // normal, default, hot, pressed, disabled.
    static int ThemeState(bool isDefault, bool hot, bool pressed, bool disabled);

    void DrawBackground(CDC* dc, const CRect& rect) override;
    void DrawBorder(CDC* dc, const CRect& rect) override;

private:
    bool IsThemed() const;

    CThemeHelperST* m_themeHelper = nullptr;
};
