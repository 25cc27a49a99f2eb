#include "framework/KWFocusManager.h"

CKWFocusManager::~CKWFocusManager() = default;

void CKWFocusManager::SetFocusItem(CKWSplitItem* item) { m_focusItem = item; }
