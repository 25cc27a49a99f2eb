#include "appwindows/KWSplitView.h"

IMPLEMENT_DYNCREATE(CKWSplitView, CKWView)

CKWSplitView::CKWSplitView() = default;

CKWSplitView::~CKWSplitView() = default;

CWnd* CKWSplitView::GetWnd() { return m_hWnd ? this : nullptr; }
