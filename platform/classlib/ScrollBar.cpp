#include "platform/classlib/ScrollBar.h"

IMPLEMENT_DYNAMIC(CScrollBar, CWnd)
