#pragma once
// The table of standard paper sizes: ten rows of a label, a width and a
// height, all measure strings as the page-setup page lists them.
#include "platform/classlib/String.h"

const int kTalPaperSizeCount = 10;
// The row of A4, the default paper.
const int kTalPaperRowA4 = 5;

int GetPaperSizeCount();
bool IsValidPaperRow(int row);
// The strings of a row; empty for a row outside the table.
const wchar_t* GetPaperLabel(int row);
const wchar_t* GetPaperWidthText(int row);
const wchar_t* GetPaperHeightText(int row);
// The label, a blank, the width, " x ", the height ("A4: 210 mm x 297 mm").
CString FormatPaperSizeLabel(int row);
