#include "docking/frames/QMXPPropertyPage.h"

IMPLEMENT_DYNAMIC(CQMXPPropertyPage, CPropertyPage)
