#pragma once
#include <string>
// The combo-box windows of the font pickers.
//
// CKWCommonComboBox: keys as a tool-bar box wants them: Enter sends the
// box's command (CBN_SELENDOK) to the active view, Up and Down open a closed
// list, Backspace and Delete go to the box's edit field so that the tool
// bar never takes them; a click gives the tool bar the focus from the view.
//
// CKWFontNameComboBox: owner-drawn font names, each with its type mark
// (device, TrueType, other) and its picker entry as item data; a font the
// system lacks reads "<name> MISSED!" and is drawn in grey.
//
// CKWFontSizeComboBox: the standard sizes in points; any whole number can be
// typed.
#include "platform/classlib/ComboBox.h"

#include <vector>

struct FontCommboData;

class CKWCommonComboBox : public CComboBox {
public:
    // CBN_SELENDOK: what Enter sends with the command.
    enum : UINT { kEnterNotification = 9 };

    CKWCommonComboBox() = default;

    void SetCommandId(UINT id) { m_commandId = id; }
    UINT GetCommandId() const { return m_commandId; }
    // Selects the first item whose text equals the text (case counts); its
    // index, -1 (and no selection) when none does.
    int SelectStringExact(const wchar_t* text);

    BOOL PreTranslateMessage(MSG* pMsg) override;

private:
    UINT m_commandId = 0;
};

class CKWFontNameComboBox : public CKWCommonComboBox {
public:
    // What a font the system lacks shows after its name.
    static constexpr const wchar_t* kMissedSuffix = L" MISSED!";
    static constexpr int kItemHeight = 15;
    static constexpr int kTextLeft = 22;

    CKWFontNameComboBox();
    ~CKWFontNameComboBox() override;

    // Empties the box and adds one item per entry (names[i] with entries[i]);
    // nothing selected.
    void FillList(const std::vector<CString>& names, const std::vector<FontCommboData*>& entries);
    // The name (with the suffix when the entry has no face); the index.
    int AddFont(const CString& name, FontCommboData* entry);
    // The first item whose entry's document index is the value; -1 when none.
    int FindByValue(int value) const;

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;
    int CompareItem(LPCOMPAREITEMSTRUCT lpCompareItemStruct) override;

    // Installed fonts drawn in their own face in the list (the program's
    // preference); off: all in "MS Sans Serif".
    static void SetOwnFaceNames(bool own) { s_ownFaceNames = own; }
    // The application's sample text: a symbol font, whose own face does not
    // spell its name, is listed by name with the sample drawn in its face.
    static void SetSampleText(const wchar_t* text) { s_sampleText = text ? text : L""; }

private:
    HBITMAP m_marks = nullptr;
    static bool s_ownFaceNames;
    static std::wstring s_sampleText;
};

class CKWFontSizeComboBox : public CKWCommonComboBox {
public:
    static const int kSizes[17];

    // The standard sizes, the current one (-1: none) selected; a size not
    // among them is written into the edit field.
    void FillSizes(int current);
    // Selects the item of the text or, when none has it, writes it into the
    // edit field.
    void ShowText(const wchar_t* text);
};
