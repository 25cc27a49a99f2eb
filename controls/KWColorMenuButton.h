#pragma once
// CColorMenuButton: the tool-bar button that chooses a colour (the text
// colour, command 32846). Its colour is a framework colour value, recorded
// for its command in one global map (CColorMap), so that every button of the
// command, and a tool bar rebuilt later, shows the same colour. Another
// colour is chosen in the common colour dialog (CKWColorChooser).
#include <cstdint>
#include <map>

#include "docking/toolbars/QMXPColorMenuButton.h"
#include "framework/KWColor.h"

// The colour last set for each command id.
class CColorMap {
public:
    CColorMap() = default;
    void SetAt(UINT nID, const CKWColor& color) { m_colors[nID] = color; }
    // False (colour untouched) when none was set for the command.
    bool Lookup(UINT nID, CKWColor& color) const;
    void RemoveAll() { m_colors.clear(); }

private:
    std::map<UINT, CKWColor> m_colors;
};

// The program's map.
CColorMap& GetColorMap();

class CColorMenuButton : public CQMXPColorMenuButton {
    DECLARE_DYNCREATE(CColorMenuButton)
public:
    // No command, the automatic colour (a plain value with all bits set).
    CColorMenuButton();
    CColorMenuButton(UINT nID, const CKWColor& color);

    // Stores the colour, records it for the button's command and shows it.
    void SetColor(uint8_t kind, uint32_t value);
    // The library's colour (a chosen one): as a packed-RGB value.
    void SetColor(COLORREF color, BOOL bNotify = TRUE) override;
    const CKWColor& GetColor() const { return m_color; }
    // The colour recorded for the command; false (colour untouched) when none is.
    static bool LookupColor(UINT nID, CKWColor& color);

    void AssignFrom(const CQMXPToolbarButton& src) override;
    BOOL ChooseOtherColor(COLORREF current, COLORREF& chosen) override;

private:
    CKWColor m_color;
};
