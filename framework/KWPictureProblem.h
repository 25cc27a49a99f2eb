#pragma once
// The line that tells a user what is wrong with a picture's file, by what the
// check of the whole file says; the same words at insert, save and export.
#include "framework/KWRasterFunctions.h"
#include "platform/classlib/String.h"

#include <windows.h>

// Empty for a sound file. size is the picture's, which the line of a picture
// too large to show names.
CString KWPictureProblemLine(KWPictureState state, const wchar_t* path, SIZE size = SIZE{0, 0});

// The line that tells of a picture file name a report gave that is not taken
// as a file (a server's, a device's, one outside the picture folder).
CString KWRefusedNameLine(const wchar_t* name);

// The heading of the warning that lists such lines.
extern const wchar_t kKWPictureProblemsHeading[];

// Where and why the picture store could not keep the bytes of a picture (no
// folder for pictures, a full disk), from the system's error met (0: the
// write fell short naming none): "could not be kept in "<folder>": <reason>",
// for the line that names the picture before it.
CString KWUnkeptPictureText(DWORD error);
