#pragma once
// Questions about the system and the program itself.
#include "platform/classlib/String.h"

#include <cstdint>

// The decision of IsWindowsXPOrLater for a given platform id and version.
bool IsWindowsXPOrLaterVersion(uint32_t platformId, uint32_t major, uint32_t minor);

// True on Windows XP (NT 5.1) and every later NT version.
bool IsWindowsXPOrLater();

// The full path of the program file.
CString GetModuleFilePath();

// The program's folder, with its final backslash.
CString GetModuleDirectory();

// "major.minor" of a product version, followed by ".build.revision" when the
// least significant part is not 0.
CString FormatProductVersion(uint32_t versionMS, uint32_t versionLS);

// The product version of the program file; empty when it has no version resource.
CString GetProgramVersionText();

// The registered owner (falling back to the user name) and organisation of Windows.
void GetRegisteredUser(CString& owner, CString& organisation);

// Opens the file or address with the shell's "open" verb; false when the shell fails.
bool OpenWithShell(const wchar_t* path);

// Shows or hides the image of a drag in progress.
bool DragShowNolock(bool show);

// The name of a raster type code (2 BMP, 6 TIFF, 8 DIB); false for other codes.
bool GetImageTypeName(int code, const char*& name);
