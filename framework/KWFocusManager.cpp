#include "framework/KWFocusManager.h"

CKWFocusManager::~CKWFocusManager() = default;

void CKWFocusManager::SetFocusItem(int code) { m_focusCode = code; }
