#include "platform/classlib/Edit.h"

IMPLEMENT_DYNAMIC(CEdit, CWnd)
