#pragma once
// CQMXPVisualManager: draws every element of the docking library. One
// manager exists at a time, of the class last selected.
#include "platform/classlib/Object.h"

class CQMXPVisualManager : public CObject {
    DECLARE_DYNCREATE(CQMXPVisualManager)
public:
    CQMXPVisualManager();
    ~CQMXPVisualManager() override;

    // Deletes the current manager and chooses the class of the next one
    // (null: this class).
    static void SelectManagerClass(CRuntimeClass* pRTI);
    // The current manager, made of the selected class on first use.
    static CQMXPVisualManager* GetInstance();

private:
    static CQMXPVisualManager* s_pVisManager;
    static CRuntimeClass* s_pRTIDefault;
};
