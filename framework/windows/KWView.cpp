#include "framework/windows/KWView.h"

IMPLEMENT_DYNAMIC(CKWView, CView)

CKWView::CKWView() = default;

CKWView::~CKWView() = default;

void CKWView::InitializeView(CKWDocument* document) {}
