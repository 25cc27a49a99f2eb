#pragma once
// A buffered stream (framework/KWStream.h) over a file opened by its UTF-16
// path, so that a report can be written to any path the user picks, whatever
// the ANSI code page. The back end records whether every write and the close
// succeeded, which the stream itself does not report.
#include <windows.h>

#include <cstdint>

#include "framework/KWStream.h"

struct PDFFileStatus {
    bool writeFailed = false;
    bool closeFailed = false;
    DWORD error = 0;  // the system's code of the first failure, 0 when none
};

// Creates or empties the file for binary writing; null (the system's code in
// status) when it cannot be created. status, which must outlive the stream,
// receives the failures.
KWStream* PDFOpenFileStream(const wchar_t* path, PDFFileStatus* status);
