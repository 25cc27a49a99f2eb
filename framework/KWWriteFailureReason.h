#pragma once
// The reason in words that a file could not be written, the same for every
// write of the program (a save, a picture copy, a generated report): the
// system's error alone often misleads (under Wine a read-only disk, a file
// held by another program and a folder standing in the file's place all
// answer "access denied"), so what can be seen of the place decides.
#include <windows.h>

#include "platform/classlib/String.h"

// Where a write failed: at the target itself (made, replaced, put in place),
// or at a file written for it (a temporary file beside it) or in memory,
// where what stands at the target has no part in the failure.
enum class KWWriteStep { Target, Staged };

// The reason for the error met while writing the file at path, told from the
// error and from what stands at the path now: a folder that is missing or is
// a file, a disk that is full or read-only, and for a write at the target
// itself a folder in the file's place, a file read-only or held open by
// another program. Asked at once, while the failed write's leftovers (a part
// of the file on a full disk) are still there. error 0: the write fell short
// and the system named no error.
CString KWWriteFailureReason(const wchar_t* path, DWORD error, KWWriteStep step);

// The system's own words for an error, or its number where it has none.
CString KWSystemErrorText(DWORD error);

// Why a file could not be opened for reading, in words that follow "cannot
// be read: ": gone, held by another program, or the system's words.
CString KWReadFailureReason(DWORD error);
