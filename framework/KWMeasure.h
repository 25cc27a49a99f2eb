#pragma once
// Lengths are held in tenths of a millimetre; a table of units converts them
// for display and parses what the user types ("5' 3\"", "2m 30", "-1.5in").
#include "platform/classlib/String.h"

struct KWMeasureUnit {
    const wchar_t* name;
    double factor;  // tenths of a millimetre per unit
    const wchar_t* abbreviation;
};

const int kMeasureUnitCount = 15;

// The unit of an index 0 to kMeasureUnitCount - 1.
const KWMeasureUnit& GetMeasureUnit(int index);

// The unit a bare number stands for when it follows a number with this unit
// ("2m 30": centimetres after metres).
int GetNextSmallerUnit(int unit);

// Index of the unit abbreviation (leading blanks and one trailing '.' ignored,
// case-sensitive); -1 when unknown.
int FindUnitByName(const wchar_t* text);

// The length the text gives, in tenths of a millimetre; a number without a
// unit is in defaultUnit. Invalid fractions give 0.
double ParseMeasure(const wchar_t* text, int defaultUnit);

// A font size: a number with an optional unit abbreviation after it, in
// points (the unit "pt"); an unknown unit leaves the number as it is. False
// when the text does not start with a number.
bool ParsePointSize(const wchar_t* text, double& points);

// The value (tenths of a millimetre) as text in unit, optionally followed by
// a space and the unit's abbreviation.
void FormatMeasure(CString& text, double value, int unit, bool withAbbreviation);

// Reads a number, optionally divided by further "/ number" parts; 0 at the
// end of the text, -1.0 for a division by 0.
double ParseNumberOrFraction(const wchar_t*& text);

// Reads a unit abbreviation (with one '.' after it), or a '"' (inches,
// fractional: 5) or an apostrophe (feet, fractional inches: 3); -1 otherwise,
// leaving any letters unread.
int FindUnitAt(const wchar_t*& text);

// x in sixty-fourths, reduced: 0.75 gives 3/4.
void ToFraction64(double x, int& numerator, int& denominator);
