#pragma once
// How the document table reads attribute values: by name in any order, a
// missing attribute leaving the field as it was. Integers as the runtime's
// wide-string conversion reads them, cut to the field's width; reals as its
// double conversion reads them, held within a range the layout can use.
#include "files/NewParamCell.h"
#include "platform/classlib/String.h"

#include <cmath>
#include <cstdint>

// Characters may be spread or squeezed by this many points at most.
constexpr double kMaxCharacterSpacing = 1000.0;
// Indents, spacings and sizes, in tenths of a millimetre or inches: ten metres.
constexpr double kMaxLength = 100000.0;

inline bool ReadInt(const CNewParamCell& cell, const wchar_t* name, int32_t& value)
{
    if (!cell.Find(name))
        return false;
    value = cell.GetInt(name, value);
    return true;
}

// An integer field narrower or unsigned: the value read is cut to its width.
template <class T>
bool ReadNarrow(const CNewParamCell& cell, const wchar_t* name, T& value)
{
    int32_t read = 0;
    if (!ReadInt(cell, name, read))
        return false;
    value = static_cast<T>(read);
    return true;
}

// Any value other than 0 is set.
inline bool ReadFlag(const CNewParamCell& cell, const wchar_t* name, uint8_t& value)
{
    int32_t read = 0;
    if (!ReadInt(cell, name, read))
        return false;
    value = read != 0 ? 1 : 0;
    return true;
}

inline bool ReadText(const CNewParamCell& cell, const wchar_t* name, CString& value)
{
    const wchar_t* text = cell.Find(name);
    if (!text)
        return false;
    value = text;
    return true;
}

// Not a number reads as 0; the value stays within -limit..limit.
template <class T>
bool ReadReal(const CNewParamCell& cell, const wchar_t* name, T& value, double limit)
{
    if (!cell.Find(name))
        return false;
    double read = cell.GetDouble(name, 0.0);
    if (std::isnan(read))
        read = 0.0;
    if (read > limit)
        read = limit;
    if (read < -limit)
        read = -limit;
    value = static_cast<T>(read);
    return true;
}
