#pragma once
// What the report-properties pages and the watermark dialog share: their
// texts, the "You must enter valid number!" warning, the font-name and font
// size boxes with the typing rule of the size box, and the colour choice.
#include "platform/classlib/String.h"

#include <windows.h>

#include <cstdint>

class CKWComboBoxControl;
class CKWControl;
class CKWFontNameComboBox;
class CKWIndexDecoder;
class FCOMMBO_DATA_ARRAY;

// The 17 sizes of the font size boxes, in points.
constexpr int kTalFontSizeCount = 17;
extern const int16_t kTalFontSizes[kTalFontSizeCount];

CString TalResourceString(UINT id);
// The warning, then the focus goes to the field.
void TalWarnInvalidNumber(HWND owner, CKWControl& field);
// The font box filled from the application's installed faces, each with an
// entry of the box's own data that no document uses (value -1).
void TalFillFontNames(CKWFontNameComboBox& box, FCOMMBO_DATA_ARRAY& entries);
// The sizes, "%d" each.
void TalFillFontSizes(CKWComboBoxControl& box);
// A character typed into a size box passes when it is a control character,
// or a digit while the box holds at most two characters.
bool TalSizeCharAllowed(wchar_t c, int textLength);
// The size typed into the box: an empty text or one below 1 is replaced in
// the box by the current size; the box's value then.
int16_t TalReadTypedSize(CKWComboBoxControl& box, int16_t currentSize);
// Selects the font at the index of the document's font table; a font the
// system lacks joins the box as "<name> MISSED!" with the index as its value.
void TalShowFontName(CKWFontNameComboBox& box, FCOMMBO_DATA_ARRAY& entries, const CKWIndexDecoder& fonts,
                     uint32_t index);
// The index in the document's font table of the face the box shows (added
// to the table when new); false, the index unchanged, when the box shows none.
bool TalChosenFontIndex(const CKWFontNameComboBox& box, CKWIndexDecoder& fonts, uint32_t& index);
// The picture-open dialog with the application's image filter; false when cancelled.
bool TalBrowseImageFile(CString& path);
