#pragma once
// CKWWinGraphics: the Windows branch of the drawing objects, between the
// platform-neutral CKWGraphics and the GDI+ implementation.
#include "framework/KWGraphics.h"

class CKWWinGraphics : public CKWGraphics {
};
