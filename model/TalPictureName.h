#pragma once
// The name a warning gives a picture of a report: its own file when that is
// gone or lies outside the picture store (the user's picture, the copy beside
// a report); the user's picture file when the picture is a copy the store
// made of it; otherwise (a picture embedded in a report, pasted as pixels, or
// kept in a file whose generated name says nothing) the report's file and the
// picture's place in the report, so that the user knows which picture is meant.
#include "platform/classlib/String.h"

#include <cstdint>

class CTalDocProperties;

// documentFile: the report's own file, or its title while it has none.
CString TalPictureName(const CTalDocProperties& props, uint32_t pictureId, const wchar_t* documentFile);
// The same for a picture kept in a file of the store, whatever became of
// that file: the user's picture file it is a copy of, or the report file and
// the picture's place in it.
CString TalPictureSourceName(const CTalDocProperties& props, uint32_t pictureId, const wchar_t* documentFile);
