#pragma once
// CStringArray: a growable array of strings.
#include "platform/classlib/Array.h"

class CStringArray : public CArray<CString, const wchar_t*> {
    DECLARE_SERIAL(CStringArray)
};
