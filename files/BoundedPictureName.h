#pragma once
// The name of a picture as an embedded picture's start tag holds it. That tag
// stays inside its first 200 bytes, the part of it that readers of these
// files take as its header (a longer one leaves the picture to a slower path,
// or out with an older reader, and with it every picture after it): a long
// name of an empty file, or a long refused link, is written there as "..."
// and its end.
#include "platform/classlib/String.h"

// The name when its text form fits the header's room, else "..." and the
// longest end of it whose form fits with it. Time in proportion to the
// name's length.
CString BoundedPictureName(const CString& name);

// True for a name of the form BoundedPictureName gives a longer one: "..."
// and an end whose form fills the room to within one character's. Such a
// name stands for a link that the file no longer holds whole: it is kept as
// a name and never looked for as a file.
bool IsBoundedPictureName(const CString& name);
