#pragma once
// CWordArray: a growable array of 16-bit values.
#include "platform/classlib/Array.h"

class CWordArray : public CArray<WORD, WORD> {
    DECLARE_SERIAL(CWordArray)
};
