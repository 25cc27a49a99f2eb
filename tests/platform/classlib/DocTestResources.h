#pragma once
// Resource ids of the document, template, file-dialog and OLE tests (DocTests.rc).

#define IDR_DOCTEST_MAIN 19001
#define IDR_DOCTEST_REPORT 19002
#define IDR_DOCTEST_TEMPLATE 19003
#define IDR_DOCTEST_BARE 19004

#define IDD_DOCTEST_FILEPANE 19010
#define IDC_DOCTEST_PREVIEWCHECK 19011

#define ID_DOCTEST_WINDOWMENU 19020
