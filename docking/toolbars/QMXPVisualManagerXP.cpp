#include "docking/toolbars/QMXPVisualManagerXP.h"

IMPLEMENT_DYNCREATE(CQMXPVisualManagerXP, CQMXPVisualManager)

CQMXPVisualManagerXP::CQMXPVisualManagerXP(BOOL bIsTemporary) : CQMXPVisualManager(bIsTemporary) {}

CQMXPVisualManagerXP::~CQMXPVisualManagerXP() = default;
