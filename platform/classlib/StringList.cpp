#include "platform/classlib/StringList.h"

IMPLEMENT_SERIAL(CStringList, CObject, 0)
