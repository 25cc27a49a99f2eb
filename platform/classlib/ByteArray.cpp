#include "platform/classlib/ByteArray.h"

IMPLEMENT_SERIAL(CByteArray, CObject, 0)
