#include "framework/windows/KWPropertyPage.h"

IMPLEMENT_DYNAMIC(CKWPropertyPage, CPropertyPage)

CKWPropertyPage::CKWPropertyPage(UINT nIDTemplate) : CPropertyPage(nIDTemplate, 0, kPageRecordSize) {}
