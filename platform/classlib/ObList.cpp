#include "platform/classlib/ObList.h"

IMPLEMENT_SERIAL(CObList, CObject, 0)
