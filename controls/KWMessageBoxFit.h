#pragma once
// KWMessageBoxLinesThatFit: how many lines of a list a message box can show
// whole on the screen. The system's box grows with its text and wraps every
// line to its own text width: a list of long lines makes it taller than the
// screen, with its caption and its button off it.
#include "platform/classlib/String.h"

#include <windows.h>

#include <cstddef>
#include <vector>

// The lines of the list, from the first, that fit in a box that also shows
// the heading and one short last line (what tells of the lines left out), on
// the work area of the owner's monitor (the primary one without an owner).
// The wrapping is measured at the narrowest text width a box of the system
// takes, so that the box fits wherever the system wraps wider.
size_t KWMessageBoxLinesThatFit(const CString& heading, const std::vector<CString>& lines, HWND owner);
