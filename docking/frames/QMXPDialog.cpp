#include "docking/frames/QMXPDialog.h"

IMPLEMENT_DYNAMIC(CQMXPDialog, CDialog)
