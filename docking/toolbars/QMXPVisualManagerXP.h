#pragma once
// CQMXPVisualManagerXP: the flat look of the docking library, selected by the
// program at start-up. Until the flat drawing comes, it draws as the classic
// manager does.
#include "docking/toolbars/QMXPVisualManager.h"

class CQMXPVisualManagerXP : public CQMXPVisualManager {
    DECLARE_DYNCREATE(CQMXPVisualManagerXP)
public:
    explicit CQMXPVisualManagerXP(BOOL bIsTemporary = FALSE);
    ~CQMXPVisualManagerXP() override;
};
