#pragma once
// What the report-properties pages and the watermark dialog share: their
// texts, the "You must enter valid number!" warning, the font-name and font
// size boxes with the typing rule of the size box, and the colour choice.
#include "platform/classlib/String.h"

#include <windows.h>

#include <cstdint>

class CKWComboBoxControl;
class CKWControl;
class CKWIndexDecoder;

// The 17 sizes of the font size boxes, in points.
constexpr int kTalFontSizeCount = 17;
extern const int16_t kTalFontSizes[kTalFontSizeCount];

CString TalResourceString(UINT id);
// The warning, then the focus goes to the field.
void TalWarnInvalidNumber(HWND owner, CKWControl& field);
// The installed faces, in the application's order.
void TalFillFontNames(CKWComboBoxControl& box);
// The sizes, "%d" each.
void TalFillFontSizes(CKWComboBoxControl& box);
// A character typed into a size box passes when it is a control character,
// or a digit while the box holds at most two characters.
bool TalSizeCharAllowed(wchar_t c, int textLength);
// The size typed into the box: an empty text or one below 1 is replaced in
// the box by the current size; the box's value then.
int16_t TalReadTypedSize(CKWComboBoxControl& box, int16_t currentSize);
// The index in the document's font table of the face the box shows (added
// to the table when new); false, the index unchanged, when the box shows none.
bool TalChosenFontIndex(CKWComboBoxControl& box, CKWIndexDecoder& fonts, uint32_t& index);
// The system's colour dialog from the colour; false when cancelled.
bool TalChooseColor(HWND owner, COLORREF& colour);
// The picture-open dialog with the application's image filter; false when cancelled.
bool TalBrowseImageFile(CString& path);
