#pragma once
// The framework's own clipboard formats, registered by name before first use.
#include <windows.h>

// "KWTallier Application Drag Info": the drag-information record (KWDragInfo).
extern const CLIPFORMAT g_cfAppDragInfo;
// "KWTallier Application Object": the dragged objects' own data.
extern const CLIPFORMAT g_cfAppObject;
// "KWTallier Application Object Icon": the drag image (KWDragImageHeader and its rows).
extern const CLIPFORMAT g_cfAppObjectIcon;
