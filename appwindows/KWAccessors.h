#pragma once
// The running application and the active view, reached without holding
// pointers to them (the active frame: framework/KWActiveFrame.h).
#include "framework/KWActiveFrame.h"

class CKWBaseApplication;
class CKWDocument;
class CKWView;

// The class library's application object as the framework's; null when
// there is none or it is of another class.
CKWBaseApplication* KWGetApp();
// The active frame's active view as the framework's; null when any of them
// is missing or of another class.
CKWView* KWGetActiveView();
// The active frame's active document as the framework's; null when any of
// them is missing or of another class.
CKWDocument* KWGetActiveDocument();
