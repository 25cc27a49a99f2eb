#include "appwindows/KWPrintIFace.h"

CKWPrintIFace::~CKWPrintIFace() = default;

int CKWPrintIFace::GetPreviewStartPage()
{
    return 1;
}

void CKWPrintIFace::OnPreparePrinting(CPrintInfo* info) {}

void CKWPrintIFace::OnBeginPrinting(CDC* dc, CPrintInfo* info, CPrintDialog* printDialog) {}

void CKWPrintIFace::OnPrepareDC(CDC* dc, CPrintInfo* info) {}

bool CKWPrintIFace::PreparePage(CDC* dc, CPrintInfo* info)
{
    return true;
}

void CKWPrintIFace::OnEndPrinting(CDC* dc, CPrintInfo* info) {}
