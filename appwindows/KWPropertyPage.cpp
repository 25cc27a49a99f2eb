#include "appwindows/KWPropertyPage.h"

IMPLEMENT_DYNAMIC(CKWPropertyPage, CPropertyPage)

CKWPropertyPage::CKWPropertyPage(UINT nIDTemplate) : CPropertyPage(nIDTemplate, 0, kPageRecordSize) {}
