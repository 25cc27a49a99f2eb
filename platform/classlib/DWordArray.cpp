#include "platform/classlib/DWordArray.h"

IMPLEMENT_SERIAL(CDWordArray, CObject, 0)
