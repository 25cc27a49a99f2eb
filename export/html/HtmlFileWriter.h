#pragma once
// Writing the files of the HTML export. Documents are UTF-16 text stored as
// UTF-8 without a byte-order mark, every line feed as CR LF (the platform's
// text mode); pictures and resources are bytes. Paths are UTF-16 all the way,
// so names outside the ANSI code page are kept. Every function tells whether
// the whole file reached the disk.
#include <cstdint>

#include "export/ExportPictureFile.h"
#include "platform/classlib/String.h"

// Creates or replaces the file and writes the text; false when the file
// cannot be created or a write or the close fails.
bool WriteHtmlDocument(const wchar_t* path, const CString& text);

// The resource of type "QUARTZ" with the id, from the program's resources,
// copied to the path. A resource that cannot be found, loaded or locked, or
// that is empty, writes nothing and counts as done; false only when the
// file cannot be written.
bool WriteResourceToFile(const wchar_t* path, int resourceId);
// True when the program's resources hold a resource of type "QUARTZ" with
// the id that WriteResourceToFile would write.
bool HasResourceToWrite(int resourceId);
