#include "framework/KWMeasure.h"

#include "framework/KWTextUtils.h"

#include <cmath>
#include <cstdint>
#include <cwchar>

namespace {

const KWMeasureUnit kUnits[kMeasureUnitCount] = {
    {L"yards", 9144, L"yd"},
    {L"feet, decimal", 3048, L"ft"},
    {L"feet, decimal inches", 3048, L"ft"},
    {L"feet, fractional inches", 3048, L"ft"},
    {L"inches, decimal", 254, L"in"},
    {L"inches, fractional", 254, L"in"},
    {L"meters", 10000, L"m"},
    {L"centimeters", 100, L"cm"},
    {L"millimeters", 10, L"mm"},
    {L"kilometers", 10000000, L"km"},
    {L"miles", 16093440, L"mi"},
    {L"pixels", 3.52777777777778, L"pix"},
    {L"points", 3.52777777777778, L"pt"},
    {L"radians", 1.0, L"rad"},
    {L"degrees", 0.01745329251994, L"deg"},
};

const int kNextSmaller[kMeasureUnitCount] = {1, 4, 4, 5, 4, 5, 7, 8, 8, 6, 0, 11, 12, 13, 14};

const int kFeetFractionalInches = 3;
const int kInchesFractional = 5;
const int kFeetDecimalInches = 2;
const double kInchesPerFoot = 3048.0 / 254.0;

bool IsValidUnit(int unit) { return unit >= 0 && unit < kMeasureUnitCount; }

// Rounds to 4 decimals, the fifth one deciding.
double RoundTo4Decimals(double x) {
    const double scaled = x * 10000;
    const int64_t fifth = static_cast<int64_t>(scaled * 10) % 10;
    return (fifth < 5 ? std::floor(scaled) : std::ceil(scaled)) / 10000;
}

}  // namespace

const KWMeasureUnit& GetMeasureUnit(int index) { return kUnits[IsValidUnit(index) ? index : 0]; }

int GetNextSmallerUnit(int unit) { return IsValidUnit(unit) ? kNextSmaller[unit] : unit; }

int FindUnitByName(const wchar_t* text) {
    if (!text) return -1;
    while (IsTextBlank(*text)) ++text;
    size_t length = std::wcslen(text);
    if (length > 0 && text[length - 1] == L'.') --length;
    for (int i = 0; i < kMeasureUnitCount; ++i) {
        const wchar_t* abbreviation = kUnits[i].abbreviation;
        if (std::wcslen(abbreviation) == length && std::wcsncmp(text, abbreviation, length) == 0) return i;
    }
    return -1;
}

void ToFraction64(double x, int& numerator, int& denominator) {
    const double n = x * 64;
    const int64_t firstDecimal = static_cast<int64_t>(n * 10) % 10;
    numerator = static_cast<int>(firstDecimal < 5 ? std::floor(n) : std::ceil(n));
    denominator = 64;
    while (numerator > 0 && numerator % 2 == 0) {
        numerator /= 2;
        denominator /= 2;
    }
}

double ParseNumberOrFraction(const wchar_t*& text) {
    while (IsTextBlank(*text)) ++text;
    if (!*text) return 0;
    SkipToNumber(text);
    wchar_t* end = nullptr;
    double value = std::wcstod(text, &end);
    text = end;
    for (;;) {
        const wchar_t* next = text;
        while (IsTextBlank(*next)) ++next;
        if (*next != L'/') break;
        ++next;
        while (IsTextBlank(*next)) ++next;
        const double divisor = std::wcstod(next, &end);
        text = end;
        if (divisor == 0) return -1.0;
        value /= divisor;
    }
    return value;
}

int FindUnitAt(const wchar_t*& text) {
    while (IsTextBlank(*text)) ++text;
    size_t length = 0;
    while (text[length] >= L'a' && text[length] <= L'z') ++length;
    if (length > 0) {
        for (int i = 0; i < kMeasureUnitCount; ++i) {
            const wchar_t* abbreviation = kUnits[i].abbreviation;
            if (std::wcslen(abbreviation) == length && std::wcsncmp(text, abbreviation, length) == 0) {
                text += length;
                if (*text == L'.') ++text;
                return i;
            }
        }
        return -1;
    }
    if (*text == L'"') {
        ++text;
        return kInchesFractional;
    }
    if (*text == L'\'') {
        ++text;
        return kFeetFractionalInches;
    }
    return -1;
}

double ParseMeasure(const wchar_t* text, int defaultUnit) {
    if (!text) return 0;
    const double sign = ParseSign(text);
    if (!*text) return 0;
    double total = 0;
    int nextUnit = IsValidUnit(defaultUnit) ? defaultUnit : -1;
    for (;;) {
        const double value = ParseNumberOrFraction(text);
        if (value == -1.0) return 0;
        const int unit = FindUnitAt(text);
        if (unit < 0) {
            if (nextUnit < 0) return sign * value;
            return sign * (total + value * kUnits[nextUnit].factor);
        }
        total += value * kUnits[unit].factor;
        nextUnit = kNextSmaller[unit];
        if (!*text) return sign * total;
    }
}

void FormatMeasure(CString& text, double value, int unit, bool withAbbreviation) {
    text.Empty();
    if (!IsValidUnit(unit)) return;
    const double v = value / kUnits[unit].factor;
    double a = std::fabs(v);
    if (a < 1e-10) a = 0;

    if (unit == kFeetDecimalInches) {
        const double feet = std::floor(a);
        const double inches = RoundTo4Decimals((a - feet) * kInchesPerFoot);
        text.Format(L"%d' %.3f\"", static_cast<int>(feet), inches);
    } else if (unit == kFeetFractionalInches) {
        const double feet = std::floor(a);
        const double inches = (a - feet) * kInchesPerFoot;
        const double whole = std::floor(inches);
        int numerator = 0;
        int denominator = 1;
        ToFraction64(inches - whole, numerator, denominator);
        if (numerator == 0)
            text.Format(L"%d' %d\"", static_cast<int>(feet), static_cast<int>(whole));
        else if (numerator == denominator)
            text.Format(L"%d' %d\"", static_cast<int>(feet), static_cast<int>(whole) + 1);
        else
            text.Format(L"%d' %d %d/%d\"", static_cast<int>(feet), static_cast<int>(whole), numerator, denominator);
    } else if (unit == kInchesFractional) {
        int whole = static_cast<int>(std::floor(a));
        int numerator = 0;
        int denominator = 1;
        ToFraction64(a - whole, numerator, denominator);
        // A fraction that rounds up to a whole inch is carried into the whole.
        if (numerator != 0 && numerator == denominator) {
            ++whole;
            numerator = 0;
        }
        if (whole != 0) text.Format(L"%d ", whole);
        if (numerator != 0) text.AppendFormat(L"%d/%d", numerator, denominator);
        if (text.IsEmpty()) text = L"0";
    } else if (a > 1000000 || (a > 0 && a < 0.001)) {
        text.Format(L"%0.4e", a);
    } else if (a == std::floor(a)) {
        text.Format(L"%0.0f", a);
    } else {
        text.Format(L"%0.4f", a);
    }

    if (v < 0 && a != 0) text.Insert(0, L'-');
    if (withAbbreviation) {
        text += L' ';
        text += kUnits[unit].abbreviation;
    }
}

bool ParsePointSize(const wchar_t* text, double& points)
{
    wchar_t* end = nullptr;
    const double value = std::wcstod(text, &end);
    if (end == text)
        return false;
    CString unitName(end);
    unitName.Trim();
    const int pointsUnit = FindUnitByName(L"pt");
    const int unit = unitName.IsEmpty() ? -1 : FindUnitByName(unitName);
    points = unit >= 0 && unit != pointsUnit ? value * kUnits[unit].factor / kUnits[pointsUnit].factor : value;
    return true;
}
