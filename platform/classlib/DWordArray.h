#pragma once
// CDWordArray: a growable array of 32-bit values.
#include "platform/classlib/Array.h"

class CDWordArray : public CArray<DWORD, DWORD> {
    DECLARE_SERIAL(CDWordArray)
};
