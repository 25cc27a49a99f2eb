#include "platform/classlib/Static.h"

IMPLEMENT_DYNAMIC(CStatic, CWnd)
