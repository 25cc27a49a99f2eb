#pragma once
// Resource ids of the document-window tests (KWWindowsTests.rc).

#define IDR_KWWIN_MAIN 19301
#define IDR_KWWIN_DOC 19302
