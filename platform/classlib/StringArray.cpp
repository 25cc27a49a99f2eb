#include "platform/classlib/StringArray.h"

IMPLEMENT_SERIAL(CStringArray, CObject, 0)
