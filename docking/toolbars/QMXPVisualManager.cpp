#include "docking/toolbars/QMXPVisualManager.h"

IMPLEMENT_DYNCREATE(CQMXPVisualManager, CObject)

CQMXPVisualManager* CQMXPVisualManager::s_pVisManager = nullptr;
CRuntimeClass* CQMXPVisualManager::s_pRTIDefault = nullptr;

CQMXPVisualManager::CQMXPVisualManager() = default;

CQMXPVisualManager::~CQMXPVisualManager() {
    if (s_pVisManager == this)
        s_pVisManager = nullptr;
}

void CQMXPVisualManager::SelectManagerClass(CRuntimeClass* pRTI) {
    delete s_pVisManager;
    s_pVisManager = nullptr;
    s_pRTIDefault = pRTI;
}

CQMXPVisualManager* CQMXPVisualManager::GetInstance() {
    if (s_pVisManager == nullptr) {
        CRuntimeClass* pRTI = s_pRTIDefault != nullptr ? s_pRTIDefault : RUNTIME_CLASS(CQMXPVisualManager);
        CObject* pObject = pRTI->IsDerivedFrom(RUNTIME_CLASS(CQMXPVisualManager)) ? pRTI->CreateObject() : nullptr;
        s_pVisManager = pObject != nullptr ? static_cast<CQMXPVisualManager*>(pObject)
                                           : new CQMXPVisualManager;
    }
    return s_pVisManager;
}
