#include "model/TalPaperSizes.h"

namespace {

struct PaperRow {
    const wchar_t* label;
    const wchar_t* width;
    const wchar_t* height;
};

// The labels are padded as the page-setup list shows them; the Tabloid width
// carries a trailing blank.
const PaperRow kPaperRows[kTalPaperSizeCount] = {
    {L"Letter: ", L"8.5 in", L"11 in"},
    {L"Folio:  ", L"8.5 in", L"13 in"},
    {L"Legal:  ", L"8.5 in", L"14 in"},
    {L"Tabloid:", L"11 in ", L"17 in"},
    {L"A5:", L"148 mm", L"210 mm"},
    {L"A4:", L"210 mm", L"297 mm"},
    {L"A3:", L"297 mm", L"420 mm"},
    {L"A2:", L"420 mm", L"594 mm"},
    {L"A1:", L"594 mm", L"841 mm"},
    {L"A0:", L"841 mm", L"1189 mm"},
};

}  // namespace

int GetPaperSizeCount() { return kTalPaperSizeCount; }

bool IsValidPaperRow(int row) { return row >= 0 && row < kTalPaperSizeCount; }

const wchar_t* GetPaperLabel(int row) { return IsValidPaperRow(row) ? kPaperRows[row].label : L""; }

const wchar_t* GetPaperWidthText(int row) { return IsValidPaperRow(row) ? kPaperRows[row].width : L""; }

const wchar_t* GetPaperHeightText(int row) { return IsValidPaperRow(row) ? kPaperRows[row].height : L""; }

CString FormatPaperSizeLabel(int row)
{
    if (!IsValidPaperRow(row))
        return CString();
    CString label(GetPaperLabel(row));
    label += L' ';
    label += GetPaperWidthText(row);
    label += L" x ";
    label += GetPaperHeightText(row);
    return label;
}
