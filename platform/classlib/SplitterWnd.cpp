#include "platform/classlib/SplitterWnd.h"

IMPLEMENT_DYNAMIC(CSplitterWnd, CWnd)
