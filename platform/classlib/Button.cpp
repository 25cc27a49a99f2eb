#include "platform/classlib/Button.h"

IMPLEMENT_DYNAMIC(CButton, CWnd)
