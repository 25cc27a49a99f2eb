#include "platform/classlib/WordArray.h"

IMPLEMENT_SERIAL(CWordArray, CObject, 0)
