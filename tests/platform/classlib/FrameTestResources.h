#pragma once
// Resource ids of the frame, view and printing tests (FrameTests.rc).

#define IDR_FRAMETEST_MAIN 18001
#define IDR_FRAMETEST_DOC 18002
#define IDR_FRAMETEST_OTHERDOC 18003

#define ID_FRAMETEST_THING 18100
#define ID_FRAMETEST_VIEWONLY 18101
#define ID_FRAMETEST_DOCONLY 18102
#define ID_FRAMETEST_FRAMEONLY 18103
#define ID_FRAMETEST_NOBODY 18104
#define ID_FRAMETEST_ACCEL 18105

// The preview's dialog bar of the class library's own preview command.
#define IDD_FRAMETEST_PREVIEW_BAR 30722
