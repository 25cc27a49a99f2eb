#pragma once
// CColorMenuButton: the tool-bar button that chooses a colour (the text
// colour, command 32846): the docking library's colour button, whose colour
// is also kept as a framework colour value, recorded for its command in one
// global map (CColorMap), so that every button of the command, and a tool bar
// rebuilt later, shows the same colour. The palette's other colour is chosen
// in the common colour dialog (CKWColorChooser).
#include <cstdint>
#include <map>
#include <set>

#include "docking/toolbars/QMXPColorMenuButton.h"
#include "framework/KWColor.h"

// The colour last set for each command id.
class CColorMap {
public:
    CColorMap() = default;
    void SetAt(UINT nID, const CKWColor& color) { m_colors[nID] = color; }
    // False (colour untouched) when none was set for the command.
    bool Lookup(UINT nID, CKWColor& color) const;
    void RemoveAll()
    {
        m_colors.clear();
        m_chosen.clear();
    }
    // A colour picked by the user (a palette cell, the colour dialog, the
    // button itself) waits for its command.
    void MarkChosen(UINT nID) { m_chosen.insert(nID); }
    // True once after a colour of the command was picked.
    bool TakeChosen(UINT nID) { return m_chosen.erase(nID) > 0; }
    // True while a picked colour of the command waits for it.
    bool IsChosen(UINT nID) const { return m_chosen.count(nID) > 0; }

private:
    std::map<UINT, CKWColor> m_colors;
    std::set<UINT> m_chosen;
};

// The program's map.
CColorMap& GetColorMap();

class CColorMenuButton : public CQMXPColorMenuButton {
    DECLARE_DYNCREATE(CColorMenuButton)
public:
    // No command, the automatic colour (a plain value with all bits set).
    CColorMenuButton();
    // The colour the library remembers for the command, else the given one.
    CColorMenuButton(UINT nID, const CKWColor& color);

    // Stores the colour, records it for the button's command and shows it on
    // every button of the command.
    void SetColor(uint8_t kind, uint32_t value);
    // A colour chosen in the palette: recorded as a packed RGB value (a
    // recorded colour that shows the same keeps its kind).
    void SetColor(COLORREF color, BOOL bNotify = TRUE) override;
    void AssignFrom(const CQMXPToolbarButton& src) override;
    // A click on the button itself applies the colour it shows.
    BOOL OnClickUp() override;
    // The palette's other colour: CKWColorChooser started with the default.
    BOOL OpenColorDialog(COLORREF colorDefault, COLORREF& colorRes) override;
    const CKWColor& GetColor() const { return m_color; }
    // The colour recorded for the command; false (colour untouched) when none is.
    static bool LookupColor(UINT nID, CKWColor& color);
    // True while a colour the user picked for the command waits for it: what
    // the button shows then is what the command is to apply.
    static bool IsColorChosen(UINT nID);

private:
    // m_color from a library colour; the automatic colour is not recorded.
    void TakeColor(COLORREF color);

    CKWColor m_color;
};
