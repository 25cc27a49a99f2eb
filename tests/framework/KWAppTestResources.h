#pragma once
// Resource ids of the application-base tests (KWAppTests.rc).

#define IDR_KWAPP_MAIN 19401
#define IDR_KWAPP_DOC 19402
#define IDR_KWAPP_TOOLBAR 130
#define ID_KWAPP_ABOUT 0xE140
