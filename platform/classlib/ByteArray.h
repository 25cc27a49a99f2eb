#pragma once
// CByteArray: a growable array of bytes.
#include "platform/classlib/Array.h"

class CByteArray : public CArray<BYTE, BYTE> {
    DECLARE_SERIAL(CByteArray)
};
