#pragma once
// File helpers beside the file dialogs.
#include <cstdint>

#include "platform/classlib/String.h"

// True when the path exists and is a regular file (not a folder).
bool KWIsRegularFile(const wchar_t* path);
// True when the path exists and is a folder.
bool KWIsFolder(const wchar_t* path);
// True when the file was deleted.
bool KWDeleteFile(const wchar_t* path);
// -1 for a null path or a mode below 1; 0 when the folder was created, else
// the run-time error number.
int KWMakeDirectory(const wchar_t* path, int mode);
// Copies source over destination (an existing destination is replaced).
bool KWCopyFile(const wchar_t* destination, const wchar_t* source);
// The file's size in bytes; 0 when it cannot be read.
int64_t KWGetFileSize(const wchar_t* path);
// A new, empty file in the folder (with or without its trailing backslash)
// under a name no file there has; its path, or empty with the system's error
// as the last error.
CString KWCreateTemporaryFile(const wchar_t* folder);
